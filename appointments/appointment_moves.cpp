// Moves and length changes of appointments dropped on the sheet.
#include "appointments/appointment_moves.h"

#include <cstring>

#include "app/refresh.h"
#include "data/appointment_record.h"
#include "data/appointment_store.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"

const char kMoveQuestion[] = "Move appointment?";
const char kScheduleQuestion[] = "Schedule appointment?";

namespace {

// The old place left, the new place arrived: two notices, so that stations showing either
// date reload it.
void AnnounceMove(const AppointmentRecord& before, const AppointmentRecord& after) {
    const uint8_t station = StationCode();
    if (before.date != 0) AnnounceChange(station, before.date, before.provider, before.operatory, before.id, kChangeLeft);
    AnnounceChange(station, after.date, after.provider, after.operatory, after.id, kChangeArrived);
}

// The record at its new place: date, start and operatory; one that had no date leaves the
// unscheduled list.
AppointmentRecord MovedCopy(const AppointmentRecord& before, int32_t date, const char operatory[4], int start_unit) {
    const int hour = start_unit / 12, minute = (start_unit % 12) * 5;
    AppointmentRecord after = before;
    after.hour = static_cast<uint8_t>(hour);
    after.minute = static_cast<uint8_t>(minute);
    after.date = date;
    after.operatoryMarker = kMarkerOperatory;
    std::memcpy(after.operatory, operatory, 4);
    if (before.date == 0) {
        // Only the unscheduled flag goes: an ASAP or OPEN appointment keeps its schedule mark.
        if (after.status >= kStatusBroken) after.status = kStatusNone;
        after.unscheduled = 0;
    }
    after.startUnit = static_cast<uint8_t>(StartInOwnUnits(after.unitSize, hour, minute));
    return after;
}

}  // namespace

int StartInOwnUnits(int unit_size, int hour, int minute) {
    const int minutes_per_unit = (unit_size == 0 ? 2 : unit_size) * 5;
    return (60 / minutes_per_unit) * hour + minute / minutes_per_unit;
}

int ResizeMinutes(int top, int bottom, int row_height, int block_units) {
    if (row_height <= 0) return 0;
    return ((row_height / 2 - top + bottom) / row_height) * block_units * 5;
}

int DropUnit(int y, int row_height, int block_units, int top_unit) {
    if (row_height <= 0) return top_unit;
    return ((y + row_height / 2) / row_height) * block_units + top_unit;
}

MoveOutcome MoveAppointment(uint32_t id, int32_t date, const char operatory[4], int start_unit, int32_t today,
                            bool from_pin_board) {
    AppointmentRecord before{};
    if (ReadAppointment(id, &before) != 0) return MoveOutcome::kStopped;
    const int hour = start_unit / 12, minute = (start_unit % 12) * 5;
    if (before.date == date && before.hour == hour && before.minute == minute &&
        std::memcmp(before.operatory, operatory, 4) == 0)
        return MoveOutcome::kNothingToDo;
    const bool had_date = before.date != 0;
    if (!had_date || from_pin_board) {
        if (!AskYesNo(kScheduleQuestion)) return MoveOutcome::kStopped;
        WriteClipboardAppointment(0);
    } else if (!AskYesNo(kMoveQuestion)) {
        return MoveOutcome::kStopped;
    }
    if (had_date) {
        if (QVN_CheckRights(kRightMoveAppointment, true) <= 0) return MoveOutcome::kStopped;
        if (date < today && QVN_Message(kMsgGroupSuite, kPastDateMessage) != kAnswerOk) return MoveOutcome::kStopped;
    }
    const AppointmentRecord after = MovedCopy(before, date, operatory, start_unit);
    if (!SaveAppointment(false, &before, after)) return MoveOutcome::kRefused;
    AnnounceMove(before, after);
    return MoveOutcome::kMoved;
}

MoveOutcome PlaceAppointmentAt(const AppointmentRecord& read_at_start, int32_t date, const char operatory[4],
                               const char provider[4], int start_unit, bool from_pin_board) {
    const AppointmentRecord& before = read_at_start;
    if (before.date != 0 && QVN_CheckRights(kRightMoveAppointment, true) <= 0) return MoveOutcome::kStopped;
    AppointmentRecord after = MovedCopy(before, date, operatory, start_unit);
    after.providerMarker = kMarkerProvider;
    std::memcpy(after.provider, provider, 4);
    if (std::memcmp(&after, &before, sizeof after) == 0) return MoveOutcome::kNothingToDo;
    // The save compares the stored record with the one read at the search's start under its lock.
    if (!SaveAppointment(false, &before, after)) return MoveOutcome::kRefused;
    if (before.date == 0 || from_pin_board) WriteClipboardAppointment(0);
    AnnounceMove(before, after);
    return MoveOutcome::kMoved;
}

MoveOutcome ChangeAppointmentLength(uint32_t id, int minutes) {
    if (QVN_CheckRights(kRightMoveAppointment, true) <= 0) return MoveOutcome::kStopped;
    if (minutes <= 4) return MoveOutcome::kNothingToDo;
    AppointmentRecord before{};
    if (ReadAppointment(id, &before) != 0) return MoveOutcome::kStopped;
    if (before.length == minutes) return MoveOutcome::kNothingToDo;
    AppointmentRecord after = before;
    after.length = static_cast<uint16_t>(minutes);
    if (!SaveAppointment(false, &before, after)) return MoveOutcome::kRefused;
    AnnounceMove(before, after);
    return MoveOutcome::kMoved;
}
