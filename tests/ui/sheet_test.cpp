// The schedule sheet of the running program read back by its pixels, in one start: office hours,
// an appointment box in its provider's colour with its status stripe, an appointment moved at
// another workstation showing at its new place after the notice (and not before), complete boxes
// grey, the week view's seven strips and the clock row red. The test process finds where to look
// with the same day data and layout code the program paints with, on the same database, and saves
// screenshots of the day and week views beside the test program.

#include <map>

#include "app/date_controls_layout.h"
#include "app/refresh.h"
#include "screen_capture.h"
#include "sheet_model.h"

namespace {

std::string ColourText(COLORREF c) {
    if (c == CLR_INVALID) return "outside";
    return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

// The first free unit of the day's first operatory in open time and the first in closed time, in
// the sheet's two background colours; 1 when an open unit was checked, 2 a closed one, 3 both.
int ExpectHours(const Capture& shown, const SheetModel& model, size_t d) {
    const DayRecord& day = day_data.days[d];
    const DayHours hours = day_data.practiceHours[d];
    const DayColumn* op = nullptr;
    for (const DayColumn& c : day.columns)
        if (c.kind == kOperatoryColumn && !op) op = &c;
    if (!op) return 0;
    int seen = 0;
    for (int u = sheet_state.topUnit; u + 1 < kUnitsPerDay && model.Visible(u); u += practice_tables.blockUnits) {
        bool closed = day.closed != 0 || (hours.flag & kDayClosed);
        for (const auto& [from, to] : ClosedStretches(hours)) closed |= u >= from && u < to;
        if (op->codes[u] != 0 || op->codes[u + 1] != 0 || (seen & (closed ? 2 : 1))) continue;
        seen |= closed ? 2 : 1;
        EXPECT_EQ(ColourText(closed ? sheet_state.colours.background2 : sheet_state.colours.background1),
                  ColourText(shown.At((op->left + op->right) / 2, model.MidRow(u))))
            << day.shortCaption << (closed ? " closed" : " open") << " unit " << u;
    }
    return seen;
}

// The colour most pixels of a time column row show: the strokes of its label are the fewer (a
// two-digit hour's label reaches the column's left edge).
std::string RowColour(HWND time, const Capture& column, const SheetModel& model, int unit) {
    RECT r;
    GetClientRect(time, &r);
    std::map<COLORREF, int> seen;
    for (int y = model.Y(unit) + 1; y < model.Y(unit) + model.R() - 1; ++y)
        for (int x = 0; x < r.right; ++x) ++seen[column.At(x, y)];
    return ColourText(std::max_element(seen.begin(), seen.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first);
}

}  // namespace

TEST(Sheet, DayAndWeekViewsShowHoursBoxesAMoveAfterItsNoticeCompleteBoxesGreyAndTheClockRowRed) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=2", "NETWORK/STATION=4"});
    HWND main = nullptr, sheet = nullptr;
    SheetModel model;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, model, &main, &sheet));
    HWND time = Child(main, "SchTime");
    ASSERT_NE(nullptr, time);
    Settle(1500);
    int32_t today = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, model, 1, &today));
    ASSERT_EQ(1u, day_data.days.size());
    EXPECT_TRUE(Capture(main).Save(ScreenshotPath("day_view.bmp")));
    {
        const Capture shown(sheet);
        EXPECT_EQ(3, ExpectHours(shown, model, 0)) << "free open and closed time on the sheet";
        // A box in its provider's colour with its status colour in the stripe and a black frame.
        const Box box = FindBox(model, [](const DayColumn&, const ApptDisplay& a) { return a.status != kStatusComplete; });
        ASSERT_NE(nullptr, box.column) << "today's book has no visible appointment";
        const int y = model.MidRow(box.a.startUnit);
        EXPECT_EQ(ColourText(box.a.colour), ColourText(shown.At(box.column->left + model.W() + 2, y))) << box.a.id;
        const uint32_t status_colour = practice_tables.statuses.colours[box.a.status];
        EXPECT_EQ(ColourText(status_colour ? status_colour : RGB(255, 255, 255)), ColourText(shown.At(box.column->left + 2, y)))
            << "the stripe of appointment " << box.a.id << " in status " << box.a.status;
        EXPECT_EQ(ColourText(RGB(0, 0, 0)), ColourText(shown.At(box.column->left, y))) << "the black frame";
    }

    // Another workstation moves an appointment into a free operatory at its time.
    const DayColumn* target = nullptr;
    const Box moved = FindBox(model, [&](const DayColumn& c, const ApptDisplay& a) {
        return a.status != kStatusComplete && (target = FreeColumn(a.startUnit, a.startUnit + std::max(a.length / 5, 1), &c));
    });
    ASSERT_NE(nullptr, moved.column) << "no appointment with a free operatory beside it";
    const uint32_t id = static_cast<uint32_t>(moved.a.id);
    const int y = model.MidRow(moved.a.startUnit);
    const int old_x = moved.column->left + model.W() + 2, new_x = target->left + model.W() + 2;
    const std::string colour = ColourText(moved.a.colour);
    ASSERT_EQ(colour, ColourText(Capture(sheet).At(old_x, y))) << "appointment " << id << " before the move";
    ASSERT_TRUE(ChangeElsewhere(id, [&](AppointmentRecord& a) { std::memcpy(a.operatory, target->id, 4); }));
    // A notice for a day that is not shown changes nothing on the sheet.
    ASSERT_EQ(0, AnnounceChange(110, today + 10, moved.a.provider, target->id, id, kChangeArrived));
    Settle(4500);
    EXPECT_EQ(colour, ColourText(Capture(sheet).At(old_x, y))) << "no notice named today: the sheet still shows the old place";
    ASSERT_EQ(0, AnnounceChange(110, today, moved.a.provider, target->id, id, kChangeArrived));
    EXPECT_TRUE(WaitUntil([&] { return ColourText(Capture(sheet).At(new_x, y)) == colour; }, 6000))
        << "within UpdateSpeed the sheet shows the appointment in its new operatory";
    EXPECT_NE(colour, ColourText(Capture(sheet).At(old_x, y))) << "and its old place free";

    // A booked open day of last week: its appointments are complete and grey.
    int32_t past = 0;
    for (int32_t d = today - 7; d > today - 14 && past == 0; --d)
        if (HolidayKind(d) == 0 && !ReadDay(d).empty()) past = d;
    ASSERT_NE(0, past) << "no booked open day in the week before " << today;
    ShowDate(main, past);
    model.Load(past, kDayView, FirstShownTime());
    const Box done = FindBox(model, [](const DayColumn&, const ApptDisplay& a) { return a.status == kStatusComplete; });
    ASSERT_NE(nullptr, done.column) << "a week ago has complete appointments in view";
    EXPECT_EQ("128,128,128", ColourText(Capture(sheet).At(done.column->right - 3, model.Y(done.a.startUnit) + 1)))
        << "complete appointment " << done.a.id;

    // The week view: seven strips, each with its hours and a grey line after its last column.
    ShowDate(main, QVN_SysDate());
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_WEEK_VIEW, 0), 0);
    Settle(2000);
    model.Load(QVN_SysDate(), kWeekView, FirstShownTime());
    ASSERT_EQ(7u, day_data.days.size()) << "the default view shows every weekday";
    EXPECT_TRUE(Capture(main).Save(ScreenshotPath("week_view.bmp")));
    {
        const Capture shown(sheet);
        for (size_t d = 0; d < day_data.days.size(); ++d) {
            const DayRecord& day = day_data.days[d];
            EXPECT_EQ("128,128,128", ColourText(shown.At(day.columns.back().right, model.MidRow(sheet_state.topUnit))))
                << "the grey line after day " << d << "'s last column";
            EXPECT_NE(0, ExpectHours(shown, model, d)) << day.shortCaption;
        }
    }

    // The clock row, back in the day view: the sheet is scrolled so that the current hour is the
    // first row. The look is taken again when the clock passed a five-minute mark meanwhile.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_DAY_VIEW, 0), 0);
    Settle(1500);
    SYSTEMTIME now, later;
    bool steady = false;
    for (int attempt = 0; attempt < 3 && !steady; ++attempt) {
        GetLocalTime(&now);
        SendMessageA(sheet, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, now.wHour * 12), 0);
        Settle();
        GetLocalTime(&later);
        steady = later.wMinute / 5 == now.wMinute / 5 && later.wHour == now.wHour;
    }
    ASSERT_TRUE(steady) << "the clock kept passing five-minute marks";
    sheet_state.topUnit = now.wHour * 12;
    const int clock = CurrentTimeUnit(now.wHour, now.wMinute, practice_tables.blockUnits);
    const Capture column(time);
    EXPECT_EQ("255,0,0", RowColour(time, column, model, clock)) << "the clock row of the time column";
    ASSERT_TRUE(model.Visible(clock + practice_tables.blockUnits)) << "the row after the clock row is in view";
    EXPECT_EQ("192,192,192", RowColour(time, column, model, clock + practice_tables.blockUnits)) << "the next row";
}
