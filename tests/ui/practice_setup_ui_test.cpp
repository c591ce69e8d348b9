// Practice setup in one run of the real program. Opened from the menu by its keys, Saturday is
// opened through the day dialog with typed times and the block size set to 15 minutes, which
// the program asks to confirm; after OK the practice record holds both and the sheet shows
// Saturday open. Then the test, as another workstation, changes the practice's hours: Refresh
// (128) shows them on the program's sheet, and so does that workstation's block-change notice.

#include "app/private_messages.h"
#include "app/refresh.h"
#include "setup/practice_setup.h"
#include "sheet_model.h"

namespace {

// How many of the sampled pixels down the middle of the shown day's first operatory column show
// the open office colour, and how many were sampled.
std::pair<int, int> OpenSamples(HWND sheet, SheetModel& m, int32_t date, COLORREF open) {
    m.Load(date, kDayView, FirstShownTime());
    const DayColumn* column = FreeColumn(0, kUnitsPerDay);
    if (!column) {
        ADD_FAILURE() << "no empty operatory column on the shown day";
        return {0, 0};
    }
    const int x = (column->left + column->right) / 2;
    int open_count = 0, samples = 0;
    for (int y = 2; y < m.Height() - 2; y += 7, ++samples)
        if (ScreenPixel(sheet, x, y) == open) ++open_count;
    return {open_count, samples};
}

// The other workstation's edit of the practice's Saturday hours, through the same code.
bool SetSaturday(int32_t start, int32_t end) {
    return RunPracticeSetup([&](PracticeSetupEdit& edit) {
        edit.hours[6][0] = start;
        edit.hours[6][1] = end;
        return true;
    });
}

}  // namespace

TEST(PracticeSetupUi, DayDialogAndBlockSizeThenAnotherStationsChangeOnRefresh) {
    AppRun app("", Practice::kDemo, "FRONT", {"NETWORK/STATION=1"});
    SheetModel m;
    HWND main = nullptr, sheet = nullptr;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    const COLORREF open = ReadSheetColours().background1;
    const int32_t today = QVN_SysDate();
    const int32_t saturday = today + 7 - QVN_week_day(today);
    ShowDate(main, saturday);
    ASSERT_EQ(OpenSamples(sheet, m, saturday, open).first, 0) << "the demo practice is closed on Saturdays";

    ASSERT_TRUE(BringToFront(main));
    PressKey('S', VK_MENU);
    PressKey('P');
    HWND setup = app.WaitForDialog("Practice Appointment Setup");
    ASSERT_NE(nullptr, setup);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(setup, IDC_PRACSETUP_DAY1 + 6));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(setup, IDC_PRACSETUP_DAYTIMES1 + 6)));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(setup, IDC_PRACSETUP_BLOCK10));
    ClickControl(setup, IDC_PRACSETUP_DAY1 + 6);
    HWND day = app.WaitForDialog("Set Time Limits");
    ASSERT_NE(nullptr, day);
    TypeText("6 am");
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    TypeText("11 pm");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(day); }));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(setup, IDC_PRACSETUP_DAY1 + 6));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(setup, IDC_PRACSETUP_DAYTIMES1 + 6)));
    ClickControl(setup, IDC_PRACSETUP_BLOCK15);
    PressKey(VK_RETURN);
    EXPECT_EQ("Changing Time Block Size may make the appointment times invalid until each appointment is edited or "
              "moved.  Continue with Time Block Size change?",
              app.AnswerBox("Confirm Time Block Change", IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(setup); }));
    Settle(1500);

    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(int(practice_tables.practice->defaultStart[6][0]), 72);
    EXPECT_EQ(int(practice_tables.practice->defaultEnd[6][0]), 276);
    EXPECT_EQ(practice_tables.blockUnits, 3);
    auto shown = OpenSamples(sheet, m, saturday, open);
    // Rows before 6 am or after 11 pm on the screen and the grid lines stay out of the count.
    EXPECT_GT(shown.first, shown.second / 4) << "Saturday shows open on the program's sheet";

    // Another workstation closes Saturday again: the program shows it after Refresh.
    ASSERT_TRUE(SetSaturday(-1, -1));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_REFRESH, 0), 0);
    Settle(1500);
    EXPECT_EQ(OpenSamples(sheet, m, saturday, open).first, 0) << "closed again after Refresh";

    // It opens Saturday again and announces a block change for it: the program's next poll of
    // its notices refreshes the practice's tables.
    ASSERT_TRUE(SetSaturday(96, 204));
    ASSERT_EQ(0, AnnounceChange(102, saturday, "XXXX", "XXXX", 0, kChangeTimeBlock));
    PostMessageA(main, kMsgAppointmentChanged, 0, 0);
    Settle(2000);
    shown = OpenSamples(sheet, m, saturday, open);
    EXPECT_GT(shown.first, 0) << "open again after the notice";
    ExitProgram(app, main);
}
