// The Find New Appointment Time dialog's rules on the demo practice (what an appointment
// preselects, the quick date buttons, the length in block steps, the enabling of the block, type
// and assigned-only boxes, the selection checks, View Next), where a viewed time goes on the
// sheet with its outline, and a found time taken into an appointment in one locked save.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "appointments/appointment_moves.h"
#include "appointments/find_time.h"
#include "appointments/find_time_choices.h"
#include "data/appointment_store.h"
#include "data/occupancy_verify.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"
#include "views/day_data.h"
#include "views/found_time_mark.h"
#include "views/sheet_state.h"

namespace {

int32_t Day(int month, int day, int year) { return QVN_DateIn(month, day, year); }
constexpr int Units(int hour, int minute = 0) { return hour * 12 + minute / 5; }

std::vector<std::string> Ids(const std::vector<int>& indices, bool providers) {
    std::vector<std::string> ids;
    for (int i : indices) {
        const char* id = providers ? practice_tables.providers.at(static_cast<size_t>(i)).id
                                   : practice_tables.operatories.at(static_cast<size_t>(i)).id;
        ids.emplace_back(id, 4);
    }
    return ids;
}

std::vector<bool> Weekdays(const FindChoices& c) { return std::vector<bool>(c.weekdays, c.weekdays + 7); }

class FindTimeDialogRules : public DemoPracticeTest {};

}  // namespace

TEST_F(FindTimeDialogRules, AnAppointmentPreselectsItsProviderAssignedOperatoriesWeekdaysAndLength) {
    // DR3 loses its assigned operatories: its appointment's own operatory is taken instead.
    const int dr3 = FindProviderIndex("DR3 ");
    ASSERT_GE(dr3, 0);
    std::memset(practice_tables.providers[static_cast<size_t>(dr3)].operatoryBitmap, 0, kOperatoryBitmapBytes);
    const std::vector<bool> mon_to_fri = {false, true, true, true, true, true, false};
    struct Case {
        const char* what;
        const char* provider;
        const char* operatory;
        int length;
        uint8_t type;
        std::vector<std::string> providers, operatories;
        std::vector<bool> weekdays;
        int lengthMinutes;
    } cases[] = {
        {"DR1 and its assigned rooms", "DR1", "OP5", 60, 3, {"DR1 "}, {"OP1 ", "OP2 ", "OP3 "}, mon_to_fri, 60},
        {"a hygienist's", "HYG2", "OP1", 45, 2, {"HYG2"}, {"OP6 ", "OP7 "}, mon_to_fri, 40},
        {"no assignments: its own room", "DR3", "OP4", 30, 0, {"DR3 "}, {"OP4 "},
         {false, false, true, false, true, false, false}, 30},
        {"a blank provider", "", "OP2", 0, 1, {}, {}, mon_to_fri, 10},
        {"an unknown provider", "ZZZ", "OP2", 5, 1, {}, {}, mon_to_fri, 10},
        {"no more than 240 minutes", "DR1", "OP1", 300, 0, {"DR1 "}, {"OP1 ", "OP2 ", "OP3 "}, mon_to_fri, 240},
    };
    for (const Case& c : cases) {
        AppointmentRecord a = DemoAppt(1, DemoMonday(), 9, 0, c.length, c.provider, c.operatory);
        a.type = c.type;
        FindChoices choices;
        choices.byBlock = true;
        choices.blockRow = 2;
        ChoicesFromAppointment(a, &choices);
        EXPECT_EQ(c.providers, Ids(choices.providers, true)) << c.what;
        EXPECT_EQ(c.operatories, Ids(choices.operatories, false)) << c.what;
        EXPECT_EQ(c.weekdays, Weekdays(choices)) << c.what;
        EXPECT_EQ(c.lengthMinutes, choices.lengthMinutes) << c.what;
        EXPECT_EQ(int{c.type}, choices.type) << c.what;
        EXPECT_FALSE(choices.byBlock) << c.what << ": no time block is chosen";
        EXPECT_EQ(-1, choices.blockRow) << c.what;
    }
}

