// The main window in this process, where its menu can be read: the Ideal Day switch and its
// check mark.
#include <gtest/gtest.h>

#include "../native/settings_test_env.h"
#include "app/main_window_win.h"
#include "app/window_classes_win.h"
#include "dialog_driver.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"
#include "resources/resource.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"
#include "views/sheet_state.h"

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

bool Checked(HWND window) { return GetMenuState(GetMenu(window), CMD_IDEAL_DAY, MF_BYCOMMAND) == MF_CHECKED; }

}  // namespace

TEST(MainWindowInProcess, IdealDayCarriesItsCheckMarkFromTheSettingAndBack) {
    TempSettings settings;
    WriteIdealDay(true);
    {
        TestMainWindow main;
        ASSERT_NE(nullptr, main.Handle());
        EXPECT_TRUE(Checked(main.Handle())) << "the saved switch is on (checked, not grayed)";
        SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
        EXPECT_FALSE(Checked(main.Handle()));
        EXPECT_TRUE(ReadIdealDay()) << "saved at exit, not on every toggle";
    }
    EXPECT_FALSE(ReadIdealDay());
}

TEST(MainWindowInProcess, ColoursAndTheTimeAtRightAreReadAtEveryLayout) {
    TempSettings settings;
    TestMainWindow main;
    ASSERT_NE(nullptr, main.Handle());
    HWND sheet = FindWindowExA(main.Handle(), nullptr, "SchSheet", nullptr);
    ASSERT_NE(nullptr, sheet);
    EXPECT_TRUE(sheet_state.timeAtRight) << "the default";
    EXPECT_EQ(RGB(255, 255, 150), sheet_state.colours.background1);

    // Practice setup writes new colours while the window is up: the next layout takes them.
    QVN_WriteProfileString("APPTBOOK", "BGCOLOR1", "010,020,030");
    QVN_WriteProfileString("APPTBOOK", "ViewTimeAtRight", "0");
    SetWindowPos(main.Handle(), nullptr, 0, 0, 880, 690, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(RGB(10, 20, 30), sheet_state.colours.background1);
    EXPECT_FALSE(sheet_state.timeAtRight);
    LOGBRUSH brush = {};
    ASSERT_NE(0, GetObjectA(reinterpret_cast<HBRUSH>(GetClassLongPtrA(sheet, GCLP_HBRBACKGROUND)), sizeof brush, &brush));
    EXPECT_EQ(RGB(10, 20, 30), brush.lbColor) << "BGCOLOR1 is the sheet's background";
}

TEST(MainWindowInProcess, TheEndOfTheWindowsSessionRunsTheShutDown) {
    TempSettings settings;
    app_frame.running = true;  // as after a start-up that showed the window
    {
        TestMainWindow main;
        ASSERT_NE(nullptr, main.Handle());
        view_state.active.number = 4;
        SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
        EXPECT_EQ(TRUE, SendMessageA(main.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)) << "the session may end";
        EXPECT_EQ("", QVN_ReadProfileText("APPTBOOK", "DEF_VIEW", "")) << "nothing saved by the question";
        SendMessageA(main.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_EQ(1, QVN_ReadProfileInt("APPTBOOK", "IdealDay", 0));
        EXPECT_EQ(4, QVN_ReadProfileInt("APPTBOOK", "DEF_VIEW", 0));
        EXPECT_NE("", QVN_ReadProfileText("WindowPos", "APPTBOOK", "")) << "the window place is saved";
        // The destroy that follows finds the shut-down done and saves nothing twice.
        QVN_WriteProfileString("APPTBOOK", "DEF_VIEW", "9");
    }
    EXPECT_EQ(9, QVN_ReadProfileInt("APPTBOOK", "DEF_VIEW", 0));
    app_frame.running = false;
}

TEST(MainWindowInProcess, TheMenuGraysWhatIsNotCarriedOutAndTheSelectionDoesNotAllow) {
    TempSettings settings;
    TestMainWindow main;
    ASSERT_NE(nullptr, main.Handle());
    HMENU menu = GetMenu(main.Handle());
    auto grayed = [&](int command) { return (GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_GRAYED) != 0; };
    for (int command : {CMD_BREAK_APPOINTMENT, CMD_DELETE_APPOINTMENT, CMD_SET_COMPLETE, CMD_PRINT_ROUTE_SLIP})
        EXPECT_TRUE(grayed(command)) << command;
    for (int command : {CMD_REFRESH, CMD_IDEAL_DAY, CMD_PURGE_APPOINTMENTS, CMD_APPT_LIST})
        EXPECT_FALSE(grayed(command)) << command;
    // A selection changes nothing for entries whose commands are not carried out.
    sheet_state.selectedId = 77;
    sheet_state.selectedPatientId = 5;
    SendMessageA(main.Handle(), 5172, 0, 0);
    EXPECT_TRUE(grayed(CMD_SET_COMPLETE));
    EXPECT_EQ(0, SendMessageA(main.Handle(), 1127, 0, 0)) << "a patient's appointment";
    sheet_state.selectedPatientId = 0;
    EXPECT_EQ(77, SendMessageA(main.Handle(), 1127, 0, 0)) << "the new-patient appointment's id";
    sheet_state = SheetState{};
}

TEST(MainWindowInProcess, TheHelpMenuShowsTheAboutBoxAndSaysWhenAHelpFileIsMissing) {
    TempSettings settings;
    QVN_WriteProfileString("GENERAL", "Path", "C:\\Practice\\Data\\");
    InstallWindowsPrompter(nullptr);
    TestMainWindow main;
    ASSERT_NE(nullptr, main.Handle());
    std::string title, name, version, data, missing;
    HBITMAP picture = nullptr;
    dialog_driver::Driver about([&] {
        HWND box = dialog_driver::WaitForDialog("About Appointment Book");
        if (!box) return;
        title = dialog_driver::TextOf(box);
        name = dialog_driver::Text(box, IDC_ABOUT_NAME);
        version = dialog_driver::Text(box, IDC_ABOUT_VERSION);
        data = dialog_driver::Text(box, IDC_ABOUT_DATA);
        picture = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(box, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
        dialog_driver::Press(box, IDOK);
    });
    about.Run([&] { return SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(CMD_ABOUT, 0), 0); });
    EXPECT_EQ("About Appointment Book", title);
    EXPECT_EQ("Quorvin Appointment Book", name);
    EXPECT_EQ("12.0.269.22", version);
    EXPECT_NE(std::string::npos, data.find("C:\\Practice\\Data\\")) << data;
    EXPECT_NE(nullptr, picture) << "bitmap 201";

    // No help file lies beside the test program.
    dialog_driver::Driver help([&] { missing = dialog_driver::AnswerMessageBox(); });
    help.Run([&] { return SendMessageA(main.Handle(), WM_COMMAND, MAKEWPARAM(CMD_HELP_CONTENTS, 0), 0); });
    EXPECT_EQ(0u, missing.find("The help file ")) << missing;
    EXPECT_NE(std::string::npos, missing.find("apptbook.chm cannot be found.")) << missing;
    InstallPrompter(nullptr);
}
