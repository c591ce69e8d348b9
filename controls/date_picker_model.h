// What the "Select Date" picker knows apart from its window: the shown month, the selected day,
// moving by months and by arrow keys, where each day sits in the grid, and confirming.
#pragma once

#include <cstdint>
#include <string>

constexpr int kPickerFirstYear = 1970;
constexpr int kPickerLastYear = 2099;
constexpr int kPickerColumns = 7;
constexpr int kPickerWeekRows = 6;

// Weekday captions of the picker's second row, Sunday first.
extern const char* const kPickerWeekdayNames[kPickerColumns];

struct DatePickerState {
    int year = kPickerFirstYear;
    int month = 1;
    int day = 1;
    bool warnOnPast = false;
};

// (year - 1970) x 12 + month - 1: 0 for January 1970 up to 1559 for December 2099.
int PickerMonthIndex(int year, int month);

// The picker opened on start_date (0: today). False when that month lies outside 1970-2099.
bool OpenPickerAt(DatePickerState* state, int32_t start_date, int32_t today, bool warn_on_past);

// "<<" and ">>": the neighbouring month with the day kept, or brought down to the new month's
// last day. Nothing moves past January 1970 or December 2099; returns whether it moved.
bool PickerStepMonth(DatePickerState* state, int months);

// Arrow keys: the selected date moves by days (1 or 7); the shown month follows it. Nothing
// moves out of 1970-2099; returns whether it moved.
bool PickerMoveDays(DatePickerState* state, int days);

// "January 2027": the title row.
std::string PickerTitle(const DatePickerState& state);

// Grid place of a day of the shown month: week row 0-5 and weekday column 0-6.
void PickerCellOfDay(const DatePickerState& state, int day, int* row, int* column);
// The day of the shown month at a grid place, or 0 for an empty cell.
int PickerDayAtCell(const DatePickerState& state, int row, int column);

// The selected date as a day number (0 when it is no valid date).
int32_t PickerSelectedDate(const DatePickerState& state);

// Confirming: 0 when nothing is to happen (no valid date, or the user chose to stay after the
// past-date warning); otherwise the date to post to the owner with command 1124.
int32_t PickerConfirm(const DatePickerState& state, int32_t today);

constexpr int kCmdPickedDate = 1124;
