// What the appointment's patient buttons and the main window's patient commands need beside
// their windows: the lines of the insurance claim information, the family file module's command
// line, and the number and name handed to the dialer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/records/patient.h"

// The family file module's program, looked for in the appointment book's own folder, as the
// suite installs its modules side by side.
extern const char kFamilyFileProgram[];  // "qvnfam.exe"

// The command line that starts the family file module on a patient: the program's path (in
// quotes when it holds a blank) followed by " /ID" and the id in decimal.
std::string FamilyFileCommandLine(const std::string& program_folder, uint32_t patient_id);

// One line of the claim information: a caption and its value.
struct ClaimInfoLine {
    std::string caption;
    std::string value;
};

// What the patient file holds of the facts an insurance claim asks for: the patient (name,
// account number, birth date, gender, the national number under string 10's name, address, home
// and work phone), the guarantor the claim is billed to with the relation, the primary provider
// and the fee schedule. Phones the patient keeps private show as the private-phone text. Empty
// when the patient cannot be read.
std::vector<ClaimInfoLine> ClaimInfoLines(uint32_t patient_id);

// The number to dial for an appointment and the name the dialer announces: a patient's home
// phone (none when the patient keeps it private), a new patient's phone from the appointment.
// digits is empty when there is nothing to dial.
struct DialTarget {
    std::string digits;
    std::string name;
};
DialTarget AppointmentDialTarget(const AppointmentRecord& appointment);
// Shown when there is nothing to dial.
std::string NothingToDialText(const std::string& name);
