// Starts the real apptbook.exe and checks what a user sees first and what it leaves behind:
// the main window's class, title, place, children and resources, the sign-on, the current-patient
// service, the refresh registration, the keys, and the settings written at a clean exit. (The
// commands not carried out are tried with a selection in the sheet's mouse test; a second copy
// in the family list's test.)

#include "app/refresh.h"
#include "data/com_dat_record.h"
#include "sheet_model.h"

namespace {

RECT ClientRectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

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

// One run of the demo practice as station 3 on a network: everything a first start shows, then
// keys and services, and what the exit writes.
TEST(MainWindow, AFirstRunShowsItsWindowAnswersKeysAndServicesAndSavesItsChoicesAtExit) {
    AppRun app("", Practice::kDemo, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=5", "NETWORK/STATION=3"});
    ASSERT_TRUE(app.Started()) << "cannot start " << ProgramPath() << " " << app.SeedReason();
    ASSERT_TRUE(app.SignedOn()) << "the prompt came and took the password";
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main) << "no visible ApptBook window within the time bound";

    EXPECT_EQ("Quorvin Appointment Book", WindowText(main));
    LONG style = GetWindowLongA(main, GWL_STYLE);
    for (LONG part : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(part, style & part) << std::hex << style;
    EXPECT_NE(nullptr, GetMenu(main));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(main, &rect));
    EXPECT_EQ(90, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) - 180, rect.right - rect.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 2, rect.bottom - rect.top);

    // The children around the sheet, with the horizontal button bar of a new settings file.
    HWND sheet = Child(main, "SchSheet"), time = Child(main, "SchTime"), header = Child(main, "SSHeader"),
         pins = Child(main, "SSPinBoard"), toolbar = Child(main, "QvnToolBarMcl");
    ASSERT_TRUE(sheet && time && header && pins && toolbar);
    RECT client;
    GetClientRect(main, &client);
    const RECT s = ClientRectIn(main, sheet), t = ClientRectIn(main, time), h = ClientRectIn(main, header),
               p = ClientRectIn(main, pins), b = ClientRectIn(main, toolbar);
    // One place per rule of the layout (the rules themselves are checked natively): the panel on
    // the right, the time column left of the sheet, the header on top of it, the bar on top.
    EXPECT_EQ((std::vector<LONG>{client.right - 36, client.bottom, s.left, 0, s.top, 33, s.right - GetSystemMetrics(SM_CXVSCROLL),
                                 36, 48, 0, 33}),
              (std::vector<LONG>{s.right, s.bottom, t.right, t.left, h.bottom, h.top, h.right, p.right - p.left,
                                 p.bottom - p.top, b.top, b.bottom - b.top}));
    EXPECT_EQ(33, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0)) << "module buttons, own buttons and separators";
    // Pointers do not cross processes: ask by command, which answers with plain numbers.
    EXPECT_EQ(32, SendMessageA(toolbar, TB_COMMANDTOINDEX, CMD_IDEAL_DAY, 0)) << "the Ideal Day toggle comes last";
    EXPECT_EQ(0, SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_IDEAL_DAY, 0)) << "off in a new settings file";
    EXPECT_EQ(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_BREAK_APPOINTMENT, 0)) << "nothing selected";

    // The current-patient service answers to its own name only (its topics and replies are read in
    // the sheet's mouse test; the exact comparison of topics natively, as DDE atoms fold case).
    EXPECT_EQ("(no connection)", DdeClient().Request("PatientInfo2", "PatientId")) << "another service name";

    // Registered as station 103 for this week; another workstation's notice is taken on the timer.
    ComDatRecord record{};
    ASSERT_TRUE(ReadStation(app.DataDir(), 103, &record)) << "STATION 3 registers as 103";
    const int32_t today = QVN_SysDate();
    EXPECT_EQ(today - (QVN_week_day(today) - 1), record.date) << "the Sunday of the week shown";
    EXPECT_EQ(0, record.noticeCount);
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    DbEndSession();
    ASSERT_EQ(0, AnnounceChange(110, today, "DR1 ", "OP1 ", 4711, kChangeArrived));
    ASSERT_TRUE(ReadStation(app.DataDir(), 103, &record));
    EXPECT_EQ(1, record.noticeCount);
    EXPECT_TRUE(WaitUntil([&] { return ReadStation(app.DataDir(), 103, &record) && record.noticeCount == 0; }, 9000))
        << "the program polled within its 5 seconds";

    // Ctrl+S by real key strokes reaches the Ideal Day switch through the accelerators.
    ASSERT_TRUE(BringToFront(main));
    Chord({VK_CONTROL, 'S'});
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(toolbar, TB_ISBUTTONCHECKED, CMD_IDEAL_DAY, 0) != 0; }))
        << "the bar's toggle follows the switch";
    // F3 goes through the accelerator table as command 397, its key-up finds view 3 current; F11
    // has no accelerator: the key-up alone selects view 11.
    PostMessageA(main, WM_KEYDOWN, VK_F3, 0x003D0001);
    PostMessageA(main, WM_KEYUP, VK_F3, static_cast<LPARAM>(0xC03D0001u));
    PostMessageA(main, WM_KEYUP, VK_F11, static_cast<LPARAM>(0xC0570001u));

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, app.WaitForExit());
    EXPECT_EQ(1u, GetPrivateProfileIntA("APPTBOOK", "IdealDay", 7, app.SettingsFile().c_str()));
    EXPECT_EQ(11u, GetPrivateProfileIntA("APPTBOOK", "DEF_VIEW", 0, app.SettingsFile().c_str()));
    char place[64] = "";
    GetPrivateProfileStringA("WindowPos", "APPTBOOK", "", place, sizeof place, app.SettingsFile().c_str());
    EXPECT_NE("", std::string(place)) << "the window place is saved";
    EXPECT_FALSE(ReadStation(app.DataDir(), 103, &record)) << "unregistered at shut-down";
    const std::vector<AuditEntry> audit = TodaysAudit(app.DataDir());
    ASSERT_FALSE(audit.empty()) << "the sign-on is audited";
    EXPECT_EQ(kAuditPasswordCheck, audit.back().kind);
    EXPECT_EQ(1u, audit.back().userId) << "FRONT, the demo's first user";
}

