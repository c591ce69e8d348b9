// Find New Appointment Time ("DLG_FIND_TIME") and its result lists "Available Appointment Times"
// ("DLG_FOUND_TIMES" after Search, "DLG_FOUND_TIMES1" with " &View" and "View &Next" after
// Search/View). The search itself is appointments/find_time.h.
#pragma once

#include <windows.h>

#include <cstdint>

struct AppointmentRecord;
struct FoundTime;

// How the result lists show a found time on the schedule sheet; the main window provides them.
struct FoundTimeViewer {
    // Shows the time on the sheet, outlined; quiet: no refusal when its operatory is not shown.
    // False when the sheet could not show it.
    bool (*view)(const FoundTime& found, bool quiet) = nullptr;
    // After Cancel: the sheet's date and scroll as before the list's first view, no outline.
    void (*restore)() = nullptr;
    // After Select: the sheet stays where the view left it, without the outline.
    void (*keep)() = nullptr;
};
void SetFoundTimeViewer(const FoundTimeViewer& viewer);

// Runs the search dialog and the result list in turn until a time is taken or the user cancels
// the search dialog. A taken time is written into the appointment (date, hour, minute,
// operatory, provider) and gives true. The choices of the search dialog are kept while the
// program runs; the length, type, providers, operatories and weekdays start from the
// appointment each time. earliest (0 = none) is the first date the search may start on. From the
// menu, Search/View is for looking only (Select disabled); from the appointment dialog (owner),
// the dialog is hidden while its results are viewed.
bool FindNewAppointmentTime(HWND owner, HINSTANCE instance, AppointmentRecord* appointment, bool from_menu,
                            int32_t earliest);
