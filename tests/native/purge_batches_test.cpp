// The purge removing appointments, and then week records, several to a transaction: a failure at
// any point of a batch's locks, reads, writes or commit leaves that batch's records as they were
// and the batches committed before it purged.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "data/appointment_actions.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "demo_practice_fixture.h"
#include "suite/qdb/qdb.h"

namespace {

class PurgeBatches : public DemoPracticeTest {
protected:
    // Four patients' appointments in the week before the cutoff's: two batches of two.
    void BookFour() {
        for (uint32_t id = 1; id <= 4; ++id) {
            AppointmentRecord a = DemoAppt(id, DemoMonday() - 7, 8 + static_cast<int>(id), 0, 30, "DR1 ", "OP1 ");
            a.patientId = id;
            Book(a);
        }
    }
    std::vector<uint32_t> Kept() {
        std::vector<uint32_t> kept;
        for (uint32_t id = 1; id <= 4; ++id) {
            AppointmentRecord a{};
            if (ReadAppointment(id, &a) == kQdbOk) kept.push_back(id);
        }
        return kept;
    }
};

// Sets the fault once the first batch is counted as purged, keeps the rows as they were then, and
// stops the week walk at once so that the rows compared afterwards are the appointment walk's.
class FaultAfterFirstBatch final : public PurgeProgress {
public:
    FaultAfterFirstBatch(std::string dir, int64_t fault) : dir_(std::move(dir)), fault_(fault) {}
    bool Cancelled() override { return ++asked_ > 4; }
    void Counted(int purged, int read) override {
        if (purged == 2 && rowsAfterFirst.empty()) {
            rowsAfterFirst = StoredRows(dir_);
            QDB_FailNthOperation(fault_);
        }
        if (read == 4) pendingAtEnd = QDB_PendingFault();
    }
    std::string rowsAfterFirst;
    int64_t pendingAtEnd = -1;

private:
    std::string dir_;
    int64_t fault_;
    int asked_ = 0;
};

}  // namespace

TEST_F(PurgeBatches, AFailureInTheSecondBatchLeavesTheFirstPurgedAndTheSecondUntouched) {
    const PurgeBatching twoAtATime{2, 0};
    // A first run without a failure: how many operations the second batch takes.
    BookFour();
    constexpr int64_t kFar = int64_t{1} << 40;
    FaultAfterFirstBatch measure(db_.Dir(), kFar);
    const PurgeOutcome whole = PurgeStoredAppointments(DemoMonday(), measure, twoAtATime);
    QDB_FailNthOperation(0);
    ASSERT_EQ(4, whole.appointmentsRead);
    ASSERT_EQ(4, whole.appointmentsPurged);
    EXPECT_EQ(std::vector<uint32_t>{}, Kept());
    ASSERT_FALSE(measure.rowsAfterFirst.empty()) << "the first batch was never counted alone";
    const int64_t second = kFar - measure.pendingAtEnd;
    ASSERT_GT(second, 10) << "the second batch's locks, reads and writes";

    // The middle of the second batch, its last write and its commit.
    for (const int64_t fault : {second / 2, second - 1, second}) {
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(DemoMonday(), &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        BookFour();
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerOk);
        FaultAfterFirstBatch progress(db_.Dir(), fault);
        const PurgeOutcome out = PurgeStoredAppointments(DemoMonday(), progress, twoAtATime);
        const int64_t pending = QDB_PendingFault();
        QDB_FailNthOperation(0);
        EXPECT_EQ(0, pending) << "operation " << fault << " of the second batch did not fail";
        EXPECT_EQ(1u, prompts.Asked().size()) << "the failure at operation " << fault << " is reported once";
        EXPECT_EQ(2, out.appointmentsPurged) << "fault at " << fault;
        EXPECT_EQ((std::vector<uint32_t>{3, 4}), Kept()) << "fault at " << fault;
        EXPECT_TRUE(progress.rowsAfterFirst == StoredRows(db_.Dir()))
            << "operation " << fault << " failed and the second batch changed the database";
    }
}

