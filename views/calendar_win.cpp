// Window of the schedule calendar. The month's data, the cell texts and colours and the schedule
// changes live in views/calendar; this file measures, paints, and turns keys, clicks, buttons and
// menu commands into calls of it.
#include "views/calendar_win.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "controls/date_picker_model.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/gdi_win.h"
#include "suite/prompter.h"
#include "views/active_view.h"
#include "views/calendar.h"

namespace {

const char kCalendarClass[] = "APPT_Calendar";
const char kNoProvidersSelected[] = "No providers selected. Action canceled.";
const char* const kWeekdayCaptions[7] = {"Sun", "Mon", "Tues", "Wed", "Thur", "Fri", "Sat"};
constexpr int kRows = 7;            // the title row and six week rows
constexpr int kButtonRowHeight = 32;
constexpr int kExtraWidth = 8;      // the window is 7 cells and this much wide
constexpr COLORREF kNegative = 0x000000FF;

HWND open_calendar = nullptr;
CalendarDayEditor day_editor = nullptr;
bool amounts_shown = false;  // "&Scheduled Production", kept while the program runs

struct Calendar {
    HWND owner = nullptr;
    CalendarMonth month;
    GdiObject<HFONT> bold, small;
    int cellWidth = 0, cellHeight = 0;
};

Calendar* CalendarOf(HWND window) { return reinterpret_cast<Calendar*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

RECT CellRect(const Calendar& c, int row, int column) {
    return {column * c.cellWidth, row * c.cellHeight, (column + 1) * c.cellWidth, (row + 1) * c.cellHeight};
}

void DrawIn(HDC dc, const std::string& text, RECT r, UINT format) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_SINGLELINE | DT_NOPREFIX);
}

void Frame(HDC dc, const RECT& r) { FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &r, brush);
}

void FillGrey(HDC dc, const RECT& r) { FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))); }

void PaintTitleRow(HDC dc, const Calendar& c, int width) {
    const int half = c.cellHeight / 2;
    RECT title = {0, 0, width, half};
    FillGrey(dc, title);
    Frame(dc, title);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", QVN_getmonth_name(c.month.place.month), c.month.place.year);
    SelectObject(dc, c.bold.Get());
    DrawIn(dc, text, title, DT_CENTER | DT_VCENTER);
    for (int col = 0; col < 7; ++col) {
        RECT r = CellRect(c, 0, col);
        r.top = half;
        FillGrey(dc, r);
        Frame(dc, r);
        DrawIn(dc, kWeekdayCaptions[col], r, DT_CENTER | DT_VCENTER);
    }
}

void PaintDay(HDC dc, const Calendar& c, int day) {
    int row = 0, col = 0;
    CalendarCellOf(c.month, day, &row, &col);
    RECT r = CellRect(c, row, col);
    const CalendarDay& d = c.month.day[day - 1];
    const CalendarShade shade = CalendarShadeOf(c.month.mode, d);
    if (shade == CalendarShade::kPlain) FillGrey(dc, r);
    else Fill(dc, r, CalendarShadeColour(shade));
    Frame(dc, r);

    SelectObject(dc, c.bold.Get());
    const std::string number = std::to_string(day);
    SIZE size{};
    GetTextExtentPoint32A(dc, number.c_str(), static_cast<int>(number.size()), &size);
    RECT number_box = {r.right - size.cx - 4, r.top + 1, r.right - 1, r.top + 1 + size.cy};
    if (shade != CalendarShade::kPlain) FillGrey(dc, number_box);
    DrawIn(dc, number, {number_box.left, number_box.top, number_box.right - 2, number_box.bottom}, DT_RIGHT | DT_TOP);

    SelectObject(dc, c.small.Get());
    RECT inner = {r.left + 2, r.top + 1, r.right - 3, r.bottom - 1};
    if (c.month.mode == kCalendarPickDate) {
        if (amounts_shown) DrawIn(dc, CalendarAmountText(c.month.amounts[day], shade), inner, DT_RIGHT | DT_BOTTOM);
    } else if (shade == CalendarShade::kPlain) {
        const std::vector<std::string> lines = CalendarHoursLines(d.own);
        const int line = (inner.bottom - inner.top) / 3;
        for (size_t i = 0; i < lines.size(); ++i) {
            RECT l = {inner.left, inner.bottom - static_cast<int>(3 - i) * line, inner.right,
                      inner.bottom - static_cast<int>(2 - i) * line};
            DrawIn(dc, lines[i], l, DT_LEFT | DT_BOTTOM);
        }
    }
    if (day == c.month.place.day) InvertRect(dc, &r);
}

