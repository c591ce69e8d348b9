// The Select View and Edit View dialogs on their own templates, driven from a second thread:
// what they show for a saved view, the refusals read from real message boxes, what OK saves,
// and Delete and New behind the user's rights.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../native/user_database.h"
#include "data/practice_schedule.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"
#include "views/active_view.h"
#include "views/view_definition.h"
#include "views/view_dialogs_win.h"

using namespace dialog_driver;

namespace {

ProviderInfo Provider(const char* id, bool inactive = false) {
    ProviderInfo p{};
    std::memcpy(p.id, id, 4);
    p.listExclusion = inactive ? 1 : 0;
    return p;
}

OperatoryInfo Operatory(const char* id) {
    OperatoryInfo o{};
    std::memcpy(o.id, id, 4);
    return o;
}

// The loaded practice tables the dialogs list: three providers (one inactive), three
// operatories, the first of each shown before any view was applied. Restored afterwards.
class PracticeTablesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        practice_tables.providers = {Provider("DR1 "), Provider("OLD ", true), Provider("HYG1")};
        practice_tables.operatories = {Operatory("OP1 "), Operatory("OP2 "), Operatory("OP3 ")};
        practice_tables.shownProviders = {0, 2};
        practice_tables.shownOperatories = {0, 1, 2};
        view_state = ViewState{};
        InstallWindowsPrompter(nullptr);  // the refusals come as real message boxes
    }
    void TearDown() override {
        InstallPrompter(nullptr);
        practice_tables.providers.clear();
        practice_tables.operatories.clear();
        practice_tables.shownProviders.clear();
        practice_tables.shownOperatories.clear();
        view_state = ViewState{};
    }

    static void SaveView(int n, const char* provider, const char* operatory) {
        ViewDefinition v;
        v.providerCount = 1;
        std::memcpy(v.providers[0], provider, 4);
        v.operatoryCount = 1;
        std::memcpy(v.operatories[0], operatory, 4);
        int days[kViewDays] = {2, 3, 4, 5, 6, 0, 0};
        std::memcpy(v.days, days, sizeof days);
        v.beginTime = 96;
        v.endTime = 204;
        ASSERT_EQ(1, SaveViewDefinition(n, v));
    }
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::vector<std::string> SelectedTexts(HWND list) {
    std::vector<std::string> all = ListBoxTexts(list), selected;
    for (size_t i = 0; i < all.size(); ++i)
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0) selected.push_back(all[i]);
    return selected;
}

