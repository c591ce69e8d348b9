// Moving, scheduling and lengthening appointments from the sheet: the questions, the right and
// the past-date confirmation, the new start, the scheduling write with its conflict checks, and
// the announcements to the other workstations. The caller reloads the shown days afterwards.
#pragma once

#include <cstdint>

struct AppointmentRecord;

extern const char kMoveQuestion[];      // "Move appointment?"
extern const char kScheduleQuestion[];  // "Schedule appointment?"
constexpr int kRightMoveAppointment = 66;
constexpr int kPastDateMessage = 6042;

enum class MoveOutcome {
    kNothingToDo,  // dropped on its own place, or the length is unchanged
    kStopped,      // a question answered No, the right refused, or the record not read
    kRefused,      // the scheduling write refused it: the appointment stays where it was
    kMoved,
};

// Drops appointment id on date, operatory and start unit (5-minute units since midnight). An
// appointment without a date (pin board, unscheduled list) is scheduled instead of moved, and so
// is any appointment dragged from the pin board: the question is "Schedule appointment?" and Yes
// clears [Apptbook] "Clipboard Appt". One with a date still needs right 66 to leave its place.
MoveOutcome MoveAppointment(uint32_t id, int32_t date, const char operatory[4], int start_unit, int32_t today,
                            bool from_pin_board = false);

// Takes a found free time into the appointment the search was made for, as it was read when the
// search began: its date, start, operatory and provider. The stored record must still be that
// one byte for byte (the search may have taken minutes), else "Appointment has been changed at
// another workstation during edit. Edit canceled!" and nothing changes. One with a date needs
// right 66 to leave its place; one from the pin board or the unscheduled list is scheduled and
// [Apptbook] "Clipboard Appt" cleared. Nothing is asked beyond what the save asks: choosing the
// time was the user's answer.
MoveOutcome PlaceAppointmentAt(const AppointmentRecord& read_at_start, int32_t date, const char operatory[4],
                               const char provider[4], int start_unit, bool from_pin_board);

// A resize's new length in minutes, behind right 66; 4 minutes or less change nothing.
MoveOutcome ChangeAppointmentLength(uint32_t id, int minutes);

// The start in the appointment's own time units: with unit size u (5-minute units, 0 read as 2),
// (60 / (u * 5)) * hour + minute / (u * 5).
int StartInOwnUnits(int unit_size, int hour, int minute);

// A resize's length in minutes from the box's top and its dragged lower edge: whole rows,
// rounded to the nearest, of S units of 5 minutes.
int ResizeMinutes(int top, int bottom, int row_height, int block_units);

// The drop time of a box whose top is at y (sheet pixels): ((y + R / 2) / R) * S + top time,
// the division truncating toward zero, so that a top up to half a row above the view lands on
// its top row.
int DropUnit(int y, int row_height, int block_units, int top_unit);
