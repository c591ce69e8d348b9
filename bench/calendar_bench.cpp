// The schedule calendar's month and the month view on the million-appointment practice, against
// raw SQLite reading the same records on its own connection to the same qvn.db.
//
// The month: the busiest of the practice (most appointments), found once by a raw scan. The
// view: the first 10 providers of the practice, the weekdays it opens.
//
// BM_MonthViewBuild: the month view built as switching to it or a month step builds it (the
// bands of the month, each band's provider rows with their counters and amounts, the practice's
// hours); the raw twin reads the same provider, block and practice week records by key.
// BM_CalendarAmounts: the calendar's scheduled amounts of the month for the same providers and
// their statistics; the raw twin reads the same week and statistics records by key.
// BM_CalendarPracticeMonth: the practice's hours, flags and holidays of the month (mode 1); the
// raw twin reads the practice's week records of the month.
// Counters: engine_ms, raw_ms, engine/raw.
//
// The practice: $QVN_BENCH_PRACTICE, else $TMPDIR/qvn-week-bench (made by week_load_bench or
// `qvnadmin seed-bench DIR`).
#include <algorithm>
#include <map>

#include "bench_common.h"
#include "data/rscuse_record.h"
#include "suite/dates.h"
#include "views/active_view.h"
#include "views/calendar.h"
#include "views/day_data.h"
#include "views/month_view.h"
#include "views/sheet_state.h"

