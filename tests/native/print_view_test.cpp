// Printing the appointment book view and the route slip: the dialog's checks in their order, what
// it opens with, the saved print view's keys, and the two job records as the print program reads
// them from the practice's database file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "demo_practice_fixture.h"
#include "lists/route_slip.h"
#include "scripted_prompter.h"
#include "setup/print_view.h"
#include "sqlite3.h"
#include "suite/settings.h"
#include "views/active_view.h"

namespace {

class RecordingProgram final : public PrintProgramLink {
public:
    explicit RecordingProgram(int answer) : answer_(answer) {}
    int CallQvPrint(int query) override {
        queries.push_back(query);
        return answer_;
    }
    int StartProgram() override {
        ++starts;
        return 42;
    }
    bool WakeRunning() override {
        ++wakes;
        return true;
    }
    std::vector<int> queries;
    int starts = 0, wakes = 0;

private:
    int answer_;
};

ResourceId Id(const char* text) {
    ResourceId id = {' ', ' ', ' ', ' '};
    std::memcpy(id.data(), text, std::strlen(text));
    return id;
}

PrintViewInput GoodInput() {
    PrintViewInput in;
    in.date = "12/7/2026";
    in.providers = {Id("DR1")};
    in.operatories = {Id("OP1")};
    in.startHour = "8";
    in.endHour = "5";
    in.endPm = true;
    return in;
}

// The print queue's records straight from the practice's database file, in the order added.
std::vector<std::string> QueueRows(const std::string& dir) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_open_v2((dir + "/qvn.db").c_str(), &db, SQLITE_OPEN_READONLY, nullptr));
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rec FROM g77 ORDER BY recno", -1, &st, nullptr);
    EXPECT_NE(nullptr, st);
    while (st && sqlite3_step(st) == SQLITE_ROW)
        rows.emplace_back(static_cast<const char*>(sqlite3_column_blob(st, 0)), static_cast<size_t>(sqlite3_column_bytes(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// A job written out by hand: 1330 zero bytes, then each field little-endian at its offset.
struct Bytes {
    std::string b = std::string(1330, '\0');
    void U16(size_t at, uint32_t v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    void U32(size_t at, uint32_t v) {
        U16(at, v & 0xFFFF);
        U16(at + 2, v >> 16);
    }
    void Text(size_t at, const char* text) { std::memcpy(&b[at], text, std::strlen(text)); }
};

}  // namespace

TEST(PrintView, ChecksRefuseInTheirOrderWithTheirTextsAndFocus) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    struct Case {
        const char* what;
        void (*change)(PrintViewInput&);
        PrintViewFocus focus;
        const char* text;  // nullptr: accepted
    };
    const Case cases[] = {
        {"a date that does not parse", [](PrintViewInput& in) { in.date = "13/45/2026"; }, kPrintViewFocusDate,
         "Please enter a valid date (for example 3/14/2026)."},
        {"the date comes first", [](PrintViewInput& in) { in.date = ""; in.providers.clear(); }, kPrintViewFocusDate,
         "Please enter a valid date (for example 3/14/2026)."},
        {"no provider, no operatory", [](PrintViewInput& in) { in.providers.clear(); in.operatories.clear(); },
         kPrintViewFocusProviders, "At least one provider must be selected"},
        {"no operatory", [](PrintViewInput& in) { in.operatories.clear(); in.startHour = "x"; }, kPrintViewFocusOperatories,
         "At least one operatory must be selected"},
        {"start hour 13", [](PrintViewInput& in) { in.startHour = "13"; }, kPrintViewFocusStartHour,
         "Please enter a valid time (for example 9:30am)."},
        {"end hour empty", [](PrintViewInput& in) { in.endHour = ""; }, kPrintViewFocusEndHour,
         "Please enter a valid time (for example 9:30am)."},
        {"8 am to 8 am", [](PrintViewInput& in) { in.endHour = "8"; in.endPm = false; }, kPrintViewFocusStartHour,
         "Invalid time span!"},
        {"5 pm to 8 am", [](PrintViewInput& in) { in.startHour = "5"; in.startPm = true; in.endHour = "8"; in.endPm = false; },
         kPrintViewFocusStartHour, "Invalid time span!"},
        {"11 am to 12 pm: one hour", [](PrintViewInput& in) { in.startHour = "11"; in.endHour = "12"; }, kPrintViewAccepted,
         nullptr},
        {"12 am to 1 am: one hour", [](PrintViewInput& in) { in.startHour = " 12 "; in.endHour = "1"; in.endPm = false; },
         kPrintViewAccepted, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPrompter prompts;
        if (c.text) prompts.Answer(kAnswerOk);
        PrintViewInput in = GoodInput();
        c.change(in);
        PrintViewRequest request;
        EXPECT_EQ(c.focus, CheckPrintView(in, &request));
        EXPECT_EQ(c.text ? std::vector<std::string>{c.text} : std::vector<std::string>{}, prompts.Texts());
    }
    // The refusals are stop boxes titled "Appointment Book".
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk);
    PrintViewInput in = GoodInput();
    in.providers.clear();
    PrintViewRequest request;
    CheckPrintView(in, &request);
    ASSERT_EQ(1u, prompts.Asked().size());
    EXPECT_EQ("Appointment Book", prompts.Asked()[0].title);
    EXPECT_EQ(kIconStop, prompts.Asked()[0].icon);

    // The span itself, in 5-minute units: 55 minutes after the start is refused, an hour accepted.
    ScriptedPrompter spans;
    spans.Answer(kAnswerOk);
    EXPECT_EQ(kPrintViewFocusStartHour, CheckPrintTimeSpan(96, 96 + 11));
    EXPECT_EQ(kPrintViewAccepted, CheckPrintTimeSpan(96, 96 + 12));
    EXPECT_EQ(std::vector<std::string>{"Invalid time span!"}, spans.Texts());
}

TEST(PrintView, OpensFromTheCurrentViewAndKeepsTimeAtRightForTheRun) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ViewDefinition view;
    view.providerCount = 2;
    std::memcpy(view.providers[0], "DR2 ", 4);
    std::memcpy(view.providers[1], "DR1 ", 4);
    view.operatoryCount = 1;
    std::memcpy(view.operatories[0], "OP3 ", 4);
    view.days[0] = 2;
    view.days[1] = 3;
    view.showAmount = true;
    view.beginTime = 7 * 12;
    view.endTime = 18 * 12;
    const uint8_t lines[9] = {13, 0, 1, 9, 2, 3, 4, 5, 6};
    std::memcpy(view.infoOrder, lines, 9);
    ASSERT_EQ(1, SaveViewDefinition(4, view));
    view_state = ViewState{};
    view_state.active.number = 4;

    const int32_t monday = QVN_DateIn(12, 7, 2026);
    PrintViewOpening o = OpenPrintView(0, monday);
    EXPECT_EQ(monday, o.date) << "no date shown: today";
    EXPECT_EQ((std::vector<ResourceId>{Id("DR2"), Id("DR1")}), o.providers);
    EXPECT_EQ(std::vector<ResourceId>{Id("OP3")}, o.operatories);
    EXPECT_TRUE(o.options.printAmount);
    EXPECT_EQ(84, o.options.startTime);
    EXPECT_EQ(216, o.options.endTime);
    EXPECT_EQ(0, std::memcmp(lines, o.options.lines, 9));
    EXPECT_FALSE(o.options.printColours || o.options.printDayNote || o.options.printIdealDay || o.options.printTimeAtRight);
    EXPECT_EQ(monday + 3, OpenPrintView(monday + 3, monday).date) << "the sheet's first date";

    // A print with "time at right" ticked: the next opening has it ticked, until a print without.
    for (bool at_right : {true, false, true}) {
        PrintViewInput in = GoodInput();
        in.options.printTimeAtRight = at_right;
        PrintViewRequest request;
        ASSERT_EQ(kPrintViewAccepted, CheckPrintView(in, &request));
        EXPECT_EQ(at_right, OpenPrintView(0, monday).options.printTimeAtRight);
    }

    // A view number the settings cannot hold: nothing preselected.
    view_state.active.number = 21;
    o = OpenPrintView(0, monday);
    EXPECT_TRUE(o.providers.empty());
    EXPECT_TRUE(o.operatories.empty());
    EXPECT_FALSE(o.options.printAmount);
    view_state = ViewState{};
}

TEST(PrintView, SavedPrintViewKeysAndTheLineListsOfTheCountry) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    // Nothing saved: the defaults.
    PrintViewOptions loaded = LoadPrintView();
    const uint8_t defaults[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(0, std::memcmp(defaults, loaded.lines, 9));
    EXPECT_FALSE(loaded.printAmount || loaded.printColours || loaded.printDayNote || loaded.printIdealDay ||
                 loaded.printTimeAtRight);
    EXPECT_EQ(96, loaded.startTime);
    EXPECT_EQ(204, loaded.endTime);

    PrintViewOptions o;
    const uint8_t lines[9] = {13, 12, 11, 10, 0, 1, 2, 3, 9};
    std::memcpy(o.lines, lines, 9);
    o.printAmount = true;
    o.printColours = false;
    o.printDayNote = true;
    o.printIdealDay = true;
    o.printTimeAtRight = true;
    o.startTime = 7 * 12;
    o.endTime = 19 * 12;
    SavePrintView(o);
    const std::pair<const char*, const char*> keys[] = {
        {"ADIline1", "13"}, {"ADIline2", "12"}, {"ADIline3", "11"}, {"ADIline4", "10"}, {"ADIline5", "0"},
        {"ADIline6", "1"},  {"ADIline7", "2"},  {"ADIline8", "3"},  {"ADIline9", "9"},  {"PrintAmount", "1"},
        {"PrintColor", "0"}, {"PrintDayNote", "1"}, {"PrintIdealDay", "1"}, {"PrintTimeToRight", "1"},
        {"TV_Start", "84"}, {"TV_End", "228"},
    };
    for (const auto& [key, value] : keys) EXPECT_EQ(value, QVN_ReadProfileText("APPTBOOK", key, "(none)")) << key;

    QVN_WriteProfileString("APPTBOOK", "ADIline2", "7");
    QVN_WriteProfileString("APPTBOOK", "TV_End", "180");
    loaded = LoadPrintView();
    EXPECT_EQ(7, loaded.lines[1]);
    EXPECT_EQ(13, loaded.lines[0]);
    EXPECT_TRUE(loaded.printDayNote && loaded.printTimeAtRight && !loaded.printColours);
    EXPECT_EQ(84, loaded.startTime);
    EXPECT_EQ(180, loaded.endTime);

    const std::vector<std::string> usa = {"[none]",     "Name",      "Appt Reason", "Phone",      "Provider",
                                          "Amount",     "Appt Type", "Staff",       "Work Phone", "Soc. Sec. #",
                                          "Pref. Name", "Chart Num", "Name/Pref.",  "Referred By"};
    EXPECT_EQ(usa, PrintLineChoices());
    QVN_WriteProfileString("Intl", "iCountry", "2");
    ASSERT_EQ(14u, PrintLineChoices().size());
    EXPECT_EQ("SIN #      ", PrintLineChoices()[9]);
}

class PrintJobRecords : public DemoPracticeTest {};

TEST_F(PrintJobRecords, TheBookViewJobByteForByteAndABatchOnlyWakesTheProgram) {
    QVN_WriteProfileInt("NETWORK", "STATION", 3);
    PrintViewInput in = GoodInput();
    in.providers = {Id("DR1"), Id("DR2"), Id("XX9")};
    in.operatories = {Id("OP2"), Id("OP1")};
    in.startHour = "7";
    in.endHour = "6";
    const uint8_t lines[9] = {1, 13, 0, 9, 2, 3, 4, 5, 6};
    std::memcpy(in.options.lines, lines, 9);
    in.options.printAmount = true;
    in.options.printIdealDay = true;
    in.options.printTimeAtRight = true;
    PrintViewRequest request;
    ASSERT_EQ(kPrintViewAccepted, CheckPrintView(in, &request));

    const int32_t today = QVN_DateIn(12, 1, 2026);
    const int32_t day = QVN_DateIn(12, 7, 2026);
    Bytes want;
    want.U32(10, static_cast<uint32_t>(today));
    want.Text(14, "ApptBook");
    want.Text(94, "Appointment Book View(12/07/2026)");
    want.U32(174, static_cast<uint32_t>(today));
    want.U32(178, static_cast<uint32_t>(day));
    want.U32(182, static_cast<uint32_t>(day));
    want.U16(186, 2);
    want.U16(188, 7 * 60);
    want.U16(190, 18 * 60);
    want.U16(192, 3);
    want.U16(194, 2);
    want.U32(196, 0x00D08040);
    want.U32(200, 0x004080D0);
    want.U32(204, 0);  // a provider the practice does not know
    want.U32(276, 1);
    want.U32(280, 0);
    want.Text(284, "DR1 DR2 XX9 ");
    want.Text(364, "OP2 OP1 ");
    for (int i = 0; i < 9; ++i) want.b[444 + static_cast<size_t>(i)] = static_cast<char>(lines[i]);
    want.U32(454, 0);
    want.U32(458, 1);
    want.U32(462, 1);

    struct Case {
        const char* what;
        bool batch;
        int answer;  // of the print library
        uint32_t printNow, station;
        std::vector<int> queries;
        int starts, wakes;
    };
    const Case cases[] = {
        {"batch", true, 1, 0, 0, {}, 0, 1},
        {"print now", false, 1, 3 * 256 + 7, 3, {1}, 1, 0},
        {"print now without the print program", false, 0, 0, 0, {1}, 0, 1},
    };
    size_t queued = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingProgram program(c.answer);
        EXPECT_NE(PrintJobOutcome::kNotWritten, MakePrintJob(request, today, c.batch, program));
        EXPECT_EQ(c.queries, program.queries);
        EXPECT_EQ(c.starts, program.starts);
        EXPECT_EQ(c.wakes, program.wakes);
        const std::vector<std::string> rows = QueueRows(db_.Dir());
        ASSERT_EQ(++queued, rows.size());
        Bytes expected = want;
        expected.U16(6, c.printNow);
        expected.U32(646, c.station);
        EXPECT_EQ(expected.b, rows.back());
    }
}

