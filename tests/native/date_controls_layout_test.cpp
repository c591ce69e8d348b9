// Where the date and view buttons sit in the main window with the vertical button bar, and for
// time columns whose width does and does not divide by three. The horizontal bar's places are
// checked on real buttons (tests/win/date_controls_test.cpp).
#include <gtest/gtest.h>

#include "app/date_controls_layout.h"

namespace {

MainLayout Layout(ButtonBarOrientation orientation, int width, int height, int time_column,
                  int row_height, int scroll_bar) {
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

TEST(DateControlsLayout, VerticalBarStacksTheViewButtonsAtItsBottom) {
    // 800 x 600, H = 36 (row height 10), time column 50, scroll bar 16.
    DateControlsLayout d = LayOutDateControls(Layout(kButtonBarVertical, 800, 600, 50, 10, 16));
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
}

TEST(DateControlsLayout, DateButtonsShareTheCornerWidthExactly) {
    for (int tw : {36, 50, 55, 56, 57, 58, 60, 61}) {
        MainLayout l = Layout(kButtonBarHorizontal, 900, 600, tw, 20, 17);
        DateControlsLayout d = LayOutDateControls(l);
        EXPECT_EQ(l.dateCorner.x, d.back.x) << tw;
        EXPECT_EQ(d.back.Right(), d.today.x) << tw;
        EXPECT_EQ(d.today.Right(), d.forward.x) << tw;
        EXPECT_EQ(l.dateCorner.Right(), d.forward.Right()) << tw;
        // The first ones take the odd pixels: widths never grow from left to right and differ
        // by at most one.
        EXPECT_GE(d.back.width, d.today.width) << tw;
        EXPECT_GE(d.today.width, d.forward.width) << tw;
        EXPECT_LE(d.back.width - d.forward.width, 1) << tw;
        // H = 48 for a row of 20: centred with 8 pixels above and below.
        EXPECT_EQ(l.dateCorner.y + 8, d.back.y) << tw;
        EXPECT_EQ(32, d.forward.height) << tw;
    }
    DateControlsLayout d55 = LayOutDateControls(Layout(kButtonBarHorizontal, 900, 600, 55, 20, 17));
    EXPECT_EQ(19, d55.back.width);
    EXPECT_EQ(18, d55.today.width);
    EXPECT_EQ(18, d55.forward.width);
    DateControlsLayout d56 = LayOutDateControls(Layout(kButtonBarHorizontal, 900, 600, 56, 20, 17));
    EXPECT_EQ(19, d56.back.width);
    EXPECT_EQ(19, d56.today.width);
    EXPECT_EQ(18, d56.forward.width);
}

TEST(DateControlsLayout, CommandsAndViewModesFindTheirButtons) {
    const int order[] = {201, 204, 202, 203, 150, 151, 152};
    for (int i = 0; i < kDateControlCount; ++i) {
        EXPECT_EQ(order[i], kDateControls[i].command) << i;
        EXPECT_EQ(i, DateControlIndex(order[i])) << order[i];
    }
    EXPECT_EQ(-1, DateControlIndex(205));
    EXPECT_EQ(150, ViewButtonCommand(0));
    EXPECT_EQ(151, ViewButtonCommand(1));
    EXPECT_EQ(152, ViewButtonCommand(2));
    EXPECT_EQ(-1, ViewButtonCommand(3));
    EXPECT_EQ(-1, ViewButtonCommand(-1));
}
