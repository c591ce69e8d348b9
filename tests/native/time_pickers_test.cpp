// The time dialog's bar (positions, pages, the ends, what OK returns, the texts beside it) and
// the time pattern editor's clicks, unit count and total.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "appointments/time_pickers.h"

TEST(PickTime, PositionsTextsAndResult) {
    // Where the bar starts, its texts, and what OK at once gives.
    struct Case { int step, hour, minute; bool am_pm; int position; std::string hour_text, minute_text, half; int result_hour, result_minute; } cases[] = {
        {15, 8, 30, true, 34, " 8", "30", "am", 8, 30},
        {15, 0, 0, true, 0, "12", "00", "am", 0, 0},
        {15, 13, 7, true, 52, " 1", "00", "pm", 13, 0},   // minutes come down to the step
        {15, 13, 15, false, 53, "13", "15", "", 13, 15},  // without am/pm: the 24-hour clock
        {5, 9, 55, true, 119, " 9", "55", "am", 9, 55},
        {15, -1, 0, true, 48, "12", "00", "pm", 12, 0},   // no time: 12:00
        {7, 1, 35, true, 19, " 1", "35", "am", 1, 35},    // a step that does not divide an hour: 5
    };
    for (const Case& c : cases) {
        const int position = PickTimePosition(c.hour, c.minute, c.step);
        EXPECT_EQ(c.position, position) << c.step << " " << c.hour << ":" << c.minute;
        const BarTimeText text = PickTimeText(position, c.step, c.am_pm);
        int hour = -1, minute = -1;
        PickTimeResult(position, c.step, &hour, &minute);
        EXPECT_EQ(std::tuple(c.hour_text, c.minute_text, c.half, c.result_hour, c.result_minute),
                  std::tuple(text.hour, text.minute, text.half, hour, minute)) << c.position;
    }
}

TEST(PickTime, ScrollMovesByStepHourAndEnds) {
    struct Case { int step, from, request, thumb, to; } cases[] = {
        {15, 34, kBarLineUp, 0, 33},     {15, 34, kBarPageDown, 0, 38}, {15, 2, kBarPageUp, 0, 0},   {15, 93, kBarPageDown, 0, 95},
        {15, 95, kBarLineDown, 0, 95},   {15, 34, kBarTop, 0, 0},       {15, 34, kBarThumbTrack, 61, 61},
        {5, 100, kBarPageDown, 0, 112},  {5, 0, kBarBottom, 0, 287},   {30, 10, kBarPageUp, 0, 8},
    };
    for (const Case& c : cases) {
        const int to = ScrolledBarPosition(c.from, c.request, c.thumb, PickTimeLastPosition(c.step), PickTimePage(c.step));
        EXPECT_EQ(c.to, to) << "step " << c.step << " from " << c.from << " request " << c.request;
    }
}

TEST(TimeField, LetterRuleThenTheSuiteConversion) {
    struct Case { const char* text; int unit; bool ok; int hour, minute; const char* shown; } cases[] = {
        {"9:30", 10, true, 9, 30, "9:30am"},          // no letter: am
        {"9:30p", 10, true, 21, 30, "9:30pm"},
        {"12a", 15, true, 0, 0, "12:00am"},
        {"3:25p", 15, true, 15, 15, "3:15pm"},        // minutes down to the time unit
        {"1400", 10, true, 14, 0, "2:00pm"},          // 24-hour hours whatever the letter says
        {"10:45pam", 5, true, 22, 45, "10:45pm"},     // "p" before "a": pm, cut at the "p"
        {"10:45 am  xyz", 5, true, 10, 45, "10:45am"},  // cut at the letter; only 8 characters read
        {"8:00     p", 10, true, 8, 0, "8:00am"},     // the "p" lies past the 8 characters read
        {"", 10, false, 0, 0, ""},
        {"9:7", 10, false, 0, 0, ""},
    };
    for (const Case& c : cases) {
        int hour = -1, minute = -1;
        const bool ok = ReadTimeField(c.text, c.unit, &hour, &minute);
        EXPECT_EQ(std::tuple(c.ok, c.ok ? c.hour : -1, c.ok ? c.minute : -1, std::string(c.shown)),
                  std::tuple(ok, hour, minute, ok ? TimeFieldText(hour, minute) : std::string())) << c.text;
    }
}

TEST(TimePatternEditor, ClicksCycleAndTheTotalFollowsTheUnits) {
    uint8_t pattern[6] = {};
    std::vector<int> codes;
    for (int click = 0; click < 4; ++click) codes.push_back(CyclePatternUnit(pattern, 5));
    EXPECT_EQ((std::vector<int>{1, 2, 0, 1}), codes);
    // Unit 5 is the second unit of the second byte: bits 5-4. Nothing else moved.
    EXPECT_EQ((std::vector<uint8_t>{0, 0x10, 0, 0, 0, 0}), std::vector<uint8_t>(pattern, pattern + 6));
    CyclePatternUnit(pattern, 0);
    CyclePatternUnit(pattern, 0);
    CyclePatternUnit(pattern, 23);
    EXPECT_EQ(0, CyclePatternUnit(pattern, 24)) << "past the last unit: nothing";
    EXPECT_EQ((std::vector<uint8_t>{0x80, 0x10, 0, 0, 0, 0x01}), std::vector<uint8_t>(pattern, pattern + 6));
    uint8_t three[6] = {0xC0, 0, 0, 0, 0, 0};  // a code 3 read from a record goes on to 1
    EXPECT_EQ(1, CyclePatternUnit(three, 0));

    EXPECT_EQ("20 minutes", PatternTotalText(2, 10));
    EXPECT_EQ("240 minutes", PatternTotalText(24, 10));
    EXPECT_STREQ("/", PatternUnitText(1));
    EXPECT_STREQ("X", PatternUnitText(2));
}
