// The window procedures of the sheet, its time column and its header, for the class table.
#pragma once

#include <windows.h>

extern const char kSheetClass[];       // "SchSheet"
extern const char kTimeColumnClass[];  // "SchTime"
extern const char kHeaderClass[];      // "SSHeader"

WNDPROC SheetWindowProc();
WNDPROC TimeColumnWindowProc();
WNDPROC HeaderWindowProc();

// Font 3, which the three windows paint with; the main window owns it.
void SetSheetFont(HFONT font3);
