// Window side of the Flip Tabs Setup dialog: one set of row controls shows the rows of the page
// chosen in the tab control; leaving a page keeps its rows, OK checks all three pages.
#include "views/flip_tabs_setup_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "controls/date_picker_model.h"
#include "controls/date_picker_win.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/window_services_win.h"
#include "views/flip_tabs_setup.h"

namespace {

const char* const kPageNames[kFlipModes] = {"&Day View", "&Week View", "&Month View"};
const char kPageKeys[kFlipModes] = {'D', 'W', 'M'};  // Alt+D, Alt+W, Alt+M

struct SetupRun {
    HINSTANCE resources = nullptr;
    HWND dialog = nullptr;
    FlipTabRows rows;
    int page = kFlipDay;
    int pickRow = -1;                       // the row whose ">>" opened the date picker
    std::string lastCount[kFlipUserTabs];   // what a count edit held before a refused change
    bool filling = false;                   // the controls are being filled, not edited
};

// The running dialog, for the message filter that turns Alt+D/W/M into page changes.
SetupRun* running = nullptr;
HHOOK page_key_hook = nullptr;

int Id(int row, int offset) { return IDC_USERTAB_ROW1 + 20 * row + offset; }
HWND Control(HWND dialog, int row, int offset) { return GetDlgItem(dialog, Id(row, offset)); }

void AddStrings(HWND combo, std::initializer_list<const char*> texts) {
    for (const char* t : texts) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
}

int Selection(HWND combo) {
    const LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return at == CB_ERR ? 0 : static_cast<int>(at);
}

// Only the controls of the row's type are shown.
void ShowTypeControls(HWND dialog, int row, int type) {
    const int absolute = type == kFlipRowAbsolute ? SW_SHOW : SW_HIDE;
    const int relative = type == kFlipRowRelative ? SW_SHOW : SW_HIDE;
    for (int offset : {USERTAB_DATE, USERTAB_PICK}) ShowWindow(Control(dialog, row, offset), absolute);
    for (int offset : {USERTAB_COUNT, USERTAB_SPIN, USERTAB_UNIT, USERTAB_DIRECTION, USERTAB_BASE})
        ShowWindow(Control(dialog, row, offset), relative);
}

void ShowRows(SetupRun& run) {
    HWND dialog = run.dialog;
    run.filling = true;
    for (int r = 0; r < kFlipUserTabs; ++r) {
        const FlipTabRow& row = run.rows.rows[run.page][r];
        SetWindowTextA(Control(dialog, r, USERTAB_DESCRIPTION), row.description.c_str());
        SendMessageA(Control(dialog, r, USERTAB_COLOUR), kColorButtonSetColour, 0, static_cast<LPARAM>(row.textColor));
        SendMessageA(Control(dialog, r, USERTAB_TYPE), CB_SETCURSEL, static_cast<WPARAM>(row.type), 0);
        SetWindowTextA(Control(dialog, r, USERTAB_DATE), row.date.c_str());
        run.lastCount[r] = FlipCountTextAllowed(row.count) ? row.count : "";
        SetWindowTextA(Control(dialog, r, USERTAB_COUNT), run.lastCount[r].c_str());
        SetWindowTextA(Control(dialog, r, USERTAB_UNIT), FlipTabUnitLabel(static_cast<FlipTabMode>(run.page)));
        SendMessageA(Control(dialog, r, USERTAB_DIRECTION), CB_SETCURSEL, row.backward ? 1 : 0, 0);
        SendMessageA(Control(dialog, r, USERTAB_BASE), CB_SETCURSEL, row.fromDisplayed ? 1 : 0, 0);
        ShowTypeControls(dialog, r, row.type);
    }
    run.filling = false;
}

void KeepRows(SetupRun& run) {
    HWND dialog = run.dialog;
    for (int r = 0; r < kFlipUserTabs; ++r) {
        FlipTabRow& row = run.rows.rows[run.page][r];
        row.description = WindowTextOf(Control(dialog, r, USERTAB_DESCRIPTION));
        row.textColor = static_cast<uint32_t>(SendMessageA(Control(dialog, r, USERTAB_COLOUR), kColorButtonGetColour, 0, 0));
        row.type = Selection(Control(dialog, r, USERTAB_TYPE));
        row.date = WindowTextOf(Control(dialog, r, USERTAB_DATE));
        row.count = WindowTextOf(Control(dialog, r, USERTAB_COUNT));
        row.backward = Selection(Control(dialog, r, USERTAB_DIRECTION)) == 1;
        row.fromDisplayed = Selection(Control(dialog, r, USERTAB_BASE)) == 1;
    }
}

void ShowPage(SetupRun& run, int page) {
    run.page = page;
    TabCtrl_SetCurSel(GetDlgItem(run.dialog, IDC_USERTAB_PAGES), page);
    ShowRows(run);
}

void SwitchPage(SetupRun& run, int page) {
    if (page == run.page || page < 0 || page >= kFlipModes) return;
    KeepRows(run);
    ShowPage(run, page);
}

void Initialize(HWND dialog, SetupRun& run) {
    run.dialog = dialog;
    HWND pages = GetDlgItem(dialog, IDC_USERTAB_PAGES);
    for (int p = 0; p < kFlipModes; ++p) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPageNames[p]);
        TabCtrl_InsertItem(pages, p, &item);
    }
    for (int r = 0; r < kFlipUserTabs; ++r) {
        SendMessageA(Control(dialog, r, USERTAB_DESCRIPTION), EM_LIMITTEXT, kFlipDescriptionMax, 0);
        SendMessageA(Control(dialog, r, USERTAB_DATE), EM_LIMITTEXT, kFlipDateTextMax, 0);
        SendMessageA(Control(dialog, r, USERTAB_COUNT), EM_LIMITTEXT, kFlipCountTextMax, 0);
        SendMessageA(Control(dialog, r, USERTAB_SPIN), UDM_SETRANGE32, 0, kMaxRelativeCount);
        AddStrings(Control(dialog, r, USERTAB_TYPE), {"(not used)", "Absolute", "Relative"});
        AddStrings(Control(dialog, r, USERTAB_DIRECTION), {"Forward", "Backward"});
        AddStrings(Control(dialog, r, USERTAB_BASE), {"Today", "Displayed Date"});
    }
    ShowPage(run, kFlipDay);
}

