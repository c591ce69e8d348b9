// The checks in the order the user meets them. Every question is a Yes/No box, every refusal an
// OK box, both with the exclamation icon and the title "Appointment Book".
#include "appointments/conflict_checks.h"

#include <cstring>

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "suite/prompter.h"

const char kPracticeNotOpen[] = "The Practice is not open at requested time! Schedule appointment?";
const char kProviderUnavailableDay[] = "Provider is unavailable on the requested day.  Schedule Appointment?";
const char kBlockTypeMismatch[] = "Appointment Type does NOT match this Time Block.  Schedule Appointment?";
const char kBlockInOtherOperatory[] = "Provider has a time block in another Operatory.  Schedule Appointment?";
const char kOtherProvidersBlock[] = "This is another Provider's Time Block.  Schedule Appointment?";
const char kProviderUnavailableTime[] = "Provider unavailable at requested time! Schedule appointment?";
const char kProviderBookedOnce[] = "Provider is already scheduled for requested time. Double schedule provider?";
const char kProviderBookedTwice[] =
    "Provider is already doubled scheduled for requested time. Another scheduling is not permitted.";
const char kProviderUnavailable[] = "Provider is unavailable at requested time.";
const char kAliasBooked[] = "Provider Alias is scheduled for requested time. Schedule provider?";
const char kOperatoryBooked[] = "Operatory is already scheduled for requested time!";

ConflictOptions conflict_options;

namespace {

// A week record's hours of a weekday when its first start or first end is set, else the
// defaults. Copied out field by field: the records are packed.
HoursRanges WeekOrDefaultHours(const RscUseWeek* week, int weekday, const uint16_t default_start[3],
                               const uint16_t default_end[3]) {
    HoursRanges h;
    const bool overridden = week && (week->start[weekday][0] != 0 || week->end[weekday][0] != 0);
    for (int i = 0; i < 3; ++i) {
        h.start[i] = overridden ? week->start[weekday][i] : default_start[i];
        h.end[i] = overridden ? week->end[weekday][i] : default_end[i];
    }
    return h;
}

HoursRanges NoHours() {
    HoursRanges h;
    for (int i = 0; i < 3; ++i) h.start[i] = h.end[i] = kNoTime;
    return h;
}

const ProviderInfo* FindProvider(const char id[4]) {
    const int index = FindProviderIndex(id);
    return index < 0 ? nullptr : &practice_tables.providers[static_cast<size_t>(index)];
}

// The provider's blocks of the weekday with the week's kind-4 overrides applied.
DayBlocks BlocksOf(const ProviderInfo& provider, int weekday, int32_t week, QdbFile rscuse) {
    DayBlocks blocks;
    for (int b = 0; b < kTimeBlocks; ++b) {
        blocks.start[b] = provider.blockStart[weekday][b];
        blocks.end[b] = provider.blockEnd[weekday][b];
        blocks.type[b] = provider.blockType[b][0];
        std::memcpy(blocks.operatory[b], provider.blockOperatory[b], 4);
    }
    RscUseKey key{kRscBlockOverride, {}, static_cast<uint32_t>(week)};
    std::memcpy(key.id, provider.id, 4);
    RscUseBlockOverride override_record{};
    if (QDB_FindRec(rscuse, kRscUseKey, &key, &override_record))
        for (int b = 0; b < kTimeBlocks; ++b)
            if (override_record.start[weekday][b] < kNoTime) {
                blocks.start[b] = override_record.start[weekday][b];
                blocks.end[b] = override_record.end[weekday][b];
            }
    return blocks;
}

bool IsAliasOf(const ProviderInfo& provider, const char id[4]) {
    for (int a = 0; a < kProviderAliases && provider.aliases[a][0]; ++a)
        if (std::memcmp(provider.aliases[a], id, 4) == 0) return true;
    return false;
}

// Check 4: the time blocks of the provider, then of the other providers.
bool CheckTimeBlocks(const AppointmentRecord& a, const AppointmentSlots& slots, QdbFile rscuse) {
    const ProviderInfo* own = FindProvider(a.provider);
    if (!own) return true;
    BlockTestResult mine = BlockTest(BlocksOf(*own, slots.weekday, slots.week, rscuse), slots.start, slots.end,
                                     a.operatory, a.type);
    if (mine.result == 1 && !AskYesNo(kBlockTypeMismatch)) return false;
    if (mine.result == 2 && !AskYesNo(kBlockInOtherOperatory)) return false;
    if (mine.sameOperatory) return true;
    for (const ProviderInfo& other : practice_tables.providers) {
        if (&other == own) continue;
        BlockTestResult r = BlockTest(BlocksOf(other, slots.weekday, slots.week, rscuse), slots.start, slots.end,
                                      a.operatory, a.type);
        if (r.result == -1) continue;
        const bool alias = IsAliasOf(*own, other.id);
        const char* question = nullptr;
        if (r.result == 0 && !alias) question = kOtherProvidersBlock;
        if (r.result == 1) question = alias ? kBlockTypeMismatch : kOtherProvidersBlock;
        if (r.result == 2 && alias) question = kBlockInOtherOperatory;
        if (question && !AskYesNo(question)) return false;
        if (r.sameOperatory) break;
    }
    return true;
}

// The highest counter of the appointment's provider-time slots in a week record's day.
int HighestProviderCounter(const AppointmentRecord& a, const AppointmentSlots& slots, const RscUseWeek& week) {
    int highest = 0;
    for (int slot = slots.start; slot < slots.end; ++slot)
        if (IsProviderSlot(a, slot - slots.start)) {
            const int c = SlotCounter(week.occupancy[slots.weekday], slot);
            if (c > highest) highest = c;
        }
    return highest;
}

// Check 7: the first alias busy at the appointment's provider time decides.
bool CheckAliases(const AppointmentRecord& a, const AppointmentSlots& slots, const WeekRecordReader& read_week) {
    const ProviderInfo* own = FindProvider(a.provider);
    if (!own) return true;
    for (int i = 0; i < kProviderAliases && own->aliases[i][0]; ++i) {
        RscUseKey key{kRscProvider, {}, static_cast<uint32_t>(slots.week)};
        std::memcpy(key.id, own->aliases[i], 4);
        RscUseWeek week{};
        if (read_week(key, &week) && HighestProviderCounter(a, slots, week) > 0)
            return AskYesNo(kAliasBooked);
    }
    return true;
}

}  // namespace

