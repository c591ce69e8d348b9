// Taking an appointment's share out of its week records and putting it in, in memory, and
// writing the records that changed. The provider checks run on the provider's week as this
// change left it so far, so that an appointment moved within its own week is never in its own way.
#include "data/occupancy.h"

#include <cstring>

#include "appointments/conflict_checks.h"
#include "data/time_pattern.h"
#include "suite/messages.h"
#include "suite/prompter.h"

namespace {

RscUseKey WeekKey(uint8_t kind, const char id[4], int32_t week) {
    RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
    std::memcpy(key.id, id, 4);
    return key;
}

std::string KeyBytes(const RscUseKey& key) { return std::string(reinterpret_cast<const char*>(&key), sizeof key); }

RscUseWeek NewWeekRecord(const RscUseKey& key) {
    RscUseWeek record{};
    record.head.week = key.week;
    record.head.kind = key.kind;
    std::memcpy(record.head.id, key.id, 4);
    return record;
}

void AddAmount(RscUseWeek& week, int day, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(static_cast<int32_t>(week.scheduledAmount[day])) + amount;
    week.scheduledAmount[day] = static_cast<uint32_t>(static_cast<int32_t>(sum));
}

// A day's amount never goes below zero.
void SubtractAmount(RscUseWeek& week, int day, int32_t amount) {
    int64_t rest = static_cast<int64_t>(static_cast<int32_t>(week.scheduledAmount[day])) - amount;
    if (rest < 0) rest = 0;
    week.scheduledAmount[day] = static_cast<uint32_t>(rest);
}

void MarkDayBooked(RscUseWeek& week, int day) {
    if (week.dayFlags[day] == 0) week.dayFlags[day] = kDayHasAppointments;
}

void ClearDayBookedWhenEmpty(RscUseWeek& week, int day) {
    if (DayIsEmpty(week.occupancy[day])) week.dayFlags[day] &= static_cast<uint8_t>(~kDayHasAppointments);
}

bool AllFlagsClear(const RscUseWeek& week) {
    for (int d = 0; d < 7; ++d)
        if (week.dayFlags[d]) return false;
    return true;
}

// An operatory's week goes when its last day flag does; a provider's only when nothing at all
// is left in it, as it also carries the provider's hour overrides.
bool ShouldDelete(const RscUseWeek& week) {
    return week.head.kind == kRscOperatory ? AllFlagsClear(week) : WeekRecordHoldsNothing(week);
}

}  // namespace

bool WeekRecordHoldsNothing(const RscUseWeek& week) {
    for (int d = 0; d < 7; ++d) {
        if (week.dayFlags[d] || week.scheduledAmount[d] || !DayIsEmpty(week.occupancy[d])) return false;
        for (int i = 0; i < 3; ++i)
            if (week.start[d][i]) return false;
    }
    return true;
}

RscUseKey WeekRecords::ProviderWeekOf(const AppointmentRecord& a) {
    return WeekKey(kRscProvider, a.provider, SlotsOf(a).week);
}

RscUseKey WeekRecords::OperatoryWeekOf(const AppointmentRecord& a) {
    return WeekKey(kRscOperatory, a.operatory, SlotsOf(a).week);
}

void WeekRecords::Want(const AppointmentRecord& a, QdbFile rscuse, RecordLockSet& locks) {
    for (const RscUseKey& key : {ProviderWeekOf(a), OperatoryWeekOf(a)}) {
        entries_.emplace(KeyBytes(key), Entry{});
        locks.Add(rscuse, kRscUseFile, kRscUseKey, &key, sizeof key);
    }
}

bool WeekRecords::Read(QdbSession session, QdbFile rscuse) {
    for (auto& [bytes, entry] : entries_) {
        RscUseKey key;
        std::memcpy(&key, bytes.data(), sizeof key);
        entry.existed = QDB_FindRec(rscuse, kRscUseKey, &key, &entry.stored) != 0;
        if (!entry.existed) {
            if (QDB_GetLastErrorNum(session) != kQdbNotFound) {
                DbReportError(kRscUseFile, QDB_GetLastErrorNum(session), QDB_GetLastFileNum(session));
                return false;
            }
            entry.stored = RscUseWeek{};
            entry.record = NewWeekRecord(key);
        } else {
            entry.record = entry.stored;
        }
    }
    return true;
}