// One labelled line of the summary box: the label right-aligned before the value's column.
void SummaryLine(HDC dc, const RECT& box, int line, int lines, const char* label, const std::string& value,
                 COLORREF colour = 0) {
    const int h = (box.bottom - box.top) / lines;
    const int split = box.left + (box.right - box.left) * 2 / 3;
    RECT l = {box.left + 2, box.top + line * h, split - 2, box.top + (line + 1) * h};
    SetTextColor(dc, 0);
    DrawIn(dc, label, l, DT_RIGHT | DT_VCENTER);
    if (value.empty()) return;
    RECT v = {split, l.top, box.right - 3, l.bottom};
    SetTextColor(dc, colour);
    DrawIn(dc, value, v, DT_RIGHT | DT_VCENTER);
    SetTextColor(dc, 0);
}

// One line of the legend: the label right-aligned before its colour swatch, which sits at the
// box's right edge so that the longest label keeps the rest of the box.
void LegendLine(HDC dc, const RECT& box, int line, int lines, const char* label, COLORREF colour) {
    const int h = (box.bottom - box.top) / lines;
    const int side = std::max(8, h - 4);
    RECT s = {box.right - 4 - side, box.top + line * h + 2, box.right - 4, box.top + line * h + 2 + side};
    Fill(dc, s, colour);
    Frame(dc, s);
    SetTextColor(dc, 0);
    DrawIn(dc, label, RECT{box.left + 2, box.top + line * h, s.left - 4, box.top + (line + 1) * h}, DT_RIGHT | DT_VCENTER);
}

void PaintSummary(HDC dc, const Calendar& c) {
    RECT box = CellRect(c, 6, 3);
    box.right = box.left + c.cellWidth * 5 / 2;
    FillGrey(dc, box);
    SelectObject(dc, c.small.Get());
    const int32_t* a = c.month.amounts;
    auto units = [](int32_t cents) { return std::to_string(static_cast<long>(cents / 100)); };
    if (c.month.mode == kCalendarPickDate) {
        if (!amounts_shown) return;
        const int32_t variance = a[kCalendarMonthTotal] - a[kCalendarGoal];
        SummaryLine(dc, box, 0, 5, "Scheduled:", units(a[kCalendarMonthTotal]));
        SummaryLine(dc, box, 1, 5, "Month Goal:", units(a[kCalendarGoal]));
        SummaryLine(dc, box, 2, 5, "Variance:", units(variance), variance < 0 ? kNegative : 0);
        RECT framed = box;
        framed.top = box.top + (box.bottom - box.top) / 5 * 3;
        Frame(dc, framed);
        SummaryLine(dc, box, 3, 5, "Production:", units(a[kCalendarProduction]));
        SummaryLine(dc, box, 4, 5, "MTD New Patients:", std::to_string(static_cast<long>(a[kCalendarNewPatients])));
        return;
    }
    const int lines = c.month.mode == kCalendarProvider ? 3 : 2;
    LegendLine(dc, box, 0, lines, "Practice Closed:", CalendarShadeColour(CalendarShade::kClosed));
    LegendLine(dc, box, 1, lines, "Practice Holidays:", CalendarShadeColour(CalendarShade::kHoliday));
    if (lines == 3) LegendLine(dc, box, 2, lines, "Provider Vacation:", CalendarShadeColour(CalendarShade::kVacation));
}

