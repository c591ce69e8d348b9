// The main window's toolbar "QvnToolBarMcl": the module buttons and the program's own command
// buttons, in the arrangement the user chose, along the top or down the left side.
#pragma once

#include <windows.h>

#include <vector>

#include "app/command_rules.h"           // SelectionFacts
#include "lists/toolbar.h"               // ToolbarButton
#include "suite/workstation_settings.h"  // ButtonBarOrientation

constexpr int kButtonBarControlId = 12110;
extern const char kToolbarClass[];  // "QvnToolBarMcl", a toolbar control of our own name
extern const char kToolTipClass[];  // "QvnToolTip", its tooltips

// Creates the bar as a child of parent with the buttons it knows (by default the main window's
// own buttons and separators) in the arrangement saved under [section] "Toolbar" (the default
// one without a section), all buttons in their state for "nothing selected" and the Ideal Day
// toggle as given. A click sends WM_COMMAND with the button's command (and the bar as the long
// parameter) to parent. A right click offers "Customize Toolbar...", "Remove Button" and "Remove
// Separator"; a changed arrangement is saved under the section. The bar sizes itself to nothing:
// parent places it (33 pixels high along the top, or 35 wide at the left). Its pictures are freed
// when it is destroyed. Null when it cannot be created.
HWND CreateButtonBar(HWND parent, HINSTANCE instance, ButtonBarOrientation orientation, bool ideal_day,
                     const std::vector<ToolbarButton>& known = KnownToolbarButtons(0, nullptr, false),
                     const char* section = nullptr);

// The bar's entries now, as an arrangement (0 for a separator).
ToolbarArrangement ButtonBarArrangement(HWND bar);

// The Ideal Day toggle (388): checked and showing its "on" picture while the switch is on.
void SetButtonBarIdealDay(HWND bar, bool on);

// Enables each button as the button-state answers say for this selection and shows the "on"
// pictures of the patient's facts.
void RefreshButtonBar(HWND bar, const SelectionFacts& facts);
