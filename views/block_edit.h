// Changing one time block on one date from the schedule sheet: the rules of the Time Block
// Edit dialog (its two time bars, the OK checks, what is written) and of dragging a block to
// another time or length. The result always lands in the provider's week override for that
// date and is announced to the other workstations as a block change.
#pragma once

#include <cstdint>
#include <string>

#include "data/block_override.h"
#include "views/day_data.h"

extern const char kInvalidTimeRange[];    // "Invalid Time Range!"
extern const char kBlockOverlaps[];       // "Block overlaps another block!"

// --- The two time bars: one position per time block step over the whole day. ---------------

// The last position (the first is 0) and an hour's worth of positions.
int BlockBarLastPosition(int block_units);
int BlockBarPage(int block_units);
// The position that shows a time, the middle of the day for a block without times that date.
int BlockBarPositionOf(int time, int block_units);
int BlockBarTime(int position, int block_units);

// A time as the bars show it: "%2d" hour on a 12-hour clock (0 shown as 12), "%2.2d" minutes,
// "am" or "pm".
struct BarTimeText {
    std::string hour, minute, half;
};
BarTimeText BlockBarText(int time);

// Scroll requests with the numbers of the Windows scroll codes.
enum BarScroll : int {
    kBarLineUp = 0,
    kBarLineDown = 1,
    kBarPageUp = 2,
    kBarPageDown = 3,
    kBarThumbPosition = 4,
    kBarThumbTrack = 5,
    kBarTop = 6,
    kBarBottom = 7,
};
// The position after a scroll request; thumb is the dragged thumb's place. Kept in 0..last.
int ScrolledBarPosition(int position, int request, int thumb, int last, int page);

// --- Checks and writes ------------------------------------------------------------------------

// The shown operatory column of a date, or null when that date or operatory is not loaded.
const DayColumn* ShownColumnOf(int32_t date, const char operatory[4]);
// Where a block stands in a column's list (same provider and block number), or -1.
int BlockIndexIn(const DayColumn& column, const TimeBlockRecord& block);

// True when another block of the column (one that ends above 0) ends after start and starts
// before end. Blocks that only touch do not overlap.
bool BlockOverlapsOthers(const DayColumn& column, int block, int start, int end);

// The dialog's OK checks on the chosen times: an end at or before the start is refused with
// "Invalid Time Range!"; a start after midnight that overlaps another block of the column with
// "Block overlaps another block!". column may be null (nothing to overlap). True when accepted.
bool CheckBlockEditTimes(const DayColumn* column, int block, int start, int end);

// Stores what the dialog ended with for the block on the date: new times, or kBlockToDefault /
// kBlockClearDay as start and end. Unchanged times write nothing. A write is announced for the
// date with provider and operatory "XXXX" as a block change, and the date's shown day is
// reloaded (references into it then see the new blocks). True when something was written.
bool ApplyBlockEdit(const TimeBlockRecord& block, int32_t date, int start, int end);

// --- Dragging a block on the sheet -----------------------------------------------------------

// The start under a drop: ((y + R / 2) / R) rows of block_units from the top unit, one row less
// when y is above the sheet, never before midnight.
int BlockDropStart(int y, int row_height, int block_units, int top_unit);
// The length in units of a block whose lower edge was dragged to bottom: whole rows, rounded.
int BlockResizeUnits(int top, int bottom, int row_height, int block_units);

struct BlockRange {
    int start = -1, end = -1;
};
// A dropped block of length_units whose box top is at drop_y; a block that would run past the
// end of the day is moved up to end there.
BlockRange BlockDropRange(int drop_y, int length_units, int row_height, int block_units, int top_unit);

// Moves or resizes block (its index in the column) to new_start - new_end on the date. Nothing
// happens for unchanged times or when the range overlaps another block of the column; otherwise
// the override is written, announced and the shown day reloaded. True when written.
bool MoveTimeBlock(const DayColumn& column, int block, int new_start, int new_end, int32_t date);
