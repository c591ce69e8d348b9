// What every UI test needs: a scratch practice with its settings file, one run of the real
// apptbook.exe on it, and readers of what that run shows (window texts, message boxes, menus).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ddeml.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>
#include <utility>
#include <string>
#include <vector>

#include "data/db_access.h"
#include "data/demo_appointments.h"
#include "data/demo_seed.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/records/practice_resource.h"
#include "suite/users.h"
#include "tools/signon/user_input_win.h"
#include "../native/test_storage.h"

// Bounds every wait, so a program that hangs fails the test instead of stalling the run.
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 20000;

// Waits until the condition holds, within the bound; true when it did. A measurement asks for a
// short period so that the poll adds little to what it times.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD bound_ms = 5000, DWORD period_ms = 50) {
    const DWORD deadline = GetTickCount() + bound_ms;
    while (!condition()) {
        if (GetTickCount() > deadline) return false;
        Sleep(period_ms);
    }
    return true;
}

// The folder of the test program, with its trailing separator.
inline std::string TestsFolder() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    while (length > 0 && buffer[length - 1] != '\\' && buffer[length - 1] != '/') --length;
    return std::string(buffer, length);
}

inline std::string ProgramPath() {
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("QVN_APPTBOOK_EXE", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return buffer;
    return TestsFolder() + "..\\apptbook.exe";  // build/win64/tests/ui_tests.exe -> build/win64/apptbook.exe
}

enum class Practice {
    kDemo,             // the demo practice of qvnadmin seed-demo, without appointments
    kDemoBook,         // the demo practice with its book of appointments around today
    kNoProviders,      // a practice record and one operatory, nothing else
    kDemoBookOnServer, // kDemoBook in a fresh database of the test run's PostgreSQL cluster
};

// A scratch directory with a settings file that names a practice database beside it and the
// user to log in; all removed again at the end of the test. The database is written here, in
// the test's process, through the same core code as qvnadmin.
class TempPractice {
public:
    TempPractice(Practice practice, const std::string& user) {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        // A folder of its own: one left by an earlier run whose program still held its files
        // (Wine reuses process ids) is passed over, never written into.
        static int serial = 0;
        do {
            dir_ = std::string(base) + "qvn-ui-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        } while (!CreateDirectoryA(dir_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
        file_ = dir_ + "\\quorvin.ini";
        data_ = dir_ + "\\data";
        WritePrivateProfileStringA("GENERAL", "User", user.c_str(), file_.c_str());
        if (practice == Practice::kDemoBookOnServer) {
            // Written each time: a copy of the data folder would name the same server database.
            server_ = std::make_unique<TempDatabase>(Backend::kPostgres);
            reason_ = server_->Failure();
            data_ = server_->Dir();
            WritePrivateProfileStringA("GENERAL", "Path", data_.c_str(), file_.c_str());
            ok_ = reason_.empty() && SeedNew(Practice::kDemoBook, data_);
            return;
        }
        CreateDirectoryA(data_.c_str(), nullptr);
        WritePrivateProfileStringA("GENERAL", "Path", data_.c_str(), file_.c_str());
        ok_ = Seed(practice, data_);
    }
    ~TempPractice() { RemoveFolder(dir_); }
    const std::string& File() const { return file_; }
    const std::string& Data() const { return data_; }
    bool Ok() const { return ok_; }
    const std::string& Reason() const { return reason_; }

private:
    // Seeding the demo practice and its book takes seconds, so within one run of the tests each
    // kind is seeded once (for today) and later practices of that kind are copies of it.
    struct KeptPractices {
        std::map<std::pair<Practice, int32_t>, std::string> dirs;
        ~KeptPractices() {
            for (const auto& kept : dirs) RemoveFolder(kept.second);
        }
    };
    static void RemoveFolder(const std::string& dir) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    bool Seed(Practice practice, const std::string& data) {
        static KeptPractices kept;
        const auto key = std::make_pair(practice, QVN_SysDate());
        std::error_code ec;
        const auto found = kept.dirs.find(key);
        if (found != kept.dirs.end()) {
            // File by file: copying a folder onto an existing one fails under Wine, which gives
            // every file of a drive the same identity.
            for (const auto& file : std::filesystem::directory_iterator(found->second, ec)) {
                if (!std::filesystem::copy_file(file.path(), std::filesystem::path(data) / file.path().filename(), ec)) {
                    reason_ = "cannot copy the practice from " + found->second + ": " + ec.message();
                    return false;
                }
            }
            if (ec) reason_ = "cannot read the practice kept in " + found->second + ": " + ec.message();
            return !ec;
        }
        if (!SeedNew(practice, data)) return false;
        const std::string copy = dir_ + "-kept";
        std::filesystem::copy(data, copy, std::filesystem::copy_options::recursive, ec);
        if (!ec) kept.dirs[key] = copy;
        return true;
    }
    bool SeedNew(Practice practice, const std::string& data) {
        if (!CreatePracticeDatabase(data, &reason_) || !OpenPracticeDatabase(data, &reason_)) return false;
        bool ok = true;
        if (practice == Practice::kDemo || practice == Practice::kDemoBook) {
            const DemoPractice demo = BuildDemoPractice(1, QVN_SysDate());
            ok = WriteDemoPractice(demo, 1000, &reason_);
            DemoBookCounts counts;
            DemoBookSpan span;  // two weeks either side of today: enough for every test, quick to write
            span.daysBack = span.daysAhead = 14;
            // The book is written through the appointment store, which checks against the loaded
            // practice tables.
            if (ok && practice == Practice::kDemoBook)
                ok = (LoadPracticeTables() || Failed("practice tables")) && WriteDemoAppointments(demo, 1, QVN_SysDate(), span, &counts, &reason_);
        } else {
            FileGroupDesc resources{};
            DbGroupOf(kResourceFile, &resources);
            DbGroupScope group(resources);
            ResourceRecord record{};
            record.kind = kResourceKindPractice;
            std::memcpy(record.id, kPracticeId, 4);
            ok = DbAdd(kResourceFile, &record) == kQdbOk || Failed("practice record");
            record.kind = kResourceKindOperatory;
            std::memcpy(record.id, "OP1 ", 4);
            record.attribute = 1;
            ok = ok && (DbAdd(kResourceFile, &record) == kQdbOk || Failed("operatory record"));
            UserRecord front = MakeUserRecord(1, "FRONT", "Front Desk");
            for (int right = 0; right < kRightCount; ++right) SetUserRight(front, right, true);
            ok = ok && (QVN_WriteUser(front) == kQdbOk || Failed("user"));
        }
        DbEndSession();
        return ok;
    }
    bool Failed(const char* what) {
        reason_ = std::string("cannot write the ") + what;
        return false;
    }

    std::string dir_, file_, data_, reason_;
    std::unique_ptr<TempDatabase> server_;
    bool ok_ = false;
};

// Answers the sign-on's name-and-password dialog as a user does: a click into the password
// field, the password typed, Enter. False when the dialog is not up or does not go away.
inline bool AnswerPasswordDialog(HWND dialog, const std::string& password) {
    return TypePasswordInto(dialog, password) && WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10000);
}

// The password the demo practice gives its user of that login, "" for none.
inline std::string DemoPassword(const std::string& login) {
    for (const DemoUser& u : BuildDemoPractice(1, QVN_SysDate()).users)
        if (NormalizeLoginName(u.login) == NormalizeLoginName(login)) return u.password;
    return "";
}

// The message of a message box: the longest text among its static controls.
inline std::string MessageText(HWND box) {
    std::string longest;
    for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c; c = FindWindowExA(box, c, "Static", nullptr)) {
        char text[512] = "";
        GetWindowTextA(c, text, sizeof text);
        if (std::strlen(text) > longest.size()) longest = text;
    }
    return longest;
}

