// The record database engine on real databases, SQLite files and PostgreSQL databases alike:
// key order, sets, writes, refusals and record locks between sessions and between processes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "qdb_test_files.h"
#include "suite/qdb/qdb.h"

// The engine's suite, on each storage.
class QdbEngine : public QdbFixture {};

TEST_P(QdbEngine, KeysOrderRecordsAndEqualKeysKeepInsertionOrder) {
    QdbFile f = QDB_OpenFile(s, kByDateOperatory);  // any number of the group opens it
    ASSERT_NE(0u, f);
    int32_t monday = 2461386, tuesday = monday + 1;
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(1, tuesday, "OP1 ", 9).bytes));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(2, monday, "OP2 ", 8).bytes));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(3, monday, "OP1 ", 10).bytes));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(4, monday, "OP1 ", 10).bytes));  // same key bytes as 3
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(5, monday, "OP1 ", 7).bytes));

    uint8_t rec[286];
    std::vector<uint32_t> order;
    for (int ok = QDB_FirstRec(f, kByDateOperatory, rec); ok; ok = QDB_NextRec(f, kByDateOperatory, rec))
        order.push_back(IdOf(rec));
    EXPECT_EQ((std::vector<uint32_t>{5, 3, 4, 2, 1}), order) << "date, operatory, time; equal keys as added";
    EXPECT_EQ(kQdbNotFound, QDB_GetLastResultNum(s)) << "the end of the file is result 101";

    order.clear();
    for (int ok = QDB_LastRec(f, kAppointments, rec); ok; ok = QDB_PrevRec(f, kAppointments, rec))
        order.push_back(IdOf(rec));
    EXPECT_EQ((std::vector<uint32_t>{5, 4, 3, 2, 1}), order) << "the data file number walks physical order backwards";

    uint32_t id = 4;
    EXPECT_EQ(4u, Found(QDB_FindRec(f, kById, &id, rec), rec));
    id = 99;
    EXPECT_EQ(Refused(kQdbNotFound), Outcome(QDB_FindRec(f, kById, &id, rec), s));
    id = 3;
    EXPECT_EQ(3u, Found(QDB_GreaterThanOrEqualRec(f, kById, &id, rec), rec));

    // Past 255 records the record-number tail of equal keys carries into its next byte: it must
    // still sort as a number, or record 256 would come before record 2.
    const int32_t busy = monday + 7;
    for (uint32_t id = 100; id < 400; ++id) ASSERT_EQ(1, QDB_AddRec(f, Appointment(id, busy, "OP1 ", 9).bytes));
    std::vector<uint32_t> want, got;
    for (uint32_t id = 100; id < 400; ++id) want.push_back(id);
    QdbSet set = QDB_StartSet(f, kByDateOperatory, 0, &busy, rec, 4);
    for (int ok = set != 0; ok; ok = QDB_NextRecInSet(set, rec)) got.push_back(IdOf(rec));
    EXPECT_EQ(want, got) << "equal keys in the order added";
}

TEST_P(QdbEngine, SetsWalkOnePrefixAndKeepTwoSetsApart) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    int32_t day = 2461386;
    for (uint32_t id = 1; id <= 6; ++id)
        ASSERT_EQ(1, QDB_AddRec(f, Appointment(id, day + static_cast<int32_t>(id % 2), id <= 3 ? "OP1 " : "OP2 ",
                                               static_cast<int>(id), 100 + id % 3).bytes));
    uint8_t rec[286];
    std::vector<uint32_t> ids;
    uint8_t key[9] = {};  // the date, then the operatory's marker and id
    std::memcpy(key, &day, 4);
    key[4] = 3;
    std::memcpy(key + 5, "OP2 ", 4);
    QdbSet set = QDB_StartSet(f, kByDateOperatory, 0, &day, rec, 4);
    ASSERT_NE(0u, set);
    ids.push_back(IdOf(rec));
    uint32_t patient = 101;
    QdbSet other = QDB_StartSet(f, kByPatient, 0, &patient, rec, 4);  // a second set in between
    ASSERT_NE(0u, other);
    QdbSet narrow = QDB_StartSet(f, kByDateOperatory, 0, key, rec, 9);
    EXPECT_EQ(4u, Found(narrow != 0, rec)) << "the first of the day in OP2";
    ASSERT_EQ(1, QDB_EndSet(other));
    EXPECT_EQ(0, QDB_NextRecInSet(other, rec)) << "an ended set is gone";
    while (QDB_NextRecInSet(set, rec)) ids.push_back(IdOf(rec));
    EXPECT_EQ((std::vector<uint32_t>{2, 4, 6}), ids) << "one date, by operatory and time, past the other sets";
    int32_t empty_day = day + 10;
    EXPECT_EQ(Refused(kQdbNotFound), Outcome(QDB_StartSet(f, kByDateOperatory, 0, &empty_day, rec, 4), s));
}

