// The practice tables and schedule rules over a real practice database: defaults for what is
// missing, provider colours, week records over default hours, holidays with their messages and
// under record locks from two processes, and the clean-up of deleted time blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
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

ResourceRecord Resource(uint8_t kind, const char* id, uint8_t attribute = 0) {
    ResourceRecord r{};
    r.kind = kind;
    std::memcpy(r.id, id, 4);
    r.attribute = attribute;
    return r;
}

// A practice resource record, providers and operatories, no RscUse records at all.
void AddBarePractice(PracticeTestDatabase& db, int providers, int operatories) {
    ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Resource(kResourceKindPractice, "-PR-")));
    for (int i = 0; i < providers; ++i) {
        std::string id = "DR" + std::to_string(i) + " ";
        ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Resource(kResourceKindProvider, id.c_str())));
    }
    for (int i = 0; i < operatories; ++i) {
        std::string id = "OP" + std::to_string(i) + " ";
        ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Resource(kResourceKindOperatory, id.c_str(), static_cast<uint8_t>(i + 1))));
    }
}

const int32_t kMonday = QVN_DateIn(12, 7, 2026);  // a Monday
const int32_t kSunday = kMonday - 1;

}  // namespace

TEST(PracticeSchedule, APracticeWithoutBaseRecordsGetsTheDefaults) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ScriptedPrompter prompter;
    AddBarePractice(db, 9, 2);
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(2, practice_tables.blockUnits);
    EXPECT_EQ(10, practice_tables.blockMinutes);

    std::vector<DayHours> week = GetPracticeHours({kSunday, kMonday, kMonday + 4, kMonday + 5});
    ASSERT_EQ(4u, week.size());
    EXPECT_EQ(-1, week[0].start[0]) << "Sunday closed";
    EXPECT_EQ((std::vector<int>{96, 156, -1}), std::vector<int>(week[1].start, week[1].start + 3));
    EXPECT_EQ((std::vector<int>{144, 204, -1}), std::vector<int>(week[1].end, week[1].end + 3));
    EXPECT_EQ(96, week[2].start[0]) << "Friday as Monday";
    EXPECT_EQ(-1, week[3].start[0]) << "Saturday closed";
    EXPECT_EQ(1, HolidayKind(kSunday));
    EXPECT_EQ(0, HolidayKind(kMonday));

    ASSERT_EQ(9u, practice_tables.providers.size());
    const uint32_t colours[9] = {0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x000000FF, 0x0000FF00,
                                 0x00FF0000, 0x0000C0C0, 0x00C0C000, 0x0000FFFF};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(colours[i], uint32_t{practice_tables.providers[static_cast<size_t>(i)].colour}) << i;
    EXPECT_EQ(0, std::memcmp("DR0 ", practice_tables.providers[0].id, 4)) << "file order";
    EXPECT_EQ(96, +practice_tables.providers[0].defaultStart[1][0]) << "the practice's hours";
    EXPECT_EQ(kNoTime, uint16_t{practice_tables.providers[0].blockStart[1][0]}) << "no blocks";
    EXPECT_EQ(4, FindProviderIndex("DR4 "));
    EXPECT_EQ(-1, FindProviderIndex("DR4X"));
    EXPECT_EQ(9u, practice_tables.shownProviders.size());
    ASSERT_EQ(2u, practice_tables.operatories.size());
    EXPECT_EQ(2, +practice_tables.operatories[1].number);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST(PracticeSchedule, NoPracticeRecordStopsTheLoadWithItsMessage) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(LoadPracticeTables());
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("No Practice information. Practice must be setup.", prompter.Asked()[0].text);
    EXPECT_EQ("Quorvin", prompter.Asked()[0].title);
    EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);

    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(SetHoliday(1, 1, 2)) << "no base practice record to keep holidays in";
    EXPECT_EQ("Practice is NOT setup. Setup practice before continuing!", prompter.Texts().back());
    EXPECT_EQ("Appointment Book", prompter.Asked().back().title);
}

