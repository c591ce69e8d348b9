// The program's private window messages that cross between its windows (and from the suite's
// other modules), by the numbers they are known under. The pin board's own messages are in
// views/pin_board.h, the flip tab's in views/flip_tab_strip_win.h.
#pragma once

constexpr unsigned kMsgAppointmentChanged = 1028;  // to the main window: an own change; poll at once
constexpr unsigned kMsgNewPatientSelected = 1127;  // to the main window: returns the new-patient selection's id
constexpr unsigned kMsgGiveNewPatientId = 1128;    // to the main window: the new patient got a patient id
constexpr unsigned kMsgRefresh = 1225;             // to the main window: refresh as command 128
constexpr unsigned kMsgSelectionButtons = 5172;    // main window and sheet: the selection's buttons anew
constexpr unsigned kMsgButtonDisabled = 5180;      // to the main window: is this command's button disabled?
constexpr int kCmdShowFamilyAppointments = 1224;   // command: the family appointment list of a patient
constexpr int kCmdOpenHandedOver = 385;            // command (internal): act on what the list of 1224 chose
constexpr int kCmdSelectionButtons = 5172;         // command from the button bar, forwarded to the sheet

// The appointment lists and their header list box.
constexpr unsigned kMsgListApplyChanges = 0x0400 + 4;    // to the list window: other stations' changes
constexpr unsigned kMsgListCurrentLine = 0x0400 + 5;     // header list box to its parent: re-read the line
constexpr unsigned kMsgListClosed = 1030;                // (WM_USER+6) to the main window: the list closed
constexpr unsigned kMsgListSelectedLine = 0x0400 + 333;  // to the list window: wParam when a line is selected

// The suite's print program (qvprint.exe): the class of its hidden window and the command that
// makes it look at the print queue again.
constexpr char kPrintProgramClass[] = "Rpt";
constexpr int kCmdLookAtPrintQueue = 5;
