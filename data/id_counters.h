// New record ids that no other workstation hands out: a counter record per kind of record,
// counted up under its record lock.
#pragma once

#include <cstdint>

extern const char kAppointmentIdCounter[];  // appointments (data file 9)
extern const char kNewPatientIdCounter[];   // new-patient side records (data file 49)
extern const char kProcedureIdCounter[];    // the patients' procedures (data file 55)

// The next id of the counter; 0 when the counter cannot be read or written. A counter met for
// the first time starts after the highest id already in its file.
uint32_t NextRecordId(const char* counter);
