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
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/records/practice_resource.h"
#include "suite/users.h"
#include "app_run.h"
#include "sheet_model.h"

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

TEST(Resources, TheResourceListIsExportedForTheOtherModules) {
    HMODULE program = LoadLibraryExA(ProgramPath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, program);
    for (const char* name : {"QVN_RscFillListCtrl", "SortListCtrl", "DeleteListControlData"})
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(program, name))) << name;
    FreeLibrary(program);
}

namespace {

// Presses Escape, or Enter, on the window as a user does.
void PressKey(HWND window, WORD key) {
    SetForegroundWindow(window);
    INPUT keys[2] = {};
    for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = key;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

std::string ControlText(HWND dialog, int id) {
    char text[128] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(SignOn, NamingTheUserIsNotEnoughAndACancelledOrWrongPasswordEndsTheProgram) {
    {
        AppRun app("/USER=FRONT", Practice::kDemo, "FRONT", {}, nullptr, SignOn::kLeaveToTest);
        ASSERT_TRUE(app.Started()) << app.SeedReason();
        HWND prompt = app.WaitForDialog("Password");
        ASSERT_NE(nullptr, prompt) << "the named user must still give the password";
        EXPECT_EQ("Sign on to the appointment book with your name and password.", MessageText(prompt));
        EXPECT_EQ("FRONT", ControlText(prompt, IDC_PASSWORD_NAME)) << "the name is preset";
        EXPECT_FALSE(app.ShowsWindow("ApptBook")) << "nothing of the practice before the sign-on";
        PressKey(prompt, VK_ESCAPE);
        EXPECT_EQ(0, app.WaitForExit());
        EXPECT_FALSE(app.ShowsWindow("ApptBook"));
    }
    {
        AppRun app("", Practice::kDemo, "FRONT", {}, nullptr, SignOn::kLeaveToTest);
        ASSERT_TRUE(app.Started());
        std::vector<std::string> failures;
        for (int attempt = 1; attempt <= 3; ++attempt) {
            HWND prompt = app.WaitForDialog("Password");
            ASSERT_NE(nullptr, prompt) << "attempt " << attempt;
            failures.push_back(ControlText(prompt, IDC_PASSWORD_FAILURE));
            ASSERT_TRUE(AnswerPasswordDialog(prompt, "FRONT")) << "attempt " << attempt;
        }
        EXPECT_EQ((std::vector<std::string>{"", "The name or password is not correct. 2 more tries.",
                                            "The name or password is not correct. 1 more try."}),
                  failures);
        HWND refusal = app.WaitForDialog("Appointment Book");
        ASSERT_NE(nullptr, refusal) << "three wrong passwords are refused";
        EXPECT_EQ("The name or password was not correct three times.\nThe appointment book closes.", MessageText(refusal));
        EXPECT_FALSE(app.ShowsWindow("ApptBook"));
        PressKey(refusal, VK_RETURN);
        EXPECT_EQ(0, app.WaitForExit());
    }
    AppRun app;
    ASSERT_TRUE(app.SignedOn()) << "the prompt came and took the password";
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, app.WaitForExit());
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    std::vector<AuditEntry> audit;
    ASSERT_TRUE(QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit));
    DbEndSession();
    ASSERT_FALSE(audit.empty()) << "the sign-on is audited";
    EXPECT_EQ(kAuditPasswordCheck, audit.back().kind);
    EXPECT_EQ(1u, audit.back().userId) << "FRONT, the demo's first user";
}

namespace {

// A toolbar button's rectangle in the toolbar's client coordinates, read through a buffer in the
// program's own memory (a toolbar of another process answers only there).
RECT ToolbarButtonRect(HWND toolbar, int command) {
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

void ClickAt(POINT screen) {
    SendMouseAt(0, screen);
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
}

size_t AuditCount(const std::string& data) {
    std::string reason;
    if (!OpenPracticeDatabase(data, &reason)) return static_cast<size_t>(-1);
    std::vector<AuditEntry> audit;
    QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit);
    DbEndSession();
    return audit.size();
}

// Any visible dialog box of the process within the time, or null.
HWND AnyDialogOf(DWORD pid, DWORD ms) {
    const DWORD deadline = GetTickCount() + ms;
    do {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) return w;
        }
        Sleep(100);
    } while (GetTickCount() < deadline);
    return nullptr;
}

}  // namespace

