// The changes of one appointment other than a save, each gathered, locked, checked and written
// as one unit (see appointment_store.cpp for the save's own).
#include "data/appointment_actions.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/id_counters.h"
#include "data/occupancy.h"
#include "data/record_locks.h"
#include "suite/audit.h"
#include "suite/clinical_entry.h"
#include "suite/docutils.h"
#include "suite/messages.h"
#include "suite/notes.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/continuing_care.h"
#include "suite/records/lab_case.h"
#include "suite/records/patient.h"
#include "suite/records/procedures.h"
#include "suite/records/users.h"
#include "data/practice_schedule.h"
#include "suite/dates.h"

namespace {

const char kBrokenTitle[] = "Broken Appointment";
const char kPurgedTitle[] = "Purged Appointment";
constexpr int kMaxCareLinks = 11;
constexpr int kGatherTries = 3;

// Every file an appointment change may write, open on one private session.
struct ActionFiles {
    QdbPrivateSession session{DbStartOwnSession(kAppointmentFile)};
    QdbOpenedFile appointments{session.Handle(), kAppointmentFile};
    QdbOpenedFile patients{session.Handle(), kPatientFile};
    QdbOpenedFile notes{session.Handle(), kNoteFile};
    QdbOpenedFile newPatients{session.Handle(), kNewPatientFile};
    QdbOpenedFile audit{session.Handle(), kAuditFile};
    QdbOpenedFile rscuse{session.Handle(), kRscUseFile};
    QdbOpenedFile care{session.Handle(), kContinuingCareFile};
    QdbOpenedFile labs{session.Handle(), kLabCaseFile};

    QdbSession S() const { return session.Handle(); }
    bool Open() const {
        if (!session.Handle()) return false;  // the user was told
        const std::pair<const QdbOpenedFile*, int> files[] = {
            {&appointments, kAppointmentFile}, {&patients, kPatientFile},  {&notes, kNoteFile},
            {&newPatients, kNewPatientFile},   {&audit, kAuditFile},       {&rscuse, kRscUseFile},
            {&care, kContinuingCareFile},      {&labs, kLabCaseFile}};
        for (const auto& [file, number] : files)
            if (!file->Handle()) {
                ReportChangeFailure(session.Handle(), kDbMsgOpen, number);
                return false;
            }
        return true;
    }
};

#pragma pack(push, 1)
struct CareKey {
    uint32_t patientId;
    uint16_t type;
};
struct LabKey {
    uint8_t appointmentIdBE[4];
    uint8_t caseIdBE[4];
};
#pragma pack(pop)

void PutBigEndian(uint8_t (&bytes)[4], uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// Reads the appointment; 0, 101 or the engine's failure (reported).
uint16_t FindAppointment(const ActionFiles& f, uint32_t id, AppointmentRecord* a) {
    if (QDB_FindRec(f.appointments.Handle(), kApptByIdKey, &id, a)) return kQdbOk;
    const uint16_t result = QDB_GetLastErrorNum(f.S());
    if (result != kQdbNotFound) DbReportError(kAppointmentFile, result, QDB_GetLastFileNum(f.S()));
    return result;
}

// The records that hang on an appointment, by their identity keys; read before the locks to know
// which to lock, and again under them to see that nothing changed meanwhile.
template <typename Key>
bool Same(const std::vector<Key>& a, const std::vector<Key>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Key)) == 0);
}

struct Links {
    std::vector<CareKey> care;
    std::vector<LabKey> labs;
    bool operator==(const Links& o) const {
        return Same(care, o.care) && Same(labs, o.labs);
    }
};

// False after a failure of the engine (reported).
bool ReadLinks(const ActionFiles& f, uint32_t id, Links* links) {
    links->care.clear();
    links->labs.clear();
    ContinuingCareRecord c{};
    QdbSet set = QDB_StartSet(f.care.Handle(), kContinuingCareByAppointmentKey, 0, &id, &c, 4);
    for (bool more = set != 0; more && links->care.size() < kMaxCareLinks; more = QDB_NextRecInSet(set, &c) != 0)
        links->care.push_back(CareKey{c.patientId, c.type});
    if (set) QDB_EndSet(set);
    uint16_t result = QDB_GetLastErrorNum(f.S());
    if (result != kQdbOk && result != kQdbNotFound) {
        DbReportError(kContinuingCareFile, result, QDB_GetLastFileNum(f.S()));
        return false;
    }
    LabKey prefix{};
    PutBigEndian(prefix.appointmentIdBE, id);
    LabCaseLinkRecord l{};
    set = QDB_StartSet(f.labs.Handle(), kLabCaseKey, 0, &prefix, &l, 4);
    for (bool more = set != 0; more; more = QDB_NextRecInSet(set, &l) != 0) {
        LabKey key{};
        std::memcpy(key.appointmentIdBE, l.appointmentIdBE, 4);
        std::memcpy(key.caseIdBE, l.caseIdBE, 4);
        links->labs.push_back(key);
    }
    if (set) QDB_EndSet(set);
    result = QDB_GetLastErrorNum(f.S());
    if (result != kQdbOk && result != kQdbNotFound) {
        DbReportError(kLabCaseFile, result, QDB_GetLastFileNum(f.S()));
        return false;
    }
    return true;
}

enum class Gathered { kLocked, kGone, kFailed };

