// Saved window places: their text and the way back onto a screen.
#include <gtest/gtest.h>

#include <tuple>

#include "suite/window_pos.h"

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
