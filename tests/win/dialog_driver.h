// For the tests of modal dialogs: a second thread that waits for a dialog or a message box by
// its title, reads its controls and presses its buttons while the test's own thread sits in the
// dialog's modal loop. Every wait is bounded; a window that never comes makes the step fail.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace dialog_driver {

// The visible top-level dialog (class #32770) of this process with exactly this title, waiting
// up to about ten seconds (or the given milliseconds); null when none came.
inline HWND WaitForDialog(const char* title, HWND other_than = nullptr, int wait_ms = 10000) {
    for (int i = 0; i < wait_ms / 25; ++i) {
        HWND found = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w;
             w = FindWindowExA(nullptr, w, "#32770", title)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(w) && w != other_than) found = w;
        }
        if (found) return found;
        Sleep(25);
    }
    return nullptr;
}

// Waits on the driver's thread until done() holds (about ten seconds at most, or wait_ms);
// true when it did.
inline bool WaitFor(const std::function<bool()>& done, int wait_ms = 10000) {
    for (int i = 0; i < wait_ms / 25; ++i) {
        if (done()) return true;
        Sleep(25);
    }
    return done();
}

// Waits until the window is gone; true when it went.
inline bool WaitGone(HWND window) {
    return WaitFor([&] { return !IsWindow(window); });
}

inline std::string Text(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline std::string TextOf(HWND control) {
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// The text of a message box: its static text control.
inline std::string MessageBoxText(HWND box) { return Text(box, 0xFFFF); }

// Presses a button without waiting for what it starts (a press that opens a message box or a
// nested dialog would otherwise block this thread until that closes).
inline void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The control that has the keyboard focus in the dialog's thread.
inline HWND FocusOf(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Waits for a message box titled "Appointment Book", records its text, answers it with the
// button and waits until it has closed. Empty when none came.
inline std::string AnswerMessageBox(int button = IDOK) {
    HWND box = WaitForDialog("Appointment Book");
    if (!box) return "";
    std::string text = MessageBoxText(box);
    Press(box, button);
    WaitGone(box);
    Sleep(50);  // the dialog underneath takes its focus back
    return text;
}

// Ends every dialog of this process that is still open, innermost first, so that a step that
// went wrong fails its test instead of leaving the test's thread in a modal loop for good.
inline void CloseLeftovers() {
    for (int round = 0; round < 8; ++round) {
        HWND open = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(w) && IsWindowEnabled(w)) open = w;
        }
        if (!open) return;
        Press(open, IDCANCEL);
        Sleep(100);
    }
}

// Runs steps on a second thread while body (which opens a modal dialog) runs on this one.
class Driver {
public:
    explicit Driver(std::function<void()> steps) : steps_(std::move(steps)) {}

    template <typename Body>
    auto Run(Body body) {
        HANDLE thread = CreateThread(nullptr, 0, &Driver::Entry, this, 0, nullptr);
        auto result = body();
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
        return result;
    }

private:
    static DWORD WINAPI Entry(void* self) {
        static_cast<Driver*>(self)->steps_();
        CloseLeftovers();
        return 0;
    }
    std::function<void()> steps_;
};

}  // namespace dialog_driver
