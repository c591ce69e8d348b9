// Break, delete, set status and purge on the demo practice: what the records hold afterwards,
// the questions and refusals word for word, nothing changed by a change that fails at any step,
// and the week occupancy still in step with the appointments.

#include "appointments/appt_care.h"
#include "appointments/purge_rules.h"
#include "data/appointment_actions.h"
#include "data/occupancy_verify.h"
#include "change_test_support.h"
#include "demo_practice_fixture.h"
#include "suite/notes.h"
#include "suite/records/continuing_care.h"
#include "suite/records/lab_case.h"
#include "suite/records/patient.h"

namespace {

const std::string kSaysBreak = "Break this appointment?\nIt will be moved to the unscheduled list.";
const std::string kSaysDelete = "Delete this appointment?\nA deleted appointment cannot be restored.";
const std::string kSaysPinned =
    "This appointment is waiting on the pin board and cannot be deleted.\nSchedule it or clear the pin board first.";

PatientRecord ReadPatient(uint32_t id) {
    FileGroupDesc desc{};
    DbGroupOf(kPatientFile, &desc);
    PatientRecord p{};
    EXPECT_EQ(kQdbOk, DbReadForUpdate(desc, kPatientByIdKey, &id, sizeof id, &p, false));
    return p;
}

void ExpectOccupancyInStep(const char* after) {
    const OccupancyReport report = VerifyOccupancy(false);
    ASSERT_TRUE(report.ok) << after;
    EXPECT_EQ(std::vector<std::string>{}, report.differences) << after;
}

class ApptActions : public DemoPracticeTest {
protected:
    // A patient's appointment on Monday with two reasons, an appointment note, a continuing care
    // record and a lab case attached.
    AppointmentRecord BookWithLinks(uint32_t id, uint32_t patient_id, int hour, const char* operatory) {
        AppointmentRecord a = DemoAppt(id, DemoMonday(), hour, 0, 30, "DR1 ", operatory);
        a.patientId = patient_id;
        a.reasons[0] = 11;
        a.reasons[1] = 12;
        a.reasonKinds[0] = a.reasonKinds[1] = kReasonIsProcedure;
        ApptSaveExtras extras;
        extras.writeNote = true;
        extras.note = "bring the x-rays";
        if (patient_id) extras.care.push_back(ContinuingCareRecord{patient_id, 9, id, DemoMonday(), 6, 0, "RECALL", {}});
        ScriptedPrompter yes;
        for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
        EXPECT_TRUE(SaveAppointment(true, nullptr, a, nullptr, nullptr, &extras));
        LabCaseLinkRecord lab{};
        lab.appointmentIdBE[3] = static_cast<uint8_t>(id);
        lab.caseIdBE[3] = 5;
        lab.state = kLabSent;
        EXPECT_EQ(kQdbOk, db_.Add(kLabCaseFile, lab));
        return a;
    }
};

}  // namespace

