// Enter New Patient Information: the name split and joined, the checks of OK in their order with
// the texts the user reads, the address checks by country, the fields written into the records,
// the referrer's name, the referral source search, and the save of the edit as one change on a
// real practice database (a failure at any step leaves both records as they were).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "appointments/new_patient_entry.h"
#include "appointments/patient_info.h"
#include "data/id_counters.h"
#include "data/record_text.h"
#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "settings_test_env.h"
#include "suite/addresses.h"
#include "suite/dates.h"
#include "suite/qdb/qdb.h"
#include "suite/referral.h"
#include "suite/utility_strings.h"

namespace {

constexpr int kUs = 1, kCanada = 2, kUk = 44, kAustralia = 61, kNewZealand = 64, kGermany = 49;

NewPatientEntry GoodEntry() {
    return {"Nash", "Amy", "b", "(312) 555-0142", "12 Lake Shore Dr", "Apt 4", "Chicago", "IL", "60601-1234"};
}

}  // namespace

TEST(NewPatientEntry, TheAppointmentNameIsSplitIntoItsFieldsAndJoinedBack) {
    struct Case { const char* name, *last, *first, *initial, *joined; };
    const Case cases[] = {
        {"Smith, John A", "Smith", "John", "A", "Smith, John A"},
        {"Van Dyke, Mary Ann", "Van Dyke", "Mary Ann", "", "Van Dyke, Mary Ann"},
        {"Cher", "Cher", "", "", "Cher"},
        {"  Nash ,  Amy  ", "Nash", "Amy", "", "Nash, Amy"},
        // A name cut to the record's 32 bytes: the first name comes back as far as it was kept.
        {"Abcdefghijklmnopqrst, Abcdefghij", "Abcdefghijklmnopqrst", "Abcdefghij", "", "Abcdefghijklmnopqrst, Abcdefghij"},
    };
    for (const Case& c : cases) {
        std::string last, first, initial;
        SplitAppointmentName(c.name, &last, &first, &initial);
        EXPECT_EQ((std::vector<std::string>{c.last, c.first, c.initial, c.joined}),
                  (std::vector<std::string>{last, first, initial, JoinAppointmentName(last, first, initial)}));
    }
    // The longest parts give a name of 36 characters at most.
    EXPECT_EQ(std::string(20, 'L') + ", " + std::string(14, 'F'), JoinAppointmentName(std::string(20, 'L'), std::string(15, 'F'), "m"));
}

TEST(NewPatientEntry, OkChecksTheFieldsInOrderAndNamesTheFieldToFocus) {
    struct Case { const char* what; void (*change)(NewPatientEntry&); int country; NewPatientField field; std::vector<std::string> texts; };
    const Case cases[] = {
        {"everything empty", [](NewPatientEntry& e) { e = NewPatientEntry{}; }, kUs, kNewPatientLastName,
         {"Please enter the patient's last name."}},
        {"no first name", [](NewPatientEntry& e) { e.firstName = ""; e.phone = "12"; }, kUs, kNewPatientFirstName,
         {"Please enter the patient's first name."}},
        {"a phone of five digits, a bad state and zip behind it",
         [](NewPatientEntry& e) { e.phone = "55501"; e.state = "Illinois"; e.zip = "1"; }, kUs,
         kNewPatientPhone,
         {"Please enter the phone number with 7 digits, or with its area code as 10 digits, for example (555)123-4567."}},
        {"a state written out", [](NewPatientEntry& e) { e.state = "Illinois"; e.zip = "1"; }, kUs, kNewPatientState,
         {"Please enter the state as its two-letter abbreviation, for example IL."}},
        {"a zip code of four digits", [](NewPatientEntry& e) { e.zip = "6060"; }, kUs, kNewPatientZip,
         {"Please enter the zip code with 5 digits, or with 9 digits as 12345-6789."}},
        {"a Canadian province written out", [](NewPatientEntry& e) { e.state = "Ontario"; e.zip = "K1A 0B1"; }, kCanada,
         kNewPatientState, {"Please enter the province as its two-letter abbreviation, for example ON."}},
        {"a zip code in Canada", [](NewPatientEntry& e) { e.state = "ON"; e.zip = "60601"; }, kCanada, kNewPatientZip,
         {"Please enter the postal code as letter, digit, letter, digit, letter, digit, for example K1A 0B1."}},
        {"a state in Australia is not checked", [](NewPatientEntry& e) { e.state = "Illinois"; e.zip = "2000"; },
         kAustralia, kNewPatientFieldsOk, {}},
        {"a zip code in New Zealand", [](NewPatientEntry& e) { e.zip = "60601"; }, kNewZealand, kNewPatientZip,
         {"Please enter the postcode with 4 digits."}},
        {"everything right", [](NewPatientEntry&) {}, kUs, kNewPatientFieldsOk, {}},
    };
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        for (size_t i = 0; i < c.texts.size(); ++i) prompter.Answer(kAnswerOk);
        NewPatientEntry e = GoodEntry();
        c.change(e);
        EXPECT_EQ(c.field, CheckNewPatientEntry(e, c.country)) << c.what;
        EXPECT_EQ(c.texts, prompter.Texts()) << c.what;
        for (const PromptRequest& r : prompter.Asked()) EXPECT_EQ(kIconStop, r.icon) << c.what;
    }
}

