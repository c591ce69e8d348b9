// The month view's geometry apart from its windows: which dates of a month get a band, which
// band shows first, where a time lies on the horizontal time axis, the bars of a row's counters,
// the day view's top time after a click, and scrolling by bands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "views/view_definition.h"

// The dates of the reference date's month whose weekday (1 Sunday .. 7 Saturday) is in the
// list (ended by 0), in order; *reference_band is the band of the reference date, or of the first
// shown date after it (the last band when none follows).
std::vector<int32_t> MonthBandDates(int32_t reference, const int (&weekdays)[kViewDays], int* reference_band);

// The first band shown: 0 when all fit into the height; else the reference band, moved back so
// that the bands from it to the end fill the height with whole bands, not below 0.
int MonthFirstBand(int bands, int reference_band, int band_height, int sheet_height);

// The time axis of a row: the caption box (5 "x" widths), then the units MS..ME, then the amount
// column (6 "x" widths) when the amounts are shown.
struct MonthAxis {
    int ms = 0, me = 288;
    int captionWidth = 0, amountWidth = 0;
    int sheetWidth = 0;
    bool amounts = false;
    int X(int unit) const;             // left edge of a unit
    int Right() const;                 // the axis' right end: the amount column or the sheet's edge
    int UnitAt(int x) const;           // -1 outside the axis
};
MonthAxis MakeMonthAxis(int sheet_width, int x_width, bool amounts, int ms, int me);

// Runs of equal counters (1 booked, 2 booked twice, 3 unavailable) along the axis; 0s are free.
struct MonthBar {
    int left, right;  // pixels, right exclusive
    int counter;
};
std::vector<MonthBar> MonthBars(const MonthAxis& axis, const uint8_t* counters /* per unit 0..287 */);

// The day view's top time after a click on a unit: one hour before the clicked hour, moved back
// so that the day view's span ends before unit 289 (then a whole hour); a click in the hour after
// midnight keeps the current top.
int MonthClickTopUnit(int clicked_unit, int span, int current_top);

// Scrolling by whole bands. first and last are the first and last visible band.
struct MonthScroll {
    int bands = 0;
    int first = 0, last = 0;
    int page = 1;
    bool LineUp();
    bool LineDown();
    bool PageUp();
    bool PageDown();
    bool Thumb(int position);
    int RangeEnd() const;  // the scroll range is 0 .. this, at least 1
};
// The page size: the weekdays of the list, at most 6 when the month is built, and one more (at
// most 7) on every later layout of the main window.
int MonthPageSize(const int (&weekdays)[kViewDays], bool later_layout);

// --- The month view's windows ------------------------------------------------------------------

// What the three windows share between paints: the scrolling by bands, the rows of a band (the
// view's providers, at least 1) and the larger "x" width of fonts 1 and 2 (the main window
// measures it).
struct MonthViewState {
    MonthScroll scroll;
    int rows = 1;
    int xWidth = 8;
};
extern MonthViewState month_view;

// Sets the bands of a newly built month: the first band shown from the reference band, the last
// band that fits whole, and the page size of a new month.
void StartMonthScroll(int bands, int reference_band, int band_height, int sheet_height,
                      const int (&weekdays)[kViewDays]);

// The last band that fits whole below the first into the height (at least the first), or -1
// without bands.
int MonthLastBand(int first, int bands, int band_height, int height);

// The band under a point y of the sheet or the time column, -1 below the last band.
int MonthBandAt(int first, int bands, int band_height, int y);

// A press on the sheet: the band and the first unit of the hour under the point; false outside
// the time axis (the caption box, the amount column) or below the bands.
struct MonthHit {
    int band = -1;
    int hourUnit = -1;
};
bool MonthSheetHit(const MonthAxis& axis, int first, int bands, int band_height, int x, int y, MonthHit* hit);

// "Mo 10": two letters of the weekday, a blank and the day of the month.
std::string MonthBandLabel(int32_t date);
// "March 2027": the month's name and the year.
std::string MonthTitle(int32_t date);
// The header's hour label of a whole hour in 12-hour form: " 8a", "12p", " 1p", "12a".
std::string MonthHourLabel(int unit);
