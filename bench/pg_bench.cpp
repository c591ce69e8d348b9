// Record database engine against raw SQL over ODBC on a PostgreSQL server, on the same
// appointment table: point read by the unique id key, one day's set walk, add, and rewrite of
// the current record. In each benchmark the engine and its raw twin take turns inside every
// iteration; engine/raw is the ratio.
//
// QVN_BENCH_PG names the server database by an ODBC connection string (for example the cluster
// of scripts/pg_cluster.sh plus "Database=postgres;"). Its appointment group is filled once with
// kRecords records straight through SQL in the engine's own format, 500 rows a statement, as
// qdb_bench fills its SQLite file: the engine's bulk writing makes a round trip per record, which
// on a busy machine takes most of an hour (the practice folder $TMPDIR/qvn-pg-bench holds the
// qvndata.inf that names it; delete both to rebuild).
#ifdef _WIN32
#include <windows.h>
#endif
#define SQL_NOUNICODEMAP
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "suite/qdb/file_groups.h"
#include "suite/qdb/qdb.h"

namespace {

using bench::kFirstDay;
constexpr int kRecords = 100000;
constexpr int kDays = 200;  // 500 appointments a day

std::string Connection() {
    const char* c = std::getenv("QVN_BENCH_PG");
    return c ? c : "";
}
std::string BenchDir() { return (std::filesystem::temp_directory_path() / "qvn-pg-bench").string(); }
void MakeAppointment(uint32_t id, uint8_t* rec) { bench::MakeAppointment(id, kDays, rec); }
// A start for the ids a run adds, other than the runs before it on the same table (rand() unseeded
// gave every run the same ids, so a second run met its first one's records).
uint32_t FreshIds() { return static_cast<uint32_t>(std::random_device{}() % 1000000); }

std::string Hex(const void* data, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "'\\x";
    for (size_t i = 0; i < length; ++i) {
        const uint8_t b = static_cast<const uint8_t*>(data)[i];
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out + "'";
}

// Runs work on a plain ODBC connection of its own (autocommit); false when it cannot connect or
// work fails.
bool Straight(const std::function<bool(SQLHSTMT)>& work) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT st = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string c = Connection();
    bool ok = SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(c.data()), SQL_NTS, nullptr, 0,
                                             nullptr, SQL_DRIVER_NOPROMPT)) &&
              SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st));
    ok = ok && work(st);
    if (st) SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return ok;
}

bool ExecStraight(SQLHSTMT st, std::string sql) {
    return SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS));
}

// The kRecords records with their keys and record numbers, and the record number sequence past them.
bool FillStraight(SQLHSTMT st) {
    const FileGroupDef* g = FindFileGroup(9);
    uint8_t rec[286];
    std::string sql;
    bool ok = true;
    for (uint32_t id = 1; ok && id <= kRecords; ++id) {
        MakeAppointment(id, rec);
        sql += (sql.empty() ? "INSERT INTO g9(recno, rec, k10, k11, k12, k13, k14, k15) VALUES (" : ",(") + std::to_string(id) +
               "," + Hex(rec, sizeof rec);
        for (int k = 0; k < 6; ++k) {
            const std::string key = KeyValueOf(g->keys[k], rec, id);
            sql += "," + Hex(key.data(), key.size());
        }
        sql += ")";
        if (id % 500 == 0 || id == kRecords) {
            ok = ExecStraight(st, sql);
            sql.clear();
        }
    }
    ok = ok && ExecStraight(st, "SELECT setval('g9_recno', " + std::to_string(kRecords) + ")");
    if (!ok) std::fprintf(stderr, "filling the server's appointment table failed\n");
    return ok;
}

// False when the server database cannot be had.
bool BuildOnce() {
    static int built = -1;
    if (built >= 0) return built == 1;
    built = 0;
    if (Connection().empty()) return false;
    const std::string dir = BenchDir();
    std::filesystem::create_directories(dir);
    { std::ofstream(std::filesystem::path(dir) / "qvndata.inf") << "[DATABASE]\nBackend=PostgreSQL\nConnection=" << Connection() << "\n"; }
    if (QDB_InitDataBase(dir.c_str()) != 1 && !QDB_CreateDataBase(dir.c_str())) return false;
    if (QDB_InitDataBase(dir.c_str()) != 1) return false;
    QdbSession s = QDB_StartSession(1);
    if (!s || !QDB_CREIFIL(s, 9)) return false;
    QdbFile f = QDB_OpenFile(s, 9);
    uint8_t rec[286];
    const bool empty = !QDB_FirstRec(f, 9, rec);
    QDB_EndSession(s);
    if (empty && !Straight(FillStraight)) return false;
    // Fresh statistics and no dead rows of earlier runs' rewrites: else the server's own
    // analyze and vacuum start in the middle of some run and not of another.
    if (!Straight([](SQLHSTMT st) { return ExecStraight(st, "VACUUM ANALYZE g9"); })) return false;
    built = 1;
    return true;
}

