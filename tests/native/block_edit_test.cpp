// Time blocks changed on one date from the sheet, on the demo practice: the dialog's checks and
// their texts, what each way out of the dialog leaves in the provider's week override, block
// drags (overlaps dropped silently, shifted up at the end of the day, unchanged times doing
// nothing), the announcement another workstation receives, and the context menus' texts.

#include <vector>

#include "app/refresh.h"
#include "data/block_override.h"
#include "data/db_access.h"
#include "demo_practice_fixture.h"
#include "views/block_edit.h"
#include "views/day_data.h"
#include "views/sheet_menus.h"

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);
const int32_t kTuesday = kMonday + 1;
constexpr int Unit(int hour, int minute = 0) { return hour * 12 + minute / 5; }
constexpr uint8_t kOtherStation = 102;

// The override record of DR1's week, if any.
bool ReadOverride(int32_t date, RscUseBlockOverride* record) { return ReadStoredWeek(kRscBlockOverride, "DR1", date, record); }

// Every slot of the record that differs from "keeps its default", as "weekday/slot=start-end".
std::string OverrideSlots(const RscUseBlockOverride& r) {
    std::string s;
    for (int w = 0; w < 7; ++w)
        for (int b = 0; b < kOverrideSlots; ++b)
            if (r.start[w][b] != kBlockKeepsDefault || r.end[w][b] != kBlockKeepsDefault)
                s += (s.empty() ? "" : " ") + std::to_string(w) + "/" + std::to_string(b) + "=" +
                     std::to_string(r.start[w][b]) + "-" + std::to_string(r.end[w][b]);
    return s;
}

// The demo book with DR1 and OP1 shown on Monday 7 December 2026. DR1's "New Pt Exam" is at
// 8:00-9:00 in OP1; for the overlap cases its "Emergency" block is put into OP1 at 10:00-11:00
// on Mondays as well (in the loaded table only), so that the column holds two blocks.
class BlockEdit : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        if (HasFatalFailure()) return;
        ProviderInfo& dr1 = practice_tables.providers[static_cast<size_t>(ProviderIndex("DR1"))];
        ASSERT_EQ(std::string("Emergency"), dr1.blockNames[1]);
        std::memcpy(dr1.blockOperatory[1], "OP1 ", 4);
        dr1.blockStart[1][1] = Unit(10);
        dr1.blockEnd[1][1] = Unit(11);
        ShowOnly({"DR1"}, {"OP1"});
        ShowDays({kMonday});
        ASSERT_EQ(101, RegisterStation(kOtherStation, kMonday)) << "another workstation shows that week";
    }
    void TearDown() override {
        FreeDays();
        view_state = ViewState{};
    }
    void ShowDays(const std::vector<int32_t>& dates) { LoadShownDays(dates, kDayView); }
    const DayColumn& Op1(int32_t date = kMonday) {
        const DayColumn* c = ShownColumnOf(date, "OP1 ");
        EXPECT_NE(nullptr, c);
        return *c;
    }
    std::vector<int32_t> OtherStationReloads() {
        std::vector<int32_t> days;
        std::vector<int32_t> week;
        for (int d = 0; d < 7; ++d) week.push_back(WeekStartOf(kMonday) + d);
        PollStation(kOtherStation, week, [&](int32_t day) { days.push_back(day); });
        return days;
    }
};

}  // namespace

