// Window side of the notes dialog and the medical alert editor.
#include "appointments/notes_dialog_win.h"

#include <cstring>
#include <string>
#include <vector>

#include "appointments/notes_dialog.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/gdi_win.h"
#include "suite/messages.h"
#include "suite/users.h"

namespace {

constexpr COLORREF kAlertText = 0x000000FF;  // red
constexpr COLORREF kGrey = 0x00C0C0C0;

struct NotesRun {
    uint32_t patientId = 0;
    uint32_t appointmentId = 0;
    NotesFields fields;
    NotesContent content;
    GdiObject<HFONT> bold;
    Brush grey;
};

NoteFieldState StateOf(const NotesRun& run, int id) {
    switch (id) {
    case IDC_NOTES_ALERTS: return run.fields.alerts;
    case IDC_NOTES_APPOINTMENT: return run.fields.appointment;
    case IDC_NOTES_PATIENT: return run.fields.patient;
    case IDC_NOTES_GUARANTOR: return run.fields.guarantor;
    }
    return kFieldEditable;
}

// A hidden field shows the refusal in bold; a field that may not be changed is read-only.
void SetUpField(HWND dialog, NotesRun& run, int id, const std::string& text) {
    HWND field = GetDlgItem(dialog, id);
    const NoteFieldState state = StateOf(run, id);
    if (state == kFieldHidden) {
        SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(run.bold.Get()), FALSE);
        SetWindowTextA(field, kNotViewable);
    } else {
        SetWindowTextA(field, text.c_str());
    }
    if (state != kFieldEditable || id == IDC_NOTES_ALERTS) SendMessageA(field, EM_SETREADONLY, TRUE, 0);
}

void Init(HWND dialog, NotesRun& run) {
    run.fields = NotesFieldsFor([](int right) { return QVN_CheckUserRights(right) == 1; });
    run.content = LoadNotes(run.patientId, run.appointmentId, run.fields.loaded);
    HDC dc = GetDC(dialog);
    const int height = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(dialog, dc);
    run.bold.Reset(CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    run.grey.Reset(CreateSolidBrush(kGrey));
    SetUpField(dialog, run, IDC_NOTES_ALERTS, run.content.alerts);
    SetUpField(dialog, run, IDC_NOTES_APPOINTMENT, run.content.appointmentNote);
    SetUpField(dialog, run, IDC_NOTES_PATIENT, run.content.patientNote);
    SetUpField(dialog, run, IDC_NOTES_GUARANTOR, run.content.guarantorNote);
    EnableWindow(GetDlgItem(dialog, IDC_NOTES_EDIT_ALERTS), run.fields.editAlerts);
    SetWindowTextA(dialog, NotesTitle(run.content.patient).c_str());
    SetFocus(GetDlgItem(dialog, IDC_NOTES_APPOINTMENT));
}

// --- The medical alert editor: the alert definitions, the patient's selected -------------------

struct AlertEditRun {
    uint8_t alerts[8] = {};
    std::vector<AlertDefinition> definitions;
};

INT_PTR CALLBACK AlertEditProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<AlertEditRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<AlertEditRun*>(lparam);
        HWND list = GetDlgItem(dialog, IDC_MEDALERTS_LIST);
        for (size_t i = 0; i < run->definitions.size(); ++i) {
            const AlertDefinition& d = run->definitions[i];
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.text.c_str()));
            const int bit = d.number - 1;
            if ((run->alerts[bit / 8] >> (bit % 8)) & 1) SendMessageA(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wparam) == IDOK) {
            HWND list = GetDlgItem(dialog, IDC_MEDALERTS_LIST);
            for (size_t i = 0; i < run->definitions.size(); ++i) {
                const int bit = run->definitions[i].number - 1;
                const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
                if (SendMessageA(list, LB_GETSEL, i, 0) > 0) run->alerts[bit / 8] |= mask;
                else run->alerts[bit / 8] &= static_cast<uint8_t>(~mask);
            }
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void EditAlerts(HWND dialog, NotesRun& run) {
    const int right = QVN_CheckRights(kRightEditMedicalAlerts, true);
    QVN_SetOverrideToLoggedIn();
    if (right <= 0) return;
    AlertEditRun edit;
    std::memcpy(edit.alerts, run.content.patient.medicalAlerts, sizeof edit.alerts);
    edit.definitions = MedicalAlertDefinitions();
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    const INT_PTR ended = DialogBoxParamA(instance, "DLG_MEDALERTS", dialog, AlertEditProc, reinterpret_cast<LPARAM>(&edit));
    if (ended == -1) QVN_Message(kMsgGroupSuite, 3040);
    if (ended != 1) return;
    std::memcpy(run.content.patient.medicalAlerts, edit.alerts, sizeof edit.alerts);
    run.content.alerts = JoinAlertTexts(MedicalAlertTexts(run.content.patient.medicalAlerts));
    SetDlgItemTextA(dialog, IDC_NOTES_ALERTS, run.content.alerts.c_str());
}

void OnOk(HWND dialog, NotesRun& run) {
    run.content.appointmentNote = ControlText(dialog, IDC_NOTES_APPOINTMENT);
    if (run.fields.loaded & kNotesPatient) run.content.patientNote = ControlText(dialog, IDC_NOTES_PATIENT);
    if (run.fields.loaded & kNotesGuarantor) run.content.guarantorNote = ControlText(dialog, IDC_NOTES_GUARANTOR);
    // A failed write was reported; the dialog stays so that nothing typed is lost.
    if (SaveNotes(run.patientId, run.appointmentId, run.fields.loaded, run.content, QVN_SysDate())) EndDialog(dialog, 1);
}

INT_PTR CALLBACK NotesProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<NotesRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog, *reinterpret_cast<NotesRun*>(lparam));
        return FALSE;  // the focus is set
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        if (!run) return FALSE;
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
        if (id != IDC_NOTES_ALERTS && (id < IDC_NOTES_PATIENT || id > IDC_NOTES_GUARANTOR)) return FALSE;
        if (id != IDC_NOTES_ALERTS && StateOf(*run, id) == kFieldEditable) return FALSE;
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (id == IDC_NOTES_ALERTS) SetTextColor(dc, kAlertText);
        SetBkColor(dc, kGrey);
        return reinterpret_cast<INT_PTR>(run->grey.Get());
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_NOTES_EDIT_ALERTS:
            EditAlerts(dialog, *run);
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

}  // namespace

int NotesDialog(HWND owner, HINSTANCE instance, uint32_t patient_id, uint32_t appointment_id) {
    NotesRun run;
    run.patientId = patient_id;
    run.appointmentId = appointment_id;
    const INT_PTR ended = DialogBoxParamA(instance, "DLG_NOTES", owner, NotesProc, reinterpret_cast<LPARAM>(&run));
    if (ended == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return 0;
    }
    return ended == 1 ? 1 : 0;
}
