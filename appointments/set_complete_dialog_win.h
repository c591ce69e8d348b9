// Window side of Set Complete: the "Set Appointment Procedures Complete" dialog
// ("DLG_SELECTAPPTPROC") and the sequence run from the main window's command.
#pragma once

#include <windows.h>

#include <cstdint>

#include "appointments/appt_actions.h"

// 1 when the appointment was set complete. The dialog is placed over main's client area.
int SetAppointmentComplete(HWND owner, HINSTANCE instance, ApptActionWindows& windows, uint32_t appointment_id);
