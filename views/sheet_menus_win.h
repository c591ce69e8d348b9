// The sheet's context menus as Win32 popup menus: built once when the sheet is created and
// destroyed with it, shown at the cursor with right-button tracking.
#pragma once

#include <windows.h>

#include "views/day_data.h"

class SheetMenus {
public:
    // command_window receives the chosen commands (the main window).
    explicit SheetMenus(HWND command_window);
    ~SheetMenus();
    SheetMenus(const SheetMenus&) = delete;
    SheetMenus& operator=(const SheetMenus&) = delete;

    // Shows the patient menu / the new-patient menu at a screen point over owner. The chosen
    // command is posted to the command window as WM_COMMAND and returned; 0 when the menu was
    // closed without a choice.
    int TrackPatientMenu(HWND owner, POINT screen);
    int TrackNewPatientMenu(HWND owner, POINT screen);

    // Shows the "TIME BLOCKS FOR " menu of an operatory column and returns the index of the
    // chosen block in the column's block list, or -1. Nothing is posted: the caller opens the
    // block's edit dialog.
    static int TrackTimeBlockMenu(HWND owner, POINT screen, const DayColumn& column);

    HMENU PatientMenu() const { return patient_; }
    HMENU NewPatientMenu() const { return new_patient_; }
    void SetCommandWindow(HWND window) { command_window_ = window; }

private:
    int Track(HMENU menu, HWND owner, POINT screen);

    HWND command_window_;
    HMENU patient_;
    HMENU new_patient_;
};