TEST_F(BlockEdit, TheDialogRefusesAnEmptyRangeAndOverlapsWithTheirTexts) {
    const DayColumn& op1 = Op1();
    ASSERT_EQ(2u, op1.blocks.size());
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk).Answer(kAnswerOk).Answer(kAnswerOk).Answer(kAnswerOk);
    EXPECT_FALSE(CheckBlockEditTimes(&op1, 0, Unit(9), Unit(9))) << "end at the start";
    EXPECT_FALSE(CheckBlockEditTimes(&op1, 0, Unit(9), Unit(8, 30))) << "end before the start";
    EXPECT_FALSE(CheckBlockEditTimes(&op1, 0, Unit(9, 30), Unit(10, 30))) << "into the Emergency block";
    ASSERT_EQ(3u, prompter.Asked().size());
    EXPECT_EQ((std::vector<std::string>{"Invalid Time Range!", "Invalid Time Range!", "Block overlaps another block!"}),
              prompter.Texts());
    EXPECT_EQ(kIconExclamation, prompter.Asked()[0].icon);
    EXPECT_EQ(kIconStop, prompter.Asked()[2].icon);
    EXPECT_EQ("Appointment Book", prompter.Asked()[2].title);

    EXPECT_TRUE(CheckBlockEditTimes(&op1, 0, Unit(9), Unit(10))) << "touching the next block is no overlap";
    EXPECT_FALSE(CheckBlockEditTimes(&op1, 1, Unit(8, 30), Unit(10, 30))) << "Emergency into New Pt Exam";
    EXPECT_TRUE(CheckBlockEditTimes(&op1, 0, 0, Unit(10, 30))) << "a start at midnight is not tested for overlaps";
    EXPECT_TRUE(CheckBlockEditTimes(nullptr, 0, Unit(9), Unit(10))) << "a column not shown has nothing to overlap";
    EXPECT_EQ(4u, prompter.Asked().size()) << "only the Emergency block's overlap was refused again";
    EXPECT_EQ("Block overlaps another block!", prompter.Texts().back());
}

TEST_F(BlockEdit, EachWayOutOfTheDialogLeavesItsOverrideAndIsAnnounced) {
    RscUseBlockOverride r{};
    TimeBlockRecord exam = Op1().blocks[0];
    EXPECT_FALSE(ApplyBlockEdit(exam, kMonday, Unit(8), Unit(9))) << "unchanged times write nothing";
    EXPECT_FALSE(ApplyBlockEdit(exam, kMonday, kBlockToDefault, kBlockToDefault))
        << "back to the default with no override: nothing to write";
    EXPECT_FALSE(ReadOverride(kMonday, &r));
    EXPECT_TRUE(OtherStationReloads().empty()) << "nothing was announced";

    // New times: a new record with only Monday's slot of block 0 set; the shown day follows.
    ASSERT_TRUE(ApplyBlockEdit(exam, kMonday, Unit(9), Unit(9, 40)));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=108-116", OverrideSlots(r));
    EXPECT_EQ(Unit(9), Op1().blocks[0].start) << "the shown day was reloaded";
    EXPECT_EQ(kBlockCodeBase, Op1().codes[Unit(9)]);
    EXPECT_EQ(std::vector<int32_t>{kMonday}, OtherStationReloads()) << "the other workstation reloads Monday";

    // Cleared for the day: 0xFFFE in both halves of the slot, the block gone from the sheet.
    exam = Op1().blocks[0];
    ASSERT_TRUE(ApplyBlockEdit(exam, kMonday, kBlockClearDay, kBlockClearDay));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=65534-65534", OverrideSlots(r));
    EXPECT_EQ(0, Op1().codes[Unit(8)]);

    // Cleared on Tuesday, where the block has no times of its own: nothing to clear, the slot
    // keeps its default and Monday's clearing stays.
    ShowDays({kMonday, kTuesday});
    exam = Op1(kTuesday).blocks[0];
    EXPECT_EQ(-1, exam.start);
    EXPECT_TRUE(ApplyBlockEdit(exam, kTuesday, kBlockClearDay, kBlockClearDay));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=65534-65534", OverrideSlots(r));

    // The default times chosen again by hand: the slot goes back, and with it the whole record.
    exam = Op1().blocks[0];
    ASSERT_TRUE(ApplyBlockEdit(exam, kMonday, Unit(8), Unit(9)));
    EXPECT_FALSE(ReadOverride(kMonday, &r)) << "no override left: the record is deleted";
    EXPECT_EQ(Unit(8), Op1().blocks[0].start);

    // Two blocks changed, then one set to default: the record stays with the other.
    ASSERT_TRUE(ApplyBlockEdit(Op1().blocks[0], kMonday, Unit(7), Unit(8)));
    ASSERT_TRUE(ApplyBlockEdit(Op1().blocks[1], kMonday, Unit(10, 30), Unit(11, 30)));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=84-96 1/1=126-138", OverrideSlots(r));
    ASSERT_TRUE(ApplyBlockEdit(Op1().blocks[0], kMonday, kBlockToDefault, kBlockToDefault));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/1=126-138", OverrideSlots(r));
    ASSERT_TRUE(ApplyBlockEdit(Op1().blocks[1], kMonday, kBlockToDefault, kBlockToDefault));
    EXPECT_FALSE(ReadOverride(kMonday, &r));
    EXPECT_EQ(Unit(10), Op1().blocks[1].start);
}

