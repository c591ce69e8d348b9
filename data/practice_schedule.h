// The practice, its providers and operatories as the appointment book works with them: tables
// loaded from the practice resource file and the RscUse base records at start-up and on every
// full refresh, and the rules that give the opening hours, closed days and holidays of a date.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/command_rules.h"
#include "data/rscuse_record.h"
#include "suite/records/practice_resource.h"

constexpr int kMaxShownResources = 20;
constexpr int kTypeNameSlots = 20;
constexpr int kTypeNameLength = 20;  // up to 19 characters

#pragma pack(push, 1)
// The base practice record without its head.
struct PracticeInfo {
    uint16_t defaultStart[7][3];
    uint16_t defaultEnd[7][3];
    uint16_t blockSize;
    uint8_t practiceBlock[60];
    HolidayEntry holidays[kHolidaySlots];
};

// One provider: its resource record joined with its base record.
struct ProviderInfo {
    char id[4];
    uint8_t attribute;
    uint32_t colour;
    uint16_t defaultStart[7][3];
    uint16_t defaultEnd[7][3];
    uint8_t operatoryBitmap[kOperatoryBitmapBytes];
    char blockNames[kTimeBlocks][13];
    uint16_t blockStart[7][kTimeBlocks];
    uint16_t blockEnd[7][kTimeBlocks];
    char aliases[kProviderAliases][4];
    uint32_t goals[7];
    uint32_t blockColour[kTimeBlocks];
    uint8_t blockType[kTimeBlocks][5];
    char blockOperatory[kTimeBlocks][4];
    uint8_t listExclusion;  // 1: left out of the provider choice lists
};

struct OperatoryInfo {
    char id[4];
    uint8_t number;
};
#pragma pack(pop)

// Process-wide tables, replaced whole on every load.
struct PracticeTables {
    std::unique_ptr<PracticeInfo> practice;
    std::vector<ProviderInfo> providers;
    std::vector<OperatoryInfo> operatories;
    int blockUnits = 2;     // time block size in 5-minute units
    int blockMinutes = 10;  // and in minutes
    std::vector<int> shownProviders;    // indices: the first 20 in file order
    std::vector<int> shownOperatories;
    char typeNames[kTypeNameSlots][kTypeNameLength] = {};
    int typeCount = 0;
    StatusTables statuses;
};
extern PracticeTables practice_tables;

// A change of the practice schedule without a base practice record.
extern const char kPracticeNotSetUp[];

// The hours of one date: three intervals in 5-minute units (-1 = none) and the day flag.
struct DayHours {
    int32_t start[3];
    int32_t end[3];
    uint8_t flag;
};

// Reads the practice records; false (after its message) when the practice is not set up or
// RscUse cannot be opened.
bool LoadPractice();
int LoadProviders();
int LoadOperatories();
// Type names (definition kind 5) and the status tables (Part of the S&tatus menu).
int LoadTypeNames();
void LoadStatusTables();
// All of the above in their order; the display lists start again from the first 20. False when
// the practice could not be loaded.
bool LoadPracticeTables();

int FindProviderIndex(const char id[4]);  // -1 when not loaded

std::vector<DayHours> GetPracticeHours(const std::vector<int32_t>& dates);
std::vector<DayHours> GetProviderHours(int provider_index, const std::vector<int32_t>& dates);

// 0 open, 1 closed by default that weekday, 2 or more the kind of the matching holiday.
int HolidayKind(int32_t date);
// The same rule over a base practice record as read (under its lock, say).
int HolidayKindIn(const RscUsePracticeBase& base, int32_t date);
// One weekday's hours and flag from a week record (nullptr: there is none) over the practice's or
// the provider's default hours, as GetPracticeHours and GetProviderHours give them.
DayHours WeekDayHours(const RscUseWeek* week, const RscUsePracticeBase& base, int weekday);
DayHours WeekDayHours(const RscUseWeek* week, const ProviderInfo& provider, int weekday);
// Edit the holiday table of the base practice record under a record lock, and of PracticeInfo.
bool SetHoliday(int month, int day, int kind);
bool DeleteHoliday(int month, int day);

// Stores one date's hours and day flag (2 or more closes it / marks a vacation) in the week
// record of the practice or a provider. The result number of the write.
uint16_t WriteDay(uint8_t kind, const char id[4], int32_t date, const int32_t start[3], const int32_t end[3],
                  int flag);
// The change of one override record behind it (only_weekday -1: every weekday): true when a slot
// of a deleted block was cleared; *empty tells whether the record then overrides nothing at all
// (it is to be deleted).
bool ClearBlocksInOverride(RscUseBlockOverride& record, const bool deleted[kTimeBlocks], int only_weekday, bool* empty);

// The Sunday of a date's week, and its weekday 0 (Sunday) to 6.
int32_t WeekStartOf(int32_t date);
int WeekdayIndex(int32_t date);
