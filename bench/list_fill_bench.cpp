// Filling the appointment lists on the one-million-appointment bench practice: the Unscheduled
// List, which stops at its 3,000 lines (and tells so once per fill), and the Appointment List of
// the book's busiest day, each through the program's own FillApptList into the header list box's
// lines, against raw SQLite reading the same appointment rows on its own connection to the same
// qvn.db (raw_ms), and the same plus each line's patient record (raw_all_ms), copying the blobs
// and formatting nothing. The two take turns at going first.
//
// Counters per fill: fill_ms, raw_ms, fill/raw, raw_all_ms, fill/raw_all and the lines filled.
//
// The practice: $QVN_BENCH_PRACTICE when set, else $TMPDIR/qvn-week-bench (made by
// `qvnadmin seed-bench DIR` or by the week load benchmark's first run). Only read.
#include <string>
#include <vector>

#include "bench_common.h"
#include "data/appointment_record.h"
#include "lists/appt_lists.h"
#include "suite/dates.h"

namespace {

constexpr int kRounds = 30;

// The raw twin: the appointment file's rows by the key the fill reads, and a patient by its id.
class RawReader {
public:
    explicit RawReader(const std::string& dir) : db_(dir) {
        day_ = db_.Prepare("SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10");
        unscheduled_ = db_.Prepare("SELECT recno, rec FROM g9 WHERE k15 >= x'01' AND k15 < x'02' ORDER BY k15 LIMIT ?");
        patient_ = db_.Prepare("SELECT rec FROM g18 WHERE k19 = ?");
    }
    bool Ok() const { return db_.Ok(); }
    std::string Error() const { return db_.Error(); }

    // The day with the most appointments (a full scan, once).
    int32_t BusiestDay() {
        sqlite3_stmt* s = db_.Prepare("SELECT substr(k10, 1, 4) AS d, count(*) AS n FROM g9 WHERE d != x'00000000' "
                                      "GROUP BY d ORDER BY n DESC LIMIT 1");
        int32_t date = 0;
        if (s && sqlite3_step(s) == SQLITE_ROW && sqlite3_column_bytes(s, 0) == 4)
            std::memcpy(&date, sqlite3_column_blob(s, 0), 4);
        return date;
    }
    // The rows read; with patients, each row's patient record too.
    int Day(int32_t date, bool patients) {
        uint8_t low[5], high[5];
        std::memcpy(low, &date, 4);
        low[4] = 0;
        std::memcpy(high, &date, 4);
        high[4] = 0xFF;
        sqlite3_bind_blob(day_, 1, low, 4, SQLITE_STATIC);
        sqlite3_bind_blob(day_, 2, high, 5, SQLITE_STATIC);
        return Rows(day_, patients);
    }
    int Unscheduled(int limit, bool patients) {
        sqlite3_bind_int(unscheduled_, 1, limit);
        return Rows(unscheduled_, patients);
    }

private:
    int Rows(sqlite3_stmt* s, bool patients) {
        const std::vector<AppointmentRecord> read = db_.Rows<AppointmentRecord>(s);
        if (patients)
            for (const AppointmentRecord& a : read)
                if (a.patientId != 0) db_.Fetch(patient_, &a.patientId, 4);
        return static_cast<int>(read.size());
    }
    bench::RawDb db_;
    sqlite3_stmt *day_, *unscheduled_, *patient_;
};

HeaderListModel EmptyList(int kind) {
    const ApptListLayout& layout = LayoutOf(kind);
    return HeaderListModel(std::vector<int>(layout.widths, layout.widths + kApptListColumns), kApptListStyle);
}

void RunFills(benchmark::State& state, int kind) {
    bench::BenchPractice& p = bench::OpenBenchPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    RawReader raw(p.dir), raw_all(p.dir);
    for (RawReader* r : {&raw, &raw_all})
        if (!r->Ok()) return state.SkipWithError(("raw SQLite: " + r->Error()).c_str());
    ApptListFilter filter;
    filter.date = raw.BusiestDay();
    if (filter.date == 0) return state.SkipWithError("no booked day");
    HeaderListModel list = EmptyList(kind);
    bench::Turns turns({"fill", "raw", "raw_all"});
    int64_t lines = 0;
    for (auto _ : state) {
        int rows[3] = {};
        bench::shown.texts.clear();
        turns.Round(state, [&](size_t which) {
            if (which == 0) rows[0] = FillApptList(kind, filter, &list).lines;
            else {
                RawReader& r = which == 1 ? raw : raw_all;
                rows[which] = kind == kListUnscheduled ? r.Unscheduled(kUnscheduledListMax, which == 2)
                                                       : r.Day(filter.date, which == 2);
            }
        });
        if (rows[0] != rows[1] || rows[1] != rows[2] || rows[0] != list.Count() || rows[0] == 0)
            return state.SkipWithError(("the fill listed " + std::to_string(rows[0]) + " lines, raw SQLite read " +
                                        std::to_string(rows[1]))
                                           .c_str());
        const size_t expected_messages = kind == kListUnscheduled && rows[0] == kUnscheduledListMax ? 1 : 0;
        if (bench::shown.texts.size() != expected_messages)
            return state.SkipWithError(("the fill showed " + std::to_string(bench::shown.texts.size()) + " messages").c_str());
        lines += rows[0];
    }
    turns.Report(state);
    state.counters["lines"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
    if (kind == kListAppointments) state.SetLabel("busiest day " + QVN_fmtDateString2000(filter.date));
}
void BM_UnscheduledListFill(benchmark::State& state) { RunFills(state, kListUnscheduled); }
void BM_BusiestDayApptListFill(benchmark::State& state) { RunFills(state, kListAppointments); }

BENCHMARK(BM_UnscheduledListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_BusiestDayApptListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);

}  // namespace

BENCHMARK_MAIN();
