// Window side of the day note.
#include "appointments/day_note_dialog_win.h"

#include <algorithm>
#include <string>
#include <vector>

#include "appointments/note_store.h"
#include "data/db_access.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/qdb/qdb.h"
#include "suite/messages.h"
#include "suite/users.h"

namespace {

constexpr uint8_t kRefusedNoteKind = 6;
constexpr INT_PTR kReadFailed = 2;  // the note could not be read: the dialog closed at once

constexpr int kRightAppointmentNote = 66;

// One note of the notes file in the editor: its kind, its owner, the title shown.
struct DayNoteRun {
    uint32_t owner = 0;
    uint8_t kind = kNoteDay;
    std::string title;
    bool existed = false;
};

bool Init(HWND dialog, DayNoteRun& run) {
    const NoteRead note = ReadNote(run.kind, run.owner);
    if (note.result != kQdbOk) {
        if (!DbAskWhenUnreachable(note.result)) QVN_Message(kMsgGroupGeneral, 3018, note.result, kNoteFile);
        return false;
    }
    run.existed = note.exists;
    SendDlgItemMessageA(dialog, IDC_APPTNOTE_TEXT, EM_LIMITTEXT, kDayNoteTextMax, 0);
    SetDlgItemTextA(dialog, IDC_APPTNOTE_TEXT, note.text.c_str());
    SetWindowTextA(dialog, run.title.c_str());
    SetFocus(GetDlgItem(dialog, IDC_APPTNOTE_TEXT));
    return true;
}

INT_PTR CALLBACK DayNoteProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<DayNoteRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        if (!Init(dialog, *reinterpret_cast<DayNoteRun*>(lparam))) EndDialog(dialog, kReadFailed);
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_APPTNOTE_CLEAR:
            SetDlgItemTextA(dialog, IDC_APPTNOTE_TEXT, "");
            SetFocus(GetDlgItem(dialog, IDC_APPTNOTE_TEXT));
            return TRUE;
        case IDOK: {
            const std::string text = ControlText(dialog, IDC_APPTNOTE_TEXT);
            // A note that could not be written keeps the dialog open with the text in it.
            if (WriteNote(run->kind, run->owner, text, QVN_SysDate()) != kQdbOk) return TRUE;
            EndDialog(dialog, text.empty() ? 0 : 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, run->existed ? 1 : 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// Runs the editor; 1 or 0 as the editor ended, -1 when it could not be shown (reported).
int RunNoteEditor(HWND owner, HINSTANCE instance, DayNoteRun& run) {
    const INT_PTR ended = DialogBoxParamA(instance, "DLG_APPTNOTE", owner, DayNoteProc, reinterpret_cast<LPARAM>(&run));
    if (ended == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return -1;
    }
    if (ended == kReadFailed) return -1;
    return ended == 1 ? 1 : 0;
}

}  // namespace

int EditDayNote(HWND owner, HINSTANCE instance, int32_t date, uint8_t note_kind, bool* shown) {
    if (shown) *shown = false;
    if (note_kind == kRefusedNoteKind) return 0;
    const int right = QVN_CheckRights(kRightDayNote, true);
    QVN_SetOverrideToLoggedIn();
    if (right <= 0) return 0;
    DayNoteRun run;
    run.owner = static_cast<uint32_t>(date);
    run.kind = note_kind;
    run.title = "Appointment Book Day Note - " + QVN_fmtDateString2000(date);
    const int result = RunNoteEditor(owner, instance, run);
    if (result < 0) return 0;
    if (shown) *shown = true;
    return result;
}

int EditAppointmentNote(HWND owner, HINSTANCE instance, uint32_t appointment_id) {
    const int right = QVN_CheckRights(kRightAppointmentNote, true);
    QVN_SetOverrideToLoggedIn();
    if (right <= 0) return 0;
    DayNoteRun run;
    run.owner = appointment_id;
    run.kind = kNoteAppointment;
    run.title = "Appointment Note";
    return std::max(RunNoteEditor(owner, instance, run), 0);
}
