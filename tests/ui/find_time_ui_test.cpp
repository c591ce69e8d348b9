// Find New Appointment Time in the real program: from the menu, DR1's first free time viewed on
// the sheet (its date, the outline's pixels) and Cancel bringing the sheet back; the selected
// appointment moved by Select; the appointment dialog's "&Find" hidden while viewing, and its
// plain search's Select showing the time taken on the sheet.

#include <cstdio>

#include "appointments/note_store.h"
#include "sheet_model.h"

namespace {

constexpr COLORREF kGrey = RGB(0x40, 0x40, 0x40), kNoteColour = RGB(200, 100, 50);  // COLOR3 of the run

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// "Tue\t 12/08/2026 8:00am - 9:10am\t DR1  : OP1 ": date, start text, units, provider, operatory.
struct Found {
    int32_t date = 0;
    std::string start, provider, operatory;
    int from = -1, to = -1;
};
Found Parse(const std::string& row) {
    Found f;
    int h1 = 0, m1 = 0, h2 = 0, m2 = 0;
    char date[11] = "", p1[3] = "", p2[3] = "";
    if (std::sscanf(row.c_str() + 5, "%10s %d:%d%2s - %d:%d%2s", date, &h1, &m1, p1, &h2, &m2, p2) != 7) return f;
    const size_t colon = row.find(" : ");
    f.date = QVN_ParseDate(date);
    f.start = row.substr(16, row.find(" - ") - 16);
    f.from = (h1 % 12 + (p1[0] == 'p' ? 12 : 0)) * 12 + m1 / 5;
    f.to = (h2 % 12 + (p2[0] == 'p' ? 12 : 0)) * 12 + m2 / 5;
    f.provider = row.substr(colon - 4, 4);
    f.operatory = row.substr(colon + 3, 4);
    return f;
}

std::vector<COLORREF> TimeColumn(HWND times) {
    RECT r{};
    GetClientRect(times, &r);
    std::vector<COLORREF> line;
    for (int y = 0; y < r.bottom; y += 2) line.push_back(ScreenPixel(times, r.right / 2, y));
    return line;
}

int Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
}

// A patient's appointment of the shown day in an operatory column, clear of the window's top.
const DayColumn* ShownAppointment(const SheetModel& m, ApptDisplay* found, int other_than) {
    for (const DayColumn& c : day_data.days.at(0).columns)
        for (const ApptDisplay& a : c.appointments)
            if (c.kind == kOperatoryColumn && a.patientId != 0 && a.id != other_than && a.status != kStatusComplete &&
                a.patientAlert != 2 && m.Visible(a.startUnit, a.startUnit + 1) && m.Y(a.startUnit) > 4 * m.R()) {
                *found = a;
                return &c;
            }
    return nullptr;
}

}  // namespace