TEST(NewPatientEntry, AddressChecksAcceptWhatEachCountryWrites) {
    struct Case { int country; const char* state, *zip; int stateOk, zipOk; };
    const Case cases[] = {
        {kUs, "il", "60601", 1, 1},          {kUs, "", "606011234", 1, 1},      {kUs, "I1", "60601 1234", 0, 1},
        {kUs, "ILL", "6060-11234", 0, 0},    {kUs, "IL", "606012", 1, 0},
        {kCanada, "qc", "h2x1y4", 1, 1},     {kCanada, "ON", "1KA 0B1", 1, 0},
        {kUk, "Co. Durham", "DH1 3LE", 1, 1}, {kUk, "Kent 2", "SW 1A 1AA", 0, 0},
        {kAustralia, "anything 123", "20000", 1, 0}, {kNewZealand, "", "6011", 1, 1},
        {kGermany, "Bayern", "D-80331 MUC 12", 1, 1}, {kGermany, "Bay/ern", "123456789012345", 0, 0},
    };
    ScriptedPrompter silent;  // nothing is reported without asking
    for (const Case& c : cases) {
        EXPECT_EQ(c.stateOk, QVN_verf_State(c.state, c.country, false)) << c.country << " state \"" << c.state << "\"";
        EXPECT_EQ(c.zipOk, QVN_verf_Zip(c.zip, c.country, false)) << c.country << " zip \"" << c.zip << "\"";
    }
    EXPECT_TRUE(silent.Asked().empty());
}

TEST(NewPatientEntry, CaptionsOfStateAndZipCodeFollowTheCountry) {
    TempSettings settings;
    struct Case { const char* country, *state, *zip; };
    for (const Case& c : {Case{"1", "State", "Zip Code"}, Case{"2", "Province", "Postal Code"}, Case{"44", "County", "Postcode"},
                          Case{"64", "Region", "Postcode"}}) {
        QVN_WriteProfileString("Intl", "iCountry", c.country);
        EXPECT_EQ(std::string(c.state) + "/" + c.zip, QVN_UtilityString(1) + "/" + QVN_UtilityString(2)) << c.country;
    }
}

