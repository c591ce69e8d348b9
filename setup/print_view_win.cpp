// The print view dialog: the resource lists with their "All" boxes, the date with its picker, the
// hours, options and lines, the saved print view, and "&Print" / "&Batch". The checks and the
// job are setup/print_view's.
#include "setup/print_view_win.h"

#include <string>
#include <vector>

#include "controls/date_picker_win.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "setup/print_view.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/print_program_win.h"
#include "views/sheet_state.h"
#include "views/view_dialogs_win.h"

namespace {

constexpr int kCmdPickedDate = 1124;  // the date picker's answer

struct PrintViewRun {
    HINSTANCE instance = nullptr;
    bool made = false;
};

void FillIds(HWND list, const std::vector<ResourceId>& ids, const std::vector<ResourceId>& selected) {
    for (const ResourceId& id : ids) {
        const std::string text(id.data(), id.size());
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        for (const ResourceId& s : selected)
            if (s == id) SendMessageA(list, LB_SETSEL, TRUE, at);
    }
}

std::vector<ResourceId> SelectedIds(HWND dialog, int list_id) {
    HWND list = GetDlgItem(dialog, list_id);
    std::vector<ResourceId> ids;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        ids.push_back(ResourceIdOfText(ListBoxItemText(list, static_cast<int>(i))));
    }
    return ids;
}

// "All" is ticked exactly when every entry of its list is selected.
void FollowSelection(HWND dialog, int list_id, int all_id) {
    const LRESULT count = SendDlgItemMessageA(dialog, list_id, LB_GETCOUNT, 0, 0);
    const LRESULT selected = SendDlgItemMessageA(dialog, list_id, LB_GETSELCOUNT, 0, 0);
    Check(dialog, all_id, count > 0 && selected == count);
}

// Ticking "All" selects every entry; unticking clears the list.
void AllClicked(HWND dialog, int list_id, int all_id) {
    SendDlgItemMessageA(dialog, list_id, LB_SETSEL, Checked(dialog, all_id) ? TRUE : FALSE, -1);
}

void ShowOptions(HWND dialog, const PrintViewOptions& o) {
    Check(dialog, IDC_SELPRINT_AMOUNT, o.printAmount);
    Check(dialog, IDC_SELPRINT_COLOURS, o.printColours);
    Check(dialog, IDC_SELPRINT_DAY_NOTE, o.printDayNote);
    Check(dialog, IDC_SELPRINT_IDEAL_DAY, o.printIdealDay);
    Check(dialog, IDC_SELPRINT_TIME_AT_RIGHT, o.printTimeAtRight);
    ShowHour(dialog, IDC_SELPRINT_START, IDC_SELPRINT_START_AM, IDC_SELPRINT_START_PM, o.startTime);
    ShowHour(dialog, IDC_SELPRINT_END, IDC_SELPRINT_END_AM, IDC_SELPRINT_END_PM, o.endTime);
    for (int line = 0; line < kViewLines; ++line)
        SendDlgItemMessageA(dialog, IDC_SELPRINT_LINE1 + line, CB_SETCURSEL, o.lines[line], 0);
}

PrintViewInput ReadInput(HWND dialog) {
    PrintViewInput in;
    in.date = ControlText(dialog, IDC_SELPRINT_DATE);
    in.providers = SelectedIds(dialog, IDC_SELPRINT_PROVIDERS);
    in.operatories = SelectedIds(dialog, IDC_SELPRINT_OPERATORIES);
    in.startHour = ControlText(dialog, IDC_SELPRINT_START);
    in.endHour = ControlText(dialog, IDC_SELPRINT_END);
    in.startPm = Checked(dialog, IDC_SELPRINT_START_PM);
    in.endPm = Checked(dialog, IDC_SELPRINT_END_PM);
    PrintViewOptions& o = in.options;
    o.printAmount = Checked(dialog, IDC_SELPRINT_AMOUNT);
    o.printColours = Checked(dialog, IDC_SELPRINT_COLOURS);
    o.printDayNote = Checked(dialog, IDC_SELPRINT_DAY_NOTE);
    o.printIdealDay = Checked(dialog, IDC_SELPRINT_IDEAL_DAY);
    o.printTimeAtRight = Checked(dialog, IDC_SELPRINT_TIME_AT_RIGHT);
    for (int line = 0; line < kViewLines; ++line) {
        const LRESULT at = SendDlgItemMessageA(dialog, IDC_SELPRINT_LINE1 + line, CB_GETCURSEL, 0, 0);
        o.lines[line] = static_cast<uint8_t>(at == CB_ERR ? 0 : at);  // the list position is the code
    }
    return in;
}

int ControlOf(PrintViewFocus focus) {
    switch (focus) {
    case kPrintViewFocusDate: return IDC_SELPRINT_DATE;
    case kPrintViewFocusProviders: return IDC_SELPRINT_PROVIDERS;
    case kPrintViewFocusOperatories: return IDC_SELPRINT_OPERATORIES;
    case kPrintViewFocusStartHour: return IDC_SELPRINT_START;
    case kPrintViewFocusEndHour: return IDC_SELPRINT_END;
    default: return 0;
    }
}

