// The rules of the Find New Appointment Time dialog that do not need its window.
#include "appointments/find_time_choices.h"

#include <algorithm>
#include <cstring>

#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "suite/dates.h"

namespace {

const char kNeedBoth[] = "At least one operatory and provider must be selected";
const char kNeedProvider[] = "At least one provider must be selected";
const char kNeedOperatory[] = "At least one operatory must be selected";
const char kNoTimesFound[] = "No times found!";
const char kEndOfList[] = "End of list!";

}  // namespace

int FindBlockMinutes() { return std::max(practice_tables.blockMinutes, 5); }

void ChoicesFromAppointment(const AppointmentRecord& a, FindChoices* choices) {
    const int block = FindBlockMinutes();
    const int minutes = a.length >= 1 ? a.length : block;
    choices->lengthMinutes = std::clamp(minutes / block, 1, kFindMaxLengthMinutes / block) * block;
    choices->type = a.type;
    choices->byBlock = false;
    choices->blockRow = -1;
    const int provider = FindProviderIndex(a.provider);
    choices->providers.clear();
    choices->operatories.clear();
    const PracticeInfo* practice = practice_tables.practice.get();
    for (int d = 0; d < 7; ++d)
        choices->weekdays[d] = provider < 0 ? practice && practice->defaultStart[d][0] != kNoTime
                                            : practice_tables.providers[static_cast<size_t>(provider)].defaultStart[d][0] != kNoTime;
    if (provider < 0) return;
    choices->providers.push_back(provider);
    const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(provider)];
    for (size_t o = 0; o < practice_tables.operatories.size(); ++o) {
        const int n = practice_tables.operatories[o].number;
        if (n >= 0 && n < kOperatoryBitmapBytes * 8 && (p.operatoryBitmap[n / 8] >> (n % 8) & 1))
            choices->operatories.push_back(static_cast<int>(o));
    }
    if (!choices->operatories.empty()) return;
    for (size_t o = 0; o < practice_tables.operatories.size(); ++o)
        if (std::memcmp(practice_tables.operatories[o].id, a.operatory, 4) == 0) choices->operatories.push_back(static_cast<int>(o));
}

int32_t QuickStartDate(int32_t date, FindDateUnit unit, int steps) {
    switch (unit) {
    case FindDateUnit::kMonths: return QVN_AddMonths(date, steps);
    case FindDateUnit::kWeeks: return date + 7 * steps;
    case FindDateUnit::kDays: break;
    }
    return date + steps;
}

int StepLengthMinutes(int minutes, int delta, int block_minutes) {
    const int block = std::max(block_minutes, 5);
    return std::clamp(minutes / block + delta, 1, kFindMaxLengthMinutes / block) * block;
}

FindEnables FindModeEnables(bool by_block, bool assigned_only, bool by_type) {
    FindEnables e;
    e.lists = !by_block;
    e.blocks = by_block;
    // A time block names its own provider and operatory; the assignments would contradict it.
    e.byBlock = !assigned_only;
    e.types = !by_block && by_type;
    return e;
}

FindSelectionVerdict CheckFindSelection(bool assigned_only, int providers, int operatories) {
    FindSelectionVerdict v;
    if (assigned_only && operatories == 0) {
        if (providers == 0) return {kNeedBoth, FindSelectionFocus::kProviders, false};
        v.selectAllOperatories = true;  // the assignments choose among all of them
        return v;
    }
    if (providers == 0) return {operatories == 0 ? kNeedBoth : kNeedProvider, FindSelectionFocus::kProviders, false};
    if (operatories == 0) return {kNeedOperatory, FindSelectionFocus::kOperatories, false};
    return v;
}

int NextFoundRow(int count, int current, const char** message) {
    *message = nullptr;
    if (count <= 0) {
        *message = kNoTimesFound;
        return -1;
    }
    if (current + 1 >= count) {
        *message = kEndOfList;
        return -1;
    }
    return current < 0 ? 0 : current + 1;
}
