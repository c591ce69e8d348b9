// The toolbar of the real program under Wine: the module buttons (an optional one only when its
// program is there), customised by the user's own clicks and kept for the next start, and a
// module started from its button with its command line, then Select Patient in the same start; the
// restart as a user without the right to the font dialog.

#include <fstream>
#include <sstream>

#include "sheet_model.h"

namespace {

// Before the start: the tests' stand-in module copied under the chart's and the questionnaire's
// names into the practice's folder, which the settings name as the modules' folder.
void PutStandInModules(const std::string& data, const std::string& settings) {
    for (const char* exe : {"\\qvchart.exe", "\\qvquest.exe"})
        ASSERT_TRUE(CopyFileA((TestsFolder() + "module_standin.exe").c_str(), (data + exe).c_str(), FALSE)) << TestsFolder() << exe;
    WritePrivateProfileStringA("MODULES", "Folder", data.c_str(), settings.c_str());
}

// What the stand-in module was started with, "" until it wrote it (beside itself).
std::string CommandLineOf(const std::string& module) {
    std::ifstream in(module + ".txt", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int IndexOf(HWND toolbar, int command) {
    return static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0));
}

}  // namespace

TEST(Toolbar, CustomisedByTheUserKeptAfterARestartItsModuleButtonsAndSelectPatient) {
    std::string saved;
    {
        AppRun app("", Practice::kDemo, "FRONT", {}, PutStandInModules);
        ASSERT_TRUE(app.Started()) << app.SeedReason();
        HWND main = app.WaitForWindow("ApptBook");
        ASSERT_NE(nullptr, main);
        HWND toolbar = Child(main, "QvnToolBarMcl");
        ASSERT_NE(nullptr, toolbar);
        EXPECT_EQ(12110, GetDlgCtrlID(toolbar));
        char tip_class[64] = "";
        GetClassNameA(reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)), tip_class, sizeof tip_class);
        EXPECT_STREQ("QvnToolTip", tip_class);

        // The default: Chart, Family File, Ledger, Office Manager first; the questionnaire, whose
        // program is there, after Send Message; no prescriptions, no button of this module.
        EXPECT_EQ(0, IndexOf(toolbar, 12112));
        EXPECT_EQ(1, IndexOf(toolbar, 12113));
        EXPECT_EQ(11, IndexOf(toolbar, 12124));
        EXPECT_EQ(-1, IndexOf(toolbar, 12126));
        EXPECT_EQ(-1, IndexOf(toolbar, 12115));
        EXPECT_EQ(13, IndexOf(toolbar, CMD_PATIENT_PICTURE)) << "then the window's own buttons";

        // Right click on Chart, "Customize Toolbar...", Chart one down, OK.
        SetForegroundWindow(main);
        Settle(300);
        RightClickAt(ToolbarButtonMiddle(toolbar, 12112));
        ASSERT_TRUE(WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; })) << "no menu";
        Settle(300);
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        HWND dialog = app.WaitForDialog("Customize Toolbar");
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ("-----Separator-----", ListBoxLine(dialog, IDC_EDITTB_AVAILABLE, 0));
        EXPECT_EQ("Chart", ListBoxLine(dialog, IDC_EDITTB_TOOLBAR, 0));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITTB_DOWN))) << "nothing selected yet";
        ClickLine(GetDlgItem(dialog, IDC_EDITTB_TOOLBAR), 0);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_EDITTB_DOWN)) != FALSE; }));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITTB_UP))) << "the first entry goes no higher";
        ClickControl(dialog, IDC_EDITTB_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return ListBoxLine(dialog, IDC_EDITTB_TOOLBAR, 1) == "Chart"; }));
        EXPECT_EQ("Family File", ListBoxLine(dialog, IDC_EDITTB_TOOLBAR, 0));
        ClickControl(dialog, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
        ASSERT_TRUE(WaitUntil([&] { return IndexOf(toolbar, 12112) == 1; })) << "the bar shows the new order";
        EXPECT_EQ(0, IndexOf(toolbar, 12113));

        // A click on Chart starts the chart module for no patient.
        ClickAt(ToolbarButtonMiddle(toolbar, 12112));
        const std::string chart_module = app.DataDir() + "\\qvchart.exe";
        ASSERT_TRUE(WaitUntil([&] { return !CommandLineOf(chart_module).empty(); }, 15000)) << "the chart's stand-in did not run";
        EXPECT_EQ(chart_module + " /ID0", CommandLineOf(chart_module));
        EXPECT_EQ(nullptr, app.WaitForDialog(nullptr, 1000)) << "nothing asked";

        // Select Patient in the same start: opened from the menu, typed into and chosen from with
        // real input, its search key remembered, the status warning after a choice and the new
        // appointment's select for the chosen patient.
        const DemoPractice demo = BuildDemoPractice(1, QVN_SysDate());
        const DemoPatient& inactive = demo.patients[42];
        ASSERT_EQ(3, inactive.status);
        int smi = 0;
        for (const DemoPatient& p : demo.patients) smi += p.last.rfind("Smi", 0) == 0 && p.status != 4;
        ASSERT_GT(smi, 0);

        // Appointment menu, "Select Patient - New Appt...", by its mnemonics.
        ASSERT_TRUE(BringToFront(main));
        PressKey('A', VK_MENU);
        PressKey('S');
        HWND select = app.WaitForDialog("Select Patient");
        ASSERT_NE(nullptr, select);
        EXPECT_EQ("&Enter Last Name (Last, First MI):", ControlText(select, IDC_PATFIND_PROMPT));
        EXPECT_EQ("Status", ControlText(select, IDC_PATFIND_COLUMN4));
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(select, IDC_PATFIND_LASTNAME, BM_GETCHECK, 0, 0));
        EXPECT_EQ("", ControlText(select, IDC_PATFIND_ENTRY)) << "no recent selection yet";
        EXPECT_EQ(0, ListCount(select, IDC_PATFIND_RECENT));

        // Enter on a typed name searches, in any case; every Smith and Smithson is listed.
        TypeText("smi");
        EXPECT_EQ("smi", ControlText(select, IDC_PATFIND_ENTRY));
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return ListCount(select, IDC_PATFIND_LIST) == smi; })) << ListCount(select, IDC_PATFIND_LIST);
        EXPECT_EQ(0u, ListBoxLine(select, IDC_PATFIND_LIST, 0).find(" Smith")) << ListBoxLine(select, IDC_PATFIND_LIST, 0);

        // Alt+H switches to the chart number: prompt, title and an empty list.
        PressKey('H', VK_MENU);
        ASSERT_TRUE(WaitUntil([&] { return ControlText(select, IDC_PATFIND_PROMPT) == "&Enter Chart #:"; }));
        EXPECT_EQ("Chart #", ControlText(select, IDC_PATFIND_COLUMN4));
        EXPECT_EQ(0, ListCount(select, IDC_PATFIND_LIST));
        EXPECT_EQ("", ControlText(select, IDC_PATFIND_ENTRY));
        // A number nobody has: the list says so in its one line.
        TypeText("c 99999");
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return ListCount(select, IDC_PATFIND_LIST) == 1; }));
        EXPECT_EQ("No match found for list.", ListBoxLine(select, IDC_PATFIND_LIST, 0));
        SendDlgItemMessageA(select, IDC_PATFIND_ENTRY, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        TypeText("c 10043");
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return ListCount(select, IDC_PATFIND_LIST) == 1; }));
        const std::string line = ListBoxLine(select, IDC_PATFIND_LIST, 0);
        std::string name = " " + inactive.last + ", " + inactive.first + " " + inactive.middleInitial;
        name.resize(27, ' ');
        EXPECT_EQ(name + "\t", line.substr(0, 28)) << line;
        EXPECT_NE(std::string::npos, line.find("\tC10043 ")) << line;

        ClickLine(GetDlgItem(select, IDC_PATFIND_LIST), 0, 2);
        HWND warning = app.WaitForDialog("Warning");
        ASSERT_NE(nullptr, warning);
        EXPECT_EQ("Selected Patient has an Inactive Status", MessageText(warning));
        PostMessageA(warning, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(select) && !IsWindow(warning); }));
        EXPECT_FALSE(WaitUntil([] { return FindWindowA("#32770", "Warning") != nullptr; }, 1500)) << "the warning comes once";

        // The chosen patient is the one other programs are told about.
        const std::string packed = inactive.last + ", " + inactive.first + " " + inactive.middleInitial;
        DdeClient dde;
        EXPECT_EQ(std::to_string(inactive.id) + ":" + packed, dde.Request("PatientInfo", "PatientId"));

        // The new appointment's select follows the choice (after the patient's alerts, when there are
        // any); Cancel closes it unchanged without a question.
        HWND appointment = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            if (HWND alerts = FindWindowA("#32770", "Patient Alerts")) PostMessageA(alerts, WM_COMMAND, IDOK, 0);
            appointment = FindWindowA("#32770", ("New Appointment Information - (" + packed + ")").c_str());
            return appointment != nullptr;
        }, 10000));
        EXPECT_TRUE(PressToClose(appointment, IDCANCEL));

        // Shift+F2 opens it again on the chart number, with the choice among the recent ones and
        // its name in the entry field.
        ASSERT_TRUE(BringToFront(main));
        PressKey(VK_F2, VK_SHIFT);
        select = app.WaitForDialog("Select Patient");
        ASSERT_NE(nullptr, select);
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(select, IDC_PATFIND_CHART, BM_GETCHECK, 0, 0));
        EXPECT_EQ("&Enter Chart #:", ControlText(select, IDC_PATFIND_PROMPT));
        ASSERT_EQ(1, ListCount(select, IDC_PATFIND_RECENT));
        EXPECT_EQ(line, ListBoxLine(select, IDC_PATFIND_RECENT, 0));
        EXPECT_EQ(inactive.last + ", " + inactive.first, ControlText(select, IDC_PATFIND_ENTRY));
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(select); }));
        EXPECT_EQ(152u, GetPrivateProfileIntA("SELPAT", "SelectBy", 0, app.SettingsFile().c_str()));

        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, app.WaitForExit());
        char value[1600] = "";
        GetPrivateProfileStringA("APPTBOOK", "Toolbar", "(none)", value, sizeof value, app.SettingsFile().c_str());
        saved = value;
    }
    EXPECT_EQ(0u, saved.find("12113,12112,12114,12117,0,12118,12141,12119,0,12134,0,12124,0,386,0,121,")) << saved;

    // The next start (its settings holding what the first one saved) shows the same order; its
    // user without the right is refused the font dialog.
    AppRun again("", Practice::kDemo, "ASSIST", {"APPTBOOK/Toolbar=" + saved}, PutStandInModules);
    HWND main = again.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND toolbar = Child(main, "QvnToolBarMcl");
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ((std::vector<int>{0, 1, 11}), (std::vector<int>{IndexOf(toolbar, 12113), IndexOf(toolbar, 12112), IndexOf(toolbar, 12124)}));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FONT_SELECT, 0), 0);
    EXPECT_EQ("You do not have the right to do this.\nAsk the practice administrator for the right.",
              again.AnswerBox("Appointment Book"));
    EXPECT_EQ(nullptr, again.WaitForDialog("Font", 1000));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, again.WaitForExit());
}
