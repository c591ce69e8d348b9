// Views and flip tabs in the settings: stored forms, defaults, malformed values, round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings_test_env.h"
#include "suite/dates.h"
#include "suite/settings.h"
#include "views/flip_tabs.h"
#include "views/view_definition.h"

namespace {

void SetKey(const char* key, const char* value) {
    ASSERT_EQ(1, QVN_WriteProfileString("APPTBOOK", key, value));
}

std::string Key(const char* key) { return QVN_ReadProfileText("APPTBOOK", key, "<missing>"); }

std::string Id(const char id[4]) { return std::string(id, 4); }

ViewDefinition ActiveView() {
    ViewDefinition active;
    active.providerCount = 3;
    std::memcpy(active.providers[0], "DR1 ", 4);
    std::memcpy(active.providers[1], "GONE", 4);
    std::memcpy(active.providers[2], "HYG ", 4);
    active.operatoryCount = 2;
    std::memcpy(active.operatories[0], "OP1 ", 4);
    std::memcpy(active.operatories[1], "OP2 ", 4);
    return active;
}

}  // namespace

TEST(Views, SavedViewHasTheStoredFormsAndReadsBack) {
    TempSettings settings;
    ViewDefinition view;
    view.providerCount = 2;
    std::memcpy(view.providers[0], "AAAA", 4);
    std::memcpy(view.providers[1], "BB  ", 4);
    view.operatoryCount = 1;
    std::memcpy(view.operatories[0], "OP1 ", 4);
    int days[7] = {2, 3, 4, 5, 6, 0, 0};
    std::memcpy(view.days, days, sizeof days);
    view.showAmount = true;
    view.showAlerts = true;
    view.showNotes = false;
    view.beginTime = 84;
    view.endTime = 96;
    uint8_t order[9] = {1, 3, 0, 0, 5, 0, 0, 0, 13};
    std::memcpy(view.infoOrder, order, sizeof order);

    ASSERT_EQ(1, SaveViewDefinition(3, view));
    EXPECT_EQ("02,AAAA,BB  ,", Key("ViewProv3"));
    EXPECT_EQ("01,OP1 ,", Key("ViewOp3"));
    EXPECT_EQ("02,03,04,05,06,00,00", Key("View3"));
    EXPECT_EQ("1", Key("ViewAmount3"));
    EXPECT_EQ("1,0", Key("ViewInfo3"));
    EXPECT_EQ("84", Key("ViewBegTime3"));
    EXPECT_EQ("96", Key("ViewEndTime3"));
    EXPECT_EQ("1,3,0,0,5,0,0,0,13", Key("ViewInfoOrder3"));

    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(3, &read, ActiveView(), nullptr));
    ASSERT_EQ(2, read.providerCount);
    EXPECT_EQ("BB  ", Id(read.providers[1]));
    EXPECT_EQ("OP1 ", Id(read.operatories[0]));
    EXPECT_EQ(0, std::memcmp(days, read.days, sizeof days));
    EXPECT_FALSE(read.showNotes);
    EXPECT_EQ(96, read.endTime);
    EXPECT_EQ(0, std::memcmp(order, read.infoOrder, sizeof order));
}

TEST(Views, MissingValuesGiveTheDefaultsAndTheActiveViewsLists) {
    TempSettings settings;
    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(5, &read, ActiveView(), [](const char id[4]) {
        return std::memcmp(id, "GONE", 4) != 0;  // inactive or no longer on file
    }));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(i + 1, read.days[i]);
    EXPECT_FALSE(read.showAmount);
    EXPECT_EQ(204, read.endTime);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(i + 1, read.infoOrder[i]);
    ASSERT_EQ(2, read.providerCount);
    EXPECT_EQ("HYG ", Id(read.providers[1]));
    ASSERT_EQ(2, read.operatoryCount);
    EXPECT_EQ("OP2 ", Id(read.operatories[1]));

    // Without a database session the active view's providers are taken as they stand.
    ASSERT_EQ(1, ReadViewDefinition(5, &read, ActiveView(), nullptr));
    ASSERT_EQ(3, read.providerCount);
    EXPECT_EQ("GONE", Id(read.providers[1]));
}

TEST(Views, MalformedValuesAreReadAsFarAsTheyGo) {
    TempSettings settings;
    SetKey("ViewProv1", "03,AAAA,BBBB,");   // claims three, holds two
    SetKey("ViewOp1", "01,OP1 ,OP2 ,");     // holds two, claims one
    SetKey("View1", "02,03");
    SetKey("ViewInfoOrder1", "4,99,x,7");
    SetKey("ViewInfo1", "0");
    SetKey("ViewAmount1", "yes");
    SetKey("ViewBegTime1", "abc");
    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(1, &read, ActiveView(), nullptr));
    ASSERT_EQ(2, read.providerCount);
    EXPECT_EQ("BBBB", Id(read.providers[1]));
    ASSERT_EQ(1, read.operatoryCount);
    int days[7] = {2, 3, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(days, read.days, sizeof days));
    uint8_t order[9] = {4, 0, 0, 7, 5, 6, 7, 8, 9};  // 99 is no code; the rest keep defaults
    EXPECT_EQ(0, std::memcmp(order, read.infoOrder, sizeof order));
    EXPECT_FALSE(read.showAlerts);
    EXPECT_FALSE(read.showNotes);  // there is no third character

    // A count above twenty takes twenty at most.
    std::string many = "25,";
    for (int i = 0; i < 25; ++i) many += "P" + std::to_string(100 + i) + ",";
    SetKey("ViewProv2", many.c_str());
    ASSERT_EQ(1, ReadViewDefinition(2, &read, ActiveView(), nullptr));
    EXPECT_EQ(20, read.providerCount);
    EXPECT_EQ("P119", Id(read.providers[19]));
}

