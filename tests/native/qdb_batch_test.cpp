// The engine's calls that move many records at once, and the reads ahead that spare a server its
// round trips, on SQLite files and PostgreSQL databases alike: many records added in one call
// come back by their keys and in order, a batch read by a unique key answers every value in its
// place, a read of many key prefixes gives each place the records of its prefix and locks none,
// walks read ahead yet see the session's own writes, and a change with a failed statement
// commits nothing while the session goes on.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "qdb_test_files.h"
#include "suite/qdb/qdb.h"

namespace {

// Appointments 1..count on one day and operatory, each the given hour.
std::vector<Appointment> OneColumn(uint32_t first, uint32_t count) {
    std::vector<Appointment> all;
    for (uint32_t id = first; id < first + count; ++id) all.emplace_back(id, 2461386, "OP1 ", 8 + static_cast<int>(id % 9));
    return all;
}

int AddAll(QdbFile f, const std::vector<Appointment>& records) {
    std::vector<const void*> pointers;
    for (const Appointment& a : records) pointers.push_back(a.bytes);
    return QDB_AddRecs(f, static_cast<int>(pointers.size()), pointers.data(), nullptr);
}

}  // namespace

class QdbBatch : public QdbFixture {};
INSTANTIATE_TEST_SUITE_P(Storage, QdbBatch, TestedBackends(), BackendParamName);

TEST_P(QdbBatch, RecordsAddedTogetherComeBackByKeyInSetsAndInWalks) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, AddAll(f, OneColumn(1, 700))) << QDB_GetLastReason(s);
    uint8_t rec[286];
    ASSERT_EQ(1, QDB_LastRec(f, kAppointments, rec));
    EXPECT_EQ(700u, IdOf(rec)) << "added in their order";

    // Values found, missing and repeated, across more values than one statement takes.
    std::vector<uint32_t> wanted = {5, 999, 700, 5};
    for (uint32_t id = 100; id < 400; ++id) wanted.push_back(id);
    std::vector<uint8_t> records(wanted.size() * 286), found(wanted.size(), 7);
    uint32_t seven = 7;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &seven, rec));
    ASSERT_EQ(1, QDB_FindRecs(f, kById, static_cast<int>(wanted.size()), wanted.data(), records.data(), found.data()));
    std::vector<uint32_t> expected = wanted, got;
    expected[1] = 0;  // 999: none
    for (size_t i = 0; i < wanted.size(); ++i) got.push_back(found[i] == 1 ? IdOf(&records[i * 286]) : found[i] == 0 ? 0 : 1);
    EXPECT_EQ(expected, got);
    ASSERT_EQ(1, QDB_NextRec(f, kAppointments, rec));
    EXPECT_EQ(8u, IdOf(rec)) << "the batch read left the current record alone";
    EXPECT_EQ(0, QDB_FindRecs(f, kByDateOperatory, 1, rec, records.data(), found.data()));
    EXPECT_EQ(kQdbBadKey, QDB_GetLastResultNum(s)) << "only a unique key's values are matched";

    // A set longer than any one read-ahead, in key order (date, operatory, hour, then record number).
    struct {
        int32_t date = 2461386;
        uint8_t marker = 3;
        char op[4] = {'O', 'P', '1', ' '};
    } prefix;
    int n = 0, last_hour = 0;
    QdbSet set = QDB_StartSet(f, kByDateOperatory, 0, &prefix, rec, 9);
    ASSERT_NE(0u, set);
    for (int ok = 1; ok; ok = QDB_NextRecInSet(set, rec)) {
        EXPECT_LE(last_hour, rec[153]) << "record " << n;
        last_hour = rec[153];
        ++n;
    }
    EXPECT_EQ(700, n);
    QDB_EndSet(set);

    // A walk in physical order sees the session's own change of a record it has read ahead.
    ASSERT_EQ(1, QDB_FirstRec(f, kAppointments, rec));
    ASSERT_EQ(1, QDB_NextRec(f, kAppointments, rec));
    QdbFile other_handle = QDB_OpenFile(s, kAppointments);
    uint32_t ten = 10;
    ASSERT_EQ(1, QDB_FindRec(other_handle, kById, &ten, rec));
    rec[155] = 42;
    ASSERT_EQ(1, QDB_WriteRec(other_handle, rec));
    int walked = 0, byte_of_ten = -1;
    for (; QDB_NextRec(f, kAppointments, rec); ++walked)
        if (IdOf(rec) == 10) byte_of_ten = rec[155];
    EXPECT_EQ(698, walked);
    EXPECT_EQ(42, byte_of_ten) << "record 10 as written, not as read ahead";
}