// Whether the run answers the sign-on by itself: the tests of the sign-on answer it themselves.
enum class SignOn { kAnswer, kLeaveToTest };

// One run of apptbook.exe; a run still alive when the test ends is terminated. A user of the demo
// practices signs on with the demo's password, typed into the program's prompt.
class AppRun {
public:
    // settings: "section/key=value" lines written into the settings file before the start.
    // prepare: runs after the practice is written and before the program starts, with the data
    // folder and the settings file.
    using Prepare = std::function<void(const std::string& data, const std::string& settings_file)>;
    explicit AppRun(const std::string& arguments = "", Practice practice = Practice::kDemo,
                    const std::string& user = "FRONT", const std::vector<std::string>& settings = {},
                    const Prepare& prepare = nullptr, SignOn sign_on = SignOn::kAnswer)
        : settings_(practice, user), user_(user) {
        if (!settings_.Ok()) return;
        if (prepare) prepare(settings_.Data(), settings_.File());
        for (const std::string& line : settings) {
            const size_t slash = line.find('/'), equals = line.find('=');
            WritePrivateProfileStringA(line.substr(0, slash).c_str(), line.substr(slash + 1, equals - slash - 1).c_str(),
                                       line.substr(equals + 1).c_str(), settings_.File().c_str());
        }
        SetEnvironmentVariableA("QUORVIN_SETTINGS", settings_.File().c_str());
        std::string command = "\"" + ProgramPath() + "\" " + arguments;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        started_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &si, &process_);
        const std::string password = practice == Practice::kNoProviders ? "" : DemoPassword(user);
        if (started_ && sign_on == SignOn::kAnswer && !password.empty()) {
            // A second copy hands its request over and ends before any sign-on: nothing to answer.
            if (HWND prompt = WaitForDialog("Password")) signedOn_ = AnswerPasswordDialog(prompt, password);
        }
    }
    ~AppRun() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;

    bool Started() const { return started_; }
    // The sign-on prompt came and was answered.
    bool SignedOn() const { return signedOn_; }
    DWORD ProcessId() const { return process_.dwProcessId; }
    // A visible top-level window of this run with the class (and the title, unless null) now, or null.
    HWND VisibleWindow(const char* class_name, const char* title = nullptr) const {
        DWORD pid = 0;
        for (HWND w = FindWindowExA(nullptr, nullptr, class_name, title); w; w = FindWindowExA(nullptr, w, class_name, title))
            if (GetWindowThreadProcessId(w, &pid) && pid == process_.dwProcessId && IsWindowVisible(w)) return w;
        return nullptr;
    }
    bool ShowsWindow(const char* class_name) const { return VisibleWindow(class_name) != nullptr; }
    // Why the practice could not be written, when it could not.
    const std::string& SeedReason() const { return settings_.Reason(); }
    const std::string& SettingsFile() const { return settings_.File(); }
    const std::string& DataDir() const { return settings_.Data(); }

    // The visible top-level window of this run with the given class, or null on timeout.
    HWND WaitForWindow(const char* class_name) { return WaitForVisible(class_name, nullptr, kStartTimeoutMs); }

    // A visible dialog box of this run (a message box is one) with the title (any title for
    // null), or null when none comes within the bound or the program ends.
    HWND WaitForDialog(const char* title, DWORD bound_ms = kStartTimeoutMs) { return WaitForVisible("#32770", title, bound_ms); }

    // Answers the box of that title with the button and returns its message; a text saying so
    // when no box came.
    std::string AnswerBox(const char* title, int button = IDOK, DWORD bound_ms = kStartTimeoutMs) {
        HWND box = WaitForDialog(title, bound_ms);
        if (!box) return "(no box titled " + std::string(title) + ")";
        const std::string text = MessageText(box);
        PostMessageA(box, WM_COMMAND, button, 0);
        WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        Sleep(300);  // the window underneath takes its focus back
        return text;
    }

    // Answers every "Appointment Book" box with Yes (OK where there is no Yes) until none comes
    // for 1.5 seconds, and returns their texts in order.
    std::vector<std::string> AnswerAll() {
        std::vector<std::string> texts;
        for (int i = 0; i < 8; ++i) {
            HWND box = WaitForDialog("Appointment Book", 1500);
            if (!box) break;
            texts.push_back(AnswerBox("Appointment Book", GetDlgItem(box, IDYES) ? IDYES : IDOK));
        }
        return texts;
    }

    // Signs for a command as the run's user, as the program asks before a guarded one: false when
    // no password prompt came or it did not go away.
    bool SignFor() {
        HWND prompt = WaitForDialog("Password");
        return prompt && AnswerPasswordDialog(prompt, DemoPassword(user_));
    }

    // The exit code, or -1 when the program did not end within the bound.
    long WaitForExit() {
        if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    HWND WaitForVisible(const char* class_name, const char* title, DWORD bound_ms) {
        HWND w = nullptr;
        WaitUntil([&] { return (w = VisibleWindow(class_name, title)) || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; },
                  bound_ms, 100);
        return w;
    }
    TempPractice settings_;
    std::string user_;
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
    bool signedOn_ = false;
};

