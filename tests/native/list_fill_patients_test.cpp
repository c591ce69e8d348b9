// A list's fill reads each named patient once for all its lines: every line still gets its own
// patient's title and private-phone wish, whichever order the lines and patients come in, and a
// line whose patient is gone shows neither.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo_practice_fixture.h"
#include "lists/appt_lists.h"
#include "suite/qdb/qdb.h"
#include "suite/records/patient.h"

namespace {

void SetPatientFacts(uint32_t id, const char* title, uint8_t privacy) {
    FileGroupDesc desc{};
    DbGroupOf(kPatientFile, &desc);
    PatientRecord before{};
    ASSERT_EQ(kQdbOk, DbFindRecord(desc, kPatientByIdKey, &id, sizeof id, &before));
    PatientRecord after = before;
    PutText(after.nameTitle, title);
    after.privacy = privacy;
    ASSERT_EQ(kQdbOk, DbSaveRecord(desc, kPatientByIdKey, &id, sizeof id, &before, &after, false));
}

class ListFillPatientsTest : public DemoPracticeTest {};

TEST_F(ListFillPatientsTest, EachLineGetsItsOwnPatientsTitleAndPhoneWish) {
    SetPatientFacts(1, "Dr.", 0);
    SetPatientFacts(2, "Mrs.", kPrivatePhone);
    SetPatientFacts(3, "", 0);
    // Waiting appointments of provider QA1, in list-date order; the patients come out of id order,
    // twice each, and 999999 has no record.
    const struct {
        uint32_t appointment, patient;
        const char* phone;
        const char* line;
    } rows[] = {
        {9301, 3, "(312)555-0101", "12/07/2026W/Call Patient 9301           QA1  Appointment 9301 30(312)555-0101"},
        {9302, 1, "(312)555-0102", "12/08/2026W/Call Dr. Patient 9302       QA1  Appointment 9302 30(312)555-0102"},
        {9303, 3, "(312)555-0103", "12/09/2026W/Call Patient 9303           QA1  Appointment 9303 30(312)555-0103"},
        {9304, 999999, "(312)555-0104", "12/10/2026W/Call Patient 9304           QA1  Appointment 9304 30(312)555-0104"},
        {9305, 2, "(312)555-0105", "12/11/2026W/Call Mrs. Patient 9305      QA1  Appointment 9305 30             "},
        {9306, 1, "(312)555-0106", "12/12/2026W/Call Dr. Patient 9306       QA1  Appointment 9306 30(312)555-0106"},
    };
    std::vector<std::string> expected;
    for (size_t i = 0; i < std::size(rows); ++i) {
        AppointmentRecord a = DemoAppt(rows[i].appointment, 0, 9, 0, 30, "QA1", "OP1");
        a.patientId = rows[i].patient;
        a.unscheduled = 1;
        a.status = kStatusUnscheduled;
        a.listDate = DemoMonday() + static_cast<int32_t>(i);
        PutText(a.phone, rows[i].phone);
        ASSERT_EQ(kQdbOk, db_.Add(kAppointmentFile, a));
        expected.push_back(rows[i].line);
    }
    HeaderListModel list({10, 7, 23, 5, 16, 3, 13}, 7169);
    ASSERT_EQ(6, FillApptList(kListUnscheduled, ParseSavedFilter(kListUnscheduled, "2(QA1 )"), &list).lines);
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) {
        texts.push_back(list.Line(i).text);
        EXPECT_EQ(rows[i].patient, list.Line(i).data2) << i;
    }
    EXPECT_EQ(expected, texts);
}

}  // namespace
