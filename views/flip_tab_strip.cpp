// Visible tabs, their places down the strip, hit testing and the outcome of a click.
#include "views/flip_tab_strip.h"

#include <algorithm>

std::vector<int> VisibleFlipTabs(const FlipTabSet& set, FlipTabMode mode) {
    std::vector<int> visible;
    if (mode < 0 || mode >= kFlipModes) return visible;
    for (int tab = 0; tab < kFlipUserTabs; ++tab)
        if (set.tabs[mode][tab].flags & kFlipDefined) visible.push_back(tab);
    return visible;
}

int VisibleFlipTabAt(const FlipTabSet& set, FlipTabMode mode, int k) {
    const std::vector<int> visible = VisibleFlipTabs(set, mode);
    return k >= 0 && k < static_cast<int>(visible.size()) ? visible[static_cast<size_t>(k)] : -1;
}

std::vector<FlipTabPlace> LayOutFlipTabs(const std::vector<int>& visible,
                                         const std::vector<int>& caption_lengths) {
    std::vector<FlipTabPlace> places;
    int top = 0;
    for (size_t i = 0; i < visible.size(); ++i) {
        const int caption = i < caption_lengths.size() ? caption_lengths[i] : 0;
        const int length = std::max(kFlipTabMinLength, caption + 2 * kFlipTabPadding);
        places.push_back({visible[i], top, top + length});
        top += length;
    }
    places.push_back({kFlipEmptyPosition, top, top + kFlipEmptyTabLength});
    return places;
}

int FlipTabAtPoint(const std::vector<FlipTabPlace>& places, int x, int y) {
    if (x < 0 || x >= kFlipTabThickness) return -1;
    for (const FlipTabPlace& p : places)
        if (y >= p.top && y < p.bottom) return p.position;
    return -1;
}

FlipTabClick ClickOnFlipTab(const FlipTab& tab, FlipTabMode mode, int32_t today, int32_t displayed) {
    FlipTabClick click;
    click.date = FlipTabTarget(tab, mode, today, displayed);
    click.resetAfter = click.date != 0 && (tab.flags & kFlipDefined) && !(tab.flags & kFlipAbsolute) &&
                       (tab.flags & kFlipFromDisplayed);
    return click;
}