TEST_F(BlockEdit, AnOverrideLockedByAnotherWorkstationIsNotWritten) {
    // Another session holds the week's override under its lock; the edit asks what to do and,
    // cancelled, leaves the record as the other session has it.
    ASSERT_TRUE(ApplyBlockEdit(Op1().blocks[0], kMonday, Unit(9), Unit(10)));
    QdbSession other = QDB_StartSession(1);
    ASSERT_NE(0u, other);
    QdbFile file = QDB_OpenFile(other, kRscUseFile);
    ASSERT_NE(0u, file);
    ASSERT_EQ(1, QDB_StartLocking(other));
    RscUseKey key{kRscBlockOverride, {'D', 'R', '1', ' '}, static_cast<uint32_t>(WeekStartOf(kMonday))};
    RscUseBlockOverride held{};
    ASSERT_EQ(1, QDB_FindRec(file, kRscUseKey, &key, &held));

    ScriptedPrompter prompter;
    prompter.Answer(kAnswerCancel);
    EXPECT_FALSE(ApplyBlockEdit(Op1().blocks[0], kMonday, Unit(11), Unit(12)));
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("A record of data file 94 is in use at another workstation.\nChoose Retry to try again or Cancel to give up.",
              prompter.Texts()[0]);
    EXPECT_TRUE(OtherStationReloads() == std::vector<int32_t>{kMonday}) << "only the first edit was announced";
    QDB_StopLocking(other);
    QDB_CloseFile(file);
    QDB_EndSession(other);
    RscUseBlockOverride r{};
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=108-120", OverrideSlots(r));
}

TEST_F(BlockEdit, DraggedBlocksLandOnRowsStayInTheDayAndNeverOverlap) {
    // Rows of 10 minutes (2 units) 11 pixels high, the sheet beginning at 7:00.
    const int R = 11, S = 2, top = Unit(7);
    EXPECT_EQ(Unit(7, 10), BlockDropStart(6, R, S, top)) << "six pixels below a boundary: the next row";
    EXPECT_EQ(Unit(6, 50), BlockDropStart(-3, R, S, top)) << "above the sheet: one row less";
    EXPECT_EQ(0, BlockDropStart(-3, R, S, 0)) << "never before midnight";
    EXPECT_EQ(8, BlockResizeUnits(0, 39, R, S)) << "rounded to the nearest row";

    const BlockRange moved = BlockDropRange(2 * R, Unit(1), R, S, top);
    EXPECT_EQ(Unit(8, 20), moved.end);
    const BlockRange late = BlockDropRange(0, Unit(1), R, S, Unit(23, 30));
    EXPECT_EQ(Unit(23), late.start) << "shifted up so that it ends at midnight";
    EXPECT_EQ(kUnitsPerDay, late.end);

    ScriptedPrompter silent;  // any question or refusal fails the test
    const DayColumn& op1 = Op1();
    EXPECT_FALSE(MoveTimeBlock(op1, 0, Unit(8), Unit(9), kMonday)) << "unchanged";
    EXPECT_FALSE(MoveTimeBlock(op1, 0, Unit(9, 30), Unit(10, 30), kMonday)) << "onto the Emergency block";
    EXPECT_FALSE(MoveTimeBlock(op1, 1, Unit(7, 30), Unit(8, 30), kMonday)) << "Emergency onto New Pt Exam";
    RscUseBlockOverride r{};
    EXPECT_FALSE(ReadOverride(kMonday, &r));
    EXPECT_TRUE(OtherStationReloads().empty());

    ASSERT_TRUE(MoveTimeBlock(op1, 0, Unit(9), Unit(10), kMonday)) << "up against the Emergency block";
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=108-120", OverrideSlots(r));
    EXPECT_EQ(std::vector<int32_t>{kMonday}, OtherStationReloads());
    ASSERT_TRUE(MoveTimeBlock(Op1(), 1, late.start, late.end, kMonday));
    ASSERT_TRUE(ReadOverride(kMonday, &r));
    EXPECT_EQ("1/0=108-120 1/1=276-288", OverrideSlots(r));
    EXPECT_TRUE(silent.Asked().empty());
}

