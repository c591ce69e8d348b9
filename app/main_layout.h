// Where the main window puts its children, from its client size and the sheet's measures.
#pragma once

#include "suite/workstation_settings.h"  // ButtonBarOrientation

struct LayoutRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

constexpr int kRightPanelWidth = 36;      // RW: pin board, small calendar, flip tabs
constexpr int kButtonBarHeight = 33;      // horizontal bar along the top
constexpr int kButtonBarWidth = 35;       // vertical bar along the left
constexpr int kPinBoardHeight = 48;
constexpr int kMinHeaderHeight = 36;

struct MainLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    ButtonBarOrientation orientation = kButtonBarHorizontal;
    int rowHeight = 0;                       // R of the sheet
    int timeColumnWidth = 0;                 // TW of the sheet
    int scrollBarWidth = 0;                  // width of a vertical scroll bar
};

struct MainLayout {
    LayoutRect buttonBar;
    LayoutRect header;
    LayoutRect timeColumn;
    LayoutRect sheet;            // includes its vertical scroll bar
    LayoutRect dateCorner;       // above the time column
    LayoutRect pinBoard;
    LayoutRect smallCalendar;
    LayoutRect flipTabs;
    int headerHeight = 0;        // H
};

// H = 2 x row height + 8, but at least 36.
int HeaderHeight(int row_height);

MainLayout LayOutMainWindow(const MainLayoutInput& input);