TEST_F(PrintJobRecords, TheRouteSlipJobByteForByte) {
    QVN_WriteProfileInt("NETWORK", "STATION", 2);
    const int32_t today = QVN_DateIn(12, 1, 2026);
    Bytes want;
    want.U32(10, static_cast<uint32_t>(today));
    want.Text(14, "rteslip");
    want.Text(94, "Single Route Slip");
    want.U32(174, static_cast<uint32_t>(today));
    want.U16(308, 2);
    want.U32(310, 4000000123u);

    RecordingProgram batch_program(1);
    EXPECT_EQ(PrintJobOutcome::kQueued, SubmitRouteSlip(4000000123u, today, true, batch_program));
    EXPECT_EQ(0, batch_program.starts) << "a batch job never starts the print program";
    EXPECT_EQ(1, batch_program.wakes);
    RecordingProgram now_program(1);
    EXPECT_EQ(PrintJobOutcome::kStarted, SubmitRouteSlip(4000000123u, today, false, now_program));
    EXPECT_EQ(1, now_program.starts);
    RecordingProgram none(1);
    EXPECT_EQ(PrintJobOutcome::kNotWritten, SubmitRouteSlip(0, today, false, none));
    EXPECT_TRUE(none.queries.empty() && none.starts == 0 && none.wakes == 0);

    const std::vector<std::string> rows = QueueRows(db_.Dir());
    ASSERT_EQ(2u, rows.size()) << "appointment 0 places nothing";
    EXPECT_EQ(want.b, rows[0]);
    want.U16(6, 2 * 256 + 7);
    want.U32(646, 2);
    EXPECT_EQ(want.b, rows[1]);
}
