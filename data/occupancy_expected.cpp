// One computation of the week records the save path writes: see the header.
#include "data/occupancy_expected.h"

#include <cstring>

WeekRecordKey WeekRecordKeyOf(uint8_t kind, const char id[4], int32_t week) {
    RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
    std::memcpy(key.id, id, 4);
    return WeekRecordKey(reinterpret_cast<const char*>(&key), sizeof key);
}

RscUseKey WeekKeyBytes(const WeekRecordKey& key) {
    RscUseKey k{};
    std::memcpy(&k, key.data(), sizeof k);
    return k;
}

void AddToExpectedWeeks(const AppointmentRecord& a, ExpectedWeeks* expected) {
    const AppointmentSlots slots = SlotsOf(a);
    ExpectedWeek& p = (*expected)[WeekRecordKeyOf(kRscProvider, a.provider, slots.week)];
    ExpectedWeek& o = (*expected)[WeekRecordKeyOf(kRscOperatory, a.operatory, slots.week)];
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (IsProviderSlot(a, slot - slots.start)) {
            const int c = SlotCounter(p.occupancy[slots.weekday], slot);
            if (c < 2) SetSlotCounter(p.occupancy[slots.weekday], slot, c + 1);
        }
        SetSlotCounter(o.occupancy[slots.weekday], slot, 1);
    }
    for (ExpectedWeek* e : {&p, &o}) {
        e->booked[slots.weekday] = true;
        e->amount[slots.weekday] += a.amount;
    }
}

RscUseWeek ExpectedWeekRecord(const WeekRecordKey& key, const ExpectedWeek& e) {
    const RscUseKey k = WeekKeyBytes(key);
    RscUseWeek record{};
    record.head.week = k.week;
    record.head.kind = k.kind;
    std::memcpy(record.head.id, k.id, 4);
    std::memcpy(record.occupancy, e.occupancy, sizeof record.occupancy);
    for (int d = 0; d < 7; ++d) {
        record.dayFlags[d] = e.booked[d] ? kDayHasAppointments : 0;
        record.scheduledAmount[d] = static_cast<uint32_t>(static_cast<int32_t>(e.amount[d]));
    }
    return record;
}
