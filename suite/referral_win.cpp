// The referral source search window over REFERRAL_FindSources.
#include "suite/referral_win.h"

#include "data/db_access.h"
#include "resources/resource.h"
#include "suite/messages.h"
#include "suite/referral.h"

namespace {

constexpr int kMsgRecordsUnreadable = 3018;

void FillSources(HWND dialog) {
    char text[64] = "";
    GetDlgItemTextA(dialog, IDC_REFFIND_ENTRY, text, sizeof text);
    const ReferralSearch found = REFERRAL_FindSources(text);
    HWND list = GetDlgItem(dialog, IDC_REFFIND_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ReferralRecord& r : found.sources) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(REFERRAL_SourceName(r).c_str()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), r.id);
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (found.error && !DbAskWhenUnreachable(found.error))
        QVN_Message(kMsgGroupGeneral, kMsgRecordsUnreadable, found.error, kReferralFile);
}

void Choose(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_REFFIND_LIST);
    const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR) {
        MessageBeep(MB_OK);
        return;
    }
    EndDialog(dialog, static_cast<INT_PTR>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0)));
}

INT_PTR CALLBACK RefFindProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_REFFIND_ENTRY, EM_LIMITTEXT, sizeof(ReferralRecord::lastName) - 1, 0);
        FillSources(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_REFFIND_ENTRY:
            if (HIWORD(wparam) == EN_CHANGE) FillSources(dialog);
            return TRUE;
        case IDC_REFFIND_LIST:
            if (HIWORD(wparam) == LBN_DBLCLK) Choose(dialog);
            return TRUE;
        case IDOK:
            Choose(dialog);
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

uint32_t REFERRAL_RefFind(HWND owner, HINSTANCE resources) {
    const INT_PTR result = DialogBoxParamA(resources, "DLG_REF_FIND", owner, RefFindProc, 0);
    if (result == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return 0;
    }
    return static_cast<uint32_t>(result);
}
