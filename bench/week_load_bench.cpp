// Loading the shown days of the schedule sheet on a large group practice: a week of the week view
// and a day of the day view, each through the program's own LoadShownDays against raw SQLite
// reading the same rows on its own connection to the same qvn.db. The weeks and days are drawn
// from a fixed seed over the book's ten years, so runs compare; every iteration loads the next
// one through both, in turn which goes first.
//
// Counters per load: engine_ms and raw_ms, and engine/raw. The raw twin reads what the issue
// names: every operatory's appointments of every shown date by the date/operatory key's index,
// and the provider week records by their key, copying the blobs and decoding nothing; each
// statement is its own read transaction, as the engine's are. raw_txn_ms is the same inside one
// read transaction, which shows what the per-statement locking costs. raw_all_ms (and
// engine/raw_all) adds every other read the load makes (the day note, each provider's
// time-block override, the practice's week and, in the day view, each appointment's patient,
// alert note and appointment note), so that the distance left is the engine's own.
//
// BM_PatientPrefixSearch: the Select Patient dialog's search of a two-letter last-name prefix
// (SearchPatients: the set on the last-name key and one result line per patient) against raw
// SQLite reading the same index range and copying the records. Counters engine_ms, raw_ms,
// engine/raw and the patients listed.
//
// The practice: $QVN_BENCH_PRACTICE when set (made with `qvnadmin seed-bench DIR`), else
// $TMPDIR/qvn-week-bench, seeded on the first run (about 40 s and 650 MiB) and reused later.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "data/bench_practice.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "lists/patient_search.h"
#include "sqlite3.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "suite/users.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/sheet_state.h"

namespace {

constexpr int kBookAppointments = 1000000;
constexpr int kBookOperatories = 20;
constexpr int kSamples = 100;             // weeks (and days) per benchmark, each loaded once
constexpr uint32_t kSampleSeed = 0x5EEDD47u;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Nothing may be asked or shown while loading; a message means the load went wrong.
class ShownTexts final : public Prompter {
public:
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        return r.buttons == kButtonsOk ? kAnswerOk : kAnswerNo;
    }
    std::vector<std::string> texts;
};
ShownTexts shown;

std::string PracticeDir(bool* given) {
    const char* env = std::getenv("QVN_BENCH_PRACTICE");
    *given = env && *env;
    if (*given) return env;
    return (std::filesystem::temp_directory_path() / "qvn-week-bench").string();
}

bool HasDatabase(const std::string& dir) { return std::filesystem::exists(std::filesystem::path(dir) / "qvn.db"); }

bool Seed(const std::string& dir, std::string* reason) {
    std::fprintf(stderr,
                 "seeding the benchmark practice in %s: %d appointments, %d operatories (about 40 s and 650 MiB);\n"
                 "it is reused by later runs; delete the folder when done\n",
                 dir.c_str(), kBookAppointments, kBookOperatories);
    std::filesystem::create_directories(dir);
    if (!CreatePracticeDatabase(dir, reason) || !OpenPracticeDatabase(dir, reason)) return false;
    BenchOptions options;
    options.appointments = kBookAppointments;
    options.operatories = kBookOperatories;
    options.today = QVN_SysDate();
    options.passwordIterations = kPasswordIterations;
    BenchCounts counts;
    const bool ok = WriteBenchPractice(options, &counts, reason);
    DbEndSession();
    return ok;
}

// The date an appointment has in the book: a broken one keeps it as its list date.
int32_t BookDate(const AppointmentRecord& a) { return a.date != 0 ? a.date : a.listDate; }

