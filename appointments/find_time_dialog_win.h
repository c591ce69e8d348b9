// Find New Appointment Time ("DLG_FIND_TIME") and its result list "Available Appointment Times"
// ("DLG_FOUND_TIMES"). The search itself is appointments/find_time.h.
#pragma once

#include <windows.h>

#include <cstdint>

struct AppointmentRecord;

// Runs the search dialog and the result list in turn until a time is taken or the user cancels
// the search dialog. A taken time is written into the appointment (date, hour, minute,
// operatory, provider) and gives true. The choices of the search dialog are kept while the
// program runs; the length, type, providers, operatories and weekdays start from the
// appointment each time. earliest (0 = none) is the first date the search may start on.
bool FindNewAppointmentTime(HWND owner, HINSTANCE instance, AppointmentRecord* appointment, bool from_menu,
                            int32_t earliest);
