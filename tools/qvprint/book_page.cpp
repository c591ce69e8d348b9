// Laying out the printed appointment book.
#include "tools/qvprint/book_page.h"

#include <algorithm>
#include <cstring>

#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "suite/dates.h"
#include "suite/times.h"
#include "views/active_view.h"
#include "views/sheet_layout.h"
#include "views/sheet_text.h"

namespace {

constexpr int kTimeColumnWidth = 64;
constexpr int kProviderColumnWidth = 38;
constexpr int kBoxTimeWidth = 52;
constexpr int kInset = 3;
constexpr int kHeadingLines = 3;   // title, date, a blank
constexpr int kCaptionLines = 2;   // column name, the provider's day amount
constexpr uint32_t kBookedGrey = 0x00C0C0C0;
constexpr uint32_t kCompleteGrey = 0x00E0E0E0;

int FindOperatory(const char id[4]) {
    for (size_t i = 0; i < practice_tables.operatories.size(); ++i)
        if (std::memcmp(practice_tables.operatories[i].id, id, 4) == 0) return static_cast<int>(i);
    return -1;
}

// The units a page shows, and where its first row stands.
struct PageRows {
    int first = 0, end = 0;
    int top = 0;
};

int YOf(const BookGrid& g, const PageRows& rows, int unit) {
    return rows.top + UnitOffset(unit, rows.first, g.blockUnits, g.rowHeight);
}

void AddHeading(const PrintJobRecord& job, const DayRecord& day, const BookGrid& g, const PageMetrics& m,
                int page_number, int pages, Page* page) {
    const int left = m.margin, right = m.width - m.margin;
    const int h = m.lineHeight;
    AddText(page, {left, m.margin, right, m.margin + h + 4}, std::string(job.title, strnlen(job.title, sizeof job.title)),
            TextStyle::kTitle);
    AddText(page, {left, m.margin + h + 4, right, m.margin + 2 * h + 4}, day.longCaption);
    AddText(page, {left, m.margin + h + 4, right, m.margin + 2 * h + 4},
            "Page " + std::to_string(page_number) + " of " + std::to_string(pages), TextStyle::kNormal, true);
    const int caption_top = g.gridTop - kCaptionLines * h;
    for (size_t i = 0; i < day.columns.size(); ++i) {
        const DayColumn& c = day.columns[i];
        const PageRect& r = g.columns[i];
        AddFrame(page, {r.left, caption_top, r.right, g.gridTop});
        AddText(page, {r.left + 1, caption_top, r.right - 1, caption_top + h},
                c.longCaption, TextStyle::kBold);
        if (c.kind == kProviderColumn && job.view.printAmount)
            AddText(page, {r.left + 1, caption_top + h, r.right - 1, g.gridTop}, WholeAmountText(c.dayAmount));
    }
}

void AddTimeColumn(const BookGrid& g, const PageRows& rows, const PageRect& column, Page* page) {
    const int bottom = YOf(g, rows, rows.end);
    AddFrame(page, {column.left, rows.top, column.right, bottom});
    for (int u = rows.first; u < rows.end; u += g.blockUnits) {
        const int y = YOf(g, rows, u);
        AddLine(page, column.left, y, column.right, y);
        AddText(page, {column.left + kInset, y, column.right - kInset, y + g.rowHeight}, TimeRowLabel(u),
                u % kUnitsPerHour == 0 ? TextStyle::kBold : TextStyle::kNormal);
    }
}

// The provider's booked units, a fill for each unbroken stretch.
void AddProviderColumn(const PrintJobRecord& job, const DayColumn& c, const BookGrid& g, const PageRows& rows,
                       const PageRect& r, Page* page) {
    const uint32_t colour = job.view.printColours && c.colour ? c.colour : kBookedGrey;
    for (int u = rows.first; u < rows.end;) {
        if (c.codes[u] == 0) {
            ++u;
            continue;
        }
        int end = u;
        while (end < rows.end && c.codes[end] != 0) ++end;
        AddFill(page, {r.left + 1, YOf(g, rows, u), r.right - 1, YOf(g, rows, end)}, colour);
        u = end;
    }
}

void AddBlocks(const DayColumn& c, const BookGrid& g, const PageRows& rows, const PageRect& r, Page* page) {
    for (size_t i = 0; i < c.blocks.size(); ++i) {
        const int code = kBlockCodeBase + static_cast<int>(i);
        for (int u = rows.first; u < rows.end;) {
            if (c.codes[u] != code) {
                ++u;
                continue;
            }
            int end = u;
            while (end < rows.end && c.codes[end] == code) ++end;
            const PageRect box{r.left + 1, YOf(g, rows, u), r.right - 1, YOf(g, rows, end)};
            AddFill(page, box, c.blocks[i].colour);
            AddText(page, {box.left + kInset, box.top, box.right - kInset, std::min(box.bottom, box.top + g.rowHeight)},
                    BlockCaption(c.blocks[i], u > c.blocks[i].start && c.blocks[i].start >= 0));
            u = end;
        }
    }
}

void AddAppointment(const PrintJobRecord& job, const ApptDisplay& a, const BookGrid& g, const PageRows& rows,
                    const PageRect& r, Page* page, int line_height) {
    const int first = std::max(a.startUnit, rows.first);
    const int end = std::min(a.startUnit + std::max(1, a.length / 5), rows.end);
    if (first >= end) return;
    PageRect box{r.left, YOf(g, rows, first), r.right, YOf(g, rows, end)};
    // A box shorter than a line still carries its time and first line.
    box.bottom = std::min(std::max(box.bottom, box.top + line_height), YOf(g, rows, rows.end));
    if (a.status == kStatusComplete) AddFill(page, box, kCompleteGrey);
    else if (job.view.printColours) AddFill(page, box, a.colour);
    AddFrame(page, box);
    std::vector<std::string> lines;
    for (uint8_t code : job.view.lineCodes)
        if (std::string text = BoxLineText(code, a); !text.empty()) lines.push_back(std::move(text));
    AddText(page, {box.left + kInset, box.top, box.left + kInset + kBoxTimeWidth, box.top + line_height},
            QVN_FormatPackTime(a.startUnit), TextStyle::kBold);
    // The time has the first row to itself when the box is two lines high or more: the lines
    // below it then get the column's whole width; a shorter box shares its row.
    const bool shared_row = box.bottom - box.top < 2 * line_height;
    int y = shared_row ? box.top : box.top + line_height;
    for (size_t i = 0; i < lines.size() && y + line_height <= box.bottom; ++i, y += line_height) {
        const int left = shared_row ? box.left + kInset + kBoxTimeWidth : box.left + kInset;
        AddText(page, {left, y, box.right - kInset, y + line_height}, lines[i]);
    }
}

}  // namespace

