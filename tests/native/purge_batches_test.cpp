// The purge removing appointments several to a transaction: a failure at any point of a batch's
// locks, reads, writes or commit leaves that batch's appointments as they were and the batches
// committed before it purged.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_actions.h"
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