// Reads the appointment, adds the locks the change needs (want) and takes them all; then reads the
// appointment and its links again under the locks. When either changed between the two reads,
// the locks are given back and the gathering starts over; after a few rounds the change is
// refused as made elsewhere.
template <typename Want>
Gathered GatherAndLock(const ActionFiles& f, uint32_t id, AppointmentRecord* a, Links* links, const Want& want) {
    for (int round = 0; round < kGatherTries; ++round) {
        const uint16_t found = FindAppointment(f, id, a);
        if (found == kQdbNotFound) return Gathered::kGone;
        if (found != kQdbOk || !ReadLinks(f, id, links)) return Gathered::kFailed;
        RecordLockSet locks(f.S());
        uint32_t key = id;
        locks.Add(f.appointments.Handle(), kAppointmentFile, kApptByIdKey, &key, sizeof key);
        for (const CareKey& k : links->care)
            locks.Add(f.care.Handle(), kContinuingCareFile, kContinuingCareByPatientKey, &k, sizeof k);
        for (const LabKey& k : links->labs) locks.Add(f.labs.Handle(), kLabCaseFile, kLabCaseKey, &k, sizeof k);
        want(*a, locks);
        if (!locks.TakeAll()) return Gathered::kFailed;
        AppointmentRecord again{};
        const uint16_t refound = FindAppointment(f, id, &again);
        if (refound == kQdbNotFound) {
            QDB_LKISAM(f.S(), 1);
            return Gathered::kGone;
        }
        Links links_again;
        if (refound != kQdbOk || !ReadLinks(f, id, &links_again)) return Gathered::kFailed;
        if (std::memcmp(&again, a, sizeof again) == 0 && links_again == *links) return Gathered::kLocked;
        QDB_LKISAM(f.S(), 1);  // changed between the reads: gather anew
    }
    ShowRefusal(kChangedElsewhere);
    return Gathered::kFailed;
}

bool Fail(const ActionFiles& f, DbMessageKind kind, int data_file) {
    ReportChangeFailure(f.S(), kind, data_file);
    return false;
}

bool ReadFailed(const ActionFiles& f, int data_file) {
    DbReportError(data_file, QDB_GetLastErrorNum(f.S()), QDB_GetLastFileNum(f.S()));
    return false;
}

bool RewriteAppointment(const ActionFiles& f, const AppointmentRecord& record) {
    uint32_t id = record.id;
    if (QDB_FindRec(f.appointments.Handle(), kApptByIdKey, &id, nullptr) && QDB_WriteRec(f.appointments.Handle(), &record))
        return true;
    return Fail(f, kDbMsgWrite, kAppointmentFile);
}

bool WriteAudit(const ActionFiles& f, const AppointmentRecord* after, const AppointmentRecord* before) {
    const std::vector<uint8_t> entry = ApptAuditEntry(after, before);
    if (QDB_AddVRec(f.audit.Handle(), entry.data(), static_cast<int>(entry.size()))) return true;
    return Fail(f, kDbMsgWrite, kAuditFile);
}

bool WritePatientNote(const ActionFiles& f, uint8_t kind, const char* title, const AppointmentRecord& a) {
    if (DOCUTILS_WriteEntireNoteSTD(f.notes.Handle(), kind, a.patientId, title, a)) return true;
    return Fail(f, kDbMsgWrite, kNoteFile);
}

// A record found by its key is deleted; one not there is fine.
bool DeleteIfThere(const ActionFiles& f, QdbFile file, int data_file, int key, const void* key_buffer) {
    if (QDB_FindRec(file, key, key_buffer, nullptr)) return QDB_DeleteCurRec(file) != 0 || Fail(f, kDbMsgDelete, data_file);
    if (QDB_GetLastErrorNum(f.S()) == kQdbNotFound) return true;
    return ReadFailed(f, data_file);
}

// The writes in one transaction of the session; a failure (reported) leaves everything as it was.
bool CommitOn(QdbSession session, int data_file, const std::function<bool()>& writes) {
    if (!QDB_BeginTransaction(session)) return ReportChangeFailure(session, kDbMsgWrite, data_file), false;
    if (!writes()) {
        QDB_AbortTransaction(session);
        return false;
    }
    if (!QDB_CommitTransaction(session)) return ReportChangeFailure(session, kDbMsgWrite, data_file), false;
    return true;
}

bool Commit(const ActionFiles& f, const std::function<bool()>& writes) { return CommitOn(f.S(), kAppointmentFile, writes); }

// What the removal of an appointment writes besides the appointment's own deletion: its note,
// its week share (when weeks holds its records), the care links, the lab links, the new-patient
// record. The weeks were read and changed in memory already.
bool WriteRemovalOfLinks(const ActionFiles& f, const AppointmentRecord& a, const Links& links, const WeekRecords* weeks) {
    const NoteKey note{kNoteAppointment, a.id};
    if (!DeleteIfThere(f, f.notes.Handle(), kNoteFile, kNoteKey, &note)) return false;
    if (weeks && !weeks->Write(f.rscuse.Handle())) return Fail(f, kDbMsgWrite, kRscUseFile);
    for (const CareKey& k : links.care) {
        ContinuingCareRecord c{};
        if (!QDB_FindRec(f.care.Handle(), kContinuingCareByPatientKey, &k, &c)) return ReadFailed(f, kContinuingCareFile);
        c.appointmentId = 0;
        if (!QDB_WriteRec(f.care.Handle(), &c)) return Fail(f, kDbMsgWrite, kContinuingCareFile);
    }
    for (const LabKey& k : links.labs)
        if (!DeleteIfThere(f, f.labs.Handle(), kLabCaseFile, kLabCaseKey, &k)) return false;
    return true;
}

