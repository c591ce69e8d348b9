// The More Information dialog's contents for one patient: the family, a member's appointments
// and continuing-care due dates in the list's order, and the member's details. Works on the
// access layer's open session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/records/continuing_care.h"

struct FamilyLine {
    std::string text;
    uint32_t patientId = 0;
};

// One line per member of the patient's family (the guarantor's key), guarantor first, then in
// the order of the family key. Empty when the patient is not on file.
std::vector<FamilyLine> MoreInfoFamilyLines(uint32_t patient_id, int32_t today);

// The member's appointment list, in its order: appointments waiting unscheduled, then those of
// today and later together with continuing-care due dates that have no appointment (by date),
// then, when there are past appointments, the separator line and the past ones from the most
// recent back, each marked "*".
std::vector<std::string> MoreInfoAppointmentLines(uint32_t patient_id, int32_t today);

extern const char kMoreInfoSeparator[];  // "_______________________________"

struct MemberDetails {
    std::string name;
    std::string street;
    std::string cityLine;    // "City, ST 12345"
    std::string homePhone;   // formatted; the private-phone text when the patient asked so
    std::string workPhone;
    std::string dialNumber;  // digits of the home phone, "" when it may not be shown
    std::string chartNumber;
    std::string status;      // "Patient", "Non-Patient", "Inactive Patient", "Archived"
    std::string labCase;     // the lab-case status of the next appointment with cases
};

// False when the patient is not on file.
bool ReadMemberDetails(uint32_t patient_id, int32_t today, MemberDetails* details);

// Shared with the family appointment list:
// the type names of the continuing care attached to the appointment, joined with ", ";
std::string AttachedCareNames(const std::vector<ContinuingCareRecord>& care, uint32_t appointment_id);
// whether the appointment waits unscheduled (no date or on the unscheduled list);
bool AppointmentUnscheduled(const AppointmentRecord& a);
// the line of an appointment ("*" before a past one; care and lab-case texts may be empty);
std::string PatientAppointmentLine(const AppointmentRecord& a, int32_t today, const std::string& care, const std::string& lab);
// whole years from birth to today, a birthday of this year not yet reached counting one less;
// 0 without a birth date.
int AgeInYears(int32_t birth, int32_t today);
