// The Select Patient search on the demo practice, its result lines byte for byte, the recent
// selections, the status warning, and the More Information lists of one family.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <set>

#include "data/record_text.h"
#include "demo_practice_fixture.h"
#include "lists/more_info.h"
#include "lists/patient_search.h"
#include "suite/lab_case.h"
#include "suite/records/continuing_care.h"
#include "suite/settings.h"

namespace {

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::set<uint32_t> Ids(const PatientSearch& s) {
    std::set<uint32_t> ids;
    for (const PatientLine& l : s.lines) ids.insert(l.patientId);
    return ids;
}

class PatientSearchTest : public DemoPracticeTest {
protected:
    void SetUp() override {
        DemoPracticeTest::SetUp();
        demo_ = BuildDemoPractice(1, DemoMonday());
    }
    // The demo patients that pass, archived ones left out.
    std::set<uint32_t> Expected(const std::function<bool(const DemoPatient&)>& wanted) const {
        std::set<uint32_t> ids;
        for (const DemoPatient& p : demo_.patients)
            if (p.status != kPatientArchived && wanted(p)) ids.insert(p.id);
        return ids;
    }
    DemoPractice demo_;
};

}  // namespace

TEST_F(PatientSearchTest, EveryKeyFindsItsPatientsOnTheDemoPractice) {
    // Last-name prefix, typed in capitals as the letter buttons type it: Smith and Smithson.
    PatientSearch smi = SearchPatients(kSearchLastName, "SMI", false, 0);
    EXPECT_EQ(0, smi.error);
    const std::set<uint32_t> smi_expected = Expected([](const DemoPatient& p) { return Upper(p.last).rfind("SMI", 0) == 0; });
    std::set<std::string> names;
    for (const DemoPatient& p : demo_.patients)
        if (smi_expected.count(p.id)) names.insert(p.last);
    ASSERT_EQ((std::set<std::string>{"Smith", "Smithson"}), names);
    EXPECT_EQ(smi_expected, Ids(smi));
    for (size_t i = 1; i < smi.lines.size(); ++i)
        EXPECT_LE(Upper(smi.lines[i - 1].text.substr(1, 26)), Upper(smi.lines[i].text.substr(1, 26))) << "index order";

    // Last name and the start of the first name; "SMITH," is that last name exactly: no Smithson.
    EXPECT_EQ(Expected([](const DemoPatient& p) { return p.last == "Smith" && p.first[0] == 'J'; }),
              Ids(SearchPatients(kSearchLastName, " smith ,j", false, 0)));
    EXPECT_EQ(Expected([](const DemoPatient& p) { return p.last == "Smith"; }),
              Ids(SearchPatients(kSearchLastName, "SMITH,", false, 0)));
    const DemoPatient& any_smith = *std::find_if(demo_.patients.begin(), demo_.patients.end(),
                                                 [](const DemoPatient& p) { return p.last == "Smith"; });

    // First name first: "First MI Last"; without the initial the last name still narrows.
    EXPECT_EQ(Expected([&](const DemoPatient& p) { return p.first == any_smith.first && p.last == "Smith"; }),
              Ids(SearchPatients(kSearchFirstName, any_smith.first + " smith", false, 0)));

    // The archived patient only with the box, marked.
    const DemoPatient& archived = demo_.patients[17];
    ASSERT_EQ(kPatientArchived, archived.status);
    const std::string archived_entry = archived.last + ", " + archived.first;
    EXPECT_EQ(0u, Ids(SearchPatients(kSearchLastName, archived_entry, false, 0)).count(archived.id));
    PatientSearch with_archived = SearchPatients(kSearchLastName, archived_entry, true, 0);
    auto line = std::find_if(with_archived.lines.begin(), with_archived.lines.end(),
                             [&](const PatientLine& l) { return l.patientId == archived.id; });
    ASSERT_NE(with_archived.lines.end(), line);
    EXPECT_EQ("(Archived)   ", line->text.substr(44, 13)) << line->text;

    // A chart number typed with blanks and in small letters.
    const DemoPatient& inactive = demo_.patients[42];
    ASSERT_EQ(inactive.chartNumber, "C10043");
    EXPECT_EQ(std::set<uint32_t>{inactive.id}, Ids(SearchPatients(kSearchChart, "c 100 43", false, 0)));

    // A phone with its punctuation finds the family that shares it; the local number alone
    // finds it under its area code.
    const std::string phone = demo_.patients[0].homePhone;
    const std::set<uint32_t> same_phone = Expected([&](const DemoPatient& p) { return p.homePhone == phone; });
    const std::string typed = "(" + phone.substr(0, 3) + ") " + phone.substr(3, 3) + "-" + phone.substr(6);
    EXPECT_EQ(same_phone, Ids(SearchPatients(kSearchPhone, typed, false, 0)));
    EXPECT_EQ(Expected([&](const DemoPatient& p) { return p.homePhone.substr(3) == phone.substr(3); }),
              Ids(SearchPatients(kSearchPhone, phone.substr(3, 3) + "-" + phone.substr(6), false, 0)));

    // Social security number with hyphens and blanks; the ID exactly.
    const DemoPatient& someone = demo_.patients[5];
    const std::string ssn = someone.ssn.substr(0, 3) + "-" + someone.ssn.substr(3, 2) + " - " + someone.ssn.substr(5);
    EXPECT_EQ(1u, Ids(SearchPatients(kSearchSsn, ssn, false, 0)).count(someone.id));
    EXPECT_EQ(std::set<uint32_t>{someone.id}, Ids(SearchPatients(kSearchById, std::to_string(someone.id), false, 0)));
    EXPECT_TRUE(SearchPatients(kSearchById, "4" + std::to_string(someone.id) + "9", false, 0).lines.empty());
    EXPECT_TRUE(SearchPatients(kSearchLastName, "   ", false, 0).lines.empty());
}

