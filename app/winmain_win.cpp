// Entry point of apptbook.exe: start-up in its fixed order, then the message loop.
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window_win.h"
#include "app/window_classes_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show_state) {
    int32_t requested_patient = ParseOaidPatient(command_line);
    (void)requested_patient;  // handed to the family appointment list once it exists

    app_frame.instance = instance;
    app_frame.accelerators = LoadAcceleratorsA(instance, "apptAccel");
    if (!RegisterApptBookClasses(instance, MainWindowProc)) return 1;

    app_frame.main_window = CreateMainWindow(instance);
    if (!app_frame.main_window) return 1;

    ShowWindow(app_frame.main_window, show_state);
    UpdateWindow(app_frame.main_window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (app_frame.accelerators && app_frame.main_window &&
            TranslateAcceleratorA(app_frame.main_window, app_frame.accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