namespace {

// The week walk's counts: sets the fault once its first batch is counted as purged (keeping the
// rows as they were then) and takes the engine's pending count once its second is; Cancel is
// asked for at the week record cancelAt (0: never).
class WeekBatchFault final : public PurgeProgress {
public:
    WeekBatchFault(std::string dir, int64_t fault, int cancel_at = 0)
        : dir_(std::move(dir)), fault_(fault), cancelAt_(cancel_at) {}
    bool Cancelled() override { return inWeeks_ && cancelAt_ != 0 && lastRead_ + 1 >= cancelAt_; }
    void Counted(int purged, int read) override {
        inWeeks_ = inWeeks_ || read <= lastRead_;  // the week walk counts from 1 again
        lastRead_ = read;
        if (!inWeeks_) return;
        if (purged >= 2 && rowsAfterFirst.empty()) {
            rowsAfterFirst = StoredRows(dir_);
            QDB_FailNthOperation(fault_);
        }
        if (purged >= 4 && pendingAfterSecond < 0) pendingAfterSecond = QDB_PendingFault();
    }
    std::string rowsAfterFirst;
    int64_t pendingAfterSecond = -1;

private:
    std::string dir_;
    int64_t fault_;
    int cancelAt_;
    bool inWeeks_ = false;
    int lastRead_ = 0;
};

// The week records (week not 0) of the stored practice before the week starting on week_start,
// among its first rows (in the order they were written; -1: all).
int StoredWeeksBefore(const std::string& dir, int32_t week_start, int first_rows = -1) {
    sqlite3* db = nullptr;
    int n = 0;
    if (sqlite3_open_v2((dir + "/qvn.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT rec FROM g94 ORDER BY recno LIMIT " + std::to_string(first_rows)).c_str(), -1, &st,
                           nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            RscUseHead head{};
            std::memcpy(&head, sqlite3_column_blob(st, 0), sizeof head);
            n += head.week != 0 && static_cast<int32_t>(head.week) < week_start;
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return n;
}

}  // namespace

TEST_F(PurgeBatches, WeekRecordsGoTwoToATransactionAndAFailedOrCancelledBatchIsWhole) {
    const PurgeBatching twoWeeksAtATime{64, 0, 2};
    const int32_t cutoff_week = WeekStartOf(DemoMonday());
    // Occupied weeks one and two weeks back: a provider and an operatory week record each.
    const auto book = [&] {
        for (uint32_t id = 1; id <= 4; ++id) {
            AppointmentRecord a = DemoAppt(id, DemoMonday() - 7 * (1 + id % 2), 8 + static_cast<int>(id), 0, 30, "DR1 ", "OP1 ");
            a.patientId = id;
            Book(a);
        }
    };
    const auto fresh = [&] {
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(DemoMonday(), &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        book();
    };
    book();
    const int weeks = StoredWeeksBefore(db_.Dir(), cutoff_week);
    ASSERT_GE(weeks, 4);
    constexpr int64_t kFar = int64_t{1} << 40;
    WeekBatchFault measure(db_.Dir(), kFar);
    const PurgeOutcome whole = PurgeStoredAppointments(DemoMonday(), measure, twoWeeksAtATime);
    QDB_FailNthOperation(0);
    ASSERT_EQ(weeks, whole.weeksPurged);
    EXPECT_EQ(0, StoredWeeksBefore(db_.Dir(), cutoff_week));
    ASSERT_FALSE(measure.rowsAfterFirst.empty()) << "the first week batch was never counted alone";
    const int64_t second = kFar - measure.pendingAfterSecond;
    ASSERT_GE(second, 5) << "the second week batch's two locks, two deletions and commit";

    // A failure in the middle of the second batch, at its last deletion and at its commit: the
    // first batch stays purged, the second untouched, the walk stops after telling it once.
    for (const int64_t fault : {second / 2, second - 1, second}) {
        ASSERT_NO_FATAL_FAILURE(fresh());
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerOk);
        WeekBatchFault progress(db_.Dir(), fault);
        const PurgeOutcome out = PurgeStoredAppointments(DemoMonday(), progress, twoWeeksAtATime);
        const int64_t pending = QDB_PendingFault();
        QDB_FailNthOperation(0);
        EXPECT_EQ(0, pending) << "operation " << fault << " of the second week batch did not fail";
        EXPECT_EQ(1u, prompts.Asked().size()) << "the failure at operation " << fault << " is told once";
        EXPECT_EQ(2, out.weeksPurged) << "fault at " << fault;
        EXPECT_EQ(weeks - 2, StoredWeeksBefore(db_.Dir(), cutoff_week)) << "fault at " << fault;
        EXPECT_TRUE(progress.rowsAfterFirst == StoredRows(db_.Dir()))
            << "operation " << fault << " failed and the second week batch changed the database";
    }

    // Cancel asked at the fourth week record: of the three read before it, those before the cutoff
    // week go, the one gathered since the last batch too, and the walk stops there.
    ASSERT_NO_FATAL_FAILURE(fresh());
    const int first_three = StoredWeeksBefore(db_.Dir(), cutoff_week, 3);
    WeekBatchFault cancel(db_.Dir(), kFar, 4);
    const PurgeOutcome cancelled = PurgeStoredAppointments(DemoMonday(), cancel, twoWeeksAtATime);
    QDB_FailNthOperation(0);
    EXPECT_TRUE(cancelled.weekWalkCancelled);
    EXPECT_EQ(4, cancelled.weeksRead);
    EXPECT_EQ(first_three, cancelled.weeksPurged);
    EXPECT_EQ(weeks - first_three, StoredWeeksBefore(db_.Dir(), cutoff_week));
}

namespace {

// The counts of the appointment walk as (purged, read), and the fault set once purged reaches
// faultFrom (keeping the rows as they were then); Cancel stops the week walk at its first record.
class CountsAndFault final : public PurgeProgress {
public:
    CountsAndFault(std::string dir, int fault_from, int64_t fault) : dir_(std::move(dir)), faultFrom_(fault_from), fault_(fault) {}
    bool Cancelled() override { return ++asked_ > 4; }  // the week walk stops at once
    void Counted(int purged, int read) override {
        counts.emplace_back(purged, read);
        if (purged >= faultFrom_ && rowsAtFault.empty()) {
            rowsAtFault = StoredRows(dir_);
            QDB_FailNthOperation(fault_);
        }
        if (read == 4) pendingAtEnd = QDB_PendingFault();
    }
    std::vector<std::pair<int, int>> counts;
    std::string rowsAtFault;
    int64_t pendingAtEnd = -1;

private:
    std::string dir_;
    int faultFrom_;
    int64_t fault_;
    int asked_ = 0;
};

}  // namespace

// The walk reads three appointments ahead at a time: the batch ends before it reads on, so the
// first three go together, and a failure of the fourth's batch at its commit leaves it alone
// untouched.
TEST_F(PurgeBatches, ABatchEndsWhereTheWalkReadsAheadAndStaysWhole) {
    PurgeBatching threeAhead;
    threeAhead.appointments = 64;
    threeAhead.millisecondsPerBatch = 0;
    threeAhead.readsPerSnapshot = 3;
    threeAhead.millisecondsPerRead = 0;
    BookFour();
    constexpr int64_t kFar = int64_t{1} << 40;
    CountsAndFault measure(db_.Dir(), 3, kFar);
    const PurgeOutcome whole = PurgeStoredAppointments(DemoMonday(), measure, threeAhead);
    QDB_FailNthOperation(0);
    EXPECT_EQ(4, whole.appointmentsPurged);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {3, 3}, {4, 4}}), measure.counts);
    const int64_t last_batch = kFar - measure.pendingAtEnd;
    ASSERT_GT(last_batch, 3) << "the fourth appointment's locks, writes and commit";

    std::string reason;
    ASSERT_TRUE(db_.UseDemoPractice(DemoMonday(), &reason)) << reason;
    ASSERT_TRUE(LoadPracticeTables());
    BookFour();
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk);
    CountsAndFault progress(db_.Dir(), 3, last_batch);
    const PurgeOutcome out = PurgeStoredAppointments(DemoMonday(), progress, threeAhead);
    const int64_t pending = QDB_PendingFault();
    QDB_FailNthOperation(0);
    EXPECT_EQ(0, pending) << "the commit of the fourth did not fail";
    EXPECT_EQ(1u, prompts.Asked().size());
    EXPECT_EQ(3, out.appointmentsPurged);
    EXPECT_EQ(std::vector<uint32_t>{4}, Kept());
    EXPECT_TRUE(progress.rowsAtFault == StoredRows(db_.Dir())) << "the failed commit changed the database";
}

