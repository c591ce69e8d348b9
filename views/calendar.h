// The schedule calendar apart from its window: the month it shows (hours, day flags, holidays,
// the scheduled amounts and the month's figures), what each cell and the summary box show, and
// the schedule changes of its menu, each made whole under its record locks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/date_picker_model.h"
#include "data/practice_schedule.h"

enum CalendarMode : int {
    kCalendarPickDate = 0,   // pick a date to show; the view's providers' amounts
    kCalendarPractice = 1,   // the practice's schedule
    kCalendarProvider = 2,   // one provider's schedule
};

using CalendarId = std::array<char, 4>;

// The 35 amount slots: the month total, the days 1..31, the goal, the production and the
// month-to-date new patients (cents, the last a count).
constexpr int kCalendarAmountSlots = 35;
constexpr int kCalendarMonthTotal = 0;
constexpr int kCalendarGoal = 32;
constexpr int kCalendarProduction = 33;
constexpr int kCalendarNewPatients = 34;

// One date as the calendar shows it: its own resource's hours and flag (the practice in modes 0
// and 1, the provider in mode 2), the practice's in mode 2, and the practice's holiday kind.
struct CalendarDay {
    DayHours own{};
    DayHours practice{};
    int holidayKind = 0;
};

struct CalendarMonth {
    int mode = kCalendarPickDate;
    CalendarId resource{};          // "-PR-" or the provider
    std::vector<CalendarId> providers;  // mode 0: the view's providers
    DatePickerState place;          // year, month and selected day
    int days = 0;
    CalendarDay day[31];
    int32_t amounts[kCalendarAmountSlots] = {};
};

// The window's title.
std::string CalendarTitle(int mode, const std::vector<CalendarId>& providers, const CalendarId& provider);

// Loads the hours, flags and holiday kinds of the shown month; mode 0 also its amounts.
void LoadCalendarMonth(CalendarMonth* month);
// The scheduled amounts of the providers' week records over the month, and the goal,
// production and new patients of the provider statistics; today decides whether the running
// figures stand for the current month.
void LoadCalendarAmounts(int year, int month, const std::vector<CalendarId>& providers, int32_t today,
                         int32_t (&amounts)[kCalendarAmountSlots]);

// --- What the window draws ---------------------------------------------------------------------

// Grid row 1..6 and column 0..6 of a day; the summary box takes row 6 from column 3 on.
void CalendarCellOf(const CalendarMonth& month, int day, int* row, int* column);
int CalendarDayAt(const CalendarMonth& month, int row, int column);  // 0: no day there
bool CalendarSummaryCell(int row, int column);

enum class CalendarShade { kPlain, kClosed, kHoliday, kVacation };
CalendarShade CalendarShadeOf(int mode, const CalendarDay& day);
// 0x00BBGGRR of a coloured cell; 0 for a plain one (drawn with the light grey stock brush).
uint32_t CalendarShadeColour(CalendarShade shade);

// One interval in 12-hour form: " 8-12", or " 8:12" when either time has minutes.
std::string CalendarIntervalText(int32_t start, int32_t end);
// The lines of a plain cell in modes 1 and 2, up to the first empty interval.
std::vector<std::string> CalendarHoursLines(const DayHours& hours);
// The day's amount in whole units; "" when a coloured day has no more than 99 cents.
std::string CalendarAmountText(int32_t cents, CalendarShade shade);

// --- The menu's schedule changes -----------------------------------------------------------------

enum class CalendarChange {
    kWritten,
    kNothing,           // the date does not allow it: nothing written
    kPracticeClosed,    // mode 2: the practice is closed that date
    kChangedElsewhere,  // the stored date is no longer what the calendar shows: nothing written
    kFailed,            // cancelled at a lock, or the engine failed (told already)
};

extern const char kCalendarPracticeClosed[];
extern const char kCalendarChangedElsewhere[];

// Close the office / set a vacation day (632) on an open date.
CalendarChange CloseCalendarDate(const CalendarMonth& month, int day);
// Open the office / delete a vacation day (634) on a closed date.
CalendarChange OpenCalendarDate(const CalendarMonth& month, int day);
// Store a date's three intervals, its flag unchanged (Enter in modes 1 and 2 on an open date).
CalendarChange StoreCalendarHours(const CalendarMonth& month, int day, const int32_t start[3], const int32_t end[3]);
// Back to the provider's default hours on that date (635).
CalendarChange ResetCalendarDate(const CalendarMonth& month, int day);
// Yearly holiday on the selected day's month and day (631, 633).
bool SetCalendarHoliday(const CalendarMonth& month, int day);
bool DeleteCalendarHoliday(const CalendarMonth& month, int day);