TEST_P(QdbEngine, WritesDeletesAndRefusals) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(7, 2461386, "OP1 ", 9).bytes));
    EXPECT_EQ(Refused(kQdbDuplicateKey), Outcome(QDB_AddRec(f, Appointment(7, 2461390, "OP2 ", 9).bytes), s)) << "the appointment id is unique";

    uint8_t rec[286];
    uint32_t id = 7;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, rec));
    Appointment moved(7, 2461400, "OP2 ", 11);
    ASSERT_EQ(1, QDB_WriteRec(f, moved.bytes));
    int32_t new_day = 2461400;
    ASSERT_NE(0u, QDB_StartSet(f, kByDateOperatory, 0, &new_day, rec, 4)) << "keys follow the rewrite";
    ASSERT_EQ(1, QDB_DeleteCurRec(f));
    EXPECT_EQ(0, QDB_FindRec(f, kById, &id, rec));
    EXPECT_EQ(Refused(kQdbNoCurrentRecord), Outcome(QDB_DeleteCurRec(f), s));

    EXPECT_EQ(Refused(kQdbGroupNotOpen), Outcome(QDB_OpenFile(s, 30), s)) << "30 belongs to no group";
    EXPECT_EQ(30, QDB_GetLastFileNum(s));
    EXPECT_EQ(Refused(kQdbNoGroupFiles), Outcome(QDB_OpenFile(s, 94), s)) << "a group whose files were never created";
    EXPECT_EQ(Refused(kQdbBadKey), Outcome(QDB_FindRec(f, 95, &id, rec), s)) << "95 is no key of the appointment group";
    ASSERT_EQ(1, QDB_CREIFIL(s, 38));
    QdbFile other = QDB_OpenFile(s, 38);
    ASSERT_NE(0u, other);
    EXPECT_EQ(Refused(kQdbBadRecordSize), Outcome(QDB_AddRec(other, rec), s)) << "no layout defined for this group yet";
    QDB_EndSession(s);
    EXPECT_EQ(kQdbNoSession, QDB_GetLastResultNum(s));
    EXPECT_EQ(0u, QDB_OpenFile(s, kAppointments));
}

// Every way a practice's database can be missing or wrong gives 2 from QDB_InitDataBase or no
// session, and a reason that names what is wrong.
TEST(QdbStorage, MissingForeignAndUnknownDatabasesFailWithAReason) {
    std::string cluster_failure;
    const std::string cluster = PgClusterConnection(&cluster_failure);
    struct Case {
        const char* what;
        const char* inf;        // qvndata.inf, "" for none
        const char* reasonHas;  // in the reason
    } cases[] = {
        {"no database", "", "no practice database there"},
        {"an unknown backend", "[DATABASE]\nBackend=Oracle\n", "[DATABASE] Backend=Oracle"},
        {"a server nobody answers on", "[DATABASE]\nBackend=PostgreSQL\nConnection=Driver={PostgreSQL ANSI};Server=127.0.0.1;Port=1;Username=qvn;Database=x;\n",
         "[DATABASE] Connection in qvndata.inf: cannot connect to the practice database server"},
    };
    for (const Case& c : cases) {
        TempDatabase db;
        if (*c.inf) std::ofstream(db.Path() / "qvndata.inf") << c.inf;
        EXPECT_EQ(2, QDB_InitDataBase(db.Dir().c_str())) << c.what;
        EXPECT_NE(std::string::npos, std::string(QDB_GetLastReason(0)).find(c.reasonHas)) << c.what << ": " << QDB_GetLastReason(0);
    }
    {
        TempDatabase db;
        std::ofstream(db.Path() / "qvn.db") << "this is a letter to the practice, not a database\n";
        EXPECT_EQ(1, QDB_InitDataBase(db.Dir().c_str())) << "a file is there";
        EXPECT_EQ(0, QDB_StartSession(1)) << "but it is no database of ours";
        EXPECT_NE(std::string::npos, std::string(QDB_GetLastReason(0)).find("qvn.db is not a practice database")) << QDB_GetLastReason(0);
    }
#ifdef QVN_PG_STATE
    ASSERT_NE("", cluster) << cluster_failure;
    TempDatabase db(Backend::kPostgres);
    ASSERT_EQ("", db.Failure());
    EXPECT_EQ(2, QDB_InitDataBase(db.Dir().c_str())) << "a server database without the engine's tables";
    EXPECT_NE(std::string::npos, std::string(QDB_GetLastReason(0)).find("is not a practice database")) << QDB_GetLastReason(0);
#endif
}

