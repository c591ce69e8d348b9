// The week records the save path leaves behind for a set of scheduled appointments, built up one
// appointment at a time: the occupancy check compares the stored records with them, and the
// benchmark practice writes them as they are, so both go by this one computation.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "data/appointment_record.h"
#include "data/rscuse_record.h"
#include "data/time_pattern.h"

using WeekRecordKey = std::string;  // the 9 key bytes: kind, resource id, week

WeekRecordKey WeekRecordKeyOf(uint8_t kind, const char id[4], int32_t week);
RscUseKey WeekKeyBytes(const WeekRecordKey& key);

// What the appointments put into one provider or operatory week.
struct ExpectedWeek {
    uint8_t occupancy[7][kSlotBytesPerDay] = {};
    bool booked[7] = {};
    int64_t amount[7] = {};
};
using ExpectedWeeks = std::map<WeekRecordKey, ExpectedWeek>;

// Adds one scheduled appointment as a save adds it: its provider-time slots count up (to at
// most 2, a permitted double booking), every slot of its operatory becomes 1, both days get
// the has-appointments flag and the amount.
void AddToExpectedWeeks(const AppointmentRecord& appointment, ExpectedWeeks* expected);

// The week record as the save path creates it for this key and holds it after those
// appointments: counters, day flag bit 0 and the day amounts, nothing else set.
RscUseWeek ExpectedWeekRecord(const WeekRecordKey& key, const ExpectedWeek& expected);
