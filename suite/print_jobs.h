// The print-queue job writer: a job record is marked for printing now or left for a batch,
// added to the print queue, and the suite's print program is started or woken to take it.
// The print library and program are reached through PrintProgramLink, so that the order of
// the steps runs and is tested without them.
#pragma once

#include <cstdint>

#include "suite/records/print_job.h"

class PrintProgramLink {
public:
    virtual ~PrintProgramLink() = default;
    // The print library's answer whether its program is there: 0 no, else yes; 2 means it looks
    // at the queue by itself and needs only waking.
    virtual int CallQvPrint(int query) = 0;
    // Starts the print program; the start function's answer (below 32 is a failure).
    virtual int StartProgram() = 0;
    // Tells a running print program to look at its queue; false when none runs.
    virtual bool WakeRunning() = 0;
};

enum class PrintJobOutcome {
    kNotWritten,    // the queue could not take it (reported)
    kStarted,       // printed now: the program was started
    kStartFailed,   // printed now, but the program could not be started (reported); the job waits
    kQueued,        // a batch job (or one the program takes by itself); a running program was woken
};

// The parts every job has: zero-filled, its date and report name, its title and today.
PrintJobRecord NewPrintJob(const char* report_name, const char* title, int32_t today);

// Marks the job (batch: false for "print now"), adds it to the queue, starts or wakes the program.
PrintJobOutcome SubmitPrintJob(PrintJobRecord job, bool batch, PrintProgramLink& link);

// Print now: (workstation number * 256) + 7 in the job's print-now word.
constexpr uint16_t PrintNowCode(int station) { return static_cast<uint16_t>(station * 256 + 7); }