TEST_P(QdbEngine, ASetWalkSeesItsOwnWritesAndLockedReadsSeeTheStoredRecord) {
    QdbSession other = Other();
    QdbFile f = QDB_OpenFile(s, kAppointments);
    QdbFile of = QDB_OpenFile(other, kAppointments);
    int32_t day = 2461386;
    for (uint32_t id = 1; id <= 40; ++id) ASSERT_EQ(1, QDB_AddRec(f, Appointment(id, day, "OP1 ", 0).bytes));
    uint8_t rec[286];
    QdbSet set = QDB_StartSet(f, kByDateOperatory, 0, &day, rec, 4);
    ASSERT_NE(0u, set);
    ASSERT_EQ(1, QDB_NextRecInSet(set, rec));  // record 2; a batch after it has been read
    uint32_t id = 3;
    uint8_t changed[286];
    ASSERT_EQ(1, QDB_FindRec(f, kById, &id, changed));
    changed[155] = 45;
    ASSERT_EQ(1, QDB_WriteRec(f, changed));
    EXPECT_EQ(3u, Found(QDB_NextRecInSet(set, rec), rec));
    EXPECT_EQ(45, rec[155]) << "the own session's rewrite shows in the walk";

    id = 4;
    ASSERT_EQ(1, QDB_FindRec(of, kById, &id, changed));
    changed[155] = 30;
    ASSERT_EQ(1, QDB_WriteRec(of, changed));  // another workstation, after the batch was read
    ASSERT_EQ(1, QDB_LKISAM(s, 2));
    EXPECT_EQ(4u, Found(QDB_NextRecInSet(set, rec), rec));
    EXPECT_EQ(30, rec[155]) << "a locked read gets the stored record";
    ASSERT_EQ(1, QDB_LKISAM(s, 0));
    int walked = 4;
    while (QDB_NextRecInSet(set, rec)) ++walked;
    EXPECT_EQ(40, walked) << "every record of the day, each once";
    QDB_EndSession(other);
}

TEST_P(QdbEngine, ExclusiveOpensKeepOtherSessionsOut) {
    QdbSession a = s, b = Other();
    QdbFile fa = QDB_OpenFile(a, kAppointments);
    ASSERT_NE(0u, fa);
    EXPECT_EQ(Refused(kQdbFileInUse), Outcome(QDB_OpenFileExclusive(b, kAppointments), b)) << "open shared elsewhere";
    QdbFile fa2 = QDB_OpenFile(a, kById);
    ASSERT_NE(0u, fa2) << "a second handle of the same session";
    ASSERT_EQ(1, QDB_CloseFile(fa));
    EXPECT_EQ(0u, QDB_OpenFileExclusive(b, kAppointments)) << "the session still has the group open";
    ASSERT_EQ(1, QDB_CloseFile(fa2));
    ASSERT_NE(0u, QDB_OpenFileExclusive(b, kAppointments));
    EXPECT_EQ(Refused(kQdbFileInUse), Outcome(QDB_OpenFile(a, kAppointments), a)) << "held exclusively elsewhere";
    QDB_EndSession(b);  // its exclusive hold goes with it
    EXPECT_NE(0u, QDB_OpenFile(a, kAppointments));
}

