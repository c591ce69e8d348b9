// The day dialog "DLG_DAYTIME" ("Set Time Limits") of the hours editors: practice setup, the
// provider dialog and the schedule calendar.
#pragma once

#include <windows.h>

#include <cstdint>

// Edits one day's six times (start0, end0, start1, end1, start2, end2; 5-minute units, -1 for
// none) in steps of the practice's time block size. With time_required the first start must be
// given. On OK the six times are copied back and true is returned; on Cancel nothing changes.
bool EditDayTimes(HWND owner, HINSTANCE resources, int32_t times[6], bool time_required);

// The calendar's day editor: one date's three intervals through the day dialog, a time required.
bool EditCalendarDay(HWND owner, int32_t start[3], int32_t end[3]);
