// The QDB_ calls: sessions, file groups, navigation, sets, writes and record locks, over the
// storage of the practice (SQLite or PostgreSQL, storage.h).
#include "suite/qdb/qdb.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "suite/qdb/file_groups.h"
#include "suite/qdb/storage.h"

namespace {


// How a session holds a file group open: the number of its open handles on the group and the
// group lock they share (1 shared, 2 exclusive).
struct GroupHold {
    int opens = 0;
    int mode = 0;
};

struct Session {
    std::unique_ptr<Storage> store;  // the session's connection; its end releases every lock
    int lockMode = 0;
    bool lockingPaused = false;
    int accessMode = 1;                // mode of later QDB_OpenFile calls
    std::map<int, GroupHold> groups;   // by data file number
    std::set<uint64_t> held;  // lock offsets this session holds
    // A change of several records (QDB_BeginTransaction): the session's writes join one open
    // transaction; a failed write dooms it, so that only an abort can end it. Locks that a write
    // took for itself are kept to the end of the transaction, or another session could read the
    // record as it was before this change and write over it after the commit.
    bool transaction = false;
    bool transactionFailed = false;
    std::set<uint64_t> transactionLocks;
    uint64_t writes = 0;      // records added, rewritten or deleted by this session
    std::string directory;    // of the practice whose database the connection is open on
    // Bulk writing: the session's writes join one open transaction, committed every
    // bulkEvery records; record numbers of new rows are counted here, by data file.
    bool bulk = false;
    bool bulkLost = false;    // SQLite dropped the open transaction after a failure
    int bulkEvery = 0;
    int bulkPending = 0;      // records written since the last commit
    std::map<int, int64_t> bulkNextRecno;
    // Read snapshot: begun by the outermost QDB_BeginReadSnapshot, ended by the matching end or
    // by the session's next write, whichever comes first.
    int snapshotDepth = 0;
    bool snapshotOpen = false;
    uint16_t lastResult = 0, lastError = 0, lastFile = 0;
    std::string reason;
};

struct Row {
    int64_t recno = 0;
    std::string record;
    std::string key;
};

struct OpenFile {
    QdbSession session = 0;
    const FileGroupDef* group = nullptr;
    int64_t current = 0;  // record number of the current record, 0 for none
    // A position in one key's order set by QDB_UPDCURI, without a current record; any record
    // made current ends it.
    int positionKeyNumber = 0;
    std::string positionKey;
    // On a server, next and previous read ahead as a set does (a walk over a whole file, as a
    // dump or a copy's comparison makes, would be a round trip a record): the rows after the
    // current record in one order, good while that record is current and nothing was written.
    std::deque<Row> ahead;
    int aheadOrder = -1;       // key number, or 0 for physical order
    bool aheadForward = true;
    uint64_t aheadWrites = 0;
    int64_t aheadAfter = 0;    // the record the rows follow
    int aheadBatch = 0;
    // The lock of the current record, known from its bytes when it was read or written (else
    // its key is read again to find it).
    int64_t lockKnownFor = 0;
    uint64_t lockOfCurrent = 0;
};

// A walk over the records of one key prefix. Walking a day's appointments one query per record
// would pay for a read transaction each time; so the set reads ahead a batch of rows in one
// query and hands them out one by one. Rows read ahead are as current as a read at the time of
// the batch: a write of the own session drops them (the session's write count changes), and
// reads under record locks never use them, as a locked read must see the stored record.
struct SetState {
    QdbFile file = 0;
    const KeyDef* key = nullptr;
    std::string prefix;
    std::string position;  // key value of the set's current record
    std::deque<Row> ahead;
    bool aheadForward = true;
    uint64_t aheadWrites = 0;  // the session's write count when the rows were read
    int batch = 0;             // rows of the next read-ahead: grows while the walk goes on
    bool aheadReachedEnd = false;  // the last read-ahead found the end of the set
};

struct UpdateState {
    QdbFile file = 0;
    int64_t recno = 0;
    void* buffer = nullptr;
    bool lockedHere = false;
    uint64_t lockOffset = 0;
};

struct Engine {
    std::string directory;
    StorageLocation location;  // where the directory's database is
    std::string reason;  // for failures that have no session yet
    std::vector<std::unique_ptr<Session>> sessions;  // handle = index + 1
    // Sessions ended cleanly, kept for the next start on the same directory: a save or a locked
    // edit starts a session of its own each time, and opening a connection (reading the schema,
    // preparing the statements again) costs more than the work itself, under Wine most of all.
    std::vector<std::unique_ptr<Session>> idle;
    int64_t idleProcess = 0;  // a child process after fork must never use its parent's sessions
    std::map<QdbFile, OpenFile> files;
    std::map<QdbSet, SetState> sets;
    std::map<QdbUpdate, UpdateState> updates;
    uint32_t nextHandle = 1;
};
Engine engine;

// A statement from the session's cache, reset for the next use on every way out. Navigation
// runs the same few queries over and over; preparing them once keeps reads close to raw SQL.
struct CachedStatement {
    StorageStatement* s = nullptr;
    CachedStatement(Session& session, const std::string& sql) : s(session.store->Prepare(sql)) {}
    ~CachedStatement() {
        if (s) s->Reset();
    }
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;
    explicit operator bool() const { return s != nullptr; }
    void Blob(int i, const std::string& b) { s->BindBlob(i, b); }
    void Int(int i, int64_t v) { s->BindInt(i, v); }
    StepResult Step() { return s->Step(); }
};

Session* SessionOf(QdbSession handle) {
    if (handle == 0 || handle > engine.sessions.size()) return nullptr;
    return engine.sessions[handle - 1].get();
}

uint16_t Fail(Session* s, uint16_t result, int file_number, const std::string& reason) {
    // A refusal because the server is gone says so: the session is of no more use.
    if (s && result == kQdbStorageError && s->store && s->store->ConnectionLost()) result = kQdbConnectionLost;
    if (s) {
        s->lastResult = s->lastError = result;
        s->lastFile = static_cast<uint16_t>(file_number);
        s->reason = reason;
    } else {
        engine.reason = reason;
    }
    return result;
}

int Done(Session* s, int file_number) {
    s->lastResult = s->lastError = 0;
    s->lastFile = static_cast<uint16_t>(file_number);
    s->reason.clear();
    return 1;
}

std::string Table(const FileGroupDef& g) { return "g" + std::to_string(g.firstNumber); }
std::string Column(const KeyDef& k) { return "k" + std::to_string(k.number); }

// Lock offsets: the data file number in the high bits, the record below. The highest value
// below a group's number stands for the group itself: the open lock that keeps exclusive and
// shared opens apart.
constexpr int64_t kGroupLockRecno = (int64_t{1} << 40) - 1;
uint64_t LockOffset(const FileGroupDef& g, int64_t recno) {
    return (static_cast<uint64_t>(g.firstNumber) << 40) | static_cast<uint64_t>(recno);
}

// A record's lock stands for its identity, the value of its group's first unique key: so a
// record that does not exist yet (a week's first booking) can be locked by the key it will have,
// and a locked read of a record and a lock taken on its key are one and the same lock. Groups
// without a unique key lock by record number. Key values are hashed (FNV-1a) into the 40 bits
// below the group's number; two values that meet there merely wait for each other.
const KeyDef* IdentityKey(const FileGroupDef& g) {
    for (const KeyDef& k : g.keys)
        if (k.unique) return &k;
    return nullptr;
}

uint64_t IdentityLockOffset(const FileGroupDef& g, const std::string& key_value) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char byte : key_value) h = (h ^ byte) * 1099511628211ull;
    return LockOffset(g, static_cast<int64_t>(h % static_cast<uint64_t>(kGroupLockRecno)));
}

// The lock of a record whose bytes are at hand.
uint64_t RecordLockOffset(const FileGroupDef& g, int64_t recno, const std::string& record) {
    const KeyDef* k = IdentityKey(g);
    if (!k) return LockOffset(g, recno);
    return IdentityLockOffset(g, KeyValueOf(*k, reinterpret_cast<const uint8_t*>(record.data()), recno));
}

// Fault injection for tests: the Nth lock, write or commit from now on fails as if the disk
// had refused it. One compare of a zero counter when unused.
int64_t fault_countdown = 0;
bool InjectedFault() {
    if (fault_countdown == 0) return false;
    return --fault_countdown == 0;
}

bool LocksOnRead(const Session& s) { return !s.lockingPaused && (s.lockMode == 2 || s.lockMode == 5 || s.lockMode == 6); }

// The bytes a fetched record must have: the record length of a fixed group, at least the head of
// a variable one. Anything else is a damaged or foreign file, reported rather than copied.
bool RecordFits(const FileGroupDef& g, size_t size) {
    if (g.recordLength == 0) return false;
    if (g.mode & 4) return size >= static_cast<size_t>(g.recordLength) && size <= static_cast<size_t>(kQdbMaxVarRecord);
    return size == static_cast<size_t>(g.recordLength);
}

// The smallest text above every text that starts with prefix; empty when there is none.
std::string UpperBound(std::string prefix) {
    while (!prefix.empty() && static_cast<uint8_t>(prefix.back()) == 0xFF) prefix.pop_back();
    if (!prefix.empty()) prefix.back() = static_cast<char>(static_cast<uint8_t>(prefix.back()) + 1);
    return prefix;
}

