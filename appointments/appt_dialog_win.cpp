// The Appointment Information dialog's window: the controls to and from ApptEditFields, the
// buttons, and what follows a save on this workstation (alerts, the shown days, the selection,
// the pin board). The rules themselves are in appt_edit.
#include "appointments/appt_dialog_win.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/current_patient.h"
#include "app/main_window_win.h"
#include "app/private_messages.h"
#include "appointments/appt_pickers_win.h"
#include "appointments/appt_care.h"
#include "appointments/appt_reasons.h"
#include "appointments/find_time_dialog_win.h"
#include "appointments/new_patient_dialog_win.h"
#include "appointments/time_pickers.h"
#include "controls/date_picker_model.h"
#include "controls/date_picker_win.h"
#include "controls/select_resource_dialog_win.h"
#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "lists/select_patient_dialog_win.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/lab_case_win.h"
#include "suite/messages.h"
#include "suite/patient_alert.h"
#include "suite/prompter.h"
#include "suite/records/patient.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"
#include "views/day_data.h"
#include "views/pin_board_win.h"
#include "views/sheet_state.h"

namespace {

constexpr int kAlertsNewAppointment = 8;
constexpr int kResourceProviders = 1;
constexpr int kResourceStaff = 2;
constexpr int kResourceOperatories = 3;
const char* const kScheduleTexts[] = {"FIXED", "OPEN", "ASAP"};

FamilyListHook family_list_hook = nullptr;

// One dialog at a time: its edit, its controls' contents and how it ended.
struct ApptDialogRun {
    HINSTANCE instance = nullptr;
    ApptEdit edit;
    ApptEditFields fields;
    int unitMinutes = 10;
    bool filling = false;         // the program is writing the controls: no edit by the user
    uint32_t savedId = 0;
    uint32_t openInstead = 0;     // chosen in the family list: opened once this dialog is closed
};

int ComboIndex(HWND dialog, int id) {
    const LRESULT i = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return i == CB_ERR ? 0 : static_cast<int>(i);
}

void ReadControls(HWND dialog, ApptEditFields* f) {
    f->provider = ControlText(dialog, IDC_APPT_PROVIDER);
    f->operatory = ControlText(dialog, IDC_APPT_OPERATORY);
    f->date = ControlText(dialog, IDC_APPT_DATE);
    f->time = ControlText(dialog, IDC_APPT_TIME);
    f->length = ControlText(dialog, IDC_APPT_LENGTH);
    f->description = ControlText(dialog, IDC_APPT_DESCRIPTION);
    f->amount = ControlText(dialog, IDC_APPT_AMOUNT);
    f->staff = ControlText(dialog, IDC_APPT_STAFF);
    f->note = ControlText(dialog, IDC_APPT_NOTE);
    f->statusIndex = ComboIndex(dialog, IDC_APPT_STATUS);
    f->scheduleIndex = ComboIndex(dialog, IDC_APPT_SCHEDULE);
    f->typeIndex = ComboIndex(dialog, IDC_APPT_TYPE);
    f->flags = 0;
    for (int i = 0; i < kFlagBoxes; ++i)
        if (Checked(dialog, IDC_APPT_FLAG_1 + i)) f->flags = static_cast<uint16_t>(f->flags | (1u << i));
    f->setAmount = Checked(dialog, IDC_APPT_SET_AMOUNT);
    f->labCase = Checked(dialog, IDC_APPT_LAB_CASE);
    f->updateCare = Checked(dialog, IDC_APPT_UPDATE_CARE);
}

// The attached types by name: the name the save will write, else that of the patient's record of
// the type (read only when needed), else the type's number.
std::string CareText(const ApptEdit& edit) {
    std::string text;
    std::vector<ContinuingCareRecord> stored;
    bool read = false;
    for (uint16_t type : edit.care) {
        if (type == 0) continue;
        if (!text.empty()) text += ", ";
        std::string name = std::to_string(type);
        bool named = false;
        for (const ContinuingCareRecord& c : edit.careWrites)
            if (c.type == type) {
                name.assign(c.typeName, strnlen(c.typeName, sizeof c.typeName));
                named = true;
            }
        if (!named && edit.working.patientId != 0) {
            if (!read) stored = ReadPatientCare(edit.working.patientId);
            read = true;
            for (const ContinuingCareRecord& c : stored)
                if (c.type == type) name.assign(c.typeName, strnlen(c.typeName, sizeof c.typeName));
        }
        text += name;
    }
    return text;
}

void FillReasonList(HWND dialog, const ApptEdit& edit) {
    HWND list = GetDlgItem(dialog, IDC_APPT_REASONS);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ReasonLine& line : ReasonLines(edit.working)) {
        const LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
        if (i >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(i), line.slot);
    }
}

