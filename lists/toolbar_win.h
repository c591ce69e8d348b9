// The toolbar's right-click menu and the "Customize Toolbar" dialog.
#pragma once

#include <windows.h>

#include <vector>

#include "lists/toolbar.h"

// The menu "Customize Toolbar...", a separator, "Remove Button" and "Remove Separator" at a
// screen point; "Remove Button" is offered only on a button, "Remove Separator" only on a
// separator. Returns the chosen command, 0 for none.
int ToolbarContextMenu(HWND bar, HINSTANCE instance, POINT screen, bool on_button, bool on_separator);

// "DLG_EDITTOOLBAR" on the arrangement; on OK the arrangement is changed and true returned,
// Cancel leaves it as it was.
bool RunCustomizeToolbar(HWND owner, HINSTANCE instance, const std::vector<ToolbarButton>& known,
                         ToolbarArrangement* arrangement);
