// Patient alerts: a note of the patient's with some text in it.
#include "suite/patient_alert.h"

#include <cstring>
#include <vector>

#include "data/db_access.h"
#include "suite/prompter.h"
#include "suite/records/notes.h"

namespace {

#pragma pack(push, 1)
struct AlertKey {
    uint8_t kind;
    uint32_t owner;
};
#pragma pack(pop)

const char kAlertsTitle[] = "Patient Alerts";

// Makes the patient's alert note the notes file's current record; false without one.
bool FindAlertNote(uint32_t patient_id) {
    const AlertKey key{kNotePatientAlert, patient_id};
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
    FileGroupDesc desc{};
    DbGroupOf(kNoteFile, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk || !FindAlertNote(patient_id)) return "";
    std::vector<char> buffer(sizeof(NoteHead) + kNoteTextLimit + 1, '\0');
    if (DbReadEntireVariable(kNoteFile, buffer.data(), static_cast<int>(buffer.size()) - 1) != kQdbOk) return "";
    const char* text = buffer.data() + sizeof(NoteHead);
    return std::string(text, strnlen(text, kNoteTextLimit));
}

int PATALERT_PopUpPatientAlerts(uint32_t patient_id, int32_t date, int mode) {
    (void)mode;
    const std::string text = PatientAlertText(patient_id, date);
    if (text.empty()) return 0;
    CurrentPrompter().Show(PromptRequest{text, kAlertsTitle, kButtonsOk, kIconExclamation});
    return 1;
}
