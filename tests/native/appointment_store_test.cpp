// Saving appointments on the demo practice: what the week occupancy records hold afterwards,
// the conflict questions and refusals in their order and exact texts, the undo of every change
// after a No or a refusal, the concurrent-edit check, and two processes booking one slot.

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "data/occupancy.h"
#include "data/occupancy_verify.h"
#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "data/record_locks.h"

namespace {

// The texts the user reads, word for word.
const std::string kSaysPracticeNotOpen = "The Practice is not open at requested time! Schedule appointment?";
const std::string kSaysProviderUnavailableDay = "Provider is unavailable on the requested day.  Schedule Appointment?";
const std::string kSaysBlockTypeMismatch = "Appointment Type does NOT match this Time Block.  Schedule Appointment?";
const std::string kSaysBlockInOtherOperatory = "Provider has a time block in another Operatory.  Schedule Appointment?";
const std::string kSaysOtherProvidersBlock = "This is another Provider's Time Block.  Schedule Appointment?";
const std::string kSaysProviderUnavailableTime = "Provider unavailable at requested time! Schedule appointment?";
const std::string kSaysProviderBookedOnce = "Provider is already scheduled for requested time. Double schedule provider?";
const std::string kSaysProviderBookedTwice = "Provider is already doubled scheduled for requested time. Another scheduling is not permitted.";
const std::string kSaysAliasBooked = "Provider Alias is scheduled for requested time. Schedule provider?";
const std::string kSaysOperatoryBooked = "Operatory is already scheduled for requested time!";

const int32_t kMonday = QVN_DateIn(12, 7, 2026);
const int32_t kTuesday = kMonday + 1;

// An appointment of the demo practice; pattern is one character per unit ('X' provider time).
AppointmentRecord Appt(uint32_t id, int32_t date, int hour, int minute, int length, const char* provider,
                       const char* operatory, const char* pattern = "XXXXXXXXXXXXXXXXXXXXXXXX", int unit_size = 2) {
    AppointmentRecord a = DemoAppt(id, date, hour, minute, length, provider, operatory);
    a.unitSize = static_cast<uint8_t>(unit_size);
    for (int u = 0; pattern[u] && u < 24; ++u)
        SetPatternCode(a.timePattern, u, pattern[u] == 'X' ? kPatternProvider : pattern[u] == '/' ? kPatternSlash : 0);
    return a;
}

// A week record of the resource, or an all-zero record with found false.
struct Week {
    bool found = false;
    RscUseWeek record{};
};
Week ReadWeek(uint8_t kind, const char* id, int32_t date) {
    Week w;
    w.found = ReadStoredWeek(kind, id, date, &w.record);
    return w;
}

// The counters of a day from slot first to last, as text: "0111..."
std::string Counters(const Week& w, int32_t date, int first, int last) {
    std::string text;
    for (int s = first; s <= last; ++s) text += static_cast<char>('0' + SlotCounter(w.record.occupancy[WeekdayIndex(date)], s));
    return text;
}

constexpr int Slot(int hour, int minute = 0) { return hour * 12 + minute / 5; }

class DemoBook : public DemoPracticeTest {};

}  // namespace

// The stored bit order, which other programs of the suite read: the occupancy's first slot in
// the lowest bits, the pattern's first unit in the highest. (Provider slots, counters and the
// practice's hours are followed through the saves below.)
TEST(TimePattern, StoredBitOrder) {
    uint8_t day[kSlotBytesPerDay] = {};
    SetSlotCounter(day, 0, 1);
    SetSlotCounter(day, 5, 3);
    EXPECT_EQ((std::vector<int>{0x01, 0x0C}), (std::vector<int>{day[0], day[1]}));
    uint8_t pattern[6] = {};
    SetPatternCode(pattern, 0, kPatternProvider);
    EXPECT_EQ(0x80, pattern[0]);
}

