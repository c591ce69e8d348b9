// Set Complete as the user starts it on the main window, the sheet's context menu or the bar:
// the two refusals, the choice of the reasons to post in "DLG_SELECTAPPTPROC", the completion in
// the database as one unit, the referral recap, the sheet and the other workstations told, and
// the offer of a new continuing care appointment. The windows are reached through
// SetCompleteSteps, so that the sequence runs and is tested without them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "appointments/appt_actions.h"
#include "data/appointment_record.h"
#include "suite/print_jobs.h"

extern const char kAlreadyComplete[];          // "This appointment has previously been set complete!"
extern const char kNewPatientCannotComplete[]; // "New Patient Appointment. Can NOT complete procedures."
extern const char kReferralRecapQuestion[];
extern const char kReferralRecapTitle[];       // "Print Referral Recap"
extern const char kNewCareAppointmentQuestion[];  // "Create new continuing care appointment?"
extern const char kReferralRecapReport[];      // the print job's report name, "RefRecap.rtc"
extern const char kReferralRecapJobTitle[];    // "Referral Recap"

// One line of the selection list: the reason's line, its slot, and whether medical cross coding
// can be entered for its procedure.
struct CompleteLine {
    int slot;
    std::string text;
    bool crossCoding;
};
std::vector<CompleteLine> CompleteLines(const AppointmentRecord& a);

// The two note lines show while a selected line's procedure takes medical cross coding.
bool ShowCrossCodingNote(const std::vector<CompleteLine>& lines, const std::vector<bool>& selected);

// The dialog's top left corner: centred over the main window's client area (screen coordinates)
// when it fits inside, else at the client area's top left corner.
struct ScreenRect {
    int left, top, right, bottom;
};
void PlaceOverClient(const ScreenRect& client, int width, int height, int* x, int* y);

// The most lines the dialog posts in one go.
constexpr int kMostCompleteLines = 35;

class SetCompleteSteps {
public:
    virtual ~SetCompleteSteps() = default;
    // The selection dialog on the appointment's lines, every line selected at start. False after
    // Cancel; else the chosen slots in list order.
    virtual bool ChooseProcedures(const AppointmentRecord& a, const std::vector<CompleteLine>& lines,
                                  std::vector<int>* slots) = 0;
    // The appointment dialog for a new appointment of the patient with these continuing care types.
    virtual void OpenCareAppointment(uint32_t patient_id, const std::vector<uint16_t>& care_types) = 0;
    virtual PrintProgramLink& PrintProgram() = 0;
};

// 1 when the appointment was set complete, else 0 (a refusal, Cancel, a failure reported).
int SetAppointmentComplete(ApptActionWindows& windows, SetCompleteSteps& steps, uint32_t appointment_id);
