// The appointment's reasons on the demo practice in a real database file: the reason list's
// lines, what the reasons rebuild (description with its 61-character rule, pattern, length,
// amount, type), the slots, the code and treatment plan reads, and the continuing care plan
// with its questions in order.

#include <ostream>
#include <vector>

#include "appointments/appt_care.h"
#include "appointments/appt_reasons.h"
#include "demo_practice_fixture.h"
#include "suite/records/patient.h"

namespace {

// Demo code ids (their place in the demo's list + 1) and demo procedures of patients 10 and 11.
constexpr uint32_t kD0120 = 1, kD0274 = 4, kD1110 = 5, kD2740 = 8, kD4341 = 10, kD9110 = 12;
constexpr uint32_t kPlannedD2391 = 1, kPlannedD2740 = 2, kPlannedD4341Quadrant = 3, kCompletedD1110 = 4,
                   kPlannedD0210NoTooth = 7;
constexpr uint8_t kCode = 0, kProcedure = 1;
constexpr uint32_t kPlanPatient = 10, kSecondPlanPatient = 11;
constexpr uint32_t kScheduleTwoPatient = 9001;
constexpr uint32_t kThisAppointment = 500, kOtherAppointment = 777;

struct Reason {
    int slot;
    uint32_t id;
    uint8_t kind;
};

AppointmentRecord WithReasons(uint32_t patient, const std::vector<Reason>& reasons) {
    AppointmentRecord a{};
    a.patientId = patient;
    a.date = DemoMonday();
    for (const Reason& r : reasons) {
        a.reasons[r.slot] = r.id;
        a.reasonKinds[r.slot] = r.kind;
    }
    return a;
}

class Reasons : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        // Codes of our own: one without an abbreviation, and abbreviations sized for the
        // description's 61-character rule.
        AddCode(100, "D0999", "");
        AddCode(101, "X1", "AAAAAAAAAAAA");
        AddCode(102, "X2", "BBBBBBBBBBBB");
        AddCode(103, "X3", "CCCCCCCCCCCC");
        AddCode(104, "X4", "DDDDDDDDDDDD");
        AddCode(105, "X5", "WXYZ");
        AddCode(106, "X6", "VWXYZ");
        AddCode(107, "X7", "Q");
        AddCode(108, "X8", "R");
        PatientRecord p{};
        p.id = kScheduleTwoPatient;
        p.guarantorId = p.id;
        PutText(p.lastName, "Contract");
        p.feeSchedule = 2;
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, p));
    }
    // Patient 3's continuing care: PRO attached to another appointment, due three days ago;
    // BWX attached to this one, due on bwx_due.
    void AddPatientThreeCare(int32_t bwx_due) {
        ContinuingCareRecord c{};
        c.patientId = 3;
        c.type = 1;
        c.appointmentId = kOtherAppointment;
        c.dueDate = DemoMonday() - 3;
        c.intervalMonths = 6;
        PutText(c.typeName, "PRO");
        ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, c));
        c.type = 2;
        c.appointmentId = kThisAppointment;
        c.dueDate = bwx_due;
        c.intervalMonths = 12;
        PutText(c.typeName, "BWX");
        ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, c));
    }
    void AddCode(uint32_t id, const char* code, const char* abbreviation) {
        ProcedureCodeRecord c{};
        c.id = id;
        PutText(c.code, code);
        PutText(c.description, std::string("Test code ") + code);
        PutText(c.abbreviation, abbreviation);
        c.timeUnits = 1;
        c.fees[0] = 100;
        ASSERT_EQ(kQdbOk, db_.Add(kProcedureCodeFile, c));
    }
};

}  // namespace

TEST_F(Reasons, ListLinesByKindInSlotOrder) {
    const AppointmentRecord a = WithReasons(kPlanPatient, {{0, kD0120, kCode}, {3, kPlannedD2391, kProcedure}, {6, kPlannedD2740, kProcedure},
                                                           {8, kCompletedD1110, kProcedure}, {9, 4242, kCode}, {11, 4242, kProcedure}, {19, kD9110, 2}});
    std::vector<std::pair<int, std::string>> lines;
    for (const ReasonLine& l : ReasonLines(a)) lines.emplace_back(l.slot, l.text);
    EXPECT_EQ((std::vector<std::pair<int, std::string>>{{0, "Pc\t\tPeriodic oral evaluation    "},
                                                        {3, "Tx\tD2391\tResin composite, one surface\t14\tMO"},
                                                        {6, "Tx\tD2740\tCrown, porcelain/ceramic    \t3\t"},
                                                        {8, "C\t\tProphylaxis, adult          \t(Completed)"},
                                                        {9, "Pc\t\t<not on file>               "},
                                                        {11, "Tx\t\t<not on file>               "},
                                                        {19, "Pc\t\tPalliative treatment        "}}),
              lines);
    // A planned procedure without tooth data has the short line.
    EXPECT_EQ("Tx\tD0210\tFull mouth x-rays           ", ReasonLines(WithReasons(kSecondPlanPatient, {{4, kPlannedD0210NoTooth, kProcedure}})).at(0).text);
}