std::string ComboText(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    char text[64] = {};
    if (at != CB_ERR) SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace

using EditViewDialog = PracticeTablesFixture;
using SelectViewDialog = PracticeTablesFixture;

TEST_F(EditViewDialog, ShowsTheViewRefusesAnEmptySpanAndSavesOneHour) {
    TempSettings settings;
    SaveView(2, "HYG1", "OP2 ");
    QVN_WriteProfileString("APPTBOOK", "ViewInfoOrder2", "1,13,0,4,5,6,7,8,9");

    struct Seen {
        bool found = false;
        std::vector<std::string> providers, operatories, selectedProviders, selectedOperatories;
        bool allProviders = true, allOperatories = true;
        bool days[7] = {};
        std::string start, end, line2;
        bool startAm = false, endPm = false;
        std::vector<std::string> refusals;
        bool focusOnStart = false;
    } seen;

    Driver driver([&] {
        HWND dialog = WaitForDialog("Select View");
        if (!dialog) return;
        seen.found = true;
        seen.providers = ListBoxTexts(GetDlgItem(dialog, IDC_SETVIEW_PROVIDERS));
        seen.operatories = ListBoxTexts(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES));
        seen.selectedProviders = SelectedTexts(GetDlgItem(dialog, IDC_SETVIEW_PROVIDERS));
        seen.selectedOperatories = SelectedTexts(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES));
        seen.allProviders = Checked(dialog, IDC_SETVIEW_ALL_PROVIDERS);
        seen.allOperatories = Checked(dialog, IDC_SETVIEW_ALL_OPERATORIES);
        for (int d = 0; d < 7; ++d) seen.days[d] = Checked(dialog, IDC_SETVIEW_SUNDAY + d);
        seen.start = Text(dialog, IDC_SETVIEW_START);
        seen.end = Text(dialog, IDC_SETVIEW_END);
        seen.startAm = Checked(dialog, IDC_SETVIEW_START_AM);
        seen.endPm = Checked(dialog, IDC_SETVIEW_END_PM);
        seen.line2 = ComboText(dialog, IDC_SETVIEW_LINE1 + 1);

        // 9 am to 9 am: no time at all.
        SetDlgItemTextA(dialog, IDC_SETVIEW_START, "9");
        SetDlgItemTextA(dialog, IDC_SETVIEW_END, "9");
        SendDlgItemMessageA(dialog, IDC_SETVIEW_END_AM, BM_CLICK, 0, 0);
        Press(dialog, IDOK);
        seen.refusals.push_back(AnswerMessageBox());
        seen.focusOnStart = FocusOf(dialog) == GetDlgItem(dialog, IDC_SETVIEW_START);

        // One hour: 9 am to 10 am.
        SetDlgItemTextA(dialog, IDC_SETVIEW_END, "10");
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    const int result = driver.Run([] { return RunEditViewDialog(nullptr, GetModuleHandleA(nullptr), 2); });

    ASSERT_TRUE(seen.found);
    EXPECT_EQ((std::vector<std::string>{"DR1 ", "HYG1"}), seen.providers) << "inactive providers are not offered";
    EXPECT_EQ((std::vector<std::string>{"OP1 ", "OP2 ", "OP3 "}), seen.operatories);
    EXPECT_EQ((std::vector<std::string>{"HYG1"}), seen.selectedProviders);
    EXPECT_EQ((std::vector<std::string>{"OP2 "}), seen.selectedOperatories);
    EXPECT_FALSE(seen.allProviders);
    EXPECT_FALSE(seen.allOperatories);
    EXPECT_FALSE(seen.days[0]);
    for (int d = 1; d <= 5; ++d) EXPECT_TRUE(seen.days[d]) << d;
    EXPECT_FALSE(seen.days[6]);
    EXPECT_EQ("8", seen.start);
    EXPECT_TRUE(seen.startAm);
    EXPECT_EQ("5", seen.end);
    EXPECT_TRUE(seen.endPm);
    EXPECT_EQ("Referred By", seen.line2);
    EXPECT_EQ((std::vector<std::string>{"Invalid time span!"}), seen.refusals);
    EXPECT_TRUE(seen.focusOnStart) << "after the refusal the start hour has the focus";

    EXPECT_EQ(1, result);
    ViewDefinition saved;
    ASSERT_EQ(1, ReadViewDefinition(2, &saved, ViewDefinition{}, nullptr));
    EXPECT_EQ(108, saved.beginTime);
    EXPECT_EQ(120, saved.endTime);
    EXPECT_EQ(1, saved.providerCount);
    EXPECT_EQ(0, std::memcmp("HYG1", saved.providers[0], 4));
    EXPECT_EQ(13, saved.infoOrder[1]);
    EXPECT_EQ("01,HYG1,", QVN_ReadProfileText("APPTBOOK", "ViewProv2", ""));
    EXPECT_EQ("02,03,04,05,06,00,00", QVN_ReadProfileText("APPTBOOK", "View2", ""));
}

TEST_F(EditViewDialog, AllBoxesListsAndDaysRefuseInOrderAndCancelSavesNothing) {
    TempSettings settings;
    SaveView(4, "DR1 ", "OP1 ");
    const std::string before = settings.ReadRaw();

    struct Seen {
        std::vector<std::string> refusals;
        bool allCheckedAfterClearing = false, firstSelectedAfterUncheck = false;
        bool focusOnSunday = false;
    } seen;

    Driver driver([&] {
        HWND dialog = WaitForDialog("Select View");
        if (!dialog) return;
        // Checking "All" clears the operatory list; OK with "All" unchecked and nothing chosen.
        SendDlgItemMessageA(dialog, IDC_SETVIEW_ALL_OPERATORIES, BM_CLICK, 0, 0);
        seen.allCheckedAfterClearing = Checked(dialog, IDC_SETVIEW_ALL_OPERATORIES) &&
                                       SelectedTexts(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES)).empty();
        SendDlgItemMessageA(dialog, IDC_SETVIEW_ALL_OPERATORIES, BM_CLICK, 0, 0);
        seen.firstSelectedAfterUncheck =
            SelectedTexts(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES)) == std::vector<std::string>{"OP1 "};
        SendDlgItemMessageA(dialog, IDC_SETVIEW_OPERATORIES, LB_SETSEL, FALSE, -1);
        Press(dialog, IDOK);
        seen.refusals.push_back(AnswerMessageBox());

        SendDlgItemMessageA(dialog, IDC_SETVIEW_ALL_OPERATORIES, BM_CLICK, 0, 0);  // every operatory
        for (int d = 0; d < 7; ++d) CheckDlgButton(dialog, IDC_SETVIEW_SUNDAY + d, d == 3 ? BST_CHECKED : BST_UNCHECKED);
        Press(dialog, IDOK);
        seen.refusals.push_back(AnswerMessageBox());
        seen.focusOnSunday = FocusOf(dialog) == GetDlgItem(dialog, IDC_SETVIEW_SUNDAY);

        CheckDlgButton(dialog, IDC_SETVIEW_SUNDAY, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_SETVIEW_START, "13");
        Press(dialog, IDOK);
        seen.refusals.push_back(AnswerMessageBox());
        Press(dialog, IDCANCEL);
        WaitGone(dialog);
    });
    const int result = driver.Run([] { return RunEditViewDialog(nullptr, GetModuleHandleA(nullptr), 4); });

    EXPECT_TRUE(seen.allCheckedAfterClearing);
    EXPECT_TRUE(seen.firstSelectedAfterUncheck) << "unchecking All selects the first entry";
    ASSERT_EQ(3u, seen.refusals.size());
    EXPECT_EQ("At least one operatory and one provider must be selected.", seen.refusals[0]);
    EXPECT_EQ("At least two days must be selected", seen.refusals[1]);
    EXPECT_EQ("Please enter a valid time (for example 9:30am).", seen.refusals[2]) << "an hour of 13";
    EXPECT_TRUE(seen.focusOnSunday);
    EXPECT_EQ(0, result);
    EXPECT_EQ(before, settings.ReadRaw()) << "nothing is saved on refusals and Cancel";
}

