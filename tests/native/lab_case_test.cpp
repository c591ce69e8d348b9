// Lab-case links on a real database: written, rewritten to another set, kept apart per
// appointment, deleted, and the state the sheet's marker shows.
#include <gtest/gtest.h>

#include "practice_test_database.h"
#include "suite/lab_case.h"

TEST(LabCase, LinksFollowTheDialogsListAndTheLeastAdvancedCaseDecides) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    EXPECT_EQ(kLabNone, ApptLabCaseState(7));
    EXPECT_EQ("", LabCaseStatusText(kLabNone));

    ASSERT_TRUE(WriteApptToCaseLinks(7, {{300, kLabReceived, "Smile Lab", 0}, {12, kLabSent, "Crown Co", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(256, {{1, kLabInHouse, "", 0}}));
    const auto cases = [](uint32_t appointment) {
        std::string s;
        for (const LabCaseLink& l : ReadApptToCaseLinks(appointment)) s += std::to_string(l.caseId) + " " + l.lab + ";";
        return s;
    };
    EXPECT_EQ("12 Crown Co;300 Smile Lab;", cases(7)) << "in the order of the case ids";
    EXPECT_EQ(kLabSent, ApptLabCaseState(7));
    EXPECT_EQ("Sent", LabCaseStatusText(ApptLabCaseState(7)));
    EXPECT_EQ(kLabInHouse, ApptLabCaseState(256)) << "another appointment's cases stay apart";

    // The dialog drops case 12 and adds case 40 that still has to go out.
    ASSERT_TRUE(WriteApptToCaseLinks(7, {{300, kLabReceived, "Smile Lab", 0}, {40, kLabNeeded, "Smile Lab", 0}}));
    EXPECT_EQ("40 Smile Lab;300 Smile Lab;", cases(7));
    EXPECT_EQ(kLabNeeded, ApptLabCaseState(7));

    ASSERT_TRUE(DeleteApptCaseLinks(7));
    EXPECT_EQ("", cases(7));
    EXPECT_EQ("1 ;", cases(256));
}
