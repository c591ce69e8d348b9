// The database under the record engine. The engine (qdb.cpp) keeps sessions, file groups, sets,
// record locks and transactions in its own terms and speaks to one Storage per session: a
// connection that prepares the engine's statements, runs its transactions and holds its record
// locks. Two implementations: an SQLite file in the practice's data directory (one computer, or
// a few on a file system that keeps its locks honestly), and a PostgreSQL server reached over
// ODBC (workstations on several computers). Both keep the same tables: one per file group, the
// record as a blob in record-number order and one indexed blob column per key; both compare
// blobs as bytes, which is the key order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FileGroupDef;

enum class StepResult { Row, Done, Constraint, Error };

// A prepared statement with ? parameters, counted from 1; columns are counted from 0. Step runs
// it (the first call) and moves to the next row. Reset ends a run and forgets the parameters.
class StorageStatement {
public:
    virtual ~StorageStatement() = default;
    virtual void BindBlob(int index, const std::string& bytes) = 0;
    virtual void BindInt(int index, int64_t value) = 0;
    virtual StepResult Step() = 0;
    virtual int64_t ColumnInt(int column) = 0;
    virtual void ColumnBlob(int column, std::string* bytes) = 0;
    virtual void Reset() = 0;
};

enum class TableState { Present, Missing, Error };

class Storage {
public:
    virtual ~Storage() = default;

    // A statement prepared once per connection and kept (nullptr on failure, Error() says why).
    virtual StorageStatement* Prepare(const std::string& sql) = 0;
    // Runs statements without results.
    virtual bool Exec(const std::string& sql) = 0;
    // The reason for the last failure, as the database gave it.
    virtual std::string Error() = 0;
    // The connection to a server broke: every statement from now on fails.
    virtual bool ConnectionLost() { return false; }
    // Whether the database still answers (a server asked with a statement of no effect, outside
    // a transaction only; a file always does). A connection kept idle may have lost its server
    // meanwhile, to a restart or a network fault, without having noticed.
    virtual bool Alive() { return !ConnectionLost(); }

    // Transactions. A write transaction keeps other writers out for its length as far as the
    // database does (SQLite: the database's write lock; PostgreSQL: the rows it writes). A
    // snapshot reads the database as it was at its first read. A failed statement undoes only
    // itself (SQLite, and the writes of a bulk on PostgreSQL) or dooms the whole transaction
    // (PostgreSQL otherwise); InTransaction() turns false when the database dropped the whole
    // transaction, Commit() then fails, and Rollback() ends what is left of it.
    virtual bool BeginWrite() = 0;
    virtual bool BeginSnapshot() = 0;
    virtual bool Commit() = 0;
    virtual void Rollback() = 0;
    virtual bool InTransaction() = 0;

    // The record number a new row of the group gets: past every row there is and past every
    // number handed out before (also when deleted since). Asked inside the write.
    virtual bool NextRecno(const FileGroupDef& group, int64_t* recno) = 0;
    // count record numbers at once, ascending. The default counts on from one NextRecno, which
    // holds while the write transaction keeps every other writer out (SQLite).
    virtual bool NextRecnos(const FileGroupDef& group, int count, std::vector<int64_t>* recnos) {
        int64_t first = 0;
        if (!NextRecno(group, &first)) return false;
        recnos->clear();
        for (int i = 0; i < count; ++i) recnos->push_back(first + i);
        return true;
    }
    // The numbers of a bulk write may be counted by the engine itself when the database keeps
    // every other writer out while it runs (SQLite); otherwise each is asked for.
    virtual bool BulkKeepsWritersOut() const = 0;
    // Larger caches for a bulk write, and back.
    virtual void TuneForBulk(bool on) = 0;
    // Rows a set's start reads at once, the first handed out and the rest kept for the walk: 1 on
    // a file, where a statement costs little and a walk that stops at once should read no more;
    // more on a server, where every statement is a round trip.
    virtual int SetStartRows() const { return 1; }

    // A server spends a round trip on every statement, so a write that stands alone is made one
    // statement there, in autocommit (the statement is whole or absent by itself):
    // - NumberedInsert: an INSERT of a new row of the group that takes its record number itself
    //   and returns it as its one row. Parameters: the record, then each key's value, a key that
    //   is not unique without its record-number tail (the statement adds it). "" when the
    //   database numbers rows only inside a write transaction (SQLite).
    // - StatementLock: a condition for a statement's WHERE that holds only while no other
    //   connection holds the record lock offset (taken for the statement alone), with its two
    //   parameters; "" when there is none.
    virtual std::string NumberedInsert(const FileGroupDef&) { return ""; }
    virtual std::string StatementLock(uint64_t, int64_t*, int64_t*) { return ""; }

    virtual TableState FindTable(const std::string& name) = 0;
    // The group's table and its key indexes, when missing.
    virtual bool CreateGroup(const FileGroupDef& group) = 0;

    // Record locks of this connection, by the engine's lock offset (the group's data file number
    // in the bits from 40 up, the record's lock identity below). Other connections, of this
    // process or another, conflict; the end of the connection releases them all.
    virtual bool TryLock(uint64_t offset) = 0;
    virtual bool TryLockShared(uint64_t offset) = 0;
    virtual void Unlock(uint64_t offset) = 0;
};

// Statements sent to the database by every connection of the process so far: each run of a
// prepared statement, each Exec, each commit or rollback on a server. What the benchmarks count
// per load (a round trip each on a server).
uint64_t StorageStatementsRun();
void CountStorageStatement();

// Where a practice's database is: the data directory, and what its "qvndata.inf" says in
// [DATABASE]: Backend (SQLite, the default, or PostgreSQL) and Connection (an ODBC connection
// string without a password).
struct StorageLocation {
    enum Kind { kSqlite, kPostgres, kUnknown } kind = kSqlite;
    std::string directory;
    std::string connection;
    std::string backendName;  // as written in the file, for messages
};

StorageLocation LocateStorage(const std::string& data_directory);
// Whether the database exists (SQLite: the file; PostgreSQL: the server answers and the database
// holds the engine's meta table); reason says why not.
bool StorageExists(const StorageLocation& where, std::string* reason);
// An empty database of ours (the meta table): true on success.
bool CreateStorage(const StorageLocation& where, std::string* reason);
// A connection, or nullptr with the reason.
std::unique_ptr<Storage> OpenStorage(const StorageLocation& where, std::string* reason);

std::unique_ptr<Storage> OpenSqliteStorage(const std::string& directory, std::string* reason);
bool CreateSqliteStorage(const std::string& directory, std::string* reason);
std::unique_ptr<Storage> OpenPostgresStorage(const std::string& connection, std::string* reason);
bool CreatePostgresStorage(const std::string& connection, std::string* reason);