void Paint(HWND window, const Calendar& c) {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(window, &ps);
    RECT client{};
    GetClientRect(window, &client);
    MemoryCanvas canvas(screen, client.right, client.bottom);
    HDC dc = canvas.Ok() ? canvas.Dc() : screen;
    FillGrey(dc, client);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, c.bold.Get());
    PaintTitleRow(dc, c, client.right);
    for (int row = 1; row <= 6; ++row)
        for (int col = 0; col < 7; ++col)
            if (CalendarDayAt(c.month, row, col) == 0 && !CalendarSummaryCell(row, col)) FillGrey(dc, CellRect(c, row, col));
    for (int day = 1; day <= c.month.days; ++day) PaintDay(dc, c, day);
    PaintSummary(dc, c);
    SelectObject(dc, old_font);
    if (dc != screen) BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    EndPaint(window, &ps);
}

void Reload(HWND window, Calendar& c) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    LoadCalendarMonth(&c.month);
    SetCursor(old_cursor);
    InvalidateRect(window, nullptr, FALSE);
}

// Arrow keys: within the month only the two cells change; across its edge the month is loaded.
void MoveDays(HWND window, Calendar& c, int days) {
    const int year = c.month.place.year, month = c.month.place.month;
    if (!PickerMoveDays(&c.month.place, days)) return;
    if (c.month.place.year != year || c.month.place.month != month) Reload(window, c);
    else InvalidateRect(window, nullptr, FALSE);
}

void StepMonth(HWND window, Calendar& c, int months) {
    if (PickerStepMonth(&c.month.place, months)) Reload(window, c);
    SetFocus(window);
}

void Close(HWND window) { DestroyWindow(window); }

void Enter(HWND window, Calendar& c) {
    if (c.month.mode == kCalendarPickDate) {
        const int32_t date = PickerConfirm(c.month.place, QVN_SysDate());
        if (date == 0) return;
        PostMessageA(c.owner, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), static_cast<LPARAM>(date));
        Close(window);
        return;
    }
    const int day = c.month.place.day;
    const CalendarDay& d = c.month.day[day - 1];
    const bool practice_closed =
        d.holidayKind != 0 || (c.month.mode == kCalendarProvider ? d.practice.flag : d.own.flag) >= 2;
    if (!day_editor || practice_closed || d.own.flag >= 2) {
        MessageBeep(MB_OK);
        return;
    }
    int32_t start[3], end[3];
    std::copy(d.own.start, d.own.start + 3, start);
    std::copy(d.own.end, d.own.end + 3, end);
    if (!day_editor(window, start, end)) return;
    if (StoreCalendarHours(c.month, day, start, end) == CalendarChange::kChangedElsewhere)
        ShowRefusal(kCalendarChangedElsewhere);
    Reload(window, c);
}

void ScheduleCommand(HWND window, Calendar& c, int command) {
    const int day = c.month.place.day;
    CalendarChange result = CalendarChange::kNothing;
    switch (command) {
    case CMD_CAL_CLOSE_DATE:
        result = CloseCalendarDate(c.month, day);
        break;
    case CMD_CAL_OPEN_DATE:
        result = OpenCalendarDate(c.month, day);
        break;
    case CMD_CAL_RESET_HOURS:
        result = ResetCalendarDate(c.month, day);
        break;
    case CMD_CAL_SET_HOLIDAY:
        SetCalendarHoliday(c.month, day);
        break;
    case CMD_CAL_DELETE_HOLIDAY:
        DeleteCalendarHoliday(c.month, day);
        break;
    }
    if (result == CalendarChange::kPracticeClosed) ShowRefusal(kCalendarPracticeClosed);
    if (result == CalendarChange::kChangedElsewhere) ShowRefusal(kCalendarChangedElsewhere);
    Reload(window, c);
}

void ToggleAmounts(HWND window, Calendar& c) {
    if (!amounts_shown && c.month.providers.empty()) {
        ShowStop(kNoProvidersSelected);
        return;
    }
    amounts_shown = !amounts_shown;
    CheckMenuItem(GetMenu(window), CMD_CAL_SCHEDULED_PRODUCTION, amounts_shown ? MF_CHECKED : MF_UNCHECKED);
    InvalidateRect(window, nullptr, FALSE);
}

