// Reading and taking print jobs.
#include "tools/qvprint/print_queue.h"

#include <cstring>

#include "data/db_access.h"
#include "data/record_locks.h"
#include "suite/messages.h"
#include "suite/print_jobs.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"

namespace {

bool ForThisStation(const PrintJobRecord& job, int station) {
    return job.printNow == 0 || job.printNow == PrintNowCode(station);
}

}  // namespace

bool ReadWaitingJobs(int station, std::vector<QueuedJob>* jobs) {
    jobs->clear();
    QdbPrivateSession session{DbStartOwnSession(kPrintQueueFile)};
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    const QdbSession s = session.Handle();
    if (!s) return false;  // the user was told
    if (!queue.Handle()) {
        ReportChangeFailure(s, kDbMsgOpen, kPrintQueueFile);
        return false;
    }
    QueuedJob job;
    // The file number itself walks the physical order: the order in which the jobs were added.
    for (int ok = QDB_FirstRec(queue.Handle(), kPrintQueueFile, &job.record); ok;
         ok = QDB_NextRec(queue.Handle(), kPrintQueueFile, &job.record)) {
        job.position = QDB_GetFilePos(queue.Handle());
        if (!IsJobDone(job.record) && ForThisStation(job.record, station)) jobs->push_back(job);
    }
    if (QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(kPrintQueueFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return false;
    }
    return true;
}

bool ReadQueuedJob(uint32_t position, QueuedJob* job) {
    QdbPrivateSession session{DbStartOwnSession(kPrintQueueFile)};
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    if (!queue.Handle() || !QDB_ReadRec(queue.Handle(), position, &job->record)) return false;
    job->position = position;
    return true;
}

TakeOutcome TakeJob(const QueuedJob& job, const std::function<bool(const PrintJobRecord&)>& print) {
    QdbPrivateSession session{DbStartOwnSession(kPrintQueueFile)};
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    const QdbSession s = session.Handle();
    if (!s) return TakeOutcome::kNotWritten;
    if (!queue.Handle()) {
        ReportChangeFailure(s, kDbMsgOpen, kPrintQueueFile);
        return TakeOutcome::kNotWritten;
    }
    // Reading with locking on locks the record: the job is ours until the session ends.
    PrintJobRecord now{};
    for (;;) {
        QDB_StartLocking(s);
        const uint16_t result = WaitForLock(s, [&] { return QDB_ReadRec(queue.Handle(), job.position, &now) != 0; });
        if (result == kQdbOk) break;
        QDB_StopLocking(s);
        if (result == kQdbNotFound) return TakeOutcome::kGone;
        if (result != kQdbLocked) {
            ReportChangeFailure(s, kDbMsgLock, kPrintQueueFile);
            return TakeOutcome::kNotWritten;
        }
        if (QVN_LockedRecordPrompt(kPrintQueueFile) != kAnswerRetry) return TakeOutcome::kCancelled;
    }
    if (std::memcmp(&now, &job.record, sizeof now) != 0) return TakeOutcome::kGone;
    if (!print(now)) return TakeOutcome::kPrintFailed;
    now.ours0[0] = kJobDone;
    bool written = QDB_BeginTransaction(s) != 0;
    if (written && !(QDB_WriteRec(queue.Handle(), &now) && QDB_CommitTransaction(s))) {
        QDB_AbortTransaction(s);
        written = false;
    }
    if (!written) {
        ReportChangeFailure(s, kDbMsgWrite, kPrintQueueFile);
        return TakeOutcome::kNotWritten;
    }
    return TakeOutcome::kDone;
}
