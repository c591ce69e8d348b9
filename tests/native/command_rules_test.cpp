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

TEST(CommandRules, StatusMenuEntriesAndColoursFromTheDefinitions) {
    std::vector<StatusDefinition> definitions = {
        {1, '1', 0, "Here"},
        {2, 'x', 0x112233, "Seated!!"},  // names keep six characters
        {16, '2', 0, "Bad"},             // no such practice status
        {5, 'q', 0, "Late"},
    };
    StatusTables t = BuildStatusTables(definitions);
    ASSERT_EQ(3u, t.entries.size());
    EXPECT_EQ(301, t.entries[0].command);
    EXPECT_STREQ("Here", t.entries[0].name);
    EXPECT_EQ(302, t.entries[1].command);
    EXPECT_STREQ("Seated", t.entries[1].name);
    EXPECT_EQ(305, t.entries[2].command);
    EXPECT_EQ(0x00FFFFu, t.colours[1]);
    EXPECT_EQ(0x112233u, t.colours[2]);
    EXPECT_EQ(0xFFFFFFu, t.colours[5]);
    EXPECT_EQ(0u, t.colours[3]) << "a status without a definition has colour 0";
    EXPECT_STREQ("Seated", t.names[2]);
}

TEST(CommandRules, MenuEntriesFollowTheSelectionAndOnlyCommandsCarriedOutAreEnabled) {
    SelectionFacts none;
    SelectionFacts new_patient;
    new_patient.appointmentSelected = true;
    SelectionFacts patient = new_patient;
    patient.patientSelected = true;
    for (int c : {12118, 12141, 12124, 12126, 123, 129, 124, 126, 620, 380, 386, 393, 12146}) {
        EXPECT_FALSE(SelectionAllowsEntry(c, none)) << c;
        EXPECT_FALSE(SelectionAllowsEntry(c, new_patient)) << c << " needs a patient on file";
        EXPECT_TRUE(SelectionAllowsEntry(c, patient)) << c;
    }
    EXPECT_FALSE(SelectionAllowsEntry(381, none));
    EXPECT_TRUE(SelectionAllowsEntry(381, new_patient)) << "notes work for a new patient too";
    EXPECT_TRUE(SelectionAllowsEntry(128, none));

    // Nothing of Route Slip is carried out yet: grayed whatever is selected. Refresh, the view, the
    // setups, Purge, the lists and Exit are enabled.
    for (int c : {610, 620})
        EXPECT_FALSE(MenuEntryEnabled(c, patient)) << c;
    for (int c : {121, 122, 125, 127, 128, 130, 140, 141, 142, 143, 144, 145, 388, 384, 375, 376, 378}) EXPECT_TRUE(MenuEntryEnabled(c, none)) << c;
    // Dial and the insurance information are carried out: Dial follows the patient's selection,
    // the insurance entry stays enabled and refuses a new patient when chosen.
    EXPECT_TRUE(MenuEntryEnabled(126, patient));
    EXPECT_FALSE(MenuEntryEnabled(126, new_patient));
    EXPECT_TRUE(MenuEntryEnabled(129, patient)) << "Set Complete follows the patient's selection";
    EXPECT_FALSE(MenuEntryEnabled(129, none));
    EXPECT_FALSE(MenuEntryEnabled(126, none));
    EXPECT_TRUE(MenuEntryEnabled(382, patient));
    EXPECT_TRUE(MenuEntryEnabled(120, patient)) << "a new appointment for the selected patient";
    // Other Appointments is carried out: it follows the selection's patient.
    EXPECT_TRUE(MenuEntryEnabled(380, patient));
    EXPECT_FALSE(MenuEntryEnabled(380, new_patient));
    EXPECT_FALSE(MenuEntryEnabled(380, none));
    // Break and Delete follow the patient's selection; the status entries are always enabled.
    for (int c : {123, 124}) {
        EXPECT_TRUE(MenuEntryEnabled(c, patient)) << c;
        EXPECT_FALSE(MenuEntryEnabled(c, new_patient)) << c;
        EXPECT_FALSE(MenuEntryEnabled(c, none)) << c;
    }
    EXPECT_TRUE(MenuEntryEnabled(301, none));
    EXPECT_TRUE(MenuEntryEnabled(315, patient));
    EXPECT_FALSE(MenuEntryEnabled(316, patient));
    // So is Medical Alerts/Notes, for any appointment.
    EXPECT_TRUE(MenuEntryEnabled(381, new_patient));
    EXPECT_FALSE(MenuEntryEnabled(381, none));
}
