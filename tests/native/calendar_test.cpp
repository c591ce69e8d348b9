// The schedule calendar's month over the demo practice: the grid, the cell texts and colours, the
// amounts and figures of a month, and the schedule changes of its menu on a real database,
// including a change made elsewhere between showing a date and acting on it.

#include <algorithm>
#include <vector>

#include "data/db_access.h"
#include "demo_practice_fixture.h"
#include "views/calendar.h"

namespace {

CalendarId Id(const char* text) {
    CalendarId id{' ', ' ', ' ', ' '};
    std::memcpy(id.data(), text, std::min<size_t>(4, std::strlen(text)));
    return id;
}

CalendarMonth Month(int mode, const char* resource, int year, int month) {
    CalendarMonth m;
    m.mode = mode;
    m.resource = Id(resource);
    m.place.year = year;
    m.place.month = month;
    m.place.day = 1;
    LoadCalendarMonth(&m);
    return m;
}

// The stored week record of a resource, or an all-zero record when there is none.
RscUseWeek StoredWeek(uint8_t kind, const char* id, int32_t date) {
    RscUseWeek week{};
    if (!ReadStoredWeek(kind, id, date, &week)) week = RscUseWeek{};
    return week;
}

}  // namespace

TEST(CalendarCells, GridTextsAndColours) {
    // January 2022 begins on a Saturday and has 31 days: the last two days take row 6 and the
    // summary box keeps columns 3 to 6 of it.
    CalendarMonth jan;
    jan.place.year = 2022;
    jan.place.month = 1;
    jan.days = 31;
    int row = 0, column = 0;
    const struct { int day, row, column; } places[] = {{1, 1, 6}, {2, 2, 0}, {31, 6, 1}};
    for (const auto& p : places) {
        CalendarCellOf(jan, p.day, &row, &column);
        EXPECT_EQ((std::vector<int>{p.row, p.column, p.day}), (std::vector<int>{row, column, CalendarDayAt(jan, p.row, p.column)}));
    }
    EXPECT_EQ(0, CalendarDayAt(jan, 6, 2));
    EXPECT_EQ(0, CalendarDayAt(jan, 1, 5));
    EXPECT_FALSE(CalendarSummaryCell(6, 2));
    EXPECT_TRUE(CalendarSummaryCell(6, 3));

    // (" 8-12", " 1- 5" and " 8:12" are read back from stored hours below.)
    EXPECT_EQ("12-12", CalendarIntervalText(0, 288));
    EXPECT_TRUE(CalendarHoursLines(DayHours{{-1, 156, -1}, {-1, 204, -1}, 0}).empty());

    const struct { int mode, holiday, ownFlag, practiceFlag; uint32_t colour; } shades[] = {
        {kCalendarPractice, 1, 0, 0, 0x00DCDCDC}, {kCalendarPractice, 2, 0, 0, 0x009191FF}, {kCalendarPractice, 0, 3, 0, 0x009191FF},
        {kCalendarPractice, 0, 1, 0, 0},          {kCalendarPickDate, 0, 2, 0, 0x00DCDCDC},  {kCalendarProvider, 0, 3, 0, 0x00C89191},
        {kCalendarProvider, 0, 2, 2, 0x00DCDCDC}, {kCalendarProvider, 0, 0, 3, 0x009191FF},  {kCalendarProvider, 2, 2, 0, 0x009191FF},
    };
    for (const auto& s : shades) {
        CalendarDay d;
        d.holidayKind = s.holiday;
        d.own.flag = static_cast<uint8_t>(s.ownFlag);
        d.practice.flag = static_cast<uint8_t>(s.practiceFlag);
        EXPECT_EQ(s.colour, CalendarShadeColour(CalendarShadeOf(s.mode, d)))
            << "mode " << s.mode << " holiday " << s.holiday << " flags " << s.ownFlag << "/" << s.practiceFlag;
    }
    EXPECT_EQ((std::vector<std::string>{"12", "0", "", "1"}),
              (std::vector<std::string>{CalendarAmountText(1250, CalendarShade::kPlain), CalendarAmountText(99, CalendarShade::kPlain),
                                        CalendarAmountText(99, CalendarShade::kClosed), CalendarAmountText(100, CalendarShade::kHoliday)}));

    EXPECT_EQ((std::vector<std::string>{"Calendar for DR1, HYG1", "Schedule Calendar for Practice", "Schedule Calendar for DR2"}),
              (std::vector<std::string>{CalendarTitle(kCalendarPickDate, {Id("DR1"), Id("HYG1")}, {}), CalendarTitle(kCalendarPractice, {}, Id("-PR-")),
                                        CalendarTitle(kCalendarProvider, {}, Id("DR2"))}));
}

