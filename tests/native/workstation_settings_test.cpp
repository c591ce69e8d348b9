// The appointment book's own keys: colours, fonts, orientation, network limits; saved window
// places, their text and the way back onto a screen.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "settings_test_env.h"
#include "suite/settings.h"
#include "suite/window_pos.h"
#include "suite/workstation_settings.h"

namespace {

void Set(const char* section, const char* key, const char* value) {
    ASSERT_EQ(1, QVN_WriteProfileString(section, key, value));
}

}  // namespace

TEST(WorkstationSettings, ColourTextsByTheirLengthAndKey) {
    TempSettings settings;
    const SheetColours missing = ReadSheetColours();
    EXPECT_EQ(QVN_Rgb(255, 255, 150), missing.background1);
    EXPECT_EQ(QVN_Rgb(255, 255, 0), missing.day_note) << "the nine-character default is no colour text";
    const struct {
        const char* key;
        const char* text;
        ColourKey colour;
        uint32_t value;
    } cases[] = {
        {"BGCOLOR1", "0,0,255", kColourBackground1, 0},  // five characters: one number, black
        {"BGCOLOR2", "16711680", kColourBackground2, QVN_Rgb(0, 0, 255)},  // a colour reference
        {"COLOR2", "010;200;030", kColourUnavailable, QVN_Rgb(10, 200, 30)},  // eleven, any single separators
        {"COLOR2", "1,2,3", kColourUnavailable, QVN_Rgb(128, 255, 255)},
        {"color3", "001,002,003", kColourDayNote, QVN_Rgb(1, 2, 3)},  // keys in any case
    };
    for (const auto& c : cases) {
        Set("APPTBOOK", c.key, c.text);
        EXPECT_EQ(c.value, ReadColour(c.colour)) << c.key << "=" << c.text;
    }
}

TEST(WorkstationSettings, FontTextsInBothForms) {
    TempSettings settings;
    const FontSpec plain = ParseFontText("Arial,10,0,700");
    EXPECT_EQ(std::tuple(std::string("Arial"), 10, 700, 8), std::tuple(plain.face, plain.height, plain.weight, plain.point_size));
    const FontSpec star = ParseFontText("*Arial,8,400,0,-13,FALSE,FALSE");
    EXPECT_EQ(std::tuple(8, -13, false), std::tuple(star.point_size, star.height, star.flag));
    EXPECT_TRUE(ParseFontText("*Arial,8,400,0,-13,TRUE,yes").italic) << "anything but FALSE";
    EXPECT_EQ(std::tuple(std::string("Helv"), 600), std::tuple(ParseFontText("").face, ParseFontText("").weight));
    EXPECT_EQ(400, ReadFont(3).weight) << "missing key: its default text";

    FontSpec chosen = star;
    chosen.face = "Courier New";
    chosen.italic = true;
    chosen.flag = true;
    ASSERT_EQ(1, WriteFont(3, chosen));
    EXPECT_EQ("*Courier New,8,400,0,-13,TRUE,TRUE", QVN_ReadProfileText("APPTBOOK", "Font3", ""));
    EXPECT_EQ(chosen, ReadFont(3));
    EXPECT_EQ(std::tuple(std::string("MS Sans Serif"), -11), std::tuple(DefaultSheetFont().face, DefaultSheetFont().height));
}

TEST(WorkstationSettings, OrientationNetworkAndOtherKeys) {
    TempSettings settings;
    EXPECT_EQ(kButtonBarHorizontal, ReadButtonBarOrientation());
    Set("APPTBOOK", "BBOrientation", "1");
    EXPECT_EQ(kButtonBarVertical, ReadButtonBarOrientation());
    EXPECT_EQ(1, ReadDefaultView());
    EXPECT_TRUE(ReadViewTimeAtRight());
    ASSERT_EQ(1, WriteClipboardAppointment(4711));
    EXPECT_EQ(4711, QVN_ReadProfileInt("Apptbook", "Clipboard Appt", 0));

    // The update speed's bounds are checked through the refresh timer in refresh_test.cpp.
    EXPECT_EQ(2, ReadNetworkSettings().station_count);
}

TEST(WindowPos, PlacesRoundTripAndBadTextsAreRefused) {
    WindowPlace place{90, 0, 1190, 1022, 3};
    WindowPlace read;
    ASSERT_TRUE(ParseWindowPlace(FormatWindowPlace(place), &read));
    EXPECT_EQ(std::tuple(90, 0, 1190, 1022, 3), std::tuple(read.left, read.top, read.right, read.bottom, read.showState));
    ASSERT_TRUE(ParseWindowPlace("10,20,300,400,9", &read));
    EXPECT_EQ(1, read.showState);
    for (const char* bad : {"", "10,20", "abc", "300,20,10,400", "10,400,300,20", "1,1,1,1"})
        EXPECT_FALSE(ParseWindowPlace(bad, &read)) << bad;
}

TEST(WindowPos, APlaceOffEveryScreenComesBack) {
    std::vector<ScreenArea> one = {{0, 0, 1280, 1000}};
    WindowPlace visible{100, 100, 600, 500, 1};
    WindowPlace kept = BringOnScreen(visible, one);
    EXPECT_EQ(600, kept.right);

    WindowPlace gone{3000, 200, 3500, 700, 1};  // on a second monitor no longer attached
    WindowPlace back = BringOnScreen(gone, one);
    EXPECT_EQ(std::tuple(780, 200, 1280), std::tuple(back.left, back.top, back.right)) << "the size is kept where it fits";

    WindowPlace huge{-5000, -5000, -1000, -1000, 2};
    back = BringOnScreen(huge, one);
    EXPECT_EQ(std::tuple(0, 1280, 1000, 1), std::tuple(back.left, back.right, back.bottom, back.showState))
        << "a minimised window comes back normal";

    std::vector<ScreenArea> two = {{0, 0, 1280, 1000}, {1280, 0, 3200, 1080}};
    EXPECT_EQ(3000, BringOnScreen(gone, two).left);
}
