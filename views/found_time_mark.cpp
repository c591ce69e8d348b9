// Where a found free time lies on the sheet and how it is outlined.
#include "views/found_time_mark.h"

#include <algorithm>
#include <cstring>

#include "data/practice_schedule.h"
#include "views/day_data.h"
#include "views/sheet_layout.h"
#include "views/sheet_state.h"

FoundTimeMark found_time_mark;

int FoundTimeTopUnit(int top, int bottom, int start, int length) {
    const int span = bottom - top;
    const int margin = std::max((span - length) / 2, kUnitsPerHour);
    const int from = length > span - 11 ? start : start - margin;
    const int whole_hour = from > 0 ? from / kUnitsPerHour * kUnitsPerHour : 0;
    return whole_hour > 0 ? whole_hour : top;
}

bool FoundTimeCell(const FoundTimeMark& mark, SheetRect* cell) {
    const int block_units = std::max(practice_tables.blockUnits, 1);
    const int row = sheet_state.measures.rowHeight;
    for (const DayRecord& day : day_data.days) {
        if (day.date != mark.date) continue;
        for (const DayColumn& c : day.columns) {
            if (c.kind != kOperatoryColumn || std::memcmp(c.id, mark.operatory, 4) != 0) continue;
            cell->left = c.left;
            cell->right = c.right;
            cell->top = UnitOffset(mark.start, sheet_state.topUnit, block_units, row);
            cell->bottom = UnitOffset(mark.start + mark.length, sheet_state.topUnit, block_units, row);
            return true;
        }
    }
    return false;
}

void OutlineFrames(const SheetRect& cell, OutlineFrame frames[4]) {
    // Outward distances of the frames' lines from the cell's edges.
    constexpr int kAt[4] = {1, 3, 4, 5};
    for (int i = 0; i < 4; ++i) {
        const int d = kAt[i];
        frames[i].rect = SheetRect{cell.left - d, cell.top - d, cell.right + d + 1, cell.bottom + d + 1};
        frames[i].hatched = i < 2;
    }
}