// The batch size follows the time the batches took, within 1 and the cap.
TEST(PurgeBatchLimit, FollowsTheMeasuredTimeWithinOneAndTheCap) {
    using std::chrono::milliseconds;
    PurgeBatchLimit counted(64, milliseconds(0));
    counted.Took(64, std::chrono::seconds(5));
    EXPECT_EQ(64, counted.Next()) << "without a budget every batch is the cap";

    PurgeBatchLimit limit(256, milliseconds(250));
    EXPECT_EQ(8, limit.Next()) << "the first batch, before anything is measured";
    struct Step {
        int records;
        milliseconds took;
        int next;
    };
    const Step steps[] = {
        {8, milliseconds(100), 16},   // 12.5 ms each: 20 would fit, but at most twice the batch
        {16, milliseconds(100), 32},  // 6.25 ms each: 40 would fit
        {32, milliseconds(500), 16},  // over the budget: what would have fitted
        {5, milliseconds(200), 16},   // ended early within the budget: unchanged
        {16, milliseconds(240), 16},  // 15 ms each: 16 fit
        {16, milliseconds(3000), 1},  // the disk stalled: one at a time
        {1, milliseconds(1), 2},
        {2, milliseconds(0), 4},
        {200, milliseconds(10), 256},  // never over the cap
    };
    for (const Step& s : steps) {
        limit.Took(s.records, s.took);
        EXPECT_EQ(s.next, limit.Next()) << s.records << " in " << s.took.count() << " ms";
    }
}

