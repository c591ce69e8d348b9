// The schedule calendar window "APPT_Calendar": picking a date to show (mode 0), the practice's
// schedule (mode 1) and one provider's schedule (mode 2).
#pragma once

#include <windows.h>

#include <cstdint>

// Opens the calendar on the month of date (0: today). mode 0 picks a date for the owner (command
// 1124) and asks before a past date when confirm_past is set; modes 1 and 2 edit the practice's
// or the provider's schedule and send the owner command 128 when they close. 0 without opening
// when a calendar is open already or the month lies outside 1970-2099.
int OpenCalendar(HWND owner, HINSTANCE instance, int32_t date, bool confirm_past, int mode, const char* provider);

// The calendar open now, or nullptr.
HWND OpenCalendarWindow();

// The day dialog of the schedule setup edits one date's three intervals (a time required);
// until it is installed, Enter on a date of modes 1 and 2 only beeps.
using CalendarDayEditor = bool (*)(HWND owner, int32_t start[3], int32_t end[3]);
void SetCalendarDayEditor(CalendarDayEditor editor);
