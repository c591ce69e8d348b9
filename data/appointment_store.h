// The appointment store: reading one appointment, a day, a patient's appointments; saving with
// the occupancy bookkeeping and the conflict checks; the check for an edit made meanwhile at
// another workstation. Appointments are saved, moved or removed only through this code and the
// appointment actions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/lab_case.h"
#include "suite/records/continuing_care.h"

// One appointment by id; with lock, the record stays locked for the session until the access
// layer's locks are released. The result number (0, 101, ...).
uint16_t ReadAppointment(uint32_t id, AppointmentRecord* appointment, bool lock = false);

// The appointments of a day, of a day in one operatory, of a day of one provider, each in the
// order of the start time. result, when given, takes the result number that ended the read
// (kQdbNotFound at its normal end); the records read before a failure are kept.
std::vector<AppointmentRecord> ReadDay(int32_t date, uint16_t* result = nullptr);
std::vector<AppointmentRecord> ReadDayOfOperatory(int32_t date, const char operatory[4], uint16_t* result = nullptr);
std::vector<AppointmentRecord> ReadDayOfProvider(int32_t date, const char provider[4], uint16_t* result = nullptr);

// The unscheduled list in the order of its index (provider nullptr: every provider's), at most
// limit records. The result number that ended the read (kQdbNotFound at its normal end, kQdbOk
// when the limit stopped it).
uint16_t ReadUnscheduledList(const char* provider, size_t limit, std::vector<AppointmentRecord>* out);

// Every appointment of a patient, scheduled or not.
std::vector<AppointmentRecord> ReadPatientAppointments(uint32_t patient_id);
// The first appointment of the patient that waits on the unscheduled list; false when none.
bool FindUnscheduledOfPatient(uint32_t patient_id, AppointmentRecord* appointment);

// A procedure attached to one of the patient's appointments of today or later, or unscheduled.
struct AttachedReason {
    uint32_t reasonId;
    uint8_t kind;       // the reason kind byte
    uint8_t flag;       // 1 for a scheduled appointment, else the appointment's status
};
constexpr int kMaxAttachedReasons = 40;
std::vector<AttachedReason> GatherAttachedReasons(uint32_t patient_id, int32_t today);

// Saves the record: add for a new appointment (its id must be free), else an update of the
// stored record, which must still be before byte for byte (else "Appointment has been changed at
// another workstation during edit. Edit canceled!"). A scheduled record gets the practice-hours
// question and the occupancy with its checks; new_patient, when given, is written with it. With
// new_patient_before the stored new-patient record must still be that one byte for byte too (one
// not stored yet counts as all zero but its id), else the same refusal. The locks come first (a
// lock held elsewhere is waited for, then asked about), the writes last, all in one transaction:
// false (No, a refusal, Cancel, a failure) leaves the database as it was.
//
// The appointment dialog's own records go with it, in the same transaction: the appointment's
// note (an empty text removes it), the continuing care records its reasons attached, and, with
// writeLabLinks, the lab cases linked to the appointment (exactly labLinks).
struct ApptSaveExtras {
    bool writeNote = false;
    std::string note;
    std::vector<ContinuingCareRecord> care;
    bool writeLabLinks = false;
    std::vector<LabCaseLink> labLinks;
};
bool SaveAppointment(bool add, const AppointmentRecord* before, const AppointmentRecord& record,
                     const NewPatientRecord* new_patient = nullptr, const NewPatientRecord* new_patient_before = nullptr,
                     const ApptSaveExtras* extras = nullptr);

// The appointment's note (note kind 2), "" without one. On the access layer's session.
std::string ReadAppointmentNote(uint32_t appointment_id);

// Before an edit is saved: true when the stored record still equals opening_copy byte for byte.
// Otherwise shows "Appointment has been changed at another workstation during edit. Edit
// canceled!" (not when the record could not be read) and returns false; opening_copy is kept.
extern const char kChangedElsewhere[];
bool CheckApptUnchanged(AppointmentRecord* opening_copy);

// The id the next new appointment gets; 0 when the counter cannot be read.
uint32_t NewAppointmentId();

// Called after every successful save with the appointment's id; the pin board drops its copy.
using AppointmentSavedHook = void (*)(uint32_t appointment_id);
void SetAppointmentSavedHook(AppointmentSavedHook hook);
