// The flip tab strip's rules and the Flip Tabs Setup rows: visible tabs and Ctrl+1-4, places
// down the strip and hits, what a click asks for, rows from and back to tabs, and the OK checks
// with their messages in page order.
#include <gtest/gtest.h>

#include <cstring>

#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "views/flip_tab_strip.h"
#include "views/flip_tabs_setup.h"

namespace {

FlipTab Tab(uint32_t flags, int32_t value, const char* description = "T", uint32_t colour = 0) {
    FlipTab t;
    t.flags = flags;
    t.value = value;
    t.textColor = colour;
    std::strncpy(t.description, description, sizeof t.description - 1);
    return t;
}

}  // namespace

TEST(FlipTabStrip, VisibleTabsAndTheControlKeys) {
    FlipTabSet set;
    set.tabs[kFlipWeek][0] = Tab(kFlipDefined, 1);
    set.tabs[kFlipWeek][2] = Tab(kFlipDefined, 2);
    EXPECT_EQ((std::vector<int>{0, 2}), VisibleFlipTabs(set, kFlipWeek));
    EXPECT_TRUE(VisibleFlipTabs(set, kFlipDay).empty());
    EXPECT_EQ(2, VisibleFlipTabAt(set, kFlipWeek, 1)) << "Ctrl+2 with tabs 1 and 3 reaches tab 3";
    EXPECT_EQ(-1, VisibleFlipTabAt(set, kFlipWeek, 2));
}

TEST(FlipTabStrip, PlacesDownTheStripAndHits) {
    const std::vector<FlipTabPlace> places = LayOutFlipTabs({1, 3}, {40, 5});
    ASSERT_EQ(3u, places.size());
    EXPECT_EQ(40 + 2 * kFlipTabPadding, places[0].bottom);
    EXPECT_EQ(places[0].bottom + kFlipTabMinLength, places[1].bottom) << "a short caption gets the least length";
    EXPECT_EQ(kFlipEmptyPosition, places[2].position);
    EXPECT_EQ(kFlipEmptyTabLength, places[2].bottom - places[2].top);

    EXPECT_EQ(3, FlipTabAtPoint(places, 5, places[0].bottom));
    EXPECT_EQ(-1, FlipTabAtPoint(places, 5, places[2].bottom)) << "below the last position";
    EXPECT_EQ(-1, FlipTabAtPoint(places, kFlipTabThickness, 3)) << "right of the tabs";
}

TEST(FlipTabStrip, WhatAClickAsksFor) {
    const int32_t today = QVN_DateIn(3, 10, 2027);
    const int32_t shown = QVN_DateIn(1, 31, 2027);

    FlipTabClick c = ClickOnFlipTab(Tab(kFlipDefined | kFlipFromDisplayed, 1), kFlipMonth, today, shown);
    EXPECT_EQ(QVN_DateIn(2, 28, 2027), c.date) << "a month on from 31 January";
    EXPECT_TRUE(c.resetAfter) << "a tab counted from the shown date can be clicked again at once";

    c = ClickOnFlipTab(Tab(kFlipDefined | kFlipBackward, 2), kFlipWeek, today, shown);
    EXPECT_EQ(today - 14, c.date);
    EXPECT_FALSE(c.resetAfter);


    const int32_t eve = QVN_DateIn(12, 24, 2027);
    EXPECT_EQ(eve, ClickOnFlipTab(Tab(kFlipDefined | kFlipAbsolute, eve), kFlipDay, today, shown).date);
    EXPECT_EQ(0, ClickOnFlipTab(Tab(kFlipDefined | kFlipAbsolute, 0), kFlipDay, today, shown).date)
        << "an absolute tab without a date is ignored";
    EXPECT_EQ(0, ClickOnFlipTab(Tab(0, 3), kFlipDay, today, shown).date) << "an unused tab is ignored";
}

