// Window side of Locate Existing Appointment and Select Appointment.
#include "appointments/locate_dialog_win.h"

#include <vector>

#include "appointments/locate.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/messages.h"
#include "suite/prompter.h"

namespace {

const int kLocateTabs[] = {104, 142, 168, 194, 344};
const int kByPatientTabs[] = {32, 50, 80, 115, 153};
const char kNoAppointmentViewCanceled[] = "No appointment selected! View canceled.";

struct LocateRun {
    LocateRequest* request = nullptr;
    uint32_t chosen = 0;
};

// Fills the list; the number of appointments listed.
size_t Fill(HWND dialog, const LocateSearch& found) {
    HWND list = GetDlgItem(dialog, IDC_PATFIND2_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    size_t appointments = 0;
    for (const ListLine& line : found.lines) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
        if (at == LB_ERRSPACE) {
            QVN_Message(kMsgGroupSuite, 3040);
            break;
        }
        if (at == LB_ERR) {
            QVN_Message(kMsgGroupSuite, 3222);
            break;
        }
        if (line.kind != ListLineKind::kSeparator) ++appointments;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return appointments;
}

std::string NameText(HWND dialog) {
    char text[kLocateNameMax + 1] = "";
    GetDlgItemTextA(dialog, IDC_PATFIND2_NAME, text, sizeof text);
    return text;
}

size_t Search(HWND dialog, LocateRun& run, bool by_user) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const LocateSearch found = run.request->mode == 1 ? SearchAppointmentsOfPatient(run.request->patientId, QVN_SysDate())
                                                      : SearchAppointmentsByName(NameText(dialog), QVN_SysDate(), by_user);
    const size_t count = Fill(dialog, found);
    SetCursor(old_cursor);
    return count;
}

// The appointment of the selected line and its text; 0 for none (or the separator).
uint32_t SelectedAppointment(HWND dialog, std::string* text) {
    HWND list = GetDlgItem(dialog, IDC_PATFIND2_LIST);
    const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR) return 0;
    *text = ListBoxItemText(list, static_cast<int>(at));
    return AppointmentIdOfLocateLine(*text);
}

void Take(HWND dialog, LocateRun& run, uint32_t id, const std::string& text) {
    if (run.request->mode == 0) run.request->name = NameOfLocateLine(text);
    run.chosen = id;
    EndDialog(dialog, 1);
}

// OK (and a double click) or "&View Appt".
void Choose(HWND dialog, LocateRun& run, bool view) {
    std::string text;
    const uint32_t id = SelectedAppointment(dialog, &text);
    if (id == 0) {
        if (view) {
            CurrentPrompter().Show({kNoAppointmentViewCanceled, kTitleAppointmentBook, kButtonsOk, kIconInformation});
            return;
        }
        EndDialog(dialog, 0);
        return;
    }
    run.request->view = view;
    Take(dialog, run, id, text);
}

void TypeLetter(HWND dialog, char c) {
    HWND entry = GetDlgItem(dialog, IDC_PATFIND2_NAME);
    const char text[2] = {c, '\0'};
    SendMessageA(entry, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    SetFocus(entry);
}

void Init(HWND dialog, LocateRun& run) {
    LocateRequest& r = *run.request;
    HWND list = GetDlgItem(dialog, IDC_PATFIND2_LIST);
    if (r.mode == 1) {
        SendMessageA(list, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(kByPatientTabs));
        Search(dialog, run, false);
        SendMessageA(list, LB_SETCURSEL, 0, 0);
        SetFocus(list);
        return;
    }
    SendMessageA(list, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(kLocateTabs));
    SendDlgItemMessageA(dialog, IDC_PATFIND2_NAME, EM_LIMITTEXT, kLocateNameMax, 0);
    ShowWindow(GetDlgItem(dialog, IDC_PATFIND2_VIEW), r.view ? SW_SHOW : SW_HIDE);
    r.view = false;
    EnableWindow(GetDlgItem(dialog, IDOK), r.mayOpen);
    // Enter must still search from the name field: without OK, ">>" is the default button.
    if (!r.mayOpen) SendMessageA(dialog, DM_SETDEFID, IDC_PATFIND2_SEARCH, 0);
    SetDlgItemTextA(dialog, IDC_PATFIND2_NAME, r.name.c_str());
    if (static_cast<int>(r.name.size()) < r.minimumLength || r.name.empty()) {
        SetFocus(GetDlgItem(dialog, IDC_PATFIND2_NAME));
        return;
    }
    const size_t found = Search(dialog, run, false);
    if (r.autoAccept && found == 0) {
        EndDialog(dialog, 0);
        return;
    }
    if (r.autoAccept && found == 1) {
        std::string text;
        for (int i = 0; i < 2; ++i) {  // the one appointment may follow the separator
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            if (const uint32_t id = SelectedAppointment(dialog, &text)) {
                Take(dialog, run, id, text);
                return;
            }
        }
    }
    SetFocus(list);
}

INT_PTR CALLBACK LocateProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<LocateRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog, *reinterpret_cast<LocateRun*>(lparam));
        return FALSE;  // the focus is set
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_PATFIND2_CHAR_A && id < IDC_PATFIND2_CHAR_A + 26) {
            TypeLetter(dialog, static_cast<char>('A' + id - IDC_PATFIND2_CHAR_A));
            return TRUE;
        }
        switch (id) {
        case IDC_PATFIND2_SEARCH:
            Search(dialog, *run, true);
            SendDlgItemMessageA(dialog, IDC_PATFIND2_LIST, LB_SETCURSEL, 0, 0);
            SetFocus(GetDlgItem(dialog, IDC_PATFIND2_LIST));
            return TRUE;
        case IDC_PATFIND2_CLEAR:
            SetDlgItemTextA(dialog, IDC_PATFIND2_NAME, "");
            SendDlgItemMessageA(dialog, IDC_PATFIND2_LIST, LB_RESETCONTENT, 0, 0);
            SetFocus(GetDlgItem(dialog, IDC_PATFIND2_NAME));
            return TRUE;
        case IDC_PATFIND2_LIST:
            if (HIWORD(wparam) == LBN_DBLCLK && run->request->mayOpen) Choose(dialog, *run, false);
            return TRUE;
        case IDC_PATFIND2_VIEW:
            Choose(dialog, *run, true);
            return TRUE;
        case IDOK:
            // Enter in the name field searches; elsewhere it takes the selected line.
            if (GetFocus() == GetDlgItem(dialog, IDC_PATFIND2_NAME)) {
                PostMessageA(dialog, WM_COMMAND, IDC_PATFIND2_SEARCH, 0);
                return TRUE;
            }
            if (run->request->mayOpen) Choose(dialog, *run, false);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

uint32_t LocateAppointment(HWND owner, HINSTANCE instance, LocateRequest* request) {
    LocateRun run;
    run.request = request;
    const char* name = request->mode == 1 ? "LB_DLG_FINDAPPT" : "DLG_PATFIND2";
    const INT_PTR ended = DialogBoxParamA(instance, name, owner, LocateProc, reinterpret_cast<LPARAM>(&run));
    if (ended == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return 0;
    }
    return ended == 1 ? run.chosen : 0;
}
