// Marker and grip sizes at the row heights where they change, and the resource names of markers.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "views/sheet_markers.h"

TEST(SheetMarkers, MarkerSetGripAndMarginFollowTheRowHeight) {
    // The smallest set on the top edge; below 12 the offset is 1; 21 - 2 is still below 20.
    struct Marker { int rowHeight, size, offset; };
    for (const Marker& c : {Marker{9, 6, 0}, Marker{10, 9, 1}, Marker{12, 9, 2}, Marker{13, 12, 2}, Marker{17, 16, 2},
                            Marker{21, 16, 2}, Marker{22, 20, 2}}) {
        const MarkerPlacement p = MarkerSetForRowHeight(c.rowHeight);
        EXPECT_EQ(std::tuple(c.size, c.offset), std::tuple(p.size, p.topOffset)) << "R = " << c.rowHeight;
        EXPECT_GE(MarkerSizeIndex(p.size), 0) << "every chosen size exists";
    }
    struct Grip { int rowHeight, grip, inset, singleRowMargin; };
    for (const Grip& c : {Grip{10, 6, 7, 8}, Grip{11, 9, 10, 11}, Grip{14, 9, 10, 11}, Grip{15, 12, 13, 14}}) {
        const GripPlacement g = GripForRowHeight(c.rowHeight);
        EXPECT_EQ(std::tuple(c.grip, c.inset, c.singleRowMargin, 3),
                  std::tuple(g.size, g.inset, FirstMarkerRightMargin(c.rowHeight, true), FirstMarkerRightMargin(c.rowHeight, false)))
            << "R = " << c.rowHeight;
    }
}

TEST(SheetMarkers, ResourceNamesAndLabCaseStates) {
    // No 14-pixel marker set, no family count picture, no 16-pixel grip.
    EXPECT_EQ((std::vector<std::string>{"NOTE12", "LABINHSE20", "", "", "pull12", ""}),
              (std::vector<std::string>{MarkerResourceName(kMarkerNote, 12), MarkerResourceName(kMarkerLabInHouse, 20),
                                        MarkerResourceName(kMarkerNote, 14), MarkerResourceName(kMarkerFamilyCount, 12),
                                        GripResourceName(12), GripResourceName(16)}));
    // No lab case (0) and an unknown state (5) give no marker.
    std::vector<int> markers;
    for (int state = 0; state <= 5; ++state) markers.push_back(LabCaseMarker(state));
    EXPECT_EQ((std::vector<int>{kMarkerFamilyCount, kMarkerLabNeeded, kMarkerLabSent, kMarkerLabReceived, kMarkerLabInHouse,
                                kMarkerFamilyCount}),
              markers);
}
