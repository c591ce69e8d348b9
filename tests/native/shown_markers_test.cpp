// The markers of a loaded day view (patient alert, appointment note, lab case), read together for
// all its appointments, on SQLite files and PostgreSQL databases alike: each box shows its own
// appointment's and patient's markers and no other's, a patient of two appointments shows the
// alert on both, notes of another kind count for nothing, and the first and last owner of every
// statement are read like the rest.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "demo_practice_fixture.h"
#include "suite/lab_case.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "views/day_data.h"

namespace {

// 260 appointments: past four statements of 64 owners (the batch reads' statements) and past 256.
constexpr uint32_t kFirstAppt = 7001, kLastAppt = 7260;
constexpr uint32_t kFirstPatient = 880001;

class ShownMarkers : public DemoPracticeTest, public ::testing::WithParamInterface<Backend> {
protected:
    ShownMarkers() : DemoPracticeTest(GetParam()) {}
    void TearDown() override { FreeDays(); }

    template <typename Record>
    static void AddAll(int file, const std::vector<Record>& records) {
        FileGroupDesc desc{};
        DbGroupOf(file, &desc);
        DbGroupScope group(desc);
        for (const Record& r : records) ASSERT_EQ(kQdbOk, DbAdd(file, &r));
    }
    // A note as the notes file stores it: the head, the text and its terminator.
    static void AddNote(uint8_t kind, uint32_t owner, const std::string& text) {
        std::vector<uint8_t> buffer(sizeof(NoteHead) + text.size() + 1, 0);
        const NoteHead head{kind, owner, 0, {}};
        std::memcpy(buffer.data(), &head, sizeof head);
        std::memcpy(buffer.data() + sizeof head, text.c_str(), text.size());
        FileGroupDesc desc{};
        DbGroupOf(kNoteFile, &desc);
        DbGroupScope group(desc);
        ASSERT_EQ(kQdbOk, DbAddVariable(kNoteFile, buffer.data(), static_cast<int>(buffer.size())));
    }

    // "alert note lab" of every box booked here, by appointment id.
    static std::map<uint32_t, std::string> Markers() {
        std::map<uint32_t, std::string> shown;
        for (const DayColumn& c : day_data.days.at(0).columns)
            for (const ApptDisplay& d : c.appointments)
                if (d.id >= static_cast<int32_t>(kFirstAppt) && d.id <= static_cast<int32_t>(kLastAppt))
                    shown[static_cast<uint32_t>(d.id)] = std::to_string(d.patientAlert) + " " + std::to_string(d.noteFlag) +
                                                         " " + std::to_string(d.labCaseState);
        return shown;
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Storage, ShownMarkers, TestedBackends(), BackendParamName);

TEST_P(ShownMarkers, EveryBoxShowsItsOwnAlertNoteAndLabCaseAcrossBatches) {
    const char* const operatories[] = {"OP1", "OP2", "OP3", "OP4", "OP5", "OP6", "OP7"};
    // Appointment 7000+i for patient 880000+i, 38 an operatory every ten minutes from 17:00 (after
    // the demo's day), every one with its lab-case flag; the last shares the first one's patient,
    // so the patients are 259.
    std::vector<PatientRecord> patients;
    std::vector<AppointmentRecord> appointments;
    for (uint32_t i = 1; i <= kLastAppt - kFirstAppt + 1; ++i) {
        const uint32_t id = kFirstAppt + i - 1;
        const uint32_t patient = id == kLastAppt ? kFirstPatient : kFirstPatient + i - 1;
        if (id != kLastAppt) {
            PatientRecord p{};
            p.id = patient;
            std::snprintf(p.lastName, sizeof p.lastName, "Patient%u", i);
            patients.push_back(p);
        }
        const int slot = static_cast<int>((i - 1) % 38);
        AppointmentRecord a = DemoAppt(id, DemoMonday(), 17 + slot / 6, slot % 6 * 10, 10, "DR1", operatories[(i - 1) / 38]);
        a.patientId = patient;
        a.labCase = 1;
        appointments.push_back(a);
    }
    AddAll(kPatientFile, patients);
    AddAll(kAppointmentFile, appointments);
    // Alerts: the first and last patient of each statement (880001 also the last appointment's).
    for (uint32_t patient : {880001u, 880256u, 880257u, 880259u}) AddNote(kNotePatientAlert, patient, "Latex allergy");
    AddNote(kNotePatientAlert, 880030, "");                  // emptied: no alert
    AddNote(kNotePatient, 880031, "a patient note");         // another kind: no alert
    AddNote(kNoteAppointment, 880040, "owner 880040 is an appointment here, not the patient");
    // Appointment notes: the first and last of each statement.
    for (uint32_t id : {7001u, 7256u, 7257u, 7260u}) AddNote(kNoteAppointment, id, "bring x-rays");
    AddNote(kNotePatientAlert, 7010, "an alert of a patient numbered like appointment 7010");
    // Lab cases, at the ends of statements: the least advanced state shows.
    ASSERT_TRUE(WriteApptToCaseLinks(7001, {{300, kLabReceived, "Smile Lab", 0}, {12, kLabSent, "Crown Co", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7002, {{13, kLabNeeded, "Crown Co", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7064, {{14, kLabInHouse, "", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7065, {{15, kLabReceived, "Smile Lab", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7256, {{19, kLabSent, "", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7257, {{20, kLabNeeded, "", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7260, {{16, kLabSent, "", 0}, {17, kLabNeeded, "", 0}}));
    ASSERT_TRUE(WriteApptToCaseLinks(7261, {{18, kLabNeeded, "", 0}}));  // an appointment not on the day

    std::map<uint32_t, std::string> expected;
    for (uint32_t id = kFirstAppt; id <= kLastAppt; ++id) expected[id] = "0 0 0";
    expected[7001] = "2 2 2";
    expected[7002] = "0 0 1";
    expected[7064] = "0 0 4";
    expected[7065] = "0 0 3";
    expected[7256] = "2 2 2";
    expected[7257] = "2 2 1";
    expected[7259] = "2 0 0";
    expected[7260] = "2 2 1";

    ShowOnly({"DR1"}, {"OP1", "OP2", "OP3", "OP4", "OP5", "OP6", "OP7"});
    LoadShownDays({DemoMonday()}, kDayView);
    EXPECT_EQ(expected, Markers());

    // A view without alerts and notes shows only the lab cases.
    view_state.active.showAlerts = false;
    view_state.active.showNotes = false;
    LoadShownDays({DemoMonday()}, kDayView);
    for (auto& [id, text] : expected) text = "0 0 " + text.substr(4);
    EXPECT_EQ(expected, Markers());
}
