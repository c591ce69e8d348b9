// The Select View dialog ("DLG_SELECTVIEW2") and the Edit View dialog ("DLG_SETVIEW") on
// their own templates. The views themselves are read and saved by view_definition; the OK
// checks of the edit dialog are CheckViewEdit's.
#pragma once

#include <windows.h>

// Runs the Select View dialog. Returns the number of the view to apply (1-12), or 0 when
// nothing is to be applied (Cancel, or OK without a selection). Views edited, added or deleted
// meanwhile stay saved either way; the active view is not touched here.
int RunSelectViewDialog(HWND owner, HINSTANCE resources);

// Runs the Edit View dialog on view n. Returns 1 when the view was checked and saved, 0 on
// Cancel.
int RunEditViewDialog(HWND owner, HINSTANCE resources, int n);

// Shows a view time in an hour field and its am/pm radio buttons (am_id to pm_id).
void ShowHour(HWND dialog, int edit_id, int am_id, int pm_id, int time);
