// The main window's children in both button-bar orientations, and where the date and view
// buttons sit in them (the horizontal bar's places are also checked on real buttons under Wine).
// One case per rule of the layout.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/date_controls_layout.h"
#include "app/main_layout.h"

namespace {

MainLayout Layout(ButtonBarOrientation orientation, int width, int height, int time_column, int row_height) {
    MainLayoutInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.orientation = orientation;
    in.timeColumnWidth = time_column;
    in.rowHeight = row_height;
    in.scrollBarWidth = 16;
    return LayOutMainWindow(in);
}

// x, y, width, height in one line, so that a failure shows the whole rectangle.
std::string R(const LayoutRect& r) {
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" + std::to_string(r.height);
}

}  // namespace

TEST(MainLayout, BarsHeaderSheetAndSideStripInBothOrientations) {
    for (auto [row, height] : {std::pair{14, 36}, {15, 38}, {20, 48}}) EXPECT_EQ(height, HeaderHeight(row)) << row;

    // 1000 x 700, row height 16 (H = 40), time column 60: the bar along the top.
    MainLayout l = Layout(kButtonBarHorizontal, 1000, 700, 60, 16);
    // Button bar, header, time column, sheet, date corner, pin board, small calendar's top, flip tabs.
    EXPECT_EQ("0,0 1000x33|60,33 888x40|0,73 60x627|60,73 904x627|0,33 60x40|964,73 36x48|124|964,223 64x477",
              R(l.buttonBar) + "|" + R(l.header) + "|" + R(l.timeColumn) + "|" + R(l.sheet) + "|" + R(l.dateCorner) + "|" +
                  R(l.pinBoard) + "|" + std::to_string(l.smallCalendar.y) + "|" + R(l.flipTabs));

    // 800 x 600, row height 10 (H = 36), time column 50: the bar along the left, the date
    // buttons sharing the corner (the first ones taking the odd pixels), the view buttons at the
    // strip's bottom.
    l = Layout(kButtonBarVertical, 800, 600, 50, 10);
    EXPECT_EQ("0,0 35x600", R(l.buttonBar));
    EXPECT_EQ("35,36 50x564", R(l.timeColumn));
    EXPECT_EQ(85, l.header.x);
    EXPECT_EQ(800 - 36, l.sheet.Right());
    DateControlsLayout d = LayOutDateControls(l);
    EXPECT_EQ("35,2 17x32|52,2 17x32|69,2 16x32", R(d.back) + "|" + R(d.today) + "|" + R(d.forward));
    EXPECT_EQ("757,1 34x34", R(d.calendar));
    EXPECT_EQ("1,502 32x32|1,534 32x32|1,566 32x32", R(d.dayView) + "|" + R(d.weekView) + "|" + R(d.monthView));

    // A tiny window gives empty children, never negative ones.
    l = Layout(kButtonBarVertical, 40, 20, 50, 10);
    EXPECT_EQ(std::tuple(0, 0, 0), std::tuple(l.sheet.width, l.sheet.height, l.flipTabs.height));
}

TEST(MainLayout, CommandsAndViewModesFindTheirDateButtons) {
    const int order[] = {201, 204, 202, 203, 150, 151, 152};
    for (int i = 0; i < kDateControlCount; ++i) EXPECT_EQ(i, DateControlIndex(order[i])) << order[i];
    EXPECT_EQ(-1, DateControlIndex(205));
    for (auto [mode, command] : {std::pair{0, 150}, {2, 152}, {3, -1}}) EXPECT_EQ(command, ViewButtonCommand(mode)) << mode;
}
