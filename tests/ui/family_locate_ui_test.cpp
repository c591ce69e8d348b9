// The family appointment list, the locate dialog and the day note on the running program, with
// real input: a second start with /OAID, the header's "Note" button, a typed name located and
// shown on the sheet.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app_run.h"
#include "appointments/family_list.h"
#include "appointments/note_store.h"
#include "data/appointment_store.h"
#include "resources/resource.h"
#include "sheet_model.h"
#include "tools/signon/user_input_win.h"

namespace {

int ListCount(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0)); }

// Texts of another process's list boxes come through their messages.
std::string ListText(HWND dialog, int id, int index) {
    wchar_t text[512] = L"";
    if (SendDlgItemMessageW(dialog, id, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0) < 511)
        SendDlgItemMessageW(dialog, id, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

void ClickAt(POINT screen) {
    SendMouseAt(0, screen);
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
}

POINT ScreenPoint(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// Clicks the middle of a dialog's control.
void ClickControl(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetClientRect(control, &r);
    ClickAt(ScreenPoint(control, r.right / 2, r.bottom / 2));
}

COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    const COLORREF seen = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return seen;
}

}  // namespace

TEST(FamilyListRun, ASecondStartWithOaidShowsThePatientsFamilyListInTheRunningCopy) {
    AppRun first("", Practice::kDemoBook);
    ASSERT_TRUE(first.Started()) << first.SeedReason();
    HWND main = first.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);

    // A patient with appointments, and what the list must show for that patient, read here from
    // the same database.
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(first.DataDir(), &reason)) << reason;
    uint32_t patient = 0;
    for (const DemoPatient& p : BuildDemoPractice(1, QVN_SysDate()).patients)
        if (!patient && ReadPatientAppointments(p.id).size() >= 2) patient = p.id;
    ASSERT_NE(0u, patient);
    const FamilyMembers family = FamilyMemberLines(patient, QVN_SysDate());
    const std::vector<ListLine> lines = MemberAppointmentLines(patient, QVN_SysDate());
    DbEndSession();
    ASSERT_FALSE(family.lines.empty());
    ASSERT_GE(lines.size(), 2u);

    AppRun second("/OAID" + std::to_string(patient), Practice::kDemoBook);
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0, second.WaitForExit()) << "the second copy hands over and ends";

    HWND dialog = first.WaitForDialog("Family Appointment List");
    ASSERT_NE(nullptr, dialog) << "the running copy shows the list";
    ASSERT_EQ(static_cast<int>(family.lines.size()), ListCount(dialog, IDC_OTHERAPPTS_FAMILY));
    const int selected = static_cast<int>(SendDlgItemMessageA(dialog, IDC_OTHERAPPTS_FAMILY, LB_GETCURSEL, 0, 0));
    ASSERT_GE(selected, 0);
    EXPECT_EQ(patient, static_cast<uint32_t>(SendDlgItemMessageA(dialog, IDC_OTHERAPPTS_FAMILY, LB_GETITEMDATA,
                                                                 static_cast<WPARAM>(selected), 0)))
        << "the handed-over patient's line is selected";
    ASSERT_EQ(static_cast<int>(lines.size()), ListCount(dialog, IDC_OTHERAPPTS_APPTS));
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].text, ListText(dialog, IDC_OTHERAPPTS_APPTS, static_cast<int>(i)));
    // Until the appointment dialog is connected, the list only shows: no action to choose.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_OTHERAPPTS_VIEW)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_OTHERAPPTS_NEW)));

    ClickControl(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "Close ends the list";
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, first.WaitForExit());
}

TEST(DayNoteRun, TheNoteButtonOpensTheDayNoteAndTurnsColor3OnceANoteIsSaved) {
    AppRun app;
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND header = FindWindowExA(main, nullptr, "SSHeader", nullptr);
    HWND sheet = FindWindowExA(main, nullptr, "SchSheet", nullptr);
    ASSERT_NE(nullptr, header);
    SheetModel m;
    ASSERT_TRUE(m.Open(app, sheet));
    m.Load(QVN_SysDate(), kDayView, FirstShownTime());
    DbEndSession();  // the program writes the note; the test reads it afterwards
    const int left = day_data.days.at(0).left;
    RECT head;
    GetClientRect(header, &head);
    const POINT fill = ScreenPoint(header, left + 5, 5);  // inside the button, clear of its edge and text
    const COLORREF note_colour = RGB(225, 225, 0);
    Settle(800);
    EXPECT_NE(note_colour, ScreenPixel(fill)) << "no note yet";

    ASSERT_TRUE(BringToFront(main));
    ClickAt(ScreenPoint(header, left + 2 + sheet_state.measures.noteButtonWidth / 2, head.bottom / 4));
    const std::string title = "Appointment Book Day Note - " + QVN_fmtDateString2000(QVN_SysDate());
    HWND dialog = app.WaitForDialog(title.c_str());
    ASSERT_NE(nullptr, dialog) << title;
    TypeText("staff meeting");
    ClickControl(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) == note_colour; })) << std::hex << ScreenPixel(fill);

    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    const NoteRead note = ReadNote(kNoteDay, static_cast<uint32_t>(QVN_SysDate()));
    DbEndSession();
    EXPECT_TRUE(note.exists);
    EXPECT_EQ("staff meeting", note.text);

    // Opened again: the note is there; "&Clear" and OK remove it and the button greys again.
    ASSERT_TRUE(BringToFront(main));
    ClickAt(ScreenPoint(header, left + 2 + sheet_state.measures.noteButtonWidth / 2, head.bottom / 4));
    dialog = app.WaitForDialog(title.c_str());
    ASSERT_NE(nullptr, dialog);
    char text[64] = "";
    SendDlgItemMessageA(dialog, IDC_APPTNOTE_TEXT, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::string("staff meeting"), text);
    ClickControl(dialog, IDC_APPTNOTE_CLEAR);
    ClickControl(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) != note_colour; }));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, app.WaitForExit());
}
