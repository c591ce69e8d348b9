// Geometry of the schedule sheet: rows to pixels, days and columns across the sheet, the boxes
// of appointments, the shaded closed time, and the vertical scroll steps. The painting code
// asks these functions where things go and only draws.
#pragma once

#include <utility>
#include <vector>

#include "views/day_data.h"
#include "views/sheet_measures.h"

constexpr int kUnitsPerHour = 12;

// Pixel offset of unit t from the top unit of the visible range (a whole hour): whole rows of
// block size S are R pixels apart, the units within a row share the row's height. Units above
// the top give negative offsets.
int UnitOffset(int t, int top, int block_units, int row_height);

// The widths of the columns of one day across the sheet.
struct LayoutRequest {
    int sheetWidth = 0;
    int days = 1;
    ViewMode mode = kDayView;
    bool timeAtRight = true;
    int providerColumns = 0;
    int operatoryColumns = 0;
};
struct ColumnSpan {
    int left = 0, right = 0;  // right: the column's separator line
};
struct DaySpan {
    int left = 0, right = 0;
    std::vector<ColumnSpan> columns;  // providers first, then operatories
};
std::vector<DaySpan> LayOutSheet(const LayoutRequest& request, const SheetMeasures& measures);

// Applies the layout to the shown days.
void LayOutShownDays(int sheet_width, bool time_at_right, const SheetMeasures& measures);

// Where the week view's header writes the week's total, in the upper half of the header: after
// the seventh day, over the strip the time labels keep at the right; without that strip the days
// fill the width, so the total stands right-aligned in the last day's caption row.
struct WeekTotalPlace {
    int left = 0, right = 0;
    bool alignRight = false;
};
WeekTotalPlace WeekTotalPlaceOf(int last_day_left, int last_day_right, int header_width, bool time_at_right);

// The closed stretches of a day's three opening ranges, as [from, to) units: before the first
// range, between the ranges and after the last one; a range without end runs to 287.
std::vector<std::pair<int, int>> ClosedStretches(const DayHours& hours);

// An appointment's run of units in an operatory column.
struct BoxRun {
    int code = 0;
    int firstUnit = 0;        // the appointment's real first unit, also above the view
    int lastUnit = 0;
    bool continuedFromAbove = false;
    int hiddenRows = 0;       // whole rows above the view
};
// The run that holds unit u; the walk back finds its real start.
BoxRun RunAt(const DayColumn& column, int u, int top, int block_units);

// One area of text in a box: the rows [firstRow, firstRow + rows) counted from the
// appointment's first row, all with the same line code.
struct TextArea {
    int code = 0;
    int firstRow = 0;
    int rows = 0;
};
// The text areas of the visible rows [first_visible_row, total_rows). Rows below the ninth
// draw nothing.
std::vector<TextArea> BoxTextAreas(const uint8_t (&lines)[9], int total_rows, int first_visible_row);

// The time row of the clock: hour * 12 plus the slot, rounded down to whole rows.
int CurrentTimeUnit(int hour, int minute, int block_units);

// Vertical scrolling by the hour. top and bottom are T0 and T1, end is TE; each returns the new
// top.
int ScrollLineDown(int top, int bottom, int end);
int ScrollLineUp(int top);
int ScrollPageDown(int top, int bottom, int end);
int ScrollPageUp(int top, int bottom);
int ScrollThumb(int position);
