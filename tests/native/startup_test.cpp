// Start-up from the database session to the applied view, on real practice databases: the demo
// practice runs; a practice without providers, a user without the right to open the book and a
// data directory without a database each end start-up the way the user must see it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "data/com_dat_record.h"
#include "suite/qdb/qdb.h"
#include "data/demo_seed.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/settings.h"
#include "suite/users.h"
#include "user_database.h"
#include "views/active_view.h"

namespace {

// Records what start-up asked of the window, in order.
class RecordingWindow final : public StartupWindow {
public:
    void Destroy() override { calls.push_back("destroy"); }
    void PostQuit() override { calls.push_back("quit"); }
    void SetStatusMenu(const StatusTables& tables) override {
        std::string text = "status menu:";
        for (const StatusMenuEntry& e : tables.entries) text += " " + std::to_string(e.command) + "=" + e.name;
        calls.push_back(text);
    }
    void RemoveCommand(int command) override { calls.push_back("remove " + std::to_string(command)); }
    std::vector<std::string> calls;
};

const char kDemoStatusMenu[] = "status menu: 301=Here 302=Seated 303=Late 304=Conf 305=LM 306=NoAns";

// The demo practice in a fresh database, its session ended so that start-up opens its own.
class DemoStartup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(QVN_DateIn(12, 7, 2026), &reason)) << reason;
        DbEndSession();
        view_state = ViewState{};
    }
    void TearDown() override { QVN_SetSysDateOverride(0); }

    PracticeTestDatabase db_;
};

}  // namespace

TEST_F(DemoStartup, TheDemoPracticeRunsWithItsStatusMenuViewAndStartTime) {
    QVN_WriteProfileString("GENERAL", "User", "ASSIST");
    QVN_WriteProfileString("APPTBOOK", "DEF_VIEW", "3");
    ViewDefinition three;
    three.providerCount = 2;
    std::memcpy(three.providers[0], "HYG2", 4);
    std::memcpy(three.providers[1], "DR1 ", 4);
    three.operatoryCount = 1;
    std::memcpy(three.operatories[0], "OP5 ", 4);
    three.days[0] = 2;
    three.days[1] = 3;
    ASSERT_EQ(1, SaveViewDefinition(3, three));
    QVN_SetSysDateOverride(QVN_DateIn(12, 11, 2026));  // a Friday: the office opens at 8

    ScriptedPrompter prompts;
    ScriptedPasswordPrompter passwords;
    passwords.Answer("ASSIST", "assist").Answer("FRONT", "front");
    RecordingWindow window;
    EXPECT_EQ(StartupEnd::kRun, RunStartupSteps("", window));
    EXPECT_TRUE(prompts.Asked().empty());
    EXPECT_EQ(std::vector<std::string>{kDemoStatusMenu}, window.calls);
    EXPECT_EQ(5u, practice_tables.providers.size());

    // HYG2 is the fifth provider by identifier.
    const ActiveView& v = view_state.active;
    EXPECT_EQ((std::vector<int>{3, 2, 4, 0, 1, 4, 8 * 12}),
              (std::vector<int>{v.number, v.providerCount, v.providers[0], v.providers[1], v.operatoryCount, v.operatories[0],
                                view_state.firstShownTime}));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), view_state.openWeekdays);
    DbEndSession();

    // On a Sunday the office is closed: the sheet starts at seven. A view that was never
    // defined takes the working selection; country 2 loses the tutorial entry.
    QVN_SetSysDateOverride(QVN_DateIn(12, 13, 2026));
    QVN_WriteProfileString("APPTBOOK", "DEF_VIEW", "7");
    QVN_WriteProfileString("Intl", "iCountry", "2");
    view_state = ViewState{};
    RecordingWindow second;
    EXPECT_EQ(StartupEnd::kRun, RunStartupSteps("/USER=front", second));
    EXPECT_EQ((std::vector<std::string>{kDemoStatusMenu, "remove 703"}), second.calls);
    EXPECT_EQ((std::vector<int>{7 * 12, 7, 5, 7}),
              (std::vector<int>{view_state.firstShownTime, v.number, v.providerCount, v.operatoryCount}));
}

