// Screen captures of a window as the user sees it, and the screenshots the UI and Win32-side tests
// save of them beside the test program (scripts/docs_screenshots.sh makes the PNGs of docs/).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Writes pixels (0x00RRGGBB, the top row first) as a 24-bit BMP file, its rows bottom up as
// picture files usually are (the program loads patients' pictures of this kind).
inline bool WriteBmpFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> bytes(row * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            uint8_t* out = &bytes[(height - 1 - y) * row + x * 3];
            for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(p >> (8 * c));  // blue, green, red
        }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER head = {};
    head.biSize = sizeof head;
    head.biWidth = width;
    head.biHeight = height;
    head.biPlanes = 1;
    head.biBitCount = 24;
    head.biSizeImage = static_cast<DWORD>(bytes.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + head.biSizeImage;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(f, &file, sizeof file, &written, nullptr) && WriteFile(f, &head, sizeof head, &written, nullptr) &&
              WriteFile(f, bytes.data(), head.biSizeImage, &written, nullptr);
    CloseHandle(f);
    return ok;
}

// A screen capture of one window, as the user sees it.
class Capture {
public:
    explicit Capture(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        RECT client;
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        width_ = client.right;
        height_ = client.bottom;
        pixels_.assign(static_cast<size_t>(width_) * height_, 0);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        std::memcpy(pixels_.data(), bits, pixels_.size() * 4);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    // The colour at a client point as a COLORREF.
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Writes the capture as a 32-bit BMP file.
    bool Save(const std::string& path) const { return WriteBmpFile(path, width_, height_, pixels_); }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Screenshots go beside the test program, into screenshots\.
inline std::string ScreenshotPath(const char* name) {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    while (length > 0 && buffer[length - 1] != '\\' && buffer[length - 1] != '/') --length;
    const std::string dir = std::string(buffer, length) + "screenshots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\" + name;
}

