// The Appointment Information dialog on the running program, by real input: a free slot of the
// demo sheet double-clicked, a patient chosen, an initial reason added, the time typed, OK; the
// appointment opened again by a double-click and lengthened; and an edit refused because another
// workstation changed the appointment while the dialog was open.

#include "data/occupancy_verify.h"
#include "lists/patient_search.h"
#include "sheet_model.h"
#include "suite/patient_alert.h"
#include "suite/records/patient.h"
#include "suite/records/procedures.h"
#include "views/sheet_hit.h"

namespace {

// Clicks into an edit field, selects what it holds and types the text instead.
void RetypeField(HWND dialog, int id, const std::string& text) {
    ClickControl(dialog, id);
    PressKey(VK_HOME);
    PressKey(VK_END, VK_SHIFT);
    PressKey(VK_DELETE);
    TypeText(text);
}

// An open weekday from today on that keeps the afternoon (Monday to Thursday in the demo).
int32_t AfternoonDay() {
    for (int32_t d = QVN_SysDate(); d < QVN_SysDate() + 7; ++d)
        if (HolidayKind(d) == 0 && QVN_week_day(d) >= 2 && QVN_week_day(d) <= 5) return d;
    return 0;
}

// An active patient without alerts, without an appointment on the unscheduled list and without
// a namesake: nothing comes between the choice and the dialog, and the first line found is theirs.
const DemoPatient* QuietPatient(const DemoPractice& demo) {
    for (const DemoPatient& p : demo.patients) {
        AppointmentRecord waiting{};
        int namesakes = 0;
        for (const DemoPatient& q : demo.patients) namesakes += q.last == p.last && q.first == p.first;
        if (p.status == 1 && namesakes == 1 && PatientAlertText(p.id, QVN_SysDate()).empty() &&
            !FindUnscheduledOfPatient(p.id, &waiting))
            return &p;
    }
    return nullptr;
}

// The appointment of the patient on the day, 0 for none.
uint32_t BookedFor(uint32_t patient_id, int32_t day) {
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id))
        if (a.date == day) return a.id;
    return 0;
}

}  // namespace

