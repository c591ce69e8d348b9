// The pin board's contents and the start-up rule for the appointment put aside by another module.
#include "views/pin_board.h"

#include <cstring>

#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "suite/workstation_settings.h"

void ParkOnBoard(PinBoardContents* board, const HitRecord& record) {
    board->record = record;
    board->record.day = -1;
    board->record.column = -1;
    board->date = record.date;
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
    record.appointment = DisplayShownOf(a);
    record.date = a.date;
    ParkOnBoard(board, record);
    WriteClipboardAppointment(id);
    return true;
}
