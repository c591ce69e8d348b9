// Practice setup on a real practice database: the base practice record read and written under
// its lock, the block size question, the settings OK writes (the colours as numbers, which the
// readers of workstation_settings_test read in both forms), and nothing changed on Cancel.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "change_test_support.h"
#include "data/practice_schedule.h"
#include "data/record_locks.h"
#include "data/rscuse_record.h"
#include "demo_practice_fixture.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "setup/practice_setup.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/settings.h"

namespace {

RscUseKey PracticeKey() {
    RscUseKey key{kRscPractice, {'-', 'P', 'R', '-'}, 0};
    return key;
}

// The base practice records stored in the week file, read as another workstation finds them.
std::vector<RscUsePracticeBase> StoredBases() {
    std::vector<RscUsePracticeBase> bases;
    for (const RscUsePracticeBase& base : StoredRecords<RscUsePracticeBase>(kRscUseFile))
        if (base.head.kind == kRscPractice && std::memcmp(base.head.id, "-PR-", 4) == 0) bases.push_back(base);
    return bases;
}

// PracticeInfo as a practice without a base record has it: Monday to Friday 8:00-12:00 and
// 13:00-17:00, 15-minute blocks.
void UsePracticeInfo() {
    auto info = std::make_unique<PracticeInfo>();
    std::memset(info.get(), 0xFF, sizeof(PracticeInfo));
    for (int d = 1; d <= 5; ++d) {
        info->defaultStart[d][0] = 96, info->defaultEnd[d][0] = 144;
        info->defaultStart[d][1] = 156, info->defaultEnd[d][1] = 204;
    }
    info->blockSize = 3;
    practice_tables.practice = std::move(info);
    practice_tables.blockUnits = 3;
    practice_tables.blockMinutes = 15;
}

class PracticeSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        UsePracticeInfo();
    }
    void TearDown() override { practice_tables = PracticeTables{}; }
    PracticeTestDatabase db_;
};

TEST_F(PracticeSetupTest, NoBaseRecordOpensWithPracticeInfoAndCreatesItOnOk) {
    ASSERT_TRUE(StoredBases().empty());
    ScriptedPrompter prompter;
    PracticeSetupEdit opened{};
    ASSERT_TRUE(RunPracticeSetup([&](PracticeSetupEdit& edit) {
        opened = edit;
        edit.hours[6][0] = 108, edit.hours[6][1] = 132;  // Saturday 9:00-11:00
        edit.hours[1][2] = edit.hours[1][3] = -1;        // Monday mornings only
        return true;
    }));
    EXPECT_EQ(std::tuple(96, 204, -1, 3), std::tuple(opened.hours[1][0], opened.hours[1][3], opened.hours[0][0], opened.openedBlockUnits));

    const auto bases = StoredBases();
    ASSERT_EQ(bases.size(), 1u);
    const RscUsePracticeBase& b = bases[0];
    // The rest of a new record is zero; PracticeInfo took the same hours.
    EXPECT_EQ((std::vector<int>{0, 3, 108, 132, kNoTime, 156, 0, 108, kNoTime}),
              (std::vector<int>{int(b.head.week), int(b.blockSize), int(b.defaultStart[6][0]), int(b.defaultEnd[6][0]),
                                int(b.defaultStart[1][1]), int(b.defaultStart[2][1]), int(b.holidays[0].kind),
                                int(practice_tables.practice->defaultStart[6][0]), int(practice_tables.practice->defaultStart[1][1])}));
}

