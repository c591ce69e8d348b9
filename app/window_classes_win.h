// The window classes of the appointment book, registered once at start-up.
#pragma once

#include <windows.h>

extern const char kMainWindowClass[];   // "ApptBook"
extern const char kMainWindowTitle[];   // "Quorvin Appointment Book"

// Registers the main window class with main_window_proc and every child class of the schedule
// sheet. Returns false (and unregisters nothing) when a class cannot be registered; the caller
// then ends start-up.
bool RegisterApptBookClasses(HINSTANCE instance, WNDPROC main_window_proc);
