// The Appointment Information dialog's rules on the demo practice: the checks of OK in their
// order with their texts and focus, what a save stores (the unscheduled list, the 60-character
// description, "Set Amount", the note in the same save), the refusal of an edit changed
// elsewhere, and the small rules of the title, the time field, the status list and "Sc&hd. Next".

#include "appointments/appt_care.h"
#include "appointments/appt_edit.h"
#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "resources/resource.h"
#include "suite/lab_case.h"

namespace {

// A Monday far from the demo's appointments, so that a slot of its afternoon is free.
const int32_t kFreeMonday = QVN_DateIn(3, 1, 2027);

TEST(ApptEditRules, TitleTimeFieldStatusListAndNextStart) {
    EXPECT_EQ(ApptDialogTitle(true, "Ames, Laura", true, false), "New Appointment Information - (Ames, Laura)");
    EXPECT_EQ(ApptDialogTitle(false, "Smith, Jo", false, false), "Appointment Information - (Smith, Jo)<New Patient>");
    EXPECT_EQ(ApptDialogTitle(false, "Ames, Laura", true, true),
              "Appointment Information - (Ames, Laura) - PRIVACY REQUESTS");

    // The field after it lost the focus: shown again with am or pm, or left as typed.
    const std::pair<const char*, const char*> blurred[] = {{"2:30p", "2:30pm"}, {"9:30", "9:30am"}, {"9:37am", "9:30am"}, {"abc", "abc"}};
    for (const auto& [typed, shown] : blurred) EXPECT_EQ(TimeFieldOnBlur(typed, 10), shown) << typed;

    StatusTables tables{};
    std::strcpy(tables.names[1], "Here");
    std::strcpy(tables.names[2], "Seated");
    std::strcpy(tables.names[4], "Gone");  // after the first empty name: not listed
    ApptEdit edit;
    BuildStatusList(tables, &edit);
    EXPECT_EQ(edit.statusTexts, (std::vector<std::string>{"<none>", "Here", "Seated", "<COMPLETE>"}));
    EXPECT_EQ((std::vector<int>{2, 3, 0}), (std::vector<int>{StatusIndexOf(edit, 2), StatusIndexOf(edit, 150), StatusIndexOf(edit, 101)}));

    const NextStart same_day = NextAppointmentStart(1000, 9, 50, 40);
    EXPECT_EQ((std::vector<int>{1000, 10, 30}), (std::vector<int>{same_day.date, same_day.hour, same_day.minute}));
}

class ApptEditTest : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        BuildStatusList(practice_tables.statuses, &edit_);
    }
    // A new appointment for demo patient 1 at 1:00pm in OP2 with DR1, every field valid.
    void StartValid() {
        NewApptPlace place;
        place.patientId = 1;
        place.provider = "DR1";
        place.operatory = "OP2";
        place.date = kFreeMonday;
        place.hour = 13;
        StartNewAppointment(place, &edit_, &fields_);
        fields_.length = "40";
        fields_.description = "Exam";
    }
    OkResult Ok() { return RunOkSequence(&edit_, &fields_, DemoMonday(), 10); }
    ApptEdit edit_;
    ApptEditFields fields_;
};

