// Painting the schedule sheet, its time column and its header from the day data. Every paint
// draws its whole picture from the day data into a memory canvas and copies the update
// rectangle out; columns outside the update rectangle are not drawn at all.
#include "views/sheet_paint_win.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/run_bitmaps_win.h"
#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "data/time_pattern.h"
#include "suite/gdi_win.h"
#include "suite/window_services_win.h"
#include "views/active_view.h"
#include "views/found_time_mark.h"
#include "views/sheet_layout.h"
#include "views/sheet_markers.h"
#include "views/sheet_state.h"
#include "views/sheet_text.h"

namespace {

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kLightGrey = RGB(192, 192, 192);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlockText = RGB(100, 100, 100);
const COLORREF kNoNoteText = RGB(129, 129, 129);

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT r{left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);  // the cheapest solid fill
}

void FillHatched(HDC dc, const RECT& r, COLORREF background) {
    Brush hatch(CreateHatchBrush(HS_BDIAGONAL, kBlack));
    Fill(dc, r.left, r.top, r.right, r.bottom, background);
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &r, hatch);
    SetBkMode(dc, old_mode);
}

void HLine(HDC dc, int left, int right, int y, COLORREF colour) { Fill(dc, left, y, right, y + 1, colour); }

// The found free time being viewed, outlined over everything else of the sheet.
void PaintFoundTimeOutline(HDC dc) {
    SheetRect cell;
    if (!found_time_mark.shown || !FoundTimeCell(found_time_mark, &cell)) return;
    OutlineFrame frames[4];
    OutlineFrames(cell, frames);
    Brush hatch(CreateHatchBrush(HS_DIAGCROSS, kBlack));
    Brush grey(CreateSolidBrush(kOutlineGrey));
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    for (const OutlineFrame& f : frames) {
        const RECT r{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom};
        FrameRect(dc, &r, f.hatched ? hatch : grey);
    }
    SetBkMode(dc, old_mode);
}
void VLine(HDC dc, int x, int top, int bottom, COLORREF colour) { Fill(dc, x, top, x + 1, bottom, colour); }

void Frame(HDC dc, const RECT& r, COLORREF colour, bool open_top = false, bool open_bottom = false) {
    if (!open_top) HLine(dc, r.left, r.right, r.top, colour);
    if (!open_bottom) HLine(dc, r.left, r.right, r.bottom - 1, colour);
    VLine(dc, r.left, r.top, r.bottom, colour);
    VLine(dc, r.right - 1, r.top, r.bottom, colour);
}

int Y(int unit) {
    const SheetState& s = sheet_state;
    return UnitOffset(unit, s.topUnit, practice_tables.blockUnits, s.measures.rowHeight);
}

bool Intersects(int left, int right, const RECT& update) { return left < update.right && right + 1 > update.left; }

// --- Office hours and grid ----------------------------------------------------------------------

bool PracticeClosedOn(const DayRecord& day, const DayHours& hours) {
    return day.closed != 0 || (hours.flag & kDayClosed) != 0;
}

void PaintOfficeHours(HDC dc, int height) {
    const SheetState& s = sheet_state;
    for (size_t d = 0; d < day_data.days.size(); ++d) {
        const DayRecord& day = day_data.days[d];
        const int right = day.right + 1;
        const DayHours hours = d < day_data.practiceHours.size() ? day_data.practiceHours[d]
                                                                 : DayHours{{-1, -1, -1}, {-1, -1, -1}, 0};
        if (PracticeClosedOn(day, hours)) {
            Fill(dc, day.left, 0, right, height, s.colours.background2);
            continue;
        }
        for (const auto& [from, to] : ClosedStretches(hours))
            Fill(dc, day.left, std::max(Y(from), 0), right, std::min(Y(to), height), s.colours.background2);
    }
}

