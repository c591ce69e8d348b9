// The Time Block Edit dialog on its own template over the demo practice, driven from a second
// thread: its caption and bar texts, the refusals read from real message boxes, a saved change,
// "Clear for today", "Set to Default" and Cancel; and the sheet's context menus tracked for
// real, chosen with the keyboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "data/demo_seed.h"
#include "data/practice_schedule.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"
#include "views/active_view.h"
#include "views/block_edit.h"
#include "views/block_edit_win.h"
#include "views/day_data.h"
#include "views/sheet_menus_win.h"
#include "win_harness.h"

using namespace dialog_driver;

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);
constexpr int Unit(int hour, int minute = 0) { return hour * 12 + minute / 5; }
const char kCaption[] = "New Pt Exam - DR1 ";

int Index(const char* id, bool provider) {
    if (provider) {
        char id4[4] = {' ', ' ', ' ', ' '};
        std::memcpy(id4, id, std::strlen(id));
        return FindProviderIndex(id4);
    }
    for (size_t i = 0; i < practice_tables.operatories.size(); ++i)
        if (std::strncmp(practice_tables.operatories[i].id, id, std::strlen(id)) == 0) return static_cast<int>(i);
    return -1;
}

std::string BarTime(HWND dialog, int hour, int minute, int half) {
    return Text(dialog, hour) + ":" + Text(dialog, minute) + Text(dialog, half);
}

void Scroll(HWND dialog, int bar, int request, int times = 1) {
    for (int i = 0; i < times; ++i)
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(request, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, bar)));
}

// The demo book on Monday 7 December 2026 with DR1 and OP1 shown; DR1's "Emergency" block is
// put into OP1 at 10:00-11:00 on Mondays (loaded table only) so that there is a block to
// overlap. Message boxes are real.
class BlockEditDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(kMonday, &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        ProviderInfo& dr1 = practice_tables.providers[static_cast<size_t>(Index("DR1", true))];
        std::memcpy(dr1.blockOperatory[1], "OP1 ", 4);
        dr1.blockStart[1][1] = Unit(10);
        dr1.blockEnd[1][1] = Unit(11);
        view_state.active = ActiveView{};
        view_state.active.providers[view_state.active.providerCount++] = Index("DR1", true);
        view_state.active.operatories[view_state.active.operatoryCount++] = Index("OP1", false);
        LoadShownDays({kMonday}, kDayView);
        InstallWindowsPrompter(nullptr);
    }
    void TearDown() override {
        InstallPrompter(nullptr);
        FreeDays();
        view_state = ViewState{};
    }
    static TimeBlockRecord Exam() { return ShownColumnOf(kMonday, "OP1 ")->blocks[0]; }
    static bool Edit(Driver& driver) {
        return driver.Run([] { return EditBlockForDay(nullptr, GetModuleHandleA(nullptr), Exam(), kMonday, "OP1 "); });
    }
    static bool ReadOverride(RscUseBlockOverride* r) {
        FileGroupDesc desc{};
        DbGroupOf(kRscUseFile, &desc);
        RscUseKey key{kRscBlockOverride, {'D', 'R', '1', ' '}, static_cast<uint32_t>(WeekStartOf(kMonday))};
        return DbFindRecord(desc, kRscUseKey, &key, sizeof key, r) == kQdbOk;
    }
    PracticeTestDatabase db_;
};

}  // namespace