void WriteControls(HWND dialog, ApptDialogRun& run) {
    const ApptEditFields& f = run.fields;
    run.filling = true;
    SetDlgItemTextA(dialog, IDC_APPT_PROVIDER, f.provider.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_OPERATORY, f.operatory.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_DATE, f.date.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_TIME, f.time.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_LENGTH, f.length.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_DESCRIPTION, f.description.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_AMOUNT, f.amount.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_STAFF, f.staff.c_str());
    SetDlgItemTextA(dialog, IDC_APPT_NOTE, f.note.c_str());
    SendDlgItemMessageA(dialog, IDC_APPT_STATUS, CB_SETCURSEL, static_cast<WPARAM>(f.statusIndex), 0);
    SendDlgItemMessageA(dialog, IDC_APPT_SCHEDULE, CB_SETCURSEL, static_cast<WPARAM>(f.scheduleIndex), 0);
    SendDlgItemMessageA(dialog, IDC_APPT_TYPE, CB_SETCURSEL, static_cast<WPARAM>(f.typeIndex), 0);
    for (int i = 0; i < kFlagBoxes; ++i) Check(dialog, IDC_APPT_FLAG_1 + i, (f.flags >> i) & 1);
    Check(dialog, IDC_APPT_SET_AMOUNT, f.setAmount);
    Check(dialog, IDC_APPT_LAB_CASE, f.labCase);
    Check(dialog, IDC_APPT_UPDATE_CARE, f.updateCare);
    const int32_t last_changed = run.edit.working.lastChanged;
    SetDlgItemTextA(dialog, IDC_APPT_LAST_CHANGED, last_changed ? QVN_fmtDateString2000(last_changed).c_str() : "");
    SetDlgItemTextA(dialog, IDC_APPT_CARE, CareText(run.edit).c_str());
    FillReasonList(dialog, run.edit);
    run.filling = false;
}

void SetTitle(HWND dialog, const ApptEdit& edit) {
    const AppointmentRecord& a = edit.working;
    PatientRecord patient{};
    const bool has_patient = a.patientId != 0 && ReadPatient(a.patientId, &patient);
    const std::string name = has_patient ? PatientPackedName(patient)
                                         : std::string(a.patientName, strnlen(a.patientName, sizeof a.patientName));
    const bool privacy = has_patient && (patient.privacy & kPrivacyRequests) != 0;
    SetWindowTextA(dialog, ApptDialogTitle(edit.isNew, name, has_patient, privacy).c_str());
}

