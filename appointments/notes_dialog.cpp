// The notes dialog's rights, texts, loading and saving.
#include "appointments/notes_dialog.h"

#include <cstring>

#include "appointments/note_store.h"
#include "data/db_access.h"
#include "data/record_locks.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/records/definitions.h"

const char kNotViewable[] = "May not be viewed according to\r\nyour security option rights";

namespace {

constexpr int kRightSeeAlerts = 142;
constexpr int kRightAppointmentNote = 66;
constexpr int kRightEditPatientNote = 149;
constexpr int kRightSeePatientNote = 150;
constexpr int kRightGuarantorNote = 55;
constexpr size_t kAlertsLimit = 1080;
constexpr size_t kTitleNameMax = 30;

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

}  // namespace

NotesFields NotesFieldsFor(const std::function<bool(int right)>& has_right) {
    NotesFields f;
    if (has_right(kRightSeeAlerts)) {
        f.alerts = kFieldReadOnly;
        f.editAlerts = true;
    } else {
        f.loaded &= ~kNotesAlerts;
    }
    f.appointment = has_right(kRightAppointmentNote) ? kFieldEditable : kFieldReadOnly;
    if (has_right(kRightEditPatientNote)) f.patient = kFieldEditable;
    else if (has_right(kRightSeePatientNote)) f.patient = kFieldReadOnly;
    else f.loaded &= ~kNotesPatient;
    if (has_right(kRightGuarantorNote)) f.guarantor = kFieldEditable;
    else f.loaded &= ~kNotesGuarantor;
    return f;
}

std::string JoinAlertTexts(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& t : texts) {
        const std::string next = joined.empty() ? t : joined + "; " + t;
        if (next.size() >= kAlertsLimit) return joined + " +";
        joined = next;
    }
    return joined;
}

std::vector<AlertDefinition> MedicalAlertDefinitions() {
    std::vector<AlertDefinition> out;
    DbGroupScope group(GroupOf(kDefinitionFile));
    if (group.Result() != kQdbOk) return out;
    const uint8_t kind = kDefinitionMedicalAlert;
    DefinitionRecord d{};
    for (uint16_t r = DbStartSetForward(kDefinitionKey, DbPrepareKey(&kind), &d, 1); r == kQdbOk;
         r = DbNextInSet(kDefinitionKey, &d))
        if (d.number >= 1 && d.number <= 64) out.push_back({d.number, GetTrimmedText(d.text)});
    return out;
}

std::vector<std::string> MedicalAlertTexts(const uint8_t (&alerts)[8]) {
    std::vector<std::string> texts;
    const std::vector<AlertDefinition> definitions = MedicalAlertDefinitions();
    for (int bit = 0; bit < 64; ++bit) {
        if (!((alerts[bit / 8] >> (bit % 8)) & 1)) continue;
        for (const AlertDefinition& d : definitions)
            if (d.number == bit + 1) texts.push_back(d.text);
    }
    return texts;
}

std::string NotesTitle(const PatientRecord& p) {
    std::string title = "Medical Alerts/Notes for " + PatientPackedName(p).substr(0, kTitleNameMax);
    if (p.privacy & kPrivacyRequests) title += " - PRIVACY REQUESTS";
    return title;
}

NotesContent LoadNotes(uint32_t patient_id, uint32_t appointment_id, int loaded) {
    NotesContent c;
    c.patientFound = ReadPatient(patient_id, &c.patient);
    if (loaded & kNotesAlerts) c.alerts = JoinAlertTexts(MedicalAlertTexts(c.patient.medicalAlerts));
    if (loaded & kNotesAppointment) c.appointmentNote = ReadNote(kNoteAppointment, appointment_id).text;
    if (loaded & kNotesPatient) c.patientNote = ReadNote(kNotePatient, patient_id).text;
    if ((loaded & kNotesGuarantor) && c.patientFound) c.guarantorNote = ReadNote(kNoteGuarantor, c.patient.guarantorId).text;
    return c;
}

bool SaveNotes(uint32_t patient_id, uint32_t appointment_id, int loaded, const NotesContent& content, int32_t today) {
    if ((loaded & kNotesAppointment) && WriteNote(kNoteAppointment, appointment_id, content.appointmentNote, today) != kQdbOk)
        return false;
    if ((loaded & kNotesPatient) && WriteNote(kNotePatient, patient_id, content.patientNote, today) != kQdbOk) return false;
    if (loaded & kNotesGuarantor) {
        PatientRecord p{};
        if (!ReadPatient(patient_id, &p)) return false;
        if (WriteNote(kNoteGuarantor, p.guarantorId, content.guarantorNote, today) != kQdbOk) return false;
    }
    if (loaded & kNotesAlerts) {
        // Only the alert set changes; the rest of the record is taken as it is now, under its lock.
        const uint16_t r = EditLocked<PatientRecord>(kPatientFile, kPatientByIdKey, patient_id, [&](PatientRecord& p, bool exists) {
            if (!exists) return LockedEdit::kNothing;
            if (std::memcmp(p.medicalAlerts, content.patient.medicalAlerts, sizeof p.medicalAlerts) == 0) return LockedEdit::kNothing;
            std::memcpy(p.medicalAlerts, content.patient.medicalAlerts, sizeof p.medicalAlerts);
            return LockedEdit::kWrite;
        });
        if (r != kQdbOk) return false;
    }
    return true;
}
