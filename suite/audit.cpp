// Building, storing and reading back the audit file's entries.
#include "suite/audit.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include "data/db_access.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/users.h"

namespace {

constexpr int kAppointmentFile = 9;

// Keeps the audit file's group open for one operation, and leaves it open when the caller had
// it open already.
class AuditGroup {
public:
    AuditGroup() {
        DbGroupOf(kAuditFile, &desc_);
        was_open_ = db_state.openHandles[desc_.groupIndex] != 0;
        result_ = was_open_ ? kQdbOk : DbOpenGroup(desc_);
    }
    ~AuditGroup() {
        if (!was_open_) DbCloseGroup(desc_);
    }
    AuditGroup(const AuditGroup&) = delete;
    AuditGroup& operator=(const AuditGroup&) = delete;
    uint16_t Result() const { return result_; }

private:
    FileGroupDesc desc_{};
    bool was_open_ = false;
    uint16_t result_ = kQdbOk;
};

std::vector<uint8_t> EntryBytes(AuditKind kind, uint32_t user_id, const void* old_record, size_t old_length,
                                const void* new_record, size_t new_length) {
    if (!old_record) old_length = 0;
    if (!new_record) new_length = 0;
    AuditHead head{};
    SetAuditStamp(head, QVN_SysDate(), QVN_SecondsSinceMidnight(), user_id);
    head.kind = kind;
    head.oldLength = static_cast<uint32_t>(old_length);
    head.newLength = static_cast<uint32_t>(new_length);

    std::vector<uint8_t> entry(sizeof head + old_length + new_length);
    std::memcpy(entry.data(), &head, sizeof head);
    if (old_length) std::memcpy(entry.data() + sizeof head, old_record, old_length);
    if (new_length) std::memcpy(entry.data() + sizeof head + old_length, new_record, new_length);
    return entry;
}

int StoreEntry(AuditKind kind, uint32_t user_id, const void* old_record, size_t old_length, const void* new_record,
               size_t new_length) {
    const std::vector<uint8_t> entry = EntryBytes(kind, user_id, old_record, old_length, new_record, new_length);
    AuditGroup group;
    if (group.Result() != kQdbOk) return 0;
    uint16_t result = DbAddVariable(kAuditFile, entry.data(), static_cast<int>(entry.size()));
    if (result != kQdbOk) {
        QVN_Message(kMsgGroupGeneral, DbMessageNumber(kDbMsgWrite, kAuditFile, result), result, db_state.lastFile);
        return 0;
    }
    return 1;
}

}  // namespace

uint32_t QVN_SecondsSinceMidnight() {
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local) return 0;
    return static_cast<uint32_t>(local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec);
}

std::vector<uint8_t> ApptAuditEntry(const void* new_record, const void* old_record) {
    const size_t length = static_cast<size_t>(QDB_RecordLength(kAppointmentFile));
    return EntryBytes(kAuditAppointment, QVN_GetOverrideUserID(), old_record, length, new_record, length);
}

std::vector<uint8_t> PatientAlertAuditEntry(const std::string& old_text, const std::string& new_text) {
    return EntryBytes(kAuditPatientAlerts, QVN_GetOverrideUserID(), old_text.data(), old_text.size(), new_text.data(),
                      new_text.size());
}

int QVN_BuildApptAudit(const void* new_record, const void* old_record) {
    const size_t length = static_cast<size_t>(QDB_RecordLength(kAppointmentFile));
    return StoreEntry(kAuditAppointment, QVN_GetOverrideUserID(), old_record, length, new_record, length);
}

int QVN_BuildProcAudit(const void* new_record, const void* old_record, size_t record_length) {
    return StoreEntry(kAuditProcedure, QVN_GetOverrideUserID(), old_record, record_length, new_record, record_length);
}

int QVN_BuildInitialProcAudit(const void* new_record, size_t record_length) {
    return StoreEntry(kAuditInitialProcedure, QVN_GetOverrideUserID(), nullptr, 0, new_record, record_length);
}

int QVN_BuildPasswordCheckAudit(uint32_t signed_in_user_id, int right, PasswordCheckOutcome outcome, int wrong_tries) {
    PasswordCheckAudit body{};
    body.right = static_cast<uint16_t>(right);
    body.outcome = outcome;
    body.wrongTries = static_cast<uint8_t>(wrong_tries);
    body.loggedInUserId = QVN_GetLoggedInUserID();
    return StoreEntry(kAuditPasswordCheck, signed_in_user_id, nullptr, 0, &body, sizeof body);
}

bool ParseAuditEntry(const uint8_t* bytes, size_t length, AuditEntry* entry) {
    AuditHead head;
    if (length < sizeof head) return false;
    std::memcpy(&head, bytes, sizeof head);
    if (uint64_t{head.oldLength} + head.newLength != length - sizeof head) return false;
    entry->day = AuditDay(head);
    entry->seconds = AuditSeconds(head);
    entry->userId = AuditUserId(head);
    entry->kind = static_cast<AuditKind>(head.kind);
    const uint8_t* old_bytes = bytes + sizeof head;
    entry->oldRecord.assign(old_bytes, old_bytes + head.oldLength);
    entry->newRecord.assign(old_bytes + head.oldLength, old_bytes + head.oldLength + head.newLength);
    return true;
}

bool QVN_ReadAuditEntries(int32_t first_day, int32_t last_day, std::vector<AuditEntry>* entries) {
    AuditGroup group;
    if (group.Result() != kQdbOk) return false;
    AuditHead from{}, head{};
    SetAuditStamp(from, first_day, 0, 0);
    uint16_t result = DbGreaterEqual(kAuditByTimeKey, &from, &head);
    std::vector<uint8_t> bytes;
    std::vector<std::pair<uint32_t, AuditEntry>> found;  // with the position each was written at
    bool readable = true;
    for (; result == kQdbOk; result = DbNext(kAuditByTimeKey, &head)) {
        if (AuditDay(head) > last_day) break;
        bytes.resize(static_cast<size_t>(DbVariableLength(kAuditFile)));
        if (bytes.size() < sizeof head ||
            DbReadEntireVariable(kAuditFile, bytes.data(), static_cast<int>(bytes.size())) != kQdbOk) {
            readable = false;
            break;
        }
        AuditEntry entry;
        if (!ParseAuditEntry(bytes.data(), bytes.size(), &entry)) {
            readable = false;
            break;
        }
        found.emplace_back(DbFilePosition(kAuditFile), std::move(entry));
    }
    // The key puts the user id after the second; within one second the order of writing counts.
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.second.day != b.second.day) return a.second.day < b.second.day;
        if (a.second.seconds != b.second.seconds) return a.second.seconds < b.second.seconds;
        return a.first < b.first;
    });
    for (auto& [position, entry] : found) entries->push_back(std::move(entry));
    return readable && (result == kQdbOk || result == kQdbNotFound);
}
