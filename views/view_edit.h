// The rules of the Edit View dialog, apart from its window: how hours show as 1-12 with am/pm,
// and what OK checks, in its order, before a view is saved.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "views/view_definition.h"

struct HourField {
    int hour;  // 1 to 12
    bool pm;
};

// A view time (5-minute units) as the dialog shows it.
HourField HourFieldOfTime(int time);
// The view time of an hour 1-12 with am/pm: 12 am is midnight, 12 pm is noon.
int TimeOfHourField(int hour, bool pm);
// The hour of an hour field's text: a whole number 1 to 12, blanks around it allowed; else 0.
int HourOfText(const std::string& text);

using ResourceId = std::array<char, 4>;

// The id a list line names: its first four characters, blank-padded.
ResourceId ResourceIdOfText(const std::string& text);

// One of the dialog's two resource lists: every entry in list order, which are selected, and
// the "All" box beside it.
struct ResourceListInput {
    std::vector<ResourceId> entries;
    std::vector<bool> selected;
    bool all = false;
};

struct ViewEditInput {
    ResourceListInput providers;
    ResourceListInput operatories;
    bool dayChecked[kViewDays] = {};  // Sunday to Saturday
    std::string startHour, endHour;
    bool startPm = false, endPm = false;
    bool showAmount = false, showNotes = false, showAlerts = false;
    uint8_t lines[kViewLines] = {};
};

// Where the dialog puts the focus after a refused OK.
enum ViewEditFocus {
    kViewEditAccepted = 0,
    kViewEditFocusOperatories,
    kViewEditFocusSunday,
    kViewEditFocusStartHour,
    kViewEditFocusEndHour,
};

// The OK checks in order. Each refusal is shown through the prompter and names the control to
// focus; nothing is stored. On acceptance view (whose number the caller has set) holds the new
// lists, days, hours, flags and lines, ready to be saved.
ViewEditFocus CheckViewEdit(const ViewEditInput& input, ViewDefinition* view);
