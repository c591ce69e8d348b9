// Breaking, deleting, re-statusing and purging appointments in the database. Each change of one
// appointment is a whole: every record it touches (the appointment, its week records, its note,
// continuing care and lab-case links, the new-patient record, the patient and the patient's
// trace note) is locked first in the program's lock order, the appointment is read again under
// its lock and compared with what the change started from, and every write goes in one
// transaction of the record engine. A failure or a Cancel leaves the database as it was.
#pragma once

#include <cstdint>

#include "data/appointment_record.h"

enum class ApptChangeResult {
    kDone,
    kFailed,  // reported to the user already, or cancelled at a lock question
};

// The appointment moves to the unscheduled list as broken: its old date becomes its list date;
// date, time and operatory are cleared, the status becomes broken; provider, length, pattern and
// reasons stay. Its week occupancy is taken out, the change audited, and a patient (id not 0)
// gets one more broken appointment, the old date as the last broken one and a "Broken
// Appointment" entry in the patient's notes. before receives the record as it was.
ApptChangeResult BreakStoredAppointment(uint32_t id, AppointmentRecord* before);

// The appointment and what hangs on it go: its note, its week occupancy, the link of every
// continuing care record attached to it (the records stay), its lab-case links, and for a new
// patient the new-patient record; the deletion is audited. before receives the record as it was.
ApptChangeResult DeleteStoredAppointment(uint32_t id, AppointmentRecord* before);

// The status byte alone is rewritten: no occupancy change, no audit.
ApptChangeResult SetStoredAppointmentStatus(uint32_t id, uint8_t status, AppointmentRecord* before);

// The broken appointment as the break writes it.
AppointmentRecord BrokenCopy(const AppointmentRecord& appointment);

// Purge: every appointment scheduled before the cutoff goes (unscheduled ones and those without
// a date stay), each as a whole like a deletion but without an audit entry and, for a patient's,
// with a "Purged Appointment" entry in the patient's notes. Only appointments of the cutoff's own
// week have their share taken out of the week records: the week records before that week go
// whole in the second walk, which deletes every RscUse week record before the cutoff week (the
// base records, week 0, always stay).
class PurgeProgress {
public:
    virtual ~PurgeProgress() = default;
    // Asked before each record; true stops the walk in progress.
    virtual bool Cancelled() = 0;
    // After each record of either walk: what was purged and read so far in that walk.
    virtual void Counted(int purged, int read) = 0;
};
struct PurgeOutcome {
    int appointmentsRead = 0;
    int appointmentsPurged = 0;
    bool appointmentWalkCancelled = false;
    int weeksRead = 0;
    int weeksPurged = 0;
    bool weekWalkCancelled = false;
};
PurgeOutcome PurgeStoredAppointments(int32_t cutoff, PurgeProgress& progress);
