// The flip tab strip as a real child window (clicks, the Ctrl keys, modes, what it posts to its
// parent and what it paints) and the Flip Tabs Setup dialog driven from a second thread down to
// the twelve texts it saves.
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
#include "views/flip_tab_strip.h"
#include "views/flip_tab_strip_win.h"
#include "views/flip_tabs_setup_win.h"
#include "win_harness.h"

using namespace dialog_driver;

namespace {

// A left click in the middle of a user tab; false when the tab is not shown.
bool ClickTab(HWND strip, int tab) {
    RECT r;
    if (!FlipTabRect(strip, tab, &r)) return false;
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    SendMessageA(strip, WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Pump();
    return true;
}

// Pixels of the tab painted in its caption colour (red here), read from the strip's own paint.
int RedPixelsIn(HWND strip, const RECT& tab) {
    RECT client;
    GetClientRect(strip, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(strip, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    int red = 0;
    for (int y = tab.top; y < tab.bottom; ++y)
        for (int x = tab.left; x < tab.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
        }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return red;
}

std::string Tab(const char* key) { return QVN_ReadProfileText("APPTBOOK", key, "?"); }

}  // namespace

TEST(FlipTabStripWindow, ClicksPostTheirDatesAndUnusedOrActiveTabsPostNothing) {
    TempSettings settings;
    const int32_t christmas = QVN_DateIn(12, 24, 2027);
    QVN_WriteProfileString("APPTBOOK", "DayUserTab1", ">1,255,Next day");
    QVN_WriteProfileString("APPTBOOK", "DayUserTab3", ("@" + std::to_string(christmas) + ",0,Xmas").c_str());
    QVN_WriteProfileString("APPTBOOK", "DayUserTab4", "@0,0,No date");
    QVN_WriteProfileString("APPTBOOK", "WeekUserTab2", "-2,0,Back 2");
    RecordingWindow parent(kMsgFlipTab);
    const std::vector<RecordingWindow::Heard>& posted = parent.heard;
    const int32_t shown = QVN_DateIn(1, 31, 2027);
    HWND strip = CreateFlipTabStrip(parent.Window(), GetModuleHandleA(nullptr), nullptr, kFlipDay, shown);
    ASSERT_NE(nullptr, strip);
    MoveWindow(strip, 300, 160, 64, 330, TRUE);
    EXPECT_TRUE(IsWindowVisible(strip));
    EXPECT_EQ(kFlipEmptyPosition, ActiveFlipTabPosition(strip)) << "the empty fifth position starts active";

    RECT unused;
    EXPECT_FALSE(FlipTabRect(strip, 1, &unused)) << "tab 2 is not defined and not shown";
    RECT first, third;
    ASSERT_TRUE(FlipTabRect(strip, 0, &first));
    ASSERT_TRUE(FlipTabRect(strip, 2, &third));
    EXPECT_EQ(0, first.top) << "the lowest defined tab comes first";
    EXPECT_EQ(first.bottom, third.top);
    EXPECT_GT(RedPixelsIn(strip, first), 0) << "the caption is drawn in the tab's colour";
    EXPECT_EQ(0, RedPixelsIn(strip, third));

    // Relative to the shown date: the date, and a request to make the empty tab active again.
    ASSERT_TRUE(ClickTab(strip, 0));
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(1u, posted[0].wparam);
    EXPECT_EQ(shown + 1, posted[0].lparam);
    EXPECT_EQ(0, ActiveFlipTabPosition(strip));
    ClickTab(strip, 0);
    EXPECT_EQ(1u, posted.size()) << "a click on the active tab does nothing";
    ResetFlipTabStrip(strip);
    SetFlipTabDisplayedDate(strip, shown + 1);
    ClickTab(strip, 0);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(shown + 2, posted[1].lparam) << "the same tab moves on by the same step";

    // An absolute tab, then one without a date, then the empty position and below it.
    ClickTab(strip, 2);
    ASSERT_EQ(3u, posted.size());
    EXPECT_EQ(0u, posted[2].wparam);
    EXPECT_EQ(christmas, posted[2].lparam);
    ClickTab(strip, 3);
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 320));
    Pump();
    EXPECT_EQ(3u, posted.size()) << "no date, the empty position and empty space post nothing";
    EXPECT_EQ(2, ActiveFlipTabPosition(strip));

    // Ctrl+2: the second visible tab, which is tab 3.
    ResetFlipTabStrip(strip);
    EXPECT_TRUE(ActivateVisibleFlipTab(strip, 1));
    Pump();
    ASSERT_EQ(4u, posted.size());
    EXPECT_EQ(christmas, posted[3].lparam);
    EXPECT_FALSE(ActivateVisibleFlipTab(strip, 3)) << "only three tabs are visible";

    // Week mode: the empty position is active again; backward two weeks from today.
    SetFlipTabMode(strip, kFlipWeek, shown);
    EXPECT_EQ(kFlipEmptyPosition, ActiveFlipTabPosition(strip));
    EXPECT_FALSE(FlipTabRect(strip, 0, &unused));
    ASSERT_TRUE(ClickTab(strip, 1));
    ASSERT_EQ(5u, posted.size());
    EXPECT_EQ(QVN_SysDate() - 14, posted[4].lparam);
    EXPECT_EQ(0u, posted[4].wparam);

    SetFlipTabMode(strip, kFlipMonth, shown);
    EXPECT_FALSE(IsWindowVisible(strip)) << "a mode without tabs hides the strip";

    // Tabs saved elsewhere show after a reload.
    QVN_WriteProfileString("APPTBOOK", "MonthUserTab2", "+3,0,Quarter");
    ReloadFlipTabs(strip);
    EXPECT_TRUE(IsWindowVisible(strip));
    ASSERT_TRUE(ClickTab(strip, 1));
    ASSERT_EQ(6u, posted.size());
    EXPECT_EQ(QVN_AddMonths(QVN_SysDate(), 3), posted[5].lparam);
    DestroyWindow(strip);
}

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
        WaitFor([] { return OpenDatePickerWindow() != nullptr; }, 5000);
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
    EXPECT_EQ("@" + std::to_string(start) + ",255,Start", Tab("DayUserTab1"));
    EXPECT_EQ("+1,0,Tomorrow", Tab("DayUserTab2"));
    EXPECT_EQ("", Tab("DayUserTab3"));
    EXPECT_EQ("@" + std::to_string(QVN_SysDate()) + ",0,Later", Tab("DayUserTab4"));
    EXPECT_EQ("", Tab("WeekUserTab1"));
    EXPECT_EQ("<6,65280,Back, 6", Tab("WeekUserTab2"));
    EXPECT_EQ("@" + std::to_string(QVN_DateIn(12, 24, 2027)) + ",0,Xmas", Tab("WeekUserTab3"));
    EXPECT_EQ("", Tab("WeekUserTab4"));
    EXPECT_EQ(">3,0,Quarter", Tab("MonthUserTab1"));
    EXPECT_EQ("", Tab("MonthUserTab2"));
    EXPECT_EQ("", Tab("MonthUserTab3"));
    EXPECT_EQ("", Tab("MonthUserTab4"));
}

TEST(FlipTabsSetupDialog, CancelSavesNothing) {
    TempSettings settings;
    QVN_WriteProfileString("APPTBOOK", "DayUserTab1", "+1,0,Next");
    const std::string before = settings.ReadRaw();
    Driver driver([&] {
        HWND dialog = WaitForDialog("Flip Tabs Setup");
        if (!dialog) return;
        SetDlgItemTextA(dialog, IDC_USERTAB_ROW1 + USERTAB_DESCRIPTION, "Changed");
        Press(dialog, IDCANCEL);
        WaitGone(dialog);
    });
    EXPECT_FALSE(driver.Run([] { return RunFlipTabsSetup(nullptr, GetModuleHandleA(nullptr)); }));
    EXPECT_EQ(before, settings.ReadRaw());
}
