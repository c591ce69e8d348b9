// The list windows "ApptList", "ASAPList" and "UnschList": one at a time, opened from the main
// window's lists menu; each a caption strip over a header list box of appointments.
#pragma once

#include <windows.h>

bool RegisterApptListClasses(HINSTANCE instance);

// Opens the list of the kind (kListAppointments, kListAsap, kListUnscheduled) over the main
// window: an open Unscheduled List asked for again is brought forward and refilled; any other
// open list is closed first. The list window, or null.
HWND OpenApptList(HWND main_window, HINSTANCE instance, int kind);

// The open list window, or null.
HWND OpenApptListWindow();
// Closes the open list window, if any (the main window's shut-down).
void CloseApptList();

// The actions another part of the program carries out on the selected line's appointment.
// Until they are connected the list's Break, Delete and status commands stay greyed.
using ListBreakAction = bool (*)(HWND owner, HINSTANCE instance, unsigned long appointment_id);
using ListDeleteAction = bool (*)(HWND owner, HINSTANCE instance, unsigned long appointment_id);
using ListStatusAction = bool (*)(HWND owner, HINSTANCE instance, unsigned long appointment_id, int status);
void SetListBreakAction(ListBreakAction action);
void SetListDeleteAction(ListDeleteAction action);
void SetListStatusAction(ListStatusAction action);