void FillLists(HWND dialog, const ApptDialogRun& run) {
    for (const std::string& s : run.edit.statusTexts)
        SendDlgItemMessageA(dialog, IDC_APPT_STATUS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    for (const char* s : kScheduleTexts)
        SendDlgItemMessageA(dialog, IDC_APPT_SCHEDULE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendDlgItemMessageA(dialog, IDC_APPT_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("<none>"));
    for (int i = 0; i < practice_tables.typeCount; ++i)
        SendDlgItemMessageA(dialog, IDC_APPT_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(practice_tables.typeNames[i]));
    const std::vector<std::string> captions = ReadFlagCaptions();
    for (int i = 0; i < kFlagBoxes; ++i) {
        HWND box = GetDlgItem(dialog, IDC_APPT_FLAG_1 + i);
        SetWindowTextA(box, captions[static_cast<size_t>(i)].c_str());
        ShowWindow(box, captions[static_cast<size_t>(i)].empty() ? SW_HIDE : SW_SHOW);
    }
}

void LimitFields(HWND dialog) {
    const std::pair<int, int> limits[] = {{IDC_APPT_PROVIDER, 4}, {IDC_APPT_OPERATORY, 4}, {IDC_APPT_DATE, 10},
                                          {IDC_APPT_TIME, 9},     {IDC_APPT_DESCRIPTION, 60}, {IDC_APPT_AMOUNT, 8},
                                          {IDC_APPT_STAFF, 4},    {IDC_APPT_LENGTH, 5}};
    for (const auto& [id, limit] : limits) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    const int tabs[] = {16, 50, 170, 190};
    SendDlgItemMessageA(dialog, IDC_APPT_REASONS, LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(tabs));
}

std::string WithoutBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The free-time search for the appointment as the fields now describe it; a chosen time moves
// the date, time, operatory and provider fields (nothing is saved until OK).
void FindTimeForFields(HWND dialog, ApptDialogRun& run) {
    ReadControls(dialog, &run.fields);
    AppointmentRecord a = run.edit.working;
    PutId(a.provider, WithoutBlanks(run.fields.provider));
    PutId(a.operatory, WithoutBlanks(run.fields.operatory));
    const std::string length = WithoutBlanks(run.fields.length);
    a.length = static_cast<uint16_t>(!length.empty() && length.size() <= 4 &&
                                             length.find_first_not_of("0123456789") == std::string::npos
                                         ? std::stoi(length)
                                         : 0);
    a.type = static_cast<uint8_t>(std::max(run.fields.typeIndex, 0));
    if (!FindNewAppointmentTime(dialog, run.instance, &a, false, 0)) return;
    run.fields.date = QVN_fmtDateString2000(a.date);
    run.fields.time = TimeFieldText(a.hour, a.minute);
    run.fields.operatory = WithoutBlanks(std::string(a.operatory, 4));
    run.fields.provider = WithoutBlanks(std::string(a.provider, 4));
    for (const auto& [id, text] : {std::pair<int, const std::string&>{IDC_APPT_DATE, run.fields.date},
                                   {IDC_APPT_TIME, run.fields.time},
                                   {IDC_APPT_OPERATORY, run.fields.operatory},
                                   {IDC_APPT_PROVIDER, run.fields.provider}})
        SetDlgItemTextA(dialog, id, text.c_str());
}

void InitDialog(HWND dialog, ApptDialogRun& run) {
    LimitFields(dialog);
    FillLists(dialog, run);
    SetTitle(dialog, run.edit);
    WriteControls(dialog, run);
    const bool patient = run.edit.working.patientId != 0;
    EnableWindow(GetDlgItem(dialog, IDC_APPT_REASON_TX), patient);
    EnableWindow(GetDlgItem(dialog, IDC_APPT_CLAIM_INFO), patient);
    EnableWindow(GetDlgItem(dialog, IDC_APPT_OTHER_APPTS), patient && family_list_hook);
    // The pick chooses among the patient's continuing care records: none, nothing to pick.
    EnableWindow(GetDlgItem(dialog, IDC_APPT_CARE_PICK), patient && !ReadPatientCare(run.edit.working.patientId).empty());
}

// ">>" beside "Continuing Care &Attached:": the picked record's type becomes the one attached
// (written with the appointment at OK).
void PickCare(HWND dialog, ApptDialogRun& run) {
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(run.edit.working.patientId);
    uint16_t type = 0;
    CarePlan plan{};
    if (!PickContinuingCare(dialog, run.instance, CarePickLines(care), &type) ||
        !PlanCarePick(care, run.edit.working.id, type, &plan))
        return;
    std::copy(std::begin(plan.attached), std::end(plan.attached), run.edit.care);
    run.edit.careWrites = std::move(plan.writes);
    run.edit.changed = true;
    SetDlgItemTextA(dialog, IDC_APPT_CARE, CareText(run.edit).c_str());
}

// "&Other Appt(s)": an appointment chosen in the family list replaces this one in the dialog.
void OtherAppointments(HWND dialog, ApptDialogRun& run) {
    const uint32_t chosen = family_list_hook(dialog, run.instance, run.edit.working.patientId, true);
    if (chosen == 0 || !ConfirmCancel(run.edit)) return;
    run.openInstead = chosen;
    EndDialog(dialog, run.edit.followUpId ? 1 : 2);
}

// After a change of the reasons.
void ReasonsChanged(HWND dialog, ApptDialogRun& run) {
    ReadControls(dialog, &run.fields);
    RebuildAfterReasons(&run.edit, &run.fields, run.unitMinutes);
    WriteControls(dialog, run);
}

void AddReasons(HWND dialog, ApptDialogRun& run, const std::vector<uint32_t>& ids, uint8_t kind) {
    bool added = false;
    for (uint32_t id : ids) added |= AddReason(&run.edit.working, id, kind);
    if (added) ReasonsChanged(dialog, run);
}

void DeleteSelectedReason(HWND dialog, ApptDialogRun& run) {
    HWND list = GetDlgItem(dialog, IDC_APPT_REASONS);
    const LRESULT i = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR) return;
    DeleteReason(&run.edit.working, static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    ReasonsChanged(dialog, run);
}

void PickResource(HWND dialog, ApptDialogRun& run, int field, int kind) {
    char buffer[5] = {};
    const std::string current = ControlText(dialog, field);
    std::memcpy(buffer, current.data(), std::min<size_t>(current.size(), 4));
    const std::string chosen = SelectResource(dialog, run.instance, kind, buffer, 4, false);
    if (!chosen.empty()) SetDlgItemTextA(dialog, field, chosen.c_str());
}

void PickTimeOfField(HWND dialog, ApptDialogRun& run) {
    int hour = 12, minute = 0;
    ReadTimeField(ControlText(dialog, IDC_APPT_TIME), run.unitMinutes, &hour, &minute);
    if (PickTime(dialog, run.instance, run.unitMinutes, true, &hour, &minute))
        SetDlgItemTextA(dialog, IDC_APPT_TIME, TimeFieldText(hour, minute).c_str());
}

void EditPattern(HWND dialog, ApptDialogRun& run) {
    const int length = atoi(ControlText(dialog, IDC_APPT_LENGTH).c_str());
    int units = std::clamp(length / std::max(run.unitMinutes, 1), 1, 24);
    if (!EditTimePattern(dialog, run.instance, run.edit.working.timePattern, &units, run.unitMinutes)) return;
    SetDlgItemTextA(dialog, IDC_APPT_LENGTH, std::to_string(units * run.unitMinutes).c_str());
    run.edit.changed = true;
}

void InsertDateline(HWND dialog) {
    HWND note = GetDlgItem(dialog, IDC_APPT_NOTE);
    const std::string line = QVN_fmtDateString2000(QVN_SysDate()) + "\r\n";
    SendMessageA(note, EM_SETSEL, 0, 0);
    SendMessageA(note, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    SetFocus(note);
}

// What a save means on this workstation: the patient's alerts, the shown days of the old and the
// new place, the other workstations, the main window, the selection and the pin board.
void AfterSave(HWND dialog, ApptDialogRun& run, const AppointmentRecord& saved) {
    const AppointmentRecord before = run.edit.asRead;
    run.savedId = saved.id;
    if (saved.patientId) PATALERT_PopUpPatientAlerts(saved.patientId, saved.date, kAlertsNewAppointment);
    AnnounceSavedAppointment(before, run.edit.isNew, saved);
    if (run.edit.toPinBoard) {
        WriteClipboardAppointment(saved.id);
        ParkClipboardOnBoard();
    }
    // Only the columns the appointment left and entered are read again, not its whole days.
    RefreshSavedAppointment(run.edit.isNew ? nullptr : &before, saved);
    for (const DayRecord& day : day_data.days)
        if (saved.date != 0 && day.date == saved.date) {
            sheet_state.selectedId = saved.id;
            sheet_state.selectedPatientId = saved.patientId;
            sheet_state.selectedDate = saved.date;
        }
    if (HWND main = app_frame.main_window) {
        PostMessageA(main, kMsgAppointmentChanged, 0, static_cast<LPARAM>(saved.id));
        PostMessageA(main, WM_COMMAND, kCmdSelectionButtons, 0);
        InvalidateRect(main, nullptr, FALSE);
        if (HWND sheet = FindWindowExA(main, nullptr, "SchSheet", nullptr)) InvalidateRect(sheet, nullptr, FALSE);
    }
    (void)dialog;
}

// OK, and the buttons that end in it. Returns true when the dialog may close.
bool RunOk(HWND dialog, ApptDialogRun& run, bool close_after) {
    ReadControls(dialog, &run.fields);
    OkResult result = RunOkSequence(&run.edit, &run.fields, QVN_SysDate(), run.unitMinutes);
    switch (result.outcome) {
    case OkOutcome::kStay:
        WriteControls(dialog, run);
        if (HWND focus = GetDlgItem(dialog, result.focus)) {
            SetFocus(focus);
            SendMessageA(focus, EM_SETSEL, 0, -1);
        }
        return false;
    case OkOutcome::kClose:
        EndDialog(dialog, run.edit.followUpId ? 1 : 0);
        return true;
    case OkOutcome::kSaved:
        break;
    }
    AfterSave(dialog, run, result.saved);
    if (close_after) {
        EndDialog(dialog, 1);
        return true;
    }
    StartScheduleNext(result.saved, &run.edit, &run.fields);
    SetTitle(dialog, run.edit);
    WriteControls(dialog, run);
    SetFocus(GetDlgItem(dialog, IDC_APPT_TIME));
    return false;
}

// "Attach Case": the lab-case library's window over the appointment's cases; they are written
// with the appointment at OK.
void AttachCase(HWND dialog, ApptDialogRun& run) {
    std::vector<LabCaseLink> links = run.edit.labLinks;
    if (!AttachCases(dialog, run.instance, &links)) return;
    ReadControls(dialog, &run.fields);
    CasesAttached(std::move(links), &run.edit, &run.fields);
    Check(dialog, IDC_APPT_LAB_CASE, run.fields.labCase);
}

void PatientInfo(HWND dialog, ApptDialogRun& run) {
    if (run.edit.working.patientId != 0) {
        StartFamilyFile(run.edit.working.patientId);
        return;
    }
    ReadControls(dialog, &run.fields);
    if (EditNewPatientInfo(dialog, run.instance, &run.edit.working, &run.edit.newPatient)) {
        run.edit.changed = true;
        SetTitle(dialog, run.edit);
    }
}

bool OnCommand(HWND dialog, ApptDialogRun& run, int id, int code) {
    if (code == EN_CHANGE || code == CBN_SELCHANGE || (code == BN_CLICKED && id >= IDC_APPT_FLAG_1 && id < IDC_APPT_FLAG_1 + kFlagBoxes)) {
        if (!run.filling) run.edit.changed = true;
        return true;
    }
    if (id == IDC_APPT_TIME && code == EN_KILLFOCUS) {
        const std::string text = ControlText(dialog, IDC_APPT_TIME);
        const std::string shown = TimeFieldOnBlur(text, run.unitMinutes);
        if (shown != text) SetDlgItemTextA(dialog, IDC_APPT_TIME, shown.c_str());
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDOK:
        RunOk(dialog, run, true);
        return true;
    case IDCANCEL:
        if (ConfirmCancel(run.edit)) EndDialog(dialog, run.edit.followUpId ? 1 : 2);
        return true;
    case IDC_APPT_SCHEDULE_NEXT:
        RunOk(dialog, run, false);
        return true;
    case IDC_APPT_WAIT:
        ReadControls(dialog, &run.fields);
        if (EnterUnscheduledMode(&run.edit, &run.fields)) {
            WriteControls(dialog, run);
            RunOk(dialog, run, true);
        }
        return true;
    case IDC_APPT_PIN_BOARD:
        ReadControls(dialog, &run.fields);
        EnterPinBoardMode(&run.edit, &run.fields);
        WriteControls(dialog, run);
        RunOk(dialog, run, true);
        return true;
    case IDC_APPT_REASON_INITIAL: {
        std::vector<uint32_t> codes;
        if (PickInitialReasons(dialog, run.instance, &codes)) AddReasons(dialog, run, codes, 0);
        return true;
    }
    case IDC_APPT_REASON_TX: {
        std::vector<uint32_t> procedures;
        if (PickTreatmentPlan(dialog, run.instance, run.edit.working.patientId, &procedures))
            AddReasons(dialog, run, procedures, kReasonIsProcedure);
        return true;
    }
    case IDC_APPT_REASON_MISC: {
        uint32_t code = 0;
        if (PickMiscReason(dialog, run.instance, &code)) AddReasons(dialog, run, {code}, 0);
        return true;
    }
    case IDC_APPT_REASON_DELETE:
        DeleteSelectedReason(dialog, run);
        return true;
    case IDC_APPT_REASON_DELETE_ALL:
        DeleteAllReasons(&run.edit.working);
        ReasonsChanged(dialog, run);
        return true;
    case IDC_APPT_PROVIDER_PICK:
        PickResource(dialog, run, IDC_APPT_PROVIDER, kResourceProviders);
        return true;
    case IDC_APPT_OPERATORY_PICK:
        PickResource(dialog, run, IDC_APPT_OPERATORY, kResourceOperatories);
        return true;
    case IDC_APPT_STAFF_PICK:
        PickResource(dialog, run, IDC_APPT_STAFF, kResourceStaff);
        return true;
    case IDC_APPT_DATE_PICK:
        OpenDatePicker(dialog, run.instance, QVN_ParseDate(ControlText(dialog, IDC_APPT_DATE)), false);
        return true;
    case IDC_APPT_TIME_PICK:
        PickTimeOfField(dialog, run);
        return true;
    case IDC_APPT_FIND:
        FindTimeForFields(dialog, run);
        return true;
    case IDC_APPT_PATTERN:
        EditPattern(dialog, run);
        return true;
    case IDC_APPT_DATELINE:
        InsertDateline(dialog);
        return true;
    case IDC_APPT_DIAL:
        DialAppointmentPhone(dialog, run.edit.working);
        return true;
    case IDC_APPT_PATIENT_INFO:
        PatientInfo(dialog, run);
        return true;
    case IDC_APPT_OTHER_APPTS:
        if (family_list_hook && run.edit.working.patientId) OtherAppointments(dialog, run);
        return true;
    case IDC_APPT_ATTACH_CASE:
        AttachCase(dialog, run);
        return true;
    case IDC_APPT_CARE_PICK:
        if (run.edit.working.patientId) PickCare(dialog, run);
        return true;
    case IDC_APPT_CLAIM_INFO:
        ShowInsuranceClaimInfo(dialog, run.instance, run.edit.working.patientId);
        return true;
    case IDC_APPT_SET_AMOUNT:
    case IDC_APPT_LAB_CASE:
    case IDC_APPT_UPDATE_CARE:
        if (!run.filling) run.edit.changed = true;
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK ApptDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<ApptDialogRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitDialog(dialog, *reinterpret_cast<ApptDialogRun*>(lparam));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wparam) == kCmdPickedDate) {
            if (lparam > 0) SetDlgItemTextA(dialog, IDC_APPT_DATE, QVN_fmtDateString2000(static_cast<int32_t>(lparam)).c_str());
            return TRUE;
        }
        return OnCommand(dialog, *run, LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

// Runs the dialog over a prepared edit.
int RunDialog(HWND owner, HINSTANCE instance, ApptDialogRun& run, uint32_t* saved_id) {
    run.instance = instance;
    const INT_PTR result = DialogBoxParamA(instance, "DLG_RS_EDITAPPT", owner, ApptDialogProc, reinterpret_cast<LPARAM>(&run));
    if (result == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return 0;
    }
    if (saved_id && run.savedId) *saved_id = run.savedId;
    if (run.openInstead) return EditAppointment(owner, instance, run.openInstead, saved_id) || result == 1 ? 1 : 0;
    return result == 1 ? 1 : 0;
}

void PrepareRun(ApptDialogRun* run) {
    run->unitMinutes = std::max(practice_tables.blockMinutes, 5);
    BuildStatusList(practice_tables.statuses, &run->edit);
}

// The care type to attach: the first nonzero one, or the one due first among the patient's
// records of those types.
uint16_t CareToAttach(uint32_t patient_id, const uint16_t* care_types, bool pick_earliest) {
    if (!care_types) return 0;
    if (!pick_earliest) {
        for (int i = 0; i < kCareSlots; ++i)
            if (care_types[i]) return care_types[i];
        return 0;
    }
    uint16_t chosen = 0;
    int32_t earliest = 0;
    for (const ContinuingCareRecord& c : ReadPatientCare(patient_id))
        if (std::find(care_types, care_types + kCareSlots, c.type) != care_types + kCareSlots && c.type != 0 &&
            (chosen == 0 || c.dueDate < earliest)) {
            chosen = c.type;
            earliest = c.dueDate;
        }
    return chosen;
}

}  // namespace

void SetFamilyListHook(FamilyListHook hook) { family_list_hook = hook; }

int EditAppointment(HWND owner, HINSTANCE instance, uint32_t appointment_id, uint32_t* saved_id) {
    if (QVN_PasswordCheckwAudit(kRightEditAppointment) <= 0) return 0;
    ApptDialogRun run;
    PrepareRun(&run);
    if (!OpenExistingAppointment(appointment_id, &run.edit, &run.fields)) return 0;
    return RunDialog(owner, instance, run, saved_id);
}

int NewAppointmentForPatient(HWND owner, HINSTANCE instance, uint32_t patient_id, const uint16_t* care_types,
                             bool pick_earliest_care, uint32_t* saved_id) {
    if (QVN_CheckRights(kRightScheduleAppointment, true) <= 0) return 0;
    PATALERT_PopUpPatientAlerts(patient_id, QVN_SysDate(), kAlertsNewAppointment);
    ApptDialogRun run;
    PrepareRun(&run);
    NewApptPlace place;
    place.patientId = patient_id;
    StartNewAppointment(place, &run.edit, &run.fields);
    run.edit.care[0] = CareToAttach(patient_id, care_types, pick_earliest_care);
    return RunDialog(owner, instance, run, saved_id);
}

int NewAppointmentFromSheet(HWND owner, HINSTANCE instance, const NewApptPlace& place, uint32_t* saved_id) {
    if (place.patientId != 0) {
        PATALERT_PopUpPatientAlerts(place.patientId, place.date, kAlertsNewAppointment);
        AppointmentRecord waiting{};
        if (FindUnscheduledOfPatient(place.patientId, &waiting) &&
            CurrentPrompter().Show({kUnscheduledOfPatient, kTitleAppointmentBook, kButtonsYesNo, kIconExclamation}) == kAnswerYes &&
            family_list_hook) {
            if (const uint32_t chosen = family_list_hook(owner, instance, place.patientId, false))
                return EditAppointment(owner, instance, chosen, saved_id);
        }
    }
    ApptDialogRun run;
    PrepareRun(&run);
    StartNewAppointment(place, &run.edit, &run.fields);
    // A new patient is named before anything else of the appointment.
    if (place.patientId == 0 && !EditNewPatientInfo(owner, instance, &run.edit.working, &run.edit.newPatient)) return 0;
    return RunDialog(owner, instance, run, saved_id);
}

int NewAppointmentChoosingPatient(HWND owner, HINSTANCE instance, const NewApptPlace* place, uint32_t* saved_id) {
    SelectPatientRequest request;
    if (SelectPatient(owner, instance, &request) != 1 && !request.newPatient) return 0;
    if (request.patientId != 0) {
        PatientStatusWarning(request.patientId);
        PatientRecord patient{};
        if (ReadPatient(request.patientId, &patient))
            SetCurrentPatient(static_cast<int32_t>(patient.id), PatientPackedName(patient).c_str());
    }
    if (place) {
        NewApptPlace chosen = *place;
        chosen.patientId = request.patientId;
        return NewAppointmentFromSheet(owner, instance, chosen, saved_id);
    }
    if (request.patientId != 0) return NewAppointmentForPatient(owner, instance, request.patientId, nullptr, false, saved_id);
    return NewAppointmentFromSheet(owner, instance, NewApptPlace{}, saved_id);
}
