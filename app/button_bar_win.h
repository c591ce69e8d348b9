// The main window's plain button bar: a common-controls toolbar with the program's own command
// buttons, along the top or down the left side.
#pragma once

#include <windows.h>

#include "app/command_rules.h"           // SelectionFacts
#include "suite/workstation_settings.h"  // ButtonBarOrientation

constexpr int kButtonBarControlId = 12110;

// Creates the bar as a child of parent with every button and separator of the button bar, all
// buttons in their state for "nothing selected" and the Ideal Day toggle as given. A click sends
// WM_COMMAND with the button's command (and the bar as the long parameter) to parent. The bar
// sizes itself to nothing: parent places it (33 pixels high along the top, or 35 wide at the
// left). Its pictures are freed when it is destroyed. Null when it cannot be created.
HWND CreateButtonBar(HWND parent, HINSTANCE instance, ButtonBarOrientation orientation, bool ideal_day);

// The Ideal Day toggle (388): checked and showing its "on" picture while the switch is on.
void SetButtonBarIdealDay(HWND bar, bool on);

// Enables each button as the button-state answers say for this selection and shows the "on"
// pictures of the patient's facts.
void RefreshButtonBar(HWND bar, const SelectionFacts& facts);