TEST_F(DemoBook, SavesMovesAndRemovesOccupancySlotBySlot) {
    ScriptedPrompter prompts;
    AppointmentRecord a = Appt(1, kMonday, 9, 0, 60, "DR1 ", "OP2 ", "XX///X");
    ASSERT_TRUE(SaveAppointment(true, nullptr, a));
    Week provider = ReadWeek(kRscProvider, "DR1 ", kMonday), operatory = ReadWeek(kRscOperatory, "OP2 ", kMonday);
    ASSERT_TRUE(provider.found && operatory.found);
    EXPECT_EQ("0111100000011000", Counters(provider, kMonday, Slot(9) - 1, Slot(10) + 2));
    EXPECT_EQ("0111111111111000", Counters(operatory, kMonday, Slot(9) - 1, Slot(10) + 2));
    EXPECT_EQ(kDayHasAppointments, provider.record.dayFlags[1]);
    EXPECT_EQ(10000u, uint32_t(provider.record.scheduledAmount[1]));
    EXPECT_EQ(10000u, uint32_t(operatory.record.scheduledAmount[1]));
    const AppointmentRecord stored = Stored(1);
    EXPECT_EQ(0, std::memcmp(&a, &stored, sizeof a));

    // A second appointment of DR1 in the same slots is a double booking: after Yes the
    // counters are 2; the appointment without provider time leaves them alone.
    prompts.Answer(kAnswerYes);
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(2, kMonday, 9, 0, 20, "DR1 ", "OP3 ")));
    EXPECT_EQ((std::vector<std::string>{kSaysProviderBookedOnce}), prompts.Texts());
    EXPECT_EQ("2222", Counters(ReadWeek(kRscProvider, "DR1 ", kMonday), kMonday, Slot(9), Slot(9) + 3));
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(3, kMonday, 9, 0, 30, "DR1 ", "OP4 ", "//////")));
    EXPECT_EQ(1u, prompts.Asked().size()) << "no provider time, no question";
    EXPECT_EQ(30000u, uint32_t(ReadWeek(kRscProvider, "DR1 ", kMonday).record.scheduledAmount[1]));

    // Move the first to 10:00 in OP2: its old slots are free, the double booking drops to 1.
    AppointmentRecord moved = a;
    moved.hour = 10;
    ASSERT_TRUE(SaveAppointment(false, &a, moved));
    provider = ReadWeek(kRscProvider, "DR1 ", kMonday);
    EXPECT_EQ("1111000000001111", Counters(provider, kMonday, Slot(9), Slot(10) + 3));
    EXPECT_EQ("1111000000110000", Counters(provider, kMonday, Slot(10), Slot(11) + 3));
    operatory = ReadWeek(kRscOperatory, "OP2 ", kMonday);
    EXPECT_EQ("000000000000111111111111", Counters(operatory, kMonday, Slot(9), Slot(11) - 1));

    // Unscheduling is a save with date 0: no question, the occupancy goes, the records too
    // once nothing else is in them.
    AppointmentRecord off = moved;
    off.date = 0;
    off.unscheduled = 1;
    ASSERT_TRUE(SaveAppointment(false, &moved, off));
    EXPECT_FALSE(ReadWeek(kRscOperatory, "OP2 ", kMonday).found) << "its last appointment left OP2's week";
    EXPECT_TRUE(ReadWeek(kRscProvider, "DR1 ", kMonday).found) << "DR1 still has two";
    EXPECT_EQ(1u, prompts.Asked().size());
    EXPECT_EQ(4u, NewAppointmentId()) << "after the highest id in the file";
    EXPECT_EQ(5u, NewAppointmentId());
}

