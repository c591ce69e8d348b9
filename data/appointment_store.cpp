// A save is one unit: every record it changes (the old and the new place's week records, the
// appointment, the new-patient record, the audit entry) is locked first, in the program's one
// lock order; the stored appointment is compared with the record the change started from; the
// questions are asked and the week records changed in memory; then everything is written in one
// transaction of the record engine. A No, a refusal, a failure or a crash before the commit
// leaves the database exactly as it was, so nothing is ever put back.
#include "data/appointment_store.h"

#include <cassert>
#include <cstring>

#include "appointments/conflict_checks.h"
#include "data/db_access.h"
#include "data/id_counters.h"
#include "data/occupancy.h"
#include "data/record_locks.h"
#include "suite/audit.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/dates.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/notes.h"

const char kChangedElsewhere[] = "Appointment has been changed at another workstation during edit. Edit canceled!";

namespace {

AppointmentSavedHook saved_hook = nullptr;

FileGroupDesc AppointmentGroup() {
    FileGroupDesc desc{};
    DbGroupOf(kAppointmentFile, &desc);
    return desc;
}

std::vector<AppointmentRecord> ReadSet(int key, const void* prefix, int prefix_length, uint16_t* result = nullptr) {
    std::vector<AppointmentRecord> found;
    DbGroupScope group(AppointmentGroup());
    uint16_t r = group.Result();
    if (r == kQdbOk) {
        AppointmentRecord a{};
        for (r = DbStartSetForward(key, DbPrepareKey(prefix), &a, prefix_length); r == kQdbOk; r = DbNextInSet(key, &a))
            found.push_back(a);
    }
    if (result) *result = r;
    return found;
}

#pragma pack(push, 1)
struct DayResourcePrefix {
    int32_t date;
    uint8_t marker;
    char id[4];
};
#pragma pack(pop)
static_assert(sizeof(DayResourcePrefix) == 9);

bool Scheduled(const AppointmentRecord& a) { return a.date != 0; }

}  // namespace

uint16_t ReadAppointment(uint32_t id, AppointmentRecord* appointment, bool lock) {
    return DbReadForUpdate(AppointmentGroup(), kApptByIdKey, &id, sizeof id, appointment, lock);
}

std::vector<AppointmentRecord> ReadDay(int32_t date, uint16_t* result) {
    return ReadSet(kApptByDateOperatoryKey, &date, sizeof date, result);
}

std::vector<AppointmentRecord> ReadDayOfOperatory(int32_t date, const char operatory[4], uint16_t* result) {
    DayResourcePrefix prefix{date, kMarkerOperatory, {}};
    std::memcpy(prefix.id, operatory, 4);
    return ReadSet(kApptByDateOperatoryKey, &prefix, sizeof prefix, result);
}

std::vector<AppointmentRecord> ReadDayOfProvider(int32_t date, const char provider[4], uint16_t* result) {
    DayResourcePrefix prefix{date, kMarkerProvider, {}};
    std::memcpy(prefix.id, provider, 4);
    return ReadSet(kApptByDateProviderKey, &prefix, sizeof prefix, result);
}

uint16_t ReadUnscheduledList(const char* provider, size_t limit, std::vector<AppointmentRecord>* out) {
#pragma pack(push, 1)
    struct UnscheduledPrefix {
        uint8_t unscheduled;
        uint8_t marker;
        char id[4];
    };
#pragma pack(pop)
    static_assert(sizeof(UnscheduledPrefix) == 6);
    UnscheduledPrefix prefix{1, kMarkerProvider, {' ', ' ', ' ', ' '}};
    if (provider) std::memcpy(prefix.id, provider, 4);
    DbGroupScope group(AppointmentGroup());
    if (group.Result() != kQdbOk) return group.Result();
    AppointmentRecord a{};
    uint16_t r = DbStartSetForward(kApptUnscheduledKey, DbPrepareKey(&prefix), &a, provider ? 6 : 1);
    for (; r == kQdbOk; r = DbNextInSet(kApptUnscheduledKey, &a)) {
        if (out->size() >= limit) return kQdbOk;
        out->push_back(a);
    }
    return r;
}

