// The font dialog for font 3, the font of the sheet, the time column and the header.
#pragma once

#include <windows.h>

// Runs the dialog started with font 3. Returns true when font 3 was saved anew: the chosen font
// on OK, or the default sheet font when "&Default" was pressed, whether the dialog then ended by
// OK or by Cancel. Cancel without "&Default" changes nothing and returns false.
bool RunSheetFontDialog(HWND owner, HINSTANCE resources);