bool OnCommand(HWND window, Calendar& c, int command) {
    switch (command) {
    case CMD_CAL_PREVIOUS_MONTH:
    case CMD_CAL_NEXT_MONTH:
        StepMonth(window, c, command == CMD_CAL_NEXT_MONTH ? 1 : -1);
        return true;
    case IDOK:
        Enter(window, c);
        return true;
    case IDCANCEL:
        Close(window);
        return true;
    case CMD_CAL_SCHEDULED_PRODUCTION:
        if (c.month.mode == kCalendarPickDate) ToggleAmounts(window, c);
        return true;
    case CMD_CAL_CLOSE_DATE:
    case CMD_CAL_OPEN_DATE:
    case CMD_CAL_RESET_HOURS:
    case CMD_CAL_SET_HOLIDAY:
    case CMD_CAL_DELETE_HOLIDAY:
        if (c.month.mode != kCalendarPickDate) ScheduleCommand(window, c, command);
        return true;
    }
    return false;
}

bool OnKey(HWND window, Calendar& c, WPARAM key) {
    const int move = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : key == VK_UP ? -7 : key == VK_DOWN ? 7 : 0;
    if (move) {
        MoveDays(window, c, move);
        return true;
    }
    if (key == VK_RETURN) {
        Enter(window, c);
        return true;
    }
    if (key == VK_ESCAPE) {
        Close(window);
        return true;
    }
    return false;
}

int DayUnder(const Calendar& c, LPARAM lparam) {
    if (c.cellWidth <= 0 || c.cellHeight <= 0) return 0;
    const int x = static_cast<short>(LOWORD(lparam)), y = static_cast<short>(HIWORD(lparam));
    if (x < 0 || y < 0) return 0;
    return CalendarDayAt(c.month, y / c.cellHeight, x / c.cellWidth);
}

LRESULT CALLBACK CalendarProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Calendar* c = CalendarOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* holder = static_cast<std::unique_ptr<Calendar>*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
        break;
    }
    case WM_PAINT:
        if (!c) break;
        Paint(window, *c);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_COMMAND:
        if (c && OnCommand(window, *c, LOWORD(wparam))) return 0;
        break;
    case WM_KEYDOWN:
        if (c && OnKey(window, *c, wparam)) return 0;
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!c) break;
        SetFocus(window);
        const int day = DayUnder(*c, lparam);
        if (day == 0) return 0;
        if (day != c->month.place.day) {
            c->month.place.day = day;
            InvalidateRect(window, nullptr, FALSE);
        }
        if (message == WM_LBUTTONDBLCLK) Enter(window, *c);
        return 0;
    }
    case WM_DESTROY:
        if (c && c->month.mode != kCalendarPickDate && c->owner)
            PostMessageA(c->owner, WM_COMMAND, MAKEWPARAM(CMD_REFRESH, 0), 0);
        if (open_calendar == window) open_calendar = nullptr;
        break;
    case WM_NCDESTROY:
        delete c;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterCalendarClass(HINSTANCE instance) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kCalendarClass, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = CalendarProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kCalendarClass;
    return RegisterClassExA(&wc) != 0;
}

