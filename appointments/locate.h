// Finding existing appointments by the patient name they carry ("Locate Existing Appointment")
// or, in the by-patient form ("Select Appointment"), by the patient: the search key, the list
// lines and their order, the line limit and the messages of a search. Works on the access
// layer's session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appointments/list_order.h"
#include "data/appointment_record.h"

constexpr size_t kLocateLineLimit = 151;
constexpr int kLocateNameMax = 31;  // the name field

// The name key: the typed name cut to 29 characters, with a blank inserted after every comma
// that has none after it ("SMITH,JOHN" searches "SMITH, JOHN").
std::string LocateNameKey(const std::string& typed);

// The lines of the two forms. phone is the text to show: the last seven digits of the
// appointment's phone (the local number), or the private-phone text.
std::string LocateLine(const AppointmentRecord& a, bool patient_on_file, const std::string& phone);
std::string PatientAppointmentChoiceLine(const AppointmentRecord& a);

extern const char kLocateSeparator[];  // 62 underscores

struct LocateSearch {
    std::vector<ListLine> lines;
    bool limitReached = false;  // the 151st line was added and the search stopped (9154 shown)
    uint16_t error = 0;         // a database error (3018 shown)
};

// Searches the appointments whose name starts with the key; shows 9154 at the limit, 3018 on a
// database error and, when report_no_match, 9032 when nothing matched.
LocateSearch SearchAppointmentsByName(const std::string& typed, int32_t today, bool report_no_match);
// The patient's appointments for the by-patient form, in the same order.
LocateSearch SearchAppointmentsOfPatient(uint32_t patient_id, int32_t today);

// The appointment a line stands for: the hexadecimal number after its last tab; 0 for none.
uint32_t AppointmentIdOfLocateLine(const std::string& line);
// The name part of a line: its first 21 characters without the trailing blanks.
std::string NameOfLocateLine(const std::string& line);

// Whether the appointment's operatory is a column of the active view ("&View Appt" shows it on
// the sheet only then).
bool AppointmentOperatoryShown(const AppointmentRecord& a);
