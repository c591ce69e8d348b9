// The "PatientInfo" service's replies: "id:name" for the selected patient, nothing otherwise.
#include <gtest/gtest.h>

#include "app/current_patient.h"

TEST(CurrentPatient, RepliesNameTheSelectedPatientOnlyForTheirTopics) {
    SetCurrentPatient(0, "");
    EXPECT_EQ("", PatientInfoReply("PatientId", true)) << "no patient yet";
    SetCurrentPatient(1234, "Baker, Anna M");
    EXPECT_EQ("1234:Baker, Anna M", PatientInfoReply("PatientId", false));
    EXPECT_EQ("1234:Baker, Anna M", PatientInfoReply("HasFocus", true));
    EXPECT_EQ("", PatientInfoReply("HasFocus", false)) << "another window has the focus";
    EXPECT_EQ("", PatientInfoReply("patientid", true)) << "topics compare exactly";
    SetCurrentPatient(-5, "A name much longer than the thirty-two characters kept");
    EXPECT_EQ("-5:A name much longer than the thir", PatientInfoReply("PatientId", false))
        << "the name is cut to 32 characters";
    EXPECT_TRUE(IsPatientInfoService("PatientInfo") && !IsPatientInfoService("patientinfo") && !IsPatientInfoService("PatientInfo "));
    SetCurrentPatient(0, "Baker, Anna M");
    EXPECT_EQ("", PatientInfoReply("PatientId", true)) << "a new patient without a record";
}
