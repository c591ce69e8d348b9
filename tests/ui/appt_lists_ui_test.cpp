// The appointment lists on the running program: opened from the main window's menu one at a
// time, the Appointment List stepped a day by its menu letters, an appointment opened by Enter,
// a change made by another workstation showing in the open list on the refresh timer, and an
// appointment broken from the ASAP List.

#include "data/record_text.h"
#include "lists/appt_lists.h"
#include "lists/patient_search.h"
#include "sheet_model.h"
#include "suite/patient_alert.h"
#include "suite/records/patient.h"

namespace {

// The clipboard's text, "" when it holds none.
std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Has the list window copy its lines and returns what it put on the clipboard. The clipboard is
// watched by its sequence number, not opened, until the program has taken it: opening it here
// while the program tries to would make the program's copy fail.
std::string CopiedList(HWND list_window) {
    const DWORD before = GetClipboardSequenceNumber();
    PostMessageA(list_window, WM_COMMAND, MAKEWPARAM(CMD_LIST_COPY, 0), 0);
    std::string text;
    if (!WaitUntil([&] { return GetClipboardSequenceNumber() != before; })) return text;
    WaitUntil([&] { return !(text = ClipboardText()).empty(); });
    return text;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// The day's list as this test reads it from the same database.
HeaderListModel DayList(int32_t date) {
    ApptListFilter filter;
    filter.date = date;
    HeaderListModel model({6, 7, 25, 12, 16, 3, 13}, 7169);
    FillApptList(kListAppointments, filter, &model);
    return model;
}

const char kCaption[] = "Time  Status Name                       Prov/Op   Reason          Ln Phone         ";
const char kAsapCaption[] = "Date      Status Name                     Prov/Op   Reason          Ln Phone         ";

}  // namespace

TEST(ApptListsRun, OpenFromTheMenuStepByLetterOpenByEnterFollowAnotherStationAndBreakFromAsap) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=5", "NETWORK/STATION=6"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);

