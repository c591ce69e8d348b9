// The mouse on the running program's sheet, by real mouse input: a click selects an appointment
// (and the "PatientInfo" service then names its patient), a drop on its own place asks nothing,
// the commands not carried out do nothing for the selection, a drag to a free operatory asks
// "Move appointment?" and moves it, a drop onto a booked operatory is refused, a drag of the
// lower edge makes it one row long, a complete appointment is selected but not dragged, a box cut
// off by the window cannot be taken, Shift with the right button shows the information box, an
// appointment put aside or parked is scheduled from the pin board, the right button opens the
// block edit and the patient menu, and the patient alert and lab case icons show their boxes.
// The database is read back after every step; the occupancy is verified at the end.

#include "sheet_model.h"
#include "appointments/appointment_moves.h"
#include "data/appointment_record.h"
#include "data/occupancy_verify.h"
#include "suite/lab_case.h"
#include "suite/records/notes.h"
#include "views/sheet_hit.h"
#include "views/pin_board.h"

namespace {

// The id of the appointment parked on the pin board, 0 for none.
uint32_t Parked(HWND board) { return static_cast<uint32_t>(SendMessageA(board, kPinBoardParkedId, 0, 0)); }

std::string PatientReply(const ApptDisplay& a) { return std::to_string(a.patientId) + ":" + a.name.substr(0, 32); }

// The x of the box's first row where the hit test finds that marker, or -1.
int MarkerX(const SheetModel& m, const Box& box, HitResult marker) {
    const int y = m.Y(box.a.startUnit) + 3;
    for (int x = box.column->right - 1; x > box.column->left; --x)
        if (HitTest(x, y, m.Height()).result == marker) return x;
    return -1;
}

// A patient's appointment on the last shown day that has one (index > 0), fully visible and not
// complete; its day index in *day_index.
Box BoxOnALaterDay(const SheetModel& m, int* day_index, uint32_t skip_patient = 0) {
    for (int d = static_cast<int>(day_data.days.size()) - 1; d > 0; --d)
        for (const DayColumn& c : day_data.days[static_cast<size_t>(d)].columns)
            for (const ApptDisplay& a : c.appointments)
                if (a.patientId != 0 && a.patientId != skip_patient && a.status != kStatusComplete &&
                    m.Visible(a.startUnit, a.startUnit + std::max(a.length / 5, 1))) {
                    *day_index = d;
                    return {&c, a};
                }
    return {};
}

// A free operatory slot of the shown day for that many units, in the practice's first opening.
const DayColumn* FreeSlot(const SheetModel& m, int units, int* unit) {
    const DayHours hours = day_data.practiceHours[0];
    for (int u = hours.start[0]; u + units <= hours.end[0]; u += practice_tables.blockUnits)
        if (const DayColumn* c = m.Visible(u, u + units) ? FreeColumn(u, u + units, nullptr) : nullptr) {
            *unit = u;
            return c;
        }
    return nullptr;
}

// The appointment as stored now lies in that operatory from that unit.
void ExpectStoredAt(int64_t id, const char* operatory, int unit) {
    const AppointmentRecord a = Stored(static_cast<uint32_t>(id));
    EXPECT_EQ(std::string(operatory, 4) + " " + std::to_string(unit), std::string(a.operatory, 4) + " " + std::to_string(StartUnit(a)))
        << "appointment " << id;
}

POINT BoardMiddle(HWND board) {
    RECT r;
    GetClientRect(board, &r);
    return POINT{r.right / 2, r.bottom / 2};
}

}  // namespace

