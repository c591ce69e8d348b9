// The utility library's Windows services, with a second real process where two copies of the
// program meet: the single-instance test, program start. (Settings crossing processes are read by
// every UI test's program from what the test wrote, and back at its exit.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "../native/settings_test_env.h"
#include "dialog_driver.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/window_pos.h"
#include "suite/window_services_win.h"
#include "win_harness.h"

namespace {

// This test program doubles as the second process: started with "--child MODE ARG" it does
// one thing before the tests would run and ends with a result code.
int RunChild(const std::string& mode, const std::string& arg) {
    if (mode == "instance") return ExistsPreviousInstance(arg.c_str());
    return 99;
}

struct ChildMode {
    ChildMode() {
        std::string line = GetCommandLineA();
        size_t at = line.find(" --child ");
        if (at == std::string::npos) return;
        std::string rest = line.substr(at + 9);
        size_t blank = rest.find(' ');
        std::string mode = rest.substr(0, blank);
        std::string arg = blank == std::string::npos ? "" : rest.substr(blank + 1);
        ExitProcess(static_cast<UINT>(RunChild(mode, arg)));
    }
} child_mode;

std::string ThisProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// Runs this program as a child and returns its exit code.
long RunSelf(const std::string& mode, const std::string& arg) {
    return RunProgram("\"" + ThisProgram() + "\" --child " + mode + " " + arg);
}

}  // namespace

TEST(SuiteServices, TwoProcessesSeeEachOthersInstance) {
    std::string name = "QVN_TEST_INSTANCE_" + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(0, ExistsPreviousInstance(name.c_str())) << "the first copy";
    EXPECT_EQ(0, ExistsPreviousInstance(name.c_str())) << "asking again in the same copy";
    EXPECT_EQ(1, RunSelf("instance", name)) << "a second copy sees the first";

    std::string other = name + "_B";
    EXPECT_EQ(0, RunSelf("instance", other));
    EXPECT_EQ(0, ExistsPreviousInstance(other.c_str())) << "a copy that ended frees the name";
}

TEST(SuiteServices, StartingAProgram) {
    std::string command = "\"" + ThisProgram() + "\" --child none x";
    EXPECT_GE(QVN_StartProgram(command.c_str(), SW_HIDE), 32);
    EXPECT_LT(QVN_StartProgram("C:\\no\\such\\program.exe", SW_HIDE), 32);
    EXPECT_LT(QVN_StartProgram("", SW_HIDE), 32);
}

TEST(SuiteServices, WindowPlacesAreSavedAndBroughtBackOnScreen) {
    TempSettings settings;
    HWND window = CreateWindowExA(0, "STATIC", "place", WS_OVERLAPPEDWINDOW, 50, 60, 300, 200,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(1, QVN_SaveWindowPosInfo(window, "TESTWIN"));
    EXPECT_EQ("50,60,350,260,1", QVN_ReadProfileText(kWindowPosSection, "TESTWIN", ""));

    MoveWindow(window, 5, 5, 100, 100, FALSE);
    ASSERT_EQ(1, QVN_RestoreSavedWindowPos(window, "TESTWIN"));
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(60, r.top);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}

TEST(SuiteServices, OneTooltipPerControlAndWindow) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, instance, nullptr);
    HWND control = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 20, 20, window, nullptr,
                                   instance, nullptr);
    ASSERT_EQ(1, QVN_SetToolTip(window, control, "Previous day"));
    ASSERT_EQ(1, QVN_SetToolTip(window, control, "Back one day"));
    HWND tip = static_cast<HWND>(GetPropA(window, "QvnToolTip"));
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)) << "a new text replaces the old";
    DestroyWindow(window);
}

TEST(SuiteServices, MessageBoxesAnswerThePrompter) {
    InstallWindowsPrompter();
    std::string text;
    dialog_driver::Driver driver([&] { text = dialog_driver::AnswerMessageBox(IDNO); });
    const bool yes = driver.Run([] { return AskYesNo("Book it anyway?"); });
    InstallPrompter(nullptr);
    EXPECT_EQ("Book it anyway?", text) << "the message box and its text";
    EXPECT_FALSE(yes) << "No was pressed";
}
