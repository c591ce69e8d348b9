// The record database engine (QVNDB32): the QDB_ calls the appointment book makes, over the
// practice's storage (storage.h): one SQLite file "qvn.db" in the practice's data directory, or,
// when its "qvndata.inf" says so in [DATABASE] (Backend=PostgreSQL, Connection=an ODBC
// connection string without a password), a PostgreSQL server.
//
// Every data file number N and its key numbers N+1, N+2, ... form a file group, opened as one
// file handle. Each group is one table: the record as a blob in physical order (its record
// number) and one indexed blob column per key, made of byte segments of the record; keys that
// are not unique carry the record number as a tail, so equal keys keep insertion order.
//
// Sessions are separate connections with record locks of their own (SQLite: a handle on the lock
// file "qvn.lck" and byte-range locks there; PostgreSQL: the connection's session-level advisory
// locks), so two sessions of one process lock against each other as two workstations do, and a
// session or process that ends releases its locks. A
// record's lock stands for the value of its group's first unique key (the record number in
// groups without one), so a record can be locked before it exists (QDB_LockKey).
//
// Every call records its result number in the session, read back with QDB_GetLastResultNum.
#pragma once

#include <cstdint>

// Result numbers the program interprets.
constexpr uint16_t kQdbOk = 0;
constexpr uint16_t kQdbNoSession = 12;
constexpr uint16_t kQdbGroupNotOpen = 26;   // or a number that belongs to no group
constexpr uint16_t kQdbLocked = 42;
constexpr uint16_t kQdbFileInUse = 46;      // open refused: the group is held exclusively
                                            // elsewhere, or (exclusive open) open elsewhere
constexpr uint16_t kQdbNotFound = 101;      // no such record, or the end of the set or file
// Result numbers of our own.
constexpr uint16_t kQdbStorageError = 60;   // the database refused: disk full, read-only folder, ...
constexpr uint16_t kQdbBadRecordSize = 61;  // the group has no fixed record layout defined yet
constexpr uint16_t kQdbNoGroupFiles = 62;   // the group's table was never created (QDB_CREIFIL)
constexpr uint16_t kQdbNotADatabase = 63;   // the file is not a database of ours
constexpr uint16_t kQdbNoCurrentRecord = 64;
constexpr uint16_t kQdbDuplicateKey = 65;   // a unique key that is already taken
constexpr uint16_t kQdbBadHandle = 66;
constexpr uint16_t kQdbBadKey = 67;         // a key number that is not a key of the group
constexpr uint16_t kQdbWrongLength = 68;    // a stored record is not as long as its file's records
constexpr uint16_t kQdbBufferTooSmall = 69; // a variable-length record longer than the buffer
constexpr uint16_t kQdbNoSet = 70;          // mid-set without a set of that key on the file
constexpr uint16_t kQdbBulkState = 71;      // bulk writing begun twice, or ended when not on
constexpr uint16_t kQdbConnectionLost = 72; // the database server cannot be reached any more: the
                                            // session's open transaction is gone, its locks too;
                                            // only a new session goes on

using QdbSession = uint16_t;
using QdbFile = uint32_t;
using QdbSet = uint32_t;
using QdbUpdate = uint32_t;

// 1 when the data directory's database is there, 2 when it is not (or its qvndata.inf names an
// unknown backend or a server that cannot be reached; QDB_GetLastReason(0) says which).
// Remembers the directory for the sessions started afterwards.
int QDB_InitDataBase(const char* data_directory);
// Creates an empty database where the directory's qvndata.inf says (for the admin tool and
// tests; on a server, in the database the connection names); 1 on success.
int QDB_CreateDataBase(const char* data_directory);

// Ending a session gives back every lock it held and rolls back what it left open. A session
// that ended cleanly is kept, connection and prepared statements, for the next start on the same
// directory in the same process (QDB_InitDataBase forgets them): the many short sessions of
// saves and locked edits then cost little.
QdbSession QDB_StartSession(int kind);  // 0 on failure
int QDB_EndSession(QdbSession session);

// Bulk writing, for tools only (seeding a large practice, an import), and only while no other
// workstation works: the session takes the database's write lock at the start and holds it to
// the end, so the writes of every other session wait and then fail with 60. While it is on, the
// session's writes (adds, rewrites, deletes) join one open transaction instead of making one
// transaction each; every records_per_commit records (0: 20000) that transaction is committed
// and the next one begun, which bounds the journal and what a crash can lose. Record locks and
// reads work as always; the session reads its own uncommitted records. On PostgreSQL other
// sessions' writes are not held off (tools write in bulk only while nobody works), and a refused
// record uses up its record number (a sequence never hands one out twice).
// Ending with commit 1 commits the rest; commit 0 rolls back what was written since the last
// intermediate commit (the records committed before stay). Ending the session while bulk
// writing is on rolls back the same way. Both return 1 on success, 0 with the result set: 71
// when bulk writing is on already (or not on), 60 when the database refused, or, at the end, when a
// failed write made the database drop the open transaction, so that records were lost.
int QDB_BeginBulkWrite(QdbSession session, int records_per_commit = 0);
int QDB_EndBulkWrite(QdbSession session, int commit);

