// The month view's painting, scrolling and clicks. Where things go comes from views/month_view;
// this file only draws and decodes the mouse.
#include "views/month_view_win.h"

#include <algorithm>
#include <string>

#include "data/practice_schedule.h"
#include "suite/gdi_win.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/month_view.h"
#include "views/sheet_layout.h"
#include "views/sheet_state.h"
#include "views/sheet_text.h"

namespace {

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kLightGrey = RGB(192, 192, 192);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kDoubleBooked = RGB(127, 127, 127);
constexpr int kDayViewCommand = 150;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT r{left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}
void HLine(HDC dc, int left, int right, int y, COLORREF colour) { Fill(dc, left, y, right, y + 1, colour); }
void VLine(HDC dc, int x, int top, int bottom, COLORREF colour) { Fill(dc, x, top, x + 1, bottom, colour); }

void Text(HDC dc, const std::string& text, RECT r, UINT align) {
    SetTextColor(dc, kBlack);
    DrawTextA(dc, text.c_str(), -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

int RowHeight() { return std::max(sheet_state.measures.rowHeight, 1); }
int BandHeight() { return month_view.rows * RowHeight(); }
int Bands() { return static_cast<int>(day_data.days.size()); }
bool AmountsShown() { return view_state.active.showAmount; }

MonthAxis AxisOf(int width) {
    return MakeMonthAxis(width, month_view.xWidth, AmountsShown(), view_state.active.beginTime, view_state.active.endTime);
}

int64_t BandTotal(const DayRecord& day) {
    int64_t total = 0;
    for (const DayColumn& c : day.columns)
        if (c.kind == kProviderColumn) total += c.dayAmount;
    return total;
}

// The provider's identifier up to its first blank.
std::string Caption(const DayColumn& c) {
    const std::string id(c.id, strnlen(c.id, 4));
    return id.substr(0, id.find(' '));
}

void PaintBars(HDC dc, const MonthAxis& axis, const DayColumn& c, int top, int bottom) {
    Brush hatch(CreateHatchBrush(HS_BDIAGONAL, kDoubleBooked));
    for (const MonthBar& bar : MonthBars(axis, c.codes)) {
        RECT r{bar.left, top, bar.right, bottom};
        if (bar.counter == 1) Fill(dc, r.left, r.top, r.right, r.bottom, c.colour);
        if (bar.counter == 2) {
            const int old_mode = SetBkMode(dc, TRANSPARENT);
            FillRect(dc, &r, hatch);
            SetBkMode(dc, old_mode);
        }
        if (bar.counter == 3) Fill(dc, r.left, r.top, r.right, r.bottom, sheet_state.colours.unavailable);
    }
}

// What the mouse holds down: an hour of a band on the sheet, or a band on the time column.
struct MonthPress {
    HWND window = nullptr;
    RECT inverted{};
    int band = -1;
    int hourUnit = -1;
};
MonthPress press;

void Invert(HWND window, const RECT& r) {
    HDC dc = GetDC(window);
    InvertRect(dc, &r);
    ReleaseDC(window, dc);
}

// Puts the pressed place back and lets the mouse go; the band and hour that were pressed.
MonthPress EndPress() {
    const MonthPress ended = press;
    press = MonthPress{};
    if (ended.window) {
        Invert(ended.window, ended.inverted);
        if (GetCapture() == ended.window) ReleaseCapture();
    }
    return ended;
}

// The day view of a band's date: through the day view button, which shows the remembered day.
void OpenDayOfBand(HWND window, int band) {
    if (band < 0 || band >= Bands()) return;
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    sheet_state.rememberedDate = day_data.days[static_cast<size_t>(band)].date;
    SendMessageA(GetParent(window), WM_COMMAND, kDayViewCommand, 0);
    SetCursor(old_cursor);
}

}  // namespace

void PaintMonthSheet(HDC dc, const RECT& client, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    const SheetState& s = sheet_state;
    Fill(m, 0, 0, width, height, s.colours.background1);
    HLine(m, 0, width, 0, kGrey);
    const MonthAxis axis = AxisOf(width);
    const int R = RowHeight();
    // The hour lines first, down to the last band drawn: the bars cover them.
    int drawn = 0;
    for (int b = month_view.scroll.first; b < Bands() && drawn < height - 2; ++b) drawn += BandHeight();
    for (int u = (axis.ms + kUnitsPerHour - 1) / kUnitsPerHour * kUnitsPerHour; u <= axis.me; u += kUnitsPerHour)
        VLine(m, axis.X(u), 1, std::min(drawn, height), kLightGrey);
    // Rows from the first shown band down to the window's bottom - 2.
    int y = 0;
    for (int b = month_view.scroll.first; b < Bands() && y < height - 2; ++b) {
        const DayRecord& day = day_data.days[static_cast<size_t>(b)];
        const int rows = std::max<int>(1, static_cast<int>(day.columns.size()));
        for (int r = 0; r < rows && y < height - 2; ++r, y += R) {
            if (r < static_cast<int>(day.columns.size())) {
                const DayColumn& c = day.columns[static_cast<size_t>(r)];
                Fill(m, 0, y, axis.captionWidth, y + R, c.colour);
                Text(m, Caption(c), RECT{0, y, axis.captionWidth, y + R}, DT_CENTER);
                PaintBars(m, axis, c, y, y + R - 1);
                if (axis.amounts) {
                    Fill(m, axis.Right(), y, width, y + R, c.colour);
                    Text(m, WholeAmountText(c.dayAmount), RECT{axis.Right(), y, width, y + R}, DT_CENTER);
                }
            }
            HLine(m, 0, width, y + R - 1, r + 1 < rows ? kLightGrey : kGrey);
        }
    }
    if (m != dc) BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);
}

void PaintMonthTimeColumn(HWND time_column, HDC dc, const RECT& client, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    Fill(m, 0, 0, width, height, kLightGrey);
    const int R = RowHeight(), band_height = BandHeight();
    MonthScroll& scroll = month_view.scroll;
    for (int b = scroll.first, y = 0; b < Bands() && y < height; ++b, y += band_height) {
        const DayRecord& day = day_data.days[static_cast<size_t>(b)];
        Text(m, MonthBandLabel(day.date), RECT{0, y, width - 2, y + R}, DT_CENTER);
        if (AmountsShown() && month_view.rows > 1)
            Text(m, WholeAmountText(BandTotal(day)), RECT{0, y + band_height - R, width - 4, y + band_height}, DT_RIGHT);
        HLine(m, 0, width, y + band_height - 2, kWhite);
        HLine(m, 0, width, y + band_height - 1, kGrey);
    }
    VLine(m, width - 2, 0, height, kWhite);
    VLine(m, width - 1, 0, height, kGrey);
    VLine(m, 0, 0, height, kGrey);
    HLine(m, 0, width, 0, kGrey);
    if (m != dc) BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);

