// The Select Patient dialog ("LB_DLG_PATFIND") and its More Information dialog
// ("LB_DLG_MOREINFO"). The search, the lines and the recent selections are patient_search's;
// the More Information lists are more_info's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// What the caller asks for and gets back.
struct SelectPatientRequest {
    int mode = 0;              // kSelect... bits of patient_search.h
    std::string text;          // in: a starting text to search at once; out: the chosen name
    uint32_t patientId = 0;    // out: the chosen patient
    bool newPatient = false;   // out: "&New Patient" was pressed (the result is 0)
};

// Runs the dialog. 1 with the patient chosen, 0 on Cancel (or "&New Patient", or an automatic
// mode that found nothing), -1 when the dialog could not be made (message 3040 was shown).
int SelectPatient(HWND owner, HINSTANCE resources, SelectPatientRequest* request);