TEST_F(DemoBook, QuestionsAndRefusalsComeInOrderAndNoUndoesEverything) {
    ScriptedPrompter prompts;
    // 11:30 to 12:30 lies across the lunch gap.
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(10, kMonday, 11, 30, 60, "DR1 ", "OP1 ")));
    EXPECT_EQ((std::vector<std::string>{kSaysPracticeNotOpen}), prompts.Texts());
    EXPECT_EQ("Appointment Book", prompts.Asked()[0].title);
    EXPECT_EQ(kButtonsYesNo, prompts.Asked()[0].buttons);
    EXPECT_EQ(kIconExclamation, prompts.Asked()[0].icon);
    AppointmentRecord none{};
    EXPECT_EQ(kQdbNotFound, ReadAppointment(10, &none));
    EXPECT_FALSE(ReadWeek(kRscProvider, "DR1 ", kMonday).found);

    // Christmas is a holiday of the practice, in its opening hours too.
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(11, QVN_DateIn(12, 25, 2026), 9, 0, 30, "DR1 ", "OP1 ")));
    // DR3 works Tuesdays and Thursdays only: on a Monday the provider-hours question.
    prompts.Answer(kAnswerYes);
    EXPECT_TRUE(SaveAppointment(true, nullptr, Appt(11, QVN_DateIn(12, 21, 2026), 9, 0, 30, "DR3 ", "OP4 ")));
    EXPECT_EQ((std::vector<std::string>{kSaysPracticeNotOpen, kSaysPracticeNotOpen, kSaysProviderUnavailableTime}), prompts.Texts());

    // Twice booked: the third is refused, and nothing of it stays.
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(12, kTuesday, 9, 0, 30, "DR1 ", "OP1 ")));
    prompts.Answer(kAnswerYes);
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(13, kTuesday, 9, 0, 30, "DR1 ", "OP2 ")));
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(14, kTuesday, 9, 0, 30, "DR1 ", "OP3 ")));
    EXPECT_EQ(kSaysProviderBookedTwice, prompts.Texts().back());
    EXPECT_EQ(kButtonsOk, prompts.Asked().back().buttons);
    EXPECT_FALSE(ReadWeek(kRscOperatory, "OP3 ", kTuesday).found);
    EXPECT_EQ("222222000", Counters(ReadWeek(kRscProvider, "DR1 ", kTuesday), kTuesday, Slot(9), Slot(9, 40)));
    // A counter of 3 (left by another workstation) is refused with its own text.
    const AppointmentRecord third = Appt(18, kTuesday, 9, 0, 30, "DR1 ", "OP4 ");
    ASSERT_EQ(kQdbOk, EditLocked<RscUseWeek>(kRscUseFile, kRscUseKey, WeekRecords::ProviderWeekOf(third), [](RscUseWeek& week, bool) {
                  SetSlotCounter(week.occupancy[WeekdayIndex(kTuesday)], Slot(9), 3);
                  return LockedEdit::kWrite;
              }));
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(SaveAppointment(true, nullptr, third));
    EXPECT_EQ("Provider is unavailable at requested time.", prompts.Texts().back());

    // The operatory is taken: DR2's counters are not raised either.
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(15, kTuesday, 9, 10, 30, "DR2 ", "OP1 ")));
    EXPECT_EQ(kSaysOperatoryBooked, prompts.Texts().back());
    EXPECT_FALSE(ReadWeek(kRscProvider, "DR2 ", kTuesday).found);
    // A move into it is refused alike, and the moved appointment stays where it was.
    const AppointmentRecord elsewhere = Appt(19, kTuesday, 11, 0, 30, "DR2 ", "OP3 ");
    ASSERT_TRUE(SaveAppointment(true, nullptr, elsewhere));
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(SaveAppointment(false, &elsewhere, Appt(19, kTuesday, 9, 10, 30, "DR2 ", "OP1 ")));
    EXPECT_EQ(kSaysOperatoryBooked, prompts.Texts().back());
    const AppointmentRecord kept = Stored(19);
    EXPECT_EQ(0, std::memcmp(&kept, &elsewhere, sizeof kept));
    EXPECT_EQ("000000", Counters(ReadWeek(kRscProvider, "DR2 ", kTuesday), kTuesday, Slot(9, 10), Slot(9, 35)));

    // DR3 is DR2's alias: booked in that time, DR2 is asked about; No undoes DR2's counters.
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(16, kTuesday, 14, 0, 30, "DR3 ", "OP4 ")));
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(17, kTuesday, 14, 10, 30, "DR2 ", "OP3 ")));
    EXPECT_EQ(kSaysAliasBooked, prompts.Texts().back());
    EXPECT_EQ("000000000", Counters(ReadWeek(kRscProvider, "DR2 ", kTuesday), kTuesday, Slot(14), Slot(14, 40)));
}