// Reading many records at once (the shown days of the sheet): between begin and end the
// session's reads share one read transaction, so the database's shared lock is taken once
// instead of once per statement, and they all see the database as it was at the first of them.
// On SQLite other sessions' writes wait for the end (their busy wait), so keep it short; on
// PostgreSQL they go on and the snapshot does not see them. Pairs nest; a
// write of the session ends the snapshot at once (the write is committed as always) and the
// reads after it lock per statement again. Both return 1, or 0 with the result set: 71 for an
// end without a begin.
int QDB_BeginReadSnapshot(QdbSession session);
int QDB_EndReadSnapshot(QdbSession session);

// One change of several records (an appointment save: its week records, the appointment, the
// new-patient record, the audit entry): between begin and commit the session's writes join one
// transaction, so that all of them are stored or none. Begin takes the database's write lock
// and holds it to the end, so keep everything that may wait on the user (record locks,
// questions) before the begin. A failed write dooms the transaction: commit then fails and rolls
// back. Locks that the writes take for themselves stay to the end. Ending the session while a
// transaction is open rolls it back. Each returns 1, or 0 with the result set: 71 when a
// transaction or bulk writing is open already (or none is open), 60 when the database refused.
int QDB_BeginTransaction(QdbSession session);
int QDB_CommitTransaction(QdbSession session);
int QDB_AbortTransaction(QdbSession session);

// Tests only: the nth record lock, record write or commit from now on (counted over every
// session of the process) fails with 60 as if the disk had refused it; 0 turns it off.
// QDB_PendingFault says how many operations are still to come before it (0: it has happened or
// none is set).
void QDB_FailNthOperation(int64_t n);
int64_t QDB_PendingFault();

// A handle for the group of the number, or 0.
// A shared open keeps exclusive opens of other sessions out; an exclusive open keeps every other
// open out. Both fail with 46 when the other side holds the group.
QdbFile QDB_OpenFile(QdbSession session, int file_number);
QdbFile QDB_OpenFileExclusive(QdbSession session, int file_number);
int QDB_CloseFile(QdbFile file);
// 1 shared, 2 exclusive: switches every file the session has open (46 and no change when another
// session stands in the way) and is the mode of the session's later QDB_OpenFile calls.
int QDB_SetAccessMode(QdbSession session, int mode);
int QDB_GetAccessMode(QdbSession session);
int QDB_CREIFIL(QdbSession session, int data_file_number);  // creates the group's table

// Navigation: each copies the record into record and makes it current; 1 on success, 0 on
// failure (result 101 at the end or when nothing matches). key_or_file is a key number of the
// group, or the data file number for physical order.
int QDB_FindRec(QdbFile file, int key, const void* key_buffer, void* record);
// Exact matches of count values of a unique key at once (key_buffers: the values one after the
// other, each the key's length): records[i] (the file's record length each) gets the record of
// the i-th value and found[i] 1, or found[i] 0 when there is none. One statement per 64 values,
// where QDB_FindRec would make one each; the current record stays as it was. Under lock mode 2
// each record is read and locked as QDB_FindRec does. 1 when all were looked for.
int QDB_FindRecs(QdbFile file, int key, int count, const void* key_buffers, void* records, uint8_t* found);
// The records whose key starts with any of count prefixes (prefixes: significant bytes each, one
// after the other): what many owners have in another file at once (the notes and lab cases of a
// day's appointments), one statement per 64 prefixes where a read or a set each would make one
// each. For every record found, sink(context, i, record, length) for each place i that asks for
// its prefix, the records of one prefix in key order; record is the whole record (of a
// variable-length group too: length says how long), valid during the call only. It reads
// without locking whatever the lock mode (for showing, never for changing) and leaves the
// current record as it was. 1 when all were looked for.
using QdbRecordSink = void (*)(void* context, int place, const void* record, int length);
int QDB_FindRecsByPrefixes(QdbFile file, int key, int count, const void* prefixes, int significant, QdbRecordSink sink,
                           void* context);
int QDB_GreaterThanOrEqualRec(QdbFile file, int key, const void* key_buffer, void* record);
int QDB_LessThanOrEqualRec(QdbFile file, int key, const void* key_buffer, void* record);
int QDB_FirstRec(QdbFile file, int key_or_file, void* record);
int QDB_LastRec(QdbFile file, int key_or_file, void* record);
int QDB_NextRec(QdbFile file, int key_or_file, void* record);
int QDB_PrevRec(QdbFile file, int key_or_file, void* record);

