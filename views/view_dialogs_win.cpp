// The Select View and Edit View dialogs: fill the controls from a view, read them back into
// CheckViewEdit's input, and guard Edit, New and Delete with the user's rights.
#include "views/view_dialogs_win.h"

#include <cstring>
#include <string>

#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "suite/dialog_fields_win.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"
#include "views/view_definition.h"
#include "views/view_edit.h"

namespace {

constexpr int kRightEditView = 34;
constexpr int kRightNewView = 64;
constexpr int kRightDeleteView = 65;
constexpr int kDisplayItemCodes = 14;  // 0 "[none]" to 13 "Referred By"

// --- Edit View ------------------------------------------------------------------------------

struct EditViewRun {
    int number;
    ViewDefinition view;
    bool readable;  // false when the number is outside what the settings keep
};

// The view whose lists an empty stored list falls back to: the applied view, or before any
// the first providers and operatories of the loaded tables.
ViewDefinition FallbackDefinition() {
    if (view_state.applied) return view_state.definition;
    ViewDefinition current;
    for (int index : practice_tables.shownProviders)
        std::memcpy(current.providers[current.providerCount++],
                    practice_tables.providers[static_cast<size_t>(index)].id, 4);
    for (int index : practice_tables.shownOperatories)
        std::memcpy(current.operatories[current.operatoryCount++],
                    practice_tables.operatories[static_cast<size_t>(index)].id, 4);
    return current;
}

bool ProviderStillListed(const char id[4]) {
    const int index = FindProviderIndex(id);
    return index >= 0 && practice_tables.providers[static_cast<size_t>(index)].listExclusion == 0;
}

std::string IdText(const char id[4]) { return std::string(id, 4); }

void AddIds(HWND list, const std::vector<std::string>& ids) {
    for (const std::string& id : ids) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(id.c_str()));
}

// Selects the entries whose text is exactly one of the view's IDs.
void SelectIds(HWND list, const char (*ids)[4], int count) {
    for (int i = 0; i < count; ++i) {
        const std::string id = IdText(ids[i]);
        const LRESULT found = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(id.c_str()));
        if (found != LB_ERR) SendMessageA(list, LB_SETSEL, TRUE, found);
    }
}

// "All" is checked exactly when the list has no selected entry.
void FollowSelection(HWND dialog, int list_id, int all_id) {
    const LRESULT selected = SendDlgItemMessageA(dialog, list_id, LB_GETSELCOUNT, 0, 0);
    CheckDlgButton(dialog, all_id, selected == 0 ? BST_CHECKED : BST_UNCHECKED);
}

// A click on "All" clears the list; unchecking it picks the first entry again.
void OnAllClicked(HWND dialog, int list_id, int all_id) {
    HWND list = GetDlgItem(dialog, list_id);
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    if (IsDlgButtonChecked(dialog, all_id) != BST_CHECKED) SendMessageA(list, LB_SETSEL, TRUE, 0);
}

void FillLineCombo(HWND combo, int country, int code) {
    for (int c = 0; c < kDisplayItemCodes; ++c) {
        const std::string label = DisplayItemLabel(c, country);
        const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), c);
        if (c == code) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
}

void InitEditView(HWND dialog, const EditViewRun& run) {
    const ViewDefinition& view = run.view;
    std::vector<std::string> providers, operatories;
    for (const ProviderInfo& p : practice_tables.providers)
        if (p.listExclusion == 0) providers.push_back(IdText(p.id));
    for (const OperatoryInfo& o : practice_tables.operatories) operatories.push_back(IdText(o.id));
    AddIds(GetDlgItem(dialog, IDC_SETVIEW_PROVIDERS), providers);
    AddIds(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES), operatories);
    SelectIds(GetDlgItem(dialog, IDC_SETVIEW_PROVIDERS), view.providers, view.providerCount);
    SelectIds(GetDlgItem(dialog, IDC_SETVIEW_OPERATORIES), view.operatories, view.operatoryCount);
    FollowSelection(dialog, IDC_SETVIEW_PROVIDERS, IDC_SETVIEW_ALL_PROVIDERS);
    FollowSelection(dialog, IDC_SETVIEW_OPERATORIES, IDC_SETVIEW_ALL_OPERATORIES);

    if (run.readable) {
        for (int d : view.days)
            if (d >= 1 && d <= kViewDays) CheckDlgButton(dialog, IDC_SETVIEW_SUNDAY + d - 1, BST_CHECKED);
    } else {
        for (int d = 1; d <= 5; ++d) CheckDlgButton(dialog, IDC_SETVIEW_SUNDAY + d, BST_CHECKED);
    }
    CheckDlgButton(dialog, IDC_SETVIEW_AMOUNT, view.showAmount ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETVIEW_NOTES, view.showNotes ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETVIEW_ALERTS, view.showAlerts ? BST_CHECKED : BST_UNCHECKED);
    ShowHour(dialog, IDC_SETVIEW_START, IDC_SETVIEW_START_AM, IDC_SETVIEW_START_PM, view.beginTime);
    ShowHour(dialog, IDC_SETVIEW_END, IDC_SETVIEW_END_AM, IDC_SETVIEW_END_PM, view.endTime);

    const int country = ReadCountryCode();
    for (int line = 0; line < kViewLines; ++line)
        FillLineCombo(GetDlgItem(dialog, IDC_SETVIEW_LINE1 + line), country, view.infoOrder[line]);
}