std::vector<AppointmentRecord> ReadPatientAppointments(uint32_t patient_id) {
    return ReadSet(kApptByPatientKey, &patient_id, sizeof patient_id);
}

bool FindUnscheduledOfPatient(uint32_t patient_id, AppointmentRecord* appointment) {
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id))
        if (a.unscheduled == 1) {
            *appointment = a;
            return true;
        }
    return false;
}

std::vector<AttachedReason> GatherAttachedReasons(uint32_t patient_id, int32_t today) {
    std::vector<AttachedReason> reasons;
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id)) {
        if (Scheduled(a) && a.date < today) continue;
        for (int slot = 0; slot < kReasonSlots; ++slot) {
            if (a.reasonKinds[slot] == 0) continue;
            if (reasons.size() == kMaxAttachedReasons) return reasons;
            reasons.push_back({a.reasons[slot], a.reasonKinds[slot], static_cast<uint8_t>(Scheduled(a) ? 1 : a.status)});
        }
    }
    return reasons;
}

namespace {

// The continuing care key: one record per patient and type.
#pragma pack(push, 1)
struct CareKey {
    uint32_t patientId;
    uint16_t type;
};
#pragma pack(pop)
CareKey CareKeyOf(const ContinuingCareRecord& c) { return CareKey{c.patientId, c.type}; }

// The files of one save, open on its own session; the first that fails to open is reported.
// The notes and continuing care files are opened only for a save that writes them.
struct SaveFiles {
    explicit SaveFiles(bool with_extras) : withExtras(with_extras) {}
    const bool withExtras;
    QdbPrivateSession session{DbStartOwnSession(kAppointmentFile)};
    QdbOpenedFile appointments{session.Handle(), kAppointmentFile};
    QdbOpenedFile rscuse{session.Handle(), kRscUseFile};
    QdbOpenedFile newPatients{session.Handle(), kNewPatientFile};
    QdbOpenedFile audit{session.Handle(), kAuditFile};
    QdbOpenedFile notes{withExtras ? session.Handle() : QdbSession{0}, kNoteFile};
    QdbOpenedFile care{withExtras ? session.Handle() : QdbSession{0}, kContinuingCareFile};
    QdbOpenedFile labCases{withExtras ? session.Handle() : QdbSession{0}, kLabCaseFile};

    bool Open() const {
        if (!session.Handle()) return false;  // the user was told
        const std::pair<const QdbOpenedFile*, int> files[] = {
            {&appointments, kAppointmentFile}, {&rscuse, kRscUseFile}, {&newPatients, kNewPatientFile},
            {&audit, kAuditFile}, {&notes, kNoteFile}, {&care, kContinuingCareFile}, {&labCases, kLabCaseFile}};
        for (const auto& [file, number] : files)
            if (!file->Handle() &&
                (withExtras || (number != kNoteFile && number != kContinuingCareFile && number != kLabCaseFile))) {
                ReportChangeFailure(session.Handle(), kDbMsgOpen, number);
                return false;
            }
        return true;
    }
};

// The appointment's note as the dialog left it: rewritten, added, or removed when emptied.
bool WriteNote(QdbFile notes, uint32_t appointment_id, const std::string& text) {
    const NoteKey key{kNoteAppointment, appointment_id};
    NoteHead head{};
    const bool exists = QDB_FindRec(notes, kNoteKey, &key, &head) != 0;
    if (text.empty()) return !exists || QDB_DeleteCurRec(notes);
    std::vector<uint8_t> bytes(sizeof(NoteHead) + text.size() + 1, 0);
    head.kind = kNoteAppointment;
    head.ownerId = appointment_id;
    head.changedDate = QVN_SysDate();
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + sizeof head, text.data(), text.size());
    const int length = static_cast<int>(bytes.size());
    return exists ? QDB_WriteVRec(notes, bytes.data(), length) : QDB_AddVRec(notes, bytes.data(), length);
}

// A continuing care record by its patient and type: rewritten, or added when new.
bool WriteCare(QdbFile care, const ContinuingCareRecord& record) {
    ContinuingCareRecord stored{};
    const CareKey key = CareKeyOf(record);
    const bool exists = QDB_FindRec(care, kContinuingCareByPatientKey, &key, &stored) != 0;
    return exists ? QDB_WriteRec(care, &record) : QDB_AddRec(care, &record);
}

