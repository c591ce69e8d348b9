// The family appointment list, the locate dialog, the day note and the found times' refusal on the
// running program, with real input: a second start with /OAID restoring the running copy, the
// header's "Note" button, a typed name located and shown on the sheet, or refused when its
// operatory is not shown; the font dialog and a view key at the end.

#include <cstdio>

#include "appointments/family_list.h"
#include "appointments/locate.h"
#include "appointments/note_store.h"
#include "sheet_model.h"

namespace {

// A name that TypeText can type key by key: letters, blanks and commas.
bool Typeable(const AppointmentRecord& a) {
    for (size_t i = 0; i < sizeof a.patientName && a.patientName[i]; ++i) {
        const unsigned char c = static_cast<unsigned char>(a.patientName[i]);
        if (!std::isalpha(c) && c != ' ' && c != ',') return false;
    }
    return true;
}

// In the run's view, which shows OP1 to OP4 (the view the program applies at its start, from its
// settings file).
bool InView(const AppointmentRecord& a) {
    for (const char* op : {"OP1 ", "OP2 ", "OP3 ", "OP4 "})
        if (std::memcmp(a.operatory, op, 4) == 0) return true;
    return false;
}

}  // namespace

// One run: the family list of a second start, the day note of today, the found times' View without
// a row, a located appointment of a later day that has a note, and one in an operatory the view
// leaves out. The view shows OP1 to OP4 only.
TEST(FamilyNoteLocateRun, FamilyListDayNoteLocateAndTheRefusalsOfAViewThatCannotBeShown) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"APPTBOOK/COLOR3=200,100,050", "APPTBOOK/ViewOp1=04,OP1 ,OP2 ,OP3 ,OP4 ,"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND running = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, running);
    // A patient with appointments, and what the list must show for that patient, read here from
    // the same database.
    std::string reason;
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    uint32_t patient = 0;
    for (const DemoPatient& p : BuildDemoPractice(1, QVN_SysDate()).patients)
        if (!patient && ReadPatientAppointments(p.id).size() >= 2) patient = p.id;
    ASSERT_NE(0u, patient);
    const FamilyMembers family = FamilyMemberLines(patient, QVN_SysDate());
    const std::vector<ListLine> lines = MemberAppointmentLines(patient, QVN_SysDate());
    DbEndSession();
    ASSERT_FALSE(family.lines.empty());
    ASSERT_GE(lines.size(), 2u);

    // The second copy ends before it opens any practice: a small one of its own will do. The
    // running copy, minimized, is restored, and stays the only one.
    ShowWindow(running, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(running));
    AppRun second("/OAID" + std::to_string(patient), Practice::kNoProviders);
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(0, second.WaitForExit()) << "the second copy hands over and ends";
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(running); }, 10000)) << "the running copy is restored";
    int copies = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, "ApptBook", nullptr); w; w = FindWindowExA(nullptr, w, "ApptBook", nullptr)) ++copies;
    EXPECT_EQ(1, copies);

    HWND family_list = app.WaitForDialog("Family Appointment List");
    ASSERT_NE(nullptr, family_list) << "the running copy shows the list";
    ASSERT_EQ(static_cast<int>(family.lines.size()), ListCount(family_list, IDC_OTHERAPPTS_FAMILY));
    const int selected = static_cast<int>(SendDlgItemMessageA(family_list, IDC_OTHERAPPTS_FAMILY, LB_GETCURSEL, 0, 0));
    ASSERT_GE(selected, 0);
    EXPECT_EQ(patient, static_cast<uint32_t>(SendDlgItemMessageA(family_list, IDC_OTHERAPPTS_FAMILY, LB_GETITEMDATA,
                                                                 static_cast<WPARAM>(selected), 0)))
        << "the handed-over patient's line is selected";
    ASSERT_EQ(static_cast<int>(lines.size()), ListCount(family_list, IDC_OTHERAPPTS_APPTS));
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].text, ListBoxLine(family_list, IDC_OTHERAPPTS_APPTS, static_cast<int>(i)));
    // From the main window the list leads on to the appointment dialog: both actions are offered.
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(family_list, IDC_OTHERAPPTS_VIEW)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(family_list, IDC_OTHERAPPTS_NEW)));

    EXPECT_TRUE(ClickToClose(family_list, IDCANCEL)) << "Close ends the list";
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    HWND header = FindWindowExA(main, nullptr, "SSHeader", nullptr);
    ASSERT_NE(nullptr, header);
    m.Load(QVN_SysDate(), kDayView, FirstShownTime());
    DbEndSession();  // the program writes the note; the test reads it afterwards
    const int left = day_data.days.at(0).left;
    RECT head;
    GetClientRect(header, &head);
    const POINT fill = ToScreen(header, left + 5, 5);  // inside the button, clear of its edge and text
    const COLORREF note_colour = RGB(200, 100, 50);  // COLOR3 of the settings
    Settle(800);
    EXPECT_NE(note_colour, ScreenPixel(fill)) << "no note yet";

    ASSERT_TRUE(BringToFront(main));
    ClickAt(ToScreen(header, left + 2 + sheet_state.measures.noteButtonWidth / 2, head.bottom / 4));
    const std::string title = "Appointment Book Day Note - " + QVN_fmtDateString2000(QVN_SysDate());
    HWND dialog = app.WaitForDialog(title.c_str());
    ASSERT_NE(nullptr, dialog) << title;
    TypeText("staff meeting");
    ASSERT_TRUE(ClickToClose(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) == note_colour; })) << std::hex << ScreenPixel(fill);

    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    const NoteRead note = ReadNote(kNoteDay, static_cast<uint32_t>(QVN_SysDate()));
    EXPECT_TRUE(note.exists);
    EXPECT_EQ("staff meeting", note.text);

    // Opened again: the note is there; "&Clear" and OK remove it and the button greys again.
    ASSERT_TRUE(BringToFront(main));
    ClickAt(ToScreen(header, left + 2 + sheet_state.measures.noteButtonWidth / 2, head.bottom / 4));
    dialog = app.WaitForDialog(title.c_str());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("staff meeting", ControlText(dialog, IDC_APPTNOTE_TEXT));
    ClickControl(dialog, IDC_APPTNOTE_CLEAR);
    ASSERT_TRUE(ClickToClose(dialog, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) != note_colour; }));

    // The found times' " &View" with no row selected (nothing is selected on the sheet yet).
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEW_TIME, 0), 0);
    HWND find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    SendDlgItemMessageA(find, IDC_FINDTIME_PROVIDERS, LB_SETSEL, TRUE, 0);
    SendDlgItemMessageA(find, IDC_FINDTIME_ALL_OPERATORIES, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(find, WM_COMMAND, MAKEWPARAM(IDC_FINDTIME_SEARCH_VIEW, BN_CLICKED), 0);
    HWND found = FoundTimes(app);
    ASSERT_NE(nullptr, found);
    SendDlgItemMessageA(found, IDC_FOUND_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDC_FOUND_VIEW, BN_CLICKED), 0);
    EXPECT_EQ("A time block must be selected!", app.AnswerBox("Appointment Book"));
    PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find) << "Cancel goes back to the search";
    ASSERT_TRUE(PressToClose(find, IDCANCEL));

    // A patient's appointment on a later day, in an operatory of the view. Its day gets a day
    // note: the header's "Note" button turns COLOR3 only when the sheet shows that day.
    AppointmentRecord wanted{};
    for (int32_t d = QVN_SysDate() + 1; d < QVN_SysDate() + 14 && wanted.id == 0; ++d)
        for (const AppointmentRecord& a : ReadDay(d))
            if (wanted.id == 0 && a.patientId != 0 && a.unscheduled == 0 && InView(a) && Typeable(a)) wanted = a;
    ASSERT_NE(0u, wanted.id);
    const int32_t day = wanted.date;
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(day), "the located day", QVN_SysDate()));
    DbEndSession();
    EXPECT_NE(note_colour, ScreenPixel(fill)) << "today has no note";

    // Appointment menu, "Locate Existing Appointment...", by its mnemonics: the patient's name
    // typed, the appointment's line clicked, "&View Appt".
    const auto locate = [&](const AppointmentRecord& wanted) {
        const std::string name(wanted.patientName, strnlen(wanted.patientName, sizeof wanted.patientName));
        const size_t comma = name.find(", ");
        ASSERT_NE(std::string::npos, comma) << name;
        std::string first = name.substr(comma + 2);
        if (first.size() > 2 && first[first.size() - 2] == ' ') first.resize(first.size() - 2);  // the initial
        const std::string typed = name.substr(0, comma) + "," + first;  // no blank after the comma
        ASSERT_TRUE(BringToFront(main));
        PressKey('A', VK_MENU);
        PressKey('E');
        HWND dialog = app.WaitForDialog("Locate Existing Appointment");
        ASSERT_NE(nullptr, dialog);
        TypeText(typed);
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return ListCount(dialog, IDC_PATFIND2_LIST) > 0; })) << typed;
        char hex[16];
        std::snprintf(hex, sizeof hex, "\t%lx", static_cast<unsigned long>(wanted.id));
        int index = -1;
        for (int i = 0; i < ListCount(dialog, IDC_PATFIND2_LIST); ++i) {
            const std::string line = ListBoxLine(dialog, IDC_PATFIND2_LIST, i);
            if (line.size() > std::strlen(hex) && line.compare(line.size() - std::strlen(hex), std::string::npos, hex) == 0) index = i;
        }
        ASSERT_GE(index, 0) << "the appointment is listed for " << typed;
        ClickLine(GetDlgItem(dialog, IDC_PATFIND2_LIST), index);
        ASSERT_TRUE(WaitUntil([&] { return SendDlgItemMessageA(dialog, IDC_PATFIND2_LIST, LB_GETCURSEL, 0, 0) == index; }));
        ASSERT_TRUE(ClickToClose(dialog, IDC_PATFIND2_VIEW));
    };
    ASSERT_NO_FATAL_FAILURE(locate(wanted));

    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) == note_colour; })) << "the sheet shows the appointment's day";
    DdeClient dde;
    const std::string id_text = std::to_string(wanted.patientId) + ":";
    EXPECT_EQ(id_text, dde.Request("PatientInfo", "PatientId").substr(0, id_text.size())) << "and has it selected";

    // One in an operatory the view leaves out is refused, and the sheet stays on the day shown.
    ASSERT_TRUE(OpenPracticeDatabase(app.DataDir(), &reason)) << reason;
    AppointmentRecord hidden{};
    for (int32_t d = QVN_SysDate() + 1; d < QVN_SysDate() + 14 && hidden.id == 0; ++d)
        for (const AppointmentRecord& a : ReadDay(d))
            if (hidden.id == 0 && a.patientId != 0 && a.patientId != wanted.patientId && a.unscheduled == 0 &&
                !InView(a) && Typeable(a))
                hidden = a;
    DbEndSession();
    ASSERT_NE(0u, hidden.id) << "no appointment outside OP1 to OP4";
    ASSERT_NO_FATAL_FAILURE(locate(hidden));
    EXPECT_EQ("Requested operatory is not currently being displayed. View canceled.", app.AnswerBox("Appointment Book"));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(fill) == note_colour; })) << "the located day is still shown";

    // The font dialog opens for a user with the right; F3 pressed without its key-up still
    // reaches view 3, saved at the exit.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FONT_SELECT, 0), 0);
    HWND font = app.WaitForDialog("Font");
    ASSERT_NE(nullptr, font);
    EXPECT_TRUE(PressToClose(font, IDCANCEL));
    PostMessageA(main, WM_KEYDOWN, VK_F3, 0x003D0001);
    ExitProgram(app, main);
    EXPECT_EQ(3u, GetPrivateProfileIntA("APPTBOOK", "DEF_VIEW", 0, app.SettingsFile().c_str()));
}
