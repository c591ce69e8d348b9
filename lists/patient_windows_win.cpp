// The patient's picture, alerts and referrals windows.
#include "lists/patient_windows_win.h"

#include <algorithm>
#include <string>
#include <vector>

#include "data/db_access.h"
#include "lists/patient_search.h"
#include "lists/patient_windows.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/gdi_win.h"
#include "suite/prompter.h"
#include "suite/records/notes.h"

namespace {

const char kDiscardAlerts[] = "Discard the changes to the patient's alerts?";

std::string NameOfPatient(uint32_t patient_id) {
    PatientRecord p{};
    if (!ReadPatient(patient_id, &p)) return "patient " + std::to_string(patient_id);
    const std::string name = PatientPackedName(p);
    return name.empty() ? "patient " + std::to_string(patient_id) : name;
}

// --- The picture ------------------------------------------------------------------------------

struct PictureRun {
    std::string title;
    GdiObject<HBITMAP> bitmap;
    SIZE size{};
};

// The picture drawn as large as the frame allows without distortion, centred on the window's face.
void DrawPicture(const DRAWITEMSTRUCT& item, const PictureRun& run) {
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    const int box_w = r.right - r.left, box_h = r.bottom - r.top;
    if (run.size.cx <= 0 || run.size.cy <= 0 || box_w <= 0 || box_h <= 0) return;
    // The larger scale that keeps both sides inside; small pictures are not blown up.
    const double scale = std::min({1.0, static_cast<double>(box_w) / run.size.cx, static_cast<double>(box_h) / run.size.cy});
    const int w = std::max(1, static_cast<int>(run.size.cx * scale)), h = std::max(1, static_cast<int>(run.size.cy * scale));
    HDC source = CreateCompatibleDC(item.hDC);
    if (!source) return;
    {
        Selected picture(source, run.bitmap.Get());
        SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, r.left + (box_w - w) / 2, r.top + (box_h - h) / 2, w, h, source, 0, 0, run.size.cx, run.size.cy,
                   SRCCOPY);
    }
    DeleteDC(source);
}

INT_PTR CALLBACK PictureProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        SetWindowTextA(dialog, reinterpret_cast<PictureRun*>(lparam)->title.c_str());
        return TRUE;
    case WM_DRAWITEM: {
        const auto* run = reinterpret_cast<const PictureRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (!run || wparam != IDC_PICTURE_IMAGE) return FALSE;
        DrawPicture(*item, *run);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- The alert set-up -------------------------------------------------------------------------

struct AlertRun {
    AlertSetup opened;
    bool written = false;
};

// OK: stored, or nothing to store, closes; a locked record the user gave up on or a refused
// write keeps the dialog open with the text as typed, so that nothing typed is lost.
void OnAlertsOk(HWND dialog, AlertRun& run) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const AlertSave saved = SavePatientAlerts(run.opened, ControlText(dialog, IDC_ALERTS_TEXT), QVN_SysDate());
    SetCursor(old_cursor);
    switch (saved) {
    case AlertSave::kWritten:
        run.written = true;
        EndDialog(dialog, IDOK);
        break;
    case AlertSave::kUnchanged:
        EndDialog(dialog, IDOK);
        break;
    case AlertSave::kChangedElsewhere:  // the message said the edit is cancelled
        EndDialog(dialog, IDCANCEL);
        break;
    case AlertSave::kCancelled:
    case AlertSave::kFailed:
        SetFocus(GetDlgItem(dialog, IDC_ALERTS_TEXT));
        break;
    }
}

void OnAlertsCancel(HWND dialog, const AlertRun& run) {
    if (NormalisedAlertText(ControlText(dialog, IDC_ALERTS_TEXT)) != run.opened.text && !AskYesNo(kDiscardAlerts)) {
        SetFocus(GetDlgItem(dialog, IDC_ALERTS_TEXT));
        return;
    }
    EndDialog(dialog, IDCANCEL);
}

INT_PTR CALLBACK AlertsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<AlertRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<AlertRun*>(lparam);
        SetWindowTextA(dialog, ("Patient Alerts - " + run->opened.patientName).c_str());
        SetDlgItemTextA(dialog, IDC_ALERTS_PATIENT, ("Patient: " + run->opened.patientName).c_str());
        SendDlgItemMessageA(dialog, IDC_ALERTS_TEXT, EM_LIMITTEXT, kNoteTextLimit - 1, 0);
        SetDlgItemTextA(dialog, IDC_ALERTS_TEXT, run->opened.text.c_str());
        HWND edit = GetDlgItem(dialog, IDC_ALERTS_TEXT);
        SetFocus(edit);
        const WPARAM end = static_cast<WPARAM>(GetWindowTextLengthA(edit));
        SendMessageA(edit, EM_SETSEL, end, static_cast<LPARAM>(end));  // the caret after the text
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wparam) == IDOK) {
            OnAlertsOk(dialog, *run);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            OnAlertsCancel(dialog, *run);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- The referrals ----------------------------------------------------------------------------

struct ReferralsRun {
    std::string title;
    std::string text;
};

// The edit control shows CR LF line ends.
std::string WindowsLines(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

INT_PTR CALLBACK ReferralsProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        const auto* run = reinterpret_cast<const ReferralsRun*>(lparam);
        SetWindowTextA(dialog, run->title.c_str());
        SetDlgItemTextA(dialog, IDC_REFERRALS_TEXT, WindowsLines(run->text).c_str());
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void ShowPatientPicture(HWND owner, HINSTANCE instance, uint32_t patient_id) {
    const std::string name = NameOfPatient(patient_id);
    const std::string folder = PicturesFolder();
    const std::string path = PatientPicturePath(folder, patient_id);
    if (!PatientPictureOnFile(folder, patient_id)) {
        ShowRefusal(NoPictureMessage(name, path));
        return;
    }
    PictureRun run;
    run.title = PictureWindowTitle(name);
    run.bitmap.Reset(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!run.bitmap.Get() || !GetObjectA(run.bitmap.Get(), sizeof info, &info)) {
        ShowRefusal(UnreadablePictureMessage(path));
        return;
    }
    run.size = SIZE{info.bmWidth, info.bmHeight};
    DialogBoxParamA(instance, "DLG_PATIENTPICTURE", owner, PictureProc, reinterpret_cast<LPARAM>(&run));
}

bool RunPatientAlertSetup(HWND owner, HINSTANCE instance, uint32_t patient_id) {
    AlertRun run;
    run.opened = LoadAlertSetup(patient_id);
    if (run.opened.error != 0) {
        DbReportError(kNoteFile, run.opened.error, kNoteFile);
        return false;
    }
    if (!run.opened.patientFound) {
        ShowRefusal("The patient is not on file.");
        return false;
    }
    DialogBoxParamA(instance, "DLG_PATIENTALERTS", owner, AlertsProc, reinterpret_cast<LPARAM>(&run));
    return run.written;
}

void ShowPatientReferrals(HWND owner, HINSTANCE instance, uint32_t patient_id) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const PatientReferrals referrals = ReadPatientReferrals(patient_id);
    SetCursor(old_cursor);
    ReferralsRun run{"Patient Referrals - " + (referrals.patientFound ? referrals.patientName : NameOfPatient(patient_id)),
                     PatientReferralsText(referrals)};
    DialogBoxParamA(instance, "DLG_PATIENTREFERRALS", owner, ReferralsProc, reinterpret_cast<LPARAM>(&run));
}
