// The Edit View dialog's rules: hours with am/pm, the resource limits and the OK checks in order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "scripted_prompter.h"
#include "suite/messages.h"
#include "views/view_edit.h"

namespace {

ResourceListInput List(int entries, std::initializer_list<int> selected = {}) {
    ResourceListInput list;
    for (int i = 0; i < entries; ++i) {
        std::string id = "R" + std::to_string(100 + i);
        list.entries.push_back({id[0], id[1], id[2], id[3]});
    }
    list.selected.assign(entries, false);
    for (int i : selected) list.selected[i] = true;
    return list;
}

ViewEditInput WorkingWeek() {
    ViewEditInput input;
    input.providers = List(3, {0});
    input.operatories = List(3, {1, 2});
    for (int d = 1; d <= 5; ++d) input.dayChecked[d] = true;
    input.startHour = "8";
    input.endHour = "5";
    input.endPm = true;
    return input;
}

}  // namespace

TEST(ViewEdit, HoursShowAsTwelveHourClockAndConvertBack) {
    EXPECT_EQ(0, TimeOfHourField(12, false));
    EXPECT_EQ(144, TimeOfHourField(12, true));
    EXPECT_EQ(204, TimeOfHourField(5, true));
    for (auto [time, hour, pm] : {std::tuple{96, 8, false}, {144, 12, true}, {288, 12, true}, {0, 12, false}, {11, 12, false},
                                  {300, 12, false}}) {  // 288 is hour 24; the last three are no hour
        EXPECT_EQ(std::pair(hour, pm), std::pair(HourFieldOfTime(time).hour, HourFieldOfTime(time).pm)) << time;
    }
}

TEST(ViewEdit, AllTakesTwentyAndAHandPickTakesTenInListOrder) {
    ScriptedPrompter prompter;
    ViewEditInput input = WorkingWeek();
    input.operatories = List(25);
    input.operatories.all = true;
    input.providers = List(25, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 24});
    ViewDefinition view;
    ASSERT_EQ(kViewEditAccepted, CheckViewEdit(input, &view));
    EXPECT_EQ("20 R119 10 R110", std::to_string(view.operatoryCount) + " " + std::string(view.operatories[19], 4) + " " +
                                     std::to_string(view.providerCount) + " " + std::string(view.providers[9], 4));
    EXPECT_EQ((std::vector<int>{2, 3, 4, 5, 6, 0, 0, 96, 204}),
              (std::vector<int>{view.days[0], view.days[1], view.days[2], view.days[3], view.days[4], view.days[5], view.days[6],
                                view.beginTime, view.endTime}));
}

TEST(ViewEdit, RefusalsComeInOrderWithTheirTextsAndKeepTheViewUnchanged) {
    ViewDefinition view;
    view.beginTime = 60;
    const std::string bad_time = "Please enter a valid time (for example 9:30am).";
    const struct { const char* what; void (*spoil)(ViewEditInput&); ViewEditFocus focus; std::string text; } cases[] = {
        {"no provider, too few days", [](ViewEditInput& in) { in.providers = List(3); in.dayChecked[1] = in.dayChecked[2] = in.dayChecked[3] = false; },
         kViewEditFocusOperatories, "At least one operatory and one provider must be selected."},
        {"one day", [](ViewEditInput& in) { for (bool& d : in.dayChecked) d = false; in.dayChecked[3] = true; },
         kViewEditFocusSunday, "At least two days must be selected"},
        {"start hour 0", [](ViewEditInput& in) { in.startHour = "0"; }, kViewEditFocusStartHour, bad_time},
        {"start hour 8a", [](ViewEditInput& in) { in.startHour = "8a"; }, kViewEditFocusStartHour, bad_time},
        {"end hour 14", [](ViewEditInput& in) { in.endHour = "14"; }, kViewEditFocusEndHour, bad_time},
        {"start and end equal", [](ViewEditInput& in) { in.endHour = "8"; in.endPm = false; }, kViewEditFocusStartHour,
         "Invalid time span!"},
    };
    for (const auto& c : cases) {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        c.spoil(input);
        EXPECT_EQ(c.focus, CheckViewEdit(input, &view)) << c.what;
        EXPECT_EQ(std::vector<std::string>{c.text}, prompter.Texts()) << c.what;
    }
    EXPECT_EQ(60, view.beginTime) << "a refused OK stores nothing";

    ScriptedPrompter prompter;
    ViewEditInput input = WorkingWeek();
    input.startHour = " 11 ";
    input.endHour = "12";
    input.endPm = true;  // exactly one hour
    input.showAmount = true;
    input.lines[0] = 12;
    ASSERT_EQ(kViewEditAccepted, CheckViewEdit(input, &view));
    EXPECT_EQ((std::vector<int>{132, 144, 1, 12}), (std::vector<int>{view.beginTime, view.endTime, view.showAmount, view.infoOrder[0]}));
}