TEST(NewPatientEntry, StoringWritesTheNamedFieldsAndKeepsEveryOtherByte) {
    AppointmentRecord a{};
    NewPatientRecord side{};
    std::memset(&a, 0xA5, sizeof a);
    std::memset(&side, 0x5A, sizeof side);
    const AppointmentRecord a_before = a;
    const NewPatientRecord side_before = side;
    NewPatientEntry e = GoodEntry();
    e.street = "  12 Lake Shore Dr  ";
    StoreNewPatientEntry(e, kUs, &a, &side);
    EXPECT_EQ((std::vector<std::string>{"Nash, Amy B", "(312)555-0142", "12 Lake Shore Dr", "IL", "60601-1234"}),
              (std::vector<std::string>{GetText(a.patientName), GetText(a.phone), GetText(side.street), GetText(side.state),
                                        GetText(side.zip)}));
    // Bytes outside the written fields are as they were.
    const auto outside = [](const void* now, const void* was, size_t size, std::vector<std::pair<size_t, size_t>> fields) {
        const auto* n = static_cast<const uint8_t*>(now);
        const auto* w = static_cast<const uint8_t*>(was);
        int differing = 0;
        for (size_t i = 0; i < size; ++i) {
            bool inside = false;
            for (const auto& [at, width] : fields) inside |= i >= at && i < at + width;
            if (!inside && n[i] != w[i]) ++differing;
        }
        return differing;
    };
    EXPECT_EQ(0, outside(&a, &a_before, sizeof a, {{22, 32}, {75, 17}}));
    EXPECT_EQ(0, outside(&side, &side_before, sizeof side, {{6, 30}, {37, 25}, {94, 20}, {115, 14}, {147, 30}}));

    // The full name keeps its first 32 bytes, with no terminator; a country without states keeps
    // the state as it was.
    e.lastName = std::string(20, 'L');
    e.firstName = std::string(15, 'F');
    NewPatientRecord australian = side_before;
    StoreNewPatientEntry(e, kAustralia, &a, &australian);
    EXPECT_EQ(0, std::memcmp(a.patientName, (std::string(20, 'L') + ", " + std::string(10, 'F')).data(), 32));
    EXPECT_EQ(0, std::memcmp(australian.state, side_before.state, sizeof australian.state));
}

TEST(PatientInfo, TheFamilyFileStartsOnThePatientFromTheProgramFolder) {
    EXPECT_EQ("C:\\Quorvin\\qvnfam.exe /ID42", FamilyFileCommandLine("C:\\Quorvin\\", 42));
    EXPECT_EQ("\"C:\\Program Files\\Quorvin\\qvnfam.exe\" /ID7", FamilyFileCommandLine("C:\\Program Files\\Quorvin\\", 7));
}

// --- On the demo practice ---------------------------------------------------------------------

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);

AppointmentRecord NewPatientAppointment(uint32_t id, int hour = 9) {
    AppointmentRecord a = DemoAppt(id, kMonday, hour, 0, 30, "DR1 ", "OP2 ");
    PutText(a.description, "New patient exam");
    PutText(a.patientName, "Nash, Amy");
    PutText(a.phone, "555-0142");
    return a;
}

bool ReadSide(uint32_t id, NewPatientRecord* side) {
    FileGroupDesc group{};
    DbGroupOf(kNewPatientFile, &group);
    return DbFindRecord(group, kNewPatientKey, &id, sizeof id, side) == kQdbOk;
}

// The appointment booked and read back for the dialog, with the good entry stored into copies.
struct Edit {
    AppointmentRecord before{}, after{};
    NewPatientRecord sideBefore{}, side{};
    explicit Edit(uint32_t id) {
        EXPECT_TRUE(ReadNewPatientAppointment(id, &before, &sideBefore));
        after = before;
        side = sideBefore;
        StoreNewPatientEntry(GoodEntry(), kUs, &after, &side);
    }
    NewPatientSaveResult Save() const { return SaveNewPatientInfo(before, sideBefore, after, side); }
};

class NewPatientOnDemo : public DemoPracticeTest {};

}  // namespace

TEST_F(NewPatientOnDemo, TheEditIsSavedWithItsNewSideRecordAndAnUnchangedEditWritesNothing) {
    QVN_SetSysDateOverride(kMonday);
    Book(NewPatientAppointment(900001));
    const Edit edit(900001);
    EXPECT_EQ(0u, +edit.sideBefore.id) << "no side record yet";
    {
        ScriptedPrompter none;
        EXPECT_EQ(kNewPatientSaved, edit.Save());
    }
    AppointmentRecord stored{};
    ASSERT_EQ(kQdbOk, ReadAppointment(900001, &stored));
    EXPECT_EQ(std::tuple(std::string("Nash, Amy B"), std::string("(312)555-0142"), kMonday),
              std::tuple(GetText(stored.patientName), GetText(stored.phone), +stored.lastChanged));
    NewPatientRecord stored_side{};
    ASSERT_TRUE(ReadSide(stored.newPatientId, &stored_side)) << "the new side record is named by the appointment";
    EXPECT_EQ("12 Lake Shore Dr|60601-1234", GetText(stored_side.street) + "|" + GetText(stored_side.zip));

    // Read again, nothing edited: nothing is written.
    AppointmentRecord again{};
    NewPatientRecord side_again{};
    ASSERT_TRUE(ReadNewPatientAppointment(900001, &again, &side_again));
    EXPECT_EQ(0, std::memcmp(&side_again, &stored_side, sizeof stored_side));
    const std::string rows = StoredRows(db_.Dir());
    EXPECT_EQ(kNewPatientUnchanged, SaveNewPatientInfo(again, side_again, again, side_again));
    EXPECT_TRUE(rows == StoredRows(db_.Dir()));

    // Only the referrer changed, no address typed: no side record is made.
    Book(NewPatientAppointment(900002, 10));
    Edit referred(900002);
    referred.after = referred.before;
    SetReferrer(&referred.after, 1, 2);
    EXPECT_EQ(kNewPatientSaved, SaveNewPatientInfo(referred.before, referred.sideBefore, referred.after, referred.sideBefore));
    ASSERT_EQ(kQdbOk, ReadAppointment(900002, &stored));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2}), (std::vector<uint32_t>{+stored.newPatientId, stored.referredByKind, +stored.referredById}));
    QVN_SetSysDateOverride(0);
}

