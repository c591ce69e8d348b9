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

// An alert note counts when it holds more than its head and the text's terminator.
int AlertMarkOf(int note_length) { return note_length > static_cast<int>(sizeof(NoteHead)) + 1 ? 2 : 0; }

}  // namespace

int PATALERT_PatientHasAlerts(uint32_t patient_id, int32_t date) {
    (void)date;  // alerts are not limited to dates yet
    if (!FindAlertNote(patient_id)) return 0;
    return AlertMarkOf(DbVariableLength(kNoteFile));
}

uint16_t PATALERT_PatientsHaveAlerts(const std::vector<uint32_t>& patient_ids, int32_t date, std::vector<uint8_t>* alerts) {
    (void)date;
    std::vector<int> lengths;
    const uint16_t result = ReadNoteLengths(kNotePatientAlert, patient_ids, &lengths);
    alerts->clear();
    for (int length : lengths) alerts->push_back(static_cast<uint8_t>(AlertMarkOf(length)));
    return result;
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