struct FileContext {
    OpenFile* file = nullptr;
    Session* session = nullptr;
};

FileContext Resolve(QdbFile handle) {
    auto it = engine.files.find(handle);
    if (it == engine.files.end()) return {};
    return {&it->second, SessionOf(it->second.session)};
}

// Runs a query returning recno, rec and the ordering column: Row with the row filled, Done
// when there is none, or the failure.
StepResult FetchRow(CachedStatement& st, Row* row) {
    StepResult rc = st.Step();
    if (rc != StepResult::Row) return rc;
    row->recno = st.s->ColumnInt(0);
    st.s->ColumnBlob(1, &row->record);
    st.s->ColumnBlob(2, &row->key);
    return StepResult::Row;
}

// Takes a lock the session does not hold yet: 0 when held afterwards, 42 when another session
// holds it, 72 when the server is gone, 60 for an injected fault.
uint16_t TakeLock(Session& s, uint64_t offset) {
    if (s.held.count(offset)) return kQdbOk;
    if (InjectedFault()) return kQdbStorageError;
    // A server that went away refuses every lock: that is no other user's lock, and waiting
    // for it would never end.
    if (!s.store->TryLock(offset)) return s.store->ConnectionLost() ? kQdbConnectionLost : kQdbLocked;
    s.held.insert(offset);
    return kQdbOk;
}

void DropLock(Session& s, uint64_t offset) {
    if (s.held.erase(offset)) s.store->Unlock(offset);
}

int FailLock(Session* s, uint16_t result, int file_number) {
    return Fail(s, result, file_number,
                result == kQdbLocked           ? "the record is locked by another user"
                : result == kQdbConnectionLost ? "the practice database cannot be reached: " + s->store->Error()
                                               : "the lock could not be taken (injected fault)"),
           0;
}

// A fetched record whose size the file's layout does not allow: a damaged or foreign file.
int FailWrongLength(FileContext& c, const Row& row) {
    const FileGroupDef& g = *c.file->group;
    return Fail(c.session, kQdbWrongLength, g.firstNumber,
                "record " + std::to_string(row.recno) + " of file " + std::to_string(g.firstNumber) + " has " +
                    std::to_string(row.record.size()) + " bytes where " + std::to_string(g.recordLength) + " belong"),
           0;
}

// Makes a fetched row the current record: locks it under lock mode 2, copies it out.
int Deliver(FileContext& c, const Row& row, void* record) {
    const FileGroupDef& g = *c.file->group;
    if (!RecordFits(g, row.record.size())) return FailWrongLength(c, row);
    const uint64_t lock = RecordLockOffset(g, row.recno, row.record);
    if (LocksOnRead(*c.session))
        if (uint16_t locked = TakeLock(*c.session, lock)) return FailLock(c.session, locked, g.firstNumber);
    if (record) std::memcpy(record, row.record.data(), static_cast<size_t>(g.recordLength));
    c.file->current = row.recno;
    c.file->positionKeyNumber = 0;
    c.file->lockKnownFor = row.recno;
    c.file->lockOfCurrent = lock;
    return Done(c.session, g.firstNumber);
}

// Runs one query over the key's column (or physical order when key is null) and appends up to
// limit rows; Done when all went well (rows may be none), else the failure.
StepResult FetchRows(FileContext& c, const KeyDef* key, const std::string& where, const std::string& order,
              const std::vector<std::string>& blobs, int limit, std::deque<Row>* rows) {
    const FileGroupDef& g = *c.file->group;
    std::string column = key ? Column(*key) : "recno";
    std::string sql = "SELECT recno, rec, " + column + " FROM " + Table(g) +
                      (where.empty() ? "" : " WHERE " + where) + " ORDER BY " + column + " " + order +
                      " LIMIT " + std::to_string(limit);  // a constant limit lets the database plan for it
    CachedStatement st(*c.session, sql);
    if (!st) return StepResult::Error;
    for (size_t i = 0; i < blobs.size(); ++i) {
        if (key) st.Blob(static_cast<int>(i + 1), blobs[i]);
        else st.Int(static_cast<int>(i + 1), std::stoll(blobs[i]));
    }
    for (;;) {
        Row row;
        StepResult rc = FetchRow(st, &row);
        if (rc != StepResult::Row) return rc;
        rows->push_back(std::move(row));
    }
}

// One positioning query: the first row it finds becomes the current record.
int Position(FileContext& c, const KeyDef* key, const std::string& where, const std::string& order,
             const std::vector<std::string>& blobs, void* record, Row* found = nullptr) {
    const FileGroupDef& g = *c.file->group;
    std::deque<Row> rows;
    StepResult rc = FetchRows(c, key, where, order, blobs, 1, &rows);
    if (rc != StepResult::Done) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
    if (rows.empty()) return Fail(c.session, kQdbNotFound, g.firstNumber, "no such record"), 0;
    if (found) *found = rows.front();
    return Deliver(c, rows.front(), record);
}

// The key (or physical order) that key_or_file names, with its validity.
bool KeyOf(FileContext& c, int key_or_file, const KeyDef** key) {
    const FileGroupDef& g = *c.file->group;
    if (key_or_file == g.firstNumber) {
        *key = nullptr;
        return true;
    }
    *key = FindKey(g, key_or_file);
    if (!*key) Fail(c.session, kQdbBadKey, key_or_file, "not a key of this file");
    return *key != nullptr;
}

std::string CurrentKeyValue(FileContext& c, const KeyDef* key) {
    if (!key) return std::to_string(c.file->current);
    CachedStatement st(*c.session, "SELECT " + Column(*key) + " FROM " + Table(*c.file->group) + " WHERE recno = ?");
    std::string value;
    if (!st) return value;
    st.Int(1, c.file->current);
    if (st.Step() != StepResult::Row) return value;
    st.s->ColumnBlob(0, &value);
    return value;
}

// The lock of the current record.
uint64_t CurrentLockOffset(FileContext& c) {
    if (c.file->current != 0 && c.file->lockKnownFor == c.file->current) return c.file->lockOfCurrent;
    const FileGroupDef& g = *c.file->group;
    const KeyDef* k = IdentityKey(g);
    return k ? IdentityLockOffset(g, CurrentKeyValue(c, k)) : LockOffset(g, c.file->current);
}

// A day's appointments of one operatory fit in the first read-ahead, so a set walk of a day
// costs two statements on a file (the start and one read-ahead that also finds the end) and one
// on a server (whose start reads ahead). Read-aheads grow while the walk goes on.
constexpr int kFirstReadAhead = 64;
constexpr int kMostReadAhead = 512;
constexpr int kMostServerReadAhead = 8192;

int Step(QdbFile handle, int key_or_file, void* record, bool forward, bool from_current) {
    FileContext c = Resolve(handle);
    if (!c.file) return 0;
    const KeyDef* key;
    if (!KeyOf(c, key_or_file, &key)) return 0;
    if (!from_current)
        return Position(c, key, "", forward ? "ASC" : "DESC", {}, record);
    if (key && c.file->positionKeyNumber == key->number)
        return Position(c, key, Column(*key) + (forward ? " >= ?" : " < ?"), forward ? "ASC" : "DESC",
                        {c.file->positionKey}, record);
    if (c.file->current == 0)
        return Fail(c.session, kQdbNoCurrentRecord, c.file->group->firstNumber, "no current record"), 0;
    std::string column = key ? Column(*key) : "recno";
    if (c.session->store->SetStartRows() <= 1 || LocksOnRead(*c.session))
        return Position(c, key, column + (forward ? " > ?" : " < ?"), forward ? "ASC" : "DESC",
                        {CurrentKeyValue(c, key)}, record);
    OpenFile& f = *c.file;
    const int order = key ? key->number : 0;
    const bool same_walk = f.aheadOrder == order && f.aheadForward == forward && f.aheadWrites == c.session->writes &&
                           f.aheadAfter == f.current;
    if (!same_walk) {
        f.ahead.clear();
        f.aheadBatch = 0;
    }
    if (f.ahead.empty()) {
        f.aheadBatch = std::clamp(f.aheadBatch * 2, kFirstReadAhead, kMostServerReadAhead);
        StepResult rc = FetchRows(c, key, column + (forward ? " > ?" : " < ?"), forward ? "ASC" : "DESC",
                                  {CurrentKeyValue(c, key)}, f.aheadBatch, &f.ahead);
        if (rc != StepResult::Done) {
            f.ahead.clear();
            return Fail(c.session, kQdbStorageError, f.group->firstNumber, c.session->store->Error()), 0;
        }
        f.aheadOrder = order;
        f.aheadForward = forward;
        f.aheadWrites = c.session->writes;
        if (f.ahead.empty()) return Fail(c.session, kQdbNotFound, f.group->firstNumber, "no such record"), 0;
    }
    if (!Deliver(c, f.ahead.front(), record)) return 0;
    f.aheadAfter = f.current;
    f.ahead.pop_front();
    return 1;
}

std::string KeyBytes(const KeyDef& key, const void* buffer, int length) {
    std::string bytes(static_cast<const char*>(buffer), static_cast<size_t>(length));
    FoldKeyCase(key, &bytes);
    return bytes;
}