TEST_P(QdbEngine, VariableLengthRecordsKeepTheirWholeLength) {
    constexpr int kAudit = 92;
    const int head = QDB_RecordLength(kAudit);
    ASSERT_GT(head, 0) << "audit entries have a fixed head";
    ASSERT_EQ(1, QDB_CREIFIL(s, kAudit));
    QdbFile f = QDB_OpenFile(s, kAudit);
    ASSERT_NE(0u, f);
    std::vector<uint8_t> small(static_cast<size_t>(head), 0x11), large(static_cast<size_t>(head) + 3000, 0x22);
    small[0] = 1;
    large[0] = 2;
    large.back() = 0x7E;
    ASSERT_EQ(1, QDB_AddVRec(f, small.data(), static_cast<int>(small.size())));
    ASSERT_EQ(1, QDB_AddVRec(f, large.data(), static_cast<int>(large.size())));
    EXPECT_EQ(Refused(kQdbBadRecordSize), Outcome(QDB_AddVRec(f, small.data(), head - 1), s)) << "shorter than the head";
    EXPECT_EQ(Refused(kQdbBadRecordSize), Outcome(QDB_AddRec(f, small.data()), s)) << "fixed-length calls would cut the record";

    std::vector<uint8_t> buffer(large.size() + 10, 0);
    ASSERT_EQ(1, QDB_LastRec(f, kAudit, buffer.data()));
    EXPECT_EQ(2, buffer[0]);
    EXPECT_EQ(0, buffer[static_cast<size_t>(head)]) << "navigation copies the head only";
    EXPECT_EQ(static_cast<int>(large.size()), QDB_GetVarRecLength(f));
    EXPECT_EQ(Refused(kQdbBufferTooSmall), Outcome(QDB_ReadEntireVarRec(f, buffer.data(), head), s));
    ASSERT_EQ(1, QDB_ReadEntireVarRec(f, buffer.data(), static_cast<int>(buffer.size())));
    EXPECT_EQ(0x7E, buffer[large.size() - 1]);

    std::vector<uint8_t> shorter(static_cast<size_t>(head) + 5, 0x33);
    ASSERT_EQ(1, QDB_WriteVRec(f, shorter.data(), static_cast<int>(shorter.size())));
    ASSERT_EQ(1, QDB_FirstRec(f, kAudit, buffer.data()));
    ASSERT_EQ(1, QDB_NextRec(f, kAudit, buffer.data()));
    EXPECT_EQ(static_cast<int>(shorter.size()), QDB_GetVarRecLength(f)) << "a rewrite may shorten the record";
}

TEST_P(QdbEngine, DamagedFilesGiveAResultAndAReasonNeverACrash) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(1, 2461386, "OP1 ", 8).bytes));
    ASSERT_EQ(0, db.Sql("UPDATE g9 SET rec = substr(rec, 1, 100)")) << "another program shortens a record";
    uint8_t rec[286];
    uint32_t id = 1;
    EXPECT_EQ(Refused(kQdbWrongLength), Outcome(QDB_FindRec(f, kById, &id, rec), s));
    EXPECT_EQ("record 1 of file 9 has 100 bytes where 286 belong", std::string(QDB_GetLastReason(s)));

    ASSERT_EQ(0, db.Sql("DROP TABLE g9")) << "and drops the table";
    EXPECT_EQ(Refused(kQdbStorageError), Outcome(QDB_FirstRec(f, kAppointments, rec), s));
    EXPECT_NE(std::string::npos, std::string(QDB_GetLastReason(s)).find("g9")) << "the database's own words: " << QDB_GetLastReason(s);
    EXPECT_EQ(Refused(kQdbStorageError), Outcome(QDB_AddRec(f, Appointment(2, 2461386, "OP1 ", 9).bytes), s));
    EXPECT_EQ(Refused(kQdbNoGroupFiles), Outcome(QDB_OpenFile(s, kAppointments), s));
    ASSERT_EQ(1, QDB_CREIFIL(s, kAppointments));
    f = QDB_OpenFile(s, kAppointments);
    ASSERT_NE(0u, f);
    EXPECT_EQ(1, QDB_AddRec(f, Appointment(2, 2461386, "OP1 ", 9).bytes)) << QDB_GetLastReason(s);
}

