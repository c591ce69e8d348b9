// The pin board's contents and the start-up rule for the appointment put aside by another module.
#include "views/pin_board.h"

#include <cstring>

#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "suite/workstation_settings.h"

int32_t DateOfHit(const HitRecord& record) {
    if (record.day < 0 || record.day >= static_cast<int>(day_data.days.size())) return 0;
    return day_data.days[static_cast<size_t>(record.day)].date;
}

void ParkOnBoard(PinBoardContents* board, const HitRecord& record, int32_t date) {
    board->record = record;
    board->date = date;
    board->parked = true;
}

void EmptyBoard(PinBoardContents* board) {
    board->parked = false;
    board->record = HitRecord();
    board->date = 0;
}

uint32_t ParkedAppointmentId(const PinBoardContents& board) {
    return board.parked ? static_cast<uint32_t>(board.record.appointment.id) : 0;
}


bool ParkClipboardAppointment(PinBoardContents* board) {
    const uint32_t id = ReadClipboardAppointment();
    if (id == 0) return false;
    AppointmentRecord a{};
    if (ReadAppointment(id, &a) != 0 || a.unscheduled != 1) return false;
    HitRecord record;
    record.result = kHitAppointment;
    record.appointment = DisplayOfRecord(a);
    ParkOnBoard(board, record, a.date);
    WriteClipboardAppointment(id);
    return true;
}
