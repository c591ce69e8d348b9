// The fixed table of file groups and the key table: which numbers form a group, how long its
// records are, and which record bytes make each key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A segment of text that compares without regard to case is stored in upper case (the
// Windows-1252 letters folded), and so is a key value a caller searches with: "smi" finds
// "Smith" as the front desk expects.
struct KeySegment {
    int offset;
    int length;
    bool foldCase = false;
};

struct KeyDef {
    int number;                        // the key number (data file number + 1, + 2, ...)
    bool unique;
    std::vector<KeySegment> segments;  // in order; the key is their bytes one after another
    int Length() const;
};

struct FileGroupDef {
    int firstNumber;     // the data file number
    int lastNumber;      // its last key number
    int groupIndex;      // slot of the open-handle table, 2 to 33
    int mode;            // bit 0 shared, bit 2 variable-length records
    int recordLength;    // 0: no fixed layout defined yet
    std::vector<KeyDef> keys;
};

// The group a number belongs to, or nullptr.
const FileGroupDef* FindFileGroup(int number);
// The key of a group, or nullptr when the number is not one of its keys.
const KeyDef* FindKey(const FileGroupDef& group, int key_number);

// The stored value of a key for a record: its segments one after another, and for a key that
// is not unique the record number as 8 big-endian bytes, so equal keys sort as they were added.
std::string KeyValueOf(const KeyDef& key, const uint8_t* record, int64_t recno);

// Upper-cases the bytes of value that fall into the key's case-blind segments (value may be
// shorter than the key: a prefix).
void FoldKeyCase(const KeyDef& key, std::string* value);
