// The Flip Tabs Setup dialog driven from a second thread down to the twelve texts it saves, with
// the date picker window opened from it. (The strip's targets and the stored forms are checked
// natively.)
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

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

namespace {

std::string Tab(const char* key) { return QVN_ReadProfileText("APPTBOOK", key, "?"); }

}  // namespace

TEST(FlipTabsSetupDialog, RowsPagesChecksAndTheTwelveSavedTexts) {
    TempSettings settings;
    InstallWindowsPrompter(nullptr);
    const int32_t start = QVN_DateIn(3, 14, 2026);
    QVN_WriteProfileString("APPTBOOK", "DayUserTab1", ("@" + std::to_string(start) + ",255,Start").c_str());
    QVN_WriteProfileString("APPTBOOK", "WeekUserTab2", "<6,65280,Back, 6");

    struct Seen {
        bool found = false;
        std::string description1, date1, countAfterLetter, week2Description, week2Unit;
        int type1 = -1, type2 = -1, pageAfterAltW = -1, pageAfterFirstFault = -1, pageAfterSecondFault = -1;
        bool dateShown1 = false, countHidden1 = false, row2Hidden = false, week2Backward = false,
             week2FromShown = false, focusOnDate = false, focusOnDescription = false, picked = false;
        std::vector<std::string> messages;
    } seen;

    auto row = [](HWND dialog, int r, int offset) { return GetDlgItem(dialog, IDC_USERTAB_ROW1 + 20 * r + offset); };
    auto choose = [&](HWND dialog, int r, int offset, int index) {
        HWND combo = row(dialog, r, offset);
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    };
    auto page = [](HWND dialog) { return static_cast<int>(SendDlgItemMessageA(dialog, IDC_USERTAB_PAGES, TCM_GETCURSEL, 0, 0)); };

    Driver driver([&] {
        HWND dialog = WaitForDialog("Flip Tabs Setup");
        if (!dialog) return;
        seen.found = true;
        seen.description1 = TextOf(row(dialog, 0, USERTAB_DESCRIPTION));
        seen.type1 = static_cast<int>(SendMessageA(row(dialog, 0, USERTAB_TYPE), CB_GETCURSEL, 0, 0));
        seen.date1 = TextOf(row(dialog, 0, USERTAB_DATE));
        seen.dateShown1 = IsWindowVisible(row(dialog, 0, USERTAB_DATE)) && IsWindowVisible(row(dialog, 0, USERTAB_PICK));
        seen.countHidden1 = !IsWindowVisible(row(dialog, 0, USERTAB_COUNT));
        seen.type2 = static_cast<int>(SendMessageA(row(dialog, 1, USERTAB_TYPE), CB_GETCURSEL, 0, 0));
        seen.row2Hidden = !IsWindowVisible(row(dialog, 1, USERTAB_DATE)) && !IsWindowVisible(row(dialog, 1, USERTAB_COUNT));

        // Day row 2: one day on from today; a letter in the count is undone.
        choose(dialog, 1, USERTAB_TYPE, 2);
        SetWindowTextA(row(dialog, 1, USERTAB_DESCRIPTION), "Tomorrow");
        SetWindowTextA(row(dialog, 1, USERTAB_COUNT), "1");
        SetWindowTextA(row(dialog, 1, USERTAB_COUNT), "1a");
        seen.countAfterLetter = TextOf(row(dialog, 1, USERTAB_COUNT));
        // Day row 4: a date that is none.
        choose(dialog, 3, USERTAB_TYPE, 1);
        SetWindowTextA(row(dialog, 3, USERTAB_DESCRIPTION), "Later");
        SetWindowTextA(row(dialog, 3, USERTAB_DATE), "13/45/2027");

        PostMessageA(row(dialog, 0, USERTAB_DESCRIPTION), WM_SYSKEYDOWN, 'W', 0x20000000);
        WaitFor([&] { return page(dialog) == kFlipWeek; }, 5000);
        seen.pageAfterAltW = page(dialog);
        seen.week2Description = TextOf(row(dialog, 1, USERTAB_DESCRIPTION));
        seen.week2Unit = TextOf(row(dialog, 1, USERTAB_UNIT));
        seen.week2Backward = SendMessageA(row(dialog, 1, USERTAB_DIRECTION), CB_GETCURSEL, 0, 0) == 1;
        seen.week2FromShown = SendMessageA(row(dialog, 1, USERTAB_BASE), CB_GETCURSEL, 0, 0) == 1;
        // Week row 3: absolute without a description.
        choose(dialog, 2, USERTAB_TYPE, 1);
        SetWindowTextA(row(dialog, 2, USERTAB_DATE), "12/24/2027");

        Press(dialog, IDOK);  // the Day page is checked first
        seen.messages.push_back(AnswerMessageBox());
        seen.pageAfterFirstFault = page(dialog);
        seen.focusOnDate = FocusOf(dialog) == row(dialog, 3, USERTAB_DATE);
        // ">>" opens the picker on today (the typed text is no date); its OK writes today back.
        Press(dialog, IDC_USERTAB_ROW1 + 60 + USERTAB_PICK);
        WaitFor([] { return OpenDatePickerWindow() != nullptr; }, 15000);  // a loaded machine opens it late
        if (HWND picker = OpenDatePickerWindow()) {
            SendMessageA(FindWindowExA(picker, nullptr, "BUTTON", "OK"), BM_CLICK, 0, 0);
            WaitFor([&] { return TextOf(row(dialog, 3, USERTAB_DATE)) == QVN_fmtDateString2000(QVN_SysDate()); }, 5000);
        }
        seen.picked = TextOf(row(dialog, 3, USERTAB_DATE)) == QVN_fmtDateString2000(QVN_SysDate());

        Press(dialog, IDOK);
        seen.messages.push_back(AnswerMessageBox());
        seen.pageAfterSecondFault = page(dialog);
        seen.focusOnDescription = FocusOf(dialog) == row(dialog, 2, USERTAB_DESCRIPTION);
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

    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Start", seen.description1);
    EXPECT_EQ(1, seen.type1);
    EXPECT_EQ("03/14/2026", seen.date1);
    EXPECT_TRUE(seen.dateShown1);
    EXPECT_TRUE(seen.countHidden1);
    EXPECT_EQ(0, seen.type2);
    EXPECT_TRUE(seen.row2Hidden) << "(not used) hides both groups";
    EXPECT_EQ("1", seen.countAfterLetter);
    EXPECT_EQ(kFlipWeek, seen.pageAfterAltW) << "Alt+W shows the Week page";
    EXPECT_EQ("Back, 6", seen.week2Description);
    EXPECT_EQ("Weeks", seen.week2Unit);
    EXPECT_TRUE(seen.week2Backward);
    EXPECT_TRUE(seen.week2FromShown);
    ASSERT_EQ(2u, seen.messages.size());
    EXPECT_EQ("Please enter a valid date (for example 3/14/2026).", seen.messages[0]);
    EXPECT_EQ(kFlipDay, seen.pageAfterFirstFault) << "the first fault's page is shown";
    EXPECT_TRUE(seen.focusOnDate);
    EXPECT_TRUE(seen.picked) << "the picked date is written back";
    EXPECT_EQ("Please enter a description.", seen.messages[1]);
    EXPECT_EQ(kFlipWeek, seen.pageAfterSecondFault);
    EXPECT_TRUE(seen.focusOnDescription);

    EXPECT_TRUE(saved);
    const std::string saved_texts[12][2] = {
        {"DayUserTab1", "@" + std::to_string(start) + ",255,Start"}, {"DayUserTab2", "+1,0,Tomorrow"},
        {"DayUserTab3", ""}, {"DayUserTab4", "@" + std::to_string(QVN_SysDate()) + ",0,Later"},
        {"WeekUserTab1", ""}, {"WeekUserTab2", "<6,65280,Back, 6"},
        {"WeekUserTab3", "@" + std::to_string(QVN_DateIn(12, 24, 2027)) + ",0,Xmas"}, {"WeekUserTab4", ""},
        {"MonthUserTab1", ">3,0,Quarter"}, {"MonthUserTab2", ""}, {"MonthUserTab3", ""}, {"MonthUserTab4", ""}};
    for (const auto& t : saved_texts) EXPECT_EQ(t[1], Tab(t[0].c_str())) << t[0];
}
