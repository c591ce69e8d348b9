// The main window in this process, where its menu can be read: the Ideal Day switch and its
// check mark.
#include <gtest/gtest.h>
#include <windows.h>

#include "../native/settings_test_env.h"
#include "app/main_window_win.h"
#include "app/window_classes_win.h"
#include "resources/resource.h"
#include "suite/workstation_settings.h"

namespace {

// A main window of a class of the test's own (another test registers the program's classes
// with a plain window procedure), with the program's menu; destroyed at the end.
class TestMainWindow {
public:
    TestMainWindow() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        RegisterApptBookClasses(instance, DefWindowProcA);  // the children's classes, once
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = "ApptBookUnderTest";
        wc.lpszMenuName = "ApptMenu";
        RegisterClassA(&wc);
        app_frame.instance = instance;
        window_ = CreateWindowExA(0, "ApptBookUnderTest", "test", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                                  nullptr, instance, nullptr);
    }
    ~TestMainWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
        MSG msg;  // the quit message the window posts on destroy belongs to this test only
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

bool Checked(HWND window) {
    UINT state = GetMenuState(GetMenu(window), CMD_IDEAL_DAY, MF_BYCOMMAND);
    EXPECT_NE(static_cast<UINT>(-1), state) << "the Ideal Day entry is on the menu";
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

}  // namespace

TEST(MainWindowInProcess, IdealDayCarriesItsCheckMarkFromTheSettingAndBack) {
    TempSettings settings;
    WriteIdealDay(true);
    {
        TestMainWindow main;
        ASSERT_NE(nullptr, main.Handle());
        EXPECT_TRUE(Checked(main.Handle())) << "the saved switch is on";
        EXPECT_FALSE(GetMenuState(GetMenu(main.Handle()), CMD_IDEAL_DAY, MF_BYCOMMAND) & MF_GRAYED);
        SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
        EXPECT_FALSE(Checked(main.Handle()));
        EXPECT_TRUE(ReadIdealDay()) << "saved at exit, not on every toggle";
    }
    EXPECT_FALSE(ReadIdealDay());
}