// A write never joins a read snapshot: it would stay uncommitted until the snapshot ends, and
// its BEGIN IMMEDIATE would fail inside the open transaction. The reads after it take the
// shared lock per statement again, which is only slower.
void EndReadSnapshotForWrite(Session& s) {
    if (!s.snapshotOpen) return;
    s.snapshotOpen = false;
    if (s.store->InTransaction()) s.store->Commit();
    else s.store->Rollback();  // a snapshot the database dropped after a failed read
}

int ExecWrite(Session& s, const FileGroupDef& g, const std::string& sql_error_context, StepResult rc) {
    if (rc == StepResult::Done) return Done(&s, g.firstNumber);
    if (rc == StepResult::Constraint)
        return Fail(&s, kQdbDuplicateKey, g.firstNumber, "a record with this unique key exists"), 0;
    return Fail(&s, kQdbStorageError, g.firstNumber, sql_error_context + ": " + s.store->Error()), 0;
}

// Bulk writing. A million records written one transaction each would wait for a million
// syncs of the disk; in bulk mode they share one open transaction instead, committed every so
// many records so that the journal and what a crash can lose stay bounded.
constexpr int kBulkRecordsPerCommit = 20000;

// The record number the next new row of the group gets. Rows get theirs before the insert, so
// that the keys with a record-number tail go in with the row in one statement.
bool NextFreeRecno(Session& s, const FileGroupDef& g, int64_t* recno) { return s.store->NextRecno(g, recno); }

bool BulkNextRecno(Session& s, const FileGroupDef& g, int64_t* recno) {
    if (!s.store->BulkKeepsWritersOut()) return NextFreeRecno(s, g, recno);
    auto it = s.bulkNextRecno.find(g.firstNumber);
    if (it == s.bulkNextRecno.end()) {
        int64_t next = 0;
        if (!NextFreeRecno(s, g, &next)) return false;
        it = s.bulkNextRecno.emplace(g.firstNumber, next).first;
    }
    *recno = it->second;
    return true;
}

bool BeginBulkTransaction(Session& s) {
    s.bulkNextRecno.clear();
    s.bulkPending = 0;
    return s.store->BeginWrite();
}

// After each statement of a bulk write: counts a written record and commits when enough are
// pending; after a failure notes whether SQLite dropped the whole transaction (disk full, I/O
// error) and begins a new one, so that the later writes still go in bulk. False when a commit
// or a new transaction failed.
bool AfterBulkStatement(Session& s, bool written) {
    if (!written) {
        if (!s.store->InTransaction()) {
            s.bulkLost = true;
            return BeginBulkTransaction(s);
        }
        return true;
    }
    ++s.writes;
    if (++s.bulkPending < s.bulkEvery) return true;
    if (!s.store->Commit()) {
        s.store->Rollback();
        s.bulkLost = true;
        BeginBulkTransaction(s);
        return false;
    }
    return BeginBulkTransaction(s);
}

// A new row numbered by the statement itself (Storage::NumberedInsert): Done with *recno set.
StepResult InsertNumbered(Session& s, const FileGroupDef& g, const std::string& sql, const uint8_t* bytes, int length,
                          int64_t* recno) {
    CachedStatement st(s, sql);
    if (!st) return StepResult::Error;
    int column = 1;
    st.Blob(column++, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)));
    for (const KeyDef& k : g.keys) {
        std::string value = KeyValueOf(k, bytes, 0);
        if (!k.unique) value.resize(value.size() - 8);
        st.Blob(column++, value);
    }
    const StepResult rc = st.Step();
    if (rc != StepResult::Row) return rc;
    *recno = st.s->ColumnInt(0);
    return StepResult::Done;
}

// A rewrite that takes the record's lock for itself in the same statement (Storage::
// StatementLock): Done when written (or when the row is gone, as an update that meets no row
// is); *locked when another connection holds the lock.
StepResult RewriteLocked(Session& s, const FileGroupDef& g, int64_t recno, const uint8_t* bytes, int length,
                         uint64_t lock, bool* locked) {
    int64_t first = 0, second = 0;
    const std::string condition = s.store->StatementLock(lock, &first, &second);
    std::string sql = "UPDATE " + Table(g) + " SET rec = ?";
    for (const KeyDef& k : g.keys) sql += ", " + Column(k) + " = ?";
    sql += " WHERE recno = ? AND " + condition + " RETURNING recno";
    StepResult rc;
    {
        CachedStatement st(s, sql);
        if (!st) return StepResult::Error;
        int column = 1;
        st.Blob(column++, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)));
        for (const KeyDef& k : g.keys) st.Blob(column++, KeyValueOf(k, bytes, recno));
        st.Int(column++, recno);
        st.Int(column++, first);
        st.Int(column, second);
        rc = st.Step();
    }
    if (rc == StepResult::Row) return StepResult::Done;
    if (rc != StepResult::Done) return rc;
    CachedStatement there(s, "SELECT 1 FROM " + Table(g) + " WHERE recno = ?");
    if (!there) return StepResult::Error;
    there.Int(1, recno);
    const StepResult found = there.Step();
    if (found == StepResult::Row) *locked = true;
    return found == StepResult::Row || found == StepResult::Done ? StepResult::Done : found;
}

// The row and all its keys in one statement, prepared once per group and session: one statement
// is all or nothing, so a refused record (a unique key taken) leaves the rest of its transaction
// intact. Rows get their record number before the insert, so that the keys with a record-number
// tail go in with the row. Done on success, else the failure.
StepResult WriteRow(Session& s, const FileGroupDef& g, int64_t recno, const uint8_t* bytes, int length, bool insert) {
    std::string sql;
    if (insert) {
        std::string columns = "recno, rec", values = "?, ?";
        for (const KeyDef& k : g.keys) {
            columns += ", " + Column(k);
            values += ", ?";
        }
        sql = "INSERT INTO " + Table(g) + "(" + columns + ") VALUES (" + values + ")";
    } else {
        sql = "UPDATE " + Table(g) + " SET rec = ?";
        for (const KeyDef& k : g.keys) sql += ", " + Column(k) + " = ?";
        sql += " WHERE recno = ?";
    }
    CachedStatement st(s, sql);
    if (!st) return StepResult::Error;
    int column = 1;
    if (insert) st.Int(column++, recno);
    st.Blob(column++, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)));
    for (const KeyDef& k : g.keys) st.Blob(column++, KeyValueOf(k, bytes, recno));
    if (!insert) st.Int(column, recno);
    return st.Step();
}

// The bulk form of a write, inside the open bulk transaction.
int BulkStoreRecord(Session& s, const FileGroupDef& g, int64_t recno, const uint8_t* bytes, int length, bool insert,
                    int64_t* new_recno) {
    if (insert && !BulkNextRecno(s, g, &recno))
        return Fail(&s, kQdbStorageError, g.firstNumber, std::string("cannot count the records: ") + s.store->Error()), 0;
    const int ok = ExecWrite(s, g, "write", WriteRow(s, g, recno, bytes, length, insert));
    if (ok && insert) s.bulkNextRecno[g.firstNumber] = recno + 1;
    if (!AfterBulkStatement(s, ok != 0))
        return Fail(&s, kQdbStorageError, g.firstNumber, std::string("bulk commit failed: ") + s.store->Error()), 0;
    if (ok && new_recno) *new_recno = recno;
    return ok;
}

// Writes record as record number recno (a new row when insert), keys and all: one transaction
// of its own (on a server one statement in autocommit), or a part of the session's open
// transaction. lock: for a rewrite outside a transaction, the record's lock when no lock of this
// session stands for it, which the statement takes for itself.
int StoreRecord(Session& s, const FileGroupDef& g, int64_t recno, const void* record, int length, bool insert,
                int64_t* new_recno, const uint64_t* lock = nullptr) {
    const uint8_t* bytes = static_cast<const uint8_t*>(record);
    EndReadSnapshotForWrite(s);
    if (s.bulk) return BulkStoreRecord(s, g, recno, bytes, length, insert, new_recno);
    if (InjectedFault()) {
        if (s.transaction) s.transactionFailed = true;
        return Fail(&s, kQdbStorageError, g.firstNumber, "write refused (injected fault)"), 0;
    }
    const std::string numbered_insert = s.transaction ? "" : s.store->NumberedInsert(g);
    if (!numbered_insert.empty()) {
        // One statement in autocommit, whole or absent by itself: no transaction around it.
        if (InjectedFault()) return Fail(&s, kQdbStorageError, g.firstNumber, "commit refused (injected fault)"), 0;
        bool locked = false;
        const StepResult rc = insert ? InsertNumbered(s, g, numbered_insert, bytes, length, &recno)
                              : lock  ? RewriteLocked(s, g, recno, bytes, length, *lock, &locked)
                                      : WriteRow(s, g, recno, bytes, length, false);
        if (locked) return FailLock(&s, kQdbLocked, g.firstNumber);
        if (rc != StepResult::Done) return ExecWrite(s, g, "write", rc);
        ++s.writes;
        if (new_recno) *new_recno = recno;
        return Done(&s, g.firstNumber);
    }
    if (!s.transaction && !s.store->BeginWrite())
        return Fail(&s, kQdbStorageError, g.firstNumber, std::string("cannot begin a write: ") + s.store->Error()), 0;
    const StepResult rc = insert && !NextFreeRecno(s, g, &recno) ? StepResult::Error : WriteRow(s, g, recno, bytes, length, insert);
    if (s.transaction) {
        ++s.writes;
        if (rc != StepResult::Done) s.transactionFailed = true;
        else if (new_recno) *new_recno = recno;
        return ExecWrite(s, g, "write", rc);
    }
    if (rc != StepResult::Done) {
        s.store->Rollback();
        return ExecWrite(s, g, "write", rc);
    }
    if (InjectedFault() || !s.store->Commit()) {
        std::string reason = std::string("commit failed: ") + s.store->Error();
        s.store->Rollback();
        return Fail(&s, kQdbStorageError, g.firstNumber, reason), 0;
    }
    ++s.writes;
    if (new_recno) *new_recno = recno;
    return Done(&s, g.firstNumber);
}