// Cells are 6 widths and 3 heights of "X" in the bold font, at least 32 pixels high.
void Measure(Calendar& c) {
    HDC dc = GetDC(nullptr);
    c.bold.Reset(CreateFontA(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, 600, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    c.small.Reset(CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    SIZE x{};
    {
        Selected bold(dc, c.bold.Get());
        GetTextExtentPoint32A(dc, "X", 1, &x);
    }
    ReleaseDC(nullptr, dc);
    c.cellWidth = 6 * x.cx;
    c.cellHeight = std::max<int>(32, 3 * x.cy);
}

HWND Button(HWND parent, const Calendar& c, const char* text, int id, RECT r) {
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(c.bold.Get()), FALSE);
    return button;
}

void CreateButtons(HWND window, const Calendar& c) {
    const int half = c.cellHeight / 2;
    const int arrow = c.cellWidth / 2;
    RECT client{};
    GetClientRect(window, &client);
    Button(window, c, "<<", CMD_CAL_PREVIOUS_MONTH, {2, 2, 2 + arrow, half - 2});
    Button(window, c, ">>", CMD_CAL_NEXT_MONTH, {client.right - 2 - arrow, 2, client.right - 2, half - 2});
    const int top = kRows * c.cellHeight + 4, bottom = kRows * c.cellHeight + kButtonRowHeight - 4;
    const int width = c.cellWidth * 3 / 2;
    const int middle = client.right / 2;
    if (c.month.mode == kCalendarPickDate) {
        Button(window, c, "OK", IDOK, {middle - width - 4, top, middle - 4, bottom});
        Button(window, c, "Cancel", IDCANCEL, {middle + 4, top, middle + 4 + width, bottom});
    } else {
        Button(window, c, "Close", IDCANCEL, {middle - width / 2, top, middle + width / 2, bottom});
    }
}

}  // namespace

HWND OpenCalendarWindow() { return open_calendar; }

void SetCalendarDayEditor(CalendarDayEditor editor) { day_editor = editor; }

int OpenCalendar(HWND owner, HINSTANCE instance, int32_t date, bool confirm_past, int mode, const char* provider) {
    if (open_calendar || mode < kCalendarPickDate || mode > kCalendarProvider) return 0;
    auto c = std::make_unique<Calendar>();
    if (!OpenPickerAt(&c->month.place, date, QVN_SysDate(), confirm_past) || !RegisterCalendarClass(instance)) return 0;
    c->owner = owner;
    c->month.mode = mode;
    if (mode == kCalendarPickDate) {
        for (int i = 0; i < view_state.active.providerCount; ++i) {
            const auto index = static_cast<size_t>(view_state.active.providers[i]);
            if (index >= practice_tables.providers.size()) continue;
            const ProviderInfo& p = practice_tables.providers[index];
            c->month.providers.push_back({p.id[0], p.id[1], p.id[2], p.id[3]});
        }
        c->month.resource = {'-', 'P', 'R', '-'};
    } else if (mode == kCalendarPractice) {
        c->month.resource = {'-', 'P', 'R', '-'};
    } else {
        if (!provider || FindProviderIndex(provider) < 0) return 0;
        c->month.resource = {provider[0], provider[1], provider[2], provider[3]};
    }
    Measure(*c);
    const std::string title = CalendarTitle(mode, c->month.providers, c->month.resource);
    const char* menu_name = mode == kCalendarPickDate ? "CALMENU" : mode == kCalendarPractice ? "CALMENU2" : "CALMENU3";
    HMENU menu = LoadMenuA(instance, menu_name);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const int width = kPickerColumns * c->cellWidth + kExtraWidth;
    const int client_height = kRows * c->cellHeight + kButtonRowHeight;
    RECT frame = {0, 0, width, client_height};
    AdjustWindowRectEx(&frame, style, menu != nullptr, 0);
    int height = frame.bottom - frame.top;
    RECT over = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &over);
    int x = (over.left + over.right - width) / 2;
    int y = (over.top + over.bottom - height) / 2;
    if (x + width > GetSystemMetrics(SM_CXSCREEN)) x = 0;
    if (y + height > GetSystemMetrics(SM_CYSCREEN)) y = 0;

    Calendar* calendar = c.get();
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    LoadCalendarMonth(&calendar->month);
    SetCursor(old_cursor);
    HWND window = CreateWindowExA(0, kCalendarClass, title.c_str(), style, x, y, width, height, owner, menu, instance, &c);
    if (!window) {
        if (menu) DestroyMenu(menu);
        return 0;
    }
    // A menu bar that wraps takes more than one line: the grid keeps its height all the same.
    RECT client{};
    GetClientRect(window, &client);
    if (client.bottom != client_height)
        SetWindowPos(window, nullptr, 0, 0, width, height + client_height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    open_calendar = window;
    if (mode == kCalendarPickDate)
        CheckMenuItem(menu, CMD_CAL_SCHEDULED_PRODUCTION, amounts_shown ? MF_CHECKED : MF_UNCHECKED);
    CreateButtons(window, *calendar);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    return 1;
}
