// Breaking an appointment from the sheet's context menu, deleting another from the main menu,
// setting a third complete and purging the week before a cutoff, in one run of the program: the
// password, the real question boxes and dialogs, the records and the sheet.

#include "appointments/appt_reasons.h"
#include "data/record_locks.h"
#include "suite/records/patient.h"
#include "sheet_model.h"

namespace {

const char kSaysBreak[] = "Break this appointment?\nIt will be moved to the unscheduled list.";
const char kSaysDelete[] = "Delete this appointment?\nA deleted appointment cannot be restored.";
constexpr int kButtonDisabledMessage = 5180;

// The patients' appointments of the shown day whose boxes are whole on the sheet, not complete.
std::vector<std::pair<const DayColumn*, ApptDisplay>> PatientBoxes(const SheetModel& m) {
    std::vector<std::pair<const DayColumn*, ApptDisplay>> boxes;
    for (const DayColumn& c : day_data.days[0].columns)
        for (const ApptDisplay& a : c.appointments)
            if (a.patientId != 0 && a.status != kStatusComplete &&
                m.Visible(a.startUnit, a.startUnit + std::max(a.length / 5, 1)))
                boxes.push_back({&c, a});
    return boxes;
}

// Signs for the right the command asks, then answers the question box with Yes.
std::string SignAndAnswerYes(AppRun& app) {
    return app.SignFor() ? app.AnswerBox("Appointment Book", IDYES) : "(no password prompt answered)";
}

// The screen's pixels of a small patch of the sheet around a point of its client area.
std::vector<COLORREF> Patch(HWND sheet, POINT at) {
    std::vector<COLORREF> pixels;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = 0; dx < 24; ++dx) pixels.push_back(ScreenPixel(sheet, at.x + dx, at.y + dy));
    return pixels;
}

}  // namespace

