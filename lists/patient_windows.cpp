// The patient's picture, referrals and alerts as the small windows of this program show them.
#include "lists/patient_windows.h"

#include <cstdio>
#include <cstring>

#include "data/appointment_record.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/record_locks.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/notes.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/users.h"
#include "suite/referral.h"
#include "suite/settings.h"

const char kAlertsChangedElsewhere[] =
    "The patient's alerts have been changed at another workstation during edit. Edit canceled!";
const char kAlertsPatientGone[] = "The patient is no longer on file. The alerts were not saved.";

namespace {

constexpr char kModulesSection[] = "MODULES";

char SeparatorOf(const std::string& path) { return path.find('\\') != std::string::npos ? '\\' : '/'; }

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += SeparatorOf(folder);
    return folder;
}

std::string NameOf(const PatientRecord& p) {
    const std::string name = PatientPackedName(p);
    return name.empty() ? "patient " + std::to_string(p.id) : name;
}

// The name of whoever referred an appointment's patient: another patient or a referral source.
std::string ReferrerName(const AppointmentRecord& a) {
    if (a.referredById == 0) return "";
    if (a.referredByKind == 0) {
        PatientRecord p{};
        return ReadPatient(a.referredById, &p) ? NameOf(p) + " (patient)" : "patient " + std::to_string(a.referredById);
    }
    ReferralRecord r{};
    return REFERRAL_ReadSource(a.referredById, &r) ? REFERRAL_SourceName(r) : "referral source " + std::to_string(a.referredById);
}

// The stored alert note of the patient on a private session: whether there is one, its text.
bool ReadAlertNote(QdbFile notes, const NoteKey& key, bool* exists, std::string* text) {
    NoteHead head{};
    *exists = QDB_FindRec(notes, kNoteKey, &key, &head) != 0;
    text->clear();
    if (!*exists) return true;
    std::vector<char> buffer(sizeof(NoteHead) + kNoteTextLimit + 1, '\0');
    if (!QDB_ReadEntireVarRec(notes, buffer.data(), static_cast<int>(buffer.size()) - 1)) return false;
    const char* stored = buffer.data() + sizeof(NoteHead);
    text->assign(stored, strnlen(stored, kNoteTextLimit));
    return true;
}

}  // namespace

// --- Patient Picture ------------------------------------------------------------------------

std::string PicturesFolder() {
    const std::string configured = QVN_ReadProfileText(kModulesSection, "Pictures", "");
    if (!configured.empty()) return WithSeparator(configured);
    const std::string data = QVN_GetDataPath();
    return data + "Pictures" + SeparatorOf(data);
}

std::string PatientPicturePath(const std::string& folder, uint32_t patient_id) {
    return WithSeparator(folder) + std::to_string(patient_id) + ".bmp";
}

bool PatientPictureOnFile(const std::string& folder, uint32_t patient_id) {
    if (patient_id == 0) return false;
    std::FILE* file = std::fopen(PatientPicturePath(folder, patient_id).c_str(), "rb");
    if (!file) return false;
    const bool has_bytes = std::fgetc(file) != EOF;
    std::fclose(file);
    return has_bytes;
}

std::string PictureWindowTitle(const std::string& patient_name) { return "Patient Picture - " + patient_name; }

std::string NoPictureMessage(const std::string& patient_name, const std::string& path) {
    return "There is no picture on file for " + patient_name + ".\n\nA patient's picture is the bitmap file " + path +
           ".";
}

std::string UnreadablePictureMessage(const std::string& path) {
    return "The picture " + path + " cannot be read. It is not a Windows bitmap (.bmp) file.";
}

// --- Patient Referrals ----------------------------------------------------------------------

