// Loading the shown days of the schedule sheet on a large group practice: a week of the week view
// and a day of the day view, each through the program's own LoadShownDays against raw SQLite
// reading the same rows on its own connection to the same qvn.db. The weeks and days are drawn
// from a fixed seed over the book's ten years, so runs compare; every iteration loads the next
// one through both, in turn which goes first.
//
// Counters per load: engine_ms and raw_ms, and engine/raw; statements, those the engine sent to
// the database, and engine_cpu_ms, the process's CPU time of the engine's load (the server's
// own work not counted). The raw twin reads what the issue
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
// A $QVN_BENCH_PRACTICE whose qvndata.inf names a PostgreSQL server (the SQLite practice moved
// there with `qvnadmin copy DIR --to CONNECTION`) is loaded from the server; the raw twins read
// SQLite files and are left out, so only engine_ms is reported.
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "data/appointment_record.h"
#include "data/bench_practice.h"
#include "data/rscuse_record.h"
#include "lists/patient_search.h"
#include "suite/dates.h"
#include "suite/qdb/storage.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "suite/users.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/sheet_state.h"

namespace {

constexpr int kBookAppointments = 1000000;
constexpr int kBookOperatories = 20;
// Weeks (and days) per benchmark, each loaded once; QVN_BENCH_SAMPLES for fewer on a slow server.
const int kSamples = [] {
    const char* n = std::getenv("QVN_BENCH_SAMPLES");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 100;
}();
constexpr uint32_t kSampleSeed = 0x5EEDD47u;

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
    explicit RawReader(const std::string& dir) : db_(dir) {
        appointments_ = db_.Prepare("SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10");
        week_ = db_.Prepare("SELECT rec FROM g94 WHERE k95 = ?");
        note_ = db_.Prepare("SELECT rec FROM g44 WHERE k45 = ?");
        patient_ = db_.Prepare("SELECT rec FROM g18 WHERE k19 = ?");
    }
    bool Ok() const { return db_.Ok(); }
    std::string Error() const { return db_.Error(); }

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
            const std::vector<AppointmentRecord> read = db_.Rows<AppointmentRecord>(appointments_);
            rows += static_cast<int>(read.size());
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
    void Begin() { sqlite3_exec(db_.Db(), "BEGIN", nullptr, nullptr, nullptr); }
    void End() { sqlite3_exec(db_.Db(), "COMMIT", nullptr, nullptr, nullptr); }

    // The practice's week record of a week, as the hours of the shown dates read it.
    void PracticeWeek(int32_t week) { Week(kRscPractice, kPracticeId, static_cast<uint32_t>(week)); }

private:
    void Week(uint8_t kind, const char id[4], uint32_t week) {
        RscUseKey key{kind, {}, week};
        std::memcpy(key.id, id, 4);
        db_.Fetch(week_, &key, sizeof key);
    }
    void Note(uint8_t kind, uint32_t owner) {
        uint8_t key[5] = {kind};
        std::memcpy(key + 1, &owner, 4);
        db_.Fetch(note_, key, sizeof key);
    }
    void Patient(uint32_t id) { db_.Fetch(patient_, &id, sizeof id); }

    bench::RawDb db_;
    sqlite3_stmt *appointments_, *week_, *note_, *patient_;
};

// The practice open on the access layer, its tables loaded, the view set to every operatory and
// as many providers as a view holds, and the samples drawn.
struct Practice {
    bool ok = false;
    bool onServer = false;
    std::string reason, label, dir;
    std::vector<int32_t> weeks;  // Sundays
    std::vector<int32_t> days;   // weekdays Monday to Friday
};

