// Moving, scheduling and resizing appointments as the sheet does it, on the demo practice: the
// questions in their order and exact texts, the past-date confirmation, scheduling from the pin
// board, and the occupancy checked afterwards. (A move into a booked operatory is refused by the
// save: appointment_store_test.cpp.)

#include <vector>

#include "data/occupancy_verify.h"
#include "demo_practice_fixture.h"
#include "suite/messages.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);
constexpr int Unit(int hour, int minute = 0) { return hour * 12 + minute / 5; }

AppointmentRecord Appt(uint32_t id, int32_t date, int hour, int minute, int length, const char* operatory) {
    return DemoAppt(id, date, hour, minute, length, "DR1", operatory);
}

class Moves : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        ASSERT_GT(QVN_LogInUser("FRONT"), 0);
    }
    void TearDown() override { QVN_LogOutUser(); }
};

}  // namespace

TEST_F(Moves, DroppedOnItsOwnPlaceNothingIsAskedAPastDateIsConfirmedAndAYesMovesIt) {
    Book(Appt(8001, kMonday, 9, 0, 30, "OP1 "));
    ScriptedPrompter p;
    EXPECT_EQ(MoveOutcome::kNothingToDo, MoveAppointment(8001, kMonday, "OP1 ", Unit(9), kMonday));
    EXPECT_TRUE(p.Asked().empty());
    p.Answer(kAnswerNo);
    EXPECT_EQ(MoveOutcome::kStopped, MoveAppointment(8001, kMonday, "OP2 ", Unit(10), kMonday));
    EXPECT_EQ(0, std::memcmp(Stored(8001).operatory, "OP1 ", 4)) << "No leaves it where it was";
    p.Answer(kAnswerYes).Answer(kAnswerCancel);
    EXPECT_EQ(MoveOutcome::kStopped, MoveAppointment(8001, kMonday - 7, "OP1 ", Unit(9), kMonday));
    EXPECT_EQ(kMonday, int32_t{Stored(8001).date}) << "Cancel of the past date leaves it where it was";
    p.Answer(kAnswerYes);
    EXPECT_EQ(MoveOutcome::kMoved, MoveAppointment(8001, kMonday, "OP2 ", Unit(10, 30), kMonday));
    EXPECT_EQ((std::vector<std::string>{"Move appointment?", "Move appointment?", "The date you chose lies in the past.\nDo you want to continue?",
                                        "Move appointment?"}),
              p.Texts());
    const AppointmentRecord moved = Stored(8001);
    EXPECT_EQ("OP2  10:30 " + std::to_string(StartInOwnUnits(2, 10, 30)),
              std::string(moved.operatory, 4) + " " + std::to_string(moved.hour) + ":" + std::to_string(moved.minute) + " " +
                  std::to_string(moved.startUnit));
    const OccupancyReport report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
}

TEST_F(Moves, AnAppointmentWithoutDateIsScheduledAndTheClipboardSettingCleared) {
    AppointmentRecord parked = Appt(8201, 0, 0, 0, 40, "OP1 ");
    parked.status = kStatusBroken;
    parked.unscheduled = 1;
    parked.schedule = kScheduleOpen;
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, parked));
    WriteClipboardAppointment(8201);
    ScriptedPrompter p;
    p.Answer(kAnswerYes);
    EXPECT_EQ(MoveOutcome::kMoved, MoveAppointment(8201, kMonday + 1, "OP3 ", Unit(13, 20), kMonday));
    EXPECT_EQ((std::vector<std::string>{"Schedule appointment?"}), p.Texts()) << "no move question and no right check";
    EXPECT_EQ(0u, ReadClipboardAppointment());
    // The date and time, a broken status cleared, the OPEN mark kept, off the unscheduled list.
    const AppointmentRecord scheduled = Stored(8201);
    EXPECT_EQ((std::vector<int>{kMonday + 1, 13, 20, kStatusNone, kScheduleOpen, 0}),
              (std::vector<int>{scheduled.date, scheduled.hour, scheduled.minute, scheduled.status, scheduled.schedule, scheduled.unscheduled}));

    // A dated appointment dragged from the pin board is scheduled, not moved: the same question,
    // the setting cleared; it still needs the right to leave its place, which the front desk has.
    WriteClipboardAppointment(8201);
    p.Answer(kAnswerYes);
    EXPECT_EQ(MoveOutcome::kMoved, MoveAppointment(8201, kMonday + 1, "OP1 ", Unit(15), kMonday, true));
    EXPECT_EQ((std::vector<std::string>{"Schedule appointment?", "Schedule appointment?"}), p.Texts());
    EXPECT_EQ(0u, ReadClipboardAppointment());
    EXPECT_EQ(15, int{Stored(8201).hour});
    EXPECT_EQ(kScheduleOpen, uint8_t{Stored(8201).schedule});
}

