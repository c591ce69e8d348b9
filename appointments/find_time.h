// Finding free appointment times: walks the calendar day by day from a start date and lists the
// stretches in which a provider (with the provider's aliases) and an operatory are both free,
// inside the practice's hours, the provider's own hours, a chosen time range and optionally a
// time block, a page at a time.
//
// The search is one uninterrupted walk: the request carries the position after the last time
// handed out, so page N + 1 starts with the time that would have been the first one past page N.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kFindMaxResources = 20;
constexpr int kFindPageSize = 10;
constexpr int kFindDayWindow = 356;     // days after the first date of one page's walk
constexpr int kFindFailureLimit = 365;  // too-short stretches tolerated in one page's walk
constexpr uint8_t kFindAnyType = 255;   // not searching by appointment type

#pragma pack(push, 1)
struct FindTimeRequest {
    int32_t startDate;
    int32_t length;                 // 5-minute units
    uint8_t weekDayFlags[7];        // of the week being searched; non-zero = skip that date
    int32_t weekStarts[7][3];       // searchable hours of the week being searched, -1 = none
    int32_t weekEnds[7][3];
    int32_t operatoryCount;
    int32_t providerCount;
    char operatories[kFindMaxResources][4];
    char providers[kFindMaxResources][4];
    // Where the next page goes on: the place of the first time not yet handed out.
    int32_t resumeOperatory;        // position in the operatory list
    int32_t resumeOperatoryTime;    // start of that time in the operatory
    int32_t resumeBlock;            // time block position 0..5 (by-type searches)
    int32_t resumeProvider;         // position in the provider list
    int32_t resumeTime;             // start of the provider's free stretch that holds it
    int32_t resumeDate;             // 0 = not started
    uint8_t blockType;              // kFindAnyType, else the searched appointment type (0 = any)
    int32_t assignedOnly;           // 1 = only operatories assigned to the provider
    // The choices the week's hours are worked out from.
    uint8_t weekdays[7];            // 1 = that weekday (Sunday first) is searched
    int32_t rangeStart;             // time range in 5-minute units; below 1 = open
    int32_t rangeEnd;
    int32_t blockProvider;          // position in the provider list of the chosen block, -1 none
    int32_t blockPosition;          // 0..5, -1 = no time block chosen
};

struct FoundTime {
    int32_t date;
    int32_t length;                 // of the free stretch, 5-minute units
    int32_t start;                  // time of day, 5-minute units
    char operatory[4];
    char provider[4];
};
#pragma pack(pop)

static_assert(sizeof(FoundTime) == 20);
static_assert(offsetof(FindTimeRequest, length) == 4);
static_assert(offsetof(FindTimeRequest, weekDayFlags) == 8);
static_assert(offsetof(FindTimeRequest, weekStarts) == 15);
static_assert(offsetof(FindTimeRequest, weekEnds) == 99);
static_assert(offsetof(FindTimeRequest, operatoryCount) == 183);
static_assert(offsetof(FindTimeRequest, operatories) == 191);
static_assert(offsetof(FindTimeRequest, providers) == 271);
static_assert(offsetof(FindTimeRequest, resumeOperatory) == 351);
static_assert(offsetof(FindTimeRequest, resumeDate) == 371);
static_assert(offsetof(FindTimeRequest, blockType) == 375);
static_assert(offsetof(FindTimeRequest, assignedOnly) == 376);
static_assert(offsetof(FindTimeRequest, weekdays) == 380);
static_assert(offsetof(FindTimeRequest, blockPosition) == 399);

// How a page ended.
enum class FindEnd {
    kPage,          // times were found; more may follow
    kNoPossible,    // too many stretches too short, nothing found
    kNoMatch,       // the day window ran out, nothing found
    kNotAssigned,   // assigned operatories only, and no provider was assigned to an operatory
};

// A zero-filled request with every weekday, the open time range and no time block.
FindTimeRequest NewFindTimeRequest(int32_t start_date, int length_minutes);
void AddFindProvider(FindTimeRequest* request, const char id[4]);
void AddFindOperatory(FindTimeRequest* request, const char id[4]);

// Fills out with at most page_size found times, going on from the request's resume fields and
// saving them again for the next page. The practice tables must be loaded. When nothing is
// found, the resume fields are reset and the end says why. *last_date (when given) is the last
// date the walk looked at.
FindEnd SearchFreeTimes(FindTimeRequest* request, int page_size, std::vector<FoundTime>* out,
                        int32_t* last_date = nullptr);

// The text shown for an end without times; empty for kPage.
const char* FindEndMessage(FindEnd end);

// The searchable hours of the week of date into the request's week fields: the practice's
// hours of the ticked weekdays clipped to the time range and, when a block is chosen, to the
// block's window of that week.
void ComputeSearchableWeek(FindTimeRequest* request, int32_t date);

// "Mon\t 12/07/2026 9:00am - 10:00am\t DR1 : OP1 ": one row of the result lists.
std::string FoundTimeRow(const FoundTime& found);