TEST(FlipTabsSetup, StoredTabsBecomeRowsAndRowsBecomeTheStoredTexts) {
    FlipTabSet set;
    set.tabs[kFlipDay][0] = Tab(kFlipDefined | kFlipAbsolute, QVN_DateIn(3, 14, 2026), "Start", 255);
    set.tabs[kFlipWeek][1] = Tab(kFlipDefined | kFlipFromDisplayed | kFlipBackward, 6, "Back, 6", 65280);
    set.tabs[kFlipMonth][3] = Tab(kFlipDefined, 12, "Recall");
    FlipTabRows rows = RowsOfFlipTabs(set);

    const FlipTabRow& back6 = rows.rows[kFlipWeek][1];
    EXPECT_EQ((std::vector<int>{kFlipRowAbsolute, kFlipRowRelative, 1, 1, kFlipRowNotUsed}),
              (std::vector<int>{rows.rows[kFlipDay][0].type, back6.type, back6.backward, back6.fromDisplayed, rows.rows[kFlipDay][1].type}));
    EXPECT_EQ("03/14/2026 6", rows.rows[kFlipDay][0].date + " " + back6.count);

    // A row set to not used loses everything; a typed date in another form parses.
    rows.rows[kFlipMonth][3].type = kFlipRowNotUsed;
    rows.rows[kFlipDay][2] = {kFlipRowAbsolute, "Holiday", 16711680, "12-24-2027", "", false, false};
    rows.rows[kFlipDay][3] = {kFlipRowRelative, "A very long caption", 0, "", "1000", false, false};
    const FlipTabSet back = FlipTabsOfRows(rows);
    EXPECT_EQ("@" + std::to_string(QVN_DateIn(3, 14, 2026)) + ",255,Start", FormatFlipTab(back.tabs[kFlipDay][0]));
    EXPECT_EQ("@" + std::to_string(QVN_DateIn(12, 24, 2027)) + ",16711680,Holiday",
              FormatFlipTab(back.tabs[kFlipDay][2]));
    EXPECT_EQ("+999,0,A very long cap", FormatFlipTab(back.tabs[kFlipDay][3]));
    EXPECT_EQ("<6,65280,Back, 6", FormatFlipTab(back.tabs[kFlipWeek][1]));
    EXPECT_EQ("", FormatFlipTab(back.tabs[kFlipMonth][3]));
    for (int mode = 0; mode < kFlipModes; ++mode) EXPECT_EQ(0u, back.tabs[mode][kFlipEmptyPosition].flags);

    EXPECT_STREQ("Months", FlipTabUnitLabel(kFlipMonth));
    EXPECT_TRUE(FlipCountTextAllowed("042") && !FlipCountTextAllowed("4a") && !FlipCountTextAllowed("-1"));
}

TEST(FlipTabsSetup, OkChecksPagesInOrderAndStopsAtTheFirstFault) {
    FlipTabRows rows;
    rows.rows[kFlipDay][0] = {kFlipRowAbsolute, "Start", 0, "3/14/2026", "", false, false};
    rows.rows[kFlipDay][1] = {kFlipRowNotUsed, "", 0, "garbage", "x", false, false};  // not checked
    rows.rows[kFlipWeek][2] = {kFlipRowRelative, "Next", 0, "", "1x", false, false};
    rows.rows[kFlipMonth][0] = {kFlipRowRelative, "", 0, "", "1", false, false};

    // Each fault mended in turn: the next one is found, in page order; the last check passes.
    const struct {
        void (*mend)(FlipTabRows&);
        int page, row;
        FlipTabRowField field;
        const char* text;  // "" when nothing is reported
    } steps[] = {
        {[](FlipTabRows&) {}, kFlipWeek, 2, kFlipFieldCount, "Please enter digits only."},  // Day passes
        {[](FlipTabRows& r) { r.rows[kFlipWeek][2].count = "10"; }, kFlipMonth, 0, kFlipFieldDescription,
         "Please enter a description."},
        {[](FlipTabRows& r) { r.rows[kFlipMonth][0].description = "Recall"; r.rows[kFlipDay][0].date = "2/30/2026"; },
         kFlipDay, 0, kFlipFieldDate, "Please enter a valid date (for example 3/14/2026)."},
        {[](FlipTabRows& r) { r.rows[kFlipDay][0].date = ""; }, kFlipDay, 0, kFlipFieldDate,
         "Please enter a valid date (for example 3/14/2026)."},  // an empty date is no date
        {[](FlipTabRows& r) { r.rows[kFlipDay][0].date = "3/14/2026"; }, -1, -1, kFlipFieldNone, ""},
    };
    for (const auto& step : steps) {
        step.mend(rows);
        ScriptedPrompter prompter;
        if (*step.text) prompter.Answer(kAnswerOk);
        const FlipTabRowFault fault = CheckFlipTabRows(rows);
        EXPECT_EQ((std::vector<int>{step.page, step.row, step.field}), (std::vector<int>{fault.page, fault.row, fault.field})) << step.text;
        EXPECT_EQ(*step.text ? std::vector<std::string>{step.text} : std::vector<std::string>{}, prompter.Texts());
    }
}