TEST_F(Moves, AResizeToOneRowIsAcceptedAndFourMinutesChangeNothing) {
    Book(Appt(8301, kMonday, 9, 0, 30, "OP1 "));
    ScriptedPrompter p;
    EXPECT_EQ(MoveOutcome::kNothingToDo, ChangeAppointmentLength(8301, 4));
    EXPECT_EQ(MoveOutcome::kNothingToDo, ChangeAppointmentLength(8301, 30));
    EXPECT_EQ(MoveOutcome::kMoved, ChangeAppointmentLength(8301, 10));
    EXPECT_TRUE(p.Asked().empty()) << "a shorter appointment needs no question";
    EXPECT_EQ(10, int{Stored(8301).length});
    const OccupancyReport report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
}

TEST(DropPlace, TheBoxTopRoundsToTheNearestRow) {
    // Ten-minute rows of 11 pixels from 8:00: 6 pixels below the 8:10 boundary lands on 8:20.
    EXPECT_EQ(Unit(8, 20), DropUnit(11 + 6, 11, 2, Unit(8)));
    EXPECT_EQ(Unit(8, 10), DropUnit(11 + 5, 11, 2, Unit(8)));
    EXPECT_EQ(Unit(8), DropUnit(-15, 11, 2, Unit(8))) << "the division truncates toward zero";
    EXPECT_EQ(Unit(7, 50), DropUnit(-16, 11, 2, Unit(8))) << "a whole row above: refused by the drop";
    EXPECT_EQ(10, ResizeMinutes(100, 100 + 11 + 5, 11, 2)) << "one row and a bit: one row";
    EXPECT_EQ(20, ResizeMinutes(100, 100 + 11 + 6, 11, 2)) << "past half a row: two rows";
    EXPECT_EQ(StartInOwnUnits(2, 9, 30), StartInOwnUnits(0, 9, 30)) << "unit size 0 is read as 2";
}

TEST_F(Moves, AMoveOfARecordChangedElsewhereSinceItWasReadIsRefused) {
    Book(Appt(8101, kMonday, 9, 0, 30, "OP1 "));
    // While "Move appointment?" is on the screen, another workstation sets a status on it.
    struct ChangedWhileAsking final : Prompter {
        std::vector<std::string> texts;
        PromptAnswer Show(const PromptRequest& r) override {
            texts.push_back(r.text);
            if (r.text != "Move appointment?") return kAnswerOk;
            AppointmentRecord stored{};
            if (ReadAppointment(8101, &stored) != 0) return kAnswerNo;
            AppointmentRecord changed = stored;
            changed.status = 3;
            return SaveAppointment(false, &stored, changed) ? kAnswerYes : kAnswerNo;
        }
    } user;
    InstallPrompter(&user);
    EXPECT_EQ(MoveOutcome::kRefused, MoveAppointment(8101, kMonday, "OP2 ", Unit(10), kMonday));
    InstallPrompter(nullptr);
    EXPECT_EQ((std::vector<std::string>{"Move appointment?",
                                        "Appointment has been changed at another workstation during edit. Edit canceled!"}),
              user.texts);
    const AppointmentRecord stored = Stored(8101);
    EXPECT_EQ(3, stored.status) << "the other workstation's change stays";
    EXPECT_EQ(0, std::memcmp(stored.operatory, "OP1 ", 4)) << "and the appointment where it was";
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());
}
