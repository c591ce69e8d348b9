// Window procedure of the main window: decodes messages and hands the work on.
#include "app/main_window_win.h"

#include "app/dde_service_win.h"
#include "app/fonts_win.h"
#include "app/main_layout.h"
#include "app/window_classes_win.h"
#include "resources/resource.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"

AppFrame app_frame;

namespace {

// The main window's own state: its fonts, the sheet measures and its children.
struct MainWindowState {
    AppFonts fonts;
    SheetMeasures measures;
    ButtonBarOrientation orientation = kButtonBarHorizontal;
    HWND header = nullptr;
    HWND timeColumn = nullptr;
    HWND sheet = nullptr;
    HWND pinBoard = nullptr;
    bool idealDay = false;  // Ideal Day time blocks shown on the sheet
};
MainWindowState main_state;

HWND CreateChild(HWND parent, const char* class_name, DWORD extra_style) {
    return CreateWindowExA(0, class_name, "", WS_CHILD | WS_VISIBLE | extra_style, 0, 0, 0, 0,
                           parent, nullptr, app_frame.instance, nullptr);
}

void OnSize(HWND window);

// The menu's check mark follows the switch (the button bar's toggle comes with the bar).
void ShowIdealDay(HWND window) {
    CheckMenuItem(GetMenu(window), CMD_IDEAL_DAY, MF_BYCOMMAND | (main_state.idealDay ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleIdealDay(HWND window) {
    main_state.idealDay = !main_state.idealDay;
    ShowIdealDay(window);
    if (main_state.sheet) InvalidateRect(main_state.sheet, nullptr, TRUE);
}

// The children are laid out here already, so that the window never shows unarranged.
void OnCreate(HWND window) {
    StartPatientInfoService(window);
    main_state.orientation = ReadButtonBarOrientation();
    main_state.fonts.CreateAll();
    main_state.measures = main_state.fonts.MeasureSheet(window);
    main_state.header = CreateChild(window, "SSHeader", 0);
    main_state.timeColumn = CreateChild(window, "SchTime", 0);
    main_state.sheet = CreateChild(window, "SchSheet", WS_VSCROLL);
    main_state.pinBoard = CreateChild(window, "SSPinBoard", WS_BORDER);
    main_state.idealDay = ReadIdealDay();
    ShowIdealDay(window);
    OnSize(window);
}

void Place(HWND child, const LayoutRect& r) {
    if (child) MoveWindow(child, r.x, r.y, r.width, r.height, TRUE);
}

void OnSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    MainLayoutInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.orientation = main_state.orientation;
    in.rowHeight = main_state.measures.rowHeight;
    in.timeColumnWidth = main_state.measures.timeColumnWidth;
    in.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    MainLayout layout = LayOutMainWindow(in);
    Place(main_state.header, layout.header);
    Place(main_state.timeColumn, layout.timeColumn);
    Place(main_state.sheet, layout.sheet);
    Place(main_state.pinBoard, layout.pinBoard);
}

void OnDestroy() {
    StopPatientInfoService();
    main_state.fonts.DeleteAll();
    main_state.header = main_state.timeColumn = main_state.sheet = main_state.pinBoard = nullptr;
    app_frame.main_window = nullptr;
    PostQuitMessage(0);
}

void OnCommand(HWND window, int command) {
    switch (command) {
    case CMD_EXIT:
        DestroyWindow(window);
        break;
    case CMD_IDEAL_DAY:
        ToggleIdealDay(window);
        break;
    default:
        break;  // commands whose owners are not built yet are grayed in the menu
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        OnSize(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wparam));
        return 0;
    case WM_DESTROY:
        WriteIdealDay(main_state.idealDay);
        QVN_SaveWindowPosInfo(window, "APPTBOOK");
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND CreateMainWindow(HINSTANCE instance) {
    int screen_width = GetSystemMetrics(SM_CXSCREEN);
    int screen_height = GetSystemMetrics(SM_CYSCREEN);
    return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW, 90, 0,
                           screen_width - 180, screen_height - 2, nullptr, nullptr, instance,
                           nullptr);
}
