// The main window's flip tab strip apart from its window: which of a mode's tabs it shows, where
// each tab lies down the strip, which tab a point hits, and what a click on a tab asks the main
// window to do.
#pragma once

#include <cstdint>
#include <vector>

#include "views/flip_tabs.h"

// The always-empty fifth position, the strip's active tab whenever no user tab is to look chosen.
constexpr int kFlipEmptyPosition = kFlipUserTabs;

// Geometry of the strip: tabs run down its left edge, each as wide as a tab is high (RW - 6);
// their outer corners are cut by the chamfer.
constexpr int kFlipTabThickness = 30;
constexpr int kFlipTabChamfer = 4;
constexpr int kFlipTabPadding = 8;      // before and after a caption along the tab
constexpr int kFlipTabMinLength = 28;
constexpr int kFlipEmptyTabLength = 14;  // the fifth position: no caption

// The defined user tabs (0-3) of a mode, lowest first: the tabs the strip shows.
std::vector<int> VisibleFlipTabs(const FlipTabSet& set, FlipTabMode mode);

// The user tab that Ctrl+1 to Ctrl+4 (k = 0-3) reach: the k-th visible one, or -1.
int VisibleFlipTabAt(const FlipTabSet& set, FlipTabMode mode, int k);

struct FlipTabPlace {
    int position;  // user tab 0-3, or kFlipEmptyPosition
    int top;
    int bottom;    // exclusive
};

// The places of the visible tabs, from the top of the strip in their order, and behind them
// the empty fifth position. caption_lengths[i] is the drawn length of visible tab i's caption.
std::vector<FlipTabPlace> LayOutFlipTabs(const std::vector<int>& visible,
                                         const std::vector<int>& caption_lengths);

// The position under a point of the strip's client area, or -1 for none.
int FlipTabAtPoint(const std::vector<FlipTabPlace>& places, int x, int y);

// What a click on a user tab asks for: go to date, and, for a tab counted from the displayed
// date, make the empty position active again afterwards so that the same tab can be clicked
// once more at once. date 0: the click is ignored.
struct FlipTabClick {
    int32_t date = 0;
    bool resetAfter = false;
};
FlipTabClick ClickOnFlipTab(const FlipTab& tab, FlipTabMode mode, int32_t today, int32_t displayed);