// Sets: the records whose key starts with the first significant bytes of key_buffer, forward
// from the first (direction 0) or backward from the last (1).
QdbSet QDB_StartSet(QdbFile file, int key, int direction, const void* key_buffer, void* record,
                    int significant);
int QDB_NextRecInSet(QdbSet set, void* record);
int QDB_PrevRecInSet(QdbSet set, void* record);
int QDB_EndSet(QdbSet set);

// Repositions the set of that key on the file (the one started last) at the first record of the
// set at or after key_buffer, and copies it: the set then goes on from there.
int QDB_MIDSET(QdbFile file, int key, const void* key_buffer, void* record);

// Physical positions: the record number of the current record (0 for none), a read by position,
// and making a position current without reading (key order then steps on from that record).
uint32_t QDB_GetFilePos(QdbFile file);
int QDB_ReadRec(QdbFile file, uint32_t position, void* record);
int QDB_SETCURI(QdbFile file, int key, uint32_t position);
// Sets the position in the order of key to the key value given, without a current record: the
// next QDB_NextRec / QDB_PrevRec on that key give the records after / before it.
int QDB_UPDCURI(QdbFile file, int key, const void* key_buffer);

// Records of a variable-length group (notes, audit entries) are a fixed head, the group's record
// length, followed by any number of bytes. Navigation copies only the head; these calls move the
// whole record. Length limits: the head at least, kQdbMaxVarRecord at most.
constexpr int kQdbMaxVarRecord = 1 << 20;
int QDB_AddVRec(QdbFile file, const void* record, int length);
int QDB_WriteVRec(QdbFile file, const void* record, int length);  // rewrites the current record
int QDB_GetVarRecLength(QdbFile file);                             // of the current record, 0 for none
int QDB_ReadEntireVarRec(QdbFile file, void* buffer, int buffer_size);

int QDB_AddRec(QdbFile file, const void* record);
// Adds count records (records[i], lengths[i] bytes; lengths may be null for a file of fixed
// length) with all their keys, many rows a statement: for moving whole files, where one QDB_AddRec
// each would make a round trip each to a server. Inside a bulk write or transaction the records
// join it; otherwise the call is one transaction, all or nothing. On a failure inside a bulk
// write some of the records may be in; end it without commit to take them back. The last record
// added becomes the current record. 1 on success.
int QDB_AddRecs(QdbFile file, int count, const void* const* records, const int* lengths);
int QDB_WriteRec(QdbFile file, const void* record);  // rewrites the current record
int QDB_DeleteCurRec(QdbFile file);

// Lock modes: 2 (and 5, 6) = records read from now on are locked for the session; 0 = release
// all and lock no more; 1 = release all and go on as before.
int QDB_LKISAM(QdbSession session, int mode);
int QDB_GetLockMode(QdbSession session);
// Locks the record whose identity key (the group's first unique key) has this value, whether or
// not such a record exists yet, until the session's locks are released (lock mode 0 or 1,
// QDB_StopLocking, the end of the session). 0 with 42 when another session holds it, 67 when
// key is not the group's identity key.
int QDB_LockKey(QdbFile file, int key, const void* key_buffer);
int QDB_UnlockCurRecord(QdbFile file);
// Locking on a private session: start = records read from now on are locked; stop = release all
// and lock no more; pause keeps what is held but locks nothing new until resume.
int QDB_StartLocking(QdbSession session);
int QDB_StopLocking(QdbSession session);
int QDB_PauseLocking(QdbSession session);
int QDB_ResumeLocking(QdbSession session);

// Read-modify-write of one record: found by the full key and locked; commit writes back the
// buffer given here and unlocks, abort only unlocks. 0 on failure (result 101 or 42).
QdbUpdate QDB_StartUpdate(QdbFile file, int lock_mode, int key, const void* key_buffer, void* record);
int QDB_CommitUpdate(QdbUpdate update);
int QDB_AbortUpdate(QdbUpdate update);

uint16_t QDB_GetLastResultNum(QdbSession session);
uint16_t QDB_GetLastErrorNum(QdbSession session);
uint16_t QDB_GetLastFileNum(QdbSession session);
// 0 without a session, 1 when the practice database is open for everyone, 2 while some file
// group is held exclusively by another session (maintenance).
int QDB_GetPracticeState(QdbSession session);
// 1 while the session still reaches its database; 0 without a session, or with result 72 when
// the server is gone (then only a new session goes on). On a server it asks with a statement of
// no effect, outside the session's transaction only.
int QDB_CheckConnection(QdbSession session);
// A readable reason for the session's last failure ("" after success).
const char* QDB_GetLastReason(QdbSession session);

// Record length of a group's data file (0 when no fixed layout is defined yet).
int QDB_RecordLength(int data_file_number);
// Byte length of a key (without the record-number tail), 0 for no such key.
int QDB_KeyLength(int key_number);
