// Window of the "Select Date" picker. The date arithmetic lives in date_picker_model; this file
// measures, paints and turns keys, clicks and buttons into model calls.
#include "controls/date_picker_win.h"

#include <algorithm>
#include <memory>
#include <string>

#include "controls/date_picker_model.h"
#include "suite/dates.h"

namespace {

const char kPickerClass[] = "LB_Calendar";
constexpr int kNominalWidth = 248;   // the size used to keep the picker on the screen
constexpr int kNominalHeight = 278;
constexpr int kTitleRow = 0, kWeekdayRow = 1, kFirstWeekRow = 2;
constexpr int kRows = kFirstWeekRow + kPickerWeekRows;

HWND open_picker = nullptr;

// A GDI font released with its owner.
struct Font {
    HFONT handle = nullptr;
    Font() = default;
    ~Font() { Release(); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void Create(const char* face, int points, int weight, HDC dc) {
        Release();
        handle = CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, weight,
                             FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    }
    void Release() {
        if (handle) DeleteObject(handle);
        handle = nullptr;
    }
};

// Per-window state, owned by the window and freed when it is destroyed.
struct Picker {
    HWND owner = nullptr;
    DatePickerState state;
    Font bold;
    Font days;
    int cellWidth = 0;
    int cellHeight = 0;
};

Picker* PickerOf(HWND window) {
    return reinterpret_cast<Picker*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

RECT CellRect(const Picker& p, int row, int column) {
    RECT r = {column * p.cellWidth, row * p.cellHeight, (column + 1) * p.cellWidth,
              (row + 1) * p.cellHeight};
    return r;
}

void DrawCentred(HDC dc, const std::string& text, RECT r) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Paint(HWND window, Picker& p) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, p.bold.handle);

    RECT title = CellRect(p, kTitleRow, 1);
    title.right = CellRect(p, kTitleRow, kPickerColumns - 2).right;
    DrawCentred(dc, PickerTitle(p.state), title);
    for (int c = 0; c < kPickerColumns; ++c)
        DrawCentred(dc, kPickerWeekdayNames[c], CellRect(p, kWeekdayRow, c));

    SelectObject(dc, p.days.handle);
    HBRUSH background = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    for (int row = 0; row < kPickerWeekRows; ++row) {
        for (int c = 0; c < kPickerColumns; ++c) {
            RECT r = CellRect(p, kFirstWeekRow + row, c);
            int day = PickerDayAtCell(p.state, row, c);
            if (day == 0) {
                if (row < kPickerWeekRows - 1 || c < kPickerColumns - 2) FillRect(dc, &r, background);
                continue;
            }
            bool selected = day == p.state.day;
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(selected ? BLACK_BRUSH : WHITE_BRUSH)));
            SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
            DrawCentred(dc, std::to_string(day), r);
        }
    }
    SelectObject(dc, old_font);
    EndPaint(window, &ps);
}

void CreateButton(HWND parent, const Picker& p, const char* text, int id, RECT r) {
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                                  nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(p.bold.handle), FALSE);
}

// OK and Cancel share the last two cells of the sixth week row, which no month reaches.
void CreateButtons(HWND window, const Picker& p) {
    CreateButton(window, p, "<<", kPickerCmdPreviousMonth, CellRect(p, kTitleRow, 0));
    CreateButton(window, p, ">>", kPickerCmdNextMonth, CellRect(p, kTitleRow, kPickerColumns - 1));
    RECT area = CellRect(p, kRows - 1, kPickerColumns - 2);
    area.right = CellRect(p, kRows - 1, kPickerColumns - 1).right;
    int middle = (area.top + area.bottom) / 2;
    CreateButton(window, p, "OK", IDOK, {area.left + 2, area.top + 1, area.right - 2, middle});
    CreateButton(window, p, "Cancel", IDCANCEL, {area.left + 2, middle + 1, area.right - 2, area.bottom - 1});
}

void Confirm(HWND window, Picker& p) {
    int32_t date = PickerConfirm(p.state, QVN_SysDate());
    if (date == 0) return;
    PostMessageA(p.owner, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), static_cast<LPARAM>(date));
    DestroyWindow(window);
}

void Changed(HWND window) { InvalidateRect(window, nullptr, TRUE); }

