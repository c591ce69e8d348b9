// The About box and the help files of the help menu.
#include "app/about_help_win.h"

#include <shellapi.h>

#include <string>

#include "app/frame_services.h"
#include "resources/resource.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/window_services_win.h"

namespace {

std::string StringOf(HINSTANCE instance, UINT id) {
    char text[256] = "";
    LoadStringA(instance, id, text, sizeof text);
    return text;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: {
        const HINSTANCE instance = reinterpret_cast<HINSTANCE>(lparam);
        SetWindowTextA(dialog, StringOf(instance, IDS_ABOUT_TITLE).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_NAME, StringOf(instance, IDS_PROGRAM_NAME).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, StringOf(instance, IDS_VERSION).c_str());
        SetDlgItemTextA(dialog, IDC_ABOUT_DATA, AboutDataLine(QVN_GetDataPath()).c_str());
        // The static control owns the picture from here and frees it with itself.
        if (HBITMAP picture = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_ABOUT))) {
            HBITMAP before = reinterpret_cast<HBITMAP>(
                SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
            if (before) DeleteObject(before);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY: {
        HBITMAP picture = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
        if (picture) DeleteObject(picture);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HWND owner, HINSTANCE instance) {
    DialogBoxParamA(instance, "DLG_ABOUT", owner, AboutProc, reinterpret_cast<LPARAM>(instance));
}

void OpenHelpFile(HWND owner, const char* file_name) {
    const std::string path = HelpFilePath(ProgramFolder(), file_name);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowRefusal(MissingHelpFileText(path));
        return;
    }
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
        ShowRefusal("The help file " + path + " could not be opened.");
}
