// The sheet's context menus as data: the patient menu and the new-patient menu of an
// appointment, with their entries, separators and commands in order, and the texts of the
// "TIME BLOCKS FOR " menu of an empty slot while Ideal Day is on.
#pragma once

#include <string>
#include <vector>

#include "views/day_data.h"

struct MenuEntry {
    const char* text;  // null for a separator
    int command;       // sent to the main window; 0 for a separator
};

// An appointment with a patient / a new patient's appointment.
const std::vector<MenuEntry>& PatientMenuEntries();
const std::vector<MenuEntry>& NewPatientMenuEntries();

// The time block menu of an operatory column: a disabled title entry, a separator, then one
// entry per block of the column ("name - PROV"), at most kMaxColumnBlocks. Choosing entry i of
// blocks picks the column's block i.
struct TimeBlockMenu {
    std::string title;                // "TIME BLOCKS FOR " and the operatory identifier
    std::vector<std::string> blocks;
};
TimeBlockMenu TimeBlockMenuOf(const DayColumn& column);
