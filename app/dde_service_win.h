// The "PatientInfo" DDE service: tells other programs of the workstation which patient the
// appointment book shows. Request-only; it never starts a conversation.
#pragma once

#include <windows.h>

// Registers the service for the main window; when DDE cannot start, the program goes on
// without it and says nothing.
void StartPatientInfoService(HWND main_window);
void StopPatientInfoService();
