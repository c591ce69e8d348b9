// The route slip of one appointment: a one-page summary of the appointment and its patient that
// the print program lays out from an "rteslip" job. This program only places the job.
#pragma once

#include <cstdint>

#include "suite/print_jobs.h"

// The job record of the appointment's route slip, made today, with the practice's block size.
PrintJobRecord MakeRouteSlipJob(uint32_t appointment_id, int32_t today);

// Writes the route slip's job, printed now or as a batch job, and starts or wakes the print
// program. Nothing for appointment 0.
PrintJobOutcome SubmitRouteSlip(uint32_t appointment_id, int32_t today, bool batch, PrintProgramLink& link);
