// Starting the suite's modules from the main window.
#include "lists/launcher_win.h"

#include <string>

#include "lists/launcher.h"
#include "lists/patient_search.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/patient_alert.h"
#include "suite/users.h"
#include "suite/window_services_win.h"

namespace {

struct InsideWindow {
    std::string title;
    std::string text;
};

INT_PTR CALLBACK InsideWindowProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* w = reinterpret_cast<const InsideWindow*>(lparam);
        SetWindowTextA(dialog, w->title.c_str());
        SetDlgItemTextA(dialog, IDC_INSIDE_TEXT, w->text.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class WindowsLauncherServices final : public LauncherServices {
public:
    WindowsLauncherServices(HWND owner, HINSTANCE instance) : owner_(owner), instance_(instance) {}
    int StartProgram(const std::string& command_line) override {
        HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        const int result = QVN_StartProgram(command_line.c_str(), SW_SHOWNORMAL);
        SetCursor(old_cursor);
        return result;
    }
    void ShowPatientAlerts(uint32_t patient_id, int mode) override {
        PATALERT_PopUpPatientAlerts(patient_id, QVN_SysDate(), mode);
    }
    bool ReadPatient(uint32_t patient_id, PatientRecord* patient) override { return ::ReadPatient(patient_id, patient); }
    void ShowInsideWindow(const std::string& title, const std::string& text) override {
        InsideWindow w{title, text};
        DialogBoxParamA(instance_, "DLG_MODULEWINDOW", owner_, InsideWindowProc, reinterpret_cast<LPARAM>(&w));
    }
    std::string OverrideUserName() override { return QVN_GetOverrideUserName(); }

private:
    HWND owner_;
    HINSTANCE instance_;
};

}  // namespace

int LaunchModuleCommand(HWND owner, HINSTANCE instance, int command, uint32_t patient_id, uint32_t appointment_id,
                        bool report_failure) {
    LaunchRequest request;
    request.command = command;
    request.patientId = patient_id;
    request.appointmentId = appointment_id;
    request.windowHandle = static_cast<long>(reinterpret_cast<INT_PTR>(owner));
    request.reportFailure = report_failure;
    WindowsLauncherServices services(owner, instance);
    return LaunchModule(request, ReadModuleSettings(ProgramFolder()), services);
}

bool ModuleProgramPresent(int command) {
    const char* key = ModuleProgramKey(command);
    if (!key) return false;
    const std::string path = ReadModuleSettings(ProgramFolder()).ProgramPath(key);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
