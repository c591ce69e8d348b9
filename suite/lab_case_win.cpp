// The Attach Lab Cases window over the entry rules of lab_case.
#include "suite/lab_case_win.h"

#include <string>

#include "resources/resource.h"
#include "suite/dialog_fields_win.h"
#include "suite/messages.h"

namespace {

struct AttachRun {
    std::vector<LabCaseLink> links;  // the working list: given back only on OK
};

void FillList(HWND dialog, const AttachRun& run, int select) {
    HWND list = GetDlgItem(dialog, IDC_ATTACHCASES_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const LabCaseLink& link : run.links)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(CaseLinkLine(link).c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    EnableWindow(GetDlgItem(dialog, IDC_ATTACHCASES_REMOVE), select >= 0);
}

void ShowEntry(HWND dialog, const CaseEntry& e) {
    SetDlgItemTextA(dialog, IDC_ATTACHCASES_NUMBER, e.caseNumber.c_str());
    SetDlgItemTextA(dialog, IDC_ATTACHCASES_LAB, e.lab.c_str());
    SetDlgItemTextA(dialog, IDC_ATTACHCASES_DUE, e.due.c_str());
    SendDlgItemMessageA(dialog, IDC_ATTACHCASES_STATE, CB_SETCURSEL, static_cast<WPARAM>(e.stateIndex), 0);
}

int Selected(HWND dialog) {
    const LRESULT at = SendDlgItemMessageA(dialog, IDC_ATTACHCASES_LIST, LB_GETCURSEL, 0, 0);
    return at == LB_ERR ? -1 : static_cast<int>(at);
}

// The entry line into the list; false after a refusal, with the focus on the field to correct.
bool Attach(HWND dialog, AttachRun& run) {
    CaseEntry e;
    e.caseNumber = ControlText(dialog, IDC_ATTACHCASES_NUMBER);
    e.lab = ControlText(dialog, IDC_ATTACHCASES_LAB);
    e.due = ControlText(dialog, IDC_ATTACHCASES_DUE);
    const LRESULT state = SendDlgItemMessageA(dialog, IDC_ATTACHCASES_STATE, CB_GETCURSEL, 0, 0);
    e.stateIndex = state == CB_ERR ? 0 : static_cast<int>(state);
    const CaseEntryField refused = AttachCaseEntry(e, &run.links);
    if (refused != CaseEntryField::kNone) {
        HWND field = GetDlgItem(dialog, refused == CaseEntryField::kDue ? IDC_ATTACHCASES_DUE : IDC_ATTACHCASES_NUMBER);
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
        return false;
    }
    FillList(dialog, run, -1);
    ShowEntry(dialog, CaseEntry{});
    SetFocus(GetDlgItem(dialog, IDC_ATTACHCASES_NUMBER));
    return true;
}

void Remove(HWND dialog, AttachRun& run) {
    const int at = Selected(dialog);
    if (at < 0 || at >= static_cast<int>(run.links.size())) return;
    run.links.erase(run.links.begin() + at);
    FillList(dialog, run, -1);
    ShowEntry(dialog, CaseEntry{});
    SetFocus(GetDlgItem(dialog, IDC_ATTACHCASES_LIST));
}

void Init(HWND dialog, const AttachRun& run) {
    SendDlgItemMessageA(dialog, IDC_ATTACHCASES_NUMBER, EM_LIMITTEXT, 10, 0);
    SendDlgItemMessageA(dialog, IDC_ATTACHCASES_LAB, EM_LIMITTEXT, kCaseLabMax, 0);
    SendDlgItemMessageA(dialog, IDC_ATTACHCASES_DUE, EM_LIMITTEXT, 10, 0);
    const int tabs[] = {40, 150, 200};
    SendDlgItemMessageA(dialog, IDC_ATTACHCASES_LIST, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(tabs));
    for (int state = kLabNeeded; state <= kLabInHouse; ++state)
        SendDlgItemMessageA(dialog, IDC_ATTACHCASES_STATE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(LabCaseStatusText(static_cast<LabCaseState>(state)).c_str()));
    FillList(dialog, run, -1);
    ShowEntry(dialog, CaseEntry{});
}

INT_PTR CALLBACK AttachCasesProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<AttachRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog, *reinterpret_cast<AttachRun*>(lparam));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_ATTACHCASES_LIST:
            if (HIWORD(wparam) == LBN_SELCHANGE) {
                const int at = Selected(dialog);
                if (at >= 0 && at < static_cast<int>(run->links.size())) ShowEntry(dialog, CaseEntryOf(run->links[static_cast<size_t>(at)]));
                EnableWindow(GetDlgItem(dialog, IDC_ATTACHCASES_REMOVE), at >= 0);
            }
            return TRUE;
        case IDC_ATTACHCASES_ATTACH:
            Attach(dialog, *run);
            return TRUE;
        case IDC_ATTACHCASES_REMOVE:
            Remove(dialog, *run);
            return TRUE;
        case IDOK:
            if (ControlText(dialog, IDC_ATTACHCASES_NUMBER).empty() || Attach(dialog, *run)) EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool AttachCases(HWND owner, HINSTANCE resources, std::vector<LabCaseLink>* links) {
    AttachRun run{*links};
    const INT_PTR result = DialogBoxParamA(resources, "DLG_ATTACHCASES", owner, AttachCasesProc, reinterpret_cast<LPARAM>(&run));
    if (result == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return false;
    }
    if (result != IDOK) return false;
    *links = std::move(run.links);
    return true;
}
