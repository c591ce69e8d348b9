// Find New Appointment Time on the demo practice: what an appointment preselects, the quick date
// buttons, the length in block steps, the selection checks and View Next with their texts, where
// a viewed time scrolls the sheet and how it is outlined, and a found time taken in one save.

#include <vector>

#include "appointments/find_time.h"
#include "appointments/find_time_choices.h"
#include "data/occupancy_verify.h"
#include "demo_practice_fixture.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"
#include "views/found_time_mark.h"

namespace {

constexpr int Units(int hour, int minute = 0) { return hour * 12 + minute / 5; }

std::string Ids(const std::vector<int>& rows, bool providers) {
    std::string ids;
    for (int i : rows)
        ids += std::string(providers ? practice_tables.providers.at(static_cast<size_t>(i)).id
                                     : practice_tables.operatories.at(static_cast<size_t>(i)).id, 4) + ";";
    return ids;
}

class FindTimeDialogRules : public DemoPracticeTest {};

}  // namespace

TEST_F(FindTimeDialogRules, PreselectionQuickDatesLengthStepsSelectionChecksAndViewNext) {
    // DR3 without assigned operatories: its appointment's own operatory is taken instead.
    std::memset(practice_tables.providers.at(static_cast<size_t>(FindProviderIndex("DR3 "))).operatoryBitmap, 0,
                kOperatoryBitmapBytes);
    struct {
        const char *provider, *operatory;
        int length;
        std::string providers, operatories, weekdays;
        int minutes;
    } opened[] = {
        {"DR1", "OP5", 60, "DR1 ;", "OP1 ;OP2 ;OP3 ;", "0111110", 60},
        {"HYG2", "OP1", 45, "HYG2;", "OP6 ;OP7 ;", "0111110", 40},
        {"DR3", "OP4", 300, "DR3 ;", "OP4 ;", "0010100", 240},
        {"", "OP2", 0, "", "", "0111110", 10},
    };
    for (const auto& c : opened) {
        AppointmentRecord a = DemoAppt(1, DemoMonday(), 9, 0, c.length, c.provider, c.operatory);
        a.type = 3;
        FindChoices choices;
        choices.byBlock = true;
        ChoicesFromAppointment(a, &choices);
        std::string weekdays;
        for (bool d : choices.weekdays) weekdays += d ? '1' : '0';
        EXPECT_EQ(c.providers + c.operatories + c.weekdays, Ids(choices.providers, true) + Ids(choices.operatories, false) + weekdays)
            << c.provider;
        EXPECT_EQ(c.minutes, choices.lengthMinutes) << c.provider;
        EXPECT_TRUE(choices.type == 3 && !choices.byBlock) << c.provider;
    }

    const int32_t d = QVN_DateIn(1, 31, 2027);
    EXPECT_EQ(QVN_DateIn(2, 6, 2027), QuickStartDate(d, FindDateUnit::kDays, 6));
    EXPECT_EQ(QVN_DateIn(2, 21, 2027), QuickStartDate(d, FindDateUnit::kWeeks, 3));
    EXPECT_EQ(QVN_DateIn(2, 28, 2027), QuickStartDate(d, FindDateUnit::kMonths, 1));
    // A step up, never below one block, never past 240, from a length between steps to the next.
    EXPECT_EQ((std::vector<int>{70, 10, 240, 60}), (std::vector<int>{StepLengthMinutes(60, 1, 10), StepLengthMinutes(10, -1, 10),
                                                                    StepLengthMinutes(240, 1, 30), StepLengthMinutes(45, 1, 15)}));

    struct {
        bool assigned;
        int providers, operatories;
        std::string message;
        FindSelectionFocus focus;
    } checks[] = {
        {true, 2, 0, "", FindSelectionFocus::kNone},
        {false, 0, 0, "At least one operatory and provider must be selected", FindSelectionFocus::kProviders},
        {false, 0, 3, "At least one provider must be selected", FindSelectionFocus::kProviders},
        {false, 1, 0, "At least one operatory must be selected", FindSelectionFocus::kOperatories},
    };
    for (const auto& c : checks) {
        const FindSelectionVerdict v = CheckFindSelection(c.assigned, c.providers, c.operatories);
        EXPECT_EQ(c.message, v.message ? v.message : "") << c.providers << "/" << c.operatories;
        EXPECT_EQ(c.focus, v.focus) << c.providers << "/" << c.operatories;
        EXPECT_EQ(c.assigned && c.providers > 0, v.selectAllOperatories) << "assigned only: every operatory";
    }
    EXPECT_FALSE(FindModeEnables(false, true, false).byBlock) << "assigned only rules out a time block";
    const char* message = nullptr;
    EXPECT_EQ(-1, NextFoundRow(0, -1, &message));
    EXPECT_STREQ("No times found!", message);
    EXPECT_EQ(-1, NextFoundRow(10, 9, &message));
    EXPECT_STREQ("End of list!", message);
    EXPECT_EQ(4, NextFoundRow(10, 3, &message));
}

