// "Notes - Alerts - Check List" (DLG_NOTES) for an appointment's patient, and the medical alert
// editor behind its "&Edit" (DLG_MEDALERTS). The fields, texts and saving are notes_dialog's.
#pragma once

#include <windows.h>

#include <cstdint>

// Returns 1 when saved, 0 otherwise (Cancel, or the dialog could not be shown: message 3040).
int NotesDialog(HWND owner, HINSTANCE instance, uint32_t patient_id, uint32_t appointment_id);
