// Continuing care as the appointment dialog sees it: the patient's continuing care records and,
// with "&Use Reason to Auto Update CC" checked, which types the reasons attach to the
// appointment. Nothing is written here: the plan lists the records the save writes, inside the
// save's own transaction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/records/continuing_care.h"

constexpr int kAttachedCareTypes = 5;
constexpr int kDefaultCareIntervalMonths = 6;

extern const char kTitleContinuingCare[];  // "Quorvin Continuing Care"
extern const char kCareNotSetUp[];         // the question before new records with the type defaults
// "The " + type name + " Continuing Care for this patient is already attached to another
// appointment.  Would you like to attach it to this appointment instead?"
std::string CareAttachedElsewhereQuestion(const std::string& type_name);

// The attached types (0 = none) and the continuing care records the save writes:
// - for a type the patient has no record of, after a Yes to kCareNotSetUp (asked once for all
//   such types), a new record with the type's defaults (definition kind 9: its name and
//   interval), due on the appointment's date (today for an unscheduled one);
// - for a record not attached to any appointment, that record attached here;
// - for a record attached to another appointment, after a Yes to the question naming its type,
//   that record attached here (a No leaves it where it is and the type unattached);
// - for a record attached to this appointment whose type the reasons no longer give, that
//   record with no appointment.
// Records to attach carry appointment_id (0 for an appointment not yet saved: the save puts the
// new id in). The types come from the reasons' codes in slot order, at most five, each once.
struct CarePlan {
    uint16_t attached[kAttachedCareTypes];
    std::vector<ContinuingCareRecord> writes;
};
CarePlan PlanCareFromReasons(uint32_t patient_id, uint32_t appointment_id, const AppointmentRecord& a);

// The pick by hand (">>" beside "Continuing Care &Attached:"), among the patient's records: one
// line per record, its type's name and due date ("PRO\t01/04/2027"; no date when none is due).
struct CarePickLine {
    std::string text;
    uint16_t type;
};
std::vector<CarePickLine> CarePickLines(const std::vector<ContinuingCareRecord>& care);
// The picked type becomes the one attached, as a reason's would: a record attached to another
// appointment moves here only after a Yes to the question naming its type (false on No, and
// plan is left alone); records this appointment held of other types are let go.
bool PlanCarePick(const std::vector<ContinuingCareRecord>& care, uint32_t appointment_id, uint16_t type, CarePlan* plan);

// The patient's continuing care records (key 101), in type order.
std::vector<ContinuingCareRecord> ReadPatientCare(uint32_t patient_id);

// The continuing care types the reasons' codes give, in slot order, each once, at most five.
std::vector<uint16_t> CareTypesOfReasons(const AppointmentRecord& a);
