// The suite's provider statistics file (data file 87, keys 88 and 89): monthly figures per
// provider that the ledger module writes. The appointment book reads the month goal, the
// production and the new patients for its month view.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kProviderStatisticsFile = 87;
constexpr int kProviderStatisticsKey = 89;  // provider, kind, year, month
constexpr int kProviderStatisticsRecordLength = 128;

enum ProviderStatisticsKind : uint16_t {
    kStatisticsRunning = 0,     // year 0 and month 0: the figures so far this month
    kStatisticsMonth = 1,       // a closed or current month
    kStatisticsGoal = 10,       // the month's goal
};

#pragma pack(push, 1)
// The counters are 32 bits each; the ones not named here belong to the ledger module.
struct ProviderStatisticsRecord {
    char provider[4];
    uint16_t kind;              // ProviderStatisticsKind
    uint16_t year;
    uint16_t month;
    uint8_t ours10[6];
    uint32_t production16;      // production is the sum of the four production counters
    uint8_t ours20[4];
    uint32_t production24;
    uint32_t production28;
    uint8_t ours32[20];
    uint32_t production52;
    uint8_t ours56[40];
    uint32_t goal;              // on the kind-10 record
    uint8_t ours100[8];
    uint32_t newPatients;
    uint8_t ours112[16];
};
#pragma pack(pop)

static_assert(sizeof(ProviderStatisticsRecord) == kProviderStatisticsRecordLength);
static_assert(offsetof(ProviderStatisticsRecord, kind) == 4);
static_assert(offsetof(ProviderStatisticsRecord, year) == 6);
static_assert(offsetof(ProviderStatisticsRecord, month) == 8);
static_assert(offsetof(ProviderStatisticsRecord, production16) == 16);
static_assert(offsetof(ProviderStatisticsRecord, production24) == 24);
static_assert(offsetof(ProviderStatisticsRecord, production28) == 28);
static_assert(offsetof(ProviderStatisticsRecord, production52) == 52);
static_assert(offsetof(ProviderStatisticsRecord, goal) == 96);
static_assert(offsetof(ProviderStatisticsRecord, newPatients) == 108);
