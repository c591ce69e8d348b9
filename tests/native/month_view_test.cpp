// The month view: its bands, time axis, bars, click and scrolling, and what its windows work
// from: the bands of a month loaded from the demo practice with a booked appointment's bar in its
// band, the press that finds band and hour, the first and last band shown, and the texts.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "views/day_data.h"
#include "views/month_view.h"
#include "views/sheet_state.h"

TEST(MonthView, BandsOfAMonthAndTheFirstShown) {
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    int reference = -1;
    // Monday to Friday: 21 bands in October 2027 (March's 23, never a weekend day, are loaded from
    // the demo practice below).
    const std::vector<int32_t> march = MonthBandDates(QVN_DateIn(3, 6, 2027), mon_fri, &reference);
    // Saturday 6 March 2027 has no band: Monday the 8th is the reference band.
    EXPECT_EQ(QVN_DateIn(3, 8, 2027), march.at(static_cast<size_t>(reference)));
    EXPECT_EQ(21u, MonthBandDates(QVN_DateIn(10, 1, 2027), mon_fri, &reference).size());
    // Sundays only, from Wednesday 31 March: nothing follows, the last band is the reference.
    const int sundays[kViewDays] = {1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(4u, MonthBandDates(QVN_DateIn(3, 31, 2027), sundays, &reference).size());
    EXPECT_EQ(3, reference);

    // All fit; ten whole bands fit and the reference leaves enough below it; near the end the last ten.
    const struct { int bands, reference, height, first; } firsts[] = {{23, 10, 23 * 40, 0}, {23, 10, 400, 10}, {23, 20, 400, 13}};
    for (const auto& f : firsts) EXPECT_EQ(f.first, MonthFirstBand(f.bands, f.reference, 40, f.height)) << f.reference;
}

TEST(MonthView, AxisBarsAndTheClick) {
    // 7:00 to 19:00, "x" 7 pixels wide: the caption box 35, the amount column 42.
    const MonthAxis off = MakeMonthAxis(1000, 7, false, 84, 228);
    EXPECT_EQ(35, off.X(84));
    EXPECT_EQ(1000, off.X(228)) << "amounts off: the axis reaches the right edge";
    const MonthAxis on = MakeMonthAxis(1000, 7, true, 84, 228);
    EXPECT_EQ(std::tuple(958, 958, -1, -1, 84), std::tuple(on.X(228), on.Right(), on.UnitAt(34), on.UnitAt(958), on.UnitAt(35)));
    for (int u = 84; u < 228; ++u) EXPECT_EQ(u, on.UnitAt(on.X(u))) << u;

    uint8_t counters[288] = {};
    for (int u = 108; u < 114; ++u) counters[u] = 1;  // 9:00-9:30 booked
    for (int u = 114; u < 117; ++u) counters[u] = 2;  // 9:30-9:45 double
    for (int u = 200; u < 240; ++u) counters[u] = 3;  // unavailable past the axis' end: cut at its end
    std::vector<std::tuple<int, int, int>> bars;
    for (const MonthBar& b : MonthBars(off, counters)) bars.push_back({b.left, b.right, b.counter});
    EXPECT_EQ((std::vector<std::tuple<int, int, int>>{
                  {off.X(108), off.X(114), 1}, {off.X(114), off.X(117), 2}, {off.X(200), 1000, 3}}),
              bars);

    // A ten-hour day view opens an hour before the click: 10:20 and 10:00 give 9:00; 23:20 gives
    // 290 - 120 = 170, down to 14:00; at 0:25 the top stays; at 1:00 midnight.
    const struct { int unit, expected; } clicks[] = {{124, 108}, {120, 108}, {280, 168}, {5, 84}, {12, 0}};
    for (const auto& c : clicks) EXPECT_EQ(c.expected, MonthClickTopUnit(c.unit, 120, 84)) << c.unit;
}

TEST(MonthView, ScrollingByBands) {
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0}, all[kViewDays] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(std::tuple(5, 6, 6, 7), std::tuple(MonthPageSize(mon_fri, false), MonthPageSize(mon_fri, true),
                                                 MonthPageSize(all, false), MonthPageSize(all, true)));
    MonthScroll s{23, 0, 9, 5};
    EXPECT_EQ(13, s.RangeEnd());
    EXPECT_FALSE(s.LineUp());
    EXPECT_TRUE(s.PageDown());
    EXPECT_EQ(5, s.first);
    EXPECT_TRUE(s.PageDown() && s.PageDown());
    EXPECT_EQ(std::tuple(13, 22), std::tuple(s.first, s.last)) << "only as far as the last band";
    EXPECT_FALSE(s.LineDown() || s.PageDown()) << "past the last band nothing moves";
    EXPECT_TRUE(s.LineUp());
    EXPECT_EQ(12, s.first);
    EXPECT_TRUE(s.PageUp() && s.PageUp() && s.PageUp());
    EXPECT_EQ(std::tuple(0, 9), std::tuple(s.first, s.last)) << "not below 0";
    EXPECT_TRUE(s.Thumb(7));
    EXPECT_EQ(16, s.last);
    MonthScroll whole{5, 0, 4, 5};
    EXPECT_FALSE(whole.Thumb(2)) << "all bands shown";
    EXPECT_EQ(1, whole.RangeEnd());
}

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