bool LoadBookDay(const PrintJobRecord& job, DayRecord* day) {
    const PrintBookView& v = job.view;
    ActiveView& active = view_state.active;
    active = ActiveView{};
    for (int i = 0; i < std::min<int>(v.providerCount, kPrintJobResources); ++i) {
        const int index = FindProviderIndex(v.providerIds[i]);
        if (index >= 0) active.providers[active.providerCount++] = index;
    }
    for (int i = 0; i < std::min<int>(v.operatoryCount, kPrintJobResources); ++i) {
        const int index = FindOperatory(v.operatoryIds[i]);
        if (index >= 0) active.operatories[active.operatoryCount++] = index;
    }
    std::memcpy(active.infoOrder, v.lineCodes, sizeof active.infoOrder);
    active.showAmount = v.printAmount != 0;
    *day = DayRecord{};
    day->date = v.firstDay;
    day->weekday = QVN_week_day(v.firstDay);
    day->shortCaption = ShortDayCaption(v.firstDay);
    day->longCaption = LongDayCaption(v.firstDay);
    BuildColumns(day, kDayView);
    return LoadDay(day, kDayView) == 1;
}

BookGrid BookGridOf(const PrintJobRecord& job, const DayRecord& day, const PageMetrics& m) {
    BookGrid g;
    g.blockUnits = job.view.blockSize >= 1 && job.view.blockSize <= 6 ? job.view.blockSize : 2;
    g.firstUnit = std::min(kUnitsPerDay - g.blockUnits, job.view.startMinutes / 5 / g.blockUnits * g.blockUnits);
    g.endUnit = std::min(kUnitsPerDay, (job.view.endMinutes / 5 + g.blockUnits - 1) / g.blockUnits * g.blockUnits);
    g.endUnit = std::max(g.endUnit, g.firstUnit + g.blockUnits);
    g.rowHeight = m.lineHeight;
    g.gridTop = m.margin + (kHeadingLines + kCaptionLines) * m.lineHeight;
    // The day note takes two lines under the last page's rows.
    const int note_space = job.view.printDayNote ? 2 * m.lineHeight : 0;
    g.rowsPerPage = std::max(1, (m.height - m.margin - note_space - g.gridTop) / g.rowHeight);
    int left = m.margin, right = m.width - m.margin;
    g.timeLeft = {left, g.gridTop, left + kTimeColumnWidth, g.gridTop};
    left += kTimeColumnWidth;
    if (job.view.printTimeAtRight) {
        g.timeRight = {right - kTimeColumnWidth, g.gridTop, right, g.gridTop};
        right -= kTimeColumnWidth;
    }
    int providers = 0, operatories = 0;
    for (const DayColumn& c : day.columns) ++(c.kind == kProviderColumn ? providers : operatories);
    const int provider_width = operatories ? kProviderColumnWidth : (right - left) / std::max(providers, 1);
    const int operatory_width = operatories ? (right - left - providers * provider_width) / operatories : 0;
    for (const DayColumn& c : day.columns) {
        const int width = c.kind == kProviderColumn ? provider_width : operatory_width;
        g.columns.push_back({left, g.gridTop, left + width, g.gridTop});
        left += width;
    }
    return g;
}