TEST(ApptDialog, AFreeSlotIsBookedByRealInputOpenedAgainToChangeItsLengthAndAnEditChangedElsewhereIsRefused) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    const int32_t day = AfternoonDay();
    ASSERT_NE(0, day);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(1124, 0), day);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    const DemoPractice demo = BuildDemoPractice(1, QVN_SysDate());
    const DemoPatient* patient = QuietPatient(demo);
    ASSERT_NE(nullptr, patient);

    // An operatory free from 2:30pm for an hour, double-clicked at 2:30pm.
    const int start = 14 * 12 + 6;
    const DayColumn* column = FreeColumn(start, start + 12);
    ASSERT_NE(nullptr, column) << "no operatory free at 2:30pm";
    ASSERT_TRUE(m.Visible(start, start + 1)) << "2:30pm is not in the window";
    // Kept apart from the model's day data, which the checks below load again.
    const int column_x = (column->left + column->right) / 2;
    const std::string operatory(column->id, strnlen(column->id, 4));
    ASSERT_TRUE(BringToFront(main));
    ClickAt(ToScreen(sheet, column_x, m.MidRow(start)), 2);

    // The patient, by the last name and first name, chosen with Enter on the list.
    HWND select = app.WaitForDialog("Select Patient");
    ASSERT_NE(nullptr, select);
    TypeText(patient->last + ", " + patient->first);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SendDlgItemMessageA(select, IDC_PATFIND_LIST, LB_GETCOUNT, 0, 0) >= 1; }));
    ClickLine(GetDlgItem(select, IDC_PATFIND_LIST), 0, 2);

    PatientRecord record{};
    ASSERT_TRUE(ReadPatient(patient->id, &record));
    const std::string name = PatientPackedName(record);
    HWND dialog = app.WaitForDialog(("New Appointment Information - (" + name + ")").c_str());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(operatory, ControlText(dialog, IDC_APPT_OPERATORY));
    EXPECT_EQ("2:30pm", ControlText(dialog, IDC_APPT_TIME));

    // The first procedure code as the initial reason.
    ClickControl(dialog, IDC_APPT_REASON_INITIAL);
    HWND reasons = app.WaitForDialog("Select Initial Reasons");
    ASSERT_NE(nullptr, reasons);
    HWND list = FindWindowExA(reasons, nullptr, "ListBox", nullptr);
    ASSERT_NE(nullptr, list);
    ClickLine(list, 0);
    ASSERT_TRUE(ClickToClose(reasons, IDOK));
    ASSERT_EQ(1, SendDlgItemMessageA(dialog, IDC_APPT_REASONS, LB_GETCOUNT, 0, 0));

    // The provider, date, operatory and time typed; the time field shows "2:30pm" once it loses
    // the focus. (The dialog's "&Find" filling these fields is driven in the found times' test.)
    RetypeField(dialog, IDC_APPT_PROVIDER, "DR1");
    RetypeField(dialog, IDC_APPT_DATE, QVN_fmtDateString2000(day));
    RetypeField(dialog, IDC_APPT_OPERATORY, operatory);
    RetypeField(dialog, IDC_APPT_TIME, "2:30p");
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(dialog, IDC_APPT_TIME) == "2:30pm"; })) << ControlText(dialog, IDC_APPT_TIME);
    ClickControl(dialog, IDOK);
    const std::vector<std::string> asked = app.AnswerAll();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << ::testing::PrintToString(asked);

    // Stored with what the reason built: its short description, its length, its fee.
    const uint32_t id = BookedFor(patient->id, day);
    ASSERT_NE(0u, id);
    AppointmentRecord booked = Stored(id);
    ProcedureCodeRecord code{};
    {
        FileGroupDesc desc{};
        DbGroupOf(kProcedureCodeFile, &desc);
        DbGroupScope group(desc);
        const uint32_t code_id = booked.reasons[0];
        ASSERT_EQ(kQdbOk, DbFind(kProcedureCodeByIdKey, DbPrepareKey(&code_id), &code));
    }
    const std::string abbreviation(code.abbreviation, strnlen(code.abbreviation, sizeof code.abbreviation));
    EXPECT_EQ(abbreviation.empty() ? std::string(code.code, 4) : abbreviation, std::string(booked.description));
    EXPECT_EQ(code.timeUnits * practice_tables.blockMinutes, +booked.length);
    EXPECT_EQ(static_cast<int32_t>(code.fees[0]), +booked.amount);
    EXPECT_EQ(14, booked.hour);
    EXPECT_EQ(30, booked.minute);
    EXPECT_EQ(operatory, std::string(booked.operatory, strnlen(booked.operatory, 4)).substr(0, operatory.size()));
    EXPECT_EQ(0, std::memcmp(booked.provider, "DR1 ", 4));
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());
    // The program shows it and has it selected: the Dial button answers "enabled".
    m.Load(day, kDayView, FirstShownTime());
    const HitRecord hit = HitTest(column_x, m.MidRow(start), m.Height());
    ASSERT_EQ(kHitAppointment, hit.result);
    EXPECT_EQ(id, static_cast<uint32_t>(hit.appointment.id));
    EXPECT_EQ(0, SendMessageA(main, 5180, CMD_DIAL, 0));

    // Double-clicked, signed for, lengthened by ten minutes, OK.
    ASSERT_TRUE(BringToFront(main));
    dialog = OpenAppointmentAt(app, ToScreen(sheet, column_x, m.MidRow(start)));
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Appointment Information - (" + name + ")", WindowText(dialog));
    const int longer = booked.length + 10;
    RetypeField(dialog, IDC_APPT_LENGTH, std::to_string(longer));
    ClickControl(dialog, IDOK);
    const std::vector<std::string> asked_again = app.AnswerAll();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << ::testing::PrintToString(asked_again);
    booked = Stored(id);
    EXPECT_EQ(longer, +booked.length);
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());

    // An edit is refused when another workstation changed the appointment meanwhile.
    int32_t edited_day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 1, &edited_day));
    {
        const Box quiet = FindBox(m, [&](const DayColumn&, const ApptDisplay& a) {
            return a.patientId != 0 && a.status != kStatusComplete && PatientAlertText(a.patientId, edited_day).empty();
        });
        const DayColumn* column = quiet.column;
        const ApptDisplay& target = quiet.a;
        ASSERT_NE(nullptr, column) << "no patient's appointment in the window";
        ASSERT_TRUE(BringToFront(main));
        HWND dialog = OpenAppointmentAt(app, ToScreen(sheet, (column->left + column->right) / 2, m.MidRow(target.startUnit)));
        ASSERT_NE(nullptr, dialog);

        // This process, as another workstation, changes a field the dialog does not even show.
        const uint32_t id = static_cast<uint32_t>(target.id);
        const AppointmentRecord before = Stored(id);
        AppointmentRecord other = before;
        other.carried166[0] ^= 0x5A;
        ASSERT_TRUE(SaveAppointment(false, &before, other));

        RetypeField(dialog, IDC_APPT_DESCRIPTION, "Changed here");
        ClickControl(dialog, IDOK);
        HWND box = app.WaitForDialog("Appointment Book");
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Appointment has been changed at another workstation during edit. Edit canceled!", MessageText(box));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the refused edit closes the dialog";
        const AppointmentRecord after = Stored(id);
        EXPECT_EQ(0, std::memcmp(&after, &other, sizeof after)) << "nothing of the refused edit was saved";
    }
    ExitProgram(app, main);
}
