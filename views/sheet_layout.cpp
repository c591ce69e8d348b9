// Sheet geometry.
#include "views/sheet_layout.h"

#include <algorithm>

namespace {

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

int UnitOffset(int t, int top, int block_units, int row_height) {
    const int s = std::max(block_units, 1);
    const int d = t - top;
    const int row = FloorDiv(d, s);
    return row * row_height + (row_height / s) * (d - row * s);
}

std::vector<DaySpan> LayOutSheet(const LayoutRequest& in, const SheetMeasures& m) {
    std::vector<DaySpan> days;
    if (in.days <= 0) return days;
    int available = in.sheetWidth;
    if (in.mode == kWeekView && in.timeAtRight) available -= m.timeColumnWidth;
    const int day_width = available / in.days;
    const int wider_days = available % in.days;
    const int columns = in.providerColumns + in.operatoryColumns;
    int x = 0;
    for (int d = 0; d < in.days; ++d) {
        DaySpan day;
        day.left = x;
        const int width = day_width + (d < wider_days ? 1 : 0);
        int provider_width = in.mode == kDayView ? std::min(columns ? width / columns : width, m.providerColumnWidth)
                                                 : m.providerColumnWidth / 2;
        int cx = x;
        for (int p = 0; p < in.providerColumns; ++p) {
            day.columns.push_back({cx, cx + provider_width});
            cx += provider_width + 1;
        }
        if (in.operatoryColumns > 0) {
            const int n = in.operatoryColumns;
            const int remaining = width - (cx - x);
            const int each = (remaining - n) / n;
            const int wider = (remaining - n) % n;
            const bool gives_up = in.mode == kWeekView || (in.mode == kDayView && in.timeAtRight);
            const int given_up = gives_up ? m.timeColumnWidth / n : 0;
            for (int o = 0; o < n; ++o) {
                const int w = std::max(each + (o < wider ? 1 : 0) - given_up, 1);
                day.columns.push_back({cx, cx + w});
                cx += w + 1;
            }
        }
        day.right = x + width - 1;  // the whole strip: a closed day is shaded across it
        days.push_back(std::move(day));
        x += width;
    }
    return days;
}

void LayOutShownDays(int sheet_width, bool time_at_right, const SheetMeasures& measures) {
    if (day_data.days.empty()) return;
    LayoutRequest in;
    in.sheetWidth = sheet_width;
    in.days = static_cast<int>(day_data.days.size());
    in.mode = day_data.mode;
    in.timeAtRight = time_at_right;
    for (const DayColumn& c : day_data.days.front().columns)
        (c.kind == kProviderColumn ? in.providerColumns : in.operatoryColumns)++;
    const std::vector<DaySpan> spans = LayOutSheet(in, measures);
    for (size_t d = 0; d < day_data.days.size(); ++d) {
        DayRecord& day = day_data.days[d];
        day.left = spans[d].left;
        day.right = spans[d].right;
        for (size_t c = 0; c < day.columns.size() && c < spans[d].columns.size(); ++c) {
            day.columns[c].left = spans[d].columns[c].left;
            day.columns[c].right = spans[d].columns[c].right;
        }
    }
}

std::vector<std::pair<int, int>> ClosedStretches(const DayHours& hours) {
    std::vector<std::pair<int, int>> closed;
    int open_until = 0;
    for (int i = 0; i < 3; ++i) {
        if (hours.start[i] < 0) continue;
        const int end = hours.end[i] < 0 ? 287 : hours.end[i];
        if (hours.start[i] > open_until) closed.push_back({open_until, hours.start[i]});
        open_until = std::max(open_until, end);
    }
    if (open_until < kUnitsPerDay) closed.push_back({open_until, kUnitsPerDay});
    return closed;
}

BoxRun RunAt(const DayColumn& column, int u, int top, int block_units) {
    BoxRun run;
    run.code = column.codes[u];
    run.firstUnit = u;
    while (run.firstUnit > 0 && column.codes[run.firstUnit - 1] == run.code) --run.firstUnit;
    run.lastUnit = u;
    while (run.lastUnit + 1 < kUnitsPerDay && column.codes[run.lastUnit + 1] == run.code) ++run.lastUnit;
    run.continuedFromAbove = run.firstUnit < top;
    run.hiddenRows = run.continuedFromAbove ? (top - run.firstUnit) / std::max(block_units, 1) : 0;
    return run;
}

std::vector<TextArea> BoxTextAreas(const uint8_t (&lines)[9], int total_rows, int first_visible_row) {
    std::vector<TextArea> areas;
    auto code_of = [&](int row) { return row < 9 ? lines[row] : 0; };
    int row = first_visible_row;
    while (row < total_rows) {
        const int code = code_of(row);
        int start = row;
        // A run that began in hidden rows still counts from its real first row.
        while (start > 0 && code_of(start - 1) == code) --start;
        int end = row + 1;
        while (end < total_rows && code_of(end) == code) ++end;
        if (code != 0) areas.push_back({code, start, end - start});
        row = end;
    }
    return areas;
}

int CurrentTimeUnit(int hour, int minute, int block_units) {
    const int s = std::max(block_units, 1);
    return hour * kUnitsPerHour + (minute / 5 / s) * s;
}

int ScrollLineDown(int top, int bottom, int end) { return bottom < end ? top + kUnitsPerHour : top; }

int ScrollLineUp(int top) { return top >= 1 ? std::max(top - kUnitsPerHour, 0) : top; }

int ScrollPageDown(int top, int bottom, int end) {
    const int step = std::max((bottom - top) / kUnitsPerHour, 1) * kUnitsPerHour;
    if (bottom + step <= end) return top + step;
    const int to_end = end - bottom;
    if (to_end <= 0) return top;
    return top + (to_end + kUnitsPerHour - 1) / kUnitsPerHour * kUnitsPerHour;
}

int ScrollPageUp(int top, int bottom) {
    const int step = std::max((bottom - top) / kUnitsPerHour, 1) * kUnitsPerHour;
    return std::max(top - step, 0);
}

int ScrollThumb(int position) { return std::max(position, 0) / kUnitsPerHour * kUnitsPerHour; }

WeekTotalPlace WeekTotalPlaceOf(int last_day_left, int last_day_right, int header_width, bool time_at_right) {
    if (time_at_right) return {last_day_right + 2, header_width, false};
    return {last_day_left, std::min(last_day_right, header_width - 1) - 2, true};
}