TEST_F(DemoBook, IdealDayBlocksAskOnlyWhenSwitchedOn) {
    ScriptedPrompter prompts;
    // DR1's "New Pt Exam" block: Monday 8-9 in OP1 for type 1.
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(30, kMonday, 8, 0, 30, "DR1 ", "OP2 ")));
    EXPECT_TRUE(prompts.Asked().empty()) << "Ideal Day off: no block question";
    conflict_options.idealDay = true;
    AppointmentRecord own = Appt(31, kMonday, 8, 30, 30, "DR1 ", "OP1 ");
    ASSERT_TRUE(SaveAppointment(true, nullptr, own));
    EXPECT_TRUE(prompts.Asked().empty()) << "own block, own operatory, matching type";
    AppointmentRecord other_type = Appt(32, kMonday, 8, 0, 30, "DR1 ", "OP1 ");
    other_type.type = 3;
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, other_type));
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(33, kMonday, 8, 0, 30, "DR1 ", "OP3 ")));
    // HYG1's "Perio Maint" block, Monday 13-14 in OP5 for type 2, met by DR1 with type 1.
    prompts.Answer(kAnswerNo);
    EXPECT_FALSE(SaveAppointment(true, nullptr, Appt(34, kMonday, 13, 0, 30, "DR1 ", "OP5 ")));
    EXPECT_EQ((std::vector<std::string>{kSaysBlockTypeMismatch, kSaysBlockInOtherOperatory, kSaysOtherProvidersBlock}), prompts.Texts());
}

TEST_F(DemoBook, AnUnavailableDayAsksOnceAndSkipsTheHours) {
    // DR3 marked on vacation on Monday: a week record whose day flag is 2.
    RscUseWeek vacation{};
    vacation.head.kind = kRscProvider;
    std::memcpy(vacation.head.id, "DR3 ", 4);
    vacation.head.week = static_cast<uint32_t>(WeekStartOf(kMonday));
    vacation.dayFlags[1] = kDayClosed;
    ASSERT_EQ(kQdbOk, db_.Add(kRscUseFile, vacation));
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerYes);
    ASSERT_TRUE(SaveAppointment(true, nullptr, Appt(40, kMonday, 9, 0, 30, "DR3 ", "OP4 ")));
    EXPECT_EQ((std::vector<std::string>{kSaysProviderUnavailableDay}), prompts.Texts()) << "no hours question after Yes";
    Week week = ReadWeek(kRscProvider, "DR3 ", kMonday);
    EXPECT_EQ(kDayClosed, week.record.dayFlags[1]) << "a nonzero day flag stays as it is";
    EXPECT_EQ("111111", Counters(week, kMonday, Slot(9), Slot(9, 25)));
    // Removing it keeps the vacation flag, and the record with it.
    const AppointmentRecord stored = Stored(40);
    AppointmentRecord off = stored;
    off.date = 0;
    ASSERT_TRUE(SaveAppointment(false, &stored, off));
    week = ReadWeek(kRscProvider, "DR3 ", kMonday);
    ASSERT_TRUE(week.found);
    EXPECT_EQ(kDayClosed, week.record.dayFlags[1]);
}

TEST_F(DemoBook, ASaveThatFailsAtAnyStepLeavesTheDatabaseAsItWas) {
    Book(Appt(60, kMonday, 9, 0, 30, "DR1 ", "OP2 "));
    Book(Appt(61, kTuesday, 10, 0, 40, "DR2 ", "OP3 "));
    AppointmentRecord a = Appt(60, kMonday, 9, 0, 30, "DR1 ", "OP2 ");
    AppointmentRecord b = Appt(61, kTuesday, 10, 0, 40, "DR2 ", "OP3 ");
    AppointmentRecord next_week = a;
    next_week.date = kMonday + 8;
    next_week.hour = 14;
    std::memcpy(next_week.operatory, "OP4 ", 4);
    AppointmentRecord longer = next_week;
    longer.length = 60;
    AppointmentRecord off = b;
    off.date = 0;
    off.unscheduled = 1;
    struct Change {
        const char* what;
        bool add;
        const AppointmentRecord* before;
        AppointmentRecord after;
    };
    const Change changes[] = {
        {"new booking", true, nullptr, Appt(62, kTuesday, 14, 0, 30, "DR1 ", "OP1 ")},
        {"move to another week", false, &a, next_week},
        {"resize", false, &next_week, longer},
        {"unschedule", false, &b, off},
    };
    for (const Change& c : changes) {
        const int failures = FailEachOperationInTurn(c.what, [&] { return StoredRows(db_.Dir()); },
                                                     [&] { return SaveAppointment(c.add, c.before, c.after); });
        EXPECT_GE(failures, 6) << c.what << ": locks, writes and the commit each fail once";
    }
    const OccupancyReport report = VerifyOccupancy(false);
    ASSERT_TRUE(report.ok);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
}