bool DeleteAppointmentRecord(const ActionFiles& f, const AppointmentRecord& a) {
    uint32_t id = a.id;
    if (!DeleteIfThere(f, f.appointments.Handle(), kAppointmentFile, kApptByIdKey, &id)) return false;
    if (a.patientId == 0 && a.newPatientId != 0) {
        uint32_t np = a.newPatientId;
        if (!DeleteIfThere(f, f.newPatients.Handle(), kNewPatientFile, kNewPatientKey, &np)) return false;
    }
    return true;
}

// The locks of the removal of an appointment: its note, new-patient record, week records.
void WantRemoval(const ActionFiles& f, const AppointmentRecord& a, RecordLockSet& locks, WeekRecords* weeks,
                 NoteKey* note, uint32_t* new_patient) {
    *note = NoteKey{kNoteAppointment, a.id};
    locks.Add(f.notes.Handle(), kNoteFile, kNoteKey, note, sizeof *note);
    if (a.patientId == 0 && a.newPatientId != 0) {
        *new_patient = a.newPatientId;
        locks.Add(f.newPatients.Handle(), kNewPatientFile, kNewPatientKey, new_patient, sizeof *new_patient);
    }
    if (weeks) weeks->Want(a, f.rscuse.Handle(), locks);
}

}  // namespace

AppointmentRecord BrokenCopy(const AppointmentRecord& a) {
    AppointmentRecord b = a;
    b.listDate = a.date;
    b.date = 0;
    b.unscheduled = 1;
    b.operatoryMarker = 0;
    std::memset(b.operatory, 0, sizeof b.operatory);
    b.hour = 0;
    b.minute = 0;
    b.startUnit = 0;
    b.status = kStatusBroken;
    return b;
}

ApptChangeResult BreakStoredAppointment(uint32_t id, AppointmentRecord* before) {
    ActionFiles f;
    if (!f.Open()) return ApptChangeResult::kFailed;
    Links links;
    WeekRecords weeks;
    NoteKey patient_note{};
    uint32_t patient_key = 0;
    const Gathered g = GatherAndLock(f, id, before, &links, [&](const AppointmentRecord& a, RecordLockSet& locks) {
        weeks = WeekRecords{};
        if (a.date != 0) weeks.Want(a, f.rscuse.Handle(), locks);
        if (a.patientId == 0) return;
        patient_key = a.patientId;
        locks.Add(f.patients.Handle(), kPatientFile, kPatientByIdKey, &patient_key, sizeof patient_key);
        patient_note = NoteKey{kNoteBrokenAppointment, a.patientId};
        locks.Add(f.notes.Handle(), kNoteFile, kNoteKey, &patient_note, sizeof patient_note);
    });
    if (g != Gathered::kLocked) return ApptChangeResult::kFailed;
    const AppointmentRecord& a = *before;
    if (a.date != 0) {
        if (!weeks.Read(f.S(), f.rscuse.Handle())) return ApptChangeResult::kFailed;
        TakeOutOccupancy(weeks, a);  // a week record missing already has nothing of it to lose
    }
    PatientRecord patient{};
    bool has_patient = false;
    if (a.patientId != 0) {
        uint32_t pid = a.patientId;
        has_patient = QDB_FindRec(f.patients.Handle(), kPatientByIdKey, &pid, &patient) != 0;
        if (!has_patient && QDB_GetLastErrorNum(f.S()) != kQdbNotFound) {
            DbReportError(kPatientFile, QDB_GetLastErrorNum(f.S()), QDB_GetLastFileNum(f.S()));
            return ApptChangeResult::kFailed;
        }
    }
    const AppointmentRecord broken = BrokenCopy(a);
    const bool done = Commit(f, [&] {
        if (!RewriteAppointment(f, broken) || !WriteAudit(f, &broken, &a)) return false;
        if (a.date != 0 && !weeks.Write(f.rscuse.Handle())) return Fail(f, kDbMsgWrite, kRscUseFile);
        if (!has_patient) return true;
        uint32_t pid = a.patientId;
        ++patient.brokenCount;
        patient.lastBrokenDate = a.date;
        if (!QDB_FindRec(f.patients.Handle(), kPatientByIdKey, &pid, nullptr) || !QDB_WriteRec(f.patients.Handle(), &patient))
            return Fail(f, kDbMsgWrite, kPatientFile);
        return WritePatientNote(f, kNoteBrokenAppointment, kBrokenTitle, a);
    });
    return done ? ApptChangeResult::kDone : ApptChangeResult::kFailed;
}

ApptChangeResult DeleteStoredAppointment(uint32_t id, AppointmentRecord* before) {
    ActionFiles f;
    if (!f.Open()) return ApptChangeResult::kFailed;
    Links links;
    WeekRecords weeks;
    NoteKey note{};
    uint32_t new_patient = 0;
    const Gathered g = GatherAndLock(f, id, before, &links, [&](const AppointmentRecord& a, RecordLockSet& locks) {
        weeks = WeekRecords{};
        WantRemoval(f, a, locks, a.date != 0 ? &weeks : nullptr, &note, &new_patient);
    });
    if (g != Gathered::kLocked) return ApptChangeResult::kFailed;
    const AppointmentRecord& a = *before;
    if (a.date != 0) {
        if (!weeks.Read(f.S(), f.rscuse.Handle())) return ApptChangeResult::kFailed;
        TakeOutOccupancy(weeks, a);
    }
    const bool done = Commit(f, [&] {
        return WriteRemovalOfLinks(f, a, links, a.date != 0 ? &weeks : nullptr) && WriteAudit(f, nullptr, &a) &&
               DeleteAppointmentRecord(f, a);
    });
    return done ? ApptChangeResult::kDone : ApptChangeResult::kFailed;
}

