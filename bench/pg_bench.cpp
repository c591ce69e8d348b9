// Record database engine against raw SQL over ODBC on a PostgreSQL server, on the same
// appointment table: point read by the unique id key, one day's set walk, add, and rewrite of
// the current record. Each engine benchmark has its raw twin; compare them as ratios in one run.
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

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

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

// The kRecords records with their keys and record numbers, and the record number sequence past them.
bool FillStraight() {
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
    const FileGroupDef* g = FindFileGroup(9);
    uint8_t rec[286];
    std::string sql;
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
            ok = SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS));
            sql.clear();
        }
    }
    std::string next = "SELECT setval('g9_recno', " + std::to_string(kRecords) + ")";
    ok = ok && SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(next.data()), SQL_NTS));
    if (!ok) std::fprintf(stderr, "filling the server's appointment table failed\n");
    if (st) SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
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
    if (empty && !FillStraight()) return false;
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


void RawPointRead(benchmark::State& state) {
    RawFixture f(state, "SELECT recno, rec FROM g9 WHERE k13 = ?");
    uint8_t rec[286];
    uint32_t id = 1;
    SQLLEN ind = 0, got = 0;
    f.Blob(1, &id, 4, &ind);
    for (auto _ : state) {
        id = id * 7919 % kRecords + 1;
        SQLExecute(f.st);
        if (SQLFetch(f.st) == SQL_SUCCESS) SQLGetData(f.st, 2, SQL_C_BINARY, rec, sizeof rec, &got);
        SQLFreeStmt(f.st, SQL_CLOSE);
        benchmark::DoNotOptimize(rec);
    }
}


void RawDayWalk(benchmark::State& state) {
    RawFixture f(state, "SELECT recno, rec FROM g9 WHERE k10 >= ? AND k10 < ? ORDER BY k10");
    uint8_t rec[286];
    int32_t day = kFirstDay;
    uint8_t upper[4];
    SQLLEN ind1 = 0, ind2 = 0, got = 0;
    f.Blob(1, &day, 4, &ind1);
    f.Blob(2, upper, 4, &ind2);
    for (auto _ : state) {
        day = kFirstDay + (day - kFirstDay + 37) % kDays;
        std::memcpy(upper, &day, 4);
        ++upper[3];  // the day numbers here have a zero high byte
        SQLExecute(f.st);
        int n = 0;
        while (SQLFetch(f.st) == SQL_SUCCESS) {
            SQLGetData(f.st, 2, SQL_C_BINARY, rec, sizeof rec, &got);
            ++n;
        }
        SQLFreeStmt(f.st, SQL_CLOSE);
        benchmark::DoNotOptimize(n);
    }
}


// The raw twin does what a program must do for the same row: a record number from the
// sequence, then the row with all its keys, each one transaction.
void RawAdd(benchmark::State& state) {
    RawFixture f(state, "INSERT INTO g9(recno, rec, k10, k11, k12, k13, k14, k15) VALUES (nextval('g9_recno'),?,?,?,?,?,?,?)");
    const FileGroupDef* g = FindFileGroup(9);
    uint8_t rec[286];
    static uint32_t id = 5000000 + FreshIds() * 100;
    std::string keys[6];
    SQLLEN ind[7];
    for (auto _ : state) {
        MakeAppointment(++id, rec);
        f.Blob(1, rec, 286, &ind[0]);
        for (int k = 0; k < 6; ++k) {
            keys[k] = KeyValueOf(g->keys[k], rec, id);  // the tail: a stand-in of the same length
            f.Blob(2 + k, keys[k].data(), static_cast<SQLLEN>(keys[k].size()), &ind[1 + k]);
        }
        if (!SQL_SUCCEEDED(SQLExecute(f.st))) {
            state.SkipWithError("raw insert failed");
            break;
        }
    }
}


void RawRewrite(benchmark::State& state) {
    RawFixture f(state, "UPDATE g9 SET rec = ?, k10 = ?, k11 = ?, k12 = ?, k13 = ?, k14 = ?, k15 = ? WHERE recno = ?");
    const FileGroupDef* g = FindFileGroup(9);
    uint8_t rec[286];
    MakeAppointment(12345, rec);
    std::string keys[6];
    SQLLEN ind[8];
    SQLBIGINT recno = 12345;
    for (auto _ : state) {
        rec[155] = static_cast<uint8_t>(rec[155] + 1);
        f.Blob(1, rec, 286, &ind[0]);
        for (int k = 0; k < 6; ++k) {
            keys[k] = KeyValueOf(g->keys[k], rec, recno);
            f.Blob(2 + k, keys[k].data(), static_cast<SQLLEN>(keys[k].size()), &ind[1 + k]);
        }
        f.Int(8, &recno, &ind[7]);
        if (!SQL_SUCCEEDED(SQLExecute(f.st))) {
            state.SkipWithError("raw update failed");
            break;
        }
    }
}

void EnginePointRead(benchmark::State& state) {
    EngineFixture f(state);
    if (f.file) bench::EnginePointRead(state, f.file, kRecords);
}
void EngineDayWalk(benchmark::State& state) {
    EngineFixture f(state);
    if (f.file) bench::EngineDayWalk(state, f.file, kDays);
}
void EngineAdd(benchmark::State& state) {
    static uint32_t id = 3000000 + FreshIds() * 100;
    EngineFixture f(state);
    if (f.file) bench::EngineAdd(state, f.session, f.file, kDays, &id);
}
void EngineRewrite(benchmark::State& state) {
    EngineFixture f(state);
    if (f.file) bench::EngineRewrite(state, f.session, f.file);
}

}  // namespace

BENCHMARK(RawPointRead);
BENCHMARK(EnginePointRead);
BENCHMARK(RawDayWalk);
BENCHMARK(EngineDayWalk);
BENCHMARK(RawAdd)->Iterations(500);
BENCHMARK(EngineAdd)->Iterations(500);
BENCHMARK(RawRewrite)->Iterations(500);
BENCHMARK(EngineRewrite)->Iterations(500);
BENCHMARK_MAIN();