TEST(ApptActionsUi, BreakFromTheContextMenuDeleteFromTheMainMenuAndPurge) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    int32_t day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 2, &day));
    const auto boxes = PatientBoxes(m);
    ASSERT_GE(boxes.size(), 2u) << "two patients' appointments show on " << day;
    const ApptDisplay broken = boxes[0].second, deleted = boxes[1].second;
    const POINT broken_at{boxes[0].first->left + m.W() + 6, m.MidRow(broken.startUnit)};
    const POINT deleted_at{boxes[1].first->left + m.W() + 6, m.MidRow(deleted.startUnit)};

    ASSERT_TRUE(BringToFront(main));
    Settle(500);
    const std::vector<COLORREF> broken_before = Patch(sheet, broken_at), deleted_before = Patch(sheet, deleted_at);

    // The first one: selected, its context menu, "Break Appointment...".
    ASSERT_TRUE(BringToFront(main));
    Click(sheet, broken_at);
    Settle(500);
    RightClickAt(ToScreen(sheet, broken_at.x, broken_at.y));
    Settle(500);
    ASSERT_NE(nullptr, FindWindowA("#32768", nullptr)) << "the patient menu";
    // Other Appointments, Medical Alerts/Notes, Info for Insurance, the two prints, Post/Set
    // Complete, Dial, then Break: the separators are passed over.
    for (int i = 0; i < 8; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_EQ(kSaysBreak, SignAndAnswerYes(app));
    Settle(1000);
    AppointmentRecord stored{};
    ASSERT_EQ(0, ReadAppointment(broken.id, &stored));
    EXPECT_EQ(0, +stored.date);
    EXPECT_EQ(100, +stored.status);
    EXPECT_EQ(day, +stored.listDate);
    EXPECT_EQ(1, SendMessageA(main, kButtonDisabledMessage, CMD_BREAK_APPOINTMENT, 0)) << "the selection was cleared";

    // The second one: selected, then Appointment > Delete Appoint&ment... by its keys.
    Click(sheet, deleted_at);
    Settle(500);
    ASSERT_EQ(0, SendMessageA(main, kButtonDisabledMessage, CMD_DELETE_APPOINTMENT, 0)) << "an appointment is selected";
    ASSERT_TRUE(BringToFront(main));
    PressKey('A', VK_MENU);
    Settle(300);
    PressKey('M');
    EXPECT_EQ(kSaysDelete, SignAndAnswerYes(app));
    Settle(1000);
    EXPECT_EQ(kQdbNotFound, ReadAppointment(deleted.id, &stored));

    // The sheet shows neither any more where they were.
    Settle(500);
    EXPECT_NE(broken_before, Patch(sheet, broken_at)) << "the broken appointment's box is gone";
    EXPECT_NE(deleted_before, Patch(sheet, deleted_at)) << "the deleted appointment's box is gone";

    // A third one set complete through Appointment > Post/Set &Complete...: its reasons made the
    // periodic evaluation alone (no tooth, no continuing care) and its patient one without a
    // referral source, as another workstation would, so that no message box comes in between.
    ASSERT_GE(boxes.size(), 3u);
    const ApptDisplay completed = boxes[2].second;
    const POINT completed_at{boxes[2].first->left + m.W() + 6, m.MidRow(completed.startUnit)};
    ASSERT_EQ(0, (EditLocked<AppointmentRecord>(kAppointmentFile, kApptByIdKey, completed.id, [](AppointmentRecord& a, bool) {
                  std::memset(a.reasons, 0, sizeof a.reasons);
                  std::memset(a.reasonKinds, 0, sizeof a.reasonKinds);
                  a.reasons[0] = 1;
                  return LockedEdit::kWrite;
              })));
    ASSERT_EQ(0, (EditLocked<PatientRecord>(kPatientFile, kPatientByIdKey, completed.patientId, [](PatientRecord& p, bool) {
                  p.referralId = 0;
                  p.feeSchedule = 1;
                  return LockedEdit::kWrite;
              })));
    ASSERT_TRUE(BringToFront(main));
    Click(sheet, completed_at);
    Settle(500);
    PressKey('A', VK_MENU);
    Settle(300);
    PressKey('C');
    HWND select = app.WaitForDialog("Set Appointment Procedures Complete");
    ASSERT_NE(nullptr, select);
    HWND list = GetDlgItem(select, 230);
    ASSERT_EQ(1, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageA(list, LB_GETSELCOUNT, 0, 0)) << "every line selected at start";
    EXPECT_EQ("Pc\t\tPeriodic oral evaluation    ", ListBoxLine(select, 230, 0));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(select, 234))) << "no procedure of it takes cross coding";
    ASSERT_TRUE(BringToFront(select));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(select); }, 10000)) << "Set Complete closes the dialog";
    EXPECT_TRUE(WaitUntil([&] { return ReadAppointment(completed.id, &stored) == 0 && stored.status == 150; }, 10000));
    EXPECT_EQ(1, +stored.reasonKinds[0]) << "the slot holds the completed procedure";
    ProcedureRecord posted{};
    ASSERT_TRUE(ReadProcedure(stored.reasons[0], &posted));
    EXPECT_EQ(1u, +posted.codeId);
    EXPECT_EQ(2, +posted.kind);
    EXPECT_EQ(6500u, +posted.fee);
    EXPECT_EQ(static_cast<uint32_t>(completed.id), +posted.appointmentId);

    // Appointment > Pur&ge Appointments... with a cutoff a week back: the warning of a cutoff less
    // than a year back, the last question, then the run.
    const int32_t cutoff = QVN_SysDate() - 7;
    std::vector<uint32_t> older, kept;
    for (int32_t d = cutoff - 7; d < cutoff; ++d)
        for (const AppointmentRecord& a : ReadDay(d)) older.push_back(a.id);
    for (const AppointmentRecord& a : ReadDay(cutoff)) kept.push_back(a.id);
    ASSERT_FALSE(older.empty()) << "the book has appointments in the week before the cutoff";
    ASSERT_FALSE(kept.empty());
    ASSERT_TRUE(BringToFront(main));
    PressKey('A', VK_MENU);
    Settle(300);
    PressKey('G');
    HWND purge = app.WaitForDialog("Purge Appointments");
    ASSERT_NE(nullptr, purge);
    SetDlgItemTextA(purge, IDC_PURGE_CUTOFF, QVN_fmtDateString2000(cutoff).c_str());
    PostMessageA(purge, WM_COMMAND, IDOK, 0);
    EXPECT_EQ("You have selected a cut off date that is less than one year from today! Purging appointments will "
              "permanently delete appointments scheduled prior to the cut off date. Press 'Cancel' to change the cut "
              "off date or 'OK' to purge appointments.",
              app.AnswerBox("Warning", IDOK));
    EXPECT_EQ("The appointments before the cut off date will now be purged.\nThis cannot be undone.",
              app.AnswerBox("Appointment Book", IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(purge); }, 60000)) << "the purge ends and closes the dialog";
    for (uint32_t id : older) EXPECT_EQ(kQdbNotFound, ReadAppointment(id, &stored)) << id << " was before the cutoff";
    for (uint32_t id : kept) EXPECT_EQ(0, ReadAppointment(id, &stored)) << id << " was on the cutoff";

    ExitProgram(app, main);
}
