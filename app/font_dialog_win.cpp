// Font dialog for the sheet's font: the system's font selection dialog on our template, with a
// hook that notes the "&Default" button.
#include "app/font_dialog_win.h"

#include <commdlg.h>

#include "app/fonts_win.h"
#include "resources/resource.h"
#include "suite/workstation_settings.h"

namespace {

struct FontDialogRun {
    bool resetToDefault = false;
};

UINT_PTR CALLBACK FontDialogHook(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* cf = reinterpret_cast<CHOOSEFONTA*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, static_cast<LONG_PTR>(cf->lCustData));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wparam) == IDC_FONT_DEFAULT) {
        auto* run = reinterpret_cast<FontDialogRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (run) run->resetToDefault = true;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

bool RunSheetFontDialog(HWND owner, HINSTANCE resources) {
    FontSpec current = ReadFont(3);
    LOGFONTA lf = LogFontFromSpec(current);
    FontDialogRun run;

    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_ENABLETEMPLATE | CF_ENABLEHOOK;
    cf.hInstance = resources;
    cf.lpTemplateName = "DLG_FONTSELECT";
    cf.lpfnHook = FontDialogHook;
    cf.lCustData = reinterpret_cast<LPARAM>(&run);
    bool chosen = ChooseFontA(&cf) != FALSE;

    if (run.resetToDefault) return WriteFont(3, DefaultSheetFont()) == 1;
    if (!chosen) return false;
    FontSpec picked = current;
    picked.face = lf.lfFaceName;
    picked.point_size = cf.iPointSize / 10;
    picked.height = lf.lfHeight;
    picked.width = lf.lfWidth;
    picked.weight = lf.lfWeight;
    picked.italic = lf.lfItalic != 0;
    return WriteFont(3, picked) == 1;
}
