// Finding patients for the Select Patient dialog: the search keys with their prompts and
// column titles, the search on the patient file's indexes, the result lines, the recent
// selections of this workstation and the status warning after a choice.
//
// Works on the access layer's open session; no window is touched here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/patient.h"

// The search keys; the numbers are the dialog's radio buttons and the values of [SELPAT]
// SelectBy. kSearchById is the patient-ID mode ([SELPAT] SelectByID or [FAMILY] EditFamilyID).
enum PatientSearchKey : int {
    kSearchById = 0,
    kSearchLastName = 148,
    kSearchFirstName = 149,
    kSearchPreferredName = 150,
    kSearchPhone = 151,
    kSearchChart = 152,
    kSearchSsn = 153,
};

// Bits of the caller's mode.
constexpr int kSelectAutomaticMask = 0x03;  // 1: end by itself on none or one match; 3: press OK
constexpr int kSelectAllowNew = 0x04;       // "&New Patient" shown
constexpr int kSelectFamily = 0x08;         // the family variant: "&New Family", archived box
constexpr int kSelectGuarantor = 0x10;      // choosing a guarantor: "Select Guarantor"
constexpr int kSelectNoDial = 0x20;         // More Information may not dial
constexpr int kSelectShowIds = 0x40;        // fourth column "patient id,account id"
constexpr int kSelectNoMark = 0x80;         // no "*" for flagged patients

// A key value read from the settings that is no key gives the last-name key.
PatientSearchKey SearchKeyOf(int value);
// The prompt above the entry field, the fourth column's title and the most characters the
// entry may hold.
std::string SearchPrompt(PatientSearchKey key);
std::string SearchColumnTitle(PatientSearchKey key);
int SearchEntryLimit(PatientSearchKey key);
// The key this workstation searches with: the ID mode when its switch is on, else SelectBy.
PatientSearchKey ReadSearchKey(bool family_variant);
void WriteSearchKey(PatientSearchKey key);

// One line of the result list and the patient it stands for.
struct PatientLine {
    std::string text;
    uint32_t patientId = 0;
};

// The result line of a patient found by key (mode: the caller's bits, kSelectNoMark and
// kSelectShowIds matter here).
std::string PatientResultLine(const PatientRecord& patient, PatientSearchKey key, int mode);

struct PatientSearch {
    std::vector<PatientLine> lines;  // in index order
    uint16_t error = 0;              // a database error other than the end of the data; 0 none
};

// Searches the patient file for the entry. Archived patients only when include_archived. An
// entry that gives no key (blank, or no digit where digits are wanted) finds nothing.
PatientSearch SearchPatients(PatientSearchKey key, const std::string& entry, bool include_archived, int mode);

// The line shown when nothing matched.
extern const char kNoMatchLine[];  // "No match found for list."

// The patient a result or recent line stands for (the number after its last tab); 0 for none.
uint32_t PatientIdOfLine(const std::string& line);

// The recent selections of this workstation, newest first (at most three lines).
std::vector<std::string> RecentPatientLines();
// Makes the line the newest recent selection; an older line of the same patient goes.
void AddRecentPatientLine(const std::string& line);
// The text the entry starts with when the caller gives none: "Last, First" of the most recent
// selection, "" without one.
std::string RecentSelectionEntry();

// Reads a patient by id; false when there is none.
bool ReadPatient(uint32_t patient_id, PatientRecord* patient);
// "Last, First M", as the sheet and the lists name a patient.
std::string PatientPackedName(const PatientRecord& patient);

// After a patient was chosen for an appointment: a patient with the non-patient or inactive
// status is pointed out in a box titled "Warning"; every other status shows nothing.
void PatientStatusWarning(uint32_t patient_id);
