// The patients of a loaded day, read together for all its columns, on SQLite files and PostgreSQL
// databases alike: each box shows its own patient's facts and privacy, a patient in two columns
// and a patient record that is missing included.
#include <gtest/gtest.h>

#include <cstring>
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
    void AddPatient(uint32_t id, const char* preferred, uint8_t privacy) {
        PatientRecord p{};
        p.id = id;
        std::strcpy(p.lastName, "Test");
        std::strcpy(p.preferredName, preferred);
        p.privacy = privacy;
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
