// The current patient and the replies of the "PatientInfo" service.
#include "app/current_patient.h"

#include <cstdio>
#include <cstring>

CurrentPatient current_patient;

void SetCurrentPatient(int32_t id, const char* name) {
    current_patient.id = id;
    std::snprintf(current_patient.name, sizeof current_patient.name, "%s", name ? name : "");
}

bool IsPatientInfoService(const std::string& service_name) { return service_name == "PatientInfo"; }

std::string PatientInfoReply(const std::string& topic, bool main_window_has_focus) {
    if (current_patient.id == 0) return "";
    if (topic == "HasFocus" && !main_window_has_focus) return "";
    if (topic != "PatientId" && topic != "HasFocus") return "";
    char reply[257];
    std::snprintf(reply, sizeof reply, "%ld:%s", static_cast<long>(current_patient.id), current_patient.name);
    return reply;
}
