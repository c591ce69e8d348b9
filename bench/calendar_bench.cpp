// The schedule calendar's month on the million-appointment practice, against raw SQLite reading
// the same records on its own connection to the same qvn.db.
//
// BM_CalendarAmounts: the scheduled amounts of every provider's week records over a month and
// the provider statistics of the month, for every provider of the practice, the months drawn over
// the booked years; the raw twin reads the same week and statistics records by key.
// BM_CalendarPracticeMonth: the practice's hours, flags and holidays of a month (mode 1); the raw
// twin reads the practice's week records of the month.
// Counters: engine_ms, raw_ms, engine/raw.
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

#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "sqlite3.h"
#include "suite/dates.h"
#include "views/calendar.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Practice {
    bool ok = false;
    std::string dir, reason;
    std::vector<CalendarId> providers;
    std::vector<std::pair<int, int>> months;  // year, month
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
    for (const ProviderInfo& info : practice_tables.providers)
        if (p.providers.size() < static_cast<size_t>(kMaxShownResources))
            p.providers.push_back({info.id[0], info.id[1], info.id[2], info.id[3]});
    std::mt19937 random(0xCA1u);
    const int32_t today = QVN_SysDate();
    std::uniform_int_distribution<int32_t> within(today - 8 * 365, today + 300);
    for (int i = 0; i < 100; ++i) {
        int month = 0, day = 0, year = 0;
        QVN_DateOut(within(random), &month, &day, &year);
        p.months.emplace_back(year, month);
    }
    p.ok = true;
    return p;
}

class RawReads {
public:
    explicit RawReads(const std::string& dir) {
        ok_ = sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                              nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db_, "SELECT rec FROM g94 WHERE k95 = ?", -1, &week_, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db_, "SELECT rec FROM g87 WHERE k89 = ?", -1, &statistics_, nullptr) == SQLITE_OK;
    }
    ~RawReads() {
        sqlite3_finalize(week_);
        sqlite3_finalize(statistics_);
        sqlite3_close(db_);
    }
    bool Ok() const { return ok_; }
    void Week(uint8_t kind, const char* id, int32_t week) {
        RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
        std::memcpy(key.id, id, 4);
        Read(week_, &key, sizeof key);
    }
    void Statistics(const char* id, uint16_t kind, int year, int month) {
        uint8_t key[10];
        std::memcpy(key, id, 4);
        const uint16_t rest[3] = {kind, static_cast<uint16_t>(year), static_cast<uint16_t>(month)};
        std::memcpy(key + 4, rest, sizeof rest);
        Read(statistics_, key, sizeof key);
    }

private:
    void Read(sqlite3_stmt* statement, const void* key, int length) {
        sqlite3_bind_blob(statement, 1, key, length, SQLITE_STATIC);
        if (sqlite3_step(statement) == SQLITE_ROW)
            std::memcpy(buffer_, sqlite3_column_blob(statement, 0),
                        std::min<size_t>(sizeof buffer_, static_cast<size_t>(sqlite3_column_bytes(statement, 0))));
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(buffer_);
    }
    sqlite3* db_ = nullptr;
    sqlite3_stmt* week_ = nullptr;
    sqlite3_stmt* statistics_ = nullptr;
    uint8_t buffer_[kRscUseRecordLength] = {};
    bool ok_ = false;
};

template <typename Engine, typename Raw>
void Run(benchmark::State& state, Engine engine, Raw raw_twin) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    RawReads raw(p.dir);
    if (!raw.Ok()) return state.SkipWithError("raw SQLite cannot read qvn.db");
    double ms[2] = {};
    size_t next = 0;
    for (auto _ : state) {
        const auto [year, month] = p.months[next++ % p.months.size()];
        auto t0 = Clock::now();
        engine(p, year, month);
        const double e = Ms(Clock::now() - t0);
        state.SetIterationTime(e / 1000.0);
        t0 = Clock::now();
        const int32_t first = QVN_DateIn(month, 1, year);
        const int32_t last = first + QVN_DaysInMonth(month, year) - 1;
        raw_twin(p, raw, year, month, first, last);
        ms[0] += e;
        ms[1] += Ms(Clock::now() - t0);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = ms[0] / n;
    state.counters["raw_ms"] = ms[1] / n;
    state.counters["engine/raw"] = ms[0] / ms[1];
}

void BM_CalendarAmounts(benchmark::State& state) {
    Run(
        state,
        [](const Practice& p, int year, int month) {
            int32_t amounts[kCalendarAmountSlots];
            LoadCalendarAmounts(year, month, p.providers, QVN_SysDate(), amounts);
            benchmark::DoNotOptimize(amounts);
        },
        [](const Practice& p, RawReads& raw, int year, int month, int32_t first, int32_t last) {
            for (int32_t week = WeekStartOf(first); week <= last; week += 7)
                for (const CalendarId& id : p.providers) raw.Week(kRscProvider, id.data(), week);
            for (const CalendarId& id : p.providers) {
                raw.Statistics(id.data(), 10, year, month);
                raw.Statistics(id.data(), 1, year, month);
            }
        });
}

void BM_CalendarPracticeMonth(benchmark::State& state) {
    Run(
        state,
        [](const Practice&, int year, int month) {
            CalendarMonth m;
            m.mode = kCalendarPractice;
            m.resource = {'-', 'P', 'R', '-'};
            m.place = {year, month, 1, false};
            LoadCalendarMonth(&m);
            benchmark::DoNotOptimize(m.day);
        },
        [](const Practice&, RawReads& raw, int, int, int32_t first, int32_t last) {
            for (int32_t week = WeekStartOf(first); week <= last; week += 7) raw.Week(kRscPractice, kPracticeId, week);
        });
}

BENCHMARK(BM_CalendarAmounts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_CalendarPracticeMonth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

BENCHMARK_MAIN();
