// The notes dialog's contents: the four fields by the user's rights, the medical alerts text at
// its 1080-character bound, and notes and the alert set written back and read again.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "appointments/note_store.h"
#include "appointments/notes_dialog.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/records/definitions.h"

TEST(NotesFields, EachFieldFollowsItsRights) {
    struct Case { std::set<int> rights; NoteFieldState alerts; bool edit; NoteFieldState appointment, patient, guarantor; int loaded; };
    const Case cases[] = {
        {{}, kFieldHidden, false, kFieldReadOnly, kFieldHidden, kFieldHidden, 2},
        {{142}, kFieldReadOnly, true, kFieldReadOnly, kFieldHidden, kFieldHidden, 1 | 2},
        {{66}, kFieldHidden, false, kFieldEditable, kFieldHidden, kFieldHidden, 2},
        {{149}, kFieldHidden, false, kFieldReadOnly, kFieldEditable, kFieldHidden, 2 | 4},
        {{149, 150}, kFieldHidden, false, kFieldReadOnly, kFieldEditable, kFieldHidden, 2 | 4},
        {{55}, kFieldHidden, false, kFieldReadOnly, kFieldHidden, kFieldEditable, 2 | 8},
        {{142, 66, 149, 55}, kFieldReadOnly, true, kFieldEditable, kFieldEditable, kFieldEditable, 15},
    };
    for (const Case& c : cases) {
        std::string named;
        for (int r : c.rights) named += std::to_string(r) + " ";
        SCOPED_TRACE("rights " + named);
        const NotesFields f = NotesFieldsFor([&](int right) { return c.rights.count(right) != 0; });
        EXPECT_EQ(std::tuple(c.alerts, c.edit, c.appointment, c.patient, c.guarantor, c.loaded),
                  std::tuple(f.alerts, f.editAlerts, f.appointment, f.patient, f.guarantor, f.loaded));
    }
    EXPECT_STREQ("May not be viewed according to\r\nyour security option rights", kNotViewable);
}

TEST(AlertsText, TextsAreJoinedUntilTheNextWouldReach1080Characters) {
    EXPECT_EQ("Penicillin; Latex; Heart murmur", JoinAlertTexts({"Penicillin", "Latex", "Heart murmur"}));
    // 1077 characters, then "; " and one more would make 1080: " +" instead, and the list ends.
    const std::string first(1077, 'a');
    EXPECT_EQ(first + " +", JoinAlertTexts({first, "b", "c"}));
    // 1076 + "; " + "b" = 1079 stays below the bound.
    const std::string shorter(1076, 'a');
    EXPECT_EQ(shorter + "; b +", JoinAlertTexts({shorter, "b", "c"}));
    // A first text alone of 1080 characters does not fit either.
    EXPECT_EQ(" +", JoinAlertTexts({std::string(1080, 'x')}));
}

namespace {

class NotesContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        PatientRecord p{};
        p.id = 40;
        p.guarantorId = 41;
        PutText(p.lastName, "Quill");
        PutText(p.firstName, "Ada");
        p.middleInitial = 'B';
        p.privacy = kPrivacyRequests;
        p.medicalAlerts[0] = 0x05;  // alerts 1 and 3
        p.medicalAlerts[7] = 0x80;  // alert 64
        ASSERT_EQ(kQdbOk, db_.Add(kPatientFile, p));
        for (int n : {1, 2, 3, 64}) {
            DefinitionRecord d{};
            d.kind = kDefinitionMedicalAlert;
            d.number = static_cast<uint8_t>(n);
            PutText(d.text, "Alert " + std::to_string(n));
            ASSERT_EQ(kQdbOk, db_.Add(kDefinitionFile, d));
        }
    }
    PracticeTestDatabase db_;
};

}  // namespace

TEST_F(NotesContentTest, TitleAlertsAndNotesAreLoadedAndSavedByTheirBits) {
    ScriptedPrompter quiet;
    NotesContent c = LoadNotes(40, 900, 15);
    ASSERT_TRUE(c.patientFound);
    EXPECT_EQ("Medical Alerts/Notes for Quill, Ada B - PRIVACY REQUESTS", NotesTitle(c.patient));
    EXPECT_EQ("Alert 1; Alert 3; Alert 64", c.alerts);

    c.appointmentNote = "bring x-rays";
    c.patientNote = "prefers mornings";
    c.guarantorNote = "pays by card";
    c.patient.medicalAlerts[0] = 0x02;  // alert 2 only
    c.patient.medicalAlerts[7] = 0;
    // Only the appointment and patient notes were loaded: the guarantor note and the alerts stay.
    ASSERT_TRUE(SaveNotes(40, 900, kNotesAppointment | kNotesPatient, c, 100));
    EXPECT_EQ("bring x-rays|prefers mornings", ReadNote(kNoteAppointment, 900).text + "|" + ReadNote(kNotePatient, 40).text);
    EXPECT_FALSE(ReadNote(kNoteGuarantor, 41).exists);
    EXPECT_EQ("Alert 1; Alert 3; Alert 64", LoadNotes(40, 900, kNotesAlerts).alerts);

    ASSERT_TRUE(SaveNotes(40, 900, 15, c, 100));
    EXPECT_EQ("pays by card", ReadNote(kNoteGuarantor, 41).text) << "under the guarantor's id";
    const NotesContent again = LoadNotes(40, 900, 15);
    EXPECT_EQ("Alert 2", again.alerts);
    EXPECT_EQ("Quill", GetTrimmedText(again.patient.lastName)) << "the rest of the patient record is kept";
    EXPECT_TRUE(quiet.Texts().empty());
}