#ifdef _WIN32
int64_t CurrentProcess() { return 1; }  // no fork on Windows
#else
int64_t CurrentProcess() { return static_cast<int64_t>(getpid()); }
#endif

// Forgets the idle sessions. In a child after fork they are its parent's (the same connection,
// the same lock file description): they are left alone, never closed or used.
void DropIdleSessions() {
    if (engine.idleProcess != CurrentProcess()) {
        static std::vector<std::unique_ptr<Session>> parents;
        for (auto& s : engine.idle) parents.push_back(std::move(s));
    }
    engine.idle.clear();
    engine.idleProcess = CurrentProcess();
}

// A session back to the state of a new one, every lock given back; false when it cannot be
// kept (a transaction or bulk writing still open).
bool ResetForReuse(Session& s) {
    if (s.bulk || s.transaction || s.snapshotOpen || s.store->InTransaction() || s.store->ConnectionLost()) return false;
    s.store->Rollback();  // what is left of a transaction the database dropped
    for (uint64_t offset : s.held) s.store->Unlock(offset);
    for (const auto& [number, hold] : s.groups)
        if (hold.mode) s.store->Unlock(LockOffset(*FindFileGroup(number), kGroupLockRecno));
    s.held.clear();
    s.groups.clear();
    s.transactionLocks.clear();
    s.lockMode = 0;
    s.lockingPaused = false;
    s.accessMode = 1;
    s.snapshotDepth = 0;
    s.lastResult = s.lastError = s.lastFile = 0;
    s.reason.clear();
    ++s.writes;
    return true;
}

}  // namespace

int QDB_InitDataBase(const char* data_directory) {
    engine.directory = data_directory ? data_directory : "";
    engine.location = LocateStorage(engine.directory);
    DropIdleSessions();
    return StorageExists(engine.location, &engine.reason) ? 1 : 2;
}

int QDB_CreateDataBase(const char* data_directory) {
    return CreateStorage(LocateStorage(data_directory ? data_directory : ""), &engine.reason) ? 1 : 0;
}

// Places a started session in the session table; its handle, or 0 when the table is full.
static QdbSession Register(std::unique_ptr<Session> s) {
    for (size_t i = 0; i < engine.sessions.size(); ++i) {
        if (!engine.sessions[i]) {
            engine.sessions[i] = std::move(s);
            return static_cast<QdbSession>(i + 1);
        }
    }
    if (engine.sessions.size() >= 0xFFFE) return 0;
    engine.sessions.push_back(std::move(s));
    return static_cast<QdbSession>(engine.sessions.size());
}

QdbSession QDB_StartSession(int) {
    if (engine.idleProcess != CurrentProcess()) DropIdleSessions();
    for (auto it = engine.idle.begin(); it != engine.idle.end();) {
        if ((*it)->directory != engine.directory) {
            ++it;
            continue;
        }
        std::unique_ptr<Session> reused = std::move(*it);
        it = engine.idle.erase(it);
        // A kept connection whose server went away (restarted meanwhile) is dropped, not handed out.
        if (reused->store->Alive()) return Register(std::move(reused));
    }
    auto s = std::make_unique<Session>();
    s->directory = engine.directory;
    s->store = OpenStorage(engine.location, &engine.reason);
    if (!s->store) return 0;
    return Register(std::move(s));
}

int QDB_EndSession(QdbSession session) {
    if (!SessionOf(session)) return 0;
    for (auto it = engine.sets.begin(); it != engine.sets.end();) {
        auto f = engine.files.find(it->second.file);
        it = (f == engine.files.end() || f->second.session == session) ? engine.sets.erase(it) : std::next(it);
    }
    for (auto it = engine.updates.begin(); it != engine.updates.end();) {
        auto f = engine.files.find(it->second.file);
        it = (f == engine.files.end() || f->second.session == session) ? engine.updates.erase(it) : std::next(it);
    }
    for (auto it = engine.files.begin(); it != engine.files.end();)
        it = it->second.session == session ? engine.files.erase(it) : std::next(it);
    std::unique_ptr<Session> ended = std::move(engine.sessions[session - 1]);
    constexpr size_t kMostIdle = 4;
    if (engine.idleProcess == CurrentProcess() && engine.idle.size() < kMostIdle && ResetForReuse(*ended))
        engine.idle.push_back(std::move(ended));
    // else the destructor closes the connection and the lock file: its locks go with them
    return 1;
}

int QDB_BeginBulkWrite(QdbSession session, int records_per_commit) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (s->bulk) return Fail(s, kQdbBulkState, 0, "bulk writing is on already"), 0;
    EndReadSnapshotForWrite(*s);
    if (s->store->InTransaction()) return Fail(s, kQdbBulkState, 0, "a transaction is open"), 0;
    if (!BeginBulkTransaction(*s))
        return Fail(s, kQdbStorageError, 0, std::string("cannot take the write lock: ") + s->store->Error()), 0;
    s->store->TuneForBulk(true);
    s->bulk = true;
    s->bulkLost = false;
    s->bulkEvery = records_per_commit > 0 ? records_per_commit : kBulkRecordsPerCommit;
    return Done(s, 0);
}

int QDB_EndBulkWrite(QdbSession session, int commit) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (!s->bulk) return Fail(s, kQdbBulkState, 0, "bulk writing is not on"), 0;
    s->bulk = false;
    s->bulkNextRecno.clear();
    bool ok = true;
    std::string reason;
    if (commit && !s->store->Commit()) {
        reason = std::string("commit failed: ") + s->store->Error();
        ok = false;
    }
    s->store->Rollback();
    ++s->writes;  // a rollback takes back rows a set may have read ahead
    s->store->TuneForBulk(false);
    if (ok && s->bulkLost) {
        reason = "a failed write lost the records written since the commit before it";
        ok = false;
    }
    s->bulkLost = false;
    if (!ok) return Fail(s, kQdbStorageError, 0, reason), 0;
    return Done(s, 0);
}

// The end of a transaction gives back the locks its writes took for themselves.
static void EndTransaction(Session& s) {
    s.transaction = false;
    s.transactionFailed = false;
    for (uint64_t offset : s.transactionLocks) DropLock(s, offset);
    s.transactionLocks.clear();
    ++s.writes;  // rows a set read ahead may have changed or come back
}

int QDB_BeginTransaction(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (s->transaction || s->bulk) return Fail(s, kQdbBulkState, 0, "a transaction or bulk writing is open"), 0;
    EndReadSnapshotForWrite(*s);
    if (!s->store->BeginWrite())
        return Fail(s, kQdbStorageError, 0, std::string("cannot begin a write: ") + s->store->Error()), 0;
    s->transaction = true;
    s->transactionFailed = false;
    return Done(s, 0);
}

int QDB_CommitTransaction(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (!s->transaction) return Fail(s, kQdbBulkState, 0, "no transaction is open"), 0;
    std::string reason;
    if (s->transactionFailed) reason = "a write of the transaction failed";
    else if (InjectedFault()) reason = "commit refused (injected fault)";
    else if (!s->store->Commit())
        reason = std::string("commit failed: ") + s->store->Error();
    // Also a transaction the database dropped after a failed statement must be ended.
    if (!reason.empty()) s->store->Rollback();
    EndTransaction(*s);
    if (!reason.empty()) return Fail(s, kQdbStorageError, 0, reason), 0;
    return Done(s, 0);
}

int QDB_AbortTransaction(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (!s->transaction) return Fail(s, kQdbBulkState, 0, "no transaction is open"), 0;
    s->store->Rollback();
    EndTransaction(*s);
    return Done(s, 0);
}

void QDB_FailNthOperation(int64_t n) { fault_countdown = n > 0 ? n : 0; }
int64_t QDB_PendingFault() { return fault_countdown; }

int QDB_BeginReadSnapshot(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (s->snapshotDepth++ > 0 || s->bulk || s->store->InTransaction()) return Done(s, 0);
    if (!s->store->BeginSnapshot()) {
        --s->snapshotDepth;
        return Fail(s, kQdbStorageError, 0, std::string("cannot begin a read snapshot: ") + s->store->Error()), 0;
    }
    s->snapshotOpen = true;
    return Done(s, 0);
}

int QDB_EndReadSnapshot(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (s->snapshotDepth == 0) return Fail(s, kQdbBulkState, 0, "no read snapshot is open"), 0;
    if (--s->snapshotDepth == 0) EndReadSnapshotForWrite(*s);
    return Done(s, 0);
}