ResourceListInput ListInput(HWND dialog, int list_id, int all_id) {
    ResourceListInput input;
    HWND list = GetDlgItem(dialog, list_id);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        input.entries.push_back(ResourceIdOfText(ListBoxItemText(list, static_cast<int>(i))));
        input.selected.push_back(SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
    }
    input.all = IsDlgButtonChecked(dialog, all_id) == BST_CHECKED;
    return input;
}

ViewEditInput ReadEditView(HWND dialog) {
    ViewEditInput input;
    input.providers = ListInput(dialog, IDC_SETVIEW_PROVIDERS, IDC_SETVIEW_ALL_PROVIDERS);
    input.operatories = ListInput(dialog, IDC_SETVIEW_OPERATORIES, IDC_SETVIEW_ALL_OPERATORIES);
    for (int d = 0; d < kViewDays; ++d)
        input.dayChecked[d] = IsDlgButtonChecked(dialog, IDC_SETVIEW_SUNDAY + d) == BST_CHECKED;
    input.startHour = ControlText(dialog, IDC_SETVIEW_START);
    input.endHour = ControlText(dialog, IDC_SETVIEW_END);
    input.startPm = IsDlgButtonChecked(dialog, IDC_SETVIEW_START_PM) == BST_CHECKED;
    input.endPm = IsDlgButtonChecked(dialog, IDC_SETVIEW_END_PM) == BST_CHECKED;
    input.showAmount = IsDlgButtonChecked(dialog, IDC_SETVIEW_AMOUNT) == BST_CHECKED;
    input.showNotes = IsDlgButtonChecked(dialog, IDC_SETVIEW_NOTES) == BST_CHECKED;
    input.showAlerts = IsDlgButtonChecked(dialog, IDC_SETVIEW_ALERTS) == BST_CHECKED;
    for (int line = 0; line < kViewLines; ++line) {
        HWND combo = GetDlgItem(dialog, IDC_SETVIEW_LINE1 + line);
        const LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        const LRESULT code = at == CB_ERR ? 0 : SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
        input.lines[line] = static_cast<uint8_t>(code);
    }
    return input;
}

int FocusControlOf(ViewEditFocus focus) {
    switch (focus) {
    case kViewEditFocusOperatories: return IDC_SETVIEW_OPERATORIES;
    case kViewEditFocusSunday: return IDC_SETVIEW_SUNDAY;
    case kViewEditFocusStartHour: return IDC_SETVIEW_START;
    case kViewEditFocusEndHour: return IDC_SETVIEW_END;
    default: return 0;
    }
}

