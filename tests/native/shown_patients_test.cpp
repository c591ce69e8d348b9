// The patients of a loaded day, read together for all its columns, on SQLite files and PostgreSQL
// databases alike: each box shows its own patient's facts and privacy, a patient in two columns
// and a patient record that is missing included, and its own referral source or referring
// patient on the "Referred By" line.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "demo_practice_fixture.h"
#include "suite/dates.h"
#include "suite/records/patient.h"
#include "views/day_data.h"

namespace {

const int32_t kMonday = QVN_DateIn(12, 7, 2026);

class ShownPatients : public DemoPracticeTest, public ::testing::WithParamInterface<Backend> {
protected:
    ShownPatients() : DemoPracticeTest(GetParam()) {}
    void TearDown() override { FreeDays(); }
    void AddPatient(uint32_t id, const char* preferred, uint8_t privacy, uint32_t referral = 0) {
        PatientRecord p{};
        p.id = id;
        std::strcpy(p.lastName, "Test");
        std::strcpy(p.preferredName, preferred);
        p.privacy = privacy;
        p.referralId = referral;
        FileGroupDesc desc{};
        DbGroupOf(kPatientFile, &desc);
        DbGroupScope group(desc);
        ASSERT_EQ(kQdbOk, DbAdd(kPatientFile, &p));
    }
    void BookFor(uint32_t id, int hour, const char* provider, const char* operatory, uint32_t patient, const char* name,
                 const char* phone) {
        AppointmentRecord a = DemoAppt(id, kMonday, hour, 0, 20, provider, operatory);
        a.patientId = patient;
        std::snprintf(a.patientName, sizeof a.patientName, "%s", name);
        std::snprintf(a.phone, sizeof a.phone, "%s", phone);
        Book(a);
    }
    // "name: home phone / preferred name" of the boxes booked here, column by column.
    static std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const DayColumn& c : day_data.days.at(0).columns)
            for (const ApptDisplay& d : c.appointments)
                if (d.id >= 7001 && d.id <= 7005) boxes.push_back(d.name + ": " + d.homePhone + " / " + d.preferredName);
        return boxes;
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Storage, ShownPatients, TestedBackends(), BackendParamName);

TEST_P(ShownPatients, EveryBoxShowsItsOwnPatientInTheDayAndTheWeek) {
    AddPatient(880001, "Bob", kPrivatePhone);
    AddPatient(880002, "Sue", 0);
    BookFor(7001, 13, "DR1", "OP1", 880001, "Test, Robert", "5551110000");
    BookFor(7002, 14, "DR1", "OP2", 880001, "Test, Robert", "5551110000");
    BookFor(7003, 13, "DR2", "OP3", 880002, "Test, Susan", "5552220000");
    BookFor(7004, 15, "DR3", "OP4", 880777, "Gone, Gary", "5553330000");  // no patient record
    BookFor(7005, 15, "DR1", "OP1", 0, "Walk, In", "5554440000");
    ShowOnly({"DR1", "DR2", "DR3"}, {"OP1", "OP2", "OP3", "OP4"});

    LoadShownDays({kMonday}, kWeekView);
    EXPECT_EQ((std::vector<std::string>{"Test, Robert: Private / ", "Walk, In: 5554440000 / ", "Test, Robert: Private / ",
                                        "Test, Susan: 5552220000 / ", "Gone, Gary: 5553330000 / "}),
              Boxes());
    LoadShownDays({kMonday}, kDayView);
    EXPECT_EQ((std::vector<std::string>{"Test, Robert: Private / Bob", "Walk, In: 5554440000 / ",
                                        "Test, Robert: Private / Bob", "Test, Susan: 5552220000 / Sue",
                                        "Gone, Gary: 5553330000 / "}),
              Boxes());
}

TEST_P(ShownPatients, TheReferredByLineNamesEachBoxsOwnSourceOrReferringPatient) {
    // The demo's referral sources: 1 "Dr. Simon Hart", 2 "Lakeside Orthodontic" (the name cut to its
    // field's 20 characters).
    AddPatient(880001, "Bob", 0, 1);
    AddPatient(880002, "Sue", 0, 2);
    {
        PatientRecord referrer{};
        referrer.id = 880003;
        std::strcpy(referrer.lastName, "Referrer");
        std::strcpy(referrer.firstName, "Rita");
        referrer.middleInitial = 'K';
        FileGroupDesc desc{};
        DbGroupOf(kPatientFile, &desc);
        DbGroupScope group(desc);
        ASSERT_EQ(kQdbOk, DbAdd(kPatientFile, &referrer));
    }
    BookFor(7001, 13, "DR1", "OP1", 880001, "Test, Robert", "5551110000");
    BookFor(7002, 13, "DR2", "OP2", 880002, "Test, Susan", "5552220000");
    BookFor(7003, 14, "DR1", "OP2", 880001, "Test, Robert", "5551110000");
    BookFor(7004, 15, "DR3", "OP3", 880777, "Gone, Gary", "5553330000");  // no patient record
    // New patients: referred by a patient, by a source, by a source that is gone.
    const struct {
        uint32_t id;
        uint8_t kind;
        uint32_t by;
    } new_patients[] = {{7005, 0, 880003}, {7006, 1, 2}, {7007, 1, 99}};
    int hour = 13;
    for (const auto& n : new_patients) {
        AppointmentRecord a = DemoAppt(n.id, kMonday, hour++, 0, 20, "DR1", "OP4");
        a.referredByKind = n.kind;
        a.referredById = n.by;
        Book(a);
    }
    ShowOnly({"DR1", "DR2", "DR3"}, {"OP1", "OP2", "OP3", "OP4"});
    view_state.active.infoOrder[8] = 13;

    LoadShownDays({kMonday}, kDayView);
    std::map<int32_t, std::string> shown;
    for (const DayColumn& c : day_data.days.at(0).columns)
        for (const ApptDisplay& d : c.appointments)
            if (d.id >= 7001 && d.id <= 7007) shown[d.id] = d.referredBy;
    EXPECT_EQ((std::map<int32_t, std::string>{{7001, "Dr. Simon Hart"},
                                              {7002, "Lakeside Orthodontic"},
                                              {7003, "Dr. Simon Hart"},
                                              {7004, ""},
                                              {7005, "Referrer, Rita K"},
                                              {7006, "Lakeside Orthodontic"},
                                              {7007, ""}}),
              shown);
}
