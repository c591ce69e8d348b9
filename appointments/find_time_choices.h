// The choices of the Find New Appointment Time dialog and the rules that move them, apart from
// the window: what an appointment preselects, the quick date buttons, the length's up-down in
// time-block steps, which controls the block, type and assigned-only boxes leave enabled, and
// the check of the provider and operatory selection before a search.
#pragma once

#include <cstdint>
#include <vector>

struct AppointmentRecord;

// The unit of the quick date buttons 1..6.
enum class FindDateUnit { kDays, kWeeks, kMonths };

constexpr int kFindMaxLengthMinutes = 240;

// What the search dialog shows, kept from one search to the next while the program runs.
struct FindChoices {
    std::vector<int> providers;    // indices into the loaded provider table
    std::vector<int> operatories;  // and the operatory table
    bool weekdays[7] = {};         // Sunday first
    int rangeStart = -1, rangeEnd = -1;  // 5-minute units, -1 open
    FindDateUnit unit = FindDateUnit::kDays;
    int lengthMinutes = 0;
    bool byBlock = false;
    int blockRow = -1;
    bool byType = false;
    int type = 0;                  // row of the type list: 0 "<all>", then the type names
    bool assignedOnly = false;
};

// The practice's time block in minutes (5 when none is set).
int FindBlockMinutes();

// The choices that start from the appointment being placed: its length in whole blocks (one
// block when it has none), its type, no time block; its provider with the operatories assigned
// to that provider (the appointment's own operatory when none is) and the provider's working
// weekdays; for a blank or unknown provider nothing selected and the practice's open weekdays.
void ChoicesFromAppointment(const AppointmentRecord& appointment, FindChoices* choices);

// The start date moved by a quick button: steps days, weeks or months on.
int32_t QuickStartDate(int32_t date, FindDateUnit unit, int steps);

// The length after the up-down moved it delta blocks: whole blocks from one block to 240 minutes.
int StepLengthMinutes(int minutes, int delta, int block_minutes);

// Which controls the three boxes leave usable.
struct FindEnables {
    bool lists = true;       // both "All" boxes, both lists, the assigned-only box and the type box
    bool blocks = false;     // the time block list
    bool byBlock = true;     // "Search By &Time Block"
    bool types = false;      // the appointment type list
};
FindEnables FindModeEnables(bool by_block, bool assigned_only, bool by_type);

// The provider and operatory selection checked before a search, in the dialog's order.
enum class FindSelectionFocus { kNone, kProviders, kOperatories };
struct FindSelectionVerdict {
    const char* message = nullptr;  // nullptr: the search may go on
    FindSelectionFocus focus = FindSelectionFocus::kNone;
    bool selectAllOperatories = false;  // assigned only: every operatory, the assignments narrow them
};
FindSelectionVerdict CheckFindSelection(bool assigned_only, int providers, int operatories);

// " &View" and "View &Next" of the result list: the row to view next after current (-1 none
// selected) among count rows, or -1 with the message that says why there is none.
int NextFoundRow(int count, int current, const char** message);
