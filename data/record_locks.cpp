// Taking a change's record locks in order, with the wait and the question of a lock held
// elsewhere; and the single-record edit under its lock.
#include "data/record_locks.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <thread>
#include <tuple>

#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"

namespace {

constexpr int kLeastWaitMs = 500;
constexpr int kWaitStepMs = 5;

bool Before(int file_a, const std::string& key_a, int file_b, const std::string& key_b) {
    return std::tie(file_a, key_a) < std::tie(file_b, key_b);
}

}  // namespace

void RecordLockSet::Add(QdbFile file, int data_file, int key, const void* key_buffer, int key_length) {
    std::string bytes(static_cast<const char*>(key_buffer), static_cast<size_t>(key_length));
    for (const Wanted& w : wanted_)
        if (w.dataFile == data_file && w.keyBytes == bytes) return;
    wanted_.push_back({file, data_file, key, std::move(bytes)});
}

uint16_t RecordLockSet::WaitFor(const Wanted& lock) {
    return WaitForLock(session_, [&] { return QDB_LockKey(lock.file, lock.key, lock.keyBytes.data()) != 0; });
}

bool RecordLockSet::TakeAll() {
    std::sort(wanted_.begin(), wanted_.end(),
              [](const Wanted& a, const Wanted& b) { return Before(a.dataFile, a.keyBytes, b.dataFile, b.keyBytes); });
    for (size_t i = 0; i < wanted_.size();) {
        assert(i == 0 || Before(wanted_[i - 1].dataFile, wanted_[i - 1].keyBytes, wanted_[i].dataFile, wanted_[i].keyBytes));
        const uint16_t result = WaitFor(wanted_[i]);
        if (result == kQdbOk) {
            ++i;
            continue;
        }
        QDB_LKISAM(session_, 0);  // nobody waits on us while our user reads the question
        if (result != kQdbLocked) {
            ReportChangeFailure(session_, kDbMsgLock, wanted_[i].dataFile);
            return false;
        }
        if (QVN_LockedRecordPrompt(wanted_[i].dataFile) != kAnswerRetry) return false;
        i = 0;
    }
    return true;
}

uint16_t WaitForLock(QdbSession session, const std::function<bool()>& try_lock) {
    const auto start = std::chrono::steady_clock::now();
    for (int tries = 0;; ++tries) {
        if (try_lock()) return kQdbOk;
        const uint16_t result = QDB_GetLastErrorNum(session);
        if (result != kQdbLocked) return result;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (tries + 1 >= db_state.retryCount && waited >= std::chrono::milliseconds(kLeastWaitMs)) return result;
        const int pause = tries + 1 < db_state.retryCount ? db_state.pauseMs : kWaitStepMs;
        if (pause > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
}

void ReportChangeFailure(QdbSession session, DbMessageKind kind, int data_file) {
    const uint16_t result = QDB_GetLastErrorNum(session);
    // The server went away: nothing of the change is stored, and the user is asked about the
    // database rather than told about the file.
    if (result == kQdbConnectionLost) return void(DbReconnect());
    QVN_Message(kMsgGroupGeneral, DbMessageNumber(kind, data_file, result), result, QDB_GetLastFileNum(session));
}

uint16_t EditLockedRecord(int data_file, int key, const void* key_buffer, int key_length, void* record,
                          const LockedEditFunction& edit) {
    QdbPrivateSession session{DbStartOwnSession(data_file)};
    QdbOpenedFile file(session.Handle(), data_file);
    if (!file.Handle()) {
        if (session.Handle()) ReportChangeFailure(session.Handle(), kDbMsgOpen, data_file);
        return session.Handle() ? QDB_GetLastErrorNum(session.Handle()) : kQdbNoSession;
    }
    const QdbSession s = session.Handle();
    const QdbFile f = file.Handle();
    RecordLockSet locks(s);
    locks.Add(f, data_file, key, key_buffer, key_length);
    if (!locks.TakeAll()) return kQdbLocked;
    const bool exists = QDB_FindRec(f, key, key_buffer, record) != 0;
    if (!exists && QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(data_file, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return QDB_GetLastErrorNum(s);
    }
    const LockedEdit what = edit(record, exists);
    int ok = 1;
    DbMessageKind kind = kDbMsgWrite;
    if (what == LockedEdit::kWrite) ok = exists ? QDB_WriteRec(f, record) : QDB_AddRec(f, record);
    if (what == LockedEdit::kDelete && exists) {
        kind = kDbMsgDelete;
        ok = QDB_DeleteCurRec(f);
    }
    if (!ok) {
        ReportChangeFailure(s, kind, data_file);
        return QDB_GetLastErrorNum(s);
    }
    return kQdbOk;
}