TEST_F(Reasons, RebuildDescriptionPatternLengthAmountType) {
    const std::vector<uint8_t> all_provider(6, 170);
    // "//////" and "/XXX": two bits per unit, the first unit in the top bits.
    const std::vector<uint8_t> d1110 = {0x55, 0x50, 0, 0, 0, 0};
    const std::vector<uint8_t> d2391 = {0x6A, 0, 0, 0, 0, 0};
    struct Case {
        const char* name;
        uint32_t patient;
        std::vector<Reason> reasons;
        std::string description;
        std::vector<uint8_t> pattern;
        int length, amount, type;
    } cases[] = {
        {"no reasons keep the type", 1, {}, "", all_provider, 0, 0, -1},
        {"one code gives its pattern", kPlanPatient, {{0, kD1110, kCode}}, "Pro", d1110, 60, 11500, 2},
        {"slot order, not the order of adding", kPlanPatient, {{7, kD0120, kCode}, {2, kD0274, kCode}}, "4BWX, Per Exam", all_provider, 40, 14000, 1},
        {"a planned procedure through its code", kPlanPatient, {{4, kPlannedD2391, kProcedure}}, "Comp 1S", d2391, 40, 19500, 3},
        {"the patient's fee schedule 2", kScheduleTwoPatient, {{0, kD2740, kCode}}, "PC Crown", {0x6A, 0xA4, 0, 0, 0, 0}, 70, 106250, 4},
        {"no patient record: schedule 1", 0, {{0, kD2740, kCode}}, "PC Crown", {0x6A, 0xA4, 0, 0, 0, 0}, 70, 125000, 4},
        {"no abbreviation: the code's first four characters", kPlanPatient, {{0, 100, kCode}}, "D099", {0, 0, 0, 0, 0, 0}, 10, 100, 0},
        {"text of 60 still takes the next", 1, {{0, 101, kCode}, {1, 102, kCode}, {2, 103, kCode}, {3, 104, kCode}, {4, 105, kCode}, {5, 107, kCode}, {6, 108, kCode}},
         "AAAAAAAAAAAA, BBBBBBBBBBBB, CCCCCCCCCCCC, DDDDDDDDDDDD, WXYZ, Q", all_provider, 70, 700, 0},
        {"text of 61 takes no more", 1, {{0, 101, kCode}, {1, 102, kCode}, {2, 103, kCode}, {3, 104, kCode}, {4, 106, kCode}, {5, 107, kCode}},
         "AAAAAAAAAAAA, BBBBBBBBBBBB, CCCCCCCCCCCC, DDDDDDDDDDDD, VWXYZ", all_provider, 60, 600, 0},
    };
    for (const Case& c : cases) {
        const ReasonRebuild r = RebuildFromReasons(WithReasons(c.patient, c.reasons), 10);
        EXPECT_EQ(c.description, r.description) << c.name;
        EXPECT_EQ(c.pattern, std::vector<uint8_t>(r.pattern, r.pattern + 6)) << c.name;
        EXPECT_EQ((std::vector<int>{c.length, c.amount, c.type}), (std::vector<int>{r.length, r.amount, r.type})) << c.name;
    }
}

TEST(ReasonSlots, FillTheFirstFreeAndRefuseTheTwentyFirst) {
    AppointmentRecord a{};
    for (uint32_t i = 1; i <= 20; ++i) ASSERT_TRUE(AddReason(&a, i, i % 2 ? kCode : kProcedure)) << i;
    EXPECT_FALSE(AddReason(&a, 21, kCode));
    DeleteReason(&a, 6);
    DeleteReason(&a, 2);
    EXPECT_TRUE(AddReason(&a, 30, kProcedure));  // the first free slot is 2, not the last freed
    EXPECT_EQ(30u, uint32_t(a.reasons[2]));
    EXPECT_EQ(kProcedure, uint8_t(a.reasonKinds[2]));
    EXPECT_EQ(8u, uint32_t(a.reasons[7]));  // the others keep their places
    EXPECT_FALSE(AddReason(&a, 0, kCode));  // 0 marks a free slot: never a reason
    DeleteAllReasons(&a);
    AppointmentRecord empty{};
    EXPECT_EQ(0, std::memcmp(&empty, &a, sizeof a));
}

