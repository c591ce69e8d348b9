// Date arithmetic of the "Select Date" picker.
#include "controls/date_picker_model.h"

#include "suite/dates.h"
#include "suite/messages.h"

const char* const kPickerWeekdayNames[kPickerColumns] = {"Sun",  "Mon", "Tues", "Wed",
                                                          "Thur", "Fri", "Sat"};

namespace {

constexpr int kLastMonthIndex = (kPickerLastYear - kPickerFirstYear + 1) * 12 - 1;

bool InRange(int year, int month) {
    int index = PickerMonthIndex(year, month);
    return index >= 0 && index <= kLastMonthIndex;
}

// Column of the first day of the shown month (0 = Sunday).
int FirstColumn(const DatePickerState& state) {
    return QVN_week_day(QVN_DateIn(state.month, 1, state.year)) - 1;
}

}  // namespace

int PickerMonthIndex(int year, int month) { return (year - kPickerFirstYear) * 12 + month - 1; }

bool OpenPickerAt(DatePickerState* state, int32_t start_date, int32_t today, bool warn_on_past) {
    int month, day, year;
    if (!QVN_DateOut(start_date ? start_date : today, &month, &day, &year)) return false;
    if (!InRange(year, month)) return false;
    *state = {year, month, day, warn_on_past};
    return true;
}

bool PickerStepMonth(DatePickerState* state, int months) {
    int index = PickerMonthIndex(state->year, state->month) + months;
    if (index < 0 || index > kLastMonthIndex) return false;
    state->year = kPickerFirstYear + index / 12;
    state->month = index % 12 + 1;
    int last = QVN_DaysInMonth(state->month, state->year);
    if (state->day > last) state->day = last;
    return true;
}

bool PickerMoveDays(DatePickerState* state, int days) {
    int32_t date = PickerSelectedDate(*state);
    if (date == 0) return false;
    int month, day, year;
    if (!QVN_DateOut(date + days, &month, &day, &year) || !InRange(year, month)) return false;
    state->year = year;
    state->month = month;
    state->day = day;
    return true;
}

std::string PickerTitle(const DatePickerState& state) {
    return std::string(QVN_getmonth_name(state.month)) + " " + std::to_string(state.year);
}

void PickerCellOfDay(const DatePickerState& state, int day, int* row, int* column) {
    int cell = FirstColumn(state) + day - 1;
    *row = cell / kPickerColumns;
    *column = cell % kPickerColumns;
}

int PickerDayAtCell(const DatePickerState& state, int row, int column) {
    if (row < 0 || row >= kPickerWeekRows || column < 0 || column >= kPickerColumns) return 0;
    int day = row * kPickerColumns + column - FirstColumn(state) + 1;
    return day >= 1 && day <= QVN_DaysInMonth(state.month, state.year) ? day : 0;
}

int32_t PickerSelectedDate(const DatePickerState& state) {
    return QVN_DateIn(state.month, state.day, state.year);
}

int32_t PickerConfirm(const DatePickerState& state, int32_t today) {
    int32_t date = PickerSelectedDate(state);
    if (date == 0) return 0;
    // The warning offers OK and Cancel; Cancel, the second button, keeps the picker open.
    if (state.warnOnPast && date < today &&
        QVN_Message(kMsgGroupSuite, 6042, 0, 0, kButtonsOkCancel) == kAnswerCancel)
        return 0;
    return date;
}