    scroll.bands = Bands();
    scroll.last = std::max(scroll.first, MonthLastBand(scroll.first, scroll.bands, band_height, height));
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, scroll.RangeEnd(), 0, scroll.first, 0};
    if (HWND sheet = FindWindowExA(GetParent(time_column), nullptr, "SchSheet", nullptr))
        SetScrollInfo(sheet, SB_VERT, &info, TRUE);
}

void PaintMonthHeader(HDC dc, const RECT& client, HFONT font3) {
    const int width = client.right, height = client.bottom;
    MemoryCanvas canvas(dc, width, height);
    HDC m = canvas.Ok() ? canvas.Dc() : dc;
    Selected font(m, font3);
    SetBkMode(m, TRANSPARENT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Fill(m, 0, 0, width, height, face);
    const int half = height / 2;
    const MonthAxis axis = AxisOf(width);
    RECT caption{0, 0, width, half};
    if (AmountsShown()) {
        int64_t total = 0;
        for (const DayRecord& day : day_data.days) total += BandTotal(day);
        RECT amount{width - axis.amountWidth, 2, width - 2, half - 2};
        DrawEdge(m, &amount, EDGE_SUNKEN, BF_RECT);
        Text(m, WholeAmountText(total), amount, DT_CENTER);
        caption.right = amount.left - 2;
    }
    Fill(m, caption.left, caption.top, caption.right, caption.bottom, face);
    DrawEdge(m, &caption, EDGE_RAISED, BF_RECT);
    if (!day_data.days.empty()) Text(m, MonthTitle(day_data.days.front().date), caption, DT_CENTER);
    else Text(m, MonthTitle(sheet_state.shownDate), caption, DT_CENTER);

    // The time axis: hour labels centred on their hour, ticks at the hours and row boundaries.
    const int tick = std::max(1, RowHeight() / 3);
    const int step = std::max(practice_tables.blockUnits, 1);
    for (int u = axis.ms; u <= axis.me; ++u) {
        const bool hour = u % kUnitsPerHour == 0;
        if (!hour && u % step != 0) continue;
        const int x = axis.X(u);
        VLine(m, x - 1, height - tick, height, kBlack);
        if (!hour || u == axis.me) continue;
        const int half_width = 2 * month_view.xWidth;
        Text(m, MonthHourLabel(u), RECT{x - half_width, half, x + half_width, height - tick}, DT_CENTER);
    }
    HLine(m, 0, width, height - 1, kGrey);
    if (m != dc) BitBlt(dc, 0, 0, width, height, m, 0, 0, SRCCOPY);
}

void ScrollMonthView(HWND sheet, HWND time_column, int request, int position) {
    MonthScroll& scroll = month_view.scroll;
    const int before = scroll.first;
    bool line = false;
    switch (request) {
    case SB_LINEUP: line = scroll.LineUp(); break;
    case SB_LINEDOWN: line = scroll.LineDown(); break;
    case SB_PAGEUP: scroll.PageUp(); break;
    case SB_PAGEDOWN: scroll.PageDown(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: scroll.Thumb(position); break;
    default: break;
    }
    if (scroll.first == before) return;
    if (line) {
        // One band: the painted pixels move, only the uncovered band is painted.
        const int dy = (before - scroll.first) * BandHeight();
        for (HWND w : {sheet, time_column})
            if (w) ScrollWindowEx(w, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    } else {
        for (HWND w : {sheet, time_column})
            if (w) InvalidateRect(w, nullptr, FALSE);
    }
    SetScrollPos(sheet, SB_VERT, scroll.first, TRUE);
    for (HWND w : {time_column, sheet})
        if (w) UpdateWindow(w);
}

void OnMonthSheetPress(HWND sheet, int x, int y) {
    if (press.window) EndPress();
    RECT client;
    GetClientRect(sheet, &client);
    const MonthAxis axis = AxisOf(client.right);
    MonthHit hit;
    if (!MonthSheetHit(axis, month_view.scroll.first, Bands(), BandHeight(), x, y, &hit)) return;
    const int top = (hit.band - month_view.scroll.first) * BandHeight();
    press.window = sheet;
    press.band = hit.band;
    press.hourUnit = hit.hourUnit;
    press.inverted = RECT{axis.X(hit.hourUnit), top, axis.X(std::min(hit.hourUnit + kUnitsPerHour, axis.me)), top + BandHeight()};
    Invert(sheet, press.inverted);
    SetCapture(sheet);
}

void OnMonthSheetRelease(HWND sheet) {
    if (press.window != sheet) return;
    const MonthPress ended = EndPress();
    if (ended.band < 0) return;
    // The day view keeps its span: its bottom moves with its top.
    SheetState& s = sheet_state;
    const int span = std::max(s.bottomUnit - s.topUnit, kUnitsPerHour);
    const int top = MonthClickTopUnit(ended.hourUnit, span, s.topUnit);
    s.bottomUnit = top + span;
    s.topUnit = top;
    OpenDayOfBand(sheet, ended.band);
    MSG waiting;
    while (PeekMessageA(&waiting, sheet, WM_LBUTTONUP, WM_LBUTTONDBLCLK, PM_REMOVE)) {
    }
    InvalidateRect(sheet, nullptr, FALSE);
}

void OnMonthTimePress(HWND time_column, int y) {
    if (press.window) EndPress();
    const int band = MonthBandAt(month_view.scroll.first, Bands(), BandHeight(), y);
    if (band < 0) return;
    RECT client;
    GetClientRect(time_column, &client);
    const int top = (band - month_view.scroll.first) * BandHeight();
    press.window = time_column;
    press.band = band;
    press.inverted = RECT{0, top, client.right, top + BandHeight()};
    Invert(time_column, press.inverted);
    SetCapture(time_column);
}

void OnMonthTimeRelease(HWND time_column, int y) {
    if (press.window != time_column) return;
    const MonthPress ended = EndPress();
    if (ended.band < 0 || MonthBandAt(month_view.scroll.first, Bands(), BandHeight(), y) != ended.band) return;
    OpenDayOfBand(time_column, ended.band);
    if (HWND sheet = FindWindowExA(GetParent(time_column), nullptr, "SchSheet", nullptr)) InvalidateRect(sheet, nullptr, FALSE);
}

void OnMonthCaptureLost(HWND window) {
    if (press.window != window) return;
    const MonthPress ended = press;
    press = MonthPress{};
    Invert(ended.window, ended.inverted);
}
