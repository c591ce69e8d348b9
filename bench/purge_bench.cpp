// Purging the million-appointment practice with a cutoff five years back: the program's
// PurgeStoredAppointments (every purged appointment locked, read again and removed with its note,
// its share of the cutoff week and its patient's "Purged Appointment" note, several appointments
// to a transaction, then the RscUse week records before the cutoff week, several to a transaction
// too) against raw SQLite deleting the same rows (the appointments, their notes and the week
// records) in one transaction, in the same run. Each side works on its own copy of the practice,
// so the kept practice is never changed.
//
// Counters: engine_s (split into appointment_walk_s and week_walk_s), raw_s, engine/raw; the
// appointments and week records purged by each side (they must agree); longest_gap_ms, the
// longest time between two progress counts of the engine's run (from the start to the first one
// too), each gap over 250 ms written to stderr with the steps that made it, and the steps' totals
// at the end; and shown_gap_ms / shown_gaps_over_1s, the gaps between the changes of the text as
// the progress window shows it: a second thread reads the count every 100 ms, as the window's
// timer on its own thread does, and notes when what it would show changes (painting aside).
// load_start / load_end: the machine's one-minute load average around the engine's run.
//
// The practice: $QVN_BENCH_PRACTICE when set (made with `qvnadmin seed-bench DIR`), else
// $TMPDIR/qvn-week-bench, seeded on the first run (about 40 s and 650 MiB) and reused later.
// The two copies go to $TMPDIR/qvn-purge-bench-<pid> and are removed afterwards.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "data/appointment_actions.h"
#include "data/appointment_record.h"
#include "data/bench_practice.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "sqlite3.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/records/notes.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kCutoffMonthsBack = 60;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Nothing may be asked while purging; a message means the run went wrong.
class ShownTexts final : public Prompter {
public:
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        return r.buttons == kButtonsOk ? kAnswerOk : kAnswerCancel;
    }
    std::vector<std::string> texts;
};

// Every gap between two counts over kLoggedGap is written to stderr with the time each step took
// inside it, so that a long gap names its cause.
constexpr Clock::duration kLoggedGap = std::chrono::milliseconds(250);

const char* StepName(PurgeStep step) {
    static const char* const names[kPurgeStepCount] = {"walk read",   "batch reads",  "batch locks", "batch writes",
                                                       "batch commit", "alone",        "week read",   "week locks",
                                                       "week writes",  "week commit"};
    return names[static_cast<int>(step)];
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// What the progress window would show, read every 100 ms on a thread of its own: the gaps
// between two changes of the text (and from the start to the first).
class ShownCount {
public:
    explicit ShownCount(const PurgeCountBoard& board) : board_(board), thread_([this] { Watch(); }) {}
    ~ShownCount() { Stop(); }
    void Stop() {
        if (!thread_.joinable()) return;
        stop_ = true;
        thread_.join();
    }
    Clock::duration longest{};
    int overASecond = 0;

private:
    void Watch() {
        std::pair<int, int> shown{0, 0};
        Clock::time_point changed = Clock::now();
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const std::pair<int, int> now_shown = board_.Get();
            if (now_shown == shown) continue;
            const Clock::time_point now = Clock::now();
            longest = std::max(longest, now - changed);
            if (now - changed > std::chrono::seconds(1)) ++overASecond;
            shown = now_shown;
            changed = now;
        }
    }
    const PurgeCountBoard& board_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

double LoadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = -1;
    in >> load;
    return load;
}

