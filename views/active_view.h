// The active view: the applied view's lists turned into indices of the loaded provider and
// operatory tables, which is what the sheet reads while painting; and applying a view at start-up
// and on the function keys.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "data/practice_schedule.h"
#include "views/view_definition.h"

using ResourceIdBytes = std::array<char, 4>;

struct ActiveView {
    int number = 1;
    int providerCount = 0;
    int providers[kMaxViewResources] = {};   // indices into the loaded provider table
    int operatoryCount = 0;
    int operatories[kMaxViewResources] = {};  // indices into the loaded operatory table
    int days[kViewDays] = {};
    bool showAmount = false;
    bool showAlerts = true;
    bool showNotes = true;
    int beginTime = kDefaultViewBegin;
    int endTime = kDefaultViewEnd;
    uint8_t infoOrder[kViewLines] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
};

// Copies the view into the active view as number n. An ID that is not in its table is left
// out, so the counts may shrink; the order of the view is kept.
void ApplyViewDefinition(int n, const ViewDefinition& view,
                         const std::vector<ResourceIdBytes>& provider_table,
                         const std::vector<ResourceIdBytes>& operatory_table, ActiveView* active);

// The view numbers 1-12 an apply accepts; anything else counts as view 1.
int ViewNumberToApply(int n);

// F1 to F12 on the main window: the view to apply, or 0 when the key is no function key or its
// view is already the current one.
int ViewForFunctionKey(int function_key_number, int current_view);

// The process-wide view state: the view applied last, the first time of day the sheet shows
// and the weekdays on which the practice opens.
struct ViewState {
    ActiveView active;
    ViewDefinition definition;        // the applied view as read from the settings
    int firstShownTime = 7 * 12;      // 5-minute units, a whole hour
    std::vector<int> openWeekdays;    // 0 Sunday .. 6 Saturday, ascending
    bool applied = false;             // a view has been applied since start-up
};
extern ViewState view_state;

// The start of the sheet for a weekday (0 Sunday .. 6 Saturday): the practice's first opening
// time that day rounded down to the whole hour, 7:00 am when it does not open.
int FirstShownTimeOf(const PracticeInfo& practice, int weekday);

// The weekdays whose first interval has a start time, ascending.
std::vector<int> OpenWeekdaysOf(const PracticeInfo& practice);

// Reads view n and applies it to the loaded practice tables. The lists a view leaves empty take
// those of the view applied before (at start-up: the first 20 providers and operatories).
void ApplyView(int n);
