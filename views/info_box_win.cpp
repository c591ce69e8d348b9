// The information box window: sized from "x" in the default font, placed by the core's
// arithmetic, painting the lines the core made, the status line on its status colour.
#include "views/info_box_win.h"

#include <string>

#include "data/practice_schedule.h"
#include "suite/gdi_win.h"
#include "views/info_box.h"

const char kInfoBoxClass[] = "DataPopup";

namespace {

struct InfoBoxState {
    HWND window = nullptr;
    InfoBoxContent content;
    int lineHeight = 0;
};
InfoBoxState info_box;

SIZE DefaultFontX() {
    SIZE x = {8, 16};
    HDC dc = GetDC(nullptr);
    {
        Selected font(dc, GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32A(dc, "x", 1, &x);
    }
    ReleaseDC(nullptr, dc);
    return x;
}

void Paint(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    Selected font(dc, GetStockObject(SYSTEM_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    for (int i = 0; i < kInfoBoxLineCount; ++i) {
        const std::string& text = info_box.content.lines[static_cast<size_t>(i)];
        RECT line = {client.left, i * info_box.lineHeight, client.right, (i + 1) * info_box.lineHeight};
        const bool coloured = i == kInfoBoxLineCount - 1 && info_box.content.hasStatusColour;
        // The status name sits on its colour; every other line on the window's white.
        SetBkMode(dc, coloured ? OPAQUE : TRANSPARENT);
        if (coloured) SetBkColor(dc, static_cast<COLORREF>(info_box.content.statusColour));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &line, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        Paint(window, reinterpret_cast<HDC>(wparam));
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the sheet or the pin board keeps the focus and the capture
    case WM_NCDESTROY:
        if (info_box.window == window) info_box = InfoBoxState();
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

WNDPROC InfoBoxWindowProc() { return Procedure; }

HWND ShowInfoBox(HWND owner, HINSTANCE instance, const ApptDisplay& appointment, int32_t date, POINT anchor_screen,
                 bool from_pin_board) {
    CloseInfoBox();
    const SIZE x = DefaultFontX();
    const InfoBoxRect place = PlaceInfoBox(InfoBoxSize(x.cx, x.cy), {anchor_screen.x, anchor_screen.y}, from_pin_board,
                                           GetSystemMetrics(SM_CXSCREEN));
    InfoBoxContent content = InfoBoxContentOf(appointment, date, practice_tables.statuses);
    std::string text;
    for (int i = 0; i < kInfoBoxLineCount; ++i) text += (i ? "\n" : "") + content.lines[static_cast<size_t>(i)];
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kInfoBoxClass, text.c_str(), WS_POPUP | WS_BORDER,
                                  place.x, place.y, place.width, place.height, owner, nullptr, instance, nullptr);
    if (!window) return nullptr;
    info_box.window = window;
    info_box.content = std::move(content);
    info_box.lineHeight = x.cy;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

void CloseInfoBox() {
    if (info_box.window) DestroyWindow(info_box.window);
    info_box = InfoBoxState();
}

HWND ShownInfoBox() { return info_box.window; }
