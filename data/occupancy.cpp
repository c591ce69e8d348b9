// Lock order: the provider's week record, then the operatory's. The provider record stays
// locked (its update open) while the operatory record is checked and written, so that two
// workstations booking the same provider or operatory in one week are serialised on it: the
// second reads the first one's counters.
#include "data/occupancy.h"

#include <cstring>

#include "appointments/conflict_checks.h"
#include "data/rscuse_record.h"
#include "data/time_pattern.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"

namespace {

constexpr uint16_t kNotFound = 101;

RscUseKey WeekKey(uint8_t kind, const char id[4], int32_t week) {
    RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
    std::memcpy(key.id, id, 4);
    return key;
}

RscUseWeek NewWeekRecord(const RscUseKey& key) {
    RscUseWeek record{};
    record.head.week = key.week;
    record.head.kind = key.kind;
    std::memcpy(record.head.id, key.id, 4);
    return record;
}

// The week record read and locked for update, waiting while another session holds it; 0 with
// missing set when the record does not exist, 0 alone on another failure.
QdbUpdate StartUpdateWaiting(QdbSession session, QdbFile file, const RscUseKey& key, RscUseWeek* record,
                             bool* missing) {
    const QdbUpdate update =
        RetryWhileLocked(session, [&] { return QDB_StartUpdate(file, 2, kRscUseKey, &key, record); });
    *missing = !update && QDB_GetLastErrorNum(session) == kNotFound;
    return update;
}

bool FindLockedWaiting(QdbSession session, QdbFile file, const RscUseKey& key, RscUseWeek* record) {
    return RetryWhileLocked(session, [&] { return QDB_FindRec(file, kRscUseKey, &key, record); }) != 0;
}

// Aborts an open update unless it was handed on.
class UpdateGuard {
public:
    explicit UpdateGuard(QdbUpdate update) : update_(update) {}
    ~UpdateGuard() {
        if (update_) QDB_AbortUpdate(update_);
    }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;
    QdbUpdate Get() const { return update_; }
    QdbUpdate Release() {
        QdbUpdate u = update_;
        update_ = 0;
        return u;
    }

private:
    QdbUpdate update_;
};

void AddAmount(RscUseWeek& week, int day, int32_t amount) {
    const int64_t sum = static_cast<int64_t>(static_cast<int32_t>(week.scheduledAmount[day])) + amount;
    week.scheduledAmount[day] = static_cast<uint32_t>(static_cast<int32_t>(sum));
}

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


// The operatory part of the removal, on the caller's open file.
bool RemoveFromOperatory(QdbSession session, QdbFile file, const AppointmentRecord& a, const AppointmentSlots& slots) {
    QDB_StartLocking(session);
    RscUseWeek week{};
    bool ok = FindLockedWaiting(session, file, WeekKey(kRscOperatory, a.operatory, slots.week), &week);
    if (ok) {
        for (int slot = slots.start; slot < slots.end; ++slot) SetSlotCounter(week.occupancy[slots.weekday], slot, 0);
        ClearDayBookedWhenEmpty(week, slots.weekday);
        if (AllFlagsClear(week)) {
            ok = QDB_DeleteCurRec(file) != 0;
        } else {
            SubtractAmount(week, slots.weekday, a.amount);
            ok = QDB_WriteRec(file, &week) != 0;
        }
    }
    QDB_StopLocking(session);
    return ok;
}

bool RemoveFromProvider(QdbSession session, QdbFile file, const AppointmentRecord& a, const AppointmentSlots& slots) {
    QDB_StartLocking(session);
    RscUseWeek week{};
    bool ok = true;
    if (FindLockedWaiting(session, file, WeekKey(kRscProvider, a.provider, slots.week), &week)) {
        for (int slot = slots.start; slot < slots.end; ++slot) {
            if (!IsProviderSlot(a, slot - slots.start)) continue;
            const int c = SlotCounter(week.occupancy[slots.weekday], slot);
            if (c > 0) SetSlotCounter(week.occupancy[slots.weekday], slot, c - 1);
        }
        SubtractAmount(week, slots.weekday, a.amount);
        ClearDayBookedWhenEmpty(week, slots.weekday);
        ok = WeekRecordHoldsNothing(week) ? QDB_DeleteCurRec(file) != 0 : QDB_WriteRec(file, &week) != 0;
    } else {
        ok = QDB_GetLastErrorNum(session) == kNotFound;
    }
    QDB_StopLocking(session);
    return ok;
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

bool AddOccupancy(const AppointmentRecord& a, bool silent) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kRscUseKey);
    if (!file.Handle()) return false;
    const QdbSession s = session.Handle();
    const QdbFile f = file.Handle();
    const AppointmentSlots slots = SlotsOf(a);

    // Provider, first half: read and lock (or start a new record), check, count; not written yet.
    const RscUseKey provider_key = WeekKey(kRscProvider, a.provider, slots.week);
    RscUseWeek provider{};
    bool provider_new = false;
    UpdateGuard provider_update(StartUpdateWaiting(s, f, provider_key, &provider, &provider_new));
    if (provider_new) provider = NewWeekRecord(provider_key);
    else if (!provider_update.Get()) return false;
    if (!RunProviderChecks(a, slots, provider, silent, f)) return false;
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (!IsProviderSlot(a, slot - slots.start)) continue;
        const int c = SlotCounter(provider.occupancy[slots.weekday], slot);
        if (c <= 1) SetSlotCounter(provider.occupancy[slots.weekday], slot, c + 1);
        else if (!silent) return false;
    }
    MarkDayBooked(provider, slots.weekday);
    AddAmount(provider, slots.weekday, a.amount);

    // Operatory: every slot of the appointment, one booking at a time.
    const RscUseKey operatory_key = WeekKey(kRscOperatory, a.operatory, slots.week);
    RscUseWeek operatory{};
    bool operatory_new = false;
    UpdateGuard operatory_update(StartUpdateWaiting(s, f, operatory_key, &operatory, &operatory_new));
    if (operatory_new) operatory = NewWeekRecord(operatory_key);
    else if (!operatory_update.Get()) return false;
    for (int slot = slots.start; slot < slots.end; ++slot) {
        if (SlotCounter(operatory.occupancy[slots.weekday], slot) == 0) continue;
        if (silent) continue;
        ShowRefusal(kOperatoryBooked);
        return false;
    }
    for (int slot = slots.start; slot < slots.end; ++slot)
        if (SlotCounter(operatory.occupancy[slots.weekday], slot) == 0) SetSlotCounter(operatory.occupancy[slots.weekday], slot, 1);
    MarkDayBooked(operatory, slots.weekday);
    AddAmount(operatory, slots.weekday, a.amount);
    // The update writes back the buffer it read into, which now holds the new counters.
    const bool operatory_written = operatory_new ? QDB_AddRec(f, &operatory) != 0 : QDB_CommitUpdate(operatory_update.Release()) != 0;
    if (!operatory_written) return false;

    // Provider, second half.
    const bool provider_written = provider_new ? QDB_AddRec(f, &provider) != 0 : QDB_CommitUpdate(provider_update.Release()) != 0;
    if (!provider_written) {
        RemoveFromOperatory(s, f, a, slots);
        return false;
    }
    return true;
}

bool RemoveOccupancy(const AppointmentRecord& a) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kRscUseKey);
    if (!file.Handle()) return false;
    const AppointmentSlots slots = SlotsOf(a);
    if (!RemoveFromOperatory(session.Handle(), file.Handle(), a, slots)) return false;
    RemoveFromProvider(session.Handle(), file.Handle(), a, slots);
    return true;
}
