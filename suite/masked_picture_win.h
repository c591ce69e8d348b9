// A small picture with one transparent colour, made ready once for drawing many times: the
// sheet draws a resize grip on every box and markers on many, and TransparentBlt, which builds
// its mask anew on every call, made a busy day's paint several times slower than the rest of it.
#pragma once

#include <windows.h>

#include "suite/gdi_win.h"

class MaskedPicture {
public:
    MaskedPicture() = default;
    MaskedPicture(const MaskedPicture&) = delete;
    MaskedPicture& operator=(const MaskedPicture&) = delete;

    // Prepares a copy of picture (which stays the caller's) with the transparent colour taken
    // out; false, and nothing to draw, when picture is null or GDI refuses.
    bool Make(HBITMAP picture, COLORREF transparent);
    void Free();
    bool Ready() const { return image_.Get() != nullptr; }
    // Draws at x, y leaving the pixels under the transparent colour as they were; the device
    // context's text and background colours come back unchanged.
    void Draw(HDC dc, int x, int y) const;

private:
    GdiObject<HBITMAP> image_;  // the picture, black where it is transparent
    GdiObject<HBITMAP> mask_;   // monochrome: 1 where it is transparent
    int width_ = 0, height_ = 0;
};