TEST_F(ApptActions, BreakKeepsProviderLengthAndReasonsAndCountsAgainstThePatient) {
    struct Case {
        const char* what;
        uint32_t patientId;
        int countRise;          // of patient 1
        const char* noteStart;  // of the patient's note of broken appointments; null for none
    };
    const Case cases[] = {
        {"patient", 1, 1, "Broken Appointment\r\nDate: 12/07/2026  Time: 10:00am  Provider: DR1  Length: 30 min"},
        {"new patient", 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const uint32_t id = 100 + c.patientId;
        const AppointmentRecord a = BookWithLinks(id, c.patientId, 9 + static_cast<int>(c.patientId), "OP1 ");
        const PatientRecord patient_before = ReadPatient(1);
        FakeApptWindows windows;
        windows.pinned = id;
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerYes);
        ASSERT_EQ(1, BreakAppointment(windows, id));
        EXPECT_EQ(std::vector<std::string>{kSaysBreak}, prompts.Texts());
        EXPECT_EQ(0u, windows.pinned) << "the pin board lets the broken appointment go";
        EXPECT_EQ(std::vector<uint32_t>{id}, windows.changed);

        // Only the place goes: provider, length, reasons and pattern stay, the date moves to the list.
        AppointmentRecord expected = a, stored{};
        expected.listDate = DemoMonday();
        expected.date = expected.hour = expected.minute = expected.startUnit = expected.operatoryMarker = 0;
        expected.unscheduled = 1;
        expected.status = 100;
        std::memset(expected.operatory, 0, 4);
        ASSERT_EQ(kQdbOk, ReadAppointment(id, &stored));
        EXPECT_EQ(0, std::memcmp(&expected, &stored, sizeof stored));
        std::vector<uint32_t> unscheduled;
        for (const AppointmentRecord& u : ReadPatientAppointments(c.patientId))
            if (u.unscheduled) unscheduled.push_back(+u.id);
        EXPECT_EQ(std::vector<uint32_t>{id}, unscheduled) << "listed as unscheduled";
        ExpectOccupancyInStep("a break");

        const PatientRecord patient_after = ReadPatient(1);
        EXPECT_EQ(patient_before.brokenCount + c.countRise, +patient_after.brokenCount);
        EXPECT_EQ(c.countRise ? DemoMonday() : +patient_before.lastBrokenDate, +patient_after.lastBrokenDate);
        const NoteRead note = ReadNote(7, c.patientId);
        EXPECT_EQ(c.noteStart != nullptr, note.exists);
        EXPECT_EQ(c.noteStart ? c.noteStart : "", note.text.substr(0, c.noteStart ? std::strlen(c.noteStart) : 0));
    }
}

TEST_F(ApptActions, DeleteRefusesThePinnedOneAndTakesEverythingOfItsOwnAlong) {
    BookWithLinks(200, 1, 9, "OP2 ");
    FakeApptWindows windows;
    windows.pinned = 200;
    ScriptedPrompter prompts;
    prompts.Answer(kAnswerOk).Answer(kAnswerNo).Answer(kAnswerYes);
    EXPECT_EQ(0, DeleteAppointment(windows, 200));
    windows.pinned = 0;
    windows.selected = 200;
    EXPECT_EQ(0, DeleteAppointment(windows, 200));
    EXPECT_EQ(1, DeleteAppointment(windows, 200));
    EXPECT_EQ((std::vector<std::string>{kSaysPinned, kSaysDelete, kSaysDelete}), prompts.Texts());
    EXPECT_EQ(0u, windows.selected);
    AppointmentRecord gone{};
    EXPECT_EQ(kQdbNotFound, ReadAppointment(200, &gone));
    EXPECT_FALSE(ReadNote(kNoteAppointment, 200).exists);
    std::vector<uint32_t> care_of_type_9;
    for (const ContinuingCareRecord& c : ReadPatientCare(1))
        if (c.type == 9) care_of_type_9.push_back(+c.appointmentId);
    EXPECT_EQ(std::vector<uint32_t>{0}, care_of_type_9) << "the care record stays, unattached";
    const std::string rows = StoredRows(db_.Dir());
    EXPECT_EQ(std::string::npos, rows.find("g106:")) << "the lab link went";
    ExpectOccupancyInStep("a delete");
}

TEST_F(ApptActions, AChangeThatFailsAtAnyStepLeavesTheDatabaseAsItWas) {
    BookWithLinks(1, 1, 9, "OP1 ");
    BookWithLinks(2, 0, 11, "OP3 ");
    struct Action {
        const char* what;
        uint32_t id;
        ApptChangeResult (*run)(uint32_t id);
        int leastFailures;
    };
    const Action actions[] = {
        {"break", 1, [](uint32_t id) { AppointmentRecord b; return BreakStoredAppointment(id, &b); }, 14},
        {"status", 2, [](uint32_t id) { AppointmentRecord b; return SetStoredAppointmentStatus(id, 3, &b); }, 4},
        {"delete", 2, [](uint32_t id) { AppointmentRecord b; return DeleteStoredAppointment(id, &b); }, 12},
    };
    for (const Action& c : actions) {
        const int failures = FailEachOperationInTurn(
            c.what, [&] { return StoredRows(db_.Dir()); }, [&] { return c.run(c.id) == ApptChangeResult::kDone; });
        EXPECT_GE(failures, c.leastFailures) << c.what << ": every lock, read and write of it can fail";
    }
    EXPECT_EQ(100, +Stored(1).status) << "the break went through";
    ExpectOccupancyInStep("the changes under faults");
}

