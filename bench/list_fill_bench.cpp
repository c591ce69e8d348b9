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
#include "lists/appt_lists.h"
#include "sqlite3.h"
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

// The raw twin: the appointment file's rows by the key the fill reads, and a patient by its id.
class RawReader {
public:
    explicit RawReader(const std::string& dir) {
        if (sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            return;
        ok_ = Prepare(&day_, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10") &&
              Prepare(&unscheduled_, "SELECT recno, rec FROM g9 WHERE k15 >= x'01' AND k15 < x'02' ORDER BY k15 LIMIT ?") &&
              Prepare(&patient_, "SELECT rec FROM g18 WHERE k19 = ?");
    }
    ~RawReader() {
        for (sqlite3_stmt* s : {day_, unscheduled_, patient_}) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    RawReader(const RawReader&) = delete;
    RawReader& operator=(const RawReader&) = delete;
    bool Ok() const { return ok_; }
    std::string Error() const { return db_ ? sqlite3_errmsg(db_) : "cannot open qvn.db"; }

    // The day with the most appointments (a full scan, once).
    int32_t BusiestDay() {
        sqlite3_stmt* s = nullptr;
        int32_t date = 0;
        if (Prepare(&s, "SELECT substr(k10, 1, 4) AS d, count(*) AS n FROM g9 WHERE d != x'00000000' "
                        "GROUP BY d ORDER BY n DESC LIMIT 1") &&
            sqlite3_step(s) == SQLITE_ROW && sqlite3_column_bytes(s, 0) == 4)
            std::memcpy(&date, sqlite3_column_blob(s, 0), 4);
        sqlite3_finalize(s);
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
    bool Prepare(sqlite3_stmt** s, const char* sql) { return sqlite3_prepare_v2(db_, sql, -1, s, nullptr) == SQLITE_OK; }

    int Rows(sqlite3_stmt* s, bool patients) {
        int rows = 0;
        std::vector<AppointmentRecord> read;
        while (sqlite3_step(s) == SQLITE_ROW) {
            AppointmentRecord a;
            std::memcpy(&a, sqlite3_column_blob(s, 1), sizeof a);
            benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
            read.push_back(a);
            ++rows;
        }
        sqlite3_reset(s);
        if (patients)
            for (const AppointmentRecord& a : read) {
                if (a.patientId == 0) continue;
                sqlite3_bind_blob(patient_, 1, &a.patientId, 4, SQLITE_STATIC);
                if (sqlite3_step(patient_) == SQLITE_ROW) {
                    const int n = std::min(sqlite3_column_bytes(patient_, 0), static_cast<int>(sizeof buffer_));
                    std::memcpy(buffer_, sqlite3_column_blob(patient_, 0), static_cast<size_t>(n));
                }
                sqlite3_reset(patient_);
                benchmark::DoNotOptimize(buffer_);
            }
        return rows;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* day_ = nullptr;
    sqlite3_stmt* unscheduled_ = nullptr;
    sqlite3_stmt* patient_ = nullptr;
    uint8_t buffer_[kQdbMaxVarRecord] = {};
    bool ok_ = false;
};

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
    RawReader raw(p.dir);
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
    RawReader raw(p.dir), raw_all(p.dir);
    for (RawReader* r : {&raw, &raw_all})
        if (!r->Ok()) return state.SkipWithError(("raw SQLite: " + r->Error()).c_str());
    ApptListFilter filter;
    filter.date = p.busiest;
    HeaderListModel list = EmptyList(kind);
    double ms[3] = {};  // fill, raw, raw_all
    int64_t lines = 0;
    size_t next = 0;
    for (auto _ : state) {
        int rows[3] = {};
        shown.texts.clear();
        for (int i = 0; i < 3; ++i) {
            const int which = static_cast<int>((next + i) % 3);
            const auto t0 = Clock::now();
            if (which == 0) rows[0] = FillApptList(kind, filter, &list).lines;
            else {
                RawReader& r = which == 1 ? raw : raw_all;
                rows[which] = kind == kListUnscheduled ? r.Unscheduled(kUnscheduledListMax, which == 2)
                                                       : r.Day(filter.date, which == 2);
            }
            const double taken = Ms(Clock::now() - t0);
            ms[which] += taken;
            if (which == 0) state.SetIterationTime(taken / 1000.0);
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
    if (kind == kListAppointments) state.SetLabel("busiest day " + QVN_fmtDateString2000(p.busiest));
}

void BM_UnscheduledListFill(benchmark::State& state) { RunFills(state, kListUnscheduled); }
void BM_BusiestDayApptListFill(benchmark::State& state) { RunFills(state, kListAppointments); }

BENCHMARK(BM_UnscheduledListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_BusiestDayApptListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds);

}  // namespace

BENCHMARK_MAIN();
