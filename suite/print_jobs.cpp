// Making a print job.
#include "suite/print_jobs.h"

#include <algorithm>
#include <cstring>

#include "data/db_access.h"
#include "suite/messages.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/workstation_settings.h"

namespace {

constexpr int kMsgJobNotWritten = 3181;
constexpr int kMsgProgramNotStarted = 3196;
constexpr int kStartFailedBelow = 32;
constexpr int kAnswerTakesQueueItself = 2;

// The job added in a transaction of its own; false after a failure, reported with 3181.
bool AddToQueue(const PrintJobRecord& job) {
    QdbPrivateSession session{DbStartOwnSession(kPrintQueueFile)};
    QdbOpenedFile queue(session.Handle(), kPrintQueueFile);
    const QdbSession s = session.Handle();
    if (!s) return false;  // the user was told
    bool added = queue.Handle() && QDB_BeginTransaction(s);
    if (added && !(QDB_AddRec(queue.Handle(), &job) && QDB_CommitTransaction(s))) {
        QDB_AbortTransaction(s);
        added = false;
    }
    if (!added && !DbAskWhenUnreachable(QDB_GetLastErrorNum(s)))
        QVN_Message(kMsgGroupGeneral, kMsgJobNotWritten, QDB_GetLastErrorNum(s));
    return added;
}

}  // namespace

PrintJobRecord NewPrintJob(const char* report_name, const char* title, int32_t today) {
    PrintJobRecord job{};
    job.madeDate = today;
    std::memcpy(job.reportName, report_name, std::min(std::strlen(report_name), sizeof job.reportName));
    std::strncpy(job.title, title, sizeof job.title - 1);
    job.today = today;
    return job;
}

PrintJobOutcome SubmitPrintJob(PrintJobRecord job, bool batch, PrintProgramLink& link) {
    int answer = 0;
    if (!batch) {
        answer = link.CallQvPrint(1);
        if (answer != 0) {
            const int station = ReadNetworkSettings().station;
            job.printNow = PrintNowCode(station);
            job.workstation = static_cast<uint32_t>(station);
        }
    }
    const bool now = job.printNow != 0;
    if (!AddToQueue(job)) return PrintJobOutcome::kNotWritten;
    if (now && answer != kAnswerTakesQueueItself) {
        if (link.StartProgram() >= kStartFailedBelow) return PrintJobOutcome::kStarted;
        QVN_Message(kMsgGroupSuite, kMsgProgramNotStarted);
        return PrintJobOutcome::kStartFailed;
    }
    link.WakeRunning();
    return PrintJobOutcome::kQueued;
}