int QDB_CREIFIL(QdbSession session, int data_file_number) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, data_file_number, "no session"), 0;
    const FileGroupDef* g = FindFileGroup(data_file_number);
    if (!g) return Fail(s, kQdbGroupNotOpen, data_file_number, "the number belongs to no file group"), 0;
    EndReadSnapshotForWrite(*s);
    if (!s->store->CreateGroup(*g))
        return Fail(s, kQdbStorageError, data_file_number, std::string("cannot create the file: ") + s->store->Error()), 0;
    return Done(s, data_file_number);
}

// Moves the session's group lock to mode (1 shared, 2 exclusive, 0 none). A failed change
// leaves the lock as it was. Windows cannot turn a held lock into another kind, so the change is
// a release and a new lock, and the old one is taken back when the new one is refused.
static bool SetGroupLock(Session& s, const FileGroupDef& g, GroupHold& hold, int mode) {
    if (hold.mode == mode) return true;
    uint64_t offset = LockOffset(g, kGroupLockRecno);
    if (hold.mode) s.store->Unlock(offset);
    auto take = [&](int m) { return m == 0 || (m == 2 ? s.store->TryLock(offset) : s.store->TryLockShared(offset)); };
    if (take(mode)) {
        hold.mode = mode;
        return true;
    }
    if (!take(hold.mode)) hold.mode = 0;  // lost in the change; the next open takes it again
    return false;
}

static QdbFile OpenGroup(QdbSession session, int file_number, int mode) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, file_number, "no session"), 0;
    const FileGroupDef* g = FindFileGroup(file_number);
    if (!g) return Fail(s, kQdbGroupNotOpen, file_number, "the number belongs to no file group"), 0;
    TableState table = s->store->FindTable(Table(*g));
    if (table == TableState::Missing)
        return Fail(s, kQdbNoGroupFiles, file_number, "the files of this group have not been created"), 0;
    if (table != TableState::Present)
        return Fail(s, kQdbStorageError, file_number, std::string("cannot read the database: ") + s->store->Error()), 0;
    GroupHold& hold = s->groups[g->firstNumber];
    if (!SetGroupLock(*s, *g, hold, std::max(mode, hold.mode))) {
        if (hold.opens == 0) s->groups.erase(g->firstNumber);
        return Fail(s, kQdbFileInUse, file_number,
                    mode == 2 ? "the file is open at another workstation"
                              : "the file is in exclusive use at another workstation"), 0;
    }
    ++hold.opens;
    QdbFile handle = engine.nextHandle++;
    OpenFile opened;
    opened.session = session;
    opened.group = g;
    engine.files[handle] = std::move(opened);
    Done(s, file_number);
    return handle;
}

QdbFile QDB_OpenFile(QdbSession session, int file_number) {
    Session* s = SessionOf(session);
    return OpenGroup(session, file_number, s ? s->accessMode : 1);
}
QdbFile QDB_OpenFileExclusive(QdbSession session, int file_number) { return OpenGroup(session, file_number, 2); }

int QDB_SetAccessMode(QdbSession session, int mode) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (mode != 1 && mode != 2) return Fail(s, kQdbBadHandle, 0, "the access mode is 1 or 2"), 0;
    std::vector<std::pair<int, int>> changed;  // data file and its mode before, to undo a refusal
    for (auto& [number, hold] : s->groups) {
        int before = hold.mode;
        if (!SetGroupLock(*s, *FindFileGroup(number), hold, mode)) {
            for (auto& [done, old_mode] : changed) SetGroupLock(*s, *FindFileGroup(done), s->groups[done], old_mode);
            return Fail(s, kQdbFileInUse, number, "the file is in use at another workstation"), 0;
        }
        changed.emplace_back(number, before);
    }
    s->accessMode = mode;
    return Done(s, 0);
}

int QDB_GetAccessMode(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->accessMode : 0;
}

int QDB_CloseFile(QdbFile file) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    GroupHold& hold = c.session->groups[g.firstNumber];
    if (--hold.opens <= 0) {
        SetGroupLock(*c.session, g, hold, 0);
        c.session->groups.erase(g.firstNumber);
    }
    for (auto it = engine.sets.begin(); it != engine.sets.end();)
        it = it->second.file == file ? engine.sets.erase(it) : std::next(it);
    engine.files.erase(file);
    return Done(c.session, g.firstNumber);
}

int QDB_CheckConnection(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return 0;
    if (s->store->Alive()) return Done(s, 0);
    return Fail(s, kQdbConnectionLost, 0, "the practice database cannot be reached: " + s->store->Error()), 0;
}

int QDB_GetPracticeState(QdbSession session) {
    Session* s = SessionOf(session);
    if (!s) return 0;
    for (int number = 1; number <= 287; ++number) {
        const FileGroupDef* g = FindFileGroup(number);
        if (!g || g->firstNumber != number || s->groups.count(number)) continue;
        uint64_t offset = LockOffset(*g, kGroupLockRecno);
        if (!s->store->TryLockShared(offset)) return 2;
        s->store->Unlock(offset);
    }
    return 1;
}

int QDB_FindRec(QdbFile file, int key_number, const void* key_buffer, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key = FindKey(*c.file->group, key_number);
    if (!key) return Fail(c.session, kQdbBadKey, key_number, "not a key of this file"), 0;
    std::string kb = KeyBytes(*key, key_buffer, key->Length());
    std::string upper = UpperBound(kb);
    std::string column = Column(*key);
    if (upper.empty()) return Position(c, key, column + " >= ?", "ASC", {kb}, record);
    return Position(c, key, column + " >= ? AND " + column + " < ?", "ASC", {kb, upper}, record);
}

// Values of a key matched by one statement of the batch reads, and key ranges, each a query of
// its own for the server to plan. (256 values a statement made a week's load 22 statements
// fewer, and no faster: the server's work on the longer lists ate what the round trips saved.)
constexpr int kValuesPerStatement = 64;
constexpr int kRangesPerStatement = 64;

// One statement of the batch reads: the rows whose key is one of values values.
static std::string InListSql(const FileGroupDef& g, const KeyDef& key, int values) {
    std::string sql = "SELECT recno, rec, " + Column(key) + " FROM " + Table(g) + " WHERE " + Column(key) + " IN (?";
    for (int i = 1; i < values; ++i) sql += ", ?";
    return sql + ")";
}

int QDB_FindRecs(QdbFile file, int key_number, int count, const void* key_buffers, void* records, uint8_t* found) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    const KeyDef* key = FindKey(g, key_number);
    if (!key || !key->unique) return Fail(c.session, kQdbBadKey, key_number, "not a unique key of this file"), 0;
    if (g.recordLength == 0 || (g.mode & 4))
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "records of this file have no fixed length"), 0;
    const size_t key_length = static_cast<size_t>(key->Length());
    const size_t record_length = static_cast<size_t>(g.recordLength);
    const char* keys = static_cast<const char*>(key_buffers);
    uint8_t* out = static_cast<uint8_t*>(records);
    if (count <= 0) return Done(c.session, g.firstNumber);
    std::fill(found, found + count, uint8_t{0});
    if (LocksOnRead(*c.session)) {
        // Each record locked as it is read, as one QDB_FindRec each would.
        const int64_t current = c.file->current;
        for (int i = 0; i < count; ++i) {
            if (QDB_FindRec(file, key_number, keys + i * key_length, out + i * record_length)) found[i] = 1;
            else if (c.session->lastResult != kQdbNotFound) return c.file->current = current, 0;
        }
        c.file->current = current;
        return Done(c.session, g.firstNumber);
    }
    // A fixed number of values a statement, the last repeated to fill it: one prepared statement.
    std::map<std::string, std::vector<int>> wanted;  // value -> the places that ask for it
    for (int i = 0; i < count; ++i) wanted[KeyBytes(*key, keys + i * key_length, key->Length())].push_back(i);
    const std::string sql = InListSql(g, *key, kValuesPerStatement);
    for (auto it = wanted.begin(); it != wanted.end();) {
        CachedStatement st(*c.session, sql);
        if (!st) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
        auto next = it;
        for (int p = 1; p <= kValuesPerStatement; ++p) {
            st.Blob(p, next->first);
            if (std::next(next) != wanted.end() && p < kValuesPerStatement) ++next;
        }
        for (;;) {
            Row row;
            const StepResult rc = FetchRow(st, &row);
            if (rc == StepResult::Done) break;
            if (rc != StepResult::Row) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
            if (!RecordFits(g, row.record.size())) return FailWrongLength(c, row);
            auto places = wanted.find(row.key);
            if (places == wanted.end()) continue;
            for (int i : places->second) {
                std::memcpy(out + i * record_length, row.record.data(), record_length);
                found[i] = 1;
            }
        }
        it = std::next(next);
    }
    return Done(c.session, g.firstNumber);
}

