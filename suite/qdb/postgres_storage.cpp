// The engine's storage on a PostgreSQL server, reached over ODBC through the PostgreSQL ODBC
// driver: natively through unixODBC, on Windows through odbc32, and under Wine through Wine's
// odbc32, which hands the calls to the host's unixODBC. Wine's odbc32 has only the unsuffixed
// ANSI entry points, so only those are called (SQL_NOUNICODEMAP keeps UNICODE from mapping
// them to the W forms).
//
// Tables as on SQLite, with bytea for the record and the keys (bytea compares as bytes, which is
// the key order) and a sequence per table for record numbers. Record locks are session-level
// advisory locks on two int4, the group's data file number and the record's lock identity: they
// belong to the connection, so a workstation that dies or loses its connection leaves none
// behind.
#ifdef _WIN32
#include <windows.h>
#endif
#define SQL_NOUNICODEMAP
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "suite/qdb/file_groups.h"
#include "suite/qdb/storage.h"

namespace {

// One ODBC environment for the process.
SQLHENV Environment() {
    static SQLHENV env = [] {
        SQLHENV e = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &e))) return SQLHENV(SQL_NULL_HENV);
        SQLSetEnvAttr(e, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return e;
    }();
    return env;
}

// The first diagnostic record of a handle: its SQLSTATE and text.
std::string Diagnostic(SQLSMALLINT type, SQLHANDLE handle, std::string* state = nullptr) {
    SQLCHAR sqlstate[6] = {};
    SQLCHAR text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, 1, sqlstate, &native, text, sizeof text, &length))) {
        if (state) state->clear();
        return "the ODBC driver gave no reason";
    }
    if (state) *state = reinterpret_cast<char*>(sqlstate);
    return std::string(reinterpret_cast<char*>(sqlstate)) + " " + reinterpret_cast<char*>(text);
}

class PostgresStorage;

class OdbcStatement : public StorageStatement {
public:
    OdbcStatement(PostgresStorage& owner, SQLHSTMT h, bool writes) : owner_(owner), h_(h), writes_(writes) {}
    ~OdbcStatement() override { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    void BindBlob(int i, const std::string& b) override {
        Param& p = At(i);
        p.blob = true;
        p.bytes = b;
    }
    void BindInt(int i, int64_t v) override {
        Param& p = At(i);
        p.blob = false;
        p.value = v;
    }
    StepResult Step() override;
    int64_t ColumnInt(int c) override {
        SQLBIGINT v = 0;
        SQLLEN ind = 0;
        SQLGetData(h_, static_cast<SQLUSMALLINT>(c + 1), SQL_C_SBIGINT, &v, 0, &ind);
        return ind == SQL_NULL_DATA ? 0 : static_cast<int64_t>(v);
    }
    void ColumnBlob(int c, std::string* bytes) override {
        bytes->clear();
        char buffer[16384];
        for (;;) {
            SQLLEN ind = 0;
            SQLRETURN rc = SQLGetData(h_, static_cast<SQLUSMALLINT>(c + 1), SQL_C_BINARY, buffer, sizeof buffer, &ind);
            if (rc == SQL_NO_DATA || !SQL_SUCCEEDED(rc) || ind == SQL_NULL_DATA) return;
            size_t got = ind == SQL_NO_TOTAL || ind > static_cast<SQLLEN>(sizeof buffer) ? sizeof buffer : static_cast<size_t>(ind);
            bytes->append(buffer, got);
            if (rc == SQL_SUCCESS) return;
        }
    }
    void Reset() override {
        SQLFreeStmt(h_, SQL_CLOSE);
        SQLFreeStmt(h_, SQL_RESET_PARAMS);
        params_.clear();
        running_ = false;
    }

private:
    struct Param {
        bool blob = false;
        std::string bytes;
        SQLBIGINT value = 0;
        SQLLEN ind = 0;
    };
    Param& At(int i) {
        if (params_.size() < static_cast<size_t>(i)) params_.resize(static_cast<size_t>(i));
        return params_[static_cast<size_t>(i - 1)];
    }
    PostgresStorage& owner_;
    SQLHSTMT h_;
    bool writes_;  // an INSERT, UPDATE or DELETE
    std::vector<Param> params_;
    bool running_ = false;  // executed, rows being fetched
};

class PostgresStorage : public Storage {
public:
    ~PostgresStorage() override {
        statements_.clear();
        if (dbc_ != SQL_NULL_HDBC) {
            if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);  // else the disconnect is refused
            SQLDisconnect(dbc_);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        }
    }

