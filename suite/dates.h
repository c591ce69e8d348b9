// Day numbers: the suite's one representation of a calendar date.
//
// A date is a signed 32-bit day number; consecutive days have consecutive numbers and 0 means
// "no date". We use the Julian Day Number of the proleptic Gregorian calendar (1 January 2000 is
// 2451545), so every date the practice can meet is a positive number and differences of day
// numbers are differences in days. Weekdays run 1 (Sunday) to 7 (Saturday).
#pragma once

#include <cstdint>

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