// A whole hour, the time about in the middle with at least an hour above it; a long time from its
// start's hour; a top of 0 leaves the sheet alone. The frames go outward, hatched ones first.
TEST(FoundTimeView, ScrollsToAWholeHourByTheMarginAndFramesTheCellOutward) {
    struct {
        int top, bottom, start, length, expected;
    } tops[] = {
        {Units(7), Units(17), Units(14), 12, Units(9)},        // margin 54 units: 9:30 gives 9:00
        {Units(7), Units(9), Units(14), 6, Units(13)},         // margin 9 raised to an hour
        {Units(7), Units(10), Units(14, 40), 26, Units(14)},   // 26 > 36 - 11: the start's hour
        {Units(9), Units(17), 50, 6, Units(9)},                // 50 - 45 lies in hour 0: stays
    };
    for (const auto& t : tops) EXPECT_EQ(t.expected, FoundTimeTopUnit(t.top, t.bottom, t.start, t.length)) << t.length;
    OutlineFrame frames[4];
    OutlineFrames(SheetRect{100, 40, 160, 100}, frames);
    EXPECT_TRUE(frames[0].hatched && frames[1].hatched && !frames[2].hatched && !frames[3].hatched);
    EXPECT_EQ((std::vector<int>{99, 97, 106}), (std::vector<int>{frames[0].rect.left, frames[1].rect.left, frames[3].rect.bottom}));  // outermost line at 105
}

// A time taken moves the appointment in one save, whatever asks for it: for the appointment on
// the pin board it schedules it and takes it off the board ([Apptbook] "Clipboard Appt"
// cleared), whether it was parked without a date or with one; for the sheet's selection it
// leaves the board's appointment where it is. Taken into the appointment as read when the search
// began, it is refused once the appointment changed meanwhile.
TEST_F(FindTimeDialogRules, ATakenTimeMovesTheAppointmentInOneSaveAndClearsThePinBoardOnlyForItsOwn) {
    ASSERT_GT(QVN_LogInUser("FRONT"), 0);
    AppointmentRecord parked = DemoAppt(8601, 0, 0, 0, 40, "DR1", "");
    parked.operatoryMarker = 0;
    parked.unscheduled = 1;
    parked.status = kStatusUnscheduled;
    parked.listDate = DemoMonday();
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, parked));
    Book(DemoAppt(8602, DemoMonday(), 9, 0, 40, "DR1", "OP1"));
    const AppointmentRecord as_searched = Stored(8602);
    struct {
        uint32_t id;
        bool fromPinBoard;
        int hour;
        uint32_t boardAfter;
    } takes[] = {
        {8601, true, 10, 0},      // parked without a date
        {8602, false, 13, 8601},  // the selection, the board holding another: it stays there
        {8602, true, 15, 0},      // parked with its date
    };
    for (const auto& t : takes) {
        WriteClipboardAppointment(t.fromPinBoard ? t.id : 8601);
        const AppointmentRecord at_start = Stored(t.id);
        ScriptedPrompter nothing_asked;
        EXPECT_EQ(MoveOutcome::kMoved, PlaceAppointmentAt(at_start, DemoMonday() + 1, "OP2 ", "DR2 ", Units(t.hour), t.fromPinBoard))
            << t.id << " at " << t.hour;
        EXPECT_EQ(t.boardAfter, ReadClipboardAppointment()) << t.id << " at " << t.hour;
        const AppointmentRecord placed = Stored(t.id);
        EXPECT_EQ(std::to_string(DemoMonday() + 1) + " " + std::to_string(t.hour) + ":0 " + std::to_string(StartInOwnUnits(2, t.hour, 0)) +
                      " OP2  DR2  unscheduled 0",
                  std::to_string(placed.date) + " " + std::to_string(placed.hour) + ":" + std::to_string(placed.minute) + " " +
                      std::to_string(placed.startUnit) + " " + std::string(placed.operatory, 4) + " " + std::string(placed.provider, 4) +
                      " unscheduled " + std::to_string(placed.unscheduled));
    }
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());
    const AppointmentRecord moved = Stored(8602);
    ScriptedPrompter p;
    p.Answer(kAnswerOk);
    EXPECT_EQ(MoveOutcome::kRefused, PlaceAppointmentAt(as_searched, DemoMonday() + 2, "OP2 ", "DR1 ", Units(9), false));
    EXPECT_EQ(std::vector<std::string>{"Appointment has been changed at another workstation during edit. Edit canceled!"}, p.Texts());
    const AppointmentRecord after = Stored(8602);
    EXPECT_EQ(0, std::memcmp(&after, &moved, sizeof moved));
    QVN_LogOutUser();
}
