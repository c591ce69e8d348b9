// Enter New Patient Information on its own template over the demo practice, driven from a second
// thread: the fields as the appointment fills them, typed characters through the fields' limits,
// the refusals of OK read from real message boxes with the focus where they send it, the
// referrer picked through the kind question and the referral source search, Remove, and Cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "appointments/new_patient_dialog_win.h"
#include "appointments/new_patient_entry.h"
#include "data/demo_seed.h"
#include "data/record_text.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"

using namespace dialog_driver;

namespace {

const char kTitle[] = "Enter New Patient Information";

// Types the characters into the control as keyboard input reaches it.
void Type(HWND dialog, int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    for (char c : text) SendMessageA(control, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

void Replace(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, "");
    Type(dialog, id, text);
}

class NewPatientDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(QVN_DateIn(12, 7, 2026), &reason)) << reason;
        InstallWindowsPrompter(nullptr);
        appointment_.id = 5001;
        PutText(appointment_.patientName, "nash, amy b");
        PutText(appointment_.phone, "555-0142");
        side_.id = 77;
        PutText(side_.street, "1 Old Road");
        PutText(side_.zip, "60601");
    }
    void TearDown() override { InstallPrompter(nullptr); }
    bool Edit(Driver& driver) {
        return driver.Run([&] { return EditNewPatientInfo(nullptr, GetModuleHandleA(nullptr), &appointment_, &side_); });
    }
    PracticeTestDatabase db_;
    AppointmentRecord appointment_{};
    NewPatientRecord side_{};
};

}  // namespace