TEST_F(FindTimeDialogRules, QuickDatesLengthStepsEnablingSelectionChecksAndViewNext) {
    struct DateCase {
        int32_t from;
        FindDateUnit unit;
        int steps;
        int32_t to;
    } dates[] = {
        {Day(12, 8, 2026), FindDateUnit::kDays, 1, Day(12, 9, 2026)},
        {Day(12, 30, 2026), FindDateUnit::kDays, 6, Day(1, 5, 2027)},
        {Day(12, 8, 2026), FindDateUnit::kWeeks, 3, Day(12, 29, 2026)},
        {Day(12, 8, 2026), FindDateUnit::kMonths, 2, Day(2, 8, 2027)},
        {Day(1, 31, 2027), FindDateUnit::kMonths, 1, Day(2, 28, 2027)},
    };
    for (const DateCase& d : dates)
        EXPECT_EQ(QVN_fmtDateString2000(d.to), QVN_fmtDateString2000(QuickStartDate(d.from, d.unit, d.steps)))
            << QVN_fmtDateString2000(d.from) << " + " << d.steps;

    struct LengthCase {
        int minutes, delta, block, after;
    } lengths[] = {
        {60, 1, 10, 70}, {60, -1, 10, 50}, {10, -1, 10, 10}, {240, 1, 10, 240}, {235, 1, 5, 240},
        {45, 1, 15, 60}, {240, 1, 30, 240}, {30, -1, 30, 30}, {25, 0, 10, 20},
    };
    for (const LengthCase& l : lengths)
        EXPECT_EQ(l.after, StepLengthMinutes(l.minutes, l.delta, l.block)) << l.minutes << " by " << l.delta << " of " << l.block;

    struct EnableCase {
        bool byBlock, assigned, byType;
        bool lists, blocks, byBlockBox, types;
    } enables[] = {
        {false, false, false, true, false, true, false},
        {true, false, false, false, true, true, false},
        {false, true, false, true, false, false, false},
        {false, false, true, true, false, true, true},
        {true, false, true, false, true, true, false},
    };
    for (const EnableCase& e : enables) {
        const FindEnables got = FindModeEnables(e.byBlock, e.assigned, e.byType);
        const std::string what = std::to_string(e.byBlock) + std::to_string(e.assigned) + std::to_string(e.byType);
        EXPECT_EQ(e.lists, got.lists) << what;
        EXPECT_EQ(e.blocks, got.blocks) << what;
        EXPECT_EQ(e.byBlockBox, got.byBlock) << what;
        EXPECT_EQ(e.types, got.types) << what;
    }

    const std::string both = "At least one operatory and provider must be selected";
    struct SelectionCase {
        bool assigned;
        int providers, operatories;
        std::string message;
        FindSelectionFocus focus;
        bool selectAll;
    } selections[] = {
        {true, 2, 0, "", FindSelectionFocus::kNone, true},
        {true, 0, 0, both, FindSelectionFocus::kProviders, false},
        {true, 0, 3, "At least one provider must be selected", FindSelectionFocus::kProviders, false},
        {false, 0, 3, "At least one provider must be selected", FindSelectionFocus::kProviders, false},
        {false, 0, 0, both, FindSelectionFocus::kProviders, false},
        {false, 1, 0, "At least one operatory must be selected", FindSelectionFocus::kOperatories, false},
        {false, 1, 1, "", FindSelectionFocus::kNone, false},
    };
    for (const SelectionCase& s : selections) {
        const FindSelectionVerdict v = CheckFindSelection(s.assigned, s.providers, s.operatories);
        const std::string what = std::to_string(s.assigned) + "/" + std::to_string(s.providers) + "/" + std::to_string(s.operatories);
        EXPECT_EQ(s.message, v.message ? v.message : "") << what;
        EXPECT_EQ(s.focus, v.focus) << what;
        EXPECT_EQ(s.selectAll, v.selectAllOperatories) << what;
    }

    struct NextCase {
        int count, current, row;
        std::string message;
    } nexts[] = {
        {0, -1, -1, "No times found!"}, {10, -1, 0, ""}, {10, 0, 1, ""}, {10, 8, 9, ""}, {10, 9, -1, "End of list!"}, {1, 0, -1, "End of list!"},
    };
    for (const NextCase& n : nexts) {
        const char* message = nullptr;
        EXPECT_EQ(n.row, NextFoundRow(n.count, n.current, &message)) << n.count << "/" << n.current;
        EXPECT_EQ(n.message, message ? message : "") << n.count << "/" << n.current;
    }
}

