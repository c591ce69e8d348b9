// Window procedures of the schedule sheet ("SchSheet"), its time column ("SchTime") and its
// column header ("SSHeader"): they decode paint, scroll, wheel and timer messages and leave the
// drawing to the sheet painter and the arithmetic to the sheet layout.
#include "views/sheet_windows_win.h"

#include <algorithm>

#include "appointments/day_note_dialog_win.h"
#include "app/private_messages.h"
#include "data/practice_schedule.h"
#include "views/month_view_win.h"
#include "views/sheet_layout.h"
#include "views/pin_board.h"
#include "views/sheet_hit.h"
#include "views/sheet_mouse_win.h"
#include "views/sheet_paint_win.h"
#include "views/sheet_state.h"
#include "suite/records/notes.h"

namespace {

// Signed client coordinates of a mouse message: a drag goes on left of and above the sheet.
int MouseX(LPARAM l) { return static_cast<short>(LOWORD(l)); }
int MouseY(LPARAM l) { return static_cast<short>(HIWORD(l)); }

constexpr UINT_PTR kClockTimer = 1;
constexpr int kDayViewButton = 150;
constexpr UINT kClockMilliseconds = 1500;

HFONT sheet_font = nullptr;
HWND time_column = nullptr;

// WM_PRINTCLIENT paints the same picture into the caller's device context (PrintWindow).
template <typename Paint>
LRESULT OnPrintClient(HWND window, HDC dc, Paint paint) {
    RECT client;
    GetClientRect(window, &client);
    paint(dc, client, client);
    return 0;
}

template <typename Paint>
LRESULT OnPaint(HWND window, Paint paint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    paint(dc, client, ps.rcPaint);
    EndPaint(window, &ps);
    return 0;
}

int RowsPerHour() { return kUnitsPerHour / std::max(practice_tables.blockUnits, 1); }

// The time column and the sheet move together by whole hours: the painted pixels are moved and
// only the uncovered rows painted.
void MoveTopTo(HWND sheet, int new_top, bool scroll_pixels) {
    SheetState& s = sheet_state;
    if (new_top == s.topUnit) return;
    const int hours = (new_top - s.topUnit) / kUnitsPerHour;
    s.bottomUnit += new_top - s.topUnit;
    s.topUnit = new_top;
    const int dy = -hours * RowsPerHour() * s.measures.rowHeight;
    if (scroll_pixels) {
        if (s.selection.valid) {
            s.selection.top += dy;
            s.selection.bottom += dy;
        }
        for (HWND w : {sheet, time_column})
            if (w) ScrollWindowEx(w, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    } else {
        for (HWND w : {sheet, time_column})
            if (w) InvalidateRect(w, nullptr, FALSE);
    }
    SetScrollPos(sheet, SB_VERT, s.topUnit, TRUE);
    for (HWND w : {time_column, sheet})
        if (w) UpdateWindow(w);
}

void OnVScroll(HWND sheet, int request, int position) {
    const SheetState& s = sheet_state;
    switch (request) {
    case SB_LINEDOWN: MoveTopTo(sheet, ScrollLineDown(s.topUnit, s.bottomUnit, s.endUnit), true); break;
    case SB_LINEUP: MoveTopTo(sheet, ScrollLineUp(s.topUnit), true); break;
    case SB_PAGEDOWN: MoveTopTo(sheet, ScrollPageDown(s.topUnit, s.bottomUnit, s.endUnit), false); break;
    case SB_PAGEUP: MoveTopTo(sheet, ScrollPageUp(s.topUnit, s.bottomUnit), false); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        MoveTopTo(sheet, ScrollThumb(position), false);  // the range stays below 65536
        break;
    default: break;
    }
}

// The clock row repaints the sheet and the time column only when it moved.
void OnClockTick(HWND sheet) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int slot = CurrentTimeUnit(now.wHour, now.wMinute, practice_tables.blockUnits) - now.wHour * kUnitsPerHour;
    SheetState& s = sheet_state;
    if (s.clockHour == now.wHour && s.clockSlot == slot) return;
    s.clockHour = now.wHour;
    s.clockSlot = slot;
    InvalidateRect(sheet, nullptr, FALSE);
    if (time_column) InvalidateRect(time_column, nullptr, FALSE);
}

bool MonthShown() { return day_data.mode == kMonthView; }

// The month view takes the sheet's paint, scroll and left button; the rest of the sheet's mouse
// (selection, moves, menus) belongs to the day and week views.
bool MonthSheetMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        auto paint = [](HDC dc, const RECT& client, const RECT&) { PaintMonthSheet(dc, client, sheet_font); };
        if (message == WM_PAINT) OnPaint(window, paint);
        else OnPrintClient(window, reinterpret_cast<HDC>(wparam), paint);
        return true;
    }
    case WM_VSCROLL:
        ScrollMonthView(window, time_column, LOWORD(wparam), HIWORD(wparam));
        return true;
    case WM_MOUSEWHEEL:
        ScrollMonthView(window, time_column, GET_WHEEL_DELTA_WPARAM(wparam) < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return true;
    case WM_LBUTTONDOWN:
        OnMonthSheetPress(window, MouseX(lparam), MouseY(lparam));
        return true;
    case WM_LBUTTONUP:
        OnMonthSheetRelease(window);
        return true;
    case WM_CAPTURECHANGED:
        OnMonthCaptureLost(window);
        return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case kSheetDragFromPinBoard:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (MonthShown() && MonthSheetMessage(window, message, wparam, lparam)) return 0;
    switch (message) {
    case WM_CREATE:
        SetTimer(window, kClockTimer, kClockMilliseconds, nullptr);
        OnClockTick(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        auto paint = [](HDC dc, const RECT& client, const RECT& update) { PaintSheet(dc, client, update, sheet_font); };
        return message == WM_PAINT ? OnPaint(window, paint) : OnPrintClient(window, reinterpret_cast<HDC>(wparam), paint);
    }
    case WM_VSCROLL:
        OnVScroll(window, LOWORD(wparam), HIWORD(wparam));
        return 0;
    case WM_MOUSEWHEEL:
        OnVScroll(window, GET_WHEEL_DELTA_WPARAM(wparam) < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
        return 0;
    case WM_TIMER:
        if (wparam == kClockTimer) OnClockTick(window);
        return 0;
    case WM_LBUTTONDOWN:
        OnSheetLeftButtonDown(window, MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_MOUSEMOVE:
        OnSheetMouseMove(window, MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_LBUTTONUP:
        OnSheetLeftButtonUp(window, MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnSheetDoubleClick(window, MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_RBUTTONDOWN:
        OnSheetRightButtonDown(window, MouseX(lparam), MouseY(lparam), (wparam & MK_SHIFT) != 0);
        return 0;
    case WM_RBUTTONUP:
        OnSheetRightButtonUp(window);
        return 0;
    case WM_CAPTURECHANGED:
        OnSheetCaptureChanged(window, reinterpret_cast<HWND>(lparam));
        return 0;
    case WM_KEYDOWN:
        if (wparam == VK_ESCAPE) CancelSheetDrag(window);
        return 0;
    case kMsgSelectionButtons:
        OnSheetSelectionButtons();
        return 0;
    case kSheetDragFromPinBoard:
        // The record is the board's own and valid only during this call: the drag copies it.
        if (wparam) OnDragFromPinBoard(window, *reinterpret_cast<const HitRecord*>(wparam), MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_SETCURSOR:
        if (SheetDragging()) return TRUE;  // the drag keeps the cursor it set
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_DESTROY:
        KillTimer(window, kClockTimer);
        OnSheetDestroyed();
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// The rows the time column drew fix the bottom of the view, and with it the sheet's scroll range.
void SetSheetScrollRange(HWND time, int height) {
    const SheetState& s = sheet_state;
    const int rows = s.measures.rowHeight > 0 ? (height + s.measures.rowHeight - 1) / s.measures.rowHeight : 0;
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_POS, 0, std::max(s.topUnit + s.endUnit - (rows - 1), 0), 0, s.topUnit, 0};
    if (HWND target = FindWindowExA(GetParent(time), nullptr, kSheetClass, nullptr))
        SetScrollInfo(target, SB_VERT, &info, TRUE);
}

LRESULT CALLBACK TimeColumnProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        time_column = window;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        auto paint = [window](HDC dc, const RECT& client, const RECT&) {
            if (MonthShown()) {
                PaintMonthTimeColumn(window, dc, client, sheet_font);
                return;
            }
            PaintTimeColumn(dc, client, sheet_font);
            SetSheetScrollRange(window, client.bottom);
        };
        return message == WM_PAINT ? OnPaint(window, paint) : OnPrintClient(window, reinterpret_cast<HDC>(wparam), paint);
    }
    case WM_LBUTTONDOWN:
        if (MonthShown()) OnMonthTimePress(window, MouseY(lparam));
        return 0;
    case WM_LBUTTONUP:
        if (MonthShown()) OnMonthTimeRelease(window, MouseY(lparam));
        return 0;
    case WM_CAPTURECHANGED:
        OnMonthCaptureLost(window);
        return 0;
    case WM_DESTROY:
        if (time_column == window) time_column = nullptr;
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// The day view's "Note" button: the day note of the shown date; the button's colour follows
// whether the date has a note afterwards.
void EditShownDayNote(HWND header) {
    if (day_data.days.empty()) return;
    DayRecord& day = day_data.days.front();
    bool shown = false;
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(header, GWLP_HINSTANCE));
    const int has_note = EditDayNote(GetParent(header), instance, day.date, kNoteDay, &shown);
    if (!shown) return;
    day.hasNote = has_note != 0;
    InvalidateRect(header, nullptr, FALSE);
}

// A click on a day's caption shows that day in the day view.
void OnHeaderClick(HWND header, int x, int y) {
    RECT client;
    GetClientRect(header, &client);
    if (y >= client.bottom / 2 || day_data.mode == kMonthView) return;
    if (day_data.mode == kDayView && x > 2 && x <= sheet_state.measures.noteButtonWidth + 2) {
        EditShownDayNote(header);
        return;
    }
    for (const DayRecord& day : day_data.days) {
        if (x < day.left || x > day.right) continue;
        sheet_state.rememberedDate = day.date;
        PostMessageA(GetParent(header), WM_COMMAND, kDayViewButton, 0);
        return;
    }
}

LRESULT CALLBACK HeaderProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_LBUTTONUP:
        OnHeaderClick(window, MouseX(lparam), MouseY(lparam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        auto paint = [](HDC dc, const RECT& client, const RECT&) {
            if (MonthShown()) PaintMonthHeader(dc, client, sheet_font);
            else PaintHeader(dc, client, sheet_font);
        };
        return message == WM_PAINT ? OnPaint(window, paint) : OnPrintClient(window, reinterpret_cast<HDC>(wparam), paint);
    }
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace

const char kSheetClass[] = "SchSheet";
const char kTimeColumnClass[] = "SchTime";
const char kHeaderClass[] = "SSHeader";

WNDPROC SheetWindowProc() { return SheetProc; }
WNDPROC TimeColumnWindowProc() { return TimeColumnProc; }
WNDPROC HeaderWindowProc() { return HeaderProc; }

void SetSheetFont(HFONT font3) {
    sheet_font = font3;
    SetSheetMouseFont(font3);
}
