// The Appointment Information dialog apart from its window: the appointment being edited, the
// texts and choices its controls hold, and the rules that move between the two: opening an
// appointment or starting a new one, the status list, the title, the time field, the rebuild
// after a change of the reasons, the OK sequence with its checks in their order, "Sc&hd. Next",
// "&Wait/Will Call", "Pin &Board" and Cancel.
//
// The window (appt_dialog_win.cpp) copies the controls into ApptEditFields before each of these
// steps and the fields back into the controls after it; a failed check names the control that
// gets the focus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/lab_case.h"
#include "suite/records/continuing_care.h"

struct StatusTables;

constexpr int kFlagBoxes = 12;
constexpr int kCareSlots = 5;
constexpr int kLongAppointmentMinutes = 240;
constexpr int kRightEditAppointment = 66;
constexpr int kRightScheduleAppointment = 37;

extern const char kSetAmountQuestion[];     // "The 'Set Amount' checkbox is not checked. ..."
extern const char kSetAmountTitle[];        // "Appointment Amount"
extern const char kInvalidLength[];         // "Invalid appointment length!"
extern const char kVeryLongQuestion[];      // "Very long appointment length! Continue?"
extern const char kInvalidDescription[];    // "Invalid Description!"
extern const char kCancelQuestion[];        // "Are you sure?  Your changes will not be saved."
extern const char kCancelTitle[];           // "Cancel Appointment"
extern const char kUnscheduledQuestion[];   // "Move appointment to the Unscheduled List?"
extern const char kUnscheduledOfPatient[];  // "This patient has an unscheduled or broken appointment. ..."
extern const char kInvalidProvider[];
extern const char kInvalidOperatory[];
extern const char kInvalidAmount[];

// What the controls hold.
struct ApptEditFields {
    std::string provider, operatory, date, time, length, description, amount, staff, note;
    int statusIndex = 0;
    int scheduleIndex = 0;   // 0 "FIXED", 1 "OPEN", 2 "ASAP"
    int typeIndex = 0;
    uint16_t flags = 0;      // bit n = check box n
    bool setAmount = false;
    bool labCase = false;
    bool updateCare = false;
};

// The appointment being edited.
struct ApptEdit {
    AppointmentRecord working{};   // as read (or zeroed for a new one); reasons, pattern, patient
    AppointmentRecord asRead{};    // the copy taken at opening, for the changed-elsewhere check
    NewPatientRecord newPatient{};
    NewPatientRecord newPatientAsRead{};  // the side record as read, for the same check
    bool isNew = false;
    bool changed = false;          // some field, reason, pattern or choice was edited
    bool unscheduledMode = false;  // after "&Wait/Will Call" or "Pin &Board"
    bool toPinBoard = false;
    uint32_t followUpId = 0;       // the appointment an earlier "Sc&hd. Next" saved
    std::string amountShown;       // the amount text the program put into the field last
    uint16_t care[kCareSlots] = {};
    std::vector<ContinuingCareRecord> careWrites;
    std::vector<LabCaseLink> labLinks;
    std::vector<std::string> statusTexts;  // the status list, built when the edit starts
    std::vector<uint8_t> statusValues;
};

// The status list: "<none>" (0), the practice's statuses in table order up to the first empty
// name, "<COMPLETE>" (150).
void BuildStatusList(const StatusTables& tables, ApptEdit* edit);
// The list entry of a stored status: 16 or more other than 150 shows as "<none>".
int StatusIndexOf(const ApptEdit& edit, uint8_t status);

// "New " for a new appointment, "Appointment Information - (" name ")", "<New Patient>" without
// a patient record, " - PRIVACY REQUESTS" when the patient asked for privacy.
std::string ApptDialogTitle(bool is_new, const std::string& name, bool has_patient_record, bool privacy);

// The time field after it lost the focus (the letter rule of ReadTimeField): the time again
// with "am" or "pm", or the text as typed when it does not convert.
std::string TimeFieldOnBlur(const std::string& text, int unit_minutes);

// The flag check boxes' captions from the definitions of kind 3 (number 1 to 12, cut to 20
// characters); "" hides the box. A read error other than "not found" shows message 3180.
std::vector<std::string> ReadFlagCaptions();

// Opens an existing appointment: the record, its note, its lab-case links; the fields. False
// when it cannot be read (after the access layer's message).
bool OpenExistingAppointment(uint32_t id, ApptEdit* edit, ApptEditFields* fields);

// Starts a new appointment. Provider and operatory default to [GENERAL] DEF_PROV and DEF_OP;
// schedule, type and status to [APPTBOOK] DefaultSchedule, DefaultType, DefaultStatus (list
// entries). date 0 leaves date and time empty; hour < 0 leaves the time empty.
struct NewApptPlace {
    uint32_t patientId = 0;
    std::string provider, operatory;
    int32_t date = 0;
    int hour = -1, minute = 0;
};
void StartNewAppointment(const NewApptPlace& place, ApptEdit* edit, ApptEditFields* fields);

// After a change of the reasons: description, pattern, length, amount (unless "Set Amount" is
// checked) and type anew; with "&Use Reason to Auto Update CC" the continuing care too.
void RebuildAfterReasons(ApptEdit* edit, ApptEditFields* fields, int unit_minutes);

// The OK sequence. kSaved: the appointment was written (saved holds it as written); kStay: a
// check failed or the save was refused, focus names the control; kClose: the changed-elsewhere
// check refused the edit, the dialog closes without saving.
enum class OkOutcome { kSaved, kStay, kClose };
struct OkResult {
    OkOutcome outcome = OkOutcome::kStay;
    int focus = 0;
    AppointmentRecord saved{};
};
OkResult RunOkSequence(ApptEdit* edit, ApptEditFields* fields, int32_t today, int unit_minutes);

// What follows a save for the other workstations: in place (kind 3) when the date stayed, else
// the old date and place left (kind 2) and the new arrived (kind 1). Dates of 0 are not announced.
void AnnounceSavedAppointment(const AppointmentRecord& before, bool was_new, const AppointmentRecord& after);

// The start of the next appointment: the old start plus the old length, past midnight into the
// next day.
struct NextStart {
    int32_t date;
    int hour, minute;
};
NextStart NextAppointmentStart(int32_t date, int hour, int minute, int length);
// After a save by "Sc&hd. Next": a new appointment of the same patient, provider and operatory
// at the next start, without reasons, amount, description or pattern, status DefaultStatus.
void StartScheduleNext(const AppointmentRecord& saved, ApptEdit* edit, ApptEditFields* fields);

// "&Wait/Will Call": unless already in unscheduled mode, asks "Move appointment to the
// Unscheduled List?"; Yes (or already in the mode) empties operatory, date and time and sets the
// mode. False after No.
bool EnterUnscheduledMode(ApptEdit* edit, ApptEditFields* fields);
// "Pin &Board": the same without the question, and the appointment is marked for the board.
void EnterPinBoardMode(ApptEdit* edit, ApptEditFields* fields);

// Cancel: true when the dialog may close (nothing changed, or Yes to "Are you sure?  Your
// changes will not be saved.").
bool ConfirmCancel(const ApptEdit& edit);

// Whether the amount text differs from what the program showed last.
bool AmountChangedByHand(const ApptEdit& edit, const std::string& amount_text);
