// A PNG file of 32-bit pixels as a device-independent bitmap holds them (blue, green, red, unused;
// rows top down), written without compression: the page pictures are for previews and tests, and
// stored deflate blocks keep the writer small and exact.
#pragma once

#include <cstdint>
#include <string>

// The bytes of the PNG file of width x height pixels, stride bytes from one row to the next.
std::string EncodePng(int width, int height, const uint8_t* pixels, int stride);
