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

void SetKey(const char* key, const char* value) { ASSERT_EQ(1, QVN_WriteProfileString("APPTBOOK", key, value)); }

std::string Key(const char* key) { return QVN_ReadProfileText("APPTBOOK", key, "<missing>"); }

// A whole view in one line, so that one comparison shows every field:
// "providers|operatories|days|amount alerts notes|begin-end|info order".
std::string Describe(const ViewDefinition& v) {
    std::string out;
    for (int i = 0; i < v.providerCount; ++i) out += std::string(v.providers[i], 4) + ",";
    out += "|";
    for (int i = 0; i < v.operatoryCount; ++i) out += std::string(v.operatories[i], 4) + ",";
    out += "|";
    for (int d : v.days) out += std::to_string(d);
    out += "|" + std::to_string(v.showAmount) + std::to_string(v.showAlerts) + std::to_string(v.showNotes) + "|" +
           std::to_string(v.beginTime) + "-" + std::to_string(v.endTime) + "|";
    for (uint8_t code : v.infoOrder) out += std::to_string(code) + ",";
    return out;
}

ViewDefinition ActiveView() {
    ViewDefinition active;
    active.providerCount = 3;
    std::memcpy(active.providers, "DR1 GONEHYG ", 12);
    active.operatoryCount = 2;
    std::memcpy(active.operatories, "OP1 OP2 ", 8);
    return active;
}

}  // namespace

TEST(Views, SavedViewHasTheStoredFormsAndReadsBack) {
    TempSettings settings;
    ViewDefinition view;
    view.providerCount = 2;
    std::memcpy(view.providers, "AAAABB  ", 8);
    view.operatoryCount = 1;
    std::memcpy(view.operatories[0], "OP1 ", 4);
    const int days[7] = {2, 3, 4, 5, 6, 0, 0};
    std::memcpy(view.days, days, sizeof days);
    view.showAmount = true;
    view.showNotes = false;
    view.beginTime = 84;
    view.endTime = 96;
    const uint8_t order[9] = {1, 3, 0, 0, 5, 0, 0, 0, 13};
    std::memcpy(view.infoOrder, order, sizeof order);

    ASSERT_EQ(1, SaveViewDefinition(3, view));
    EXPECT_EQ("02,AAAA,BB  ,|01,OP1 ,|02,03,04,05,06,00,00|1|1,0|84|96|1,3,0,0,5,0,0,0,13",
              Key("ViewProv3") + "|" + Key("ViewOp3") + "|" + Key("View3") + "|" + Key("ViewAmount3") + "|" + Key("ViewInfo3") +
                  "|" + Key("ViewBegTime3") + "|" + Key("ViewEndTime3") + "|" + Key("ViewInfoOrder3"));
    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(3, &read, ActiveView(), nullptr));
    EXPECT_EQ(Describe(view), Describe(read));
}

TEST(Views, MissingValuesGiveTheDefaultsAndTheActiveViewsLists) {
    TempSettings settings;
    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(5, &read, ActiveView(), [](const char id[4]) {
        return std::memcmp(id, "GONE", 4) != 0;  // inactive or no longer on file
    }));
    EXPECT_EQ("DR1 ,HYG ,|OP1 ,OP2 ,|1234567|011|96-204|1,2,3,4,5,6,7,8,9,", Describe(read));
    // Without a database session the active view's providers are taken as they stand.
    ASSERT_EQ(1, ReadViewDefinition(5, &read, ActiveView(), nullptr));
    EXPECT_EQ("DR1 ,GONE,HYG ,|", Describe(read).substr(0, 16));
}