TEST_F(NewPatientOnDemo, ASaveThatFailsAtAnyStepLeavesAppointmentAndSideRecordAsTheyWere) {
    AppointmentRecord a = NewPatientAppointment(900003);
    a.newPatientId = NextRecordId(kNewPatientIdCounter);
    NewPatientRecord first_side{};
    first_side.id = a.newPatientId;
    PutText(first_side.street, "1 Old Road");
    {
        YesToAllPrompter yes;
        ASSERT_TRUE(SaveAppointment(true, nullptr, a, &first_side));
    }
    const Edit edit(900003);
    ASSERT_EQ("1 Old Road", GetText(edit.sideBefore.street));
    const int failures = FailEachOperationInTurn("new patient save", [&] { return StoredRows(db_.Dir()); }, [&] {
        const NewPatientSaveResult result = edit.Save();
        EXPECT_TRUE(result == kNewPatientSaved || result == kNewPatientNotSaved) << result;
        return result == kNewPatientSaved;
    });
    EXPECT_GE(failures, 6);
    AppointmentRecord stored{};
    NewPatientRecord stored_side{};
    ASSERT_TRUE(ReadNewPatientAppointment(900003, &stored, &stored_side));
    EXPECT_EQ(std::tuple(std::string("Nash, Amy B"), std::string("12 Lake Shore Dr"), +a.newPatientId),
              std::tuple(GetText(stored.patientName), GetText(stored_side.street), +stored.newPatientId))
        << "the side record keeps its id";
}

TEST_F(NewPatientOnDemo, OnlyANewPatientsAppointmentIsEditedAndOneChangedElsewhereIsNotOverwritten) {
    AppointmentRecord patient_appointment = NewPatientAppointment(900005);
    patient_appointment.patientId = 1;
    Book(patient_appointment);
    AppointmentRecord a{};
    NewPatientRecord side{};
    EXPECT_FALSE(ReadNewPatientAppointment(900005, &a, &side));
    EXPECT_FALSE(ReadNewPatientAppointment(999999, &a, &side));

    // An appointment that names a side record no longer there starts it anew under its id.
    AppointmentRecord lost = NewPatientAppointment(900006, 10);
    lost.newPatientId = 4242;
    Book(lost);
    ASSERT_TRUE(ReadNewPatientAppointment(900006, &a, &side));
    EXPECT_EQ(std::tuple(4242u, std::string()), std::tuple(+side.id, GetText(side.street)));

    // Changed at another workstation between the read and the save.
    Book(NewPatientAppointment(900004, 11));
    const Edit edit(900004);
    AppointmentRecord elsewhere = edit.before;
    PutText(elsewhere.description, "Changed at the front desk");
    {
        YesToAllPrompter yes;
        ASSERT_TRUE(SaveAppointment(false, &edit.before, elsewhere));
    }
    const std::string rows = StoredRows(db_.Dir());
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(kNewPatientNotSaved, edit.Save());
    EXPECT_EQ(std::vector<std::string>{"Appointment has been changed at another workstation during edit. Edit canceled!"},
              prompter.Texts());
    // The side record's id was taken from the counter, but no record was written.
    EXPECT_TRUE(rows == StoredRows(db_.Dir()));
}

