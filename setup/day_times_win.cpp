// The day dialog: six texts with their " >>" pickers; OK runs the checks of setup/day_times.
#include "setup/day_times_win.h"

#include <string>

#include "appointments/appt_pickers_win.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "setup/day_times.h"
#include "suite/dialog_fields_win.h"

namespace {

struct DayTimesRun {
    HINSTANCE resources = nullptr;
    DayTimes times{};
    bool timeRequired = false;
    int blockMinutes = 10;
};

// " >>": the picker starts at the typed time (12:00 when there is none) and its choice replaces
// the text.
void PickInto(HWND dialog, const DayTimesRun& run, int slot) {
    const int text_id = IDC_DAYTIME_TEXT1 + slot;
    int32_t units = -1;
    int hour = -1, minute = 0;
    if (ReadDayTimeText(ControlText(dialog, text_id), run.blockMinutes, &units) == DayTimeRead::kTime && units < 288) {
        hour = units / 12;
        minute = units % 12 * 5;
    }
    if (!PickTime(dialog, run.resources, run.blockMinutes, true, &hour, &minute)) return;
    SetDlgItemTextA(dialog, text_id, DayTimeText(hour * 12 + minute / 5).c_str());
    SetFocus(GetDlgItem(dialog, text_id));
}

void Accept(HWND dialog, DayTimesRun& run) {
    DayTimeTexts texts;
    for (int n = 0; n < kDayTimeCount; ++n) texts[n] = ControlText(dialog, IDC_DAYTIME_TEXT1 + n);
    const DayTimesFocus focus = CheckDayTimes(texts, run.timeRequired, run.blockMinutes, &run.times);
    if (focus.kind == DayTimesFocus::kAccepted) return void(EndDialog(dialog, 1));
    const int id = (focus.kind == DayTimesFocus::kText ? IDC_DAYTIME_TEXT1 : IDC_DAYTIME_PICK1) + focus.slot;
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

INT_PTR CALLBACK DayTimesProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<DayTimesRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<DayTimesRun*>(lparam);
        for (int n = 0; n < kDayTimeCount; ++n) {
            SendDlgItemMessageA(dialog, IDC_DAYTIME_TEXT1 + n, EM_LIMITTEXT, 10, 0);
            SetDlgItemTextA(dialog, IDC_DAYTIME_TEXT1 + n, DayTimeText(run->times[n]).c_str());
        }
        return TRUE;
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_DAYTIME_PICK1 && id < IDC_DAYTIME_PICK1 + kDayTimeCount) {
            PickInto(dialog, *run, id - IDC_DAYTIME_PICK1);
            return TRUE;
        }
        if (id == IDOK) return Accept(dialog, *run), TRUE;
        if (id == IDCANCEL) return EndDialog(dialog, 0), TRUE;
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool EditDayTimes(HWND owner, HINSTANCE resources, int32_t times[6], bool time_required) {
    DayTimesRun run;
    run.resources = resources;
    run.timeRequired = time_required;
    run.blockMinutes = practice_tables.blockMinutes;
    for (int n = 0; n < kDayTimeCount; ++n) run.times[n] = times[n];
    if (DialogBoxParamA(resources, "DLG_DAYTIME", owner, DayTimesProc, reinterpret_cast<LPARAM>(&run)) != 1)
        return false;
    for (int n = 0; n < kDayTimeCount; ++n) times[n] = run.times[n];
    return true;
}

bool EditCalendarDay(HWND owner, int32_t start[3], int32_t end[3]) {
    int32_t times[kDayTimeCount];
    for (int k = 0; k < 3; ++k) {
        times[2 * k] = start[k];
        times[2 * k + 1] = end[k];
    }
    if (!EditDayTimes(owner, GetModuleHandleA(nullptr), times, true)) return false;
    for (int k = 0; k < 3; ++k) {
        start[k] = times[2 * k];
        end[k] = times[2 * k + 1];
    }
    return true;
}