TEST_F(BlockEditDialog, RefusesWithItsTextsThenSavesTheNewTimes) {
    std::vector<std::string> seen, refusals;
    Driver driver([&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(nullptr, d) << "the dialog is titled with the block's caption";
        seen.push_back(BarTime(d, IDC_CHANGETB_START_HOUR, IDC_CHANGETB_START_MINUTE, IDC_CHANGETB_START_HALF));
        seen.push_back(BarTime(d, IDC_CHANGETB_END_HOUR, IDC_CHANGETB_END_MINUTE, IDC_CHANGETB_END_HALF));
        seen.push_back(Text(d, IDC_CHANGETB_DEFAULT) + "|" + Text(d, IDC_CHANGETB_CLEAR) + "|" + Text(d, IDOK) + "|" +
                       Text(d, IDCANCEL));
        // The end back onto the start: 8:00-8:00.
        Scroll(d, IDC_CHANGETB_END, SB_LINEUP, 6);
        seen.push_back(BarTime(d, IDC_CHANGETB_END_HOUR, IDC_CHANGETB_END_MINUTE, IDC_CHANGETB_END_HALF));
        Press(d, IDOK);
        refusals.push_back(AnswerMessageBox());
        // 8:00-10:30 runs into the Emergency block at 10:00.
        Scroll(d, IDC_CHANGETB_END, SB_PAGEDOWN, 2);
        Scroll(d, IDC_CHANGETB_END, SB_LINEDOWN, 3);
        seen.push_back(BarTime(d, IDC_CHANGETB_END_HOUR, IDC_CHANGETB_END_MINUTE, IDC_CHANGETB_END_HALF));
        Press(d, IDOK);
        refusals.push_back(AnswerMessageBox());
        // 9:00-10:00 touches it and is taken.
        Scroll(d, IDC_CHANGETB_END, SB_LINEUP, 3);
        Scroll(d, IDC_CHANGETB_START, SB_PAGEDOWN);
        seen.push_back(BarTime(d, IDC_CHANGETB_START_HOUR, IDC_CHANGETB_START_MINUTE, IDC_CHANGETB_START_HALF));
        Press(d, IDOK);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_TRUE(Edit(driver));
    EXPECT_EQ((std::vector<std::string>{" 8:00am", " 9:00am", "Set to Default|Clear for today|OK|Cancel", " 8:00am",
                                        "10:30am", " 9:00am"}),
              seen);
    EXPECT_EQ((std::vector<std::string>{"Invalid Time Range!", "Block overlaps another block!"}), refusals);
    RscUseBlockOverride r{};
    ASSERT_TRUE(ReadOverride(&r));
    const int start = r.start[1][0], end = r.end[1][0], other = r.start[1][1];  // copies: the record is packed
    EXPECT_EQ(Unit(9), start);
    EXPECT_EQ(Unit(10), end);
    EXPECT_EQ(kBlockKeepsDefault, other) << "the other block keeps its times";
    EXPECT_EQ(Unit(9), Exam().start) << "the shown day was reloaded";
}

TEST_F(BlockEditDialog, ClearForTodaySetToDefaultAndCancel) {
    Driver cancel([] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(nullptr, d);
        Scroll(d, IDC_CHANGETB_START, SB_LINEDOWN);
        Press(d, IDCANCEL);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_FALSE(Edit(cancel));
    RscUseBlockOverride r{};
    EXPECT_FALSE(ReadOverride(&r)) << "Cancel writes nothing";

    Driver clear([] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(nullptr, d);
        Press(d, IDC_CHANGETB_CLEAR);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_TRUE(Edit(clear));
    ASSERT_TRUE(ReadOverride(&r));
    const int start = r.start[1][0], end = r.end[1][0];
    EXPECT_EQ(kBlockCleared, start);
    EXPECT_EQ(kBlockCleared, end);
    EXPECT_EQ(-2, Exam().start);

    // A block cleared for the day has no times: both bars start at midday.
    std::vector<std::string> seen;
    Driver to_default([&] {
        HWND d = WaitForDialog(kCaption);
        ASSERT_NE(nullptr, d);
        seen.push_back(BarTime(d, IDC_CHANGETB_START_HOUR, IDC_CHANGETB_START_MINUTE, IDC_CHANGETB_START_HALF));
        seen.push_back(BarTime(d, IDC_CHANGETB_END_HOUR, IDC_CHANGETB_END_MINUTE, IDC_CHANGETB_END_HALF));
        Press(d, IDC_CHANGETB_DEFAULT);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_TRUE(Edit(to_default));
    EXPECT_EQ((std::vector<std::string>{"12:00pm", "12:00pm"}), seen);
    EXPECT_FALSE(ReadOverride(&r)) << "nothing left in the week's override";
    EXPECT_EQ(Unit(8), Exam().start);
}

namespace {

std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

// Keys for the tracking menu, posted to the owner's thread.
void Keys(HWND owner, const std::vector<WPARAM>& keys) {
    for (WPARAM key : keys) {
        PostMessageA(owner, WM_KEYDOWN, key, 0);
        Sleep(30);
    }
}

}  // namespace

TEST_F(BlockEditDialog, ContextMenusSendTheirCommandsAndTheBlockMenuPicksABlock) {
    RecordingWindow owner(WM_COMMAND, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 50, 350, 250});
    ASSERT_NE(nullptr, owner.Window());
    SheetMenus menus(owner.Window());
    ASSERT_NE(nullptr, menus.PatientMenu());
    EXPECT_EQ(26, GetMenuItemCount(menus.PatientMenu()));
    EXPECT_EQ(7, GetMenuItemCount(menus.NewPatientMenu()));
    EXPECT_EQ(12146u, GetMenuItemID(menus.PatientMenu(), 25));
    EXPECT_EQ(MF_SEPARATOR, GetMenuState(menus.NewPatientMenu(), 1, MF_BYPOSITION) & MF_SEPARATOR);
    const POINT at{120, 120};

    // Second entry of the patient menu.
    Driver patient([&] {
        ASSERT_NE(nullptr, WaitForMenu());
        Keys(owner.Window(), {VK_DOWN, VK_DOWN, VK_RETURN});
    });
    EXPECT_EQ(381, patient.Run([&] { return menus.TrackPatientMenu(owner.Window(), at); }));
    Pump();
    EXPECT_EQ(std::vector<int>{381}, owner.Commands()) << "posted to the command window";

    Driver escape([&] {
        ASSERT_NE(nullptr, WaitForMenu());
        Keys(owner.Window(), {VK_ESCAPE});
    });
    EXPECT_EQ(0, escape.Run([&] { return menus.TrackNewPatientMenu(owner.Window(), at); }));
    Pump();
    EXPECT_EQ(std::vector<int>{381}, owner.Commands()) << "nothing posted without a choice";

    // The block menu of OP1: its title entry cannot be chosen; the last entry is the Emergency
    // block.
    const DayColumn& op1 = *ShownColumnOf(kMonday, "OP1 ");
    std::vector<std::string> texts;
    bool title_grayed = false;
    Driver block([&] {
        HWND menu_window = WaitForMenu();
        ASSERT_NE(nullptr, menu_window);
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, MN_GETHMENU, 0, 0));
        texts = MenuTexts(menu);
        title_grayed = (GetMenuState(menu, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
        Keys(owner.Window(), {VK_END, VK_RETURN});
    });
    EXPECT_EQ(1, block.Run([&] { return SheetMenus::TrackTimeBlockMenu(owner.Window(), at, op1); }));
    EXPECT_EQ((std::vector<std::string>{"TIME BLOCKS FOR OP1 ", "", "New Pt Exam - DR1 ", "Emergency - DR1 "}), texts);
    EXPECT_TRUE(title_grayed);
    Driver none([&] {
        ASSERT_NE(nullptr, WaitForMenu());
        Keys(owner.Window(), {VK_ESCAPE});
    });
    EXPECT_EQ(-1, none.Run([&] { return SheetMenus::TrackTimeBlockMenu(owner.Window(), at, op1); }));
    Pump();
    EXPECT_EQ(std::vector<int>{381}, owner.Commands()) << "the block menu posts nothing";
}
