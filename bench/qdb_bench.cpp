// Record database engine against raw SQLite on the same appointment table: point read by the
// unique id key, one day's set walk, add, and rewrite of the current record. Each engine
// benchmark has its raw twin; compare them as ratios within one run.
//
// The file of 1,000,000 appointment records is built once in $TMPDIR/qvn-bench (delete it to
// rebuild) straight through SQLite in the engine's own format, as loading it record by record
// with a synchronous commit each would take hours.
#include <cstring>
#include <filesystem>
#include <string>

#include "bench_common.h"
#include "sqlite3.h"
#include "suite/qdb/file_groups.h"
#include "suite/qdb/qdb.h"

namespace {

using bench::kFirstDay;
constexpr int kRecords = 1000000;
constexpr int kDays = 2000;  // 500 appointments a day

std::string BenchDir() { return (std::filesystem::temp_directory_path() / "qvn-bench").string(); }
void MakeAppointment(uint32_t id, uint8_t* rec) { bench::MakeAppointment(id, kDays, rec); }

constexpr char kInsert[] = "INSERT INTO g9(recno, rec, k10, k11, k12, k13, k14, k15) VALUES (?,?,?,?,?,?,?,?)";

// Binds the record at parameter first and its six keys, in the engine's own bytes, after it.
void BindRecordAndKeys(sqlite3_stmt* st, int first, const uint8_t* rec, int64_t recno) {
    static const FileGroupDef* g = FindFileGroup(9);
    sqlite3_bind_blob(st, first, rec, 286, SQLITE_STATIC);
    for (int k = 0; k < 6; ++k) {
        const std::string key = KeyValueOf(g->keys[k], rec, recno);
        sqlite3_bind_blob(st, first + 1 + k, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    }
}

void BuildFileOnce() {
    std::string dir = BenchDir();
    std::filesystem::path file = std::filesystem::path(dir) / "qvn.db";
    if (std::filesystem::exists(file)) {
        // Drop what earlier add runs left, so every run adds the same fresh ids.
        sqlite3* db = nullptr;
        sqlite3_open(file.string().c_str(), &db);
        sqlite3_exec(db, ("DELETE FROM g9 WHERE recno > " + std::to_string(kRecords)).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return;
    }
    std::filesystem::create_directories(dir);
    QDB_CreateDataBase(dir.c_str());
    QDB_InitDataBase(dir.c_str());
    QdbSession s = QDB_StartSession(1);
    QDB_CREIFIL(s, 9);
    QDB_EndSession(s);

    sqlite3* db = nullptr;
    sqlite3_open((std::filesystem::path(dir) / "qvn.db").string().c_str(), &db);
    sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr);
    uint8_t rec[286];
    for (int64_t recno = 1; recno <= kRecords; ++recno) {
        MakeAppointment(static_cast<uint32_t>(recno), rec);
        sqlite3_bind_int64(insert, 1, recno);
        BindRecordAndKeys(insert, 2, rec, recno);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// An id above every record in the file, so that repeated runs keep adding new records.
uint32_t FreshId(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT max(recno) FROM g9", -1, &st, nullptr);
    uint32_t id = sqlite3_step(st) == SQLITE_ROW ? static_cast<uint32_t>(sqlite3_column_int64(st, 0)) : 0;
    sqlite3_finalize(st);
    return id + 1000;
}

// The engine, one session and the appointment group open.
struct EngineFixture {
    QdbSession session;
    QdbFile file;
    EngineFixture() {
        BuildFileOnce();
        QDB_InitDataBase(BenchDir().c_str());
        session = QDB_StartSession(1);
        file = QDB_OpenFile(session, 9);
    }
    ~EngineFixture() { QDB_EndSession(session); }
};

// The same database through plain SQLite, as a program without the engine would use it.
struct RawFixture {
    sqlite3* db = nullptr;
    RawFixture() {
        BuildFileOnce();
        sqlite3_open((std::filesystem::path(BenchDir()) / "qvn.db").string().c_str(), &db);
        sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    }
    ~RawFixture() { sqlite3_close(db); }
};


void RawPointRead(benchmark::State& state) {
    RawFixture f;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(f.db, "SELECT recno, rec FROM g9 WHERE k13 = ?", -1, &st, nullptr);
    uint8_t rec[286];
    uint32_t id = 1;
    for (auto _ : state) {
        id = id * 7919 % kRecords + 1;
        sqlite3_bind_blob(st, 1, &id, 4, SQLITE_STATIC);
        if (sqlite3_step(st) == SQLITE_ROW) std::memcpy(rec, sqlite3_column_blob(st, 1), 286);
        sqlite3_reset(st);
        benchmark::DoNotOptimize(rec);
    }
    sqlite3_finalize(st);
}


void RawDayWalk(benchmark::State& state) {
    RawFixture f;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(f.db, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10", -1, &st, nullptr);
    uint8_t rec[286];
    int32_t day = kFirstDay;
    for (auto _ : state) {
        day = kFirstDay + (day - kFirstDay + 37) % kDays;
        // The keys that start with the day's four bytes: from those bytes up to the same bytes
        // with the last one raised (the day numbers here have a zero high byte).
        uint8_t upper[4];
        std::memcpy(upper, &day, 4);
        ++upper[3];
        sqlite3_bind_blob(st, 1, &day, 4, SQLITE_STATIC);
        sqlite3_bind_blob(st, 2, upper, 4, SQLITE_STATIC);
        int n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::memcpy(rec, sqlite3_column_blob(st, 1), 286);
            ++n;
        }
        sqlite3_reset(st);
        benchmark::DoNotOptimize(n);
    }
    sqlite3_finalize(st);
}


void RawAdd(benchmark::State& state) {
    RawFixture f;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(f.db, kInsert, -1, &st, nullptr);
    uint8_t rec[286];
    uint32_t id = FreshId(f.db);
    for (auto _ : state) {
        MakeAppointment(++id, rec);
        sqlite3_bind_int64(st, 1, id);
        BindRecordAndKeys(st, 2, rec, id);
        if (sqlite3_step(st) != SQLITE_DONE) {
            state.SkipWithError(sqlite3_errmsg(f.db));
            break;
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}


void RawRewrite(benchmark::State& state) {
    RawFixture f;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(f.db, "UPDATE g9 SET rec = ?, k10 = ?, k11 = ?, k12 = ?, k13 = ?, k14 = ?, k15 = ? WHERE recno = ?",
                       -1, &st, nullptr);
    uint8_t rec[286];
    MakeAppointment(12345, rec);
    for (auto _ : state) {
        rec[155] = static_cast<uint8_t>(rec[155] + 1);
        BindRecordAndKeys(st, 1, rec, 12345);
        sqlite3_bind_int64(st, 8, 12345);
        if (sqlite3_step(st) != SQLITE_DONE) {
            state.SkipWithError(sqlite3_errmsg(f.db));
            break;
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

void EnginePointRead(benchmark::State& state) {
    EngineFixture f;
    bench::EnginePointRead(state, f.file, kRecords);
}
void EngineDayWalk(benchmark::State& state) {
    EngineFixture f;
    bench::EngineDayWalk(state, f.file, kDays);
}
void EngineAdd(benchmark::State& state) {
    static uint32_t id = 3000000;
    EngineFixture f;
    bench::EngineAdd(state, f.session, f.file, kDays, &id);
}
void EngineRewrite(benchmark::State& state) {
    EngineFixture f;
    bench::EngineRewrite(state, f.session, f.file);
}

}  // namespace

BENCHMARK(RawPointRead);
BENCHMARK(EnginePointRead);
BENCHMARK(RawDayWalk);
BENCHMARK(EngineDayWalk);
BENCHMARK(RawAdd)->Iterations(200);
BENCHMARK(EngineAdd)->Iterations(200);
BENCHMARK(RawRewrite)->Iterations(200);
BENCHMARK(EngineRewrite)->Iterations(200);
BENCHMARK_MAIN();