#ifndef _WIN32
// The rollback journal is a file of the SQLite storage only.
class QdbSqliteFiles : public QdbEngine {};
INSTANTIATE_TEST_SUITE_P(Storage, QdbSqliteFiles, testing::Values(Backend::kSqlite), BackendParamName);

TEST_P(QdbSqliteFiles, AFolderWhereNoFileCanBeMadeRefusesWritesWithAReason) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_NE(0u, f);
    // A data directory where no file can be made: the rollback journal has nowhere to go, as on a
    // read-only share. (A blocking directory works for every user, root included; Windows and
    // Wine treat a directory in the journal's place differently, so this part runs natively.)
    std::filesystem::create_directory(db.Path() / "qvn.db-journal");
    EXPECT_EQ(Refused(kQdbStorageError), Outcome(QDB_AddRec(f, Appointment(3, 2461386, "OP1 ", 9).bytes), s));
    EXPECT_EQ(0u, std::string(QDB_GetLastReason(s)).rfind("cannot begin a write: ", 0)) << QDB_GetLastReason(s);
    EXPECT_EQ(Refused(kQdbStorageError), Outcome(QDB_OpenFile(s, kAppointments), s));
    EXPECT_EQ(0u, std::string(QDB_GetLastReason(s)).rfind("cannot read the database: ", 0)) << QDB_GetLastReason(s);
    std::filesystem::remove(db.Path() / "qvn.db-journal");
    EXPECT_EQ(1, QDB_AddRec(f, Appointment(3, 2461386, "OP1 ", 9).bytes)) << "writes work again once it is gone";
}
#endif

TEST_P(QdbEngine, TwoSessionsLockAgainstEachOtherUntilOneEnds) {
    QdbSession a = s;
    QdbSession b = Other();
    ASSERT_NE(0, b);
    QdbFile fa = QDB_OpenFile(a, kAppointments);
    QdbFile fb = QDB_OpenFile(b, kAppointments);
    for (uint32_t id = 1; id <= 3; ++id) ASSERT_EQ(1, QDB_AddRec(fa, Appointment(id, 2461386, "OP1 ", 8).bytes));
    uint8_t rec[286];
    uint32_t one = 1, two = 2, three = 3;

    // Locking reads hold what they read; reading without locking sees locked records.
    ASSERT_EQ(1, QDB_StartLocking(a));
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &one, rec));
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &three, rec));
    EXPECT_EQ(1, QDB_FindRec(fb, kById, &one, rec));
    ASSERT_EQ(1, QDB_LKISAM(b, 2));
    EXPECT_EQ(Refused(kQdbLocked), Outcome(QDB_FindRec(fb, kById, &one, rec), b));
    EXPECT_EQ(1, QDB_FindRec(fb, kById, &two, rec)) << "a record a did not read is free";
    EXPECT_EQ(Refused(kQdbLocked), Outcome(QDB_StartUpdate(fb, 2, kById, &three, rec), b));
    ASSERT_EQ(1, QDB_LKISAM(b, 0));
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &three, rec));
    EXPECT_EQ(Refused(kQdbLocked), Outcome(QDB_WriteRec(fb, rec), b)) << "a record held by another session cannot be written";
    ASSERT_EQ(1, QDB_LKISAM(b, 2));
    ASSERT_EQ(1, QDB_LKISAM(a, 1));  // releases all, locking goes on
    EXPECT_EQ(1, QDB_FindRec(fb, kById, &one, rec));
    EXPECT_EQ(Refused(kQdbLocked), Outcome(QDB_FindRec(fa, kById, &one, rec), a)) << "a still locks on read, and b has 1 now";
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &three, rec));

    QDB_EndSession(a);  // its locks go with it
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &three, rec));
    rec[155] = 150;
    EXPECT_EQ(1, QDB_WriteRec(fb, rec)) << "b holds 3 now and writes it";
    QDB_EndSession(b);
}

