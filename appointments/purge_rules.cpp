// The cutoff rules of the purge.
#include "appointments/purge_rules.h"

#include "suite/dates.h"

const char kPurgeLessThanAYear[] =
    "You have selected a cut off date that is less than one year from today! Purging appointments will permanently "
    "delete appointments scheduled prior to the cut off date. Press 'Cancel' to change the cut off date or 'OK' to "
    "purge appointments.";
const char kPurgeInTheFuture[] =
    "You have selected a cut off date that is in the future. Purging appointments will permanently delete "
    "appointments scheduled prior to the cut off date and will delete future appointments. Press 'Cancel' to change "
    "the cut off date or 'OK' to purge appointments.";
const char kPurgeMessageText[] =
    "Purging appointments will permanently delete appointments scheduled for a date prior to the Cutoff Date.  Press "
    "'OK' to proceed and purge appointments.";
const char kPurgeWarningTitle[] = "Warning";

int32_t DefaultPurgeCutoff(int32_t today) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(today, &month, &day, &year);
    return QVN_DateIn(month, 1, year - 1);
}

PurgeWarning PurgeWarningFor(int32_t cutoff, int32_t today, bool purge_message_off) {
    const int32_t year_back = today - 365;
    if (cutoff > year_back && cutoff < today) return PurgeWarning::kLessThanAYear;
    if (!purge_message_off && cutoff < year_back) return PurgeWarning::kPurgeMessage;
    if (cutoff > today) return PurgeWarning::kFuture;
    return PurgeWarning::kNone;
}
