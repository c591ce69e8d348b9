// Printing the appointment book view and the route slip: the dialog's checks in their order, the
// saved print view's keys, the line lists' country label, and the two job records as the print
// program reads them from the practice's database file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "lists/route_slip.h"
#include "scripted_prompter.h"
#include "setup/print_view.h"
#include "suite/qdb/qdb.h"
#include "suite/settings.h"

namespace {

// Records what the job writer asks of the print library and program; a start answer below 32
// is a program that cannot be started.
struct RecordingProgram final : PrintProgramLink {
    explicit RecordingProgram(int answer, int start_answer = 42) : answer(answer), startAnswer(start_answer) {}
    int CallQvPrint(int query) override { return queries.push_back(query), answer; }
    int StartProgram() override { return ++starts, startAnswer; }
    bool WakeRunning() override { return ++wakes, true; }
    int answer, startAnswer;
    std::vector<int> queries;
    int starts = 0, wakes = 0;
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

// The print queue's records as stored, in the order added, as bytes.
std::vector<std::string> QueueRows() {
    std::vector<std::string> rows;
    for (const PrintJobRecord& r : StoredRecords<PrintJobRecord>(kPrintQueueFile))
        rows.emplace_back(reinterpret_cast<const char*>(&r), sizeof r);
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
        {"a date that does not parse, before all else", [](PrintViewInput& in) { in.date = "13/45/2026"; in.providers.clear(); },
         kPrintViewFocusDate,
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
    // The span itself, in 5-minute units: 55 minutes after the start is refused, an hour accepted.
    ScriptedPrompter spans;
    spans.Answer(kAnswerOk);
    EXPECT_EQ(kPrintViewFocusStartHour, CheckPrintTimeSpan(96, 96 + 11));
    EXPECT_EQ(kPrintViewAccepted, CheckPrintTimeSpan(96, 96 + 12));
    EXPECT_EQ(std::vector<std::string>{"Invalid time span!"}, spans.Texts());
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

    loaded = LoadPrintView();
    EXPECT_EQ(0, std::memcmp(lines, loaded.lines, 9));
    EXPECT_TRUE(loaded.printDayNote && loaded.printTimeAtRight && !loaded.printColours);
    EXPECT_EQ(228, loaded.endTime);

    ASSERT_EQ(14u, PrintLineChoices().size());
    EXPECT_EQ("Soc. Sec. #", PrintLineChoices()[9]);
    EXPECT_EQ("Referred By", PrintLineChoices()[13]);
    QVN_WriteProfileString("Intl", "iCountry", "2");
    EXPECT_EQ("SIN #      ", PrintLineChoices()[9]);
}

class PrintJobRecords : public DemoPracticeTest {};

TEST_F(PrintJobRecords, BookViewAndRouteSlipByteForByteABatchOnlyWakesTheProgram) {
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
    want.U32(276, 1);  // XX9, unknown to the practice, keeps colour 0 at 204
    want.Text(284, "DR1 DR2 XX9 ");
    want.Text(364, "OP2 OP1 ");
    for (int i = 0; i < 9; ++i) want.b[444 + static_cast<size_t>(i)] = static_cast<char>(lines[i]);
    want.U32(458, 1);
    want.U32(462, 1);

    struct Case {
        const char* what;
        bool batch;
        int answer;  // of the print library
        uint32_t printNow, station;
        std::vector<int> queries;
        int starts, wakes;
        PrintJobOutcome outcome;
    };
    const Case cases[] = {
        {"batch: never asks, only wakes", true, 1, 0, 0, {}, 0, 1, PrintJobOutcome::kQueued},
        {"print now", false, 1, 3 * 256 + 7, 3, {1}, 1, 0, PrintJobOutcome::kStarted},
        {"print now, the program takes the queue itself", false, 2, 3 * 256 + 7, 3, {1}, 0, 1, PrintJobOutcome::kQueued},
        {"print now without the program", false, 0, 0, 0, {1}, 0, 1, PrintJobOutcome::kQueued},
    };
    size_t queued = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingProgram program(c.answer);
        EXPECT_EQ(c.outcome, MakePrintJob(request, today, c.batch, program));
        EXPECT_EQ(std::tuple(c.queries, c.starts, c.wakes), std::tuple(program.queries, program.starts, program.wakes));
        const std::vector<std::string> rows = QueueRows();
        ASSERT_EQ(++queued, rows.size());
        Bytes expected = want;
        expected.U16(6, c.printNow);
        expected.U32(646, c.station);
        EXPECT_EQ(expected.b, rows.back());
    }

    // The route slip's job, as a batch job and printed now; appointment 0 places nothing.
    QVN_WriteProfileInt("NETWORK", "STATION", 2);
    Bytes slip;
    slip.U32(10, static_cast<uint32_t>(today));
    slip.Text(14, "rteslip");
    slip.Text(94, "Single Route Slip");
    slip.U32(174, static_cast<uint32_t>(today));
    slip.U16(308, 2);
    slip.U32(310, 4000000123u);
    RecordingProgram route_program(1);
    EXPECT_EQ(PrintJobOutcome::kQueued, SubmitRouteSlip(4000000123u, today, true, route_program));
    EXPECT_EQ(PrintJobOutcome::kStarted, SubmitRouteSlip(4000000123u, today, false, route_program));
    RecordingProgram none(1);
    EXPECT_EQ(PrintJobOutcome::kNotWritten, SubmitRouteSlip(0, today, false, none));
    EXPECT_TRUE(none.queries.empty() && none.starts == 0 && none.wakes == 0);

    const std::vector<std::string> rows = QueueRows();
    ASSERT_EQ(queued + 2, rows.size());
    EXPECT_EQ(slip.b, rows[queued]);
    slip.U16(6, 2 * 256 + 7);
    slip.U32(646, 2);
    EXPECT_EQ(slip.b, rows[queued + 1]);

    // A program that cannot be started: the job waits in the queue, the user is told.
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk).Answer(kAnswerOk);
    RecordingProgram broken(1, 2);
    EXPECT_EQ(PrintJobOutcome::kStartFailed, MakePrintJob(request, today, false, broken));
    EXPECT_EQ(std::vector<std::string>{"The program could not be started.\nCheck that it is installed with the Quorvin suite."},
              prompts.Texts());
    EXPECT_EQ(rows.size() + 1, QueueRows().size());
    // A queue that cannot take the job: nothing queued, nothing started or woken.
    RecordingProgram unused(1);
    QDB_FailNthOperation(1);
    const PrintJobOutcome outcome = MakePrintJob(request, today, false, unused);
    QDB_FailNthOperation(0);
    EXPECT_EQ(PrintJobOutcome::kNotWritten, outcome);
    ASSERT_EQ(2u, prompts.Texts().size());
    EXPECT_EQ(0u, prompts.Texts()[1].find("The print job could not be added to the print queue.\nDatabase error "));
    EXPECT_EQ(0, unused.starts + unused.wakes);
    EXPECT_EQ(rows.size() + 1, QueueRows().size());
}
