// The engine's storage in one SQLite file "qvn.db" in the data directory, with record locks as
// byte-range locks on "qvn.lck" beside it. Journal mode DELETE and synchronous=FULL: safe on a
// shared folder, and every write transaction is whole or absent after a crash.
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "sqlite3.h"
#include "suite/qdb/file_groups.h"
#include "suite/qdb/lock_file.h"
#include "suite/qdb/storage.h"

namespace {

const char kDatabaseFile[] = "qvn.db";
const char kLockFileName[] = "qvn.lck";

std::string DatabasePath(const std::string& dir) { return (std::filesystem::path(dir) / kDatabaseFile).string(); }

class SqliteStatement : public StorageStatement {
public:
    explicit SqliteStatement(sqlite3_stmt* s) : s_(s) {}
    ~SqliteStatement() override { sqlite3_finalize(s_); }
    void BindBlob(int i, const std::string& b) override {
        sqlite3_bind_blob(s_, i, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
    void BindInt(int i, int64_t v) override { sqlite3_bind_int64(s_, i, v); }
    StepResult Step() override {
        if (!sqlite3_stmt_busy(s_)) CountStorageStatement();
        switch (sqlite3_step(s_)) {
            case SQLITE_ROW: return StepResult::Row;
            case SQLITE_DONE: return StepResult::Done;
            case SQLITE_CONSTRAINT: return StepResult::Constraint;
            default: return StepResult::Error;
        }
    }
    int64_t ColumnInt(int c) override { return sqlite3_column_int64(s_, c); }
    void ColumnBlob(int c, std::string* bytes) override {
        const void* data = sqlite3_column_blob(s_, c);
        bytes->assign(data ? static_cast<const char*>(data) : "", static_cast<size_t>(sqlite3_column_bytes(s_, c)));
    }
    void Reset() override {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }

private:
    sqlite3_stmt* s_;
};

// Another connection is writing: each write holds the database for a few milliseconds only, so
// wait in steps of one millisecond (SQLite's own timeout backs off to 100 ms steps, which turns
// a busy front desk into a queue) and give up after about five seconds.
int WaitForWriter(void*, int tries) {
    if (tries >= 5000) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

// The connection's page cache. SQLite's default of 2 MB holds a fraction of the index and record
// pages that a list of 3,000 appointments and their patients touches, so each refill read them
// from the file again; the cache is kept between transactions as long as no other workstation
// has written.
constexpr int64_t kPageCacheKiB = 32 * 1024;

class SqliteStorage : public Storage {
public:
    ~SqliteStorage() override {
        statements_.clear();
        sqlite3_finalize(findTable_);
        if (db_) sqlite3_close(db_);
    }

    bool Open(const std::string& directory, std::string* reason) {
        std::string path = DatabasePath(directory);
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            *reason = "cannot open " + path + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
            return false;
        }
        sqlite3_busy_handler(db_, WaitForWriter, nullptr);
        if (!Exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; PRAGMA cache_size=-" +
                  std::to_string(kPageCacheKiB) + ";") || FindTable("qvn_meta") != TableState::Present) {
            *reason = path + " is not a practice database";
            return false;
        }
        std::string lock_path = (std::filesystem::path(directory) / kLockFileName).string();
        if (!locks_.Open(lock_path)) {
            *reason = "cannot open the lock file " + lock_path;
            return false;
        }
        return true;
    }

    StorageStatement* Prepare(const std::string& sql) override {
        auto it = statements_.find(sql);
        if (it != statements_.end()) return it->second.get();
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) return nullptr;
        auto& slot = statements_[sql];
        slot = std::make_unique<SqliteStatement>(s);
        return slot.get();
    }
    bool Exec(const std::string& sql) override {
        CountStorageStatement();
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    std::string Error() override { return sqlite3_errmsg(db_); }

    bool BeginWrite() override { return Exec("BEGIN IMMEDIATE"); }
    bool BeginSnapshot() override { return Exec("BEGIN DEFERRED"); }
    bool Commit() override { return Exec("COMMIT"); }
    void Rollback() override {
        if (InTransaction()) Exec("ROLLBACK");
    }
    bool InTransaction() override { return !sqlite3_get_autocommit(db_); }

    bool NextRecno(const FileGroupDef& g, int64_t* recno) override {
        std::string table = "g" + std::to_string(g.firstNumber);
        StorageStatement* st = Prepare("SELECT max(coalesce((SELECT max(recno) FROM " + table +
                                       "), 0), coalesce((SELECT seq FROM sqlite_sequence WHERE name = '" + table + "'), 0))");
        if (!st) return false;
        bool ok = st->Step() == StepResult::Row;
        if (ok) *recno = st->ColumnInt(0) + 1;
        st->Reset();
        return ok;
    }
    bool BulkKeepsWritersOut() const override { return true; }
    void TuneForBulk(bool on) override {
        constexpr int64_t kBulkCacheKiB = 256 * 1024;  // the indexes of a large file stay in memory
        if (on) {
            StorageStatement* st = Prepare("PRAGMA cache_size");
            cacheSizeBefore_ = st && st->Step() == StepResult::Row ? st->ColumnInt(0) : -2000;
            if (st) st->Reset();
            Exec("PRAGMA cache_size = -" + std::to_string(kBulkCacheKiB));
        } else {
            Exec("PRAGMA cache_size = " + std::to_string(cacheSizeBefore_));
        }
    }

    // Asked at every opening of a file group, which many reads do: the question is prepared once
    // (compiling it each time cost more than the read it guarded).
    TableState FindTable(const std::string& name) override {
        if (!findTable_ &&
            sqlite3_prepare_v2(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?", -1, &findTable_,
                               nullptr) != SQLITE_OK)
            return TableState::Error;
        sqlite3_bind_text(findTable_, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        int rc = sqlite3_step(findTable_);
        sqlite3_reset(findTable_);
        sqlite3_clear_bindings(findTable_);
        return rc == SQLITE_ROW ? TableState::Present : rc == SQLITE_DONE ? TableState::Missing : TableState::Error;
    }

    bool CreateGroup(const FileGroupDef& g) override {
        std::string table = "g" + std::to_string(g.firstNumber);
        std::string sql = "CREATE TABLE IF NOT EXISTS " + table + "(recno INTEGER PRIMARY KEY AUTOINCREMENT, rec BLOB NOT NULL";
        for (const KeyDef& k : g.keys) sql += ", k" + std::to_string(k.number) + " BLOB";
        sql += ");";
        for (const KeyDef& k : g.keys)
            sql += std::string("CREATE ") + (k.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS i" + std::to_string(k.number) +
                   " ON " + table + "(k" + std::to_string(k.number) + ");";
        return Exec(sql);
    }

    bool TryLock(uint64_t offset) override { return locks_.TryLock(offset); }
    bool TryLockShared(uint64_t offset) override { return locks_.TryLockShared(offset); }
    void Unlock(uint64_t offset) override { locks_.Unlock(offset); }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* findTable_ = nullptr;
    std::map<std::string, std::unique_ptr<SqliteStatement>> statements_;
    LockFile locks_;
    int64_t cacheSizeBefore_ = -2000;
};

}  // namespace

std::unique_ptr<Storage> OpenSqliteStorage(const std::string& directory, std::string* reason) {
    auto s = std::make_unique<SqliteStorage>();
    if (!s->Open(directory, reason)) return nullptr;
    return s;
}

bool CreateSqliteStorage(const std::string& directory, std::string* reason) {
    std::string path = DatabasePath(directory);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; CREATE TABLE IF NOT EXISTS qvn_meta(name TEXT PRIMARY KEY, value TEXT);"
                              "INSERT OR IGNORE INTO qvn_meta VALUES('format', 'QVNDB 1');", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) *reason = std::string("cannot create ") + path + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

bool SqliteStorageExists(const std::string& directory) {
    std::error_code ec;
    return std::filesystem::is_regular_file(DatabasePath(directory), ec);
}
