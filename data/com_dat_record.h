// The change-notice file Com_dat (data file 83, keys 84 and 85): one 108-byte record per
// registered station, naming the date it shows and the last fifteen changes other stations made
// there. The appointment book shares the file with other modules of the suite, whose station
// codes lie below 100.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kComDatFile = 83;
constexpr int kComDatByStationKey = 84;  // station code, unique
constexpr int kComDatByDateKey = 85;     // registered date, not unique
constexpr int kComDatRecordLength = 108;
constexpr int kComDatNotices = 15;

enum ComDatRegistration : uint16_t {
    kRegisteredAll = 0,
    kRegisteredProvider = 1,
    kRegisteredOperatory = 2,
};

#pragma pack(push, 1)
struct ComDatRecord {
    uint8_t station;                 // 100 + the workstation number (101 for workstation 0)
    uint8_t reserved1;
    int32_t date;                    // the Sunday of the week shown (stations 100 and up)
    uint16_t registration;           // ComDatRegistration
    char provider[4];                // kind 1
    char operatory[4];               // kind 2
    uint8_t noticeCount;             // 0 to 15
    uint8_t reserved17;
    uint32_t appointmentIds[kComDatNotices];  // oldest first
    uint16_t values[kComDatNotices];          // weekday (0 = the Sunday) or change kind
};
#pragma pack(pop)

static_assert(sizeof(ComDatRecord) == kComDatRecordLength);
static_assert(offsetof(ComDatRecord, date) == 2);
static_assert(offsetof(ComDatRecord, registration) == 6);
static_assert(offsetof(ComDatRecord, provider) == 8);
static_assert(offsetof(ComDatRecord, operatory) == 12);
static_assert(offsetof(ComDatRecord, noticeCount) == 16);
static_assert(offsetof(ComDatRecord, appointmentIds) == 18);
static_assert(offsetof(ComDatRecord, values) == 78);
