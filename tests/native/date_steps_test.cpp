// Back and forward by day, week and month, and the days a week view shows.
#include <gtest/gtest.h>

#include "suite/dates.h"
#include "views/date_steps.h"

TEST(DateSteps, BackAndForwardByTheViewModeAndAWeekViewsWeekdays) {
    int32_t shown = QVN_DateIn(1, 31, 2027);
    EXPECT_EQ((std::vector<int32_t>{shown - 1, shown + 7}), (std::vector<int32_t>{StepShownDate(kDayView, shown, -1), StepShownDate(kWeekView, shown, 1)}));
    EXPECT_EQ(QVN_DateIn(2, 28, 2027), StepShownDate(kMonthView, shown, 1));
    EXPECT_EQ(QVN_DateIn(12, 31, 2026), StepShownDate(kMonthView, shown, -1)) << "month 0 is December";
    EXPECT_EQ(QVN_DateIn(1, 15, 2028), StepShownDate(kMonthView, QVN_DateIn(12, 15, 2027), 1));
    EXPECT_EQ(0, StepShownDate(kDayView, 0, 1));

    // A week view shows its weekdays from Sunday.
    int32_t wednesday = QVN_DateIn(12, 9, 2026);
    EXPECT_EQ(QVN_DateIn(12, 6, 2026), WeekStart(wednesday));
    EXPECT_EQ(QVN_DateIn(12, 6, 2026), WeekStart(QVN_DateIn(12, 6, 2026))) << "a Sunday starts its own week";
    // (A view's own days of the week through the shown view: day_data_test.cpp.)
    int weekend[kViewDays] = {1, 7, 0, 0, 0, 0, 0};
    EXPECT_EQ((std::vector<int32_t>{QVN_DateIn(11, 29, 2026), QVN_DateIn(12, 5, 2026)}),
              WeekShownDates(StepShownDate(kWeekView, wednesday, -1), weekend));
}
