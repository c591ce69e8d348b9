// The button bar's table and how its buttons look for each kind of selection.
#include <gtest/gtest.h>

#include <set>

#include "app/button_bar.h"

TEST(ButtonBarRules, EveryPictureOfTheTableIsInThePictureList) {
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
}

TEST(ButtonBarRules, ToolTipsAreTheMenuTextsWithoutMnemonics) {
    EXPECT_EQ("Select Patient - New Appt...", ButtonToolTip("&Select Patient - New Appt...\tShift+F2"));
    EXPECT_EQ("Patient Picture", ButtonToolTip(FindButtonBarEntry(386)->menuText));
    EXPECT_EQ("Lab Case Manager", ButtonToolTip(FindButtonBarEntry(404)->menuText));
    EXPECT_EQ("Ideal Day Scheduling", ButtonToolTip(FindButtonBarEntry(388)->menuText));
    EXPECT_EQ("Fish & Chips", ButtonToolTip("&Fish && Chips"));
    EXPECT_EQ("", ButtonToolTip(nullptr));
}

TEST(ButtonBarRules, LooksFollowTheSelectionAndItsFacts) {
    SelectionFacts none;
    SelectionFacts new_patient;
    new_patient.appointmentSelected = true;
    SelectionFacts patient = new_patient;
    patient.patientSelected = true;
    SelectionFacts rich = patient;
    rich.hasPicture = rich.hasPatientAlerts = rich.hasReferrals = true;

    auto look = [](int command, const SelectionFacts& f, bool ideal = false) {
        return ButtonLookFor(*FindButtonBarEntry(command), f, ideal);
    };
    EXPECT_EQ(1, ButtonDisabled(386, none, nullptr));
    EXPECT_EQ(1, ButtonDisabled(386, new_patient, nullptr));
    EXPECT_EQ(0, ButtonDisabled(386, patient, nullptr));
    EXPECT_EQ(386, look(386, patient).bitmap) << "no picture on file";
    EXPECT_EQ(387, look(386, rich).bitmap);
    EXPECT_EQ(393, look(393, patient).bitmap);
    EXPECT_EQ(394, look(393, rich).bitmap);
    EXPECT_EQ(12146, look(12146, patient).bitmap);
    EXPECT_EQ(12145, look(12146, rich).bitmap);

    // Facts left over from an earlier patient do not light a button without a patient.
    SelectionFacts stale = rich;
    stale.patientSelected = false;
    EXPECT_EQ(1, ButtonDisabled(393, stale, nullptr));
    EXPECT_EQ(393, look(393, stale).bitmap);
    EXPECT_EQ(386, look(386, stale).bitmap);

    EXPECT_EQ(1, ButtonDisabled(123, none, nullptr));
    EXPECT_EQ(0, ButtonDisabled(123, new_patient, nullptr));
    EXPECT_EQ(243, look(123, new_patient).bitmap);
    EXPECT_EQ(0, ButtonDisabled(121, none, nullptr));
    EXPECT_EQ(0, ButtonDisabled(404, none, nullptr));

    // A button whose command does nothing yet is disabled whatever is selected, and message 5180
    // says so; the rule of the selection still holds for the commands that are carried out.
    for (int command : {610, 620}) {
        EXPECT_FALSE(look(command, rich).enabled) << command;
        EXPECT_EQ(1, ButtonState(command, rich, nullptr)) << command;
    }
    EXPECT_EQ(0, ButtonState(128, none, nullptr)) << "refresh is carried out";
    EXPECT_EQ(0, ButtonState(121, none, nullptr)) << "Select Patient is carried out";
    EXPECT_EQ(0, ButtonState(122, none, nullptr)) << "Locate is carried out";
    EXPECT_EQ(0, ButtonState(127, none, nullptr)) << "Find New Appointment Time is carried out";
    EXPECT_EQ(0, ButtonState(129, rich, nullptr)) << "Set Complete is carried out for the selection";
    EXPECT_EQ(0, ButtonState(388, none, nullptr));
    EXPECT_EQ(1, ButtonState(126, none, nullptr)) << "Dial is carried out and wants a selection";
    EXPECT_EQ(0, ButtonState(126, new_patient, nullptr));
    EXPECT_TRUE(look(126, rich).enabled);
    for (int command : {123, 124}) {
        EXPECT_EQ(1, ButtonState(command, none, nullptr)) << command << " is carried out and wants a selection";
        EXPECT_EQ(0, ButtonState(command, new_patient, nullptr)) << command;
    }

    EXPECT_TRUE(look(388, none).enabled);
    EXPECT_EQ(248, look(388, rich, false).bitmap);
    EXPECT_EQ(247, look(388, none, true).bitmap) << "the toggle shows the switch, whatever is selected";
}
