// The "Select Date" picker as a real window: its buttons, keys and clicks, and the 1124 command
// it posts to its owner.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../native/scripted_prompter.h"
#include "controls/date_picker_model.h"
#include "controls/date_picker_win.h"
#include "suite/dates.h"
#include "win_harness.h"

namespace {

std::vector<LPARAM> picked_dates;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && LOWORD(wparam) == kCmdPickedDate) picked_dates.push_back(lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

// A plain owner window that records every date posted to it.
class Owner {
public:
    Owner() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PickerTestOwner";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "PickerTestOwner", "owner", WS_OVERLAPPEDWINDOW, 100, 100,
                                  600, 500, nullptr, nullptr, wc.hInstance, nullptr);
        picked_dates.clear();
    }
    ~Owner() {
        if (HWND picker = OpenDatePickerWindow()) DestroyWindow(picker);
        DestroyWindow(window_);
    }
    HWND Window() const { return window_; }

private:
    HWND window_;
};

void Click(const char* button_text) {
    HWND button = FindWindowExA(OpenDatePickerWindow(), nullptr, "BUTTON", button_text);
    ASSERT_NE(nullptr, button) << button_text;
    SendMessageA(button, BM_CLICK, 0, 0);
    Pump();
}

void Key(WPARAM key) {
    SendMessageA(OpenDatePickerWindow(), WM_KEYDOWN, key, 0);
    Pump();
}

// Client point in the middle of the cell of a day of the shown month.
LPARAM PointOfDay(int year, int month, int day) {
    DatePickerState state{year, month, day, false};
    int row, column;
    PickerCellOfDay(state, day, &row, &column);
    RECT client;
    GetClientRect(OpenDatePickerWindow(), &client);
    int cell_width = client.right / kPickerColumns;
    int cell_height = client.bottom / (kPickerWeekRows + 2);
    return MAKELPARAM(column * cell_width + cell_width / 2, (row + 2) * cell_height + cell_height / 2);
}

}  // namespace

TEST(DatePickerWindow, NextMonthFromJanuary31stPicksTheEndOfFebruary) {
    Owner owner;
    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), QVN_DateIn(1, 31, 2027), false));
    HWND picker = OpenDatePickerWindow();
    ASSERT_NE(nullptr, picker);
    char title[64] = "";
    GetWindowTextA(picker, title, sizeof title);
    EXPECT_STREQ("Select Date", title);
    EXPECT_EQ(owner.Window(), GetWindow(picker, GW_OWNER));

    // Only one picker at a time.
    EXPECT_EQ(0, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), QVN_DateIn(5, 5, 2027), false));
    EXPECT_EQ(picker, OpenDatePickerWindow());

    Click(">>");
    Click("OK");
    ASSERT_EQ(1u, picked_dates.size());
    EXPECT_EQ(QVN_DateIn(2, 28, 2027), picked_dates[0]);
    EXPECT_EQ(nullptr, OpenDatePickerWindow());
    EXPECT_FALSE(IsWindow(picker));
}

TEST(DatePickerWindow, KeysMoveAndConfirmAndEscapeSendsNothing) {
    Owner owner;
    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), QVN_DateIn(2, 28, 2027), false));
    Key(VK_RIGHT);
    Key(VK_DOWN);
    Key(VK_RETURN);
    ASSERT_EQ(1u, picked_dates.size());
    EXPECT_EQ(QVN_DateIn(3, 8, 2027), picked_dates[0]);

    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), 0, false));
    Click("<<");
    Key(VK_ESCAPE);
    EXPECT_EQ(nullptr, OpenDatePickerWindow());
    EXPECT_EQ(1u, picked_dates.size());

    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), 0, false));
    Click("OK");
    ASSERT_EQ(2u, picked_dates.size());
    EXPECT_EQ(QVN_SysDate(), picked_dates[1]) << "start date 0 opens on today";

    EXPECT_EQ(0, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), QVN_DateIn(12, 31, 1969), false));
    EXPECT_EQ(nullptr, OpenDatePickerWindow());
}

TEST(DatePickerWindow, AClickSelectsAndADoubleClickOnTheSelectedDayConfirms) {
    Owner owner;
    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), QVN_DateIn(8, 3, 2027), false));
    HWND picker = OpenDatePickerWindow();
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, PointOfDay(2027, 8, 17));
    Pump();
    EXPECT_TRUE(picked_dates.empty()) << "a single click only selects";
    SendMessageA(picker, WM_LBUTTONDBLCLK, MK_LBUTTON, PointOfDay(2027, 8, 17));
    Pump();
    ASSERT_EQ(1u, picked_dates.size());
    EXPECT_EQ(QVN_DateIn(8, 17, 2027), picked_dates[0]);
}

TEST(DatePickerWindow, APastDateAsksAndCancelKeepsThePickerOpen) {
    Owner owner;
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerCancel).Answer(kAnswerOk);
    int32_t yesterday = QVN_SysDate() - 1;
    ASSERT_EQ(1, OpenDatePicker(owner.Window(), GetModuleHandleA(nullptr), yesterday, true));
    Click("OK");
    EXPECT_NE(nullptr, OpenDatePickerWindow());
    EXPECT_TRUE(picked_dates.empty());
    Click("OK");
    ASSERT_EQ(1u, picked_dates.size());
    EXPECT_EQ(yesterday, picked_dates[0]);
    EXPECT_EQ(2u, prompter.Asked().size());
}
