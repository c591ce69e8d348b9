// The selection dialog of Set Complete and the window steps of its sequence.
#include "appointments/set_complete_dialog_win.h"

#include <iterator>
#include <vector>

#include "appointments/appt_care.h"
#include "appointments/appt_dialog_win.h"
#include "appointments/set_complete.h"
#include "resources/resource.h"
#include "suite/messages.h"
#include "suite/print_program_win.h"

namespace {

// The list's tab stops in dialog units: kind, code, description, tooth, surfaces.
const int kTabStops[] = {13, 24, 128, 154};

struct SelectProcDialog {
    HWND placeOver;
    const std::vector<CompleteLine>* lines;
    std::vector<int> slots;  // chosen, in list order
};

void ShowNoteLines(HWND dialog, const SelectProcDialog& d) {
    HWND list = GetDlgItem(dialog, IDC_SELPROC_LIST);
    std::vector<bool> selected(d.lines->size());
    for (size_t i = 0; i < selected.size(); ++i)
        selected[i] = SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
    const int show = ShowCrossCodingNote(*d.lines, selected) ? SW_SHOW : SW_HIDE;
    ShowWindow(GetDlgItem(dialog, IDC_SELPROC_NOTE1), show);
    ShowWindow(GetDlgItem(dialog, IDC_SELPROC_NOTE2), show);
}

void Place(HWND dialog, HWND over) {
    RECT client{}, own{};
    if (!over || !GetClientRect(over, &client) || !GetWindowRect(dialog, &own)) return;
    POINT corner{client.left, client.top};
    ClientToScreen(over, &corner);
    const ScreenRect area{corner.x, corner.y, corner.x + client.right - client.left, corner.y + client.bottom - client.top};
    int x = 0, y = 0;
    PlaceOverClient(area, own.right - own.left, own.bottom - own.top, &x, &y);
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK SelectProcProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* d = reinterpret_cast<SelectProcDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        d = reinterpret_cast<SelectProcDialog*>(lparam);
        Place(dialog, d->placeOver);
        HWND list = GetDlgItem(dialog, IDC_SELPROC_LIST);
        SendMessageA(list, LB_SETTABSTOPS, std::size(kTabStops), reinterpret_cast<LPARAM>(kTabStops));
        for (const CompleteLine& line : *d->lines) {
            const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
            if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), line.slot);
        }
        SendMessageA(list, LB_SETSEL, TRUE, -1);
        ShowNoteLines(dialog, *d);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_SELPROC_LIST:
            if (HIWORD(wparam) == LBN_SELCHANGE) ShowNoteLines(dialog, *d);
            return TRUE;
        case IDOK: {
            HWND list = GetDlgItem(dialog, IDC_SELPROC_LIST);
            int chosen[kMostCompleteLines] = {};
            const LRESULT n = SendMessageA(list, LB_GETSELITEMS, kMostCompleteLines, reinterpret_cast<LPARAM>(chosen));
            d->slots.clear();
            for (LRESULT i = 0; i < n; ++i)
                d->slots.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(chosen[i]), 0)));
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class WindowSteps final : public SetCompleteSteps {
public:
    WindowSteps(HWND owner, HINSTANCE instance) : owner_(owner), instance_(instance) {}
    bool ChooseProcedures(const AppointmentRecord&, const std::vector<CompleteLine>& lines, std::vector<int>* slots) override {
        SelectProcDialog d{owner_, &lines, {}};
        const INT_PTR ended = DialogBoxParamA(instance_, "DLG_SELECTAPPTPROC", owner_, SelectProcProc, reinterpret_cast<LPARAM>(&d));
        if (ended == -1) QVN_Message(kMsgGroupSuite, 3040);
        if (ended != 1) return false;
        *slots = d.slots;
        return true;
    }
    void OpenCareAppointment(uint32_t patient_id, const std::vector<uint16_t>& care_types) override {
        uint16_t types[kAttachedCareTypes] = {};
        for (size_t i = 0; i < care_types.size() && i < std::size(types); ++i) types[i] = care_types[i];
        NewAppointmentForPatient(owner_, instance_, patient_id, types, true);
    }
    PrintProgramLink& PrintProgram() override { return print_; }

private:
    HWND owner_;
    HINSTANCE instance_;
    WindowsPrintProgram print_;
};

}  // namespace

int SetAppointmentComplete(HWND owner, HINSTANCE instance, ApptActionWindows& windows, uint32_t appointment_id) {
    WindowSteps steps(owner, instance);
    return SetAppointmentComplete(windows, steps, appointment_id);
}