int QDB_FindRecsByPrefixes(QdbFile file, int key_number, int count, const void* prefixes, int significant,
                           QdbRecordSink sink, void* context) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    const KeyDef* key = FindKey(g, key_number);
    if (!key || significant <= 0 || significant > key->Length())
        return Fail(c.session, kQdbBadKey, key_number, "not a key of this file, or a prefix longer than it"), 0;
    if (g.recordLength == 0) return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "no record layout"), 0;
    if (count <= 0) return Done(c.session, g.firstNumber);
    const size_t length = static_cast<size_t>(significant);
    std::map<std::string, std::vector<int>> wanted;  // prefix -> the places that ask for it
    for (int i = 0; i < count; ++i)
        wanted[KeyBytes(*key, static_cast<const char*>(prefixes) + i * length, significant)].push_back(i);
    // A fixed number of prefixes a statement (one prepared statement). Whole values of a unique
    // key are an IN list as QDB_FindRecs makes, the places left over given the last value again;
    // shorter prefixes are one range of the key's index each, joined with UNION ALL so that each
    // is its own index range on both databases, the places left over given an empty range. (The
    // server plans the statement at every run: 64 ranges cost it some four times what an IN list
    // of 64 values does.)
    const bool whole = key->unique && significant == key->Length();
    const std::string column = Column(*key);
    const std::string range = "SELECT recno, rec, " + column + " FROM " + Table(g) + " WHERE " + column + " >= ? AND " +
                              column + " < ?";
    std::string ranges = range;
    for (int i = 1; i < kRangesPerStatement; ++i) ranges += " UNION ALL " + range;
    const int per_statement = whole ? kValuesPerStatement : kRangesPerStatement;
    const std::string sql = whole ? InListSql(g, *key, kValuesPerStatement) : ranges;
    std::vector<Row> rows;
    for (auto it = wanted.begin(); it != wanted.end();) {
        CachedStatement st(*c.session, sql);
        if (!st) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
        std::string last;
        for (int p = 0; p < per_statement; ++p) {
            std::string low = it != wanted.end() ? (it++)->first : whole ? last : "";
            last = low;
            if (whole) {
                st.Blob(p + 1, low);
                continue;
            }
            std::string high = UpperBound(low);
            // A prefix of 0xFF bytes only: above it, anything longer than the longest key.
            if (high.empty() && !low.empty()) high = low + std::string(static_cast<size_t>(key->Length()) + 9, '\xFF');
            st.Blob(2 * p + 1, low);
            st.Blob(2 * p + 2, high);
        }
        for (;;) {
            Row row;
            const StepResult rc = FetchRow(st, &row);
            if (rc == StepResult::Done) break;
            if (rc != StepResult::Row) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
            if (!RecordFits(g, row.record.size())) return FailWrongLength(c, row);
            rows.push_back(std::move(row));
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
    for (const Row& row : rows) {
        const auto places = wanted.find(row.key.substr(0, length));
        if (places == wanted.end()) continue;
        for (int i : places->second) sink(context, i, row.record.data(), static_cast<int>(row.record.size()));
    }
    return Done(c.session, g.firstNumber);
}

int QDB_GreaterThanOrEqualRec(QdbFile file, int key_number, const void* key_buffer, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key = FindKey(*c.file->group, key_number);
    if (!key) return Fail(c.session, kQdbBadKey, key_number, "not a key of this file"), 0;
    return Position(c, key, Column(*key) + " >= ?", "ASC", {KeyBytes(*key, key_buffer, key->Length())}, record);
}

int QDB_LessThanOrEqualRec(QdbFile file, int key_number, const void* key_buffer, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key = FindKey(*c.file->group, key_number);
    if (!key) return Fail(c.session, kQdbBadKey, key_number, "not a key of this file"), 0;
    std::string upper = UpperBound(KeyBytes(*key, key_buffer, key->Length()));
    if (upper.empty()) return Position(c, key, "", "DESC", {}, record);
    return Position(c, key, Column(*key) + " < ?", "DESC", {upper}, record);
}

int QDB_FirstRec(QdbFile file, int key_or_file, void* record) { return Step(file, key_or_file, record, true, false); }
int QDB_LastRec(QdbFile file, int key_or_file, void* record) { return Step(file, key_or_file, record, false, false); }
int QDB_NextRec(QdbFile file, int key_or_file, void* record) { return Step(file, key_or_file, record, true, true); }
int QDB_PrevRec(QdbFile file, int key_or_file, void* record) { return Step(file, key_or_file, record, false, true); }

QdbSet QDB_StartSet(QdbFile file, int key_number, int direction, const void* key_buffer, void* record,
                    int significant) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key = FindKey(*c.file->group, key_number);
    if (!key) return Fail(c.session, kQdbBadKey, key_number, "not a key of this file"), 0;
    if (significant < 0 || significant > key->Length()) significant = key->Length();
    SetState set;
    set.file = file;
    set.key = key;
    set.prefix = KeyBytes(*key, key_buffer, significant);
    std::string upper = UpperBound(set.prefix);
    std::string column = Column(*key);
    std::string where = column + " >= ?" + (upper.empty() ? "" : " AND " + column + " < ?");
    std::vector<std::string> blobs = {set.prefix};
    if (!upper.empty()) blobs.push_back(upper);
    const bool forward = direction != 1;
    const int first_rows = c.session->store->SetStartRows();
    if (first_rows > 1 && !LocksOnRead(*c.session)) {
        // The start reads the first rows of the walk too: on a server the statement, not the
        // rows, is what costs, and most sets (an operatory's day) end within them.
        StepResult rc = FetchRows(c, key, where, forward ? "ASC" : "DESC", blobs, first_rows, &set.ahead);
        if (rc != StepResult::Done)
            return Fail(c.session, kQdbStorageError, c.file->group->firstNumber, c.session->store->Error()), 0;
        if (set.ahead.empty()) return Fail(c.session, kQdbNotFound, c.file->group->firstNumber, "no such record"), 0;
        if (!Deliver(c, set.ahead.front(), record)) return 0;
        set.position = std::move(set.ahead.front().key);
        set.ahead.pop_front();
        set.aheadReachedEnd = static_cast<int>(set.ahead.size()) + 1 < first_rows;
        set.aheadForward = forward;
        set.aheadWrites = c.session->writes;
        set.batch = first_rows;
    } else {
        Row row;
        if (!Position(c, key, where, forward ? "ASC" : "DESC", blobs, record, &row)) return 0;
        set.position = row.key;
    }
    QdbSet handle = engine.nextHandle++;
    engine.sets[handle] = set;
    return handle;
}

static int StepInSet(QdbSet handle, void* record, bool forward) {
    auto it = engine.sets.find(handle);
    if (it == engine.sets.end()) return 0;
    SetState& set = it->second;
    FileContext c = Resolve(set.file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    bool locking = LocksOnRead(*c.session);
    const bool same_reading = !locking && set.aheadForward == forward && set.aheadWrites == c.session->writes;
    if (!same_reading) {
        set.ahead.clear();
        set.aheadReachedEnd = false;
    }
    // Nothing was written through this session since the read-ahead that found the end.
    if (set.ahead.empty() && set.aheadReachedEnd) return Fail(c.session, kQdbNotFound, g.firstNumber, "no such record"), 0;
    if (set.ahead.empty()) {
        std::string column = Column(*set.key);
        std::string upper = UpperBound(set.prefix);
        std::string where;
        std::vector<std::string> blobs = {set.position};
        if (forward) {
            where = column + " > ?";
            if (!upper.empty()) {
                where += " AND " + column + " < ?";
                blobs.push_back(upper);
            }
        } else {
            where = column + " < ? AND " + column + " >= ?";
            blobs.push_back(set.prefix);
        }
        const int most = c.session->store->SetStartRows() > 1 ? kMostServerReadAhead : kMostReadAhead;
        set.batch = locking ? 1 : std::clamp(set.batch * 2, kFirstReadAhead, most);
        StepResult rc = FetchRows(c, set.key, where, forward ? "ASC" : "DESC", blobs, set.batch, &set.ahead);
        if (rc != StepResult::Done) {
            set.ahead.clear();
            return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
        }
        set.aheadReachedEnd = static_cast<int>(set.ahead.size()) < set.batch;
        set.aheadForward = forward;
        set.aheadWrites = c.session->writes;
        if (set.ahead.empty()) return Fail(c.session, kQdbNotFound, g.firstNumber, "no such record"), 0;
    }
    if (!Deliver(c, set.ahead.front(), record)) return 0;  // a refused lock leaves the row ahead
    set.position = std::move(set.ahead.front().key);
    set.ahead.pop_front();
    return 1;
}

int QDB_NextRecInSet(QdbSet set, void* record) { return StepInSet(set, record, true); }
int QDB_PrevRecInSet(QdbSet set, void* record) { return StepInSet(set, record, false); }
int QDB_EndSet(QdbSet set) { return engine.sets.erase(set) ? 1 : 0; }

int QDB_MIDSET(QdbFile file, int key_number, const void* key_buffer, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    SetState* set = nullptr;  // the set of this key started last on the file
    for (auto& [handle, state] : engine.sets)
        if (state.file == file && state.key->number == key_number) set = &state;
    if (!set) return Fail(c.session, kQdbNoSet, key_number, "no set of this key is open on the file"), 0;
    std::string from = KeyBytes(*set->key, key_buffer, set->key->Length());
    if (from < set->prefix) from = set->prefix;
    std::string column = Column(*set->key);
    std::string upper = UpperBound(set->prefix);
    std::string where = column + " >= ?" + (upper.empty() ? "" : " AND " + column + " < ?");
    std::vector<std::string> blobs = {from};
    if (!upper.empty()) blobs.push_back(upper);
    Row row;
    if (!Position(c, set->key, where, "ASC", blobs, record, &row)) return 0;
    set->position = row.key;
    set->ahead.clear();  // the walk goes on from here
    set->aheadReachedEnd = false;
    set->batch = 0;
    return 1;
}

uint32_t QDB_GetFilePos(QdbFile file) {
    FileContext c = Resolve(file);
    return c.file ? static_cast<uint32_t>(c.file->current) : 0;
}

int QDB_ReadRec(QdbFile file, uint32_t position, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    return Position(c, nullptr, "recno = ?", "ASC", {std::to_string(position)}, record);
}

int QDB_SETCURI(QdbFile file, int key_or_file, uint32_t position) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key;
    if (!KeyOf(c, key_or_file, &key)) return 0;
    const FileGroupDef& g = *c.file->group;
    CachedStatement st(*c.session, "SELECT 1 FROM " + Table(g) + " WHERE recno = ?");
    if (!st) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), 0;
    st.Int(1, position);
    if (st.Step() != StepResult::Row) return Fail(c.session, kQdbNotFound, g.firstNumber, "no record at this position"), 0;
    c.file->current = position;
    c.file->positionKeyNumber = 0;
    return Done(c.session, g.firstNumber);
}

