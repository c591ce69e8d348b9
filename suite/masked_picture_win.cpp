// Drawing with a mask made once: the mask clears the opaque pixels of the target (AND), then
// the picture, black where it is transparent, is laid in (OR). Both blits come from one memory
// device context kept for the run, because making one per picture drawn costs as much again.
#include "suite/masked_picture_win.h"

#include <utility>

namespace {

class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// The source of every Draw: only the window thread paints, so one is enough.
HDC SourceDc() {
    static MemoryDc source;
    return source.Get();
}

}  // namespace

bool MaskedPicture::Make(HBITMAP picture, COLORREF transparent) {
    Free();
    BITMAP info = {};
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return false;
    MemoryDc from, to;
    if (!from.Get() || !to.Get()) return false;
    HDC screen = GetDC(nullptr);
    GdiObject<HBITMAP> image(CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight));
    ReleaseDC(nullptr, screen);
    GdiObject<HBITMAP> mask(CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
    if (!image || !mask) return false;
    {
        // Colour to monochrome: the pixels of the source's background colour become 1.
        Selected source(from.Get(), picture);
        Selected target(to.Get(), mask);
        SetBkColor(from.Get(), transparent);
        BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    }
    {
        Selected source(from.Get(), picture);
        Selected target(to.Get(), image);
        BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCCOPY);
    }
    {
        // Monochrome to colour: 1 takes the target's background colour (black), 0 its text
        // colour (white), so the AND blackens exactly the transparent pixels.
        Selected source(from.Get(), mask);
        Selected target(to.Get(), image);
        SetBkColor(to.Get(), RGB(0, 0, 0));
        SetTextColor(to.Get(), RGB(255, 255, 255));
        BitBlt(to.Get(), 0, 0, info.bmWidth, info.bmHeight, from.Get(), 0, 0, SRCAND);
    }
    image_ = std::move(image);
    mask_ = std::move(mask);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    return true;
}

void MaskedPicture::Free() {
    image_.Reset();
    mask_.Reset();
    width_ = height_ = 0;
}

void MaskedPicture::Draw(HDC dc, int x, int y) const {
    HDC source = SourceDc();
    if (!Ready() || !source) return;
    // Monochrome to colour: 1 (transparent) takes the background colour, white, which the AND
    // keeps; 0 takes the text colour, black, which clears the pixel for the picture's OR.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
    {
        Selected mask(source, mask_);
        BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCAND);
    }
    {
        Selected image(source, image_);
        BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCPAINT);
    }
    SetTextColor(dc, text);
    SetBkColor(dc, background);
}
