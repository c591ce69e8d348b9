// Pictures drawn through a mask made once: the same pixels as TransparentBlt gives, black and
// white pixels of the picture kept, a colour one step from the transparent one drawn, and the
// device context's colours left as they were.
#include <gtest/gtest.h>
#include <windows.h>

#include "suite/gdi_win.h"
#include "suite/masked_picture_win.h"
#include "suite/window_services_win.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kGround = RGB(0, 128, 128);

class Canvas {
public:
    Canvas() : screen_(GetDC(nullptr)), canvas_(screen_, 12, 10) {
        RECT all{0, 0, 12, 10};
        Brush ground(CreateSolidBrush(kGround));
        FillRect(canvas_.Dc(), &all, ground);
    }
    ~Canvas() { ReleaseDC(nullptr, screen_); }
    HDC Dc() const { return canvas_.Dc(); }
    COLORREF At(int x, int y) const { return GetPixel(canvas_.Dc(), x, y); }

private:
    HDC screen_;
    MemoryCanvas canvas_;
};

}  // namespace

TEST(MaskedPicture, DrawsWhatTransparentBltDrawsAndKeepsTheContextsColours) {
    const COLORREF pixels[2][4] = {{RGB(255, 0, 0), kMagenta, RGB(0, 0, 0), RGB(255, 255, 255)},
                                   {RGB(0, 255, 0), kMagenta, RGB(0, 0, 255), RGB(254, 0, 255)}};
    HDC screen = GetDC(nullptr);
    GdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen, 4, 2));
    ReleaseDC(nullptr, screen);
    {
        Canvas paint;  // any memory context will do to set the pixels
        Selected into(paint.Dc(), picture);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x) SetPixel(paint.Dc(), x, y, pixels[y][x]);
    }

    MaskedPicture masked;
    EXPECT_FALSE(masked.Make(nullptr, kMagenta));
    EXPECT_FALSE(masked.Ready());
    ASSERT_TRUE(masked.Make(picture, kMagenta));
    Canvas drawn, reference;
    SetTextColor(drawn.Dc(), RGB(1, 2, 3));
    SetBkColor(drawn.Dc(), RGB(4, 5, 6));
    masked.Draw(drawn.Dc(), 3, 4);
    masked.Draw(drawn.Dc(), 7, 4);  // drawn twice from the one source context
    DrawTransparentBitmap(reference.Dc(), picture, 3, 4, kMagenta);
    DrawTransparentBitmap(reference.Dc(), picture, 7, 4, kMagenta);
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(drawn.Dc()));
    EXPECT_EQ(RGB(4, 5, 6), GetBkColor(drawn.Dc()));

    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(reference.At(x, y), drawn.At(x, y)) << x << "," << y;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = pixels[y][x] == kMagenta ? kGround : pixels[y][x];
            EXPECT_EQ(expected, drawn.At(3 + x, 4 + y)) << x << "," << y;
        }
    EXPECT_EQ(kGround, drawn.At(2, 4));
    EXPECT_EQ(kGround, drawn.At(3, 6));

    // Freed, it draws nothing; the picture itself stayed the caller's.
    masked.Free();
    Canvas after;
    masked.Draw(after.Dc(), 3, 4);
    EXPECT_EQ(kGround, after.At(3, 4));
    BITMAP info{};
    EXPECT_NE(0, GetObjectA(picture, sizeof info, &info));
}