TEST_F(SelectViewDialog, ListsTheSavedViewsWithTheCurrentOneSelectedAndReturnsTheChosen) {
    TempSettings settings;
    SaveView(1, "DR1 ", "OP1 ");
    SaveView(3, "DR1 ", "OP1 ");
    SaveView(12, "DR1 ", "OP1 ");
    view_state.active.number = 3;

    struct Seen {
        std::vector<std::string> views;
        int selected = -1;
        bool newEnabled = false, deleteEnabled = false;
    } seen;
    Driver driver([&] {
        HWND dialog = WaitForDialog("Select View ");
        if (!dialog) return;
        HWND list = GetDlgItem(dialog, IDC_VIEW_LIST);
        seen.views = ListBoxTexts(list);
        seen.selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        seen.newEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_VIEW_NEW));
        seen.deleteEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_VIEW_DELETE));
        SendMessageA(list, LB_SETCURSEL, 2, 0);
        Press(dialog, IDC_VIEW_SELECT);
        WaitGone(dialog);
    });
    const int chosen = driver.Run([] { return RunSelectViewDialog(nullptr, GetModuleHandleA(nullptr)); });

    EXPECT_EQ((std::vector<std::string>{"01 - F1", "03 - F3", "12 - F12"}), seen.views);
    EXPECT_EQ(1, seen.selected) << "the current view's entry";
    EXPECT_TRUE(seen.newEnabled);
    EXPECT_TRUE(seen.deleteEnabled);
    EXPECT_EQ(12, chosen);

    // Cancel applies nothing; with no view defined Delete is off, and OK without a selection is 0.
    for (int n : {1, 3, 12}) DeleteViewDefinition(n);
    Driver cancel([&] {
        HWND dialog = WaitForDialog("Select View ");
        if (!dialog) return;
        seen.deleteEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_VIEW_DELETE));
        seen.views = ListBoxTexts(GetDlgItem(dialog, IDC_VIEW_LIST));
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    EXPECT_EQ(0, cancel.Run([] { return RunSelectViewDialog(nullptr, GetModuleHandleA(nullptr)); }));
    EXPECT_TRUE(seen.views.empty());
    EXPECT_FALSE(seen.deleteEnabled);
}