// A change locks its records by key before it reads them, the ones it will create too, and
// writes them in one transaction: an abort or a failed write leaves nothing, and a lock its own
// write took is held until the end, so that nobody reads the record as it was meanwhile.
TEST_P(QdbEngine, KeyLocksStandForRecordsNotYetMadeAndATransactionIsWholeOrNothing) {
    QdbSession a = s;
    QdbSession b = Other();
    ASSERT_NE(0, b);
    QdbFile fa = QDB_OpenFile(a, kAppointments);
    QdbFile fb = QDB_OpenFile(b, kAppointments);
    uint8_t rec[286];
    uint32_t id = 7;
    ASSERT_EQ(1, QDB_LockKey(fa, kById, &id));
    EXPECT_EQ(Refused(kQdbLocked), ErrorOutcome(QDB_LockKey(fb, kById, &id), b)) << "one key, one holder, whether or not the record exists";
    EXPECT_EQ(Refused(kQdbBadKey), ErrorOutcome(QDB_LockKey(fa, kByDateOperatory, rec), a)) << "only the identity key locks";

    ASSERT_EQ(1, QDB_BeginTransaction(a));
    EXPECT_EQ(0, QDB_BeginTransaction(a)) << "transactions do not nest";
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(7, 2461386, "OP1 ", 9).bytes));
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(8, 2461386, "OP2 ", 9).bytes));
    ASSERT_EQ(1, QDB_AbortTransaction(a));
    EXPECT_EQ(0, QDB_FindRec(fa, kById, &id, rec)) << "the abort took both records back";

    ASSERT_EQ(1, QDB_BeginTransaction(a));
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(7, 2461386, "OP1 ", 9).bytes));
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(8, 2461386, "OP2 ", 9).bytes));
    ASSERT_EQ(1, QDB_LKISAM(a, 0));  // the key lock goes; the lock of record 8's write stays
    uint32_t eight = 8;
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &eight, rec));
    rec[155] = 3;
    ASSERT_EQ(1, QDB_WriteRec(fa, rec));
    EXPECT_EQ(0, QDB_LockKey(fb, kById, &eight)) << "held by the write until the commit";
    EXPECT_EQ(0, QDB_AddRec(fa, Appointment(7, 2461386, "OP3 ", 10).bytes)) << "the id is taken";
    EXPECT_EQ(Refused(kQdbStorageError), ErrorOutcome(QDB_CommitTransaction(a), a)) << "a failed write dooms the transaction";
    EXPECT_EQ(0, QDB_FindRec(fb, kById, &eight, rec));
    EXPECT_EQ(1, QDB_LockKey(fb, kById, &eight)) << "the transaction's locks end with it";

    ASSERT_EQ(1, QDB_LockKey(fa, kById, &id));
    ASSERT_EQ(1, QDB_BeginTransaction(a));
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(7, 2461386, "OP1 ", 9).bytes));
    ASSERT_EQ(1, QDB_CommitTransaction(a));
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &id, rec)) << "committed";
    ASSERT_EQ(1, QDB_LKISAM(b, 2));
    EXPECT_EQ(Refused(kQdbLocked), ErrorOutcome(QDB_FindRec(fb, kById, &id, rec), b)) << "a locked read of the record made under the key lock meets it";
    QDB_EndSession(b);
}