inline std::string WindowText(HWND w) {
    char text[256] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

// The program file loaded as data, to read its resources as Windows will.
class ProgramResources {
public:
    ProgramResources()
        : module_(LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramResources() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

inline std::string MenuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

inline HDDEDATA CALLBACK IgnoreTransaction(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A DDE client of its own, as another program of the workstation would be.
class DdeClient {
public:
    DdeClient() { DdeInitializeA(&instance_, IgnoreTransaction, APPCMD_CLIENTONLY, 0); }
    ~DdeClient() {
        if (instance_) DdeUninitialize(instance_);
    }
    // Connects to service and topic and requests an item; "(no connection)" or "(no data)"
    // when there is nothing.
    std::string Request(const char* service, const char* topic) {
        HSZ s = DdeCreateStringHandleA(instance_, service, CP_WINANSI);
        HSZ t = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
        HCONV conversation = DdeConnect(instance_, s, t, nullptr);
        std::string result = "(no connection)";
        if (conversation) {
            HDDEDATA data = DdeClientTransaction(nullptr, 0, conversation, t, CF_TEXT, XTYP_REQUEST, 5000, nullptr);
            result = "(no data)";
            if (data) {
                char text[300] = "";
                DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
                result = text;
                DdeFreeDataHandle(data);
            }
            DdeDisconnect(conversation);
        }
        DdeFreeStringHandle(instance_, s);
        DdeFreeStringHandle(instance_, t);
        return result;
    }

private:
    DWORD instance_ = 0;
};

// Key strokes given at once, each pressed in order and released in reverse.
inline void Chord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> in(2 * keys.size());
    size_t n = 0;
    for (WORD k : keys) in[n++].ki.wVk = k;
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) {
        in[n].ki.wVk = *k;
        in[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    for (INPUT& i : in) i.type = INPUT_KEYBOARD;
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Key strokes as a user gives them: a virtual key pressed and released, optionally with a
// modifier held.
inline void PressKey(WORD key, WORD modifier = 0) {
    if (modifier) Chord({modifier, key});
    else Chord({key});
    Sleep(40);
}

// Types letters, digits, blanks and commas key by key.
inline void TypeText(const std::string& text) {
    for (char c : text) {
        if (c == ',') PressKey(VK_OEM_COMMA);
        else if (c == ' ') PressKey(VK_SPACE);
        else PressKey(static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))));
    }
}

// Brings the window to the front for key strokes; true when it got there.
inline bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; });
}

