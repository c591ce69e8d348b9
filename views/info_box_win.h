// The information box window ("DataPopup"): a bordered popup with an appointment's six lines,
// shown while the right button is held on an appointment of the sheet (with Shift) or on the pin
// board. One box exists at a time.
#pragma once

#include <windows.h>

#include <cstdint>

#include "views/day_data.h"

extern const char kInfoBoxClass[];  // "DataPopup"

// The window procedure for the class table.
WNDPROC InfoBoxWindowProc();

// Shows the box for the appointment (date 0: one without a date) centred on anchor_screen, a
// point in screen coordinates: from the sheet the middle of the box's top edge (see
// SheetInfoBoxAnchor), from the pin board the cursor. Closes a box already shown first. The
// window's text holds the six lines joined by "\n", so that other windows and tests can read
// what it shows. Null when the window could not be created.
HWND ShowInfoBox(HWND owner, HINSTANCE instance, const ApptDisplay& appointment, int32_t date, POINT anchor_screen,
                 bool from_pin_board);
void CloseInfoBox();
// The box shown now, or null.
HWND ShownInfoBox();