class GapProgress final : public PurgeProgress {
public:
    bool Cancelled() override { return false; }
    void Counted(int purged, int read) override {
        board.Set(purged, read);
        const Clock::time_point now = Clock::now();
        const Clock::duration gap = now - last;
        longest = std::max(longest, gap);
        if (gap > kLoggedGap) {
            ++logged;
            if (gap > std::chrono::seconds(1)) ++overASecond;
            std::fprintf(stderr, "gap %.0f ms before %d - %d:", Ms(gap), purged, read);
            for (int i = 0; i < kPurgeStepCount; ++i)
                if (steps[i] > Clock::duration{})
                    std::fprintf(stderr, " %s %.0f ms (%d);", StepName(static_cast<PurgeStep>(i)), Ms(steps[i]), times[i]);
            std::fprintf(stderr, "\n");
        }
        for (int i = 0; i < kPurgeStepCount; ++i) {
            steps[i] = {};
            times[i] = 0;
        }
        last = now;
        // The week walk counts from 1 again; a batch cut short counts the same read twice.
        if (read < lastRead && weeksStarted == Clock::time_point{}) weeksStarted = lastAppointment;
        if (weeksStarted == Clock::time_point{}) lastAppointment = now;
        lastRead = read;
    }
    void Took(PurgeStep step, Clock::duration took) override {
        steps[static_cast<int>(step)] += took;
        ++times[static_cast<int>(step)];
        total[static_cast<int>(step)] += took;
    }
    PurgeCountBoard board;
    Clock::time_point last = Clock::now();
    Clock::duration longest{};
    int logged = 0, overASecond = 0;
    // The steps' times since the last count, and over the whole run.
    Clock::duration steps[kPurgeStepCount]{}, total[kPurgeStepCount]{};
    int times[kPurgeStepCount]{};
    // The end of the appointment walk (its last count), to split the run's time between the walks.
    Clock::time_point lastAppointment = last, weeksStarted{};
    int lastRead = 0;
};

std::string PracticeDir() {
    const char* env = std::getenv("QVN_BENCH_PRACTICE");
    if (env && *env) return env;
    return (fs::temp_directory_path() / "qvn-week-bench").string();
}

bool Seed(const std::string& dir, std::string* reason) {
    std::fprintf(stderr, "seeding the benchmark practice in %s (about 40 s and 650 MiB); it is reused by later runs\n",
                 dir.c_str());
    fs::create_directories(dir);
    if (!CreatePracticeDatabase(dir, reason) || !OpenPracticeDatabase(dir, reason)) return false;
    BenchOptions options;
    options.today = QVN_SysDate();
    BenchCounts counts;
    const bool ok = WriteBenchPractice(options, &counts, reason);
    DbEndSession();
    return ok;
}

// The rows raw SQLite deletes: what the purge takes, found by reading every record (not timed).
struct RawRows {
    std::vector<int64_t> appointments, notes, weeks;
};

bool FindRows(sqlite3* db, int32_t cutoff, RawRows* rows) {
    const uint32_t cutoff_week = static_cast<uint32_t>(WeekStartOf(cutoff));
    std::vector<uint32_t> ids;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT recno, rec FROM g9", -1, &st, nullptr) != SQLITE_OK) return false;
    while (sqlite3_step(st) == SQLITE_ROW) {
        AppointmentRecord a;
        std::memcpy(&a, sqlite3_column_blob(st, 1), sizeof a);
        if (a.date == 0 || a.date >= cutoff || a.unscheduled) continue;
        rows->appointments.push_back(sqlite3_column_int64(st, 0));
        ids.push_back(a.id);
    }
    sqlite3_finalize(st);
    std::sort(ids.begin(), ids.end());
    if (sqlite3_prepare_v2(db, "SELECT recno, rec FROM g44", -1, &st, nullptr) != SQLITE_OK) return false;
    while (sqlite3_step(st) == SQLITE_ROW) {
        NoteHead head;
        std::memcpy(&head, sqlite3_column_blob(st, 1), sizeof head);
        if (head.kind == kNoteAppointment && std::binary_search(ids.begin(), ids.end(), head.ownerId))
            rows->notes.push_back(sqlite3_column_int64(st, 0));
    }
    sqlite3_finalize(st);
    if (sqlite3_prepare_v2(db, "SELECT recno, rec FROM g94", -1, &st, nullptr) != SQLITE_OK) return false;
    while (sqlite3_step(st) == SQLITE_ROW) {
        RscUseHead head;
        std::memcpy(&head, sqlite3_column_blob(st, 1), sizeof head);
        if (head.week != 0 && head.week < cutoff_week) rows->weeks.push_back(sqlite3_column_int64(st, 0));
    }
    sqlite3_finalize(st);
    return true;
}

bool DeleteRows(sqlite3* db, const char* table, const std::vector<int64_t>& recnos) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, (std::string("DELETE FROM ") + table + " WHERE recno = ?").c_str(), -1, &st, nullptr) != SQLITE_OK)
        return false;
    bool ok = true;
    for (int64_t r : recnos) {
        sqlite3_bind_int64(st, 1, r);
        ok = sqlite3_step(st) == SQLITE_DONE && ok;
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return ok;
}