void FocusOn(HWND dialog, PrintViewFocus focus) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, ControlOf(focus))), TRUE);
}

void Init(HWND dialog) {
    std::vector<ResourceId> providers, operatories;
    for (const ProviderInfo& p : practice_tables.providers)
        if (p.listExclusion == 0) providers.push_back({p.id[0], p.id[1], p.id[2], p.id[3]});
    for (const OperatoryInfo& o : practice_tables.operatories) operatories.push_back({o.id[0], o.id[1], o.id[2], o.id[3]});

    int32_t first_shown = 0;
    if (sheet_state.shownDate != 0) {
        const std::vector<int32_t> shown = ShownDatesOf(sheet_state.shownDate, sheet_state.mode);
        first_shown = shown.empty() ? sheet_state.shownDate : shown.front();
    }
    const PrintViewOpening opening = OpenPrintView(first_shown, QVN_SysDate());
    FillIds(GetDlgItem(dialog, IDC_SELPRINT_PROVIDERS), providers, opening.providers);
    FillIds(GetDlgItem(dialog, IDC_SELPRINT_OPERATORIES), operatories, opening.operatories);
    FollowSelection(dialog, IDC_SELPRINT_PROVIDERS, IDC_SELPRINT_ALL_PROVIDERS);
    FollowSelection(dialog, IDC_SELPRINT_OPERATORIES, IDC_SELPRINT_ALL_OPERATORIES);
    SetDlgItemTextA(dialog, IDC_SELPRINT_DATE, QVN_fmtDateString2000(opening.date).c_str());

    const std::vector<std::string> choices = PrintLineChoices();
    for (int line = 0; line < kViewLines; ++line)
        for (const std::string& c : choices)
            SendDlgItemMessageA(dialog, IDC_SELPRINT_LINE1 + line, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.c_str()));
    ShowOptions(dialog, opening.options);
}

void SaveView(HWND dialog) {
    PrintViewInput in = ReadInput(dialog);
    if (const PrintViewFocus focus = ReadPrintViewHours(in, &in.options)) {
        FocusOn(dialog, focus);
        return;
    }
    SavePrintView(in.options);
}

void Submit(HWND dialog, PrintViewRun& run, bool batch) {
    PrintViewRequest request;
    if (const PrintViewFocus focus = CheckPrintView(ReadInput(dialog), &request)) {
        FocusOn(dialog, focus);
        return;
    }
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    WindowsPrintProgram program;
    run.made = MakePrintJob(request, QVN_SysDate(), batch, program) != PrintJobOutcome::kNotWritten;
    SetCursor(old_cursor);
    EndDialog(dialog, run.made ? 1 : 0);
}

INT_PTR CALLBACK PrintViewProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<PrintViewRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog);
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_PRINT_NOW:
            Submit(dialog, *run, false);
            return TRUE;
        case IDOK:  // "&Batch"
            Submit(dialog, *run, true);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_SELPRINT_SAVE:
            SaveView(dialog);
            return TRUE;
        case IDC_SELPRINT_LOAD:
            ShowOptions(dialog, LoadPrintView());
            return TRUE;
        case IDC_SELPRINT_DATE_PICK:
            OpenDatePicker(dialog, run->instance, QVN_ParseDate(ControlText(dialog, IDC_SELPRINT_DATE)), false);
            return TRUE;
        case kCmdPickedDate:
            if (lparam > 0)
                SetDlgItemTextA(dialog, IDC_SELPRINT_DATE, QVN_fmtDateString2000(static_cast<int32_t>(lparam)).c_str());
            return TRUE;
        case IDC_SELPRINT_ALL_PROVIDERS:
            AllClicked(dialog, IDC_SELPRINT_PROVIDERS, IDC_SELPRINT_ALL_PROVIDERS);
            return TRUE;
        case IDC_SELPRINT_ALL_OPERATORIES:
            AllClicked(dialog, IDC_SELPRINT_OPERATORIES, IDC_SELPRINT_ALL_OPERATORIES);
            return TRUE;
        case IDC_SELPRINT_PROVIDERS:
            if (HIWORD(wparam) == LBN_SELCHANGE) FollowSelection(dialog, IDC_SELPRINT_PROVIDERS, IDC_SELPRINT_ALL_PROVIDERS);
            return TRUE;
        case IDC_SELPRINT_OPERATORIES:
            if (HIWORD(wparam) == LBN_SELCHANGE)
                FollowSelection(dialog, IDC_SELPRINT_OPERATORIES, IDC_SELPRINT_ALL_OPERATORIES);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int PrintViewDialog(HWND owner, HINSTANCE instance) {
    PrintViewRun run;
    run.instance = instance;
    DialogBoxParamA(instance, "DLG_SELPRINT", owner, PrintViewProc, reinterpret_cast<LPARAM>(&run));
    return run.made ? 1 : 0;
}
