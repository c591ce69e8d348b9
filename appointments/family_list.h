// The family appointment list ("Family Appointment List"): the family of a patient with
// relations, ages and continuing care, a member's appointments in the lists' order, and what
// "&View Appt." and "Create &New Appt." make of the selection. Works on the access layer's
// session; the dialog gives it a session of its own (FamilyListSession).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appointments/list_order.h"
#include "data/db_access.h"

constexpr int kRightFamilyList = 143;

// Who calls the list: 0 the main window (both actions), 1 only looking (no actions), 3 the
// appointment dialog on a new appointment, 4 on an existing one (both ask before leaving it).
enum FamilyListMode : int {
    kFamilyListBrowse = 0,
    kFamilyListLookOnly = 1,
    kFamilyListFromNewAppointment = 3,
    kFamilyListFromAppointment = 4,
};

struct FamilyMemberLine {
    std::string text;
    uint32_t patientId = 0;
};

struct FamilyMembers {
    std::vector<FamilyMemberLine> lines;  // in the order of the family key
    uint16_t error = 0;                   // a read failure other than "no such patient"
};

// One line per member of the patient's family. Empty when the patient is not on file.
FamilyMembers FamilyMemberLines(uint32_t patient_id, int32_t today);

// The member's appointments and continuing care without an appointment, in the lists' order.
std::vector<ListLine> MemberAppointmentLines(uint32_t patient_id, int32_t today);

// What the list hands back.
struct FamilyListResult {
    uint32_t appointmentId = 0;  // the appointment to open; 0 for none
    uint32_t patientId = 0;      // the chosen member (0 for an unscheduled appointment)
    uint16_t careType = 0;       // with no appointment: the continuing care to attach; 0 none
};

// "&View Appt." with the selected line of the appointment list (nullptr: none selected) for the
// member. True when the list closes with the result; false when it stays (refused, or No).
bool ViewFamilyAppointment(const ListLine* selected, uint32_t member, int mode, FamilyListResult* result);

// "Create &New Appt." for the selected member (0: none) with the selected appointment line.
bool NewFamilyAppointment(uint32_t member, const ListLine* selected, int mode, FamilyListResult* result);

// The access layer on a session of its own while the object lives; the session it replaced is
// put back afterwards, its open groups untouched.
class FamilyListSession {
public:
    FamilyListSession();
    ~FamilyListSession();
    FamilyListSession(const FamilyListSession&) = delete;
    FamilyListSession& operator=(const FamilyListSession&) = delete;
    bool Ok() const { return ok_; }

private:
    DbState saved_;
    bool ok_ = false;
};
