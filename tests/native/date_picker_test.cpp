// The date picker's months, arrow keys, grid places and confirmation.
#include <gtest/gtest.h>

#include "controls/date_picker_model.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/messages.h"

TEST(DatePicker, OpensOnTheStartDateOrTodayWithinItsYears) {
    DatePickerState state;
    int32_t today = QVN_DateIn(12, 6, 2026);
    ASSERT_TRUE(OpenPickerAt(&state, 0, today, false));
    EXPECT_EQ(today, PickerSelectedDate(state));
    EXPECT_EQ("December 2026", PickerTitle(state));
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(1, 1, 1970), today, true));
    EXPECT_EQ(0, PickerMonthIndex(state.year, state.month));
    EXPECT_TRUE(state.warnOnPast);
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(12, 31, 2099), today, false));
    EXPECT_EQ(1559, PickerMonthIndex(state.year, state.month));

    DatePickerState untouched = state;
    EXPECT_FALSE(OpenPickerAt(&untouched, QVN_DateIn(12, 31, 1969), today, false));
    EXPECT_FALSE(OpenPickerAt(&untouched, QVN_DateIn(1, 1, 2100), today, false));
    EXPECT_EQ(PickerSelectedDate(state), PickerSelectedDate(untouched));
}

TEST(DatePicker, MonthStepsKeepTheDayOrEndOnTheMonthsLastDayAndArrowKeysCrossMonths) {
    DatePickerState state;
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(1, 31, 2028), 0, false));
    ASSERT_TRUE(PickerStepMonth(&state, 1));
    EXPECT_EQ(QVN_DateIn(2, 29, 2028), PickerSelectedDate(state));
    ASSERT_TRUE(PickerStepMonth(&state, 1));  // the day stays 29 once brought down
    EXPECT_EQ(QVN_DateIn(3, 29, 2028), PickerSelectedDate(state));

    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(12, 15, 2008), 0, false));
    ASSERT_TRUE(PickerStepMonth(&state, 1));
    EXPECT_EQ("January 2009", PickerTitle(state));
    ASSERT_TRUE(PickerStepMonth(&state, -1));
    EXPECT_EQ("December 2008", PickerTitle(state));

    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(1, 10, 1970), 0, false));
    EXPECT_FALSE(PickerStepMonth(&state, -1));
    EXPECT_EQ("January 1970", PickerTitle(state));
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(12, 10, 2099), 0, false));
    EXPECT_FALSE(PickerStepMonth(&state, 1));

    // The arrow keys move by days and weeks across months.
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(2, 28, 2027), 0, false));
    ASSERT_TRUE(PickerMoveDays(&state, 1));
    EXPECT_EQ("March 2027", PickerTitle(state));
    EXPECT_EQ(1, state.day);
    ASSERT_TRUE(PickerMoveDays(&state, -7));
    EXPECT_EQ(QVN_DateIn(2, 22, 2027), PickerSelectedDate(state));
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(12, 31, 2099), 0, false));
    EXPECT_FALSE(PickerMoveDays(&state, 1));
    EXPECT_EQ(QVN_DateIn(12, 31, 2099), PickerSelectedDate(state));
}

TEST(DatePicker, DaysSitUnderTheirWeekdays) {
    DatePickerState state;
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(12, 6, 2026), 0, false));  // 1 Dec 2026: Tuesday
    int row, column;
    PickerCellOfDay(state, 1, &row, &column);
    EXPECT_EQ((std::vector<int>{0, 2}), (std::vector<int>{row, column}));
    EXPECT_STREQ("Tues", kPickerWeekdayNames[column]);
    // Before the first, the 1st, the 31st, after it.
    EXPECT_EQ((std::vector<int>{0, 1, 31, 0}),
              (std::vector<int>{PickerDayAtCell(state, 0, 1), PickerDayAtCell(state, 0, 2), PickerDayAtCell(state, 4, 4), PickerDayAtCell(state, 4, 5)}));

    // A 31-day month starting on Saturday needs the sixth week row.
    ASSERT_TRUE(OpenPickerAt(&state, QVN_DateIn(8, 1, 2026), 0, false));
    EXPECT_EQ(31, PickerDayAtCell(state, 5, 1));
}

TEST(DatePicker, ConfirmWarnsOnPastDatesWhenAsked) {
    int32_t today = QVN_DateIn(12, 6, 2026);
    DatePickerState state;
    ASSERT_TRUE(OpenPickerAt(&state, today - 1, today, true));
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerCancel).Answer(kAnswerOk);
    EXPECT_EQ(0, PickerConfirm(state, today));
    EXPECT_EQ(today - 1, PickerConfirm(state, today));
    // Today itself and unwarned pickers ask nothing.
    ASSERT_TRUE(OpenPickerAt(&state, today, today, true));
    EXPECT_EQ(today, PickerConfirm(state, today));
    ASSERT_TRUE(OpenPickerAt(&state, today - 30, today, false));
    EXPECT_EQ(today - 30, PickerConfirm(state, today));
    state.day = 31;
    state.month = 11;  // 31 November is no date
    EXPECT_EQ(0, PickerConfirm(state, today));
    EXPECT_EQ(std::vector<std::string>(2, "The date you chose lies in the past.\nDo you want to continue?"), prompter.Texts());
    EXPECT_EQ(kButtonsOkCancel, prompter.Asked().at(0).buttons);
}
