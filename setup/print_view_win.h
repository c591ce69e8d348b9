// "Print Appointment Book &View..." (610): the dialog "DLG_SELPRINT" ("Print Appointment Book View").
#pragma once

#include <windows.h>

// Runs the dialog preselected from the current view and the sheet's first shown date; "&Print"
// or "&Batch" places the job and wakes or starts the print program. 1 when a job was made.
int PrintViewDialog(HWND owner, HINSTANCE instance);
