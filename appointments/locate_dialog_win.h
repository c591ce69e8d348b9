// Locate Existing Appointment ("DLG_PATFIND2") and its by-patient form "Select Appointment"
// ("LB_DLG_FINDAPPT"). The search and the lines are locate's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

struct LocateRequest {
    int mode = 0;               // 0 by name; 1 the patient's appointments (by-patient form)
    std::string name;           // in: the name to search at once; out: the name part of the chosen line
    uint32_t patientId = 0;     // the patient of mode 1
    bool autoAccept = false;    // a search at opening with exactly one match takes it; none closes
    int minimumLength = 0;      // a shorter name waits for the user
    bool view = false;          // in: "&View Appt" offered; out: it was used
    bool mayOpen = true;        // OK may hand an appointment on to be opened
};

// Returns the chosen appointment; 0 for none, also when the dialog could not be made (message
// 3040 was shown).
uint32_t LocateAppointment(HWND owner, HINSTANCE instance, LocateRequest* request);
