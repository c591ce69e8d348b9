// The practice tables and schedule rules over a real practice database: defaults for what is
// missing, provider colours, week records over default hours, holidays with their messages and
// under record locks from two processes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "data/practice_schedule.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"

namespace {

// A practice database with a practice resource record, providers DR0, DR1... and operatories
// OP0, OP1..., and no RscUse records at all.
class PracticeSchedule : public ::testing::Test {
protected:
    void AddPracticeSchedule(int providers, int operatories) {
        ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindPractice, "-PR-"));
        for (int i = 0; i < providers; ++i) ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindProvider, ("DR" + std::to_string(i)).c_str()));
        for (int i = 0; i < operatories; ++i)
            ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindOperatory, ("OP" + std::to_string(i)).c_str(), static_cast<uint8_t>(i + 1)));
    }
    // Adds the base practice record with the block size and the default hours given for each weekday.
    void AddBase(uint8_t block_size, uint16_t weekday_start = 0, uint16_t weekday_end = 0) {
        RscUsePracticeBase base{};
        base.head.kind = kRscPractice;
        std::memcpy(base.head.id, "-PR-", 4);
        for (int d = 1; d <= 5 && weekday_start; ++d) base.defaultStart[d][0] = weekday_start, base.defaultEnd[d][0] = weekday_end;
        for (int d : {0, 6}) base.defaultStart[d][0] = base.defaultEnd[d][0] = weekday_start ? kNoTime : 0;
        base.blockSize = block_size;
        ASSERT_EQ(kQdbOk, db.Add(kRscUseFile, base));
    }
    void SetUp() override { ASSERT_TRUE(db.Ok()); }
    PracticeTestDatabase db;
    ScriptedPrompter prompter;
};

const int32_t kMonday = QVN_DateIn(12, 7, 2026);  // a Monday
const int32_t kSunday = kMonday - 1;

}  // namespace

// The first start of each day's hours (then Monday's whole day), -1 when closed.
std::vector<int> Starts(const std::vector<DayHours>& days) {
    std::vector<int> starts;
    for (const DayHours& d : days) starts.push_back(d.start[0]);
    return starts;
}

TEST_F(PracticeSchedule, APracticeWithoutBaseRecordsGetsTheDefaults) {
    AddPracticeSchedule(9, 2);
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(std::tuple(2, 10), std::tuple(practice_tables.blockUnits, practice_tables.blockMinutes));

    // Sunday and Saturday closed, Friday as Monday.
    std::vector<DayHours> week = GetPracticeHours({kSunday, kMonday, kMonday + 4, kMonday + 5});
    EXPECT_EQ((std::vector<int>{-1, 96, 96, -1}), Starts(week));
    EXPECT_EQ((std::vector<int>{96, 144, 156, 204, -1, -1}), (std::vector<int>{week[1].start[0], week[1].end[0], week[1].start[1],
                                                                               week[1].end[1], week[1].start[2], week[1].end[2]}));
    EXPECT_EQ(std::tuple(1, 0), std::tuple(HolidayKind(kSunday), HolidayKind(kMonday)));

    // Providers in file order with the default colours (the ninth takes the first again), the
    // practice's hours and no blocks.
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < practice_tables.providers.size(); ++i) colours.push_back(uint32_t{practice_tables.providers[i].colour});
    EXPECT_EQ((std::vector<uint32_t>{0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x000000FF, 0x0000FF00, 0x00FF0000, 0x0000C0C0,
                                     0x00C0C000, 0x0000FFFF}),
              colours);
    EXPECT_EQ(0, std::memcmp("DR0 ", practice_tables.providers[0].id, 4));
    EXPECT_EQ(96, +practice_tables.providers[0].defaultStart[1][0]);
    EXPECT_EQ(kNoTime, uint16_t{practice_tables.providers[0].blockStart[1][0]});
    EXPECT_EQ(std::tuple(4, -1), std::tuple(FindProviderIndex("DR4 "), FindProviderIndex("DR4X")));
    EXPECT_EQ(9u, practice_tables.shownProviders.size());
    ASSERT_EQ(2u, practice_tables.operatories.size());
    EXPECT_EQ(2, +practice_tables.operatories[1].number);
}

TEST_F(PracticeSchedule, NoPracticeRecordStopsTheLoadWithItsMessage) {
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(LoadPracticeTables());
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("No Practice information. Practice must be setup.", prompter.Asked()[0].text);
    EXPECT_EQ(std::tuple(std::string("Quorvin"), kIconStop), std::tuple(prompter.Asked()[0].title, prompter.Asked()[0].icon));

    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(SetHoliday(1, 1, 2)) << "no base practice record to keep holidays in";
    EXPECT_EQ("Practice is NOT setup. Setup practice before continuing!", prompter.Texts().back());
    EXPECT_EQ("Appointment Book", prompter.Asked().back().title);
}