namespace {

constexpr int kViewProviders = 10;

struct Month {
    bool ok = false;
    std::string reason;
    int year = 0, month = 0;
    int32_t first = 0, last = 0;
    int appointments = 0;
    std::vector<CalendarId> providers;
};

// The busiest month, counted from the appointment file's date key in one raw scan.
Month& BusiestMonth() {
    static Month m;
    static bool tried = false;
    if (tried) return m;
    tried = true;
    bench::BenchPractice& p = bench::OpenBenchPractice();
    if (!p.ok) return m.reason = p.reason, m;
    bench::RawDb raw(p.dir);
    sqlite3_stmt* days = raw.Prepare("SELECT substr(k10, 1, 4) AS d, count(*) FROM g9 GROUP BY d");
    if (!days) return m.reason = raw.Error(), m;
    std::map<std::pair<int, int>, int> per_month;
    while (sqlite3_step(days) == SQLITE_ROW) {
        if (sqlite3_column_bytes(days, 0) != 4) continue;
        int32_t date = 0;
        std::memcpy(&date, sqlite3_column_blob(days, 0), 4);
        if (date == 0) continue;
        int month = 0, day = 0, year = 0;
        QVN_DateOut(date, &month, &day, &year);
        per_month[{year, month}] += sqlite3_column_int(days, 1);
    }
    for (const auto& [key, count] : per_month)
        if (count > m.appointments) {
            m.appointments = count;
            std::tie(m.year, m.month) = key;
        }
    if (m.appointments == 0) return m.reason = "no booked month", m;
    m.first = QVN_DateIn(m.month, 1, m.year);
    m.last = m.first + QVN_DaysInMonth(m.month, m.year) - 1;

    // The view: the first providers, the weekdays the practice opens.
    ActiveView& view = view_state.active;
    view = ActiveView{};
    for (size_t i = 0; i < practice_tables.providers.size() && view.providerCount < kViewProviders; ++i) {
        view.providers[view.providerCount++] = static_cast<int>(i);
        const char* id = practice_tables.providers[i].id;
        m.providers.push_back({id[0], id[1], id[2], id[3]});
    }
    int n = 0;
    for (int weekday : OpenWeekdaysOf(*practice_tables.practice)) view.days[n++] = weekday + 1;
    m.ok = view.providerCount == kViewProviders;
    if (!m.ok) m.reason = "the practice has fewer than 10 providers";
    return m;
}

// Raw reads of week records and statistics records by their keys.
class RawRecords {
public:
    explicit RawRecords(const std::string& dir)
        : db_(dir), statistics_(db_.Prepare("SELECT rec FROM g87 WHERE k89 = ?")) {}
    bool Ok() const { return db_.Ok(); }
    void Week(uint8_t kind, const char* id, int32_t week) { db_.FetchWeek(kind, id, week); }
    void Statistics(const char* id, uint16_t kind, int year, int month) {
        uint8_t key[10];
        std::memcpy(key, id, 4);
        const uint16_t rest[3] = {kind, static_cast<uint16_t>(year), static_cast<uint16_t>(month)};
        std::memcpy(key + 4, rest, sizeof rest);
        db_.Fetch(statistics_, key, sizeof key);
    }

private:
    bench::RawDb db_;
    sqlite3_stmt* statistics_;
};

void Run(benchmark::State& state, const std::function<void(const Month&)>& engine,
         const std::function<void(const Month&, RawRecords&)>& raw_twin) {
    Month& m = BusiestMonth();
    if (!m.ok) return state.SkipWithError(m.reason.c_str());
    RawRecords raw(bench::OpenBenchPractice().dir);
    if (!raw.Ok()) return state.SkipWithError("raw SQLite cannot read qvn.db");
    bench::Turns turns({"engine", "raw"});
    for (auto _ : state)
        turns.Round(state, [&](size_t which) { which == 0 ? engine(m) : raw_twin(m, raw); });
    turns.Report(state);
    state.SetLabel(std::to_string(m.month) + "/" + std::to_string(m.year) + ", " + std::to_string(m.appointments) +
                   " appointments");
}

void BM_MonthViewBuild(benchmark::State& state) {
    Run(
        state,
        [](const Month& m) {
            const int32_t reference = m.first + 14;
            LoadShownDays(ShownDatesOf(reference, kMonthView), kMonthView);
            int band = 0;
            const int bands = static_cast<int>(MonthBandDates(reference, view_state.active.days, &band).size());
            StartMonthScroll(bands, band, kViewProviders * 16, 900, view_state.active.days);
            benchmark::DoNotOptimize(day_data.days.data());
        },
        [](const Month& m, RawRecords& raw) {
            for (int32_t week = WeekStartOf(m.first); week <= m.last; week += 7) {
                for (const CalendarId& id : m.providers) {
                    raw.Week(kRscProvider, id.data(), week);
                    raw.Week(kRscBlockOverride, id.data(), week);
                }
                raw.Week(kRscPractice, kPracticeId, week);
            }
        });
}

void BM_CalendarAmounts(benchmark::State& state) {
    Run(
        state,
        [](const Month& m) {
            int32_t amounts[kCalendarAmountSlots];
            LoadCalendarAmounts(m.year, m.month, m.providers, QVN_SysDate(), amounts);
            benchmark::DoNotOptimize(amounts);
        },
        [](const Month& m, RawRecords& raw) {
            for (int32_t week = WeekStartOf(m.first); week <= m.last; week += 7)
                for (const CalendarId& id : m.providers) raw.Week(kRscProvider, id.data(), week);
            for (const CalendarId& id : m.providers) {
                raw.Statistics(id.data(), 10, m.year, m.month);
                raw.Statistics(id.data(), 1, m.year, m.month);
            }
        });
}

void BM_CalendarPracticeMonth(benchmark::State& state) {
    Run(
        state,
        [](const Month& m) {
            CalendarMonth c;
            c.mode = kCalendarPractice;
            c.resource = {'-', 'P', 'R', '-'};
            c.place = {m.year, m.month, 1, false};
            LoadCalendarMonth(&c);
            benchmark::DoNotOptimize(c.day);
        },
        [](const Month& m, RawRecords& raw) {
            for (int32_t week = WeekStartOf(m.first); week <= m.last; week += 7) raw.Week(kRscPractice, kPracticeId, week);
        });
}

BENCHMARK(BM_MonthViewBuild)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_CalendarAmounts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_CalendarPracticeMonth)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