TEST_F(ApptEditTest, OkChecksEachFieldInOrderWithItsTextAndFocus) {
    struct Case {
        const char* what;
        void (*spoil)(ApptEditFields*);
        PromptAnswer answer;  // for a question; kAnswerOk for a plain message
        const char* text;
        int focus;
    } cases[] = {
        {"bad date", [](ApptEditFields* f) { f->date = "13/45/2027"; }, kAnswerOk,
         "Please enter a valid date (for example 3/14/2026).", IDC_APPT_DATE},
        {"past date cancelled", [](ApptEditFields* f) { f->date = "12/1/2026"; }, kAnswerCancel,
         "The date you chose lies in the past.\nDo you want to continue?", IDC_APPT_DATE},
        {"unknown provider", [](ApptEditFields* f) { f->provider = "ZZ"; }, kAnswerOk,
         "Please enter a provider of the practice.", IDC_APPT_PROVIDER},
        {"unknown operatory", [](ApptEditFields* f) { f->operatory = "OP9"; }, kAnswerOk,
         "Please enter an operatory of the practice.", IDC_APPT_OPERATORY},
        {"no date outside unscheduled mode", [](ApptEditFields* f) { f->date = ""; }, kAnswerOk,
         "Please enter a valid date (for example 3/14/2026).", IDC_APPT_DATE},
        {"time too short", [](ApptEditFields* f) { f->time = "2p"; }, kAnswerOk,
         "Please enter a valid time (for example 9:30am).", IDC_APPT_TIME},
        {"zero length", [](ApptEditFields* f) { f->length = "0"; }, kAnswerOk, "Invalid appointment length!", IDC_APPT_LENGTH},
        {"241 minutes, No", [](ApptEditFields* f) { f->length = "241"; }, kAnswerNo,
         "Very long appointment length! Continue?", IDC_APPT_LENGTH},
        {"empty description", [](ApptEditFields* f) { f->description = "   "; }, kAnswerOk, "Invalid Description!",
         IDC_APPT_DESCRIPTION},
        {"bad amount", [](ApptEditFields* f) { f->amount = "5x"; f->setAmount = true; }, kAnswerOk,
         "Please enter a valid amount (for example 125.00).", IDC_APPT_AMOUNT},
    };
    for (const Case& c : cases) {
        StartValid();
        c.spoil(&fields_);
        ScriptedPrompter prompter;
        prompter.Answer(c.answer);
        const OkResult r = Ok();
        EXPECT_EQ(r.outcome, OkOutcome::kStay) << c.what;
        EXPECT_EQ(r.focus, c.focus) << c.what;
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{c.text}) << c.what;
        EXPECT_TRUE(ReadDay(kFreeMonday).empty()) << c.what;
    }
    // An amount typed without "Set Amount": No to the question puts the amount shown back.
    StartValid();
    fields_.amount = "12.50";
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerNo);
    const OkResult r = Ok();
    EXPECT_EQ(r.outcome, OkOutcome::kSaved);
    EXPECT_EQ(prompter.Asked().at(0).title, "Appointment Amount");
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"The 'Set Amount' checkbox is not checked.\nIn order for the "
                                                         "appointment amount to be saved,\nthis box must be checked.\n\n"
                                                         "Check 'Set Amount'?"});
    EXPECT_EQ(fields_.amount, "0.00");
}

