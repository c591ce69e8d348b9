// The sheet's state and the dates it shows.
#include "views/sheet_state.h"

#include "views/active_view.h"
#include "views/month_view.h"

SheetState sheet_state;

std::vector<int32_t> ShownDatesOf(int32_t date, ViewMode mode) {
    if (mode == kDayView) return {date};
    if (mode == kMonthView) return MonthBandDates(date, view_state.active.days, nullptr);
    return WeekShownDates(date, view_state.active.days);
}