TEST(FindTimeRun, AViewedTimeIsOutlinedOnItsDateCancelRestoresAndSelectPlacesTheAppointment) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"APPTBOOK/COLOR3=200,100,050"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND sheet = Child(main, "SchSheet"), header = Child(main, "SSHeader"), times = Child(main, "SchTime");
    SheetModel m;
    ASSERT_TRUE(m.Open(app, sheet));
    const int32_t today = QVN_SysDate();
    m.Load(today, kDayView, FirstShownTime());
    const int note_x = day_data.days.at(0).left + 5;
    Settle(800);
    const std::vector<COLORREF> time_column = TimeColumn(times);
    const int clock_rows = m.R() + 2;  // the clock's row may move by itself meanwhile

    // From the menu with nothing selected: nothing preselected; DR1 in every operatory from 1pm,
    // so that the found time lies in the middle of the day and the sheet scrolls to show it.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEW_TIME, 0), 0);
    HWND find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    EXPECT_EQ(0, SendDlgItemMessageA(find, IDC_FINDTIME_PROVIDERS, LB_GETSELCOUNT, 0, 0));
    EXPECT_EQ("10 min", ControlText(find, IDC_FINDTIME_LENGTH));
    ASSERT_EQ("DR1", ListBoxLine(find, IDC_FINDTIME_PROVIDERS, 0));
    SendDlgItemMessageA(find, IDC_FINDTIME_PROVIDERS, LB_SETSEL, TRUE, 0);
    SendDlgItemMessageA(find, IDC_FINDTIME_ALL_OPERATORIES, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(find, IDC_FINDTIME_FROM, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1:00pm"));
    Press(find, IDC_FINDTIME_SEARCH_VIEW);
    HWND found = FoundTimes(app, 10);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(10, ListCount(found, IDC_FOUND_LIST));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(found, IDOK))) << "a look from the menu takes nothing";
    const Found first = Parse(ListBoxLine(found, IDC_FOUND_LIST, 0));
    ASSERT_LT(today, first.date) << ListBoxLine(found, IDC_FOUND_LIST, 0);
    EXPECT_EQ("DR1 ", first.provider);
    EXPECT_LE(13 * 12, first.from);
    // The found date's day note turns the header's note button COLOR3 while the sheet shows it.
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(first.date), "found", today));
    m.Load(first.date, kDayView, FirstShownTime());
    const DayColumn* column = nullptr;
    for (const DayColumn& c : day_data.days.at(0).columns)
        if (c.kind == kOperatoryColumn && std::string(c.id, 4) == first.operatory) column = &c;
    ASSERT_NE(nullptr, column);
    const int left = column->left, right = column->right;
    RECT own{};
    GetWindowRect(found, &own);  // the list moved to the half of the screen away from the cell
    const bool cell_left = ToScreen(sheet, left, 0).x < GetSystemMetrics(SM_CXSCREEN) / 2;
    SetWindowPos(found, nullptr, cell_left ? GetSystemMetrics(SM_CXSCREEN) - (own.right - own.left) : 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);

    Press(found, IDC_FOUND_VIEW);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(header, note_x, 5) == kNoteColour; })) << "the sheet shows the found date";
    Settle(800);
    EXPECT_GT(Differences(time_column, TimeColumn(times)), clock_rows) << "the view scrolled the sheet";
    // The sheet's top is the whole hour at which the two dark grey frames lie just above the cell.
    int cell_top = -1;
    for (int hour = 0; hour < 24; ++hour) {
        sheet_state.topUnit = hour * 12;
        const int y = m.Y(first.from), x = (left + right) / 2;
        if (y >= 5 && ScreenPixel(sheet, x, y - 5) == kGrey && ScreenPixel(sheet, x, y - 4) == kGrey) cell_top = y;
    }
    ASSERT_GE(cell_top, 0) << "no dark grey frames above the found time";
    const int y = cell_top + 2;
    EXPECT_EQ((std::vector<COLORREF>{kGrey, kGrey, kGrey, kGrey}),
              (std::vector<COLORREF>{ScreenPixel(sheet, left - 5, y), ScreenPixel(sheet, left - 4, y), ScreenPixel(sheet, right + 4, y),
                                     ScreenPixel(sheet, right + 5, y)}));
    int black_inner = 0, black_outer = 0;
    for (int x = left; x < left + 16; ++x) {
        black_inner += ScreenPixel(sheet, x, cell_top - 1) == RGB(0, 0, 0);
        black_outer += ScreenPixel(sheet, x, cell_top - 3) == RGB(0, 0, 0);
    }
    EXPECT_TRUE(black_inner > 0 && black_outer > 0) << "two hatched frames: " << black_inner << ", " << black_outer;
    EXPECT_NE(kGrey, ScreenPixel(sheet, (left + right) / 2, cell_top - 2));

    Press(found, IDCANCEL);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find) << "Cancel goes back to the search";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(header, note_x, 5) != kNoteColour; })) << "today again";
    Settle(800);
    EXPECT_LE(Differences(time_column, TimeColumn(times)), clock_rows) << "scrolled as before";
    Press(find, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(find); }));

    // The selected appointment: its provider preselected, the first time taken with Select.
    const int32_t day = BookedDay(2);
    ShowDate(main, day);
    m.Load(day, kDayView, FirstShownTime());
    ApptDisplay box;
    const DayColumn* box_column = ShownAppointment(m, &box, 0);
    ASSERT_NE(nullptr, box_column);
    ASSERT_TRUE(BringToFront(main));
    Click(sheet, POINT{box_column->left + m.W() + 6, m.MidRow(box.startUnit)});
    Settle(500);
    const std::string patient = std::to_string(box.patientId) + ":";
    ASSERT_EQ(patient, DdeClient().Request("PatientInfo", "PatientId").substr(0, patient.size()))
        << "the click selected the appointment " << box.id << " in " << std::string(box_column->id, 4) << " at "
        << box_column->left + m.W() + 6 << "," << m.MidRow(box.startUnit);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEW_TIME, 0), 0);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    EXPECT_EQ(1, SendDlgItemMessageA(find, IDC_FINDTIME_PROVIDERS, LB_GETSELCOUNT, 0, 0));
    Press(find, IDOK);
    found = FoundTimes(app);
    ASSERT_NE(nullptr, found);
    const Found taken = Parse(ListBoxLine(found, IDC_FOUND_LIST, 0));
    Press(found, IDOK);
    EXPECT_EQ(std::vector<std::string>{}, app.AnswerAll()) << "Select asks nothing more";
    AppointmentRecord moved{};
    ASSERT_TRUE(WaitUntil([&] { return ReadAppointment(static_cast<uint32_t>(box.id), &moved) == 0 && moved.date == taken.date; }));
    EXPECT_EQ(taken.from, moved.hour * 12 + moved.minute / 5);
    EXPECT_EQ(taken.operatory + taken.provider, std::string(moved.operatory, 4) + std::string(moved.provider, 4));

    // The appointment dialog's "&Find" with Search/View: hidden while its times are shown, back
    // with the chosen one in its fields.
    ShowDate(main, day);
    m.Load(day, kDayView, FirstShownTime());
    box_column = ShownAppointment(m, &box, box.id);
    ASSERT_NE(nullptr, box_column);
    ASSERT_TRUE(BringToFront(main));
    HWND dialog = OpenAppointmentAt(app, ToScreen(sheet, box_column->left + m.W() + 6, m.MidRow(box.startUnit)));
    ASSERT_NE(nullptr, dialog);
    Press(dialog, IDC_APPT_FIND);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    Press(find, IDC_FINDTIME_SEARCH_VIEW);
    found = FoundTimes(app, 2);
    ASSERT_NE(nullptr, found);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the appointment dialog stands aside";
    SendDlgItemMessageA(found, IDC_FOUND_LIST, LB_SETCURSEL, 1, 0);
    const Found second = Parse(ListBoxLine(found, IDC_FOUND_LIST, 1));
    Press(found, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(found) && IsWindowVisible(dialog); }));
    EXPECT_EQ(QVN_fmtDateString2000(second.date) + " " + second.start,
              ControlText(dialog, IDC_APPT_DATE) + " " + ControlText(dialog, IDC_APPT_TIME));

    // "Searc&h" and Select from the dialog: the sheet is first left showing the time taken (today,
    // without a day note, gives way to the found date with one), then the fields hold it.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), today);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(header, note_x, 5) != kNoteColour; })) << "today shown, without a day note";
    Press(dialog, IDC_APPT_FIND);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    Press(find, IDOK);
    found = FoundTimes(app);
    ASSERT_NE(nullptr, found);
    const std::string plain_line = ListBoxLine(found, IDC_FOUND_LIST, 0);
    const Found plain = Parse(plain_line);
    EXPECT_EQ(std::string(QVN_getday_name(QVN_week_day(plain.date))).substr(0, 3) + "\t ", plain_line.substr(0, 5)) << "its weekday";
    ASSERT_LT(today, plain.date);
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(plain.date), "found", today));
    Press(found, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(found); }));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(header, note_x, 5) == kNoteColour; })) << "the sheet shows the found date";
    EXPECT_EQ(QVN_fmtDateString2000(plain.date) + " " + plain.start + " " + plain.operatory.substr(0, plain.operatory.find(' ')),
              ControlText(dialog, IDC_APPT_DATE) + " " + ControlText(dialog, IDC_APPT_TIME) + " " + ControlText(dialog, IDC_APPT_OPERATORY));
    Press(dialog, IDCANCEL);
    app.AnswerAll();
    ExitProgram(app, main);
}
