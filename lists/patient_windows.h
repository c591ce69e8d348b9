// The three patient commands that show a small window of this program in place of the suite's
// own modules: "Pa&tient Picture" (a bitmap per patient in the practice's pictures folder),
// "Pat&ient Alerts" (the alert text the patient-alert library keeps, edited and written back)
// and "Patient &Referrals" (the referral source on the patient record, and the appointments that
// name one). Everything here is portable; the windows are in patient_windows_win.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/patient.h"

// --- Patient Picture ------------------------------------------------------------------------

// The pictures folder: [MODULES] Pictures of the workstation settings, else "Pictures" inside
// the practice's data folder. Ends with a path separator.
std::string PicturesFolder();
// The patient's picture in a folder: "<folder><patient id>.bmp".
std::string PatientPicturePath(const std::string& folder, uint32_t patient_id);
// Whether the patient has a picture on file: the file is there and not empty.
bool PatientPictureOnFile(const std::string& folder, uint32_t patient_id);
// The window's title, and the message when there is no picture (or it cannot be read).
std::string PictureWindowTitle(const std::string& patient_name);
std::string NoPictureMessage(const std::string& patient_name, const std::string& path);
std::string UnreadablePictureMessage(const std::string& path);

// --- Patient Referrals ----------------------------------------------------------------------

// What the referrals window shows of a patient.
struct PatientReferrals {
    bool patientFound = false;
    std::string patientName;       // "Last, First"
    uint32_t sourceId = 0;         // the patient record's referral source, 0 for none
    bool sourceFound = false;
    std::string sourceName;        // "Dr. Simon Hart"
    std::string sourcePhone;
    // The patient's appointments that name who referred them: date and the referrer's name.
    struct Appointment {
        int32_t date = 0;
        std::string referrer;
    };
    std::vector<Appointment> appointments;
};
// Reads it on the access layer's session.
PatientReferrals ReadPatientReferrals(uint32_t patient_id);
// Whether the patient has a referral on file: the patient record names a source.
bool PatientHasReferral(uint32_t patient_id);
// The window's text, line by line.
std::string PatientReferralsText(const PatientReferrals& referrals);

// --- The selected patient's facts on the button bar -----------------------------------------

// Whether the patient has a picture on file and a referral on file, as the buttons of 386 and
// 12146 show them "on". Read once per patient: the button bar asks for them on every redraw.
struct PatientFileFacts {
    bool picture = false;
    bool referral = false;
};
PatientFileFacts ReadPatientFileFacts(uint32_t patient_id);
// The facts of the patient, read when the patient is another than the last one asked about or
// after ForgetPatientFileFacts (a command that may have changed them).
PatientFileFacts CachedPatientFileFacts(uint32_t patient_id);
void ForgetPatientFileFacts();

// --- Patient Alerts -------------------------------------------------------------------------

// The alert set-up as it opened: the patient's name and the alert text as stored then.
struct AlertSetup {
    uint32_t patientId = 0;
    bool patientFound = false;
    std::string patientName;
    bool existed = false;  // an alert note was on file
    std::string text;
    uint16_t error = 0;    // a database failure while reading (0: none)
};
AlertSetup LoadAlertSetup(uint32_t patient_id);

// The text as it is stored: line ends as Windows edit controls give them, blanks and empty
// lines at the end dropped. An empty result removes the alerts.
std::string NormalisedAlertText(const std::string& typed);

enum class AlertSave {
    kWritten,           // stored, with its audit entry
    kUnchanged,         // the text is what was on file: nothing written
    kCancelled,         // a lock was not had: the user gave up at a locked record, or its failure was reported
    kChangedElsewhere,  // another workstation changed the alerts (or removed the patient) meanwhile
    kFailed,            // the database refused; the user was told
};
// Writes the new alert text: the patient record and the alert note are locked first (in the
// one order of every change), both read again and compared with what the set-up opened with,
// then the note (added, rewritten or removed) and an audit entry with the old and new text are
// written in one transaction. Nothing is written unless all of it is.
AlertSave SavePatientAlerts(const AlertSetup& opened, const std::string& typed, int32_t today);

extern const char kAlertsChangedElsewhere[];
extern const char kAlertsPatientGone[];
