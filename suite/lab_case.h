// The lab-case calls of the appointment book: the cases linked to an appointment, written when
// the appointment dialog saves, removed with the appointment, and the state the sheet's marker
// shows. Work on the access layer's open session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/qdb/qdb.h"
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
// The same on the lab-case file of a change's own session, inside its transaction. The caller
// holds the appointment's record lock, which stands for the appointment's links.
bool WriteApptToCaseLinksIn(QdbFile file, uint32_t appointment_id, const std::vector<LabCaseLink>& cases);
bool DeleteApptCaseLinks(uint32_t appointment_id);
// The state the sheet shows: the least advanced case (needed before sent before received);
// kLabNone without cases.
LabCaseState ApptLabCaseState(uint32_t appointment_id);
// The same for many appointments at once (the appointments of the shown days): states[i] for
// appointment_ids[i]. Opens the lab-case group itself. 0, or the read's error (then nothing is
// known).
uint16_t ApptLabCaseStates(const std::vector<uint32_t>& appointment_ids, std::vector<LabCaseState>* states);
// "Needed", "Sent", "Received", "In House", "" for none: the lists' lab-case status text.
std::string LabCaseStatusText(LabCaseState state);
// One line per case, "Case 12: Crown Co - Sent, due 12/10/2026" (no lab, no due date: those
// parts left out); "No lab cases are linked to this appointment." without cases.
std::string ApptCaseLinksText(const std::vector<LabCaseLink>& links);
// Shows the appointment's case links in a box titled "Lab Cases".
void ShowApptCaseLinks(uint32_t appointment_id);

// --- Attaching cases to an appointment (AttachCases): the list the dialog edits and the entry
// --- line under it, apart from the window.

// The state list of the entry line, in LabCaseState order from "Needed" (index 0 = state 1).
constexpr int kLabStateChoices = 4;
constexpr int kCaseLabMax = 30;
extern const char kAttachCasesTitle[];   // "Attach Lab Cases"
extern const char kInvalidCaseNumber[];  // "Invalid case number!"
extern const char kInvalidCaseDue[];     // "Invalid due date!"

// What the entry line holds.
struct CaseEntry {
    std::string caseNumber, lab, due;
    int stateIndex = 0;
};
enum class CaseEntryField { kNone, kCaseNumber, kDue };

// The entry line filled from an attached case (for changing its lab, state or due date).
CaseEntry CaseEntryOf(const LabCaseLink& link);
// Puts the entry into the list: a case not attached yet goes in at its place in the order of the
// case ids, an attached one takes the entry's lab, state and due date. The lab is cut to 30
// characters. A refusal (case number not a whole number from 1, due date not a date) is shown
// and leaves the list as it was; the result names the field to correct, kNone after success.
CaseEntryField AttachCaseEntry(const CaseEntry& entry, std::vector<LabCaseLink>* links);
// One line of the dialog's list: "case\tlab\tstate\tdue" (the due date empty when not known).
std::string CaseLinkLine(const LabCaseLink& link);
