// The schedule calendar's window under Wine, opened directly over the demo practice: the colours
// of a holiday, a closed date and a vacation in a provider's calendar, the refusals of its menu,
// the refresh command its owner gets on closing; and in the date-picking mode the amounts' refusal.
#include <gtest/gtest.h>

#include <string>

#include "../native/practice_test_database.h"
#include "../native/scripted_prompter.h"
#include "../ui/screen_capture.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "views/active_view.h"
#include "views/calendar.h"
#include "views/calendar_win.h"
#include "win_harness.h"

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);

// The colour in the middle of a day's cell, inside its frame, left of any text: the calendar is 7 cells and 8
// pixels wide, and its client area 7 rows of cells over a button row.
COLORREF CellColour(HWND calendar, const ShownPixels& shown, int day) {
    RECT frame{}, client{};
    GetWindowRect(calendar, &frame);
    GetClientRect(calendar, &client);
    const int width = (frame.right - frame.left - 8) / 7;
    const int height = (client.bottom - 32) / 7;
    const int index = WeekdayIndex(QVN_DateIn(12, 1, 2026)) + day - 1;
    return shown[static_cast<size_t>((index / 7 + 1) * height + height / 2)][static_cast<size_t>((index % 7) * width + 1)];
}

class CalendarWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(kMonday, &reason)) << reason;
        ASSERT_TRUE(LoadPracticeTables());
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override {
        if (OpenCalendarWindow()) DestroyWindow(OpenCalendarWindow());
    }
    PracticeTestDatabase db_;
    RecordingWindow owner_window_{WM_COMMAND, WS_OVERLAPPEDWINDOW, RECT{100, 100, 900, 700}};  // the calendar's owner
    HWND owner_ = owner_window_.Window();
};

}  // namespace

TEST_F(CalendarWindow, ProviderCalendarShowsHolidayClosedDateAndVacation) {
    ScriptedPrompter prompter;
    // The practice closes Wednesday the 9th; DR1 takes Thursday the 10th off.
    CalendarMonth practice;
    practice.mode = kCalendarPractice;
    practice.resource = {'-', 'P', 'R', '-'};
    practice.place = {2026, 12, 1, false};
    LoadCalendarMonth(&practice);
    ASSERT_EQ(CalendarChange::kWritten, CloseCalendarDate(practice, 9));
    CalendarMonth dr1 = practice;
    dr1.mode = kCalendarProvider;
    dr1.resource = {'D', 'R', '1', ' '};
    LoadCalendarMonth(&dr1);
    ASSERT_EQ(CalendarChange::kWritten, CloseCalendarDate(dr1, 10));

    ASSERT_EQ(1, OpenCalendar(owner_, GetModuleHandleA(nullptr), QVN_DateIn(12, 1, 2026), false, kCalendarProvider, "DR1 "));
    EXPECT_EQ(0, OpenCalendar(owner_, GetModuleHandleA(nullptr), 0, false, kCalendarPractice, nullptr)) << "one at a time";
    HWND calendar = OpenCalendarWindow();
    ASSERT_NE(calendar, nullptr);
    char title[80] = {};
    GetWindowTextA(calendar, title, sizeof title);
    EXPECT_STREQ("Schedule Calendar for DR1", title);

    const ShownPixels shown = Shown(calendar);
    EXPECT_TRUE(Capture(calendar).Save(ScreenshotPath("calendar_provider.bmp")));
    EXPECT_EQ(COLORREF{0x009191FF}, CellColour(calendar, shown, 25)) << "Christmas: pink";
    EXPECT_EQ(COLORREF{0x00DCDCDC}, CellColour(calendar, shown, 9)) << "practice closed: grey";
    EXPECT_EQ(COLORREF{0x00C89191}, CellColour(calendar, shown, 10)) << "vacation: blue-grey";
    EXPECT_EQ(COLORREF{0x00DCDCDC}, CellColour(calendar, shown, 13)) << "a Sunday: closed every week";
    // (A plain day, the selected one and a closed one selected are read on the real program's calendar.)

    // Right and Down to the 9th, where the practice is closed: no vacation there. (The selection
    // following the arrow keys is read on the real program's calendar.)
    SendMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(calendar, WM_KEYDOWN, VK_DOWN, 0);
    prompter.Answer(kAnswerOk);
    SendMessageA(calendar, WM_COMMAND, CMD_CAL_CLOSE_DATE, 0);
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("The practice is closed on the selected date.", prompter.Asked()[0].text);

    // "&Delete Vacation day" on the 10th: plain again, and stored so.
    SendMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(calendar, WM_COMMAND, CMD_CAL_OPEN_DATE, 0);
    SendMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(COLORREF{0x00C0C0C0}, CellColour(calendar, Shown(calendar), 10));
    LoadCalendarMonth(&dr1);
    EXPECT_EQ(CalendarShade::kPlain, CalendarShadeOf(kCalendarProvider, dr1.day[9]));

    // Closing tells the owner to refresh (command 128).
    SendMessageA(calendar, WM_COMMAND, IDCANCEL, 0);
    PumpFor(100);
    EXPECT_EQ(nullptr, OpenCalendarWindow());
    EXPECT_EQ(std::vector<int>{128}, owner_window_.Commands());
}

// (Picking a date with the keys is driven on the real program's calendar.)
TEST_F(CalendarWindow, TheScheduledProductionOfADatePickerWithoutProviders) {
    ScriptedPrompter prompter;
    view_state.active = ActiveView{};
    ASSERT_EQ(1, OpenCalendar(owner_, GetModuleHandleA(nullptr), kMonday, false, kCalendarPickDate, nullptr));
    HWND calendar = OpenCalendarWindow();
    ASSERT_NE(calendar, nullptr);
    prompter.Answer(kAnswerOk);
    SendMessageA(calendar, WM_COMMAND, CMD_CAL_SCHEDULED_PRODUCTION, 0);
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("No providers selected. Action canceled.", prompter.Asked()[0].text);
    EXPECT_EQ("Appointment Book", prompter.Asked()[0].title);
    EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);
}
