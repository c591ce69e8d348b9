// The name-and-password dialog: shows why it asks and what went wrong last, starts with the
// acting user's name, and hands the typed texts back without keeping the password anywhere.
#include "suite/password_dialog_win.h"

#include <string>

#include "resources/resource.h"
#include "suite/dialog_fields_win.h"

namespace {

struct PasswordDialogRun {
    const PasswordRequest* request;
    PasswordAnswer* answer;
};

// Overwrites the password in the control before emptying it, so that the control's own buffer
// is written over rather than only given back with the password still in it.
void ClearPasswordControl(HWND dialog) {
    int length = GetWindowTextLengthA(GetDlgItem(dialog, IDC_PASSWORD_TEXT));
    SetDlgItemTextA(dialog, IDC_PASSWORD_TEXT, std::string(static_cast<size_t>(length), '*').c_str());
    SetDlgItemTextA(dialog, IDC_PASSWORD_TEXT, "");
}

void Initialize(HWND dialog, const PasswordRequest& request) {
    SetDlgItemTextA(dialog, IDC_PASSWORD_PROMPT, request.prompt.c_str());
    SetDlgItemTextA(dialog, IDC_PASSWORD_FAILURE, request.failure.c_str());
    SetDlgItemTextA(dialog, IDC_PASSWORD_NAME, request.name.c_str());
    SendDlgItemMessageA(dialog, IDC_PASSWORD_NAME, EM_LIMITTEXT, kLoginNameMax, 0);
    SendDlgItemMessageA(dialog, IDC_PASSWORD_TEXT, EM_LIMITTEXT, kPasswordMax, 0);
    // With a name given the user only types the password.
    SetFocus(GetDlgItem(dialog, request.name.empty() ? IDC_PASSWORD_NAME : IDC_PASSWORD_TEXT));
}

INT_PTR CALLBACK PasswordDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Initialize(dialog, *reinterpret_cast<PasswordDialogRun*>(lparam)->request);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
        auto* run = reinterpret_cast<PasswordDialogRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (LOWORD(wparam) == IDOK) {
            run->answer->name = ControlText(dialog, IDC_PASSWORD_NAME);
            run->answer->password = ControlText(dialog, IDC_PASSWORD_TEXT);
            ClearPasswordControl(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            ClearPasswordControl(dialog);
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

class DialogPasswordPrompter final : public PasswordPrompter {
public:
    HWND owner = nullptr;
    HINSTANCE resources = nullptr;

    bool Ask(const PasswordRequest& request, PasswordAnswer* answer) override {
        return RunPasswordDialog(owner, resources, request, answer);
    }
};

DialogPasswordPrompter dialog_password_prompter;

}  // namespace

bool RunPasswordDialog(HWND owner, HINSTANCE resources, const PasswordRequest& request, PasswordAnswer* answer) {
    HWND parent = owner && IsWindow(owner) ? owner : GetActiveWindow();
    PasswordDialogRun run{&request, answer};
    INT_PTR result = DialogBoxParamA(resources, "DLG_PASSWORD", parent, PasswordDialogProc,
                                     reinterpret_cast<LPARAM>(&run));
    return result == IDOK;
}

void InstallWindowsPasswordPrompter(HWND owner, HINSTANCE resources) {
    dialog_password_prompter.owner = owner;
    dialog_password_prompter.resources = resources;
    InstallPasswordPrompter(&dialog_password_prompter);
}
