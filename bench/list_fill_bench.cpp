// Filling the appointment lists on the one-million-appointment bench practice: the Unscheduled
// List, which stops at its 3,000 lines (and tells so once per fill), and the Appointment List of
// the book's busiest day, each through the program's own FillApptList into the header list box's
// lines, against raw SQLite reading the same appointment rows on its own connection to the same
// qvn.db (raw_ms), and the same plus each line's patient record (raw_all_ms), copying the blobs
// and formatting nothing. The two take turns at going first.
//
// Counters per fill: fill_ms, raw_ms, fill/raw, raw_all_ms, fill/raw_all and the lines filled,
// and first_fill_ms, the first round's fill, on the program's connection with nothing of the
// list in its page cache yet.
//
// The practice: $QVN_BENCH_PRACTICE when set, else $TMPDIR/qvn-week-bench (made by
// `qvnadmin seed-bench DIR` or by the week load benchmark's first run). Only read.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "bench/raw_list_reads.h"
#include "lists/appt_lists.h"
#include "suite/dates.h"
#include "suite/prompter.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 30;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The fills ask nothing; the Unscheduled List's limit is the one message expected.
class ShownTexts final : public Prompter {
public:
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        return kAnswerOk;
    }
    std::vector<std::string> texts;
};
ShownTexts shown;

struct Practice {
    bool ok = false;
    std::string reason, dir;
    int32_t busiest = 0;
};

Practice& OpenPractice() {
    static Practice p;
    static bool tried = false;
    if (tried) return p;
    tried = true;
    const char* env = std::getenv("QVN_BENCH_PRACTICE");
    p.dir = env && *env ? env : (std::filesystem::temp_directory_path() / "qvn-week-bench").string();
    if (!std::filesystem::exists(std::filesystem::path(p.dir) / "qvn.db"))
        return p.reason = p.dir + " holds no qvn.db; make one with `qvnadmin seed-bench " + p.dir + "`", p;
    if (!OpenPracticeDatabase(p.dir, &p.reason)) return p;
    if (!LoadPracticeTables()) return p.reason = "the practice tables cannot be loaded", p;
    InstallPrompter(&shown);
    RawListReader raw(p.dir);
    if (!raw.Ok()) return p.reason = "raw SQLite: " + raw.Error(), p;
    p.busiest = raw.BusiestDay();
    if (p.busiest == 0) return p.reason = "no booked day", p;
    p.ok = true;
    return p;
}

HeaderListModel EmptyList(int kind) {
    const ApptListLayout& layout = LayoutOf(kind);
    return HeaderListModel(std::vector<int>(layout.widths, layout.widths + kApptListColumns), kApptListStyle);
}

void RunFills(benchmark::State& state, int kind) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    RawListReader raw(p.dir), raw_all(p.dir);
    for (RawListReader* r : {&raw, &raw_all})
        if (!r->Ok()) return state.SkipWithError(("raw SQLite: " + r->Error()).c_str());
    ApptListFilter filter;
    filter.date = p.busiest;
    HeaderListModel list = EmptyList(kind);
    double ms[3] = {};  // fill, raw, raw_all
    int64_t lines = 0;
    size_t next = 0;
    double first_fill = 0;
    for (auto _ : state) {
        int rows[3] = {};
        shown.texts.clear();
        for (int i = 0; i < 3; ++i) {
            const int which = static_cast<int>((next + i) % 3);
            const auto t0 = Clock::now();
            if (which == 0) rows[0] = FillApptList(kind, filter, &list).lines;
            else {
                RawListReader& r = which == 1 ? raw : raw_all;
                rows[which] = kind == kListUnscheduled ? r.Unscheduled(kUnscheduledListMax, which == 2)
                                                       : r.Day(filter.date, which == 2);
            }
            const double taken = Ms(Clock::now() - t0);
            ms[which] += taken;
            if (which == 0) state.SetIterationTime(taken / 1000.0);
            if (which == 0 && next == 0) first_fill = taken;
        }
        ++next;
        if (rows[0] != rows[1] || rows[1] != rows[2] || rows[0] != list.Count() || rows[0] == 0)
            return state.SkipWithError(("the fill listed " + std::to_string(rows[0]) + " lines, raw SQLite read " +
                                        std::to_string(rows[1]))
                                           .c_str());
        const size_t expected_messages = kind == kListUnscheduled && rows[0] == kUnscheduledListMax ? 1 : 0;
        if (shown.texts.size() != expected_messages)
            return state.SkipWithError(("the fill showed " + std::to_string(shown.texts.size()) + " messages").c_str());
        lines += rows[0];
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["fill_ms"] = ms[0] / n;
    state.counters["raw_ms"] = ms[1] / n;
    state.counters["fill/raw"] = ms[0] / ms[1];
    state.counters["raw_all_ms"] = ms[2] / n;
    state.counters["fill/raw_all"] = ms[0] / ms[2];
    state.counters["lines"] = static_cast<double>(lines) / n;
    state.counters["first_fill_ms"] = first_fill;
    benchmark::DoNotOptimize(raw.Sink() + raw_all.Sink());
    if (kind == kListAppointments) state.SetLabel("busiest day " + QVN_fmtDateString2000(p.busiest));
}

void BM_UnscheduledListFill(benchmark::State& state) { RunFills(state, kListUnscheduled); }
void BM_BusiestDayApptListFill(benchmark::State& state) { RunFills(state, kListAppointments); }

BENCHMARK(BM_UnscheduledListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_BusiestDayApptListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);

}  // namespace

BENCHMARK_MAIN();
