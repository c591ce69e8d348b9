// A found free time shown on the schedule sheet: where the sheet scrolls to show it, and the
// outline around its cell, which the sheet paints until the result list lets it go.
#pragma once

#include <cstdint>

struct FoundTimeMark {
    bool shown = false;
    int32_t date = 0;
    int start = 0;       // 5-minute units
    int length = 0;      // 5-minute units
    char operatory[4] = {};
};
extern FoundTimeMark found_time_mark;

// The sheet's new top unit to show a stretch from start, length units long, when the sheet
// shows top to bottom now: a whole hour, with the stretch about in the middle and at least an
// hour above it; a stretch longer than the window less an hour starts at the top. A top that
// works out at 0 or below leaves the sheet where it is (top).
int FoundTimeTopUnit(int top, int bottom, int start, int length);

struct SheetRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The cell of the mark on the shown days: its operatory's column of its date, from its start
// row to its end. False when the sheet does not show that date and operatory.
bool FoundTimeCell(const FoundTimeMark& mark, SheetRect* cell);

// The four frames drawn outward around a cell, innermost first: two hatched ones two pixels
// apart, then two solid dark grey ones just outside them.
struct OutlineFrame {
    SheetRect rect;      // the frame is the one-pixel border of this rectangle
    bool hatched = false;
};
constexpr uint32_t kOutlineGrey = 0x00404040;
void OutlineFrames(const SheetRect& cell, OutlineFrame frames[4]);
