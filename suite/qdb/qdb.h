// The record database engine (QVNDB32): the QDB_ calls the appointment book makes, over one
// SQLite file "qvn.db" in the practice's data directory.
//
// Every data file number N and its key numbers N+1, N+2, ... form a file group, opened as one
// file handle. Each group is one table: the record as a blob in physical order (its record
// number) and one indexed blob column per key, made of byte segments of the record; keys that
// are not unique carry the record number as a tail, so equal keys keep insertion order.
//
// Sessions are separate SQLite connections with their own handle on the lock file "qvn.lck":
// record locks are byte-range locks there, so two sessions of one process lock against each
// other as two workstations do, and a session or process that ends releases its locks.
//
// Every call records its result number in the session, read back with QDB_GetLastResultNum.
#pragma once

#include <cstdint>

// Result numbers the program interprets.
constexpr uint16_t kQdbOk = 0;
constexpr uint16_t kQdbNoSession = 12;
constexpr uint16_t kQdbGroupNotOpen = 26;   // or a number that belongs to no group
constexpr uint16_t kQdbLocked = 42;
constexpr uint16_t kQdbNotFound = 101;      // no such record, or the end of the set or file
// Result numbers of our own.
constexpr uint16_t kQdbStorageError = 60;   // SQLite refused: disk full, read-only folder, ...
constexpr uint16_t kQdbBadRecordSize = 61;  // the group has no fixed record layout defined yet
constexpr uint16_t kQdbNoGroupFiles = 62;   // the group's table was never created (QDB_CREIFIL)
constexpr uint16_t kQdbNotADatabase = 63;   // the file is not a database of ours
constexpr uint16_t kQdbNoCurrentRecord = 64;
constexpr uint16_t kQdbDuplicateKey = 65;   // a unique key that is already taken
constexpr uint16_t kQdbBadHandle = 66;
constexpr uint16_t kQdbBadKey = 67;         // a key number that is not a key of the group

using QdbSession = uint16_t;
using QdbFile = uint32_t;
using QdbSet = uint32_t;
using QdbUpdate = uint32_t;

// 1 when the data directory holds a database, 2 when it does not. Remembers the directory for
// the sessions started afterwards.
int QDB_InitDataBase(const char* data_directory);
// Creates an empty database in the directory (for the admin tool and tests); 1 on success.
int QDB_CreateDataBase(const char* data_directory);

QdbSession QDB_StartSession(int kind);  // 0 on failure
int QDB_EndSession(QdbSession session);

// A handle for the group of the number, or 0.
QdbFile QDB_OpenFile(QdbSession session, int file_number);
QdbFile QDB_OpenFileExclusive(QdbSession session, int file_number);
int QDB_CloseFile(QdbFile file);
int QDB_CREIFIL(QdbSession session, int data_file_number);  // creates the group's table

// Navigation: each copies the record into record and makes it current; 1 on success, 0 on
// failure (result 101 at the end or when nothing matches). key_or_file is a key number of the
// group, or the data file number for physical order.
int QDB_FindRec(QdbFile file, int key, const void* key_buffer, void* record);
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

int QDB_AddRec(QdbFile file, const void* record);
int QDB_WriteRec(QdbFile file, const void* record);  // rewrites the current record
int QDB_DeleteCurRec(QdbFile file);

// Lock modes: 2 = records read from now on are locked for the session; 0 = release all.
int QDB_LKISAM(QdbSession session, int mode);
int QDB_GetLockMode(QdbSession session);
int QDB_UnlockCurRecord(QdbFile file);

// Read-modify-write of one record: found by the full key and locked; commit writes back the
// buffer given here and unlocks, abort only unlocks. 0 on failure (result 101 or 42).
QdbUpdate QDB_StartUpdate(QdbFile file, int lock_mode, int key, const void* key_buffer, void* record);
int QDB_CommitUpdate(QdbUpdate update);
int QDB_AbortUpdate(QdbUpdate update);

uint16_t QDB_GetLastResultNum(QdbSession session);
uint16_t QDB_GetLastErrorNum(QdbSession session);
uint16_t QDB_GetLastFileNum(QdbSession session);
// A readable reason for the session's last failure ("" after success).
const char* QDB_GetLastReason(QdbSession session);

// Record length of a group's data file (0 when no fixed layout is defined yet).
int QDB_RecordLength(int data_file_number);
// Byte length of a key (without the record-number tail), 0 for no such key.
int QDB_KeyLength(int key_number);
