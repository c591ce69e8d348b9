// The pin board's contents: at most one appointment parked aside to be scheduled by dragging it
// onto the sheet, with the date it had when it was parked (0 for one without a date, which the
// board shows with the "no date" card). The window in pin_board_win decodes the messages and
// paints; what is parked, and what the start-up setting parks, is decided here.
#pragma once

#include <cstdint>

#include "data/appointment_record.h"
#include "views/sheet_hit.h"

// The board's private messages.
constexpr unsigned kPinBoardPark = 1082;      // wParam: HitRecord*, copied; lParam 1
constexpr unsigned kPinBoardGetParked = 1083; // returns const HitRecord* or 0
constexpr unsigned kPinBoardEmpty = 1084;
constexpr unsigned kPinBoardParkedId = 1085;  // returns the parked appointment's id or 0
// The same number sent to the sheet hands it the parked appointment for dragging: wParam the
// HitRecord* (valid only during the call), lParam the press point in sheet coordinates.
constexpr unsigned kSheetDragFromPinBoard = 1082;

struct PinBoardContents {
    bool parked = false;
    HitRecord record;
    int32_t date = 0;  // 0: the appointment has no date
};

// Parks the appointment of the record with its own date (the record's date). The indexes of the
// record into the shown days are dropped: they name nothing once the days are loaded again.
void ParkOnBoard(PinBoardContents* board, const HitRecord& record);
void EmptyBoard(PinBoardContents* board);
uint32_t ParkedAppointmentId(const PinBoardContents& board);


// The start-up rule of the board's first paint: when [Apptbook] "Clipboard Appt" names an
// appointment that can be read and waits on the unscheduled list (its unscheduled flag is 1),
// it is parked with the record's date (0 on that list) and the setting is written again with
// the same id. True when it parked one.
bool ParkClipboardAppointment(PinBoardContents* board);
