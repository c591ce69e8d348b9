// What the in-process Win32 tests share: the message pump with a bound, real mouse input that
// waits for the pointer to arrive, and the pixels a window shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// A top-level window of the test's thread that records the messages of one kind it gets (the
// commands, unless told otherwise): what the parent or owner of a window under test hears.
class RecordingWindow {
public:
    struct Heard {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
    };
    explicit RecordingWindow(UINT recorded = WM_COMMAND, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             RECT place = {0, 0, 400, 500})
        : recorded_(recorded) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = "QvnRecordingWindow";
        RegisterClassA(&wc);  // fails harmlessly when an earlier window registered it
        window_ = CreateWindowExA(0, wc.lpszClassName, "recording window", style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr, wc.hInstance, this);
    }
    ~RecordingWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;
    HWND Window() const { return window_; }
    // The command ids heard, in order.
    std::vector<int> Commands() const {
        std::vector<int> ids;
        for (const Heard& h : heard) ids.push_back(LOWORD(h.wparam));
        return ids;
    }
    std::vector<Heard> heard;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams));
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == self->recorded_) {
            self->heard.push_back({message, wparam, lparam});
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }
    UINT recorded_;
    HWND window_ = nullptr;
};

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages for up to ms milliseconds, or until done() holds; true when it did.
inline bool PumpUntil(DWORD ms, const std::function<bool()>& done) {
    const DWORD deadline = GetTickCount() + ms;
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount() > deadline) return false;
        Sleep(10);
    }
}

inline void PumpFor(DWORD ms) { PumpUntil(ms, [] { return false; }); }

// Moves the pointer to a screen point and waits until it is there, then sends the button flags
// with the place too (Wine may still be catching up with the jump, and a press without a place
// of its own would land where the pointer was). False when the pointer never arrived.
inline bool RealMouse(POINT at, DWORD button_flags) {
    auto input = [](DWORD flags, POINT p) {
        INPUT i = {};
        i.type = INPUT_MOUSE;
        i.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        return i;
    };
    INPUT move = input(0, at);
    SendInput(1, &move, sizeof(INPUT));
    if (!PumpUntil(2000, [&] {
            POINT p = {};
            GetCursorPos(&p);
            return p.x == at.x && p.y == at.y;
        }))
        return false;
    PumpFor(50);
    INPUT press = input(button_flags, at);
    return SendInput(1, &press, sizeof(INPUT)) == 1;
}

// A real press and release of the left button in the middle of a window.
inline bool RealClick(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return RealMouse(middle, MOUSEEVENTF_LEFTDOWN) && RealMouse(middle, MOUSEEVENTF_LEFTUP);
}

using ShownPixels = std::vector<std::vector<COLORREF>>;

// The window's client pixels, row by row, after a fresh paint.
inline ShownPixels Shown(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    RECT r = {};
    GetClientRect(window, &r);
    ShownPixels rows;
    HDC dc = GetDC(window);
    for (int y = 0; y < r.bottom; ++y) {
        rows.emplace_back();
        for (int x = 0; x < r.right; ++x) rows.back().push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(window, dc);
    return rows;
}

// The pixels of that colour in rows top to bottom (exclusive).
inline int CountOf(const ShownPixels& shown, COLORREF colour, int top = 0, int bottom = 1 << 30) {
    int n = 0;
    for (int y = top; y < static_cast<int>(shown.size()) && y < bottom; ++y)
        for (COLORREF c : shown[static_cast<size_t>(y)]) n += c == colour;
    return n;
}

// Starts a program by its command line; its process handle, null when it did not start.
inline HANDLE StartProgram(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Runs a program to its end: its exit code, -2 when it did not start, -1 when it did not end within
// a minute (it is ended then).
inline long RunProgram(const std::string& command) {
    HANDLE process = StartProgram(command);
    if (!process) return -2;
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
    if (!ended) TerminateProcess(process, 99);
    CloseHandle(process);
    return ended ? static_cast<long>(code) : -1;
}

// The text a tooltip window holds for a tool of the owner window (by id or child window).
inline std::string ToolTipText(HWND tips, HWND owner, UINT_PTR tool) {
    if (!tips) return "(no tooltip window)";
    char text[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner;
    ti.uId = tool;
    ti.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

// A bitmap's size, {-1, -1} for a handle that is no bitmap (any more).
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {-1, -1};
    return {info.bmWidth, info.bmHeight};
}