TEST_F(NewPatientDialog, RefusesInOrderWithTheFocusOnTheFieldThenStoresTheEntryAndTheReferrer) {
    std::vector<std::string> shown, refusals;
    std::vector<bool> focused;
    RememberReferrerKind(0);
    Driver driver([&] {
        HWND d = WaitForDialog(kTitle);
        ASSERT_NE(nullptr, d);
        for (int id : {IDC_EDITPAT_LAST, IDC_EDITPAT_FIRST, IDC_EDITPAT_INITIAL, IDC_EDITPAT_PHONE, IDC_EDITPAT_STREET,
                       IDC_EDITPAT_ZIP, IDC_EDITPAT_STATE_CAPTION, IDC_EDITPAT_ZIP_CAPTION, IDC_EDITPAT_REFERRER})
            shown.push_back(Text(d, id));

        SetDlgItemTextA(d, IDC_EDITPAT_LAST, "");
        Press(d, IDOK);
        refusals.push_back(AnswerMessageBox());
        focused.push_back(FocusOf(d) == GetDlgItem(d, IDC_EDITPAT_LAST));

        Type(d, IDC_EDITPAT_LAST, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // 26 typed, 20 kept
        SetDlgItemTextA(d, IDC_EDITPAT_FIRST, "");
        Press(d, IDOK);
        refusals.push_back(AnswerMessageBox());
        focused.push_back(FocusOf(d) == GetDlgItem(d, IDC_EDITPAT_FIRST));

        Type(d, IDC_EDITPAT_FIRST, "Amy");
        Replace(d, IDC_EDITPAT_INITIAL, "zq");  // upper case, one letter
        Replace(d, IDC_EDITPAT_ZIP, "6060");
        Press(d, IDOK);
        refusals.push_back(AnswerMessageBox());
        focused.push_back(FocusOf(d) == GetDlgItem(d, IDC_EDITPAT_ZIP));
        Replace(d, IDC_EDITPAT_ZIP, "60601");  // the refusal selected the whole field

        Press(d, IDC_EDITPAT_REFERRER_PICK);
        HWND kind = WaitForDialog("Referred By");
        ASSERT_NE(nullptr, kind);
        shown.push_back(IsDlgButtonChecked(kind, IDC_REFTYPE_PATIENT) == BST_CHECKED ? "patient preselected" : "?");
        SendMessageA(GetDlgItem(kind, IDC_REFTYPE_SOURCE), BM_CLICK, 0, 0);
        Press(kind, IDOK);
        HWND find = WaitForDialog("Select Referral Source");
        ASSERT_NE(nullptr, find);
        shown.push_back(std::to_string(ListBoxTexts(GetDlgItem(find, IDC_REFFIND_LIST)).size()) + " sources");
        Type(find, IDC_REFFIND_ENTRY, "la");
        for (const std::string& line : ListBoxTexts(GetDlgItem(find, IDC_REFFIND_LIST))) shown.push_back(line);
        Press(find, IDOK);
        EXPECT_TRUE(WaitGone(find));
        Sleep(50);
        shown.push_back(Text(d, IDC_EDITPAT_REFERRER));
        shown.push_back(Text(d, IDC_EDITPAT_LAST) + "|" + Text(d, IDC_EDITPAT_INITIAL));
        Press(d, IDOK);
        EXPECT_TRUE(WaitGone(d));
    });
    EXPECT_TRUE(Edit(driver));
    EXPECT_EQ((std::vector<std::string>{"nash", "amy", "B", "555-0142", "1 Old Road", "60601", "State:", "Zip Code:", "",
                                        "patient preselected", "3 sources", "Lakeside Orthodontic",
                                        "Lakeside Orthodontic", "ABCDEFGHIJKLMNOPQRST|Z"}),
              shown);
    EXPECT_EQ((std::vector<std::string>{"Please enter the patient's last name.", "Please enter the patient's first name.",
                                        "Please enter the zip code with 5 digits, or with 9 digits as 12345-6789."}),
              refusals);
    EXPECT_EQ((std::vector<bool>{true, true, true}), focused);
    EXPECT_EQ("ABCDEFGHIJKLMNOPQRST, Amy Z", GetText(appointment_.patientName));
    EXPECT_EQ("555-0142", GetText(appointment_.phone));
    EXPECT_EQ(1, appointment_.referredByKind);
    EXPECT_EQ(2u, +appointment_.referredById);
    EXPECT_EQ("60601", GetText(side_.zip));
    EXPECT_EQ("1 Old Road", GetText(side_.street));
    EXPECT_EQ(77u, +side_.id);
}

TEST_F(NewPatientDialog, CancelKeepsTheRecordsAndTheLastKindChosenIsPreselected) {
    SetReferrer(&appointment_, 1, 1);
    const AppointmentRecord appointment_before = appointment_;
    const NewPatientRecord side_before = side_;
    std::vector<std::string> shown;
    Driver cancel([&] {
        HWND d = WaitForDialog(kTitle);
        ASSERT_NE(nullptr, d);
        shown.push_back(Text(d, IDC_EDITPAT_REFERRER));
        Press(d, IDC_EDITPAT_REFERRER_REMOVE);
        Sleep(50);
        shown.push_back(Text(d, IDC_EDITPAT_REFERRER));
        Replace(d, IDC_EDITPAT_CITY, "Springfield");
        Press(d, IDC_EDITPAT_REFERRER_PICK);
        HWND kind = WaitForDialog("Referred By");
        ASSERT_NE(nullptr, kind);
        shown.push_back(IsDlgButtonChecked(kind, IDC_REFTYPE_SOURCE) == BST_CHECKED ? "source preselected" : "?");
        Press(kind, IDCANCEL);
        EXPECT_TRUE(WaitGone(kind));
        Press(d, IDCANCEL);
        EXPECT_TRUE(WaitGone(d));
    });
    // The kind question remembers the choice of this run; a source was chosen last.
    RememberReferrerKind(1);
    EXPECT_FALSE(Edit(cancel));
    EXPECT_EQ((std::vector<std::string>{"Dr. Simon Hart", "", "source preselected"}), shown);
    EXPECT_EQ(0, std::memcmp(&appointment_before, &appointment_, sizeof appointment_));
    EXPECT_EQ(0, std::memcmp(&side_before, &side_, sizeof side_));
}
