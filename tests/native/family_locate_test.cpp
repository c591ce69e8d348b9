// The family appointment list and the locate search on a practice database of their own: the
// lines byte for byte, their order, the two actions of the family list, the name key, the line
// limit and the messages of a search; and a note written, read back and cleared.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "appointments/family_list.h"
#include "appointments/locate.h"
#include "appointments/note_store.h"
#include "appointments/treatment_plan.h"
#include "data/record_text.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/continuing_care.h"
#include "suite/records/patient.h"
#include "suite/records/procedures.h"

namespace {

PatientRecord Patient(uint32_t id, uint32_t guarantor, uint8_t relation, const char* last, const char* first, char initial,
                      int32_t birth) {
    PatientRecord p{};
    p.id = id;
    p.guarantorId = guarantor;
    p.relation = relation;
    PutText(p.lastName, last);
    PutText(p.firstName, first);
    p.middleInitial = initial;
    p.birthDate = birth;
    p.status = kPatientActive;
    return p;
}

AppointmentRecord Appointment(uint32_t id, uint32_t patient, const char* name, int32_t date, int hour, int minute,
                              const char* provider) {
    AppointmentRecord a = DemoAppt(id, date, hour, minute, 30, provider, "OP1");
    a.patientId = patient;
    PutText(a.patientName, name);
    a.unscheduled = date == 0 ? 1 : 0;
    return a;
}

ContinuingCareRecord Care(uint32_t patient, uint16_t type, const char* name, int32_t due, uint32_t appointment) {
    ContinuingCareRecord c{};
    c.patientId = patient;
    c.type = type;
    PutText(c.typeName, name);
    c.dueDate = due;
    c.appointmentId = appointment;
    return c;
}

template <typename Line>
std::vector<std::string> Texts(const std::vector<Line>& lines) {
    std::vector<std::string> texts;
    for (const Line& l : lines) texts.push_back(l.text);
    return texts;
}

class FamilyLocateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db_.Ok()); }
    // The Doe family: John the guarantor, Jane his wife, Tim their son.
    void AddFamily() {
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, Patient(10, 10, kRelationSingle, "Doe", "John", ' ', QVN_DateIn(3, 2, 1976))));
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, Patient(11, 10, kRelationSpouse, "Doe", "Jane", 'A', QVN_DateIn(12, 7, 1980))));
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, Patient(12, 10, kRelationChild, "Doe", "Tim", ' ', QVN_DateIn(12, 8, 2016))));
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, Patient(20, 20, kRelationSingle, "Roe", "Ann", ' ', 0)));
        // Jane: two future, one past and one unscheduled appointment, arriving out of date order;
        // a recall attached to one of them and one without an appointment.
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appointment(501, 11, "Doe, Jane A", QVN_DateIn(12, 14, 2026), 14, 0, "HYG1")));
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appointment(502, 11, "Doe, Jane A", QVN_DateIn(11, 17, 2026), 10, 0, "DR2")));
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appointment(503, 11, "Doe, Jane A", 0, 0, 0, "DR1")));
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appointment(504, 11, "Doe, Jane A", QVN_DateIn(12, 10, 2026), 9, 30, "DR1")));
        ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, Care(11, 1, "PROPHY", QVN_DateIn(12, 14, 2026), 501)));
        ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, Care(11, 2, "FLUOR", QVN_DateIn(1, 15, 2027), 0)));
    }
    PracticeTestDatabase db_;
};

}  // namespace

TEST_F(FamilyLocateTest, FamilyAndMemberLinesInTheirOrderOnASessionOfTheirOwn) {
    AddFamily();
    const QdbSession outer = db_state.session;
    FamilyMembers family;
    std::vector<ListLine> jane;
    {
        FamilyListSession own;
        ASSERT_TRUE(own.Ok());
        EXPECT_NE(outer, db_state.session);
        family = FamilyMemberLines(12, DemoMonday());
        jane = MemberAppointmentLines(11, DemoMonday());
    }
    EXPECT_EQ(outer, db_state.session) << "the main session is back";
    PatientRecord back{};
    EXPECT_EQ(kQdbOk, DbFindRecord([] { FileGroupDesc d{}; DbGroupOf(kPatientFile, &d); return d; }(), kPatientByIdKey,
                                   DbPrepareKey(&family.lines.at(0).patientId), 4, &back))
        << "the main session still reads";

    EXPECT_EQ(0, family.error);
    // Tim's birthday of this year is tomorrow.
    EXPECT_EQ((std::vector<std::string>{" Guar \tDoe, John\t 50  CC:<none>", " Spouse\tDoe, Jane A\t 46  CC:PROPHY 12/14/26 +",
                                        "Child\tDoe, Tim\t  9  CC:<none>"}),
              Texts(family.lines));
    EXPECT_EQ(12u, family.lines.at(2).patientId);

    EXPECT_EQ((std::vector<std::string>{
                  "[No Appointment]\t\t\tCC:FLUOR 01/15/2027",
                  "<Unscheduled Appt>\tDR1 \t\t\t",
                  "12/10/2026  Thu\t09:30am\tDR1 \t\t\t",
                  "12/14/2026  Mon\t02:00pm\tHYG1\tCC:PROPHY\t",
                  "_______________________________",
                  "*11/17/2026  Tue\t10:00am\tDR2 \t\t\t",
              }),
              Texts(jane));
    ASSERT_EQ(6u, jane.size());
    EXPECT_EQ(2, jane[0].careType);
    EXPECT_EQ(503u, jane[1].appointmentId);
    EXPECT_EQ(502u, jane[5].appointmentId);

    EXPECT_TRUE(FamilyMemberLines(999, DemoMonday()).lines.empty()) << "no such patient: an empty list";
}

