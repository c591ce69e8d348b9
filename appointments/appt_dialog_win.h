// The Appointment Information dialog ("DLG_RS_EDITAPPT") and the ways into it. Each returns 1
// when an appointment was saved (saved_id, when given, receives the id of the one saved last),
// 0 when nothing was saved or the dialog could not open.
#pragma once

#include <windows.h>

#include <cstdint>

#include "appointments/appt_edit.h"

// An existing appointment, behind the password right 66 with audit.
int EditAppointment(HWND owner, HINSTANCE instance, uint32_t appointment_id, uint32_t* saved_id = nullptr);

// A new appointment for a patient, behind right 37: the patient's alerts first, then the dialog
// with the first nonzero continuing care type attached. With pick_earliest_care (a new
// continuing care appointment) the type whose record is due first among care_types is shown.
int NewAppointmentForPatient(HWND owner, HINSTANCE instance, uint32_t patient_id, const uint16_t* care_types = nullptr,
                             bool pick_earliest_care = false, uint32_t* saved_id = nullptr);

// A new appointment at a slot of the sheet for a patient (0: a new patient without a record).
// A patient with an appointment waiting on the unscheduled list is asked first whether to look
// at the patient's appointments.
int NewAppointmentFromSheet(HWND owner, HINSTANCE instance, const NewApptPlace& place, uint32_t* saved_id = nullptr);

// A new appointment for a patient chosen first in Select Patient ("&New Patient": one without a
// patient record, whose name and address are asked first). With a place (a slot of the sheet) as
// from the sheet, without one as for a patient.
int NewAppointmentChoosingPatient(HWND owner, HINSTANCE instance, const NewApptPlace* place, uint32_t* saved_id = nullptr);

// The family appointment list, where "Yes" to the unscheduled question and "&Other Appt(s)" lead
// (from_open_appointment). It returns the id of an appointment chosen there, which is opened
// instead, or 0. Without a hook "&Other Appt(s)" stays disabled and the question leads nowhere.
using FamilyListHook = uint32_t (*)(HWND owner, HINSTANCE instance, uint32_t patient_id, bool from_open_appointment);
void SetFamilyListHook(FamilyListHook hook);