TEST(Views, MalformedValuesAreReadAsFarAsTheyGo) {
    TempSettings settings;
    SetKey("ViewProv1", "03,AAAA,BBBB,");   // claims three, holds two
    SetKey("ViewOp1", "01,OP1 ,OP2 ,");     // holds two, claims one
    SetKey("View1", "02,03");
    SetKey("ViewInfoOrder1", "4,99,x,7");   // 99 is no code; the rest keep defaults
    SetKey("ViewInfo1", "0");               // there is no second character
    SetKey("ViewAmount1", "yes");
    SetKey("ViewBegTime1", "abc");          // no digits: 0, as every integer setting reads
    ViewDefinition read;
    ASSERT_EQ(1, ReadViewDefinition(1, &read, ActiveView(), nullptr));
    EXPECT_EQ("AAAA,BBBB,|OP1 ,|2300000|000|0-204|4,0,0,7,5,6,7,8,9,", Describe(read));

    // A count above twenty takes twenty at most.
    std::string many = "25,";
    for (int i = 0; i < 25; ++i) many += "P" + std::to_string(100 + i) + ",";
    SetKey("ViewProv2", many.c_str());
    ASSERT_EQ(1, ReadViewDefinition(2, &read, ActiveView(), nullptr));
    EXPECT_EQ(20, read.providerCount);
    EXPECT_EQ("P119", std::string(read.providers[19], 4));
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
    EXPECT_EQ("<missing>|<missing>", Key("ViewProv4") + "|" + Key("View4"));
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
    EXPECT_EQ("|96", Key("View3") + "|" + Key("ViewBegTime3")) << "the other keys stay";
    EXPECT_EQ(3, FirstFreeViewNumber());
    auto list = DefinedViewList();
    ASSERT_EQ(4u, list.size());
    EXPECT_EQ("01 - F1|05 - F5", list[0].text + "|" + list[3].text);
    for (int n = 1; n <= 12; ++n) ASSERT_EQ(1, SaveViewDefinition(n, view));
    EXPECT_EQ(0, FirstFreeViewNumber());
    SetKey("View7", "02");  // fewer than three characters: not defined
    EXPECT_EQ(7, FirstFreeViewNumber());
}

TEST(Views, DisplayItemLabelsFollowTheCountry) {
    EXPECT_EQ("Referred By", DisplayItemLabel(13, 1));
    EXPECT_EQ("Soc. Sec. #|SIN #      |VET #      ", DisplayItemLabel(9, 1) + "|" + DisplayItemLabel(9, 2) + "|" + DisplayItemLabel(9, 64));
    EXPECT_EQ("", DisplayItemLabel(14, 1));
}

TEST(FlipTabs, StoredValuesParseByTheirTypeCharacterAndAllTwelveKeysRoundTrip) {
    // A tab as "flags value colour description", so that one comparison shows every field.
    const auto shown = [](const FlipTab& t) {
        return std::to_string(t.flags) + " " + std::to_string(t.value) + " " + std::to_string(t.textColor) + " " + t.description;
    };
    EXPECT_EQ(std::to_string(kFlipDefined) + " 0 16711680 Recall", shown(ParseFlipTab("Xabc,16711680,Recall")));
    EXPECT_EQ(uint32_t(kFlipDefined | kFlipAbsolute), ParseFlipTab("@2461000,0,Start").flags);
    EXPECT_EQ(uint32_t(kFlipDefined | kFlipFromDisplayed | kFlipBackward), ParseFlipTab("<2,0,x").flags);
    EXPECT_EQ(999, ParseFlipTab("+1000,0,Far").value);
    EXPECT_STREQ("123456789012345", ParseFlipTab("+1,0,1234567890123456789").description);
    EXPECT_EQ(std::to_string(kFlipDefined) + " 5 0 ", shown(ParseFlipTab("+5"))) << "no colour, no description";

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
    const FlipTabSet loaded = LoadFlipTabs();
    EXPECT_EQ(shown(next), shown(loaded.tabs[kFlipWeek][1])) << "a comma inside the description";
    EXPECT_EQ(shown(start), shown(loaded.tabs[kFlipMonth][3]));
    for (int mode = 0; mode < kFlipModes; ++mode) EXPECT_EQ(0u, loaded.tabs[mode][4].flags) << "the fifth slot is always empty";
}
