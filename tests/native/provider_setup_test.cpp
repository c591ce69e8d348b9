// Provider setup on the demo practice: the Block Settings checks in their order with their texts
// and focus, the block list's limit of six, OK's save (the deleted block leaving every week
// override, emptied overrides deleted, the record and the loaded table written together),
// Cancel writing nothing, and a second process waiting on the provider's record lock until the
// first one's save, which it then sees.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "data/block_override.h"
#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "setup/block_settings.h"
#include "setup/provider_setup.h"

namespace {

constexpr int Unit(int hour, int minute = 0) { return hour * 12 + minute / 5; }
constexpr int kSun = 0, kMon = 1, kTue = 2, kWed = 3, kThu = 4, kFri = 5, kSat = 6;

// DR1 of the demo practice: "New Pt Exam" on Mondays 8:00-9:00 in OP1 (type 1) and "Emergency"
// on Wednesdays 11:00-12:00 without an operatory (type 6). DR2's "Crown Prep" holds OP3 on
// Tuesdays 8:00-10:00.
class ProviderSetupTest : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        if (HasFatalFailure()) return;
        ScriptedPrompter none;
        ASSERT_EQ(ProviderRecordHold::Opened::kOpened, hold_.Open("DR1 ", &buffer_));
        EXPECT_TRUE(none.Texts().empty());
    }
    static BlockSettings Block(int position, const char* name, int weekday, int start, int end, const char* op = "",
                               uint8_t type = 0) {
        BlockSettings s;
        s.position = position;
        std::strncpy(s.block.name, name, kBlockNameLength);
        if (weekday >= 0) {
            s.block.start[weekday] = start;
            s.block.end[weekday] = end;
            s.ticked[weekday] = start >= 0 || end >= 0;
        }
        if (*op) std::memcpy(s.block.operatory, op, 4);
        s.block.type[0] = type;
        return s;
    }
    // DR1's RscUse record of the kind and week, as stored.
    template <typename Record>
    static bool ReadDr1(uint8_t kind, uint32_t week, Record* record) {
        FileGroupDesc desc{};
        DbGroupOf(kRscUseFile, &desc);
        RscUseKey key{kind, {'D', 'R', '1', ' '}, week};
        return DbFindRecord(desc, kRscUseKey, &key, sizeof key, record) == kQdbOk;
    }
    static bool ReadOverride(uint32_t week, RscUseBlockOverride* record) { return ReadDr1(kRscBlockOverride, week, record); }
    ProviderRecordHold hold_;
    ProviderSetupBuffer buffer_;
};

