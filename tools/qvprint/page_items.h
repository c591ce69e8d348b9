// A printed page as a list of things to draw, in page units (a hundredth of an inch), so that the
// layout of every report is worked out and tested without a device: the printer, an enhanced
// metafile and a bitmap each map the page units onto their own device and draw the same list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kPageUnitsPerInch = 100;

struct PageRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(const PageRect& r) const {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
};

enum class DrawKind {
    kFill,   // the rectangle in colour
    kFrame,  // a one-unit black frame round the rectangle
    kLine,   // a black line from (left, top) to (right, bottom)
    kText,   // text on one line, from the rectangle's left, clipped to it
};

enum class TextStyle { kNormal, kBold, kTitle };

struct DrawItem {
    DrawKind kind = DrawKind::kText;
    PageRect rect;
    uint32_t colour = 0;  // kFill: 0x00BBGGRR
    std::string text;     // kText, code page 1252
    TextStyle style = TextStyle::kNormal;
    bool alignRight = false;
};

struct Page {
    std::vector<DrawItem> items;
};

// The paper the layout fills, in page units, and the height of one line of normal text.
struct PageMetrics {
    int width = 850;     // letter, portrait
    int height = 1100;
    int margin = 40;
    int lineHeight = 16;
};

// The helpers every layout draws with.
inline void AddText(Page* page, const PageRect& r, std::string text, TextStyle style = TextStyle::kNormal,
                    bool align_right = false) {
    page->items.push_back({DrawKind::kText, r, 0, std::move(text), style, align_right});
}
inline void AddFill(Page* page, const PageRect& r, uint32_t colour) {
    page->items.push_back({DrawKind::kFill, r, colour, {}, TextStyle::kNormal, false});
}
inline void AddFrame(Page* page, const PageRect& r) {
    page->items.push_back({DrawKind::kFrame, r, 0, {}, TextStyle::kNormal, false});
}
inline void AddLine(Page* page, int x0, int y0, int x1, int y1) {
    page->items.push_back({DrawKind::kLine, {x0, y0, x1, y1}, 0, {}, TextStyle::kNormal, false});
}
