// The schedule sheet of the running program read back by its pixels: office hours, appointment
// boxes in their provider's colours with their status stripes, complete boxes grey, the clock row
// red, the week view's seven strips, and an appointment moved at another workstation showing at
// its new place after the notice (and not before). The test process computes where things must
// be with the same day data and layout code the program paints with, on the same database, and
// saves screenshots of the day and week views beside the test program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/fonts_win.h"
#include "app/date_controls_layout.h"
#include "app/refresh.h"
#include "app_run.h"
#include "screen_capture.h"
#include "sheet_model.h"
#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "../native/scripted_prompter.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/sheet_layout.h"
#include "views/sheet_state.h"

namespace {

std::string ColourText(COLORREF c) {
    if (c == CLR_INVALID) return "outside";
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

struct Found {
    const DayRecord* day = nullptr;
    const DayColumn* column = nullptr;
    const ApptDisplay* appointment = nullptr;
};

// The first appointment on the sheet that the test can see whole from its first row and that
// matches what is wanted.
template <typename Wanted>
Found FindAppointment(const SheetModel& model, Wanted wanted) {
    for (const DayRecord& day : day_data.days)
        for (const DayColumn& c : day.columns)
            for (const ApptDisplay& a : c.appointments)
                if (model.Visible(a.startUnit) && model.Visible(a.startUnit + a.length / 5 - 1) && wanted(a))
                    return {&day, &c, &a};
    return {};
}

}  // namespace

TEST(Sheet, DayViewShowsOfficeHoursBoxesInProviderColoursCompleteBoxesGreyAndTheClockRowRed) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel model;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, model, &main, &sheet));
    HWND time = Child(main, "SchTime");
    ASSERT_NE(nullptr, time);
    Settle(1500);
    const int32_t today = BookedDay();
    ASSERT_NE(0, today) << "the demo book has no open day with appointments this week";
    ShowDate(main, today);
    model.Load(today, kDayView, FirstShownTime());
    ASSERT_EQ(1u, day_data.days.size());
    Capture day_view(main);
    EXPECT_TRUE(day_view.Save(ScreenshotPath("day_view.bmp")));
    Capture shown(sheet);

    // Office hours: a free unit of the first operatory in open and in closed time.
    const DayRecord& day = day_data.days[0];
    const DayColumn* op = nullptr;
    for (const DayColumn& c : day.columns)
        if (c.kind == kOperatoryColumn && !op) op = &c;
    ASSERT_NE(nullptr, op);
    const DayHours hours = day_data.practiceHours[0];
    const int x = (op->left + op->right) / 2;
    int open_checked = 0, closed_checked = 0;
    for (int u = sheet_state.topUnit; u + 1 < kUnitsPerDay && model.Visible(u); u += practice_tables.blockUnits) {
        bool closed = day.closed != 0;
        for (const auto& [from, to] : ClosedStretches(hours)) closed |= u >= from && u < to;
        if (op->codes[u] != 0 || op->codes[u + 1] != 0) continue;
        const COLORREF expected = closed ? sheet_state.colours.background2 : sheet_state.colours.background1;
        EXPECT_EQ(ColourText(expected), ColourText(shown.At(x, model.MidRow(u))))
            << (closed ? "closed" : "open") << " unit " << u << " at " << x << "," << model.MidRow(u);
        (closed ? closed_checked : open_checked)++;
    }
    EXPECT_GT(open_checked, 0) << "no free open time was on the sheet";
    EXPECT_GT(closed_checked, 0) << "no closed time was on the sheet";

    // A box in its provider's colour with its status colour in the stripe.
    const Found box = FindAppointment(model, [](const ApptDisplay& a) { return a.status != kStatusComplete; });
    ASSERT_NE(nullptr, box.appointment) << "today's book has no visible appointment";
    const int top = model.Y(box.appointment->startUnit);
    EXPECT_EQ(ColourText(box.appointment->colour), ColourText(shown.At(box.column->left + model.W() + 2, top + model.R() / 2)))
        << "the box of appointment " << box.appointment->id;
    const uint32_t status_colour = practice_tables.statuses.colours[box.appointment->status];
    EXPECT_EQ(ColourText(status_colour ? status_colour : RGB(255, 255, 255)),
              ColourText(shown.At(box.column->left + 2, top + model.R() / 2)))
        << "the stripe of appointment " << box.appointment->id << " in status " << box.appointment->status;
    EXPECT_EQ(ColourText(RGB(0, 0, 0)), ColourText(shown.At(box.column->left, top + model.R() / 2))) << "the black frame";

    // A booked open day of last week: its appointments are complete and grey.
    int32_t past = 0;
    for (int32_t d = today - 7; d > today - 14 && past == 0; --d)
        if (HolidayKind(d) == 0 && !ReadDay(d).empty()) past = d;
    ASSERT_NE(0, past) << "no booked open day in the week before " << today;
    ShowDate(main, past);
    model.Load(past, kDayView, FirstShownTime());
    const Found done = FindAppointment(model, [](const ApptDisplay& a) { return a.status == kStatusComplete; });
    ASSERT_NE(nullptr, done.appointment) << "a week ago has complete appointments in view";
    {
        Capture past_view(sheet);
        const int y = model.Y(done.appointment->startUnit) + 1;
        EXPECT_EQ("128,128,128", ColourText(past_view.At(done.column->right - 3, y))) << "complete appointment "
                                                                                      << done.appointment->id;
    }
    // The clock row: the sheet is scrolled so that the current hour is the first row. The look is
    // taken again when the clock passed a five-minute mark meanwhile.
    SYSTEMTIME now, after;
    bool steady = false;
    for (int attempt = 0; attempt < 3 && !steady; ++attempt) {
        GetLocalTime(&now);
        SendMessageA(sheet, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, now.wHour * 12), 0);
        Settle();
        GetLocalTime(&after);
        steady = after.wMinute / 5 == now.wMinute / 5 && after.wHour == now.wHour;
    }
    ASSERT_TRUE(steady) << "the clock kept passing five-minute marks";
    {
        sheet_state.topUnit = now.wHour * 12;
        const int clock = CurrentTimeUnit(now.wHour, now.wMinute, practice_tables.blockUnits);
        Capture column(time);
        EXPECT_EQ("255,0,0", ColourText(column.At(2, model.MidRow(clock)))) << "the clock row of the time column";
        const int other = clock + practice_tables.blockUnits;
        ASSERT_TRUE(model.Visible(other)) << "the row after the clock row is in view";
        EXPECT_EQ("192,192,192", ColourText(column.At(2, model.MidRow(other)))) << "the next row";
    }
}

