// The print-queue job writer: print now or batch, what the queue holds afterwards, whether the
// print program is started or woken, and a queue that cannot take the job.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "change_test_support.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/print_jobs.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/settings.h"

namespace {

class FakeProgram final : public PrintProgramLink {
public:
    explicit FakeProgram(int answer, int start_answer = 42) : answer_(answer), startAnswer_(start_answer) {}
    int CallQvPrint(int query) override {
        queries.push_back(query);
        return answer_;
    }
    int StartProgram() override {
        ++starts;
        return startAnswer_;
    }
    bool WakeRunning() override {
        ++wakes;
        return true;
    }
    std::vector<int> queries;
    int starts = 0, wakes = 0;

private:
    int answer_, startAnswer_;
};

std::vector<PrintJobRecord> QueuedJobs() { return StoredRecords<PrintJobRecord>(kPrintQueueFile); }

}  // namespace

TEST(PrintJobs, PrintNowStartsTheProgramABatchOnlyWakesIt) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    QVN_WriteProfileInt("NETWORK", "STATION", 3);
    // The print library's answer; the print-now code as queued.
    struct Case { const char* what; bool batch; int answer; uint16_t printNow; int starts, wakes; PrintJobOutcome outcome; };
    const Case cases[] = {
        {"print now", false, 1, 3 * 256 + 7, 1, 0, PrintJobOutcome::kStarted},
        {"print now, program takes the queue itself", false, 2, 3 * 256 + 7, 0, 1, PrintJobOutcome::kQueued},
        {"print now without the program", false, 0, 0, 0, 1, PrintJobOutcome::kQueued},
        {"batch", true, 1, 0, 0, 1, PrintJobOutcome::kQueued},
    };
    size_t queued = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeProgram program(c.answer);
        const PrintJobOutcome outcome = SubmitPrintJob(NewPrintJob("ApptBook", "Appointment Book", 2461387), c.batch, program);
        EXPECT_EQ(std::tuple(c.outcome, c.starts, c.wakes), std::tuple(outcome, program.starts, program.wakes));
        EXPECT_EQ(c.batch ? std::vector<int>{} : std::vector<int>{1}, program.queries) << "a batch never asks";
        const std::vector<PrintJobRecord> jobs = QueuedJobs();
        ASSERT_EQ(++queued, jobs.size());
        const PrintJobRecord& job = jobs.back();
        EXPECT_EQ(std::tuple(int{c.printNow}, c.printNow ? 3 : 0, std::string("ApptBook|Appointment Book"), 2461387),
                  std::tuple(int{job.printNow}, int(job.workstation), std::string(job.reportName, 8) + "|" + job.title, int{job.madeDate}));
    }

    // A program that cannot be started: the job waits in the queue, the user is told.
    {
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerOk);
        FakeProgram program(1, 2);
        EXPECT_EQ(PrintJobOutcome::kStartFailed, SubmitPrintJob(NewPrintJob("ApptBook", "x", 1), false, program));
        EXPECT_EQ(std::vector<std::string>{"The program could not be started.\nCheck that it is installed with the Quorvin suite."},
                  prompts.Texts());
        EXPECT_EQ(++queued, QueuedJobs().size());
    }
    // A queue that cannot take the job: nothing queued, nothing started or woken.
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk);
    FakeProgram program(1);
    QDB_FailNthOperation(1);
    const PrintJobOutcome outcome = SubmitPrintJob(NewPrintJob("ApptBook", "x", 1), false, program);
    QDB_FailNthOperation(0);
    EXPECT_EQ(PrintJobOutcome::kNotWritten, outcome);
    ASSERT_EQ(1u, prompts.Texts().size());
    EXPECT_EQ(0u, prompts.Texts()[0].find("The print job could not be added to the print queue.\nDatabase error "));
    EXPECT_EQ(0, program.starts + program.wakes);
    EXPECT_EQ(queued, QueuedJobs().size());
}