    // One list at a time: each one asked for replaces the one before.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_UNSCHEDULED_LIST, 0), 0);
    HWND unscheduled = app.WaitForWindow("UnschList");
    ASSERT_NE(nullptr, unscheduled);
    EXPECT_EQ("Quorvin Unscheduled List", WindowText(unscheduled));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_ASAP_LIST, 0), 0);
    HWND asap = app.WaitForWindow("ASAPList");
    ASSERT_NE(nullptr, asap);
    EXPECT_EQ("Quorvin ASAP List", WindowText(asap));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(unscheduled); }));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_APPT_LIST, 0), 0);
    HWND window = app.WaitForWindow("ApptList");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("Quorvin Appointment List", WindowText(window));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(asap); }));
    HWND list = FindWindowExA(window, nullptr, "MDIListBox", nullptr);
    ASSERT_NE(nullptr, list);
    EXPECT_NE(nullptr, FindWindowExA(window, nullptr, "MDIListBoxHeader", nullptr));

    // A booked day, and the lines the list must show for it and for the day after.
    SheetModel m;
    ASSERT_TRUE(m.Open(app, FindWindowExA(main, nullptr, "SchSheet", nullptr)));
    const int32_t day = BookedDay(2);
    ASSERT_NE(0, day);
    const HeaderListModel lines = DayList(day);
    const HeaderListModel next = DayList(day + 1);
    // A line whose opening asks nothing before the dialog: a patient on file without alerts.
    int quiet = -1;
    for (int i = 0; i < lines.Count() && quiet < 0; ++i) {
        PatientRecord p{};
        const uint32_t id = lines.Line(i).data2;
        if (id && ReadPatient(id, &p) && p.status == 1 && PATALERT_PatientHasAlerts(id, QVN_SysDate()) == 0) quiet = i;
    }
    ASSERT_GE(quiet, 0);
    AppointmentRecord opened{};
    ASSERT_EQ(kQdbOk, ReadAppointment(lines.Line(quiet).data1, &opened));
    DbEndSession();

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1124, 0), day);  // as the date picker answers
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == lines.Count(); }));
    const std::string copied = CopiedList(window);
    EXPECT_EQ("Quorvin Appointment List - " + ListDateText(day), FirstLine(copied));
    EXPECT_EQ(lines.ClipboardText("Quorvin Appointment List - " + ListDateText(day), kCaption), copied);

    // "r" runs the third item of the menu bar (the next day), "l" the first (the day before):
    // Alt with a letter reaches the window as the keyboard's menu command with that letter.
    ASSERT_TRUE(BringToFront(window));
    PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'r');
    EXPECT_TRUE(WaitUntil([&] { return FirstLine(CopiedList(window)) == "Quorvin Appointment List - " + ListDateText(day + 1); }));
    EXPECT_EQ(next.Count(), SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_TRUE(BringToFront(window));
    PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 'l');
    EXPECT_TRUE(WaitUntil([&] { return FirstLine(CopiedList(window)) == "Quorvin Appointment List - " + ListDateText(day); }));

    // Enter on a line opens its appointment.
    ASSERT_TRUE(BringToFront(window));
    PressKey(VK_HOME);
    for (int i = 0; i < quiet; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(app.SignFor());
    const std::string name = GetTrimmedText(opened.patientName);
    HWND dialog = app.WaitForDialog(("Appointment Information - (" + name + ")").c_str());
    ASSERT_NE(nullptr, dialog) << name;
    ASSERT_TRUE(PressToClose(dialog, IDCANCEL));

    // Another workstation (this test) changes the reason of that appointment; the open list
    // shows it after the main window's refresh timer (5 seconds) told it.
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    ASSERT_TRUE(LoadPracticeTables());
    ASSERT_TRUE(ChangeElsewhere(opened.id, [](AppointmentRecord& a) { PutText(a.description, "Changed Elsewhr"); }));
    DbEndSession();
    EXPECT_TRUE(WaitUntil([&] { return CopiedList(window).find("Changed Elsewhr") != std::string::npos; }, 20000));

    // Break one from the ASAP List (the default view: the ASAP mark, today and seven days on):
    // its line selected, the password for the break and the question answered, then the record
    // is broken and its line has left the list.
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    ASSERT_TRUE(LoadPracticeTables());
    ApptListFilter asap_view = ParseSavedFilter(kListAsap, "0 1234 7   2");
    asap_view.date = QVN_SysDate();
    HeaderListModel asap_lines({10, 7, 23, 12, 16, 3, 13}, 7169);
    FillApptList(kListAsap, asap_view, &asap_lines);
    int breakable = -1;
    for (int i = 0; i < asap_lines.Count() && breakable < 0; ++i) {
        AppointmentRecord a{};
        if (ReadAppointment(asap_lines.Line(i).data1, &a) == kQdbOk && a.status != kStatusComplete) breakable = i;
    }
    ASSERT_GE(breakable, 0) << "the demo book has an ASAP appointment in the coming week";
    const uint32_t broken_id = asap_lines.Line(breakable).data1;
    DbEndSession();

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_ASAP_LIST, 0), 0);
    asap = app.WaitForWindow("ASAPList");
    ASSERT_NE(nullptr, asap);
    HWND asap_list = FindWindowExA(asap, nullptr, "MDIListBox", nullptr);
    ASSERT_NE(nullptr, asap_list);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(asap_list, LB_GETCOUNT, 0, 0) == asap_lines.Count(); }));
    const std::string asap_title = "Quorvin ASAP List - " + ListDateText(asap_view.date);
    ASSERT_EQ(asap_lines.ClipboardText(asap_title, kAsapCaption), CopiedList(asap));
    ASSERT_TRUE(BringToFront(asap));
    PressKey(VK_HOME);
    for (int i = 0; i < breakable; ++i) PressKey(VK_DOWN);
    // The ASAP List's menu has no Break item of its own; its window takes the Appointment List's
    // Break command (427) for the selected line all the same.
    PostMessageA(asap, WM_COMMAND, MAKEWPARAM(CMD_LIST_BREAK, 0), 0);
    ASSERT_TRUE(app.SignFor());
    EXPECT_EQ("Break this appointment?\nIt will be moved to the unscheduled list.", app.AnswerBox("Appointment Book", IDYES));
    ASSERT_TRUE(asap_lines.Delete(breakable));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(asap_list, LB_GETCOUNT, 0, 0) == asap_lines.Count(); }));
    EXPECT_EQ(asap_lines.ClipboardText(asap_title, kAsapCaption), CopiedList(asap)) << "only the broken line left";
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    AppointmentRecord broken{};
    ASSERT_EQ(kQdbOk, ReadAppointment(broken_id, &broken));
    EXPECT_EQ(100, +broken.status);
    EXPECT_EQ(0, +broken.date);
    DbEndSession();
    ExitProgram(app, main);
}
