// The save runs in five steps: the practice-hours question; the old occupancy out and the new
// in (with the checks); the record write; the pin board told; on a failed write the occupancy
// put back. The occupancy and the record are separate writes, so every path that fails after
// the occupancy changed undoes it.
#include "data/appointment_store.h"

#include <cstring>

#include "appointments/conflict_checks.h"
#include "data/db_access.h"
#include "data/id_counters.h"
#include "data/occupancy.h"
#include "suite/audit.h"
#include "suite/prompter.h"

const char kChangedElsewhere[] = "Appointment has been changed at another workstation during edit. Edit canceled!";

namespace {

AppointmentSavedHook saved_hook = nullptr;

FileGroupDesc AppointmentGroup() {
    FileGroupDesc desc{};
    DbGroupOf(kAppointmentFile, &desc);
    return desc;
}

std::vector<AppointmentRecord> ReadSet(int key, const void* prefix, int prefix_length) {
    std::vector<AppointmentRecord> found;
    DbGroupScope group(AppointmentGroup());
    if (group.Result() != kQdbOk) return found;
    AppointmentRecord a{};
    for (uint16_t r = DbStartSetForward(key, DbPrepareKey(prefix), &a, prefix_length); r == kQdbOk;
         r = DbNextInSet(key, &a))
        found.push_back(a);
    return found;
}

#pragma pack(push, 1)
struct DayResourcePrefix {
    int32_t date;
    uint8_t marker;
    char id[4];
};
#pragma pack(pop)
static_assert(sizeof(DayResourcePrefix) == 9);

bool Scheduled(const AppointmentRecord& a) { return a.date != 0; }

}  // namespace

uint16_t ReadAppointment(uint32_t id, AppointmentRecord* appointment, bool lock) {
    return DbReadForUpdate(AppointmentGroup(), kApptByIdKey, &id, sizeof id, appointment, lock);
}

std::vector<AppointmentRecord> ReadDay(int32_t date) { return ReadSet(kApptByDateOperatoryKey, &date, sizeof date); }

std::vector<AppointmentRecord> ReadDayOfOperatory(int32_t date, const char operatory[4]) {
    DayResourcePrefix prefix{date, kMarkerOperatory, {}};
    std::memcpy(prefix.id, operatory, 4);
    return ReadSet(kApptByDateOperatoryKey, &prefix, sizeof prefix);
}

std::vector<AppointmentRecord> ReadDayOfProvider(int32_t date, const char provider[4]) {
    DayResourcePrefix prefix{date, kMarkerProvider, {}};
    std::memcpy(prefix.id, provider, 4);
    return ReadSet(kApptByDateProviderKey, &prefix, sizeof prefix);
}

std::vector<AppointmentRecord> ReadPatientAppointments(uint32_t patient_id) {
    return ReadSet(kApptByPatientKey, &patient_id, sizeof patient_id);
}

bool FindUnscheduledOfPatient(uint32_t patient_id, AppointmentRecord* appointment) {
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id))
        if (a.unscheduled == 1) {
            *appointment = a;
            return true;
        }
    return false;
}

std::vector<AttachedReason> GatherAttachedReasons(uint32_t patient_id, int32_t today) {
    std::vector<AttachedReason> reasons;
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id)) {
        if (Scheduled(a) && a.date < today) continue;
        for (int slot = 0; slot < kReasonSlots; ++slot) {
            if (a.reasonKinds[slot] == 0) continue;
            if (reasons.size() == kMaxAttachedReasons) return reasons;
            reasons.push_back({a.reasons[slot], a.reasonKinds[slot], static_cast<uint8_t>(Scheduled(a) ? 1 : a.status)});
        }
    }
    return reasons;
}

bool SaveAppointment(bool add, const AppointmentRecord* before, const AppointmentRecord& record) {
    const bool old_scheduled = !add && before && Scheduled(*before);
    const bool new_scheduled = Scheduled(record);
    if (new_scheduled && !CheckPracticeOpen(record)) return false;

    if (old_scheduled && !RemoveOccupancy(*before)) return false;
    if (new_scheduled && !AddOccupancy(record, false)) {
        if (old_scheduled) AddOccupancy(*before, true);
        return false;
    }

    AppointmentRecord stored{};
    if (before) stored = *before;
    uint32_t id = record.id;
    const uint16_t result = DbSaveRecord(AppointmentGroup(), kApptByIdKey, &id, sizeof id, &stored, &record, add);
    if (result != kQdbOk) {
        if (new_scheduled) RemoveOccupancy(record);
        if (old_scheduled) AddOccupancy(*before, true);
        return false;
    }
    QVN_BuildApptAudit(&record, add ? nullptr : &stored);
    if (saved_hook) saved_hook(record.id);
    return true;
}

bool CheckApptUnchanged(AppointmentRecord* opening_copy) {
    const AppointmentRecord aside = *opening_copy;
    const bool read = ReadAppointment(aside.id, opening_copy, false) == kQdbOk;
    if (read && std::memcmp(opening_copy, &aside, sizeof aside) == 0) return true;
    if (read) ShowRefusal(kChangedElsewhere);
    *opening_copy = aside;
    return false;
}

uint32_t NewAppointmentId() { return NextRecordId(kAppointmentIdCounter); }

void SetAppointmentSavedHook(AppointmentSavedHook hook) { saved_hook = hook; }
