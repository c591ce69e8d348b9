// The pin board window: paints its frames and the parked card, decodes the board's messages and
// the mouse, and leaves what is parked to the contents in pin_board.
#include "views/pin_board_win.h"

#include "app/run_bitmaps_win.h"
#include "suite/gdi_win.h"
#include "suite/window_services_win.h"
#include "views/info_box_win.h"
#include "views/sheet_state.h"

const char kPinBoardClass[] = "SSPinBoard";

namespace {

struct PinBoardWindow {
    HWND window = nullptr;
    PinBoardContents contents;
    bool painted = false;         // the start-up setting is looked at on the first paint only
    bool infoBoxShown = false;    // while the right button is held on the card
    PinBoardOpenHook openHook = nullptr;
};
PinBoardWindow pin_board;

HBITMAP CardBitmap() { return pin_board.contents.date ? run_bitmaps.appt : run_bitmaps.apptNoDate; }

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

bool OnCard(HWND window, LPARAM lparam) {
    const RECT card = PinBoardCardRect(window);
    const POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    return PtInRect(&card, p) != 0;
}

void Changed(HWND window) { InvalidateRect(window, nullptr, TRUE); }

void Paint(HWND window, HDC dc) {
    if (!pin_board.painted) {
        pin_board.painted = true;
        if (!pin_board.contents.parked) ParkClipboardAppointment(&pin_board.contents);
    }
    RECT r;
    GetClientRect(window, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    InflateRect(&r, -3, -3);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!pin_board.contents.parked) return;
    const RECT card = PinBoardCardRect(window);
    DrawTransparentBitmap(dc, CardBitmap(), card.left, card.top, kBitmapTransparent);
}

// The card goes to the sheet, which drags it from here. The board is emptied before the sheet
// hears of it, so that a sheet handing the appointment straight back (a refused drag) parks it
// on an empty board.
void HandToSheet(HWND window, LPARAM lparam) {
    HWND sheet = FindWindowExA(GetParent(window), nullptr, "SchSheet", nullptr);
    if (!sheet) return;
    POINT p = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    MapWindowPoints(window, sheet, &p, 1);
    const HitRecord record = pin_board.contents.record;
    EmptyBoard(&pin_board.contents);
    Changed(window);
    SendMessageA(sheet, kSheetDragFromPinBoard, reinterpret_cast<WPARAM>(&record), MAKELPARAM(p.x, p.y));
}

void ShowInfo(HWND window, LPARAM lparam) {
    POINT cursor = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    ClientToScreen(window, &cursor);
    SetCapture(window);
    pin_board.infoBoxShown = true;
    ShowInfoBox(window, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)),
                pin_board.contents.record.appointment, pin_board.contents.date, cursor, true);
}

void EndInfo() {
    if (!pin_board.infoBoxShown) return;
    pin_board.infoBoxShown = false;
    CloseInfoBox();
    if (GetCapture() == pin_board.window) ReleaseCapture();
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: {
        const PinBoardOpenHook hook = pin_board.openHook;
        pin_board = PinBoardWindow();
        pin_board.window = window;
        pin_board.openHook = hook;
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        Paint(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(window, reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint fills everything
    case WM_LBUTTONDOWN:
        if (pin_board.contents.parked && sheet_state.mode != kMonthView && OnCard(window, lparam))
            HandToSheet(window, lparam);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (pin_board.contents.parked && OnCard(window, lparam) && pin_board.openHook)
            pin_board.openHook(ParkedAppointmentId(pin_board.contents));
        return 0;
    case WM_RBUTTONDOWN:
        if (pin_board.contents.parked && !pin_board.infoBoxShown && OnCard(window, lparam)) ShowInfo(window, lparam);
        return 0;
    case WM_RBUTTONUP:
        EndInfo();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lparam) != window) EndInfo();
        return 0;
    case kPinBoardPark:
        if (!wparam) return 0;
        {
            const HitRecord& record = *reinterpret_cast<const HitRecord*>(wparam);
            ParkOnBoard(&pin_board.contents, record);
        }
        Changed(window);
        return 1;
    case kPinBoardGetParked:
        return pin_board.contents.parked ? reinterpret_cast<LRESULT>(&pin_board.contents.record) : 0;
    case kPinBoardEmpty:
        EmptyBoard(&pin_board.contents);
        Changed(window);
        return 0;
    case kPinBoardParkedId:
        return static_cast<LRESULT>(ParkedAppointmentId(pin_board.contents));
    case WM_DESTROY:
        EndInfo();
        if (pin_board.window == window) pin_board.window = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

WNDPROC PinBoardWindowProc() { return Procedure; }

void SetPinBoardOpenHook(PinBoardOpenHook hook) { pin_board.openHook = hook; }

void DropSavedFromPinBoard(uint32_t appointment_id) {
    if (pin_board.window && appointment_id && ParkedAppointmentId(pin_board.contents) == appointment_id)
        SendMessageA(pin_board.window, kPinBoardEmpty, 0, 0);
}

void ParkClipboardOnBoard() {
    if (!pin_board.window || !ParkClipboardAppointment(&pin_board.contents)) return;
    Changed(pin_board.window);
}

RECT PinBoardCardRect(HWND board) {
    RECT card = {};
    if (!pin_board.contents.parked) return card;
    const SIZE size = BitmapSize(CardBitmap());
    RECT client;
    GetClientRect(board, &client);
    card.left = (client.right - size.cx) / 2;
    card.top = (client.bottom - size.cy) / 2;
    card.right = card.left + size.cx;
    card.bottom = card.top + size.cy;
    return card;
}
