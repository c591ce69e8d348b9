// Button-bar answers for each kind of selection, and status colours.
#include <gtest/gtest.h>

#include "app/command_rules.h"

TEST(CommandRules, ButtonsFollowTheSelection) {
    SelectionFacts none;
    SelectionFacts new_patient;
    new_patient.appointmentSelected = true;
    SelectionFacts patient = new_patient;
    patient.patientSelected = true;

    EXPECT_EQ(1, ButtonDisabled(12115, patient, nullptr));
    for (int c : {120, 121, 122, 127, 128})
        EXPECT_EQ(0, ButtonDisabled(c, none, nullptr)) << c;
    for (int c : {123, 124, 126, 129, 620}) {
        EXPECT_EQ(1, ButtonDisabled(c, none, nullptr)) << c;
        EXPECT_EQ(0, ButtonDisabled(c, new_patient, nullptr)) << c;
    }
    for (int c : {386, 393, 12124, 12126, 12146, 12118, 12141}) {
        EXPECT_EQ(1, ButtonDisabled(c, none, nullptr)) << c;
        EXPECT_EQ(1, ButtonDisabled(c, new_patient, nullptr)) << c;
        EXPECT_EQ(0, ButtonDisabled(c, patient, nullptr)) << c;
    }
    EXPECT_EQ(0, ButtonDisabled(388, none, nullptr));
    EXPECT_EQ(0, ButtonDisabled(610, none, nullptr));
}

TEST(CommandRules, FactsAreWrittenToTheAnswer) {
    SelectionFacts patient;
    patient.appointmentSelected = patient.patientSelected = true;
    patient.hasPicture = true;
    patient.hasReferrals = true;
    int answer = 7;
    EXPECT_EQ(0, ButtonDisabled(386, patient, &answer));
    EXPECT_EQ(1, answer);
    answer = 7;
    EXPECT_EQ(0, ButtonDisabled(12146, patient, &answer));
    EXPECT_EQ(1, answer);
    answer = 7;
    EXPECT_EQ(0, ButtonDisabled(393, patient, &answer));
    EXPECT_EQ(0, answer);
    answer = 7;
    patient.hasPicture = false;
    ButtonDisabled(386, patient, &answer);
    EXPECT_EQ(7, answer) << "the picture answer is written only when there is one";

    SelectionFacts nothing;
    nothing.hasPrescriptions = true;  // stale facts do not count without a patient selected
    answer = 7;
    EXPECT_EQ(1, ButtonDisabled(12126, nothing, &answer));
    EXPECT_EQ(0, answer);
}

TEST(CommandRules, StatusColours) {
    EXPECT_EQ(0x00FFFFu, StatusColour('1', 5));
    EXPECT_EQ(0x00FF00u, StatusColour('2', 5));
    EXPECT_EQ(0x0000FFu, StatusColour('3', 5));
    EXPECT_EQ(0x123456u, StatusColour('x', 0x123456));
    EXPECT_EQ(0xFFFFFFu, StatusColour('X', 0x123456));
    EXPECT_EQ(0xFFFFFFu, StatusColour('\0', 0));
}
