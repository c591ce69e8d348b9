// Window side of the Family Appointment List: the three lists filled from the core's lines, the
// two actions handed to the core.
#include "appointments/family_list_dialog_win.h"

#include <string>
#include <vector>

#include "appointments/family_list.h"
#include "appointments/treatment_plan.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/users.h"

namespace {

const int kFamilyTabs[] = {30, 117, 137, 150, 160};
const int kAppointmentTabs[] = {65, 97, 120, 165, 245};
const int kPlanTabs[] = {6, 17, 60, 87, 280, 281, 282, 294};

struct FamilyRun {
    uint32_t patientId = 0;
    int mode = kFamilyListBrowse;
    std::vector<ListLine> lines;  // of the appointment list, in its order
    FamilyListResult result;
};

template <size_t N>
void SetTabs(HWND list, const int (&tabs)[N]) {
    SendMessageA(list, LB_SETTABSTOPS, N, reinterpret_cast<LPARAM>(tabs));
}

void Fill(HWND list, const std::vector<std::string>& texts) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

uint32_t SelectedMember(HWND dialog) {
    HWND family = GetDlgItem(dialog, IDC_OTHERAPPTS_FAMILY);
    const LRESULT at = SendMessageA(family, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR) return 0;
    return static_cast<uint32_t>(SendMessageA(family, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

const ListLine* SelectedLine(HWND dialog, const FamilyRun& run) {
    const LRESULT at = SendDlgItemMessageA(dialog, IDC_OTHERAPPTS_APPTS, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR || static_cast<size_t>(at) >= run.lines.size()) return nullptr;
    return &run.lines[static_cast<size_t>(at)];
}

void ShowMember(HWND dialog, FamilyRun& run, uint32_t member) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    run.lines = MemberAppointmentLines(member, QVN_SysDate());
    std::vector<std::string> texts;
    for (const ListLine& l : run.lines) texts.push_back(l.text);
    Fill(GetDlgItem(dialog, IDC_OTHERAPPTS_APPTS), texts);
    Fill(GetDlgItem(dialog, IDC_OTHERAPPTS_TXPLAN), TreatmentPlanLines(member));
    SetCursor(old_cursor);
}

void Init(HWND dialog, FamilyRun& run) {
    HWND family = GetDlgItem(dialog, IDC_OTHERAPPTS_FAMILY);
    SetTabs(family, kFamilyTabs);
    SetTabs(GetDlgItem(dialog, IDC_OTHERAPPTS_APPTS), kAppointmentTabs);
    SetTabs(GetDlgItem(dialog, IDC_OTHERAPPTS_TXPLAN), kPlanTabs);
    if (run.mode == kFamilyListLookOnly) {
        ShowWindow(GetDlgItem(dialog, IDC_OTHERAPPTS_VIEW), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_OTHERAPPTS_NEW), SW_HIDE);
    }
    const FamilyMembers members = FamilyMemberLines(run.patientId, QVN_SysDate());
    int selected = -1;
    for (const FamilyMemberLine& m : members.lines) {
        const LRESULT at = SendMessageA(family, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m.text.c_str()));
        if (at < 0) continue;
        SendMessageA(family, LB_SETITEMDATA, static_cast<WPARAM>(at), m.patientId);
        if (m.patientId == run.patientId) selected = static_cast<int>(at);
    }
    if (members.error) QVN_Message(kMsgGroupSuite, 3020, members.error);
    if (selected >= 0) {
        SendMessageA(family, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        ShowMember(dialog, run, run.patientId);
    }
    SetFocus(family);
}

INT_PTR CALLBACK FamilyProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<FamilyRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog, *reinterpret_cast<FamilyRun*>(lparam));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_OTHERAPPTS_FAMILY:
            if (HIWORD(wparam) == LBN_SELCHANGE)
                if (const uint32_t member = SelectedMember(dialog)) ShowMember(dialog, *run, member);
            return TRUE;
        case IDC_OTHERAPPTS_VIEW:
            if (run->mode != kFamilyListLookOnly &&
                ViewFamilyAppointment(SelectedLine(dialog, *run), SelectedMember(dialog), run->mode, &run->result))
                EndDialog(dialog, 1);
            return TRUE;
        case IDC_OTHERAPPTS_NEW:
            if (run->mode != kFamilyListLookOnly &&
                NewFamilyAppointment(SelectedMember(dialog), SelectedLine(dialog, *run), run->mode, &run->result))
                EndDialog(dialog, 1);
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

uint32_t ShowFamilyAppointments(HWND owner, HINSTANCE instance, uint32_t* patient_id, uint16_t* care_type, int mode) {
    const uint32_t patient = *patient_id;
    *patient_id = 0;
    if (care_type) *care_type = 0;
    const int right = QVN_CheckRights(kRightFamilyList, true);
    QVN_SetOverrideToLoggedIn();
    if (right <= 0) return 0;
    FamilyRun run;
    run.patientId = patient;
    run.mode = mode;
    INT_PTR ended;
    {
        FamilyListSession session;
        if (!session.Ok()) {
            QVN_Message(kMsgGroupSuite, 3040);
            return 0;
        }
        ended = DialogBoxParamA(instance, "DLG_OTHERAPPTS", owner, FamilyProc, reinterpret_cast<LPARAM>(&run));
    }
    if (ended == -1) {
        // A list that went with its owner (the program is closing) is no failure to report.
        if (!owner || IsWindow(owner)) QVN_Message(kMsgGroupSuite, 3040);
        return 0;
    }
    if (ended != 1) return 0;
    *patient_id = run.result.patientId;
    if (run.result.appointmentId == 0 && run.result.patientId != 0 && care_type) *care_type = run.result.careType;
    return run.result.appointmentId;
}