// (The bar's scrolling is the time dialog's, checked with the time pickers.)
TEST(BlockEditBars, PositionsStepsAndTexts) {
    // 10-minute steps from 0:00 to 23:50, a page an hour; no times: the middle of the day.
    EXPECT_EQ((std::vector<int>{143, 6, 72, 48, Unit(8)}), (std::vector<int>{BlockBarLastPosition(2), BlockBarPage(2), BlockBarPositionOf(-2, 2),
                                                                         BlockBarPositionOf(Unit(8), 2), BlockBarTime(48, 2)}));
    for (auto [time, shown] : {std::pair{0, "12:00am"}, {Unit(9, 5), " 9:05am"}, {Unit(12), "12:00pm"}}) {
        const BarTimeText t = BlockBarText(time);
        EXPECT_EQ(shown, t.hour + ":" + t.minute + t.half) << time;
    }
}

TEST(SheetMenus, EntriesSeparatorsAndCommandsInOrder) {
    auto flat = [](const std::vector<MenuEntry>& entries) {
        std::string s;
        for (const MenuEntry& e : entries) s += e.text ? std::string(e.text) + "=" + std::to_string(e.command) + ";" : "-;";
        return s;
    };
    EXPECT_EQ("Other Appointments...=380;Medical Alerts/Notes...=381;Info for Insurance...=382;-;"
              "Print Appointment Book View...=610;Print Route Slip...=620;Post/Set Complete...=129;Dial...=126;"
              "Break Appointment...=123;Delete Appointment...=124;-;&Chart=12112;&Family File=12113;"
              "&Ledger=12114;&Office Manager=12117;Quic&k Letters=12118;Quick Labels=12141;S&end Message=12134;"
              "Co&ntinuing Care=12119;Patient &Questionnaire=12124;&Prescriptions=12126;Office &Journal=12128;"
              "Patient Pict&ure=386;Pat&ient Alerts=393;Lab Case Manager=404;Patient Referrals=12146;",
              flat(PatientMenuEntries()));
    EXPECT_EQ("New Patient Info...=384;-;Print Appointment Book View...=610;Print Route Slip...=620;Dial...=126;"
              "Break Appointment...=123;Delete Appointment...=124;",
              flat(NewPatientMenuEntries()));
}

TEST_F(BlockEdit, TheTimeBlockMenuListsTheColumnsBlocksUpToTwentyFour) {
    TimeBlockMenu menu = TimeBlockMenuOf(Op1());
    EXPECT_EQ("TIME BLOCKS FOR OP1 ", menu.title);
    EXPECT_EQ((std::vector<std::string>{"New Pt Exam - DR1 ", "Emergency - DR1 "}), menu.blocks);

    DayColumn crowded = Op1();
    while (crowded.blocks.size() < 30) crowded.blocks.push_back(crowded.blocks[0]);
    menu = TimeBlockMenuOf(crowded);
    EXPECT_EQ(24u, menu.blocks.size()) << "a column keeps at most 24 blocks";
}
