// The left mouse button on the schedule sheet: select, move, resize; and the floating window
// that shows the dragged box.
#pragma once

#include <windows.h>

void OnSheetLeftButtonDown(HWND sheet, int x, int y);
void OnSheetMouseMove(HWND sheet, int x, int y);
void OnSheetLeftButtonUp(HWND sheet, int x, int y);
bool SheetDragging();
// Ends whatever the mouse is doing on the sheet without doing it: the floating window goes, the
// cursor is free again, nothing is moved, and a card from the pin board goes back there. For a
// lost capture (WM_CAPTURECHANGED to another window) and for Escape.
void CancelSheetDrag(HWND sheet);
void OnSheetCaptureChanged(HWND sheet, HWND new_capture);
// Message 5172: the selection's buttons and menu entries are worked out anew.
void OnSheetSelectionButtons();
// Frees the context menus and ends any drag.
void OnSheetDestroyed();
// The pin board hands over its appointment (message 1082) with the press point in sheet
// coordinates: the move starts with the floating box hidden until the cursor enters the sheet.
struct HitRecord;
void OnDragFromPinBoard(HWND sheet, const HitRecord& parked, int x, int y);
// Right button: the appointment becomes the selection; with Shift its information box shows until
// the button is released.
void OnSheetRightButtonDown(HWND sheet, int x, int y, bool shift);
void OnSheetRightButtonUp(HWND sheet);
// A double-click: on the selected appointment it opens in the Appointment Information dialog; on
// a free slot of an operatory column a new appointment starts there, for a patient chosen first.
void OnSheetDoubleClick(HWND sheet, int x, int y);

// The window procedure of "MoveIt", for the class table.
WNDPROC FloatingWindowProc();
void SetSheetMouseFont(HFONT font3);
// Called after every change of the selection (the main window refreshes its buttons).
void SetSelectionChangedHook(void (*hook)());
