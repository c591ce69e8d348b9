// Cross-workstation refresh: every running appointment book registers in the Com_dat file which
// week it shows; a change appends a notice to the record of every other station that shows the
// changed date; each station polls its own record on a timer and reloads the days the notices
// name. Each operation works on a short session of its own, never on the program's main one.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "data/com_dat_record.h"

// Change kinds of a notice for a date registration.
enum ChangeKind : uint16_t {
    kChangeTimeBlock = 0,
    kChangeArrived = 1,   // the appointment is now at this date and place
    kChangeLeft = 2,      // it left this date and place
    kChangeInPlace = 3,
};

// Diagnosis only: failures of the operations are counted and otherwise silent.
struct RefreshState {
    int errors = 0;
    uint16_t lastError = 0;
};
extern RefreshState refresh_state;

// 100 + [NETWORK] STATION (default 1), 101 for STATION 0.
uint8_t StationCode();
// The refresh timer's period in seconds ([NETWORK] UpdateSpeed limited to 5-20), or 0 when no
// timer runs (NetVersion not 1, or StationCount 1 or less).
int RefreshTimerSeconds();

// 0 when the station's record was rewritten, 101 when it was made, else the database's result.
uint16_t RegisterStation(uint8_t station, int32_t date, uint16_t kind = 0, const char provider[4] = "    ",
                         const char operatory[4] = "    ");
// Appends the notice to every other station showing the date or its week; 0 or the last error.
uint16_t AnnounceChange(uint8_t station, int32_t date, const char provider[4], const char operatory[4],
                        uint32_t appointment_id, uint16_t change_kind);
// Takes the own notices and calls reload once for each displayed day they name (at most ten
// dates remembered per poll). Returns 1 when the own record was read, else 0.
// A notice without an appointment is a change of the schedule itself (hours, time blocks, the
// block size): schedule_changed, when given, is called once for such notices before any reload.
int PollStation(uint8_t station, const std::vector<int32_t>& displayed_days, const std::function<void(int32_t)>& reload,
                const std::function<void()>& schedule_changed = nullptr);
void UnregisterStation(uint8_t station);