void OnEditViewOk(HWND dialog, EditViewRun& run) {
    ViewDefinition edited = run.view;
    edited.number = run.number;
    const ViewEditFocus focus = CheckViewEdit(ReadEditView(dialog), &edited);
    if (focus != kViewEditAccepted) {
        HWND control = GetDlgItem(dialog, FocusControlOf(focus));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        return;
    }
    if (!SaveViewDefinition(run.number, edited)) return;
    run.view = edited;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK EditViewProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<EditViewRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitEditView(dialog, *reinterpret_cast<EditViewRun*>(lparam));
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDOK:
            OnEditViewOk(dialog, *run);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_SETVIEW_ALL_PROVIDERS:
            OnAllClicked(dialog, IDC_SETVIEW_PROVIDERS, IDC_SETVIEW_ALL_PROVIDERS);
            return TRUE;
        case IDC_SETVIEW_ALL_OPERATORIES:
            OnAllClicked(dialog, IDC_SETVIEW_OPERATORIES, IDC_SETVIEW_ALL_OPERATORIES);
            return TRUE;
        case IDC_SETVIEW_PROVIDERS:
            if (HIWORD(wparam) == LBN_SELCHANGE)
                FollowSelection(dialog, IDC_SETVIEW_PROVIDERS, IDC_SETVIEW_ALL_PROVIDERS);
            return TRUE;
        case IDC_SETVIEW_OPERATORIES:
            if (HIWORD(wparam) == LBN_SELCHANGE)
                FollowSelection(dialog, IDC_SETVIEW_OPERATORIES, IDC_SETVIEW_ALL_OPERATORIES);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- Select View ----------------------------------------------------------------------------

struct SelectViewRun {
    HINSTANCE resources;
};

// Refills the list with the defined views and selects the entry of view n (or none).
int FillViewList(HWND dialog, int n) {
    HWND list = GetDlgItem(dialog, IDC_VIEW_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const std::vector<ViewListEntry> views = DefinedViewList();
    for (const ViewListEntry& v : views) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(v.text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), v.number);
        if (v.number == n) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
    const int count = static_cast<int>(views.size());
    EnableWindow(GetDlgItem(dialog, IDC_VIEW_NEW), count < kMaxUserView);
    EnableWindow(GetDlgItem(dialog, IDC_VIEW_DELETE), count > 0);
    return count;
}

// The number of the selected view, 0 without a selection.
int SelectedView(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_VIEW_LIST);
    const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR) return 0;
    return static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

// The rights check of Edit, New and Delete: the user may sign in for another who holds the
// right; afterwards the acting user is the logged-in one again.
bool Granted(int right) { return QVN_CheckRights(right, true) > 0; }

void OnEdit(HWND dialog, const SelectViewRun& run) {
    const int n = SelectedView(dialog);
    if (n == 0 || !Granted(kRightEditView)) return;
    RunEditViewDialog(dialog, run.resources, n);
    QVN_SetOverrideToLoggedIn();
    FillViewList(dialog, n);
}

void OnNew(HWND dialog, const SelectViewRun& run) {
    if (!Granted(kRightNewView)) return;
    const int n = FirstFreeViewNumber();
    if (n != 0) {
        RunEditViewDialog(dialog, run.resources, n);
        FillViewList(dialog, n);
    }
    QVN_SetOverrideToLoggedIn();
}

void OnDelete(HWND dialog) {
    const int n = SelectedView(dialog);
    if (n == 0 || !Granted(kRightDeleteView)) return;
    DeleteViewDefinition(n);
    QVN_SetOverrideToLoggedIn();
    if (FillViewList(dialog, 0) > 0) SendDlgItemMessageA(dialog, IDC_VIEW_LIST, LB_SETCURSEL, 0, 0);
}

INT_PTR CALLBACK SelectViewProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<SelectViewRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        FillViewList(dialog, view_state.active.number);
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_VIEW_LIST:
            if (HIWORD(wparam) != LBN_DBLCLK) return FALSE;
            [[fallthrough]];
        case IDC_VIEW_SELECT:
        case IDOK:
            EndDialog(dialog, SelectedView(dialog));
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_VIEW_EDIT:
            OnEdit(dialog, *run);
            return TRUE;
        case IDC_VIEW_NEW:
            OnNew(dialog, *run);
            return TRUE;
        case IDC_VIEW_DELETE:
            OnDelete(dialog);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int RunEditViewDialog(HWND owner, HINSTANCE resources, int n) {
    EditViewRun run{n, {}, false};
    run.readable = ReadViewDefinition(n, &run.view, FallbackDefinition(), ProviderStillListed) == 1;
    const INT_PTR result = DialogBoxParamA(resources, "DLG_SETVIEW", owner, EditViewProc, reinterpret_cast<LPARAM>(&run));
    return result == 1 ? 1 : 0;
}

int RunSelectViewDialog(HWND owner, HINSTANCE resources) {
    SelectViewRun run{resources};
    const INT_PTR result = DialogBoxParamA(resources, "DLG_SELECTVIEW2", owner, SelectViewProc, reinterpret_cast<LPARAM>(&run));
    return result > 0 && result <= kMaxUserView ? static_cast<int>(result) : 0;
}

void ShowHour(HWND dialog, int edit_id, int am_id, int pm_id, int time) {
    const HourField field = HourFieldOfTime(time);
    SetDlgItemInt(dialog, edit_id, static_cast<UINT>(field.hour), FALSE);
    CheckRadioButton(dialog, am_id, pm_id, field.pm ? pm_id : am_id);
}
