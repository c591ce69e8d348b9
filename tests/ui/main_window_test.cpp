// Starts the real apptbook.exe, finds its main window and checks what a user sees first:
// the window's class, title, place and menu, its resources, and a clean exit.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ddeml.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/refresh.h"
#include "data/com_dat_record.h"
#include "data/db_access.h"
#include "data/demo_seed.h"
#include "data/practice_database.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/records/practice_resource.h"
#include "suite/users.h"

namespace {

// Bounds every wait, so a program that hangs fails the test instead of stalling the run.
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 20000;

std::string ProgramPath() {
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("QVN_APPTBOOK_EXE", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return buffer;
    // Beside the tests' folder: build/win64/tests/ui_tests.exe -> build/win64/apptbook.exe.
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    while (length > 0 && buffer[length - 1] != '\\' && buffer[length - 1] != '/') --length;
    return std::string(buffer, length) + "..\\apptbook.exe";
}

enum class Practice {
    kDemo,             // the demo practice of qvnadmin seed-demo
    kNoProviders,      // a practice record and one operatory, nothing else
};

// A scratch directory with a settings file that names a practice database beside it and the
// user to log in; all removed again at the end of the test. The database is written here, in
// the test's process, through the same core code as qvnadmin.
class TempPractice {
public:
    TempPractice(Practice practice, const std::string& user) {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        static int serial = 0;
        dir_ = std::string(base) + "qvn-ui-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        CreateDirectoryA(dir_.c_str(), nullptr);
        file_ = dir_ + "\\quorvin.ini";
        data_ = dir_ + "\\data";
        const std::string& data = data_;
        CreateDirectoryA(data.c_str(), nullptr);
        WritePrivateProfileStringA("GENERAL", "Path", data.c_str(), file_.c_str());
        WritePrivateProfileStringA("GENERAL", "User", user.c_str(), file_.c_str());
        ok_ = Seed(practice, data);
    }
    ~TempPractice() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& File() const { return file_; }
    const std::string& Data() const { return data_; }
    bool Ok() const { return ok_; }
    const std::string& Reason() const { return reason_; }

private:
    bool Seed(Practice practice, const std::string& data) {
        if (!CreatePracticeDatabase(data, &reason_) || !OpenPracticeDatabase(data, &reason_)) return false;
        bool ok = true;
        if (practice == Practice::kDemo) {
            ok = WriteDemoPractice(BuildDemoPractice(1, QVN_SysDate()), 1000, &reason_);
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
    bool ok_ = false;
};

// One run of apptbook.exe; a run still alive when the test ends is terminated.
class AppRun {
public:
    // settings: "section/key=value" lines written into the settings file before the start.
    explicit AppRun(const std::string& arguments = "", Practice practice = Practice::kDemo,
                    const std::string& user = "FRONT", const std::vector<std::string>& settings = {})
        : settings_(practice, user) {
        if (!settings_.Ok()) return;
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
    // Why the practice could not be written, when it could not.
    const std::string& SeedReason() const { return settings_.Reason(); }
    const std::string& SettingsFile() const { return settings_.File(); }
    const std::string& DataDir() const { return settings_.Data(); }

    // The visible top-level window of this process with the given class, or null on timeout.
    HWND WaitForWindow(const char* class_name) {
        DWORD deadline = GetTickCount() + kStartTimeoutMs;
        while (GetTickCount() < deadline) {
            for (HWND w = FindWindowExA(nullptr, nullptr, class_name, nullptr); w;
                 w = FindWindowExA(nullptr, w, class_name, nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == process_.dwProcessId && IsWindowVisible(w)) return w;
            }
            if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }

    // A visible dialog box of this process (a message box is one) with the title, or null.
    HWND WaitForDialog(const char* title) {
        DWORD deadline = GetTickCount() + kStartTimeoutMs;
        while (GetTickCount() < deadline) {
            for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (pid == process_.dwProcessId && IsWindowVisible(w)) return w;
            }
            if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }

    // The exit code, or -1 when the program did not end within the bound.
    long WaitForExit() {
        if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    TempPractice settings_;
    PROCESS_INFORMATION process_ = {};
    bool started_ = false;
};

std::string WindowText(HWND w) {
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

// The message of a message box: the longest text among its static controls.
std::string MessageText(HWND box) {
    std::string longest;
    for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c; c = FindWindowExA(box, c, "Static", nullptr)) {
        char text[512] = "";
        GetWindowTextA(c, text, sizeof text);
        if (std::strlen(text) > longest.size()) longest = text;
    }
    return longest;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

}  // namespace

TEST(MainWindow, OpensAtItsStartPlaceAndEndsWithExitCodeZeroWhenClosed) {
    AppRun app;
    ASSERT_TRUE(app.Started()) << "cannot start " << ProgramPath() << " " << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main) << "no visible ApptBook window within the time bound";

    EXPECT_EQ("Quorvin Appointment Book", WindowText(main));
    LONG style = GetWindowLongA(main, GWL_STYLE);
    for (LONG part : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(part, style & part) << std::hex << style;
    EXPECT_NE(nullptr, GetMenu(main));

    RECT rect;
    ASSERT_TRUE(GetWindowRect(main, &rect));
    int screen_width = GetSystemMetrics(SM_CXSCREEN);
    int screen_height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(90, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(screen_width - 180, rect.right - rect.left);
    EXPECT_EQ(screen_height - 2, rect.bottom - rect.top);

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(MainWindow, ExitCommandEndsTheProgram) {
    AppRun app("/OAID42");
    ASSERT_TRUE(app.Started());
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(Resources, MenuAcceleratorsIconAndStrings) {
    ProgramResources program;
    ASSERT_NE(nullptr, program.Module());

    HMENU menu = LoadMenuA(program.Module(), "ApptMenu");
    ASSERT_NE(nullptr, menu);
    ASSERT_GE(GetMenuItemCount(menu), 5);
    EXPECT_EQ("&File", MenuText(menu, 0));
    EXPECT_EQ("S&tatus", MenuText(menu, 3));
    EXPECT_EQ("&Setup", MenuText(menu, 4));
    EXPECT_EQ("E&xit", [&] {
        char text[64] = "";
        GetMenuStringA(menu, CMD_EXIT, text, sizeof text, MF_BYCOMMAND);
        return std::string(text);
    }());
    DestroyMenu(menu);

    HACCEL accelerators = LoadAcceleratorsA(program.Module(), "apptAccel");
    ASSERT_NE(nullptr, accelerators);
    std::vector<ACCEL> keys(CopyAcceleratorTableA(accelerators, nullptr, 0));
    CopyAcceleratorTableA(accelerators, keys.data(), static_cast<int>(keys.size()));
    auto command_of = [&](BYTE modifiers, WORD key) -> int {
        for (const ACCEL& a : keys)
            if (a.key == key && (a.fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers)) return a.cmd;
        return -1;
    };
    EXPECT_EQ(CMD_SELECT_PATIENT_NEW_APPT, command_of(FSHIFT, VK_F2));
    EXPECT_EQ(CMD_PATIENT_PICTURE, command_of(FCONTROL, 'U'));
    EXPECT_EQ(CMD_IDEAL_DAY, command_of(FCONTROL, 'S'));
    EXPECT_EQ(395, command_of(0, VK_F1));
    EXPECT_EQ(403, command_of(0, VK_F9));
    EXPECT_EQ(CMD_VIEW_10, command_of(0, VK_F10));
    EXPECT_EQ(801, command_of(FCONTROL, '2'));
    EXPECT_EQ(CMD_DAY_VIEW_KEY, command_of(FCONTROL, 'D'));
    EXPECT_EQ(CMD_WEEK_VIEW_KEY, command_of(FCONTROL, 'W'));
    EXPECT_EQ(CMD_MONTH_VIEW_KEY, command_of(FCONTROL | FSHIFT, 'M'));
    EXPECT_EQ(-1, command_of(FCONTROL, 'M'));  // month view needs Shift as well
    DestroyAcceleratorTable(accelerators);

    EXPECT_NE(nullptr, FindResourceA(program.Module(), MAKEINTRESOURCEA(IDI_APPTBOOK),
                                     reinterpret_cast<LPCSTR>(RT_GROUP_ICON)));
    char text[64] = "";
    LoadStringA(program.Module(), IDS_PROGRAM_NAME, text, sizeof text);
    EXPECT_STREQ("Quorvin Appointment Book", text);
    LoadStringA(program.Module(), IDS_VERSION, text, sizeof text);
    EXPECT_STREQ("12.0.269.22", text);
}

namespace {

HWND Child(HWND parent, const char* class_name) {
    return FindWindowExA(parent, nullptr, class_name, nullptr);
}

RECT ClientRectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST(MainWindow, ChildrenAreLaidOutAroundTheSheet) {
    AppRun app;
    ASSERT_TRUE(app.Started());
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND sheet = Child(main, "SchSheet");
    HWND time = Child(main, "SchTime");
    HWND header = Child(main, "SSHeader");
    HWND pins = Child(main, "SSPinBoard");
    ASSERT_TRUE(sheet && time && header && pins);

    RECT client;
    GetClientRect(main, &client);
    RECT s = ClientRectIn(main, sheet), t = ClientRectIn(main, time), h = ClientRectIn(main, header),
         p = ClientRectIn(main, pins);
    const int bar = 33;  // the horizontal button bar is the default
    EXPECT_EQ(client.right - 36, s.right) << "the right-hand panel is 36 wide";
    EXPECT_EQ(client.bottom, s.bottom);
    EXPECT_EQ(t.right, s.left) << "the time column sits left of the sheet";
    EXPECT_EQ(0, t.left);
    EXPECT_GE(t.right - t.left, 36);
    EXPECT_EQ(s.top, t.top);
    EXPECT_EQ(bar, h.top);
    EXPECT_EQ(s.top, h.bottom) << "the header sits on top of the sheet";
    EXPECT_GE(h.bottom - h.top, 36);
    EXPECT_EQ(s.left, h.left);
    EXPECT_EQ(s.right - GetSystemMetrics(SM_CXVSCROLL), h.right) << "the header ends at the scroll bar";
    EXPECT_EQ(s.right, p.left);
    EXPECT_EQ(s.top, p.top);
    EXPECT_EQ(36, p.right - p.left);
    EXPECT_EQ(48, p.bottom - p.top);
    EXPECT_TRUE(GetWindowLongA(sheet, GWL_STYLE) & WS_VSCROLL);

    HWND toolbar = Child(main, TOOLBARCLASSNAMEA);
    ASSERT_NE(nullptr, toolbar) << "the button bar";
    RECT b = ClientRectIn(main, toolbar);
    EXPECT_EQ(0, b.top);
    EXPECT_EQ(33, b.bottom - b.top);
    EXPECT_EQ(client.right, b.right - b.left);
    EXPECT_EQ(23, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)) << "buttons and separators";
    // Pointers do not cross processes: ask by command, which answers with plain numbers.
    EXPECT_EQ(22, SendMessageA(toolbar, TB_COMMANDTOINDEX, CMD_IDEAL_DAY, 0)) << "the Ideal Day toggle comes last";
    EXPECT_EQ(0, SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_IDEAL_DAY, 0)) << "off in a new settings file";
    EXPECT_EQ(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_BREAK_APPOINTMENT, 0)) << "nothing selected";

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(MainWindow, ASecondCopyRestoresTheFirstAndEnds) {
    AppRun first;
    ASSERT_TRUE(first.Started());
    HWND main = first.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));

    AppRun second("/OAID7");
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0, second.WaitForExit());
    DWORD deadline = GetTickCount() + 10000;
    while (IsIconic(main) && GetTickCount() < deadline) Sleep(50);
    EXPECT_FALSE(IsIconic(main)) << "the running copy is restored";

    int windows = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "ApptBook", nullptr); w;
         w = FindWindowExA(nullptr, w, "ApptBook", nullptr))
        ++windows;
    EXPECT_EQ(1, windows);

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, first.WaitForExit());
}

// Wine keeps menus inside their process, so the check mark is tested in-process (win tests);
// here the switch must reach the settings file at exit.
TEST(MainWindow, IdealDayIsSavedAtExit) {
    AppRun app;
    ASSERT_TRUE(app.Started());
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    SendMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    ASSERT_EQ(0, app.WaitForExit());
    EXPECT_EQ(1u, GetPrivateProfileIntA("APPTBOOK", "IdealDay", 7, app.SettingsFile().c_str()));

    AppRun again;  // a settings file of its own: the switch starts off there
    HWND second = again.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, second);
    SendMessageA(second, WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
    SendMessageA(second, WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
    PostMessageA(second, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, again.WaitForExit());
    EXPECT_EQ(0u, GetPrivateProfileIntA("APPTBOOK", "IdealDay", 7, again.SettingsFile().c_str())) << "twice is off";
}

namespace {

HDDEDATA CALLBACK IgnoreTransaction(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

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

}  // namespace

TEST(MainWindow, PatientInfoServiceAnswersItsNameAndHasNoPatientYet) {
    AppRun app;
    ASSERT_TRUE(app.Started());
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    DdeClient client;
    EXPECT_EQ("(no data)", client.Request("PatientInfo", "PatientId")) << "connected, but nothing is selected";
    EXPECT_EQ("(no data)", client.Request("PatientInfo", "AnyTopic")) << "any topic connects";
    EXPECT_EQ("(no connection)", client.Request("PatientInfo2", "PatientId")) << "another service name";
    // DDE names are atoms, and the atom table folds case: a client's "patientinfo" reaches the
    // service as the registered "PatientInfo". The exact comparison is tested natively.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(Startup, APracticeWithoutProvidersShowsItsMessageAndEnds) {
    AppRun app("", Practice::kNoProviders);
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND box = app.WaitForDialog("Appointment Book");
    ASSERT_NE(nullptr, box) << "no message box";
    EXPECT_EQ("No Provider or No Operatory! Practice must be setup.", MessageText(box));
    HWND main = FindWindowA("ApptBook", nullptr);
    EXPECT_TRUE(main == nullptr || !IsWindowVisible(main)) << "the main window never shows";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(MainWindow, TheRestrictedUserIsRefusedTheFontDialogAndFrontGetsIt) {
    {
        AppRun app("", Practice::kDemo, "ASSIST");
        ASSERT_TRUE(app.Started()) << app.SeedReason();
        HWND main = app.WaitForWindow("ApptBook");
        ASSERT_NE(nullptr, main);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FONT_SELECT, 0), 0);
        HWND box = app.WaitForDialog("Appointment Book");
        ASSERT_NE(nullptr, box) << "no refusal";
        EXPECT_EQ("You do not have the right to do this.\nAsk the practice administrator for the right.", MessageText(box));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, app.WaitForExit());
    }
    AppRun app("/USER=FRONT");
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FONT_SELECT, 0), 0);
    HWND font = app.WaitForDialog("Font");
    ASSERT_NE(nullptr, font) << "the font dialog opens for a user with the right";
    PostMessageA(font, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(MainWindow, FunctionKeysSelectViewsAndExitSavesViewAndPlace) {
    AppRun app;
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    // F3 goes through the accelerator table as command 397; its key-up finds view 3 current.
    PostMessageA(main, WM_KEYDOWN, VK_F3, 0x003D0001);
    PostMessageA(main, WM_KEYUP, VK_F3, static_cast<LPARAM>(0xC03D0001u));
    // F11 has no accelerator: the key-up alone selects view 11.
    PostMessageA(main, WM_KEYUP, VK_F11, static_cast<LPARAM>(0xC0570001u));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    ASSERT_EQ(0, app.WaitForExit());
    EXPECT_EQ(11u, GetPrivateProfileIntA("APPTBOOK", "DEF_VIEW", 0, app.SettingsFile().c_str()));
    char place[64] = "";
    GetPrivateProfileStringA("WindowPos", "APPTBOOK", "", place, sizeof place, app.SettingsFile().c_str());
    EXPECT_NE("", std::string(place)) << "the window place is saved";

    AppRun again;
    HWND second = again.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, second);
    PostMessageA(second, WM_KEYDOWN, VK_F3, 0x003D0001);
    PostMessageA(second, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    ASSERT_EQ(0, again.WaitForExit());
    EXPECT_EQ(3u, GetPrivateProfileIntA("APPTBOOK", "DEF_VIEW", 0, again.SettingsFile().c_str()));
}

TEST(MainWindow, CtrlSReachesTheIdealDaySwitchThroughTheAccelerators) {
    AppRun app;
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    // Real key strokes into the program's input queue, with Ctrl held as a user holds it.
    SetForegroundWindow(main);
    DWORD deadline = GetTickCount() + 5000;
    while (GetForegroundWindow() != main && GetTickCount() < deadline) Sleep(50);
    ASSERT_EQ(main, GetForegroundWindow());
    INPUT keys[4] = {};
    for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = 'S';
    keys[2].ki.wVk = 'S';
    keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[3].ki.wVk = VK_CONTROL;
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(4u, SendInput(4, keys, sizeof(INPUT)));
    HWND toolbar = FindWindowExA(main, nullptr, TOOLBARCLASSNAMEA, nullptr);
    ASSERT_NE(nullptr, toolbar);
    deadline = GetTickCount() + 5000;
    while (!SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_IDEAL_DAY, 0) && GetTickCount() < deadline) Sleep(50);
    EXPECT_NE(0, SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_IDEAL_DAY, 0)) << "the bar's toggle follows the switch";
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    ASSERT_EQ(0, app.WaitForExit());
    EXPECT_EQ(1u, GetPrivateProfileIntA("APPTBOOK", "IdealDay", 7, app.SettingsFile().c_str()));
}

namespace {

// This station's change-notice record as the running program left it; false when there is none.
bool ReadStation(const std::string& data, uint8_t station, ComDatRecord* record) {
    std::string reason;
    if (!OpenPracticeDatabase(data, &reason)) return false;
    FileGroupDesc desc{};
    DbGroupOf(kComDatFile, &desc);
    bool found;
    {
        DbGroupScope group(desc);
        found = DbFind(kComDatByStationKey, DbPrepareKey(&station), record) == kQdbOk;
    }
    DbEndSession();
    return found;
}

}  // namespace

TEST(Refresh, TheProgramRegistersItsWeekTakesNoticesOnItsTimerAndUnregistersAtExit) {
    AppRun app("", Practice::kDemo, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=5", "NETWORK/STATION=3"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    ComDatRecord record{};
    ASSERT_TRUE(ReadStation(app.DataDir(), 103, &record)) << "STATION 3 registers as 103";
    const int32_t today = QVN_SysDate();
    EXPECT_EQ(today - (QVN_week_day(today) - 1), record.date) << "the Sunday of the week shown";
    EXPECT_EQ(0, record.noticeCount);

    // Another workstation changes an appointment today and announces it.
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    DbEndSession();
    ASSERT_EQ(0, AnnounceChange(110, today, "DR1 ", "OP1 ", 4711, kChangeArrived));
    ASSERT_TRUE(ReadStation(app.DataDir(), 103, &record));
    EXPECT_EQ(1, record.noticeCount);
    const DWORD deadline = GetTickCount() + 9000;
    while (record.noticeCount != 0 && GetTickCount() < deadline) {
        Sleep(250);
        ASSERT_TRUE(ReadStation(app.DataDir(), 103, &record));
    }
    EXPECT_EQ(0, record.noticeCount) << "the program polled within its 5 seconds";

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    ASSERT_EQ(0, app.WaitForExit());
    EXPECT_FALSE(ReadStation(app.DataDir(), 103, &record)) << "unregistered at shut-down";
}
