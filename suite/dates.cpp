// Conversion between calendar dates and day numbers, and today's date.
#include "suite/dates.h"

#include <ctime>

namespace {

constexpr int32_t kFirstDay = 1721426;  // 1 January of year 1
constexpr int32_t kLastDay = 5373484;   // 31 December 9999

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int32_t sys_date_override = 0;

}  // namespace

// The classic integer formula for the Julian Day Number: count from March of year -4800 so that
// the leap day falls at the end of the counted year.
int32_t QVN_DateIn(int month, int day, int year) {
    if (year < 1 || year > 9999 || month < 1 || month > 12) return 0;
    if (day < 1 || day > DaysInMonth(month, year)) return 0;
    int a = (14 - month) / 12;
    int32_t y = year + 4800 - a;
    int32_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

int QVN_DateOut(int32_t date, int* month, int* day, int* year) {
    *month = *day = *year = 0;
    if (date < kFirstDay || date > kLastDay) return 0;
    int32_t a = date + 32044;
    int32_t b = (4 * a + 3) / 146097;
    int32_t c = a - 146097 * b / 4;
    int32_t d = (4 * c + 3) / 1461;
    int32_t e = c - 1461 * d / 4;
    int32_t m = (5 * e + 2) / 153;
    *day = e - (153 * m + 2) / 5 + 1;
    *month = m + 3 - 12 * (m / 10);
    *year = 100 * b + d - 4800 + m / 10;
    return 1;
}

// Day number 0 of the Julian count was a Monday, so (date + 1) mod 7 is 0 on Sundays.
int QVN_week_day(int32_t date) {
    if (date <= 0) return 0;
    return (date + 1) % 7 + 1;
}

int32_t QVN_SysDate() {
    if (sys_date_override != 0) return sys_date_override;
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return QVN_DateIn(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

void QVN_SetSysDateOverride(int32_t date) { sys_date_override = date; }
