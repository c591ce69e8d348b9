// The main window of the appointment book (class "ApptBook").
#pragma once

#include <windows.h>

// Process-wide state of the application frame.
struct AppFrame {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    HACCEL accelerators = nullptr;
    bool running = false;  // start-up finished: shut-down saves the position and the view
};
extern AppFrame app_frame;

struct StatusTables;
// Puts the practice's statuses into the S&tatus popup, the fourth entry of the menu bar.
void ReplaceStatusMenu(const StatusTables& tables);

// After start-up: today's day view, loaded and laid out, before the window is shown.
void ShowFirstSheet();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Creates the main window hidden at its start-up place: 90 pixels from the left screen edge,
// at the top, 180 pixels narrower and 2 pixels lower than the screen.
HWND CreateMainWindow(HINSTANCE instance);