TEST_F(SelectViewDialog, DeleteAndNewNeedTheirRightsAndNewReusesTheFreedNumber) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    db.AddUser(1, "FRONT", "pw", {64, 65});
    db.AddUser(2, "LIMITED", "pw", {});
    for (int n = 1; n <= 5; ++n) SaveView(n, "DR1 ", "OP1 ");

    // Without right 65 the password prompt comes (and is cancelled here): nothing is deleted.
    ASSERT_EQ(1, QVN_LogInUser("LIMITED"));
    ScriptedPasswordPrompter passwords;
    passwords.Cancel();
    view_state.active.number = 3;
    Driver refused([&] {
        HWND dialog = WaitForDialog("Select View ");
        if (!dialog) return;
        Press(dialog, IDC_VIEW_DELETE);
        Sleep(200);
        Press(dialog, IDCANCEL);
        WaitGone(dialog);
    });
    EXPECT_EQ(0, refused.Run([] { return RunSelectViewDialog(nullptr, GetModuleHandleA(nullptr)); }));
    EXPECT_EQ(1u, passwords.Asked().size());
    EXPECT_TRUE(IsViewDefined(3));

    ASSERT_EQ(1, QVN_LogInUser("FRONT"));
    struct Seen {
        std::vector<std::string> afterDelete, afterNew;
        bool editOpened = false;
        std::vector<std::string> editProviders;
        int selectedAfterNew = -1;
    } seen;
    Driver driver([&] {
        HWND dialog = WaitForDialog("Select View ");
        if (!dialog) return;
        HWND list = GetDlgItem(dialog, IDC_VIEW_LIST);
        Press(dialog, IDC_VIEW_DELETE);  // view 3 is selected
        Sleep(200);
        seen.afterDelete = ListBoxTexts(list);
        Press(dialog, IDC_VIEW_NEW);
        HWND edit = WaitForDialog("Select View");
        if (!edit) return;
        seen.editOpened = true;
        seen.editProviders = SelectedTexts(GetDlgItem(edit, IDC_SETVIEW_PROVIDERS));
        Press(edit, IDOK);
        WaitGone(edit);
        Sleep(100);
        seen.afterNew = ListBoxTexts(list);
        seen.selectedAfterNew = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        Press(dialog, IDCANCEL);
        WaitGone(dialog);
    });
    EXPECT_EQ(0, driver.Run([] { return RunSelectViewDialog(nullptr, GetModuleHandleA(nullptr)); }));
    EXPECT_EQ((std::vector<std::string>{"01 - F1", "02 - F2", "04 - F4", "05 - F5"}), seen.afterDelete);
    ASSERT_TRUE(seen.editOpened);
    EXPECT_EQ((std::vector<std::string>{"DR1 ", "HYG1"}), seen.editProviders)
        << "a new view starts from the providers shown now";
    EXPECT_EQ((std::vector<std::string>{"01 - F1", "02 - F2", "03 - F3", "04 - F4", "05 - F5"}), seen.afterNew);
    EXPECT_EQ(2, seen.selectedAfterNew) << "the new view's entry";
    EXPECT_TRUE(IsViewDefined(3)) << "Cancel keeps what was saved meanwhile";
    EXPECT_EQ(QVN_GetLoggedInUserID(), QVN_GetOverrideUserID());
}
