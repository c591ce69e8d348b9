// Time block changes for one date: the bars and checks of the edit dialog and block drags.
#include "views/block_edit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/refresh.h"
#include "data/block_override.h"
#include "suite/prompter.h"

const char kInvalidTimeRange[] = "Invalid Time Range!";
const char kBlockOverlaps[] = "Block overlaps another block!";

namespace {

int Units(int block_units) { return block_units > 0 ? block_units : 1; }

// After a write: the other workstations are told, and the shown day is read again so that the
// sheet paints the block where it now is.
void Announce(int32_t date) {
    AnnounceChange(StationCode(), date, "XXXX", "XXXX", 0, kChangeTimeBlock);
    ReloadShownDay(date);
}

}  // namespace

int BlockBarLastPosition(int block_units) { return kUnitsPerDay / Units(block_units) - 1; }

int BlockBarPage(int block_units) { return std::max(12 / Units(block_units), 1); }

int BlockBarPositionOf(int time, int block_units) {
    const int last = BlockBarLastPosition(block_units);
    if (time < 0) return (last + 1) / 2;
    return std::clamp(time / Units(block_units), 0, last);
}

int BlockBarTime(int position, int block_units) { return position * Units(block_units); }

BarTimeText BlockBarText(int time) {
    const int hour24 = time / 12, minute = (time % 12) * 5;
    int hour = hour24 % 12;
    if (hour == 0) hour = 12;
    char h[8], m[8];
    std::snprintf(h, sizeof h, "%2d", hour);
    std::snprintf(m, sizeof m, "%2.2d", minute);
    return {h, m, hour24 < 12 || hour24 >= 24 ? "am" : "pm"};
}

int ScrolledBarPosition(int position, int request, int thumb, int last, int page) {
    switch (request) {
    case kBarLineUp: position -= 1; break;
    case kBarLineDown: position += 1; break;
    case kBarPageUp: position -= page; break;
    case kBarPageDown: position += page; break;
    case kBarThumbPosition:
    case kBarThumbTrack: position = thumb; break;
    case kBarTop: position = 0; break;
    case kBarBottom: position = last; break;
    default: break;
    }
    return std::clamp(position, 0, last);
}

const DayColumn* ShownColumnOf(int32_t date, const char operatory[4]) {
    for (const DayRecord& day : day_data.days) {
        if (day.date != date) continue;
        for (const DayColumn& c : day.columns)
            if (c.kind == kOperatoryColumn && std::memcmp(c.id, operatory, 4) == 0) return &c;
    }
    return nullptr;
}

int BlockIndexIn(const DayColumn& column, const TimeBlockRecord& block) {
    for (size_t i = 0; i < column.blocks.size(); ++i) {
        const TimeBlockRecord& b = column.blocks[i];
        if (b.blockNumber == block.blockNumber && std::memcmp(b.provider, block.provider, 4) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

bool BlockOverlapsOthers(const DayColumn& column, int block, int start, int end) {
    for (size_t i = 0; i < column.blocks.size(); ++i) {
        if (static_cast<int>(i) == block) continue;
        const TimeBlockRecord& other = column.blocks[i];
        if (other.end > 0 && other.end > start && other.start < end) return true;
    }
    return false;
}

bool CheckBlockEditTimes(const DayColumn* column, int block, int start, int end) {
    if (end <= start) {
        ShowRefusal(kInvalidTimeRange);
        return false;
    }
    if (start > 0 && column && BlockOverlapsOthers(*column, block, start, end)) {
        ShowStop(kBlockOverlaps);
        return false;
    }
    return true;
}

bool ApplyBlockEdit(const TimeBlockRecord& block, int32_t date, int start, int end) {
    if (start == block.start && end == block.end) return false;
    bool written = false;
    if (WriteBlockOverride(block.provider, block.blockNumber, date, start, end, &written) != 0 || !written) return false;
    Announce(date);
    return true;
}

int BlockDropStart(int y, int row_height, int block_units, int top_unit) {
    if (row_height <= 0) return top_unit;
    int rows = (y + row_height / 2) / row_height;
    if (y < 0) rows -= 1;
    return std::max(rows * Units(block_units) + top_unit, 0);
}

int BlockResizeUnits(int top, int bottom, int row_height, int block_units) {
    if (row_height <= 0) return 0;
    return ((row_height / 2 - top + bottom) / row_height) * Units(block_units);
}

BlockRange BlockDropRange(int drop_y, int length_units, int row_height, int block_units, int top_unit) {
    BlockRange r;
    r.start = BlockDropStart(drop_y, row_height, block_units, top_unit);
    r.end = r.start + length_units;
    if (r.end > kUnitsPerDay) {
        r.start -= r.end - kUnitsPerDay;
        r.end = kUnitsPerDay;
    }
    return r;
}

bool MoveTimeBlock(const DayColumn& column, int block, int new_start, int new_end, int32_t date) {
    if (block < 0 || block >= static_cast<int>(column.blocks.size())) return false;
    const TimeBlockRecord& b = column.blocks[static_cast<size_t>(block)];
    if (new_start == b.start && new_end == b.end) return false;
    if (BlockOverlapsOthers(column, block, new_start, new_end)) return false;
    bool written = false;
    if (WriteBlockOverride(b.provider, b.blockNumber, date, new_start, new_end, &written) != 0 || !written) return false;
    Announce(date);
    return true;
}
