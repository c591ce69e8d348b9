// Set Complete on the demo practice: the reasons posted as completed procedures with the fees of
// the patient's fee schedule, the codes that need a tooth refused word for word while the
// appointment still completes, multi-codes, the referral recap and its print job byte for byte,
// the continuing care offer, and a completion that fails at any step leaving every table as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "appointments/appt_care.h"
#include "appointments/appt_reasons.h"
#include "appointments/set_complete.h"
#include "lists/patient_search.h"
#include "data/appointment_actions.h"
#include "data/record_locks.h"
#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/continuing_care.h"
#include "suite/records/patient.h"
#include "suite/records/print_job.h"
#include "suite/records/procedures.h"
#include "suite/settings.h"

namespace {

const std::string kSaysToothCode =
    "Procedure Code requires additional information (tooth #, surface, etc.). Can NOT complete procedure.";
const std::string kSaysToothMultiCode =
    "Multi-Code requires additional information (tooth #, surface, etc.). Can NOT complete procedure.";
const std::string kSaysRecap =
    "One or more procedures were referred to you by another source.\n Would you like to print a Referral Recap?";
const std::string kSaysNewCare = "Create new continuing care appointment?";

// Demo codes by id: 1 D0120 (65.00), 4 D0274 (75.00), 5 D1110 (115.00, continuing care type 1),
// 8 D2740 (needs a tooth). Patient 10's procedure 2 is a planned D2740 on tooth 3.
constexpr uint32_t kExam = 1, kBitewings = 4, kProphy = 5, kCrown = 8;
constexpr uint32_t kPlannedCrown = 2;
constexpr uint32_t kPatient = 10;
constexpr uint32_t kMultiCode = 13, kToothMultiCode = 14;

using FakeWindows = FakeApptWindows;

class FakePrintProgram final : public PrintProgramLink {
public:
    int CallQvPrint(int) override { return 1; }
    int StartProgram() override { return 42; }
    bool WakeRunning() override { return true; }
};

// Chooses every line it is shown, as "Set Complete" on the dialog's first selection does, or
// cancels.
class FakeSteps final : public SetCompleteSteps {
public:
    bool ChooseProcedures(const AppointmentRecord&, const std::vector<CompleteLine>& shown, std::vector<int>* slots) override {
        lines = shown;
        for (const CompleteLine& l : shown) slots->push_back(l.slot);
        return choose;
    }
    void OpenCareAppointment(uint32_t patient_id, const std::vector<uint16_t>& care_types) override {
        carePatient = patient_id;
        careTypes = care_types;
    }
    PrintProgramLink& PrintProgram() override { return print; }
    bool choose = true;
    std::vector<CompleteLine> lines;
    uint32_t carePatient = 0;
    std::vector<uint16_t> careTypes;
    FakePrintProgram print;
};

template <typename Record, typename Edit>
void Change(int file, int key, uint32_t id, Edit edit) {
    ASSERT_EQ(0, EditLocked<Record>(file, key, id, [&](Record& r, bool exists) {
                  edit(r, exists);
                  return LockedEdit::kWrite;
              }));
}

std::vector<ProcedureRecord> CompletedOf(uint32_t appointment_id) {
    std::vector<ProcedureRecord> found;
    for (const ProcedureRecord& p : StoredRecords<ProcedureRecord>(kProcedureFile))
        if (p.kind == kProcedureCompleted && p.appointmentId == appointment_id) found.push_back(p);
    return found;
}

std::vector<PrintJobRecord> QueuedJobs() { return StoredRecords<PrintJobRecord>(kPrintQueueFile); }

class SetComplete : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        // A multi-code of the exam and the bitewings, and one that needs a tooth.
        for (uint32_t id : {kMultiCode, kToothMultiCode}) {
            ProcedureCodeRecord multi{};
            multi.id = id;
            std::snprintf(multi.code, sizeof multi.code, "MULTI%u", id);
            std::snprintf(multi.description, sizeof multi.description, "Package %u", id);
            multi.category = kMultiCodeCategory;
            multi.needs = id == kToothMultiCode ? kNeedsTooth : 0;
            ASSERT_EQ(kQdbOk, db_.Add(kProcedureCodeFile, multi));
        }
        for (uint32_t member : {kExam, kBitewings})
            Change<ProcedureCodeRecord>(kProcedureCodeFile, kProcedureCodeByIdKey, member,
                                        [](ProcedureCodeRecord& c, bool) { c.multiCodeId = kMultiCode; });
        Change<ProcedureCodeRecord>(kProcedureCodeFile, kProcedureCodeByIdKey, kProphy,
                                    [](ProcedureCodeRecord& c, bool) { c.crossCoding = 1; });
        // The patient pays schedule 2 (85 % of the standard fees) and came through a referral.
        Change<PatientRecord>(kPatientFile, kPatientByIdKey, kPatient, [](PatientRecord& p, bool) {
            p.feeSchedule = 2;
            p.referralId = 1;
            p.lastCompletedDate = DemoMonday() - 100;
        });
        QVN_WriteProfileInt("NETWORK", "STATION", 3);
    }
    void TearDown() override { QVN_SetSysDateOverride(0); }

    // Patient 10 on Monday with the prophylaxis, the crown code, the planned crown, the
    // multi-code and the one that needs a tooth; continuing care type 1 attached.
    AppointmentRecord BookForPatient(uint32_t id) {
        AppointmentRecord a = DemoAppt(id, DemoMonday(), 9, 0, 60, "DR1 ", "OP1 ");
        a.patientId = kPatient;
        const uint32_t reasons[] = {kProphy, kCrown, kPlannedCrown, kMultiCode, kToothMultiCode};
        for (int i = 0; i < 5; ++i) a.reasons[i] = reasons[i];
        a.reasonKinds[2] = kReasonIsProcedure;
        ApptSaveExtras extras;
        extras.care.push_back(ContinuingCareRecord{kPatient, 1, id, DemoMonday(), 6, 0, "PROPHY", {}});
        ScriptedPrompter yes;
        for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
        EXPECT_TRUE(SaveAppointment(true, nullptr, a, nullptr, nullptr, &extras));
        AppointmentRecord stored{};
        EXPECT_EQ(kQdbOk, ReadAppointment(id, &stored));
        return stored;
    }
};

}  // namespace