TEST_F(DemoStartup, ACancelledSignOnOrAUserWithoutTheRightEndsStartUpBeforeAnythingLoads) {
    QVN_WriteProfileString("GENERAL", "User", "FRONT");
    ScriptedPrompter prompts;
    ScriptedPasswordPrompter passwords;
    passwords.Cancel();
    RecordingWindow cancelled;
    EXPECT_EQ(StartupEnd::kLoopEnds, RunStartupSteps("", cancelled));
    EXPECT_EQ((std::vector<std::string>{"destroy", "quit"}), cancelled.calls) << "no status menu: nothing loaded";
    EXPECT_EQ(0, db_state.session);

    ASSERT_TRUE(DbInitDatabase());
    UserRecord guest = MakeUserRecord(9, "GUEST", "Guest");
    QVN_SetUserPassword(guest, "guest", 1000);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(guest));
    DbEndSession();
    passwords.Answer("GUEST", "guest").Cancel();  // signed on; the rights check's prompt cancelled
    RecordingWindow window;
    EXPECT_EQ(StartupEnd::kLoopEnds, RunStartupSteps("/USER=guest", window));
    EXPECT_EQ((std::vector<std::string>{"destroy", "quit"}), window.calls);
    EXPECT_EQ(0, db_state.session) << "the session is ended";
}

TEST(Startup, APracticeWithoutProvidersOrWithoutADatabaseEndsWithItsMessage) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindPractice, "-PR-"));
    ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindOperatory, "OP1", 1));
    UserRecord front = MakeUserRecord(1, "FRONT", "Front");
    SetUserRight(front, 1, true);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(front));
    DbEndSession();
    QVN_WriteProfileString("GENERAL", "User", "FRONT");

    {
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerOk);
        RecordingWindow window;
        EXPECT_EQ(StartupEnd::kLoopEnds, RunStartupSteps("", window));
        ASSERT_EQ(1u, prompts.Asked().size());
        EXPECT_EQ("No Provider or No Operatory! Practice must be setup.", prompts.Asked()[0].text);
        EXPECT_EQ(kIconStop, prompts.Asked()[0].icon);
        EXPECT_EQ((std::vector<std::string>{"status menu:", "destroy"}), window.calls);
        DbEndSession();
    }

    // A qvndata.inf naming a backend this program does not know: start-up fails before any
    // window action, with a message that names the setting to look at. (Every reason the engine
    // gives is checked with the engine.)
    const std::filesystem::path dir = db.Settings().Dir() / "elsewhere";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "qvndata.inf") << "[DATABASE]\nBackend=Oracle\n";
    QVN_WriteProfileString("GENERAL", "Path", dir.string().c_str());
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk);
    RecordingWindow window;
    EXPECT_EQ(StartupEnd::kFailed, RunStartupSteps("", window));
    ASSERT_EQ(1u, prompts.Asked().size());
    const std::string& text = prompts.Asked()[0].text;
    EXPECT_EQ(0u, text.find("The practice database in " + QVN_GetDataPath() + " could not be opened.\n")) << text;
    EXPECT_NE(std::string::npos, text.find("[DATABASE] Backend=Oracle in qvndata.inf")) << text;
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(DemoStartup, ALockedRefreshRecordAsksWhetherToGoOnAndNoEndsStartUp) {
    QVN_WriteProfileString("GENERAL", "User", "FRONT");
    ScriptedPasswordPrompter passwords;
    passwords.Answer("FRONT", "front").Answer("FRONT", "front").Answer("FRONT", "front");
    {
        // A first start registers station 101; then another session holds its record locked.
        RecordingWindow first;
        ASSERT_EQ(StartupEnd::kRun, RunStartupSteps("", first));
        DbEndSession();
    }
    QdbSession holder = QDB_StartSession(1);
    ASSERT_NE(0, holder);
    QdbFile file = QDB_OpenFile(holder, kComDatFile);
    ASSERT_NE(0u, file);
    ASSERT_EQ(1, QDB_StartLocking(holder));
    uint8_t station = 101;
    ComDatRecord held{};
    ASSERT_EQ(1, QDB_FindRec(file, kComDatByStationKey, &station, &held));

    ScriptedPrompter prompts;
    prompts.Answer(kAnswerYes).Answer(kAnswerNo);
    RecordingWindow window;
    EXPECT_EQ(StartupEnd::kRun, RunStartupSteps("", window)) << "Yes goes on without the refresh";
    DbEndSession();
    RecordingWindow second;
    EXPECT_EQ(StartupEnd::kFailed, RunStartupSteps("", second));
    ASSERT_EQ(2u, prompts.Asked().size());
    EXPECT_EQ("Com_dat File warning=42. Dynamic refresh may not work. Continue?", prompts.Asked()[1].text);
    EXPECT_EQ(std::pair(kButtonsYesNo, kIconInformation), std::pair(prompts.Asked()[1].buttons, prompts.Asked()[1].icon));
    EXPECT_EQ("destroy", second.calls.back());
    EXPECT_EQ(0, db_state.session);
    QDB_EndSession(holder);
}