TEST_F(ApptEditTest, SaveStoresTheFieldsAndUnscheduledListAndRefusesAChangeMadeElsewhere) {
    // 240 minutes need no question; 70 typed characters of description keep their first 60; a
    // typed amount with "Set Amount" Yes is kept; the note goes with the save.
    StartValid();
    fields_.length = "240";
    fields_.description = std::string(60, 'D') + "0123456789";
    fields_.amount = "55.00";
    fields_.note = "Bring x-rays";
    fields_.flags = 0x0005;
    ScriptedPrompter yes;
    yes.Answer(kAnswerYes);
    OkResult saved = Ok();
    ASSERT_EQ(saved.outcome, OkOutcome::kSaved) << ::testing::PrintToString(yes.Texts());
    AppointmentRecord stored = Stored(saved.saved.id);
    EXPECT_EQ(std::memcmp(&stored, &saved.saved, sizeof stored), 0);
    // Start in 10-minute units, length, amount, "Set Amount", flags, last change.
    EXPECT_EQ((std::vector<int64_t>{stored.startUnit, stored.length, stored.amount, stored.setAmount, stored.flags, stored.lastChanged}),
              (std::vector<int64_t>{13 * 6, 240, 5500, 1, 5, DemoMonday()}));
    EXPECT_EQ(std::string(stored.description), std::string(60, 'D'));
    EXPECT_EQ(ReadAppointmentNote(stored.id), "Bring x-rays");

    // Without a date only in unscheduled mode: the same appointment goes to the list.
    ApptEdit edit;
    ApptEditFields fields;
    BuildStatusList(practice_tables.statuses, &edit);
    ASSERT_TRUE(OpenExistingAppointment(stored.id, &edit, &fields));
    EXPECT_EQ(fields.note, "Bring x-rays");
    {
        ScriptedPrompter ask;
        ask.Answer(kAnswerYes);
        ASSERT_TRUE(EnterUnscheduledMode(&edit, &fields));
        EXPECT_EQ(ask.Texts(), std::vector<std::string>{"Move appointment to the Unscheduled List?"});
        EXPECT_EQ(RunOkSequence(&edit, &fields, DemoMonday() + 1, 10).outcome, OkOutcome::kSaved);
    }
    ASSERT_EQ(ReadAppointment(stored.id, &stored), kQdbOk);
    // Date, status, unscheduled, list date, operatory marker.
    EXPECT_EQ((std::vector<int64_t>{stored.date, stored.status, stored.unscheduled, stored.listDate, stored.operatoryMarker}),
              (std::vector<int64_t>{0, 101, 1, DemoMonday() + 1, 0}));

    // Opened, then changed by another workstation (a list date the dialog never shows): OK refuses
    // with the changed-elsewhere text, closes, and the other change stands.
    ASSERT_TRUE(OpenExistingAppointment(stored.id, &edit, &fields));
    AppointmentRecord other = stored;
    other.listDate += 3;
    ASSERT_TRUE(SaveAppointment(false, &stored, other));
    fields.description = "Changed here";
    ScriptedPrompter refusal;
    refusal.Answer(kAnswerOk);
    EXPECT_EQ(RunOkSequence(&edit, &fields, DemoMonday(), 10).outcome, OkOutcome::kClose);
    EXPECT_EQ(refusal.Texts(),
              std::vector<std::string>{"Appointment has been changed at another workstation during edit. Edit canceled!"});
    ASSERT_EQ(ReadAppointment(stored.id, &stored), kQdbOk);
    EXPECT_EQ(std::memcmp(&stored, &other, sizeof stored), 0);
}

TEST_F(ApptEditTest, CancelAsksOnlyAfterAnEditAndScheduleNextStartsAfterTheSavedOne) {
    StartValid();
    ScriptedPrompter no;
    EXPECT_TRUE(ConfirmCancel(edit_)) << "nothing edited: nothing asked";
    edit_.changed = true;
    no.Answer(kAnswerNo);
    EXPECT_FALSE(ConfirmCancel(edit_));
    EXPECT_EQ(no.Texts(), std::vector<std::string>{"Are you sure?  Your changes will not be saved."});
    EXPECT_EQ(no.Asked()[0].title, "Cancel Appointment");

    AppointmentRecord saved = DemoAppt(77, kFreeMonday, 23, 30, 60, "DR1 ", "OP2 ");
    saved.patientId = 1;
    StartScheduleNext(saved, &edit_, &fields_);
    EXPECT_EQ((std::vector<std::string>{fields_.date, fields_.time, fields_.length, fields_.description}),
              (std::vector<std::string>{QVN_fmtDateString2000(kFreeMonday + 1), "12:30am", "0", ""}));
    EXPECT_TRUE(edit_.isNew);
    EXPECT_EQ(edit_.followUpId, 77u);
    EXPECT_EQ(+edit_.working.patientId, 1u);
}

