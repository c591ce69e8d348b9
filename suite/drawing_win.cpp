// Tooltips on controls and bitmaps drawn with a transparent colour.
#include "suite/window_services_win.h"  // <windows.h> first: commctrl.h builds on it

#include <commctrl.h>

int QVN_SetToolTip(HWND window, HWND control, const char* text) {
    // One tooltip window per owner, found again through a window property.
    static const char kProperty[] = "QvnToolTip";
    HWND tip = static_cast<HWND>(GetPropA(window, kProperty));
    if (!tip) {
        tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)),
                              nullptr);
        if (!tip) return 0;
        SetPropA(window, kProperty, tip);
    }
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = window;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    return SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) ? 1 : 0;
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent) {
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof info, &info)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth,
                   info.bmHeight, transparent);
    SelectObject(source, old);
    DeleteDC(source);
}