TEST_F(ProviderSetupTest, BlockSettingsAreCheckedInOrderWithTheirTextsAndFocus) {
    ASSERT_EQ(std::string("New Pt Exam"), buffer_.blocks[0].name);
    ASSERT_EQ(std::string("Emergency"), buffer_.blocks[1].name);
    ASSERT_EQ(Unit(8), buffer_.blocks[0].start[kMon]);

    BlockSettings ticked_empty = Block(2, "Lunch", kMon, Unit(12), Unit(13));
    ticked_empty.ticked[kThu] = true;
    BlockSettings two_faults = Block(2, "Lunch", kSun, Unit(10), Unit(9));
    two_faults.block.start[kMon] = Unit(8);  // no end on Monday either: Sunday is checked first
    BlockSettings nameless_and_timeless = Block(2, "", -1, -1, -1);
    BlockSettings same_block = BlockSettingsOf(buffer_, 0);  // the block itself, unchanged

    struct Case {
        const char* what;
        BlockSettings settings;
        const char* text;  // nullptr: accepted
        BlockFocus focus;
        int weekday;
    };
    const std::vector<Case> cases = {
        {"no name", Block(2, "", kMon, Unit(12), Unit(13)), "Block name must be entered.", BlockFocus::kName, 0},
        {"the name first", nameless_and_timeless, "Block name must be entered.", BlockFocus::kName, 0},
        {"a name taken in another case", Block(2, "NEW PT exam", kMon, Unit(12), Unit(13)),
         "A Unique block name must be entered.", BlockFocus::kName, 0},
        {"a start without an end", Block(2, "Lunch", kMon, Unit(12), -1), "A full time span must be entered!",
         BlockFocus::kEndButton, kMon},
        {"an end without a start", Block(2, "Lunch", kTue, -1, Unit(13)), "A full time span must be entered!",
         BlockFocus::kStartButton, kTue},
        {"a ticked weekday without times", ticked_empty, "A full time span must be entered!", BlockFocus::kStartButton, kThu},
        {"start equal to end", Block(2, "Lunch", kFri, Unit(12), Unit(12)), "Invalid time span!", BlockFocus::kEndButton, kFri},
        {"end before start", Block(2, "Lunch", kSat, Unit(13), Unit(12)), "Invalid Time Range!", BlockFocus::kStartButton, kSat},
        {"weekdays in order", two_faults, "Invalid Time Range!", BlockFocus::kStartButton, kSun},
        {"no time at all", Block(2, "Lunch", -1, -1, -1), "At least one time must be specified!", BlockFocus::kSundayBox, 0},
        {"8:30-9:30 over 8:00-9:00 in OP1", Block(2, "Lunch", kMon, Unit(8, 30), Unit(9, 30), "OP1 "),
         "Block overlaps another block!", BlockFocus::kStartButton, kMon},
        {"9:00-10:00 touching 8:00-9:00 in OP1", Block(2, "Lunch", kMon, Unit(9), Unit(10), "OP1 "), nullptr,
         BlockFocus::kName, 0},
        {"8:30-9:30 in another operatory", Block(2, "Lunch", kMon, Unit(8, 30), Unit(9, 30), "OP2 "), nullptr,
         BlockFocus::kName, 0},
        {"no operatory over Emergency (no operatory)", Block(2, "Lunch", kWed, Unit(11, 30), Unit(12, 30)),
         "Block overlaps another block!", BlockFocus::kStartButton, kWed},
        {"no operatory, type <all>", Block(2, "Lunch", kWed, Unit(8), Unit(9)), nullptr, BlockFocus::kName, 0},
        {"no operatory with a type", Block(2, "Lunch", kWed, Unit(8), Unit(9), "", 3), "An operatory must be selected",
         BlockFocus::kOperatory, 0},
        {"DR2's Crown Prep holds OP3 on Tuesdays", Block(2, "Lunch", kTue, Unit(9), Unit(9, 30), "OP3 ", 2),
         "Operatory is in use by another provider's block!", BlockFocus::kOperatory, 0},
        {"OP3 on a Wednesday", Block(2, "Lunch", kWed, Unit(9), Unit(9, 30), "OP3 ", 2), nullptr, BlockFocus::kName, 0},
        {"a block against itself", same_block, nullptr, BlockFocus::kName, 0},
    };
    for (const Case& c : cases) {
        const BlockRefusal r = CheckBlockSettings(c.settings, buffer_.blocks, "DR1 ");
        EXPECT_EQ(std::string(c.text ? c.text : "accepted"), std::string(r.text ? r.text : "accepted")) << c.what;
        if (!c.text) continue;  // an accepted block has no focus to compare
        EXPECT_EQ(static_cast<int>(c.focus), static_cast<int>(r.focus)) << c.what;
        EXPECT_EQ(c.weekday, r.weekday) << c.what;
    }

    // 9:00-10:00 on Tuesdays in OP2 taken in, then 8:00-11:00 there is refused.
    StoreBlockSettings(buffer_, Block(2, "Lunch", kTue, Unit(9), Unit(10), "OP2 "));
    const BlockRefusal over = CheckBlockSettings(Block(3, "Long", kTue, Unit(8), Unit(11), "OP2 "), buffer_.blocks, "DR1 ");
    EXPECT_STREQ("Block overlaps another block!", over.text);
    EXPECT_EQ(kTue, over.weekday);
}

