// The record locks of one change, taken before anything of it is read, in the one order that
// every writer of the program uses:
//
//   1. by data file number, lowest first (appointments 9 before new-patient records 49 before
//      RscUse 94);
//   2. within a file, by the bytes of the record's identity key (RscUse: kind, identifier, week,
//      so every provider week before every operatory week).
//
// Two changes that need some of the same records therefore meet at the first record they share
// and never hold one each while waiting for the other's. A lock stands for the key, so a record
// that the change will create (a week's first booking) is locked before it exists.
//
// A lock that another workstation holds is waited for as the retry settings say ([QVCTREEM]
// RETRY tries, PAUSE apart), but at least half a second in all: a save holds its locks only for
// its few writes, and the user should not be asked about that. Then the user is asked (Retry /
// Cancel, with the data file number); before asking, every lock taken so far is given back, so
// nobody waits on a workstation whose user is reading a message, and Retry starts over.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/db_access.h"
#include "suite/qdb/qdb.h"

class RecordLockSet {
public:
    explicit RecordLockSet(QdbSession session) : session_(session) {}

    // A record of an open file of the session, by its identity key (the file's first unique
    // key). Adding the same record twice locks it once.
    void Add(QdbFile file, int data_file, int key, const void* key_buffer, int key_length);

    // Takes every lock in order. False after Cancel (nothing is held then) or a failure of the
    // engine, which is reported with the lock message of the data file.
    bool TakeAll();

private:
    struct Wanted {
        QdbFile file;
        int dataFile;
        int key;
        std::string keyBytes;
    };
    // 0 when held, else the result of the last try.
    uint16_t WaitFor(const Wanted& lock);
    QdbSession session_;
    std::vector<Wanted> wanted_;
};

// One record changed alone under its lock, on a private session: the record is locked by its
// key (waiting and asking as above), read again, handed to edit with whether it exists, and
// written as edit says: added when it did not exist, rewritten, or deleted. Every writer of a
// record that a save may also change (the RscUse week records above all) goes through here, so
// that no change is lost between a read and a rewrite.
enum class LockedEdit { kNothing, kWrite, kDelete };
using LockedEditFunction = std::function<LockedEdit(void* record, bool exists)>;
// The result number: 0 after a write or when edit wanted nothing, 42 after Cancel, another
// number after a failure (reported to the user).
uint16_t EditLockedRecord(int data_file, int key, const void* key_buffer, int key_length, void* record,
                          const LockedEditFunction& edit);

template <typename Record, typename Key, typename Edit>
uint16_t EditLocked(int data_file, int key, const Key& key_value, Edit edit) {
    Record record{};
    return EditLockedRecord(data_file, key, &key_value, sizeof key_value, &record,
                            [&](void* bytes, bool exists) { return edit(*static_cast<Record*>(bytes), exists); });
}

// The wait above for one lock: try_lock is tried again as the retry settings say while it fails
// with 42 on the session. 0 once it succeeds, else the result of the last try (42 when the time
// ran out: the caller asks the user).
uint16_t WaitForLock(QdbSession session, const std::function<bool()>& try_lock);

// Shows the engine's last failure on the session with the message of the data file for the
// kind of operation (lock, write, delete, ...).
void ReportChangeFailure(QdbSession session, DbMessageKind kind, int data_file);
