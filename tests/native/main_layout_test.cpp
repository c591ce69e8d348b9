// The main window's children in both button-bar orientations.
#include <gtest/gtest.h>

#include "app/main_layout.h"

TEST(MainLayout, HeaderHeightIsTwoRowsAndEightButAtLeast36) {
    EXPECT_EQ(36, HeaderHeight(0));
    EXPECT_EQ(36, HeaderHeight(14));
    EXPECT_EQ(38, HeaderHeight(15));
    EXPECT_EQ(48, HeaderHeight(20));
}

TEST(MainLayout, HorizontalBarAlongTheTop) {
    MainLayoutInput in;
    in.clientWidth = 1000;
    in.clientHeight = 700;
    in.rowHeight = 16;  // H = 40
    in.timeColumnWidth = 60;
    in.scrollBarWidth = 17;
    MainLayout l = LayOutMainWindow(in);
    EXPECT_EQ(40, l.headerHeight);
    EXPECT_EQ(33, l.buttonBar.height);
    EXPECT_EQ(1000, l.buttonBar.width);

    EXPECT_EQ(60, l.header.x);
    EXPECT_EQ(33, l.header.y);
    EXPECT_EQ(1000 - 36 - 60 - 17, l.header.width);
    EXPECT_EQ(40, l.header.height);

    EXPECT_EQ(0, l.timeColumn.x);
    EXPECT_EQ(73, l.timeColumn.y);
    EXPECT_EQ(60, l.timeColumn.width);
    EXPECT_EQ(700 - 33 - 40, l.timeColumn.height);

    EXPECT_EQ(60, l.sheet.x);
    EXPECT_EQ(73, l.sheet.y);
    EXPECT_EQ(1000 - 36 - 60, l.sheet.width);
    EXPECT_EQ(l.timeColumn.height, l.sheet.height);

    EXPECT_EQ(0, l.dateCorner.x);
    EXPECT_EQ(33, l.dateCorner.y);
    EXPECT_EQ(60, l.dateCorner.width);
    EXPECT_EQ(40, l.dateCorner.height);

    EXPECT_EQ(964, l.pinBoard.x);
    EXPECT_EQ(73, l.pinBoard.y);
    EXPECT_EQ(36, l.pinBoard.width);
    EXPECT_EQ(48, l.pinBoard.height);

    EXPECT_EQ(964, l.smallCalendar.x);
    EXPECT_EQ(73 + 51, l.smallCalendar.y);
    EXPECT_EQ(73 + 147, l.smallCalendar.Bottom());

    EXPECT_EQ(964, l.flipTabs.x);
    EXPECT_EQ(73 + 147 + 3, l.flipTabs.y);
    EXPECT_EQ(64, l.flipTabs.width);
    EXPECT_EQ(700, l.flipTabs.Bottom());
}

TEST(MainLayout, VerticalBarAlongTheLeftAndTinyWindowsStayConsistent) {
    MainLayoutInput in;
    in.clientWidth = 800;
    in.clientHeight = 600;
    in.orientation = kButtonBarVertical;
    in.rowHeight = 10;  // H = 36
    in.timeColumnWidth = 50;
    in.scrollBarWidth = 16;
    MainLayout l = LayOutMainWindow(in);
    EXPECT_EQ(35, l.buttonBar.width);
    EXPECT_EQ(600, l.buttonBar.height);
    EXPECT_EQ(85, l.header.x);
    EXPECT_EQ(0, l.header.y);
    EXPECT_EQ(35, l.timeColumn.x);
    EXPECT_EQ(36, l.timeColumn.y);
    EXPECT_EQ(564, l.sheet.height);
    EXPECT_EQ(800 - 36, l.sheet.Right());

    in.clientWidth = 40;
    in.clientHeight = 20;
    l = LayOutMainWindow(in);
    EXPECT_EQ(0, l.sheet.width);
    EXPECT_EQ(0, l.sheet.height);
    EXPECT_EQ(0, l.header.width);
    EXPECT_EQ(0, l.flipTabs.height);
}