ApptChangeResult SetStoredAppointmentStatus(uint32_t id, uint8_t status, AppointmentRecord* before) {
    ActionFiles f;
    if (!f.Open()) return ApptChangeResult::kFailed;
    Links links;
    const Gathered g = GatherAndLock(f, id, before, &links, [](const AppointmentRecord&, RecordLockSet&) {});
    if (g != Gathered::kLocked) return ApptChangeResult::kFailed;
    AppointmentRecord changed = *before;
    changed.status = status;
    return Commit(f, [&] { return RewriteAppointment(f, changed); }) ? ApptChangeResult::kDone : ApptChangeResult::kFailed;
}

namespace {

constexpr int kCareIntervalUnset = 6;  // months, as a new continuing care record gets

bool IsPlannedSlot(const AppointmentRecord& a, int slot) { return a.reasonKinds[slot] == kReasonIsProcedure; }

// The ids the new procedures of the chosen code reasons will take, handed out before anything is
// locked (the counter has its own lock). False when the counter failed (reported).
bool TakeProcedureIds(const CompletionRequest& r, std::vector<uint32_t>* ids) {
    int wanted = 0;
    for (int slot : r.slots) {
        if (slot < 0 || slot >= kReasonSlots || IsPlannedSlot(r.shown, slot)) continue;
        if (const ProcedureCodeRecord* code = FindCode(r.codes, r.shown.reasons[slot]))
            wanted += ProceduresPostedBy(*code, r.codes);
    }
    for (int i = 0; i < wanted; ++i) {
        const uint32_t id = NextRecordId(kProcedureIdCounter);
        if (id == 0) return false;
        ids->push_back(id);
    }
    return true;
}

// The latest date of the patient's completed procedures on file (0 when none); false after a
// failure of the engine (reported).
bool LatestCompletedOnFile(const ActionFiles& f, QdbFile procedures, uint32_t patient_id, int32_t* latest) {
#pragma pack(push, 1)
    struct {
        uint32_t patientId;
        uint8_t kind;
    } key{patient_id, kProcedureCompleted};
#pragma pack(pop)
    *latest = 0;
    ProcedureRecord p{};
    const QdbSet set = QDB_StartSet(procedures, kProcedureByPatientKey, 0, &key, &p, sizeof key);
    for (bool more = set != 0; more; more = QDB_NextRecInSet(set, &p) != 0) *latest = std::max(*latest, +p.date);
    if (set) QDB_EndSet(set);
    const uint16_t result = QDB_GetLastErrorNum(f.S());
    return result == kQdbOk || result == kQdbNotFound || ReadFailed(f, kProcedureFile);
}

}  // namespace