// Where a viewed time brings the sheet: a whole hour, the time about in the middle with at least
// an hour above it, a long time from its start's hour, and the sheet left alone at the day's top.
TEST(FoundTimeView, ScrollsToAWholeHourAndOutlinesTheCellWithFourFrames) {
    struct TopCase {
        int top, bottom, start, length, expected;
    } tops[] = {
        {Units(7), Units(17), Units(14), 12, Units(9)},        // margin (120 - 12) / 2 = 54 units: 9:30 gives 9:00
        {Units(7), Units(12), Units(14, 30), 6, Units(12)},    // margin 27 units: 12:15 gives 12:00
        {Units(7), Units(9), Units(14), 6, Units(13)},         // a short window: the margin is an hour
        {Units(7), Units(10), Units(14, 40), 30, Units(14)},   // longer than the window less 11 units
        {Units(7), Units(10), Units(14, 40), 26, Units(14)},   // 26 > 36 - 11 still
        {Units(7), Units(10), Units(14, 40), 25, Units(13)},   // 25 is not: an hour's margin
        {Units(9), Units(17), Units(0, 30), 6, Units(9)},      // above midnight: stays
        {Units(9), Units(17), 50, 6, Units(9)},                // 50 - 45 lies in the hour 0: stays
    };
    for (const TopCase& t : tops)
        EXPECT_EQ(t.expected, FoundTimeTopUnit(t.top, t.bottom, t.start, t.length))
            << t.top << "-" << t.bottom << " " << t.start << "+" << t.length;

    OutlineFrame frames[4];
    OutlineFrames(SheetRect{100, 40, 160, 100}, frames);
    const int expected[4][4] = {{99, 39, 162, 102}, {97, 37, 164, 104}, {96, 36, 165, 105}, {95, 35, 166, 106}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((std::vector<int>(expected[i], expected[i] + 4)),
                  (std::vector<int>{frames[i].rect.left, frames[i].rect.top, frames[i].rect.right, frames[i].rect.bottom}))
            << "frame " << i;
        EXPECT_EQ(i < 2, frames[i].hatched) << "frame " << i;
    }
    EXPECT_EQ(0x00404040u, kOutlineGrey);
}

TEST_F(FindTimeDialogRules, TheCellOfAViewedTimeIsItsOperatorysColumnOfItsDate) {
    const SheetState kept = sheet_state;
    sheet_state.topUnit = Units(8);
    sheet_state.measures.rowHeight = 16;
    day_data.days.clear();
    for (int32_t date : {DemoMonday(), DemoMonday() + 1}) {
        DayRecord day;
        day.date = date;
        for (const char* id : {"DR1 ", "OP1 ", "OP2 "}) {
            DayColumn c;
            c.kind = id[0] == 'D' ? kProviderColumn : kOperatoryColumn;
            std::memcpy(c.id, id, 4);
            c.left = static_cast<int>(date - DemoMonday()) * 300 + static_cast<int>(day.columns.size()) * 90;
            c.right = c.left + 89;
            day.columns.push_back(std::move(c));
        }
        day_data.days.push_back(std::move(day));
    }
    FoundTimeMark mark{true, DemoMonday() + 1, Units(9, 30), 9, {'O', 'P', '2', ' '}};
    SheetRect cell;
    ASSERT_TRUE(FoundTimeCell(mark, &cell));
    // 10-minute rows of 16 pixels from 8:00: 9:30 is row 9, 10:15 lies half way down row 13.
    EXPECT_EQ(480, cell.left);
    EXPECT_EQ(569, cell.right);
    EXPECT_EQ(144, cell.top);
    EXPECT_EQ(216, cell.bottom);
    std::memcpy(mark.operatory, "DR1 ", 4);
    EXPECT_FALSE(FoundTimeCell(mark, &cell)) << "a provider column is no operatory";
    std::memcpy(mark.operatory, "OP1 ", 4);
    mark.date = DemoMonday() + 2;
    EXPECT_FALSE(FoundTimeCell(mark, &cell)) << "a date the sheet does not show";
    day_data.days.clear();
    sheet_state = kept;
}