    bool Connect(const std::string& connection, std::string* reason) {
        SQLHENV env = Environment();
        if (env == SQL_NULL_HENV || !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc_))) {
            *reason = "the ODBC driver manager could not be loaded";
            return false;
        }
        SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(5)), 0);
        std::string full = WithDriverOptions(connection);
        SQLCHAR out[1024];
        SQLSMALLINT out_length = 0;
        SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(full.c_str())), SQL_NTS,
                                        out, sizeof out, &out_length, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) {
            *reason = "cannot connect to the practice database server (" + Diagnostic(SQL_HANDLE_DBC, dbc_) + ")";
            SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
            dbc_ = SQL_NULL_HDBC;
            return false;
        }
        return true;
    }

    StorageStatement* Prepare(const std::string& sql) override {
        auto it = statements_.find(sql);
        if (it != statements_.end()) return it->second.get();
        SQLHSTMT h = SQL_NULL_HSTMT;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &h))) {
            error_ = Diagnostic(SQL_HANDLE_DBC, dbc_);
            return nullptr;
        }
        if (!SQL_SUCCEEDED(SQLPrepare(h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
            NoteError(h, nullptr);
            SQLFreeHandle(SQL_HANDLE_STMT, h);
            return nullptr;
        }
        auto& slot = statements_[sql];
        const std::string verb = sql.substr(0, 6);
        slot = std::make_unique<OdbcStatement>(*this, h, verb == "INSERT" || verb == "UPDATE" || verb == "DELETE");
        return slot.get();
    }

    bool Exec(const std::string& sql) override {
        SQLHSTMT h = SQL_NULL_HSTMT;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &h))) {
            error_ = Diagnostic(SQL_HANDLE_DBC, dbc_);
            return false;
        }
        CountStorageStatement();
        SQLRETURN rc = SQLExecDirect(h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
        bool ok = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA;
        if (!ok) NoteError(h, nullptr);
        SQLFreeHandle(SQL_HANDLE_STMT, h);
        return ok;
    }
    std::string Error() override { return error_; }
    bool ConnectionLost() override { return lost_; }
    bool Alive() override {
        if (lost_ || inTransaction_) return !lost_;
        // Outside a transaction nothing but the connection can make this statement fail.
        if (!Exec("SELECT 1")) lost_ = true;
        return !lost_;
    }
    // Class 08 is a broken connection; 57P01 to 57P03 a server shut down or not yet up.
    void NoteError(SQLHANDLE h, std::string* state, SQLSMALLINT type = SQL_HANDLE_STMT) {
        std::string sqlstate;
        error_ = Diagnostic(type, h, &sqlstate);
        if (sqlstate.rfind("08", 0) == 0 || sqlstate.rfind("57P0", 0) == 0) lost_ = true;
        if (inTransaction_) dropped_ = true;
        if (state) *state = sqlstate;
    }

    // Bulk writing keeps going past a refused record (a unique key taken): each of its writes
    // gets a savepoint of its own, the one place where a failed statement must undo only itself.
    // Elsewhere a failure dooms the open transaction, which costs no extra round trips.
    bool GuardsEachWrite() const { return bulk_ && inTransaction_ && !dropped_; }
    bool BeginGuard() {
        const char* sql = guardOpen_ ? "RELEASE SAVEPOINT qvn_write; SAVEPOINT qvn_write" : "SAVEPOINT qvn_write";
        guardOpen_ = Exec(sql);
        return guardOpen_;
    }
    // After the guarded write: a failure is taken back, and the transaction goes on.
    void EndGuard(bool failed) {
        if (!failed || !guardOpen_) return;
        const std::string reason = error_;
        guardOpen_ = false;
        dropped_ = false;
        if (!Exec("ROLLBACK TO SAVEPOINT qvn_write")) return;  // then the transaction is dropped
        error_ = reason;
    }

    // A transaction is autocommit switched off: the driver begins it with the next statement.
    // A failed statement dooms the whole transaction (the driver adds no savepoint of its own,
    // see WithDriverOptions): the server refuses every later statement of it, and it ends in a
    // rollback however it is ended.
    bool BeginWrite() override {
        Rollback();  // what is left of a transaction the server dropped
        return SetAutocommit(false);
    }
    bool BeginSnapshot() override {
        Rollback();
        if (!SetAutocommit(false)) return false;
        if (Exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY")) return true;
        Rollback();
        return false;
    }
    bool Commit() override {
        if (!inTransaction_) return true;
        if (dropped_) {
            // The server answers the commit of a failed transaction with a rollback.
            const std::string reason = "a statement of the transaction failed (" + error_ + ")";
            Rollback();
            error_ = reason;
            return false;
        }
        CountStorageStatement();
        bool ok = SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT));
        if (!ok) {
            NoteError(dbc_, nullptr, SQL_HANDLE_DBC);
            SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
        }
        SetAutocommit(true);
        return ok;
    }
    void Rollback() override {
        if (!inTransaction_) return;
        CountStorageStatement();
        SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
        SetAutocommit(true);
    }
    bool InTransaction() override { return inTransaction_ && !dropped_; }

    bool NextRecno(const FileGroupDef& g, int64_t* recno) override {
        StorageStatement* st = Prepare("SELECT nextval('g" + std::to_string(g.firstNumber) + "_recno')");
        if (!st) return false;
        bool ok = st->Step() == StepResult::Row;
        if (ok) *recno = st->ColumnInt(0);
        st->Reset();
        return ok;
    }
    // One statement for all: the sequence hands them out in the order of the series.
    bool NextRecnos(const FileGroupDef& g, int count, std::vector<int64_t>* recnos) override {
        StorageStatement* st =
            Prepare("SELECT nextval('g" + std::to_string(g.firstNumber) + "_recno') FROM generate_series(1, CAST(? AS integer))");
        if (!st) return false;
        recnos->clear();
        st->BindInt(1, count);
        StepResult rc;
        while ((rc = st->Step()) == StepResult::Row) recnos->push_back(st->ColumnInt(0));
        st->Reset();
        std::sort(recnos->begin(), recnos->end());
        return rc == StepResult::Done && static_cast<int>(recnos->size()) == count;
    }
    bool BulkKeepsWritersOut() const override { return false; }
    std::string NumberedInsert(const FileGroupDef& g) override {
        const std::string table = "g" + std::to_string(g.firstNumber);
        std::string columns = "recno, rec", values = "n.r, ?";
        for (const KeyDef& k : g.keys) {
            columns += ", k" + std::to_string(k.number);
            values += k.unique ? ", ?" : ", ? || int8send(n.r)";  // the tail: eight bytes, high first
        }
        return "INSERT INTO " + table + "(" + columns + ") SELECT " + values + " FROM (SELECT nextval('" + table +
               "_recno') AS r) n RETURNING recno";
    }
    std::string StatementLock(uint64_t offset, int64_t* group, int64_t* identity) override {
        AdvisoryKey(offset, group, identity);
        // A lock of the statement's own transaction: it conflicts with the record locks other
        // connections hold, never with this connection's own.
        return "pg_try_advisory_xact_lock(CAST(? AS integer), CAST(? AS integer))";
    }
    // An operatory's day, a week's records of a provider and a busy day of the practice
    // (some 500 appointments) come in the start's one statement.
    int SetStartRows() const override { return 512; }
    void TuneForBulk(bool on) override {
        bulk_ = on;
        guardOpen_ = false;
    }

    TableState FindTable(const std::string& name) override {
        StorageStatement* st = Prepare(
            "SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema() AND tablename = '" + name + "'");
        if (!st) return TableState::Error;
        TableState state = TableState::Error;
        if (st->Step() == StepResult::Row) state = st->ColumnInt(0) > 0 ? TableState::Present : TableState::Missing;
        st->Reset();
        return state;
    }

    bool CreateGroup(const FileGroupDef& g) override {
        std::string table = "g" + std::to_string(g.firstNumber);
        std::string sql = "CREATE TABLE IF NOT EXISTS " + table + "(recno BIGINT PRIMARY KEY, rec BYTEA NOT NULL";
        for (const KeyDef& k : g.keys) sql += ", k" + std::to_string(k.number) + " BYTEA";
        sql += ")";
        if (!Exec(sql) || !Exec("CREATE SEQUENCE IF NOT EXISTS " + table + "_recno")) return false;
        for (const KeyDef& k : g.keys)
            if (!Exec(std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS i" + std::to_string(k.number) +
                      " ON " + table + "(k" + std::to_string(k.number) + ")"))
                return false;
        return true;
    }

    bool TryLock(uint64_t offset) override { return AdvisoryCall("pg_try_advisory_lock", offset); }
    bool TryLockShared(uint64_t offset) override {
        if (!AdvisoryCall("pg_try_advisory_lock_shared", offset)) return false;
        shared_.insert(offset);
        return true;
    }
    void Unlock(uint64_t offset) override {
        if (shared_.erase(offset)) AdvisoryCall("pg_advisory_unlock_shared", offset);
        else AdvisoryCall("pg_advisory_unlock", offset);
    }

