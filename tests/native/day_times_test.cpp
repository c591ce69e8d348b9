// The day dialog's reading of typed times and its checks on OK, with the texts the user sees.
#include <gtest/gtest.h>

#include "scripted_prompter.h"
#include "setup/day_times.h"

namespace {

TEST(DayTimes, ReadsTypedTimes) {
    struct Case {
        const char* text;
        int blockMinutes;
        DayTimeRead read;
        int32_t units;
    };
    const Case cases[] = {
        {"8:00am", 10, DayTimeRead::kTime, 96},
        {" 8 : 30 PM ", 10, DayTimeRead::kTime, 246},
        {"12:00a", 10, DayTimeRead::kTime, 0},     // midnight
        {"12:15p", 5, DayTimeRead::kTime, 147},    // noon stays 12
        {"14:00", 10, DayTimeRead::kTime, 168},    // no half: a 24-hour clock
        {"24:00", 10, DayTimeRead::kTime, 288},    // the end of the day
        {"9:29am", 15, DayTimeRead::kTime, 111},   // 9:15: rounded down to the block
        {"9am", 10, DayTimeRead::kNoTime, 0},      // fewer than 4 characters
        {"   ", 10, DayTimeRead::kNoTime, 0},
        {"13:00pm", 10, DayTimeRead::kInvalid, 0},
        {"25:00", 10, DayTimeRead::kInvalid, 0},
        {"24:30", 10, DayTimeRead::kInvalid, 0},   // past the end of the day
        {"9:60am", 10, DayTimeRead::kInvalid, 0},
        {"9.30am", 10, DayTimeRead::kInvalid, 0},
        {"noon", 10, DayTimeRead::kInvalid, 0},
    };
    for (const Case& c : cases) {
        int32_t units = -7;
        EXPECT_EQ(ReadDayTimeText(c.text, c.blockMinutes, &units), c.read) << c.text;
        EXPECT_EQ(units, c.read == DayTimeRead::kTime ? c.units : -7) << c.text;
    }
    // What the dialog shows reads back as the same time, the end of the day too.
    for (int32_t t : {0, 1, 143, 144, 287, 288}) {
        int32_t back = -1;
        ASSERT_EQ(ReadDayTimeText(DayTimeText(t), 5, &back), DayTimeRead::kTime) << t;
        EXPECT_EQ(back, t);
    }
}

TEST(DayTimes, ChecksOnOkInOrderWithTheirFocus) {
    using K = DayTimesFocus::Kind;
    struct Case {
        DayTimeTexts texts;
        bool required;
        const char* message;  // nullptr: accepted
        K kind;
        int slot;
    };
    const char* const kInvalidTime = "Please enter a valid time (for example 9:30am).";
    const Case cases[] = {
        {{"8:00am", "12:00pm", "11:00am", "2:00pm", "", ""}, false, "Invalid time order!", K::kButton, 2},
        {{"", "", "", "", "", ""}, true, "A time must be entered!", K::kButton, 0},
        {{"8:00am", "12:00pm", "13pm", "", "", ""}, true, kInvalidTime, K::kText, 2},
        {{"25:00", "x", "", "", "", ""}, false, kInvalidTime, K::kText, 0},
        {{"8:00am", "", "", "", "", ""}, false, "A full time span must be entered!", K::kButton, 1},
        {{"9:00am", "8:00am", "", "", "", ""}, false, "Invalid Time Range!", K::kButton, 1},
        {{"8:00am", "9:00am", "1:00pm", "5:00pm", "4:00pm", "6:00pm"}, false, "Invalid time order!", K::kButton, 4},
        {{"", "", "", "", "", ""}, false, nullptr, K::kAccepted, -1},
        {{"8:00am", "8:00am", "8:00am", "12:00pm", "12:00pm", "24:00"}, true, nullptr, K::kAccepted, -1},
    };
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        if (c.message) prompter.Answer(kAnswerOk);
        DayTimes times;
        times.fill(-5);
        const DayTimesFocus focus = CheckDayTimes(c.texts, c.required, 10, &times);
        EXPECT_EQ((std::vector<int>{int(c.kind), c.slot}), (std::vector<int>{int(focus.kind), focus.slot})) << c.texts[0] << "-" << c.texts[1];
        EXPECT_EQ(c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}, prompter.Texts()) << c.texts[0];
        for (const PromptRequest& r : prompter.Asked()) EXPECT_EQ(kIconStop, r.icon);
        EXPECT_EQ(c.message ? -5 : times[0], times[0]) << "nothing given back on a refusal";
    }
    ScriptedPrompter prompter;
    DayTimes times;
    ASSERT_EQ(CheckDayTimes({"8:05am", "12:00pm", "", "", "1:00 PM", "5:30pm"}, true, 10, &times).kind, K::kAccepted);
    EXPECT_EQ(times, (DayTimes{96, 144, -1, -1, 156, 210}));
}

}  // namespace
