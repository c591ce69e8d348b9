// The sequence of Set Complete around its change in the database.
#include "appointments/set_complete.h"

#include <algorithm>

#include "app/refresh.h"
#include "appointments/appt_care.h"
#include "appointments/appt_reasons.h"
#include "data/appointment_actions.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "suite/clinical_entry.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"

const char kAlreadyComplete[] = "This appointment has previously been set complete!";
const char kNewPatientCannotComplete[] = "New Patient Appointment. Can NOT complete procedures.";
const char kReferralRecapQuestion[] =
    "One or more procedures were referred to you by another source.\n Would you like to print a Referral Recap?";
const char kReferralRecapTitle[] = "Print Referral Recap";
const char kNewCareAppointmentQuestion[] = "Create new continuing care appointment?";
const char kReferralRecapReport[] = "RefRecap.rtc";
const char kReferralRecapJobTitle[] = "Referral Recap";

namespace {

bool AskQuestion(const char* text, const char* title) {
    PromptRequest r;
    r.text = text;
    r.title = title;
    r.buttons = kButtonsYesNo;
    r.icon = kIconQuestion;
    return CurrentPrompter().Show(r) == kAnswerYes;
}

// The continuing care types attached to the appointment, each once, at most five.
std::vector<uint16_t> AttachedCareTypes(uint32_t patient_id, uint32_t appointment_id) {
    std::vector<uint16_t> types;
    for (const ContinuingCareRecord& c : ReadPatientCare(patient_id))
        if (c.appointmentId == appointment_id && c.type != 0 && types.size() < kAttachedCareTypes &&
            std::find(types.begin(), types.end(), +c.type) == types.end())
            types.push_back(+c.type);
    return types;
}

}  // namespace

std::vector<CompleteLine> CompleteLines(const AppointmentRecord& a) {
    std::vector<CompleteLine> lines;
    for (const ReasonLine& r : ReasonLines(a)) {
        ProcedureCodeRecord code{};
        const bool cross = ReadCodeOfReason(a, r.slot, &code) && CodeTakesCrossCoding(code);
        lines.push_back(CompleteLine{r.slot, r.text, cross});
    }
    return lines;
}

bool ShowCrossCodingNote(const std::vector<CompleteLine>& lines, const std::vector<bool>& selected) {
    for (size_t i = 0; i < lines.size() && i < selected.size(); ++i)
        if (selected[i] && lines[i].crossCoding) return true;
    return false;
}

void PlaceOverClient(const ScreenRect& client, int width, int height, int* x, int* y) {
    const int client_width = client.right - client.left, client_height = client.bottom - client.top;
    if (width <= client_width && height <= client_height) {
        *x = client.left + (client_width - width) / 2;
        *y = client.top + (client_height - height) / 2;
    } else {
        *x = client.left;
        *y = client.top;
    }
}

int SetAppointmentComplete(ApptActionWindows& windows, SetCompleteSteps& steps, uint32_t id) {
    AppointmentRecord a{};
    const uint16_t read = ReadAppointment(id, &a);
    if (read != kQdbOk) {
        if (read != kQdbNotFound) DbReportError(kAppointmentFile, read, kAppointmentFile);
        return 0;
    }
    if (a.status == kStatusComplete) {
        ShowStop(kAlreadyComplete);
        return 0;
    }
    if (a.patientId == 0) {
        ShowStop(kNewPatientCannotComplete);
        return 0;
    }
    const std::vector<uint16_t> care_before = AttachedCareTypes(a.patientId, id);
    CompletionRequest request;
    request.shown = a;
    if (!steps.ChooseProcedures(a, CompleteLines(a), &request.slots)) return 0;
    if (request.slots.size() > static_cast<size_t>(kMostCompleteLines)) request.slots.resize(kMostCompleteLines);
    request.codes = ReadProcedureCodes();
    request.today = QVN_SysDate();
    request.askRecap = [] {
        return QVN_ReadProfileInt("GENERAL", "RefPrintRemind", 0) == 0 && AskQuestion(kReferralRecapQuestion, kReferralRecapTitle);
    };
    CompletionOutcome outcome;
    if (CompleteStoredAppointment(request, &outcome) != ApptChangeResult::kDone) return 0;
    if (outcome.recap) {
        PrintJobRecord job = NewPrintJob(kReferralRecapReport, kReferralRecapJobTitle, request.today);
        job.recap.patientId = a.patientId;
        SubmitPrintJob(job, false, steps.PrintProgram());
    }
    AnnounceChange(StationCode(), a.date, a.provider, a.operatory, id, kChangeInPlace);
    windows.AppointmentChanged(id);

    const std::vector<uint16_t> care_after = AttachedCareTypes(a.patientId, id);
    std::vector<uint16_t> met;
    for (uint16_t t : care_before)
        if (std::find(care_after.begin(), care_after.end(), t) == care_after.end()) met.push_back(t);
    if (!met.empty() && AskQuestion(kNewCareAppointmentQuestion, kTitleAppointmentBook)) steps.OpenCareAppointment(a.patientId, met);
    return 1;
}