RscUseWeek* WeekRecords::Find(const RscUseKey& key) {
    auto it = entries_.find(KeyBytes(key));
    return it == entries_.end() ? nullptr : &it->second.record;
}

bool WeekRecords::Existed(const RscUseKey& key) const {
    auto it = entries_.find(KeyBytes(key));
    return it != entries_.end() && it->second.existed;
}

bool WeekRecords::Write(QdbFile rscuse) const {
    for (const auto& [bytes, entry] : entries_) {
        if (std::memcmp(&entry.record, &entry.stored, sizeof entry.record) == 0) continue;
        if (!entry.existed) {
            if (ShouldDelete(entry.record)) continue;
            if (!QDB_AddRec(rscuse, &entry.record)) return false;
            continue;
        }
        if (!QDB_FindRec(rscuse, kRscUseKey, bytes.data(), nullptr)) return false;
        if (!(ShouldDelete(entry.record) ? QDB_DeleteCurRec(rscuse) : QDB_WriteRec(rscuse, &entry.record))) return false;
    }
    return true;
}

bool TakeOutOccupancy(WeekRecords& weeks, const AppointmentRecord& a) {
    const AppointmentSlots slots = SlotsOf(a);
    const RscUseKey operatory_key = WeekRecords::OperatoryWeekOf(a);
    RscUseWeek* operatory = weeks.Find(operatory_key);
    if (!operatory || !weeks.Existed(operatory_key)) return false;
    for (int slot = slots.start; slot < slots.end; ++slot) SetSlotCounter(operatory->occupancy[slots.weekday], slot, 0);
    ClearDayBookedWhenEmpty(*operatory, slots.weekday);
    SubtractAmount(*operatory, slots.weekday, a.amount);

    const RscUseKey provider_key = WeekRecords::ProviderWeekOf(a);
    RscUseWeek* provider = weeks.Find(provider_key);
    if (!provider || !weeks.Existed(provider_key)) return true;  // nothing of it to take out
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (!IsProviderSlot(a, slot - slots.start)) continue;
        const int c = SlotCounter(provider->occupancy[slots.weekday], slot);
        if (c > 0) SetSlotCounter(provider->occupancy[slots.weekday], slot, c - 1);
    }
    SubtractAmount(*provider, slots.weekday, a.amount);
    ClearDayBookedWhenEmpty(*provider, slots.weekday);
    return true;
}

bool PutInOccupancy(WeekRecords& weeks, const AppointmentRecord& a, QdbFile rscuse) {
    const AppointmentSlots slots = SlotsOf(a);
    RscUseWeek* provider = weeks.Find(WeekRecords::ProviderWeekOf(a));
    RscUseWeek* operatory = weeks.Find(WeekRecords::OperatoryWeekOf(a));
    if (!provider || !operatory) return false;

    // Week records the change does not hold locked are read as stored, the change's own as it
    // left them: an alias the appointment moves away from is free for it.
    auto read_week = [&](const RscUseKey& key, RscUseWeek* record) {
        if (const RscUseWeek* own = weeks.Find(key)) {
            *record = *own;
            return true;
        }
        return QDB_FindRec(rscuse, kRscUseKey, &key, record) != 0;
    };
    if (!RunProviderChecks(a, slots, *provider, read_week, rscuse)) return false;
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (!IsProviderSlot(a, slot - slots.start)) continue;
        const int c = SlotCounter(provider->occupancy[slots.weekday], slot);
        if (c >= 2) return false;  // the double-booking check refused it already
        SetSlotCounter(provider->occupancy[slots.weekday], slot, c + 1);
    }
    MarkDayBooked(*provider, slots.weekday);
    AddAmount(*provider, slots.weekday, a.amount);

    // The operatory: every slot of the appointment, one booking at a time.
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (SlotCounter(operatory->occupancy[slots.weekday], slot) == 0) continue;
        ShowRefusal(kOperatoryBooked);
        return false;
    }
    for (int slot = slots.start; slot < slots.end; ++slot) SetSlotCounter(operatory->occupancy[slots.weekday], slot, 1);
    MarkDayBooked(*operatory, slots.weekday);
    AddAmount(*operatory, slots.weekday, a.amount);
    return true;
}
