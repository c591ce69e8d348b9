// The pin board window ("SSPinBoard") right of the sheet: it shows the parked appointment's card,
// hands it to the sheet for dragging on a left press, shows its information box while the right
// button is held, and answers the board's messages (kPinBoardPark and the others in pin_board.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include "views/pin_board.h"

extern const char kPinBoardClass[];  // "SSPinBoard"

// The window procedure for the class table.
WNDPROC PinBoardWindowProc();

// Called on a double-click on the parked appointment with its id: the Appointment Information
// dialog opens it. Null (the default): the double-click does nothing.
using PinBoardOpenHook = void (*)(uint32_t appointment_id);
void SetPinBoardOpenHook(PinBoardOpenHook hook);

// For the appointment store's saved hook: empties the board when it holds that appointment.
void DropSavedFromPinBoard(uint32_t appointment_id);

// An appointment the dialog sent to the board ([Apptbook] "Clipboard Appt" names it): parked
// and shown now.
void ParkClipboardOnBoard();
// The card's rectangle in the board's client area: the card bitmap centred; empty when nothing
// is parked.
RECT PinBoardCardRect(HWND board);
