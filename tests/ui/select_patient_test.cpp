// The Select Patient dialog on the running program: opened from the menu, typed into and
// chosen from with real input, its search key remembered, the status warning after a choice and
// the new appointment's dialog for the chosen patient.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/resource.h"
#include "app_run.h"

TEST(SelectPatient, OpensFromTheMenuSearchesTypedKeysChoosesByDoubleClickAndRemembersItsKey) {
    AppRun app;
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    const DemoPractice demo = BuildDemoPractice(1, QVN_SysDate());
    const DemoPatient& inactive = demo.patients[42];
    ASSERT_EQ(3, inactive.status);
    int smi = 0;
    for (const DemoPatient& p : demo.patients) smi += p.last.rfind("Smi", 0) == 0 && p.status != 4;
    ASSERT_GT(smi, 0);

    // Appointment menu, "Select Patient - New Appt...", by its mnemonics.
    ASSERT_TRUE(BringToFront(main));
    PressKey('A', VK_MENU);
    PressKey('S');
    HWND dialog = app.WaitForDialog("Select Patient");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("&Enter Last Name (Last, First MI):", ControlText(dialog, IDC_PATFIND_PROMPT));
    EXPECT_EQ("Status", ControlText(dialog, IDC_PATFIND_COLUMN4));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, IDC_PATFIND_LASTNAME, BM_GETCHECK, 0, 0));
    EXPECT_EQ("", ControlText(dialog, IDC_PATFIND_ENTRY)) << "no recent selection yet";
    EXPECT_EQ(0, ListCount(dialog, IDC_PATFIND_RECENT));

    // Enter on a typed name searches, in any case; every Smith and Smithson is listed.
    TypeText("smi");
    EXPECT_EQ("smi", ControlText(dialog, IDC_PATFIND_ENTRY));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ListCount(dialog, IDC_PATFIND_LIST) == smi; })) << ListCount(dialog, IDC_PATFIND_LIST);
    EXPECT_EQ(0u, ListBoxLine(dialog, IDC_PATFIND_LIST, 0).find(" Smith")) << ListBoxLine(dialog, IDC_PATFIND_LIST, 0);

    // Alt+H switches to the chart number: prompt, title and an empty list.
    PressKey('H', VK_MENU);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(dialog, IDC_PATFIND_PROMPT) == "&Enter Chart #:"; }));
    EXPECT_EQ("Chart #", ControlText(dialog, IDC_PATFIND_COLUMN4));
    EXPECT_EQ(0, ListCount(dialog, IDC_PATFIND_LIST));
    EXPECT_EQ("", ControlText(dialog, IDC_PATFIND_ENTRY));
    // A number nobody has: the list says so in its one line.
    TypeText("c 99999");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(dialog, IDC_PATFIND_LIST) == 1; }));
    EXPECT_EQ("No match found for list.", ListBoxLine(dialog, IDC_PATFIND_LIST, 0));
    SendDlgItemMessageA(dialog, IDC_PATFIND_ENTRY, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    TypeText("c 10043");
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return ListCount(dialog, IDC_PATFIND_LIST) == 1; }));
    const std::string line = ListBoxLine(dialog, IDC_PATFIND_LIST, 0);
    std::string name = " " + inactive.last + ", " + inactive.first + " " + inactive.middleInitial;
    name.resize(27, ' ');
    EXPECT_EQ(name + "\t", line.substr(0, 28)) << line;
    EXPECT_NE(std::string::npos, line.find("\tC10043 ")) << line;

    DoubleClickLine(GetDlgItem(dialog, IDC_PATFIND_LIST), 0);
    HWND warning = app.WaitForDialog("Warning");
    ASSERT_NE(nullptr, warning);
    EXPECT_EQ("Selected Patient has an Inactive Status", MessageText(warning));
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) && !IsWindow(warning); }));
    EXPECT_FALSE(WaitUntil([] { return FindWindowA("#32770", "Warning") != nullptr; }, 1500)) << "the warning comes once";

    // The chosen patient is the one other programs are told about.
    const std::string packed = inactive.last + ", " + inactive.first + " " + inactive.middleInitial;
    DdeClient dde;
    EXPECT_EQ(std::to_string(inactive.id) + ":" + packed, dde.Request("PatientInfo", "PatientId"));

    // The new appointment's dialog follows the choice (after the patient's alerts, when there are
    // any); Cancel closes it unchanged without a question.
    HWND appointment = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        if (HWND alerts = FindWindowA("#32770", "Patient Alerts")) PostMessageA(alerts, WM_COMMAND, IDOK, 0);
        appointment = FindWindowA("#32770", ("New Appointment Information - (" + packed + ")").c_str());
        return appointment != nullptr;
    }, 10000));
    PostMessageA(appointment, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(appointment); }));

    // Shift+F2 opens it again on the chart number, with the choice among the recent ones and
    // its name in the entry field.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F2, VK_SHIFT);
    dialog = app.WaitForDialog("Select Patient");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, IDC_PATFIND_CHART, BM_GETCHECK, 0, 0));
    EXPECT_EQ("&Enter Chart #:", ControlText(dialog, IDC_PATFIND_PROMPT));
    ASSERT_EQ(1, ListCount(dialog, IDC_PATFIND_RECENT));
    EXPECT_EQ(line, ListBoxLine(dialog, IDC_PATFIND_RECENT, 0));
    EXPECT_EQ(inactive.last + ", " + inactive.first, ControlText(dialog, IDC_PATFIND_ENTRY));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(152u, GetPrivateProfileIntA("SELPAT", "SelectBy", 0, app.SettingsFile().c_str()));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, app.WaitForExit());
}