TEST(MainWindow, CommandsNotCarriedOutAreDisabledAndAClickOrKeyAsksNothing) {
    AppRun app("", Practice::kDemoBook);
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND toolbar = Child(main, TOOLBARCLASSNAMEA);
    HWND sheet = Child(main, "SchSheet");
    ASSERT_NE(nullptr, toolbar);
    SetForegroundWindow(main);
    Sleep(1000);
    const size_t audited = AuditCount(app.DataDir());

    // A patient's appointment of a booked day is selected by a click on its box.
    SheetModel m;
    ASSERT_TRUE(m.Open(app, sheet));
    const int32_t day = BookedDay(1);
    ASSERT_NE(0, day) << "no booked day this week";
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1124, 0), day);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    const DayColumn* column = nullptr;
    const ApptDisplay* appointment = nullptr;
    for (const DayColumn& c : day_data.days[0].columns)
        for (const ApptDisplay& a : c.appointments)
            if (!appointment && a.patientId != 0 && m.Visible(a.startUnit, a.startUnit + std::max(a.length / 5, 1))) {
                column = &c;
                appointment = &a;
            }
    ASSERT_NE(nullptr, appointment) << "no patient's appointment in view on the booked day";
    DdeClient dde;
    EXPECT_EQ("(no data)", dde.Request("PatientInfo", "PatientId")) << "nothing selected yet";
    POINT on_box{column->left + m.W() + 6, m.Y(appointment->startUnit) + m.R() / 2};
    ClientToScreen(sheet, &on_box);
    ClickAt(on_box);
    Settle(300);
    ASSERT_EQ(std::to_string(appointment->patientId) + ":", dde.Request("PatientInfo", "PatientId").substr(0, std::to_string(appointment->patientId).size() + 1))
        << "the click selected the appointment";

    for (int command : {CMD_BREAK_APPOINTMENT, CMD_DELETE_APPOINTMENT, CMD_SET_COMPLETE, CMD_PRINT_ROUTE_SLIP,
                        CMD_PATIENT_PICTURE})
        EXPECT_EQ(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0)) << command << " does nothing yet";
    EXPECT_NE(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_IDEAL_DAY, 0));
    EXPECT_NE(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_DIAL, 0)) << "Dial is carried out for the selection";

    // A click on Break and the keys of two commands not carried out: no password, nothing at all.
    RECT button = ToolbarButtonRect(toolbar, CMD_BREAK_APPOINTMENT);
    ASSERT_LT(button.left, button.right) << "the Break button's place";
    POINT middle{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(toolbar, &middle);
    ClickAt(middle);
    SetForegroundWindow(main);
    INPUT keys[8] = {};
    for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_CONTROL;  // Ctrl+Shift+M, the month view, comes with the calendar
    keys[1].ki.wVk = VK_SHIFT;
    keys[2].ki.wVk = 'M';
    keys[3].ki.wVk = 'M';
    keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[4].ki.wVk = VK_SHIFT;
    keys[4].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[5].ki.wVk = 'U';  // Ctrl+U, the patient picture
    keys[6].ki.wVk = 'U';
    keys[6].ki.dwFlags = KEYEVENTF_KEYUP;
    keys[7].ki.wVk = VK_CONTROL;
    keys[7].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(8u, SendInput(8, keys, sizeof(INPUT)));
    HWND asked = AnyDialogOf(app.ProcessId(), 2000);
    EXPECT_EQ(nullptr, asked) << "asked: " << (asked ? WindowText(asked) + " / " + MessageText(asked) : "");
    if (asked) PostMessageA(asked, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(audited, AuditCount(app.DataDir())) << "no password check was audited";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}