TEST(Startup, APracticeWithoutProvidersShowsItsMessageAndEnds) {
    AppRun app("", Practice::kNoProviders);
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    ASSERT_NE(nullptr, app.WaitForDialog("Appointment Book")) << "no message box";
    EXPECT_FALSE(app.ShowsWindow("ApptBook")) << "the main window never shows";
    EXPECT_EQ("No Provider or No Operatory! Practice must be setup.", app.AnswerBox("Appointment Book"));
    EXPECT_EQ(0, app.WaitForExit());
}

TEST(Resources, MenuAcceleratorsIconStringsAndTheExportedResourceList) {
    ProgramResources program;
    ASSERT_NE(nullptr, program.Module());
    HMENU menu = LoadMenuA(program.Module(), "ApptMenu");
    ASSERT_NE(nullptr, menu);
    ASSERT_GE(GetMenuItemCount(menu), 5);
    EXPECT_EQ("&File", MenuText(menu, 0));
    EXPECT_EQ("S&tatus", MenuText(menu, 3));
    EXPECT_EQ("&Setup", MenuText(menu, 4));
    char text[64] = "";
    GetMenuStringA(menu, CMD_EXIT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("E&xit", text);
    DestroyMenu(menu);

    HACCEL accelerators = LoadAcceleratorsA(program.Module(), "apptAccel");
    ASSERT_NE(nullptr, accelerators);
    std::vector<ACCEL> keys(CopyAcceleratorTableA(accelerators, nullptr, 0));
    CopyAcceleratorTableA(accelerators, keys.data(), static_cast<int>(keys.size()));
    DestroyAcceleratorTable(accelerators);
    auto command_of = [&](BYTE modifiers, WORD key) -> int {
        for (const ACCEL& a : keys)
            if (a.key == key && (a.fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers)) return a.cmd;
        return -1;
    };
    const struct {
        BYTE modifiers;
        WORD key;
        int command;
    } table[] = {{FSHIFT, VK_F2, CMD_SELECT_PATIENT_NEW_APPT}, {FCONTROL, 'U', CMD_PATIENT_PICTURE}, {FCONTROL, 'S', CMD_IDEAL_DAY},
                 {0, VK_F1, 395}, {0, VK_F9, 403}, {0, VK_F10, CMD_VIEW_10}, {FCONTROL, '2', 801},
                 {FCONTROL, 'D', CMD_DAY_VIEW_KEY}, {FCONTROL, 'W', CMD_WEEK_VIEW_KEY}, {FCONTROL | FSHIFT, 'M', CMD_MONTH_VIEW_KEY},
                 {FCONTROL, 'M', -1}};  // the month view needs Shift as well
    for (const auto& k : table) EXPECT_EQ(k.command, command_of(k.modifiers, k.key)) << k.key;

    EXPECT_NE(nullptr, FindResourceA(program.Module(), MAKEINTRESOURCEA(IDI_APPTBOOK), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)));
    LoadStringA(program.Module(), IDS_PROGRAM_NAME, text, sizeof text);
    EXPECT_STREQ("Quorvin Appointment Book", text);
    LoadStringA(program.Module(), IDS_VERSION, text, sizeof text);
    EXPECT_STREQ("12.0.269.22", text);

    HMODULE code = LoadLibraryExA(ProgramPath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, code);
    for (const char* name : {"QVN_RscFillListCtrl", "SortListCtrl", "DeleteListControlData"})
        EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(code, name))) << name;
    FreeLibrary(code);
}

TEST(SignOn, NamingTheUserIsNotEnoughAndACancelledOrWrongPasswordEndsTheProgram) {
    {
        AppRun app("/USER=FRONT", Practice::kDemo, "FRONT", {}, nullptr, SignOn::kLeaveToTest);
        ASSERT_TRUE(app.Started()) << app.SeedReason();
        HWND prompt = app.WaitForDialog("Password");
        ASSERT_NE(nullptr, prompt) << "the named user must still give the password";
        EXPECT_EQ("Sign on to the appointment book with your name and password.", MessageText(prompt));
        EXPECT_EQ("FRONT", ControlText(prompt, IDC_PASSWORD_NAME)) << "the name is preset";
        HWND password = GetDlgItem(prompt, IDC_PASSWORD_TEXT);
        EXPECT_NE(0, GetWindowLongA(password, GWL_STYLE) & ES_PASSWORD) << "the password shows as dots";
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(prompt, nullptr), &thread));
        EXPECT_EQ(password, thread.hwndFocus) << "with the name given the password is typed first";
        EXPECT_FALSE(app.ShowsWindow("ApptBook")) << "nothing of the practice before the sign-on";
        BringToFront(prompt);
        PressKey(VK_ESCAPE);
        EXPECT_EQ(0, app.WaitForExit());
        EXPECT_FALSE(app.ShowsWindow("ApptBook"));
    }
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
    BringToFront(refusal);
    PressKey(VK_RETURN);
    EXPECT_EQ(0, app.WaitForExit());
}
