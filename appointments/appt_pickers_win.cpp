// Window side of the appointment dialog's pickers: lists filled from the reads of
// appt_reasons, bars and unit buttons driven by the arithmetic of time_pickers.
#include "appointments/appt_pickers_win.h"

#include <algorithm>
#include <string>

#include "appointments/appt_reasons.h"
#include "appointments/time_pickers.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "resources/resource.h"
#include "suite/prompter.h"

namespace {

const int kCodeTabs[] = {40};
const int kPlanTabs[] = {18, 52, 188, 216};

struct ListPick {
    int list = 0;
    const int* tabs = nullptr;
    int tabCount = 0;
    std::vector<std::pair<std::string, uint32_t>> lines;  // text, id
    std::vector<uint32_t> chosen;
};

void FillPickList(HWND dialog, const ListPick& pick) {
    HWND list = GetDlgItem(dialog, pick.list);
    SendMessageA(list, LB_SETTABSTOPS, static_cast<WPARAM>(pick.tabCount), reinterpret_cast<LPARAM>(pick.tabs));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (const auto& [text, id] : pick.lines) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), id);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// The ids of the chosen lines, in list order: every selected line of a multi-select list, the
// current line of a single one.
std::vector<uint32_t> ChosenIds(HWND list) {
    std::vector<uint32_t> ids;
    if (GetWindowLongA(list, GWL_STYLE) & LBS_MULTIPLESEL) {
        const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
        if (count <= 0) return ids;
        std::vector<int> items(static_cast<size_t>(count));
        const LRESULT got = SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data()));
        for (LRESULT i = 0; i < got; ++i)
            ids.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(items[static_cast<size_t>(i)]), 0)));
        return ids;
    }
    const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at != LB_ERR) ids.push_back(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0)));
    return ids;
}

