// Day numbers: round trips over two centuries, leap years, weekdays and refusals.
#include <gtest/gtest.h>

#include <tuple>

#include "suite/dates.h"

TEST(Dates, EveryDayFrom1900To2099RoundTripsAndFollowsTheDayBefore) {
    int32_t previous = QVN_DateIn(12, 31, 1899);
    int weekday = QVN_week_day(previous);
    int days = 0;
    for (int year = 1900; year <= 2099; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                int32_t date = QVN_DateIn(month, day, year);
                if (date == 0) continue;  // 30 February and friends
                ASSERT_EQ(previous + 1, date) << month << "/" << day << "/" << year;
                weekday = weekday % 7 + 1;
                ASSERT_EQ(weekday, QVN_week_day(date)) << month << "/" << day << "/" << year;
                int m, d, y;
                ASSERT_EQ(1, QVN_DateOut(date, &m, &d, &y));
                ASSERT_EQ(month, m);
                ASSERT_EQ(day, d);
                ASSERT_EQ(year, y);
                previous = date;
                ++days;
            }
        }
    }
    // 200 years of 365 days plus the leap days of 1904 to 2096 (2000 is one, 1900 is not).
    EXPECT_EQ(200 * 365 + 49, days);
}

// The loop above fixes every day relative to 31 December 1899; these fix the anchor and the range.
TEST(Dates, KnownDatesTheRangeAndNoDate) {
    EXPECT_EQ(2451545, QVN_DateIn(1, 1, 2000));
    EXPECT_EQ(7, QVN_week_day(QVN_DateIn(1, 1, 2000)));  // Saturday
    EXPECT_EQ(0, QVN_DateIn(2, 29, 2100));
    for (auto [m, d, y] : {std::tuple{0, 1, 2026}, {13, 1, 2026}, {1, 0, 2026}, {1, 32, 2026}, {1, 1, 0}, {1, 1, 10000}})
        EXPECT_EQ(0, QVN_DateIn(m, d, y)) << m << "/" << d << "/" << y;
    int m = 9, d = 9, y = 9;
    EXPECT_EQ(0, QVN_DateOut(0, &m, &d, &y));
    EXPECT_EQ(0, m + d + y);
    EXPECT_EQ(0, QVN_week_day(0));
    ASSERT_EQ(1, QVN_DateOut(QVN_DateIn(1, 1, 1), &m, &d, &y));
    EXPECT_EQ(1, y);
    EXPECT_EQ(0, QVN_DateOut(QVN_DateIn(12, 31, 9999) + 1, &m, &d, &y));
}

TEST(Dates, SysDateIsTodayUnlessOverridden) {
    int32_t today = QVN_SysDate();
    int m, d, y;
    ASSERT_EQ(1, QVN_DateOut(today, &m, &d, &y));
    EXPECT_GE(y, 2024);
    QVN_SetSysDateOverride(QVN_DateIn(3, 15, 2027));
    EXPECT_EQ(QVN_DateIn(3, 15, 2027), QVN_SysDate());
    QVN_SetSysDateOverride(0);
    EXPECT_LE(QVN_SysDate() - today, 1);  // the clock may just have passed midnight
}

TEST(DateTexts, EveryModeAndNoDate) {
    int32_t date = QVN_DateIn(3, 14, 2026);
    EXPECT_EQ("03/14/26", QVN_DateStr(date, kDateShort));
    EXPECT_EQ("03/14/2026", QVN_DateStr(date, kDateFull));
    EXPECT_EQ("Mar 14, 2026", QVN_DateStr(date, kDateMedium));
    EXPECT_EQ("Saturday, March 14, 2026", QVN_DateStr(date, kDateLong));
    EXPECT_EQ("20260314", QVN_FormatNDate2000(date));
    EXPECT_LT(QVN_FormatNDate2000(QVN_DateIn(12, 31, 2025)), QVN_FormatNDate2000(date));
    EXPECT_EQ("", QVN_DateStr(0, kDateLong));
    EXPECT_STREQ("December", QVN_getmonth_name(12));
    EXPECT_STREQ("", QVN_getmonth_name(13));
    EXPECT_STREQ("Saturday", QVN_getday_name(7));
    EXPECT_STREQ("", QVN_getday_name(0));
}

TEST(DateTexts, TypedDatesAreReadOrRefused) {
    QVN_SetSysDateOverride(QVN_DateIn(12, 6, 2026));
    EXPECT_EQ(QVN_DateIn(3, 4, 2027), QVN_ParseDate("3/4/2027"));
    EXPECT_EQ(QVN_DateIn(3, 4, 2027), QVN_ParseDate(" 03-04-27 "));
    EXPECT_EQ(QVN_DateIn(3, 4, 2027), QVN_ParseDate("030427"));
    EXPECT_EQ(QVN_DateIn(3, 4, 2027), QVN_ParseDate("03042027"));
    EXPECT_EQ(QVN_DateIn(7, 1, 1950), QVN_ParseDate("7/1/50")) << "two digits: within 80 years back";
    EXPECT_EQ(QVN_DateIn(7, 1, 2045), QVN_ParseDate("7/1/45")) << "and 19 years ahead";
    for (const char* bad : {"", "2/29/27", "13/1/2027", "4/31/2027", "0/1/27", "abc", "1/2", "1//2027",
                            "1/2/3/4", "12345"})
        EXPECT_EQ(0, QVN_ParseDate(bad)) << bad;
    QVN_SetSysDateOverride(0);
}

TEST(DateTexts, MonthArithmeticAlwaysGivesARealDate) {
    EXPECT_EQ(QVN_DateIn(2, 28, 2027), QVN_AddMonths(QVN_DateIn(1, 31, 2027), 1));
    EXPECT_EQ(QVN_DateIn(2, 28, 2025), QVN_AddMonths(QVN_DateIn(2, 29, 2024), 12));
    EXPECT_EQ(QVN_DateIn(12, 15, 2025), QVN_AddMonths(QVN_DateIn(1, 15, 2027), -13));
    EXPECT_EQ(0, QVN_AddMonths(0, 1));
    EXPECT_EQ(0, QVN_AddMonths(QVN_DateIn(12, 1, 9999), 1));
    EXPECT_EQ(28, QVN_DaysInMonth(2, 1900));
    EXPECT_EQ(0, QVN_DaysInMonth(13, 2000));
}
