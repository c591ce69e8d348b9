// Day numbers: the suite's one representation of a calendar date.
//
// A date is a signed 32-bit day number; consecutive days have consecutive numbers and 0 means
// "no date". We use the Julian Day Number of the proleptic Gregorian calendar (1 January 2000 is
// 2451545), so every date the practice can meet is a positive number and differences of day
// numbers are differences in days. Weekdays run 1 (Sunday) to 7 (Saturday).
#pragma once

#include <cstdint>
#include <string>

// Day number of a calendar date, or 0 when the month, day or year does not name a real date
// (month 1-12, day within the month, year 1-9999; years are taken as written, never widened).
int32_t QVN_DateIn(int month, int day, int year);

// Calendar date of a day number. Returns 1 on success; 0 for 0 (no date) or a day number
// outside years 1-9999, leaving month, day and year 0.
int QVN_DateOut(int32_t date, int* month, int* day, int* year);

// Weekday of a day number: 1 Sunday ... 7 Saturday; 0 for no date.
int QVN_week_day(int32_t date);

// Today's day number on the local clock.
int32_t QVN_SysDate();

// Today's day number on the local clock, unless overridden (tests and demos fix "today").
void QVN_SetSysDateOverride(int32_t date);  // 0 restores the real clock

// --- Date texts ---------------------------------------------------------------------------
// Every text of "no date" (0 or a day number outside years 1-9999) is empty.

// Modes of QVN_DateStr.
enum DateTextMode : int {
    kDateShort = 0,    // "03/14/26": two-digit year, the lists' 8-character date
    kDateFull = 1,     // "03/14/2026"
    kDateMedium = 2,   // "Mar 14, 2026"
    kDateLong = 3,     // "Saturday, March 14, 2026": day captions
};

std::string QVN_DateStr(int32_t date, int mode);

// "03/14/26", the year written with two digits whichever century it lies in.
std::string QVN_fmtDateString1900(int32_t date);
// "03/14/2026", the year always with four digits.
std::string QVN_fmtDateString2000(int32_t date);
// "20260314": the date as an eight-digit number text that sorts in date order.
std::string QVN_FormatNDate2000(int32_t date);

// "January" ... "December" for 1-12, "Sunday" ... "Saturday" for weekdays 1-7; "" otherwise.
const char* QVN_getmonth_name(int month);
const char* QVN_getday_name(int weekday);

// --- What a user types in a date field -------------------------------------------------------

// Reads m/d/yy or m/d/yyyy (separators "/", "-", "." or blanks, surrounding blanks ignored), or
// six or eight digits without separators (mmddyy, mmddyyyy). A two-digit year is taken within
// the eighty years before and the nineteen years after this year. Returns the day number, or 0
// (and nothing else) when the text is empty, malformed or names an impossible date.
int32_t QVN_ParseDate(const std::string& text);

// --- Month arithmetic ------------------------------------------------------------------------

// The date the given number of months later (earlier when negative), with the day of the month
// brought down to the last day of a shorter month: 31 January + 1 month = 28 or 29 February.
// Returns 0 for no date or a result outside years 1-9999.
int32_t QVN_AddMonths(int32_t date, int months);

// Number of days in a month of a year (0 for a month outside 1-12).
int QVN_DaysInMonth(int month, int year);
