// What the month view's windows work from: the bands of a month loaded from a real practice, a
// booked appointment's bar in its band, the press that finds band and hour, the first and last
// band shown, and the texts of bands, title and hours.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "views/day_data.h"
#include "views/month_view.h"
#include "views/sheet_state.h"

namespace {

class MonthViewWindows : public DemoPracticeTest {
protected:
    void TearDown() override { FreeDays(); }
};

}  // namespace

TEST_F(MonthViewWindows, ABookedAppointmentIsABarInItsBandAndAClickOnItOpensItsDayAnHourEarlier) {
    ShowOnly({"DR1", "DR2"}, {"OP1"});
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    std::copy(std::begin(mon_fri), std::end(mon_fri), view_state.active.days);
    const int32_t fifth = QVN_DateIn(3, 5, 2027);  // a Friday
    ASSERT_NO_FATAL_FAILURE(Book(DemoAppt(2701, fifth, 10, 20, 30, "DR1", "OP1")));

    // The month of any of its dates: one band per weekday Monday to Friday, only provider rows.
    LoadShownDays(ShownDatesOf(QVN_DateIn(3, 20, 2027), kMonthView), kMonthView);
    ASSERT_EQ(23u, day_data.days.size());
    int band = -1;
    for (size_t i = 0; i < day_data.days.size(); ++i) {
        const DayRecord& d = day_data.days[i];
        EXPECT_TRUE(d.weekday >= 2 && d.weekday <= 6) << QVN_fmtDateString2000(d.date);
        ASSERT_EQ(2u, d.columns.size()) << "no operatory rows in the month view";
        EXPECT_EQ(kProviderColumn, d.columns[1].kind);
        if (d.date == fifth) band = static_cast<int>(i);
    }
    ASSERT_EQ(4, band);
    const DayColumn& dr1 = day_data.days[4].columns[0];
    EXPECT_EQ(0, std::memcmp(dr1.id, "DR1 ", 4));
    EXPECT_EQ(10000, dr1.dayAmount);

    // 8:00 to 17:00 on a sheet 1000 wide: the booked half hour is one bar in DR1's row, none in DR2's.
    const MonthAxis axis = MakeMonthAxis(1000, 7, true, 96, 204);
    const std::vector<MonthBar> bars = MonthBars(axis, dr1.codes);
    ASSERT_EQ(1u, bars.size());
    EXPECT_EQ(std::tuple(axis.X(124), axis.X(130), 1), std::tuple(bars[0].left, bars[0].right, bars[0].counter));
    EXPECT_TRUE(MonthBars(axis, day_data.days[4].columns[1].codes).empty());

    // The 5th's band third from the top (two rows of 16 each): a press at 10:20 on its second row
    // is the 5th's 10:00 hour, and the day view opens at 9:00.
    const int band_height = 2 * 16, first = 2;
    MonthHit hit;
    ASSERT_TRUE(MonthSheetHit(axis, first, 23, band_height, axis.X(124) + 1, 2 * band_height + 20, &hit));
    EXPECT_EQ(fifth, day_data.days[static_cast<size_t>(hit.band)].date);
    EXPECT_EQ(120, hit.hourUnit);
    EXPECT_EQ(108, MonthClickTopUnit(hit.hourUnit, 120, 96));
}

TEST(MonthViewPlaces, PressesFirstAndLastBandsAndTexts) {
    const MonthAxis on = MakeMonthAxis(1000, 7, true, 84, 228);
    // The first row of the first shown band; its last pixel at 10:55; the next band at 11:00;
    // the caption box, the amount column, below the last band.
    const struct { int x, y; bool hit; int band, hour; } presses[] = {
        {on.X(125), 0, true, 3, 120}, {on.X(131) - 1, 39, true, 3, 120}, {on.X(132), 40, true, 4, 132},
        {34, 10, false, -1, -1},      {958, 10, false, -1, -1},         {on.X(125), 20 * 40, false, -1, -1},
        {on.X(125), -1, false, -1, -1},
    };
    for (const auto& p : presses) {
        MonthHit hit;
        const bool found = MonthSheetHit(on, 3, 23, 40, p.x, p.y, &hit);
        EXPECT_EQ(std::tuple(p.hit, p.band, p.hour), std::tuple(found, hit.band, hit.hourUnit)) << p.x << "," << p.y;
    }
    // Ten whole bands; no further than the last; a band taller than the sheet still shows; none.
    const struct { int first, bands, height, last; } lasts[] = {{0, 23, 400, 9}, {18, 23, 400, 22}, {0, 23, 30, 0}, {0, 0, 400, -1}};
    for (const auto& l : lasts) EXPECT_EQ(l.last, MonthLastBand(l.first, l.bands, 40, l.height)) << l.first;

    // A new month from its 28th (band 19 of 23, Monday to Friday, March 2027): the last ten bands.
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    StartMonthScroll(23, 19, 40, 400, mon_fri);
    EXPECT_EQ(std::tuple(13, 22, 5), std::tuple(month_view.scroll.first, month_view.scroll.last, month_view.scroll.page));
    EXPECT_FALSE(month_view.scroll.LineDown()) << "nothing past the last band";

    EXPECT_EQ("Fr 5|Mo 10|March 2027", MonthBandLabel(QVN_DateIn(3, 5, 2027)) + "|" + MonthBandLabel(QVN_DateIn(5, 10, 2027)) + "|" +
                                           MonthTitle(QVN_DateIn(3, 5, 2027)));
    const struct { int unit; const char* label; } hours[] = {{96, " 8a"}, {144, "12p"}, {156, " 1p"}, {0, "12a"}, {276, "11p"}};
    for (const auto& h : hours) EXPECT_EQ(h.label, MonthHourLabel(h.unit)) << h.unit;
}
