// The Family Appointment List dialog ("DLG_OTHERAPPTS"). The lines and the choices of its two
// actions are family_list's.
#pragma once

#include <windows.h>

#include <cstdint>

// Needs right 143: without it returns 0 with *patient_id 0. Runs on a database session of its
// own. Returns the chosen appointment (0 for none); *patient_id comes back as the chosen patient
// (0 for none or an unscheduled appointment) and, when a patient was chosen without an
// appointment, *care_type as the continuing care to attach (0 none). mode: FamilyListMode.
uint32_t ShowFamilyAppointments(HWND owner, HINSTANCE instance, uint32_t* patient_id, uint16_t* care_type, int mode);