TEST(ListOrder, RanksInsertBeforeTheFirstGreaterAndStopRankingAfter99Lines) {
    const int32_t today = DemoMonday();
    RankedLines lines;
    // (The ranks of the kinds of line are checked on the family list above.)
    lines.Add(AppointmentRank(today - 3, today), {"past-3"});
    lines.Add(AppointmentRank(today, today), {"today"});
    lines.Add(CareRank(today - 400), {"care-400"});
    lines.Add(AppointmentRank(0, today), {"unscheduled-b"});
    EXPECT_EQ((std::vector<std::string>{"care-400", "unscheduled-b", "today", "past-3"}), Texts(lines.Lines()));
    for (int i = 0; i < 100; ++i) lines.Add(AppointmentRank(today + 100 + i, today), {"f"});
    ASSERT_EQ(104u, lines.Size());
    EXPECT_EQ("unscheduled-b", lines.Lines()[1].text) << "the first 99 lines keep their ranks";
    lines.Add(AppointmentRank(0, today), {"late unscheduled"});
    EXPECT_EQ("late unscheduled", lines.Lines().back().text) << "after 99 ranked lines, lines are appended";
}

TEST(FamilyListActions, ViewAndNewFollowTheSelectionAndTheMode) {
    const ListLine appointment{"12/10/2026  Thu\t09:30am\tDR1 \t\t\t", ListLineKind::kAppointment, 504, 0};
    const ListLine separator{"_______________________________", ListLineKind::kSeparator, 0, 0};
    const ListLine care{"[No Appointment]\t\t\tCC:FLUOR 01/15/2027", ListLineKind::kCareWithoutAppointment, 0, 2};
    const std::string refused = "No appointment selected! View canceled.";
    const std::string leave_new = "Current new appointment information will not be saved. Continue?";
    const std::string leave_old = "Changes to the current appointment will not be saved. Continue?";
    struct Case {
        const char* name;
        bool view;  // else "Create New Appt."
        const ListLine* selected;
        uint32_t member;
        int mode;
        std::vector<PromptAnswer> answers;
        bool closes;
        std::vector<std::string> asked;
        FamilyListResult result;
    };
    const std::vector<Case> cases = {
        {"view on the separator", true, &separator, 11, 0, {kAnswerOk}, false, {refused}, {}},
        {"view without a selection", true, nullptr, 11, 0, {kAnswerOk}, false, {refused}, {}},
        {"view an appointment", true, &appointment, 11, 0, {}, true, {}, {504, 11, 0}},
        {"view from a new appointment, No", true, &appointment, 11, 3, {kAnswerNo}, false, {leave_new}, {}},
        {"view from an appointment, Yes", true, &appointment, 11, 4, {kAnswerYes}, true, {leave_old}, {504, 11, 0}},
        {"new without a member", false, &appointment, 0, 0, {}, false, {}, {}},
        {"new with a recall line", false, &care, 11, 0, {}, true, {}, {0, 11, 2}},
        {"new from an appointment, No", false, &care, 11, 4, {kAnswerNo}, false, {leave_old}, {}},
        {"new from a new appointment, Yes", false, nullptr, 11, 3, {kAnswerYes}, true, {leave_new}, {0, 11, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompter prompter;
        for (PromptAnswer a : c.answers) prompter.Answer(a);
        FamilyListResult result{77, 77, 77};
        const bool closes = c.view ? ViewFamilyAppointment(c.selected, c.member, c.mode, &result)
                                   : NewFamilyAppointment(c.member, c.selected, c.mode, &result);
        EXPECT_EQ(c.closes, closes);
        EXPECT_EQ(c.asked, prompter.Texts());
        const FamilyListResult expected = c.closes ? c.result : FamilyListResult{77, 77, 77};
        EXPECT_EQ((std::vector<uint32_t>{expected.appointmentId, expected.patientId, uint32_t(expected.careType)}),
                  (std::vector<uint32_t>{result.appointmentId, result.patientId, uint32_t(result.careType)}));
        // The refusal is information; the mode questions are Yes/No. The title is the book's.
        for (const PromptRequest& r : prompter.Asked()) {
            EXPECT_EQ("Appointment Book", r.title);
            EXPECT_EQ(kIconInformation, r.text == refused ? r.icon : kIconInformation);
        }
    }
}

TEST(LocateNameKey, ABlankFollowsEveryCommaAfterTheNameIsCut) {
    const struct {
        std::string typed, key;
    } cases[] = {
        {"SMITH,JOHN", "SMITH, JOHN"},
        {"SMITH,", "SMITH, "},
        // 35 characters: cut to 29 first, the comma then at the end gets its blank.
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZAB,CDEFG", "ABCDEFGHIJKLMNOPQRSTUVWXYZAB, "},
    };
    for (const auto& c : cases) EXPECT_EQ(c.key, LocateNameKey(c.typed)) << c.typed;
}

TEST_F(FamilyLocateTest, LocateByNameListsTheMatchesInOrderWithMarksAndPrivatePhones) {
    AddFamily();
    PatientRecord smith = Patient(30, 30, kRelationSingle, "Smith", "John", ' ', 0);
    smith.privacy = kPrivatePhone;
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, smith));
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, Patient(31, 31, kRelationSingle, "Smith", "Johnny", ' ', 0)));
    AppointmentRecord a = Appointment(0x1a0, 30, "Smith, John", QVN_DateIn(12, 9, 2026), 8, 0, "DR1");
    PutText(a.phone, "(212)555-1234");
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
    a = Appointment(0x1a1, 31, "Smith, Johnny", QVN_DateIn(11, 2, 2026), 8, 0, "DR3");
    PutText(a.phone, "(212)555-9876");
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
    a = Appointment(0x1a2, 0, "SMITH, JOHN", 0, 0, 0, "HYG2");  // a new patient: no patient record
    PutText(a.phone, "5550000");
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
    ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, Appointment(0x1a3, 0, "Smithson, John", QVN_DateIn(12, 9, 2026), 9, 0, "DR1")));

    ScriptedPrompter quiet;
    const LocateSearch found = SearchAppointmentsByName("smith,john", DemoMonday(), true);
    EXPECT_TRUE(found.error == 0 && !found.limitReached);
    EXPECT_EQ((std::vector<std::string>{
                  "SMITH, JOHN          ? \t<Unscheduled>\t  \t\t 5550000\t1a2",
                  "Smith, John           \t12/09/26\tWed\tDR1 \t Private\t1a0",
                  "______________________________________________________________",
                  "Smith, Johnny         \t11/02/26\tMon\tDR3 \t 5559876\t1a1",
              }),
              Texts(found.lines));
    ASSERT_EQ(4u, found.lines.size());
    EXPECT_EQ(0x1a1u, AppointmentIdOfLocateLine(found.lines[3].text));
    EXPECT_EQ("Smith, Johnny", NameOfLocateLine(found.lines[3].text));

    // Nothing found: 9032 (the one message of this test) only for a search the user started.
    quiet.Answer(kAnswerOk);
    EXPECT_TRUE(SearchAppointmentsByName("JONES", DemoMonday(), true).lines.empty());
    EXPECT_TRUE(SearchAppointmentsByName("JONES", DemoMonday(), false).lines.empty());

    // The by-patient form.
    EXPECT_EQ((std::vector<std::string>{
                  " <Unscheduled>       \tDR1 \t 30 mins\t1f7",
                  "12/10/26\tThu \t09:30a \tDR1 \t 30 mins\t1f8",
                  "12/14/26\tMon \t02:00p \tHYG1\t 30 mins\t1f5",
                  "______________________________________________________________",
                  "11/17/26\tTue \t10:00a \tDR2 \t 30 mins\t1f6",
              }),
              Texts(SearchAppointmentsOfPatient(11, DemoMonday()).lines));
    EXPECT_EQ(std::vector<std::string>{"No matching appointments were found."}, quiet.Texts());
}

