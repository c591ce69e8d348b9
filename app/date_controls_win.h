// The main window's date buttons (back, today, forward, calendar) and view buttons (day, week,
// month): push buttons with pictures, children of the main window, that never keep the focus.
#pragma once

#include <windows.h>

#include "app/date_controls_layout.h"
#include "app/main_layout.h"

// Makes the seven buttons as children of main_window with their command ids, pictures and
// tooltips (through the utility library's tooltip of main_window). A click sends WM_COMMAND
// with the button's id (BN_CLICKED, the button as the long parameter) to main_window and then
// gives the focus back to main_window. Each button frees its picture when it is destroyed, so
// destroying main_window frees everything. Calling it again first destroys the buttons made
// before. False when a button or a picture could not be made (what was made stays).
bool CreateDateControls(HWND main_window, HINSTANCE instance);

// Moves the buttons to their places in the main window's layout.
void PlaceDateControls(const MainLayout& layout);

// Shows the view mode's button pressed (0 day, 1 week, 2 month) and the other two raised; any
// other mode raises all three.
void ShowViewMode(int mode);

// Enables or disables one of the seven buttons by its command; other commands are ignored.
void EnableDateControl(int command, bool enabled);

// The button of a command, null when it does not exist (yet).
HWND DateControlWindow(int command);