struct EngineFixture {
    QdbSession session = 0;
    QdbFile file = 0;
    explicit EngineFixture(benchmark::State& state) {
        if (!BuildOnce()) {
            state.SkipWithError("no server database: set QVN_BENCH_PG");
            return;
        }
        QDB_InitDataBase(BenchDir().c_str());
        session = QDB_StartSession(1);
        file = QDB_OpenFile(session, 9);
    }
    ~EngineFixture() {
        if (session) QDB_EndSession(session);
    }
};

// The same table through plain ODBC, as a program without the engine would use it: prepared
// statements, bytea parameters, the row fetched with SQLGetData.
struct RawFixture {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT st = SQL_NULL_HSTMT;
    explicit RawFixture(benchmark::State& state, const char* sql) {
        if (!BuildOnce()) {
            state.SkipWithError("no server database: set QVN_BENCH_PG");
            return;
        }
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        std::string c = Connection() + "ByteaAsLongVarBinary=1;UseServerSidePrepare=1;";
        SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(c.data()), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
        SQLPrepare(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
    }
    ~RawFixture() {
        if (st) SQLFreeHandle(SQL_HANDLE_STMT, st);
        if (dbc) {
            SQLDisconnect(dbc);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        }
        if (env) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    void Blob(int i, const void* data, SQLLEN length, SQLLEN* ind) {
        *ind = length;
        SQLBindParameter(st, static_cast<SQLUSMALLINT>(i), SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY,
                         static_cast<SQLULEN>(length), 0, const_cast<void*>(data), length, ind);
    }
    void Int(int i, SQLBIGINT* value, SQLLEN* ind) {
        *ind = 0;
        SQLBindParameter(st, static_cast<SQLUSMALLINT>(i), SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, value, 0, ind);
    }
};


// The contenders of one benchmark take turns inside every iteration (bench::Turns), so that
// what the machine's load does to one it does to the other: run one after the other, minutes
// apart on a busy machine, the ratio of the writes went from 1.2 to 2.1 between two runs. Each
// reports its mean wall time (name_ms) and their ratio, the medians (name_median_us) and theirs
// (engine/raw_median: on a busy machine a few writes wait tens of milliseconds for the CPU, which
// moves a mean by more than the engine costs, and not the median), and the process's CPU time
// per operation (name_cpu_us; the server's own work is not in it).
class Contest {
public:
    explicit Contest(benchmark::State& state) : state_(state), turns_({"engine", "raw"}) {}
    void Round(const std::function<bool()>& engine, const std::function<bool()>& raw) {
        turns_.Round(state_, [&](size_t which) {
            const std::clock_t cpu_before = std::clock();
            const auto before = std::chrono::steady_clock::now();
            if (!(which == 0 ? engine() : raw())) failed_ = which == 0 ? "engine" : "raw";
            us_[which].push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - before).count());
            cpu_[which] += static_cast<double>(std::clock() - cpu_before) / CLOCKS_PER_SEC;
        });
    }
    // False (and the benchmark skipped) after a failed operation.
    bool Ok() {
        if (failed_.empty()) return true;
        state_.SkipWithError((failed_ + " operation failed").c_str());
        return false;
    }
    ~Contest() {
        if (!failed_.empty() || state_.iterations() == 0) return;
        turns_.Report(state_);
        const double n = static_cast<double>(state_.iterations());
        const double medians[2] = {Median(us_[0]), Median(us_[1])};
        state_.counters["engine_median_us"] = medians[0];
        state_.counters["raw_median_us"] = medians[1];
        state_.counters["engine/raw_median"] = medians[1] > 0 ? medians[0] / medians[1] : 0;
        state_.counters["engine_cpu_us"] = 1e6 * cpu_[0] / n;
        state_.counters["raw_cpu_us"] = 1e6 * cpu_[1] / n;
    }

private:
    static double Median(std::vector<double> v) {
        if (v.empty()) return 0;
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    }
    benchmark::State& state_;
    bench::Turns turns_;
    std::vector<double> us_[2];
    double cpu_[2] = {};
    std::string failed_;
};

void BM_PointRead(benchmark::State& state) {
    EngineFixture e(state);
    RawFixture r(state, "SELECT recno, rec FROM g9 WHERE k13 = ?");
    if (!e.file || !r.st) return;
    uint8_t rec[286];
    uint32_t id = 1;
    SQLLEN ind = 0, got = 0;
    r.Blob(1, &id, 4, &ind);
    Contest contest(state);
    for (auto _ : state) {
        id = id * 7919 % kRecords + 1;
        contest.Round([&] { return QDB_FindRec(e.file, 13, &id, rec) == 1; },
                      [&] {
                          const bool ok = SQL_SUCCEEDED(SQLExecute(r.st)) && SQLFetch(r.st) == SQL_SUCCESS &&
                                          SQL_SUCCEEDED(SQLGetData(r.st, 2, SQL_C_BINARY, rec, sizeof rec, &got));
                          SQLFreeStmt(r.st, SQL_CLOSE);
                          return ok;
                      });
        if (!contest.Ok()) return;
    }
}

