// Flip tabs: up to four user tabs per display mode that jump to a fixed date or to a date
// counted in days, weeks or months from today or from the displayed date.
#pragma once

#include <cstdint>
#include <string>

enum FlipTabMode : int { kFlipDay = 0, kFlipWeek = 1, kFlipMonth = 2 };
constexpr int kFlipModes = 3;
constexpr int kFlipUserTabs = 4;
constexpr int kFlipTabSlots = 5;  // the fifth slot of each mode is always empty
constexpr int kMaxRelativeCount = 999;

enum FlipTabFlags : uint32_t {
    kFlipDefined = 0x1,
    kFlipAbsolute = 0x2,
    kFlipFromDisplayed = 0x4,  // else from today
    kFlipBackward = 0x8,       // else forward
};

struct FlipTab {
    int32_t value = 0;       // absolute: day number; relative: count of units, 0 to 999
    uint32_t flags = 0;
    uint32_t textColor = 0;  // 0x00BBGGRR
    char description[16] = {};
};

struct FlipTabSet {
    FlipTab tabs[kFlipModes][kFlipTabSlots];
};

// A stored value "%c%ld,%ld,%s" (type, value, colour, description) as a tab; the empty text
// is an unused tab. An unknown type character counts as forward from today.
FlipTab ParseFlipTab(const std::string& text);
std::string FormatFlipTab(const FlipTab& tab);

// Reads or writes all twelve tabs in section APPTBOOK; the fifth slots stay empty.
FlipTabSet LoadFlipTabs();
void SaveFlipTabs(const FlipTabSet& set);

// The date a click on the tab goes to, or 0 when the click is to be ignored (an unused tab or
// an absolute one without a date). Months keep the day of the month where the target month
// has it and otherwise end on the month's last day.
int32_t FlipTabTarget(const FlipTab& tab, FlipTabMode mode, int32_t today, int32_t displayed);
