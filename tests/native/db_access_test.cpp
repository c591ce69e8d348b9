// The access layer over a real database: outcomes, retry limits, set banks, the second tier's
// prompts and messages in their order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "data/db_access.h"
#include "practice_test_database.h"
#include "qdb_test_files.h"
#include "scripted_prompter.h"
#include "settings_test_env.h"
#include "suite/messages.h"
#include "suite/qdb/qdb.h"
#include "test_storage.h"

namespace {

// An appointment-sized record of the engine's tests in OP1.
struct Appt : Appointment {
    Appt(uint32_t id, int32_t date, int hour) : Appointment(id, date, "OP1 ", hour) {}
};

// A practice database with the layer's session on it, and its appointment group.
class LayerDatabase : public PracticeTestDatabase {
public:
    LayerDatabase() { DbGroupOf(9, &appointments_); }
    const FileGroupDesc& Appointments() const { return appointments_; }

private:
    FileGroupDesc appointments_{};
};

// Answers the locked-record prompt by releasing the other workstation's lock, then Retry.
class ReleasingPrompter final : public Prompter {
public:
    explicit ReleasingPrompter(QdbSession holder) : holder_(holder) { InstallPrompter(this); }
    ~ReleasingPrompter() override { InstallPrompter(nullptr); }
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        QDB_LKISAM(holder_, 0);
        return kAnswerRetry;
    }
    std::vector<std::string> texts;

private:
    QdbSession holder_;
};

// The layer's tests on a practice database of their own.
class DbLayer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Ok()); }
    LayerDatabase db;
};

}  // namespace

TEST(DbAccess, RetrySettingsKeepOneCallWithinTwoSeconds) {
    int retry, pause;
    DbLimitRetry(10, 500, &retry, &pause);
    EXPECT_EQ((std::vector<int>{10, 200}), (std::vector<int>{retry, pause}));
    DbLimitRetry(5000, 0, &retry, &pause);
    EXPECT_EQ(5000, retry) << "without a pause nothing limits the count";

    TempSettings settings;
    DbReadRetrySettings();
    EXPECT_EQ(10, db_state.retryCount);
    QVN_WriteProfileInt("QVCTREEM", "RETRY", 50);
    QVN_WriteProfileInt("QVCTREEM", "PAUSE", 100);
    DbReadRetrySettings();
    EXPECT_EQ(20, db_state.retryCount);
}

TEST(DbAccess, OutcomesWithoutSessionOrOpenGroup) {
    DbEndSession();
    uint8_t rec[286];
    uint32_t id = 1;
    EXPECT_EQ(kQdbNoSession, DbFind(kById, &id, rec));
    EXPECT_EQ(nullptr, DbPrepareKey(&id));

    LayerDatabase db;
    ASSERT_TRUE(db.Ok());
    EXPECT_EQ(&id, DbPrepareKey(&id));
    EXPECT_EQ(kQdbGroupNotOpen, DbFind(kById, &id, rec));
    EXPECT_EQ(kQdbGroupNotOpen, DbFirst(30, rec)) << "30 belongs to no group";
    EXPECT_EQ(kQdbOk, DbCloseGroup(db.Appointments())) << "closing a group that is not open";
}

TEST_F(DbLayer, ALockedRecordIsRetriedAndThenPromptedUntilItGoesAway) {
    Appt appt(5, 2461386, 9);
    uint8_t before[286];
    uint32_t id = 5;
    ASSERT_EQ(kQdbOk, DbUpdateRecord(db.Appointments(), kById, &id, 4, before, appt.bytes, true));

    // Another workstation reads the appointment for an edit and keeps it locked.
    QdbSession other = QDB_StartSession(1);
    ASSERT_NE(0, other);
    QdbFile of = QDB_OpenFile(other, 9);
    QDB_LKISAM(other, 2);
    uint8_t theirs[286];
    ASSERT_EQ(1, QDB_FindRec(of, kById, &id, theirs));

    uint8_t rec[286];
    {
        ReleasingPrompter prompter(other);
        EXPECT_EQ(kQdbOk, DbReadForUpdate(db.Appointments(), kById, &id, 4, rec, true));
        ASSERT_EQ(1u, prompter.texts.size()) << "one prompt, then the lock was gone";
        EXPECT_EQ("A record of data file 9 is in use at another workstation.\n"
                  "Choose Retry to try again or Cancel to give up.",
                  prompter.texts[0]);
    }
    EXPECT_EQ(5u, IdOf(rec));
    DbLock(0);

    QDB_LKISAM(other, 2);
    ASSERT_EQ(1, QDB_FindRec(of, kById, &id, theirs));
    {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerCancel);
        EXPECT_EQ(kQdbLocked, DbReadForUpdate(db.Appointments(), kById, &id, 4, rec, true));
        EXPECT_EQ(1u, prompter.Asked().size());
    }
    QDB_EndSession(other);
}

