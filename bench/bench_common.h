// What the benchmarks share: the synthetic appointment record of the engine benchmarks, the
// large bench practice opened on the access layer, raw SQLite on its qvn.db, and the timing of
// the program's path against its raw twins, which take turns at going first.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "sqlite3.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/storage.h"

namespace bench {

constexpr int32_t kFirstDay = 2460000;

// The n-th synthetic appointment of a file spread over that many days, four to an operatory.
inline void MakeAppointment(uint32_t id, int days, uint8_t* rec) {
    std::memset(rec, 0, 286);
    const int32_t date = kFirstDay + static_cast<int32_t>(id % static_cast<uint32_t>(days));
    std::memcpy(rec + 2, &id, 4);
    std::memcpy(rec + 6, &date, 4);
    rec[10] = 3;
    std::memcpy(rec + 11, (id % 4) ? "OP1 " : "OP2 ", 4);
    rec[15] = 1;
    std::memcpy(rec + 16, "DR1 ", 4);
    const uint32_t patient = id % 50000;
    std::memcpy(rec + 54, &patient, 4);
    rec[153] = static_cast<uint8_t>(7 + id % 10);
}

// The engine's side of the engine benchmarks, on the appointment file open as file (ids 1 to
// records, spread over days): point read by the unique id key, one day's set walk, add with ids
// from *next_id on, and rewrite of the current record.
inline void EnginePointRead(benchmark::State& state, QdbFile file, int records) {
    uint8_t rec[286];
    uint32_t id = 1;
    for (auto _ : state) {
        id = id * 7919 % static_cast<uint32_t>(records) + 1;
        benchmark::DoNotOptimize(QDB_FindRec(file, 13, &id, rec));
    }
}
inline void EngineDayWalk(benchmark::State& state, QdbFile file, int days) {
    uint8_t rec[286];
    int32_t day = kFirstDay;
    for (auto _ : state) {
        day = kFirstDay + (day - kFirstDay + 37) % days;
        int n = 0;
        for (QdbSet set = QDB_StartSet(file, 10, 0, &day, rec, 4); set && QDB_NextRecInSet(set, rec);) ++n;
        benchmark::DoNotOptimize(n);
    }
}
inline void EngineAdd(benchmark::State& state, QdbSession session, QdbFile file, int days, uint32_t* next_id) {
    uint8_t rec[286];
    for (auto _ : state) {
        MakeAppointment(++*next_id, days, rec);
        if (!QDB_AddRec(file, rec)) return state.SkipWithError(QDB_GetLastReason(session));
    }
}
inline void EngineRewrite(benchmark::State& state, QdbSession session, QdbFile file) {
    uint8_t rec[286];
    uint32_t id = 12345;
    QDB_FindRec(file, 13, &id, rec);
    for (auto _ : state) {
        rec[155] = static_cast<uint8_t>(rec[155] + 1);
        if (!QDB_WriteRec(file, rec)) return state.SkipWithError(QDB_GetLastReason(session));
    }
}

// Nothing may be asked while the program's path runs; what it shows is kept for the check.
struct ShownTexts final : Prompter {
    PromptAnswer Show(const PromptRequest& r) override {
        texts.push_back(r.text);
        return r.buttons == kButtonsOk ? kAnswerOk : kAnswerNo;
    }
    std::vector<std::string> texts;
};
inline ShownTexts shown;

// The bench practice: $QVN_BENCH_PRACTICE when set, else $TMPDIR/qvn-week-bench. seed makes it
// when missing (only for the default folder); the rest only read it. A folder whose qvndata.inf
// names a server holds a server practice (`qvnadmin copy` of the SQLite one): onServer, and the
// raw SQLite twins have no qvn.db to read.
struct BenchPractice {
    bool ok = false;
    bool onServer = false;
    std::string dir, reason;
};
inline BenchPractice& OpenBenchPractice(const std::function<bool(const std::string&, std::string*)>& seed = nullptr) {
    static BenchPractice p;
    if (!p.dir.empty()) return p;  // tried once already
    const char* env = std::getenv("QVN_BENCH_PRACTICE");
    const bool given = env && *env;
    p.dir = given ? env : (std::filesystem::temp_directory_path() / "qvn-week-bench").string();
    p.onServer = LocateStorage(p.dir).kind == StorageLocation::kPostgres;
    if (!p.onServer && !std::filesystem::exists(std::filesystem::path(p.dir) / "qvn.db")) {
        if (given || !seed)
            return p.reason = p.dir + " holds no qvn.db; make one with `qvnadmin seed-bench " + p.dir + "`", p;
        if (!seed(p.dir, &p.reason)) return p.reason = "seeding failed: " + p.reason, p;
    }
    if (!OpenPracticeDatabase(p.dir, &p.reason)) return p;
    if (!LoadPracticeTables()) return p.reason = "the practice tables cannot be loaded", p;
    InstallPrompter(&shown);
    p.ok = true;
    return p;
}

// Plain SQLite on a practice's qvn.db, read only: table g<file> holds a file group, column
// k<key> a key's bytes. Every statement is its own read transaction, as the engine's are.
class RawDb {
public:
    explicit RawDb(const std::string& dir) {
        ok_ = sqlite3_open_v2((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db_, SQLITE_OPEN_READONLY,
                              nullptr) == SQLITE_OK;
        week_ = Prepare("SELECT rec FROM g94 WHERE k95 = ?");  // before any timing
    }
    ~RawDb() {
        for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    bool Ok() const { return ok_; }
    std::string Error() const { return db_ ? sqlite3_errmsg(db_) : "cannot open qvn.db"; }
    sqlite3* Db() const { return db_; }

    // A prepared statement owned by this reader; null (and the reader no longer ok) on failure.
    sqlite3_stmt* Prepare(const char* sql) {
        sqlite3_stmt* s = nullptr;
        if (!ok_ || sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) ok_ = false;
        else statements_.push_back(s);
        return s;
    }
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
    // Reads a week record by its identity key: the kind, the resource's id and the week.
    void FetchWeek(uint8_t kind, const char* id, int32_t week) {
        const RscUseKey key{kind, {id[0], id[1], id[2], id[3]}, static_cast<uint32_t>(week)};
        Fetch(week_, &key, sizeof key);
    }
    // Steps through a range statement (rec in column 1), copying each record into a T; resets it.
    template <typename T>
    std::vector<T> Rows(sqlite3_stmt* s) {
        std::vector<T> read;
        while (sqlite3_step(s) == SQLITE_ROW) {
            T r;
            std::memcpy(&r, sqlite3_column_blob(s, 1), sizeof r);
            benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
            read.push_back(r);
        }
        sqlite3_reset(s);
        return read;
    }

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
    sqlite3_stmt* week_ = nullptr;
    uint8_t buffer_[kQdbMaxVarRecord] = {};
    bool ok_ = false;
};

// The milliseconds of each contender summed over the iterations. The contenders of one
// iteration take turns at going first; the first contender is the program's own path and its
// time is the iteration's time.
class Turns {
public:
    // rotate false: always in the given order (a raw twin that reads what the program's path found).
    explicit Turns(std::vector<std::string> names, bool rotate = true)
        : names_(std::move(names)), ms_(names_.size()), rotate_(rotate) {}
    // Runs run(which) for every contender once, in this iteration's order.
    void Round(benchmark::State& state, const std::function<void(size_t)>& run) {
        for (size_t i = 0; i < names_.size(); ++i) {
            const size_t which = rotate_ ? (next_ + i) % names_.size() : i;
            const auto t0 = std::chrono::steady_clock::now();
            run(which);
            const double taken = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            ms_[which] += taken;
            if (which == 0) state.SetIterationTime(taken / 1000.0);
        }
        ++next_;
    }
    size_t Rounds() const { return next_; }
    // Counters name_ms per iteration for each, and first/other for each other contender.
    void Report(benchmark::State& state) const {
        const double n = static_cast<double>(state.iterations());
        for (size_t i = 0; i < names_.size(); ++i) {
            state.counters[names_[i] + "_ms"] = ms_[i] / n;
            if (i > 0) state.counters[names_[0] + "/" + names_[i]] = ms_[i] > 0 ? ms_[0] / ms_[i] : 0;
        }
    }

private:
    std::vector<std::string> names_;
    std::vector<double> ms_;
    bool rotate_;
    size_t next_ = 0;
};

}  // namespace bench