TEST_F(PracticeSchedule, WeekRecordsOverrideTheDefaultHoursDayByDay) {
    AddPracticeSchedule(1, 1);
    ASSERT_TRUE(LoadPracticeTables());
    const int32_t short_day[3] = {108, -1, -1}, short_end[3] = {132, -1, -1};
    const int32_t zeros[3] = {0, 0, 0};
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday, short_day, short_end, 0));
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday + 1, zeros, zeros, 2)) << "closed, default hours";

    // Three zero starts fall back to the defaults, but the day flag still applies; the next week
    // has no record.
    std::vector<DayHours> days = GetPracticeHours({kMonday, kMonday + 1, kMonday + 2, kMonday + 7});
    EXPECT_EQ((std::vector<int>{108, 96, 96, 96}), Starts(days));
    EXPECT_EQ(std::tuple(132, -1, 0, int{kDayClosed}), std::tuple(days[0].end[0], days[0].start[1], int{days[0].flag}, int{days[1].flag}));

    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday + 1, zeros, zeros, 0));
    EXPECT_EQ(0, GetPracticeHours({kMonday + 1})[0].flag) << "a flag below 2 opens the day again";

    ASSERT_EQ(kQdbOk, WriteDay(kRscProvider, "DR0 ", kMonday + 2, short_day, short_end, 2));
    std::vector<DayHours> vacation = GetProviderHours(0, {kMonday + 2});
    EXPECT_EQ(std::tuple(108, int{kDayClosed}), std::tuple(vacation[0].start[0], int{vacation[0].flag}));
    EXPECT_EQ(-1, GetProviderHours(5, {kMonday})[0].start[0]) << "an unknown provider has no hours";
}

TEST_F(PracticeSchedule, HolidaysRepeatYearlyAndTheTableHoldsAHundred) {
    AddPracticeSchedule(1, 1);
    AddBase(3, 96, 204);
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(15, practice_tables.blockMinutes);

    // No 29 February in 2027, and 1 March is not it; a second Christmas changes nothing; every
    // year; a holiday not there is not deleted; deleted, the Friday is open again.
    ASSERT_TRUE(SetHoliday(2, 29, 2));
    ASSERT_TRUE(SetHoliday(12, 25, 3));
    EXPECT_FALSE(SetHoliday(12, 25, 2));
    EXPECT_EQ(std::tuple(2, 0, 3, 3), std::tuple(HolidayKind(QVN_DateIn(2, 29, 2028)), HolidayKind(QVN_DateIn(3, 1, 2027)),
                                                 HolidayKind(QVN_DateIn(12, 25, 2026)), HolidayKind(QVN_DateIn(12, 25, 2031))));
    EXPECT_FALSE(DeleteHoliday(7, 4));
    ASSERT_TRUE(DeleteHoliday(12, 25));
    EXPECT_EQ(0, HolidayKind(QVN_DateIn(12, 25, 2026)));

    for (int i = 1; i < kHolidaySlots; ++i) ASSERT_TRUE(SetHoliday(1 + i / 28, 1 + i % 28, 2)) << i;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(SetHoliday(11, 30, 2));
    EXPECT_EQ((std::vector<std::string>{"Holiday buffer is full. No more holidays may be added!"}), prompter.Texts());

    practice_tables = PracticeTables{};
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(std::tuple(2, 0), std::tuple(HolidayKind(QVN_DateIn(2, 29, 2028)), HolidayKind(QVN_DateIn(11, 30, 2026))))
        << "the record holds what the table showed";
    // That nothing stays locked after a holiday edit is shown by the two processes below.
}

#ifndef _WIN32
// Two workstations set holidays at the same time: each reads the base record under a record
// lock, so neither writes over the other's new entry.
TEST_F(PracticeSchedule, HolidayEditsFromTwoProcessesLoseNothing) {
    AddPracticeSchedule(1, 1);
    AddBase(2);
    DbEndSession();

    auto set_holidays = [](int month) {
        YesToAllPrompter retry;  // Retry to every locked-record prompt: the other side lets go soon
        if (!DbInitDatabase() || !LoadPracticeTables()) return 1;
        for (int day = 1; day <= 20; ++day)
            if (!SetHoliday(month, day, 2)) return 2;
        DbEndSession();
        return 0;
    };
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(set_holidays(3));
    EXPECT_EQ(0, set_holidays(5));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_TRUE(DbInitDatabase());
    ASSERT_TRUE(LoadPracticeTables());
    for (int day = 1; day <= 20; ++day) {
        EXPECT_EQ(2, HolidayKind(QVN_DateIn(3, day, 2027))) << "March " << day;
        EXPECT_EQ(2, HolidayKind(QVN_DateIn(5, day, 2027))) << "May " << day;
    }
}
#endif
