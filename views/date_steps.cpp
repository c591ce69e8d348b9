// Date steps of the back and forward buttons.
#include "views/date_steps.h"

#include "suite/dates.h"

int32_t StepShownDate(ViewMode mode, int32_t shown, int direction) {
    if (shown == 0) return 0;
    switch (mode) {
    case kDayView: return shown + direction;
    case kWeekView: return shown + 7 * direction;
    case kMonthView: return QVN_AddMonths(shown, direction);
    }
    return shown;
}

int32_t WeekStart(int32_t date) { return date == 0 ? 0 : date - (QVN_week_day(date) - 1); }

std::vector<int32_t> WeekShownDates(int32_t date, const int (&days)[kViewDays]) {
    std::vector<int32_t> dates;
    int32_t sunday = WeekStart(date);
    if (sunday == 0) return dates;
    for (int weekday : days)
        if (weekday >= 1 && weekday <= kViewDays) dates.push_back(sunday + weekday - 1);
    return dates;
}
