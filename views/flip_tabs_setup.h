// The rows of the Flip Tabs Setup dialog apart from its window: the stored tabs as editable rows,
// the OK checks page by page with their messages, and the rows back as tabs.
#pragma once

#include <cstdint>
#include <string>

#include "views/flip_tabs.h"

enum FlipTabRowType : int { kFlipRowNotUsed = 0, kFlipRowAbsolute = 1, kFlipRowRelative = 2 };

constexpr int kFlipDescriptionMax = 15;
constexpr int kFlipDateTextMax = 10;
constexpr int kFlipCountTextMax = 3;

// One row as the dialog edits it.
struct FlipTabRow {
    int type = kFlipRowNotUsed;
    std::string description;
    uint32_t textColor = 0;
    std::string date;    // absolute: the typed date
    std::string count;   // relative: the typed count
    bool backward = false;
    bool fromDisplayed = false;
};

struct FlipTabRows {
    FlipTabRow rows[kFlipModes][kFlipUserTabs];
};

// The stored tabs as rows: absolute ones with their date as "03/14/2026", relative ones with
// their count, undefined ones not used.
FlipTabRows RowsOfFlipTabs(const FlipTabSet& set);

// "Days", "Weeks" or "Months": the unit label of a page's relative rows.
const char* FlipTabUnitLabel(FlipTabMode mode);

// A count edit keeps a change only while it holds digits alone.
bool FlipCountTextAllowed(const std::string& text);

enum FlipTabRowField : int { kFlipFieldNone = 0, kFlipFieldDescription, kFlipFieldDate, kFlipFieldCount };

struct FlipTabRowFault {
    int page = -1;  // FlipTabMode of the faulty row, -1 when every page passed
    int row = -1;
    FlipTabRowField field = kFlipFieldNone;
};

// The OK checks: pages Day, Week, Month in turn, rows 1 to 4 that are used. The first fault's
// message is shown (9204 an empty description, 9091 a date that does not parse, 9012 a count
// that is not all digits; group 1) and returned; nothing else is checked after it.
FlipTabRowFault CheckFlipTabRows(const FlipTabRows& rows);

// The rows as tabs, once they passed the checks: absolute 0x3 with the parsed date, relative 0x1
// (+0x8 backward, +0x4 from the displayed date) with the count, not used all cleared. The fifth
// slots stay empty.
FlipTabSet FlipTabsOfRows(const FlipTabRows& rows);
