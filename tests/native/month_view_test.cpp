// The month view's bands, time axis, bars, click and scrolling, without its windows.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "suite/dates.h"
#include "views/month_view.h"

TEST(MonthView, BandsOfAMonthAndTheFirstShown) {
    const int mon_fri[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
    int reference = -1;
    // Monday to Friday: 23 bands in March 2027, 21 in October, never a Saturday or a Sunday.
    const std::vector<int32_t> march = MonthBandDates(QVN_DateIn(3, 6, 2027), mon_fri, &reference);
    EXPECT_EQ(23u, march.size());
    for (int32_t d : march) EXPECT_TRUE(QVN_week_day(d) >= 2 && QVN_week_day(d) <= 6) << QVN_fmtDateString2000(d);
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
