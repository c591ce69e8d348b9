// The free-time search on the million-appointment practice, against raw SQLite reading the same
// week records on its own connection to the same qvn.db.
//
// BM_FindFirstPage: the first page (10 times) for one provider and every operatory, 30 minutes,
// from a date drawn over the book (busy and quiet weeks alike). BM_FindNothing: 12 hours and 5
// minutes, longer than the practice's 7-19 day, which walks all 356 days and finds nothing. Each
// iteration runs the search, then the raw twin reads every week record the walk needed (the
// practice's week, the provider's and its aliases' weeks, the block overrides and, for the
// first page, every operatory's week of every week walked) by key, once per week, as the
// search's own cache does.
// Counters: engine_ms, raw_ms, engine/raw, days (walked), found.
//
// The practice: $QVN_BENCH_PRACTICE, else $TMPDIR/qvn-week-bench (made by week_load_bench or
// `qvnadmin seed-bench DIR`).
#include <random>

#include "appointments/find_time.h"
#include "bench_common.h"
#include "data/rscuse_record.h"
#include "suite/dates.h"

namespace {

// Start dates over the booked years (the book ends about a year after today).
const std::vector<int32_t>& Starts() {
    static const std::vector<int32_t> starts = [] {
        std::mt19937 random(0xF17Du);
        std::uniform_int_distribution<int32_t> within(QVN_SysDate() - 8 * 365, QVN_SysDate() + 300);
        std::vector<int32_t> drawn(200);
        for (int32_t& d : drawn) d = within(random);
        return drawn;
    }();
    return starts;
}

void Run(benchmark::State& state, int minutes, bool read_operatories) {
    const bench::BenchPractice& p = bench::OpenBenchPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    bench::RawDb raw(p.dir);
    if (!raw.Ok()) return state.SkipWithError("raw SQLite cannot read qvn.db");
    const auto read = [&](uint8_t kind, const char id[4], int32_t week) { raw.FetchWeek(kind, id, week); };
    bench::Turns turns({"engine", "raw"}, false);
    int64_t days = 0, found_total = 0;
    for (auto _ : state) {
        const size_t next = turns.Rounds();
        const int32_t start = Starts()[next % Starts().size()];
        const ProviderInfo& provider = practice_tables.providers[next % practice_tables.providers.size()];
        FindTimeRequest request = NewFindTimeRequest(start, minutes);
        AddFindProvider(&request, provider.id);
        for (const OperatoryInfo& o : practice_tables.operatories)
            if (request.operatoryCount < kFindMaxResources) AddFindOperatory(&request, o.id);
        std::vector<FoundTime> found;
        int32_t last = 0;
        FindEnd end = FindEnd::kPage;
        turns.Round(state, [&](size_t which) {
            if (which == 0) {
                end = SearchFreeTimes(&request, kFindPageSize, &found, &last);
                return;
            }
            for (int32_t week = WeekStartOf(start); week <= last; week += 7) {
                read(kRscPractice, kPracticeId, week);
                read(kRscBlockOverride, provider.id, week);
                read(kRscProvider, provider.id, week);
                for (int a = 0; a < kProviderAliases && provider.aliases[a][0]; ++a) read(kRscProvider, provider.aliases[a], week);
                if (read_operatories)
                    for (int o = 0; o < request.operatoryCount; ++o) read(kRscOperatory, request.operatories[o], week);
            }
        });
        if (read_operatories != (end == FindEnd::kPage))
            return state.SkipWithError(("unexpected end of the search from " + QVN_fmtDateString2000(start)).c_str());
        days += last - start + 1;
        found_total += static_cast<int64_t>(found.size());
    }
    turns.Report(state);
    const double n = static_cast<double>(state.iterations());
    state.counters["days"] = static_cast<double>(days) / n;
    state.counters["found"] = static_cast<double>(found_total) / n;
}

void BM_FindFirstPage(benchmark::State& state) { Run(state, 30, true); }
void BM_FindNothing(benchmark::State& state) { Run(state, 725, false); }

BENCHMARK(BM_FindFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_FindNothing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