TEST_F(ProviderSetupTest, OkClearsTheDeletedBlockFromEveryWeekAndWritesRecordAndTableTogether) {
    // Three weeks of overrides: Emergency alone (the record goes), both blocks (New Pt Exam's
    // slot stays), New Pt Exam alone (left as it is).
    const int32_t monday = DemoMonday(), wednesday = monday + 2;
    ASSERT_EQ(kQdbOk, WriteBlockOverride("DR1 ", 1, wednesday, Unit(14), Unit(15)));
    ASSERT_EQ(kQdbOk, WriteBlockOverride("DR1 ", 0, monday + 7, Unit(10), Unit(11)));
    ASSERT_EQ(kQdbOk, WriteBlockOverride("DR1 ", 1, wednesday + 7, kBlockClearDay, kBlockClearDay));
    ASSERT_EQ(kQdbOk, WriteBlockOverride("DR1 ", 0, monday + 14, Unit(9), Unit(10)));
    const uint32_t week1 = static_cast<uint32_t>(WeekStartOf(monday));
    RscUseBlockOverride third_before{};
    ASSERT_TRUE(ReadOverride(week1 + 14, &third_before));

    // The block list: Emergency deleted, four added; a seventh cannot be added.
    EXPECT_TRUE(CanAddBlock(buffer_));
    DeleteBlock(buffer_, 1);
    EXPECT_EQ((std::vector<int>{0}), NamedBlocks(buffer_));
    for (const char* name : {"A", "B", "C", "D", "E"}) {
        const int slot = FreeBlockSlot(buffer_);
        ASSERT_GE(slot, 0) << name;
        StoreBlockSettings(buffer_, Block(slot, name, kFri, Unit(13) + 6 * (name[0] - 'A'), Unit(13) + 6 * (name[0] - 'A') + 6, "OP2 "));
    }
    EXPECT_EQ(6u, NamedBlocks(buffer_).size());
    EXPECT_FALSE(CanAddBlock(buffer_));
    EXPECT_EQ(-1, FreeBlockSlot(buffer_));
    EXPECT_EQ(std::string("A"), buffer_.blocks[1].name) << "the deleted slot is the first one filled again";
    buffer_.colour = 0x00123456;
    std::memcpy(buffer_.aliases[0], "DR3 ", 4);
    buffer_.aliasCount = 1;

    ScriptedPrompter none;
    ASSERT_TRUE(hold_.Save(buffer_));
    EXPECT_TRUE(none.Texts().empty());

    RscUseBlockOverride o{};
    EXPECT_FALSE(ReadOverride(week1, &o)) << "an override left with nothing is deleted";
    ASSERT_TRUE(ReadOverride(week1 + 7, &o));
    EXPECT_EQ(std::tuple(Unit(10), int{kBlockKeepsDefault}, int{kBlockKeepsDefault}),
              std::tuple(+o.start[kMon][0], +o.start[kWed][1], +o.end[kWed][1])) << "the deleted block's clear is gone";
    ASSERT_TRUE(ReadOverride(week1 + 14, &o));
    EXPECT_EQ(0, std::memcmp(&o, &third_before, sizeof o)) << "a week without the deleted block is untouched";

    RscUseProviderBase base{};
    ASSERT_TRUE(ReadDr1(kRscProvider, 0, &base));
    EXPECT_EQ(std::tuple(0x00123456u, std::string("A"), Unit(13), Unit(13, 30), int{kNoTime}, std::string("DR3 "), 0),
              std::tuple(+base.colour, std::string(base.blockNames[1]), +base.blockStart[kFri][1], +base.blockEnd[kFri][1],
                         +base.blockStart[kWed][1], std::string(base.aliases[0], 4), int{base.aliases[1][0]}))
        << "Emergency's Wednesday is gone with it";
    const ProviderInfo& table = practice_tables.providers[static_cast<size_t>(ProviderIndex("DR1"))];
    EXPECT_EQ(0x00123456u, +table.colour);
    EXPECT_EQ(0, std::memcmp(table.blockNames, base.blockNames, sizeof base.blockNames));
    EXPECT_EQ(0, std::memcmp(table.blockStart, base.blockStart, sizeof base.blockStart));
    EXPECT_EQ(0, std::memcmp(table.blockOperatory, base.blockOperatory, sizeof base.blockOperatory));

    // Cancel: a change made in the dialog is not written, and the lock is given back.
    const std::string before = StoredRows(db_.Dir(), {"g94"});
    ProviderRecordHold again;
    ProviderSetupBuffer b;
    ASSERT_EQ(ProviderRecordHold::Opened::kOpened, again.Open("DR1 ", &b));
    EXPECT_EQ(0x00123456u, b.colour) << "the saved record is what opens";
    b.colour = 1;
    DeleteBlock(b, 0);
    again.Release();
    EXPECT_EQ(before, StoredRows(db_.Dir(), {"g94"}));
    ProviderRecordHold third;
    EXPECT_EQ(ProviderRecordHold::Opened::kOpened, third.Open("DR1 ", &b)) << "the lock went with Cancel";
    EXPECT_TRUE(none.Texts().empty());

    // Refused without a word: no identifier, a leading blank, a provider not in the table.
    for (const char* id : {"\0\0\0\0", " DR1", "ZZZZ"})
        EXPECT_EQ(ProviderRecordHold::Opened::kRefused, ProviderRecordHold().Open(id, &b)) << id;
    EXPECT_TRUE(none.Texts().empty());
}

#ifndef _WIN32
// Two workstations open DR1's setup: the second waits on the record lock while the first has its
// dialog open, and opens once the first has saved, on what the first saved.
TEST_F(ProviderSetupTest, ASecondWorkstationWaitsOnTheProviderAndSeesTheFirstOnesSave) {
    hold_.Release();
    DbEndSession();
    int go[2], opened[2];
    ASSERT_EQ(0, pipe(go));
    ASSERT_EQ(0, pipe(opened));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        YesToAllPrompter retry;  // Retry whenever asked about the locked record
        char c = 0;
        if (read(go[0], &c, 1) != 1) _exit(10);
        if (!DbInitDatabase() || !LoadPracticeTables()) _exit(11);
        ProviderRecordHold hold;
        ProviderSetupBuffer b;
        if (hold.Open("DR1 ", &b) != ProviderRecordHold::Opened::kOpened) _exit(12);
        const char done = 'o';
        if (write(opened[1], &done, 1) != 1) _exit(13);
        _exit(b.colour == 0x00ABCDEF && std::strcmp(b.blocks[2].name, "Lunch") == 0 ? 0 : 14);
    }
    ASSERT_TRUE(DbInitDatabase());
    ASSERT_EQ(ProviderRecordHold::Opened::kOpened, hold_.Open("DR1 ", &buffer_));
    const char c = 'g';
    ASSERT_EQ(1, write(go[1], &c, 1));
    pollfd watch{opened[0], POLLIN, 0};
    EXPECT_EQ(0, poll(&watch, 1, 1500)) << "the other workstation waits while the dialog is open";
    buffer_.colour = 0x00ABCDEF;
    StoreBlockSettings(buffer_, Block(2, "Lunch", kTue, Unit(12), Unit(13)));
    ASSERT_TRUE(hold_.Save(buffer_));
    EXPECT_EQ(1, poll(&watch, 1, 30000)) << "it opens once the save has let the lock go";
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "it opened on the saved colour and block";
}
#endif

}  // namespace
