// The help menu's About box and help files.
#pragma once

#include <windows.h>

// The About box: the program's picture, name and version from the string table, the practice's
// data directory; modal to owner.
void ShowAboutBox(HWND owner, HINSTANCE instance);

// Opens the help file of that name beside the program with the program the workstation has for
// it; says so when it is not there.
void OpenHelpFile(HWND owner, const char* file_name);