// A read snapshot reads the database as it was at its first read. On SQLite it is the database's
// shared lock, so another session's write waits and, after its busy wait of about five seconds,
// gives up with 60; on PostgreSQL other writers go on. The session's own write ends the snapshot
// and is committed at once.
TEST_P(QdbEngine, AReadSnapshotSeesOneMomentAndEndsWithItsOwnWrite) {
    QdbSession a = s;
    QdbSession b = Other();
    ASSERT_NE(0, b);
    QdbFile fa = QDB_OpenFile(a, kAppointments);
    QdbFile fb = QDB_OpenFile(b, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(1, 2461386, "OP1 ", 9).bytes));
    ASSERT_EQ(1, QDB_AddRec(fa, Appointment(2, 2461386, "OP2 ", 9).bytes));
    EXPECT_EQ(Refused(kQdbBulkState), Outcome(QDB_EndReadSnapshot(a), a)) << "an end without a begin";

    uint8_t rec[286];
    uint32_t id = 1;
    ASSERT_EQ(1, QDB_BeginReadSnapshot(a));
    ASSERT_EQ(1, QDB_BeginReadSnapshot(a));
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &id, rec));
    ASSERT_EQ(1, QDB_EndReadSnapshot(a));  // the inner end: the snapshot stays
    uint32_t other = 2;
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &other, rec)) << "other sessions read as always";
    const Appointment later(2, 2461386, "OP2 ", 10);
    const bool writers_wait = GetParam() == Backend::kSqlite;
    EXPECT_EQ(writers_wait ? 0 : 1, QDB_WriteRec(fb, later.bytes)) << "SQLite: the write waits for the snapshot and gives up";
    EXPECT_EQ(writers_wait ? kQdbStorageError : kQdbOk, QDB_GetLastResultNum(b));
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &other, rec));
    EXPECT_NE(0, std::memcmp(later.bytes, rec, sizeof rec)) << "the snapshot reads record 2 as at its first read";

    // The session's own write inside the snapshot is committed as always: b sees it at once.
    const Appointment moved(1, 2461386, "OP3 ", 11);
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &id, rec));
    ASSERT_EQ(1, QDB_WriteRec(fa, moved.bytes));
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &id, rec));
    EXPECT_EQ(0, std::memcmp(moved.bytes, rec, sizeof rec));
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &other, rec));
    EXPECT_EQ(1, QDB_WriteRec(fb, later.bytes)) << "the write ended the snapshot: nothing holds b off";
    ASSERT_EQ(1, QDB_EndReadSnapshot(a));

    // A snapshot that only reads, ended: b writes again.
    ASSERT_EQ(1, QDB_BeginReadSnapshot(a));
    ASSERT_EQ(1, QDB_FindRec(fa, kById, &other, rec));
    EXPECT_EQ(0, std::memcmp(later.bytes, rec, sizeof rec)) << "the snapshot begins with b's committed write";
    ASSERT_EQ(1, QDB_EndReadSnapshot(a));
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &other, rec));
    EXPECT_EQ(1, QDB_WriteRec(fb, Appointment(2, 2461386, "OP2 ", 12).bytes));
    QDB_EndSession(b);
}

#ifndef _WIN32
TEST_P(QdbEngine, ALockHeldByAnotherProcessGivesWayWhenItDies) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(1, 2461386, "OP1 ", 9).bytes));
    // A session ended before the fork is kept for reuse; the child must start its own, or it and
    // this process would lock through one and the same lock file description.
    ASSERT_EQ(1, QDB_EndSession(QDB_StartSession(1)));
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other workstation: its own session takes the record and keeps it.
        QdbSession other = Other();
        QdbFile of = QDB_OpenFile(other, kAppointments);
        uint8_t rec[286];
        uint32_t id = 1;
        char ok = QDB_StartUpdate(of, 2, kById, &id, rec) ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(1, read(ready[0], &ok, 1));
    ASSERT_EQ('y', ok);
    uint8_t rec[286];
    uint32_t id = 1;
    EXPECT_EQ(Refused(kQdbLocked), Outcome(QDB_StartUpdate(f, 2, kById, &id, rec), s));
    const QdbSession reused = QDB_StartSession(1);
    EXPECT_EQ(0u, QDB_StartUpdate(QDB_OpenFile(reused, kAppointments), 2, kById, &id, rec))
        << "the session kept from before the fork is this process's alone";
    EXPECT_EQ(kQdbLocked, QDB_GetLastResultNum(reused));
    QDB_EndSession(reused);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    // The server notices a dead connection when its socket closes: a moment, bounded here.
    QdbUpdate u = 0;
    for (int i = 0; i < 500 && !u; ++i) {
        if (i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        u = QDB_StartUpdate(f, 2, kById, &id, rec);
    }
    EXPECT_NE(0u, u) << "the dead process's lock is gone";
    QDB_AbortUpdate(u);
    close(ready[0]);
    close(ready[1]);
}

