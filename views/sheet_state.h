// The schedule sheet's own state: the shown date and view mode, the visible stretch of the day,
// the clock row, the selected appointment and the measures and colours it paints with.
#pragma once

#include <cstdint>
#include <vector>

#include "suite/workstation_settings.h"
#include "views/date_steps.h"
#include "views/sheet_measures.h"

struct SelectionFrame {
    bool valid = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct SheetState {
    int32_t shownDate = 0;        // the day of the day view; a day of the shown week otherwise
    ViewMode mode = kDayView;
    int32_t rememberedDate = 0;   // the day the day view returns to
    int topUnit = 7 * 12;         // T0, always a whole hour
    int bottomUnit = 7 * 12;      // T1, found by the last time column paint
    int endUnit = 17 * 12;        // TE, from the view
    int clockHour = -1;           // the clock row of the last tick
    int clockSlot = -1;
    uint32_t selectedId = 0;      // 0: nothing selected
    uint32_t selectedPatientId = 0;  // 0: a new-patient appointment
    int32_t selectedDate = 0;
    SelectionFrame selection;     // recorded while painting
    bool idealDay = false;
    bool timeAtRight = true;
    SheetMeasures measures;
    SheetColours colours;
};
extern SheetState sheet_state;

// The dates the sheet shows for a date and mode: the day itself, the view's weekdays of its
// week, or those of its month (one band each in the month view).
std::vector<int32_t> ShownDatesOf(int32_t date, ViewMode mode);