bool WriteExtras(const SaveFiles& f, uint32_t appointment_id, const ApptSaveExtras& extras) {
    const QdbSession s = f.session.Handle();
    if (extras.writeNote && !WriteNote(f.notes.Handle(), appointment_id, extras.note)) {
        ReportChangeFailure(s, kDbMsgWrite, kNoteFile);
        return false;
    }
    for (const ContinuingCareRecord& c : extras.care)
        if (!WriteCare(f.care.Handle(), c)) {
            ReportChangeFailure(s, kDbMsgWrite, kContinuingCareFile);
            return false;
        }
    // The appointment's lock, taken for this save, stands for its links.
    if (extras.writeLabLinks && !WriteApptToCaseLinksIn(f.labCases.Handle(), appointment_id, extras.labLinks)) {
        ReportChangeFailure(s, kDbMsgWrite, kLabCaseFile);
        return false;
    }
    return true;
}

// The stored appointment, read under its lock, against the record the change started from.
// Any byte counts; a record deleted meanwhile is a change too. A new appointment's id must be free.
bool StoredAsExpected(const SaveFiles& f, bool add, const AppointmentRecord* before, uint32_t id) {
    const QdbSession s = f.session.Handle();
    AppointmentRecord stored{};
    const bool found = QDB_FindRec(f.appointments.Handle(), kApptByIdKey, &id, &stored) != 0;
    if (!found && QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(kAppointmentFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return false;
    }
    if (add) {
        if (!found) return true;
        QVN_Message(kMsgGroupGeneral, DbMessageNumber(kDbMsgWrite, kAppointmentFile, kQdbDuplicateKey), kQdbDuplicateKey,
                    kAppointmentFile);
        return false;
    }
    if (found && before && std::memcmp(&stored, before, sizeof stored) == 0) return true;
    ShowRefusal(kChangedElsewhere);
    return false;
}

// The stored new-patient record, read under its lock, against the one the change started from.
bool StoredSideAsExpected(const SaveFiles& f, const NewPatientRecord& record, const NewPatientRecord& before) {
    const QdbSession s = f.session.Handle();
    uint32_t id = record.id;
    NewPatientRecord stored{};
    const bool found = QDB_FindRec(f.newPatients.Handle(), kNewPatientKey, &id, &stored) != 0;
    if (!found && QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(kNewPatientFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return false;
    }
    if (!found) stored = NewPatientRecord{};
    NewPatientRecord expected = before;
    stored.id = expected.id = record.id;  // a record not stored yet is numbered only by this save
    if (std::memcmp(&stored, &expected, sizeof stored) == 0) return true;
    ShowRefusal(kChangedElsewhere);
    return false;
}

// Every write of the save inside the open transaction; false at the first failure, reported.
bool WriteSave(const SaveFiles& f, bool add, const AppointmentRecord* before, const AppointmentRecord& record,
               const NewPatientRecord* new_patient, const WeekRecords& weeks) {
    const QdbSession s = f.session.Handle();
    if (!weeks.Write(f.rscuse.Handle())) {
        ReportChangeFailure(s, kDbMsgWrite, kRscUseFile);
        return false;
    }
    uint32_t id = record.id;
    const bool appointment_written = add ? QDB_AddRec(f.appointments.Handle(), &record)
                                         : QDB_FindRec(f.appointments.Handle(), kApptByIdKey, &id, nullptr) &&
                                               QDB_WriteRec(f.appointments.Handle(), &record);
    if (!appointment_written) {
        ReportChangeFailure(s, kDbMsgWrite, kAppointmentFile);
        return false;
    }
    if (new_patient) {
        uint32_t np_id = new_patient->id;
        const QdbFile np = f.newPatients.Handle();
        const bool exists = QDB_FindRec(np, kNewPatientKey, &np_id, nullptr) != 0;
        if (!(exists ? QDB_WriteRec(np, new_patient) : QDB_AddRec(np, new_patient))) {
            ReportChangeFailure(s, kDbMsgWrite, kNewPatientFile);
            return false;
        }
    }
    const std::vector<uint8_t> entry = ApptAuditEntry(&record, add ? nullptr : before);
    if (!QDB_AddVRec(f.audit.Handle(), entry.data(), static_cast<int>(entry.size()))) {
        ReportChangeFailure(s, kDbMsgWrite, kAuditFile);
        return false;
    }
    return true;
}

}  // namespace

bool SaveAppointment(bool add, const AppointmentRecord* before, const AppointmentRecord& record,
                     const NewPatientRecord* new_patient, const NewPatientRecord* new_patient_before,
                     const ApptSaveExtras* extras) {
    assert(add || before);
    const bool old_scheduled = !add && before && Scheduled(*before);
    const bool new_scheduled = Scheduled(record);
    SaveFiles f(extras != nullptr);
    if (!f.Open()) return false;
    const QdbSession s = f.session.Handle();

    // 1. Every lock of the change, in the program's lock order.
    RecordLockSet locks(s);
    uint32_t id = record.id;
    locks.Add(f.appointments.Handle(), kAppointmentFile, kApptByIdKey, &id, sizeof id);
    const uint32_t new_patient_id = new_patient ? new_patient->id : 0;
    if (new_patient) locks.Add(f.newPatients.Handle(), kNewPatientFile, kNewPatientKey, &new_patient_id, sizeof new_patient_id);
    const NoteKey note_key{kNoteAppointment, record.id};
    if (extras && extras->writeNote) locks.Add(f.notes.Handle(), kNoteFile, kNoteKey, &note_key, sizeof note_key);
    std::vector<CareKey> care_keys;
    if (extras)
        for (const ContinuingCareRecord& c : extras->care) care_keys.push_back(CareKeyOf(c));
    for (const CareKey& k : care_keys)
        locks.Add(f.care.Handle(), kContinuingCareFile, kContinuingCareByPatientKey, &k, sizeof k);
    WeekRecords weeks;
    if (old_scheduled) weeks.Want(*before, f.rscuse.Handle(), locks);
    if (new_scheduled) weeks.Want(record, f.rscuse.Handle(), locks);
    if (!locks.TakeAll()) return false;

    // 2. Read under the locks, ask, and change the week records in memory.
    if (!StoredAsExpected(f, add, before, record.id)) return false;
    if (new_patient && new_patient_before && !StoredSideAsExpected(f, *new_patient, *new_patient_before)) return false;
    if (new_scheduled && !CheckPracticeOpen(record)) return false;
    if (!weeks.Read(s, f.rscuse.Handle())) return false;
    if (old_scheduled && !TakeOutOccupancy(weeks, *before)) return false;
    if (new_scheduled && !PutInOccupancy(weeks, record, f.rscuse.Handle())) return false;

    // 3. One transaction for every write.
    if (!QDB_BeginTransaction(s)) {
        ReportChangeFailure(s, kDbMsgWrite, kAppointmentFile);
        return false;
    }
    if (!WriteSave(f, add, before, record, new_patient, weeks) || (extras && !WriteExtras(f, record.id, *extras))) {
        QDB_AbortTransaction(s);
        return false;
    }
    if (!QDB_CommitTransaction(s)) {
        ReportChangeFailure(s, kDbMsgWrite, kAppointmentFile);
        return false;
    }
    if (saved_hook) saved_hook(record.id);
    return true;
}

bool CheckApptUnchanged(AppointmentRecord* opening_copy) {
    const AppointmentRecord aside = *opening_copy;
    const bool read = ReadAppointment(aside.id, opening_copy, false) == kQdbOk;
    if (read && std::memcmp(opening_copy, &aside, sizeof aside) == 0) return true;
    if (read) ShowRefusal(kChangedElsewhere);
    *opening_copy = aside;
    return false;
}

std::string ReadAppointmentNote(uint32_t appointment_id) { return ReadNoteText(kNoteAppointment, appointment_id); }

uint32_t NewAppointmentId() { return NextRecordId(kAppointmentIdCounter); }

void SetAppointmentSavedHook(AppointmentSavedHook hook) { saved_hook = hook; }