TEST(PatientResultLine, IsFormattedByteForByte) {
    PatientRecord p{};
    p.id = 42;
    p.accountId = 1042;
    PutText(p.lastName, "Smith");
    PutText(p.firstName, "John");
    p.middleInitial = 'A';
    p.birthDate = QVN_DateIn(3, 14, 1980);
    std::memcpy(p.provider, "DR1 ", 4);
    PutText(p.homePhone, "3125551234");
    PutText(p.chartNumber, "C10042");
    PutText(p.ssn, "123456789");
    PutText(p.preferredName, "Johnny");
    p.status = kPatientInactive;
    p.flag = 1;
    EXPECT_EQ("*Smith, John A             \t03/14/1980\tDR1 \t(Inactive)               \t42L",
              PatientResultLine(p, kSearchLastName, 0));
    EXPECT_EQ(" John A Smith              \t03/14/1980\tDR1 \t(Inactive)               \t42F",
              PatientResultLine(p, kSearchFirstName, 0x80));
    EXPECT_EQ("*Smith, John A             \t03/14/1980\tDR1 \t(312)555-1234            \t42H",
              PatientResultLine(p, kSearchPhone, 0));
    EXPECT_EQ("*Smith, John A             \t03/14/1980\tDR1 \t42,1042                  \t42P",
              PatientResultLine(p, kSearchPreferredName, 0x40));
    p.status = kPatientActive;
    p.flag = 0;
    p.birthDate = 0;
    PutText(p.lastName, "Vanderbilt-Montgomery");  // 21 characters: the field holds 20
    EXPECT_EQ(" Vanderbilt-Montgomer, John\t          \tDR1 \t                         \t42L",
              PatientResultLine(p, kSearchLastName, 0));
    EXPECT_EQ(42u, PatientIdOfLine(PatientResultLine(p, kSearchLastName, 0)));

    EXPECT_EQ("&Enter Last Name (Last, First MI):|&Enter Patient ID:", SearchPrompt(kSearchLastName) + "|" + SearchPrompt(kSearchById));
    EXPECT_EQ("Status|Chart #", SearchColumnTitle(kSearchFirstName) + "|" + SearchColumnTitle(kSearchChart));
}