void BM_DayWalk(benchmark::State& state) {
    EngineFixture e(state);
    RawFixture r(state, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10");
    if (!e.file || !r.st) return;
    uint8_t rec[286];
    int32_t day = kFirstDay;
    uint8_t upper[4];
    SQLLEN ind1 = 0, ind2 = 0, got = 0;
    r.Blob(1, &day, 4, &ind1);
    r.Blob(2, upper, 4, &ind2);
    int walked[2] = {};
    Contest contest(state);
    for (auto _ : state) {
        day = kFirstDay + (day - kFirstDay + 37) % kDays;
        std::memcpy(upper, &day, 4);
        ++upper[3];  // the day numbers here have a zero high byte
        contest.Round(
            [&] {
                const QdbSet set = QDB_StartSet(e.file, 10, 0, &day, rec, 4);
                int n = set ? 1 : 0;
                while (set && QDB_NextRecInSet(set, rec)) ++n;
                if (set) QDB_EndSet(set);
                walked[0] = n;
                return n > 0;
            },
            [&] {
                int n = 0;
                const bool ok = SQL_SUCCEEDED(SQLExecute(r.st));
                while (ok && SQLFetch(r.st) == SQL_SUCCESS) n += SQL_SUCCEEDED(SQLGetData(r.st, 2, SQL_C_BINARY, rec, sizeof rec, &got));
                SQLFreeStmt(r.st, SQL_CLOSE);
                walked[1] = n;
                return ok && n > 0;
            });
        if (!contest.Ok()) return;
        if (walked[0] != walked[1]) return state.SkipWithError("the engine's walk and the raw one read different days");
    }
}

// The raw add does what a program must do for the same row: a record number from the sequence,
// then the row with all its keys, each one transaction.
void BM_Add(benchmark::State& state) {
    EngineFixture e(state);
    RawFixture r(state, "INSERT INTO g9(recno, rec, k10, k11, k12, k13, k14, k15) VALUES (nextval('g9_recno'),?,?,?,?,?,?,?)");
    if (!e.file || !r.st) return;
    const FileGroupDef* g = FindFileGroup(9);
    static uint32_t engine_id = 3000000 + FreshIds() * 100, raw_id = 5000000 + FreshIds() * 100;
    uint8_t rec[286];
    std::string keys[6];
    SQLLEN ind[7];
    Contest contest(state);
    for (auto _ : state) {
        contest.Round(
            [&] {
                MakeAppointment(++engine_id, rec);
                return QDB_AddRec(e.file, rec) == 1;
            },
            [&] {
                MakeAppointment(++raw_id, rec);
                r.Blob(1, rec, 286, &ind[0]);
                for (int k = 0; k < 6; ++k) {
                    keys[k] = KeyValueOf(g->keys[k], rec, raw_id);  // the tail: a stand-in of the same length
                    r.Blob(2 + k, keys[k].data(), static_cast<SQLLEN>(keys[k].size()), &ind[1 + k]);
                }
                return SQL_SUCCEEDED(SQLExecute(r.st));
            });
        if (!contest.Ok()) return;
    }
}

// Each rewrites records of its own range, every record once: one record rewritten over and over
// piles up dead row versions and index entries on the server until its vacuum comes, which made
// the time of a rewrite depend on when that happened. The engine's record is made current before
// its turn, as the program has read it before it writes it.
void BM_Rewrite(benchmark::State& state) {
    EngineFixture e(state);
    RawFixture r(state, "UPDATE g9 SET rec = ?, k10 = ?, k11 = ?, k12 = ?, k13 = ?, k14 = ?, k15 = ? WHERE recno = ?");
    if (!e.file || !r.st) return;
    const FileGroupDef* g = FindFileGroup(9);
    uint8_t engine_rec[286], raw_rec[286];
    static uint32_t engine_id = 10000, raw_id = 60000;  // the next run of the process goes on from there
    SQLBIGINT recno = 0;
    std::string keys[6];
    SQLLEN ind[8];
    Contest contest(state);
    for (auto _ : state) {
        if (++engine_id > kRecords / 2) engine_id = 1;
        if (++raw_id > kRecords) raw_id = kRecords / 2 + 1;
        if (!QDB_FindRec(e.file, 13, &engine_id, engine_rec)) return state.SkipWithError("an engine record is missing");
        MakeAppointment(raw_id, raw_rec);  // as stored: record numbers are the ids here
        recno = raw_id;
        contest.Round(
            [&] {
                engine_rec[155] = static_cast<uint8_t>(engine_rec[155] + 1);
                return QDB_WriteRec(e.file, engine_rec) == 1;
            },
            [&] {
                raw_rec[155] = static_cast<uint8_t>(raw_rec[155] + 1);
                r.Blob(1, raw_rec, 286, &ind[0]);
                for (int k = 0; k < 6; ++k) {
                    keys[k] = KeyValueOf(g->keys[k], raw_rec, recno);
                    r.Blob(2 + k, keys[k].data(), static_cast<SQLLEN>(keys[k].size()), &ind[1 + k]);
                }
                r.Int(8, &recno, &ind[7]);
                return SQL_SUCCEEDED(SQLExecute(r.st));
            });
        if (!contest.Ok()) return;
    }
}

}  // namespace

BENCHMARK(BM_PointRead)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DayWalk)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Add)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK(BM_Rewrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK_MAIN();