TEST(SheetMouse, SelectCommandsNotCarriedOutMoveRefuseResizeInformationBoxCompleteAndCutOff) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    int32_t day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 6, &day));
    HWND toolbar = Child(main, "QvnToolBarMcl");
    ASSERT_NE(nullptr, toolbar);
    std::vector<AuditEntry> audit;
    QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit);
    const size_t audited = audit.size();

    // A patient's appointment with a free operatory beside it.
    const DayColumn* target = nullptr;
    const Box a = FindBox(m, [&](const DayColumn& c, const ApptDisplay& x) {
        if (x.patientId == 0 || x.status == kStatusComplete || x.length / 5 < 2 * practice_tables.blockUnits) return false;
        target = FreeColumn(x.startUnit, x.startUnit + x.length / 5, &c);
        return target != nullptr;
    });
    ASSERT_NE(nullptr, a.column) << "no appointment of two rows or more with a free operatory beside it";
    const POINT inside{a.column->left + m.W() + 6, m.Y(a.a.startUnit) + m.R() / 2};

    // A click selects it and asks nothing: it was dropped on its own place.
    DdeClient dde;
    EXPECT_EQ("(no data)", dde.Request("PatientInfo", "PatientId")) << "nothing selected yet";
    Click(sheet, inside);
    EXPECT_TRUE(app.AnswerAll().empty()) << "a drop on its own place asks nothing";
    EXPECT_EQ(PatientReply(a.a), dde.Request("PatientInfo", "PatientId"));
    EXPECT_EQ("(no data)", dde.Request("PatientInfo", "patientinfo")) << "no other topic has data";
    {
        // While a window of another program has the focus, HasFocus has no data.
        HWND other = CreateWindowExA(0, "STATIC", "other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetForegroundWindow(other);
        SetFocus(other);
        Settle(300);
        EXPECT_EQ("(no data)", dde.Request("PatientInfo", "HasFocus"));
        DestroyWindow(other);
        SetForegroundWindow(main);
        Settle(300);
    }

    // With the selection, Print Route Slip's button opens its dialog, whose Cancel places no job and
    // asks nothing. (Which buttons the selection enables is the bar's rule, checked natively and on
    // the bar in-process.)
    EXPECT_NE(0, SendMessageA(toolbar, TB_ISBUTTONENABLED, CMD_DIAL, 0)) << "Dial is carried out for the selection";
    ClickAt(ToolbarButtonMiddle(toolbar, CMD_PRINT_ROUTE_SLIP));
    HWND slip = app.WaitForDialog("Print Route Slip", 5000);
    ASSERT_NE(nullptr, slip) << "the route slip's dialog";
    PostMessageA(slip, WM_COMMAND, IDCANCEL, 0);
    Settle(300);
    SetForegroundWindow(main);
    HWND asked_now = app.WaitForDialog(nullptr, 2000);
    EXPECT_EQ(nullptr, asked_now) << "asked: " << (asked_now ? WindowText(asked_now) + " / " + MessageText(asked_now) : "");
    if (asked_now) PostMessageA(asked_now, WM_COMMAND, IDCANCEL, 0);
    audit.clear();
    QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit);
    EXPECT_EQ(audited, audit.size()) << "no password check was audited";

    // Dragged into the free operatory at the same time: one question, then it is there.
    Drag(sheet, inside, sheet, POINT{target->left + m.W() + 6, inside.y});
    EXPECT_EQ((std::vector<std::string>{"Move appointment?"}), app.AnswerAll());
    ExpectStoredAt(a.a.id, target->id, a.a.startUnit);  // in its new operatory at the same time
    char target_id[4];
    std::memcpy(target_id, target->id, 4);  // the reload below replaces the columns
    Settle(800);
    m.Load(day, kDayView, FirstShownTime());

    // Its lower edge dragged up to its top: one row long.
    {
        const DayColumn* now_in = nullptr;
        for (const DayColumn& c : day_data.days[0].columns)
            if (std::memcmp(c.id, target_id, 4) == 0) now_in = &c;
        ASSERT_NE(nullptr, now_in);
        const int top = m.Y(a.a.startUnit), bottom = m.Y(a.a.startUnit + a.Units());
        Drag(sheet, POINT{now_in->right - 4, bottom - 2}, sheet, POINT{now_in->right - 4, top + 1});
        EXPECT_TRUE(app.AnswerAll().empty()) << "the front desk holds right 66: nothing is asked";
        // The edge stops R + 4 pixels below the top and the length rounds to the nearest row: one
        // row from a row height of 9 up, two below it (the default sheet font gives 8).
        const int shortest = ResizeMinutes(top, top + m.R() + 4, m.R(), practice_tables.blockUnits);
        EXPECT_EQ(m.R() >= 9 ? practice_tables.blockUnits * 5 : 2 * practice_tables.blockUnits * 5, shortest);
        EXPECT_EQ(shortest, int{Stored(static_cast<uint32_t>(a.a.id)).length}) << "the shortest the edge allows, R = " << m.R();
    }
    Settle(800);
    m.Load(day, kDayView, FirstShownTime());

    // Another appointment dropped onto a booked operatory slot is refused and stays.
    const Box b = FindBox(m, [&](const DayColumn&, const ApptDisplay& x) {
        return x.status != kStatusComplete && x.id != a.a.id && x.patientId != 0;
    });
    ASSERT_NE(nullptr, b.column);
    const Box booked = FindBox(m, [&](const DayColumn& c, const ApptDisplay& x) {
        return &c != b.column && x.id != a.a.id && x.length / 5 >= 2 * practice_tables.blockUnits;
    });
    ASSERT_NE(nullptr, booked.column) << "no booked slot in another operatory";
    const POINT b_inside{b.column->left + m.W() + 6, m.Y(b.a.startUnit) + m.R() / 2};
    Drag(sheet, b_inside, sheet, POINT{booked.column->left + m.W() + 6, m.Y(booked.a.startUnit) + m.R() / 2});
    const std::vector<std::string> asked = app.AnswerAll();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ("Move appointment?", asked.front());
    EXPECT_EQ("Operatory is already scheduled for requested time!", asked.back());
    ExpectStoredAt(b.a.id, b.column->id, b.a.startUnit);  // the refused appointment stays

    // Shift and the right button: the information box with the appointment's lines.
    {
        const POINT p = ToScreen(sheet, b_inside.x, b_inside.y);
        SendMouseAt(0, p);
        INPUT shift = {};
        shift.type = INPUT_KEYBOARD;
        shift.ki.wVk = VK_SHIFT;
        SendInput(1, &shift, sizeof shift);
        SendMouseAt(MOUSEEVENTF_RIGHTDOWN, p);
        Settle(400);
        HWND box = FindWindowA("DataPopup", nullptr);
        ASSERT_NE(nullptr, box) << "the information box";
        char text[512] = "";
        GetWindowTextA(box, text, sizeof text);
        const std::string lines = text;
        EXPECT_EQ(0u, lines.find(b.a.name + "\n")) << lines;
        std::string provider(b.a.provider, 4);
        while (!provider.empty() && provider.back() == ' ') provider.pop_back();
        EXPECT_NE(std::string::npos, lines.find("\nProvider: " + provider + "\n")) << lines;
        SendMouseAt(MOUSEEVENTF_RIGHTUP, p);
        shift.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &shift, sizeof shift);
        Settle(300);
        EXPECT_EQ(nullptr, FindWindowA("DataPopup", nullptr)) << "gone with the button";
        EXPECT_EQ(PatientReply(b.a), dde.Request("PatientInfo", "PatientId")) << "the right button selected it too";
    }

    // A week ago everything is complete: selected, but no floating box follows the mouse. The
    // open day of that week nearest a week back is taken.
    int32_t past = 0;
    for (int32_t d = day - 7; d > day - 14 && past == 0; --d)
        if (HolidayKind(d) == 0 && !ReadDay(d).empty()) past = d;
    ASSERT_NE(0, past) << "no booked open day in the week before " << day;
    {
        ShowDate(main, past);
        m.Load(past, kDayView, FirstShownTime());
        const Box done = FindBox(m, [](const DayColumn&, const ApptDisplay& x) {
            return x.status == kStatusComplete && x.patientId != 0;
        });
        ASSERT_NE(nullptr, done.column);
        const POINT p = ToScreen(sheet, done.column->left + 4, m.Y(done.a.startUnit) + m.R() / 2);
        SendMouseAt(0, p);
        SendMouseAt(MOUSEEVENTF_LEFTDOWN, p);
        SendMouseAt(0, POINT{p.x + 30, p.y + 20});
        EXPECT_EQ(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "a complete appointment is not dragged";
        SendMouseAt(MOUSEEVENTF_LEFTUP, POINT{p.x + 30, p.y + 20});
        EXPECT_TRUE(app.AnswerAll().empty());
        EXPECT_EQ(PatientReply(done.a), dde.Request("PatientInfo", "PatientId")) << "but selected";
        ExpectStoredAt(done.a.id, done.column->id, done.a.startUnit);

        // A box cut off at the top by scrolling cannot be taken.
        const Box tall = FindBox(m, [&](const DayColumn&, const ApptDisplay& x) {
            return x.patientId != done.a.patientId && (x.startUnit % 12) != 0 && x.startUnit / 12 != (x.startUnit + x.length / 5 - 1) / 12;
        });
        ASSERT_NE(nullptr, tall.column) << "no appointment across an hour boundary on " << past;
        {
            const int hour_top = (tall.a.startUnit / 12 + 1) * 12;
            SendMessageA(sheet, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, hour_top), 0);
            Settle(500);
            sheet_state.topUnit = hour_top;
            Click(sheet, POINT{tall.column->left + m.W() + 6, m.Y(hour_top) + 2});
            EXPECT_TRUE(app.AnswerAll().empty());
            EXPECT_EQ(PatientReply(done.a), dde.Request("PatientInfo", "PatientId")) << "the cut-off box was not selected";
        }
    }
    const OccupancyReport report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();
    ExitProgram(app, main);
}

