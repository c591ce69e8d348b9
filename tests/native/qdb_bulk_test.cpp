// The engine's bulk writing on real databases, SQLite files and PostgreSQL databases alike: records written in bulk come back by every
// key and in physical order, other connections see only what was committed, an aborted bulk
// leaves nothing after its last intermediate commit, refusals keep the bulk going, and normal
// writes go on afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "qdb_test_files.h"
#include "suite/qdb/qdb.h"

namespace {

// The appointment of number i of the bulk tests: ten days, four operatories, two providers,
// a patient in seven, every eleventh unscheduled.
Appointment Numbered(uint32_t i) {
    static const char* const kOps[] = {"OP1 ", "OP2 ", "OP3 ", "OP4 "};
    static const char* const kNames[] = {"Baker, Anna", "Carter, Ben", "Diaz, Cora", "Ellis, Dale"};
    const int32_t date = i % 11 == 0 ? 0 : 2461386 + static_cast<int32_t>(i % 10);
    return Appointment(i, date, kOps[i % 4], i % 2 ? "DR1 " : "HYG1", 7 + static_cast<int>(i % 12), 100 + i % 7, kNames[i % 4]);
}

// The ids of a set on key, in set order.
std::vector<uint32_t> SetIds(QdbFile f, int key, const void* prefix, int significant) {
    std::vector<uint32_t> ids;
    uint8_t rec[286];
    QdbSet set = QDB_StartSet(f, key, 0, prefix, rec, significant);
    for (int ok = set != 0; ok; ok = QDB_NextRecInSet(set, rec)) ids.push_back(IdOf(rec));
    if (set) QDB_EndSet(set);
    return ids;
}

// The number of records another connection sees: only what is committed.
int64_t CommittedRows(const TempDatabase& db) { return db.Sql("SELECT count(*) FROM g9"); }

// Whether another connection could write now. On SQLite bulk writing holds the database's write
// lock; a PostgreSQL server lets other writers go on (tools write in bulk only while nobody works).
bool OtherCanWrite(const TempDatabase& db) {
    return db.Sql(db.Kind() == Backend::kSqlite ? "BEGIN IMMEDIATE" : "UPDATE qvn_meta SET value = value") == 0;
}

}  // namespace

class QdbBulk : public QdbFixture {};
INSTANTIATE_TEST_SUITE_P(Storage, QdbBulk, TestedBackends(), BackendParamName);

TEST_P(QdbBulk, RecordsWrittenInBulkReadBackByEveryKey) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_NE(0u, f);
    ASSERT_EQ(1, QDB_BeginBulkWrite(s, 100)) << QDB_GetLastReason(s);
    EXPECT_EQ(GetParam() == Backend::kPostgres, OtherCanWrite(db)) << "SQLite: bulk writing holds the write lock from its start";
    EXPECT_EQ(Refused(kQdbBulkState), Outcome(QDB_BeginBulkWrite(s), s));
    std::vector<uint32_t> recnos;
    for (uint32_t i = 1; i <= 250; ++i) {
        ASSERT_EQ(1, QDB_AddRec(f, Numbered(i).bytes)) << i << ": " << QDB_GetLastReason(s);
        recnos.push_back(QDB_GetFilePos(f));
    }
    EXPECT_EQ(200, CommittedRows(db)) << "committed every 100 records, the rest still open";

    // The session reads its own records while the bulk is open.
    uint8_t rec[286];
    uint32_t id = 250;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    EXPECT_EQ(0, std::memcmp(rec, Numbered(250).bytes, 286));
    ASSERT_EQ(1, QDB_EndBulkWrite(s, 1)) << QDB_GetLastReason(s);
    EXPECT_EQ(250, CommittedRows(db));
    EXPECT_TRUE(OtherCanWrite(db)) << "the write lock goes with the end";
    EXPECT_EQ(Refused(kQdbBulkState), Outcome(QDB_EndBulkWrite(s, 1), s));

    // Physical order is the order written, record numbers counting from 1.
    std::vector<uint32_t> physical, written;
    for (int ok = QDB_FirstRec(f, kAppointments, rec); ok; ok = QDB_NextRec(f, kAppointments, rec)) physical.push_back(IdOf(rec));
    for (uint32_t i = 1; i <= 250; ++i) written.push_back(i);
    EXPECT_EQ(written, recnos);
    EXPECT_EQ(written, physical);

    // Every key gives exactly the records the bytes say, in key order (equal keys as added). (The
    // copy of a whole practice in bulk is read back by every key in qvnadmin_server_test.cpp.)
    for (uint32_t i = 1; i <= 250; ++i) {
        id = i;
        ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec)) << i;
        ASSERT_EQ(0, std::memcmp(rec, Numbered(i).bytes, 286)) << i;
    }
    std::vector<uint32_t> want;
    for (uint32_t i = 1; i <= 250; ++i)
        if (i % 4 == 1) want.push_back(i);
    EXPECT_EQ(want, SetIds(f, kByName, "Carter, Ben", 11)) << "one name, as added";
    uint8_t waiting = 1;
    EXPECT_EQ(22u, SetIds(f, kUnscheduled, &waiting, 1).size()) << "every eleventh waits on the unscheduled list";
    QDB_EndSession(s);
}

