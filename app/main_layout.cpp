// The main window's child layout. Sizes never go below zero: a window made very small still
// gets a consistent layout, its children merely empty.
#include "app/main_layout.h"

#include <algorithm>

namespace {

LayoutRect Rect(int x, int y, int width, int height) {
    return {x, y, std::max(0, width), std::max(0, height)};
}

}  // namespace

int HeaderHeight(int row_height) { return std::max(kMinHeaderHeight, 2 * row_height + 8); }

MainLayout LayOutMainWindow(const MainLayoutInput& in) {
    MainLayout out;
    bool vertical = in.orientation == kButtonBarVertical;
    int bar_width = vertical ? kButtonBarWidth : 0;
    int bar_height = vertical ? 0 : kButtonBarHeight;
    out.buttonBar = vertical ? Rect(0, 0, kButtonBarWidth, in.clientHeight)
                             : Rect(0, 0, in.clientWidth, kButtonBarHeight);

    int H = out.headerHeight = HeaderHeight(in.rowHeight);
    int TW = in.timeColumnWidth;
    int left = bar_width + TW;
    int top = bar_height + H;
    int body_height = in.clientHeight - bar_height - H;

    out.header = Rect(left, bar_height, in.clientWidth - kRightPanelWidth - left - in.scrollBarWidth, H);
    out.timeColumn = Rect(bar_width, top, TW, body_height);
    out.sheet = Rect(left, top, in.clientWidth - kRightPanelWidth - left, body_height);
    out.dateCorner = Rect(bar_width, bar_height, TW, H);

    int panel_x = out.sheet.Right();
    out.pinBoard = Rect(panel_x, top, kRightPanelWidth, kPinBoardHeight);
    out.smallCalendar = Rect(panel_x, top + 51, kRightPanelWidth, 147 - 51);
    int tabs_top = out.smallCalendar.Bottom() + 3;
    out.flipTabs = Rect(panel_x, tabs_top, 2 * kRightPanelWidth - 8, in.clientHeight - tabs_top);
    return out;
}