TEST_P(QdbEngine, AProcessKilledAmidWritesLeavesEveryConfirmedWrite) {
    int confirmed[2];
    ASSERT_EQ(0, pipe(confirmed));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Writes for ever, telling the parent each id whose add returned success.
        QdbSession writer = QDB_StartSession(1);
        QdbFile wf = QDB_OpenFile(writer, kAppointments);
        for (uint32_t id = 1;; ++id) {
            if (QDB_AddRec(wf, Appointment(id, 2461386 + static_cast<int32_t>(id % 30), "OP1 ", 9).bytes))
                (void)!write(confirmed[1], &id, sizeof id);
        }
    }
    close(confirmed[1]);
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    while (ids.size() < 40 && read(confirmed[0], &id, sizeof id) == sizeof id) ids.push_back(id);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    while (read(confirmed[0], &id, sizeof id) == sizeof id) ids.push_back(id);  // sent before death
    close(confirmed[0]);
    ASSERT_GE(ids.size(), 40u);

    // SQLite: the file passes its integrity check. PostgreSQL: the dead connection's advisory
    // locks are gone (once the server has noticed; bounded).
    const char* check = GetParam() == Backend::kSqlite
                            ? "SELECT count(*) FROM pragma_integrity_check WHERE integrity_check = 'ok'"
                            : "SELECT 1 - count(*) FROM pg_locks WHERE locktype = 'advisory' AND database = "
                              "(SELECT oid FROM pg_database WHERE datname = current_database())";
    int64_t healthy = 0;
    for (int i = 0; i < 500 && healthy != 1; ++i) {
        if (i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        healthy = db.Sql(check);
    }
    EXPECT_EQ(1, healthy);

    QdbFile f = QDB_OpenFile(s, kAppointments);
    uint8_t rec[286];
    for (uint32_t confirmed_id : ids) EXPECT_EQ(1, QDB_FindRec(f, kById, &confirmed_id, rec)) << confirmed_id;
}
#endif

INSTANTIATE_TEST_SUITE_P(Storage, QdbEngine, TestedBackends(), BackendParamName);

#ifdef QVN_PG_STATE
// A server connection that breaks under a change: the server drops the open transaction whole,
// the engine says 72 (the database cannot be reached) from then on, and a new session goes on.
class QdbServer : public QdbFixture {};
INSTANTIATE_TEST_SUITE_P(Storage, QdbServer, testing::Values(Backend::kPostgres), BackendParamName);

TEST_P(QdbServer, ABrokenConnectionLosesTheOpenChangeWholeAndANewSessionGoesOn) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(1, 2461386, "OP1 ", 9).bytes));
    uint32_t id = 1;
    ASSERT_EQ(1, QDB_LockKey(f, kById, &id));
    const char* locks = "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND database = "
                        "(SELECT oid FROM pg_database WHERE datname = current_database())";
    ASSERT_EQ(2, db.Sql(locks)) << "the group's open lock and the key lock";
    ASSERT_EQ(1, QDB_BeginTransaction(s));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(2, 2461386, "OP2 ", 9).bytes));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(3, 2461386, "OP3 ", 9).bytes));
    ASSERT_EQ(1, db.Sql("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                        "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    EXPECT_EQ(0, QDB_CommitTransaction(s));
    EXPECT_EQ(kQdbConnectionLost, QDB_GetLastResultNum(s)) << QDB_GetLastReason(s);
    EXPECT_EQ(1, db.Sql("SELECT count(*) FROM g9")) << "nothing of the change is stored";
    EXPECT_EQ(0, db.Sql(locks)) << "the broken connection's locks are gone";
    uint8_t rec[286];
    EXPECT_EQ(0, QDB_FindRec(f, kById, &id, rec));
    EXPECT_EQ(kQdbConnectionLost, QDB_GetLastResultNum(s)) << QDB_GetLastReason(s);

    QDB_EndSession(s);
    s = QDB_StartSession(1);
    ASSERT_NE(0, s) << "a new connection: " << QDB_GetLastReason(0);
    f = QDB_OpenFile(s, kAppointments);
    EXPECT_EQ(1, QDB_FindRec(f, kById, &id, rec)) << QDB_GetLastReason(s);
}
#endif