TEST_F(NewPatientOnDemo, ReferrersClaimInformationAndTheNumberToDial) {
    const auto patient = [](uint32_t id, uint32_t guarantor, uint8_t relation, const char* first, const char* phone) {
        PatientRecord p{};
        p.id = id, p.guarantorId = guarantor, p.relation = relation, p.status = kPatientActive;
        PutText(p.lastName, "Quill");
        PutText(p.firstName, first);
        PutText(p.homePhone, phone);
        return p;
    };
    PatientRecord father = patient(777001, 777001, kRelationSingle, "Peter", "3125550100");
    father.middleInitial = 'J';
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, father));
    PatientRecord child = patient(777002, 777001, kRelationChild, "Gamora", "3125550142");
    child.birthDate = QVN_DateIn(3, 14, 2015);
    child.gender = 'F';
    child.privacy = kPrivatePhone;
    PutText(child.ssn, "123456789");
    PutText(child.street, "12 Lake Shore Dr");
    PutText(child.city, "Chicago");
    PutText(child.state, "IL");
    PutText(child.zip, "60601");
    std::memcpy(child.provider, "DR1 ", 4);
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, child));

    struct Referrer { uint8_t kind; uint32_t id; const char* shown; };
    // Lakeside is the demo's name cut to the field's 20 characters.
    for (const Referrer& r : {Referrer{0, 777001, "Quill, Peter J (Patient)"}, Referrer{1, 1, "Dr. Simon Hart"},
                              Referrer{1, 2, "Lakeside Orthodontic"}, Referrer{1, 99, ""}, Referrer{0, 777999, ""}}) {
        AppointmentRecord a{};
        SetReferrer(&a, r.kind, r.id);
        EXPECT_EQ(r.shown, ReferrerName(a)) << int{r.kind} << "/" << r.id;
    }
    AppointmentRecord removed{};
    SetReferrer(&removed, 1, 2);
    RemoveReferrer(&removed);
    EXPECT_EQ(std::tuple(0u, std::string()), std::tuple(+removed.referredById, ReferrerName(removed)));

    struct Search { const char* text; std::vector<std::string> names; };
    for (const Search& s : {Search{"", {"Dr. Simon Hart", "Lakeside Orthodontic", "Radio advertisement"}},
                            Search{"  la ", {"Lakeside Orthodontic"}}, Search{"Radio advertisements", {}}}) {
        const ReferralSearch found = REFERRAL_FindSources(s.text);
        EXPECT_EQ(0, found.error) << s.text;
        std::vector<std::string> names;
        for (const ReferralRecord& r : found.sources) names.push_back(REFERRAL_SourceName(r));
        EXPECT_EQ(s.names, names) << "\"" << s.text << "\"";
    }

    // The claim information of the child: billed to the father, the private phone not shown.
    std::vector<std::string> claim;
    for (const ClaimInfoLine& line : ClaimInfoLines(777002)) claim.push_back(line.caption + "=" + line.value);
    EXPECT_EQ((std::vector<std::string>{"Patient=Quill, Gamora", "Account=", "Birth Date=03/14/2015", "Gender=Female",
                                        "SS #=123-45-6789", "Address=12 Lake Shore Dr", "=Chicago, IL  60601",
                                        "Home Phone=Private", "Work Phone=", "Guarantor=Quill, Peter J",
                                        "Relation=Child", "Provider=DR1", "Fee Schedule=1"}),
              claim);
    EXPECT_TRUE(ClaimInfoLines(777999).empty());

    // Dialling: the patient's home phone unless private; a new patient's phone from the appointment.
    struct Dial { uint32_t patient; const char* phone, *digits, *name; };
    for (const Dial& d : {Dial{777002, "(312)555-0142", "", "Quill, Gamora"}, Dial{777001, "", "3125550100", "Quill, Peter J"},
                          Dial{0, "(312)555-0199 x7", "31255501997", "Nash, Amy"}}) {
        AppointmentRecord a{};
        a.patientId = d.patient;
        PutText(a.patientName, "Nash, Amy");
        PutText(a.phone, d.phone);
        const DialTarget target = AppointmentDialTarget(a);
        EXPECT_EQ(std::string(d.digits) + "|" + d.name, target.digits + "|" + target.name) << d.patient << " " << d.phone;
    }
    EXPECT_EQ("There is no phone number to dial for Quill, Gamora.", NothingToDialText("Quill, Gamora"));
}
