// The route slip's job.
#include "lists/route_slip.h"

#include "data/practice_schedule.h"

namespace {

constexpr char kReportName[] = "rteslip";
constexpr char kTitle[] = "Single Route Slip";

}  // namespace

PrintJobRecord MakeRouteSlipJob(uint32_t appointment_id, int32_t today) {
    PrintJobRecord job = NewPrintJob(kReportName, kTitle, today);
    job.slip.blockSize = static_cast<uint16_t>(practice_tables.blockUnits);
    job.slip.appointmentId = appointment_id;
    job.slip.zero314 = 0;
    return job;
}

PrintJobOutcome SubmitRouteSlip(uint32_t appointment_id, int32_t today, bool batch, PrintProgramLink& link) {
    if (appointment_id == 0) return PrintJobOutcome::kNotWritten;
    return SubmitPrintJob(MakeRouteSlipJob(appointment_id, today), batch, link);
}