namespace {

// The ids each place of a prefix read got, in the order they came.
std::vector<std::vector<uint32_t>> ReadByPrefixes(QdbFile f, int key, const std::vector<uint8_t>& prefixes, int significant) {
    std::vector<std::vector<uint32_t>> got(prefixes.size() / static_cast<size_t>(significant));
    const QdbRecordSink sink = [](void* context, int place, const void* record, int length) {
        auto& places = *static_cast<std::vector<std::vector<uint32_t>>*>(context);
        places.at(static_cast<size_t>(place)).push_back(length == 286 ? IdOf(static_cast<const uint8_t*>(record)) : 0);
    };
    EXPECT_EQ(1, QDB_FindRecsByPrefixes(f, key, static_cast<int>(got.size()), prefixes.data(), significant, sink, &got));
    return got;
}

std::vector<uint8_t> IdBytes(std::initializer_list<uint32_t> ids, int significant) {
    std::vector<uint8_t> bytes;
    for (uint32_t id : ids)
        for (int i = 0; i < significant; ++i) bytes.push_back(static_cast<uint8_t>(id >> (8 * i)));  // as stored: low byte first
    return bytes;
}

}  // namespace

TEST_P(QdbBatch, PrefixReadsGiveEveryPlaceItsOwnRecordsWithoutLocking) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, AddAll(f, OneColumn(1, 300)));
    // Ids whose first three key bytes are all 0xFF, and one short of them.
    ASSERT_EQ(1, AddAll(f, {Appointment(0xFFFFFFFFu, 2461387, "OP2 ", 9), Appointment(0x00FFFFFFu, 2461387, "OP2 ", 9),
                            Appointment(0x00FFFFFEu, 2461387, "OP3 ", 9)}));

    // Whole ids, found, missing and repeated, over more places than one statement takes.
    std::vector<uint32_t> ids = {5, 999, 300, 5};
    for (uint32_t id = 10; id < 290; ++id) ids.push_back(id);
    std::vector<uint8_t> whole;
    for (uint32_t id : ids) whole.insert(whole.end(), reinterpret_cast<uint8_t*>(&id), reinterpret_cast<uint8_t*>(&id) + 4);
    uint8_t rec[286];
    uint32_t seven = 7;
    ASSERT_EQ(1, QDB_FindRec(f, kById, &seven, rec));
    const std::vector<std::vector<uint32_t>> got = ReadByPrefixes(f, kById, whole, 4);
    std::vector<std::vector<uint32_t>> expected;
    for (uint32_t id : ids) expected.push_back(id == 999 ? std::vector<uint32_t>{} : std::vector<uint32_t>{id});
    EXPECT_EQ(expected, got);
    ASSERT_EQ(1, QDB_NextRec(f, kAppointments, rec));
    EXPECT_EQ(8u, IdOf(rec)) << "the prefix read left the current record alone";

    // Shorter prefixes: every record that starts with one, in key order, to each place that asks.
    EXPECT_EQ((std::vector<std::vector<uint32_t>>{{0x00FFFFFFu, 0xFFFFFFFFu}, {1}, {}, {0x00FFFFFFu, 0xFFFFFFFFu}}),
              ReadByPrefixes(f, kById, IdBytes({0xFFFFFF, 1, 0x0A0B0C, 0xFFFFFF}, 3), 3));
    std::vector<uint8_t> day(9);
    const int32_t date = 2461387;
    std::memcpy(day.data(), &date, 4);
    day[4] = 3;
    std::memcpy(day.data() + 5, "OP2 ", 4);
    EXPECT_EQ((std::vector<std::vector<uint32_t>>{{0xFFFFFFFFu, 0x00FFFFFFu}}), ReadByPrefixes(f, kByDateOperatory, day, 9))
        << "a key that is not unique: in the order the records were added";

    // Under lock mode 2 the records are read as they are, locked elsewhere or not, and not locked.
    QdbSession b = Other();
    QdbFile fb = QDB_OpenFile(b, kAppointments);
    ASSERT_EQ(1, QDB_LKISAM(b, 2));
    uint32_t five = 5;
    ASSERT_EQ(1, QDB_FindRec(fb, kById, &five, rec));
    ASSERT_EQ(1, QDB_LKISAM(s, 2));
    EXPECT_EQ((std::vector<std::vector<uint32_t>>{{5}, {6}}), ReadByPrefixes(f, kById, IdBytes({5, 6}, 4), 4));
    ASSERT_EQ(1, QDB_LKISAM(s, 0));
    uint32_t six = 6;
    EXPECT_EQ(1, QDB_FindRec(fb, kById, &six, rec)) << "record 6 was not locked by the prefix read";
    EXPECT_EQ(0, QDB_FindRecsByPrefixes(f, kById, 1, &six, 5, nullptr, nullptr));
    EXPECT_EQ(kQdbBadKey, QDB_GetLastResultNum(s)) << "a prefix longer than the key";
    QDB_EndSession(b);
}

