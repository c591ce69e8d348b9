// A measurement, not a test: the appointment lists' fills under Wine on the large practice named
// by QVN_BENCH_PRACTICE (made with `qvnadmin seed-bench DIR`): the Unscheduled List, which stops
// at its 3,000 lines, and the Appointment List of the book's busiest day, each filled through
// FillApptList as the list windows fill them, against raw SQLite reading the same rows (and the
// same plus each line's patient) on a connection of its own. The three take turns at going
// first; the medians of the rounds and the first fill (nothing of the list in the program's page
// cache yet) are printed. Run with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../native/scripted_prompter.h"
#include "bench/raw_list_reads.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "lists/appt_lists.h"
#include "suite/dates.h"

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

TEST(ListFillTiming, DISABLED_FillsOnTheBenchPractice) {
    char bench[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QVN_BENCH_PRACTICE", bench, sizeof bench))
        GTEST_SKIP() << "QVN_BENCH_PRACTICE names no practice; make one with qvnadmin seed-bench DIR";
    std::string data = bench;
    if (!data.empty() && data[0] == '/') {
        std::replace(data.begin(), data.end(), '/', '\\');
        data = "Z:" + data;
    }
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(data, &reason)) << reason;
    ASSERT_TRUE(LoadPracticeTables());
    auto raw = std::make_unique<RawListReader>(data);
    auto raw_all = std::make_unique<RawListReader>(data);
    ASSERT_TRUE(raw->Ok() && raw_all->Ok()) << raw->Error();
    const int32_t busiest = raw->BusiestDay();
    ASSERT_NE(0, busiest);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    constexpr int kRounds = 15;
    for (const int kind : {kListUnscheduled, kListAppointments}) {
        ApptListFilter filter;
        filter.date = busiest;
        const ApptListLayout& layout = LayoutOf(kind);
        HeaderListModel list(std::vector<int>(layout.widths, layout.widths + kApptListColumns), kApptListStyle);
        std::vector<double> ms[3];  // the fill, raw rows, raw rows and patients
        for (int round = 0; round < kRounds; ++round) {
            ScriptedPrompter prompter;
            if (kind == kListUnscheduled) prompter.Answer(kAnswerOk);  // the limit's message, once per fill
            int rows[3] = {};
            for (int i = 0; i < 3; ++i) {
                const int which = (round + i) % 3;
                LARGE_INTEGER t0, t1;
                QueryPerformanceCounter(&t0);
                if (which == 0) rows[0] = FillApptList(kind, filter, &list).lines;
                else {
                    RawListReader& r = which == 1 ? *raw : *raw_all;
                    rows[which] = kind == kListUnscheduled ? r.Unscheduled(kUnscheduledListMax, which == 2)
                                                           : r.Day(busiest, which == 2);
                }
                QueryPerformanceCounter(&t1);
                ms[which].push_back(1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                                    static_cast<double>(frequency.QuadPart));
            }
            // A fill that listed other rows than the raw reads measured something else.
            ASSERT_EQ(rows[1], rows[0]);
            ASSERT_EQ(rows[2], rows[0]);
            ASSERT_GT(rows[0], 0);
        }
        // Round 0 had the fill go first: the program's first read of these pages.
        const double first = ms[0][0];
        std::printf("%s under Wine, %d lines, median of %d: fill %.1f ms (first %.1f ms), raw rows %.1f ms "
                    "(fill/raw %.2f), raw rows and patients %.1f ms (fill/raw %.2f)%s\n",
                    kind == kListUnscheduled ? "Unscheduled List" : "Appointment List of the busiest day",
                    list.Count(), kRounds, Median(ms[0]), first, Median(ms[1]), Median(ms[0]) / Median(ms[1]),
                    Median(ms[2]), Median(ms[0]) / Median(ms[2]),
                    kind == kListAppointments ? (", " + QVN_fmtDateString2000(busiest)).c_str() : "");
        std::fflush(stdout);
        const std::string name = kind == kListUnscheduled ? "unscheduled" : "busiest_day";
        testing::Test::RecordProperty(name + "_fill_ms", static_cast<int>(Median(ms[0]) + 0.5));
        testing::Test::RecordProperty(name + "_raw_ms", static_cast<int>(Median(ms[1]) + 0.5));
        testing::Test::RecordProperty(name + "_raw_patients_ms", static_cast<int>(Median(ms[2]) + 0.5));
    }
    raw.reset();
    raw_all.reset();
    DbEndSession();
}