TEST_F(DemoBook, ProviderWeeksKeepTheirHourOverridesAndAmountsNeverGoBelowZero) {
    const int32_t start[3] = {Slot(10), -1, -1}, end[3] = {Slot(15), -1, -1};
    ASSERT_EQ(kQdbOk, WriteDay(kRscProvider, "DR2 ", kMonday, start, end, 0));
    AppointmentRecord a = Appt(70, kMonday, 11, 0, 30, "DR2 ", "OP1 ");
    Book(a);
    // Another workstation's mistake left DR2's Monday with less than this appointment brings.
    ASSERT_EQ(kQdbOk, EditLocked<RscUseWeek>(kRscUseFile, kRscUseKey, WeekRecords::ProviderWeekOf(a),
                                             [](RscUseWeek& week, bool) {
                                                 week.scheduledAmount[1] = 2500;
                                                 return LockedEdit::kWrite;
                                             }));
    AppointmentRecord off = a;
    off.date = 0;
    ASSERT_TRUE(SaveAppointment(false, &a, off));
    const Week dr2 = ReadWeek(kRscProvider, "DR2 ", kMonday);
    ASSERT_TRUE(dr2.found) << "the week keeps DR2's own hours";
    EXPECT_EQ(Slot(10), int(dr2.record.start[1][0]));
    EXPECT_EQ(0u, uint32_t(dr2.record.scheduledAmount[1])) << "2500 less 10000 is 0, not below";
    EXPECT_EQ(0, int(dr2.record.dayFlags[1]));
    EXPECT_FALSE(ReadWeek(kRscOperatory, "OP1 ", kMonday).found);
}

#ifndef _WIN32
// The booking contention on each storage: the record locks and the one transaction per save
// are the storage's own.
class BookingContention : public DemoPracticeTest, public ::testing::WithParamInterface<Backend> {
protected:
    BookingContention() : DemoPracticeTest(GetParam()) {}
};
INSTANTIATE_TEST_SUITE_P(Storage, BookingContention, TestedBackends(), BackendParamName);

TEST_P(BookingContention, TwoProcessesBookingOneOperatorySlotNeverBothSucceed) {
    DbEndSession();
    // Each process books its own provider into OP1 at the same time, many times over at
    // once; the operatory counter lets exactly one of each pair in.
    auto book = [](uint32_t first_id, const char* provider) {
        ScriptedPrompter prompts;
        for (int i = 0; i < 20; ++i) prompts.Answer(kAnswerOk);
        if (!DbInitDatabase() || !LoadPracticeTables()) return 100;
        int booked = 0;
        for (int i = 0; i < 20; ++i)
            booked += SaveAppointment(true, nullptr, Appt(first_id + i, kMonday + (i % 5), 8 + i / 5, 0, 30, provider, "OP1 "));
        DbEndSession();
        return booked;
    };
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(book(1000, "DR2 "));
    const int mine = book(2000, "DR1 ");
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    const int theirs = WEXITSTATUS(status);
    EXPECT_EQ(20, mine + theirs) << "each of the 20 slots booked once: " << mine << " + " << theirs;

    ASSERT_TRUE(DbInitDatabase());
    for (int i = 0; i < 20; ++i) {
        const int32_t date = kMonday + (i % 5);
        const int slot = Slot(8 + i / 5);
        Week op = ReadWeek(kRscOperatory, "OP1 ", date);
        EXPECT_EQ("111111", Counters(op, date, slot, slot + 5)) << i;
        const int dr1 = SlotCounter(ReadWeek(kRscProvider, "DR1 ", date).record.occupancy[WeekdayIndex(date)], slot);
        const int dr2 = SlotCounter(ReadWeek(kRscProvider, "DR2 ", date).record.occupancy[WeekdayIndex(date)], slot);
        EXPECT_EQ(1, dr1 + dr2) << "exactly one provider holds slot " << i;
    }
}
#endif
