// Moving the shown date back or forward by the view mode, and the dates a week view shows.
#pragma once

#include <cstdint>
#include <vector>

#include "views/view_definition.h"

enum ViewMode : int { kDayView = 0, kWeekView = 1, kMonthView = 2 };

// Day view: one day; week view: one week; month view: the same day of the previous or next
// month, ending on the month's last day when it has fewer days. direction is -1 or +1.
int32_t StepShownDate(ViewMode mode, int32_t shown, int direction);

// The Sunday that starts the week of a date.
int32_t WeekStart(int32_t date);

// The dates of the view's weekdays (1 Sunday ... 7 Saturday, 0 for unused) in the week of date.
std::vector<int32_t> WeekShownDates(int32_t date, const int (&days)[kViewDays]);
