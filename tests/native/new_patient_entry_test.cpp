// Enter New Patient Information: the name split and joined, the checks of OK in their order with
// the texts the user reads, the address checks by country, the fields written into the records,
// the referrer's name, the referral source search, and the save of the edit as one change on a
// real practice database (a failure at any step leaves both records as they were).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
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
    NewPatientEntry e;
    e.lastName = "Nash";
    e.firstName = "Amy";
    e.middleInitial = "b";
    e.phone = "(312) 555-0142";
    e.street = "12 Lake Shore Dr";
    e.street2 = "Apt 4";
    e.city = "Chicago";
    e.state = "IL";
    e.zip = "60601-1234";
    return e;
}

}  // namespace

TEST(NewPatientEntry, TheAppointmentNameIsSplitIntoItsFieldsAndJoinedBack) {
    struct Case {
        const char* name;
        const char* last;
        const char* first;
        const char* initial;
        const char* joined;
    };
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
        EXPECT_EQ(c.last, last) << c.name;
        EXPECT_EQ(c.first, first) << c.name;
        EXPECT_EQ(c.initial, initial) << c.name;
        EXPECT_EQ(c.joined, JoinAppointmentName(last, first, initial)) << c.name;
    }
    // The longest parts give a name of 36 characters at most.
    const std::string longest = JoinAppointmentName(std::string(20, 'L'), std::string(15, 'F'), "m");
    EXPECT_EQ(std::string(20, 'L') + ", " + std::string(14, 'F'), longest);
}