TEST_F(SetComplete, PostsEveryChosenReasonSkipsTheToothCodesAndStillCompletes) {
    BookForPatient(300);
    QVN_SetSysDateOverride(DemoMonday() + 1);
    FakeWindows windows;
    FakeSteps steps;
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk).Answer(kAnswerOk).Answer(kAnswerYes).Answer(kAnswerYes);
    ASSERT_EQ(1, SetAppointmentComplete(windows, steps, 300));

    // Every reason is offered, in slot order; only the prophylaxis takes cross coding.
    std::vector<std::pair<int, bool>> slots;
    for (const CompleteLine& l : steps.lines) slots.push_back({l.slot, l.crossCoding});
    EXPECT_EQ((std::vector<std::pair<int, bool>>{{0, true}, {1, false}, {2, false}, {3, false}, {4, false}}), slots);
    EXPECT_EQ((std::vector<std::string>{kSaysToothCode, kSaysToothMultiCode, kSaysRecap, kSaysNewCare}), prompts.Texts());
    EXPECT_EQ(std::tuple(std::string("Print Referral Recap"), kIconQuestion), std::tuple(prompts.Asked().at(2).title, prompts.Asked()[2].icon));
    EXPECT_EQ(std::vector<uint32_t>{300}, windows.changed);
    EXPECT_EQ(std::tuple(kPatient, std::vector<uint16_t>{1}), std::tuple(steps.carePatient, steps.careTypes))
        << "the prophylaxis met the attached recall";

    // New completed procedures at schedule 2's fees: the prophylaxis, then the multi-code's
    // members; the planned crown turned completed at its planned fee.
    std::vector<std::pair<uint32_t, uint32_t>> code_fee;
    uint32_t prophy_procedure = 0;
    for (const ProcedureRecord& p : CompletedOf(300)) {
        code_fee.push_back({+p.codeId, +p.fee});
        EXPECT_EQ(DemoMonday(), +p.date);
        if (p.codeId == kProphy) prophy_procedure = +p.id;
    }
    EXPECT_EQ((std::vector<std::pair<uint32_t, uint32_t>>{{kCrown, 125000}, {kProphy, 9775}, {kExam, 5525}, {kBitewings, 6375}}),
              code_fee);

    AppointmentRecord stored{};
    ASSERT_EQ(kQdbOk, ReadAppointment(300, &stored));
    EXPECT_EQ(150, +stored.status);
    ASSERT_NE(0u, prophy_procedure);
    std::vector<std::pair<uint32_t, int>> reasons;
    for (int i = 0; i < 5; ++i) reasons.push_back({+stored.reasons[i], +stored.reasonKinds[i]});
    EXPECT_EQ((std::vector<std::pair<uint32_t, int>>{
                  {prophy_procedure, 1}, {kCrown, 0}, {kPlannedCrown, 1}, {kMultiCode, 0}, {kToothMultiCode, 0}}),
              reasons);
    PatientRecord patient{};
    ASSERT_TRUE(ReadPatient(kPatient, &patient));
    EXPECT_EQ(DemoMonday(), +patient.lastCompletedDate);
    std::vector<std::pair<uint16_t, uint32_t>> care;
    for (const ContinuingCareRecord& c : ReadPatientCare(kPatient)) care.push_back({+c.type, +c.appointmentId});
    EXPECT_EQ((std::vector<std::pair<uint16_t, uint32_t>>{{1, 0}}), care) << "the recall lets the appointment go";

    // The recap's job, byte for byte: zero-filled but for the print-now code of station 3, the
    // date made, the report name terminated by the fill, the title, today and the patient.
    const std::vector<PrintJobRecord> jobs = QueuedJobs();
    ASSERT_EQ(1u, jobs.size());
    std::vector<uint8_t> expected(1330, 0);
    const auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) expected[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    expected[6] = 7;
    expected[7] = 3;
    put32(10, static_cast<uint32_t>(DemoMonday() + 1));
    std::memcpy(&expected[14], "RefRecap.rtc", 12);
    std::memcpy(&expected[94], "Referral Recap", 14);
    put32(174, static_cast<uint32_t>(DemoMonday() + 1));
    put32(178, kPatient);
    put32(646, 3);
    std::vector<uint8_t> queued(1330);
    std::memcpy(queued.data(), &jobs[0], 1330);
    EXPECT_EQ(expected, queued);

    // Set complete once more: refused.
    ScriptedPrompter again;
    again.Answer(kAnswerOk);
    EXPECT_EQ(0, SetAppointmentComplete(windows, steps, 300));
    EXPECT_EQ(std::vector<std::string>{"This appointment has previously been set complete!"}, again.Texts());
}

