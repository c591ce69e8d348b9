// The schedule calendar in one run of the real program: the calendar button opens it on the shown
// date with the view's providers in its title, a day picked with the keys is shown, the next
// opening selects it; "Practice &Schedule..." opens the practice's calendar, closes
// a date and opens it again through the menu, and Escape closes it. The three menus as the
// program file carries them. Then the month view. Screenshots of both calendars and of the month
// view go beside the test program.

#include "screen_capture.h"
#include "sheet_model.h"
#include "views/calendar.h"

namespace {

// The screen's colour in the middle of a day's cell, inside its frame, left of any text: the calendar is 7
// cells and 8 pixels wide, and its client area 7 rows of cells over a button row 32 high.
COLORREF CellColour(HWND calendar, int32_t first_of_month, int day) {
    RECT frame{}, client{};
    GetWindowRect(calendar, &frame);
    GetClientRect(calendar, &client);
    const int width = (frame.right - frame.left - 8) / 7;
    const int height = (client.bottom - 32) / 7;
    const int index = QVN_week_day(first_of_month) - 1 + day - 1;
    return ScreenPixel(calendar, (index % 7) * width + 1, (index / 7 + 1) * height + height / 2);
}

std::string Menu(HMODULE program, const char* name) {
    HMENU menu = LoadMenuA(program, name);
    std::string texts;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
        texts += MenuText(menu, static_cast<UINT>(i)) + "=" + std::to_string(GetMenuItemID(menu, i)) + ";";
    if (menu) DestroyMenu(menu);
    return texts;
}

}  // namespace

TEST(CalendarUi, PickADateAndEditThePracticeSchedule) {
    {
        ProgramResources program;
        ASSERT_NE(nullptr, program.Module());
        EXPECT_EQ("&Scheduled Production=630;", Menu(program.Module(), "CALMENU"));
        EXPECT_EQ("&Close Office on selected date=632;O&pen Office=634;&Set Yearly Holiday on selected day=631;"
                  "&Delete Holiday=633;",
                  Menu(program.Module(), "CALMENU2"));
        EXPECT_EQ("&Set Vacation on selected date=632;&Delete Vacation day=634;"
                  "&Reset Hours to default on selected date=635;",
                  Menu(program.Module(), "CALMENU3"));
    }
    AppRun app("", Practice::kDemoBook);
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    // Monday 1 March 2027: the month's first day; the Tuesday after it is an open day.
    const int32_t first = QVN_DateIn(3, 1, 2027);
    ASSERT_EQ(2, QVN_week_day(first));
    ShowDate(main, first);
    const int day = 1;

    // The calendar button: the month of the shown date, that date selected.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(203, 0), 0);
    HWND calendar = app.WaitForWindow("APPT_Calendar");
    ASSERT_NE(nullptr, calendar);
    EXPECT_EQ(0u, WindowText(calendar).find("Calendar for DR1, DR2")) << WindowText(calendar);
    Settle(500);
    EXPECT_TRUE(Capture(calendar).Save(ScreenshotPath("calendar_pick.bmp")));
    EXPECT_EQ(COLORREF{0x003F3F3F}, CellColour(calendar, first, day)) << "the shown date, selected";
    EXPECT_EQ(COLORREF{0x00C0C0C0}, CellColour(calendar, first, day + 1));
    PostMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageA(calendar, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));
    Settle(1000);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(203, 0), 0);
    calendar = app.WaitForWindow("APPT_Calendar");
    ASSERT_NE(nullptr, calendar);
    Settle(500);
    EXPECT_EQ(COLORREF{0x003F3F3F}, CellColour(calendar, first, day + 1)) << "the picked date is shown now";
    PostMessageA(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));

    // The practice's calendar: close the selected Tuesday, see it grey, open it again.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_PRACTICE_SCHEDULE, 0), 0);
    calendar = app.WaitForWindow("APPT_Calendar");
    ASSERT_NE(nullptr, calendar);
    EXPECT_EQ("Schedule Calendar for Practice", WindowText(calendar));
    Settle(500);
    EXPECT_TRUE(Capture(calendar).Save(ScreenshotPath("calendar_practice.bmp")));
    PostMessageA(calendar, WM_COMMAND, MAKEWPARAM(CMD_CAL_CLOSE_DATE, 0), 0);
    Settle(800);
    EXPECT_EQ(COLORREF{0x00232323}, CellColour(calendar, first, day + 1)) << "closed: grey, inverted while selected";
    PostMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    Settle(500);
    EXPECT_EQ(COLORREF{0x00DCDCDC}, CellColour(calendar, first, day + 1));
    PostMessageA(calendar, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageA(calendar, WM_COMMAND, MAKEWPARAM(CMD_CAL_OPEN_DATE, 0), 0);
    PostMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    Settle(800);
    EXPECT_EQ(COLORREF{0x00C0C0C0}, CellColour(calendar, first, day + 1));
    PostMessageA(calendar, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(calendar); }));

    // The month view: its button pressed instead of the day view's. (Where its bars lie and the
    // day a click opens are the month view's arithmetic, checked natively.)
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_MONTH_VIEW, 0), 0);
    Settle(2000);
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, CMD_MONTH_VIEW), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(main, CMD_DAY_VIEW), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(Capture(main).Save(ScreenshotPath("month_view.bmp")));
}