TEST_P(QdbBatch, AFailedStatementLeavesNothingOfItsChangeAndTheSessionGoesOn) {
    QdbFile f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, AddAll(f, OneColumn(1, 3)));
    // Outside a transaction the call is whole or nothing.
    EXPECT_EQ(0, AddAll(f, OneColumn(2, 3))) << "ids 2 and 3 are taken";
    EXPECT_EQ(kQdbDuplicateKey, QDB_GetLastResultNum(s));
    uint8_t rec[286];
    uint32_t four = 4;
    EXPECT_EQ(0, QDB_FindRec(f, kById, &four, rec)) << "the free id 4 went nowhere either";

    // A change whose statement failed: nothing of it is committed, also what followed the failure.
    ASSERT_EQ(1, QDB_BeginTransaction(s));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(10, 2461386, "OP2 ", 9).bytes));
    EXPECT_EQ(0, QDB_AddRec(f, Appointment(1, 2461386, "OP2 ", 9).bytes));
    QDB_AddRec(f, Appointment(11, 2461386, "OP2 ", 9).bytes);  // refused by the server, written by SQLite
    EXPECT_EQ(0, QDB_CommitTransaction(s));
    QdbSession b = Other();
    QdbFile fb = QDB_OpenFile(b, kAppointments);
    for (uint32_t id : {10u, 11u}) EXPECT_EQ(0, QDB_FindRec(fb, kById, &id, rec)) << id;

    // The same session writes on, also after it was ended and handed out again.
    ASSERT_EQ(1, QDB_BeginTransaction(s));
    ASSERT_EQ(1, QDB_AddRec(f, Appointment(12, 2461386, "OP2 ", 9).bytes)) << QDB_GetLastReason(s);
    ASSERT_EQ(1, QDB_CommitTransaction(s)) << QDB_GetLastReason(s);
    ASSERT_EQ(1, QDB_BeginReadSnapshot(s));
    EXPECT_EQ(0, AddAll(f, OneColumn(12, 1))) << "taken";
    ASSERT_EQ(1, QDB_EndReadSnapshot(s));
    QDB_EndSession(s);
    s = QDB_StartSession(1);
    ASSERT_NE(0, s);
    f = QDB_OpenFile(s, kAppointments);
    ASSERT_EQ(1, AddAll(f, OneColumn(13, 2))) << QDB_GetLastReason(s);
    for (uint32_t id : {12u, 13u, 14u}) EXPECT_EQ(1, QDB_FindRec(fb, kById, &id, rec)) << id;
    QDB_EndSession(b);
}
