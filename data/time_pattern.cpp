// Slot and pattern arithmetic; see the header for the two bit orders.
#include "data/time_pattern.h"

#include <cstring>

#include "data/practice_schedule.h"

AppointmentSlots SlotsOf(const AppointmentRecord& appointment) {
    AppointmentSlots slots;
    slots.start = appointment.hour * 12 + appointment.minute / 5;
    slots.end = slots.start + appointment.length / 5;
    if (slots.end > kSlotsPerDay) slots.end = kSlotsPerDay;
    slots.weekday = WeekdayIndex(appointment.date);
    slots.week = WeekStartOf(appointment.date);
    return slots;
}

int PatternCodeOf(const uint8_t pattern[6], int unit) {
    if (unit < 0 || unit >= kPatternUnits) return kPatternBlank;
    return pattern[unit / 4] >> (6 - 2 * (unit % 4)) & 3;
}

void SetPatternCode(uint8_t pattern[6], int unit, int code) {
    if (unit < 0 || unit >= kPatternUnits) return;
    const int shift = 6 - 2 * (unit % 4);
    pattern[unit / 4] = static_cast<uint8_t>((pattern[unit / 4] & ~(3 << shift)) | ((code & 3) << shift));
}

bool IsProviderSlot(const AppointmentRecord& appointment, int k) {
    const int unit_size = appointment.unitSize ? appointment.unitSize : 2;
    return PatternCodeOf(appointment.timePattern, k / unit_size) == kPatternProvider;
}

int SlotCounter(const uint8_t day[kSlotBytesPerDay], int slot) { return day[slot / 4] >> (2 * (slot % 4)) & 3; }

void SetSlotCounter(uint8_t day[kSlotBytesPerDay], int slot, int value) {
    const int shift = 2 * (slot % 4);
    day[slot / 4] = static_cast<uint8_t>((day[slot / 4] & ~(3 << shift)) | ((value & 3) << shift));
}

bool DayIsEmpty(const uint8_t day[kSlotBytesPerDay]) {
    for (int i = 0; i < kSlotBytesPerDay; ++i)
        if (day[i]) return false;
    return true;
}

bool FitsHours(const HoursRanges& hours, int start, int end) {
    for (int i = 0; i < 3; ++i) {
        if (hours.start[i] > end) return false;  // also "no range": 0xFFFF lies after any end
        if (hours.start[i] <= start && end <= hours.end[i]) return true;
    }
    return false;
}

BlockTestResult BlockTest(const DayBlocks& blocks, int start, int end, const char operatory[4], uint8_t type) {
    BlockTestResult r;
    for (int b = 0; b < 6; ++b) {
        if (!(blocks.start[b] < end && start < blocks.end[b])) continue;
        if (std::memcmp(blocks.operatory[b], operatory, 4) == 0) {
            r.sameOperatory = true;
            r.result = blocks.type[b] != 0 && blocks.type[b] != type ? 1 : 0;
        } else {
            r.result = 2;
        }
        return r;
    }
    return r;
}
