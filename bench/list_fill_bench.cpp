// Filling the appointment lists on the one-million-appointment bench practice: the Unscheduled
// List, which stops at its 3,000 lines (and tells so once per fill), and the Appointment List of
// the book's busiest day, each through the program's own FillApptList into the header list box's
// lines, against raw SQLite reading the same appointment rows on its own connection to the same
// qvn.db (raw), and the same plus each line's patient record (raw_all), copying the blobs and
// formatting nothing. The three take turns at going first.
//
// Counters per fill: fill_ms, raw_ms, fill/raw, raw_all_ms, fill/raw_all and the lines filled,
// and first_fill_ms, the first round's fill, on the program's connection with nothing of the
// list in its page cache yet. The 3,000 lines of the Unscheduled List are inserted in sort order
// into the header list's lines, so this also measures those inserts.
//
// The practice: $QVN_BENCH_PRACTICE when set, else $TMPDIR/qvn-week-bench (made by
// `qvnadmin seed-bench DIR` or by the week load benchmark's first run). Only read.
#include "bench_common.h"
#include "data/appointment_record.h"
#include "lists/appt_lists.h"
#include "suite/dates.h"

namespace {

constexpr int kRounds = 30;

// The raw twin on a connection of its own with the program's page cache, so that both meet warm
// pages alike: the day's rows by the date key, or the unscheduled ones up to the list's limit;
// with patients, each row's patient record too. The number of rows read.
class RawLists {
public:
    explicit RawLists(const std::string& dir) : db_(dir) {
        sqlite3_exec(db_.Db(), "PRAGMA cache_size = -32768", nullptr, nullptr, nullptr);
        day_ = db_.Prepare("SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10");
        unscheduled_ = db_.Prepare("SELECT recno, rec FROM g9 WHERE k15 >= x'01' AND k15 < x'02' ORDER BY k15 LIMIT ?");
        patient_ = db_.Prepare("SELECT rec FROM g18 WHERE k19 = ?");
    }
    bench::RawDb& Db() { return db_; }
    int Read(int kind, int32_t date, bool patients) {
        uint8_t low[5] = {}, high[5] = {0, 0, 0, 0, 0xFF};
        std::memcpy(low, &date, 4);
        std::memcpy(high, &date, 4);
        sqlite3_bind_int(unscheduled_, 1, kUnscheduledListMax);
        sqlite3_bind_blob(day_, 1, low, 4, SQLITE_STATIC);
        sqlite3_bind_blob(day_, 2, high, 5, SQLITE_STATIC);
        const std::vector<AppointmentRecord> rows = db_.Rows<AppointmentRecord>(kind == kListUnscheduled ? unscheduled_ : day_);
        if (patients)
            for (const AppointmentRecord& a : rows)
                if (a.patientId != 0) db_.Fetch(patient_, &a.patientId, 4);
        return static_cast<int>(rows.size());
    }

private:
    bench::RawDb db_;
    sqlite3_stmt *day_ = nullptr, *unscheduled_ = nullptr, *patient_ = nullptr;
};

// The day with the most appointments (a full scan, once).
int32_t BusiestDay(bench::RawDb& db) {
    sqlite3_stmt* s = db.Prepare("SELECT substr(k10, 1, 4) AS d, count(*) AS n FROM g9 WHERE d != x'00000000' "
                                 "GROUP BY d ORDER BY n DESC LIMIT 1");
    int32_t date = 0;
    if (s && sqlite3_step(s) == SQLITE_ROW && sqlite3_column_bytes(s, 0) == 4) std::memcpy(&date, sqlite3_column_blob(s, 0), 4);
    return date;
}

void RunFills(benchmark::State& state, int kind) {
    const bench::BenchPractice& p = bench::OpenBenchPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    RawLists raw(p.dir), raw_all(p.dir);
    static const int32_t busiest = BusiestDay(raw.Db());
    if (!raw.Db().Ok() || !raw_all.Db().Ok() || busiest == 0) return state.SkipWithError("raw SQLite cannot read qvn.db, or no booked day");
    ApptListFilter filter;
    filter.date = busiest;
    const ApptListLayout& layout = LayoutOf(kind);
    HeaderListModel list(std::vector<int>(layout.widths, layout.widths + kApptListColumns), kApptListStyle);
    bench::Turns turns({"fill", "raw", "raw_all"});
    int64_t lines = 0;
    double first_fill = 0;
    for (auto _ : state) {
        int rows[3] = {};
        bench::shown.texts.clear();
        turns.Round(state, [&](size_t which) {
            const auto t0 = std::chrono::steady_clock::now();
            if (which == 0) rows[0] = FillApptList(kind, filter, &list).lines;
            else rows[which] = (which == 1 ? raw : raw_all).Read(kind, filter.date, which == 2);
            if (which == 0 && turns.Rounds() == 0)
                first_fill = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        });
        if (rows[0] != rows[1] || rows[1] != rows[2] || rows[0] != list.Count() || rows[0] == 0)
            return state.SkipWithError(("the fill listed " + std::to_string(rows[0]) + " lines, raw SQLite read " +
                                        std::to_string(rows[1])).c_str());
        // The Unscheduled List tells once that it stopped at its limit; nothing else is shown.
        if (bench::shown.texts.size() != (kind == kListUnscheduled && rows[0] == kUnscheduledListMax ? 1u : 0u))
            return state.SkipWithError(("the fill showed " + std::to_string(bench::shown.texts.size()) + " messages").c_str());
        lines += rows[0];
    }
    turns.Report(state);
    state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
    state.counters["first_fill_ms"] = first_fill;
    if (kind == kListAppointments) state.SetLabel("busiest day " + QVN_fmtDateString2000(busiest));
}

void BM_UnscheduledListFill(benchmark::State& state) { RunFills(state, kListUnscheduled); }
void BM_BusiestDayApptListFill(benchmark::State& state) { RunFills(state, kListAppointments); }

BENCHMARK(BM_UnscheduledListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_BusiestDayApptListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);

}  // namespace

BENCHMARK_MAIN();
