// Patient alerts: a note of the patient's with some text in it.
#include "suite/patient_alert.h"

#include "data/db_access.h"
#include "suite/records/notes.h"

int PATALERT_PatientHasAlerts(uint32_t patient_id, int32_t date) {
    (void)date;  // alerts are not limited to dates yet
#pragma pack(push, 1)
    struct {
        uint8_t kind;
        uint32_t owner;
    } key{kNotePatientAlert, patient_id};
#pragma pack(pop)
    NoteHead head{};
    if (DbFind(kNoteKey, DbPrepareKey(&key), &head) != kQdbOk) return 0;
    return DbVariableLength(kNoteFile) > static_cast<int>(sizeof head) + 1 ? 2 : 0;
}
