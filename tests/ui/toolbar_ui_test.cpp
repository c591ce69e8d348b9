// The toolbar of the real program under Wine: the module buttons (an optional one only when its
// program is there), customised by the user's own clicks and kept for the next start, and a
// module started from its button with its command line.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app_run.h"
#include "sheet_model.h"

namespace {

std::string TestsFolder() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    while (length > 0 && buffer[length - 1] != '\\' && buffer[length - 1] != '/') --length;
    return std::string(buffer, length);
}

// A folder of stand-in modules: the tests' stand-in copied under the chart's and the
// questionnaire's names; removed at the end.
class ModuleFolder {
public:
    ModuleFolder() {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        dir_ = std::string(base) + "qvn-modules-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), nullptr);
        const std::string standin = TestsFolder() + "module_standin.exe";
        ok_ = CopyFileA(standin.c_str(), (dir_ + "\\qvchart.exe").c_str(), FALSE) &&
              CopyFileA(standin.c_str(), (dir_ + "\\qvquest.exe").c_str(), FALSE);
    }
    ~ModuleFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    bool Ok() const { return ok_; }
    const std::string& Dir() const { return dir_; }
    // What the stand-in of that name was started with, "" until it wrote it.
    std::string CommandLineOf(const std::string& exe) const {
        std::ifstream in(dir_ + "\\" + exe + ".txt", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string dir_;
    bool ok_ = false;
};

POINT ButtonMiddle(HWND toolbar, int command) {
    const RECT r = ToolbarButtonRect(toolbar, command);
    return ToScreen(toolbar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

int IndexOf(HWND toolbar, int command) {
    return static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0));
}

// Clicks a line of another process's list box.
void ClickLine(HWND dialog, int id, int index) {
    HWND list = GetDlgItem(dialog, id);
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    ClickAt(ToScreen(list, 20, index * height + height / 2));
}

}  // namespace

TEST(Toolbar, CustomisedByTheUserKeptAfterARestartAndItsModuleButtonsStartTheModules) {
    ModuleFolder modules;
    ASSERT_TRUE(modules.Ok()) << "the stand-in module could not be copied from " << TestsFolder();
    const std::string folder = "MODULES/Folder=" + modules.Dir();
    std::string saved;
    {
        AppRun app("", Practice::kDemo, "FRONT", {folder});
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
        const POINT chart = ButtonMiddle(toolbar, 12112);
        SendMouseAt(0, chart);
        SendMouseAt(MOUSEEVENTF_RIGHTDOWN, chart);
        SendMouseAt(MOUSEEVENTF_RIGHTUP, chart);
        ASSERT_TRUE(WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; })) << "no menu";
        Settle(300);
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        HWND dialog = app.WaitForDialog("Customize Toolbar");
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ("-----Separator-----", ListBoxLine(dialog, IDC_EDITTB_AVAILABLE, 0));
        EXPECT_EQ("Chart", ListBoxLine(dialog, IDC_EDITTB_TOOLBAR, 0));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITTB_DOWN))) << "nothing selected yet";
        ClickLine(dialog, IDC_EDITTB_TOOLBAR, 0);
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
        const RECT moved = ToolbarButtonRect(toolbar, 12112);
        Click(toolbar, POINT{(moved.left + moved.right) / 2, (moved.top + moved.bottom) / 2});
        ASSERT_TRUE(WaitUntil([&] { return !modules.CommandLineOf("qvchart.exe").empty(); }, 15000))
            << "the chart's stand-in did not run";
        EXPECT_EQ(modules.Dir() + "\\qvchart.exe /ID0", modules.CommandLineOf("qvchart.exe"));
        EXPECT_EQ(nullptr, app.WaitForDialog(nullptr, 1000)) << "nothing asked";

        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_EQ(0, app.WaitForExit());
        char value[1600] = "";
        GetPrivateProfileStringA("APPTBOOK", "Toolbar", "(none)", value, sizeof value, app.SettingsFile().c_str());
        saved = value;
    }
    EXPECT_EQ(0u, saved.find("12113,12112,12114,12117,0,12118,12141,12119,0,12134,0,12124,0,386,0,121,")) << saved;

    // The next start (its settings holding what the first one saved) shows the same order.
    AppRun again("", Practice::kDemo, "FRONT", {folder, "APPTBOOK/Toolbar=" + saved});
    HWND main = again.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND toolbar = Child(main, "QvnToolBarMcl");
    ASSERT_NE(nullptr, toolbar);
    EXPECT_EQ(0, IndexOf(toolbar, 12113));
    EXPECT_EQ(1, IndexOf(toolbar, 12112));
    EXPECT_EQ(11, IndexOf(toolbar, 12124));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, again.WaitForExit());
}
