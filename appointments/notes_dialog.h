// The contents of "Notes - Alerts - Check List" (the notes dialog of an appointment's patient):
// which of its four fields the user may change, see or not see, the medical alerts text, the
// title, and loading and saving what may be saved. Works on the access layer's session.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "suite/records/patient.h"

constexpr int kRightEditMedicalAlerts = 141;  // asked (with the prompt) when "&Edit" is pressed

enum NoteFieldState : int { kFieldHidden = 0, kFieldReadOnly = 1, kFieldEditable = 2 };

// The bits of what the dialog loaded and will save.
constexpr int kNotesAlerts = 1;
constexpr int kNotesAppointment = 2;
constexpr int kNotesPatient = 4;
constexpr int kNotesGuarantor = 8;

struct NotesFields {
    NoteFieldState alerts = kFieldHidden;       // shown read-only (right 142) or hidden
    bool editAlerts = false;                    // "&Edit" enabled: the alerts may be seen
    NoteFieldState appointment = kFieldReadOnly;
    NoteFieldState patient = kFieldHidden;
    NoteFieldState guarantor = kFieldHidden;
    int loaded = kNotesAlerts | kNotesAppointment | kNotesPatient | kNotesGuarantor;
};

// The fields for a user; has_right answers the silent rights test (true when held).
NotesFields NotesFieldsFor(const std::function<bool(int right)>& has_right);

extern const char kNotViewable[];  // the text of a hidden field

// The alert texts of the set bits (0..63 in order) joined with "; "; a text that would bring the
// length to 1080 or more ends the list with " +" instead.
std::string JoinAlertTexts(const std::vector<std::string>& texts);
// The definition texts (kind 2) of the alerts set in the patient's alert set, in bit order.
std::vector<std::string> MedicalAlertTexts(const uint8_t (&alerts)[8]);
// Every medical alert definition: number (bit + 1) and text, in number order.
struct AlertDefinition {
    int number = 0;
    std::string text;
};
std::vector<AlertDefinition> MedicalAlertDefinitions();

// "Medical Alerts/Notes for Last, First M" (the name at most 30 characters), " - PRIVACY
// REQUESTS" after it when the patient asked for privacy.
std::string NotesTitle(const PatientRecord& patient);

struct NotesContent {
    PatientRecord patient{};
    bool patientFound = false;
    std::string alerts, appointmentNote, patientNote, guarantorNote;
};
// Reads what the loaded bits ask for.
NotesContent LoadNotes(uint32_t patient_id, uint32_t appointment_id, int loaded);

// Writes back what the loaded bits allow, in the order appointment note, patient note, guarantor
// note (the guarantor read from the patient record first), then the alert set into the patient
// record under its lock. Stops at the first failure (reported to the user) and returns false;
// what was written before it stays written.
bool SaveNotes(uint32_t patient_id, uint32_t appointment_id, int loaded, const NotesContent& content, int32_t today);