int QDB_UPDCURI(QdbFile file, int key_number, const void* key_buffer) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const KeyDef* key = FindKey(*c.file->group, key_number);
    if (!key) return Fail(c.session, kQdbBadKey, key_number, "not a key of this file"), 0;
    c.file->positionKeyNumber = key_number;
    c.file->positionKey = KeyBytes(*key, key_buffer, key->Length());
    return Done(c.session, c.file->group->firstNumber);
}

int QDB_AddRec(QdbFile file, const void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    if (g.recordLength == 0)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "no record layout is defined for this file"), 0;
    int64_t recno = 0;
    if (g.mode & 4)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "records of this file have a variable length"), 0;
    if (!StoreRecord(*c.session, g, 0, record, g.recordLength, true, &recno)) return 0;
    c.file->current = recno;
    return 1;
}

// Writing or deleting a record another session holds locked is refused; a record nobody
// holds is locked just for the write (inside a transaction: until its end).
static bool LockForChange(FileContext& c, uint64_t* offset, bool* taken_here) {
    const FileGroupDef& g = *c.file->group;
    *offset = CurrentLockOffset(c);
    *taken_here = !c.session->held.count(*offset);
    if (uint16_t locked = TakeLock(*c.session, *offset)) return FailLock(c.session, locked, g.firstNumber), false;
    if (*taken_here && c.session->transaction) {
        c.session->transactionLocks.insert(*offset);
        *taken_here = false;  // the transaction's end gives it back
    }
    return true;
}

// Rewrites the current record with length bytes, keys and all.
static int RewriteCurrent(FileContext& c, const void* record, int length) {
    const FileGroupDef& g = *c.file->group;
    if (c.file->current == 0) return Fail(c.session, kQdbNoCurrentRecord, g.firstNumber, "no current record"), 0;
    Session& s = *c.session;
    const uint64_t current_lock = CurrentLockOffset(c);
    int ok = 0;
    if (!s.transaction && !s.bulk && !LocksOnRead(s) && !s.held.count(current_lock) && !s.store->NumberedInsert(g).empty()) {
        // Lock and write in one statement: the lock is the statement's own.
        if (InjectedFault()) return FailLock(&s, kQdbStorageError, g.firstNumber);
        ok = StoreRecord(s, g, c.file->current, record, length, false, nullptr, &current_lock);
    } else {
        uint64_t offset = 0;
        bool taken_here = false;
        if (!LockForChange(c, &offset, &taken_here)) return 0;
        ok = StoreRecord(s, g, c.file->current, record, length, false, nullptr);
        if (taken_here && !LocksOnRead(s)) DropLock(s, offset);
    }
    if (ok) {
        c.file->lockKnownFor = c.file->current;
        c.file->lockOfCurrent =
            RecordLockOffset(g, c.file->current, std::string(static_cast<const char*>(record), static_cast<size_t>(length)));
    }
    return ok;
}

int QDB_WriteRec(QdbFile file, const void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    if (g.recordLength == 0)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "no record layout is defined for this file"), 0;
    if (g.mode & 4)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "records of this file have a variable length"), 0;
    return RewriteCurrent(c, record, g.recordLength);
}

// A variable-length record's length must hold the head the keys are made of.
static bool VarLengthFits(FileContext& c, int length) {
    const FileGroupDef& g = *c.file->group;
    if (!(g.mode & 4) || g.recordLength == 0)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber, "records of this file have a fixed length"), false;
    if (length < g.recordLength || length > kQdbMaxVarRecord)
        return Fail(c.session, kQdbBadRecordSize, g.firstNumber,
                    "a record of " + std::to_string(length) + " bytes does not fit this file"), false;
    return true;
}

int QDB_AddVRec(QdbFile file, const void* record, int length) {
    FileContext c = Resolve(file);
    if (!c.file || !VarLengthFits(c, length)) return 0;
    int64_t recno = 0;
    if (!StoreRecord(*c.session, *c.file->group, 0, record, length, true, &recno)) return 0;
    c.file->current = recno;
    c.file->positionKeyNumber = 0;
    return 1;
}

// Many new rows in statements of kRowsPerInsert rows (the last one shorter), each statement
// prepared once per size and session. Done on success, else the failure.
constexpr int kRowsPerInsert = 64;

static StepResult InsertRows(Session& s, const FileGroupDef& g, const int64_t* recnos, const void* const* records,
                      const int* lengths, int count) {
    std::string columns = "recno, rec", row = "(?, ?";
    for (const KeyDef& k : g.keys) {
        columns += ", " + Column(k);
        row += ", ?";
    }
    row += ")";
    std::string sql = "INSERT INTO " + Table(g) + "(" + columns + ") VALUES " + row;
    for (int i = 1; i < count; ++i) sql += ", " + row;
    CachedStatement st(s, sql);
    if (!st) return StepResult::Error;
    int column = 1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* bytes = static_cast<const uint8_t*>(records[i]);
        const size_t length = static_cast<size_t>(lengths ? lengths[i] : g.recordLength);
        st.Int(column++, recnos[i]);
        st.Blob(column++, std::string(reinterpret_cast<const char*>(bytes), length));
        for (const KeyDef& k : g.keys) st.Blob(column++, KeyValueOf(k, bytes, recnos[i]));
    }
    return st.Step();
}

int QDB_AddRecs(QdbFile file, int count, const void* const* records, const int* lengths) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    Session& s = *c.session;
    const FileGroupDef& g = *c.file->group;
    if (g.recordLength == 0)
        return Fail(&s, kQdbBadRecordSize, g.firstNumber, "no record layout is defined for this file"), 0;
    if ((g.mode & 4) && !lengths)
        return Fail(&s, kQdbBadRecordSize, g.firstNumber, "records of this file have a variable length"), 0;
    for (int i = 0; lengths && i < count; ++i)
        if ((g.mode & 4) ? !VarLengthFits(c, lengths[i]) : lengths[i] != g.recordLength)
            return (g.mode & 4) ? 0 : (Fail(&s, kQdbBadRecordSize, g.firstNumber, "a record of the wrong length"), 0);
    if (count <= 0) return Done(&s, g.firstNumber);
    EndReadSnapshotForWrite(s);
    if (InjectedFault()) {
        if (s.transaction) s.transactionFailed = true;
        return Fail(&s, kQdbStorageError, g.firstNumber, "write refused (injected fault)"), 0;
    }
    const bool own = !s.transaction && !s.bulk;
    if (own && !s.store->BeginWrite())
        return Fail(&s, kQdbStorageError, g.firstNumber, std::string("cannot begin a write: ") + s.store->Error()), 0;
    std::vector<int64_t> recnos;
    bool numbered;
    if (s.bulk && s.store->BulkKeepsWritersOut()) {
        int64_t first = 0;
        numbered = BulkNextRecno(s, g, &first);
        for (int i = 0; numbered && i < count; ++i) recnos.push_back(first + i);
    } else {
        numbered = s.store->NextRecnos(g, count, &recnos);
    }
    if (!numbered) {
        const std::string reason = std::string("cannot count the records: ") + s.store->Error();
        if (own) s.store->Rollback();
        if (s.transaction) s.transactionFailed = true;
        return Fail(&s, kQdbStorageError, g.firstNumber, reason), 0;
    }
    int done = 0;
    StepResult rc = StepResult::Done;
    while (done < count && rc == StepResult::Done) {
        const int rows = std::min(kRowsPerInsert, count - done);
        rc = InsertRows(s, g, recnos.data() + done, records + done, lengths ? lengths + done : nullptr, rows);
        if (rc != StepResult::Done) break;
        done += rows;
        if (s.bulk) {
            s.bulkNextRecno[g.firstNumber] = recnos[static_cast<size_t>(done - 1)] + 1;
            for (int i = 0; i < rows; ++i)
                if (!AfterBulkStatement(s, true))
                    return Fail(&s, kQdbStorageError, g.firstNumber, std::string("bulk commit failed: ") + s.store->Error()), 0;
        } else {
            s.writes += static_cast<uint64_t>(rows);
        }
    }
    if (rc != StepResult::Done) {
        const int failed = ExecWrite(s, g, "write", rc);  // the result and reason of the refusal
        if (s.bulk) AfterBulkStatement(s, false);
        if (s.transaction) s.transactionFailed = true;
        if (own) s.store->Rollback();
        return failed;
    }
    if (own && (InjectedFault() || !s.store->Commit())) {
        std::string reason = std::string("commit failed: ") + s.store->Error();
        s.store->Rollback();
        return Fail(&s, kQdbStorageError, g.firstNumber, reason), 0;
    }
    c.file->current = recnos.back();
    c.file->positionKeyNumber = 0;
    return Done(&s, g.firstNumber);
}