// The week row and column under a client point, false outside the day grid.
bool DayCellAt(const Picker& p, int x, int y, int* row, int* column) {
    if (p.cellWidth <= 0 || p.cellHeight <= 0) return false;
    *row = y / p.cellHeight - kFirstWeekRow;
    *column = x / p.cellWidth;
    return *row >= 0 && *row < kPickerWeekRows && *column >= 0 && *column < kPickerColumns;
}

bool OnKey(HWND window, Picker& p, WPARAM key) {
    int move = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : key == VK_UP ? -7 : key == VK_DOWN ? 7 : 0;
    if (move) {
        if (PickerMoveDays(&p.state, move)) Changed(window);
        return true;
    }
    if (key == VK_RETURN) {
        Confirm(window, p);
        return true;
    }
    if (key == VK_ESCAPE) {
        DestroyWindow(window);
        return true;
    }
    return false;
}

LRESULT CALLBACK PickerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Picker* p = PickerOf(window);
    switch (message) {
    case WM_NCCREATE: {
        // From here on the window owns its state; WM_NCDESTROY frees it.
        auto* holder = static_cast<std::unique_ptr<Picker>*>(
            reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
        break;
    }
    case WM_PAINT:
        if (p) {
            Paint(window, *p);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (!p) break;
        switch (LOWORD(wparam)) {
        case kPickerCmdPreviousMonth:
        case kPickerCmdNextMonth:
            if (PickerStepMonth(&p->state, LOWORD(wparam) == kPickerCmdNextMonth ? 1 : -1))
                Changed(window);
            SetFocus(window);  // keys go on moving the selection
            return 0;
        case IDOK:
            Confirm(window, *p);
            return 0;
        case IDCANCEL:
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (p && OnKey(window, *p, wparam)) return 0;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        int row, column;
        if (!p || !DayCellAt(*p, LOWORD(lparam), HIWORD(lparam), &row, &column)) break;
        int day = PickerDayAtCell(p->state, row, column);
        if (day == 0) break;
        if (message != WM_LBUTTONDOWN && day == p->state.day) {
            Confirm(window, *p);
            return 0;
        }
        if (message != WM_RBUTTONDBLCLK && day != p->state.day) {
            p->state.day = day;
            Changed(window);
        }
        return 0;
    }
    case WM_DESTROY:
        if (open_picker == window) open_picker = nullptr;
        break;
    case WM_NCDESTROY:
        delete p;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

bool RegisterPickerClass(HINSTANCE instance) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kPickerClass, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = PickerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kPickerClass;
    return RegisterClassExA(&wc) != 0;
}

// Cells are 6 widths and 3 heights of "X" in the bold font, at least 32 pixels high.
void Measure(Picker& p) {
    HDC dc = GetDC(nullptr);
    p.bold.Create("Arial", 9, 600, dc);
    p.days.Create("Arial", 8, FW_NORMAL, dc);
    HGDIOBJ old = SelectObject(dc, p.bold.handle);
    SIZE x = {};
    GetTextExtentPoint32A(dc, "X", 1, &x);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    p.cellWidth = 6 * x.cx;
    p.cellHeight = std::max<int>(32, 3 * x.cy);
}

}  // namespace

HWND OpenDatePickerWindow() { return open_picker; }

int OpenDatePicker(HWND owner, HINSTANCE instance, int32_t start_date, bool warn_on_past) {
    if (open_picker) return 0;
    auto p = std::make_unique<Picker>();
    if (!OpenPickerAt(&p->state, start_date, QVN_SysDate(), warn_on_past) ||
        !RegisterPickerClass(instance))
        return 0;
    p->owner = owner;
    Measure(*p);
    Picker* picker = p.get();

    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, kPickerColumns * p->cellWidth, kRows * p->cellHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;

    RECT over = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &over);
    int x = (over.left + over.right - width) / 2;
    int y = (over.top + over.bottom - height) / 2;
    if (x + kNominalWidth > GetSystemMetrics(SM_CXSCREEN)) x = 0;
    if (y + kNominalHeight > GetSystemMetrics(SM_CYSCREEN)) y = 0;

    HWND window = CreateWindowExA(0, kPickerClass, "Select Date", style, x, y, width, height,
                                  owner, nullptr, instance, &p);
    if (!window) return 0;  // p still owns the state unless the window took and freed it
    open_picker = window;
    CreateButtons(window, *picker);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    return 1;
}
