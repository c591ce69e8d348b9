// Purge Appointments: the cutoff dialog with its warnings and the last question, then the run
// with the owner disabled and a progress window whose Cancel stops the walk between records.
#pragma once

#include <windows.h>

#include <cstdint>

// The cutoff dialog; 1 when a purge ran.
int RunPurgeDialog(HWND owner, HINSTANCE instance);

// The run itself, for a cutoff already confirmed. Returns 1.
int PurgeAppointments(HWND owner, HINSTANCE instance, int32_t cutoff);
