// The appointment book's own keys: colours, fonts, orientation, network limits.
#include <gtest/gtest.h>

#include "settings_test_env.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"

namespace {

void Set(const char* section, const char* key, const char* value) {
    ASSERT_EQ(1, QVN_WriteProfileString(section, key, value));
}

}  // namespace

TEST(WorkstationSettings, ColourTextsByTheirLengthAndKey) {
    TempSettings settings;
    SheetColours missing = ReadSheetColours();
    EXPECT_EQ(QVN_Rgb(255, 255, 150), missing.background1);
    EXPECT_EQ(QVN_Rgb(220, 220, 150), missing.background2);
    EXPECT_EQ(QVN_Rgb(128, 255, 255), missing.unavailable);
    EXPECT_EQ(QVN_Rgb(255, 255, 0), missing.day_note) << "the nine-character default is no colour text";

    Set("APPTBOOK", "BGCOLOR1", "0,0,255");  // five characters: one number, black
    EXPECT_EQ(0u, ReadColour(kColourBackground1));
    Set("APPTBOOK", "BGCOLOR1", "255 255 150");
    EXPECT_EQ(QVN_Rgb(255, 255, 150), ReadColour(kColourBackground1));
    Set("APPTBOOK", "BGCOLOR2", "16711680");  // a colour reference: blue
    EXPECT_EQ(QVN_Rgb(0, 0, 255), ReadColour(kColourBackground2));
    Set("APPTBOOK", "COLOR2", "010;200;030");  // eleven characters, any single separators
    EXPECT_EQ(QVN_Rgb(10, 200, 30), ReadColour(kColourUnavailable));
    Set("APPTBOOK", "COLOR2", "1,2,3");
    EXPECT_EQ(QVN_Rgb(128, 255, 255), ReadColour(kColourUnavailable));
    Set("apptbook", "color3", "001,002,003");  // sections and keys in any case
    EXPECT_EQ(QVN_Rgb(1, 2, 3), ReadColour(kColourDayNote));
}

TEST(WorkstationSettings, FontTextsInBothForms) {
    TempSettings settings;
    FontSpec plain = ParseFontText("Arial,10,0,700");
    EXPECT_EQ("Arial", plain.face);
    EXPECT_EQ(10, plain.height);
    EXPECT_EQ(0, plain.width);
    EXPECT_EQ(700, plain.weight);
    EXPECT_EQ(8, plain.point_size);
    EXPECT_FALSE(plain.italic);

    FontSpec star = ParseFontText("*Arial,8,400,0,-13,FALSE,FALSE");
    EXPECT_EQ("Arial", star.face);
    EXPECT_EQ(8, star.point_size);
    EXPECT_EQ(400, star.weight);
    EXPECT_EQ(0, star.width);
    EXPECT_EQ(-13, star.height);
    EXPECT_FALSE(star.flag);
    EXPECT_FALSE(star.italic);
    EXPECT_TRUE(ParseFontText("*Arial,8,400,0,-13,TRUE,yes").italic) << "anything but FALSE";
    EXPECT_TRUE(ParseFontText("*Arial,8,400,0,-13,TRUE,FALSE").flag);

    FontSpec empty = ParseFontText("");
    EXPECT_EQ("Helv", empty.face);
    EXPECT_EQ(12, empty.point_size);
    EXPECT_EQ(8, empty.height);
    EXPECT_EQ(6, empty.width);
    EXPECT_EQ(600, empty.weight);

    FontSpec font3 = ReadFont(3);  // missing key: its default text
    EXPECT_EQ("Helv", font3.face);
    EXPECT_EQ(400, font3.weight);
    EXPECT_EQ(-13, ReadFont(4).height);

    FontSpec chosen = star;
    chosen.face = "Courier New";
    chosen.italic = true;
    chosen.flag = true;
    ASSERT_EQ(1, WriteFont(3, chosen));
    EXPECT_EQ("*Courier New,8,400,0,-13,TRUE,TRUE", QVN_ReadProfileText("APPTBOOK", "Font3", ""));
    EXPECT_EQ(chosen, ReadFont(3));

    FontSpec reset = DefaultSheetFont();
    EXPECT_EQ("MS Sans Serif", reset.face);
    EXPECT_EQ(8, reset.point_size);
    EXPECT_EQ(-11, reset.height);
    EXPECT_EQ(400, reset.weight);
}

TEST(WorkstationSettings, OrientationNetworkAndOtherKeys) {
    TempSettings settings;
    EXPECT_EQ(kButtonBarHorizontal, ReadButtonBarOrientation());
    Set("APPTBOOK", "BBOrientation", "0");
    EXPECT_EQ(kButtonBarHorizontal, ReadButtonBarOrientation());
    Set("APPTBOOK", "BBOrientation", "1");
    EXPECT_EQ(kButtonBarVertical, ReadButtonBarOrientation());

    EXPECT_EQ(1, ReadDefaultView());
    EXPECT_FALSE(ReadIdealDay());
    EXPECT_TRUE(ReadViewTimeAtRight());
    EXPECT_EQ(0u, ReadClipboardAppointment());
    ASSERT_EQ(1, WriteClipboardAppointment(4711));
    EXPECT_EQ(4711, QVN_ReadProfileInt("Apptbook", "Clipboard Appt", 0));

    NetworkSettings net = ReadNetworkSettings();
    EXPECT_EQ(1, net.station);
    EXPECT_EQ(0, net.net_version);
    EXPECT_EQ(2, net.station_count);
    EXPECT_EQ(15, net.update_speed);
    Set("NETWORK", "UpdateSpeed", "2");
    EXPECT_EQ(5, ReadNetworkSettings().update_speed);
    Set("NETWORK", "UpdateSpeed", "90");
    EXPECT_EQ(20, ReadNetworkSettings().update_speed);
    Set("NETWORK", "STATION", "7");
    EXPECT_EQ(7, ReadNetworkSettings().station);
}