ApptChangeResult CompleteStoredAppointment(const CompletionRequest& r, CompletionOutcome* out) {
    ActionFiles f;
    if (!f.Open()) return ApptChangeResult::kFailed;
    QdbOpenedFile procedures(f.S(), kProcedureFile);
    if (!procedures.Handle()) {
        ReportChangeFailure(f.S(), kDbMsgOpen, kProcedureFile);
        return ApptChangeResult::kFailed;
    }
    Postings postings;
    if (!TakeProcedureIds(r, &postings.newIds)) return ApptChangeResult::kFailed;
    Links links;
    uint32_t patient_key = 0;
    std::vector<uint32_t> planned_keys;
    const uint32_t id = r.shown.id;
    const Gathered g = GatherAndLock(f, id, &out->before, &links, [&](const AppointmentRecord& a, RecordLockSet& locks) {
        patient_key = a.patientId;
        if (a.patientId != 0) locks.Add(f.patients.Handle(), kPatientFile, kPatientByIdKey, &patient_key, sizeof patient_key);
        planned_keys.clear();
        for (int slot : r.slots)
            if (slot >= 0 && slot < kReasonSlots && IsPlannedSlot(a, slot)) planned_keys.push_back(+a.reasons[slot]);
        for (const uint32_t& k : planned_keys) locks.Add(procedures.Handle(), kProcedureFile, kProcedureByIdKey, &k, sizeof k);
        for (const uint32_t& k : postings.newIds) locks.Add(procedures.Handle(), kProcedureFile, kProcedureByIdKey, &k, sizeof k);
    });
    if (g != Gathered::kLocked) return ApptChangeResult::kFailed;
    const AppointmentRecord& a = out->before;
    if (std::memcmp(&a, &r.shown, sizeof a) != 0 || a.patientId == 0) {
        ShowRefusal(kChangedElsewhere);
        return ApptChangeResult::kFailed;
    }
    PatientRecord patient{};
    if (!QDB_FindRec(f.patients.Handle(), kPatientByIdKey, &patient_key, &patient)) {
        ReadFailed(f, kPatientFile);
        return ApptChangeResult::kFailed;
    }

    PostingContext context;
    context.patientId = a.patientId;
    context.guarantorId = patient.guarantorId;
    context.feeSchedule = patient.feeSchedule;
    context.patientReferred = patient.referralId != 0;
    context.appointmentId = a.id;
    std::memcpy(context.provider, a.provider, sizeof context.provider);
    context.date = a.date != 0 ? a.date : r.today;

    AppointmentRecord done = a;
    for (int slot : r.slots) {
        if (slot < 0 || slot >= kReasonSlots || a.reasons[slot] == 0) continue;
        const uint32_t reason = a.reasons[slot];
        if (IsPlannedSlot(a, slot)) {
            ProcedureRecord planned{};
            uint32_t key = reason;
            const bool found = QDB_FindRec(procedures.Handle(), kProcedureByIdKey, &key, &planned) != 0;
            if (!found && QDB_GetLastErrorNum(f.S()) != kQdbNotFound) {
                ReadFailed(f, kProcedureFile);
                return ApptChangeResult::kFailed;
            }
            if (PostReason(context, PostKind::kPlanned, reason, found ? &planned : nullptr, r.codes, &postings) != 0) ++out->posted;
            continue;
        }
        const int64_t posted = PostReason(context, PostKind::kCode, reason, nullptr, r.codes, &postings);
        if (posted == 0) continue;
        ++out->posted;
        if (posted < 0) continue;
        for (int s = 0; s < kReasonSlots; ++s)
            if (done.reasons[s] == reason && done.reasonKinds[s] != kReasonIsProcedure) {
                done.reasons[s] = static_cast<uint32_t>(posted);
                done.reasonKinds[s] = kReasonIsProcedure;
                break;
            }
    }
    out->recap = postings.referred && r.askRecap && r.askRecap();
    done.status = kStatusComplete;

    bool patient_changed = false;
    if (out->posted > 0 && patient.lastCompletedDate < r.today) {
        int32_t latest = 0;
        if (!LatestCompletedOnFile(f, procedures.Handle(), a.patientId, &latest)) return ApptChangeResult::kFailed;
        for (const ProcedureRecord& p : postings.added) latest = std::max(latest, +p.date);
        for (const ProcedureRecord& p : postings.completed) latest = std::max(latest, +p.date);
        if (latest > patient.lastCompletedDate) {
            patient.lastCompletedDate = latest;
            patient_changed = true;
        }
    }
    const bool written = Commit(f, [&] {
        for (const ProcedureRecord& p : postings.completed) {
            uint32_t key = p.id;
            if (!QDB_FindRec(procedures.Handle(), kProcedureByIdKey, &key, nullptr) || !QDB_WriteRec(procedures.Handle(), &p))
                return Fail(f, kDbMsgWrite, kProcedureFile);
        }
        for (const ProcedureRecord& p : postings.added)
            if (!QDB_AddRec(procedures.Handle(), &p)) return Fail(f, kDbMsgWrite, kProcedureFile);
        for (const CareKey& k : links.care) {
            ContinuingCareRecord c{};
            if (!QDB_FindRec(f.care.Handle(), kContinuingCareByPatientKey, &k, &c)) return ReadFailed(f, kContinuingCareFile);
            const auto& met = postings.careTypesMet;
            if (std::find(met.begin(), met.end(), +c.type) == met.end()) continue;
            c.lastDate = context.date;
            c.dueDate = QVN_AddMonths(context.date, c.intervalMonths ? c.intervalMonths : kCareIntervalUnset);
            c.appointmentId = 0;
            if (!QDB_WriteRec(f.care.Handle(), &c)) return Fail(f, kDbMsgWrite, kContinuingCareFile);
        }
        if (!RewriteAppointment(f, done)) return false;
        if (!patient_changed) return true;
        if (!QDB_FindRec(f.patients.Handle(), kPatientByIdKey, &patient_key, nullptr) || !QDB_WriteRec(f.patients.Handle(), &patient))
            return Fail(f, kDbMsgWrite, kPatientFile);
        return true;
    });
    return written ? ApptChangeResult::kDone : ApptChangeResult::kFailed;
}