void EndWithChoice(HWND dialog, ListPick& pick) {
    pick.chosen = ChosenIds(GetDlgItem(dialog, pick.list));
    if (pick.chosen.empty()) {
        EndDialog(dialog, 0);  // nothing chosen: as Cancel
        return;
    }
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK ListPickProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* pick = reinterpret_cast<ListPick*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        pick = reinterpret_cast<ListPick*>(lparam);
        FillPickList(dialog, *pick);
        if (!(GetWindowLongA(GetDlgItem(dialog, pick->list), GWL_STYLE) & LBS_MULTIPLESEL))
            SendDlgItemMessageA(dialog, pick->list, LB_SETCURSEL, 0, 0);
        SetFocus(GetDlgItem(dialog, pick->list));
        return FALSE;
    case WM_COMMAND:
        if (!pick) return FALSE;
        if (LOWORD(wparam) == pick->list && HIWORD(wparam) == LBN_DBLCLK &&
            !(GetWindowLongA(reinterpret_cast<HWND>(lparam), GWL_STYLE) & LBS_MULTIPLESEL)) {
            EndWithChoice(dialog, *pick);
            return TRUE;
        }
        switch (LOWORD(wparam)) {
        case IDOK: EndWithChoice(dialog, *pick); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

bool RunListPick(HWND owner, HINSTANCE resources, const char* name, ListPick& pick) {
    return DialogBoxParamA(resources, name, owner, ListPickProc, reinterpret_cast<LPARAM>(&pick)) == 1;
}

ListPick CodePick(int list) {
    ListPick pick;
    pick.list = list;
    pick.tabs = kCodeTabs;
    pick.tabCount = 1;
    for (const ProcedureCodeRecord& c : ReadProcedureCodes()) pick.lines.push_back({CodePickLine(c), c.id});
    return pick;
}

// --- Select Time ---------------------------------------------------------------------------------

struct TimeRun {
    int step = 15;
    bool amPm = true;
    int position = 0;
};

void ShowTime(HWND dialog, const TimeRun& run) {
    const BarTimeText text = PickTimeText(run.position, run.step, run.amPm);
    SetDlgItemTextA(dialog, IDC_SETTIME_HOUR, text.hour.c_str());
    SetDlgItemTextA(dialog, IDC_SETTIME_MINUTE, text.minute.c_str());
    SetDlgItemTextA(dialog, IDC_SETTIME_HALF, text.half.c_str());
}

// The bar's thumb as Windows tracks it (the full 32-bit track position).
int TrackPosition(HWND bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(bar, SB_CTL, &info);
    return info.nTrackPos;
}

INT_PTR CALLBACK TimeProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<TimeRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<TimeRun*>(lparam);
        HWND bar = GetDlgItem(dialog, IDC_SETTIME_BAR);
        SetScrollRange(bar, SB_CTL, 0, PickTimeLastPosition(run->step), FALSE);
        SetScrollPos(bar, SB_CTL, run->position, TRUE);
        ShowTime(dialog, *run);
        return TRUE;
    }
    case WM_HSCROLL: {
        if (!run || !lparam) return TRUE;
        HWND bar = reinterpret_cast<HWND>(lparam);
        run->position = ScrolledBarPosition(run->position, LOWORD(wparam), TrackPosition(bar),
                                            PickTimeLastPosition(run->step), PickTimePage(run->step));
        SetScrollPos(bar, SB_CTL, run->position, TRUE);
        ShowTime(dialog, *run);
        return TRUE;
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDOK: EndDialog(dialog, 1); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- Appointment Time Pattern --------------------------------------------------------------------

struct PatternRun {
    uint8_t pattern[6] = {};
    int units = 1;
    int unitMinutes = 10;
};

void ShowUnits(HWND dialog, const PatternRun& run) {
    SetDlgItemTextA(dialog, IDC_TIMEPATTERN_COUNT, std::to_string(run.units).c_str());
    SetDlgItemTextA(dialog, IDC_TIMEPATTERN_TOTAL, PatternTotalText(run.units, run.unitMinutes).c_str());
    for (int u = 0; u < kPatternMaxUnits; ++u) {
        HWND button = GetDlgItem(dialog, IDC_TIMEPATTERN_UNIT1 + u);
        SetWindowTextA(button, PatternUnitText(PatternCodeOf(run.pattern, u)));
        EnableWindow(button, u < run.units);
    }
}

INT_PTR CALLBACK PatternProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<PatternRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<PatternRun*>(lparam);
        // The bar's positions 0-23 stand for 1-24 units.
        HWND bar = GetDlgItem(dialog, IDC_TIMEPATTERN_UNITS);
        SetScrollRange(bar, SB_CTL, 0, kPatternMaxUnits - 1, FALSE);
        SetScrollPos(bar, SB_CTL, run->units - 1, TRUE);
        ShowUnits(dialog, *run);
        return TRUE;
    }
    case WM_HSCROLL: {
        if (!run || !lparam) return TRUE;
        HWND bar = reinterpret_cast<HWND>(lparam);
        const int position = ScrolledBarPosition(run->units - 1, LOWORD(wparam), TrackPosition(bar), kPatternMaxUnits - 1, 4);
        run->units = position + 1;
        SetScrollPos(bar, SB_CTL, position, TRUE);
        ShowUnits(dialog, *run);
        return TRUE;
    }
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_TIMEPATTERN_UNIT1 && id < IDC_TIMEPATTERN_UNIT1 + kPatternMaxUnits) {
            const int unit = id - IDC_TIMEPATTERN_UNIT1;
            if (unit < run->units) {
                CyclePatternUnit(run->pattern, unit);
                SetDlgItemTextA(dialog, id, PatternUnitText(PatternCodeOf(run->pattern, unit)));
            }
            return TRUE;
        }
        switch (id) {
        case IDOK: EndDialog(dialog, 1); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool PickInitialReasons(HWND owner, HINSTANCE resources, std::vector<uint32_t>* code_ids) {
    ListPick pick = CodePick(IDC_INITREASONS_LIST);
    if (!RunListPick(owner, resources, "DLG_INITREASONS", pick)) return false;
    *code_ids = pick.chosen;
    return true;
}

bool PickTreatmentPlan(HWND owner, HINSTANCE resources, uint32_t patient_id, std::vector<uint32_t>* procedure_ids) {
    ListPick pick;
    pick.list = IDC_TREATPLAN_LIST;
    pick.tabs = kPlanTabs;
    pick.tabCount = 4;
    for (const ProcedureRecord& p : ReadPlannedProcedures(patient_id)) {
        ProcedureCodeRecord code{};
        if (!ReadProcedureCode(p.codeId, &code)) PutText(code.description, kMissingReason);
        pick.lines.push_back({PlannedPickLine(p, code), p.id});
    }
    if (!RunListPick(owner, resources, "DLG_RS_TREATPLAN", pick)) return false;
    *procedure_ids = pick.chosen;
    return true;
}

bool PickMiscReason(HWND owner, HINSTANCE resources, uint32_t* code_id) {
    ListPick pick = CodePick(IDC_MISCREASON_LIST);
    if (!RunListPick(owner, resources, "DLG_MISCREASON", pick)) return false;
    ProcedureCodeRecord code{};
    if (ReadProcedureCode(pick.chosen.front(), &code) && CodeNeedsToothOrSurface(code)) {
        PromptRequest question;
        question.text = kNeedsToothQuestion;
        question.title = kTitleAppointmentBook;
        question.buttons = kButtonsYesNo;
        question.icon = kIconStop;
        if (CurrentPrompter().Show(question) != kAnswerYes) return false;
    }
    *code_id = pick.chosen.front();
    return true;
}

bool PickContinuingCare(HWND owner, HINSTANCE resources, const std::vector<CarePickLine>& lines, uint16_t* type) {
    static const int kCareTabs[] = {80};
    ListPick pick;
    pick.list = IDC_CAREPICK_LIST;
    pick.tabs = kCareTabs;
    pick.tabCount = 1;
    for (const CarePickLine& line : lines) pick.lines.push_back({line.text, line.type});
    if (!RunListPick(owner, resources, "DLG_PICKCARE", pick)) return false;
    *type = static_cast<uint16_t>(pick.chosen.front());
    return true;
}

bool PickTime(HWND owner, HINSTANCE resources, int step_minutes, bool am_pm, int* hour, int* minute) {
    TimeRun run;
    run.step = PickTimeStep(step_minutes);
    run.amPm = am_pm;
    run.position = PickTimePosition(*hour, *minute, run.step);
    if (DialogBoxParamA(resources, "DLG_SETTIME", owner, TimeProc, reinterpret_cast<LPARAM>(&run)) != 1) return false;
    PickTimeResult(run.position, run.step, hour, minute);
    return true;
}

bool EditTimePattern(HWND owner, HINSTANCE resources, uint8_t pattern[6], int* units, int unit_minutes) {
    PatternRun run;
    std::copy(pattern, pattern + 6, run.pattern);
    run.units = ClampPatternUnits(*units);
    run.unitMinutes = unit_minutes;
    if (DialogBoxParamA(resources, "DLG_TIMEPATTERN", owner, PatternProc, reinterpret_cast<LPARAM>(&run)) != 1)
        return false;
    std::copy(run.pattern, run.pattern + 6, pattern);
    *units = run.units;
    return true;
}
