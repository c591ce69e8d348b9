// The patient's picture, the alert set-up and the patient's referrals in small windows of this
// program.
#pragma once

#include <windows.h>

#include <cstdint>

// "Pa&tient Picture": the patient's bitmap in a window of its own; without one, a message that
// says where it is looked for.
void ShowPatientPicture(HWND owner, HINSTANCE instance, uint32_t patient_id);

// "Pat&ient Alerts": the alert set-up ("DLG_PATIENTALERTS"). True when OK stored a changed text.
bool RunPatientAlertSetup(HWND owner, HINSTANCE instance, uint32_t patient_id);

// "Patient &Referrals": the referral source on the patient record and the appointments that
// name a referral ("DLG_PATIENTREFERRALS").
void ShowPatientReferrals(HWND owner, HINSTANCE instance, uint32_t patient_id);
