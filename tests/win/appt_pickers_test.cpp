// The appointment dialog's pickers on their own templates over the demo practice, driven from a
// second thread with real keyboard and mouse input: the time bar, the time pattern's units,
// the code and treatment plan lists, and the question before a code that needs a tooth.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "appointments/appt_pickers_win.h"
#include "data/demo_seed.h"
#include "dialog_driver.h"
#include "win_harness.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"

using namespace dialog_driver;

namespace {

std::string BarText(HWND d) {
    return Text(d, IDC_SETTIME_HOUR) + ":" + Text(d, IDC_SETTIME_MINUTE) + Text(d, IDC_SETTIME_HALF);
}

// Types a key and waits for a text of the dialog to change; the text after it.
std::string AfterKey(HWND d, WORD vk, const std::function<std::string(HWND)>& read) {
    const std::string before = read(d);
    Key(vk);
    WaitFor([&] { return read(d) != before; }, 1500);
    return read(d);
}

class ApptPickers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(QVN_DateIn(12, 7, 2026), &reason)) << reason;
        InstallWindowsPrompter(nullptr);
    }
    void TearDown() override { InstallPrompter(nullptr); }
    PracticeTestDatabase db_;
};

}  // namespace

TEST(ApptTimePickers, TimeBarFollowsTheKeysAndOkGivesItsTime) {
    std::vector<std::string> seen;
    Driver driver([&] {
        HWND d = WaitForDialog("Select Time");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        seen.push_back(BarText(d));
        seen.push_back(AfterKey(d, VK_RIGHT, BarText));  // one step
        seen.push_back(AfterKey(d, VK_NEXT, BarText));   // one hour
        seen.push_back(AfterKey(d, VK_END, BarText));    // the last step of the day
        seen.push_back(AfterKey(d, VK_HOME, BarText));   // midnight
        seen.push_back(AfterKey(d, VK_RIGHT, BarText));
        seen.push_back(AfterKey(d, VK_RIGHT, BarText));
        Key(VK_RETURN);
        EXPECT_TRUE(WaitGone(d));
    });
    int hour = 8, minute = 30;
    EXPECT_TRUE(driver.Run([&] { return PickTime(nullptr, GetModuleHandleA(nullptr), 15, true, &hour, &minute); }));
    EXPECT_EQ((std::vector<std::string>{" 8:30am", " 8:45am", " 9:45am", "11:45pm", "12:00am", "12:15am", "12:30am"}),
              seen);
    EXPECT_EQ(0, hour);
    EXPECT_EQ(30, minute);

    // Escape leaves the time as it was; without am/pm the 24-hour clock shows.
    Driver cancel([&] {
        HWND d = WaitForDialog("Select Time");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        seen.assign({BarText(d), AfterKey(d, VK_PRIOR, BarText)});
        Key(VK_ESCAPE);
        EXPECT_TRUE(WaitGone(d));
    });
    hour = 14;
    minute = 20;
    EXPECT_FALSE(cancel.Run([&] { return PickTime(nullptr, GetModuleHandleA(nullptr), 10, false, &hour, &minute); }));
    EXPECT_EQ((std::vector<std::string>{"14:20", "13:20"}), seen);
    EXPECT_EQ(14, hour);
    EXPECT_EQ(20, minute);
}

TEST(ApptTimePickers, PatternUnitsCycleOnClicksAndTheCountSetsTheTotal) {
    std::vector<std::string> seen;
    Driver driver([&] {
        HWND d = WaitForDialog("Appointment Time Pattern");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        auto total = [](HWND w) { return Text(w, IDC_TIMEPATTERN_COUNT) + " " + Text(w, IDC_TIMEPATTERN_TOTAL); };
        seen.push_back(total(d));
        seen.push_back(AfterKey(d, VK_RIGHT, total));  // the units bar has the focus: one unit more
        HWND first = GetDlgItem(d, IDC_TIMEPATTERN_UNIT1), third = GetDlgItem(d, IDC_TIMEPATTERN_UNIT1 + 2);
        HWND fourth = GetDlgItem(d, IDC_TIMEPATTERN_UNIT1 + 3);
        EXPECT_TRUE(IsWindowEnabled(third));
        EXPECT_FALSE(IsWindowEnabled(fourth)) << "units past the count take no clicks";
        std::string units;
        for (HWND button : {first, first, first, first, third}) {
            const std::string before = TextOf(button);
            EXPECT_TRUE(RealClick(button));
            WaitFor([&] { return TextOf(button) != before; }, 1500);
            units += TextOf(button) + "|";
        }
        seen.push_back(units);
        RealClick(fourth);
        Sleep(200);  // time enough for a wrongly taken click to show
        seen.push_back(TextOf(fourth));
        Key(VK_RETURN);
        EXPECT_TRUE(WaitGone(d));
    });
    uint8_t pattern[6] = {0x80, 0, 0, 0, 0, 0};  // unit 1 starts as provider time
    int units = 2;
    EXPECT_TRUE(driver.Run([&] { return EditTimePattern(nullptr, GetModuleHandleA(nullptr), pattern, &units, 15); }));
    // First unit: X -> blank -> / -> X -> blank; third unit: blank -> /.
    EXPECT_EQ((std::vector<std::string>{"2 30 minutes", "3 45 minutes", " |/|X| |/|", " "}), seen);
    EXPECT_EQ(3, units);
    EXPECT_EQ((std::vector<uint8_t>{0x04, 0, 0, 0, 0, 0}), std::vector<uint8_t>(pattern, pattern + 6));
}