namespace {

// The week starts of the stored week records, as another workstation reads them.
std::vector<uint32_t> StoredWeekStarts() {
    std::vector<uint32_t> weeks;
    for (const RscUseWeek& w : StoredRecords<RscUseWeek>(kRscUseFile)) weeks.push_back(+w.head.week);
    return weeks;
}

int CountIf(const std::vector<uint32_t>& weeks, bool (*pred)(uint32_t, int32_t), int32_t limit) {
    int n = 0;
    for (uint32_t w : weeks) n += pred(w, limit) ? 1 : 0;
    return n;
}

class StopAfter final : public PurgeProgress {
public:
    explicit StopAfter(int records) : left_(records) {}
    bool Cancelled() override { return left_-- <= 0; }
    void Counted(int purged, int read) override { shown.push_back(std::to_string(purged) + " - " + std::to_string(read)); }
    std::vector<std::string> shown;

private:
    int left_;
};

}  // namespace

TEST_F(ApptActions, PurgeTakesOnlyScheduledAppointmentsBeforeTheCutoffAndTheWeeksBeforeItsWeek) {
    const int32_t wednesday = DemoMonday() + 2;
    const int32_t cutoff_week = WeekStartOf(wednesday);
    Book(DemoAppt(1, DemoMonday() - 7, 9, 0, 30, "DR1 ", "OP1 "));  // a week earlier: purged
    Book(DemoAppt(2, DemoMonday(), 9, 0, 30, "DR1 ", "OP1 "));      // the cutoff's week, before it: purged
    Book(DemoAppt(3, DemoMonday(), 10, 0, 30, "DR1 ", "OP2 "));     // broken before the purge: kept
    Book(DemoAppt(4, wednesday + 1, 9, 0, 30, "DR1 ", "OP1 "));     // after the cutoff: kept
    Book(DemoAppt(5, DemoMonday(), 11, 0, 30, "DR2 ", "OP3 "));     // the cutoff's week, before it: purged
    AppointmentRecord unscheduled = DemoAppt(6, 0, 0, 0, 30, "DR1 ", "OP1 ");
    unscheduled.unscheduled = 1;
    unscheduled.listDate = DemoMonday() - 30;
    ASSERT_TRUE(SaveAppointment(true, nullptr, unscheduled));
    AppointmentRecord b{};
    ASSERT_EQ(ApptChangeResult::kDone, BreakStoredAppointment(3, &b));
    const std::vector<uint32_t> weeks_before = StoredWeekStarts();
    const auto is_base = [](uint32_t w, int32_t) { return w == 0; };
    const auto before_cutoff_week = [](uint32_t w, int32_t limit) { return w != 0 && static_cast<int32_t>(w) < limit; };
    ASSERT_GT(CountIf(weeks_before, before_cutoff_week, cutoff_week), 0);

    StopAfter never(1 << 30);
    const PurgeOutcome out = PurgeStoredAppointments(wednesday, never);
    EXPECT_EQ(6, out.appointmentsRead);
    EXPECT_EQ(3, out.appointmentsPurged);
    EXPECT_FALSE(out.appointmentWalkCancelled);
    std::vector<uint32_t> kept;
    for (uint32_t id = 1; id <= 6; ++id) {
        AppointmentRecord a{};
        if (ReadAppointment(id, &a) == kQdbOk) kept.push_back(id);
    }
    EXPECT_EQ((std::vector<uint32_t>{3, 4, 6}), kept);
    const std::vector<uint32_t> weeks_after = StoredWeekStarts();
    EXPECT_EQ(0, CountIf(weeks_after, before_cutoff_week, cutoff_week));
    EXPECT_EQ(CountIf(weeks_before, is_base, 0), CountIf(weeks_after, is_base, 0)) << "base records stay";
    ASSERT_EQ(out.appointmentsRead + out.weeksRead, static_cast<int>(never.shown.size()));
    EXPECT_EQ("3 - 6", never.shown[5]) << "the appointment walk's last count";
    ExpectOccupancyInStep("a purge: the cutoff week keeps only Thursday's share");
}

