// The lab-case calls of the appointment book: the cases linked to an appointment, written when
// the appointment dialog saves, removed with the appointment, and the state the sheet's marker
// shows. Work on the access layer's open session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/lab_case.h"

struct LabCaseLink {
    uint32_t caseId = 0;
    LabCaseState state = kLabNeeded;
    std::string lab;
    int32_t dueDate = 0;
};

// The appointment's cases in the order of their ids.
std::vector<LabCaseLink> ReadApptToCaseLinks(uint32_t appointment_id);
// Makes the appointment's links exactly these cases: links of other cases are removed. True
// when every write succeeded.
bool WriteApptToCaseLinks(uint32_t appointment_id, const std::vector<LabCaseLink>& cases);
bool DeleteApptCaseLinks(uint32_t appointment_id);
// The state the sheet shows: the least advanced case (needed before sent before received);
// kLabNone without cases.
LabCaseState ApptLabCaseState(uint32_t appointment_id);
// "Needed", "Sent", "Received", "In House", "" for none: the lists' lab-case status text.
std::string LabCaseStatusText(LabCaseState state);
// One line per case, "Case 12: Crown Co - Sent, due 12/10/2026" (no lab, no due date: those
// parts left out); "No lab cases are linked to this appointment." without cases.
std::string ApptCaseLinksText(const std::vector<LabCaseLink>& links);
// Shows the appointment's case links in a box titled "Lab Cases".
void ShowApptCaseLinks(uint32_t appointment_id);