bool CheckPracticeOpen(const AppointmentRecord& a) {
    const PracticeInfo* practice = practice_tables.practice.get();
    if (!practice) return true;  // no practice loaded: nothing to compare against
    const AppointmentSlots slots = SlotsOf(a);
    RscUseWeek week{};
    bool have_week = false;
    {
        FileGroupDesc desc{};
        DbGroupOf(kRscUseFile, &desc);
        DbGroupScope group(desc);
        RscUseKey key{kRscPractice, {}, static_cast<uint32_t>(slots.week)};
        std::memcpy(key.id, kPracticeId, 4);
        have_week = group.Result() == kQdbOk && DbFind(kRscUseKey, DbPrepareKey(&key), &week) == kQdbOk;
    }
    uint16_t default_start[3], default_end[3];
    for (int i = 0; i < 3; ++i) {
        default_start[i] = practice->defaultStart[slots.weekday][i];
        default_end[i] = practice->defaultEnd[slots.weekday][i];
    }
    const bool marked_closed = HolidayKind(a.date) != 0 || (have_week && week.dayFlags[slots.weekday] & kDayClosed);
    const bool fits = FitsHours(WeekOrDefaultHours(have_week ? &week : nullptr, slots.weekday, default_start, default_end),
                                slots.start, slots.end);
    if (!marked_closed && fits) return true;
    return AskYesNo(kPracticeNotOpen);
}

bool RunProviderChecks(const AppointmentRecord& a, const AppointmentSlots& slots, const RscUseWeek& week,
                       const WeekRecordReader& read_week, QdbFile rscuse) {
    bool skip_day_checks = false;
    if (week.dayFlags[slots.weekday] >= 2) {
        if (!AskYesNo(kProviderUnavailableDay)) return false;
        skip_day_checks = true;
    }
    if (!skip_day_checks) {
        if (conflict_options.idealDay && !CheckTimeBlocks(a, slots, rscuse)) return false;
        const ProviderInfo* provider = FindProvider(a.provider);
        HoursRanges hours = NoHours();
        if (provider) {
            uint16_t default_start[3], default_end[3];
            for (int i = 0; i < 3; ++i) {
                default_start[i] = provider->defaultStart[slots.weekday][i];
                default_end[i] = provider->defaultEnd[slots.weekday][i];
            }
            hours = WeekOrDefaultHours(&week, slots.weekday, default_start, default_end);
        } else if (week.start[slots.weekday][0] != 0 || week.end[slots.weekday][0] != 0) {
            hours = WeekOrDefaultHours(&week, slots.weekday, NoHours().start, NoHours().end);
        }
        if (!FitsHours(hours, slots.start, slots.end) && !AskYesNo(kProviderUnavailableTime)) return false;
    }
    switch (HighestProviderCounter(a, slots, week)) {
    case 1:
        if (!AskYesNo(kProviderBookedOnce)) return false;
        break;
    case 2:
        ShowRefusal(kProviderBookedTwice);
        return false;
    case 3:
        ShowRefusal(kProviderUnavailable);
        return false;
    default:
        break;
    }
    return CheckAliases(a, slots, read_week);
}