TEST(PinBoard, ACardPutAsideOrParkedIsScheduledFromTheBoardAndARefusedDropGoesBack) {
    uint32_t put_aside = 0;
    AppRun app("", Practice::kDemoBook, "FRONT", {}, [&](const std::string& data, const std::string& settings) {
        std::string reason;
        ASSERT_TRUE(OpenPracticeDatabase(data, &reason)) << reason;
        FileGroupDesc desc{};
        DbGroupOf(kAppointmentFile, &desc);
        {
            DbGroupScope group(desc);
            AppointmentRecord a{};
            const uint8_t listed = 1;
            if (DbStartSetForward(kApptUnscheduledKey, DbPrepareKey(&listed), &a, 1) == kQdbOk) put_aside = a.id;
        }
        DbEndSession();
        WritePrivateProfileStringA("Apptbook", "Clipboard Appt", std::to_string(put_aside).c_str(), settings.c_str());
    });
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    ASSERT_NE(0u, put_aside) << "the demo book has an appointment on the unscheduled list";
    HWND board = FindWindowExA(main, nullptr, "SSPinBoard", nullptr);
    ASSERT_NE(nullptr, board);
    Settle(1000);
    EXPECT_EQ(put_aside, Parked(board)) << "parked on the first paint";
    int32_t day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 6, &day));
    const AppointmentRecord aside = Stored(put_aside);
    const int units = std::max(aside.length / 5, 1);
    int free_unit = -1;
    const DayColumn* column = FreeSlot(m, units, &free_unit);
    ASSERT_NE(nullptr, column) << "no free slot in the morning";
    // Dropped beside the sheet, on the time column: the program offers the unscheduled list, and
    // Cancel keeps the card on the board.
    HWND time = Child(main, "SchTime");
    ASSERT_NE(nullptr, time);
    Drag(board, BoardMiddle(board), time, POINT{10, m.Y(free_unit) + m.R() / 2});
    EXPECT_EQ("Appointment will be placed in the unscheduled list.", app.AnswerBox("Appointment Book", IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return Parked(board) == put_aside; }))
        << "back on the board";
    Drag(board, BoardMiddle(board), sheet, POINT{(column->left + column->right) / 2, m.Y(free_unit) + m.R() / 2});
    const std::vector<std::string> asked = app.AnswerAll();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ("Schedule appointment?", asked.front());
    EXPECT_EQ(day, Stored(put_aside).date) << "scheduled on the shown day";
    ExpectStoredAt(put_aside, column->id, free_unit);
    EXPECT_EQ(0u, Parked(board)) << "the board is empty";
    EXPECT_EQ(0u, ReadClipboardAppointment()) << "Clipboard Appt cleared";
    Settle(800);

    // A box of a later day of the week view (which remembers the shown day) parked on the board.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_WEEK_VIEW, 0), 0);
    Settle(1500);
    m.Load(day, kWeekView, FirstShownTime());

    int index = 0;
    const Box late = BoxOnALaterDay(m, &index);
    ASSERT_NE(nullptr, late.column) << "no appointment on a day after the week's first";
    const uint32_t id = static_cast<uint32_t>(late.a.id);
    const int32_t late_date = day_data.days[static_cast<size_t>(index)].date;
    Drag(sheet, POINT{(late.column->left + late.column->right) / 2, m.Y(late.a.startUnit) + m.R() / 2}, board,
         BoardMiddle(board));
    EXPECT_TRUE(app.AnswerAll().empty());
    ASSERT_EQ(id, Parked(board)) << "parked from day " << index << " of the week";

    // The day view has one day: the card is scheduled there by the appointment's own date.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_DAY_VIEW, 0), 0);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    int unit = -1;
    const DayColumn* free = FreeSlot(m, std::max(late.a.length / 5, 1), &unit);
    ASSERT_NE(nullptr, free) << "no free slot for the parked appointment";
    WritePrivateProfileStringA("Apptbook", "Clipboard Appt", std::to_string(id).c_str(), app.SettingsFile().c_str());
    Drag(board, BoardMiddle(board), sheet, POINT{(free->left + free->right) / 2, m.Y(unit) + m.R() / 2});
    const std::vector<std::string> parked_asked = app.AnswerAll();
    ASSERT_FALSE(parked_asked.empty()) << "the program asked nothing (or ended)";
    EXPECT_EQ("Schedule appointment?", parked_asked.front()) << "a card from the pin board is scheduled, not moved";
    EXPECT_EQ(day, Stored(id).date) << "moved from " << late_date;
    ExpectStoredAt(id, free->id, unit);
    EXPECT_EQ(0u, ReadClipboardAppointment()) << "Clipboard Appt cleared";
    EXPECT_EQ(0u, Parked(board));
    Settle(800);
    m.Load(day, kDayView, FirstShownTime());

    // Parked again from the day view and dropped on a provider column: refused, back on the board.
    const Box b = FindBox(m, [](const DayColumn&, const ApptDisplay& x) { return x.patientId != 0 && x.status != kStatusComplete; });
    ASSERT_NE(nullptr, b.column);
    const uint32_t b_id = static_cast<uint32_t>(b.a.id);
    Drag(sheet, POINT{b.column->left + m.W() + 6, m.Y(b.a.startUnit) + m.R() / 2}, board, BoardMiddle(board));
    EXPECT_TRUE(app.AnswerAll().empty());
    ASSERT_EQ(b_id, Parked(board));
    const DayColumn& provider = day_data.days[0].columns[0];
    ASSERT_EQ(kProviderColumn, provider.kind) << "the view shows its providers first";
    Drag(board, BoardMiddle(board), sheet, POINT{(provider.left + provider.right) / 2, m.Y(b.a.startUnit) + m.R() / 2});
    EXPECT_TRUE(app.AnswerAll().empty()) << "a provider column takes no appointment";
    EXPECT_EQ(b_id, Parked(board)) << "the refused card is back on the board";
    ExpectStoredAt(b_id, b.column->id, b.a.startUnit);
    ExitProgram(app, main);
}

