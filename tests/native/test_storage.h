// The practice databases of the tests, on either storage: a fresh data directory per test, on
// PostgreSQL with a fresh database of the test run's throwaway cluster (scripts/pg_cluster.sh,
// started by ctest's fixture; its state file is QVN_PG_STATE) named in its qvndata.inf, and a
// raw connection of its own beside the engine.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif
#define SQL_NOUNICODEMAP
#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "sqlite3.h"

enum class Backend { kSqlite, kPostgres };

inline std::string BackendName(Backend b) { return b == Backend::kSqlite ? "SQLite" : "PostgreSQL"; }

#ifdef QVN_PG_STATE
constexpr const char kPgTestCluster[] = QVN_PG_STATE;
#else
constexpr const char kPgTestCluster[] = "";
#endif

// The connection string of the test run's cluster, or of the one whose state file is given (no
// database named), or "" and the reason.
inline std::string PgClusterConnection(std::string* reason, const std::string& state_file = kPgTestCluster) {
    if (state_file.empty()) {
        *reason = "this build has no PostgreSQL cluster for the tests";
        return "";
    }
    std::ifstream state(state_file);
    std::string dir, connection;
    if (!state || !std::getline(state, dir) || !std::getline(state, connection)) {
        *reason = "no PostgreSQL cluster for the tests: " + state_file +
                  " is missing (ctest starts one; by hand: scripts/pg_cluster.sh start " + state_file + ")";
        return "";
    }
    if (dir.empty()) *reason = "the PostgreSQL cluster for the tests did not start: " + connection;
    return dir.empty() ? "" : connection;
}

// Runs statements through ODBC on a connection of their own; the first column of the first row
// of the last one as a number (0 when it has none), or -1 with the reason.
inline int64_t OdbcQuery(const std::string& connection, const std::string& sql, std::string* reason) {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT st = SQL_NULL_HSTMT;
    int64_t result = -1;
    auto diag = [&](SQLSMALLINT type, SQLHANDLE h) {
        SQLCHAR state[6] = {}, text[512] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLGetDiagRec(type, h, 1, state, &native, text, sizeof text, &length);
        *reason = std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(text);
    };
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string full = connection + "Protocol=7.4-2;ByteaAsLongVarBinary=1;";
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(full.data()), SQL_NTS, nullptr, 0,
                                        nullptr, SQL_DRIVER_NOPROMPT))) {
        diag(SQL_HANDLE_DBC, dbc);
    } else {
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
        SQLRETURN rc = SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
            diag(SQL_HANDLE_STMT, st);
        } else {
            result = 0;
            SQLSMALLINT columns = 0;
            SQLNumResultCols(st, &columns);
            SQLBIGINT value = 0;
            SQLLEN ind = 0;
            if (columns > 0 && SQLFetch(st) == SQL_SUCCESS &&
                SQL_SUCCEEDED(SQLGetData(st, 1, SQL_C_SBIGINT, &value, 0, &ind)) && ind != SQL_NULL_DATA)
                result = value;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return result;
}

// A fresh data directory, removed at the end. On PostgreSQL also a fresh database of the test
// cluster, named in the directory's qvndata.inf and dropped at the end.
class TempDatabase {
public:
    // On PostgreSQL, cluster names the state file of another cluster than the test run's.
    explicit TempDatabase(Backend backend = Backend::kSqlite, const std::string& cluster = kPgTestCluster)
        : backend_(backend) {
        std::random_device random;
        const std::string tag = std::to_string(random()) + std::to_string(random());
        dir_ = std::filesystem::temp_directory_path() / ("qvn-db-" + tag);
        std::filesystem::create_directories(dir_);
        if (backend != Backend::kPostgres) return;
        server_ = PgClusterConnection(&failure_, cluster);
        if (server_.empty()) return;
        name_ = "qvn_" + tag;
        if (OdbcQuery(server_ + "Database=postgres;", "CREATE DATABASE " + name_, &failure_) < 0) {
            failure_ = "cannot create a test database: " + failure_;
            name_.clear();
            return;
        }
        std::ofstream inf(dir_ / "qvndata.inf");
        inf << "[DATABASE]\nBackend=PostgreSQL\nConnection=" << Connection() << "\n";
    }
    ~TempDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        std::string ignored;
        if (!name_.empty()) OdbcQuery(server_ + "Database=postgres;", "DROP DATABASE " + name_ + " WITH (FORCE)", &ignored);
    }
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;
    // Empty when the database is there; else why not (the PostgreSQL cluster did not start).
    const std::string& Failure() const { return failure_; }
    Backend Kind() const { return backend_; }
    std::string Dir() const { return dir_.string(); }
    std::filesystem::path Path() const { return dir_; }
    std::string File() const { return (dir_ / "qvn.db").string(); }
    // The ODBC connection of the PostgreSQL database.
    std::string Connection() const { return server_ + "Database=" + name_ + ";"; }

    // A statement run on a raw connection of its own, outside the engine; the first column of
    // the first row (count queries), or -1 on failure.
    int64_t Sql(const std::string& sql) const {
        std::string reason;
        if (backend_ == Backend::kPostgres) return OdbcQuery(Connection(), sql, &reason);
        sqlite3* raw = nullptr;
        int64_t result = -1;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_open_v2(File().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(raw, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
            int rc = sqlite3_step(st);
            if (rc == SQLITE_ROW) result = sqlite3_column_int64(st, 0);
            else if (rc == SQLITE_DONE) result = 0;
        }
        sqlite3_finalize(st);
        sqlite3_close(raw);
        return result;
    }

private:
    Backend backend_;
    std::filesystem::path dir_;
    std::string server_, name_, failure_;
};

// The backends the engine's suites run on: PostgreSQL where the build has a test cluster.
inline auto TestedBackends() {
#ifdef QVN_PG_STATE
    return testing::Values(Backend::kSqlite, Backend::kPostgres);
#else
    return testing::Values(Backend::kSqlite);
#endif
}

inline std::string BackendParamName(const testing::TestParamInfo<Backend>& info) { return BackendName(info.param); }

#ifdef QVN_PG_CLUSTER_SCRIPT
// A server of the test's own, stopped and started again under the program's sessions (the test
// run's cluster serves the other tests meanwhile).
class OwnServer {
public:
    OwnServer() : state_((std::filesystem::temp_directory_path() / ("qvn-pg-own-" + std::to_string(std::random_device{}()))).string()) {
        Run("start");
    }
    ~OwnServer() { Run("stop"); }
    bool Run(const char* action) const {
        return std::system(("'" QVN_PG_CLUSTER_SCRIPT "' " + std::string(action) + " '" + state_ + "' >/dev/null").c_str()) == 0;
    }
    const std::string& State() const { return state_; }

private:
    std::string state_;
};
#endif
