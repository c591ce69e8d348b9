// What an appointment occupies: its 5-minute slots of the day, which of them are the provider's
// own time by the appointment's time pattern, and the 2-bit slot counters of a week record's day.
//
// Two bit orders meet here: the time pattern keeps its first unit in the highest bits of its
// first byte, the slot counters keep their first slot in the lowest bits. Each has its own
// accessor below and nothing else touches those bits.
#pragma once

#include <cstdint>

#include "data/appointment_record.h"

constexpr int kSlotsPerDay = 288;
constexpr int kSlotBytesPerDay = 72;
constexpr int kPatternUnits = 24;

enum PatternCode { kPatternBlank = 0, kPatternSlash = 1, kPatternProvider = 2 };

// The slots of a scheduled appointment: start to end - 1, cut at midnight.
struct AppointmentSlots {
    int start = 0;
    int end = 0;        // one past the last slot
    int weekday = 0;    // 0 Sunday .. 6 Saturday
    int32_t week = 0;   // the Sunday of the date's week
};
AppointmentSlots SlotsOf(const AppointmentRecord& appointment);

// The code of time unit u (0-23) of a pattern; 0 beyond the 24 units.
int PatternCodeOf(const uint8_t pattern[6], int unit);
void SetPatternCode(uint8_t pattern[6], int unit, int code);

// True when slot k of the appointment (counted from its start) is provider time: its unit,
// k / unit size (0 counts as 2), has code 2. Slots past the 24th unit are never provider time.
bool IsProviderSlot(const AppointmentRecord& appointment, int k);

// The 2-bit counter of a slot in one day's 72 bytes.
int SlotCounter(const uint8_t day[kSlotBytesPerDay], int slot);
void SetSlotCounter(uint8_t day[kSlotBytesPerDay], int slot, int value);
bool DayIsEmpty(const uint8_t day[kSlotBytesPerDay]);

// Up to three ranges of a day, start and end slots; 0xFFFF = no range.
struct HoursRanges {
    uint16_t start[3];
    uint16_t end[3];
};
// The appointment fits when one range holds it whole; a range that starts after the
// appointment's end ends the search.
bool FitsHours(const HoursRanges& hours, int start, int end);

// One provider's six time blocks of a weekday, with the week's overrides applied.
struct DayBlocks {
    uint16_t start[6];
    uint16_t end[6];
    uint8_t type[6];        // 0 = any appointment type
    char operatory[6][4];   // all zero = none
};
struct BlockTestResult {
    int result = -1;        // -1 no block; 0 fits; 1 type differs; 2 block in another operatory
    bool sameOperatory = false;
};
BlockTestResult BlockTest(const DayBlocks& blocks, int start, int end, const char operatory[4], uint8_t type);
