// The new patient of an appointment: a person who has no patient record yet. The appointment
// holds the name, the phone and who referred the person; the new-patient side record (data file
// 49) holds the address. This is the core of "Enter New Patient Information": the fields as the
// dialog opens, the checks of OK in their order, the fields written back, the referrer's name,
// and the main window's read and save of the edit.
#pragma once

#include <cstdint>
#include <string>

#include "data/appointment_record.h"
#include "suite/records/patient.h"
#include "suite/records/referral.h"

// Input limits of the dialog's fields.
constexpr int kEntryLastNameMax = 20;
constexpr int kEntryFirstNameMax = 15;
constexpr int kEntryInitialMax = 1;
constexpr int kEntryPhoneMax = 16;     // the appointment's phone field, less its terminator
constexpr int kEntryStreetMax = 30;    // street and second street line
constexpr int kEntryCityMax = 25;
constexpr int kEntryStateMax = 20;
constexpr int kEntryZipMax = 16;       // typed; the side record keeps 14 (the zip check keeps
                                       // every accepted code within them, blanks around aside)

// The dialog's fields as texts.
struct NewPatientEntry {
    std::string lastName, firstName, middleInitial;
    std::string phone;
    std::string street, street2, city, state, zip;
};

// "Last, First M" split into last name (20), first name (15) and middle initial (1, upper case).
// A name without a comma is all last name; a last word of one letter is the middle initial.
void SplitAppointmentName(const std::string& name, std::string* last, std::string* first, std::string* initial);
// The parts joined again: last name, a comma and a blank, first name, the middle initial in upper
// case after a blank (parts left out when empty); at most 36 characters.
std::string JoinAppointmentName(const std::string& last, const std::string& first, const std::string& initial);

// The fields as the dialog opens: the appointment's name split, its phone, the side record's
// address.
NewPatientEntry NewPatientEntryOf(const AppointmentRecord& appointment, const NewPatientRecord& side);

// The control the checks of OK send the user back to.
enum NewPatientField : int {
    kNewPatientFieldsOk = 0,
    kNewPatientLastName,
    kNewPatientFirstName,
    kNewPatientPhone,
    kNewPatientState,
    kNewPatientZip,
};

// The checks of OK in order: last name not empty (message 9018), first name not empty (9019),
// the phone (QVN_verf_Phone), the state (not where the country has none) and the zip code
// (suite/addresses.h). The first failure has told the user why and names the field to focus.
NewPatientField CheckNewPatientEntry(const NewPatientEntry& entry, int country);

// Writes the checked fields: the joined name into the appointment's name field (its first 32
// bytes), the phone as the program shows phones into its phone field, the address into the side
// record (each text trimmed of blanks and cut to its field; the state is left as it was where
// the country has no state field). Every other byte stays as it was.
void StoreNewPatientEntry(const NewPatientEntry& entry, int country, AppointmentRecord* appointment,
                          NewPatientRecord* side);

// --- Who referred the new patient -------------------------------------------------------------

// The name "Referred By:" shows: a referring patient's packed name followed by " (Patient)", or
// the referral source's name; "" when the referrer id is 0 or the record is not found.
std::string PatientReferrerName(const PatientRecord& patient);
std::string ReferrerName(const AppointmentRecord& appointment);

// The choice made after ">>": the kind byte and the id; "&Remove" sets the id 0.
void SetReferrer(AppointmentRecord* appointment, uint8_t kind, uint32_t id);
void RemoveReferrer(AppointmentRecord* appointment);

// The kind preselected in the referrer type question: the last one chosen in this run of the
// program (a patient until one is chosen).
uint8_t LastReferrerKind();
void RememberReferrerKind(uint8_t kind);

// --- The main window's New Patient Info -------------------------------------------------------

// Reads the appointment and its side record (zeroed when it has none). False when the
// appointment cannot be read, belongs to a patient on file, or names a side record that cannot
// be read (a read error is reported; a missing side record is not, the edit starts a new one).
bool ReadNewPatientAppointment(uint32_t appointment_id, AppointmentRecord* appointment, NewPatientRecord* side);

enum NewPatientSaveResult : int {
    kNewPatientUnchanged = 0,  // nothing to write
    kNewPatientSaved = 1,
    kNewPatientNotSaved = 2,   // refused or failed; the user was told, the database is as it was
};

// Saves the edit as one change: the appointment (last changed set to today) and the side record
// through SaveAppointment in one transaction, the stored appointment and side record compared
// with before and side_before under their locks. A side record is written when the appointment
// already has one or an address was typed; a new one gets its id from the new-patient counter
// and the appointment names it.
NewPatientSaveResult SaveNewPatientInfo(const AppointmentRecord& before, const NewPatientRecord& side_before,
                                        AppointmentRecord after, NewPatientRecord side_after);
