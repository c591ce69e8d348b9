// The print program's side of the print queue (data file 77): the jobs that wait for this
// workstation, and taking one: locked, read again and compared, printed, and marked done in one
// transaction, so that two print programs never print one job twice and a job that fails to
// print stays in the queue.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "suite/records/print_job.h"

// A job's state lives in the first byte of the record, which the job writer leaves 0: 0 waits,
// 1 is done. The byte is the print program's own.
constexpr uint8_t kJobWaiting = 0;
constexpr uint8_t kJobDone = 1;
inline bool IsJobDone(const PrintJobRecord& job) { return job.ours0[0] == kJobDone; }

struct QueuedJob {
    uint32_t position = 0;  // the record number in the queue file
    PrintJobRecord record{};
};

// The waiting jobs in the order they were queued: batch jobs and the jobs marked for printing
// now at this workstation (another station's are its own print program's). False when the queue
// could not be read (reported).
bool ReadWaitingJobs(int station, std::vector<QueuedJob>* jobs);

// One job by its record number, done or not; false when there is none.
bool ReadQueuedJob(uint32_t position, QueuedJob* job);

enum class TakeOutcome {
    kDone,          // printed and marked done
    kPrintFailed,   // print said no; the job waits on
    kGone,          // deleted, changed or done elsewhere since it was read: left alone
    kCancelled,     // its lock was held elsewhere and the user chose Cancel
    kNotWritten,    // printed, but the mark could not be written (reported)
};

// Locks the job (waiting, then asking Retry / Cancel), reads it again and compares it with the
// record as read before, runs print on it and, when print says yes, writes it back marked done
// in one transaction before the lock goes.
TakeOutcome TakeJob(const QueuedJob& job, const std::function<bool(const PrintJobRecord&)>& print);