namespace {

// Tells the progress how long a step took, at the end of its scope (or at Stop).
class StepTimer {
public:
    StepTimer(PurgeProgress& progress, PurgeStep step)
        : progress_(progress), step_(step), started_(std::chrono::steady_clock::now()) {}
    ~StepTimer() { Stop(); }
    StepTimer(const StepTimer&) = delete;
    StepTimer& operator=(const StepTimer&) = delete;
    void Stop() {
        if (stopped_) return;
        stopped_ = true;
        progress_.Took(step_, std::chrono::steady_clock::now() - started_);
    }

private:
    PurgeProgress& progress_;
    PurgeStep step_;
    std::chrono::steady_clock::time_point started_;
    bool stopped_ = false;
};

// CommitOn with the writes and the commit timed apart.
bool CommitTimed(QdbSession session, int data_file, PurgeProgress& progress, PurgeStep writes_step,
                 PurgeStep commit_step, const std::function<bool()>& writes) {
    if (!QDB_BeginTransaction(session)) return ReportChangeFailure(session, kDbMsgWrite, data_file), false;
    StepTimer writing(progress, writes_step);
    if (!writes()) {
        QDB_AbortTransaction(session);
        return false;
    }
    writing.Stop();
    StepTimer committing(progress, commit_step);
    if (!QDB_CommitTransaction(session)) return ReportChangeFailure(session, kDbMsgWrite, data_file), false;
    return true;
}

// One appointment of the purge, whole or not at all; the locks are given back afterwards.
bool PurgeOne(const ActionFiles& f, uint32_t id, int32_t cutoff, int32_t cutoff_week) {
    Links links;
    WeekRecords weeks;
    NoteKey note{};
    NoteKey patient_note{};
    uint32_t new_patient = 0;
    AppointmentRecord a{};
    bool in_cutoff_week = false;
    const Gathered g = GatherAndLock(f, id, &a, &links, [&](const AppointmentRecord& seen, RecordLockSet& locks) {
        weeks = WeekRecords{};
        in_cutoff_week = seen.date >= cutoff_week;
        WantRemoval(f, seen, locks, in_cutoff_week ? &weeks : nullptr, &note, &new_patient);
        if (seen.patientId == 0) return;
        patient_note = NoteKey{kNotePurgedAppointment, seen.patientId};
        locks.Add(f.notes.Handle(), kNoteFile, kNoteKey, &patient_note, sizeof patient_note);
    });
    struct Release {
        QdbSession s;
        ~Release() { QDB_LKISAM(s, 1); }
    } release{f.S()};
    if (g != Gathered::kLocked) return false;
    // Changed under way to something the purge keeps.
    if (a.date == 0 || a.date >= cutoff || a.unscheduled) return false;
    if (in_cutoff_week) {
        if (!weeks.Read(f.S(), f.rscuse.Handle())) return false;
        TakeOutOccupancy(weeks, a);
    }
    return Commit(f, [&] {
        if (!WriteRemovalOfLinks(f, a, links, in_cutoff_week ? &weeks : nullptr) || !DeleteAppointmentRecord(f, a))
            return false;
        return a.patientId == 0 || WritePatientNote(f, kNotePurgedAppointment, kPurgedTitle, a);
    });
}

bool Purgeable(const AppointmentRecord& a, int32_t cutoff) { return a.date != 0 && a.date < cutoff && !a.unscheduled; }

// Appointments before the cutoff's week, removed together in one transaction: every record lock of
// every one of them is taken first, in the one order, then each is read again and compared, and
// all that are as first read go at once, each whole as PurgeOne takes it. One changed between the
// reads is handed back in alone, to go by itself afterwards (as does one found moved into the
// cutoff's week, whose share of the week records has to come out). Once the writes reach the
// deadline (when there is one) the appointments written so far are committed and the rest are
// handed back in left, for the next batch, which locks and reads them afresh. The number purged;
// 0 and nothing changed after a failure (reported) or Cancel at a lock.
int PurgeBatch(const ActionFiles& f, const std::vector<uint32_t>& ids, int32_t cutoff, int32_t cutoff_week,
               std::optional<std::chrono::steady_clock::time_point> deadline,
               const std::function<std::chrono::steady_clock::time_point()>& now, std::vector<uint32_t>* alone,
               std::vector<uint32_t>* left, PurgeProgress& progress) {
    struct Seen {
        AppointmentRecord a{};
        Links links;
    };
    std::vector<Seen> seen;
    seen.reserve(ids.size());
    RecordLockSet locks(f.S());
    StepTimer reading(progress, PurgeStep::kBatchRead);
    DbReadSnapshot first_reads(f.S());
    for (const uint32_t id : ids) {
        Seen s;
        const uint16_t found = FindAppointment(f, id, &s.a);
        if (found == kQdbNotFound) continue;
        if (found != kQdbOk || !ReadLinks(f, id, &s.links)) return 0;
        if (!Purgeable(s.a, cutoff)) continue;
        if (s.a.date >= cutoff_week) {
            alone->push_back(id);
            continue;
        }
        const uint32_t key = id;
        locks.Add(f.appointments.Handle(), kAppointmentFile, kApptByIdKey, &key, sizeof key);
        for (const CareKey& k : s.links.care)
            locks.Add(f.care.Handle(), kContinuingCareFile, kContinuingCareByPatientKey, &k, sizeof k);
        for (const LabKey& k : s.links.labs) locks.Add(f.labs.Handle(), kLabCaseFile, kLabCaseKey, &k, sizeof k);
        NoteKey note{};
        uint32_t new_patient = 0;
        WantRemoval(f, s.a, locks, nullptr, &note, &new_patient);
        if (s.a.patientId != 0) {
            const NoteKey patient_note{kNotePurgedAppointment, s.a.patientId};
            locks.Add(f.notes.Handle(), kNoteFile, kNoteKey, &patient_note, sizeof patient_note);
        }
        seen.push_back(std::move(s));
    }
    first_reads.End();
    reading.Stop();
    if (seen.empty()) return 0;
    struct Release {
        QdbSession s;
        ~Release() { QDB_LKISAM(s, 1); }
    } release{f.S()};
    StepTimer locking(progress, PurgeStep::kBatchLocks);
    if (!locks.TakeAll()) return 0;
    locking.Stop();
    StepTimer rereading(progress, PurgeStep::kBatchRead);
    DbReadSnapshot reads_under_locks(f.S());  // begun after the locks: it sees every change made before them
    std::vector<const Seen*> going;
    for (const Seen& s : seen) {
        AppointmentRecord again{};
        const uint16_t refound = FindAppointment(f, s.a.id, &again);
        if (refound == kQdbNotFound) continue;
        Links links_again;
        if (refound != kQdbOk || !ReadLinks(f, s.a.id, &links_again)) return 0;
        if (std::memcmp(&again, &s.a, sizeof again) == 0 && links_again == s.links)
            going.push_back(&s);
        else
            alone->push_back(+s.a.id);
    }
    reads_under_locks.End();
    rereading.Stop();
    if (going.empty()) return 0;
    size_t done = 0;
    const bool written = CommitTimed(f.S(), kAppointmentFile, progress, PurgeStep::kBatchWrites, PurgeStep::kBatchCommit, [&] {
        for (; done < going.size(); ++done) {
            if (done > 0 && deadline && now() >= *deadline) break;
            const AppointmentRecord& a = going[done]->a;
            if (!WriteRemovalOfLinks(f, a, going[done]->links, nullptr) || !DeleteAppointmentRecord(f, a)) return false;
            if (a.patientId != 0 && !WritePatientNote(f, kNotePurgedAppointment, kPurgedTitle, a)) return false;
        }
        return true;
    });
    if (!written) return 0;  // the rest stay with the failed batch's
    for (size_t i = done; i < going.size(); ++i) left->push_back(+going[i]->a.id);
    return static_cast<int>(done);
}

// Week records before the cutoff's week, deleted together in one transaction: every one is locked
// first (by key, in the one order), found again under its lock and deleted; one gone meanwhile is
// passed over. The number deleted; -1 after a failure (reported) or Cancel at a lock, and then
// none of them is deleted.
int PurgeWeekBatch(QdbSession session, QdbFile rscuse, const std::vector<RscUseKey>& keys, PurgeProgress& progress) {
    RecordLockSet locks(session);
    for (const RscUseKey& k : keys) locks.Add(rscuse, kRscUseFile, kRscUseKey, &k, sizeof k);
    struct Release {
        QdbSession s;
        ~Release() { QDB_LKISAM(s, 1); }
    } release{session};
    StepTimer locking(progress, PurgeStep::kWeekLocks);
    if (!locks.TakeAll()) return -1;
    locking.Stop();
    int deleted = 0;
    const bool written = CommitTimed(session, kRscUseFile, progress, PurgeStep::kWeekWrites, PurgeStep::kWeekCommit, [&] {
        for (const RscUseKey& k : keys) {
            if (!QDB_FindRec(rscuse, kRscUseKey, &k, nullptr)) {
                if (QDB_GetLastErrorNum(session) == kQdbNotFound) continue;
                DbReportError(kRscUseFile, QDB_GetLastErrorNum(session), QDB_GetLastFileNum(session));
                return false;
            }
            if (!QDB_DeleteCurRec(rscuse)) return ReportChangeFailure(session, kDbMsgDelete, kRscUseFile), false;
            ++deleted;
        }
        return true;
    });
    return written ? deleted : -1;
}

using Clock = std::chrono::steady_clock;

// The next records of a walk, read ahead in one read snapshot: the database's shared lock is
// taken once for them instead of once per record, and the snapshot is short (so many records or
// so long) because on a file database the other workstations' writes wait for its end.
template <typename Record>
class ReadAhead {
public:
    ReadAhead(QdbSession session, QdbFile walk, int data_file, const PurgeBatching& batching)
        : session_(session), walk_(walk), dataFile_(data_file),
          count_(static_cast<size_t>(std::max(1, batching.readsPerSnapshot))),
          budget_(std::chrono::milliseconds(std::max(0, batching.millisecondsPerRead))), now_(batching.now) {}

