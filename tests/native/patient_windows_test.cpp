// The patient's picture, alerts and referrals on a real practice database and a real pictures
// folder: the button bar's answers with and without each fact, the alert write stored whole or
// not at all (every engine operation failed in turn), and refused when another workstation
// changed the alerts or holds the patient.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_rules.h"
#include "appointments/note_store.h"
#include "change_test_support.h"
#include "data/db_access.h"
#include "data/record_text.h"
#include "demo_practice_fixture.h"
#include "lists/patient_windows.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/patient_alert.h"
#include "suite/records/notes.h"
#include "suite/records/referral.h"
#include "suite/records/users.h"

namespace {

PatientRecord Patient(uint32_t id, const char* last, const char* first, uint32_t referral) {
    PatientRecord p{};
    p.id = id;
    p.guarantorId = id;
    p.status = kPatientActive;
    std::strcpy(p.lastName, last);
    std::strcpy(p.firstName, first);
    p.referralId = referral;
    return p;
}

void WritePicture(const std::string& dir, uint32_t patient, size_t bytes) {
    std::filesystem::create_directories(dir + "/Pictures");
    std::ofstream out(dir + "/Pictures/" + std::to_string(patient) + ".bmp", std::ios::binary);
    out << std::string(bytes, 'B');
}

int32_t Today() { return QVN_DateIn(12, 7, 2026); }

}  // namespace

TEST(PatientWindows, ButtonAnswersForPictureAlertsAndReferralsFollowWhatIsOnFile) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ReferralRecord source{};
    source.id = 3;
    std::strcpy(source.lastName, "Hart");
    ASSERT_EQ(kQdbOk, db.Add(kReferralFile, source));
    // 41 has everything; 42 nothing; 43 an empty picture file, an emptied alert note and a
    // referral source that is no longer on file (the record still names one).
    ASSERT_EQ(kQdbOk, db.Add(kPatientFile, Patient(41, "Ames", "Ann", 3)));
    ASSERT_EQ(kQdbOk, db.Add(kPatientFile, Patient(42, "Bell", "Bo", 0)));
    ASSERT_EQ(kQdbOk, db.Add(kPatientFile, Patient(43, "Cole", "Cy", 9)));
    WritePicture(db.Dir(), 41, 64);
    WritePicture(db.Dir(), 43, 0);
    ASSERT_EQ(kQdbOk, WriteNote(kNotePatientAlert, 41, "Latex allergy", Today()));
    ASSERT_EQ(kQdbOk, WriteNote(kNotePatientAlert, 43, "", Today()));

    struct Row {
        const char* what;
        bool selected;
        uint32_t patient;
        int disabled;                                // for each of 386, 393 and 12146
        int picture, alerts, referral;               // the answers written
    } rows[] = {
        {"everything on file", true, 41, 0, 1, 1, 1},
        {"nothing on file", true, 42, 0, 0, 0, 0},
        {"empty picture, emptied alerts, lost source", true, 43, 0, 0, 0, 1},
        {"a new patient's appointment", true, 0, 1, 0, 0, 0},
        {"nothing selected", false, 0, 1, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SelectionFacts facts;
        facts.appointmentSelected = r.selected;
        facts.patientSelected = r.patient != 0;
        const PatientFileFacts on_file = ReadPatientFileFacts(r.patient);
        facts.hasPicture = on_file.picture;
        facts.hasReferrals = on_file.referral;
        {
            FileGroupDesc notes{};
            DbGroupOf(kNoteFile, &notes);
            DbGroupScope open(notes);
            facts.hasPatientAlerts = PATALERT_PatientHasAlerts(r.patient, Today()) == 2;
        }
        int picture = 0, alerts = 0, referral = 0;
        const std::vector<int> disabled = {ButtonState(386, facts, &picture), ButtonState(393, facts, &alerts),
                                           ButtonState(12146, facts, &referral)};
        EXPECT_EQ(std::vector<int>(3, r.disabled), disabled) << r.what;
        EXPECT_EQ((std::vector<int>{r.picture, r.alerts, r.referral}), (std::vector<int>{picture, alerts, referral})) << r.what;
    }
}

