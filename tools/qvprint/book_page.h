// The printed appointment book: one day's sheet for the job's providers and operatories, hours,
// display lines and options, laid out on as many pages as its time rows need.
#pragma once

#include <string>
#include <vector>

#include "suite/records/print_job.h"
#include "tools/qvprint/page_items.h"
#include "views/day_data.h"

// Makes the job's providers and operatories (those the practice still has, in the job's order)
// the active view with its display lines, and loads the job's day the way the sheet loads it.
// The practice tables must be loaded. False when the day could not be read (reported).
bool LoadBookDay(const PrintJobRecord& job, DayRecord* day);

// The geometry of the printed sheet, worked out once for every page.
struct BookGrid {
    int firstUnit = 0, endUnit = 0;  // the printed time range, in 5-minute units, whole rows
    int blockUnits = 2;
    int rowHeight = 0;
    int rowsPerPage = 0;
    int gridTop = 0;                 // below the heading and the column captions
    PageRect timeLeft, timeRight;    // timeRight empty without the time at right
    std::vector<PageRect> columns;   // the day's columns in order, providers first
};
BookGrid BookGridOf(const PrintJobRecord& job, const DayRecord& day, const PageMetrics& m);

// The pages of the day: heading, column captions (with the providers' day amounts when the job
// prints amounts), the time rows, the providers' booked time, the time blocks when the job
// prints Ideal Day blocks, and each appointment as a box with its start time on the first row and
// its display lines under it (beside it in a box of one row);
// a box that runs over a page break goes on at the top of the next page with its texts again.
// The day note, when the job asks for it and the day has one, closes the last page.
std::vector<Page> LayOutBookView(const PrintJobRecord& job, const DayRecord& day, const std::string& day_note,
                                 const PageMetrics& m);
