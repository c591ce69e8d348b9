// Window side of Find New Appointment Time and Available Appointment Times.
#include "appointments/find_time_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "appointments/find_time.h"
#include "appointments/find_time_choices.h"
#include "appointments/time_pickers.h"
#include "appointments/appt_pickers_win.h"
#include "controls/date_picker_win.h"
#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dialog_fields_win.h"
#include "suite/prompter.h"
#include "suite/times.h"

namespace {

const char kInvalidRange[] = "Invalid Time Range";
const char kNeedDay[] = "At least one day must be selected";
const char kNoRowSelected[] = "A time block must be selected!";
constexpr int kCmdPickedDate = 1124;  // the date picker's answer
// The search dialog's ends: 1 after "Searc&h", 2 after "Search/&View" (IDCANCEL's number, so
// Cancel and Escape end it with 0).
constexpr int kSearchAndView = 2;
constexpr int kSearchCancelled = 0;

FindChoices choices;
FoundTimeViewer viewer;

int UnitButton(FindDateUnit unit) {
    return unit == FindDateUnit::kMonths ? IDC_FINDTIME_MONTHS : unit == FindDateUnit::kWeeks ? IDC_FINDTIME_WEEKS : IDC_FINDTIME_DAYS;
}

struct BlockRow {
    int provider;   // index into the loaded provider table
    int position;   // 0..5
};

struct SearchRun {
    HINSTANCE instance = nullptr;
    int32_t startDate = 0;
    std::vector<BlockRow> blocks;
    FindTimeRequest request{};
};

struct FoundRun {
    FindTimeRequest* request = nullptr;
    std::vector<FoundTime> page;
    FoundTime chosen{};
    bool withView = false;   // "DLG_FOUND_TIMES1": " &View" and "View &Next"
    bool mayTake = true;     // Select is offered
    bool viewed = false;     // a " &View" was made in this list
    bool fromMenu = false;
};

std::string TrimmedId(const char id[4]) {
    std::string s(id, strnlen(id, 4));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

int BlockMinutes() { return FindBlockMinutes(); }

void ShowLength(HWND dialog) {
    char text[32];
    std::snprintf(text, sizeof text, "%d min", choices.lengthMinutes);
    SetDlgItemTextA(dialog, IDC_FINDTIME_LENGTH, text);
}

void ShowRangeEnd(HWND dialog, int id, int units) {
    SetDlgItemTextA(dialog, id, units >= 0 ? QVN_FormatPackTime(units).c_str() : "");
}

// A range end as typed: empty is open (-1); false for text that is no time.
bool ReadRangeEnd(HWND dialog, int id, int* units) {
    const std::string text = ControlText(dialog, id);
    if (text.find_first_not_of(' ') == std::string::npos) {
        *units = -1;
        return true;
    }
    int hour = 0, minute = 0;
    if (!ReadTimeField(text, BlockMinutes(), &hour, &minute)) return false;
    *units = hour * 12 + minute / 5;
    return true;
}

std::vector<int> Selected(HWND list) {
    std::vector<int> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        if (SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            rows.push_back(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    return rows;
}

void SelectData(HWND list, const std::vector<int>& data) {
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        const int d = static_cast<int>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        if (std::find(data.begin(), data.end(), d) != data.end())
            SendMessageA(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    }
}

void FillResources(HWND list, bool providers) {
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    const size_t n = providers ? practice_tables.providers.size() : practice_tables.operatories.size();
    for (size_t i = 0; i < n; ++i) {
        if (providers && practice_tables.providers[i].listExclusion == 1) continue;
        const char* id = providers ? practice_tables.providers[i].id : practice_tables.operatories[i].id;
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TrimmedId(id).c_str()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    }
}

void FillBlocks(HWND dialog, SearchRun& run) {
    HWND list = GetDlgItem(dialog, IDC_FINDTIME_BLOCKS);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    run.blocks.clear();
    for (size_t p = 0; p < practice_tables.providers.size(); ++p) {
        const ProviderInfo& provider = practice_tables.providers[p];
        for (int b = 0; b < kTimeBlocks; ++b) {
            if (provider.blockNames[b][0] == 0) continue;
            const char* operatory = provider.blockOperatory[b];
            const bool none = operatory[0] == 0 || operatory[0] == '<';
            const std::string row = std::string(provider.blockNames[b], strnlen(provider.blockNames[b], 13)) + " - " +
                                    (none ? std::string("none") : TrimmedId(operatory)) + " - " + TrimmedId(provider.id);
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
            run.blocks.push_back(BlockRow{static_cast<int>(p), b});
        }
    }
}

// The enabling rules of the block, type and assigned-only boxes.
void ApplyModes(HWND dialog) {
    const FindEnables e = FindModeEnables(Checked(dialog, IDC_FINDTIME_BY_BLOCK), Checked(dialog, IDC_FINDTIME_ASSIGNED),
                                          Checked(dialog, IDC_FINDTIME_BY_TYPE));
    for (int id : {IDC_FINDTIME_ALL_PROVIDERS, IDC_FINDTIME_ALL_OPERATORIES, IDC_FINDTIME_PROVIDERS,
                   IDC_FINDTIME_OPERATORIES, IDC_FINDTIME_ASSIGNED, IDC_FINDTIME_BY_TYPE})
        EnableWindow(GetDlgItem(dialog, id), e.lists);
    EnableWindow(GetDlgItem(dialog, IDC_FINDTIME_BLOCKS), e.blocks);
    EnableWindow(GetDlgItem(dialog, IDC_FINDTIME_BY_BLOCK), e.byBlock);
    EnableWindow(GetDlgItem(dialog, IDC_FINDTIME_TYPES), e.types);
}

// The block row's operatory (all when it has none) and provider become the lists' selection.
void SelectBlockResources(HWND dialog, const SearchRun& run) {
    const LRESULT row = SendDlgItemMessageA(dialog, IDC_FINDTIME_BLOCKS, LB_GETCURSEL, 0, 0);
    if (row < 0 || row >= static_cast<LRESULT>(run.blocks.size())) return;
    const BlockRow& block = run.blocks[static_cast<size_t>(row)];
    const ProviderInfo& provider = practice_tables.providers[static_cast<size_t>(block.provider)];
    std::vector<int> operatories;
    for (size_t o = 0; o < practice_tables.operatories.size(); ++o)
        if (provider.blockOperatory[block.position][0] == 0 || provider.blockOperatory[block.position][0] == '<' ||
            std::memcmp(practice_tables.operatories[o].id, provider.blockOperatory[block.position], 4) == 0)
            operatories.push_back(static_cast<int>(o));
    SelectData(GetDlgItem(dialog, IDC_FINDTIME_OPERATORIES), operatories);
    SelectData(GetDlgItem(dialog, IDC_FINDTIME_PROVIDERS), {block.provider});
}

void InitSearchDialog(HWND dialog, SearchRun& run) {
    FillResources(GetDlgItem(dialog, IDC_FINDTIME_PROVIDERS), true);
    FillResources(GetDlgItem(dialog, IDC_FINDTIME_OPERATORIES), false);
    SelectData(GetDlgItem(dialog, IDC_FINDTIME_PROVIDERS), choices.providers);
    SelectData(GetDlgItem(dialog, IDC_FINDTIME_OPERATORIES), choices.operatories);
    for (int d = 0; d < 7; ++d) CheckDlgButton(dialog, IDC_FINDTIME_SUNDAY + d, choices.weekdays[d] ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_FINDTIME_DATE, QVN_fmtDateString2000(run.startDate).c_str());
    CheckRadioButton(dialog, IDC_FINDTIME_DAYS, IDC_FINDTIME_MONTHS, UnitButton(choices.unit));
    ShowRangeEnd(dialog, IDC_FINDTIME_FROM, choices.rangeStart);
    ShowRangeEnd(dialog, IDC_FINDTIME_TO, choices.rangeEnd);
    SendDlgItemMessageA(dialog, IDC_FINDTIME_LENGTH_SPIN, UDM_SETRANGE32, 1, kFindMaxLengthMinutes / BlockMinutes());
    ShowLength(dialog);
    FillBlocks(dialog, run);
    HWND types = GetDlgItem(dialog, IDC_FINDTIME_TYPES);
    SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("<all>"));
    for (int t = 0; t < practice_tables.typeCount; ++t) {
        const char* name = practice_tables.typeNames[t];
        SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(name, strnlen(name, kTypeNameLength)).c_str()));
    }
    SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(choices.type, 0, practice_tables.typeCount)), 0);
    CheckDlgButton(dialog, IDC_FINDTIME_BY_TYPE, choices.byType ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_FINDTIME_ASSIGNED, choices.assignedOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_FINDTIME_BY_BLOCK, choices.byBlock && !run.blocks.empty() ? BST_CHECKED : BST_UNCHECKED);
    if (Checked(dialog, IDC_FINDTIME_BY_BLOCK))
        SendDlgItemMessageA(dialog, IDC_FINDTIME_BLOCKS, LB_SETCURSEL,
                            static_cast<WPARAM>(std::clamp(choices.blockRow, 0, static_cast<int>(run.blocks.size()) - 1)), 0);
    ApplyModes(dialog);
}

