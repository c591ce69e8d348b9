// The expected records are built exactly as the save path builds them: provider-time slots
// count up (to at most 2; 3 is "unavailable" and is the schedule setup's), every slot of the
// operatory becomes 1, the day flag gets bit 0, the amount adds up. Stored bits the appointments
// do not explain (a vacation flag, hour overrides, counters of 3) are kept and not reported.
#include "data/occupancy_verify.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "data/appointment_record.h"
#include "data/db_access.h"
#include "data/occupancy.h"
#include "data/occupancy_expected.h"
#include "data/record_locks.h"
#include "data/rscuse_record.h"
#include "data/time_pattern.h"
#include "suite/dates.h"

namespace {

using WeekKey = WeekRecordKey;
using Expected = ExpectedWeek;

std::string Describe(const WeekKey& key) {
    const RscUseKey k = WeekKeyBytes(key);
    return std::string(k.kind == kRscProvider ? "provider " : "operatory ") + std::string(k.id, 4) + " week of " +
           QVN_fmtDateString2000(static_cast<int32_t>(k.week));
}

// Differences of one stored record (or an all-zero one when missing) from what is expected;
// fixed holds the record as it should be.
std::vector<std::string> Compare(const WeekKey& key, const RscUseWeek& stored, const Expected& e, RscUseWeek* fixed) {
    std::vector<std::string> found;
    *fixed = stored;
    static const char* const kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int d = 0; d < 7; ++d) {
        int wrong_slots = 0;
        for (int s = 0; s < kSlotsPerDay; ++s) {
            const int have = SlotCounter(stored.occupancy[d], s);
            const int want = SlotCounter(e.occupancy[d], s);
            if (have == 3 && key[0] == kRscProvider) continue;  // unavailable: the setup's
            if (have != want) {
                ++wrong_slots;
                SetSlotCounter(fixed->occupancy[d], s, want);
            }
        }
        if (wrong_slots) found.push_back(std::string(kDays[d]) + ": " + std::to_string(wrong_slots) + " slot counters");
        const bool has_flag = stored.dayFlags[d] & kDayHasAppointments;
        if (has_flag != e.booked[d]) {
            found.push_back(std::string(kDays[d]) + ": day flag " + std::to_string(stored.dayFlags[d]));
            fixed->dayFlags[d] = static_cast<uint8_t>((stored.dayFlags[d] & ~kDayHasAppointments) |
                                                      (e.booked[d] ? kDayHasAppointments : 0));
        }
        const int64_t have_amount = static_cast<int32_t>(stored.scheduledAmount[d]);
        if (have_amount != e.amount[d]) {
            found.push_back(std::string(kDays[d]) + ": amount " + std::to_string(have_amount) + " instead of " +
                            std::to_string(e.amount[d]));
            fixed->scheduledAmount[d] = static_cast<uint32_t>(static_cast<int32_t>(e.amount[d]));
        }
    }
    return found;
}

}  // namespace

OccupancyReport VerifyOccupancy(bool repair) {
    OccupancyReport report;
    ExpectedWeeks expected;
    {
        FileGroupDesc desc{};
        DbGroupOf(kAppointmentFile, &desc);
        DbGroupScope group(desc);
        if (group.Result() != kQdbOk) return report.ok = false, report;
        AppointmentRecord a{};
        for (uint16_t r = DbFirst(kAppointmentFile, &a); r == kQdbOk; r = DbNext(kAppointmentFile, &a))
            if (a.date != 0) {
                AddToExpectedWeeks(a, &expected);
                ++report.appointments;
            }
    }
    FileGroupDesc desc{};
    DbGroupOf(kRscUseFile, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk) return report.ok = false, report;

    // Stored week records of providers and operatories, in physical order.
    std::map<WeekKey, bool> seen;
    RscUseWeek stored{};
    std::vector<WeekKey> to_fix;
    for (uint16_t r = DbFirst(kRscUseFile, &stored); r == kQdbOk; r = DbNext(kRscUseFile, &stored)) {
        if (stored.head.week == 0 || (stored.head.kind != kRscProvider && stored.head.kind != kRscOperatory)) continue;
        const WeekKey key = WeekRecordKeyOf(stored.head.kind, stored.head.id, static_cast<int32_t>(stored.head.week));
        seen[key] = true;
        ++report.records;
        RscUseWeek fixed;
        const std::vector<std::string> found = Compare(key, stored, expected[key], &fixed);
        for (const std::string& f : found) report.differences.push_back(Describe(key) + ": " + f);
        if (!found.empty()) to_fix.push_back(key);
    }
    for (const auto& [key, e] : expected) {
        if (seen.count(key)) continue;
        ++report.records;
        const RscUseWeek blank = ExpectedWeekRecord(key, Expected{});
        RscUseWeek fixed;
        const std::vector<std::string> found = Compare(key, blank, e, &fixed);
        if (found.empty()) continue;
        report.differences.push_back(Describe(key) + ": missing");
        to_fix.push_back(key);
    }
    if (!repair) return report;
    // Each record is mended under its lock, compared again as it is stored then, so that a
    // change another workstation made meanwhile is not written over.
    for (const WeekKey& key : to_fix) {
        const RscUseKey k = WeekKeyBytes(key);
        const Expected& e = expected[key];
        const uint16_t result = EditLocked<RscUseWeek>(kRscUseFile, kRscUseKey, k, [&](RscUseWeek& record, bool exists) {
            if (!exists) record = ExpectedWeekRecord(key, Expected{});
            RscUseWeek fixed;
            if (Compare(key, record, e, &fixed).empty() && exists) return LockedEdit::kNothing;
            record = fixed;
            if (WeekRecordHoldsNothing(fixed)) return exists ? LockedEdit::kDelete : LockedEdit::kNothing;
            return LockedEdit::kWrite;
        });
        if (result != kQdbOk) report.ok = false;
        else ++report.repaired;
    }
    return report;
}