void BM_PurgeFiveYearsBack(benchmark::State& state) {
    const std::string kept = PracticeDir();
    std::string reason;
    if (!fs::exists(fs::path(kept) / "qvn.db") && !Seed(kept, &reason)) return state.SkipWithError(("seeding: " + reason).c_str());
    const fs::path scratch = fs::temp_directory_path() / ("qvn-purge-bench-" + std::to_string(getpid()));
    const fs::path engine_dir = scratch / "engine", raw_dir = scratch / "raw";
    std::error_code ec;
    for (const fs::path& d : {engine_dir, raw_dir}) {
        fs::create_directories(d, ec);
        fs::copy_file(fs::path(kept) / "qvn.db", d / "qvn.db", fs::copy_options::overwrite_existing, ec);
        if (ec) {
            fs::remove_all(scratch, ec);
            return state.SkipWithError("copying the practice failed");
        }
    }
    const int32_t today = QVN_SysDate();
    const int32_t cutoff = QVN_AddMonths(today, -kCutoffMonthsBack);

    for (auto _ : state) {
        // The engine.
        ShownTexts shown;
        InstallPrompter(&shown);
        if (!OpenPracticeDatabase(engine_dir.string(), &reason)) {
            InstallPrompter(nullptr);
            fs::remove_all(scratch, ec);
            return state.SkipWithError(("opening: " + reason).c_str());
        }
        GapProgress progress;
        const double load_start = LoadAverage();
        ShownCount shown_count(progress.board);
        const Clock::time_point t0 = Clock::now();
        const PurgeOutcome out = PurgeStoredAppointments(cutoff, progress);
        const Clock::time_point t_end = Clock::now();
        shown_count.Stop();
        const double load_end = LoadAverage();
        const double engine_s = Seconds(t_end - t0);
        const Clock::time_point split = progress.weeksStarted == Clock::time_point{} ? t_end : progress.weeksStarted;
        DbEndSession();
        InstallPrompter(nullptr);

        // Raw SQLite on the other copy, as the engine keeps its files: no WAL, synchronous FULL.
        sqlite3* db = nullptr;
        sqlite3_open((raw_dir / "qvn.db").string().c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        RawRows rows;
        const bool found = FindRows(db, cutoff, &rows);
        const Clock::time_point t1 = Clock::now();
        bool deleted = found && sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
        deleted = deleted && DeleteRows(db, "g9", rows.appointments) && DeleteRows(db, "g44", rows.notes) &&
                  DeleteRows(db, "g94", rows.weeks) && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        const double raw_s = Seconds(Clock::now() - t1);
        sqlite3_close(db);
        state.SetIterationTime(engine_s);

        state.counters["engine_s"] = engine_s;
        state.counters["appointment_walk_s"] = Seconds(split - t0);
        state.counters["week_walk_s"] = Seconds(t_end - split);
        state.counters["raw_s"] = raw_s;
        state.counters["engine/raw"] = engine_s / raw_s;
        state.counters["purged"] = out.appointmentsPurged;
        state.counters["raw_purged"] = static_cast<double>(rows.appointments.size());
        state.counters["weeks_purged"] = out.weeksPurged;
        state.counters["raw_weeks"] = static_cast<double>(rows.weeks.size());
        state.counters["read"] = out.appointmentsRead;
        state.counters["longest_gap_ms"] = Ms(progress.longest);
        state.counters["gaps_over_250ms"] = progress.logged;
        state.counters["gaps_over_1s"] = progress.overASecond;
        state.counters["shown_gap_ms"] = Ms(shown_count.longest);
        state.counters["shown_gaps_over_1s"] = shown_count.overASecond;
        state.counters["load_start"] = load_start;
        state.counters["load_end"] = load_end;
        for (int i = 0; i < kPurgeStepCount; ++i)
            std::fprintf(stderr, "all %s: %.1f s\n", StepName(static_cast<PurgeStep>(i)), Ms(progress.total[i]) / 1000);
        std::string problem;
        if (!shown.texts.empty()) problem = "the purge showed: " + shown.texts.front();
        else if (!deleted) problem = "the raw delete failed";
        else if (static_cast<size_t>(out.appointmentsPurged) != rows.appointments.size() ||
                 static_cast<size_t>(out.weeksPurged) != rows.weeks.size())
            problem = "the two sides purged different rows";
        if (!problem.empty()) {
            fs::remove_all(scratch, ec);
            return state.SkipWithError(problem.c_str());
        }
        state.SetLabel("cutoff " + QVN_fmtDateString2000(cutoff));
    }
    fs::remove_all(scratch, ec);
}

BENCHMARK(BM_PurgeFiveYearsBack)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
