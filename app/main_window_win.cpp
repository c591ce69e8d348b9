// Window procedure of the main window: decodes messages and hands the work on.
#include "app/main_window_win.h"

#include "app/window_classes_win.h"
#include "resources/resource.h"

AppFrame app_frame;

namespace {

void OnCommand(HWND window, int command) {
    switch (command) {
    case CMD_EXIT:
        DestroyWindow(window);
        break;
    default:
        break;  // commands whose owners are not built yet are grayed in the menu
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(window, LOWORD(wparam));
        return 0;
    case WM_DESTROY:
        app_frame.main_window = nullptr;
        PostQuitMessage(0);
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
