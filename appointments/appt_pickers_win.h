// The small pickers of the appointment dialog: procedure codes for the initial reasons, the
// patient's treatment plan, one code for a miscellaneous reason, one time of day, and the time
// pattern editor. Each runs its dialog from the program's resources and returns true on OK with
// something chosen; out-parameters change only then.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "appointments/appt_care.h"

// "DLG_INITREASONS" ("Select Initial Reasons"): every procedure code (code, description),
// several may be chosen; the ids in list order. OK with nothing chosen counts as Cancel.
bool PickInitialReasons(HWND owner, HINSTANCE resources, std::vector<uint32_t>* code_ids);

// "DLG_RS_TREATPLAN" ("Treatment Plan"): the patient's planned procedures, several may be
// chosen; the procedure ids in list order. OK with nothing chosen counts as Cancel.
bool PickTreatmentPlan(HWND owner, HINSTANCE resources, uint32_t patient_id, std::vector<uint32_t>* procedure_ids);

// "DLG_MISCREASON" ("Select Procedure Code"): one code (OK or a double click). A code that needs
// tooth or surface information asks kNeedsToothQuestion (Yes/No, stop icon); No gives false.
bool PickMiscReason(HWND owner, HINSTANCE resources, uint32_t* code_id);

// "DLG_PICKCARE" ("Select Continuing Care"): one of the lines (OK, Enter or a double click); its
// continuing care type.
bool PickContinuingCare(HWND owner, HINSTANCE resources, const std::vector<CarePickLine>& lines, uint16_t* type);

// "DLG_SETTIME" ("Select Time"): one time on a bar of step_minutes steps, starting at hour and
// minute (a negative hour: 12:00); am_pm shows the 12-hour clock with "am"/"pm".
bool PickTime(HWND owner, HINSTANCE resources, int step_minutes, bool am_pm, int* hour, int* minute);

// "DLG_TIMEPATTERN" ("Appointment Time Pattern"): 1 to 24 units (in: the current count), a click
// on a unit cycles it blank, slash, cross; the total shows units x unit_minutes. On OK the
// pattern and the unit count are given back (units past the count keep their codes).
bool EditTimePattern(HWND owner, HINSTANCE resources, uint8_t pattern[6], int* units, int unit_minutes);
