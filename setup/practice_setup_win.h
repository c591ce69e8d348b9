// "&Practice Setup..." (140): the dialog "DLG_PRAC_SETUP" ("Practice Appointment Setup").
#pragma once

#include <windows.h>

// Runs the dialog over the base practice record, held under its lock until OK or Cancel, and
// saves on OK; 1 when saved. The owner then redraws the sheet, or lays itself out again when
// the button bar's orientation (or the time column's side) changed.
int PracticeSetup(HWND owner, HINSTANCE instance);