// Patient 41 in a fresh practice database.
class PatientAlertWrite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.Ok());
        ASSERT_EQ(kQdbOk, db.Add(kPatientFile, Patient(41, "Ames", "Ann", 0)));
    }
    PracticeTestDatabase db;
};

TEST_F(PatientAlertWrite, AnAlertWriteIsStoredWholeOrNotAtAll) {
    ASSERT_EQ(kQdbOk, WriteNote(kNotePatientAlert, 41, "Latex allergy", Today()));
    const AlertSetup opened = LoadAlertSetup(41);
    ASSERT_TRUE(opened.patientFound);
    EXPECT_EQ("Ames, Ann|Latex allergy", opened.patientName + "|" + opened.text);

    // Two record locks, the note, the audit entry and the commit: each failed in turn leaves the
    // notes and the audit file as they were.
    const int refused = FailEachOperationInTurn(
        "alert write", [&] { return StoredRows(db.Dir(), {"g18", "g44", "g92"}); },
        [&] { return SavePatientAlerts(opened, "Latex allergy\nPremedicate\n\n", Today()) == AlertSave::kWritten; });
    EXPECT_EQ(5, refused);
    EXPECT_EQ("Latex allergy\r\nPremedicate", PatientAlertText(41, Today())) << "the line ends of the edit control, trailing lines dropped";
    std::vector<AuditEntry> audit;
    ASSERT_TRUE(QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit));
    ASSERT_EQ(1u, audit.size());
    EXPECT_EQ(std::tuple(kAuditPatientAlerts, std::string("Latex allergy"), std::string("Latex allergy\r\nPremedicate")),
              std::tuple(audit[0].kind, std::string(audit[0].oldRecord.begin(), audit[0].oldRecord.end()),
                         std::string(audit[0].newRecord.begin(), audit[0].newRecord.end())));

    // Emptied: the note goes, the patient has no alerts any more.
    const AlertSetup again = LoadAlertSetup(41);
    EXPECT_EQ(AlertSave::kUnchanged, SavePatientAlerts(again, "Latex allergy\r\nPremedicate  \r\n", Today()));
    EXPECT_EQ(AlertSave::kWritten, SavePatientAlerts(again, "  \r\n", Today()));
    EXPECT_FALSE(ReadNote(kNotePatientAlert, 41).exists);
}

TEST_F(PatientAlertWrite, AnAlertWriteIsRefusedAfterAChangeElsewhereAndWaitsForALockedPatient) {
    const AlertSetup opened = LoadAlertSetup(41);
    EXPECT_FALSE(opened.existed);

    // Another workstation holds the patient record: asked, Cancel, nothing written.
    {
        QdbPrivateSession other;
        QdbOpenedFile patients(other.Handle(), kPatientFile);
        uint32_t id = 41;
        ASSERT_EQ(1, QDB_LockKey(patients.Handle(), kPatientByIdKey, &id));
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerCancel);
        EXPECT_EQ(AlertSave::kCancelled, SavePatientAlerts(opened, "Premedicate", Today()));
        EXPECT_EQ(1u, prompter.Asked().size());
        EXPECT_FALSE(ReadNote(kNotePatientAlert, 41).exists);
    }

    // Another workstation wrote alerts after the set-up opened: refused, theirs kept.
    ASSERT_EQ(kQdbOk, WriteNote(kNotePatientAlert, 41, "Theirs", Today()));
    const std::string before = StoredRows(db.Dir(), {"g44", "g92"});
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(AlertSave::kChangedElsewhere, SavePatientAlerts(opened, "Mine", Today()));
    EXPECT_EQ(std::vector<std::string>{"The patient's alerts have been changed at another workstation during edit. Edit canceled!"},
              prompter.Texts());
    EXPECT_EQ(before, StoredRows(db.Dir(), {"g44", "g92"}));
}
