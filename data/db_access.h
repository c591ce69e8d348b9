// The program's layer in front of the record database: one shared session, the file groups
// opened per operation, silent retries on locked records, the last outcome of every call, and
// second-tier operations that talk to the user when something goes wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "suite/qdb/qdb.h"

// Describes one file group as callers name it. Three 16-bit fields, in this order.
#pragma pack(push, 1)
struct FileGroupDesc {
    uint16_t groupIndex;  // slot of the open-handle table, 2 to 33
    uint16_t dataFile;    // data file number
    uint16_t mode;        // bit 0 shared; bit 2 variable-length records
};
#pragma pack(pop)
static_assert(sizeof(FileGroupDesc) == 6);
static_assert(offsetof(FileGroupDesc, groupIndex) == 0);
static_assert(offsetof(FileGroupDesc, dataFile) == 2);
static_assert(offsetof(FileGroupDesc, mode) == 4);

// Process-wide state of the layer.
struct DbState {
    QdbSession session = 0;
    uint32_t openHandles[34] = {};
    uint16_t openCounts[34] = {};  // opens of the group not yet closed: one engine open serves them all
    uint32_t setHandles[34] = {};  // the open set of each group
    uint16_t lastResult = 0, lastError = 0, lastFile = 0;
    int retryCount = 10;
    int pauseMs = 0;
};
extern DbState db_state;

// The group descriptor of any number of a group (its data file or a key); false for none.
bool DbGroupOf(int number, FileGroupDesc* desc);

// [QVCTREEM] RETRY and PAUSE with their limits: PAUSE at most 200; when RETRY x PAUSE exceeds
// 2000 and PAUSE is at least 1, RETRY becomes 2000 / PAUSE.
void DbReadRetrySettings();
void DbLimitRetry(int retry, int pause, int* limited_retry, int* limited_pause);

// Session.
bool DbInitDatabase();
uint16_t DbStartSession();
void DbEndSession();
bool DbRestartSession();
void DbInstallSession(QdbSession session);

// A server database that went away (restarted, the network down) leaves the session of no more
// use: nothing of a change in flight was stored (its transaction is gone with the connection).
// DbReconnect tells the user "The practice database cannot be reached." with Retry / Cancel and
// starts a new session on Retry, asking again while the database stays away; true when a new
// session runs. The shown days must then be loaded again: what they show may have changed.
extern const char kDatabaseUnreachable[];
bool DbReconnect();
// After a Cancel the operation that asked ends without asking again, and the next operation
// that needs the database asks again (on Retry it goes on in the new session).
// For the refresh timer (and after every question): whether the session still reaches its
// database, asking as above when it does not. kRestored: a new session runs (read again what is
// shown); kLost: the user cancelled, and the timer asks no more.
enum class DbConnection { kKept, kRestored, kLost };
DbConnection DbKeepConnection();
// Called after every question, for the window to call DbKeepConnection once the operation that
// asked has ended (a window posts itself a message).
void DbWhenAsked(std::function<void()> hook);

// An operation that works on a session of its own (a save, a record changed under its lock, a
// job for the print queue) starts it here. When the database cannot be reached, the question
// above, and on Retry the operation goes on in the new session; 0 after Cancel (the operation
// ends quietly), or when no session can be had for another reason (then "Database error 12"
// for data_file).
QdbSession DbStartOwnSession(int data_file);
// A failed result, of the shared session or of an operation's own: when it says the database
// cannot be reached, the question above (true: the caller shows nothing of its own); false
// for any other failure.
bool DbAskWhenUnreachable(uint16_t result);
// QVN_ReportDbError for data_file, or the question above when the database cannot be reached.
void DbReportError(int data_file, uint16_t error, int last_file);

// Open and close a group. Open failures are reported to the user by the rules of the data file.
uint16_t DbOpenGroup(const FileGroupDesc& desc);
uint16_t DbCloseGroup(const FileGroupDesc& desc);