// "Attach Case": the entry line's refusals leave the list as it was; a case goes in at its place
// by number, an attached one takes the entry's changes. The cases are saved with the appointment
// in its one save: a failure at any lock, write or commit keeps the stored cases and the record
// as they were. A continuing care record the save lets go stays let go.
TEST_F(ApptEditTest, AttachedCasesAreSavedWholeWithTheAppointment) {
    std::vector<LabCaseLink> links;
    struct Entry {
        CaseEntry entry;
        const char* refusal;  // "" when accepted
        CaseEntryField field;
        size_t cases;  // in the list afterwards
    };
    const Entry entries[] = {
        {{"", "Smile Lab", "", 0}, "Invalid case number!", CaseEntryField::kCaseNumber, 0},
        {{"4294967296", "", "", 0}, "Invalid case number!", CaseEntryField::kCaseNumber, 0},
        {{"40", "Smile Lab", "13/45/2026", 0}, "Invalid due date!", CaseEntryField::kDue, 0},
        {{"40", "Smile Lab", "", 0}, "", CaseEntryField::kNone, 1},
        {{"12", "Crown Company of the Lakes and Hills", "12/10/2026", 1}, "", CaseEntryField::kNone, 2},
        {{"40", "Smile Lab", " ", 2}, "", CaseEntryField::kNone, 2},
    };
    for (const Entry& e : entries) {
        ScriptedPrompter answers;
        answers.Answer(kAnswerOk);
        EXPECT_EQ(AttachCaseEntry(e.entry, &links), e.field) << e.entry.caseNumber;
        EXPECT_EQ(answers.Texts(), e.refusal[0] ? std::vector<std::string>{e.refusal} : std::vector<std::string>{})
            << e.entry.caseNumber;
        EXPECT_EQ(links.size(), e.cases) << e.entry.caseNumber;
    }
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(CaseLinkLine(links[0]) + ";" + CaseLinkLine(links[1]), "12\tCrown Company of the Lakes and\tSent\t12/10/2026;40\tSmile Lab\tReceived\t");
    EXPECT_EQ(CaseEntryOf(links[0]).stateIndex, 1);

    StartValid();
    CasesAttached(links, &edit_, &fields_);
    EXPECT_TRUE(fields_.labCase) << "cases attached check \"Lab Case\"";
    OkResult saved;
    {
        ScriptedPrompter none;
        saved = Ok();
    }
    ASSERT_EQ(saved.outcome, OkOutcome::kSaved);
    const uint32_t id = saved.saved.id;
    EXPECT_EQ(saved.saved.labCase, 1);
    ASSERT_EQ(ReadApptToCaseLinks(id).size(), 2u);
    EXPECT_EQ(ReadApptToCaseLinks(id)[0].lab, "Crown Company of the Lakes and");

    // Reopened: case 12 taken off and case 7 attached; continuing care attached here let go.
    ContinuingCareRecord care{};
    care.patientId = 1;
    care.type = 99;
    care.appointmentId = id;
    ASSERT_EQ(db_.Add(kContinuingCareFile, care), kQdbOk);
    const auto CareAppointment = [] {
        for (const ContinuingCareRecord& c : ReadPatientCare(1))
            if (c.type == 99) return static_cast<uint32_t>(c.appointmentId);
        return UINT32_MAX;
    };
    ASSERT_TRUE(OpenExistingAppointment(id, &edit_, &fields_));
    ASSERT_EQ(edit_.labLinks.size(), 2u);
    std::vector<LabCaseLink> changed = {edit_.labLinks[1]};
    {
        ScriptedPrompter none;
        ASSERT_EQ(AttachCaseEntry({"7", "Bite Works", "", 3}, &changed), CaseEntryField::kNone);
    }
    CasesAttached(changed, &edit_, &fields_);
    care.appointmentId = 0;
    edit_.careWrites = {care};
    const int failures = FailEachOperationInTurn("the save with its cases", [&] { return StoredRows(db_.Dir()); },
                                                 [&] { return Ok().outcome == OkOutcome::kSaved; });
    EXPECT_GE(failures, 4);
    std::vector<std::pair<uint32_t, int>> stored;
    for (const LabCaseLink& l : ReadApptToCaseLinks(id)) stored.emplace_back(l.caseId, l.state);
    EXPECT_EQ((std::vector<std::pair<uint32_t, int>>{{7, kLabInHouse}, {40, kLabReceived}}), stored);
    EXPECT_EQ(CareAppointment(), 0u) << "let go, not attached again";
}

}  // namespace
