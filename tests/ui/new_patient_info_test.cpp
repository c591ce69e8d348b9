// New Patient Info (command 384) in the real program: a new patient's appointment selected by a
// click on its box, the dialog filled in and confirmed, and the appointment and its new side
// record read back from the practice database as the other workstations see them.

#include "data/record_text.h"
#include "../native/scripted_prompter.h"
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
    const DayColumn* column = nullptr;
    const ApptDisplay* shown = nullptr;
    for (const DayColumn& c : day_data.days[0].columns)
        for (const ApptDisplay& a : c.appointments)
            if (!shown && m.Visible(a.startUnit, a.startUnit + std::max(a.length / 5, 1))) {
                column = &c;
                shown = &a;
            }
    ASSERT_NE(nullptr, shown) << "no appointment in view on the booked day";
    const uint32_t id = static_cast<uint32_t>(shown->id);
    const int box_left = column->left, box_unit = shown->startUnit;  // the day is loaded anew below
    AppointmentRecord before{};
    ASSERT_EQ(kQdbOk, ReadAppointment(id, &before));
    AppointmentRecord new_patient = before;
    new_patient.patientId = 0;
    new_patient.newPatientId = 0;
    PutText(new_patient.patientName, "Nesbit, Ann");
    PutText(new_patient.phone, "555-0142");
    {
        ScriptedPrompter yes;  // a double booking of the demo book is asked about
        for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
        ASSERT_TRUE(SaveAppointment(false, &before, new_patient));
    }
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1124, 0), day);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    SetForegroundWindow(main);

    POINT on_box{box_left + m.W() + 6, m.Y(box_unit) + m.R() / 2};
    ClientToScreen(sheet, &on_box);
    SendMouseAt(0, on_box);
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, on_box);
    SendMouseAt(MOUSEEVENTF_LEFTUP, on_box);
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
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, app.WaitForExit());
}