TEST_F(ApptActions, CancellingThePurgeStopsTheAppointmentWalkButTheWeekWalkRuns) {
    Book(DemoAppt(1, DemoMonday() - 7, 9, 0, 30, "DR1 ", "OP1 "));
    Book(DemoAppt(2, DemoMonday() - 7, 10, 0, 30, "DR1 ", "OP1 "));
    // Answers "not cancelled" for the first appointment and cancelled from then on; the week walk
    // asks too and would stop at once were it not started afresh: it must still have purged.
    class CancelAppointmentsOnly final : public PurgeProgress {
    public:
        bool Cancelled() override { return ++asked == 2; }
        void Counted(int, int) override {}
        int asked = 0;
    } progress;
    const PurgeOutcome out = PurgeStoredAppointments(DemoMonday(), progress);
    EXPECT_TRUE(out.appointmentWalkCancelled);
    EXPECT_EQ(1, out.appointmentsPurged);
    EXPECT_FALSE(out.weekWalkCancelled);
    EXPECT_GT(out.weeksPurged, 0);
    AppointmentRecord second{};
    EXPECT_EQ(kQdbOk, ReadAppointment(2, &second)) << "the walk stopped before it";
}

TEST(PurgeCutoff, StartsAYearBackOnTheFirstAndWarnsByDistanceFromToday) {
    const int32_t today = QVN_DateIn(12, 7, 2026);
    EXPECT_EQ(QVN_DateIn(12, 1, 2025), DefaultPurgeCutoff(today));
    EXPECT_EQ(QVN_DateIn(3, 1, 2023), DefaultPurgeCutoff(QVN_DateIn(3, 31, 2024)));
    struct Case {
        int32_t cutoff;
        bool messageOff;
        PurgeWarning expected;
    };
    const Case cases[] = {
        {today - 365, false, PurgeWarning::kNone},  // exactly a year back: nothing at all
        {today - 364, false, PurgeWarning::kLessThanAYear},
        {today - 1, true, PurgeWarning::kLessThanAYear},
        {today - 366, false, PurgeWarning::kPurgeMessage},
        {today - 366, true, PurgeWarning::kNone},
        {today, false, PurgeWarning::kNone},
        {today + 1, false, PurgeWarning::kFuture},
        {today + 1, true, PurgeWarning::kFuture},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, PurgeWarningFor(c.cutoff, today, c.messageOff)) << today - c.cutoff << " days back";
    EXPECT_EQ(std::string("You have selected a cut off date that is less than one year from today! Purging appointments "
                          "will permanently delete appointments scheduled prior to the cut off date. Press 'Cancel' to "
                          "change the cut off date or 'OK' to purge appointments."),
              kPurgeLessThanAYear);
    EXPECT_EQ(std::string("You have selected a cut off date that is in the future. Purging appointments will permanently "
                          "delete appointments scheduled prior to the cut off date and will delete future appointments. "
                          "Press 'Cancel' to change the cut off date or 'OK' to purge appointments."),
              kPurgeInTheFuture);
    EXPECT_EQ(std::string("Purging appointments will permanently delete appointments scheduled for a date prior to the "
                          "Cutoff Date.  Press 'OK' to proceed and purge appointments."),
              kPurgeMessageText);
}
