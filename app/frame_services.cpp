// The new-patient appointment's patient, the help files and the About box's lines.
#include "app/frame_services.h"

#include "app/refresh.h"
#include "data/appointment_record.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "suite/audit.h"
#include "suite/workstation_settings.h"

uint32_t NewPatientSelection(uint32_t selected_id, uint32_t selected_patient_id) {
    return selected_id != 0 && selected_patient_id == 0 ? selected_id : 0;
}

bool GiveNewPatientId(uint32_t appointment_id, uint32_t patient_id) {
    if (appointment_id == 0 || patient_id == 0) return false;
    AppointmentRecord before{};
    if (ReadAppointment(appointment_id, &before) != kQdbOk || before.patientId != 0) return false;
    AppointmentRecord after = before;
    after.patientId = patient_id;
    FileGroupDesc group{};
    DbGroupOf(kAppointmentFile, &group);
    AppointmentRecord stored{};
    if (DbSaveRecord(group, kApptByIdKey, &appointment_id, sizeof appointment_id, &stored, &after, false) != kQdbOk)
        return false;
    QVN_BuildApptAudit(&after, &before);
    if (after.date != 0) AnnounceChange(StationCode(), after.date, after.provider, after.operatory, after.id, kChangeInPlace);
    return true;
}

std::string HelpFilePath(const std::string& program_folder, const char* file_name) {
    std::string path = program_folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return path + file_name;
}

std::string MissingHelpFileText(const std::string& path) {
    return "The help file " + path + " cannot be found.";
}

std::string AboutDataLine(const std::string& data_directory) { return "Practice data: " + data_directory; }