// A found time taken into the appointment it was searched for: date, start, operatory and
// provider in one save that finds the record as read when the search began.
TEST_F(FindTimeDialogRules, ATakenTimeMovesTheAppointmentUnlessItChangedMeanwhile) {
    ASSERT_GT(QVN_LogInUser("FRONT"), 0);
    const int32_t monday = DemoMonday();
    Book(DemoAppt(8501, monday, 9, 0, 40, "DR1", "OP1"));
    AppointmentRecord read_at_start{};
    ASSERT_EQ(0, ReadAppointment(8501, &read_at_start));

    FindTimeRequest request = NewFindTimeRequest(monday + 1, 40);
    AddFindProvider(&request, "DR2 ");
    AddFindOperatory(&request, "OP3 ");
    std::vector<FoundTime> page;
    ASSERT_EQ(FindEnd::kPage, SearchFreeTimes(&request, 1, &page));
    ASSERT_EQ(1u, page.size());
    const FoundTime f = page[0];
    {
        ScriptedPrompter p;
        EXPECT_EQ(MoveOutcome::kMoved, PlaceAppointmentAt(read_at_start, f.date, f.operatory, f.provider, f.start, false));
        EXPECT_TRUE(p.Texts().empty()) << p.Texts().front();
    }
    AppointmentRecord moved{};
    ASSERT_EQ(0, ReadAppointment(8501, &moved));
    EXPECT_EQ(int32_t{f.date}, int32_t{moved.date});
    EXPECT_EQ(f.start / 12, int{moved.hour});
    EXPECT_EQ(f.start % 12 * 5, int{moved.minute});
    EXPECT_EQ(std::string("OP3 "), std::string(moved.operatory, 4));
    EXPECT_EQ(std::string("DR2 "), std::string(moved.provider, 4));
    EXPECT_EQ(StartInOwnUnits(2, moved.hour, moved.minute), int{moved.startUnit});
    OccupancyReport report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
    // The time is taken now: the same search offers something else first.
    FindTimeRequest again = NewFindTimeRequest(monday + 1, 40);
    AddFindProvider(&again, "DR2 ");
    AddFindOperatory(&again, "OP3 ");
    std::vector<FoundTime> after;
    ASSERT_EQ(FindEnd::kPage, SearchFreeTimes(&again, 1, &after));
    EXPECT_FALSE(after[0].date == f.date && after[0].start == f.start);

    // The stale copy of the search's start: refused, the record stays where the first move put it.
    {
        ScriptedPrompter p;
        p.Answer(kAnswerOk);
        EXPECT_EQ(MoveOutcome::kRefused,
                  PlaceAppointmentAt(read_at_start, after[0].date, after[0].operatory, after[0].provider, after[0].start, false));
        EXPECT_EQ(std::vector<std::string>{"Appointment has been changed at another workstation during edit. Edit canceled!"},
                  p.Texts());
    }
    AppointmentRecord unchanged{};
    ASSERT_EQ(0, ReadAppointment(8501, &unchanged));
    EXPECT_EQ(0, std::memcmp(&unchanged, &moved, sizeof moved));

    // From the pin board: an appointment without a date is scheduled and the board's setting cleared.
    AppointmentRecord waiting = DemoAppt(8502, 0, 0, 0, 30, "DR1", "OP1");
    waiting.unscheduled = 1;
    waiting.status = kStatusUnscheduled;
    Book(waiting);
    WriteClipboardAppointment(8502);
    ASSERT_EQ(8502u, ReadClipboardAppointment());
    AppointmentRecord parked{};
    ASSERT_EQ(0, ReadAppointment(8502, &parked));
    {
        ScriptedPrompter p;
        EXPECT_EQ(MoveOutcome::kMoved, PlaceAppointmentAt(parked, monday + 1, "OP2 ", "DR1 ", Units(14), true));
        EXPECT_TRUE(p.Texts().empty()) << p.Texts().front();
    }
    AppointmentRecord scheduled{};
    ASSERT_EQ(0, ReadAppointment(8502, &scheduled));
    EXPECT_EQ(monday + 1, int32_t{scheduled.date});
    EXPECT_EQ(0, int{scheduled.unscheduled});
    EXPECT_EQ(int{kStatusNone}, int{scheduled.status});
    EXPECT_EQ(0u, ReadClipboardAppointment());
    report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
    QVN_LogOutUser();
}
