// The resource-use file RscUse (data file 94, key 95 = kind, identifier, week): the appointment
// book's own schedule records. Every record is 662 bytes and starts with the same head; the
// kind and the week say which of the layouts below the rest follows.
//
// Times are counts of 5-minute units since midnight, 0xFFFF for no time. Weekdays run 0
// (Sunday) to 6 (Saturday). Identifiers are four blank-padded characters, "-PR-" for the
// practice.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kRscUseFile = 94;
constexpr int kRscUseKey = 95;             // {kind, identifier, week}: 9 bytes
constexpr int kRscUseKeyLength = 9;
constexpr int kRscUseResourcePrefix = 5;   // {kind, identifier}: all weeks of one resource
constexpr int kRscUseRecordLength = 662;

constexpr uint16_t kNoTime = 0xFFFF;
constexpr uint16_t kBlockKeepsDefault = 0xFFFF;  // kind-4 override: the block's own times
constexpr uint16_t kBlockCleared = 0xFFFE;       // kind-4 override: no block that date

enum RscUseKind : uint8_t {
    kRscPractice = 0,
    kRscProvider = 1,
    kRscOperatory = 3,
    kRscBlockOverride = 4,  // a provider's time blocks changed for one week
};

constexpr int kHolidaySlots = 100;
constexpr int kTimeBlocks = 6;
constexpr int kProviderAliases = 10;
constexpr int kOverrideSlots = 12;  // per weekday; the first six are the provider's blocks
constexpr uint8_t kDayClosed = 0x02;         // day flag: practice closed / provider on vacation
constexpr uint8_t kDayHasAppointments = 0x01;

#pragma pack(push, 1)

struct RscUseHead {
    uint16_t engineBytes;  // kept by the record database, written as 0
    uint32_t week;         // the Sunday of the week; 0 for a base record
    uint8_t kind;          // RscUseKind
    char id[4];
};

// A yearly holiday: no year, it repeats on its month and day.
struct HolidayEntry {
    uint8_t month;   // 1..12
    uint8_t day;     // of the month
    uint8_t zero;    // always 0; an entry whose third byte is not 0 never matches
    uint8_t kind;    // 0 free slot; 2 set from the calendar; 100 and above never match
};

// Base practice record {0, "-PR-", week 0}.
struct RscUsePracticeBase {
    RscUseHead head;
    uint32_t unused;
    uint16_t defaultStart[7][3];  // by weekday, three intervals
    uint16_t defaultEnd[7][3];
    uint16_t blockSize;           // 5-minute units per time block: 1, 2, 3, 4 or 6
    uint8_t notUsed101[60];
    HolidayEntry holidays[kHolidaySlots];
    uint8_t notUsed561[101];
};

// Base provider record {1, provider, week 0}.
struct RscUseProviderBase {
    RscUseHead head;
    uint32_t colour;              // 0x00BBGGRR
    uint16_t defaultStart[7][3];
    uint16_t defaultEnd[7][3];
    char blockNames[kTimeBlocks][13];        // up to 12 characters; empty = a free block slot
    uint16_t blockStart[7][kTimeBlocks];     // by weekday, then block
    uint16_t blockEnd[7][kTimeBlocks];
    uint8_t notUsed345[2];
    char aliases[kProviderAliases][4];       // ends at the first entry whose first byte is 0
    uint32_t blockColour[kTimeBlocks];
    uint8_t blockType[kTimeBlocks][5];       // byte 0: the appointment type (0 = any); 1-4 kept
    char blockOperatory[kTimeBlocks][4];     // all zero = none
    uint8_t notUsed465[57];
    uint32_t goals[7];                       // carried unchanged
    uint8_t notUsed550[112];
};

// Week record {kind 0, 1 or 3, resource, Sunday of the week}.
struct RscUseWeek {
    RscUseHead head;
    uint8_t dayFlags[7];          // kDayClosed, kDayHasAppointments
    uint8_t occupancy[7][72];     // two bits per 5-minute unit
    uint32_t scheduledAmount[7];  // cents per weekday
    uint16_t start[7][3];         // three zeros: the default hours apply
    uint16_t end[7][3];
    uint8_t notUsed634[28];
};

// Provider time-block week override {4, provider, Sunday of the week}.
struct RscUseBlockOverride {
    RscUseHead head;
    uint16_t start[7][kOverrideSlots];  // kBlockKeepsDefault, kBlockCleared, or the new time
    uint16_t end[7][kOverrideSlots];
    uint8_t notUsed347[315];
};

#pragma pack(pop)

static_assert(sizeof(RscUseHead) == 11);
static_assert(offsetof(RscUseHead, week) == 2);
static_assert(offsetof(RscUseHead, kind) == 6);
static_assert(offsetof(RscUseHead, id) == 7);
static_assert(sizeof(HolidayEntry) == 4);

static_assert(sizeof(RscUsePracticeBase) == kRscUseRecordLength);
static_assert(offsetof(RscUsePracticeBase, unused) == 11);
static_assert(offsetof(RscUsePracticeBase, defaultStart) == 15);
static_assert(offsetof(RscUsePracticeBase, defaultEnd) == 57);
static_assert(offsetof(RscUsePracticeBase, blockSize) == 99);
static_assert(offsetof(RscUsePracticeBase, notUsed101) == 101);
static_assert(offsetof(RscUsePracticeBase, holidays) == 161);
static_assert(offsetof(RscUsePracticeBase, notUsed561) == 561);

static_assert(sizeof(RscUseProviderBase) == kRscUseRecordLength);
static_assert(offsetof(RscUseProviderBase, colour) == 11);
static_assert(offsetof(RscUseProviderBase, defaultStart) == 15);
static_assert(offsetof(RscUseProviderBase, defaultEnd) == 57);
static_assert(offsetof(RscUseProviderBase, blockNames) == 99);
static_assert(offsetof(RscUseProviderBase, blockStart) == 177);
static_assert(offsetof(RscUseProviderBase, blockEnd) == 261);
static_assert(offsetof(RscUseProviderBase, aliases) == 347);
static_assert(offsetof(RscUseProviderBase, blockColour) == 387);
static_assert(offsetof(RscUseProviderBase, blockType) == 411);
static_assert(offsetof(RscUseProviderBase, blockOperatory) == 441);
static_assert(offsetof(RscUseProviderBase, goals) == 522);

static_assert(sizeof(RscUseWeek) == kRscUseRecordLength);
static_assert(offsetof(RscUseWeek, dayFlags) == 11);
static_assert(offsetof(RscUseWeek, occupancy) == 18);
static_assert(offsetof(RscUseWeek, scheduledAmount) == 522);
static_assert(offsetof(RscUseWeek, start) == 550);
static_assert(offsetof(RscUseWeek, end) == 592);
static_assert(offsetof(RscUseWeek, notUsed634) == 634);

static_assert(sizeof(RscUseBlockOverride) == kRscUseRecordLength);
static_assert(offsetof(RscUseBlockOverride, start) == 11);
static_assert(offsetof(RscUseBlockOverride, end) == 179);

// The 9-byte key of a record: kind, identifier, week.
#pragma pack(push, 1)
struct RscUseKey {
    uint8_t kind;
    char id[4];
    uint32_t week;
};
#pragma pack(pop)
static_assert(sizeof(RscUseKey) == kRscUseKeyLength);