TEST_F(ApptPickers, CodeListsTakeWhatIsChosen) {
    std::vector<std::string> lines;
    Driver initial([&] {
        HWND d = WaitForDialog("Select Initial Reasons");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        lines = ListBoxTexts(GetDlgItem(d, IDC_INITREASONS_LIST));
        // The list has the focus: Space chooses the line under the caret.
        Key(VK_SPACE);
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_SPACE);
        Key(VK_RETURN);
        EXPECT_TRUE(WaitGone(d));
    });
    std::vector<uint32_t> ids;
    EXPECT_TRUE(initial.Run([&] { return PickInitialReasons(nullptr, GetModuleHandleA(nullptr), &ids); }));
    EXPECT_EQ((std::vector<uint32_t>{1, 4}), ids);
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ("D0120\tPeriodic oral evaluation", lines[0]);
    EXPECT_EQ("D9110\tPalliative treatment", lines[11]);

    Driver plan([&] {
        HWND d = WaitForDialog("Treatment Plan");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        lines = ListBoxTexts(GetDlgItem(d, IDC_TREATPLAN_LIST));
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_SPACE);
        Key(VK_RETURN);
        EXPECT_TRUE(WaitGone(d));
    });
    ids.clear();
    EXPECT_TRUE(plan.Run([&] { return PickTreatmentPlan(nullptr, GetModuleHandleA(nullptr), 10, &ids); }));
    EXPECT_EQ((std::vector<uint32_t>{3}), ids);
    EXPECT_EQ((std::vector<std::string>{"Tx\tD2391\tResin composite, one surface\t14\tMO",
                                        "Tx\tD2740\tCrown, porcelain/ceramic    \t3\t",
                                        "Tx\tD4341\tScaling and root planing, qu\tUR\t"}),
              lines);

    // OK with nothing chosen is a Cancel.
    Driver none([&] {
        HWND d = WaitForDialog("Treatment Plan");
        ASSERT_NE(nullptr, d);
        Press(d, IDOK);
        EXPECT_TRUE(WaitGone(d));
    });
    ids = {99};
    EXPECT_FALSE(none.Run([&] { return PickTreatmentPlan(nullptr, GetModuleHandleA(nullptr), 10, &ids); }));
    EXPECT_EQ((std::vector<uint32_t>{99}), ids);
}

TEST_F(ApptPickers, MiscReasonAsksBeforeACodeThatNeedsATooth) {
    // Line 7 is D2391, which needs a tooth and surfaces; line 1 is D0120, which needs nothing.
    struct Case {
        int downs;
        int answer;           // the message box's button, 0 = no box expected
        bool result;
        uint32_t code;
    } cases[] = {{6, IDNO, false, 0}, {6, IDYES, true, 7}, {0, 0, true, 1}};
    for (const Case& c : cases) {
        std::string asked;
        Driver driver([&] {
            HWND d = WaitForDialog("Select Procedure Code");
            ASSERT_NE(nullptr, d);
            ASSERT_TRUE(BringForward(d));
            for (int i = 0; i < c.downs; ++i) Key(VK_DOWN);
            Key(VK_RETURN);
            EXPECT_TRUE(WaitGone(d));
            // Without a question the result tells: a box left open is cancelled and gives false.
            asked = c.answer ? AnswerMessageBox(c.answer) : "";
        });
        uint32_t code = 0;
        EXPECT_EQ(c.result, driver.Run([&] { return PickMiscReason(nullptr, GetModuleHandleA(nullptr), &code); }))
            << c.downs;
        EXPECT_EQ(c.code, code) << c.downs;
        EXPECT_EQ(c.answer ? "This Procedure Code requires additional information (tooth #, surface, etc.). This "
                             "procedure should be treatment planned. Continue?"
                           : "",
                  asked)
            << c.downs;
    }
}

TEST(ApptCarePicker, DownAndEnterGiveTheSecondLinesType) {
    const std::vector<CarePickLine> lines = {{"PRO\t12/04/2026", 1}, {"BWX\t01/06/2027", 2}};
    std::string second;
    Driver pick([&] {
        HWND d = WaitForDialog("Select Continuing Care");
        ASSERT_NE(nullptr, d);
        ASSERT_TRUE(BringForward(d));
        char text[64] = "";
        SendDlgItemMessageA(d, IDC_CAREPICK_LIST, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
        second = text;
        Key(VK_DOWN);
        Key(VK_RETURN);
        EXPECT_TRUE(WaitGone(d));
    });
    uint16_t type = 0;
    EXPECT_TRUE(pick.Run([&] { return PickContinuingCare(nullptr, GetModuleHandleA(nullptr), lines, &type); }));
    EXPECT_EQ(2, type);
    EXPECT_EQ("BWX\t01/06/2027", second);
}
