// Window side of the Select resource dialog: fills the list through QVN_RscFillListCtrl, sorts on
// column clicks, and frees the rows' records before it closes.
#include "controls/select_resource_dialog_win.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "controls/resource_list_fill.h"
#include "controls/resource_list_win.h"
#include "resources/resource.h"

namespace {

struct SelectRun {
    ResourceChoice choice;
    bool automatic;
    std::string wanted;   // the ID to start on
    RscFillContext context{};
    bool chosen = false;
    ResourceRecord result{};
};

HWND ListOf(HWND dialog) { return GetDlgItem(dialog, IDC_SELECT_RSC_LIST); }

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectRow(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// Takes the row as the result and closes; the rows' records are freed first.
void Finish(HWND dialog, SelectRun& run, int row) {
    HWND list = ListOf(dialog);
    if (const ResourceRecord* record = row >= 0 ? ResourceListRecord(list, row) : nullptr) {
        run.result = *record;
        run.chosen = true;
    }
    DeleteListControlData(list);
    EndDialog(dialog, run.chosen ? IDOK : IDCANCEL);
}

void Initialize(HWND dialog, SelectRun& run) {
    SetWindowTextA(dialog, SelectResourceTitle(run.choice.type));
    ShowWindow(GetDlgItem(dialog, IDC_SELECT_RSC_INACTIVE), SW_HIDE);  // inactive ones are never listed
    RscFillContext& c = run.context;
    c.dialog = dialog;
    c.list = ListOf(dialog);
    c.providers = run.choice.type == kResourceProvider;
    c.staff = run.choice.type == kResourceStaff;
    c.operatories = run.choice.type == kResourceOperatory;
    c.providerClass = run.choice.providerClass;
    const int rows = QVN_RscFillListCtrl(&c, 1);
    if (run.automatic && rows <= 1) {
        Finish(dialog, run, rows == 1 ? 0 : -1);
        return;
    }
    c.descending = 0;
    SortListCtrl(&c, 0);

    std::vector<std::string> ids;
    const int count = static_cast<int>(SendMessageA(c.list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (const ResourceRecord* r = ResourceListRecord(c.list, i)) ids.push_back(std::string(r->id, 4));
    const int row = InitialResourceRow(ids, run.wanted);
    if (row >= 0) SelectRow(c.list, row);
    SetFocus(c.list);
}

// A click on a column title sorts by it: ascending, or the other way round for the column of
// the last sort.
void OnColumnClick(SelectRun& run, int column) {
    RscFillContext& c = run.context;
    c.descending = column == c.sortColumn ? !c.descending : 0;
    SortListCtrl(&c, column);
}

INT_PTR CALLBACK SelectProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<SelectRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Initialize(dialog, *reinterpret_cast<SelectRun*>(lparam));
        return FALSE;  // the focus is set
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (!run || header->idFrom != IDC_SELECT_RSC_LIST) return FALSE;
        if (header->code == LVN_COLUMNCLICK) {
            OnColumnClick(*run, reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
            return TRUE;
        }
        if (header->code == NM_DBLCLK || header->code == LVN_ITEMACTIVATE) {
            const int row = SelectedRow(ListOf(dialog));
            if (row >= 0) Finish(dialog, *run, row);
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        if (LOWORD(wparam) == IDOK) {
            const int row = SelectedRow(ListOf(dialog));
            if (row >= 0) Finish(dialog, *run, row);  // without a selection nothing happens
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            Finish(dialog, *run, -1);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

std::string SelectResource(HWND owner, HINSTANCE resources, int choice, char* buffer, int buffer_length,
                           bool automatic) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    SelectRun run{ResourceChoiceOf(choice), automatic, {}};
    const std::string in_buffer = buffer && buffer_length > 0 ? std::string(buffer, strnlen(buffer, static_cast<size_t>(buffer_length))) : "";
    run.wanted = WantedResourceId(in_buffer);
    DialogBoxParamA(resources, "LB_DLG_SELECT_RSC", owner, SelectProc, reinterpret_cast<LPARAM>(&run));
    if (!run.chosen) return "";
    const std::string text = SelectedResourceText(run.result, buffer_length > 0 ? static_cast<size_t>(buffer_length) : 0);
    if (buffer && !text.empty()) std::memcpy(buffer, text.c_str(), text.size() + 1);
    return std::string(run.result.id, 4);
}
