// Window side of the purge.
#include "appointments/purge_dialog_win.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "appointments/purge_rules.h"
#include "data/appointment_actions.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"

namespace {

constexpr int kMsgPurgeConfirm = 6075;
constexpr UINT kProgressShowMs = 100;  // how often the window shows the purge's count
constexpr UINT_PTR kProgressShowTimer = 1;

// --- The progress window ---------------------------------------------------------------------
//
// Which thread owns what during a purge. The UI thread runs the purge: every engine call, every
// record lock and its question, every message box. The engine's handle tables and the access
// layer's state are not guarded, so no other thread may touch them. The progress window lives on
// a thread of its own with its own message loop, so that it paints, can be moved and answers
// Cancel while the UI thread waits for a commit on the disk. The two threads share only
// ProgressShared: the UI thread writes the count, reads the cancel flag before each record and
// sets ended when the run is over; the window thread shows the count on its timer, sets the
// cancel flag and closes the window once it sees ended. The window has no owner: an owner on the
// UI thread would join the two threads' input, and a click on Cancel would then wait for the busy
// UI thread. It is placed over the owner instead, which is disabled for the run. While the UI
// thread waits for the window thread (its start and its end) it still takes the messages that
// thread sends it, such as the activation of its windows, so neither waits for the other.

struct ProgressShared {
    PurgeCountBoard count;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> ended{false};
};

void ShowCount(HWND dialog, std::pair<int, int> count) {
    char text[40], shown[40] = {};
    std::snprintf(text, sizeof text, kPurgeCountFormat, count.first, count.second);
    GetDlgItemTextA(dialog, IDC_PURGE_PROGRESS_COUNT, shown, sizeof shown);
    if (std::strcmp(text, shown) != 0) SetDlgItemTextA(dialog, IDC_PURGE_PROGRESS_COUNT, text);
}

// Runs on the progress window's thread.
INT_PTR CALLBACK ProgressProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* shared = reinterpret_cast<ProgressShared*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        SetTimer(dialog, kProgressShowTimer, kProgressShowMs, nullptr);
        return TRUE;
    case WM_TIMER:
        if (!shared) return TRUE;
        if (shared->ended) DestroyWindow(dialog);
        else ShowCount(dialog, shared->count.Get());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL && shared) {
            shared->cancelled = true;
            EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        }
        return TRUE;
    case WM_CLOSE:
        if (shared) shared->cancelled = true;
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, kProgressShowTimer);
        PostQuitMessage(0);
        return FALSE;
    default:
        return FALSE;
    }
}

// Centred over the owner, as an owned window would be.
void PlaceOver(HWND window, HWND owner) {
    RECT w, o;
    if (!owner || !GetWindowRect(window, &w) || !GetWindowRect(owner, &o)) return;
    const int width = w.right - w.left, height = w.bottom - w.top;
    SetWindowPos(window, HWND_TOP, o.left + (o.right - o.left - width) / 2, o.top + (o.bottom - o.top - height) / 2, 0, 0,
                 SWP_NOSIZE);
}

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
    ~OwnedHandle() {
        if (handle_) CloseHandle(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Waits for handle on the UI thread, taking the messages other threads send it meanwhile.
void WaitTakingSentMessages(HANDLE handle) {
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

// The progress window on its own thread, from construction (the window is there, or could not
// be made) to destruction (the window and its thread are gone).
class ProgressWindowThread {
public:
    ProgressWindowThread(HWND owner, HINSTANCE instance)
        : owner_(owner), instance_(instance), created_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          thread_(created_.Get() ? CreateThread(nullptr, 0, &ProgressWindowThread::Run, this, 0, nullptr) : nullptr) {
        if (thread_.Get()) WaitTakingSentMessages(created_.Get());
    }
    ~ProgressWindowThread() {
        shared_.ended = true;
        if (thread_.Get()) WaitTakingSentMessages(thread_.Get());
    }
    ProgressWindowThread(const ProgressWindowThread&) = delete;
    ProgressWindowThread& operator=(const ProgressWindowThread&) = delete;

    ProgressShared& Shared() { return shared_; }

private:
    static DWORD WINAPI Run(void* self_pointer) {
        auto* self = static_cast<ProgressWindowThread*>(self_pointer);
        HWND window = CreateDialogParamA(self->instance_, "DLG_PURGE_PROGRESS", nullptr, ProgressProc,
                                         reinterpret_cast<LPARAM>(&self->shared_));
        if (window) {
            PlaceOver(window, self->owner_);
            ShowWindow(window, SW_SHOW);
        }
        SetEvent(self->created_.Get());
        if (!window) return 0;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (IsWindow(window) && IsDialogMessageA(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return 0;
    }
    HWND owner_;
    HINSTANCE instance_;
    ProgressShared shared_;
    OwnedHandle created_;
    OwnedHandle thread_;
};

PurgeProgressWindow::PurgeProgressWindow(HWND owner, HINSTANCE instance)
    : window_(std::make_unique<ProgressWindowThread>(owner, instance)) {}

PurgeProgressWindow::~PurgeProgressWindow() = default;

bool PurgeProgressWindow::Cancelled() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // kept for the message loop
            quit_ = true;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return quit_ || window_->Shared().cancelled;
}

void PurgeProgressWindow::Counted(int purged, int read) { window_->Shared().count.Set(purged, read); }

namespace {

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
        PurgeProgressWindow progress(owner, instance);
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