PatientReferrals ReadPatientReferrals(uint32_t patient_id) {
    PatientReferrals out;
    PatientRecord p{};
    if (patient_id == 0 || !ReadPatient(patient_id, &p)) return out;
    out.patientFound = true;
    out.patientName = NameOf(p);
    out.sourceId = p.referralId;
    ReferralRecord source{};
    if (p.referralId != 0 && REFERRAL_ReadSource(p.referralId, &source)) {
        out.sourceFound = true;
        out.sourceName = REFERRAL_SourceName(source);
        out.sourcePhone = GetTrimmedText(source.phone);
    }
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id))
        if (a.referredById != 0) out.appointments.push_back({a.date, ReferrerName(a)});
    return out;
}

bool PatientHasReferral(uint32_t patient_id) {
    PatientRecord p{};
    return patient_id != 0 && ReadPatient(patient_id, &p) && p.referralId != 0;
}

std::string PatientReferralsText(const PatientReferrals& r) {
    if (!r.patientFound) return "The patient is not on file.";
    std::string text = "Referrals of " + r.patientName + "\n\n";
    if (r.sourceId == 0) {
        text += "Referred by: no referral source on file.\n";
    } else if (!r.sourceFound) {
        text += "Referred by: referral source " + std::to_string(r.sourceId) + ", which is no longer on file.\n";
    } else {
        text += "Referred by: " + r.sourceName + "\n";
        if (!r.sourcePhone.empty()) text += "Phone: " + r.sourcePhone + "\n";
    }
    if (r.appointments.empty()) return text;
    text += "\nAppointments that name a referral:\n";
    for (const PatientReferrals::Appointment& a : r.appointments)
        text += (a.date ? QVN_fmtDateString2000(a.date) : std::string("unscheduled")) + "  " + a.referrer + "\n";
    return text;
}

// --- The selected patient's facts -----------------------------------------------------------

namespace {
struct FactsCache {
    bool known = false;
    uint32_t patientId = 0;
    PatientFileFacts facts;
};
FactsCache facts_cache;
}  // namespace

PatientFileFacts ReadPatientFileFacts(uint32_t patient_id) {
    PatientFileFacts facts;
    if (patient_id == 0) return facts;
    facts.picture = PatientPictureOnFile(PicturesFolder(), patient_id);
    facts.referral = PatientHasReferral(patient_id);
    return facts;
}

PatientFileFacts CachedPatientFileFacts(uint32_t patient_id) {
    if (!facts_cache.known || facts_cache.patientId != patient_id)
        facts_cache = FactsCache{true, patient_id, ReadPatientFileFacts(patient_id)};
    return facts_cache.facts;
}

void ForgetPatientFileFacts() { facts_cache = FactsCache{}; }

// --- Patient Alerts -------------------------------------------------------------------------

AlertSetup LoadAlertSetup(uint32_t patient_id) {
    AlertSetup s;
    s.patientId = patient_id;
    PatientRecord p{};
    s.patientFound = patient_id != 0 && ReadPatient(patient_id, &p);
    s.patientName = s.patientFound ? NameOf(p) : "";
    const NoteRead note = ReadNote(kNotePatientAlert, patient_id);
    s.error = note.result;
    s.existed = note.exists;
    s.text = note.text;
    return s;
}

std::string NormalisedAlertText(const std::string& typed) {
    std::string text;
    for (size_t i = 0; i < typed.size(); ++i) {
        // Lone line feeds (pasted text) become the edit control's CR LF; lone CRs are dropped.
        if (typed[i] == '\n' && (i == 0 || typed[i - 1] != '\r')) text += '\r';
        if (typed[i] == '\r' && (i + 1 >= typed.size() || typed[i + 1] != '\n')) continue;
        text += typed[i];
    }
    const size_t end = text.find_last_not_of(" \t\r\n");
    text.erase(end == std::string::npos ? 0 : end + 1);
    if (text.size() > static_cast<size_t>(kNoteTextLimit) - 1) text.resize(static_cast<size_t>(kNoteTextLimit) - 1);
    return text;
}