TEST_F(FamilyLocateTest, TwoHundredMatchesGive151LinesAndTheLimitMessage) {
    FileGroupDesc desc{};
    DbGroupOf(kAppointmentFile, &desc);
    {
        DbGroupScope group(desc);
        for (uint32_t id = 1; id <= 200; ++id) {
            // Every fourth one in the past, so that the separator is among the lines.
            const int32_t date = DemoMonday() + (id % 4 == 0 ? -static_cast<int32_t>(id) : static_cast<int32_t>(id));
            const AppointmentRecord a = Appointment(id, 0, "Brown, Amy", date, 10, 0, "DR1");
            ASSERT_EQ(kQdbOk, DbAdd(kAppointmentFile, &a));
        }
    }
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    const LocateSearch found = SearchAppointmentsByName("BROWN", DemoMonday(), true);
    EXPECT_TRUE(found.limitReached);
    EXPECT_EQ(151u, found.lines.size());
    EXPECT_EQ(std::vector<std::string>{"Too many matches: only the first ones are listed.\nType more of the name to narrow the search."},
              prompter.Texts());
}

TEST_F(FamilyLocateTest, ADayNoteIsWrittenReadBackRewrittenClearedAndAskedAboutWhenLockedElsewhere) {
    const int32_t day = DemoMonday();
    ScriptedPrompter quiet;
    EXPECT_FALSE(ReadNote(kNoteDay, static_cast<uint32_t>(day)).exists);
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(day), "Staff meeting at 12:30", day));
    EXPECT_EQ("Staff meeting at 12:30", ReadNote(kNoteDay, static_cast<uint32_t>(day)).text);
    EXPECT_FALSE(ReadNote(kNoteDay, static_cast<uint32_t>(day + 1)).exists) << "one note per date";

    const std::string long_text(4000, 'x');
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(day), long_text, day));
    EXPECT_EQ(long_text, ReadNote(kNoteDay, static_cast<uint32_t>(day)).text);

    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(day), "", day));
    EXPECT_FALSE(ReadNote(kNoteDay, static_cast<uint32_t>(day)).exists) << "an emptied note is gone";
    EXPECT_TRUE(quiet.Texts().empty());

    // Locked by another workstation: the user is asked, and Cancel leaves the note as it was.
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(day), "before", day));
    QdbPrivateSession other;
    QdbOpenedFile notes(other.Handle(), kNoteFile);
    ASSERT_NE(0u, notes.Handle());