void MoveStartDate(HWND dialog, int steps) {
    int32_t date = QVN_ParseDate(ControlText(dialog, IDC_FINDTIME_DATE));
    if (!date) date = QVN_SysDate();
    date = QuickStartDate(date, choices.unit, steps);
    if (date) SetDlgItemTextA(dialog, IDC_FINDTIME_DATE, QVN_fmtDateString2000(date).c_str());
}

void Refuse(HWND dialog, const char* text, int focus) {
    ShowStop(text);
    if (focus) SetFocus(GetDlgItem(dialog, focus));
}

// Reads and checks the dialog in its order; builds the request and keeps the choices. False
// after the message of the first check that failed.
bool ReadSearch(HWND dialog, SearchRun& run) {
    HWND providers = GetDlgItem(dialog, IDC_FINDTIME_PROVIDERS);
    HWND operatories = GetDlgItem(dialog, IDC_FINDTIME_OPERATORIES);
    const bool assigned = Checked(dialog, IDC_FINDTIME_ASSIGNED);
    if (Checked(dialog, IDC_FINDTIME_ALL_PROVIDERS)) SendMessageA(providers, LB_SETSEL, TRUE, -1);
    if (Checked(dialog, IDC_FINDTIME_ALL_OPERATORIES)) SendMessageA(operatories, LB_SETSEL, TRUE, -1);
    std::vector<int> chosen_providers = Selected(providers), chosen_operatories = Selected(operatories);
    const FindSelectionVerdict verdict =
        CheckFindSelection(assigned, static_cast<int>(chosen_providers.size()), static_cast<int>(chosen_operatories.size()));
    if (verdict.message)
        return Refuse(dialog, verdict.message,
                      verdict.focus == FindSelectionFocus::kOperatories ? IDC_FINDTIME_OPERATORIES : IDC_FINDTIME_PROVIDERS),
               false;
    if (verdict.selectAllOperatories) {
        // Shown selected for a moment, so that the user sees what the assignments narrow down.
        SendMessageA(operatories, LB_SETSEL, TRUE, -1);
        UpdateWindow(operatories);
        Sleep(200);
        chosen_operatories = Selected(operatories);
    }
    int from = -1, to = -1;
    if (!ReadRangeEnd(dialog, IDC_FINDTIME_FROM, &from)) return Refuse(dialog, kInvalidRange, IDC_FINDTIME_FROM), false;
    if (!ReadRangeEnd(dialog, IDC_FINDTIME_TO, &to)) return Refuse(dialog, kInvalidRange, IDC_FINDTIME_TO), false;
    if (from >= 0 && to >= 0 && to < from) return Refuse(dialog, kInvalidRange, 0), false;
    bool weekdays[7], any_day = false;
    for (int d = 0; d < 7; ++d) any_day |= weekdays[d] = Checked(dialog, IDC_FINDTIME_SUNDAY + d);
    if (!any_day) return Refuse(dialog, kNeedDay, IDC_FINDTIME_SUNDAY), false;
    const int32_t start = QVN_ParseDate(ControlText(dialog, IDC_FINDTIME_DATE));
    if (!start) {
        SetFocus(GetDlgItem(dialog, IDC_FINDTIME_DATE));
        return false;
    }

    choices.providers = chosen_providers;
    choices.operatories = chosen_operatories;
    std::copy(weekdays, weekdays + 7, choices.weekdays);
    choices.rangeStart = from;
    choices.rangeEnd = to;
    choices.assignedOnly = assigned;
    choices.byBlock = Checked(dialog, IDC_FINDTIME_BY_BLOCK);
    choices.blockRow = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FINDTIME_BLOCKS, LB_GETCURSEL, 0, 0));
    choices.byType = Checked(dialog, IDC_FINDTIME_BY_TYPE);
    choices.type = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FINDTIME_TYPES, CB_GETCURSEL, 0, 0));
    if (choices.type < 0) choices.type = 0;
    run.startDate = start;

    FindTimeRequest& r = run.request;
    r = NewFindTimeRequest(start, choices.lengthMinutes);
    for (int p : chosen_providers) AddFindProvider(&r, practice_tables.providers[static_cast<size_t>(p)].id);
    for (int o : chosen_operatories) AddFindOperatory(&r, practice_tables.operatories[static_cast<size_t>(o)].id);
    for (int d = 0; d < 7; ++d) r.weekdays[d] = weekdays[d] ? 1 : 0;
    r.rangeStart = from;
    r.rangeEnd = to;
    r.assignedOnly = assigned ? 1 : 0;
    if (choices.byBlock && choices.blockRow >= 0 && choices.blockRow < static_cast<int>(run.blocks.size())) {
        const BlockRow& block = run.blocks[static_cast<size_t>(choices.blockRow)];
        for (int i = 0; i < r.providerCount; ++i)
            if (chosen_providers[static_cast<size_t>(i)] == block.provider) r.blockProvider = i;
        r.blockPosition = r.blockProvider >= 0 ? block.position : -1;
    }
    r.blockType = choices.byType && !choices.byBlock ? static_cast<uint8_t>(choices.type) : kFindAnyType;
    return true;
}