AlertSave SavePatientAlerts(const AlertSetup& opened, const std::string& typed, int32_t today) {
    const std::string text = NormalisedAlertText(typed);
    if (text == opened.text) return AlertSave::kUnchanged;

    QdbPrivateSession session{DbStartOwnSession(kNoteFile)};
    const QdbSession s = session.Handle();
    if (!s) return AlertSave::kFailed;
    QdbOpenedFile patients(s, kPatientFile);
    QdbOpenedFile notes(s, kNoteFile);
    QdbOpenedFile audit(s, kAuditFile);
    for (auto [file, number] : {std::pair{patients.Handle(), kPatientFile}, {notes.Handle(), kNoteFile}, {audit.Handle(), kAuditFile}})
        if (!file) {
            ReportChangeFailure(s, kDbMsgOpen, number);
            return AlertSave::kFailed;
        }

    // The patient first, then the alert note: the files' order of every change.
    uint32_t patient_key = opened.patientId;
    const NoteKey note_key{kNotePatientAlert, opened.patientId};
    RecordLockSet locks(s);
    locks.Add(patients.Handle(), kPatientFile, kPatientByIdKey, &patient_key, sizeof patient_key);
    locks.Add(notes.Handle(), kNoteFile, kNoteKey, &note_key, sizeof note_key);
    if (!locks.TakeAll()) return AlertSave::kCancelled;

    PatientRecord patient{};
    if (!QDB_FindRec(patients.Handle(), kPatientByIdKey, &patient_key, &patient)) {
        if (QDB_GetLastErrorNum(s) != kQdbNotFound) {
            DbReportError(kPatientFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
            return AlertSave::kFailed;
        }
        ShowRefusal(kAlertsPatientGone);
        return AlertSave::kChangedElsewhere;
    }
    bool exists = false;
    std::string stored;
    if (!ReadAlertNote(notes.Handle(), note_key, &exists, &stored) ||
        (!exists && QDB_GetLastErrorNum(s) != kQdbNotFound)) {
        DbReportError(kNoteFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return AlertSave::kFailed;
    }
    if (exists != opened.existed || stored != opened.text) {
        ShowRefusal(kAlertsChangedElsewhere);
        return AlertSave::kChangedElsewhere;
    }

    std::vector<char> record(sizeof(NoteHead) + text.size() + 1, '\0');
    const NoteHead head{kNotePatientAlert, opened.patientId, today, {}};
    std::memcpy(record.data(), &head, sizeof head);
    std::memcpy(record.data() + sizeof head, text.data(), text.size());
    const std::vector<uint8_t> entry = PatientAlertAuditEntry(stored, text);

    if (!QDB_BeginTransaction(s)) {
        ReportChangeFailure(s, kDbMsgWrite, kNoteFile);
        return AlertSave::kFailed;
    }
    int failed_file = 0;
    DbMessageKind failure = kDbMsgWrite;
    bool written = true;
    if (exists) written = QDB_FindRec(notes.Handle(), kNoteKey, &note_key, nullptr) != 0;
    if (written) {
        if (text.empty()) {
            failure = kDbMsgDelete;
            written = !exists || QDB_DeleteCurRec(notes.Handle());
        } else if (exists) {
            written = QDB_WriteVRec(notes.Handle(), record.data(), static_cast<int>(record.size())) != 0;
        } else {
            written = QDB_AddVRec(notes.Handle(), record.data(), static_cast<int>(record.size())) != 0;
        }
    }
    if (!written) failed_file = kNoteFile;
    if (written && !QDB_AddVRec(audit.Handle(), entry.data(), static_cast<int>(entry.size()))) {
        written = false;
        failure = kDbMsgWrite;
        failed_file = kAuditFile;
    }
    if (!written) {
        ReportChangeFailure(s, failure, failed_file);  // while the session still has the failure
        QDB_AbortTransaction(s);
        return AlertSave::kFailed;
    }
    if (!QDB_CommitTransaction(s)) {
        ReportChangeFailure(s, kDbMsgWrite, kNoteFile);
        return AlertSave::kFailed;
    }
    return AlertSave::kWritten;
}
