// The Edit View dialog's rules: hours with am/pm, the resource limits and the OK checks in order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
    EXPECT_EQ(96, TimeOfHourField(8, false));
    EXPECT_EQ(204, TimeOfHourField(5, true));

    HourField f = HourFieldOfTime(96);
    EXPECT_EQ(8, f.hour);
    EXPECT_FALSE(f.pm);
    f = HourFieldOfTime(144);
    EXPECT_EQ(12, f.hour);
    EXPECT_TRUE(f.pm);
    f = HourFieldOfTime(204);
    EXPECT_EQ(5, f.hour);
    EXPECT_TRUE(f.pm);
    f = HourFieldOfTime(288);  // hour 24
    EXPECT_EQ(12, f.hour);
    EXPECT_TRUE(f.pm);
    for (int odd : {0, 11, 300, -12}) {
        f = HourFieldOfTime(odd);
        EXPECT_EQ(12, f.hour) << odd;
        EXPECT_FALSE(f.pm) << odd;
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
    EXPECT_EQ(20, view.operatoryCount);
    EXPECT_EQ("R119", std::string(view.operatories[19], 4));
    EXPECT_EQ(10, view.providerCount);
    EXPECT_EQ("R101", std::string(view.providers[0], 4));
    EXPECT_EQ("R110", std::string(view.providers[9], 4));
    int days[7] = {2, 3, 4, 5, 6, 0, 0};
    EXPECT_EQ(0, std::memcmp(days, view.days, sizeof days));
    EXPECT_EQ(96, view.beginTime);
    EXPECT_EQ(204, view.endTime);
    EXPECT_TRUE(prompter.Asked().empty());
}

TEST(ViewEdit, RefusalsComeInOrderWithTheirTextsAndKeepTheViewUnchanged) {
    ViewDefinition view;
    view.beginTime = 60;
    {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        input.providers = List(3);  // nothing selected
        input.dayChecked[1] = input.dayChecked[2] = input.dayChecked[3] = false;  // also too few days
        EXPECT_EQ(kViewEditFocusOperatories, CheckViewEdit(input, &view));
        ASSERT_EQ(1u, prompter.Asked().size());
        EXPECT_EQ("At least one operatory and one provider must be selected.",
                  prompter.Asked()[0].text);
        EXPECT_EQ("Appointment Book", prompter.Asked()[0].title);
        EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);
    }
    {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        for (bool& d : input.dayChecked) d = false;
        input.dayChecked[3] = true;
        EXPECT_EQ(kViewEditFocusSunday, CheckViewEdit(input, &view));
        EXPECT_EQ(std::vector<std::string>{"At least two days must be selected"}, prompter.Texts());
    }
    for (const char* bad : {"", "0", "13", "8a", "1 2", "-3"}) {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        input.startHour = bad;
        EXPECT_EQ(kViewEditFocusStartHour, CheckViewEdit(input, &view)) << bad;
        EXPECT_EQ(std::vector<std::string>{"Please enter a valid time (for example 9:30am)."},
                  prompter.Texts());
    }
    {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        input.endHour = "14";
        EXPECT_EQ(kViewEditFocusEndHour, CheckViewEdit(input, &view));
    }
    {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        ViewEditInput input = WorkingWeek();
        input.endHour = "8";
        input.endPm = false;  // equal start and end
        EXPECT_EQ(kViewEditFocusStartHour, CheckViewEdit(input, &view));
        EXPECT_EQ(std::vector<std::string>{"Invalid time span!"}, prompter.Texts());
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
    EXPECT_EQ(132, view.beginTime);
    EXPECT_EQ(144, view.endTime);
    EXPECT_TRUE(view.showAmount);
    EXPECT_EQ(12, view.infoOrder[0]);
}