void PickRangeEnd(HWND dialog, SearchRun& run, int field) {
    int units = -1, hour = -1, minute = 0;
    if (ReadRangeEnd(dialog, field, &units) && units >= 0) {
        hour = units / 12;
        minute = units % 12 * 5;
    }
    if (PickTime(dialog, run.instance, BlockMinutes(), true, &hour, &minute))
        ShowRangeEnd(dialog, field, hour * 12 + minute / 5);
}

INT_PTR CALLBACK SearchProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<SearchRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitSearchDialog(dialog, *reinterpret_cast<SearchRun*>(lparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->idFrom == IDC_FINDTIME_LENGTH_SPIN && header->code == UDN_DELTAPOS) {
            const auto* change = reinterpret_cast<const NMUPDOWN*>(lparam);
            choices.lengthMinutes = StepLengthMinutes(choices.lengthMinutes, change->iDelta, BlockMinutes());
            ShowLength(dialog);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);  // the text is ours, not the control's
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_FINDTIME_QUICK_1 && id < IDC_FINDTIME_QUICK_1 + 6) {
            MoveStartDate(dialog, id - IDC_FINDTIME_QUICK_1 + 1);
            return TRUE;
        }
        switch (id) {
        case IDOK:
            if (ReadSearch(dialog, *run)) EndDialog(dialog, IDOK);
            return TRUE;
        case IDC_FINDTIME_SEARCH_VIEW:
            if (ReadSearch(dialog, *run)) EndDialog(dialog, kSearchAndView);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, kSearchCancelled);
            return TRUE;
        case IDC_FINDTIME_CLEAR_DAYS:
            for (int d = 0; d < 7; ++d) CheckDlgButton(dialog, IDC_FINDTIME_SUNDAY + d, BST_UNCHECKED);
            return TRUE;
        case IDC_FINDTIME_DAYS:
            choices.unit = FindDateUnit::kDays;
            return TRUE;
        case IDC_FINDTIME_WEEKS:
            choices.unit = FindDateUnit::kWeeks;
            return TRUE;
        case IDC_FINDTIME_MONTHS:
            choices.unit = FindDateUnit::kMonths;
            return TRUE;
        case IDC_FINDTIME_DATE_PICK:
            OpenDatePicker(dialog, run->instance, QVN_ParseDate(ControlText(dialog, IDC_FINDTIME_DATE)), false);
            return TRUE;
        case kCmdPickedDate:
            if (lparam > 0) SetDlgItemTextA(dialog, IDC_FINDTIME_DATE, QVN_fmtDateString2000(static_cast<int32_t>(lparam)).c_str());
            return TRUE;
        case IDC_FINDTIME_FROM_PICK:
            PickRangeEnd(dialog, *run, IDC_FINDTIME_FROM);
            return TRUE;
        case IDC_FINDTIME_TO_PICK:
            PickRangeEnd(dialog, *run, IDC_FINDTIME_TO);
            return TRUE;
        case IDC_FINDTIME_BY_BLOCK:
            if (Checked(dialog, IDC_FINDTIME_BY_BLOCK)) {
                CheckDlgButton(dialog, IDC_FINDTIME_BY_TYPE, BST_UNCHECKED);
                SendDlgItemMessageA(dialog, IDC_FINDTIME_BLOCKS, LB_SETCURSEL, 0, 0);
                SelectBlockResources(dialog, *run);
            }
            ApplyModes(dialog);
            return TRUE;
        case IDC_FINDTIME_BLOCKS:
            if (HIWORD(wparam) == LBN_SELCHANGE) SelectBlockResources(dialog, *run);
            return TRUE;
        case IDC_FINDTIME_BY_TYPE:
            if (Checked(dialog, IDC_FINDTIME_BY_TYPE)) SendDlgItemMessageA(dialog, IDC_FINDTIME_BLOCKS, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            ApplyModes(dialog);
            return TRUE;
        case IDC_FINDTIME_ASSIGNED:
            ApplyModes(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    }
    default:
        return FALSE;
    }
}