// A count edit takes a change only while it holds digits alone; anything else is undone.
void OnCountChanged(SetupRun& run, int row) {
    if (run.filling) return;
    HWND edit = Control(run.dialog, row, USERTAB_COUNT);
    const std::string text = WindowTextOf(edit);
    if (FlipCountTextAllowed(text)) {
        run.lastCount[row] = text;
        return;
    }
    run.filling = true;
    SetWindowTextA(edit, run.lastCount[row].c_str());
    const int end = static_cast<int>(run.lastCount[row].size());
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    run.filling = false;
}

void OnPickDate(SetupRun& run, int row) {
    run.pickRow = row;
    const int32_t typed = QVN_ParseDate(WindowTextOf(Control(run.dialog, row, USERTAB_DATE)));
    OpenDatePicker(run.dialog, run.resources, typed, false);
}

void OnPickedDate(SetupRun& run, int32_t date) {
    if (run.pickRow < 0) return;
    SetWindowTextA(Control(run.dialog, run.pickRow, USERTAB_DATE), QVN_fmtDateString2000(date).c_str());
}

int FieldOffset(FlipTabRowField field) {
    switch (field) {
    case kFlipFieldDate: return USERTAB_DATE;
    case kFlipFieldCount: return USERTAB_COUNT;
    default: return USERTAB_DESCRIPTION;
    }
}

void OnOk(SetupRun& run) {
    KeepRows(run);
    const FlipTabRowFault fault = CheckFlipTabRows(run.rows);
    if (fault.page >= 0) {
        if (fault.page != run.page) ShowPage(run, fault.page);
        SendMessageA(run.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(run.dialog, fault.row, FieldOffset(fault.field))), TRUE);
        return;
    }
    SaveFlipTabs(FlipTabsOfRows(run.rows));
    EndDialog(run.dialog, 1);
}

// Row controls report with their row's identifiers; the row and the offset are found again.
bool OnRowCommand(SetupRun& run, int id, int code) {
    const int relative = id - IDC_USERTAB_ROW1;
    if (relative < 0 || relative >= 20 * kFlipUserTabs) return false;
    const int row = relative / 20, offset = relative % 20;
    switch (offset) {
    case USERTAB_TYPE:
        if (code == CBN_SELCHANGE) ShowTypeControls(run.dialog, row, Selection(Control(run.dialog, row, USERTAB_TYPE)));
        return true;
    case USERTAB_COUNT:
        if (code == EN_CHANGE) OnCountChanged(run, row);
        return true;
    case USERTAB_PICK:
        if (code == BN_CLICKED) OnPickDate(run, row);
        return true;
    case USERTAB_COLOUR:  // the button runs the colour dialog itself; its colour is read on OK
        return true;
    }
    return false;
}

INT_PTR CALLBACK SetupProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<SetupRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Initialize(dialog, *reinterpret_cast<SetupRun*>(lparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (!run || header->idFrom != IDC_USERTAB_PAGES || header->code != TCN_SELCHANGE) return FALSE;
        SwitchPage(*run, TabCtrl_GetCurSel(header->hwndFrom));
        return TRUE;
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDOK:
            OnOk(*run);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case kCmdPickedDate:
            OnPickedDate(*run, static_cast<int32_t>(lparam));
            return TRUE;
        }
        return OnRowCommand(*run, LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_DESTROY:
        if (HWND picker = OpenDatePickerWindow()) DestroyWindow(picker);
        return FALSE;
    default:
        return FALSE;
    }
}

// The tab control has no mnemonics of its own inside a dialog: Alt+D, Alt+W and Alt+M are
// taken from the dialog's message loop before the dialog manager looks for a control.
LRESULT CALLBACK PageKeyFilter(int code, WPARAM wparam, LPARAM lparam) {
    auto* msg = reinterpret_cast<MSG*>(lparam);
    if (code == MSGF_DIALOGBOX && running && running->dialog && msg->message == WM_SYSKEYDOWN &&
        (msg->hwnd == running->dialog || IsChild(running->dialog, msg->hwnd))) {
        for (int p = 0; p < kFlipModes; ++p) {
            if (msg->wParam != static_cast<WPARAM>(kPageKeys[p])) continue;
            SwitchPage(*running, p);
            return 1;
        }
    }
    return CallNextHookEx(page_key_hook, code, wparam, lparam);
}

}  // namespace

bool RunFlipTabsSetup(HWND owner, HINSTANCE resources) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    RegisterColorButtonClass(resources);
    SetupRun run;
    run.resources = resources;
    run.rows = RowsOfFlipTabs(LoadFlipTabs());
    SetupRun* outer = running;
    running = &run;
    HHOOK outer_hook = page_key_hook;
    page_key_hook = SetWindowsHookExA(WH_MSGFILTER, PageKeyFilter, nullptr, GetCurrentThreadId());
    const INT_PTR result = DialogBoxParamA(resources, "DLG_USERTAB_SETUP", owner, SetupProc, reinterpret_cast<LPARAM>(&run));
    if (page_key_hook) UnhookWindowsHookEx(page_key_hook);
    page_key_hook = outer_hook;
    running = outer;
    return result == 1;
}