int QDB_WriteVRec(QdbFile file, const void* record, int length) {
    FileContext c = Resolve(file);
    if (!c.file || !VarLengthFits(c, length)) return 0;
    return RewriteCurrent(c, record, length);
}

// The stored bytes of the current record; false (result set) when there is none.
static bool CurrentRecordBytes(FileContext& c, std::string* bytes) {
    const FileGroupDef& g = *c.file->group;
    if (c.file->current == 0) return Fail(c.session, kQdbNoCurrentRecord, g.firstNumber, "no current record"), false;
    CachedStatement st(*c.session, "SELECT rec FROM " + Table(g) + " WHERE recno = ?");
    if (!st) return Fail(c.session, kQdbStorageError, g.firstNumber, c.session->store->Error()), false;
    st.Int(1, c.file->current);
    if (st.Step() != StepResult::Row)
        return Fail(c.session, kQdbNotFound, g.firstNumber, "the current record is gone"), false;
    st.s->ColumnBlob(0, bytes);
    return true;
}

int QDB_GetVarRecLength(QdbFile file) {
    FileContext c = Resolve(file);
    std::string bytes;
    if (!c.file || !CurrentRecordBytes(c, &bytes)) return 0;
    Done(c.session, c.file->group->firstNumber);
    return static_cast<int>(bytes.size());
}

int QDB_ReadEntireVarRec(QdbFile file, void* buffer, int buffer_size) {
    FileContext c = Resolve(file);
    std::string bytes;
    if (!c.file || !CurrentRecordBytes(c, &bytes)) return 0;
    const FileGroupDef& g = *c.file->group;
    if (bytes.size() > static_cast<size_t>(buffer_size))
        return Fail(c.session, kQdbBufferTooSmall, g.firstNumber,
                    "the record has " + std::to_string(bytes.size()) + " bytes, the buffer " + std::to_string(buffer_size)), 0;
    std::memcpy(buffer, bytes.data(), bytes.size());
    return Done(c.session, g.firstNumber);
}

int QDB_DeleteCurRec(QdbFile file) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    if (c.file->current == 0) return Fail(c.session, kQdbNoCurrentRecord, g.firstNumber, "no current record"), 0;
    uint64_t offset = 0;
    bool taken_here = false;
    if (!LockForChange(c, &offset, &taken_here)) return 0;
    EndReadSnapshotForWrite(*c.session);
    int ok = 0;
    if (InjectedFault()) {
        Fail(c.session, kQdbStorageError, g.firstNumber, "delete refused (injected fault)");
    } else {
        CachedStatement st(*c.session, "DELETE FROM " + Table(g) + " WHERE recno = ?");
        if (st) st.Int(1, c.file->current);
        ok = ExecWrite(*c.session, g, "delete", st ? st.Step() : StepResult::Error);
    }
    if (c.session->bulk) {
        // The delete joined the open transaction; it counts as one of its records.
        if (!AfterBulkStatement(*c.session, ok != 0)) {
            ok = 0;
            Fail(c.session, kQdbStorageError, g.firstNumber, std::string("bulk commit failed: ") + c.session->store->Error());
        }
    } else {
        ++c.session->writes;
        if (!ok && c.session->transaction) c.session->transactionFailed = true;
    }
    // A record gone is no longer locked, unless the caller locked it (a lock on its key may
    // stand for a record made again in the same change).
    if (taken_here) DropLock(*c.session, offset);
    if (ok) c.file->current = 0;
    return ok;
}

int QDB_LKISAM(QdbSession session, int mode) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    if (mode == 0 || mode == 1) {
        // Locks that an open transaction's writes took stay until its end.
        for (auto it = s->held.begin(); it != s->held.end();) {
            if (s->transactionLocks.count(*it)) {
                ++it;
                continue;
            }
            s->store->Unlock(*it);
            it = s->held.erase(it);
        }
    }
    if (mode != 1) s->lockMode = mode;  // 1 releases and keeps locking as it was
    return Done(s, 0);
}

int QDB_LockKey(QdbFile file, int key_number, const void* key_buffer) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    const KeyDef* k = IdentityKey(g);
    if (!k || k->number != key_number)
        return Fail(c.session, kQdbBadKey, key_number, "records of this file are not locked by this key"), 0;
    if (uint16_t locked = TakeLock(*c.session, IdentityLockOffset(g, KeyBytes(*k, key_buffer, k->Length()))))
        return FailLock(c.session, locked, g.firstNumber);
    return Done(c.session, g.firstNumber);
}

int QDB_GetLockMode(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->lockMode : 0;
}

int QDB_UnlockCurRecord(QdbFile file) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    if (c.file->current) DropLock(*c.session, CurrentLockOffset(c));
    return Done(c.session, c.file->group->firstNumber);
}

int QDB_StartLocking(QdbSession session) {
    Session* s = SessionOf(session);
    if (s) s->lockingPaused = false;
    return QDB_LKISAM(session, 2);
}

int QDB_StopLocking(QdbSession session) {
    Session* s = SessionOf(session);
    if (s) s->lockingPaused = false;
    return QDB_LKISAM(session, 0);
}

static int SetLockingPaused(QdbSession session, bool paused) {
    Session* s = SessionOf(session);
    if (!s) return Fail(nullptr, kQdbNoSession, 0, "no session"), 0;
    s->lockingPaused = paused;
    return Done(s, 0);
}

int QDB_PauseLocking(QdbSession session) { return SetLockingPaused(session, true); }
int QDB_ResumeLocking(QdbSession session) { return SetLockingPaused(session, false); }

QdbUpdate QDB_StartUpdate(QdbFile file, int, int key_number, const void* key_buffer, void* record) {
    FileContext c = Resolve(file);
    if (!c.file) return 0;
    if (c.file->group->mode & 4)
        return Fail(c.session, kQdbBadRecordSize, c.file->group->firstNumber, "records of this file have a variable length"), 0;
    int saved_mode = c.session->lockMode;
    c.session->lockMode = 0;  // find first, then lock exactly this record
    int found = QDB_FindRec(file, key_number, key_buffer, nullptr);
    c.session->lockMode = saved_mode;
    if (!found) return 0;
    const FileGroupDef& g = *c.file->group;
    const uint64_t offset = CurrentLockOffset(c);
    bool already = c.session->held.count(offset) > 0;
    if (uint16_t locked = TakeLock(*c.session, offset)) return FailLock(c.session, locked, g.firstNumber);
    // Read again under the lock, so the caller changes what is stored now.
    CachedStatement st(*c.session, "SELECT rec FROM " + Table(g) + " WHERE recno = ?");
    std::string stored;
    if (st) {
        st.Int(1, c.file->current);
        if (st.Step() == StepResult::Row) st.s->ColumnBlob(0, &stored);
    }
    if (stored.empty() || !RecordFits(g, stored.size())) {
        if (!already) DropLock(*c.session, offset);
        return Fail(c.session, kQdbNotFound, g.firstNumber, "no such record"), 0;
    }
    std::memcpy(record, stored.data(), static_cast<size_t>(g.recordLength));
    QdbUpdate handle = engine.nextHandle++;
    engine.updates[handle] = UpdateState{file, c.file->current, record, !already, offset};
    Done(c.session, g.firstNumber);
    return handle;
}

static int FinishUpdate(QdbUpdate handle, bool write) {
    auto it = engine.updates.find(handle);
    if (it == engine.updates.end()) return 0;
    UpdateState u = it->second;
    engine.updates.erase(it);
    FileContext c = Resolve(u.file);
    if (!c.file) return 0;
    const FileGroupDef& g = *c.file->group;
    int ok = write ? StoreRecord(*c.session, g, u.recno, u.buffer, g.recordLength, false, nullptr)
                   : Done(c.session, g.firstNumber);
    if (u.lockedHere && c.session->transaction) c.session->transactionLocks.insert(u.lockOffset);
    else if (u.lockedHere) DropLock(*c.session, u.lockOffset);
    return ok;
}

int QDB_CommitUpdate(QdbUpdate update) { return FinishUpdate(update, true); }
int QDB_AbortUpdate(QdbUpdate update) { return FinishUpdate(update, false); }

uint16_t QDB_GetLastResultNum(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->lastResult : kQdbNoSession;
}
uint16_t QDB_GetLastErrorNum(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->lastError : kQdbNoSession;
}
uint16_t QDB_GetLastFileNum(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->lastFile : 0;
}
const char* QDB_GetLastReason(QdbSession session) {
    Session* s = SessionOf(session);
    return s ? s->reason.c_str() : engine.reason.c_str();
}

int QDB_RecordLength(int data_file_number) {
    const FileGroupDef* g = FindFileGroup(data_file_number);
    return g ? g->recordLength : 0;
}

int QDB_KeyLength(int key_number) {
    const FileGroupDef* g = FindFileGroup(key_number);
    const KeyDef* k = g ? FindKey(*g, key_number) : nullptr;
    return k ? k->Length() : 0;
}
