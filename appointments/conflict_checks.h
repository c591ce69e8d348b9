// The scheduling conflict checks of a save with a date: is the practice open, is the provider
// there that day and at that time, does the time lie in a time block, is the provider booked
// once or twice already, is an alias booked. Questions may be overruled; refusals may not.
//
// The provider checks run inside the save, on the provider's week record as read under its lock,
// so that their answer still holds when the counters are written.
#pragma once

#include <functional>

#include "data/appointment_record.h"
#include "data/rscuse_record.h"
#include "data/time_pattern.h"
#include "suite/qdb/qdb.h"

extern const char kPracticeNotOpen[];
extern const char kProviderUnavailableDay[];
extern const char kBlockTypeMismatch[];
extern const char kBlockInOtherOperatory[];
extern const char kOtherProvidersBlock[];
extern const char kProviderUnavailableTime[];
extern const char kProviderBookedOnce[];
extern const char kProviderBookedTwice[];
extern const char kProviderUnavailable[];
extern const char kAliasBooked[];
extern const char kOperatoryBooked[];

// Whether the time-block questions are asked: the main window's Ideal Day switch.
struct ConflictOptions {
    bool idealDay = false;
};
extern ConflictOptions conflict_options;

// Check 1, before any occupancy changes: false when the practice is closed then and the user
// answered No.
bool CheckPracticeOpen(const AppointmentRecord& appointment);

// Reads a provider's week record that the save does not change itself (an alias's), without a
// lock; false when there is none.
using WeekRecordReader = std::function<bool(const RscUseKey& key, RscUseWeek* record)>;

// Checks 3 to 7 on the provider's locked week record as the save has changed it so far (all zero
// when the week has none). rscuse is the save's open resource-use file, for the block overrides.
// False: refused or No.
bool RunProviderChecks(const AppointmentRecord& appointment, const AppointmentSlots& slots,
                       const RscUseWeek& provider_week, const WeekRecordReader& read_week, QdbFile rscuse);
