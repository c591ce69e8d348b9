// The suite's continuing care file (data file 100, keys 101 to 105): the recalls of a patient,
// one record per continuing care type, each possibly attached to the appointment that will meet
// it. The continuing care module owns the layout beyond the two keys; this is our choice.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kContinuingCareFile = 100;
constexpr int kContinuingCareByPatientKey = 101;     // patient id, type: 6 bytes, unique
constexpr int kContinuingCareByAppointmentKey = 102; // appointment id, not unique
constexpr int kContinuingCareRecordLength = 64;

#pragma pack(push, 1)
struct ContinuingCareRecord {
    uint32_t patientId;
    uint16_t type;             // continuing care type number
    uint32_t appointmentId;    // 0 = no appointment attached
    int32_t dueDate;           // day number
    uint16_t intervalMonths;
    int32_t lastDate;          // day number of the last visit of this type
    char typeName[12];         // the type's short name, as the lists show it
    uint8_t ours32[32];
};
#pragma pack(pop)

static_assert(sizeof(ContinuingCareRecord) == kContinuingCareRecordLength);
static_assert(offsetof(ContinuingCareRecord, appointmentId) == 6);
