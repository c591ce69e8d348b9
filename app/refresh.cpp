// The announce reads the stations of a set first and then takes each record alone under its
// lock: no record stays locked while the next one is read, and a record another station holds
// at that moment is skipped (counted) instead of ending the pass.
#include "app/refresh.h"

#include <algorithm>
#include <cstring>

#include "data/practice_schedule.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/workstation_settings.h"

RefreshState refresh_state;

namespace {

constexpr uint16_t kNotFound = 101;
constexpr int kRememberedDates = 10;

uint16_t Count(QdbSession session) {
    const uint16_t error = QDB_GetLastErrorNum(session);
    ++refresh_state.errors;
    refresh_state.lastError = error;
    return error;
}

// The stations registered for exactly this date (key 85), read without locks.
std::vector<ComDatRecord> StationsOn(QdbFile file, int32_t date) {
    std::vector<ComDatRecord> found;
    ComDatRecord r{};
    const QdbSet set = QDB_StartSet(file, kComDatByDateKey, 0, &date, &r, 4);
    if (!set) return found;
    do found.push_back(r);
    while (QDB_NextRecInSet(set, &r));
    QDB_EndSet(set);
    return found;
}

void Append(ComDatRecord& r, uint32_t appointment_id, uint16_t value) {
    if (r.noticeCount >= kComDatNotices) {
        std::memmove(r.appointmentIds, r.appointmentIds + 1, sizeof(uint32_t) * (kComDatNotices - 1));
        std::memmove(r.values, r.values + 1, sizeof(uint16_t) * (kComDatNotices - 1));
        r.noticeCount = kComDatNotices - 1;
    }
    r.appointmentIds[r.noticeCount] = appointment_id;
    r.values[r.noticeCount] = value;
    ++r.noticeCount;
}

// Appends the notice to one station's record under its lock; 0 or the error.
uint16_t AppendTo(QdbSession session, QdbFile file, uint8_t station, uint32_t appointment_id, uint16_t value) {
    QDB_StartLocking(session);
    ComDatRecord r{};
    uint16_t result = 0;
    if (QDB_FindRec(file, kComDatByStationKey, &station, &r)) {
        Append(r, appointment_id, value);
        if (!QDB_WriteRec(file, &r)) result = Count(session);
    } else if (QDB_GetLastErrorNum(session) != kNotFound) {
        result = Count(session);
    }
    QDB_StopLocking(session);
    return result;
}

}  // namespace

uint8_t StationCode() {
    const int station = ReadNetworkSettings().station;
    return static_cast<uint8_t>(station == 0 ? 101 : 100 + station);
}

int RefreshTimerSeconds() {
    const NetworkSettings n = ReadNetworkSettings();
    if (n.net_version != 1 || n.station_count <= 1) return 0;
    return n.update_speed;
}

uint16_t RegisterStation(uint8_t station, int32_t date, uint16_t kind, const char provider[4], const char operatory[4]) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kComDatFile);
    if (!file.Handle()) return Count(session.Handle());
    QDB_StartLocking(session.Handle());
    ComDatRecord r{};
    const bool found = QDB_FindRec(file.Handle(), kComDatByStationKey, &station, &r) != 0;
    if (!found && QDB_GetLastErrorNum(session.Handle()) != kNotFound) return Count(session.Handle());
    if (!found) {
        r = ComDatRecord{};
        r.station = station;
    }
    r.date = station >= 100 ? WeekStartOf(date) : date;
    r.registration = kind;
    std::memcpy(r.provider, provider, 4);
    std::memcpy(r.operatory, operatory, 4);
    r.noticeCount = 0;
    const int written = found ? QDB_WriteRec(file.Handle(), &r) : QDB_AddRec(file.Handle(), &r);
    if (!written) return Count(session.Handle());
    return found ? 0 : kNotFound;
}

uint16_t AnnounceChange(uint8_t station, int32_t date, const char provider[4], const char operatory[4],
                        uint32_t appointment_id, uint16_t change_kind) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kComDatFile);
    if (!file.Handle()) return Count(session.Handle());
    uint16_t last_error = 0;
    for (const ComDatRecord& r : StationsOn(file.Handle(), date)) {
        if (r.station == station) continue;
        const bool taken = r.registration == kRegisteredAll ||
                           (r.registration == kRegisteredProvider && std::memcmp(r.provider, provider, 4) == 0) ||
                           (r.registration == kRegisteredOperatory && std::memcmp(r.operatory, operatory, 4) == 0);
        if (taken)
            if (const uint16_t e = AppendTo(session.Handle(), file.Handle(), r.station, appointment_id, change_kind)) last_error = e;
    }
    const int32_t week = WeekStartOf(date);
    for (const ComDatRecord& r : StationsOn(file.Handle(), week)) {
        if (r.station == station || r.station < 100) continue;
        if (const uint16_t e = AppendTo(session.Handle(), file.Handle(), r.station, appointment_id,
                                        static_cast<uint16_t>(date - week)))
            last_error = e;
    }
    return last_error;
}

int PollStation(uint8_t station, const std::vector<int32_t>& displayed_days, const std::function<void(int32_t)>& reload,
                const std::function<void()>& schedule_changed) {
    ComDatRecord copy{};
    {
        QdbPrivateSession session;
        QdbOpenedFile file(session.Handle(), kComDatFile);
        if (!file.Handle()) return Count(session.Handle()), 0;
        QDB_StartLocking(session.Handle());
        if (!QDB_FindRec(file.Handle(), kComDatByStationKey, &station, &copy)) return Count(session.Handle()), 0;
        if (copy.noticeCount == 0) return 1;
        ComDatRecord cleared = copy;
        cleared.noticeCount = 0;
        if (!QDB_WriteRec(file.Handle(), &cleared)) Count(session.Handle());
    }  // the lock goes with the session, before any day is reloaded
    uint32_t ids[kComDatNotices];  // out of the packed record: its fields are not aligned
    std::memcpy(ids, copy.appointmentIds, sizeof ids);
    const int notices = std::min<int>(copy.noticeCount, kComDatNotices);
    if (schedule_changed && std::find(ids, ids + notices, 0u) != ids + notices) schedule_changed();
    std::vector<int32_t> reloaded;
    for (int32_t day : displayed_days)
        for (int n = 0; n < copy.noticeCount && n < kComDatNotices; ++n) {
            if (day != copy.date + copy.values[n]) continue;
            if (std::find(reloaded.begin(), reloaded.end(), day) != reloaded.end()) continue;
            reload(day);
            if (reloaded.size() < kRememberedDates) reloaded.push_back(day);
        }
    return 1;
}

void UnregisterStation(uint8_t station) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kComDatFile);
    if (!file.Handle()) return void(Count(session.Handle()));
    QDB_StartLocking(session.Handle());
    ComDatRecord r{};
    if (!QDB_FindRec(file.Handle(), kComDatByStationKey, &station, &r) || !QDB_DeleteCurRec(file.Handle()))
        Count(session.Handle());
}
