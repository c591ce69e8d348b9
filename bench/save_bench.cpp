// Appointment saves per second against raw SQLite inserts of the same records, in one process
// and in four at once. A save is the whole path of the program: the practice-hours question,
// the locks of both week records and the appointment, the checks, and one transaction for the
// week records, the record and its audit entry. The raw twin inserts the same 286-byte records,
// one durable transaction each, into a table with the appointment keys' columns. Compare them as
// ratios within one run. Rates are by the wall clock: a save waits for the disk's sync, and the
// front desk waits with it.
//
// The demo practice is written once into $TMPDIR/qvn-save-bench (deleted at the start of a run).
// With QVN_BENCH_PG (an ODBC connection string naming an empty database of a PostgreSQL server)
// the practice is written there instead, and the saves go to the server; the raw SQLite twins
// are then left out.
#include <benchmark/benchmark.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/demo_seed.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/time_pattern.h"
#include "sqlite3.h"
#include "suite/dates.h"
#include "suite/prompter.h"

namespace {

const int32_t kFirstMonday = QVN_DateIn(1, 4, 2027);
const char* const kOperatories[] = {"OP1 ", "OP2 ", "OP3 ", "OP4 ", "OP5 ", "OP6 ", "OP7 "};
const char* const kProviders[] = {"DR1 ", "DR2 ", "DR3 ", "HYG1", "HYG2", "DR1 ", "DR2 "};

std::string Dir() { return (std::filesystem::temp_directory_path() / "qvn-save-bench").string(); }
std::string ServerConnection() {
    const char* c = std::getenv("QVN_BENCH_PG");
    return c ? c : "";
}

// Yes to every question, Retry to a record another process holds, OK to the rest.
class YesToAll final : public Prompter {
public:
    PromptAnswer Show(const PromptRequest& r) override {
        return r.buttons == kButtonsYesNo ? kAnswerYes : r.buttons == kButtonsRetryCancel ? kAnswerRetry : kAnswerOk;
    }
};
YesToAll yes_to_all;

bool Prepare() {
    static bool prepared = false;
    if (prepared) return true;
    std::filesystem::remove_all(Dir());
    std::filesystem::create_directories(Dir());
    if (!ServerConnection().empty())
        std::ofstream(std::filesystem::path(Dir()) / "qvndata.inf") << "[DATABASE]\nBackend=PostgreSQL\nConnection=" << ServerConnection() << "\n";
    std::string reason;
    if (!CreatePracticeDatabase(Dir(), &reason) || !OpenPracticeDatabase(Dir(), &reason)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return false;
    }
    if (!WriteDemoPractice(BuildDemoPractice(1, kFirstMonday), 1000, &reason)) return false;
    DbEndSession();
    InstallPrompter(&yes_to_all);
    prepared = true;
    return true;
}

bool Open() {
    std::string reason;
    return OpenPracticeDatabase(Dir(), &reason) && LoadPracticeTables();
}

// The n-th appointment of a lane (an operatory with its provider): 30 minutes each, Monday to
// Friday 8:00 to 12:00, week after week, so a lane never conflicts with itself.
AppointmentRecord Nth(int lane, uint32_t n, uint32_t id) {
    AppointmentRecord a{};
    a.id = id;
    const uint32_t per_day = 8, day = n / per_day;
    a.date = kFirstMonday + static_cast<int32_t>(day / 5 * 7 + day % 5);
    a.hour = static_cast<uint8_t>(8 + n % per_day / 2);
    a.minute = static_cast<uint8_t>(n % 2 * 30);
    a.length = 30;
    a.providerMarker = kMarkerProvider;
    std::memcpy(a.provider, kProviders[lane], 4);
    a.operatoryMarker = kMarkerOperatory;
    std::memcpy(a.operatory, kOperatories[lane], 4);
    a.unitSize = 2;
    for (int u = 0; u < 24; ++u) SetPatternCode(a.timePattern, u, kPatternProvider);
    a.amount = 9500;
    std::snprintf(a.description, sizeof a.description, "Bench %u", id);
    return a;
}

// Saves count appointments in the lane with ids from first_id; the number that succeeded.
int SaveLane(int lane, uint32_t first_n, uint32_t first_id, int count) {
    int saved = 0;
    for (int i = 0; i < count; ++i) saved += SaveAppointment(true, nullptr, Nth(lane, first_n + static_cast<uint32_t>(i), first_id + static_cast<uint32_t>(i)));
    return saved;
}

uint32_t next_id = 1;
uint32_t next_n[7] = {};

void BM_SaveOneProcess(benchmark::State& state) {
    if (!Prepare() || !Open()) return state.SkipWithError("cannot prepare");
    for (auto _ : state)
        if (!SaveAppointment(true, nullptr, Nth(0, next_n[0]++, next_id++))) return state.SkipWithError("save failed");
    DbEndSession();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveOneProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

// Four processes, each in its own lane from next[lane - 1] on; one iteration is 4 x 50 of what
// run_lane does, which gives how many of them succeeded.
void FourProcesses(benchmark::State& state, uint32_t* next, int (*run_lane)(int, uint32_t, uint32_t, int)) {
    if (!Prepare()) return state.SkipWithError("cannot prepare");
    constexpr int kEach = 50;
    for (auto _ : state) {
        pid_t children[4];
        for (int p = 0; p < 4; ++p) {
            const uint32_t first_n = next[p], first_id = 1000000u * static_cast<uint32_t>(p + 1) + next[p];
            children[p] = fork();
            if (children[p] == 0) _exit(run_lane(p + 1, first_n, first_id, kEach) == kEach ? 0 : 2);
        }
        for (int p = 0; p < 4; ++p) {
            int status = 0;
            waitpid(children[p], &status, 0);
            next[p] += kEach;
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return state.SkipWithError("a process failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * 4 * kEach);
}

void BM_SaveFourProcesses(benchmark::State& state) {
    FourProcesses(state, next_n + 1, [](int lane, uint32_t first_n, uint32_t first_id, int count) {
        return Open() ? SaveLane(lane, first_n, first_id, count) : -1;
    });
}
BENCHMARK(BM_SaveFourProcesses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The raw twin: the same records into a table with the six appointment key columns, each one
// durable transaction.
class RawTable {
public:
    RawTable() {
        sqlite3_open((std::filesystem::path(Dir()) / "raw.db").string().c_str(), &db_);
        sqlite3_busy_timeout(db_, 5000);
        sqlite3_exec(db_,
                     "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"
                     "CREATE TABLE IF NOT EXISTS appt(recno INTEGER PRIMARY KEY, rec BLOB, k10 BLOB, k11 BLOB, k12 BLOB,"
                     " k13 BLOB UNIQUE, k14 BLOB, k15 BLOB);"
                     "CREATE INDEX IF NOT EXISTS a10 ON appt(k10); CREATE INDEX IF NOT EXISTS a11 ON appt(k11);"
                     "CREATE INDEX IF NOT EXISTS a12 ON appt(k12); CREATE INDEX IF NOT EXISTS a14 ON appt(k14);"
                     "CREATE INDEX IF NOT EXISTS a15 ON appt(k15);",
                     nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db_, "INSERT INTO appt(rec, k10, k11, k12, k13, k14, k15) VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &insert_, nullptr);
    }
    ~RawTable() {
        sqlite3_finalize(insert_);
        sqlite3_close(db_);
    }
    RawTable(const RawTable&) = delete;
    RawTable& operator=(const RawTable&) = delete;

    bool Insert(const AppointmentRecord& a) {
        const auto* bytes = reinterpret_cast<const char*>(&a);
        sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        // The record, then its date/time/operatory, date, name, id, patient and provider keys.
        const std::pair<int, int> keys[] = {{0, sizeof a}, {6, 9}, {6, 4}, {22, 32}, {2, 4}, {54, 4}, {15, 5}};
        for (int k = 0; k < 7; ++k) sqlite3_bind_blob(insert_, k + 1, bytes + keys[k].first, keys[k].second, SQLITE_STATIC);
        const bool ok = sqlite3_step(insert_) == SQLITE_DONE;
        sqlite3_reset(insert_);
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        return ok;
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

int InsertRawLane(int lane, uint32_t first_n, uint32_t first_id, int count) {
    RawTable raw;
    int done = 0;
    for (int i = 0; i < count; ++i) done += raw.Insert(Nth(lane, first_n + static_cast<uint32_t>(i), first_id + static_cast<uint32_t>(i)));
    return done;
}

uint32_t raw_id = 1;

void BM_RawInsertOneProcess(benchmark::State& state) {
    if (!ServerConnection().empty()) return state.SkipWithError("the raw twin is SQLite's: run without QVN_BENCH_PG");
    if (!Prepare()) return state.SkipWithError("cannot prepare");
    RawTable raw;
    for (auto _ : state) {
        const uint32_t id = raw_id++;
        if (!raw.Insert(Nth(0, id, id))) return state.SkipWithError("insert failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawInsertOneProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawInsertFourProcesses(benchmark::State& state) {
    static uint32_t next_raw[4] = {};
    if (!ServerConnection().empty()) return state.SkipWithError("the raw twin is SQLite's: run without QVN_BENCH_PG");
    FourProcesses(state, next_raw, InsertRawLane);
}
BENCHMARK(BM_RawInsertFourProcesses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