// The raw twin: plain SQLite on the practice's qvn.db, the engine's tables and key columns read
// with prepared statements. Table g<file> holds a file group, column k<key> a key's bytes.
class RawReader {
public:
    explicit RawReader(const std::string& dir) {
        if (sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            return;
        ok_ = Prepare(&appointments_, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10") &&
              Prepare(&week_, "SELECT rec FROM g94 WHERE k95 = ?") &&
              Prepare(&note_, "SELECT rec FROM g44 WHERE k45 = ?") &&
              Prepare(&patient_, "SELECT rec FROM g18 WHERE k19 = ?");
    }
    ~RawReader() {
        for (sqlite3_stmt* s : {appointments_, week_, note_, patient_}) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    RawReader(const RawReader&) = delete;
    RawReader& operator=(const RawReader&) = delete;
    bool Ok() const { return ok_; }
    std::string Error() const { return db_ ? sqlite3_errmsg(db_) : "cannot open qvn.db"; }

    // One date's operatory sets and provider week records; with all, every other read of the
    // load too. The number of appointment rows.
    int ReadDay(int32_t date, bool day_view, bool all) {
        const ActiveView& view = view_state.active;
        const uint32_t week = static_cast<uint32_t>(WeekStartOf(date));
        if (all) Note(kNoteDay, static_cast<uint32_t>(date));
        for (int i = 0; i < view.providerCount; ++i) {
            const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(view.providers[i])];
            if (all) Week(kRscBlockOverride, p.id, week);
            Week(kRscProvider, p.id, week);
        }
        if (all)
            for (size_t i = 0; i < practice_tables.providers.size(); ++i)
                if (std::find(view.providers, view.providers + view.providerCount, static_cast<int>(i)) ==
                    view.providers + view.providerCount)
                    Week(kRscBlockOverride, practice_tables.providers[i].id, week);
        int rows = 0;
        for (int i = 0; i < view.operatoryCount; ++i) {
            const OperatoryInfo& o = practice_tables.operatories[static_cast<size_t>(view.operatories[i])];
            uint8_t low[9], high[9];
            std::memcpy(low, &date, 4);
            low[4] = kMarkerOperatory;
            std::memcpy(low + 5, o.id, 4);
            std::memcpy(high, low, 9);
            ++high[8];  // the ids end in a digit: never 0xFF
            sqlite3_bind_blob(appointments_, 1, low, 9, SQLITE_STATIC);
            sqlite3_bind_blob(appointments_, 2, high, 9, SQLITE_STATIC);
            std::vector<AppointmentRecord> read;
            while (sqlite3_step(appointments_) == SQLITE_ROW) {
                AppointmentRecord a;
                std::memcpy(&a, sqlite3_column_blob(appointments_, 1), sizeof a);
                benchmark::DoNotOptimize(sqlite3_column_int64(appointments_, 0));
                read.push_back(a);
                ++rows;
            }
            sqlite3_reset(appointments_);
            if (!all || !day_view) continue;
            for (const AppointmentRecord& a : read) {
                if (a.patientId != 0) {
                    Patient(a.patientId);
                    Note(kNotePatientAlert, a.patientId);
                }
                Note(kNoteAppointment, a.id);
            }
        }
        return rows;
    }

    // One read transaction around what follows, instead of one per statement.
    void Begin() { sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr); }
    void End() { sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr); }

    // The practice's week record of a week, as the hours of the shown dates read it.
    void PracticeWeek(int32_t week) { Week(kRscPractice, kPracticeId, static_cast<uint32_t>(week)); }

private:
    bool Prepare(sqlite3_stmt** s, const char* sql) { return sqlite3_prepare_v2(db_, sql, -1, s, nullptr) == SQLITE_OK; }

    // Runs a unique-key lookup and copies the record it finds.
    void Fetch(sqlite3_stmt* s, const void* key, int length) {
        sqlite3_bind_blob(s, 1, key, length, SQLITE_STATIC);
        if (sqlite3_step(s) == SQLITE_ROW) {
            const int n = std::min(sqlite3_column_bytes(s, 0), static_cast<int>(sizeof buffer_));
            std::memcpy(buffer_, sqlite3_column_blob(s, 0), static_cast<size_t>(n));
        }
        sqlite3_reset(s);
        benchmark::DoNotOptimize(buffer_);
    }
    void Week(uint8_t kind, const char id[4], uint32_t week) {
        RscUseKey key{kind, {}, week};
        std::memcpy(key.id, id, 4);
        Fetch(week_, &key, sizeof key);
    }
    void Note(uint8_t kind, uint32_t owner) {
        uint8_t key[5] = {kind};
        std::memcpy(key + 1, &owner, 4);
        Fetch(note_, key, sizeof key);
    }
    void Patient(uint32_t id) { Fetch(patient_, &id, sizeof id); }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* appointments_ = nullptr;
    sqlite3_stmt* week_ = nullptr;
    sqlite3_stmt* note_ = nullptr;
    sqlite3_stmt* patient_ = nullptr;
    uint8_t buffer_[kQdbMaxVarRecord] = {};
    bool ok_ = false;
};

// The practice open on the access layer, its tables loaded, the view set to every operatory and
// as many providers as a view holds, and the samples drawn.
struct Practice {
    bool ok = false;
    std::string reason, label;
    std::string dir;
    std::vector<int32_t> weeks;  // Sundays
    std::vector<int32_t> days;   // weekdays Monday to Friday
};