// Below midnight there is no time: the rows stop and the rest of the sheet shows closed.
int PaintPastMidnight(HDC dc, int width, int height) {
    const int day_end = Y(kUnitsPerDay);
    if (day_end < height) Fill(dc, 0, std::max(day_end, 0), width, height, sheet_state.colours.background2);
    return std::min(day_end, height);
}

void PaintGrid(HDC dc, int width, int height) {
    const SheetState& s = sheet_state;
    const int units = std::max(practice_tables.blockUnits, 1);
    HLine(dc, 0, width, 0, kGrey);
    for (int t = s.topUnit + units, y = s.measures.rowHeight; y < height && s.measures.rowHeight > 0;
         t += units, y += s.measures.rowHeight) {
        if (t % kUnitsPerHour == 0) {
            HLine(dc, 0, width, y - 1, kWhite);
            HLine(dc, 0, width, y, kGrey);
        } else {
            HLine(dc, 0, width, y, kLightGrey);
        }
    }
}

int ClockUnit() { return sheet_state.clockHour < 0 ? -1 : sheet_state.clockHour * kUnitsPerHour + sheet_state.clockSlot; }

// Time labels down a strip of width TW at x: what the time column and the strip at the sheet's
// right show. Returns the last unit labelled.
int PaintTimeLabels(HDC dc, int x, int width, int height, COLORREF strip) {
    const SheetState& s = sheet_state;
    const int units = std::max(practice_tables.blockUnits, 1);
    const int clock = ClockUnit();
    int last = s.topUnit;
    for (int t = s.topUnit, y = 0; y < height && t < kUnitsPerDay && s.measures.rowHeight > 0;
         t += units, y += s.measures.rowHeight) {
        RECT row{x, y, x + width, y + s.measures.rowHeight};
        if (strip != CLR_INVALID) Fill(dc, row.left, row.top, row.right, row.bottom, strip);
        if (clock >= t && clock < t + units) Fill(dc, row.left, row.top, row.right, row.bottom, kRed);
        const std::string label = TimeRowLabel(t);
        RECT text{x, y, x + width - 3, y + s.measures.rowHeight};
        SetTextColor(dc, kBlack);
        DrawTextA(dc, label.c_str(), -1, &text, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (t % kUnitsPerHour == 0 && y > 0) {
            HLine(dc, x, x + width, y - 1, kWhite);
            HLine(dc, x, x + width, y, kGrey);
        }
        last = t;
    }
    return last;
}

// --- Provider columns ---------------------------------------------------------------------------

void PaintProviderColumn(HDC dc, const DayColumn& c, int height) {
    const SheetState& s = sheet_state;
    const int right = c.right;
    bool no_hours = c.hours.start[0] < 0 && c.hours.start[1] < 0 && c.hours.start[2] < 0;
    if (no_hours || (c.dayFlag & kDayClosed)) {
        Fill(dc, c.left, 0, right, height, s.colours.background2);
    } else {
        for (const auto& [from, to] : ClosedStretches(c.hours))
            Fill(dc, c.left, std::max(Y(from), 0), right, std::min(Y(to), height), s.colours.background2);
    }
    for (int u = s.topUnit; u < kUnitsPerDay && Y(u) < height;) {
        const int counter = c.codes[u];
        int end = u + 1;
        while (end < kUnitsPerDay && c.codes[end] == counter) ++end;
        RECT r{c.left, std::max(Y(u), 0), right, std::min(Y(end), height)};
        if (counter == 1) Fill(dc, r.left, r.top, r.right, r.bottom, c.colour);
        if (counter == 2) {
            Brush hatch(CreateHatchBrush(HS_BDIAGONAL, c.colour));
            const int old_mode = SetBkMode(dc, TRANSPARENT);
            FillRect(dc, &r, hatch);
            SetBkMode(dc, old_mode);
        }
        if (counter == 3) Fill(dc, r.left, r.top, r.right, r.bottom, s.colours.unavailable);
        u = end;
    }
}

// --- Time blocks ----------------------------------------------------------------------------------

void PaintBlockRun(HDC dc, const DayColumn& c, int code, int from, int to, int height) {
    const int index = std::min(code - kBlockCodeBase, kMaxDrawnBlocks - 1);
    if (index >= static_cast<int>(c.blocks.size())) return;
    const TimeBlockRecord& block = c.blocks[static_cast<size_t>(index)];
    const SheetState& s = sheet_state;
    const int top = Y(from), bottom = std::min(Y(to), height);
    const bool began_above = from < s.topUnit;
    const int y0 = std::max(top, 0);
    Fill(dc, c.left, y0, c.left + 3, bottom, block.colour);
    Fill(dc, c.right - 3, y0, c.right, bottom, block.colour);
    if (!began_above) Fill(dc, c.left, top, c.right, top + 3, block.colour);
    if (Y(to) <= height) Fill(dc, c.left, Y(to) - 3, c.right, Y(to), block.colour);
    if (day_data.mode != kDayView) return;
    const std::string caption = BlockCaption(block, began_above);
    RECT text{c.left + s.measures.stripeWidth - 3, y0, c.right - 3, y0 + s.measures.rowHeight};
    SetTextColor(dc, kBlockText);
    DrawTextA(dc, caption.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// --- Appointment boxes ----------------------------------------------------------------------------

struct BoxPlace {
    RECT rect;
    int rows;
    bool firstRowVisible;
    bool endVisible;
};

void PaintMarkers(HDC dc, const ApptDisplay& a, const BoxPlace& box, int* text_right) {
    const int R = sheet_state.measures.rowHeight;
    const MarkerPlacement set = MarkerSetForRowHeight(R);
    MarkerFamily families[4];
    int count = 0;
    if (a.medicalAlert) families[count++] = kMarkerAlert;
    if (a.noteFlag) families[count++] = kMarkerNote;
    if (a.patientAlert == 2) families[count++] = kMarkerPatientAlert;
    if (LabCaseMarker(a.labCaseState) != kMarkerFamilyCount) families[count++] = LabCaseMarker(a.labCaseState);
    int x = box.rect.right - FirstMarkerRightMargin(R, box.rows == 1) - set.size;
    for (int i = 0; i < count; ++i) {
        if (const MaskedPicture* marker = run_bitmaps.MarkerPicture(families[i], set.size))
            marker->Draw(dc, x, box.rect.top + set.topOffset);
        *text_right = x - 1;
        x -= set.size + 1;
    }
}

// Rows are counted from the appointment's first row, also when it began above the view.
void PaintPatternMarks(HDC dc, const ApptDisplay& a, const BoxPlace& box, int height) {
    const SheetState& s = sheet_state;
    const int R = s.measures.rowHeight;
    const int W = s.measures.stripeWidth;
    Pen pen(CreatePen(PS_SOLID, 1, kBlack));
    Selected selected(dc, pen);
    for (int row = 0; row < box.rows; ++row) {
        const int top = box.rect.top + row * R;
        if (top >= height) break;
        if (top + R <= 0) continue;  // hidden above the view
        const int code = PatternCodeOf(a.timePattern, row);
        const int l = box.rect.left + 1, r = box.rect.left + W - 1, t = top + 1, b = top + R;
        if (code == 0) {
            Fill(dc, (l + r) / 2 - 1, (t + b) / 2 - 1, (l + r) / 2 + 1, (t + b) / 2 + 1, kBlack);
        } else if (code == 1 || code == 2) {
            MoveToEx(dc, r, t, nullptr);
            LineTo(dc, l, b);
            if (code == 2) {
                MoveToEx(dc, l, t, nullptr);
                LineTo(dc, r, b);
            }
        }
    }
    VLine(dc, box.rect.left + W, box.rect.top, box.rect.bottom, kBlack);
}

void PaintBoxText(HDC dc, const ApptDisplay& a, const BoxPlace& box, int hidden_rows, int text_left, int first_right) {
    const int R = sheet_state.measures.rowHeight;
    SetTextColor(dc, kBlack);
    const uint8_t(&lines)[9] = view_state.active.infoOrder;
    for (const TextArea& area : BoxTextAreas(lines, box.rows, hidden_rows)) {
        const std::string text = BoxLineText(area.code, a);
        if (text.empty()) continue;
        RECT r{text_left, box.rect.top + area.firstRow * R, box.rect.right - 1, 0};
        r.bottom = r.top + area.rows * R;
        if (area.firstRow == 0) r.right = std::min<LONG>(r.right, first_right);
        const UINT format = area.code == 2 ? DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_TOP
                                           : DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        DrawTextA(dc, text.c_str(), -1, &r, format);
    }
}

void PaintAppointmentBox(HDC dc, const ApptDisplay& a, const BoxPlace& box, int hidden_rows, int height) {
    const SheetState& s = sheet_state;
    const bool complete = a.status == kStatusComplete;
    const bool day_view = day_data.mode == kDayView;
    const int W = s.measures.stripeWidth;
    int text_left = box.rect.left + W + 4;
    int first_right = box.rect.right - 1;
    if (complete) {
        FillRect(dc, &box.rect, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        text_left = box.rect.left + 2;
    } else if (day_view) {
        const int status = a.status <= kMaxPracticeStatus ? a.status : 0;
        const COLORREF stripe = practice_tables.statuses.colours[status] ? practice_tables.statuses.colours[status] : kWhite;
        Fill(dc, box.rect.left, box.rect.top, box.rect.left + W, box.rect.bottom, stripe);
        Fill(dc, box.rect.left + W, box.rect.top, box.rect.right, box.rect.bottom, a.colour);
        PaintPatternMarks(dc, a, box, height);
        if (box.firstRowVisible) PaintMarkers(dc, a, box, &first_right);
    } else {
        Fill(dc, box.rect.left, box.rect.top, box.rect.right, box.rect.bottom, a.colour);
    }
    Frame(dc, box.rect, kBlack);
    if (complete || day_view) PaintBoxText(dc, a, box, hidden_rows, text_left, first_right);
}

void PaintSelection(const ApptDisplay& a, const DayColumn& c, const BoxPlace& box, bool continued, int height, HDC dc) {
    const SheetState& s = sheet_state;
    const bool complete = a.status == kStatusComplete;
    SelectionFrame& frame = sheet_state.selection;
    frame.valid = true;
    frame.left = complete || day_data.mode == kWeekView ? c.left : c.left + s.measures.stripeWidth;
    frame.right = c.right;
    frame.top = box.rect.top + 1;
    frame.bottom = box.rect.bottom + 1;
    const bool runs_below = box.rect.bottom > height;
    for (int inset = 1; inset <= 3; ++inset) {
        RECT r{box.rect.left + inset, box.rect.top + inset, box.rect.right - inset, box.rect.bottom - inset};
        Frame(dc, r, kBlack, continued, runs_below);
    }
}

void PaintGrip(HDC dc, const BoxPlace& box) {
    const GripPlacement grip = GripForRowHeight(sheet_state.measures.rowHeight);
    if (const MaskedPicture* picture = run_bitmaps.GripPicture(grip.size))
        picture->Draw(dc, box.rect.right - grip.inset, box.rect.bottom - grip.inset);
}

void PaintOperatoryColumn(HDC dc, const DayColumn& c, int height) {
    const SheetState& s = sheet_state;
    const int block_units = std::max(practice_tables.blockUnits, 1);
    for (int u = s.topUnit; u < kUnitsPerDay && Y(u) < height;) {
        const int code = c.codes[u];
        if (code < kBlockCodeBase) {
            ++u;
            continue;
        }
        const BoxRun run = RunAt(c, u, s.topUnit, block_units);
        if (code < kAppointmentCodeBase) {
            if (s.idealDay) PaintBlockRun(dc, c, code, run.firstUnit, run.lastUnit + 1, height);
            u = run.lastUnit + 1;
            continue;
        }
        BoxPlace box;
        box.rect = RECT{c.left, Y(run.firstUnit), c.right, Y(run.lastUnit + 1) + 1};
        box.rows = std::max<int>((box.rect.bottom - box.rect.top) / std::max(s.measures.rowHeight, 1), 1);
        box.firstRowVisible = !run.continuedFromAbove;
        box.endVisible = box.rect.bottom <= height;
        const ApptDisplay* a = AppointmentOfCode(c, code);
        if (!a) {
            Fill(dc, box.rect.left, box.rect.top, box.rect.right, box.rect.bottom, kWhite);
        } else if (a->id == -1) {
            FillHatched(dc, box.rect, a->colour);
        } else {
            PaintAppointmentBox(dc, *a, box, run.hiddenRows, height);
            if (s.selectedId != 0 && static_cast<uint32_t>(a->id) == s.selectedId)
                PaintSelection(*a, c, box, run.continuedFromAbove, height, dc);
            if (a->status != kStatusComplete && box.endVisible && day_data.mode == kDayView) PaintGrip(dc, box);
        }
        u = run.lastUnit + 1;
    }
}

// A resize's length in minutes in the dragged box's bottom row, on a raised box of its own face,
// when there are at least 3 pixels on either side.
void PaintLengthLabel(HDC dc, const RECT& client, int minutes, COLORREF face) {
    if (minutes <= 0) return;
    const int R = sheet_state.measures.rowHeight;
    RECT row{client.left + 3, client.bottom - R - 1, client.right - 3, client.bottom - 1};
    if (row.right - row.left < 3) return;
    Fill(dc, row.left, row.top, row.right, row.bottom, face);
    DrawEdge(dc, &row, EDGE_RAISED, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBlack);
    const std::string label = std::to_string(minutes);
    DrawTextA(dc, label.c_str(), -1, &row, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

void PaintFloatingAppointment(HDC dc, const RECT& client, const ApptDisplay& a, int resize_minutes, HFONT font3) {
    Selected font(dc, font3);
    SetBkMode(dc, TRANSPARENT);
    BoxPlace box;
    box.rect = client;
    box.rows = std::max<int>(client.bottom / std::max(sheet_state.measures.rowHeight, 1), 1);
    box.firstRowVisible = true;
    box.endVisible = true;
    PaintAppointmentBox(dc, a, box, 0, client.bottom);
    PaintLengthLabel(dc, client, resize_minutes, kLightGrey);
}

void PaintFloatingBlock(HDC dc, const RECT& client, COLORREF colour, int resize_minutes, HFONT font3) {
    Selected font(dc, font3);
    Fill(dc, client.left, client.top, client.right, client.bottom, kWhite);
    Brush hatch(CreateHatchBrush(HS_DIAGCROSS, colour));
    FillRect(dc, &client, hatch);
    Frame(dc, client, colour);
    PaintLengthLabel(dc, client, resize_minutes, kWhite);
}

void PaintSheet(HDC dc, const RECT& client, const RECT& update, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    const SheetState& s = sheet_state;
    Fill(m, 0, 0, width, height, s.colours.background1);
    sheet_state.selection.valid = false;
    PaintOfficeHours(m, height);
    const int rows_bottom = PaintPastMidnight(m, width, height);
    PaintGrid(m, width, rows_bottom);
    if (s.timeAtRight) PaintTimeLabels(m, width - s.measures.timeColumnWidth, s.measures.timeColumnWidth, height, kLightGrey);
    for (const DayRecord& day : day_data.days) {
        for (size_t i = 0; i < day.columns.size(); ++i) {
            const DayColumn& c = day.columns[i];
            if (!Intersects(c.left, c.right, update)) continue;
            if (c.kind == kProviderColumn) PaintProviderColumn(m, c, height);
            else PaintOperatoryColumn(m, c, height);
            VLine(m, c.right, 0, height, i + 1 < day.columns.size() ? kLightGrey : kGrey);
        }
    }
    PaintFoundTimeOutline(m);
    if (m != dc)
        BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, m, update.left,
               update.top, SRCCOPY);
}

void PaintTimeColumn(HDC dc, const RECT& client, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    Fill(m, 0, 0, width, height, kLightGrey);
    sheet_state.bottomUnit = PaintTimeLabels(m, 0, width, height, CLR_INVALID);
    VLine(m, width - 2, 0, height, kWhite);
    VLine(m, width - 1, 0, height, kGrey);
    VLine(m, 0, 0, height, kGrey);
    HLine(m, 0, width, 0, kGrey);
    if (m != dc) BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);
}

namespace {

void RaisedBox(HDC dc, RECT r, COLORREF face) {
    Fill(dc, r.left, r.top, r.right, r.bottom, face);
    DrawEdge(dc, &r, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RECT);
}

int64_t DayTotal(const DayRecord& day) {
    int64_t total = 0;
    for (const DayColumn& c : day.columns) {
        if (c.kind == kProviderColumn) total += c.dayAmount;
    }
    return total;
}

}  // namespace

void PaintHeader(HDC dc, const RECT& client, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    const SheetState& s = sheet_state;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Fill(m, 0, 0, width, height, face);
    const int half = height / 2;
    const bool day_view = day_data.mode == kDayView;
    const bool amounts = view_state.active.showAmount;
    int64_t week_total = 0;
    for (const DayRecord& day : day_data.days) {
        for (const DayColumn& c : day.columns) {
            RECT box{c.left, half, c.right + 1, height};
            RaisedBox(m, box, c.kind == kProviderColumn ? c.colour : face);
            if (c.kind != kOperatoryColumn) continue;
            const std::string& caption = day_view ? c.longCaption : c.shortCaption;
            SetTextColor(m, kBlack);
            DrawTextA(m, caption.c_str(), -1, &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        const int64_t total = DayTotal(day);
        week_total += total;
        if (!day_view) {
            RECT text{day.left, 0, day.right + 1, half};
            const std::string caption = "  " + day.shortCaption;
            SetTextColor(m, kBlack);
            DrawTextA(m, caption.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            continue;
        }
        const int TW = s.measures.timeColumnWidth;
        const int reach = (!s.timeAtRight && !amounts) ? TW : -TW;
        RECT caption_box{day.left, 0, std::min(day.right + 1 + reach, width), half};
        RaisedBox(m, caption_box, face);
        RECT note{caption_box.left + 2, 2, caption_box.left + 2 + s.measures.noteButtonWidth, half - 2};
        if (day.hasNote) Fill(m, note.left, note.top, note.right, note.bottom, s.colours.day_note);
        DrawEdge(m, &note, EDGE_RAISED, BF_RECT);
        SetTextColor(m, day.hasNote ? kBlack : kNoNoteText);
        DrawTextA(m, "Note", -1, &note, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        RECT text{note.right, 0, caption_box.right, half};
        if (amounts) {
            RECT amount{caption_box.right - TW, 2, caption_box.right - 2, half - 2};
            DrawEdge(m, &amount, EDGE_SUNKEN, BF_RECT);
            SetTextColor(m, kBlack);
            DrawTextA(m, WholeAmountText(total).c_str(), -1, &amount, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            text.right = amount.left;
        }
        SetTextColor(m, kBlack);
        DrawTextA(m, day.longCaption.c_str(), -1, &text, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (!day_view && amounts && day_data.days.size() == 7) {
        const DayRecord& last = day_data.days.back();
        const WeekTotalPlace place = WeekTotalPlaceOf(last.left, last.right, width, s.timeAtRight);
        RECT text{place.left, 0, place.right, half};
        SetTextColor(m, kBlack);
        DrawTextA(m, WholeAmountText(week_total).c_str(), -1, &text,
                  (place.alignRight ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (m != dc) BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);
}
