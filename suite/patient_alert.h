// The patient-alert library as the appointment book calls it: whether a patient has alerts the
// front desk must see, and showing them. A patient's alerts are one note of kind
// kNotePatientAlert; they hold for every date until the note is emptied or removed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 2 when the patient has alerts for the date, else 0. Works on the access layer's session; the
// notes group must be open.
int PATALERT_PatientHasAlerts(uint32_t patient_id, int32_t date);

// The same for many patients at once (the appointments of the shown days): alerts[i] 2 or 0 for
// patient_ids[i]. Works on the access layer's session; the notes group must be open. 0, or the
// read's error (then nothing is known).
uint16_t PATALERT_PatientsHaveAlerts(const std::vector<uint32_t>& patient_ids, int32_t date, std::vector<uint8_t>* alerts);

// The alert text of the patient for the date, "" without alerts. Opens the notes group itself.
std::string PatientAlertText(uint32_t patient_id, int32_t date);

// Shows the patient's alerts for the date in a box titled "Patient Alerts" and returns 1, or
// shows nothing and returns 0 when the patient has none. The callers' modes say which program
// asks (8 a new appointment, 32 an opened one, ...); every mode shows the same box.
int PATALERT_PopUpPatientAlerts(uint32_t patient_id, int32_t date, int mode);