TEST(Sheet, WeekViewShowsSevenStripsWithTheirDaysHours) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel model;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, model, &main, &sheet));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_WEEK_VIEW, 0), 0);
    Settle(2000);
    const int32_t today = QVN_SysDate();
    model.Load(today, kWeekView, FirstShownTime());
    ASSERT_EQ(7u, day_data.days.size()) << "the default view shows every weekday";
    Capture week(main);
    EXPECT_TRUE(week.Save(ScreenshotPath("week_view.bmp")));
    Capture shown(sheet);
    for (size_t d = 0; d < day_data.days.size(); ++d) {
        const DayRecord& day = day_data.days[d];
        const DayHours hours = day_data.practiceHours[d];
        const DayColumn* op = nullptr;
        for (const DayColumn& c : day.columns)
            if (c.kind == kOperatoryColumn && !op) op = &c;
        ASSERT_NE(nullptr, op);
        EXPECT_EQ(ColourText(RGB(128, 128, 128)), ColourText(shown.At(day.columns.back().right, model.MidRow(sheet_state.topUnit))))
            << "the grey line after day " << d << "'s last column";
        int checked = 0;
        for (int u = sheet_state.topUnit; u + 1 < kUnitsPerDay && model.Visible(u) && checked < 3; u += practice_tables.blockUnits) {
            if (op->codes[u] != 0 || op->codes[u + 1] != 0) continue;
            bool closed = day.closed != 0 || (hours.flag & kDayClosed);
            for (const auto& [from, to] : ClosedStretches(hours)) closed |= u >= from && u < to;
            const COLORREF expected = closed ? sheet_state.colours.background2 : sheet_state.colours.background1;
            EXPECT_EQ(ColourText(expected), ColourText(shown.At((op->left + op->right) / 2, model.MidRow(u))))
                << day.shortCaption << " unit " << u;
            ++checked;
        }
        EXPECT_GT(checked, 0) << day.shortCaption;
    }
    // One step back shows the week before.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kDateBackCommand, 0), 0);
    Settle(1500);
    Capture before(main);
    EXPECT_TRUE(before.Save(ScreenshotPath("week_before.bmp")));
}