TEST_F(PracticeSetupTest, BlockSizeQuestionAndTheSettingsOkWrites) {
    struct Case {
        PromptAnswer answer;
        int savedUnits;
    };
    for (const Case c : {Case{kAnswerCancel, 3}, Case{kAnswerOk, 6}}) {
        const int opened_with = practice_tables.blockUnits;
        ScriptedPrompter prompter;
        prompter.Answer(c.answer);
        PracticeSetupSettings settings;
        settings.defaultStatus = 2, settings.defaultSchedule = 1, settings.defaultType = 3;
        settings.openColour = 0x00123456;
        settings.closedColour = 0x0096DCDC;
        settings.orientation = kButtonBarVertical;
        settings.alwaysCalculate = false;
        ASSERT_TRUE(RunPracticeSetup([&](PracticeSetupEdit& edit) {
            edit.hours[0][0] = 120, edit.hours[0][1] = 144;  // Sunday 10:00-12:00
            edit.blockUnits = 6;
            AcceptPracticeSetup(settings, &edit);
            return true;
        }));
        ASSERT_EQ(prompter.Asked().size(), 1u);
        const PromptRequest& q = prompter.Asked()[0];
        EXPECT_EQ(q.text, "Changing Time Block Size may make the appointment times invalid until each appointment is edited or "
                  "moved.  Continue with Time Block Size change?");
        EXPECT_EQ(std::tuple(std::string("Confirm Time Block Change"), kButtonsOkCancel, kIconExclamation), std::tuple(q.title, q.buttons, q.icon));

        const auto bases = StoredBases();
        ASSERT_EQ(bases.size(), 1u);
        EXPECT_EQ(int(bases[0].blockSize), c.savedUnits) << "opened with " << opened_with;
        EXPECT_EQ(int(bases[0].defaultStart[0][0]), 120) << "the hours are saved whatever the answer";
        EXPECT_EQ((std::vector<int>{c.savedUnits, c.savedUnits * 5, c.savedUnits, 120}),
                  (std::vector<int>{practice_tables.blockUnits, practice_tables.blockMinutes, int(practice_tables.practice->blockSize),
                                    int(practice_tables.practice->defaultStart[0][0])}));
        EXPECT_EQ((std::vector<int>{2, 1, 3, 1}),
                  (std::vector<int>{QVN_ReadProfileInt("APPTBOOK", "DefaultStatus", -1), QVN_ReadProfileInt("APPTBOOK", "DefaultSchedule", -1),
                                    QVN_ReadProfileInt("APPTBOOK", "DefaultType", -1), QVN_ReadProfileInt("APPTBOOK", "BBOrientation", -1)}));
        EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "BGCOLOR1", "") + "|" + QVN_ReadProfileText("APPTBOOK", "BGCOLOR2", ""), "1193046|9886940")
            << "the colours as decimal numbers";
        EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "AlwaysCalculate", "absent", QVN_PracticeInfPath().c_str()), "0");
        EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "AlwaysCalculate", "absent"), "absent")
            << "the practice's shared file, not the workstation's";
    }
}

TEST_F(PracticeSetupTest, CancelChangesNothingAndTheLockIsHeldWhileTheDialogIsOpen) {
    // A base record first, then a run that is cancelled.
    ScriptedPrompter prompter;
    ASSERT_TRUE(RunPracticeSetup([](PracticeSetupEdit&) { return true; }));
    const std::string before = StoredRows(db_.Dir(), {"g94"});
    const std::string settings_before = QVN_ReadProfileText("APPTBOOK", "BGCOLOR1", "none");
    const PracticeInfo info_before = *practice_tables.practice;

    // While the dialog is open another workstation's edit of the record waits, then is asked
    // about the record in use, and gives up on Cancel.
    uint16_t other = kQdbOk;
    prompter.Answer(kAnswerCancel);
    EXPECT_FALSE(RunPracticeSetup([&](PracticeSetupEdit& edit) {
        edit.hours[3][0] = 60, edit.hours[3][1] = 72;
        edit.blockUnits = 1;
        other = EditLocked<RscUsePracticeBase>(kRscUseFile, kRscUseKey, PracticeKey(), [](RscUsePracticeBase& b, bool) {
            b.blockSize = 4;
            return LockedEdit::kWrite;
        });
        return false;
    }));
    EXPECT_EQ(other, kQdbLocked);
    ASSERT_EQ(prompter.Texts().size(), 1u);
    EXPECT_EQ(prompter.Texts()[0],
              "A record of data file 94 is in use at another workstation.\nChoose Retry to try again or Cancel to give up.");
    EXPECT_EQ(StoredRows(db_.Dir(), {"g94"}), before);
    EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "BGCOLOR1", "none"), settings_before);
    EXPECT_EQ(std::memcmp(&info_before, practice_tables.practice.get(), sizeof info_before), 0);
    EXPECT_EQ(practice_tables.blockUnits, 3);

    // Cancel gave the lock back: the other edit goes through now.
    EXPECT_EQ(EditLocked<RscUsePracticeBase>(kRscUseFile, kRscUseKey, PracticeKey(), [](RscUsePracticeBase& b, bool exists) {
                  EXPECT_TRUE(exists);
                  b.blockSize = 4;
                  return LockedEdit::kWrite;
              }),
              kQdbOk);
    EXPECT_EQ(int(StoredBases().at(0).blockSize), 4);
}

}  // namespace
