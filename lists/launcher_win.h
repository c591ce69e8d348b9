// The module launcher on Windows: programs started with CreateProcess, the patient's alerts
// and records from the practice, and the window that stands in for the modules shown inside
// this program.
#pragma once

#include <windows.h>

#include <cstdint>

// Starts the module of a command for the patient (0: none) and the selected appointment; the
// owner is the window the module may answer to. A start that fails shows message 3196 when
// report_failure is set. Returns 1 when the module was started or shown.
int LaunchModuleCommand(HWND owner, HINSTANCE instance, int command, uint32_t patient_id, uint32_t appointment_id,
                        bool report_failure = true);

// Whether the program of a module command is there (the optional toolbar buttons show only then).
bool ModuleProgramPresent(int command);