// Runs the next page; false (after the message that ended the search) when it found nothing.
bool NextPage(HWND dialog, FoundRun& run) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const FindEnd end = SearchFreeTimes(run.request, kFindPageSize, &run.page);
    SetCursor(old_cursor);
    if (run.page.empty()) {
        ShowStop(FindEndMessage(end));
        return false;
    }
    HWND list = GetDlgItem(dialog, IDC_FOUND_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < run.page.size(); ++i) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FoundTimeRow(run.page[i]).c_str()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    return true;
}

// The found time of a row of the list; null for none.
const FoundTime* RowTime(HWND dialog, const FoundRun& run, LRESULT row) {
    if (row < 0) return nullptr;
    const LRESULT at = SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (at < 0 || at >= static_cast<LRESULT>(run.page.size())) return nullptr;
    return &run.page[static_cast<size_t>(at)];
}

// " &View": the selected found time on the sheet.
void ViewSelected(HWND dialog, FoundRun& run) {
    const FoundTime* found = RowTime(dialog, run, SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_GETCURSEL, 0, 0));
    if (!found) {
        ShowStop(kNoRowSelected);
        return;
    }
    if (viewer.view && viewer.view(*found, false)) run.viewed = true;
}

// "View &Next": the next row selected and viewed.
void ViewNext(HWND dialog, FoundRun& run) {
    const char* message = nullptr;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_GETCOUNT, 0, 0));
    const int row = NextFoundRow(count, static_cast<int>(SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_GETCURSEL, 0, 0)),
                                 &message);
    if (row < 0) {
        ShowStop(message);
        return;
    }
    SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ViewSelected(dialog, run);
}

