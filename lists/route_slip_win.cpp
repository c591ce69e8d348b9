// The route slip dialog: three buttons over the job of lists/route_slip.
#include "lists/route_slip_win.h"

#include "lists/route_slip.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/print_program_win.h"

namespace {

void Submit(HWND dialog, uint32_t appointment_id, bool batch) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    WindowsPrintProgram program;
    SubmitRouteSlip(appointment_id, QVN_SysDate(), batch, program);
    SetCursor(old_cursor);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK RouteSlipProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        return TRUE;
    case WM_COMMAND: {
        const auto appointment_id = static_cast<uint32_t>(GetWindowLongPtrA(dialog, DWLP_USER));
        switch (LOWORD(wparam)) {
        case IDC_PRINT_NOW:
            Submit(dialog, appointment_id, false);
            return TRUE;
        case IDOK:  // "&Batch"
            Submit(dialog, appointment_id, true);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

int PrintRouteSlipDialog(HWND owner, HINSTANCE instance, uint32_t appointment_id) {
    if (appointment_id == 0) return 0;
    return DialogBoxParamA(instance, "DLG_PRINTROUTESLIP", owner, RouteSlipProc, static_cast<LPARAM>(appointment_id)) == 1
               ? 1
               : 0;
}
