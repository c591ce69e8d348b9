// Window classes: one table, so that every class's style, brush and cursor is read in one place.
//
#include "app/window_classes_win.h"

#include "lists/appt_lists_win.h"
#include "resources/resource.h"
#include "views/info_box_win.h"
#include "views/pin_board_win.h"
#include "views/sheet_mouse_win.h"
#include "views/sheet_windows_win.h"

const char kMainWindowClass[] = "ApptBook";
const char kMainWindowTitle[] = "Quorvin Appointment Book";

namespace {

struct ClassEntry {
    const char* name;
    UINT style;
    int background_stock_brush;  // -1: no background brush
    LPCSTR cursor;               // a standard cursor
    WNDPROC (*procedure)();      // null: the default procedure until the window is built
};

const ClassEntry kChildClasses[] = {
    {"SchSheet", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, WHITE_BRUSH, IDC_ARROW, SheetWindowProc},
    {"SchTime", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW, TimeColumnWindowProc},
    {"SSHeader", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW, HeaderWindowProc},
    {"MoveIt", 0, -1, IDC_SIZENESW, FloatingWindowProc},
    {"DataPopup", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW, InfoBoxWindowProc},
    {"SSPinBoard", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW, PinBoardWindowProc},
};

bool Register(HINSTANCE instance, const char* name, UINT style, WNDPROC proc, int brush,
              LPCSTR cursor, HICON icon, const char* menu) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, cursor);
    wc.hbrBackground = brush >= 0 ? static_cast<HBRUSH>(GetStockObject(brush)) : nullptr;
    wc.lpszMenuName = menu;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

bool RegisterApptBookClasses(HINSTANCE instance, WNDPROC main_window_proc) {
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPTBOOK));
    if (!Register(instance, kMainWindowClass, CS_HREDRAW | CS_VREDRAW, main_window_proc,
                  LTGRAY_BRUSH, IDC_ARROW, icon, "ApptMenu"))
        return false;
    for (const ClassEntry& c : kChildClasses) {
        if (!Register(instance, c.name, c.style, c.procedure ? c.procedure() : DefWindowProcA, c.background_stock_brush,
                      c.cursor, nullptr, nullptr))
            return false;
    }
    // The list windows and their header list box.
    return RegisterApptListClasses(instance);
}
