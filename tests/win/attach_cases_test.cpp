// Attach Lab Cases on its own template, driven from a second thread: the appointment's case
// listed, a refused due date with the focus sent back to it, a case attached, another chosen and
// removed, a number left on the entry line attached by OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/lab_case_win.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"

using namespace dialog_driver;

TEST(AttachCases, ListsAttachesRemovesAndOkTakesTheEntryLine) {
    InstallWindowsPrompter(nullptr);
    std::vector<LabCaseLink> links = {{12, kLabSent, "Crown Co", QVN_DateIn(12, 10, 2026)}};
    std::vector<std::vector<std::string>> lists;
    std::string refusal, chosen;
    bool focus_on_due = false;
    Driver driver([&] {
        HWND d = WaitForDialog("Attach Lab Cases");
        ASSERT_NE(nullptr, d);
        HWND list = GetDlgItem(d, IDC_ATTACHCASES_LIST);
        lists.push_back(ListBoxTexts(list));
        SetDlgItemTextA(d, IDC_ATTACHCASES_NUMBER, "40");
        SetDlgItemTextA(d, IDC_ATTACHCASES_LAB, "Smile Lab");
        SendDlgItemMessageA(d, IDC_ATTACHCASES_STATE, CB_SETCURSEL, 3, 0);
        SetDlgItemTextA(d, IDC_ATTACHCASES_DUE, "13/45/2026");
        Press(d, IDC_ATTACHCASES_ATTACH);
        refusal = AnswerMessageBox();
        focus_on_due = FocusOf(d) == GetDlgItem(d, IDC_ATTACHCASES_DUE);
        SetDlgItemTextA(d, IDC_ATTACHCASES_DUE, "");
        Press(d, IDC_ATTACHCASES_ATTACH);
        WaitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; });
        lists.push_back(ListBoxTexts(list));
        // The first line chosen as a click chooses it: its case comes onto the entry line.
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_ATTACHCASES_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        WaitFor([&] { return Text(d, IDC_ATTACHCASES_NUMBER) == "12"; });
        chosen = Text(d, IDC_ATTACHCASES_NUMBER) + "|" + Text(d, IDC_ATTACHCASES_LAB) + "|" + Text(d, IDC_ATTACHCASES_DUE);
        Press(d, IDC_ATTACHCASES_REMOVE);
        WaitFor([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 1; });
        lists.push_back(ListBoxTexts(list));
        SetDlgItemTextA(d, IDC_ATTACHCASES_NUMBER, "7");
        Press(d, IDOK);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_TRUE(driver.Run([&] { return AttachCases(nullptr, GetModuleHandleA(nullptr), &links); }));
    EXPECT_EQ(refusal, "Invalid due date!");
    EXPECT_TRUE(focus_on_due);
    EXPECT_EQ(chosen, "12|Crown Co|12/10/2026");
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[0], std::vector<std::string>{"12\tCrown Co\tSent\t12/10/2026"});
    EXPECT_EQ(lists[1], (std::vector<std::string>{"12\tCrown Co\tSent\t12/10/2026", "40\tSmile Lab\tIn House\t"}));
    EXPECT_EQ(lists[2], std::vector<std::string>{"40\tSmile Lab\tIn House\t"});
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].caseId, 7u);
    EXPECT_EQ(links[0].state, kLabNeeded);
    EXPECT_EQ(links[1].caseId, 40u);
    InstallPrompter(nullptr);
}
