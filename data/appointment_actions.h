// Breaking, deleting, re-statusing and purging appointments in the database. Each change of one
// appointment is a whole: every record it touches (the appointment, its week records, its note,
// continuing care and lab-case links, the new-patient record, the patient and the patient's
// trace note) is locked first in the program's lock order, the appointment is read again under
// its lock and compared with what the change started from, and every write goes in one
// transaction of the record engine. A failure or a Cancel leaves the database as it was.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "data/appointment_record.h"
#include "suite/records/procedures.h"

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

// Set complete: the chosen reasons are posted as completed procedures (see suite/clinical_entry.h)
// and the appointment, its reason slots pointing at the new procedures, becomes complete. The
// appointment, the patient, the planned procedures to complete, the ids of the new procedures
// and the attached continuing care records are locked first; the appointment is read again under
// its lock and must still be the one the user chose from. A reason that cannot be posted is told
// and skipped. When a posted procedure came through a referral source, ask_recap is asked (the
// locks held) and its answer returned. Then, in one transaction: the new and the completed
// procedures, the continuing care records the posted codes meet (last date, next due date, no
// appointment), the appointment (slots and status complete) and the patient's date of last
// completed treatment, when it lies before today and the patient's latest completed procedure is
// later.
struct CompletionRequest {
    AppointmentRecord shown;                   // as the user chose from
    std::vector<int> slots;                    // the chosen reason slots, in list order
    std::vector<ProcedureCodeRecord> codes;    // every procedure code, in code order
    int32_t today = 0;
    std::function<bool()> askRecap;            // may be empty: no recap
};
struct CompletionOutcome {
    AppointmentRecord before{};                // as stored before
    int posted = 0;                            // reasons posted
    bool recap = false;                        // the referral recap is wanted
};
ApptChangeResult CompleteStoredAppointment(const CompletionRequest& request, CompletionOutcome* outcome);

// The broken appointment as the break writes it.
AppointmentRecord BrokenCopy(const AppointmentRecord& appointment);

// Purge: every appointment scheduled before the cutoff goes (unscheduled ones and those without
// a date stay), each as a whole like a deletion but without an audit entry and, for a patient's,
// with a "Purged Appointment" entry in the patient's notes. Only appointments of the cutoff's own
// week have their share taken out of the week records: the week records before that week go
// whole in the second walk, which deletes every RscUse week record before the cutoff week (the
// base records, week 0, always stay).
// The steps of a purge whose length decides how long the progress count stands still.
enum class PurgeStep {
    kWalkRead,      // reading the next appointments of the walk
    kBatchRead,     // a batch's appointments and links read before and again under the locks
    kBatchLocks,    // taking a batch's record locks
    kBatchWrites,   // a batch's deletions and notes, inside its transaction
    kBatchCommit,   // the commit of a batch
    kAlone,         // one appointment purged by itself (the cutoff week's, or one changed meanwhile)
    kWeekRead,      // reading the next week records of the second walk
    kWeekLocks,     // taking a week batch's record locks
    kWeekWrites,    // a week batch's deletions
    kWeekCommit,    // the commit of a week batch
};
constexpr int kPurgeStepCount = 10;

// The purge's last count as a window on another thread reads it: purged and read in one word,
// so that a reader never sees the purged count of one record with the read count of another.
class PurgeCountBoard {
public:
    void Set(int purged, int read) {
        word_.store(static_cast<uint64_t>(static_cast<uint32_t>(purged)) << 32 | static_cast<uint32_t>(read),
                    std::memory_order_relaxed);
    }
    std::pair<int, int> Get() const {
        const uint64_t w = word_.load(std::memory_order_relaxed);
        return {static_cast<int>(w >> 32), static_cast<int>(w & 0xFFFFFFFFu)};
    }

private:
    std::atomic<uint64_t> word_{0};
};

class PurgeProgress {
public:
    virtual ~PurgeProgress() = default;
    // Asked before each record; true stops the walk in progress.
    virtual bool Cancelled() = 0;
    // After each record of either walk: what was purged and read so far in that walk.
    virtual void Counted(int purged, int read) = 0;
    // How long a step took; for measuring where the time between counts goes.
    virtual void Took(PurgeStep, std::chrono::steady_clock::duration) {}
};
struct PurgeOutcome {
    int appointmentsRead = 0;
    int appointmentsPurged = 0;
    bool appointmentWalkCancelled = false;
    int weeksRead = 0;
    int weeksPurged = 0;
    bool weekWalkCancelled = false;
};
// The appointments are removed several to an engine transaction, each still whole, so that the
// progress counts keep coming and Cancel, asked before each record, stops after a batch committed
// whole. A batch that fails leaves every appointment of it as it was. The week records go the
// same way, several to a transaction; a week batch that fails leaves all of its records and stops
// the week walk (the failure told once).
// A commit waits for the disk, which is most of a purge's time, and how long it waits depends on
// the disk and on what else the computer does. So a batch is sized by the time the batches
// before it took: as many records as fitted into millisecondsPerBatch at the time per record
// measured, at most appointments (weeks) records; 0 milliseconds sizes by the count alone. When
// the disk slows down within a batch of appointments, its writes stop at half of
// millisecondsPerBatch (the commit needs about as long again): what was written is committed and
// the rest go in the next batch.
// Both walks read their records ahead, readsPerSnapshot at a time or for millisecondsPerRead, in
// one read snapshot, and a batch ends before the walk reads ahead again.
// now is the clock that cuts batches and read-aheads by time: the steady clock, or a test's own.
struct PurgeBatching {
    int appointments = 256;
    int millisecondsPerBatch = 500;
    int weeks = 512;
    int readsPerSnapshot = 4096;
    int millisecondsPerRead = 100;
    std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };
};

// The size of the next batch, from the time the batches before it took. A batch over the budget
// brings the size down to what would have fitted at its time per record; a whole batch within it
// lets the size grow to what fits, at most twice (a larger batch's time is not known yet); a batch
// ended early within the budget changes nothing. Always at least 1 and at most the cap. The
// first batch is small, as nothing is measured yet; without a budget (0) every batch is the cap.
class PurgeBatchLimit {
public:
    PurgeBatchLimit(int cap, std::chrono::steady_clock::duration budget)
        : cap_(std::max(1, cap)), budget_(budget), next_(budget.count() > 0 ? std::min(cap_, kFirst) : cap_) {}
    int Next() const;
    void Took(int records, std::chrono::steady_clock::duration took);
    static constexpr int kFirst = 8;

private:
    int cap_;
    std::chrono::steady_clock::duration budget_;
    int next_;
};
PurgeOutcome PurgeStoredAppointments(int32_t cutoff, PurgeProgress& progress, const PurgeBatching& batching = {});
