// The main window's children in both button-bar orientations, and where the date and view
// buttons sit in them (the horizontal bar's places are also checked on real buttons under Wine).
#include <gtest/gtest.h>

#include "app/date_controls_layout.h"
#include "app/main_layout.h"

namespace {

MainLayout Layout(ButtonBarOrientation orientation, int width, int height, int time_column, int row_height,
                  int scroll_bar) {
    MainLayoutInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.orientation = orientation;
    in.timeColumnWidth = time_column;
    in.rowHeight = row_height;
    in.scrollBarWidth = scroll_bar;
    return LayOutMainWindow(in);
}

void ExpectRect(const LayoutRect& r, int x, int y, int width, int height, const char* what) {
    EXPECT_EQ(x, r.x) << what;
    EXPECT_EQ(y, r.y) << what;
    EXPECT_EQ(width, r.width) << what;
    EXPECT_EQ(height, r.height) << what;
}

}  // namespace

TEST(MainLayout, HeaderHeightIsTwoRowsAndEightButAtLeast36) {
    for (auto [row, height] : {std::pair{0, 36}, {14, 36}, {15, 38}, {20, 48}}) EXPECT_EQ(height, HeaderHeight(row)) << row;
}

TEST(MainLayout, HorizontalBarAlongTheTop) {
    // 1000 x 700, row height 16 (H = 40), time column 60, scroll bar 17.
    MainLayout l = Layout(kButtonBarHorizontal, 1000, 700, 60, 16, 17);
    EXPECT_EQ(40, l.headerHeight);
    EXPECT_EQ(33, l.buttonBar.height);
    EXPECT_EQ(1000, l.buttonBar.width);
    ExpectRect(l.header, 60, 33, 1000 - 36 - 60 - 17, 40, "header");
    ExpectRect(l.timeColumn, 0, 73, 60, 700 - 33 - 40, "time column");
    ExpectRect(l.sheet, 60, 73, 1000 - 36 - 60, 700 - 33 - 40, "sheet");
    ExpectRect(l.dateCorner, 0, 33, 60, 40, "date corner");
    ExpectRect(l.pinBoard, 964, 73, 36, 48, "pin board");
    EXPECT_EQ(964, l.smallCalendar.x);
    EXPECT_EQ(73 + 51, l.smallCalendar.y);
    EXPECT_EQ(73 + 147, l.smallCalendar.Bottom());
    EXPECT_EQ(964, l.flipTabs.x);
    EXPECT_EQ(73 + 147 + 3, l.flipTabs.y);
    EXPECT_EQ(64, l.flipTabs.width);
    EXPECT_EQ(700, l.flipTabs.Bottom());
}

TEST(MainLayout, VerticalBarAlongTheLeftWithItsDateAndViewButtonsAndTinyWindowsStayConsistent) {
    // 800 x 600, row height 10 (H = 36), time column 50, scroll bar 16.
    MainLayout l = Layout(kButtonBarVertical, 800, 600, 50, 10, 16);
    EXPECT_EQ(35, l.buttonBar.width);
    EXPECT_EQ(600, l.buttonBar.height);
    EXPECT_EQ(85, l.header.x);
    EXPECT_EQ(0, l.header.y);
    EXPECT_EQ(35, l.timeColumn.x);
    EXPECT_EQ(36, l.timeColumn.y);
    EXPECT_EQ(564, l.sheet.height);
    EXPECT_EQ(800 - 36, l.sheet.Right());

    DateControlsLayout d = LayOutDateControls(l);
    // The corner: (35, 0) 50 x 36. 50 = 17 + 17 + 16.
    ExpectRect(d.back, 35, 2, 17, 32, "back");
    ExpectRect(d.today, 52, 2, 17, 32, "today");
    ExpectRect(d.forward, 69, 2, 16, 32, "forward");
    // Right of the header: from 800 - 36 - 16 = 748 to 800, y 0, 36 high.
    ExpectRect(d.calendar, 748 + 9, 1, 34, 34, "calendar");
    // The strip 0..35 x 0..600: centred across, the month button 2 pixels above the bottom.
    ExpectRect(d.dayView, 1, 600 - 2 - 96, 32, 32, "day");
    ExpectRect(d.weekView, 1, 600 - 2 - 64, 32, 32, "week");
    ExpectRect(d.monthView, 1, 600 - 2 - 32, 32, 32, "month");

    l = Layout(kButtonBarVertical, 40, 20, 50, 10, 16);
    EXPECT_EQ(0, l.sheet.width);
    EXPECT_EQ(0, l.sheet.height);
    EXPECT_EQ(0, l.header.width);
    EXPECT_EQ(0, l.flipTabs.height);
}

TEST(MainLayout, DateButtonsShareTheCornerWidthExactly) {
    struct Case {
        int timeColumn, back, today, forward;  // widths
    } cases[] = {{36, 12, 12, 12}, {50, 17, 17, 16}, {55, 19, 18, 18}, {56, 19, 19, 18},
                 {57, 19, 19, 19}, {58, 20, 19, 19}, {60, 20, 20, 20}, {61, 21, 20, 20}};
    for (const Case& c : cases) {
        MainLayout l = Layout(kButtonBarHorizontal, 900, 600, c.timeColumn, 20, 17);
        DateControlsLayout d = LayOutDateControls(l);
        // Side by side across the corner, the first ones taking the odd pixels; H = 48 for a
        // row of 20: centred with 8 pixels above and below.
        ExpectRect(d.back, l.dateCorner.x, l.dateCorner.y + 8, c.back, 32, "back");
        ExpectRect(d.today, d.back.Right(), l.dateCorner.y + 8, c.today, 32, "today");
        ExpectRect(d.forward, d.today.Right(), l.dateCorner.y + 8, c.forward, 32, "forward");
        EXPECT_EQ(l.dateCorner.Right(), d.forward.Right()) << c.timeColumn;
    }
}

TEST(MainLayout, CommandsAndViewModesFindTheirDateButtons) {
    const int order[] = {201, 204, 202, 203, 150, 151, 152};
    for (int i = 0; i < kDateControlCount; ++i) {
        EXPECT_EQ(order[i], kDateControls[i].command) << i;
        EXPECT_EQ(i, DateControlIndex(order[i])) << order[i];
    }
    EXPECT_EQ(-1, DateControlIndex(205));
    for (auto [mode, command] : {std::pair{0, 150}, {1, 151}, {2, 152}, {3, -1}, {-1, -1}})
        EXPECT_EQ(command, ViewButtonCommand(mode)) << mode;
}
