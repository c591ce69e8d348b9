// The notes dialog on its own template in this process: the fields a restricted user gets
// (hidden in bold with the refusal, read-only) and what OK writes back for a user with every
// right of the dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "appointments/note_store.h"
#include "appointments/notes_dialog_win.h"
#include "data/record_text.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/records/definitions.h"
#include "suite/records/patient.h"
#include "suite/users.h"

using namespace dialog_driver;

namespace {

const char kTitle[] = "Medical Alerts/Notes for Quill, Ada B - PRIVACY REQUESTS";

class NotesDialogInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        PatientRecord p{};
        p.id = 40;
        p.guarantorId = 41;
        PutText(p.lastName, "Quill");
        PutText(p.firstName, "Ada");
        p.middleInitial = 'B';
        p.privacy = kPrivacyRequests;
        p.medicalAlerts[0] = 0x01;  // alert 1
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, p));
        for (int n : {1, 2}) {
            DefinitionRecord d{};
            d.kind = kDefinitionMedicalAlert;
            d.number = static_cast<uint8_t>(n);
            PutText(d.text, n == 1 ? "Penicillin" : "Latex");
            ASSERT_EQ(kQdbOk, db_.Add(kDefinitionFile, d));
        }
        ASSERT_EQ(kQdbOk, WriteNote(kNoteAppointment, 900, "bring x-rays", 1));
        ASSERT_EQ(kQdbOk, WriteNote(kNotePatient, 40, "prefers mornings", 1));
        ASSERT_EQ(kQdbOk, WriteNote(kNoteGuarantor, 41, "pays by card", 1));
    }
    void TearDown() override { QVN_LogOutUser(); }
    void LogIn(const char* login, const std::vector<int>& rights) {
        UserRecord user = MakeUserRecord(7, login, "Test User");
        for (int r : rights) SetUserRight(user, r, true);
        ASSERT_EQ(kQdbOk, QVN_WriteUser(user));
        ASSERT_EQ(1, QVN_LogInUser(login));
    }
    PracticeTestDatabase db_;
};

bool ReadOnly(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0; }

bool Bold(HWND dialog, int id) {
    HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    return font && GetObjectA(font, sizeof lf, &lf) && lf.lfWeight == FW_BOLD;
}

}  // namespace

TEST_F(NotesDialogInProcess, ARestrictedUserGetsHiddenAndReadOnlyFieldsAndOkChangesNothingHidden) {
    LogIn("LOOK", {142, 150});  // sees the alerts and the patient note, nothing more
    struct Seen {
        bool found = false;
        std::string alerts, appointment, patient, guarantor;
        bool alertsRo = false, appointmentRo = false, patientRo = false, guarantorRo = false;
        bool guarantorBold = false, patientBold = true, editEnabled = false, focusOnAppointment = false;
    } seen;
    Driver driver([&] {
        HWND dialog = WaitForDialog(kTitle);
        if (!dialog) return;
        seen.found = true;
        seen.alerts = Text(dialog, IDC_NOTES_ALERTS);
        seen.appointment = Text(dialog, IDC_NOTES_APPOINTMENT);
        seen.patient = Text(dialog, IDC_NOTES_PATIENT);
        seen.guarantor = Text(dialog, IDC_NOTES_GUARANTOR);
        seen.alertsRo = ReadOnly(dialog, IDC_NOTES_ALERTS);
        seen.appointmentRo = ReadOnly(dialog, IDC_NOTES_APPOINTMENT);
        seen.patientRo = ReadOnly(dialog, IDC_NOTES_PATIENT);
        seen.guarantorRo = ReadOnly(dialog, IDC_NOTES_GUARANTOR);
        seen.guarantorBold = Bold(dialog, IDC_NOTES_GUARANTOR);
        seen.patientBold = Bold(dialog, IDC_NOTES_PATIENT);
        seen.editEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_NOTES_EDIT_ALERTS)) != 0;
        seen.focusOnAppointment = FocusOf(dialog) == GetDlgItem(dialog, IDC_NOTES_APPOINTMENT);
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    EXPECT_EQ(1, driver.Run([] { return NotesDialog(nullptr, GetModuleHandleA(nullptr), 40, 900); }));
    ASSERT_TRUE(seen.found) << kTitle;
    EXPECT_EQ("Penicillin", seen.alerts);
    EXPECT_EQ("bring x-rays", seen.appointment);
    EXPECT_EQ("prefers mornings", seen.patient);
    EXPECT_EQ("May not be viewed according to\r\nyour security option rights", seen.guarantor);
    EXPECT_TRUE(seen.alertsRo);
    EXPECT_TRUE(seen.appointmentRo) << "no right 66";
    EXPECT_TRUE(seen.patientRo) << "150 without 149";
    EXPECT_TRUE(seen.guarantorRo);
    EXPECT_TRUE(seen.guarantorBold);
    EXPECT_FALSE(seen.patientBold);
    EXPECT_TRUE(seen.editEnabled) << "the alerts are shown";
    EXPECT_TRUE(seen.focusOnAppointment);
    EXPECT_EQ("pays by card", ReadNote(kNoteGuarantor, 41).text) << "a hidden note is never written";
    EXPECT_EQ("bring x-rays", ReadNote(kNoteAppointment, 900).text);
}

TEST_F(NotesDialogInProcess, OkWritesTheChangedNotesOfAUserWithEveryRight) {
    LogIn("ALL", {142, 141, 66, 149, 55});
    bool found = false, edit_enabled = false;
    Driver driver([&] {
        HWND dialog = WaitForDialog(kTitle);
        if (!dialog) return;
        found = true;
        edit_enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_NOTES_EDIT_ALERTS)) != 0;
        SetDlgItemTextA(dialog, IDC_NOTES_APPOINTMENT, "bring x-rays and the old crown");
        SetDlgItemTextA(dialog, IDC_NOTES_PATIENT, "");
        SetDlgItemTextA(dialog, IDC_NOTES_GUARANTOR, "pays cash");
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    EXPECT_EQ(1, driver.Run([] { return NotesDialog(nullptr, GetModuleHandleA(nullptr), 40, 900); }));
    ASSERT_TRUE(found);
    EXPECT_TRUE(edit_enabled);
    EXPECT_EQ("bring x-rays and the old crown", ReadNote(kNoteAppointment, 900).text);
    EXPECT_FALSE(ReadNote(kNotePatient, 40).exists) << "an emptied note is removed";
    EXPECT_EQ("pays cash", ReadNote(kNoteGuarantor, 41).text);
}
