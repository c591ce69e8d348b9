// Provider setup in one run of the real program: "P&rovider Setup..." is enabled and opens the
// chooser, DR1's setup adds a time block typed and picked by keys and clicks, OK saves it, and
// with Ideal Day on the sheet draws the block's frame in its colour in its operatory's column.

#include "sheet_model.h"
#include "suite/window_services_win.h"

namespace {

// Picks a time in the "Select Time" dialog that a " >>" opened (at 12:00 for a block without
// times): page steps of an hour by key, then Enter.
void PickHourBy(AppRun& app, WORD key, int pages) {
    HWND picker = app.WaitForDialog("Select Time");
    ASSERT_NE(nullptr, picker);
    BringToFront(picker);  // the bar has the focus
    for (int i = 0; i < pages; ++i) PressKey(key);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }));
}

}  // namespace

TEST(ProviderSetupUi, AddABlockByHandAndSeeItOnTheIdealDaySheet) {
    AppRun app("", Practice::kDemo);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));

    // The first open day from today on which DR1 works, shown.
    const int dr1 = FindProviderIndex("DR1 ");
    ASSERT_GE(dr1, 0);
    int32_t day = 0;
    for (int32_t d = QVN_SysDate(); d < QVN_SysDate() + 7 && !day; ++d)
        if (HolidayKind(d) == 0 && GetProviderHours(dr1, {d})[0].start[0] >= 0) day = d;
    ASSERT_NE(0, day);
    const int w = WeekdayIndex(day);
    ShowDate(main, day);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_PROVIDER_SETUP, 0), 0);
    HWND chooser = app.WaitForDialog("Provider Setup");
    ASSERT_NE(nullptr, chooser);
    ASSERT_EQ("DR1 ", ListBoxLine(chooser, IDC_PROVSEL_LIST, 0));
    ClickControl(chooser, IDOK);
    EXPECT_EQ("No Provider Selected!", app.AnswerBox("Appointment Book"));
    SendDlgItemMessageA(chooser, IDC_PROVSEL_LIST, LB_SETCURSEL, 0, 0);
    BringToFront(chooser);  // the refusal's box gave the activation back to the main window
    ClickControl(chooser, IDOK);
    HWND setup = app.WaitForDialog("Provider Setup [DR1 ]");
    ASSERT_NE(nullptr, setup) << (app.AnswerAll().empty() ? "no message" : "a message came");
    ASSERT_EQ(2, ListCount(setup, IDC_PROVSET_BLOCKS));

    // A new block: its name typed, the weekday ticked, 9:00 to 10:00 picked, OP2 chosen.
    ClickControl(setup, IDC_PROVSET_ADD);
    HWND block = app.WaitForDialog("Block Settings");
    ASSERT_NE(nullptr, block);
    ClickControl(block, IDC_SETBLOCK_NAME);
    TypeText("xray");
    ClickControl(block, IDC_SETBLOCK_SUNDAY + w);
    ClickControl(block, IDC_SETBLOCK_START_PICK + 2 * w);
    ASSERT_NO_FATAL_FAILURE(PickHourBy(app, VK_PRIOR, 3));
    ClickControl(block, IDC_SETBLOCK_START_PICK + 2 * w + 1);
    ASSERT_NO_FATAL_FAILURE(PickHourBy(app, VK_PRIOR, 2));
    EXPECT_EQ(" 9:00 am", ControlText(block, IDC_SETBLOCK_START + 2 * w));
    EXPECT_EQ("10:00 am", ControlText(block, IDC_SETBLOCK_START + 2 * w + 1));
    ClickControl(block, IDC_SETBLOCK_OPERATORY);
    Settle(300);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    Settle(300);
    ASSERT_EQ(2, SendDlgItemMessageA(block, IDC_SETBLOCK_OPERATORY, CB_GETCURSEL, 0, 0)) << "OP2";
    // The colour through the control's own message: the colour dialog is not ours to drive.
    const COLORREF colour = RGB(0, 128, 255);
    SendDlgItemMessageA(block, IDC_SETBLOCK_COLOUR, kColorButtonSetColour, 0, static_cast<LPARAM>(colour));
    ASSERT_TRUE(ClickToClose(block, IDOK)) << app.AnswerAll().size();
    EXPECT_EQ(3, ListCount(setup, IDC_PROVSET_BLOCKS));
    EXPECT_EQ("xray", ListBoxLine(setup, IDC_PROVSET_BLOCKS, 2));
    ASSERT_TRUE(ClickToClose(setup, IDOK));
    ASSERT_TRUE(ClickToClose(chooser, IDCANCEL));

    // Saved for every workstation: the tables read again here show it.
    ASSERT_TRUE(LoadPracticeTables());
    const ProviderInfo& saved = practice_tables.providers[static_cast<size_t>(dr1)];
    EXPECT_STREQ("xray", saved.blockNames[2]);
    EXPECT_EQ(9 * 12, +saved.blockStart[w][2]);
    EXPECT_EQ(10 * 12, +saved.blockEnd[w][2]);
    EXPECT_EQ(0, std::memcmp("OP2 ", saved.blockOperatory[2], 4));
    EXPECT_EQ(colour, +saved.blockColour[2]);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
    sheet_state.idealDay = true;
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    const DayColumn* op2 = nullptr;
    for (const DayColumn& c : day_data.days[0].columns)
        if (c.kind == kOperatoryColumn && std::memcmp(c.id, "OP2 ", 4) == 0) op2 = &c;
    ASSERT_NE(nullptr, op2) << "OP2 is shown";
    ASSERT_TRUE(m.Visible(9 * 12, 10 * 12));
    const int mid = m.MidRow(9 * 12 + practice_tables.blockUnits);
    EXPECT_EQ(colour, ScreenPixel(sheet, op2->left + 1, mid)) << "the block's left edge";
    EXPECT_EQ(colour, ScreenPixel(sheet, op2->right - 2, mid)) << "the block's right edge";
    EXPECT_NE(colour, ScreenPixel(sheet, op2->left + 1, m.MidRow(11 * 12))) << "nothing after its end";
    ExitProgram(app, main);
}
