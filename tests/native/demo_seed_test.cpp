// The demo practice written into a real practice database and read back the way the program
// reads it: practice tables, patient keys, users and rights; the dump lines; and qvnadmin as a
// process with its refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "data/demo_seed.h"
#include "data/practice_schedule.h"
#include "data/record_dump.h"
#include "admin_process.h"
#include "change_test_support.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/records/patient.h"
#include "suite/users.h"

namespace {

class SeededPractice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        demo_ = BuildDemoPractice(7, QVN_DateIn(12, 7, 2026));
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(QVN_DateIn(12, 7, 2026), &reason, 7)) << reason;
    }

    PracticeTestDatabase db_;
    DemoPractice demo_;
};

}  // namespace

// The fields of the resource records that no sheet test reads (aliases, operatories, block
// names), and the patients' medical alerts.
TEST_F(SeededPractice, ThePracticeTablesAndThePatientsMedicalAlertsReadBack) {
    ASSERT_TRUE(LoadPracticeTables());
    ASSERT_EQ(5u, practice_tables.providers.size());
    EXPECT_EQ(0, std::memcmp("DR3 ", practice_tables.providers[1].aliases[0], 4));
    EXPECT_EQ(1 << 2 | 1 << 3 | 1 << 4, practice_tables.providers[1].operatoryBitmap[0]);
    EXPECT_STREQ("Crown Prep", practice_tables.providers[1].blockNames[0]);
    ASSERT_EQ(7, practice_tables.typeCount);
    EXPECT_STREQ("Consult", practice_tables.typeNames[6]);
    // Every medical alert bit the seed gives a patient reads back from the stored record. (The
    // search keys themselves are walked on the demo practice in patient_search_test.cpp.)
    std::map<uint32_t, PatientRecord> stored;
    for (const PatientRecord& p : StoredRecords<PatientRecord>(kPatientFile)) stored[uint32_t{p.id}] = p;
    int with_alerts = 0;
    for (const DemoPatient& p : demo_.patients) {
        if (!p.medicalAlerts) continue;
        ASSERT_EQ(1u, stored.count(p.id));
        for (int n = 1; n <= 64; ++n) EXPECT_EQ((p.medicalAlerts >> (n - 1) & 1) != 0, HasMedicalAlert(stored[p.id], n));
        ++with_alerts;
    }
    EXPECT_GT(with_alerts, 0);
}

TEST_F(SeededPractice, DumpShowsEachFamilyReadablyAndNoPasswords) {
    std::vector<std::string> lines;
    ASSERT_TRUE(DumpRecords("codes", &lines));
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ("code 1 D0120      Periodic oral evaluation  units 2 pattern \"XX\"  type 1  fee 65.00", lines[0]);
    lines.clear();
    ASSERT_TRUE(DumpRecords("schedule", &lines));
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ("schedule provider HYG1  colour 40C040  Mon 07:30-12:00 12:30-16:30; Tue 07:30-12:00 12:30-16:30; "
              "Wed 07:30-12:00 12:30-16:30; Thu 07:30-12:00 12:30-16:30; Fri 07:30-12:00 12:30-16:30  block "
              "\"Perio Maint\" Mon 13:00-14:00 Thu 13:00-14:00 type 2 in OP5   aliases HYG2",
              lines[3]);

    lines.clear();
    ASSERT_TRUE(DumpRecords("users", &lines));
    // The seed's users: the front desk with every right, the assistant refused the guarded ones.
    EXPECT_EQ((std::vector<std::string>{"user 1  FRONT             Front Desk  rights 512 of 512  password set",
                                        "user 2  ASSIST            Assistant  rights 506 of 512  refused 31 32 34 35 68 69  password set"}),
              lines);

    lines.clear();
    ASSERT_TRUE(DumpRecords("all", &lines));
    size_t patients = 0;
    for (const std::string& line : lines) {
        patients += line.rfind("patient ", 0) == 0;
        EXPECT_EQ(std::string::npos, line.find("front ")) << "no password text: " << line;
    }
    EXPECT_EQ(400u, patients);
    EXPECT_FALSE(DumpRecords("appointmentz", &lines));
}

