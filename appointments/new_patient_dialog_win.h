// The windows around the appointment's patient: Enter New Patient Information with its referrer
// choice, the insurance claim information, the family file module, and dialling.
#pragma once

#include <windows.h>

#include <cstdint>

#include "data/appointment_record.h"

// "DLG_RS_EDITPAT" "Enter New Patient Information": edits the appointment's name, phone and
// referred-by fields and the side record's address. True on OK (the records hold the checked
// fields); on Cancel both records are as they were.
bool EditNewPatientInfo(HWND owner, HINSTANCE instance, AppointmentRecord* appointment, NewPatientRecord* side);

// "PF_DLG_REF_TYPE": a patient (0) or a referral source (1), the last choice of this run
// preselected; -1 on Cancel.
int AskReferrerKind(HWND owner, HINSTANCE instance);

// "DLG_CLAIMINFO" "Insurance Claim Information": a read-only window of the claim information the
// patient record holds (appointments/patient_info.h).
void ShowInsuranceClaimInfo(HWND owner, HINSTANCE instance, uint32_t patient_id);

// Starts the family file module (kFamilyFileProgram in the program's folder) with " /ID" and the
// patient id, through QVN_StartProgram. A start that fails shows message 3196 and gives false.
bool StartFamilyFile(uint32_t patient_id);

// Dials the appointment's patient (a new patient: the appointment's phone) through the dialer of
// the utility library, after its question; nothing to dial is said so. 1 when the dialer took it.
int DialAppointmentPhone(HWND owner, const AppointmentRecord& appointment);
