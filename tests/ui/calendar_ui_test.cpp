// The schedule calendar in one run of the real program: the calendar button opens it on the shown
// date with the view's providers in its title, a day picked with the keys is shown, the next
// opening selects it; "Practice &Schedule..." opens the practice's calendar, closes
// a date and opens it again through the menu, and Escape closes it. The three menus as the
// program file carries them. Then the month view: a booked appointment's bar in its provider's
// colour at its time, and a click on it opening its day an hour before. Screenshots of both
// calendars and of the month view go beside the test program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/fonts_win.h"
#include "app_run.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "screen_capture.h"
#include "sheet_model.h"
#include "views/calendar.h"
#include "views/month_view.h"

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
    const POINT at = ToScreen(calendar, (index % 7) * width + 1, (index / 7 + 1) * height + height / 2);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return c;
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

    // The month view of a booked day: a demo appointment's bar in its provider's row, in the
    // provider's colour at its time; a press on it opens that day, its hour second from the top.
    HWND sheet = Child(main, "SchSheet");
    ASSERT_NE(nullptr, sheet);
    SheetModel model;
    ASSERT_TRUE(model.Open(app, sheet));
    AppFonts fonts;
    fonts.CreateAll();
    const int32_t booked = BookedDay();
    ASSERT_NE(0, booked) << "the demo book has no open day with appointments this week";
    ShowDate(main, booked);
    RECT client{};
    GetClientRect(sheet, &client);
    const int R = model.R(), rows = view_state.active.providerCount;
    // The day view's span as its time column found it: rows from the top down the window, not past
    // the day's last unit.
    int span = 0;
    for (int t = FirstShownTime(), y = 0; y < client.bottom && t < kUnitsPerDay; t += practice_tables.blockUnits, y += R)
        span = t - FirstShownTime();
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_MONTH_VIEW, 0), 0);
    Settle(2000);
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, CMD_MONTH_VIEW), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(main, CMD_DAY_VIEW), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(Capture(main).Save(ScreenshotPath("month_view.bmp")));

    int band = 0;
    const int bands = static_cast<int>(MonthBandDates(booked, view_state.active.days, &band).size());
    LoadShownDays(ShownDatesOf(booked, kMonthView), kMonthView);
    ASSERT_EQ(booked, day_data.days.at(static_cast<size_t>(band)).date);
    const int first_band = MonthFirstBand(bands, band, rows * R, client.bottom);
    const MonthAxis axis = MakeMonthAxis(client.right, fonts.LargerXWidth(sheet), view_state.active.showAmount,
                                         view_state.active.beginTime, view_state.active.endTime);
    // A single booking of a provider of the view, inside the time axis.
    int row = -1, unit = -1;
    COLORREF colour = 0;
    for (const AppointmentRecord& a : ReadDay(booked)) {
        const DayRecord& day = day_data.days[static_cast<size_t>(band)];
        const int s = StartUnit(a);
        for (size_t r = 0; r < day.columns.size() && row < 0; ++r) {
            const DayColumn& c = day.columns[r];
            if (std::memcmp(c.id, a.provider, 4) != 0 || s < axis.ms || s + 1 >= axis.me) continue;
            if (c.codes[s] != 1 || c.codes[s + 1] != 1 || s % kUnitsPerHour == 11) continue;
            row = static_cast<int>(r);
            unit = s;
            colour = c.colour;
        }
    }
    ASSERT_GE(row, 0) << "no single booking of a shown provider on " << QVN_fmtDateString2000(booked);
    const POINT bar{(axis.X(unit) + axis.X(unit + 1)) / 2, (band - first_band) * rows * R + row * R + R / 2};
    ASSERT_LT(bar.y, client.bottom) << "the booked band is shown";
    EXPECT_EQ(colour, Capture(sheet).At(bar.x, bar.y)) << "the bar at " << unit / 12 << ":" << unit % 12 * 5;

    Click(sheet, bar);
    Settle(2000);
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(main, CMD_DAY_VIEW), BM_GETCHECK, 0, 0));
    const int top = MonthClickTopUnit(unit, span, FirstShownTime());
    model.Load(booked, kDayView, top);
    const DayColumn* provider = nullptr;
    for (const DayColumn& c : day_data.days.at(0).columns)
        if (c.kind == kProviderColumn && c.colour == colour) provider = &c;
    ASSERT_NE(nullptr, provider);
    const Capture day_view(sheet);
    EXPECT_EQ(colour, day_view.At((provider->left + provider->right) / 2, model.MidRow(unit)))
        << "the booking in the day view of its date, " << top / 12 << ":00 at the top";
}