TEST_F(SetComplete, NewPatientCancelAndTheRecapSettingChangeNothingOrAskNothing) {
    AppointmentRecord new_patient = DemoAppt(301, DemoMonday(), 11, 0, 30, "DR1 ", "OP2 ");
    new_patient.reasons[0] = kProphy;
    Book(new_patient);
    BookForPatient(302);
    struct Case { const char* what; uint32_t id; bool choose; int refPrintRemind; std::vector<PromptAnswer> answers;
                  std::vector<std::string> texts; int result; uint8_t status; };
    const Case cases[] = {
        {"new patient", 301, true, 0, {kAnswerOk}, {"New Patient Appointment. Can NOT complete procedures."}, 0, 0},
        {"cancelled", 302, false, 0, {}, {}, 0, 0},
        {"recap switched off", 302, true, 1, {kAnswerOk, kAnswerOk, kAnswerNo}, {kSaysToothCode, kSaysToothMultiCode, kSaysNewCare}, 1, 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QVN_WriteProfileInt("GENERAL", "RefPrintRemind", c.refPrintRemind);
        const std::string before = StoredRows(db_.Dir(), {"g9", "g18", "g55", "g77", "g100"});
        FakeWindows windows;
        FakeSteps steps;
        steps.choose = c.choose;
        ScriptedPrompter prompts;
        for (PromptAnswer answer : c.answers) prompts.Answer(answer);
        EXPECT_EQ(c.result, SetAppointmentComplete(windows, steps, c.id));
        EXPECT_EQ(c.texts, prompts.Texts());
        AppointmentRecord stored{};
        ASSERT_EQ(kQdbOk, ReadAppointment(c.id, &stored));
        EXPECT_EQ(c.status, +stored.status);
        EXPECT_EQ(c.result == 0, before == StoredRows(db_.Dir(), {"g9", "g18", "g55", "g77", "g100"}));
        EXPECT_EQ(0u, steps.carePatient) << "No to the new continuing care appointment";
        EXPECT_TRUE(QueuedJobs().empty());
    }
}

TEST_F(SetComplete, ACompletionThatFailsAtAnyStepLeavesTheDatabaseAsItWas) {
    const AppointmentRecord a = BookForPatient(303);
    QVN_WriteProfileInt("GENERAL", "RefPrintRemind", 1);
    CompletionRequest request;
    request.shown = a;
    request.slots = {0, 2, 3};  // the prophylaxis, the planned crown, the multi-code
    request.codes = ReadProcedureCodes();
    request.today = DemoMonday() + 1;
    // The id counter (g16) is left out: ids handed out for a change that failed are not reused.
    const auto rows = [&] { return StoredRows(db_.Dir(), {"g9", "g18", "g44", "g55", "g100"}); };
    CompletionOutcome outcome;
    const int failures = FailEachOperationInTurn("completion", rows, [&] {
        outcome = CompletionOutcome{};
        return CompleteStoredAppointment(request, &outcome) == ApptChangeResult::kDone;
    });
    EXPECT_EQ(3, outcome.posted);
    EXPECT_GE(failures, 20) << "every id, lock, read and write of it can fail";
    AppointmentRecord stored{};
    ASSERT_EQ(kQdbOk, ReadAppointment(303, &stored));
    EXPECT_EQ(150, +stored.status);
    EXPECT_EQ(4u, CompletedOf(303).size());
}

TEST(SetCompleteDialog, PlacementAndTheCrossCodingNote) {
    // Centred over the client area; one wider than it at the client's corner.
    struct Place { int width, height, x, y; };
    for (const Place& p : {Place{400, 300, 300, 200}, Place{801, 300, 100, 50}}) {
        int x = -1, y = -1;
        PlaceOverClient(ScreenRect{100, 50, 900, 650}, p.width, p.height, &x, &y);
        EXPECT_EQ((std::pair<int, int>{p.x, p.y}), (std::pair<int, int>{x, y})) << p.width << "x" << p.height;
    }
    const std::vector<CompleteLine> lines = {{0, "a", false}, {1, "b", true}, {2, "c", false}};
    EXPECT_TRUE(ShowCrossCodingNote(lines, {false, true, false}));
    EXPECT_FALSE(ShowCrossCodingNote(lines, {true, false, true}));
}