Practice& OpenPractice() {
    static Practice p;
    static bool tried = false;
    if (tried) return p;
    tried = true;
    bool given = false;
    p.dir = PracticeDir(&given);
    if (!HasDatabase(p.dir)) {
        if (given) {
            p.reason = "QVN_BENCH_PRACTICE=" + p.dir + " holds no qvn.db; make one with `qvnadmin seed-bench " + p.dir +
                       "` (add --appointments and --operatories to change the size) or unset the variable to seed " +
                       "one in the temporary folder";
            return p;
        }
        if (!Seed(p.dir, &p.reason)) return p.reason = "seeding failed: " + p.reason, p;
    }
    if (!OpenPracticeDatabase(p.dir, &p.reason)) return p;
    if (!LoadPracticeTables()) return p.reason = "the practice tables cannot be loaded", p;
    InstallPrompter(&shown);

    ActiveView& view = view_state.active;
    view.providerCount = std::min<int>(kMaxViewResources, static_cast<int>(practice_tables.providers.size()));
    for (int i = 0; i < view.providerCount; ++i) view.providers[i] = i;
    view.operatoryCount = std::min<int>(kMaxViewResources, static_cast<int>(practice_tables.operatories.size()));
    for (int i = 0; i < view.operatoryCount; ++i) view.operatories[i] = i;
    for (int i = 0; i < kViewDays; ++i) view.days[i] = i + 1;

    // The book's span: appointments go in day after day, so physical order is date order.
    int32_t first = 0, last = 0;
    {
        FileGroupDesc desc{};
        DbGroupOf(kAppointmentFile, &desc);
        DbGroupScope group(desc);
        AppointmentRecord a{};
        if (group.Result() != kQdbOk || DbFirst(kAppointmentFile, &a) != kQdbOk) return p.reason = "no appointments", p;
        first = BookDate(a);
        if (DbLast(kAppointmentFile, &a) != kQdbOk) return p.reason = "no last appointment", p;
        last = BookDate(a);
    }
    std::mt19937 random(kSampleSeed);
    std::uniform_int_distribution<int32_t> within(first, last);
    for (int i = 0; i < kSamples; ++i) {
        p.weeks.push_back(WeekStartOf(within(random)));
        p.days.push_back(WeekStartOf(within(random)) + 1 + static_cast<int32_t>(random() % 5));
    }
    p.label = std::to_string(practice_tables.providers.size()) + " providers (" + std::to_string(view.providerCount) +
              " in the view), " + std::to_string(view.operatoryCount) + " operatories, book " +
              QVN_fmtDateString2000(first) + " to " + QVN_fmtDateString2000(last);
    p.ok = true;
    return p;
}

int LoadedAppointments() {
    int n = 0;
    for (const DayRecord& day : day_data.days)
        for (const DayColumn& c : day.columns) n += static_cast<int>(c.appointments.size());
    return n;
}

// One benchmark: each iteration loads the next sample through the engine and through each raw
// reader, every reader on its own connection so that each meets the sample with a cold page
// cache of its own (the file itself sits in the system's cache for all of them); the readers
// take turns at going first.
void RunLoads(benchmark::State& state, ViewMode mode) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    // The baseline, the same in one read transaction, and every read of the load.
    RawReader raw(p.dir), raw_txn(p.dir), raw_all(p.dir);
    for (RawReader* r : {&raw, &raw_txn, &raw_all})
        if (!r->Ok()) return state.SkipWithError(("raw SQLite: " + r->Error()).c_str());
    const std::vector<int32_t>& samples = mode == kWeekView ? p.weeks : p.days;
    double ms[4] = {};  // engine, raw, raw_txn, raw_all
    int64_t appointments = 0;
    size_t next = 0;
    for (auto _ : state) {
        const int32_t date = samples[next % samples.size()];
        const std::vector<int32_t> dates = ShownDatesOf(date, mode);
        int rows[4] = {};
        auto run = [&](int which) {
            const auto t0 = Clock::now();
            if (which == 0) {
                LoadShownDays(dates, mode);
                rows[0] = LoadedAppointments();
            } else {
                RawReader& r = which == 1 ? raw : which == 2 ? raw_txn : raw_all;
                if (which == 2) r.Begin();
                int32_t week = -1;
                for (int32_t d : dates) {
                    rows[which] += r.ReadDay(d, mode == kDayView, which == 3);
                    if (which == 3 && WeekStartOf(d) != week) r.PracticeWeek(week = WeekStartOf(d));
                }
                if (which == 2) r.End();
            }
            const double taken = Ms(Clock::now() - t0);
            ms[which] += taken;
            if (which == 0) state.SetIterationTime(taken / 1000.0);
        };
        for (int i = 0; i < 4; ++i) run(static_cast<int>((next + i) % 4));
        ++next;
        if (rows[0] != rows[1] || rows[1] != rows[2] || rows[2] != rows[3])
            return state.SkipWithError(("the engine loaded " + std::to_string(rows[0]) + " appointments of " +
                                        QVN_fmtDateString2000(date) + ", raw SQLite read " + std::to_string(rows[1]))
                                           .c_str());
        if (!shown.texts.empty()) return state.SkipWithError(("the load showed: " + shown.texts.front()).c_str());
        appointments += rows[0];
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = ms[0] / n;
    state.counters["raw_ms"] = ms[1] / n;
    state.counters["engine/raw"] = ms[0] / ms[1];
    state.counters["raw_txn_ms"] = ms[2] / n;
    state.counters["raw_all_ms"] = ms[3] / n;
    state.counters["engine/raw_all"] = ms[0] / ms[3];
    state.counters["appointments"] = static_cast<double>(appointments) / n;
    state.SetLabel(p.label);
}