TEST(PracticeSchedule, WeekRecordsOverrideTheDefaultHoursDayByDay) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ScriptedPrompter prompter;
    AddBarePractice(db, 1, 1);
    ASSERT_TRUE(LoadPracticeTables());
    const int32_t short_day[3] = {108, -1, -1}, short_end[3] = {132, -1, -1};
    const int32_t zeros[3] = {0, 0, 0};
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday, short_day, short_end, 0));
    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday + 1, zeros, zeros, 2)) << "closed, default hours";

    std::vector<DayHours> days = GetPracticeHours({kMonday, kMonday + 1, kMonday + 2, kMonday + 7});
    EXPECT_EQ(108, days[0].start[0]);
    EXPECT_EQ(132, days[0].end[0]);
    EXPECT_EQ(-1, days[0].start[1]);
    EXPECT_EQ(0, days[0].flag);
    EXPECT_EQ(96, days[1].start[0]) << "three zero starts fall back to the defaults";
    EXPECT_EQ(kDayClosed, days[1].flag) << "but the day flag still applies";
    EXPECT_EQ(96, days[2].start[0]);
    EXPECT_EQ(96, days[3].start[0]) << "the next week has no record";

    ASSERT_EQ(kQdbOk, WriteDay(kRscPractice, "-PR-", kMonday + 1, zeros, zeros, 0));
    EXPECT_EQ(0, GetPracticeHours({kMonday + 1})[0].flag) << "a flag below 2 opens the day again";

    ASSERT_EQ(kQdbOk, WriteDay(kRscProvider, "DR0 ", kMonday + 2, short_day, short_end, 2));
    std::vector<DayHours> vacation = GetProviderHours(0, {kMonday + 2, kMonday + 3});
    EXPECT_EQ(108, vacation[0].start[0]);
    EXPECT_EQ(kDayClosed, vacation[0].flag);
    ResetProviderDay("DR0 ", {kMonday + 2});
    vacation = GetProviderHours(0, {kMonday + 2});
    EXPECT_EQ(96, vacation[0].start[0]) << "back to the default hours";
    EXPECT_EQ(kDayClosed, vacation[0].flag) << "the day flag is left alone";
    EXPECT_EQ(-1, GetProviderHours(5, {kMonday})[0].start[0]) << "an unknown provider has no hours";
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST(PracticeSchedule, HolidaysRepeatYearlyAndTheTableHoldsAHundred) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ScriptedPrompter prompter;
    AddBarePractice(db, 1, 1);
    RscUsePracticeBase base{};
    base.head.kind = kRscPractice;
    std::memcpy(base.head.id, "-PR-", 4);
    for (int d = 1; d <= 5; ++d) base.defaultStart[d][0] = 96, base.defaultEnd[d][0] = 204;
    for (int d : {0, 6}) base.defaultStart[d][0] = base.defaultEnd[d][0] = kNoTime;
    base.blockSize = 3;
    ASSERT_EQ(kQdbOk, db.Add(kRscUseFile, base));
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(15, practice_tables.blockMinutes);

    ASSERT_TRUE(SetHoliday(2, 29, 2));
    EXPECT_EQ(2, HolidayKind(QVN_DateIn(2, 29, 2028)));
    EXPECT_EQ(0, HolidayKind(QVN_DateIn(3, 1, 2027))) << "no 29 February in 2027, and 1 March is not it";
    ASSERT_TRUE(SetHoliday(12, 25, 3));
    EXPECT_FALSE(SetHoliday(12, 25, 2)) << "already there: nothing changes";
    EXPECT_EQ(3, HolidayKind(QVN_DateIn(12, 25, 2026)));
    EXPECT_EQ(3, HolidayKind(QVN_DateIn(12, 25, 2031))) << "every year";
    EXPECT_FALSE(DeleteHoliday(7, 4)) << "not there: nothing changes";
    ASSERT_TRUE(DeleteHoliday(12, 25));
    EXPECT_EQ(0, HolidayKind(QVN_DateIn(12, 25, 2026))) << "a Friday, open again";

    for (int i = 1; i < kHolidaySlots; ++i) ASSERT_TRUE(SetHoliday(1 + i / 28, 1 + i % 28, 2)) << i;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(SetHoliday(11, 30, 2));
    EXPECT_EQ((std::vector<std::string>{"Holiday buffer is full. No more holidays may be added!"}), prompter.Texts());

    practice_tables = PracticeTables{};
    ASSERT_TRUE(LoadPracticeTables());
    EXPECT_EQ(2, HolidayKind(QVN_DateIn(2, 29, 2028))) << "the record holds what the table showed";
    EXPECT_EQ(0, HolidayKind(QVN_DateIn(11, 30, 2026)));
    // Nothing stays locked: another session can lock the base practice record now.
    QdbSession other = QDB_StartSession(1);
    QdbFile file = QDB_OpenFile(other, kRscUseFile);
    QDB_LKISAM(other, 2);
    RscUseKey key{kRscPractice, {'-', 'P', 'R', '-'}, 0};
    RscUsePracticeBase read{};
    EXPECT_EQ(1, QDB_FindRec(file, kRscUseKey, &key, &read));
    QDB_EndSession(other);
}