TEST(Views, NumbersOutOfRangeAreRefusedAndWriteNothing) {
    TempSettings settings;
    ViewDefinition view;
    view.number = 77;
    EXPECT_EQ(0, ReadViewDefinition(0, &view, ActiveView(), nullptr));
    EXPECT_EQ(0, ReadViewDefinition(21, &view, ActiveView(), nullptr));
    EXPECT_EQ(77, view.number);
    EXPECT_EQ(0, SaveViewDefinition(21, view));
    view.providerCount = -1;
    EXPECT_EQ(0, SaveViewDefinition(4, view));
    EXPECT_EQ("<missing>", Key("ViewProv4"));
    EXPECT_EQ("<missing>", Key("View4"));

    // Counts above twenty are saved as twenty.
    view.providerCount = 25;
    view.operatoryCount = 0;
    EXPECT_EQ(1, SaveViewDefinition(20, view));
    EXPECT_EQ("20,", Key("ViewProv20").substr(0, 3));
}

TEST(Views, DeletedNumbersAreReusedAndTheListShowsDefinedViews) {
    TempSettings settings;
    ViewDefinition view;
    for (int n = 1; n <= 5; ++n) ASSERT_EQ(1, SaveViewDefinition(n, view));
    EXPECT_EQ(6, FirstFreeViewNumber());
    ASSERT_EQ(1, DeleteViewDefinition(3));
    EXPECT_EQ("", Key("View3"));
    EXPECT_EQ("96", Key("ViewBegTime3"));  // the other keys stay
    EXPECT_EQ(3, FirstFreeViewNumber());

    auto list = DefinedViewList();
    ASSERT_EQ(4u, list.size());
    EXPECT_EQ("01 - F1", list[0].text);
    EXPECT_EQ("05 - F5", list[3].text);

    for (int n = 1; n <= 12; ++n) ASSERT_EQ(1, SaveViewDefinition(n, view));
    EXPECT_EQ(0, FirstFreeViewNumber());
    SetKey("View7", "02");  // fewer than three characters: not defined
    EXPECT_EQ(7, FirstFreeViewNumber());
}

TEST(Views, DisplayItemLabelsFollowTheCountry) {
    EXPECT_EQ("Referred By", DisplayItemLabel(13, 1));
    EXPECT_EQ("Soc. Sec. #", DisplayItemLabel(9, 1));
    EXPECT_EQ("SIN #      ", DisplayItemLabel(9, 2));
    EXPECT_EQ("VET #      ", DisplayItemLabel(9, 64));
    EXPECT_EQ("", DisplayItemLabel(14, 1));
}

TEST(FlipTabs, StoredValuesParseByTheirTypeCharacter) {
    FlipTab t = ParseFlipTab("Xabc,16711680,Recall");
    EXPECT_EQ(uint32_t(kFlipDefined), t.flags);
    EXPECT_EQ(0, t.value);
    EXPECT_EQ(16711680u, t.textColor);
    EXPECT_STREQ("Recall", t.description);

    EXPECT_EQ(uint32_t(kFlipDefined | kFlipAbsolute), ParseFlipTab("@2461000,0,Start").flags);
    EXPECT_EQ(uint32_t(kFlipDefined | kFlipFromDisplayed), ParseFlipTab(">2,0,x").flags);
    EXPECT_EQ(uint32_t(kFlipDefined | kFlipFromDisplayed | kFlipBackward),
              ParseFlipTab("<2,0,x").flags);
    EXPECT_EQ(999, ParseFlipTab("+1000,0,Far").value);

    EXPECT_STREQ("Next, then", ParseFlipTab("+1,255,Next, then").description);
    EXPECT_STREQ("123456789012345", ParseFlipTab("+1,0,1234567890123456789").description);
    FlipTab bare = ParseFlipTab("+5");  // no colour, no description
    EXPECT_EQ(5, bare.value);
    EXPECT_EQ(0u, bare.textColor);
    EXPECT_STREQ("", bare.description);
}

TEST(FlipTabs, AllTwelveKeysRoundTripWithCommasInDescriptions) {
    TempSettings settings;
    FlipTabSet set;
    FlipTab next;
    next.flags = kFlipDefined | kFlipFromDisplayed;
    next.value = 2;
    next.textColor = 0x0000FF;
    std::strcpy(next.description, "Next, then");
    set.tabs[kFlipWeek][1] = next;
    FlipTab start;
    start.flags = kFlipDefined | kFlipAbsolute;
    start.value = QVN_DateIn(1, 4, 2027);
    std::strcpy(start.description, "Start");
    set.tabs[kFlipMonth][3] = start;
    SaveFlipTabs(set);

    EXPECT_EQ(">2,255,Next, then", Key("WeekUserTab2"));
    EXPECT_EQ("@" + std::to_string(start.value) + ",0,Start", Key("MonthUserTab4"));
    EXPECT_EQ("", Key("DayUserTab1"));

    FlipTabSet loaded = LoadFlipTabs();
    EXPECT_EQ(next.flags, loaded.tabs[kFlipWeek][1].flags);
    EXPECT_STREQ("Next, then", loaded.tabs[kFlipWeek][1].description);
    EXPECT_EQ(start.value, loaded.tabs[kFlipMonth][3].value);
    for (int mode = 0; mode < kFlipModes; ++mode)
        EXPECT_EQ(0u, loaded.tabs[mode][4].flags) << "the fifth slot is always empty";
}
