// Window side of the purge.
#include "appointments/purge_dialog_win.h"

#include <cstdio>
#include <string>

#include "appointments/purge_rules.h"
#include "data/appointment_actions.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"

namespace {

constexpr int kMsgPurgeConfirm = 6075;
constexpr DWORD kProgressStepMs = 100;  // the count moves this often at the least while it changes

// --- The progress window ---------------------------------------------------------------------

struct ProgressRun {
    bool cancelled = false;
};

INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<ProgressRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL && run) {
            run->cancelled = true;
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        }
        return TRUE;
    case WM_CLOSE:
        if (run) run->cancelled = true;
        return TRUE;
    default:
        return FALSE;
    }
}

// The modeless progress window; its messages are handled between records.
class WindowProgress final : public PurgeProgress {
public:
    WindowProgress(HWND owner, HINSTANCE instance)
        : window_(CreateDialogParamA(instance, "DLG_PURGE_PROGRESS", owner, ProgressProc, reinterpret_cast<LPARAM>(&run_))) {
        if (window_) ShowWindow(window_, SW_SHOW);
        Pump();
    }
    ~WindowProgress() override {
        if (window_) DestroyWindow(window_);
    }
    WindowProgress(const WindowProgress&) = delete;
    WindowProgress& operator=(const WindowProgress&) = delete;

    bool Cancelled() override {
        Pump();
        return run_.cancelled;
    }
    void Counted(int purged, int read) override {
        const DWORD now = GetTickCount();
        if (now - shown_at_ < kProgressStepMs) return;
        shown_at_ = now;
        char text[40];
        std::snprintf(text, sizeof text, kPurgeCountFormat, purged, read);
        if (window_) {
            SetDlgItemTextA(window_, IDC_PURGE_PROGRESS_COUNT, text);
            UpdateWindow(window_);
        }
    }

private:
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                run_.cancelled = true;
                return;
            }
            if (window_ && IsDialogMessageA(window_, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    ProgressRun run_;
    HWND window_;
    DWORD shown_at_ = 0;
};

// --- The purge message, which can be switched off ------------------------------------------

INT_PTR CALLBACK PurgeMessageProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_PURGE_MSG_TEXT, kPurgeMessageText);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_PURGE_MSG_DONT_SHOW:
            // Written at once, whichever way the dialog ends.
            QVN_WriteProfileInt("LEDGER", "PURGEAPPT", IsDlgButtonChecked(dialog, IDC_PURGE_MSG_DONT_SHOW) == BST_CHECKED);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- The cutoff dialog ---------------------------------------------------------------------

bool WarningAccepted(HWND dialog, int32_t cutoff) {
    const int32_t today = QVN_SysDate();
    const bool message_off = QVN_ReadProfileInt("LEDGER", "PURGEAPPT", 0) != 0;
    PromptRequest r;
    r.title = kPurgeWarningTitle;
    r.buttons = kButtonsOkCancel;
    r.icon = kIconExclamation;
    switch (PurgeWarningFor(cutoff, today, message_off)) {
    case PurgeWarning::kNone:
        return true;
    case PurgeWarning::kLessThanAYear:
        r.text = kPurgeLessThanAYear;
        return CurrentPrompter().Show(r) == kAnswerOk;
    case PurgeWarning::kFuture:
        r.text = kPurgeInTheFuture;
        return CurrentPrompter().Show(r) == kAnswerOk;
    case PurgeWarning::kPurgeMessage:
        return DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                               "DLG_PURG_APPT_MSG", dialog, PurgeMessageProc, 0) == IDOK;
    }
    return false;
}

INT_PTR CALLBACK CutoffProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_PURGE_CUTOFF, QVN_fmtDateString2000(DefaultPurgeCutoff(QVN_SysDate())).c_str());
        SendDlgItemMessageA(dialog, IDC_PURGE_CUTOFF, EM_SETSEL, 0, -1);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK: {
            char text[40] = {};
            GetDlgItemTextA(dialog, IDC_PURGE_CUTOFF, text, sizeof text);
            const int32_t cutoff = QVN_ParseDate(text);
            HWND field = GetDlgItem(dialog, IDC_PURGE_CUTOFF);
            if (cutoff == 0) {
                QVN_Message(kMsgGroupGeneral, 9091);
                SetFocus(field);
                SendMessageA(field, EM_SETSEL, 0, -1);
                return TRUE;
            }
            if (!WarningAccepted(dialog, cutoff) || QVN_Message(kMsgGroupSuite, kMsgPurgeConfirm) != kAnswerOk) {
                SetFocus(field);
                return TRUE;
            }
            PurgeAppointments(dialog, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), cutoff);
            EndDialog(dialog, 1);
            return TRUE;
        }
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

int PurgeAppointments(HWND owner, HINSTANCE instance, int32_t cutoff) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    EnableWindow(owner, FALSE);
    {
        WindowProgress progress(owner, instance);
        PurgeStoredAppointments(cutoff, progress);
    }
    EnableWindow(owner, TRUE);
    SetCursor(old_cursor);
    return 1;
}

int RunPurgeDialog(HWND owner, HINSTANCE instance) {
    const INT_PTR ended = DialogBoxParamA(instance, "DLG_RS_PURGE", owner, CutoffProc, 0);
    if (ended == -1) QVN_Message(kMsgGroupSuite, 3040);
    return ended == 1 ? 1 : 0;
}
