// The Appointment Information dialog's rules, apart from its window.
#include "appointments/appt_edit.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/command_rules.h"
#include "app/refresh.h"
#include "appointments/appointment_moves.h"
#include "appointments/appt_care.h"
#include "appointments/appt_reasons.h"
#include "appointments/time_pickers.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/id_counters.h"
#include "data/practice_schedule.h"
#include "lists/patient_search.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/money.h"
#include "suite/prompter.h"
#include "suite/records/definitions.h"
#include "suite/records/patient.h"
#include "suite/settings.h"
#include "suite/times.h"

const char kSetAmountQuestion[] =
    "The 'Set Amount' checkbox is not checked.\nIn order for the appointment amount to be saved,\nthis box must be "
    "checked.\n\nCheck 'Set Amount'?";
const char kSetAmountTitle[] = "Appointment Amount";
const char kInvalidLength[] = "Invalid appointment length!";
const char kVeryLongQuestion[] = "Very long appointment length! Continue?";
const char kInvalidDescription[] = "Invalid Description!";
const char kCancelQuestion[] = "Are you sure?  Your changes will not be saved.";
const char kCancelTitle[] = "Cancel Appointment";
const char kUnscheduledQuestion[] = "Move appointment to the Unscheduled List?";
const char kUnscheduledOfPatient[] =
    "This patient has an unscheduled or broken appointment.\nWould you like to view the patient's appointment list?";
const char kInvalidProvider[] = "Please enter a provider of the practice.";
const char kInvalidOperatory[] = "Please enter an operatory of the practice.";
const char kInvalidAmount[] = "Please enter a valid amount (for example 125.00).";