std::vector<Page> LayOutBookView(const PrintJobRecord& job, const DayRecord& day, const std::string& day_note,
                                 const PageMetrics& m) {
    const BookGrid g = BookGridOf(job, day, m);
    const int units_per_page = g.rowsPerPage * g.blockUnits;
    const int pages = std::max(1, (g.endUnit - g.firstUnit + units_per_page - 1) / units_per_page);
    std::vector<Page> out(static_cast<size_t>(pages));
    for (int p = 0; p < pages; ++p) {
        Page& page = out[static_cast<size_t>(p)];
        PageRows rows{g.firstUnit + p * units_per_page, std::min(g.endUnit, g.firstUnit + (p + 1) * units_per_page),
                      g.gridTop};
        AddHeading(job, day, g, m, p + 1, pages, &page);
        AddTimeColumn(g, rows, g.timeLeft, &page);
        if (g.timeRight.right > g.timeRight.left) AddTimeColumn(g, rows, g.timeRight, &page);
        const int bottom = YOf(g, rows, rows.end);
        for (size_t i = 0; i < day.columns.size(); ++i) {
            const DayColumn& c = day.columns[i];
            const PageRect r{g.columns[i].left, rows.top, g.columns[i].right, bottom};
            AddFrame(&page, r);
            if (c.kind == kProviderColumn) {
                AddProviderColumn(job, c, g, rows, r, &page);
                continue;
            }
            for (int u = rows.first; u < rows.end; u += g.blockUnits) {
                const int y = YOf(g, rows, u);
                AddLine(&page, r.left, y, r.right, y);
            }
            if (job.view.printIdealDay) AddBlocks(c, g, rows, r, &page);
            for (const ApptDisplay& a : c.appointments) AddAppointment(job, a, g, rows, r, &page, m.lineHeight);
        }
        if (p == pages - 1 && job.view.printDayNote && !day_note.empty()) {
            const int top = bottom + m.lineHeight / 2;
            AddText(&page, {m.margin, top, m.width - m.margin, top + m.lineHeight}, "Day Note: " + day_note);
        }
    }
    return out;
}
