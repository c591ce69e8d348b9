// The button bar's table and how its buttons look for each kind of selection.
#include <gtest/gtest.h>

#include <set>

#include "app/button_bar.h"

TEST(ButtonBarRules, EveryPictureOfTheTableIsInThePictureListAndToolTipsLoseMnemonics) {
    std::set<int> used;
    for (const ButtonBarEntry& e : kButtonBarEntries) {
        if (e.command == 0) {
            EXPECT_EQ(0, e.bitmap);
            continue;
        }
        EXPECT_GE(ButtonBarImageIndex(e.bitmap), 0) << e.command;
        used.insert(e.bitmap);
        if (e.onBitmap) {
            EXPECT_GE(ButtonBarImageIndex(e.onBitmap), 0) << e.command;
            used.insert(e.onBitmap);
        }
    }
    EXPECT_EQ(static_cast<size_t>(kButtonBarBitmapCount), used.size()) << "no picture is loaded for nothing";
    EXPECT_EQ(-1, ButtonBarImageIndex(201));
    EXPECT_EQ(nullptr, FindButtonBarEntry(0)) << "separators are not buttons";
    EXPECT_EQ(nullptr, FindButtonBarEntry(125));
    ASSERT_NE(nullptr, FindButtonBarEntry(620));
    EXPECT_EQ(246, FindButtonBarEntry(620)->bitmap);

    // The tool tips are the menu texts without mnemonics.
    EXPECT_EQ("Select Patient - New Appt...", ButtonToolTip("&Select Patient - New Appt...\tShift+F2"));
    EXPECT_EQ("Patient Picture", ButtonToolTip(FindButtonBarEntry(386)->menuText));
    EXPECT_EQ("Fish & Chips", ButtonToolTip("&Fish && Chips"));
    EXPECT_EQ("", ButtonToolTip(nullptr));
}

// (Which buttons the selection disables is checked command by command in command_rules_test.cpp.)
TEST(ButtonBarRules, PicturesFollowTheSelectionsFacts) {
    SelectionFacts patient, rich;
    patient.appointmentSelected = patient.patientSelected = true;
    rich = patient;
    rich.hasPicture = rich.hasPatientAlerts = rich.hasReferrals = true;
    SelectionFacts stale = rich;  // facts left over from an earlier patient light nothing
    stale.patientSelected = false;
    const struct {
        int command;
        const SelectionFacts* facts;
        bool idealDay;
        int bitmap;
    } looks[] = {{386, &patient, false, 386}, {386, &rich, false, 387},    {393, &patient, false, 393}, {393, &rich, false, 394},
                 {12146, &patient, false, 12146}, {12146, &rich, false, 12145}, {393, &stale, false, 393}, {386, &stale, false, 386},
                 {123, &patient, false, 243}, {388, &rich, false, 248},     {388, &stale, true, 247}};
    for (const auto& l : looks) EXPECT_EQ(l.bitmap, ButtonLookFor(*FindButtonBarEntry(l.command), *l.facts, l.idealDay).bitmap) << l.command;
    EXPECT_TRUE(ButtonLookFor(*FindButtonBarEntry(386), rich, false).enabled);
    EXPECT_FALSE(ButtonLookFor(*FindButtonBarEntry(386), stale, false).enabled);
    EXPECT_TRUE(ButtonLookFor(*FindButtonBarEntry(126), rich, false).enabled);
}
