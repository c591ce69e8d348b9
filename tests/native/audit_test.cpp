// Audit entries written into a real database file and read back: who, when, the kind, and the
// old and new record bytes; entries in the order written and by day.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "scripted_prompter.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/qdb/qdb.h"
#include "suite/users.h"
#include "user_database.h"

namespace {

constexpr int kAppointmentLength = 286;

std::vector<uint8_t> Appointment(uint8_t fill, uint32_t id) {
    std::vector<uint8_t> bytes(kAppointmentLength, fill);
    std::memcpy(bytes.data() + 2, &id, 4);
    return bytes;
}

uint32_t LocalSecondsNow() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return static_cast<uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

// Resets the fixed "today" on every way out.
struct FixedToday {
    explicit FixedToday(int32_t day) { QVN_SetSysDateOverride(day); }
    ~FixedToday() { QVN_SetSysDateOverride(0); }
};

}  // namespace

TEST(Audit, AppointmentEntriesKeepWhoWhenAndBothRecords) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    db.AddUser(7, "front", "desk-pass", {33});
    db.AddUser(8, "limited", "limited-pass", {});
    ASSERT_EQ(kAppointmentLength, QDB_RecordLength(9));
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    const int32_t today = QVN_SysDate();

    const std::vector<uint8_t> before = Appointment(0x11, 501), after = Appointment(0x22, 501);
    const uint32_t earliest = LocalSecondsNow();
    ASSERT_EQ(1, QVN_BuildApptAudit(after.data(), before.data()));

    // Another user signs in for a break: the entry names who acted, not who is logged in.
    ScriptedPasswordPrompter passwords;
    passwords.Answer("front", "desk-pass");
    ASSERT_EQ(1, QVN_PasswordCheckwAudit(33));
    ASSERT_EQ(1, QVN_BuildApptAudit(after.data(), before.data()));
    QVN_SetOverrideToLoggedIn();
    ASSERT_EQ(1, QVN_BuildApptAudit(nullptr, before.data())) << "a deletion";
    ASSERT_EQ(1, QVN_BuildApptAudit(after.data(), nullptr)) << "an addition";
    const std::vector<uint8_t> procedure(40, 0x5A), changed(40, 0x6B);
    ASSERT_EQ(1, QVN_BuildInitialProcAudit(procedure.data(), procedure.size()));
    ASSERT_EQ(1, QVN_BuildProcAudit(changed.data(), procedure.data(), changed.size()));
    ASSERT_EQ(1, QVN_BuildProcAudit(nullptr, changed.data(), changed.size()));
    const uint32_t latest = LocalSecondsNow();
    if (latest < earliest) GTEST_SKIP() << "the entries straddle midnight, so their times cannot be bracketed";

    std::vector<AuditEntry> entries;
    ASSERT_TRUE(QVN_ReadAuditEntries(today, today, &entries));
    ASSERT_EQ(8u, entries.size());
    std::vector<uint32_t> who;
    std::vector<AuditKind> kinds;
    for (const AuditEntry& e : entries) {
        who.push_back(e.userId);
        kinds.push_back(e.kind);
        EXPECT_EQ(today, e.day);
        EXPECT_GE(e.seconds, earliest);
        EXPECT_LE(e.seconds, latest);
    }
    EXPECT_EQ((std::vector<uint32_t>{8, 7, 7, 8, 8, 8, 8, 8}), who);
    EXPECT_EQ((std::vector<AuditKind>{kAuditAppointment, kAuditPasswordCheck, kAuditAppointment, kAuditAppointment,
                                      kAuditAppointment, kAuditInitialProcedure, kAuditProcedure, kAuditProcedure}),
              kinds);
    // The change keeps both records, the deletion the old one, the addition the new one.
    EXPECT_TRUE(entries[0].oldRecord == before && entries[0].newRecord == after);
    EXPECT_TRUE(entries[3].oldRecord == before && entries[3].newRecord.empty());
    EXPECT_TRUE(entries[4].oldRecord.empty() && entries[4].newRecord == after);
    EXPECT_TRUE(entries[5].newRecord == procedure && entries[6].oldRecord == procedure && entries[6].newRecord == changed &&
                entries[7].oldRecord == changed && entries[7].newRecord.empty());
}

TEST(Audit, EntriesAreReadByDayInTheOrderWritten) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    const int32_t monday = QVN_DateIn(3, 9, 2026);
    const std::vector<uint8_t> appt = Appointment(0x33, 1);
    {
        FixedToday day(monday + 2);
        ASSERT_EQ(1, QVN_BuildApptAudit(appt.data(), nullptr));
    }
    {
        FixedToday day(monday);
        ASSERT_EQ(1, QVN_BuildApptAudit(appt.data(), appt.data()));
        ASSERT_EQ(1, QVN_BuildApptAudit(nullptr, appt.data()));
    }
    {
        FixedToday day(monday + 1);
        ASSERT_EQ(1, QVN_BuildInitialProcAudit(appt.data(), 10));
    }
    std::vector<AuditEntry> entries;
    ASSERT_TRUE(QVN_ReadAuditEntries(monday, monday + 1, &entries));
    ASSERT_EQ(3u, entries.size()) << "the day after the range is left out";
    EXPECT_EQ((std::vector<int32_t>{monday, monday, monday + 1}), (std::vector<int32_t>{entries[0].day, entries[1].day, entries[2].day}));
    EXPECT_TRUE(!entries[0].newRecord.empty() && entries[1].newRecord.empty()) << "the first of the day's two entries first";
    EXPECT_EQ(0u, entries[0].userId) << "nobody logged in";

    // The entry as stored: another session reads it with the engine's own calls.
    QdbSession other = QDB_StartSession(1);
    ASSERT_NE(0, other);
    QdbFile audit = QDB_OpenFile(other, kAuditFile);
    ASSERT_NE(0u, audit);
    AuditHead head{};
    ASSERT_EQ(1, QDB_LastRec(audit, kAuditByTimeKey, &head));
    EXPECT_EQ(monday + 2, AuditDay(head));
    const uint16_t kind = head.kind;  // copies: the packed fields are not aligned
    const uint32_t new_length = head.newLength;
    EXPECT_EQ(kAuditAppointment, kind);
    EXPECT_EQ(static_cast<uint32_t>(kAppointmentLength), new_length);
    EXPECT_EQ(static_cast<int>(sizeof head) + kAppointmentLength, QDB_GetVarRecLength(audit));
    QDB_EndSession(other);
}

TEST(Audit, ParseRefusesBytesThatAreNoEntry) {
    AuditHead head{};
    head.kind = kAuditProcedure;
    head.oldLength = 2;
    head.newLength = 3;
    std::vector<uint8_t> bytes(sizeof head + 5);
    std::memcpy(bytes.data(), &head, sizeof head);
    const uint8_t tail[5] = {1, 2, 3, 4, 5};
    std::memcpy(bytes.data() + sizeof head, tail, 5);

    // (Whole entries are parsed by every read above.)
    AuditEntry entry;
    ASSERT_TRUE(ParseAuditEntry(bytes.data(), bytes.size(), &entry));
    EXPECT_FALSE(ParseAuditEntry(bytes.data(), bytes.size() - 1, &entry)) << "lengths that do not add up";
    EXPECT_FALSE(ParseAuditEntry(bytes.data(), sizeof head - 1, &entry)) << "shorter than the head";
    head.oldLength = 0xFFFFFFFF;
    std::memcpy(bytes.data(), &head, sizeof head);
    EXPECT_FALSE(ParseAuditEntry(bytes.data(), bytes.size(), &entry)) << "a length beyond the bytes";
}
