// Hit testing of the schedule sheet: which day, operatory column and element of the day data a
// point of the sheet lies on. Presses, drags, double-clicks and the context menus all start here.
#pragma once

#include "views/day_data.h"

// The results of a hit test.
enum HitResult : int {
    kHitNothing = 0,
    kHitAppointment = 1,
    kHitTimeBlock = 2,
    kHitCutOff = -1,        // an appointment continued from above or running below the window
    kHitEmptySlot = -2,
    kHitNoteMarker = -3,    // the medical alert or note icon
    kHitPatientAlert = -4,
    kHitLabCase = -5,
};

struct HitRecord {
    HitResult result = kHitNothing;
    int day = -1;              // index into day_data.days of the moment of the hit only
    int32_t date = 0;          // the date of the day hit, the appointment's own; 0 for none
    int column = -1;           // index into that day's columns
    ColumnKind kind = kOperatoryColumn;
    int left = 0, right = 0;   // the column's x range
    int top = 0, bottom = 0;   // the element's y range
    int block = -1;            // time block: its index in the column's block list
    int hour = 0, minute = 0;  // empty slot: its time
    ApptDisplay appointment;   // appointment results: a copy of its display record
};

// Hit-tests a point of the sheet in the day and week view against the shown days with the
// sheet's state (top time, measures, Ideal Day display) and the window's height.
HitRecord HitTest(int x, int y, int window_height);

// Whether the mouse has gone far enough from the press for a drag: outside the system's drag
// rectangle (drag_width by drag_height pixels) centred on the press point. A click that wobbles
// a pixel stays a click.
bool BeyondDragDistance(int dx, int dy, int drag_width, int drag_height);
