// Messages 1127 and 1128 of other modules about a new-patient appointment, on a real practice
// database, and the texts of the help menu.

#include "app/frame_services.h"
#include "demo_practice_fixture.h"
#include "suite/audit.h"

namespace {

class NewPatient : public DemoPracticeTest {};

}  // namespace

TEST_F(NewPatient, TheNewPatientAppointmentGetsItsPatientOnceAndOnlyIt) {
    AppointmentRecord a = DemoAppt(9101, DemoMonday(), 9, 0, 30, "DR1 ", "OP1 ");
    std::strcpy(a.patientName, "Newman, Nora");
    Book(a);

    EXPECT_EQ(9101u, NewPatientSelection(9101, 0)) << "a new-patient appointment is selected";
    EXPECT_EQ(0u, NewPatientSelection(9101, 55)) << "a patient's appointment";
    EXPECT_EQ(0u, NewPatientSelection(0, 0)) << "nothing selected";

    EXPECT_TRUE(GiveNewPatientId(9101, 4242));
    a.patientId = 4242;
    const AppointmentRecord given = Stored(9101);
    EXPECT_EQ(0, std::memcmp(&a, &given, sizeof a)) << "the patient given, nothing else changed";
    EXPECT_FALSE(GiveNewPatientId(9101, 777)) << "it has its patient now";
    EXPECT_EQ(4242u, uint32_t{Stored(9101).patientId});
    EXPECT_FALSE(GiveNewPatientId(9999, 4242)) << "no such appointment";
}

TEST(FrameServices, HelpFilesAndTheAboutBoxLines) {
    EXPECT_EQ("C:\\Program Files\\Quorvin\\apptbook.chm", HelpFilePath("C:\\Program Files\\Quorvin\\", "apptbook.chm"));
    EXPECT_EQ("C:\\Quorvin\\Winhelp.hlp", HelpFilePath("C:\\Quorvin", "Winhelp.hlp"));
    EXPECT_EQ("The help file C:\\Quorvin\\apptbook.chm cannot be found.", MissingHelpFileText("C:\\Quorvin\\apptbook.chm"));
    EXPECT_EQ("Practice data: C:\\Quorvin\\", AboutDataLine("C:\\Quorvin\\"));
}
