// The patient-alert and lab-case boxes the sheet's marker icons open, on a real database: the
// alert text as the front desk reads it, nothing shown for a patient without alerts, and the
// appointment's cases listed one per line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "suite/dates.h"
#include "suite/lab_case.h"
#include "suite/patient_alert.h"
#include "suite/records/notes.h"

namespace {

uint16_t AddNote(uint8_t kind, uint32_t owner, const std::string& text) {
    std::vector<uint8_t> buffer(sizeof(NoteHead) + text.size() + 1, 0);
    const NoteHead head{kind, owner, 0, {}};
    std::memcpy(buffer.data(), &head, sizeof head);
    std::memcpy(buffer.data() + sizeof head, text.c_str(), text.size());
    FileGroupDesc desc{};
    DbGroupOf(kNoteFile, &desc);
    DbGroupScope group(desc);
    return DbAddVariable(kNoteFile, buffer.data(), static_cast<int>(buffer.size()));
}

}  // namespace

TEST(PatientAlerts, TheAlertTextIsShownOnceAndAPatientWithoutAlertsGetsNoBox) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    const std::string long_text = "Premedicate: amoxicillin 2 g one hour before.\nAsk about the new inhaler." +
                                  std::string(600, '.');
    ASSERT_EQ(kQdbOk, AddNote(kNotePatientAlert, 41, long_text));
    ASSERT_EQ(kQdbOk, AddNote(kNotePatient, 42, "a patient note is no alert"));
    ASSERT_EQ(kQdbOk, AddNote(kNotePatientAlert, 43, ""));
    const int32_t day = QVN_DateIn(12, 7, 2026);

    // The whole text past the note's head; none for another kind of note, an emptied alert note, no note.
    EXPECT_EQ((std::vector<std::string>{long_text, "", "", ""}),
              (std::vector<std::string>{PatientAlertText(41, day), PatientAlertText(42, day), PatientAlertText(43, day),
                                        PatientAlertText(44, day)}));

    ScriptedPrompter p;
    p.Answer(kAnswerOk);
    EXPECT_EQ((std::vector<int>{1, 0, 0}), (std::vector<int>{PATALERT_PopUpPatientAlerts(41, day, 32),
                                                            PATALERT_PopUpPatientAlerts(42, day, 32),
                                                            PATALERT_PopUpPatientAlerts(43, day, 0)}));
    ASSERT_EQ(1u, p.Asked().size());
    EXPECT_EQ(std::tuple(long_text, std::string("Patient Alerts"), kButtonsOk), std::tuple(p.Asked()[0].text, p.Asked()[0].title, p.Asked()[0].buttons));
}

TEST(LabCase, TheCaseListShowsEachCaseWithItsLabStateAndDueDate) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    EXPECT_EQ("No lab cases are linked to this appointment.", ApptCaseLinksText({}));
    const int32_t due = QVN_DateIn(12, 10, 2026);
    ASSERT_TRUE(WriteApptToCaseLinks(9, {{12, kLabSent, "Crown Co", due}, {30, kLabInHouse, "", 0}}));

    ScriptedPrompter p;
    p.Answer(kAnswerOk).Answer(kAnswerOk);
    ShowApptCaseLinks(9);
    ShowApptCaseLinks(10);
    EXPECT_EQ((std::vector<std::string>{"Case 12: Crown Co - Sent, due 12/10/2026\nCase 30: In House",
                                        "No lab cases are linked to this appointment."}),
              p.Texts());
    EXPECT_EQ("Lab Cases", p.Asked()[0].title);
}
