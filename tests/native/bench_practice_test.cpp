// The benchmark practice written into a real practice database through the bulk path and read
// back as the program reads it: its occupancy checks clean, the book keeps to the hours and
// never books an operatory or a provider twice, a day reads in start order, the program saves
// into it; a book that cannot fit is refused before anything is written; and qvnadmin
// seed-bench as a process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/appointment_store.h"
#include "data/bench_practice.h"
#include "data/occupancy_verify.h"
#include "data/practice_schedule.h"
#include "data/time_pattern.h"
#include "admin_process.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

constexpr uint32_t kFewIterations = 1000;

std::string Id(const char id[4]) { return std::string(id, 4); }

int StartSlot(const AppointmentRecord& a) { return a.hour * 12 + a.minute / 5; }

// Every appointment in physical order.
std::vector<AppointmentRecord> AllAppointments() {
    std::vector<AppointmentRecord> all;
    FileGroupDesc desc{};
    DbGroupOf(kAppointmentFile, &desc);
    DbGroupScope group(desc);
    EXPECT_EQ(kQdbOk, group.Result());
    AppointmentRecord a{};
    for (uint16_t r = DbFirst(kAppointmentFile, &a); r == kQdbOk; r = DbNext(kAppointmentFile, &a)) all.push_back(a);
    return all;
}

// True when no two appointments of one group overlap; the first overlap is described.
bool NoOverlaps(std::map<std::string, std::vector<AppointmentRecord>> groups, std::string* overlap) {
    for (auto& [name, list] : groups) {
        std::sort(list.begin(), list.end(),
                  [](const AppointmentRecord& x, const AppointmentRecord& y) { return StartSlot(x) < StartSlot(y); });
        for (size_t i = 1; i < list.size(); ++i)
            if (StartSlot(list[i - 1]) + list[i - 1].length / 5 > StartSlot(list[i])) {
                *overlap = name + ": " + std::to_string(list[i - 1].id) + " and " + std::to_string(list[i].id);
                return false;
            }
    }
    return true;
}

}  // namespace