TEST_P(QdbBulk, AnAbortedBulkLeavesNothingAfterItsLastCommit) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    for (uint32_t i = 1; i <= 3; ++i) ASSERT_EQ(1, QDB_AddRec(f, Numbered(i).bytes));

    // Adds, a rewrite, a delete and an update, all taken back.
    ASSERT_EQ(1, QDB_BeginBulkWrite(s));
    for (uint32_t i = 10; i < 60; ++i) ASSERT_EQ(1, QDB_AddRec(f, Numbered(i).bytes));
    uint8_t rec[286];
    uint32_t id = 1;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    ASSERT_EQ(1, QDB_WriteRec(f, Numbered(99).bytes));
    id = 2;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    ASSERT_EQ(1, QDB_DeleteCurRec(f));
    id = 3;
    QdbUpdate update = QDB_StartUpdate(f, 2, kById, &id, rec);
    ASSERT_NE(0u, update);
    rec[153] = 23;
    ASSERT_EQ(1, QDB_CommitUpdate(update));
    ASSERT_EQ(1, QDB_EndBulkWrite(s, 0));

    std::vector<uint32_t> ids;
    for (int ok = QDB_FirstRec(f, kAppointments, rec); ok; ok = QDB_NextRec(f, kAppointments, rec)) {
        ids.push_back(IdOf(rec));
        EXPECT_EQ(0, std::memcmp(rec, Numbered(IdOf(rec)).bytes, 286)) << IdOf(rec) << " as before the bulk";
    }
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), ids);
    id = 99;
    EXPECT_EQ(0, QDB_FindRec(f, kById, &id, rec)) << "the rewrite's key is gone with it";

    // With commits every 20 records, an abort after 50 keeps the 40 committed.
    ASSERT_EQ(1, QDB_BeginBulkWrite(s, 20));
    for (uint32_t i = 100; i < 150; ++i) ASSERT_EQ(1, QDB_AddRec(f, Numbered(i).bytes));
    ASSERT_EQ(1, QDB_EndBulkWrite(s, 0));
    EXPECT_EQ(43, CommittedRows(db));
    uint32_t last_kept = 139, first_lost = 140;
    EXPECT_EQ(139u, Found(QDB_FindRec(f, kById, &last_kept, rec), rec));
    EXPECT_EQ(0u, Found(QDB_FindRec(f, kById, &first_lost, rec), rec));

    // Ending the session in bulk takes back the open part the same way.
    ASSERT_EQ(1, QDB_BeginBulkWrite(s));
    ASSERT_EQ(1, QDB_AddRec(f, Numbered(200).bytes));
    QDB_EndSession(s);
    EXPECT_EQ(43, CommittedRows(db));
    EXPECT_TRUE(OtherCanWrite(db));
}

TEST_P(QdbBulk, RefusalsKeepTheBulkGoingAndNormalWritesFollow) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    for (uint32_t i = 1; i <= 3; ++i) ASSERT_EQ(1, QDB_AddRec(f, Numbered(i).bytes));
    uint8_t rec[286];
    uint32_t id = 3;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    ASSERT_EQ(1, QDB_DeleteCurRec(f));  // record number 3 is used up

    ASSERT_EQ(1, QDB_BeginBulkWrite(s));
    ASSERT_EQ(1, QDB_AddRec(f, Numbered(10).bytes));
    EXPECT_EQ(4u, QDB_GetFilePos(f)) << "record numbers go on after the deleted one, as without bulk";
    EXPECT_EQ(Refused(kQdbDuplicateKey), Outcome(QDB_AddRec(f, Numbered(10).bytes), s)) << "the appointment id is unique in bulk too";
    EXPECT_EQ(Refused(kQdbDuplicateKey), Outcome(QDB_AddRec(f, Numbered(1).bytes), s));
    ASSERT_EQ(1, QDB_AddRec(f, Numbered(11).bytes));
    // A PostgreSQL sequence hands no number out twice, so there a refused record uses one up.
    const uint32_t used_up = GetParam() == Backend::kPostgres ? 2 : 0;
    EXPECT_EQ(5u + used_up, QDB_GetFilePos(f)) << "SQLite: a refused record takes no number";
    // A rewrite to a taken id is refused whole: the record keeps its bytes and keys.
    id = 11;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    EXPECT_EQ(Refused(kQdbDuplicateKey), Outcome(QDB_WriteRec(f, Numbered(2).bytes), s));
    ASSERT_EQ(1, QDB_EndBulkWrite(s, 1)) << "refusals lose nothing: " << QDB_GetLastReason(s);

    std::vector<uint32_t> ids;
    for (int ok = QDB_FirstRec(f, kById, rec); ok; ok = QDB_NextRec(f, kById, rec)) ids.push_back(IdOf(rec));
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 10, 11}), ids);
    id = 11;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    EXPECT_EQ(0, std::memcmp(rec, Numbered(11).bytes, 286)) << "the refused rewrite left the bytes";

    // Normal writes after the bulk: one transaction each, numbers going on.
    ASSERT_EQ(1, QDB_AddRec(f, Numbered(12).bytes)) << QDB_GetLastReason(s);
    EXPECT_EQ(6u + used_up, QDB_GetFilePos(f));
    EXPECT_EQ(5, CommittedRows(db));
    QdbSession other = Other();
    ASSERT_NE(0, other);
    QdbFile g = QDB_OpenFile(other, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(g, Numbered(14).bytes)) << "another session writes again";
    EXPECT_EQ(7u + used_up, QDB_GetFilePos(g));
    QDB_EndSession(other);
    QDB_EndSession(s);
    EXPECT_EQ(Refused(kQdbNoSession), Outcome(QDB_BeginBulkWrite(s), s));
}
