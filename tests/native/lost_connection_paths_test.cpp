// The paths that meet a server gone away outside the shared session's own calls: a save on a
// session of its own, and the load of the shown days. Each asks the one question about the lost
// database instead of its file's message, Cancel ends it quietly, and Retry goes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/db_access.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "test_storage.h"
#include "views/day_data.h"

#ifdef QVN_PG_CLUSTER_SCRIPT

namespace {

int ShownAppointments() {
    int n = 0;
    for (const DayRecord& day : day_data.days)
        for (const DayColumn& c : day.columns) n += static_cast<int>(c.appointments.size());
    return n;
}

const std::vector<std::string> kAskedOnce{"The practice database cannot be reached."};

}  // namespace

TEST(LostConnectionPaths, ASaveOnASessionOfItsOwnAndADayLoadAskAboutTheDatabaseAndGoOnAfterRetry) {
    OwnServer server;
    PracticeTestDatabase db(Backend::kPostgres, server.State());
    ASSERT_TRUE(db.Ok());
    std::string reason;
    ASSERT_TRUE(db.UseDemoPractice(DemoMonday(), &reason)) << reason;
    ASSERT_TRUE(LoadPracticeTables());
    {
        YesToAllPrompter yes;
        ASSERT_TRUE(SaveAppointment(true, nullptr, DemoAppt(900000, DemoMonday(), 16, 0, 30, "DR1", "OP1")));
    }
    ShowOnly({"DR1", "DR2"}, {"OP1", "OP2", "OP3"});
    LoadShownDays({DemoMonday()}, kDayView);
    const int shown = ShownAppointments();
    ASSERT_GT(shown, 0);
    // Ten weeks ahead the demo book is empty: the save asks nothing of its own.
    const AppointmentRecord a = DemoAppt(900001, DemoMonday() + 70, 9, 0, 30, "DR1", "OP1");
    auto stored = [&] { return db.Store().Sql("SELECT count(*) FROM g9"); };
    const int64_t before = stored();
    ASSERT_GT(before, 0);

    ASSERT_TRUE(server.Run("halt"));
    {
        // The save cannot start its session: the question, not "Database error 12"; Cancel ends
        // it, nothing else is said, and the window's look afterwards asks nothing.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerCancel);
        EXPECT_FALSE(SaveAppointment(true, nullptr, a));
        EXPECT_EQ(kAskedOnce, prompts.Texts());
        EXPECT_EQ("Appointment Book", prompts.Asked().at(0).title);  // its buttons: db_access_test.cpp
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
        EXPECT_EQ(1u, prompts.Asked().size());
    }
    {
        // The next save asks again; Retry with the server back goes on with the same save.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerRetry, [&] { ASSERT_TRUE(server.Run("resume")); });
        EXPECT_TRUE(SaveAppointment(true, nullptr, a));
        EXPECT_EQ(kAskedOnce, prompts.Texts());
        EXPECT_EQ(DbConnection::kRestored, DbKeepConnection());
    }
    EXPECT_EQ(before + 1, stored()) << "the save after Retry is on the server";

    ASSERT_TRUE(server.Run("halt"));
    {
        // The shown days' load: one question (not message 3018 with the lost connection's
        // result), the days empty rather than stale after Cancel.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerCancel);
        LoadShownDays({DemoMonday(), DemoMonday() + 1}, kDayView);
        EXPECT_EQ(kAskedOnce, prompts.Texts());
        EXPECT_EQ(0, ShownAppointments());
        EXPECT_EQ(DbConnection::kLost, DbKeepConnection());
    }
    ASSERT_TRUE(server.Run("resume"));
    {
        // The next load asks again and on Retry the window's look reports the new session, on
        // which the days load whole.
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerRetry);
        LoadShownDays({DemoMonday()}, kDayView);
        EXPECT_EQ(kAskedOnce, prompts.Texts());
        EXPECT_EQ(DbConnection::kRestored, DbKeepConnection());
        LoadShownDays({DemoMonday()}, kDayView);
        EXPECT_EQ(shown, ShownAppointments());
        EXPECT_EQ(1u, prompts.Asked().size());
    }
}

#endif
