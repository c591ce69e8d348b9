// The patient-alert library as the appointment book calls it: whether a patient has alerts the
// front desk must see. A patient's alerts are one note of kind kNotePatientAlert; they hold for
// every date until the note is emptied or removed.
#pragma once

#include <cstdint>

// 2 when the patient has alerts for the date, else 0. Works on the access layer's session; the
// notes group must be open.
int PATALERT_PatientHasAlerts(uint32_t patient_id, int32_t date);