Practice& OpenPractice() {
    static Practice p;
    static bool tried = false;
    if (tried) return p;
    tried = true;
    const bench::BenchPractice& open = bench::OpenBenchPractice(Seed);
    p.dir = open.dir;
    p.onServer = open.onServer;
    if (!open.ok) return p.reason = open.reason, p;

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
    p.label = std::string(p.onServer ? "on the server: " : "") + std::to_string(practice_tables.providers.size()) + " providers (" + std::to_string(view.providerCount) +
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
    if (!p.onServer)
        for (RawReader* r : {&raw, &raw_txn, &raw_all})
            if (!r->Ok()) return state.SkipWithError(("raw SQLite: " + r->Error()).c_str());
    const std::vector<int32_t>& samples = mode == kWeekView ? p.weeks : p.days;
    bench::Turns turns(p.onServer ? std::vector<std::string>{"engine"}
                                  : std::vector<std::string>{"engine", "raw", "raw_txn", "raw_all"});
    int64_t appointments = 0;
    uint64_t statements = 0;
    double engine_cpu_ms = 0;
    for (auto _ : state) {
        const int32_t date = samples[turns.Rounds() % samples.size()];
        const std::vector<int32_t> dates = ShownDatesOf(date, mode);
        int rows[4] = {};
        turns.Round(state, [&](size_t which) {
            if (which == 0) {
                const uint64_t statements_before = StorageStatementsRun();
                const std::clock_t cpu_before = std::clock();
                LoadShownDays(dates, mode);
                engine_cpu_ms += 1000.0 * static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC;
                statements += StorageStatementsRun() - statements_before;
                rows[0] = LoadedAppointments();
                return;
            }
            RawReader& r = which == 1 ? raw : which == 2 ? raw_txn : raw_all;
            if (which == 2) r.Begin();
            int32_t week = -1;
            for (int32_t d : dates) {
                rows[which] += r.ReadDay(d, mode == kDayView, which == 3);
                if (which == 3 && WeekStartOf(d) != week) r.PracticeWeek(week = WeekStartOf(d));
            }
            if (which == 2) r.End();
        });
        if (!p.onServer && (rows[0] != rows[1] || rows[1] != rows[2] || rows[2] != rows[3]))
            return state.SkipWithError(("the engine loaded " + std::to_string(rows[0]) + " appointments of " +
                                        QVN_fmtDateString2000(date) + ", raw SQLite read " + std::to_string(rows[1]))
                                           .c_str());
        if (!bench::shown.texts.empty()) return state.SkipWithError(("the load showed: " + bench::shown.texts.front()).c_str());
        appointments += rows[0];
    }
    turns.Report(state);
    const double iterations = static_cast<double>(state.iterations());
    state.counters["appointments"] = static_cast<double>(appointments) / iterations;
    state.counters["statements"] = static_cast<double>(statements) / iterations;
    state.counters["engine_cpu_ms"] = engine_cpu_ms / iterations;
    state.SetLabel(p.label);
}

// The raw twin of the prefix search: the last-name key's range of the prefix, records copied.
// The number of patients that are not archived, as the search lists them.
int RawPrefixRead(sqlite3_stmt* range, const std::string& prefix) {
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
    return listed;
}

void BM_PatientPrefixSearch(benchmark::State& state) {
    Practice& p = OpenPractice();
    if (!p.ok) return state.SkipWithError(p.reason.c_str());
    if (p.onServer) return state.SkipWithError("the raw twin reads SQLite: not on a server practice");
    bench::RawDb raw(p.dir);
    sqlite3_stmt* range = raw.Prepare("SELECT rec FROM g18 WHERE k20 >= ? AND k20 < ? ORDER BY k20");
    if (!range) return state.SkipWithError("raw SQLite cannot read the patient file");
    // Two letters that begin last names of the book, common and rare ones.
    const char* const prefixes[] = {"SM", "MI", "BA", "WA", "GA", "NO", "KI", "YO"};
    bench::Turns turns({"engine", "raw"});
    int64_t listed = 0;
    for (auto _ : state) {
        const std::string prefix = prefixes[turns.Rounds() % (sizeof prefixes / sizeof prefixes[0])];
        int rows[2] = {};
        turns.Round(state, [&](size_t which) {
            if (which == 0) rows[0] = static_cast<int>(SearchPatients(kSearchLastName, prefix, false, 0).lines.size());
            else rows[1] = RawPrefixRead(range, prefix);
        });
        if (rows[0] != rows[1] || rows[0] == 0)
            return state.SkipWithError(("the search listed " + std::to_string(rows[0]) + " patients for " + prefix +
                                        ", raw SQLite read " + std::to_string(rows[1]) +
                                        " (a practice seeded before the name keys compared without case: seed anew)")
                                           .c_str());
        listed += rows[0];
    }
    turns.Report(state);
    state.counters["patients"] = static_cast<double>(listed) / static_cast<double>(state.iterations());
    state.SetLabel(p.label);
}

void BM_WeekViewLoad(benchmark::State& state) { RunLoads(state, kWeekView); }
void BM_DayViewLoad(benchmark::State& state) { RunLoads(state, kDayView); }

BENCHMARK(BM_WeekViewLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kSamples);
BENCHMARK(BM_DayViewLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kSamples);
BENCHMARK(BM_PatientPrefixSearch)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