TEST_F(Reasons, PickersReadCodesInCodeOrderAndThePlan) {
    // In code order, with whether each asks before it is taken as a reason on its own ("?").
    std::string codes;
    for (const ProcedureCodeRecord& c : ReadProcedureCodes()) codes += GetTrimmedText(c.code) + (CodeNeedsToothOrSurface(c) ? "? " : " ");
    EXPECT_EQ("D0120 D0150 D0210 D0274 D0999 D1110 D1120 D2391? D2740? D3310? D4341? D7140? D9110 X1 X2 X3 X4 X5 X6 X7 X8 ", codes);

    std::vector<std::string> plan;
    for (const ProcedureRecord& p : ReadPlannedProcedures(kPlanPatient)) {
        ProcedureCodeRecord code{};
        ASSERT_TRUE(ReadProcedureCode(p.codeId, &code));
        plan.push_back(PlannedPickLine(p, code));
    }
    // Patient 10's completed cleaning is not offered.
    EXPECT_EQ((std::vector<std::string>{"Tx\tD2391\tResin composite, one surface\t14\tMO",
                                        "Tx\tD2740\tCrown, porcelain/ceramic    \t3\t",
                                        "Tx\tD4341\tScaling and root planing, qu\tUR\t"}),
              plan);
    EXPECT_TRUE(ReadPlannedProcedures(3).empty());

    EXPECT_STREQ("This Procedure Code requires additional information (tooth #, surface, etc.). This procedure should "
                 "be treatment planned. Continue?",
                 kNeedsToothQuestion);
}

// --- Continuing care -----------------------------------------------------------------------------

namespace {

const char kNotSetUp[] =
    "One or more of the selected procedures is attached to a Continuing Care Type that was not setup for this "
    "patient.  Setup Continuing Care for this patient using the default settings?";
const char kProElsewhere[] =
    "The PRO Continuing Care for this patient is already attached to another appointment.  Would you like to "
    "attach it to this appointment instead?";
const char kBwxElsewhere[] =
    "The BWX Continuing Care for this patient is already attached to another appointment.  Would you like to "
    "attach it to this appointment instead?";

// What a plan writes, as comparable values.
struct Write {
    uint32_t patient;
    int type;
    uint32_t appointment;
    int32_t due;
    int interval;
    std::string name;
    bool operator==(const Write&) const = default;
};

std::vector<Write> WritesOf(const CarePlan& plan) {
    std::vector<Write> writes;
    for (const ContinuingCareRecord& c : plan.writes)
        writes.push_back({c.patientId, c.type, c.appointmentId, c.dueDate, c.intervalMonths, GetTrimmedText(c.typeName)});
    return writes;
}

void PrintTo(const Write& w, std::ostream* os) {
    *os << "{patient " << w.patient << ", type " << w.type << ", appointment " << w.appointment << ", due " << w.due
        << ", every " << w.interval << ", " << w.name << "}";
}

}  // namespace

