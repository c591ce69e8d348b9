// The toolbar's right-click menu and the customise dialog over ToolbarCustomiser.
#include "lists/toolbar_win.h"

#include <memory>
#include <string>

#include "resources/resource.h"

int ToolbarContextMenu(HWND bar, HINSTANCE instance, POINT screen, bool on_button, bool on_separator) {
    HMENU menu = LoadMenuA(instance, "QvnToolBarMenu");
    if (!menu) return 0;
    HMENU popup = GetSubMenu(menu, 0);
    EnableMenuItem(popup, CMD_TOOLBAR_REMOVE_BUTTON, MF_BYCOMMAND | (on_button ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(popup, CMD_TOOLBAR_REMOVE_SEPARATOR, MF_BYCOMMAND | (on_separator ? MF_ENABLED : MF_GRAYED));
    const int command = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                        screen.x, screen.y, 0, bar, nullptr));
    DestroyMenu(menu);
    return command;
}

namespace {

struct CustomiseDialog {
    ToolbarCustomiser customiser;
    ToolbarArrangement result;
};

std::vector<int> SelectedAvailable(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_EDITTB_AVAILABLE);
    const int count = static_cast<int>(SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    std::vector<int> lines(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0) SendMessageA(list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(lines.data()));
    return lines;
}

int SelectedToolbar(HWND dialog) {
    const LRESULT line = SendDlgItemMessageA(dialog, IDC_EDITTB_TOOLBAR, LB_GETCURSEL, 0, 0);
    return line == LB_ERR ? -1 : static_cast<int>(line);
}

// Each button follows what can be done now; a button that goes grey while it has the focus hands
// it to the toolbar list, so that the keyboard never sits on a dead control.
void EnableButtons(HWND dialog, const ToolbarCustomiser& c) {
    const std::vector<int> available = SelectedAvailable(dialog);
    const int selected = SelectedToolbar(dialog);
    const std::pair<int, bool> rules[] = {
        {IDC_EDITTB_ADD, c.CanAdd(available, selected)},  {IDC_EDITTB_REMOVE, c.CanRemove(selected)},
        {IDC_EDITTB_UP, c.CanMoveUp(selected)},           {IDC_EDITTB_DOWN, c.CanMoveDown(selected)},
        {IDC_EDITTB_DEFAULT, c.CanRestoreDefault()},
    };
    for (auto [id, on] : rules) {
        HWND button = GetDlgItem(dialog, id);
        if (!on && GetFocus() == button) SetFocus(GetDlgItem(dialog, IDC_EDITTB_TOOLBAR));
        EnableWindow(button, on ? TRUE : FALSE);
    }
}

void Fill(HWND dialog, const ToolbarCustomiser& c, int toolbar_selection) {
    HWND available = GetDlgItem(dialog, IDC_EDITTB_AVAILABLE);
    HWND toolbar = GetDlgItem(dialog, IDC_EDITTB_TOOLBAR);
    SendMessageA(available, LB_RESETCONTENT, 0, 0);
    SendMessageA(toolbar, LB_RESETCONTENT, 0, 0);
    for (int command : c.Available())
        SendMessageA(available, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Text(command).c_str()));
    for (int command : c.Toolbar())
        SendMessageA(toolbar, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.Text(command).c_str()));
    if (toolbar_selection >= 0) SendMessageA(toolbar, LB_SETCURSEL, toolbar_selection, 0);
    EnableButtons(dialog, c);
}

INT_PTR CALLBACK CustomiseProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* d = reinterpret_cast<CustomiseDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Fill(dialog, reinterpret_cast<CustomiseDialog*>(lparam)->customiser, -1);
        return TRUE;
    case WM_COMMAND: {
        if (!d) return FALSE;
        ToolbarCustomiser& c = d->customiser;
        const int id = LOWORD(wparam);
        const int selected = SelectedToolbar(dialog);
        switch (id) {
        case IDC_EDITTB_AVAILABLE:
        case IDC_EDITTB_TOOLBAR:
            if (HIWORD(wparam) == LBN_SELCHANGE) EnableButtons(dialog, c);
            if (HIWORD(wparam) == LBN_DBLCLK && id == IDC_EDITTB_AVAILABLE && c.CanAdd(SelectedAvailable(dialog), selected))
                Fill(dialog, c, c.Add(SelectedAvailable(dialog), selected));
            if (HIWORD(wparam) == LBN_DBLCLK && id == IDC_EDITTB_TOOLBAR && c.CanRemove(selected))
                Fill(dialog, c, c.Remove(selected));
            return TRUE;
        case IDC_EDITTB_ADD:
            if (c.CanAdd(SelectedAvailable(dialog), selected)) Fill(dialog, c, c.Add(SelectedAvailable(dialog), selected));
            return TRUE;
        case IDC_EDITTB_REMOVE:
            if (c.CanRemove(selected)) Fill(dialog, c, c.Remove(selected));
            return TRUE;
        case IDC_EDITTB_UP:
            if (c.CanMoveUp(selected)) Fill(dialog, c, c.MoveUp(selected));
            return TRUE;
        case IDC_EDITTB_DOWN:
            if (c.CanMoveDown(selected)) Fill(dialog, c, c.MoveDown(selected));
            return TRUE;
        case IDC_EDITTB_DEFAULT:
            c.RestoreDefault();
            Fill(dialog, c, -1);
            return TRUE;
        case IDOK:
            d->result = c.Toolbar();
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool RunCustomizeToolbar(HWND owner, HINSTANCE instance, const std::vector<ToolbarButton>& known,
                         ToolbarArrangement* arrangement) {
    CustomiseDialog d{ToolbarCustomiser(known, *arrangement), {}};
    if (DialogBoxParamA(instance, "DLG_EDITTOOLBAR", owner, CustomiseProc, reinterpret_cast<LPARAM>(&d)) != IDOK)
        return false;
    *arrangement = d.result;
    return true;
}
