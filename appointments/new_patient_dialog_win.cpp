// Window side of Enter New Patient Information, the referrer choice, the claim information and
// the family file start: controls in and out, the core of new_patient_entry and patient_info.
#include "appointments/new_patient_dialog_win.h"

#include <string>

#include "appointments/new_patient_entry.h"
#include "appointments/patient_info.h"
#include "lists/patient_search.h"
#include "lists/select_patient_dialog_win.h"
#include "resources/resource.h"
#include "suite/addresses.h"
#include "suite/dial_win.h"
#include "suite/dialog_fields_win.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/referral_win.h"
#include "suite/utility_strings.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"

namespace {

constexpr int kMsgNoMemoryForWindow = 3040;
constexpr int kMsgProgramNotStarted = 3196;

struct EditRun {
    AppointmentRecord appointment;  // working copies: given back only on OK
    NewPatientRecord side;
    int country = 1;
    HINSTANCE instance = nullptr;
};

struct FieldControl {
    int id;
    int limit;
};
const FieldControl kFields[] = {
    {IDC_EDITPAT_LAST, kEntryLastNameMax}, {IDC_EDITPAT_FIRST, kEntryFirstNameMax},
    {IDC_EDITPAT_INITIAL, kEntryInitialMax}, {IDC_EDITPAT_PHONE, kEntryPhoneMax},
    {IDC_EDITPAT_STREET, kEntryStreetMax}, {IDC_EDITPAT_STREET2, kEntryStreetMax},
    {IDC_EDITPAT_CITY, kEntryCityMax}, {IDC_EDITPAT_STATE, kEntryStateMax},
    {IDC_EDITPAT_ZIP, kEntryZipMax},
};

int ControlOf(NewPatientField field) {
    switch (field) {
    case kNewPatientLastName: return IDC_EDITPAT_LAST;
    case kNewPatientFirstName: return IDC_EDITPAT_FIRST;
    case kNewPatientPhone: return IDC_EDITPAT_PHONE;
    case kNewPatientState: return IDC_EDITPAT_STATE;
    case kNewPatientZip: return IDC_EDITPAT_ZIP;
    default: return IDOK;
    }
}

void ShowReferrer(HWND dialog, const std::string& name) { SetDlgItemTextA(dialog, IDC_EDITPAT_REFERRER, name.c_str()); }

void InitEdit(HWND dialog, EditRun& run) {
    for (const FieldControl& f : kFields) SendDlgItemMessageA(dialog, f.id, EM_LIMITTEXT, static_cast<WPARAM>(f.limit), 0);
    const NewPatientEntry e = NewPatientEntryOf(run.appointment, run.side);
    SetDlgItemTextA(dialog, IDC_EDITPAT_LAST, e.lastName.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_FIRST, e.firstName.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_INITIAL, e.middleInitial.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_PHONE, e.phone.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_STREET, e.street.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_STREET2, e.street2.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_CITY, e.city.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_STATE, e.state.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_ZIP, e.zip.c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_STATE_CAPTION, (QVN_UtilityString(1) + ":").c_str());
    SetDlgItemTextA(dialog, IDC_EDITPAT_ZIP_CAPTION, (QVN_UtilityString(2) + ":").c_str());
    const int shown = QVN_CountryHasState(run.country) ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(dialog, IDC_EDITPAT_STATE_CAPTION), shown);
    ShowWindow(GetDlgItem(dialog, IDC_EDITPAT_STATE), shown);
    ShowReferrer(dialog, ReferrerName(run.appointment));
}

NewPatientEntry EntryOfControls(HWND dialog) {
    NewPatientEntry e;
    e.lastName = ControlText(dialog, IDC_EDITPAT_LAST);
    e.firstName = ControlText(dialog, IDC_EDITPAT_FIRST);
    e.middleInitial = ControlText(dialog, IDC_EDITPAT_INITIAL);
    e.phone = ControlText(dialog, IDC_EDITPAT_PHONE);
    e.street = ControlText(dialog, IDC_EDITPAT_STREET);
    e.street2 = ControlText(dialog, IDC_EDITPAT_STREET2);
    e.city = ControlText(dialog, IDC_EDITPAT_CITY);
    e.state = ControlText(dialog, IDC_EDITPAT_STATE);
    e.zip = ControlText(dialog, IDC_EDITPAT_ZIP);
    return e;
}

void OnOk(HWND dialog, EditRun& run) {
    const NewPatientEntry e = EntryOfControls(dialog);
    const NewPatientField failed = CheckNewPatientEntry(e, run.country);
    if (failed != kNewPatientFieldsOk) {
        HWND control = GetDlgItem(dialog, ControlOf(failed));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        SendMessageA(control, EM_SETSEL, 0, -1);
        return;
    }
    StoreNewPatientEntry(e, run.country, &run.appointment, &run.side);
    EndDialog(dialog, 1);
}