// One start: the icons' boxes, a wobbling click, a drag ended by Escape or a lost capture; then the
// right button's block edit and patient menu, and a caption click in the week view.
TEST(SheetMouse, IconsAWobblingClickEndedDragsTheRightButtonAndACaptionClick) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    int32_t day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 6, &day));
    const auto open_and_long = [](const DayColumn&, const ApptDisplay& x) {
        return x.patientId != 0 && x.status != kStatusComplete && x.length / 5 >= 2 * practice_tables.blockUnits;
    };
    const Box alerted = FindBox(m, open_and_long);
    ASSERT_NE(nullptr, alerted.column);
    const Box with_case = FindBox(m, [&](const DayColumn& c, const ApptDisplay& x) {
        return open_and_long(c, x) && x.id != alerted.a.id && x.patientId != alerted.a.patientId;
    });
    ASSERT_NE(nullptr, with_case.column);

    // Another workstation gives a patient an alert and links a case to another patient's
    // appointment; the program shows the day afresh, and a click on each icon shows its box.
    const std::string alert = "Premedicate before any treatment";
    {
        std::vector<uint8_t> note(sizeof(NoteHead) + alert.size() + 1, 0);
        const NoteHead head{kNotePatientAlert, alerted.a.patientId, day, {}};
        std::memcpy(note.data(), &head, sizeof head);
        std::memcpy(note.data() + sizeof head, alert.c_str(), alert.size());
        FileGroupDesc desc{};
        DbGroupOf(kNoteFile, &desc);
        DbGroupScope group(desc);
        ASSERT_EQ(kQdbOk, DbAddVariable(kNoteFile, note.data(), static_cast<int>(note.size())));
    }
    const int32_t due = day + 3;
    ASSERT_TRUE(WriteApptToCaseLinks(static_cast<uint32_t>(with_case.a.id), {{12, kLabSent, "Crown Co", due}}));
    ASSERT_TRUE(ChangeElsewhere(static_cast<uint32_t>(with_case.a.id), [](AppointmentRecord& a) { a.labCase = 1; }));
    ShowDate(main, day);
    m.Load(day, kDayView, FirstShownTime());
    const Box with_alert = FindBox(m, [&](const DayColumn&, const ApptDisplay& x) { return x.id == alerted.a.id; });
    const Box with_lab = FindBox(m, [&](const DayColumn&, const ApptDisplay& x) { return x.id == with_case.a.id; });
    ASSERT_NE(nullptr, with_alert.column);
    ASSERT_NE(nullptr, with_lab.column);
    ASSERT_EQ(2, with_alert.a.patientAlert);
    ASSERT_EQ(kLabSent, with_lab.a.labCaseState);

    const int alert_x = MarkerX(m, with_alert, kHitPatientAlert);
    ASSERT_GE(alert_x, 0) << "the patient alert icon of appointment " << with_alert.a.id;
    Click(sheet, POINT{alert_x, m.Y(with_alert.a.startUnit) + 3});
    EXPECT_EQ(alert, app.AnswerBox("Patient Alerts"));
    DdeClient dde;
    EXPECT_EQ(PatientReply(with_alert.a), dde.Request("PatientInfo", "PatientId")) << "the appointment became the selection";
    EXPECT_TRUE(app.AnswerAll().empty()) << "no drag was started: nothing asked";

    const int lab_x = MarkerX(m, with_lab, kHitLabCase);
    ASSERT_GE(lab_x, 0) << "the lab case icon of appointment " << with_lab.a.id;
    Click(sheet, POINT{lab_x, m.Y(with_lab.a.startUnit) + 3});
    EXPECT_EQ("Case 12: Crown Co - Sent, due " + QVN_fmtDateString2000(due), app.AnswerBox("Lab Cases"));
    EXPECT_EQ(PatientReply(with_lab.a), dde.Request("PatientInfo", "PatientId"));
    ExpectStoredAt(with_lab.a.id, with_lab.column->id, with_lab.a.startUnit);  // not moved

    // The last click selected another patient. A press on an open appointment that wobbles a
    // pixel selects it and starts no drag; a real drag ends with Escape or a lost capture.
    const Box a = FindBox(m, open_and_long);
    ASSERT_NE(nullptr, a.column) << "no open appointment of two rows";
    const POINT p = ToScreen(sheet, a.column->left + m.W() + 6, m.Y(a.a.startUnit) + m.R() / 2);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    const DWORD program_thread = GetWindowThreadProcessId(main, nullptr);
    // A press on the box, then a wobble of a pixel or four steps away.
    const auto press_and_move = [&](int steps, int dx, int dy) {
        SendMouseAt(0, p);
        SendMouseAt(MOUSEEVENTF_LEFTDOWN, p);
        for (int i = 1; i <= steps; ++i) SendMouseAt(0, POINT{p.x + dx * i, p.y + dy * i});
        Settle(300);
    };

    // A press that wobbles a pixel selects the appointment and starts no drag.
    press_and_move(1, 1, 1);
    EXPECT_EQ(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "within the drag distance no box floats";
    SendMouseAt(MOUSEEVENTF_LEFTUP, POINT{p.x + 1, p.y + 1});
    EXPECT_TRUE(app.AnswerAll().empty());
    EXPECT_EQ(PatientReply(a.a), dde.Request("PatientInfo", "PatientId")) << "but it is selected";

    // A real drag, then Escape: the box goes, the capture is free and the release moves nothing.
    press_and_move(4, 10, 8);
    ASSERT_NE(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "the drag started";
    SetForegroundWindow(main);
    PressKey(VK_ESCAPE);
    Settle(400);
    EXPECT_EQ(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "Escape ends the drag";
    ASSERT_TRUE(GetGUIThreadInfo(program_thread, &thread));
    EXPECT_EQ(nullptr, thread.hwndCapture) << "the capture is released";
    SendMouseAt(MOUSEEVENTF_LEFTUP, POINT{p.x + 40, p.y + 32});
    EXPECT_TRUE(app.AnswerAll().empty()) << "the release after Escape asks nothing";

    // The system takes the capture away in the middle of a drag (as a window that comes up does).
    press_and_move(4, 10, 8);
    ASSERT_NE(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "the second drag started";
    PostMessageA(sheet, WM_CANCELMODE, 0, 0);
    Settle(400);
    EXPECT_EQ(nullptr, FindWindowExA(sheet, nullptr, "MoveIt", nullptr)) << "a lost capture ends the drag";
    SendMouseAt(MOUSEEVENTF_LEFTUP, POINT{p.x + 40, p.y + 32});
    EXPECT_TRUE(app.AnswerAll().empty());
    RECT clip, screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetClipCursor(&clip);
    EXPECT_TRUE(EqualRect(&clip, &screen)) << "the cursor is free";
    ExpectStoredAt(a.a.id, a.column->id, a.a.startUnit);  // nothing was moved

    // Then the right button on a block with Ideal Day on, and on the sheet's captions.
    HWND header = FindWindowExA(main, nullptr, "SSHeader", nullptr);

    // Ideal Day on: a day of this week with a block that shows on the sheet.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_IDEAL_DAY, 0), 0);
    sheet_state.idealDay = true;
    int32_t block_day = 0;
    int block_unit = -1;
    std::string caption;
    int x = 0;
    for (int32_t d = QVN_SysDate(); d < QVN_SysDate() + 7 && !block_day; ++d) {
        m.Load(d, kDayView, FirstShownTime());
        for (const DayColumn& c : day_data.days[0].columns)
            for (int u = sheet_state.topUnit; u < kUnitsPerDay && m.Visible(u, u + 1) && !block_day; ++u)
                if (c.codes[u] >= kBlockCodeBase && c.codes[u] < kAppointmentCodeBase) {
                    block_day = d;
                    block_unit = u;
                    const TimeBlockRecord& b = c.blocks[static_cast<size_t>(c.codes[u] - kBlockCodeBase)];
                    caption = std::string(b.name, strnlen(b.name, 13)) + " - " + std::string(b.provider, 4);
                    x = (c.left + c.right) / 2;
                }
    }
    ASSERT_NE(0, block_day) << "no time block shows this week";
    ShowDate(main, block_day);
    RightClickAt(ToScreen(sheet, x, m.Y(block_unit) + m.R() / 2));
    HWND edit = app.WaitForDialog(caption.c_str());
    ASSERT_NE(nullptr, edit) << "the block's edit dialog titled " << caption;
    PostMessageA(edit, WM_COMMAND, IDCANCEL, 0);
    Settle(500);

    // On an appointment: its context menu.
    m.Load(block_day, kDayView, FirstShownTime());
    const Box any = FindBox(m, [](const DayColumn&, const ApptDisplay& a) { return a.patientId != 0; });
    ASSERT_NE(nullptr, any.column) << "no patient's appointment on " << block_day;
    RightClickAt(ToScreen(sheet, any.column->left + m.W() + 6, m.Y(any.a.startUnit) + m.R() / 2));
    Settle(500);
    HWND menu = FindWindowA("#32768", nullptr);
    ASSERT_NE(nullptr, menu) << "the patient menu";
    EXPECT_TRUE(IsWindowVisible(menu));
    PressKey(VK_ESCAPE);
    Settle(400);

    // The week view's caption of Sunday, a closed day, shows Sunday in the day view.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_WEEK_VIEW, 0), 0);
    Settle(1500);
    m.Load(block_day, kWeekView, FirstShownTime());
    const DayRecord sunday = day_data.days.front();
    ASSERT_EQ(1, sunday.weekday);
    RECT head;
    GetClientRect(header, &head);
    Click(header, POINT{sunday.left + 20, head.bottom / 4});
    Settle(1500);
    HWND day_button = GetDlgItem(main, CMD_DAY_VIEW);
    ASSERT_NE(nullptr, day_button);
    EXPECT_EQ(BST_CHECKED, SendMessageA(day_button, BM_GETCHECK, 0, 0)) << "the day view";
    // Sunday is closed all day: the sheet's first operatory shows closed time.
    m.Load(sunday.date, kDayView, FirstShownTime());
    const DayColumn* op = nullptr;
    for (const DayColumn& c : day_data.days[0].columns)
        if (c.kind == kOperatoryColumn && !op) op = &c;
    ASSERT_NE(nullptr, op);
    EXPECT_EQ(ReadSheetColours().background2, ScreenPixel(sheet, (op->left + op->right) / 2, m.MidRow(sheet_state.topUnit)))
        << "Sunday's closed colour";
    ExitProgram(app, main);
}
