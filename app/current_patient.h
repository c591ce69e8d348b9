// The patient of the appointment selected on the sheet, as other programs ask for it through
// the "PatientInfo" service: the identifier and the name as the sheet shows it.
#pragma once

#include <cstdint>
#include <string>

struct CurrentPatient {
    int32_t id = 0;    // 0: nothing selected, or a new patient without a patient record
    char name[33] = {};  // up to 32 characters
};
extern CurrentPatient current_patient;

// The sheet calls this on every change of the selection; the name is cut to 32 characters.
void SetCurrentPatient(int32_t id, const char* name);

// Whether a connection asks for this service: the name compares exactly, case and all.
bool IsPatientInfoService(const std::string& service_name);

// The answer to a request on topic: "id:name" for "PatientId", and for "HasFocus" only while
// the main window itself has the keyboard focus; "" (no data) for any other topic or without a
// patient. Topics compare exactly.
std::string PatientInfoReply(const std::string& topic, bool main_window_has_focus);
