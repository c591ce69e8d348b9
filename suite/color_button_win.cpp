// The ColorButton control: a push button whose face is its colour. A click (or the space bar)
// opens the standard colour dialog on the button's colour; a colour chosen there becomes the
// button's and the parent is told with BN_CLICKED. The owner sets a colour with message 0x7F3
// (the colour in the last parameter) and reads it with 0x7F2. The colour lives in the window's
// extra bytes, so the control needs no allocation and nothing to free.
#include "suite/window_services_win.h"

namespace {

const char kColorButtonClass[] = "ColorButton";

COLORREF ColourOf(HWND window) { return static_cast<COLORREF>(GetWindowLongPtrA(window, 0)); }

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    bool pressed = GetCapture() == window;
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    HBRUSH brush = CreateSolidBrush(ColourOf(window));
    InflateRect(&r, -2, -2);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    if (GetFocus() == window) DrawFocusRect(dc, &r);
    EndPaint(window, &ps);
}

// The custom colours of the colour dialog, kept for the run of the program as Windows programs do.
COLORREF custom_colours[16] = {};

void Clicked(HWND window) {
    HWND parent = GetParent(window);
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = parent;
    cc.rgbResult = ColourOf(window);
    cc.lpCustColors = custom_colours;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    SetWindowLongPtrA(window, 0, static_cast<LONG_PTR>(cc.rgbResult));
    InvalidateRect(window, nullptr, FALSE);
    int id = GetDlgCtrlID(window);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK ColorButtonProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case kColorButtonSetColour:
        SetWindowLongPtrA(window, 0, static_cast<LONG_PTR>(lparam));
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case kColorButtonGetColour:
        return static_cast<LRESULT>(ColourOf(window));
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) {
            ReleaseCapture();
            InvalidateRect(window, nullptr, FALSE);
            POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
            RECT r;
            GetClientRect(window, &r);
            if (PtInRect(&r, p)) Clicked(window);
        }
        return 0;
    case WM_KEYUP:
        if (wparam == VK_SPACE) Clicked(window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

bool RegisterColorButtonClass(HINSTANCE instance) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, kColorButtonClass, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ColorButtonProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kColorButtonClass;
    return RegisterClassExA(&wc) != 0;
}
