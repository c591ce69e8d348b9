// New Patient Info (command 384) in the real program: a new patient's appointment selected by a
// click on its box, the dialog filled in and confirmed, and the appointment and its new side
// record read back from the practice database as the other workstations see them.

#include "data/record_text.h"
#include "sheet_model.h"

TEST(NewPatientInfo, TheDialogOfASelectedNewPatientSavesNameAndAddressForEveryWorkstation) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    Settle(1000);

    // A patient's appointment in view becomes a new patient's (as a front desk booking one would
    // have made it) before the program shows its day.
    const int32_t day = BookedDay(1);
    ASSERT_NE(0, day) << "no booked day this week";
    m.Load(day, kDayView, FirstShownTime());
    const Box box = FindBox(m, [](const DayColumn&, const ApptDisplay&) { return true; });
    ASSERT_NE(nullptr, box.column) << "no appointment in view on the booked day";
    const uint32_t id = static_cast<uint32_t>(box.a.id);
    const int box_left = box.column->left;  // the day is loaded anew below
    ASSERT_TRUE(ChangeElsewhere(id, [](AppointmentRecord& a) {
        a.patientId = a.newPatientId = 0;
        PutText(a.patientName, "Nesbit, Ann");
        PutText(a.phone, "555-0142");
    }));
    ShowDate(main, day);
    m.Load(day, kDayView, FirstShownTime());
    SetForegroundWindow(main);
    ClickAt(ToScreen(sheet, box_left + m.W() + 6, m.MidRow(box.a.startUnit)));
    Settle(300);
    ASSERT_EQ(static_cast<LRESULT>(id), SendMessageA(main, 1127, 0, 0)) << "the click selected the new patient";

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_NEW_PATIENT_INFO, 0), 0);
    HWND dialog = app.WaitForDialog("Enter New Patient Information", 10000);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Nesbit", ControlText(dialog, IDC_EDITPAT_LAST));
    EXPECT_EQ("Ann", ControlText(dialog, IDC_EDITPAT_FIRST));
    EXPECT_EQ("555-0142", ControlText(dialog, IDC_EDITPAT_PHONE));
    SetDlgItemTextA(dialog, IDC_EDITPAT_LAST, "Nash");
    SetDlgItemTextA(dialog, IDC_EDITPAT_FIRST, "Amy");
    SetDlgItemTextA(dialog, IDC_EDITPAT_INITIAL, "B");
    SetDlgItemTextA(dialog, IDC_EDITPAT_PHONE, "3125550142");
    SetDlgItemTextA(dialog, IDC_EDITPAT_STREET, "12 Lake Shore Dr");
    SetDlgItemTextA(dialog, IDC_EDITPAT_CITY, "Chicago");
    SetDlgItemTextA(dialog, IDC_EDITPAT_STATE, "IL");
    SetDlgItemTextA(dialog, IDC_EDITPAT_ZIP, "60601");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << "OK closed the dialog";

    AppointmentRecord stored{};
    EXPECT_TRUE(WaitUntil([&] {
        return ReadAppointment(id, &stored) == kQdbOk && GetText(stored.patientName) == "Nash, Amy B";
    }, 10000)) << GetText(stored.patientName);
    EXPECT_EQ("(312)555-0142", GetText(stored.phone));
    EXPECT_EQ(0u, +stored.patientId);
    ASSERT_NE(0u, +stored.newPatientId) << "the appointment names its new side record";
    FileGroupDesc group{};
    DbGroupOf(kNewPatientFile, &group);
    NewPatientRecord side{};
    uint32_t side_id = stored.newPatientId;
    ASSERT_EQ(kQdbOk, DbFindRecord(group, kNewPatientKey, &side_id, sizeof side_id, &side));
    EXPECT_EQ("12 Lake Shore Dr", GetText(side.street));
    EXPECT_EQ("Chicago", GetText(side.city));
    EXPECT_EQ("IL", GetText(side.state));
    EXPECT_EQ("60601", GetText(side.zip));
    HWND asked = app.WaitForDialog(nullptr, 500);
    EXPECT_EQ(nullptr, asked) << "asked: " << (asked ? WindowText(asked) : "");
    ExitProgram(app, main);
}
