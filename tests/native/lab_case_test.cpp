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
    std::vector<LabCaseLink> links = ReadApptToCaseLinks(7);
    ASSERT_EQ(2u, links.size());
    EXPECT_EQ(12u, links[0].caseId) << "in the order of the case ids";
    EXPECT_EQ("Crown Co", links[0].lab);
    EXPECT_EQ(300u, links[1].caseId);
    EXPECT_EQ(kLabSent, ApptLabCaseState(7));
    EXPECT_EQ("Sent", LabCaseStatusText(ApptLabCaseState(7)));
    EXPECT_EQ(kLabInHouse, ApptLabCaseState(256)) << "another appointment's cases stay apart";

    // The dialog drops case 12 and adds case 40 that still has to go out.
    ASSERT_TRUE(WriteApptToCaseLinks(7, {{300, kLabReceived, "Smile Lab", 0}, {40, kLabNeeded, "Smile Lab", 0}}));
    links = ReadApptToCaseLinks(7);
    ASSERT_EQ(2u, links.size());
    EXPECT_EQ(40u, links[0].caseId);
    EXPECT_EQ(kLabNeeded, ApptLabCaseState(7));

    ASSERT_TRUE(DeleteApptCaseLinks(7));
    EXPECT_TRUE(ReadApptToCaseLinks(7).empty());
    EXPECT_EQ(1u, ReadApptToCaseLinks(256).size());
}