private:
    // The options the engine relies on, added unless the practice's connection sets them: the
    // driver does nothing on an error (its default wraps every statement of a transaction in a
    // savepoint, two more round trips each; the engine dooms a transaction with a failed
    // statement itself, and guards the writes of a bulk), bytea is bound as binary, and
    // statements are prepared on the server once per connection.
    static std::string WithDriverOptions(const std::string& connection) {
        std::string lower = connection;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        std::string full = connection;
        if (!full.empty() && full.back() != ';') full += ';';
        if (lower.find("protocol=") == std::string::npos) full += "Protocol=7.4-0;";
        if (lower.find("byteaaslongvarbinary=") == std::string::npos) full += "ByteaAsLongVarBinary=1;";
        if (lower.find("useserversideprepare=") == std::string::npos) full += "UseServerSidePrepare=1;";
        return full;
    }

    bool SetAutocommit(bool on) {
        SQLRETURN rc = SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)), 0);
        if (!SQL_SUCCEEDED(rc)) {
            error_ = Diagnostic(SQL_HANDLE_DBC, dbc_);
            return false;
        }
        inTransaction_ = !on;
        dropped_ = false;
        guardOpen_ = false;
        return true;
    }

    // Lock offsets: the data file number above bit 40, the lock identity below. The identity is
    // folded into 32 bits below 0xFFFFFFFF, which stands for the group's open lock alone.
    static void AdvisoryKey(uint64_t offset, int64_t* group, int64_t* identity) {
        constexpr uint64_t kIdentityMask = (uint64_t{1} << 40) - 1;
        const uint64_t bits = offset & kIdentityMask;
        const uint32_t low = bits == kIdentityMask ? 0xFFFFFFFFu : static_cast<uint32_t>(bits % 0xFFFFFFFFu);
        *group = static_cast<int64_t>(offset >> 40);
        *identity = static_cast<int64_t>(static_cast<int32_t>(low));
    }
    bool AdvisoryCall(const char* function, uint64_t offset) {
        int64_t group = 0, identity = 0;
        AdvisoryKey(offset, &group, &identity);
        StorageStatement* st = Prepare(std::string("SELECT CASE WHEN ") + function +
                                       "(CAST(? AS integer), CAST(? AS integer)) THEN 1 ELSE 0 END");
        if (!st) return false;
        st->BindInt(1, group);
        st->BindInt(2, identity);
        bool ok = st->Step() == StepResult::Row && st->ColumnInt(0) == 1;
        st->Reset();
        return ok;
    }

    SQLHDBC dbc_ = SQL_NULL_HDBC;
    std::map<std::string, std::unique_ptr<OdbcStatement>> statements_;
    std::set<uint64_t> shared_;  // locks held shared, which unlock by their own call
    bool inTransaction_ = false;
    bool dropped_ = false;    // a statement failed inside the open transaction
    bool bulk_ = false;
    bool guardOpen_ = false;  // a bulk write's savepoint is set
    bool lost_ = false;
    std::string error_;
};

