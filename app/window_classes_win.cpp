// Window classes: one table, so that every class's style, brush and cursor is read in one place.
//
// The child classes get their real window procedures as the schedule sheet, the header, the time
// column, the floating appointment, the information box and the pin board are built; until then
// they are registered with the default procedure so that the main window can already create them.
#include "app/window_classes_win.h"

#include "resources/resource.h"

const char kMainWindowClass[] = "ApptBook";
const char kMainWindowTitle[] = "Quorvin Appointment Book";

namespace {

struct ClassEntry {
    const char* name;
    UINT style;
    int background_stock_brush;  // -1: no background brush
    LPCSTR cursor;               // a standard cursor
};

const ClassEntry kChildClasses[] = {
    {"SchSheet", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, WHITE_BRUSH, IDC_ARROW},
    {"SchTime", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
    {"SSHeader", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
    {"MoveIt", 0, -1, IDC_SIZENESW},
    {"DataPopup", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW},
    {"SSPinBoard", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
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
        if (!Register(instance, c.name, c.style, DefWindowProcA, c.background_stock_brush,
                      c.cursor, nullptr, nullptr))
            return false;
    }
    return true;
}