class Calendar : public DemoPracticeTest {};

TEST_F(Calendar, AmountsAndFiguresOfAMonth) {
    // DR1 on Tuesday 1 and Monday 7 December, Thursday 31 December (its week reaches into January)
    // and Monday 30 November (its week reaches into December); DR2 once on the 7th.
    Book(DemoAppt(2701, QVN_DateIn(12, 1, 2026), 9, 0, 30, "DR1", "OP1"));
    Book(DemoAppt(2702, QVN_DateIn(12, 7, 2026), 9, 0, 30, "DR1", "OP1"));
    Book(DemoAppt(2703, QVN_DateIn(12, 31, 2026), 9, 0, 30, "DR1", "OP1"));
    Book(DemoAppt(2704, QVN_DateIn(11, 30, 2026), 9, 0, 30, "DR1", "OP1"));
    Book(DemoAppt(2705, QVN_DateIn(12, 7, 2026), 10, 0, 30, "DR2", "OP2"));

    int32_t amounts[kCalendarAmountSlots];
    LoadCalendarAmounts(2026, 12, {Id("DR1"), Id("DR2")}, DemoMonday(), amounts);
    // Days 1, 7, 31, 2 and 30, the month's total; this month's goal, and the running production
    // and new patients for want of a closed month.
    EXPECT_EQ((std::vector<int32_t>{10000, 20000, 10000, 0, 0, 40000, 6900000, 2600050, 5}),
              (std::vector<int32_t>{amounts[1], amounts[7], amounts[31], amounts[2], amounts[30], amounts[0], amounts[kCalendarGoal],
                                    amounts[kCalendarProduction], amounts[kCalendarNewPatients]}));

    LoadCalendarAmounts(2026, 11, {Id("DR1"), Id("DR2")}, DemoMonday(), amounts);
    EXPECT_EQ((std::vector<int32_t>{10000, 10000, 6500000, 6000110, 13}),
              (std::vector<int32_t>{amounts[30], amounts[0], amounts[kCalendarGoal], amounts[kCalendarProduction], amounts[kCalendarNewPatients]}));

    // The running figures stand for the current month only.
    LoadCalendarAmounts(2027, 1, {Id("DR1"), Id("DR2")}, DemoMonday(), amounts);
    EXPECT_EQ((std::vector<int32_t>{0, 0, 0}), (std::vector<int32_t>{amounts[kCalendarProduction], amounts[kCalendarGoal], amounts[0]}))
        << "the week of 31 December reaches into January, its amount stays in December";
}