inline HWND Child(HWND parent, const char* class_name) { return FindWindowExA(parent, nullptr, class_name, nullptr); }

inline POINT ToScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// Presses the left button at one place, moves there in steps and releases at another; every event
// carries its own position so that none lands where the previous one was.
inline void Drag(HWND from_window, POINT from, HWND to_window, POINT to) {
    const POINT a = ToScreen(from_window, from.x, from.y), b = ToScreen(to_window, to.x, to.y);
    SendMouseAt(0, a);
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, a);
    for (int i = 1; i <= 6; ++i) SendMouseAt(0, POINT{a.x + (b.x - a.x) * i / 6, a.y + (b.y - a.y) * i / 6});
    SendMouseAt(MOUSEEVENTF_LEFTUP, b);
}

inline void Click(HWND window, POINT at) { Drag(window, at, window, at); }

// Clicks (or double-clicks) a mouse button at a screen point: the left one unless told.
inline void ClickAt(POINT screen, int clicks = 1, DWORD press = MOUSEEVENTF_LEFTDOWN) {
    SendMouseAt(0, screen);
    for (int i = 0; i < clicks; ++i) {
        SendMouseAt(press, screen);
        SendMouseAt(press << 1, screen);  // a button's release flag is the one after its press flag
    }
}

inline void RightClickAt(POINT screen) { ClickAt(screen, 1, MOUSEEVENTF_RIGHTDOWN); }

