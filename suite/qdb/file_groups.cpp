// The file-group table and the keys of every group, as byte segments of the record.
//
// Record lengths and keys are given where the appointment book knows the layout; the groups
// of other modules carry no layout yet (record length 0) and refuse records until their
// layouts are defined. Where a key is "further bytes" beyond what the program names, we add
// the fields that give the order a user expects (appointments of a day by their start time).
#include "suite/qdb/file_groups.h"

#include "data/rscuse_record.h"
#include "suite/records/definitions.h"
#include "suite/records/practice_resource.h"
#include "suite/records/users.h"

// A key segment made of one field of a record.
#define FIELD(record, member) KeySegment{static_cast<int>(offsetof(record, member)), static_cast<int>(sizeof(record::member))}

namespace {

// Appointment record (286 bytes): id 2-5, date 6-9, operatory marker and id 10-14, provider
// marker and id 15-19, unscheduled flag 21, patient name 22-53, patient id 54-57, hour 153,
// minute 154.
const FileGroupDef kGroups[] = {
    {1, 5, 2, 1, 0, {}},
    {6, 8, 3, 1, sizeof(ResourceRecord), {{7, true, {FIELD(ResourceRecord, kind), FIELD(ResourceRecord, id)}}}},
    {9, 15, 14, 1, 286,
     {{10, false, {{6, 4}, {10, 1}, {11, 4}, {153, 1}, {154, 1}}},
      {11, false, {{6, 4}, {15, 1}, {16, 4}, {153, 1}, {154, 1}}},
      {12, false, {{22, 32}}},
      {13, true, {{2, 4}}},
      {14, false, {{54, 4}, {6, 4}}},
      {15, false, {{21, 1}, {15, 1}, {16, 4}, {64, 4}}}}},
    {16, 17, 17, 1, 0, {}},
    {18, 27, 4, 1, 558, {}},  // patients: keys come with the patient record's layout
    {36, 37, 6, 1, sizeof(UserRecord), {{37, true, {FIELD(UserRecord, loginName)}}}},
    {38, 40, 7, 1, 0, {}},
    {44, 45, 11, 5, 0, {}},
    {47, 48, 12, 1, sizeof(DefinitionRecord),
     {{48, true, {FIELD(DefinitionRecord, kind), FIELD(DefinitionRecord, number)}}}},
    {49, 51, 10, 1, 178, {{50, true, {{2, 4}}}}},  // new-patient side records
    {52, 54, 5, 1, 0, {}},
    {55, 64, 15, 1, 0, {}},
    {69, 70, 19, 1, 0, {}},
    {71, 74, 24, 1, 0, {}},
    {75, 76, 20, 1, 0, {}},
    {77, 80, 21, 1, 1330, {}},
    {83, 85, 18, 1, 108, {{84, true, {{0, 1}}}, {85, false, {{2, 4}}}}},  // Com_dat
    {87, 89, 23, 1, 0, {}},
    {90, 91, 28, 1, 0, {}},
    {92, 93, 16, 5, sizeof(AuditHead),  // the fixed head of the variable-length entries
     {{93, false, {FIELD(AuditHead, dayBE), FIELD(AuditHead, secondsBE), FIELD(AuditHead, userIdBE)}}}},
    {94, 96, 29, 1, sizeof(RscUseWeek),
     {{95, true, {FIELD(RscUseHead, kind), FIELD(RscUseHead, id), FIELD(RscUseHead, week)}}}},
    {97, 99, 25, 1, 0, {}},
    {100, 105, 26, 1, 0, {}},
    {106, 107, 27, 1, 0, {}},
    {108, 109, 13, 1, 0, {}},
    {110, 112, 31, 1, 0, {}},
    {113, 115, 32, 1, 0, {}},
    {116, 118, 30, 1, 0, {}},
    {120, 121, 33, 1, 0, {}},
    {207, 209, 9, 1, 0, {}},
    {268, 275, 8, 1, 0, {}},
    {282, 287, 22, 1, 0, {}},
};

}  // namespace

int KeyDef::Length() const {
    int length = 0;
    for (const KeySegment& s : segments) length += s.length;
    return length;
}

const FileGroupDef* FindFileGroup(int number) {
    for (const FileGroupDef& g : kGroups)
        if (number >= g.firstNumber && number <= g.lastNumber) return &g;
    return nullptr;
}

const KeyDef* FindKey(const FileGroupDef& group, int key_number) {
    for (const KeyDef& k : group.keys)
        if (k.number == key_number) return &k;
    return nullptr;
}

std::string KeyValueOf(const KeyDef& key, const uint8_t* record, int64_t recno) {
    std::string value;
    for (const KeySegment& s : key.segments)
        value.append(reinterpret_cast<const char*>(record) + s.offset, static_cast<size_t>(s.length));
    if (!key.unique)
        for (int shift = 56; shift >= 0; shift -= 8) value += static_cast<char>((recno >> shift) & 0xFF);
    return value;
}
