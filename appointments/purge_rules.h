// The purge's cutoff dialog as rules: the date it starts with and the warning a cutoff gets
// before the last question.
#pragma once

#include <cstdint>

// The first day of the current month one year back.
int32_t DefaultPurgeCutoff(int32_t today);

enum class PurgeWarning {
    kNone,
    kLessThanAYear,  // after today - 365 and before today
    kPurgeMessage,   // the purge message dialog, unless switched off: before today - 365
    kFuture,         // after today
};
// purge_message_off: [LEDGER] PURGEAPPT is not 0.
PurgeWarning PurgeWarningFor(int32_t cutoff, int32_t today, bool purge_message_off);

extern const char kPurgeLessThanAYear[];
extern const char kPurgeInTheFuture[];
extern const char kPurgeMessageText[];
extern const char kPurgeWarningTitle[];  // "Warning"

// The progress window's count line: "%d - %d" of purged and read.
constexpr char kPurgeCountFormat[] = "%d - %d";