#ifndef _WIN32
TEST(QvnAdmin, SeedsOnceDumpsAndRefusesWrongCommandLines) {
    TempSettings settings;
    const std::string dir = (settings.Dir() / "practice").string();
    std::string out;
    ASSERT_EQ(0, RunAdmin("seed-demo " + dir + " 3", &out)) << out;
    EXPECT_EQ(0u, out.find("seeded the demo practice \"Lakeside Family Dental\" (seed 3) in " + dir +
                           ": 5 providers, 7 operatories, 400 patients\nbooked "))
        << out;
    ASSERT_EQ(0, RunAdmin("verify " + dir, &out)) << out;
    EXPECT_NE(std::string::npos, out.find(" week records, 0 differences\n")) << out;
    EXPECT_EQ(1, RunAdmin("seed-demo " + dir, &out));
    EXPECT_EQ("qvnadmin: " + dir + " already holds a practice database; seed an empty folder\n", out);

    ASSERT_EQ(0, RunAdmin("dump " + dir + " resources", &out));
    EXPECT_EQ(0u, out.find("practice -PR-  Lakeside Family Dental\nprovider DR1   Ames, Laura DDS  class 0  operatories 1 2 3"))
        << out;
    EXPECT_EQ(2, RunAdmin("dump " + dir + " nonsense", &out));
    EXPECT_EQ(0u, out.find("qvnadmin: no record family \"nonsense\"\nusage: qvnadmin create DIR\n")) << out;

    EXPECT_EQ(1, RunAdmin("dump " + dir + "/missing", &out));
    EXPECT_EQ("qvnadmin: cannot open the practice database in " + dir + "/missing: no practice database there\n", out);
    EXPECT_EQ(2, RunAdmin("", &out));
}
#endif

#include "data/demo_appointments.h"
#include "data/occupancy_verify.h"

TEST_F(SeededPractice, TheBookedWeeksVerifyCleanAndAChangedCounterIsFoundAndRepaired) {
    ASSERT_TRUE(LoadPracticeTables());
    const int32_t today = QVN_DateIn(12, 9, 2026);  // a Wednesday
    DemoBookCounts counts;
    std::string reason;
    ASSERT_TRUE(WriteDemoAppointments(demo_, 7, today, DemoBookSpan{7, 7}, &counts, &reason)) << reason;
    EXPECT_GT(counts.scheduled, 100);
    EXPECT_GT(counts.completed, 20);
    EXPECT_EQ(12, counts.unscheduled);

    OccupancyReport clean = VerifyOccupancy(false);
    ASSERT_TRUE(clean.ok);
    EXPECT_EQ(counts.scheduled, clean.appointments);
    EXPECT_TRUE(clean.differences.empty()) << clean.differences.front();
    EXPECT_GT(clean.records, 10);

    // Change one stored counter and one amount by hand: verify names both, repair puts them right.
    FileGroupDesc desc{};
    DbGroupOf(kRscUseFile, &desc);
    {
        DbGroupScope group(desc);
        RscUseKey key{kRscOperatory, {'O', 'P', '1', ' '}, static_cast<uint32_t>(WeekStartOf(today))};
        RscUseWeek week{};
        ASSERT_EQ(kQdbOk, DbFind(kRscUseKey, DbPrepareKey(&key), &week));
        const int free_slot = 2;  // two past midnight: never booked
        week.occupancy[3][0] |= static_cast<uint8_t>(1 << (2 * free_slot));
        week.scheduledAmount[3] += 5;
        ASSERT_EQ(kQdbOk, DbWrite(kRscUseFile, &week));
    }
    OccupancyReport broken = VerifyOccupancy(false);
    const std::string week = "operatory OP1  week of " + QVN_fmtDateString2000(WeekStartOf(today)) + ": ";
    ASSERT_EQ(2u, broken.differences.size());
    EXPECT_EQ(week + "Wed: 1 slot counters", broken.differences[0]);
    EXPECT_EQ(0u, broken.differences[1].find(week + "Wed: amount ")) << broken.differences[1];
    OccupancyReport repaired = VerifyOccupancy(true);
    EXPECT_EQ(1, repaired.repaired);
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());
}