// ">>": the kind first, then the patient or the referral source; Cancel anywhere changes nothing.
void PickReferrer(HWND dialog, EditRun& run) {
    const int kind = AskReferrerKind(dialog, run.instance);
    if (kind < 0) return;
    if (kind == 0) {
        SelectPatientRequest request;
        if (SelectPatient(dialog, run.instance, &request) != 1) return;
        PatientRecord patient{};
        if (!ReadPatient(request.patientId, &patient)) return;
        SetReferrer(&run.appointment, 0, request.patientId);
        ShowReferrer(dialog, PatientReferrerName(patient));
        return;
    }
    const uint32_t source = REFERRAL_RefFind(dialog, run.instance);
    if (source == 0) return;
    SetReferrer(&run.appointment, 1, source);
    ShowReferrer(dialog, ReferrerName(run.appointment));
}

INT_PTR CALLBACK EditProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<EditRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitEdit(dialog, *reinterpret_cast<EditRun*>(lparam));
        return TRUE;  // the focus goes to the last name
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_EDITPAT_REFERRER_PICK:
            PickReferrer(dialog, *run);
            return TRUE;
        case IDC_EDITPAT_REFERRER_REMOVE:
            RemoveReferrer(&run->appointment);
            ShowReferrer(dialog, "");
            return TRUE;
        case IDOK:
            OnOk(dialog, *run);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK ReferrerKindProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        const int preselected = LastReferrerKind() == 1 ? IDC_REFTYPE_SOURCE : IDC_REFTYPE_PATIENT;
        CheckRadioButton(dialog, IDC_REFTYPE_PATIENT, IDC_REFTYPE_SOURCE, preselected);
        SetFocus(GetDlgItem(dialog, preselected));
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK:
            EndDialog(dialog, IsDlgButtonChecked(dialog, IDC_REFTYPE_SOURCE) == BST_CHECKED ? 2 : 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

const int kClaimTabs[] = {64};

INT_PTR CALLBACK ClaimInfoProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND list = GetDlgItem(dialog, IDC_CLAIMINFO_LIST);
        SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(kClaimTabs));
        for (const ClaimInfoLine& line : ClaimInfoLines(static_cast<uint32_t>(lparam))) {
            const std::string text = (line.caption.empty() ? "" : line.caption + ":") + "\t" + line.value;
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL || LOWORD(wparam) == IDOK) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool EditNewPatientInfo(HWND owner, HINSTANCE instance, AppointmentRecord* appointment, NewPatientRecord* side) {
    EditRun run;
    run.appointment = *appointment;
    run.side = *side;
    run.country = ReadCountryCode();
    run.instance = instance;
    const INT_PTR result = DialogBoxParamA(instance, "DLG_RS_EDITPAT", owner, EditProc, reinterpret_cast<LPARAM>(&run));
    if (result == -1) QVN_Message(kMsgGroupSuite, kMsgNoMemoryForWindow);
    if (result != 1) return false;
    *appointment = run.appointment;
    *side = run.side;
    return true;
}

int AskReferrerKind(HWND owner, HINSTANCE instance) {
    const INT_PTR result = DialogBoxParamA(instance, "PF_DLG_REF_TYPE", owner, ReferrerKindProc, 0);
    if (result == -1) QVN_Message(kMsgGroupSuite, kMsgNoMemoryForWindow);
    if (result != 1 && result != 2) return -1;
    const uint8_t kind = result == 2 ? 1 : 0;
    RememberReferrerKind(kind);
    return kind;
}

void ShowInsuranceClaimInfo(HWND owner, HINSTANCE instance, uint32_t patient_id) {
    if (DialogBoxParamA(instance, "DLG_CLAIMINFO", owner, ClaimInfoProc, static_cast<LPARAM>(patient_id)) == -1)
        QVN_Message(kMsgGroupSuite, kMsgNoMemoryForWindow);
}

bool StartFamilyFile(uint32_t patient_id) {
    const std::string command_line = FamilyFileCommandLine(ProgramFolder(), patient_id);
    if (QVN_StartProgram(command_line.c_str(), SW_SHOWNORMAL) >= 32) return true;
    QVN_Message(kMsgGroupSuite, kMsgProgramNotStarted);
    return false;
}

int DialAppointmentPhone(HWND owner, const AppointmentRecord& appointment) {
    const DialTarget target = AppointmentDialTarget(appointment);
    if (target.digits.empty()) {
        ShowRefusal(NothingToDialText(target.name));
        return 0;
    }
    return QVN_DialPhoneDialog2(owner, target.digits, target.name);
}
