// Entry point of apptbook.exe: start-up in its fixed order, then the message loop.
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window_win.h"
#include "app/run_bitmaps_win.h"
#include "app/startup.h"
#include "app/window_classes_win.h"
#include "suite/password_dialog_win.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"

namespace {

const char kInstanceName[] = "QVN_APPTBOOK_MUTEX";
const char kWindowPosKey[] = "APPTBOOK";
constexpr int kCmdShowFamilyAppointments = 1224;

// Another copy runs: bring it forward and hand it the requested patient.
void HandOverToRunningCopy(int32_t patient) {
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) return;
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    else SetForegroundWindow(running);
    if (patient != 0)
        PostMessageA(running, WM_COMMAND, MAKEWPARAM(kCmdShowFamilyAppointments, 0),
                     static_cast<LPARAM>(patient));
}

// Windows' own country code, for the settings that follow the country.
int WindowsCountryCode() { return static_cast<int>(GetProfileIntA("Intl", "iCountry", 1)); }

// The start-up steps' window actions on the real main window.
class MainStartupWindow final : public StartupWindow {
public:
    void Destroy() override {
        if (app_frame.main_window) DestroyWindow(app_frame.main_window);
    }
    void PostQuit() override { PostQuitMessage(0); }
    void SetStatusMenu(const StatusTables& tables) override { ReplaceStatusMenu(tables); }
    void RemoveCommand(int command) override {
        if (app_frame.main_window) DeleteMenu(GetMenu(app_frame.main_window), static_cast<UINT>(command), MF_BYCOMMAND);
    }
};

int RunMessageLoop() {
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
    int32_t requested_patient = ParseOaidPatient(command_line);
    if (ExistsPreviousInstance(kInstanceName)) {
        HandOverToRunningCopy(requested_patient);
        return 0;
    }

    app_frame.instance = instance;
    InstallWindowsPrompter();
    app_frame.accelerators = LoadAcceleratorsA(instance, "apptAccel");
    if (!RegisterApptBookClasses(instance, MainWindowProc)) return 1;
    LoadRunBitmaps(instance);

    app_frame.main_window = CreateMainWindow(instance);
    if (!app_frame.main_window) return 1;
    InstallWindowsPrompter(app_frame.main_window);
    InstallWindowsPasswordPrompter(app_frame.main_window, instance);
    InstallCountryReader(WindowsCountryCode);

    MainStartupWindow startup_window;
    switch (RunStartupSteps(command_line ? command_line : "", startup_window)) {
    case StartupEnd::kFailed:
        if (app_frame.main_window) DestroyWindow(app_frame.main_window);
        return 1;
    case StartupEnd::kLoopEnds:
        return RunMessageLoop();
    case StartupEnd::kRun:
        break;
    }
    app_frame.running = true;
    ShowFirstSheet();

    QVN_RestoreSavedWindowPos(app_frame.main_window, kWindowPosKey);
    UpdateWindow(app_frame.main_window);
    // The family appointment list that command 1224 opens is not built yet; the request is
    // posted all the same so that the hand-over path is the one the finished program takes.
    if (requested_patient != 0)
        PostMessageA(app_frame.main_window, WM_COMMAND,
                     MAKEWPARAM(kCmdShowFamilyAppointments, 0), static_cast<LPARAM>(requested_patient));
    return RunMessageLoop();
}