TEST_F(DbLayer, APositionIsTheRecordsAndAGroupHeldExclusivelyElsewhereOpensAfterAMessage) {
    ScriptedPrompter prompter;
    EXPECT_EQ(0u, DbFilePosition(9)) << "the group is not open";
    ASSERT_EQ(kQdbOk, DbOpenGroup(db.Appointments()));
    for (uint32_t id = 1; id <= 3; ++id) ASSERT_EQ(kQdbOk, DbAdd(9, Appt(id, 2461386, static_cast<int>(8 + id)).bytes));
    uint8_t rec[286];
    uint32_t id = 2;
    ASSERT_EQ(kQdbOk, DbFind(kById, &id, rec));
    EXPECT_EQ(2u, DbFilePosition(9));

    // A second workstation's maintenance holds the appointments exclusively: the open counts as
    // done after message 9048, and the calls that follow find no open group.
    DbCloseGroup(db.Appointments());
    QdbSession other = QDB_StartSession(1);
    ASSERT_NE(0u, QDB_OpenFileExclusive(other, 9));
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(kQdbOk, DbOpenGroup(db.Appointments()));
    EXPECT_EQ((std::vector<std::string>{"Data file 9 is in use elsewhere and could not be opened.\n"
                                        "Some information will not be shown."}),
              prompter.Texts());
    EXPECT_EQ(kQdbGroupNotOpen, DbFind(kById, &id, rec));
    EXPECT_EQ(kQdbOk, DbCloseGroup(db.Appointments()));
    QDB_EndSession(other);
}

// The second tier opens and closes the group around each call, quietly; a group opened again
// while open shares its handle until the last close.
TEST_F(DbLayer, SecondTierCallsAreQuietAndAGroupOpenedAgainSharesItsHandle) {
    ScriptedPrompter prompter;  // no prompt is expected anywhere here
    Appt appt(7, 2461386, 9);
    uint8_t before[286] = {}, rec[286];
    uint32_t id = 7;
    ASSERT_EQ(kQdbOk, DbUpdateRecord(db.Appointments(), kById, &id, 4, before, appt.bytes, true));
    appt.bytes[155] = 150;
    ASSERT_EQ(kQdbOk, DbSaveRecord(db.Appointments(), kById, &id, 4, before, appt.bytes, false));
    EXPECT_EQ(0, before[155]) << "the update found the stored record first";
    const uint16_t slot = db.Appointments().groupIndex;
    EXPECT_EQ(0u, db_state.openHandles[slot]) << "no group stays open";

    ASSERT_EQ(kQdbOk, DbOpenGroup(db.Appointments()));  // as start-up holds the practice group
    const uint32_t outer = db_state.openHandles[slot];
    ASSERT_NE(0u, outer);
    ASSERT_EQ(kQdbOk, DbFindRecord(db.Appointments(), kById, &id, 4, rec));
    EXPECT_EQ(150, rec[155]);
    EXPECT_EQ(outer, db_state.openHandles[slot]) << "the second open made no second engine handle";
    EXPECT_EQ(kQdbOk, DbFind(kById, DbPrepareKey(&id), rec)) << "the group is still open for its first opener";
    EXPECT_EQ(kQdbOk, DbCloseGroup(db.Appointments()));
    EXPECT_EQ(0u, db_state.openHandles[slot]) << "the last close closes it";
    EXPECT_EQ(kQdbGroupNotOpen, DbFind(kById, DbPrepareKey(&id), rec));
    EXPECT_TRUE(prompter.Asked().empty());
}

#ifdef QVN_PG_CLUSTER_SCRIPT

