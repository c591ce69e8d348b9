// The "Select Date" picker: a small pop-up month calendar that posts the picked day to the
// window that opened it as WM_COMMAND 1124 with the day number in the long parameter.
#pragma once

#include <windows.h>

#include <cstdint>

// Shows the picker over owner on the month of start_date (0: today) with that day selected.
// Returns at once: 1 when the picker is shown, 0 when the month lies outside 1970-2099 or a
// picker is already open.
int OpenDatePicker(HWND owner, HINSTANCE instance, int32_t start_date, bool warn_on_past);

// The open picker, or null (for tests and for owners that close before it).
HWND OpenDatePickerWindow();

// Button commands inside the picker.
constexpr int kPickerCmdPreviousMonth = 210;
constexpr int kPickerCmdNextMonth = 211;