    // The next record into *record; false at the end of the walk (Result() says how it ended).
    bool Next(Record* record, PurgeProgress& progress, PurgeStep step) {
        if (next_ == records_.size() && !ended_) Fill(progress, step);
        if (next_ == records_.size()) return false;
        *record = records_[next_++];
        return true;
    }
    // Whether the record handed out last is the last one read ahead: the next one is read afresh.
    bool AtRefill() const { return next_ == records_.size(); }
    // Whether the record handed out last was the walk's last.
    bool AtEnd() const { return next_ == records_.size() && ended_; }
    uint16_t Result() const { return result_; }

private:
    void Fill(PurgeProgress& progress, PurgeStep step) {
        StepTimer timer(progress, step);
        records_.clear();
        next_ = 0;
        DbReadSnapshot snapshot(session_);
        const Clock::time_point started = now_();
        Record r{};
        while (records_.size() < count_) {
            const int got = started_ ? QDB_NextRec(walk_, dataFile_, &r) : QDB_FirstRec(walk_, dataFile_, &r);
            started_ = true;
            if (!got) {
                // Taken before the end of the snapshot sets the session's last result anew.
                result_ = QDB_GetLastErrorNum(session_);
                ended_ = true;
                break;
            }
            records_.push_back(r);
            if (budget_.count() > 0 && now_() - started >= budget_) break;
        }
    }

    QdbSession session_;
    QdbFile walk_;
    int dataFile_;
    size_t count_;
    Clock::duration budget_;
    std::function<Clock::time_point()> now_;
    std::vector<Record> records_;
    size_t next_ = 0;
    bool started_ = false;
    bool ended_ = false;
    uint16_t result_ = kQdbOk;
};

}  // namespace

int PurgeBatchLimit::Next() const { return next_; }

void PurgeBatchLimit::Took(int records, std::chrono::steady_clock::duration took) {
    if (budget_.count() <= 0 || records <= 0) return;
    const double per_record = std::chrono::duration<double>(took).count() / records;
    const double fitting = per_record > 0 ? std::chrono::duration<double>(budget_).count() / per_record : cap_;
    if (took > budget_) next_ = static_cast<int>(std::clamp<double>(fitting, 1, cap_));
    // A batch ended early (at the read-ahead) says little: its commit's share per record is larger.
    else if (records >= next_) next_ = static_cast<int>(std::clamp<double>(std::min(fitting, 2.0 * records), 1, cap_));
}