TEST(DbAccess, AServerThatGoesAwayIsAskedAboutAndANewSessionGoesOnWithNothingOfTheOpenChangeStored) {
    OwnServer server;
    TempSettings settings;
    TempDatabase db(Backend::kPostgres, server.State());
    ASSERT_EQ("", db.Failure());
    QVN_WriteProfileString("GENERAL", "Path", db.Dir().c_str());
    ASSERT_EQ(1, QDB_CreateDataBase(db.Dir().c_str())) << QDB_GetLastReason(0);
    ASSERT_TRUE(DbInitDatabase()) << QDB_GetLastReason(0);
    ASSERT_EQ(kQdbOk, DbCreateGroupFiles(9));
    FileGroupDesc appointments{};
    DbGroupOf(9, &appointments);
    uint8_t before[286] = {}, rec[286] = {};
    uint32_t id = 1;
    ASSERT_EQ(kQdbOk, DbUpdateRecord(appointments, kById, &id, 4, before, Appt(1, 2461386, 9).bytes, true));
    // A save in flight on a session of its own, and a session kept idle for the next save.
    QdbSession idle = QDB_StartSession(1);
    ASSERT_NE(0, idle);
    QDB_EndSession(idle);
    QdbSession saving = QDB_StartSession(1);
    ASSERT_NE(0, saving);
    QdbFile file = QDB_OpenFile(saving, 9);
    ASSERT_EQ(1, QDB_BeginTransaction(saving));
    ASSERT_EQ(1, QDB_AddRec(file, Appt(2, 2461386, 10).bytes));
    ASSERT_EQ(1, QDB_AddRec(file, Appt(3, 2461386, 11).bytes));

    ASSERT_TRUE(server.Run("halt"));
    EXPECT_EQ(0, QDB_CommitTransaction(saving));
    EXPECT_EQ(kQdbConnectionLost, QDB_GetLastResultNum(saving)) << QDB_GetLastReason(saving);
    QDB_EndSession(saving);
    {
        // The timer's look: Retry while the server is still down asks again; Cancel gives up.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerRetry).Answer(kAnswerCancel);
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
        ASSERT_EQ(2u, prompts.Asked().size());
        EXPECT_EQ("The practice database cannot be reached.", prompts.Asked()[1].text);
        EXPECT_EQ(kButtonsRetryCancel, prompts.Asked()[1].buttons);
        // The rest of the operation that asked fails without asking, and so do the timer's
        // looks after it; the next operation asks again.
        EXPECT_EQ(kQdbNoSession, DbFindRecord(appointments, kById, &id, 4, rec));
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
        EXPECT_EQ(2u, prompts.Asked().size());
        prompts.Answer(kAnswerCancel);
        EXPECT_EQ(kQdbNoSession, DbFindRecord(appointments, kById, &id, 4, rec));
        EXPECT_EQ(3u, prompts.Asked().size());
    }
    ASSERT_TRUE(server.Run("resume"));
    {
        // The window's look after that operation asks nothing; the next operation asks, and on
        // Retry goes on in a new session, which the next look reports once.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerRetry);
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
        EXPECT_EQ(kQdbOk, DbFindRecord(appointments, kById, &id, 4, rec));
        EXPECT_EQ((std::vector<std::string>{"The practice database cannot be reached."}), prompts.Texts());
        EXPECT_EQ(DbConnection::kRestored, DbKeepConnection());
        EXPECT_EQ(DbConnection::kKept, DbKeepConnection());
    }
    // A server restarted between two operations: the next operation on the broken session asks
    // instead of its file's message; Retry starts a new session, and the refresh timer's next
    // look reports it once, to reload what is shown.
    ASSERT_TRUE(server.Run("halt"));
    ASSERT_TRUE(server.Run("resume"));
    {
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerRetry);
        EXPECT_EQ(kQdbConnectionLost, DbFindRecord(appointments, kById, &id, 4, rec));
        EXPECT_EQ((std::vector<std::string>{"The practice database cannot be reached."}), prompts.Texts());
        EXPECT_EQ(DbConnection::kRestored, DbKeepConnection());
        EXPECT_EQ(kQdbOk, DbFindRecord(appointments, kById, &id, 4, rec));
        EXPECT_EQ(1u, prompts.Asked().size());
    }
    EXPECT_EQ(1, db.Sql("SELECT count(*) FROM g9")) << "the save in flight stored nothing";
    // A save after the restart works on a fresh connection, not the one kept idle before it.
    QdbSession after = QDB_StartSession(1);
    ASSERT_NE(0, after) << QDB_GetLastReason(0);
    file = QDB_OpenFile(after, 9);
    EXPECT_EQ(1, QDB_AddRec(file, Appt(4, 2461386, 12).bytes)) << QDB_GetLastReason(after);
    QDB_EndSession(after);
    DbEndSession();
    EXPECT_EQ(2, db.Sql("SELECT count(*) FROM g9"));
}
#endif