#pragma pack(push, 1)
    const struct {
        uint8_t kind;
        uint32_t owner;
    } key{kNoteDay, static_cast<uint32_t>(day)};
#pragma pack(pop)
    ASSERT_EQ(1, QDB_LockKey(notes.Handle(), kNoteKey, &key));
    quiet.Answer(kAnswerCancel);
    EXPECT_EQ(kQdbLocked, WriteNote(kNoteDay, static_cast<uint32_t>(day), "after", day));
    EXPECT_EQ(1u, quiet.Texts().size()) << "the user is asked, not left without word";
    EXPECT_EQ("before", ReadNote(kNoteDay, static_cast<uint32_t>(day)).text);
}

TEST_F(FamilyLocateTest, TheTreatmentPlanListsOnlyTheMembersPlannedProcedures) {
    for (const auto& [id, code, description] : {std::tuple{1u, "D2740", "Crown porcelain/ceramic substrate"},
                                                std::tuple{2u, "D1110", "Prophylaxis adult"}}) {
        ProcedureCodeRecord c{};
        c.id = id;
        PutText(c.code, code);
        PutText(c.description, description);
        ASSERT_EQ(kQdbOk, db_.Add(kProcedureCodeFile, c));
    }
    auto procedure = [](uint32_t id, uint32_t patient, uint8_t kind, uint32_t code, const char* tooth, const char* surfaces) {
        ProcedureRecord p{};
        p.id = id;
        p.patientId = patient;
        p.kind = kind;
        p.codeId = code;
        PutText(p.tooth, tooth);
        PutText(p.surfaces, surfaces);
        return p;
    };
    ASSERT_EQ(kQdbOk, db_.Add(kProcedureFile, procedure(71, 11, kProcedurePlanned, 1, "14", "MOD")));
    ASSERT_EQ(kQdbOk, db_.Add(kProcedureFile, procedure(72, 11, kProcedureCompleted, 2, "", "")));
    ASSERT_EQ(kQdbOk, db_.Add(kProcedureFile, procedure(73, 11, kProcedurePlanned, 2, "", "")));
    ASSERT_EQ(kQdbOk, db_.Add(kProcedureFile, procedure(74, 12, kProcedurePlanned, 2, "", "")));
    EXPECT_EQ((std::vector<std::string>{"Tx\tD2740\tCrown porcelain/ceramic subs\t14\tMOD",
                                        "Tx\tD1110\tProphylaxis adult           "}),
              TreatmentPlanLines(11));
    EXPECT_TRUE(TreatmentPlanLines(10).empty());
}
