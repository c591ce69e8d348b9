// Creating the settings' fonts and measuring the sheet's texts in them.
#include "app/fonts_win.h"

#include <algorithm>
#include <cstring>

LOGFONTA LogFontFromSpec(const FontSpec& spec) {
    LOGFONTA lf = {};
    lf.lfHeight = spec.height;
    lf.lfWidth = spec.width;
    lf.lfWeight = spec.weight;
    lf.lfItalic = spec.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE - 1);
    return lf;
}

HFONT CreateFontFromSpec(const FontSpec& spec) {
    LOGFONTA lf = LogFontFromSpec(spec);
    return CreateFontIndirectA(&lf);
}

void AppFonts::CreateAll() {
    DeleteAll();
    for (int n = 1; n <= 4; ++n) fonts_[n - 1] = CreateFontFromSpec(ReadFont(n));
}

void AppFonts::DeleteAll() {
    for (HFONT& f : fonts_) {
        if (f) DeleteObject(f);
        f = nullptr;
    }
}

namespace {

TextExtent Extent(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

}  // namespace

SheetMeasures AppFonts::MeasureSheet(HWND window) const {
    SheetFontExtents e;
    HDC dc = GetDC(window);
    e.defaultX = Extent(dc, "x");
    HGDIOBJ old = SelectObject(dc, fonts_[2] ? fonts_[2] : GetStockObject(SYSTEM_FONT));
    e.x = Extent(dc, "x");
    e.timeText = Extent(dc, "12:00pm ");
    e.noteText = Extent(dc, "iNotei");
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return MeasuresFromExtents(e);
}

int AppFonts::LargerXWidth(HWND window) const {
    HDC dc = GetDC(window);
    int width = 0;
    for (HFONT font : {fonts_[0], fonts_[1]}) {
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
        width = std::max(width, static_cast<int>(Extent(dc, "x").width));
        SelectObject(dc, old);
    }
    ReleaseDC(window, dc);
    return width;
}
