// The Flip Tabs Setup dialog driven from a second thread down to the twelve texts it saves, with
// the date picker window opened from it. (The strip's targets and the stored forms are checked
// natively.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "../native/settings_test_env.h"
#include "controls/date_picker_win.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/window_services_win.h"
#include "views/flip_tabs.h"
#include "views/flip_tabs_setup_win.h"

using namespace dialog_driver;

TEST(FlipTabsSetupDialog, RowsPagesChecksAndTheTwelveSavedTexts) {
    TempSettings settings;
    InstallWindowsPrompter(nullptr);
    const int32_t start = QVN_DateIn(3, 14, 2026);
    QVN_WriteProfileString("APPTBOOK", "DayUserTab1", ("@" + std::to_string(start) + ",255,Start").c_str());
    QVN_WriteProfileString("APPTBOOK", "WeekUserTab2", "<6,65280,Back, 6");

    auto row = [](HWND dialog, int r, int offset) { return GetDlgItem(dialog, IDC_USERTAB_ROW1 + 20 * r + offset); };
    auto choose = [&](HWND dialog, int r, int offset, int index) {
        HWND combo = row(dialog, r, offset);
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    };
    auto page = [](HWND dialog) { return static_cast<int>(SendDlgItemMessageA(dialog, IDC_USERTAB_PAGES, TCM_GETCURSEL, 0, 0)); };
    auto selected = [&](HWND dialog, int r, int offset) { return static_cast<int>(SendMessageA(row(dialog, r, offset), CB_GETCURSEL, 0, 0)); };
    bool found = false;

    // The steps check as they go, on the driver's thread (the test's own sits in the dialog).
    Driver driver([&] {
        HWND dialog = WaitForDialog("Flip Tabs Setup");
        if (!(found = dialog != nullptr)) return;
        EXPECT_EQ("Start", TextOf(row(dialog, 0, USERTAB_DESCRIPTION)));
        EXPECT_EQ(1, selected(dialog, 0, USERTAB_TYPE));
        EXPECT_EQ("03/14/2026", TextOf(row(dialog, 0, USERTAB_DATE)));
        EXPECT_TRUE(IsWindowVisible(row(dialog, 0, USERTAB_DATE)) && IsWindowVisible(row(dialog, 0, USERTAB_PICK)));
        EXPECT_FALSE(IsWindowVisible(row(dialog, 0, USERTAB_COUNT)));
        EXPECT_EQ(0, selected(dialog, 1, USERTAB_TYPE));
        EXPECT_FALSE(IsWindowVisible(row(dialog, 1, USERTAB_DATE)) || IsWindowVisible(row(dialog, 1, USERTAB_COUNT)))
            << "(not used) hides both groups";

        // Day row 2: one day on from today; a letter in the count is undone.
        choose(dialog, 1, USERTAB_TYPE, 2);
        SetWindowTextA(row(dialog, 1, USERTAB_DESCRIPTION), "Tomorrow");
        SetWindowTextA(row(dialog, 1, USERTAB_COUNT), "1");
        SetWindowTextA(row(dialog, 1, USERTAB_COUNT), "1a");
        EXPECT_EQ("1", TextOf(row(dialog, 1, USERTAB_COUNT)));
        // Day row 4: a date that is none.
        choose(dialog, 3, USERTAB_TYPE, 1);
        SetWindowTextA(row(dialog, 3, USERTAB_DESCRIPTION), "Later");
        SetWindowTextA(row(dialog, 3, USERTAB_DATE), "13/45/2027");

        PostMessageA(row(dialog, 0, USERTAB_DESCRIPTION), WM_SYSKEYDOWN, 'W', 0x20000000);
        WaitFor([&] { return page(dialog) == kFlipWeek; }, 5000);
        EXPECT_EQ(kFlipWeek, page(dialog)) << "Alt+W shows the Week page";
        EXPECT_EQ("Back, 6", TextOf(row(dialog, 1, USERTAB_DESCRIPTION)));
        EXPECT_EQ("Weeks", TextOf(row(dialog, 1, USERTAB_UNIT)));
        EXPECT_EQ(1, selected(dialog, 1, USERTAB_DIRECTION)) << "backward";
        EXPECT_EQ(1, selected(dialog, 1, USERTAB_BASE)) << "from the shown date";
        // Week row 3: absolute without a description.
        choose(dialog, 2, USERTAB_TYPE, 1);
        SetWindowTextA(row(dialog, 2, USERTAB_DATE), "12/24/2027");

        Press(dialog, IDOK);  // the Day page is checked first
        EXPECT_EQ("Please enter a valid date (for example 3/14/2026).", AnswerMessageBox());
        EXPECT_EQ(kFlipDay, page(dialog)) << "the first fault's page is shown";
        EXPECT_EQ(row(dialog, 3, USERTAB_DATE), FocusOf(dialog));
        // ">>" opens the picker on today (the typed text is no date); its OK writes today back.
        Press(dialog, IDC_USERTAB_ROW1 + 60 + USERTAB_PICK);
        WaitFor([] { return OpenDatePickerWindow() != nullptr; }, 15000);  // a loaded machine opens it late
        HWND picker = OpenDatePickerWindow();
        EXPECT_NE(nullptr, picker);
        SendMessageA(FindWindowExA(picker, nullptr, "BUTTON", "OK"), BM_CLICK, 0, 0);
        const std::string today = QVN_fmtDateString2000(QVN_SysDate());
        WaitFor([&] { return TextOf(row(dialog, 3, USERTAB_DATE)) == today; }, 5000);
        EXPECT_EQ(today, TextOf(row(dialog, 3, USERTAB_DATE))) << "the picked date is written back";

        Press(dialog, IDOK);
        EXPECT_EQ("Please enter a description.", AnswerMessageBox());
        EXPECT_EQ(kFlipWeek, page(dialog));
        EXPECT_EQ(row(dialog, 2, USERTAB_DESCRIPTION), FocusOf(dialog));
        SetWindowTextA(row(dialog, 2, USERTAB_DESCRIPTION), "Xmas");

        // Month row 1: three months on from the shown date.
        PostMessageA(row(dialog, 0, USERTAB_DESCRIPTION), WM_SYSKEYDOWN, 'M', 0x20000000);
        WaitFor([&] { return page(dialog) == kFlipMonth; }, 5000);
        choose(dialog, 0, USERTAB_TYPE, 2);
        SetWindowTextA(row(dialog, 0, USERTAB_DESCRIPTION), "Quarter");
        SetWindowTextA(row(dialog, 0, USERTAB_COUNT), "3");
        choose(dialog, 0, USERTAB_BASE, 1);
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    const bool saved = driver.Run([] { return RunFlipTabsSetup(nullptr, GetModuleHandleA(nullptr)); });
    InstallPrompter(nullptr);
    ASSERT_TRUE(found);
    EXPECT_TRUE(saved);
    const std::string saved_texts[12][2] = {
        {"DayUserTab1", "@" + std::to_string(start) + ",255,Start"}, {"DayUserTab2", "+1,0,Tomorrow"},
        {"DayUserTab3", ""}, {"DayUserTab4", "@" + std::to_string(QVN_SysDate()) + ",0,Later"},
        {"WeekUserTab1", ""}, {"WeekUserTab2", "<6,65280,Back, 6"},
        {"WeekUserTab3", "@" + std::to_string(QVN_DateIn(12, 24, 2027)) + ",0,Xmas"}, {"WeekUserTab4", ""},
        {"MonthUserTab1", ">3,0,Quarter"}, {"MonthUserTab2", ""}, {"MonthUserTab3", ""}, {"MonthUserTab4", ""}};
    for (const auto& t : saved_texts) EXPECT_EQ(t[1], QVN_ReadProfileText("APPTBOOK", t[0].c_str(), "?")) << t[0];
}
