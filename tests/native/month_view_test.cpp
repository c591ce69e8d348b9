// The month view's bands, time axis, bars, click and scrolling, without its windows.
#include <gtest/gtest.h>

#include <vector>

#include "suite/dates.h"
#include "views/month_view.h"

TEST(MonthView, BandsOfAMonthAndTheFirstShown) {
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    int reference = -1;
    // Monday to Friday: 21 to 23 bands, never a Saturday or a Sunday (February has 20).
    for (int month : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        const std::vector<int32_t> bands = MonthBandDates(QVN_DateIn(month, 15, 2027), mon_fri, &reference);
        EXPECT_GE(bands.size(), 21u) << "month " << month;
        EXPECT_LE(bands.size(), 23u) << "month " << month;
        for (int32_t d : bands) EXPECT_TRUE(QVN_week_day(d) >= 2 && QVN_week_day(d) <= 6) << QVN_fmtDateString2000(d);
    }
    EXPECT_EQ(23u, MonthBandDates(QVN_DateIn(3, 1, 2027), mon_fri, &reference).size());
    EXPECT_EQ(21u, MonthBandDates(QVN_DateIn(10, 1, 2027), mon_fri, &reference).size());
    // Saturday 6 March 2027 has no band: Monday the 8th is the reference band.
    const std::vector<int32_t> march = MonthBandDates(QVN_DateIn(3, 6, 2027), mon_fri, &reference);
    EXPECT_EQ(QVN_DateIn(3, 8, 2027), march.at(static_cast<size_t>(reference)));
    // Sundays only, from Wednesday 31 March: nothing follows, the last band is the reference.
    const int sundays[kViewDays] = {1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(4u, MonthBandDates(QVN_DateIn(3, 31, 2027), sundays, &reference).size());
    EXPECT_EQ(3, reference);

    const struct { int bands, reference, height, first; } firsts[] = {
        {23, 10, 23 * 40, 0},   // all fit
        {23, 10, 400, 10},      // ten whole bands fit and the reference leaves enough below it
        {23, 20, 400, 13},      // near the end: the last ten whole bands
        {23, 22, 1000, 0},      // 23 x 40 fit into 1000
    };
    for (const auto& f : firsts) EXPECT_EQ(f.first, MonthFirstBand(f.bands, f.reference, 40, f.height)) << f.reference;
}

TEST(MonthView, AxisBarsAndTheClick) {
    // 7:00 to 19:00, "x" 7 pixels wide: the caption box 35, the amount column 42.
    const MonthAxis off = MakeMonthAxis(1000, 7, false, 84, 228);
    EXPECT_EQ(35, off.X(84));
    EXPECT_EQ(1000, off.X(228)) << "amounts off: the axis reaches the right edge";
    const MonthAxis on = MakeMonthAxis(1000, 7, true, 84, 228);
    EXPECT_EQ(958, on.X(228));
    EXPECT_EQ(958, on.Right());
    EXPECT_EQ(-1, on.UnitAt(34));
    EXPECT_EQ(-1, on.UnitAt(958));
    EXPECT_EQ(84, on.UnitAt(35));
    for (int u = 84; u < 228; ++u) EXPECT_EQ(u, on.UnitAt(on.X(u))) << u;

    uint8_t counters[288] = {};
    for (int u = 108; u < 114; ++u) counters[u] = 1;  // 9:00-9:30 booked
    for (int u = 114; u < 117; ++u) counters[u] = 2;  // 9:30-9:45 double
    for (int u = 200; u < 240; ++u) counters[u] = 3;  // unavailable past the axis' end
    const std::vector<MonthBar> bars = MonthBars(off, counters);
    ASSERT_EQ(3u, bars.size());
    EXPECT_EQ(off.X(108), bars[0].left);
    EXPECT_EQ(off.X(114), bars[0].right);
    EXPECT_EQ(1, bars[0].counter);
    EXPECT_EQ(2, bars[1].counter);
    EXPECT_EQ(off.X(117), bars[1].right);
    EXPECT_EQ(3, bars[2].counter);
    EXPECT_EQ(1000, bars[2].right) << "cut at the axis' end";

    // A click at 10:20 opens the day with 9:00 at the top; late and after-midnight clicks.
    const struct { int unit, span, top, expected; } clicks[] = {
        {124, 120, 84, 108},  // 10:20, a ten-hour day view: 9:00
        {120, 120, 84, 108},  // 10:00 itself
        {280, 120, 84, 168},  // 23:20: 290 - 120 = 170, down to 14:00
        {5, 120, 84, 84},     // 0:25: the top stays
        {12, 120, 84, 0},     // 1:00: midnight
    };
    for (const auto& c : clicks) EXPECT_EQ(c.expected, MonthClickTopUnit(c.unit, c.span, c.top)) << c.unit;
}

TEST(MonthView, ScrollingByBands) {
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(5, MonthPageSize(mon_fri, false));
    EXPECT_EQ(6, MonthPageSize(mon_fri, true));
    const int all[kViewDays] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(6, MonthPageSize(all, false));
    EXPECT_EQ(7, MonthPageSize(all, true));

    MonthScroll s{23, 0, 9, 5};
    EXPECT_EQ(13, s.RangeEnd());
    EXPECT_FALSE(s.LineUp());
    EXPECT_TRUE(s.PageDown());
    EXPECT_EQ(5, s.first);
    EXPECT_TRUE(s.PageDown());
    EXPECT_TRUE(s.PageDown());
    EXPECT_EQ(13, s.first) << "only as far as the last band";
    EXPECT_EQ(22, s.last);
    EXPECT_FALSE(s.LineDown()) << "past the last band nothing moves";
    EXPECT_FALSE(s.PageDown());
    EXPECT_EQ(13, s.first);
    EXPECT_TRUE(s.LineUp());
    EXPECT_EQ(12, s.first);
    EXPECT_TRUE(s.PageUp());
    EXPECT_TRUE(s.PageUp());
    EXPECT_TRUE(s.PageUp());
    EXPECT_EQ(0, s.first) << "not below 0";
    EXPECT_EQ(9, s.last);
    EXPECT_TRUE(s.Thumb(7));
    EXPECT_EQ(16, s.last);
    MonthScroll whole{5, 0, 4, 5};
    EXPECT_FALSE(whole.Thumb(2)) << "all bands shown";
    EXPECT_EQ(1, whole.RangeEnd());
}