// Clicks (or double-clicks) line index of a list box with the mouse, scrolled into view first.
inline void ClickLine(HWND list, int index, int clicks = 1) {
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    ClickAt(ToScreen(list, 20, (index - top) * height + height / 2), clicks);
}

// Double-clicks an appointment's box at a screen point and signs for it: its Appointment
// Information dialog, or null when none came.
inline HWND OpenAppointmentAt(AppRun& app, POINT screen) {
    ClickAt(screen, 2);
    HWND dialog = nullptr;
    const bool shown = app.SignFor() && WaitUntil([&] {
        return (dialog = app.WaitForDialog(nullptr, 100)) && GetDlgItem(dialog, IDC_APPT_REASONS);
    });
    return shown ? dialog : nullptr;
}

// Clicks the middle of a dialog's control.
inline void ClickControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(control, &r);
    ClickAt(ToScreen(control, r.right / 2, r.bottom / 2));
}

// A real click on a dialog's button, then a bounded wait for the dialog to go; true when it went.
inline bool ClickToClose(HWND dialog, int id) {
    ClickControl(dialog, id);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

// The same with the button's command posted to the dialog.
inline bool PressToClose(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

// The colour the screen shows at a point.
inline COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return seen;
}

inline COLORREF ScreenPixel(HWND window, int x, int y) { return ScreenPixel(ToScreen(window, x, y)); }

inline int ListCount(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0)); }

// Find New Appointment Time's list of found times once it holds at least that many lines, or null.
inline HWND FoundTimes(AppRun& app, int at_least = 1) {
    HWND found = app.WaitForDialog("Available Appointment Times");
    return found && WaitUntil([&] { return ListCount(found, IDC_FOUND_LIST) >= at_least; }) ? found : nullptr;
}

// A line of another process's list box, through its wide messages.
inline std::string ListBoxLine(HWND dialog, int id, int index) {
    wchar_t text[512] = L"";
    if (SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) < 511)
        SendDlgItemMessageW(dialog, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

// Today's audit entries of the practice in the data folder.
inline std::vector<AuditEntry> TodaysAudit(const std::string& data) {
    std::vector<AuditEntry> audit;
    std::string reason;
    if (!OpenPracticeDatabase(data, &reason)) return audit;
    QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit);
    DbEndSession();
    return audit;
}

// A toolbar button's rectangle in the toolbar's client coordinates, read through a buffer in the
// program's own memory (a toolbar of another process answers only there).
inline RECT ToolbarButtonRect(HWND toolbar, int command) {
    RECT rect = {};
    DWORD pid = 0;
    GetWindowThreadProcessId(toolbar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return rect;
    void* remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    if (remote) {
        if (SendMessageA(toolbar, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(remote)))
            ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return rect;
}

// The screen point in the middle of a toolbar's button.
inline POINT ToolbarButtonMiddle(HWND toolbar, int command) {
    const RECT r = ToolbarButtonRect(toolbar, command);
    return ToScreen(toolbar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// A control's text; WM_GETTEXT crosses processes where GetWindowText gives only captions.
inline std::string ControlText(HWND dialog, int id) {
    char text[256] = "";
    SendDlgItemMessageA(dialog, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}