namespace {

// A clock that stands still except while a batch writes, where every look at it moves it on by
// step: the batch's time budget is spent by its first write and by nothing else. The counts of
// the appointment walk and its commits are kept; Cancel stops the week walk at once.
class ClockMovedByWrites final : public PurgeProgress {
public:
    explicit ClockMovedByWrites(std::chrono::milliseconds step) : step_(step) {}
    bool Cancelled() override { return inWeeks_; }
    void Counted(int purged, int read) override {
        inWeeks_ = inWeeks_ || read == 4;
        counts.emplace_back(purged, read);
    }
    void Took(PurgeStep step, std::chrono::steady_clock::duration) override {
        // A batch takes its locks, reads its appointments again, then writes.
        if (step == PurgeStep::kBatchLocks) writing_ = true;
        if (step == PurgeStep::kBatchWrites) writing_ = false;
        if (step == PurgeStep::kBatchCommit) ++commits;
    }
    std::chrono::steady_clock::time_point Now() {
        if (writing_) now_ += step_;
        return now_;
    }
    std::vector<std::pair<int, int>> counts;
    int commits = 0;

private:
    std::chrono::milliseconds step_;
    std::chrono::steady_clock::time_point now_{};
    bool writing_ = false;
    bool inWeeks_ = false;
};

}  // namespace

// A batch whose writes reach half its time budget commits what it wrote and leaves the rest to
// the next batch, which locks and reads them afresh; a batch within its budget goes whole.
TEST_F(PurgeBatches, WritesThatSpendHalfTheBudgetEndTheirBatch) {
    struct Case {
        std::chrono::milliseconds step;  // how far the clock moves at each look while writing
        int commits;
        std::vector<std::pair<int, int>> counts;
    };
    const Case cases[] = {
        {std::chrono::milliseconds(0), 1, {{0, 1}, {0, 2}, {0, 3}, {4, 4}}},
        {std::chrono::milliseconds(250), 4, {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}},
    };
    for (const Case& c : cases) {
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(DemoMonday(), &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        BookFour();
        ClockMovedByWrites progress(c.step);
        PurgeBatching budget;
        budget.millisecondsPerBatch = 500;
        budget.now = [&progress] { return progress.Now(); };
        const PurgeOutcome out = PurgeStoredAppointments(DemoMonday(), progress, budget);
        EXPECT_EQ(4, out.appointmentsPurged) << c.step.count();
        EXPECT_EQ(std::vector<uint32_t>{}, Kept()) << c.step.count();
        EXPECT_EQ(c.commits, progress.commits) << c.step.count();
        EXPECT_EQ(c.counts, progress.counts) << c.step.count();
    }
}