// Opens a group for the span of one operation and closes it on every way out.
class DbGroupScope {
public:
    explicit DbGroupScope(const FileGroupDesc& desc) : desc_(desc), result_(DbOpenGroup(desc)) {}
    ~DbGroupScope() { DbCloseGroup(desc_); }
    DbGroupScope(const DbGroupScope&) = delete;
    DbGroupScope& operator=(const DbGroupScope&) = delete;
    uint16_t Result() const { return result_; }

private:
    FileGroupDesc desc_;
    uint16_t result_;
};

// One read transaction for a burst of reads, on the access layer's session or on an operation's
// own, so that each read does not take and give back the database's shared lock on its own
// (QDB_BeginReadSnapshot). Keep it around reads only: a write in between ends it early. End
// closes it before its scope does, when locks or writes follow the reads in the same scope.
class DbReadSnapshot {
public:
    explicit DbReadSnapshot(QdbSession session = db_state.session)
        : session_(session), open_(session_ != 0 && QDB_BeginReadSnapshot(session_) != 0) {}
    ~DbReadSnapshot() { End(); }
    DbReadSnapshot(const DbReadSnapshot&) = delete;
    DbReadSnapshot& operator=(const DbReadSnapshot&) = delete;
    void End() {
        if (open_) QDB_EndReadSnapshot(session_);
        open_ = false;
    }

private:
    QdbSession session_;
    bool open_;
};

// First tier: each returns the result number and records the outcome.
const void* DbPrepareKey(const void* key_buffer);
uint16_t DbFind(int key, const void* key_buffer, void* record);
// count exact matches of a unique key in one go (QDB_FindRecs): found[i] says whether records[i] was read.
uint16_t DbFindMany(int key, int count, const void* key_buffers, void* records, uint8_t* found);
// The records of count key prefixes in one go (QDB_FindRecsByPrefixes), read without locking:
// found(place, record, length) for each record of the prefix of each place.
using DbPrefixSink = std::function<void(int place, const void* record, int length)>;
uint16_t DbFindByPrefixes(int key, int count, const void* prefixes, int significant, const DbPrefixSink& found);
uint16_t DbFirst(int key_or_file, void* record);
uint16_t DbLast(int key_or_file, void* record);
uint16_t DbNext(int key_or_file, void* record);
uint16_t DbGreaterEqual(int key, const void* key_buffer, void* record);
uint16_t DbStartSetForward(int key, const void* key_buffer, void* record, int significant);
uint16_t DbNextInSet(int key, void* record);
uint16_t DbAddVariable(int file, const void* record, int length);
uint16_t DbReadEntireVariable(int file, void* buffer, int buffer_size);
// These two return the library's value (0 when the group is not open), not a result number.
int DbVariableLength(int file);
uint32_t DbFilePosition(int file);
uint16_t DbAdd(int file, const void* record);
uint16_t DbWrite(int file, const void* record);
uint16_t DbDelete(int file);
uint16_t DbLock(int mode);
uint16_t DbCreateGroupFiles(int file);

// Message numbers of the open, close, lock, delete and write failures of a data file.
enum DbMessageKind { kDbMsgOpen, kDbMsgClose, kDbMsgLock, kDbMsgDelete, kDbMsgWrite };
int DbMessageNumber(DbMessageKind kind, int data_file, uint16_t result);

// Second tier: open the group, work, tell the user about failures, close the group.
uint16_t DbFindRecord(const FileGroupDesc& desc, int key, const void* key_buffer, int key_length, void* record);
uint16_t DbReadForUpdate(const FileGroupDesc& desc, int key, const void* key_buffer, int key_length,
                         void* record, bool lock);
uint16_t DbUpdateRecord(const FileGroupDesc& desc, int key, const void* key_buffer, int key_length,
                        void* old_record, const void* new_record, bool add);
uint16_t DbSaveRecord(const FileGroupDesc& desc, int key, const void* key_buffer, int key_length,
                      void* old_record, const void* new_record, bool add);
uint16_t DbWriteCurrent(const FileGroupDesc& desc, const void* record);
uint16_t DbAddRecord(const FileGroupDesc& desc, const void* record);
uint16_t DbDeleteCurrent(const FileGroupDesc& desc);