namespace {

constexpr int kMessageBadTime = 9090;
constexpr int kMessageBadDate = 9091;
constexpr int kMessageDefinitionsUnread = 3180;
constexpr int kPatientNameLength = 30;
constexpr int kDescriptionLength = 60;

// A resource id as typed, upper case and blank-padded to 4.
void PadId(const std::string& text, char out[4]) {
    std::memset(out, ' ', 4);
    for (size_t i = 0; i < text.size() && i < 4; ++i) out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
}

std::string IdText(const char id[4]) {
    std::string s(id, 4);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string FieldText(const char* field, size_t width) { return std::string(field, strnlen(field, width)); }

void CopyText(char* field, size_t width, const std::string& text) {
    std::memset(field, 0, width);
    std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

bool IsProvider(const char id[4]) { return FindProviderIndex(id) >= 0; }

bool IsOperatory(const char id[4]) {
    for (const OperatoryInfo& o : practice_tables.operatories)
        if (std::memcmp(o.id, id, 4) == 0) return true;
    return false;
}

int SettingIndex(const char* key) { return std::max(QVN_ReadProfileInt("APPTBOOK", key, 0), 0); }

std::string DateText(int32_t date) { return date ? QVN_fmtDateString2000(date) : ""; }

// The controls of a record: what the dialog shows of it.
void FillFromRecord(const ApptEdit& edit, ApptEditFields* f) {
    const AppointmentRecord& a = edit.working;
    f->provider = IdText(a.provider);
    f->operatory = a.operatoryMarker ? IdText(a.operatory) : "";
    f->date = DateText(a.date);
    f->time = a.date ? TimeFieldText(a.hour, a.minute) : "";
    f->length = std::to_string(a.length);
    f->description = FieldText(a.description, sizeof a.description);
    f->amount = QVN_FormatMoney(a.amount);
    f->staff = a.staffMarker ? IdText(a.staff) : "";
    f->statusIndex = StatusIndexOf(edit, a.status);
    f->scheduleIndex = a.schedule <= kScheduleAsap ? a.schedule : 0;
    f->typeIndex = a.type;
    f->flags = a.flags;
    f->setAmount = a.setAmount != 0;
    f->labCase = a.labCase != 0 || !edit.labLinks.empty();
    f->updateCare = a.updateContinuingCare != 0;
}

// A message of the shared library's table with the focus going to a control afterwards.
OkResult Stay(int focus) {
    OkResult r;
    r.outcome = OkOutcome::kStay;
    r.focus = focus;
    return r;
}

// Steps 3 to 14 of OK: the fields into the record to save, each check in its order.
bool BuildRecord(ApptEdit* edit, ApptEditFields* f, int32_t today, int unit_minutes, AppointmentRecord* out,
                 int* focus) {
    AppointmentRecord r = edit->working;
    // Date.
    const std::string date_text = Trimmed(f->date);
    int32_t date = 0;
    if (!date_text.empty()) {
        date = QVN_ParseDate(date_text);
        if (date == 0) {
            QVN_Message(kMsgGroupGeneral, kMessageBadDate);
            *focus = IDC_APPT_DATE;
            return false;
        }
        if (edit->isNew && date < today &&
            QVN_Message(kMsgGroupSuite, kPastDateMessage, 0, 0, kButtonsOkCancel) != kAnswerOk) {
            *focus = IDC_APPT_DATE;
            return false;
        }
    }
    // Provider.
    char provider[4];
    PadId(Trimmed(f->provider), provider);
    if (Trimmed(f->provider).empty() || !IsProvider(provider)) {
        ShowStop(kInvalidProvider);
        *focus = IDC_APPT_PROVIDER;
        return false;
    }
    r.providerMarker = kMarkerProvider;
    std::memcpy(r.provider, provider, 4);
    // Staff.
    if (!Trimmed(f->staff).empty()) {
        r.staffMarker = kMarkerStaff;
        PadId(Trimmed(f->staff), r.staff);
    } else {
        r.staffMarker = 0;
        std::memset(r.staff, 0, sizeof r.staff);
    }
    // Operatory and time, or the unscheduled list.
    r.unitSize = static_cast<uint8_t>(std::max(practice_tables.blockUnits, 1));
    if (date != 0) {
        char operatory[4];
        PadId(Trimmed(f->operatory), operatory);
        if (Trimmed(f->operatory).empty() || !IsOperatory(operatory)) {
            ShowStop(kInvalidOperatory);
            *focus = IDC_APPT_OPERATORY;
            return false;
        }
        r.operatoryMarker = kMarkerOperatory;
        std::memcpy(r.operatory, operatory, 4);
        int hour = 0, minute = 0;
        if (Trimmed(f->time).size() < 4 || !ReadTimeField(Trimmed(f->time), unit_minutes, &hour, &minute)) {
            QVN_Message(kMsgGroupGeneral, kMessageBadTime);
            *focus = IDC_APPT_TIME;
            return false;
        }
        r.date = date;
        r.hour = static_cast<uint8_t>(hour);
        r.minute = static_cast<uint8_t>(minute);
        r.startUnit = static_cast<uint8_t>(StartInOwnUnits(r.unitSize, hour, minute));
        const size_t status = static_cast<size_t>(std::max(f->statusIndex, 0));
        r.status = status < edit->statusValues.size() ? edit->statusValues[status] : kStatusNone;
        r.unscheduled = 0;
        r.listDate = 0;
    } else {
        if (!edit->unscheduledMode) {
            QVN_Message(kMsgGroupGeneral, kMessageBadDate);
            *focus = IDC_APPT_DATE;
            return false;
        }
        r.date = 0;
        r.unscheduled = 1;
        r.status = kStatusUnscheduled;
        r.listDate = today;
        r.operatoryMarker = 0;
        std::memset(r.operatory, 0, sizeof r.operatory);
        r.hour = r.minute = r.startUnit = 0;
    }
    // Length.
    const std::string length_text = Trimmed(f->length);
    const bool digits = !length_text.empty() && length_text.size() <= 5 &&
                        std::all_of(length_text.begin(), length_text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    const int length = digits ? std::stoi(length_text) : 0;
    if (length <= 0 || length > 0xFFFF) {
        ShowRefusal(kInvalidLength);
        *focus = IDC_APPT_LENGTH;
        return false;
    }
    if (length > kLongAppointmentMinutes && !AskYesNo(kVeryLongQuestion)) {
        *focus = IDC_APPT_LENGTH;
        return false;
    }
    r.length = static_cast<uint16_t>(length);
    // Pattern (already in the working record), schedule, type.
    r.schedule = static_cast<uint8_t>(std::clamp(f->scheduleIndex, 0, 2));
    r.type = static_cast<uint8_t>(std::max(f->typeIndex, 0));
    // Description.
    const std::string description = f->description.substr(0, kDescriptionLength);
    if (Trimmed(description).empty()) {
        ShowRefusal(kInvalidDescription);
        *focus = IDC_APPT_DESCRIPTION;
        return false;
    }
    CopyText(r.description, sizeof r.description, description);
    // Amount.
    int32_t cents = 0;
    if (!QVN_ParseMoney(f->amount, &cents)) {
        ShowStop(kInvalidAmount);
        *focus = IDC_APPT_AMOUNT;
        return false;
    }
    r.amount = cents;
    r.setAmount = f->setAmount ? 1 : 0;
    // Lab case; the reasons and their kinds are in the working record already.
    r.labCase = f->labCase ? 1 : 0;
    r.updateContinuingCare = f->updateCare ? 1 : 0;
    // Patient: name and phone from the patient record, or the new-patient side record.
    if (r.patientId != 0) {
        PatientRecord patient{};
        if (ReadPatient(r.patientId, &patient)) {
            CopyText(r.patientName, sizeof r.patientName, PatientPackedName(patient).substr(0, kPatientNameLength));
            CopyText(r.phone, sizeof r.phone, FieldText(patient.homePhone, sizeof patient.homePhone));
        }
    } else if (edit->isNew || r.newPatientId != 0) {
        if (r.newPatientId == 0) r.newPatientId = NextRecordId(kNewPatientIdCounter);
        edit->newPatient.id = r.newPatientId;
    }
    // Flags.
    r.flags = f->flags;
    // Last changed.
    const bool to_list = r.date == 0 && edit->asRead.date != 0;
    if (edit->isNew || (to_list ? edit->asRead.status != kStatusUnscheduled : std::memcmp(&r, &edit->asRead, sizeof r) != 0))
        r.lastChanged = today;
    *out = r;
    return true;
}

}  // namespace

void BuildStatusList(const StatusTables& tables, ApptEdit* edit) {
    edit->statusTexts = {"<none>"};
    edit->statusValues = {kStatusNone};
    for (int n = 1; n <= 14; ++n) {
        const std::string name(tables.names[n], strnlen(tables.names[n], sizeof tables.names[n]));
        if (name.empty()) break;
        edit->statusTexts.push_back(name);
        edit->statusValues.push_back(static_cast<uint8_t>(n));
    }
    edit->statusTexts.push_back("<COMPLETE>");
    edit->statusValues.push_back(kStatusComplete);
}

int StatusIndexOf(const ApptEdit& edit, uint8_t status) {
    for (size_t i = 0; i < edit.statusValues.size(); ++i)
        if (edit.statusValues[i] == status) return static_cast<int>(i);
    return 0;
}

std::string ApptDialogTitle(bool is_new, const std::string& name, bool has_patient_record, bool privacy) {
    std::string title = is_new ? "New " : "";
    title += "Appointment Information - (" + name + ")";
    if (!has_patient_record) title += "<New Patient>";
    if (privacy) title += " - PRIVACY REQUESTS";
    return title;
}

std::string TimeFieldOnBlur(const std::string& text, int unit_minutes) {
    int hour = 0, minute = 0;
    if (!ReadTimeField(text, unit_minutes, &hour, &minute)) return text;
    return TimeFieldText(hour, minute);
}

std::vector<std::string> ReadFlagCaptions() {
    std::vector<std::string> captions(kFlagBoxes);
    FileGroupDesc desc{};
    DbGroupOf(kDefinitionFile, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk) {
        QVN_Message(kMsgGroupGeneral, kMessageDefinitionsUnread, group.Result());
        return captions;
    }
    const uint8_t prefix[1] = {kDefinitionFlagCaption};
    DefinitionRecord d{};
    uint16_t result = DbStartSetForward(kDefinitionKey, prefix, &d, 1);
    for (; result == kQdbOk; result = DbNextInSet(kDefinitionKey, &d))
        if (d.number >= 1 && d.number <= kFlagBoxes)
            captions[d.number - 1] = FieldText(d.text, sizeof d.text).substr(0, 20);
    if (result != kQdbOk && result != kQdbNotFound)
        QVN_Message(kMsgGroupGeneral, kMessageDefinitionsUnread, result);
    return captions;
}

bool OpenExistingAppointment(uint32_t id, ApptEdit* edit, ApptEditFields* fields) {
    if (ReadAppointment(id, &edit->working) != kQdbOk) return false;
    edit->asRead = edit->working;
    edit->isNew = false;
    edit->labLinks = ReadApptToCaseLinks(id);
    if (edit->working.newPatientId != 0) {
        FileGroupDesc desc{};
        DbGroupOf(kNewPatientFile, &desc);
        DbGroupScope group(desc);
        const uint32_t key = edit->working.newPatientId;
        if (group.Result() == kQdbOk) DbFind(kNewPatientKey, DbPrepareKey(&key), &edit->newPatient);
        edit->newPatientAsRead = edit->newPatient;
    }
    FillFromRecord(*edit, fields);
    fields->note = ReadAppointmentNote(id);
    edit->amountShown = fields->amount;
    return true;
}

void StartNewAppointment(const NewApptPlace& place, ApptEdit* edit, ApptEditFields* fields) {
    edit->working = AppointmentRecord{};
    edit->asRead = AppointmentRecord{};
    edit->newPatient = edit->newPatientAsRead = NewPatientRecord{};
    edit->isNew = true;
    AppointmentRecord& a = edit->working;
    a.patientId = place.patientId;
    if (place.patientId != 0) {
        PatientRecord patient{};
        if (ReadPatient(place.patientId, &patient)) {
            CopyText(a.patientName, sizeof a.patientName, PatientPackedName(patient).substr(0, kPatientNameLength));
            CopyText(a.phone, sizeof a.phone, FieldText(patient.homePhone, sizeof patient.homePhone));
        }
    }
    for (int i = 0; i < 6; ++i) a.timePattern[i] = 0;
    *fields = ApptEditFields{};
    fields->provider = !place.provider.empty() ? place.provider : Trimmed(QVN_ReadProfileText("GENERAL", "DEF_PROV", ""));
    fields->operatory = !place.operatory.empty() ? place.operatory : Trimmed(QVN_ReadProfileText("GENERAL", "DEF_OP", ""));
    fields->date = DateText(place.date);
    fields->time = place.date && place.hour >= 0 ? TimeFieldText(place.hour, place.minute) : "";
    fields->length = "0";
    fields->amount = QVN_FormatMoney(0);
    fields->scheduleIndex = std::min(SettingIndex("DefaultSchedule"), 2);
    fields->typeIndex = SettingIndex("DefaultType");
    fields->statusIndex = std::min(SettingIndex("DefaultStatus"), static_cast<int>(edit->statusValues.size()) - 1);
    edit->amountShown = fields->amount;
    edit->changed = false;
}

void RebuildAfterReasons(ApptEdit* edit, ApptEditFields* fields, int unit_minutes) {
    const ReasonRebuild rebuilt = RebuildFromReasons(edit->working, unit_minutes);
    fields->description = rebuilt.description;
    std::memcpy(edit->working.timePattern, rebuilt.pattern, sizeof rebuilt.pattern);
    fields->length = std::to_string(rebuilt.length);
    if (!fields->setAmount) {
        fields->amount = QVN_FormatMoney(rebuilt.amount);
        edit->amountShown = fields->amount;
    }
    if (rebuilt.type >= 0) fields->typeIndex = rebuilt.type;
    if (fields->updateCare && edit->working.patientId != 0) {
        CarePlan plan = PlanCareFromReasons(edit->working.patientId, edit->working.id, edit->working);
        std::copy(std::begin(plan.attached), std::end(plan.attached), edit->care);
        edit->careWrites = std::move(plan.writes);
    }
    edit->changed = true;
}

bool AmountChangedByHand(const ApptEdit& edit, const std::string& amount_text) { return amount_text != edit.amountShown; }

OkResult RunOkSequence(ApptEdit* edit, ApptEditFields* fields, int32_t today, int unit_minutes) {
    // 1. An amount typed by hand is kept only with "Set Amount".
    if (AmountChangedByHand(*edit, fields->amount) && !fields->setAmount) {
        PromptRequest ask{kSetAmountQuestion, kSetAmountTitle, kButtonsYesNo, kIconExclamation};
        if (CurrentPrompter().Show(ask) == kAnswerYes) fields->setAmount = true;
        else fields->amount = edit->amountShown;
    }
    // 2. Changed at another workstation since the dialog opened: the edit is refused.
    if (!edit->isNew && !CheckApptUnchanged(&edit->asRead)) {
        OkResult r;
        r.outcome = OkOutcome::kClose;
        return r;
    }
    // 3 to 14.
    AppointmentRecord record{};
    int focus = 0;
    if (!BuildRecord(edit, fields, today, unit_minutes, &record, &focus)) return Stay(focus);
    if (edit->isNew && record.id == 0) {
        record.id = NewAppointmentId();
        if (record.id == 0) return Stay(IDC_APPT_OK);
    }
    // 15 and 16: the appointment, its new-patient record, note and continuing care in one save.
    ApptSaveExtras extras;
    extras.writeNote = true;
    extras.note = fields->note;
    extras.care = edit->careWrites;
    for (ContinuingCareRecord& c : extras.care) c.appointmentId = record.id;
    const bool with_side_record = record.patientId == 0 && record.newPatientId != 0;
    if (!SaveAppointment(edit->isNew, edit->isNew ? nullptr : &edit->asRead, record,
                         with_side_record ? &edit->newPatient : nullptr,
                         with_side_record ? &edit->newPatientAsRead : nullptr, &extras))
        return Stay(IDC_APPT_OK);
    // 17: the lab-case links come after the save.
    WriteApptToCaseLinks(record.id, edit->labLinks);
    OkResult r;
    r.outcome = OkOutcome::kSaved;
    r.saved = record;
    return r;
}

void AnnounceSavedAppointment(const AppointmentRecord& before, bool was_new, const AppointmentRecord& after) {
    const uint8_t station = StationCode();
    if (!was_new && before.date == after.date) {
        if (after.date != 0)
            AnnounceChange(station, after.date, after.provider, after.operatory, after.id, kChangeInPlace);
        return;
    }
    if (!was_new && before.date != 0)
        AnnounceChange(station, before.date, before.provider, before.operatory, before.id, kChangeLeft);
    if (after.date != 0) AnnounceChange(station, after.date, after.provider, after.operatory, after.id, kChangeArrived);
}

NextStart NextAppointmentStart(int32_t date, int hour, int minute, int length) {
    int minutes = hour * 60 + minute + length;
    const int days = minutes / (24 * 60);
    minutes %= 24 * 60;
    return NextStart{date + days, minutes / 60, minutes % 60};
}

void StartScheduleNext(const AppointmentRecord& saved, ApptEdit* edit, ApptEditFields* fields) {
    NewApptPlace place;
    place.patientId = saved.patientId;
    place.provider = IdText(saved.provider);
    place.operatory = saved.operatoryMarker ? IdText(saved.operatory) : "";
    if (saved.date != 0) {
        const NextStart next = NextAppointmentStart(saved.date, saved.hour, saved.minute, saved.length);
        place.date = next.date;
        place.hour = next.hour;
        place.minute = next.minute;
    }
    const AppointmentRecord kept = saved;
    edit->followUpId = saved.id;
    edit->unscheduledMode = false;
    edit->toPinBoard = false;
    edit->careWrites.clear();
    edit->labLinks.clear();
    std::fill(std::begin(edit->care), std::end(edit->care), 0);
    StartNewAppointment(place, edit, fields);
    if (kept.patientId == 0) {
        // A new patient's next appointment keeps the name and phone typed for the first.
        std::memcpy(edit->working.patientName, kept.patientName, sizeof kept.patientName);
        std::memcpy(edit->working.phone, kept.phone, sizeof kept.phone);
        edit->working.referredByKind = kept.referredByKind;
        edit->working.referredById = kept.referredById;
    }
    fields->staff = kept.staffMarker ? IdText(kept.staff) : "";
}

bool EnterUnscheduledMode(ApptEdit* edit, ApptEditFields* fields) {
    if (!edit->unscheduledMode && !AskYesNo(kUnscheduledQuestion)) return false;
    fields->operatory.clear();
    fields->date.clear();
    fields->time.clear();
    edit->unscheduledMode = true;
    edit->changed = true;
    return true;
}

void EnterPinBoardMode(ApptEdit* edit, ApptEditFields* fields) {
    fields->operatory.clear();
    fields->date.clear();
    fields->time.clear();
    edit->unscheduledMode = true;
    edit->toPinBoard = true;
    edit->changed = true;
}

bool ConfirmCancel(const ApptEdit& edit) {
    if (!edit.changed) return true;
    PromptRequest ask{kCancelQuestion, kCancelTitle, kButtonsYesNo, kIconExclamation};
    return CurrentPrompter().Show(ask) == kAnswerYes;
}