PurgeOutcome PurgeStoredAppointments(int32_t cutoff, PurgeProgress& progress, const PurgeBatching& batching) {
    PurgeOutcome out;
    const int32_t cutoff_week = WeekStartOf(cutoff);
    const Clock::duration batch_budget = std::chrono::milliseconds(std::max(0, batching.millisecondsPerBatch));
    const std::function<Clock::time_point()>& now = batching.now;
    {
        ActionFiles f;
        if (!f.Open()) return out;
        QdbOpenedFile walk(f.S(), kAppointmentFile);
        ReadAhead<AppointmentRecord> ahead(f.S(), walk.Handle(), kAppointmentFile, batching);
        PurgeBatchLimit limit(batching.appointments, batch_budget);
        std::vector<uint32_t> batch, alone;
        Clock::time_point batch_started{};
        const auto purge_alone = [&](uint32_t id) {
            StepTimer timer(progress, PurgeStep::kAlone);
            if (PurgeOne(f, id, cutoff, cutoff_week)) ++out.appointmentsPurged;
        };
        // What a batch cut short at its deadline left goes in the next, counted after the one before.
        const auto end_batch = [&] {
            while (!batch.empty()) {
                const Clock::time_point started = now();
                // The writes stop at half the budget: the commit after them needs about as long again.
                std::optional<Clock::time_point> deadline;
                if (batch_budget.count() > 0) deadline = started + batch_budget / 2;
                std::vector<uint32_t> left;
                out.appointmentsPurged += PurgeBatch(f, batch, cutoff, cutoff_week, deadline, now, &alone, &left, progress);
                limit.Took(static_cast<int>(batch.size() - left.size()), now() - started);
                batch.swap(left);
                if (!batch.empty()) progress.Counted(out.appointmentsPurged, out.appointmentsRead);
            }
            for (const uint32_t id : alone) purge_alone(id);
            alone.clear();
        };
        // A batch also ends before the next records are read ahead, so that the reading and a
        // batch's writing never fall between the same two counts.
        const auto batch_due = [&] {
            if (batch.empty()) return false;
            if (ahead.AtRefill() || static_cast<int>(batch.size()) >= limit.Next()) return true;
            return batch_budget.count() > 0 && now() - batch_started >= batch_budget;
        };
        AppointmentRecord a{};
        bool more = walk.Handle() && ahead.Next(&a, progress, PurgeStep::kWalkRead);
        while (more) {
            ++out.appointmentsRead;
            if (progress.Cancelled()) {
                out.appointmentWalkCancelled = true;
                break;
            }
            if (Purgeable(a, cutoff)) {
                if (a.date >= cutoff_week) {
                    purge_alone(a.id);  // its share of the cutoff's week comes out of the week records
                } else {
                    if (batch.empty()) batch_started = now();
                    batch.push_back(+a.id);
                }
            }
            // The last batch is written before the last count.
            if (ahead.AtEnd() || batch_due()) end_batch();
            progress.Counted(out.appointmentsPurged, out.appointmentsRead);
            more = ahead.Next(&a, progress, PurgeStep::kWalkRead);
        }
        end_batch();  // after Cancel: what was gathered goes whole before the walk stops
        const uint16_t walk_result = walk.Handle() ? ahead.Result() : QDB_GetLastErrorNum(f.S());
        if (!out.appointmentWalkCancelled && walk_result != kQdbNotFound && walk_result != kQdbOk)
            DbReportError(kAppointmentFile, walk_result, kAppointmentFile);
    }
    QdbPrivateSession session{DbStartOwnSession(kRscUseFile)};
    QdbOpenedFile rscuse(session.Handle(), kRscUseFile);
    if (!rscuse.Handle()) {
        if (session.Handle()) ReportChangeFailure(session.Handle(), kDbMsgOpen, kRscUseFile);
        return out;
    }
    QdbOpenedFile walk(session.Handle(), kRscUseFile);
    ReadAhead<RscUseWeek> ahead(session.Handle(), walk.Handle(), kRscUseFile, batching);
    PurgeBatchLimit limit(batching.weeks, batch_budget);
    std::vector<RscUseKey> gathered;
    bool week_batch_failed = false;
    const auto end_week_batch = [&] {
        if (gathered.empty() || week_batch_failed) return;
        const Clock::time_point started = now();
        const int deleted = PurgeWeekBatch(session.Handle(), rscuse.Handle(), gathered, progress);
        limit.Took(static_cast<int>(gathered.size()), now() - started);
        gathered.clear();
        if (deleted < 0) week_batch_failed = true;  // told already; the walk stops with nothing of the batch changed
        else out.weeksPurged += deleted;
    };
    RscUseWeek week{};
    bool more = walk.Handle() && ahead.Next(&week, progress, PurgeStep::kWeekRead);
    while (more && !week_batch_failed) {
        ++out.weeksRead;
        if (progress.Cancelled()) {
            out.weekWalkCancelled = true;
            break;
        }
        const int32_t week_start = static_cast<int32_t>(week.head.week);
        if (week_start != 0 && week_start < cutoff_week) {
            RscUseKey key{week.head.kind, {}, week.head.week};
            std::memcpy(key.id, week.head.id, 4);
            gathered.push_back(key);
        }
        // As in the appointment walk: the last batch goes before the last count, and a batch ends
        // before the next records are read ahead.
        if (!gathered.empty() && (ahead.AtRefill() || static_cast<int>(gathered.size()) >= limit.Next())) end_week_batch();
        progress.Counted(out.weeksPurged, out.weeksRead);
        more = ahead.Next(&week, progress, PurgeStep::kWeekRead);
    }
    end_week_batch();  // after Cancel: what was gathered goes whole before the walk stops
    const uint16_t result = walk.Handle() ? ahead.Result() : QDB_GetLastErrorNum(session.Handle());
    if (!out.weekWalkCancelled && !week_batch_failed && result != kQdbNotFound && result != kQdbOk)
        DbReportError(kRscUseFile, result, kRscUseFile);
    return out;
}
