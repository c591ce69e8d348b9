// Patient alerts: a note of the patient's with some text in it.
#include "suite/patient_alert.h"

#include <cstring>
#include <vector>

#include "data/db_access.h"
#include "suite/notes.h"
#include "suite/prompter.h"

namespace {

const char kAlertsTitle[] = "Patient Alerts";

// Makes the patient's alert note the notes file's current record; false without one.
bool FindAlertNote(uint32_t patient_id) {
    const NoteKey key{kNotePatientAlert, patient_id};
    NoteHead head{};
    return DbFind(kNoteKey, DbPrepareKey(&key), &head) == kQdbOk;
}

}  // namespace

int PATALERT_PatientHasAlerts(uint32_t patient_id, int32_t date) {
    (void)date;  // alerts are not limited to dates yet
    if (!FindAlertNote(patient_id)) return 0;
    return DbVariableLength(kNoteFile) > static_cast<int>(sizeof(NoteHead)) + 1 ? 2 : 0;
}

std::string PatientAlertText(uint32_t patient_id, int32_t date) {
    (void)date;
    return ReadNoteText(kNotePatientAlert, patient_id);
}

int PATALERT_PopUpPatientAlerts(uint32_t patient_id, int32_t date, int mode) {
    (void)mode;
    const std::string text = PatientAlertText(patient_id, date);
    if (text.empty()) return 0;
    CurrentPrompter().Show(PromptRequest{text, kAlertsTitle, kButtonsOk, kIconExclamation});
    return 1;
}
