// The real apptbook.exe on a practice kept by a PostgreSQL server, in one start: the demo sheet,
// an appointment moved by another process showing on the refresh timer, then the server stopped
// under the running program (the question, Cancel, the question again at the next action) and
// started again (Retry, and the sheet read anew).

#include "app/refresh.h"
#include "sheet_model.h"

namespace {

#ifdef QVN_PG_CLUSTER_SCRIPT
constexpr const char kClusterScript[] = QVN_PG_CLUSTER_SCRIPT;
#else
constexpr const char kClusterScript[] = "";
#endif

// The host's cluster script on the test run's cluster (Wine starts host programs as they are);
// its state file without the drive letter Wine's side reads it under.
void RunClusterScript(const char* action) {
    std::string state = kPgTestCluster;
    if (state.size() > 2 && state[1] == ':') state.erase(0, 2);
    std::string command = "\"" + std::string(kClusterScript) + "\" " + action + " \"" + state + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Whether the server answers a new connection.
bool ServerAnswers(const std::string& connection) {
    std::string reason;
    return OdbcQuery(connection, "SELECT 1", &reason) == 1;
}

// Moves the appointment into the operatory as another workstation does.
bool MoveTo(uint32_t id, const char operatory[4]) {
    return ChangeElsewhere(id, [&](AppointmentRecord& a) { std::memcpy(a.operatory, operatory, 4); });
}

}  // namespace

TEST(ServerPractice, TheSheetFollowsAnotherStationAndAStoppedServerIsAskedAboutThenReadAnew) {
    std::string reason;
    const std::string server = PgClusterConnection(&reason) + "Database=postgres;";
    ASSERT_TRUE(reason.empty()) << reason;
    AppRun app("", Practice::kDemoBookOnServer, "FRONT", {"NETWORK/NetVersion=1", "NETWORK/UpdateSpeed=5", "NETWORK/STATION=9"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND sheet = Child(main, "SchSheet");
    ASSERT_NE(nullptr, sheet);
    Settle(1500);
    SheetModel model;
    ASSERT_TRUE(model.Open(app, sheet));
    const int32_t day = BookedDay();
    ASSERT_NE(0, day) << "the demo book has no open day with appointments this week";
    ShowDate(main, day);
    model.Load(day, kDayView, FirstShownTime());

    // An appointment the sheet shows whole and an operatory free beside it at its time.
    const DayColumn* to = nullptr;
    const Box box = FindBox(model, [&](const DayColumn& c, const ApptDisplay& a) {
        return a.status != kStatusComplete && (to = FreeColumn(a.startUnit, a.startUnit + std::max(a.length / 5, 1), &c));
    });
    ASSERT_NE(nullptr, box.column) << "no appointment with a free operatory beside it";
    const ApptDisplay* shown = &box.a;
    const uint32_t id = static_cast<uint32_t>(shown->id);
    const COLORREF colour = shown->colour;
    const int y = model.MidRow(shown->startUnit), old_x = box.column->left + model.W() + 2, new_x = to->left + model.W() + 2;
    char old_operatory[4], new_operatory[4];
    std::memcpy(old_operatory, box.column->id, 4);
    std::memcpy(new_operatory, to->id, 4);
    EXPECT_EQ(colour, ScreenPixel(sheet, old_x, y)) << "the demo sheet shows appointment " << id;

    // Another station moves it and tells the stations that show the day.
    ASSERT_TRUE(MoveTo(id, new_operatory));
    ASSERT_EQ(0, AnnounceChange(110, day, shown->provider, new_operatory, id, kChangeArrived));
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(sheet, new_x, y) == colour; }, 12000))
        << "on its timer the sheet shows the appointment in its new operatory";

    // The server stops under the running program: the timer asks; Cancel leaves the sheet as
    // it is and the timer quiet.
    RunClusterScript("halt");
    ASSERT_TRUE(WaitUntil([&] { return !ServerAnswers(server); }, 30000)) << "the server stopped";
    EXPECT_EQ("The practice database cannot be reached.", app.AnswerBox("Appointment Book", IDCANCEL, 15000));
    EXPECT_EQ(nullptr, app.WaitForDialog("Appointment Book", 12000)) << "after Cancel the timer does not ask again";
    EXPECT_EQ(colour, ScreenPixel(sheet, new_x, y)) << "the sheet keeps what it showed";

    // The next action that needs the database asks again; Retry while the server is away asks
    // once more.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), day + 1);
    EXPECT_EQ("The practice database cannot be reached.", app.AnswerBox("Appointment Book", IDRETRY, 15000));
    EXPECT_EQ("The practice database cannot be reached.", app.AnswerBox("Appointment Book", IDCANCEL, 15000));

    // The server comes back; meanwhile the appointment went back to its operatory without a
    // notice. The next action asks, Retry starts a new session, and the sheet is read anew.
    RunClusterScript("resume");
    ASSERT_TRUE(WaitUntil([&] { return ServerAnswers(server); }, 30000)) << "the server started again";
    ASSERT_TRUE(DbRestartSession());
    ASSERT_TRUE(MoveTo(id, old_operatory));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), day);
    EXPECT_EQ("The practice database cannot be reached.", app.AnswerBox("Appointment Book", IDRETRY, 15000));
    EXPECT_EQ(nullptr, app.WaitForDialog("Appointment Book", 3000)) << "the new session reaches the server";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(sheet, old_x, y) == colour; }, 12000))
        << "the day is read from the server again: the appointment back in its operatory";
    EXPECT_NE(colour, ScreenPixel(sheet, new_x, y));

    ExitProgram(app, main);
}
