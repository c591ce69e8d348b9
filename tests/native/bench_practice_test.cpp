// The benchmark practice: the same seed gives the same practice; a book that cannot fit is
// refused before anything is written; and qvnadmin seed-bench as a process, writing a book
// through the bulk path whose occupancy verifies clean.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/appointment_store.h"
#include "data/bench_practice.h"
#include "admin_process.h"
#include "change_test_support.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"

TEST(BenchPractice, TenYearsToAYearAheadTheSameSeedTheSamePracticeAndABookTooLargeIsRefused) {
    const int32_t today = QVN_DateIn(3, 2, 2026);
    const DemoPractice a = BuildBenchPractice(9, 20, 1000000, today);
    const DemoPractice b = BuildBenchPractice(9, 20, 1000000, today);
    ASSERT_EQ(20u, a.operatories.size());
    ASSERT_EQ(50000u, a.patients.size()) << "one patient for every twenty appointments";
    std::set<uint32_t> ids;
    std::string names_a, names_b;
    for (size_t i = 0; i < a.patients.size(); ++i) {
        ids.insert(a.patients[i].id);
        names_a += a.patients[i].last + a.patients[i].first + a.patients[i].provider + ";";
        names_b += b.patients[i].last + b.patients[i].first + b.patients[i].provider + ";";
    }
    EXPECT_TRUE(names_a == names_b) << "the same seed, the same patients";
    EXPECT_EQ(50000u, ids.size()) << "patient ids are unique across the families";
    // Ten years ending a year ahead; too many appointments for one operatory is refused before
    // anything is written.
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    BenchOptions options;
    options.appointments = 200000;
    options.operatories = 1;
    options.today = today;
    options.passwordIterations = 1000;  // few: the hashing is not what is tested
    BenchCounts counts;
    std::string reason;
    EXPECT_FALSE(WriteBenchPractice(options, &counts, &reason));
    EXPECT_EQ("200000 appointments do not fit 1 operatories in 10 years", reason);
    EXPECT_EQ(today + 365, counts.lastDate);
    EXPECT_EQ(today + 365 - 3652 + 1, counts.firstDate);
    EXPECT_TRUE(StoredRecords<AppointmentRecord>(kAppointmentFile).empty());
    options.operatories = 100;
    EXPECT_FALSE(WriteBenchPractice(options, &counts, &reason));
    EXPECT_EQ("the operatories are 1 to 99", reason);
}

#ifndef _WIN32
TEST(QvnAdmin, SeedBenchWritesABookThatVerifiesAndRefusesWrongOptions) {
    TempSettings settings;
    const std::string dir = (settings.Dir() / "bench").string();
    std::string out;
    ASSERT_EQ(0, RunAdmin("seed-bench " + dir + " --appointments 1500 --operatories 4 --patients 900 --seed 5", &out)) << out;
    EXPECT_EQ(0u, out.find("seeded the benchmark practice (seed 5) in " + dir +
                           ": 5 providers, 4 operatories, 900 patients\nbooked 1500 appointments from "))
        << out;
    EXPECT_NE(std::string::npos, out.find(" week records\n")) << out;
    EXPECT_EQ(out.size() - 9, out.find(" seconds\n")) << out;
    ASSERT_EQ(0, RunAdmin("verify " + dir, &out)) << out;
    EXPECT_NE(std::string::npos, out.find(" week records, 0 differences\n")) << out;
    EXPECT_EQ(1, RunAdmin("seed-bench " + dir, &out));
    EXPECT_EQ("qvnadmin: " + dir + " already holds a practice database; seed an empty folder\n", out);

    EXPECT_EQ(1, RunAdmin("seed-bench " + dir + "2 --appointments 200000 --operatories 1", &out));
    EXPECT_EQ("qvnadmin: seeding the benchmark practice failed: 200000 appointments do not fit 1 operatories in 10 years\n",
              out);
    EXPECT_EQ(2, RunAdmin("seed-bench " + dir + "3 --operatories 0", &out));
    EXPECT_EQ(0u, out.find("usage: qvnadmin create DIR\n")) << out;
    EXPECT_EQ(2, RunAdmin("seed-bench", &out));
}
#endif
