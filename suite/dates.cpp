// Day numbers and calendar dates: conversion, today, date texts, typed dates, month steps.
#include "suite/dates.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr int32_t kFirstDay = 1721426;  // 1 January of year 1
constexpr int32_t kLastDay = 5373484;   // 31 December 9999

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
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

int QVN_DaysInMonth(int month, int year) { return DaysInMonth(month, year); }

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

std::string Printed(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

const char* QVN_getmonth_name(int month) {
    return month >= 1 && month <= 12 ? kMonthNames[month - 1] : "";
}

const char* QVN_getday_name(int weekday) {
    return weekday >= 1 && weekday <= 7 ? kDayNames[weekday - 1] : "";
}

std::string QVN_fmtDateString1900(int32_t date) { return QVN_DateStr(date, kDateShort); }

std::string QVN_fmtDateString2000(int32_t date) { return QVN_DateStr(date, kDateFull); }

std::string QVN_FormatNDate2000(int32_t date) {
    int month, day, year;
    if (!QVN_DateOut(date, &month, &day, &year)) return "";
    return Printed("%04d%02d%02d", year, month, day);
}

std::string QVN_DateStr(int32_t date, int mode) {
    int month, day, year;
    if (!QVN_DateOut(date, &month, &day, &year)) return "";
    switch (mode) {
    case kDateFull: return Printed("%02d/%02d/%04d", month, day, year);
    case kDateMedium: {
        std::string text = std::string(QVN_getmonth_name(month)).substr(0, 3);
        return text + Printed(" %d, %d", day, year, 0);
    }
    case kDateLong:
        return std::string(QVN_getday_name(QVN_week_day(date))) + ", " +
               QVN_getmonth_name(month) + Printed(" %d, %d", day, year, 0);
    default: return Printed("%02d/%02d/%02d", month, day, year % 100);
    }
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A two-digit year in the window of eighty years back and nineteen ahead of this year.
int WidenYear(int two_digits) {
    int month, day, this_year;
    if (!QVN_DateOut(QVN_SysDate(), &month, &day, &this_year)) this_year = 2000;
    int year = this_year - this_year % 100 + two_digits;
    if (year > this_year + 19) year -= 100;
    if (year <= this_year - 81) year += 100;
    return year;
}

// The numbers of the text and how many digits each had; false on any other character.
bool SplitNumbers(const std::string& text, int numbers[3], int digits[3], int* count) {
    *count = 0;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.size();
    while (end > i && text[end - 1] == ' ') --end;
    if (i == end) return false;
    while (i < end) {
        if (!IsDigit(text[i])) return false;
        if (*count == 3) return false;
        int value = 0, n = 0;
        while (i < end && IsDigit(text[i])) {
            if (++n > 8) return false;
            value = value * 10 + (text[i++] - '0');
        }
        numbers[*count] = value;
        digits[*count] = n;
        ++*count;
        if (i == end) break;
        // One separator between numbers; blanks may surround a separator.
        while (i < end && text[i] == ' ') ++i;
        if (i < end && (text[i] == '/' || text[i] == '-' || text[i] == '.')) ++i;
        while (i < end && text[i] == ' ') ++i;
        if (i == end) return false;  // a trailing separator
    }
    return true;
}

}  // namespace

int32_t QVN_ParseDate(const std::string& text) {
    int numbers[3], digits[3], count;
    if (!SplitNumbers(text, numbers, digits, &count)) return 0;
    int month, day, year, year_digits;
    if (count == 1 && (digits[0] == 6 || digits[0] == 8)) {
        int all = numbers[0];
        year_digits = digits[0] - 4;
        int scale = year_digits == 2 ? 100 : 10000;
        year = all % scale;
        day = all / scale % 100;
        month = all / scale / 100;
    } else if (count == 3 && digits[0] <= 2 && digits[1] <= 2) {
        month = numbers[0];
        day = numbers[1];
        year = numbers[2];
        year_digits = digits[2];
    } else {
        return 0;
    }
    if (year_digits == 2) year = WidenYear(year);
    else if (year_digits != 4) return 0;
    return QVN_DateIn(month, day, year);
}

int32_t QVN_AddMonths(int32_t date, int months) {
    int month, day, year;
    if (!QVN_DateOut(date, &month, &day, &year)) return 0;
    long index = static_cast<long>(year) * 12 + (month - 1) + months;
    if (index < 12 || index > 9999L * 12 + 11) return 0;
    year = static_cast<int>(index / 12);
    month = static_cast<int>(index % 12) + 1;
    int last = DaysInMonth(month, year);
    return QVN_DateIn(month, day < last ? day : last, year);
}