TEST_F(Reasons, CarePlanAsksInOrderAndListsWrites) {
    // Patient 10 has PRO (type 1) unattached, due a month on; patient 4 has nothing.
    const int32_t pro_due = DemoMonday() + 30;
    AddPatientThreeCare(DemoMonday() - 3);
    const int32_t day = DemoMonday();
    struct Case {
        const char* name;
        uint32_t patient, appointment;
        std::vector<Reason> reasons;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> asked;
        std::vector<uint16_t> attached;
        std::vector<Write> writes;
    } cases[] = {
        {"unattached record joins, missing type set up after Yes", kPlanPatient, kThisAppointment,
         {{0, kD1110, kCode}, {1, kD0274, kCode}}, {kAnswerYes}, {kNotSetUp}, {1, 2},
         {{10, 2, kThisAppointment, day, 12, "BWX"}, {10, 1, kThisAppointment, pro_due, 6, "PRO"}}},
        {"No to the set-up leaves the missing type out", kPlanPatient, kThisAppointment,
         {{0, kD1110, kCode}, {1, kD0274, kCode}}, {kAnswerNo}, {kNotSetUp}, {1},
         {{10, 1, kThisAppointment, pro_due, 6, "PRO"}}},
        {"a new appointment attaches with id 0 and asks nothing when all exist", kPlanPatient, 0, {{3, kD1110, kCode}}, {}, {},
         {1}, {{10, 1, 0, pro_due, 6, "PRO"}}},
        {"attached elsewhere: Yes moves it here", 3, kThisAppointment, {{0, kD1110, kCode}, {1, kD0274, kCode}},
         {kAnswerYes}, {kProElsewhere}, {1, 2}, {{3, 1, kThisAppointment, day - 3, 6, "PRO"}}},
        {"attached elsewhere: No leaves it; the type no longer given is let go", 3, kThisAppointment,
         {{0, kD1110, kCode}}, {kAnswerNo}, {kProElsewhere}, {},
         {{3, 2, 0, day - 3, 12, "BWX"}}},
        {"both questions, set-up first", 3, kThisAppointment, {{0, kD4341, kCode}, {1, kD1110, kCode}},
         {kAnswerYes, kAnswerYes}, {kNotSetUp, kProElsewhere}, {3, 1},
         {{3, 3, kThisAppointment, day, 3, "PERIO"}, {3, 1, kThisAppointment, day - 3, 6, "PRO"},
          {3, 2, 0, day - 3, 12, "BWX"}}},
        {"a person without a patient record has no continuing care", 0, kThisAppointment, {{0, kD1110, kCode}}, {}, {},
         {}, {}},
    };
    for (const Case& t : cases) {
        ScriptedPrompter prompter;
        for (PromptAnswer answer : t.answers) prompter.Answer(answer);
        const CarePlan plan = PlanCareFromReasons(t.patient, t.appointment, WithReasons(t.patient, t.reasons));
        EXPECT_EQ(t.asked, prompter.Texts()) << t.name;
        for (const PromptRequest& r : prompter.Asked()) {
            EXPECT_EQ("Quorvin Continuing Care", r.title) << t.name;
            EXPECT_EQ(kButtonsYesNo, r.buttons) << t.name;
        }
        std::vector<uint16_t> attached(t.attached);
        attached.resize(5, 0);
        EXPECT_EQ(attached, std::vector<uint16_t>(plan.attached, plan.attached + 5)) << t.name;
        EXPECT_EQ(t.writes, WritesOf(plan)) << t.name;
    }
    // Planning writes nothing: patient 3's records are as they were.
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(3);
    ASSERT_EQ(2u, care.size());
    const uint32_t first = care[0].appointmentId, second = care[1].appointmentId;  // copies: packed records
    EXPECT_EQ(kOtherAppointment, first);
    EXPECT_EQ(kThisAppointment, second);
}

// The pick by hand among the patient's records: their lines, and the chosen type alone attached
// (moved from another appointment only after Yes, the one held before let go).
TEST_F(Reasons, CarePickAttachesTheChosenRecordAlone) {
    const int32_t day = DemoMonday();
    AddPatientThreeCare(day + 30);
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(3);
    std::string lines;
    for (const CarePickLine& line : CarePickLines(care)) lines += std::to_string(line.type) + ":" + line.text + ";";
    EXPECT_EQ("1:PRO\t12/04/2026;2:BWX\t01/06/2027;", lines);

    const struct {
        const char* name;
        uint32_t appointment;
        uint16_t type;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> asked;
        bool picked;
        uint16_t attached;
        std::vector<Write> writes;
    } cases[] = {
        {"the record held here stays and nothing is written", kThisAppointment, 2, {}, {}, true, 2, {}},
        {"Yes moves the other's record here and lets go of the one held", kThisAppointment, 1, {kAnswerYes},
         {kProElsewhere}, true, 1, {{3, 1, kThisAppointment, day - 3, 6, "PRO"}, {3, 2, 0, day + 30, 12, "BWX"}}},
        {"No changes nothing", kThisAppointment, 1, {kAnswerNo}, {kProElsewhere}, false, 0, {}},
        {"a new appointment takes it with id 0, the save puts the id in", 0, 2,
         {kAnswerYes}, {kBwxElsewhere}, true, 2, {{3, 2, 0, day + 30, 12, "BWX"}}},
    };
    for (const auto& t : cases) {
        ScriptedPrompter prompter;
        for (PromptAnswer answer : t.answers) prompter.Answer(answer);
        CarePlan plan{};
        plan.attached[0] = 99;  // left alone on No
        EXPECT_EQ(t.picked, PlanCarePick(care, t.appointment, t.type, &plan)) << t.name;
        EXPECT_EQ(t.asked, prompter.Texts()) << t.name;
        EXPECT_EQ(t.picked ? t.attached : 99, plan.attached[0]) << t.name;
        EXPECT_EQ(0, plan.attached[1]) << t.name;
        EXPECT_EQ(t.writes, WritesOf(plan)) << t.name;
    }
}
