// The lab-case library's window for attaching cases to an appointment.
#pragma once

#include <windows.h>

#include <vector>

#include "suite/lab_case.h"

// "DLG_ATTACHCASES" ("Attach Lab Cases"): the appointment's cases, one line each; choosing a
// line puts the case on the entry line, where its lab, state and due date can be changed;
// "&Attach" puts the entry line into the list (a new case, or the changes of an attached one),
// "&Remove" takes the chosen case off. OK first attaches what is still on the entry line (a
// refusal keeps the dialog open) and gives the list back in *links: true. Cancel leaves *links
// as it was: false (also when the window could not be made: message 3040).
bool AttachCases(HWND owner, HINSTANCE resources, std::vector<LabCaseLink>* links);