TEST_F(Calendar, PracticeClosedOpenedAndHolidays) {
    ScriptedPrompter prompter;
    const int32_t tuesday = QVN_DateIn(12, 8, 2026);
    CalendarMonth m = Month(kCalendarPractice, "-PR-", 2026, 12);
    ASSERT_EQ(0, m.day[7].own.flag);

    // Opening an open date writes nothing.
    EXPECT_EQ(CalendarChange::kNothing, OpenCalendarDate(m, 8));
    const RscUseWeek untouched = StoredWeek(kRscPractice, "-PR-", tuesday);
    EXPECT_EQ(0u, uint32_t{untouched.head.week}) << "no week record may appear";

    EXPECT_EQ(CalendarChange::kWritten, CloseCalendarDate(m, 8));
    m = Month(kCalendarPractice, "-PR-", 2026, 12);
    EXPECT_EQ(CalendarShade::kClosed, CalendarShadeOf(kCalendarPractice, m.day[7]));
    EXPECT_EQ((std::vector<std::string>{" 8-12", " 1- 5"}), CalendarHoursLines(m.day[7].own)) << "its hours are kept";
    EXPECT_EQ(CalendarChange::kNothing, CloseCalendarDate(m, 8));
    // A holiday cannot be closed again.
    EXPECT_EQ(CalendarChange::kNothing, CloseCalendarDate(m, 25));

    EXPECT_EQ(CalendarChange::kWritten, OpenCalendarDate(m, 8));
    m = Month(kCalendarPractice, "-PR-", 2026, 12);
    EXPECT_EQ(CalendarShade::kPlain, CalendarShadeOf(kCalendarPractice, m.day[7]));

    // A yearly holiday on the 10th: written, read back, and the same day of the next year too.
    EXPECT_TRUE(SetCalendarHoliday(m, 10));
    ASSERT_TRUE(LoadPracticeTables());
    m = Month(kCalendarPractice, "-PR-", 2026, 12);
    EXPECT_EQ(2, m.day[9].holidayKind);
    EXPECT_EQ(2, HolidayKind(QVN_DateIn(12, 10, 2027)));
    EXPECT_TRUE(DeleteCalendarHoliday(m, 10));
    ASSERT_TRUE(LoadPracticeTables());
    m = Month(kCalendarPractice, "-PR-", 2026, 12);
    EXPECT_EQ(0, m.day[9].holidayKind);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST_F(Calendar, ProviderVacationHoursAndAChangeMadeElsewhere) {
    ScriptedPrompter prompter;
    const int32_t wednesday = QVN_DateIn(12, 9, 2026);
    // The practice closes the 9th; the provider's calendar shows it grey and refuses a vacation.
    ASSERT_EQ(CalendarChange::kWritten, CloseCalendarDate(Month(kCalendarPractice, "-PR-", 2026, 12), 9));
    CalendarMonth dr1 = Month(kCalendarProvider, "DR1", 2026, 12);
    EXPECT_EQ(CalendarShade::kClosed, CalendarShadeOf(kCalendarProvider, dr1.day[8]));
    EXPECT_EQ(CalendarChange::kPracticeClosed, CloseCalendarDate(dr1, 9));
    EXPECT_EQ(CalendarChange::kPracticeClosed, CloseCalendarDate(dr1, 25)) << "Christmas is a holiday";
    EXPECT_EQ(0u, uint32_t{StoredWeek(kRscProvider, "DR1", wednesday).head.week});

    // A vacation on the 10th, then gone again.
    EXPECT_EQ(CalendarChange::kWritten, CloseCalendarDate(dr1, 10));
    dr1 = Month(kCalendarProvider, "DR1", 2026, 12);
    EXPECT_EQ(CalendarShade::kVacation, CalendarShadeOf(kCalendarProvider, dr1.day[9]));
    EXPECT_EQ(CalendarChange::kNothing, StoreCalendarHours(dr1, 10, dr1.day[9].own.start, dr1.day[9].own.end))
        << "no hours on a vacation day";
    EXPECT_EQ(CalendarChange::kWritten, OpenCalendarDate(dr1, 10));
    dr1 = Month(kCalendarProvider, "DR1", 2026, 12);
    EXPECT_EQ(CalendarShade::kPlain, CalendarShadeOf(kCalendarProvider, dr1.day[9]));

    // Hours of one date, then back to the defaults.
    const int32_t start[3] = {102, -1, -1}, end[3] = {150, -1, -1};
    EXPECT_EQ(CalendarChange::kWritten, StoreCalendarHours(dr1, 15, start, end));
    dr1 = Month(kCalendarProvider, "DR1", 2026, 12);
    EXPECT_EQ((std::vector<std::string>{" 8:12"}), CalendarHoursLines(dr1.day[14].own));
    EXPECT_EQ(CalendarChange::kWritten, ResetCalendarDate(dr1, 15));
    dr1 = Month(kCalendarProvider, "DR1", 2026, 12);
    EXPECT_EQ((std::vector<std::string>{" 8-12", " 1- 5"}), CalendarHoursLines(dr1.day[14].own));
    EXPECT_EQ(CalendarChange::kNothing, ResetCalendarDate(dr1, 15));

    // Another workstation gives the 14th other hours after this calendar showed it: the vacation
    // is not written over them.
    const CalendarMonth shown = Month(kCalendarProvider, "DR1", 2026, 12);
    const int32_t other_start[3] = {108, -1, -1}, other_end[3] = {144, -1, -1};
    ASSERT_EQ(kQdbOk, WriteDay(kRscProvider, "DR1 ", QVN_DateIn(12, 14, 2026), other_start, other_end, 0));
    const RscUseWeek before = StoredWeek(kRscProvider, "DR1", QVN_DateIn(12, 14, 2026));
    EXPECT_EQ(CalendarChange::kChangedElsewhere, CloseCalendarDate(shown, 14));
    const RscUseWeek after = StoredWeek(kRscProvider, "DR1", QVN_DateIn(12, 14, 2026));
    EXPECT_EQ(0, std::memcmp(&before, &after, sizeof before));
    EXPECT_TRUE(prompter.Asked().empty());
}
