// Window places in the settings file.
#include "suite/window_pos.h"

#include <algorithm>
#include <cstdio>

const char kWindowPosSection[] = "WindowPos";

bool ParseWindowPlace(const std::string& text, WindowPlace* place) {
    WindowPlace p;
    int fields = std::sscanf(text.c_str(), "%d,%d,%d,%d,%d", &p.left, &p.top, &p.right,
                             &p.bottom, &p.showState);
    if (fields < 4 || p.right <= p.left || p.bottom <= p.top) return false;
    if (fields < 5 || p.showState < 1 || p.showState > 3) p.showState = 1;
    *place = p;
    return true;
}

std::string FormatWindowPlace(const WindowPlace& p) {
    char text[80];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d", p.left, p.top, p.right, p.bottom,
                  p.showState);
    return text;
}

namespace {

bool Overlaps(const WindowPlace& p, const ScreenArea& s) {
    return p.left < s.right && p.right > s.left && p.top < s.bottom && p.bottom > s.top;
}

}  // namespace

WindowPlace BringOnScreen(const WindowPlace& place, const std::vector<ScreenArea>& screens) {
    WindowPlace p = place;
    if (p.showState == 2) p.showState = 1;
    if (screens.empty()) return p;
    for (const ScreenArea& s : screens)
        if (Overlaps(p, s)) return p;
    const ScreenArea& s = screens.front();
    int width = std::min(p.right - p.left, s.right - s.left);
    int height = std::min(p.bottom - p.top, s.bottom - s.top);
    p.left = std::clamp(p.left, s.left, s.right - width);
    p.top = std::clamp(p.top, s.top, s.bottom - height);
    p.right = p.left + width;
    p.bottom = p.top + height;
    return p;
}