TEST(NewPatientEntry, OkChecksTheFieldsInOrderAndNamesTheFieldToFocus) {
    struct Case {
        const char* what;
        void (*change)(NewPatientEntry&);
        int country;
        NewPatientField field;
        std::vector<std::string> texts;
    };
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
    struct Case {
        int country;
        const char* state;
        const char* zip;
        int stateOk, zipOk;
    };
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
    struct Case {
        const char* country;
        const char* state;
        const char* zip;
    };
    const Case cases[] = {{"1", "State", "Zip Code"}, {"2", "Province", "Postal Code"}, {"44", "County", "Postcode"},
                          {"64", "Region", "Postcode"}};
    for (const Case& c : cases) {
        QVN_WriteProfileString("Intl", "iCountry", c.country);
        EXPECT_EQ(c.state, QVN_UtilityString(1)) << c.country;
        EXPECT_EQ(c.zip, QVN_UtilityString(2)) << c.country;
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
    EXPECT_EQ("Nash, Amy B", GetText(a.patientName));
    EXPECT_EQ("(312)555-0142", GetText(a.phone));
    EXPECT_EQ("12 Lake Shore Dr", GetText(side.street));
    EXPECT_EQ("IL", GetText(side.state));
    EXPECT_EQ("60601-1234", GetText(side.zip));
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
    struct Case {
        const char* folder;
        uint32_t id;
        const char* line;
    };
    const Case cases[] = {
        {"C:\\Quorvin\\", 42, "C:\\Quorvin\\qvnfam.exe /ID42"},
        {"C:\\Program Files\\Quorvin\\", 7, "\"C:\\Program Files\\Quorvin\\qvnfam.exe\" /ID7"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line, FamilyFileCommandLine(c.folder, c.id)) << c.folder;
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

class NewPatientOnDemo : public DemoPracticeTest {};

}  // namespace

TEST_F(NewPatientOnDemo, TheEditIsSavedWithItsNewSideRecordAndAnUnchangedEditWritesNothing) {
    QVN_SetSysDateOverride(kMonday);
    Book(NewPatientAppointment(900001));
    AppointmentRecord before{};
    NewPatientRecord side_before{};
    ASSERT_TRUE(ReadNewPatientAppointment(900001, &before, &side_before));
    EXPECT_EQ(0u, +side_before.id) << "no side record yet";

    AppointmentRecord after = before;
    NewPatientRecord side = side_before;
    StoreNewPatientEntry(GoodEntry(), kUs, &after, &side);
    {
        ScriptedPrompter none;
        EXPECT_EQ(kNewPatientSaved, SaveNewPatientInfo(before, side_before, after, side));
        EXPECT_TRUE(none.Asked().empty());
    }
    AppointmentRecord stored{};
    ASSERT_EQ(kQdbOk, ReadAppointment(900001, &stored));
    EXPECT_EQ("Nash, Amy B", GetText(stored.patientName));
    EXPECT_EQ("(312)555-0142", GetText(stored.phone));
    EXPECT_EQ(kMonday, +stored.lastChanged);
    ASSERT_NE(0u, +stored.newPatientId) << "the new side record is named by the appointment";
    NewPatientRecord stored_side{};
    ASSERT_TRUE(ReadSide(stored.newPatientId, &stored_side));
    EXPECT_EQ("12 Lake Shore Dr", GetText(stored_side.street));
    EXPECT_EQ("60601-1234", GetText(stored_side.zip));

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
    ASSERT_TRUE(ReadNewPatientAppointment(900002, &before, &side_before));
    after = before;
    SetReferrer(&after, 1, 2);
    EXPECT_EQ(kNewPatientSaved, SaveNewPatientInfo(before, side_before, after, side_before));
    ASSERT_EQ(kQdbOk, ReadAppointment(900002, &stored));
    EXPECT_EQ(0u, +stored.newPatientId);
    EXPECT_EQ(1, stored.referredByKind);
    EXPECT_EQ(2u, +stored.referredById);
    QVN_SetSysDateOverride(0);
}

TEST_F(NewPatientOnDemo, ASaveThatFailsAtAnyStepLeavesAppointmentAndSideRecordAsTheyWere) {
    AppointmentRecord a = NewPatientAppointment(900003);
    a.newPatientId = NextRecordId(kNewPatientIdCounter);
    ASSERT_NE(0u, +a.newPatientId);
    NewPatientRecord first_side{};
    first_side.id = a.newPatientId;
    PutText(first_side.street, "1 Old Road");
    {
        YesToAllPrompter yes;
        ASSERT_TRUE(SaveAppointment(true, nullptr, a, &first_side));
    }
    AppointmentRecord before{};
    NewPatientRecord side_before{};
    ASSERT_TRUE(ReadNewPatientAppointment(900003, &before, &side_before));
    ASSERT_EQ("1 Old Road", GetText(side_before.street));
    AppointmentRecord after = before;
    NewPatientRecord side = side_before;
    StoreNewPatientEntry(GoodEntry(), kUs, &after, &side);

    const int failures = FailEachOperationInTurn("new patient save", [&] { return StoredRows(db_.Dir()); }, [&] {
        const NewPatientSaveResult result = SaveNewPatientInfo(before, side_before, after, side);
        EXPECT_TRUE(result == kNewPatientSaved || result == kNewPatientNotSaved) << result;
        return result == kNewPatientSaved;
    });
    EXPECT_GE(failures, 6);
    AppointmentRecord stored{};
    NewPatientRecord stored_side{};
    ASSERT_TRUE(ReadNewPatientAppointment(900003, &stored, &stored_side));
    EXPECT_EQ("Nash, Amy B", GetText(stored.patientName));
    EXPECT_EQ("12 Lake Shore Dr", GetText(stored_side.street));
    EXPECT_EQ(+before.newPatientId, +stored.newPatientId) << "the side record keeps its id";
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
    EXPECT_EQ(4242u, +side.id);
    EXPECT_EQ("", GetText(side.street));

    // Changed at another workstation between the read and the save.
    Book(NewPatientAppointment(900004, 11));
    AppointmentRecord before{};
    NewPatientRecord side_before{};
    ASSERT_TRUE(ReadNewPatientAppointment(900004, &before, &side_before));
    AppointmentRecord elsewhere = before;
    PutText(elsewhere.description, "Changed at the front desk");
    {
        YesToAllPrompter yes;
        ASSERT_TRUE(SaveAppointment(false, &before, elsewhere));
    }
    AppointmentRecord after = before;
    NewPatientRecord side_after = side_before;
    StoreNewPatientEntry(GoodEntry(), kUs, &after, &side_after);
    const std::string rows = StoredRows(db_.Dir());
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(kNewPatientNotSaved, SaveNewPatientInfo(before, side_before, after, side_after));
    EXPECT_EQ(std::vector<std::string>{"Appointment has been changed at another workstation during edit. Edit canceled!"},
              prompter.Texts());
    // The side record's id was taken from the counter, but no record was written.
    EXPECT_TRUE(rows == StoredRows(db_.Dir()));

}

TEST_F(NewPatientOnDemo, ReferrersClaimInformationAndTheNumberToDial) {
    PatientRecord p{};
    p.id = 777001;
    p.guarantorId = p.id;
    p.relation = kRelationSingle;
    PutText(p.lastName, "Quill");
    PutText(p.firstName, "Peter");
    p.middleInitial = 'J';
    PutText(p.homePhone, "3125550100");
    p.status = kPatientActive;
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, p));
    PatientRecord child{};
    child.id = 777002;
    child.guarantorId = p.id;
    child.relation = kRelationChild;
    PutText(child.lastName, "Quill");
    PutText(child.firstName, "Gamora");
    child.birthDate = QVN_DateIn(3, 14, 2015);
    child.gender = 'F';
    PutText(child.ssn, "123456789");
    PutText(child.street, "12 Lake Shore Dr");
    PutText(child.city, "Chicago");
    PutText(child.state, "IL");
    PutText(child.zip, "60601");
    PutText(child.homePhone, "3125550142");
    std::memcpy(child.provider, "DR1 ", 4);
    child.privacy = kPrivatePhone;
    child.status = kPatientActive;
    ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, child));

    struct Referrer {
        uint8_t kind;
        uint32_t id;
        const char* shown;
    };
    const Referrer referrers[] = {
        {0, 777001, "Quill, Peter J (Patient)"},
        {1, 1, "Dr. Simon Hart"},
        {1, 2, "Lakeside Orthodontic"},  // the demo's name, cut to the field's 20 characters
        {1, 99, ""},
        {0, 777999, ""},
    };
    for (const Referrer& r : referrers) {
        AppointmentRecord a{};
        SetReferrer(&a, r.kind, r.id);
        EXPECT_EQ(r.shown, ReferrerName(a)) << int{r.kind} << "/" << r.id;
    }
    AppointmentRecord removed{};
    SetReferrer(&removed, 1, 2);
    RemoveReferrer(&removed);
    EXPECT_EQ(0u, +removed.referredById);
    EXPECT_EQ("", ReferrerName(removed));

    struct Search {
        const char* text;
        std::vector<std::string> names;
    };
    const Search searches[] = {
        {"", {"Dr. Simon Hart", "Lakeside Orthodontic", "Radio advertisement"}},
        {"  la ", {"Lakeside Orthodontic"}},
        {"Radio advertisements", {}},
    };
    for (const Search& s : searches) {
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
    struct Dial {
        uint32_t patient;
        const char* phone;  // the appointment's own copy
        const char* digits;
        const char* name;
    };
    const Dial dials[] = {
        {777002, "(312)555-0142", "", "Quill, Gamora"},
        {777001, "", "3125550100", "Quill, Peter J"},
        {0, "(312)555-0199 x7", "31255501997", "Nash, Amy"},
    };
    for (const Dial& d : dials) {
        AppointmentRecord a{};
        a.patientId = d.patient;
        PutText(a.patientName, "Nash, Amy");
        PutText(a.phone, d.phone);
        const DialTarget target = AppointmentDialTarget(a);
        EXPECT_EQ(d.digits, target.digits) << d.patient << " " << d.phone;
        EXPECT_EQ(d.name, target.name) << d.patient << " " << d.phone;
    }
    EXPECT_EQ("There is no phone number to dial for Quill, Gamora.", NothingToDialText("Quill, Gamora"));
}