StepResult OdbcStatement::Step() {
    if (!running_) {
        for (size_t i = 0; i < params_.size(); ++i) {
            Param& p = params_[i];
            SQLRETURN rc;
            const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(i + 1);
            if (p.blob) {
                static char empty = 0;
                p.ind = static_cast<SQLLEN>(p.bytes.size());
                rc = SQLBindParameter(h_, number, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY,
                                      std::max<SQLULEN>(1, p.bytes.size()), 0,
                                      p.bytes.empty() ? &empty : const_cast<char*>(p.bytes.data()), p.ind, &p.ind);
            } else {
                p.ind = 0;
                rc = SQLBindParameter(h_, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &p.value, 0, &p.ind);
            }
            if (!SQL_SUCCEEDED(rc)) {
                owner_.NoteError(h_, nullptr);
                return StepResult::Error;
            }
        }
        const bool guarded = writes_ && owner_.GuardsEachWrite();
        if (guarded && !owner_.BeginGuard()) return StepResult::Error;
        CountStorageStatement();
        SQLRETURN rc = SQLExecute(h_);
        const bool failed = rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc);
        std::string state;
        if (failed) owner_.NoteError(h_, &state);
        if (guarded) owner_.EndGuard(failed);
        if (rc == SQL_NO_DATA) return StepResult::Done;  // an update or delete that met no row
        if (failed) return state == "23505" ? StepResult::Constraint : StepResult::Error;
        SQLSMALLINT columns = 0;
        SQLNumResultCols(h_, &columns);
        if (columns == 0) return StepResult::Done;
        running_ = true;
    }
    SQLRETURN rc = SQLFetch(h_);
    if (rc == SQL_NO_DATA) return StepResult::Done;
    if (!SQL_SUCCEEDED(rc)) {
        owner_.NoteError(h_, nullptr);
        return StepResult::Error;
    }
    return StepResult::Row;
}

}  // namespace

std::unique_ptr<Storage> OpenPostgresStorage(const std::string& connection, std::string* reason) {
    auto s = std::make_unique<PostgresStorage>();
    if (!s->Connect(connection, reason)) return nullptr;
    TableState meta = s->FindTable("qvn_meta");
    if (meta != TableState::Present) {
        *reason = meta == TableState::Missing ? "the server's database is not a practice database (qvnadmin create makes one)"
                                              : "cannot read the server's database: " + s->Error();
        return nullptr;
    }
    return s;
}

bool CreatePostgresStorage(const std::string& connection, std::string* reason) {
    PostgresStorage s;
    if (!s.Connect(connection, reason)) return false;
    if (s.Exec("CREATE TABLE IF NOT EXISTS qvn_meta(name TEXT PRIMARY KEY, value TEXT)") &&
        s.Exec("INSERT INTO qvn_meta VALUES('format', 'QVNDB 1') ON CONFLICT DO NOTHING"))
        return true;
    *reason = "cannot create the practice database: " + s.Error();
    return false;
}