TEST(Sheet, AnAppointmentMovedAtAnotherWorkstationShowsAtItsNewPlaceOnlyAfterItsNotice) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=2", "NETWORK/STATION=4"});
    HWND main = nullptr, sheet = nullptr;
    SheetModel model;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, model, &main, &sheet));
    Settle(1500);
    const int32_t today = BookedDay();
    ASSERT_NE(0, today) << "the demo book has no open day with appointments this week";
    ShowDate(main, today);
    model.Load(today, kDayView, FirstShownTime());

    // An appointment and a free operatory at its time.
    Found moved;
    const DayColumn* target = nullptr;
    for (const DayRecord& day : day_data.days)
        for (const DayColumn& c : day.columns)
            for (const ApptDisplay& a : c.appointments) {
                if (moved.appointment || a.status == kStatusComplete || !model.Visible(a.startUnit)) continue;
                for (const DayColumn& other : day.columns) {
                    if (other.kind != kOperatoryColumn || &other == &c) continue;
                    bool free = true;
                    for (int u = a.startUnit; u < a.startUnit + std::max(a.length / 5, 1); ++u) free &= other.codes[u] < kBlockCodeBase;
                    if (free) {
                        moved = {&day, &c, &a};
                        target = &other;
                        break;
                    }
                }
            }
    ASSERT_NE(nullptr, moved.appointment) << "no appointment with a free operatory beside it";
    const uint32_t id = static_cast<uint32_t>(moved.appointment->id);
    const int y = model.Y(moved.appointment->startUnit) + model.R() / 2;
    const int old_x = moved.column->left + model.W() + 2;
    const int new_x = target->left + model.W() + 2;
    const std::string colour = ColourText(moved.appointment->colour);
    ASSERT_EQ(colour, ColourText(Capture(sheet).At(old_x, y))) << "appointment " << id << " before the move";
    char target_id[4];
    std::memcpy(target_id, target->id, 4);

    // The other workstation moves it through the appointment store.
    AppointmentRecord before{}, after{};
    ASSERT_EQ(kQdbOk, ReadAppointment(id, &before));
    after = before;
    std::memcpy(after.operatory, target_id, 4);
    {
        ScriptedPrompter yes;  // the other workstation's questions about its move
        for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
        ASSERT_TRUE(SaveAppointment(false, &before, after));
    }
    // A notice for a day that is not shown changes nothing on the sheet.
    ASSERT_EQ(0, AnnounceChange(110, today + 10, after.provider, after.operatory, id, kChangeArrived));
    Settle(4500);
    EXPECT_EQ(colour, ColourText(Capture(sheet).At(old_x, y))) << "no notice named today: the sheet still shows the old place";

    ASSERT_EQ(0, AnnounceChange(110, today, after.provider, after.operatory, id, kChangeArrived));
    EXPECT_TRUE(WaitUntil([&] { return ColourText(Capture(sheet).At(new_x, y)) == colour; }, 6000))
        << "within UpdateSpeed the sheet shows the appointment in its new operatory";
    EXPECT_NE(colour, ColourText(Capture(sheet).At(old_x, y))) << "and its old place free";
}