// The raw twin of the prefix search: the last-name key's range of the prefix, records copied.
// The number of patients that are not archived, as the search lists them.
int RawPrefixRead(sqlite3* db, sqlite3_stmt* range, const std::string& prefix) {
    std::string high = prefix;
    ++high.back();
    sqlite3_bind_blob(range, 1, prefix.data(), static_cast<int>(prefix.size()), SQLITE_STATIC);
    sqlite3_bind_blob(range, 2, high.data(), static_cast<int>(high.size()), SQLITE_STATIC);
    int listed = 0;
    PatientRecord p;
    while (sqlite3_step(range) == SQLITE_ROW) {
        std::memcpy(&p, sqlite3_column_blob(range, 0), sizeof p);
        listed += p.status != kPatientArchived;
    }
    sqlite3_reset(range);
    benchmark::DoNotOptimize(db);
    return listed;
}

void BM_PatientPrefixSearch(benchmark::State& state) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    sqlite3* db = nullptr;
    sqlite3_stmt* range = nullptr;
    if (sqlite3_open_v2((std::filesystem::path(p.dir) / "qvn.db").string().c_str(), &db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, "SELECT rec FROM g18 WHERE k20 >= ? AND k20 < ? ORDER BY k20", -1, &range, nullptr) !=
            SQLITE_OK) {
        sqlite3_close(db);
        return state.SkipWithError("raw SQLite cannot read the patient file");
    }
    // Two letters that begin last names of the book, common and rare ones.
    const char* const prefixes[] = {"SM", "MI", "BA", "WA", "GA", "NO", "KI", "YO"};
    double ms[2] = {};
    int64_t listed = 0;
    size_t next = 0;
    for (auto _ : state) {
        const std::string prefix = prefixes[next % (sizeof prefixes / sizeof prefixes[0])];
        int rows[2] = {};
        for (int i = 0; i < 2; ++i) {
            const int which = static_cast<int>((next + i) % 2);
            const auto t0 = Clock::now();
            if (which == 0) rows[0] = static_cast<int>(SearchPatients(kSearchLastName, prefix, false, 0).lines.size());
            else rows[1] = RawPrefixRead(db, range, prefix);
            const double taken = Ms(Clock::now() - t0);
            ms[which] += taken;
            if (which == 0) state.SetIterationTime(taken / 1000.0);
        }
        ++next;
        if (rows[0] != rows[1] || rows[0] == 0) {
            sqlite3_finalize(range);
            sqlite3_close(db);
            return state.SkipWithError(("the search listed " + std::to_string(rows[0]) + " patients for " + prefix +
                                        ", raw SQLite read " + std::to_string(rows[1]) +
                                        " (a practice seeded before the name keys compared without case: seed anew)")
                                           .c_str());
        }
        listed += rows[0];
    }
    sqlite3_finalize(range);
    sqlite3_close(db);
    const double n = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = ms[0] / n;
    state.counters["raw_ms"] = ms[1] / n;
    state.counters["engine/raw"] = ms[0] / ms[1];
    state.counters["patients"] = static_cast<double>(listed) / n;
    state.SetLabel(p.label);
}

void BM_WeekViewLoad(benchmark::State& state) { RunLoads(state, kWeekView); }
void BM_DayViewLoad(benchmark::State& state) { RunLoads(state, kDayView); }

BENCHMARK(BM_WeekViewLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kSamples);
BENCHMARK(BM_DayViewLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kSamples);
BENCHMARK(BM_PatientPrefixSearch)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