TEST_F(PatientSearchTest, RecentSelectionsKeepThreeNewestFirstAndTheStatusWarningNamesTheStatus) {
    const DemoPatient& a = demo_.patients[1];
    const DemoPatient& b = demo_.patients[2];
    const DemoPatient& c = demo_.patients[3];
    const DemoPatient& d = demo_.patients[4];
    auto line_of = [](const DemoPatient& p) { return SearchPatients(kSearchById, std::to_string(p.id), false, 0).lines.at(0).text; };
    EXPECT_EQ("", RecentSelectionEntry());
    for (const DemoPatient* p : {&a, &b, &c, &b, &d}) AddRecentPatientLine(line_of(*p));
    EXPECT_EQ((std::vector<std::string>{line_of(d), line_of(b), line_of(c)}), RecentPatientLines())
        << "the lines as they were, their leading blanks too";
    EXPECT_EQ(d.last + ", " + d.first, RecentSelectionEntry());

    // The warning comes once, titled "Warning", only for the two statuses.
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk).Answer(kAnswerOk);
    PatientStatusWarning(demo_.patients[42].id);
    PatientStatusWarning(a.id);
    PatientStatusWarning(demo_.patients[17].id);
    PatientRecord p{};
    ASSERT_TRUE(ReadPatient(a.id, &p));
    p.status = kPatientNonPatient;
    {
        FileGroupDesc desc{};
        DbGroupOf(kPatientFile, &desc);
        DbGroupScope group(desc);
        PatientRecord stored{};
        ASSERT_EQ(kQdbOk, DbFind(kPatientByIdKey, DbPrepareKey(&p.id), &stored));
        ASSERT_EQ(kQdbOk, DbWrite(kPatientFile, &p));
    }
    PatientStatusWarning(a.id);
    EXPECT_EQ((std::vector<std::string>{"Selected Patient has an Inactive Status", "Selected Patient has a Non-Patient Status"}),
              prompter.Texts());
    EXPECT_EQ("Warning", prompter.Asked()[0].title);
}

TEST_F(PatientSearchTest, MoreInformationListsTheFamilyAndAMembersAppointmentsInOrder) {
    // The first demo family; its head gets an unscheduled, two future and two past
    // appointments, one with a recall attached and one with a lab case, and a recall due
    // without an appointment.
    const DemoPatient& head = demo_.patients[0];
    const int32_t today = DemoMonday();
    auto appointment = [&](uint32_t id, int32_t date, int hour, int minute, bool unscheduled) {
        AppointmentRecord a = DemoAppt(id, unscheduled ? 0 : date, hour, minute, 30, "DR1", "OP1");
        a.unscheduled = unscheduled ? 1 : 0;
        a.patientId = head.id;
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
    };
    appointment(901, today - 30, 9, 0, false);
    appointment(902, today + 14, 14, 30, false);
    appointment(903, 0, 0, 0, true);
    appointment(904, today, 8, 0, false);
    appointment(905, today - 400, 11, 15, false);
    ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, ContinuingCareRecord{head.id, 1, 902, today + 10, 0, 0, "PRO", {}}));
    ASSERT_EQ(kQdbOk, db_.Add(kContinuingCareFile, ContinuingCareRecord{head.id, 2, 0, today + 20, 0, 0, "BWX", {}}));
    ASSERT_TRUE(WriteApptToCaseLinks(904, {LabCaseLink{77, kLabSent, "Crown Co", today}}));

    EXPECT_EQ((std::vector<std::string>{
                  "<Unscheduled Appt>\tDR1 \t\t\t",
                  "12/07/2026  Mon\t08:00am\tDR1 \t\t\tSent",
                  "12/21/2026  Mon\t02:30pm\tDR1 \tCC:PRO\t",
                  "[No Appointment]\t\t\tCC:BWX 12/27/2026",
                  "_______________________________",
                  "*11/07/2026  Sat\t09:00am\tDR1 \t\t\t",
                  "*11/02/2025  Sun\t11:15am\tDR1 \t\t\t",
              }),
              MoreInfoAppointmentLines(head.id, today));

    std::vector<FamilyLine> family = MoreInfoFamilyLines(head.id, today);
    size_t members = 0;
    for (const DemoPatient& p : demo_.patients) members += p.guarantorId == head.id;
    ASSERT_EQ(members, family.size());
    char expected[120];
    const int age = std::stoi(family[0].text.substr(family[0].text.rfind('\t') + 1, 3));
    std::snprintf(expected, sizeof expected, " Guar  \t%s, %s %s\t%3d  CC:PRO 12/17/26, BWX 12/27/26", head.last.c_str(),
                  head.first.c_str(), head.middleInitial.c_str(), age);
    EXPECT_EQ(expected, family[0].text);
    EXPECT_EQ(head.id, family[0].patientId);
    const DemoPatient& second = demo_.patients[1];
    ASSERT_EQ(head.id, second.guarantorId);
    EXPECT_EQ(0u, family[1].text.find(second.relation == 2 ? " Spouse\t" : "Child\t")) << family[1].text;
    EXPECT_NE(std::string::npos, family[1].text.find("  CC:<none>"));

    MemberDetails details;
    ASSERT_TRUE(ReadMemberDetails(head.id, today, &details));
    EXPECT_EQ("Patient|Sent", details.status + "|" + details.labCase);
    ASSERT_TRUE(ReadMemberDetails(demo_.patients[42].id, today, &details));
    EXPECT_EQ("Inactive Patient|", details.status + "|" + details.labCase);
}
