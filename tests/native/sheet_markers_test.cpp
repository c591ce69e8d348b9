// Marker and grip sizes for each row height, and the resource names of every marker.
#include <gtest/gtest.h>

#include "views/sheet_markers.h"

TEST(SheetMarkers, MarkerSetFollowsTheRowHeight) {
    struct Case {
        int rowHeight, size, offset;
    };
    const Case cases[] = {
        {9, 6, 0},  {10, 9, 1},  {11, 9, 1},  // the smallest set on the top edge; below 12 the offset is 1
        {12, 9, 2}, {13, 12, 2}, {16, 12, 2}, {17, 16, 2}, {21, 16, 2}, {22, 20, 2},  // 21 - 2 is still below 20
    };
    for (const Case& c : cases) {
        MarkerPlacement p = MarkerSetForRowHeight(c.rowHeight);
        EXPECT_EQ(c.size, p.size) << "R = " << c.rowHeight;
        EXPECT_EQ(c.offset, p.topOffset) << "R = " << c.rowHeight;
        EXPECT_GE(MarkerSizeIndex(p.size), 0) << "every chosen size exists";
    }
}

TEST(SheetMarkers, GripAndMarginFollowTheRowHeight) {
    struct Case {
        int rowHeight, grip, inset, singleRowMargin;
    };
    const Case cases[] = {
        {10, 6, 7, 8}, {11, 9, 10, 11}, {14, 9, 10, 11}, {15, 12, 13, 14},
    };
    for (const Case& c : cases) {
        GripPlacement g = GripForRowHeight(c.rowHeight);
        EXPECT_EQ(c.grip, g.size) << "R = " << c.rowHeight;
        EXPECT_EQ(c.inset, g.inset) << "R = " << c.rowHeight;
        EXPECT_EQ(c.singleRowMargin, FirstMarkerRightMargin(c.rowHeight, true)) << "R = " << c.rowHeight;
        EXPECT_EQ(3, FirstMarkerRightMargin(c.rowHeight, false)) << "R = " << c.rowHeight;
    }
}

TEST(SheetMarkers, ResourceNamesAndLabCaseStates) {
    EXPECT_EQ("NOTE12", MarkerResourceName(kMarkerNote, 12));
    EXPECT_EQ("LABINHSE20", MarkerResourceName(kMarkerLabInHouse, 20));
    EXPECT_EQ("", MarkerResourceName(kMarkerNote, 14)) << "no 14-pixel set";
    EXPECT_EQ("", MarkerResourceName(kMarkerFamilyCount, 12));
    EXPECT_EQ("pull12", GripResourceName(12));
    EXPECT_EQ("", GripResourceName(16));

    EXPECT_EQ(kMarkerLabNeeded, LabCaseMarker(1));
    EXPECT_EQ(kMarkerLabSent, LabCaseMarker(2));
    EXPECT_EQ(kMarkerLabReceived, LabCaseMarker(3));
    EXPECT_EQ(kMarkerLabInHouse, LabCaseMarker(4));
    EXPECT_EQ(kMarkerFamilyCount, LabCaseMarker(0)) << "no lab case, no marker";
    EXPECT_EQ(kMarkerFamilyCount, LabCaseMarker(5));
}