// Select: the chosen time, left on the sheet after the plain search or after a view.
void TakeSelected(HWND dialog, FoundRun& run) {
    if (!run.mayTake) return;
    const FoundTime* found = RowTime(dialog, run, SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_GETCURSEL, 0, 0));
    if (!found) {
        ShowStop(kNoRowSelected);
        return;
    }
    run.chosen = *found;
    // The sheet is left showing the time taken, from the menu and from the appointment dialog
    // alike: after the plain search, and after a look with View (quietly: a time in an operatory
    // the view leaves out is still taken). Saved where it was found, the appointment is then on a
    // shown day, and the dialog's OK selects it there.
    if ((!run.withView || run.viewed) && viewer.view) viewer.view(run.chosen, true);
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK FoundProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<FoundRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        const auto* r = reinterpret_cast<const FoundRun*>(lparam);
        const int tabs[] = {20, 150};
        SendDlgItemMessageA(dialog, IDC_FOUND_LIST, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabs));
        if (r->withView) {
            // In the lower right corner of the screen, clear of most of the sheet it shows times on.
            RECT work{}, own{};
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            GetWindowRect(dialog, &own);
            SetWindowPos(dialog, nullptr, work.right - (own.right - own.left), work.bottom - (own.bottom - own.top), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        }
        EnableWindow(GetDlgItem(dialog, IDOK), r->mayTake);
        if (!r->mayTake) SendMessageA(dialog, DM_SETDEFID, IDC_FOUND_VIEW, 0);
        PostMessageA(dialog, WM_COMMAND, IDC_FOUND_MORE, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_FOUND_MORE:
            if (!NextPage(dialog, *run)) EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_FOUND_VIEW:
            if (run->withView) ViewSelected(dialog, *run);
            return TRUE;
        case IDC_FOUND_VIEW_NEXT:
            if (run->withView) ViewNext(dialog, *run);
            return TRUE;
        case IDC_FOUND_LIST:
            if (HIWORD(wparam) != LBN_DBLCLK) return FALSE;
            if (run->mayTake) TakeSelected(dialog, *run);
            else ViewSelected(dialog, *run);
            return TRUE;
        case IDOK:
            TakeSelected(dialog, *run);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// Runs one result list; true when a time was taken into found.chosen. The sheet goes back to
// what it showed before the list's first view unless a time was taken.
bool RunFoundTimes(HWND owner, HINSTANCE instance, FoundRun& found, bool hide_owner) {
    if (hide_owner) ShowWindow(owner, SW_HIDE);  // so that the sheet behind it can be seen
    const bool taken = DialogBoxParamA(instance, found.withView ? "DLG_FOUND_TIMES1" : "DLG_FOUND_TIMES", owner, FoundProc,
                                       reinterpret_cast<LPARAM>(&found)) == IDOK;
    if (taken) {
        if (viewer.keep) viewer.keep();
    } else if (viewer.restore) {
        viewer.restore();
    }
    if (hide_owner) {
        ShowWindow(owner, SW_SHOW);
        SetForegroundWindow(owner);
    }
    return taken;
}

}  // namespace

void SetFoundTimeViewer(const FoundTimeViewer& v) { viewer = v; }

bool FindNewAppointmentTime(HWND owner, HINSTANCE instance, AppointmentRecord* appointment, bool from_menu,
                            int32_t earliest) {
    ChoicesFromAppointment(*appointment, &choices);
    SearchRun search;
    search.instance = instance;
    search.startDate = std::max(QVN_SysDate() + 1, earliest);
    for (;;) {
        const INT_PTR end = DialogBoxParamA(instance, "DLG_FIND_TIME", owner, SearchProc, reinterpret_cast<LPARAM>(&search));
        if (end != IDOK && end != kSearchAndView) return false;
        FoundRun found;
        found.request = &search.request;
        found.withView = end == kSearchAndView;
        found.fromMenu = from_menu;
        // A look from the menu is for looking only.
        found.mayTake = !(found.withView && from_menu);
        if (!RunFoundTimes(owner, instance, found, found.withView && !from_menu)) continue;
        const FoundTime& f = found.chosen;
        appointment->date = f.date;
        appointment->hour = static_cast<uint8_t>(f.start / 12);
        appointment->minute = static_cast<uint8_t>(f.start % 12 * 5);
        appointment->operatoryMarker = kMarkerOperatory;
        std::memcpy(appointment->operatory, f.operatory, 4);
        appointment->providerMarker = kMarkerProvider;
        std::memcpy(appointment->provider, f.provider, 4);
        return true;
    }
}
