// The resource selection list on a report-style list view: the fill context and the three
// functions the program exports by name so that other modules of the suite can fill, sort and
// clean up such a list in dialogs of their own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One per list. The caller fills it; the functions read it and keep sortColumn up to date.
struct RscFillContext {
    HWND dialog;              // the owning dialog
    HWND list;                // the list view control
    int32_t sortColumn;       // column of the last sort
    int32_t columnWidth[3];   // 0: the default width of that column
    int32_t descending;       // direction of the next sort
    int32_t providers;        // list providers (resource type 1)
    int32_t staff;            // list staff (resource type 2)
    int32_t operatories;      // list operatories (resource type 3) instead of people
    int32_t includeInactive;  // also list inactive resources
    int32_t numberFilter;     // 0 all; 1 only a 10-character number field; other: none
    int32_t allRow;           // put an "<ALL>" row first
    uint8_t providerClass;    // 255 any; else only providers of that class (0 primary, 1 secondary)
};
// Other modules compile the same declaration: the field order and sizes are the interface.
static_assert(offsetof(RscFillContext, list) == sizeof(HWND));
static_assert(offsetof(RscFillContext, sortColumn) == 2 * sizeof(HWND));
static_assert(offsetof(RscFillContext, columnWidth) == offsetof(RscFillContext, sortColumn) + 4);
static_assert(offsetof(RscFillContext, descending) == offsetof(RscFillContext, sortColumn) + 16);
static_assert(offsetof(RscFillContext, providers) == offsetof(RscFillContext, sortColumn) + 20);
static_assert(offsetof(RscFillContext, numberFilter) == offsetof(RscFillContext, sortColumn) + 36);
static_assert(offsetof(RscFillContext, allRow) == offsetof(RscFillContext, sortColumn) + 40);
static_assert(offsetof(RscFillContext, providerClass) == offsetof(RscFillContext, sortColumn) + 44);

extern "C" {

// With make_columns 1 the list is emptied (its rows' records freed), set to full-row selection
// and given its columns. Then the "<ALL>" row when asked and the rows of the chosen types are
// added, each row's item data a copy of its whole resource record owned by the list. Returns the
// number of rows added, or -1 (the list untouched) when no database session can be started.
__declspec(dllexport) int QVN_RscFillListCtrl(RscFillContext* context, int make_columns);

// Sorts the list by the column in the context's direction and remembers the column. An
// undefined column leaves the order and writes one debug-output line.
__declspec(dllexport) void SortListCtrl(RscFillContext* context, int column);

// Frees every row's record and deletes the rows, from the last to the first.
__declspec(dllexport) void DeleteListControlData(HWND list);
}

struct ResourceRecord;
// The record of a row (nullptr for none), as the list owns it.
const ResourceRecord* ResourceListRecord(HWND list, int row);
