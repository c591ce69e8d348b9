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
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "appointments/find_time.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "sqlite3.h"
#include "suite/dates.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Practice {
    bool ok = false;
    std::string dir, reason;
    std::vector<int32_t> starts;
};

Practice& OpenPractice() {
    static Practice p;
    static bool tried = false;
    if (tried) return p;
    tried = true;
    const char* env = std::getenv("QVN_BENCH_PRACTICE");
    p.dir = env && *env ? env : (std::filesystem::temp_directory_path() / "qvn-week-bench").string();
    if (!std::filesystem::exists(std::filesystem::path(p.dir) / "qvn.db"))
        return p.reason = p.dir + " holds no practice: run week_load_bench once or `qvnadmin seed-bench " + p.dir + "`", p;
    if (!OpenPracticeDatabase(p.dir, &p.reason)) return p;
    if (!LoadPracticeTables()) return p.reason = "the practice tables cannot be loaded", p;
    // Start dates over the booked years (the book ends about a year after today).
    std::mt19937 random(0xF17Du);
    const int32_t today = QVN_SysDate();
    std::uniform_int_distribution<int32_t> within(today - 8 * 365, today + 300);
    for (int i = 0; i < 200; ++i) p.starts.push_back(within(random));
    p.ok = true;
    return p;
}

class RawWeeks {
public:
    explicit RawWeeks(const std::string& dir) {
        ok_ = sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                              nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db_, "SELECT rec FROM g94 WHERE k95 = ?", -1, &week_, nullptr) == SQLITE_OK;
    }
    ~RawWeeks() {
        sqlite3_finalize(week_);
        sqlite3_close(db_);
    }
    bool Ok() const { return ok_; }
    void Read(uint8_t kind, const char id[4], int32_t week) {
        RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
        std::memcpy(key.id, id, 4);
        sqlite3_bind_blob(week_, 1, &key, sizeof key, SQLITE_STATIC);
        if (sqlite3_step(week_) == SQLITE_ROW)
            std::memcpy(buffer_, sqlite3_column_blob(week_, 0),
                        std::min<size_t>(sizeof buffer_, static_cast<size_t>(sqlite3_column_bytes(week_, 0))));
        sqlite3_reset(week_);
        benchmark::DoNotOptimize(buffer_);
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* week_ = nullptr;
    uint8_t buffer_[kRscUseRecordLength] = {};
    bool ok_ = false;
};

void Run(benchmark::State& state, int minutes, bool read_operatories) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    RawWeeks raw(p.dir);
    if (!raw.Ok()) return state.SkipWithError("raw SQLite cannot read qvn.db");
    double ms[2] = {};
    int64_t days = 0, found_total = 0;
    size_t next = 0;
    for (auto _ : state) {
        const int32_t start = p.starts[next % p.starts.size()];
        const ProviderInfo& provider = practice_tables.providers[next % practice_tables.providers.size()];
        ++next;
        FindTimeRequest request = NewFindTimeRequest(start, minutes);
        AddFindProvider(&request, provider.id);
        for (const OperatoryInfo& o : practice_tables.operatories)
            if (request.operatoryCount < kFindMaxResources) AddFindOperatory(&request, o.id);
        std::vector<FoundTime> found;
        auto t0 = Clock::now();
        int32_t last = 0;
        const FindEnd end = SearchFreeTimes(&request, kFindPageSize, &found, &last);
        const double engine = Ms(Clock::now() - t0);
        state.SetIterationTime(engine / 1000.0);
        if (read_operatories != (end == FindEnd::kPage))
            return state.SkipWithError(("unexpected end of the search from " + QVN_fmtDateString2000(start)).c_str());
        t0 = Clock::now();
        for (int32_t week = WeekStartOf(start); week <= last; week += 7) {
            raw.Read(kRscPractice, kPracticeId, week);
            raw.Read(kRscBlockOverride, provider.id, week);
            raw.Read(kRscProvider, provider.id, week);
            for (int a = 0; a < kProviderAliases && provider.aliases[a][0]; ++a) raw.Read(kRscProvider, provider.aliases[a], week);
            if (read_operatories)
                for (int o = 0; o < request.operatoryCount; ++o) raw.Read(kRscOperatory, request.operatories[o], week);
        }
        ms[0] += engine;
        ms[1] += Ms(Clock::now() - t0);
        days += last - start + 1;
        found_total += static_cast<int64_t>(found.size());
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = ms[0] / n;
    state.counters["raw_ms"] = ms[1] / n;
    state.counters["engine/raw"] = ms[0] / ms[1];
    state.counters["days"] = static_cast<double>(days) / n;
    state.counters["found"] = static_cast<double>(found_total) / n;
}

void BM_FindFirstPage(benchmark::State& state) { Run(state, 30, true); }
void BM_FindNothing(benchmark::State& state) { Run(state, 725, false); }

BENCHMARK(BM_FindFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_FindNothing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
