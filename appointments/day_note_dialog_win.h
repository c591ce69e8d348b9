// The day note ("DLG_APPTNOTE", "Appointment Book Day Note - " and the date) behind the sheet
// header's "Note" button: one note per date in the notes file.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int kRightDayNote = 63;
constexpr int kDayNoteTextMax = 4000;

// Refused for note kind 6 and without right 63 (result 0, no dialog; *shown false). Otherwise
// returns whether the date has a note afterwards: OK with text or Cancel over an existing note
// give 1. *shown (may be null) says whether the dialog ran.
int EditDayNote(HWND owner, HINSTANCE instance, int32_t date, uint8_t note_kind, bool* shown = nullptr);

// The appointment note of an appointment without a patient record, in the same editor (titled
// "Appointment Note"): needs right 66. 1 when the appointment has a note afterwards.
int EditAppointmentNote(HWND owner, HINSTANCE instance, uint32_t appointment_id);