TEST(PracticeSchedule, ClearingDeletedBlocksEmptiesAndDeletesOverrides) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    auto override_of = [](uint32_t week) {
        RscUseBlockOverride r{};
        r.head.kind = kRscBlockOverride;
        std::memcpy(r.head.id, "DR0 ", 4);
        r.head.week = week;
        for (int d = 0; d < 7; ++d)
            for (int slot = 0; slot < kOverrideSlots; ++slot) r.start[d][slot] = r.end[d][slot] = kBlockKeepsDefault;
        return r;
    };
    const uint32_t week1 = static_cast<uint32_t>(kSunday), week2 = week1 + 7;
    RscUseBlockOverride a = override_of(week1), b = override_of(week2);
    a.start[1][2] = 100, a.end[1][2] = 110;           // only block 2: deleted with it
    b.start[1][2] = kBlockCleared, b.end[1][2] = kBlockCleared;
    b.start[3][0] = 120, b.end[3][0] = 130;           // block 0 stays
    ASSERT_EQ(kQdbOk, db.Add(kRscUseFile, a));
    ASSERT_EQ(kQdbOk, db.Add(kRscUseFile, b));
    const bool deleted[kTimeBlocks] = {false, false, true, false, false, false};
    ClearDeletedBlocks("DR0 ", deleted, 0);

    FileGroupDesc rscuse{};
    DbGroupOf(kRscUseFile, &rscuse);
    RscUseKey key{kRscBlockOverride, {'D', 'R', '0', ' '}, week1};
    RscUseBlockOverride read{};
    EXPECT_EQ(kQdbNotFound, DbFindRecord(rscuse, kRscUseKey, &key, sizeof key, &read)) << "nothing left in it";
    key.week = week2;
    ASSERT_EQ(kQdbOk, DbFindRecord(rscuse, kRscUseKey, &key, sizeof key, &read));
    EXPECT_EQ(kBlockKeepsDefault, uint16_t{read.start[1][2]});
    EXPECT_EQ(120, +read.start[3][0]);

    read.start[4][2] = 90, read.end[4][2] = 95;
    RscUseBlockOverride before{};
    ASSERT_EQ(kQdbOk, DbSaveRecord(rscuse, kRscUseKey, &key, sizeof key, &before, &read, false));
    ClearDeletedBlocks("DR0 ", deleted, static_cast<int32_t>(week2) + 3);  // Wednesday only
    ASSERT_EQ(kQdbOk, DbFindRecord(rscuse, kRscUseKey, &key, sizeof key, &read));
    EXPECT_EQ(90, +read.start[4][2]) << "Thursday's block stays when only Wednesday is cleared";
}

#ifndef _WIN32
// Two workstations set holidays at the same time: each reads the base record under a record
// lock, so neither writes over the other's new entry.
TEST(PracticeSchedule, HolidayEditsFromTwoProcessesLoseNothing) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    AddBarePractice(db, 1, 1);
    RscUsePracticeBase base{};
    base.head.kind = kRscPractice;
    std::memcpy(base.head.id, "-PR-", 4);
    base.blockSize = 2;
    ASSERT_EQ(kQdbOk, db.Add(kRscUseFile, base));
    DbEndSession();

    // Every locked-record prompt is answered with Retry: the other side lets go soon.
    class AlwaysRetry final : public Prompter {
    public:
        AlwaysRetry() { InstallPrompter(this); }
        ~AlwaysRetry() override { InstallPrompter(nullptr); }
        PromptAnswer Show(const PromptRequest&) override { return kAnswerRetry; }
    };
    auto set_holidays = [](int month) {
        AlwaysRetry retry;
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