TEST(BenchPractice, ASmallBookVerifiesCleanKeepsTheHoursAndReadsByDay) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    BenchOptions options;
    options.appointments = 8000;
    options.operatories = 4;
    options.seed = 3;
    options.years = 2;  // dense days: about four appointments per operatory and day
    options.today = QVN_DateIn(12, 7, 2026);
    options.passwordIterations = kFewIterations;
    BenchCounts counts;
    std::string reason;
    ASSERT_TRUE(WriteBenchPractice(options, &counts, &reason)) << reason;
    EXPECT_EQ(5, counts.providers) << "three doctors, a hygienist and her Friday relief";
    EXPECT_EQ(4, counts.operatories);
    EXPECT_EQ(400, counts.patients);
    EXPECT_EQ(8000, counts.appointments);
    EXPECT_EQ(8000, counts.scheduled + counts.broken);
    EXPECT_GT(counts.broken, 0);
    EXPECT_GT(counts.completed, 3000);
    EXPECT_EQ(options.today + 365, counts.lastDate);
    EXPECT_EQ(options.today - 364, counts.firstDate);

    // The occupancy the bulk path wrote is exactly what the appointments give.
    const OccupancyReport report = VerifyOccupancy(false);
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(counts.scheduled, report.appointments);
    EXPECT_EQ(counts.weekRecords, report.records);
    EXPECT_TRUE(report.differences.empty()) << report.differences.size() << " differences, first: " << report.differences.front();

    // The program loads the practice as it is.
    ASSERT_TRUE(LoadPracticeTables());
    ASSERT_EQ(5u, practice_tables.providers.size());
    ASSERT_EQ(4u, practice_tables.operatories.size());
    const int32_t friday = QVN_DateIn(12, 11, 2026);
    const int hygienist = FindProviderIndex("HY01"), relief = FindProviderIndex("HR01");
    ASSERT_GE(hygienist, 0);
    ASSERT_GE(relief, 0);
    EXPECT_EQ(-1, GetProviderHours(hygienist, {friday})[0].start[0]);
    EXPECT_EQ(7 * 12, GetProviderHours(relief, {friday})[0].start[0]);
    EXPECT_EQ(19 * 12, GetProviderHours(relief, {friday})[0].end[0]);

    // Every appointment: ids 1 to 8000 in order, open days and hours of practice and provider,
    // the provider's own operatory, and no operatory or provider booked twice at one time.
    const std::vector<AppointmentRecord> all = AllAppointments();
    ASSERT_EQ(8000u, all.size());
    std::map<std::string, std::vector<AppointmentRecord>> by_operatory, by_provider;
    int broken = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const AppointmentRecord& a = all[i];
        ASSERT_EQ(i + 1, +a.id);
        if (a.date == 0) {
            ++broken;
            EXPECT_EQ(kStatusBroken, a.status);
            EXPECT_EQ(1, a.unscheduled);
            EXPECT_LT(+a.listDate, options.today);
            continue;
        }
        ASSERT_GE(+a.date, counts.firstDate);
        ASSERT_LE(+a.date, counts.lastDate);
        ASSERT_EQ(0, HolidayKind(a.date)) << a.id << " on a closed day";
        const int start = StartSlot(a), end = start + a.length / 5;
        const int provider = FindProviderIndex(a.provider);
        ASSERT_GE(provider, 0) << Id(a.provider);
        const DayHours hours = GetProviderHours(provider, {a.date})[0];
        ASSERT_TRUE(hours.start[0] <= start && end <= hours.end[0]) << a.id << " outside its provider's hours";
        const DayHours open = GetPracticeHours({a.date})[0];
        ASSERT_TRUE(open.start[0] <= start && end <= open.end[0]) << a.id << " outside the practice's hours";
        const int room = Id(a.operatory)[3] - '0';
        const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(provider)];
        ASSERT_TRUE(p.operatoryBitmap[room / 8] >> (room % 8) & 1) << a.id << " not in its provider's operatory";
        if (a.date < options.today) {
            EXPECT_EQ(kStatusComplete, a.status);
        }
        EXPECT_EQ(2, a.unitSize);
        EXPECT_TRUE(a.length >= 10 && a.length % 10 == 0) << +a.length;
        EXPECT_NE('\0', a.description[0]);
        std::string day = std::to_string(a.date) + " ";
        by_operatory[day + Id(a.operatory)].push_back(a);
        by_provider[day + Id(a.provider)].push_back(a);
    }
    EXPECT_EQ(counts.broken, broken);
    std::string overlap;
    EXPECT_TRUE(NoOverlaps(by_operatory, &overlap)) << overlap;
    EXPECT_TRUE(NoOverlaps(by_provider, &overlap)) << overlap;

}

TEST(BenchPractice, TenYearsToAYearAheadTheSameSeedTheSamePracticeAndABookTooLargeIsRefused) {
    const int32_t today = QVN_DateIn(3, 2, 2026);
    const DemoPractice a = BuildBenchPractice(9, 20, 1000000, today);
    const DemoPractice b = BuildBenchPractice(9, 20, 1000000, today);
    ASSERT_EQ(20u, a.operatories.size());
    ASSERT_EQ(50000u, a.patients.size()) << "one patient for every twenty appointments";
    std::set<uint32_t> ids;
    for (size_t i = 0; i < a.patients.size(); ++i) {
        ids.insert(a.patients[i].id);
        EXPECT_EQ(a.patients[i].last, b.patients[i].last);
        EXPECT_EQ(a.patients[i].first, b.patients[i].first);
        EXPECT_EQ(a.patients[i].provider, b.patients[i].provider);
        EXPECT_EQ("DR", a.patients[i].provider.substr(0, 2));
    }
    EXPECT_EQ(50000u, ids.size()) << "patient ids are unique across the families";
    // Ten years ending a year ahead; too many appointments for one operatory is refused before
    // anything is written.
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    BenchOptions options;
    options.appointments = 200000;
    options.operatories = 1;
    options.today = today;
    options.passwordIterations = kFewIterations;
    BenchCounts counts;
    std::string reason;
    EXPECT_FALSE(WriteBenchPractice(options, &counts, &reason));
    EXPECT_EQ("200000 appointments do not fit 1 operatories in 10 years", reason);
    EXPECT_EQ(today + 365, counts.lastDate);
    EXPECT_EQ(today + 365 - 3652 + 1, counts.firstDate);
    EXPECT_TRUE(AllAppointments().empty());
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
