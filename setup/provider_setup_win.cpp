// The provider setup dialogs: thin procedures over the edit buffer of setup/provider_setup and
// the checks of setup/block_settings.
#include "setup/provider_setup_win.h"

#include <cstring>
#include <string>

#include "appointments/appt_pickers_win.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "setup/day_times_win.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/window_services_win.h"
#include "views/block_edit.h"
#include "views/calendar.h"
#include "views/calendar_win.h"

namespace {

const char kNoProviderSelected[] = "No Provider Selected!";
const char kDeleteBlockQuestion[] = "Delete Time Block?";

// The wait cursor for work that may wait on another workstation's lock.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

// The selected row's item data of a list box, or -1.
int SelectedData(HWND dialog, int list) {
    const LRESULT row = SendDlgItemMessageA(dialog, list, LB_GETCURSEL, 0, 0);
    if (row == LB_ERR) return -1;
    return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

void AddRow(HWND dialog, int list, const std::string& text, int data) {
    const LRESULT row = SendDlgItemMessageA(dialog, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessageA(dialog, list, LB_SETITEMDATA, static_cast<WPARAM>(row), data);
}

std::string IdText(const char id[4]) { return std::string(id, 4); }

// --- The chooser ------------------------------------------------------------------------------

struct ChooserRun {
    HINSTANCE resources;
    HWND owner;
};

bool ChosenProvider(HWND dialog, char id[4]) {
    const int index = SelectedData(dialog, IDC_PROVSEL_LIST);
    if (index < 0 || index >= static_cast<int>(practice_tables.providers.size())) {
        ShowStop(kNoProviderSelected);
        return false;
    }
    std::memcpy(id, practice_tables.providers[static_cast<size_t>(index)].id, 4);
    return true;
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<ChooserRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        for (size_t i = 0; i < practice_tables.providers.size(); ++i)
            if (practice_tables.providers[i].listExclusion != 1)
                AddRow(dialog, IDC_PROVSEL_LIST, IdText(practice_tables.providers[i].id), static_cast<int>(i));
        return TRUE;
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        char provider[4];
        if (id == IDOK) {
            if (ChosenProvider(dialog, provider)) ProviderSetup(dialog, run->resources, provider);
            return TRUE;
        }
        if (id == IDC_PROVSEL_SCHEDULE || (id == IDC_PROVSEL_LIST && HIWORD(wparam) == LBN_DBLCLK)) {
            if (ChosenProvider(dialog, provider)) {
                const std::string text(provider, 4);
                OpenCalendar(run->owner, run->resources, QVN_SysDate(), false, kCalendarProvider, text.c_str());
            }
            return TRUE;
        }
        if (id == IDCANCEL) {
            AnnounceBlockChange();
            if (run->owner) PostMessageA(run->owner, WM_COMMAND, CMD_REFRESH, 0);
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

// --- The block dialog -------------------------------------------------------------------------

struct BlockRun {
    HINSTANCE resources;
    const ProviderSetupBuffer* buffer;
    BlockSettings settings;
};

int StartText(int d) { return IDC_SETBLOCK_START + 2 * d; }
int EndText(int d) { return IDC_SETBLOCK_START + 2 * d + 1; }
int StartPick(int d) { return IDC_SETBLOCK_START_PICK + 2 * d; }
int EndPick(int d) { return IDC_SETBLOCK_START_PICK + 2 * d + 1; }

std::string TimeText(int32_t time) {
    if (time < 0) return "";
    const BarTimeText t = BlockBarText(time);
    return t.hour + ":" + t.minute + " " + t.half;
}

void ShowWeekday(HWND dialog, const BlockSettings& s, int d) {
    CheckDlgButton(dialog, IDC_SETBLOCK_SUNDAY + d, s.ticked[d] ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, StartPick(d)), s.ticked[d]);
    EnableWindow(GetDlgItem(dialog, EndPick(d)), s.ticked[d]);
    SetDlgItemTextA(dialog, StartText(d), TimeText(s.block.start[d]).c_str());
    SetDlgItemTextA(dialog, EndText(d), TimeText(s.block.end[d]).c_str());
}

void PickWeekdayTime(HWND dialog, BlockRun* run, int d, bool end) {
    int32_t& time = end ? run->settings.block.end[d] : run->settings.block.start[d];
    int hour = time >= 0 ? time / 12 : -1, minute = time >= 0 ? (time % 12) * 5 : 0;
    const int step = practice_tables.blockMinutes > 0 ? practice_tables.blockMinutes : 5;
    if (!PickTime(dialog, run->resources, step, true, &hour, &minute)) return;
    time = hour * 12 + minute / 5;
    ShowWeekday(dialog, run->settings, d);
}

int FocusControl(const BlockRefusal& r) {
    switch (r.focus) {
    case BlockFocus::kName: return IDC_SETBLOCK_NAME;
    case BlockFocus::kStartButton: return StartPick(r.weekday);
    case BlockFocus::kEndButton: return EndPick(r.weekday);
    case BlockFocus::kSundayBox: return IDC_SETBLOCK_SUNDAY;
    case BlockFocus::kOperatory: return IDC_SETBLOCK_OPERATORY;
    }
    return IDC_SETBLOCK_NAME;
}

void ReadBlockDialog(HWND dialog, BlockSettings* s) {
    GetDlgItemTextA(dialog, IDC_SETBLOCK_NAME, s->block.name, sizeof s->block.name);
    for (int d = 0; d < 7; ++d) s->ticked[d] = IsDlgButtonChecked(dialog, IDC_SETBLOCK_SUNDAY + d) == BST_CHECKED;
    const LRESULT op = SendDlgItemMessageA(dialog, IDC_SETBLOCK_OPERATORY, CB_GETCURSEL, 0, 0);
    std::memset(s->block.operatory, 0, 4);  // "<none>"
    if (op > 0 && static_cast<size_t>(op) <= practice_tables.operatories.size())
        std::memcpy(s->block.operatory, practice_tables.operatories[static_cast<size_t>(op - 1)].id, 4);
    s->block.colour = static_cast<uint32_t>(SendDlgItemMessageA(dialog, IDC_SETBLOCK_COLOUR, kColorButtonGetColour, 0, 0));
    const LRESULT type = SendDlgItemMessageA(dialog, IDC_SETBLOCK_TYPE, CB_GETCURSEL, 0, 0);
    s->block.type[0] = static_cast<uint8_t>(type > 0 ? type : 0);
}

void InitBlockDialog(HWND dialog, const BlockSettings& s) {
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_NAME, EM_LIMITTEXT, kBlockNameLength, 0);
    SetDlgItemTextA(dialog, IDC_SETBLOCK_NAME, s.block.name);
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_COLOUR, kColorButtonSetColour, 0, static_cast<LPARAM>(s.block.colour));
    for (int d = 0; d < 7; ++d) ShowWeekday(dialog, s, d);
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_OPERATORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("<none>"));
    int op_row = 0;
    for (size_t i = 0; i < practice_tables.operatories.size(); ++i) {
        const std::string id = IdText(practice_tables.operatories[i].id);
        SendDlgItemMessageA(dialog, IDC_SETBLOCK_OPERATORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(id.c_str()));
        if (std::memcmp(practice_tables.operatories[i].id, s.block.operatory, 4) == 0) op_row = static_cast<int>(i) + 1;
    }
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_OPERATORY, CB_SETCURSEL, static_cast<WPARAM>(op_row), 0);
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("<all>"));
    for (int t = 0; t < practice_tables.typeCount; ++t) {
        const std::string name(practice_tables.typeNames[t], strnlen(practice_tables.typeNames[t], kTypeNameLength));
        SendDlgItemMessageA(dialog, IDC_SETBLOCK_TYPE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    const int type = s.block.type[0] <= practice_tables.typeCount ? s.block.type[0] : 0;
    SendDlgItemMessageA(dialog, IDC_SETBLOCK_TYPE, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
}

INT_PTR CALLBACK BlockProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<BlockRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitBlockDialog(dialog, reinterpret_cast<BlockRun*>(lparam)->settings);
        return TRUE;
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_SETBLOCK_SUNDAY && id < IDC_SETBLOCK_SUNDAY + 7) {
            const int d = id - IDC_SETBLOCK_SUNDAY;
            run->settings.ticked[d] = IsDlgButtonChecked(dialog, id) == BST_CHECKED;
            if (!run->settings.ticked[d]) run->settings.block.start[d] = run->settings.block.end[d] = -1;
            ShowWeekday(dialog, run->settings, d);
            return TRUE;
        }
        if (id >= IDC_SETBLOCK_START_PICK && id < IDC_SETBLOCK_START_PICK + 14) {
            PickWeekdayTime(dialog, run, (id - IDC_SETBLOCK_START_PICK) / 2, (id - IDC_SETBLOCK_START_PICK) % 2 == 1);
            return TRUE;
        }
        if (id == IDOK) {
            BlockSettings s = run->settings;
            ReadBlockDialog(dialog, &s);
            const BlockRefusal refusal = CheckBlockSettings(s, run->buffer->blocks, run->buffer->id);
            if (refusal.text) {
                ShowStop(refusal.text);
                SetFocus(GetDlgItem(dialog, FocusControl(refusal)));
                return TRUE;
            }
            run->settings = s;
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

// --- The provider dialog ----------------------------------------------------------------------

struct ProviderRun {
    HINSTANCE resources;
    ProviderSetupBuffer buffer;
};

void ShowProviderWeekday(HWND dialog, const ProviderSetupBuffer& b, int d) {
    const bool works = WorksWeekday(b, d);
    CheckDlgButton(dialog, IDC_PROVSET_SUNDAY + d, works ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_PROVSET_SUNDAY_HOURS + d), works);
}

void FillBlockList(HWND dialog, const ProviderSetupBuffer& b) {
    SendDlgItemMessageA(dialog, IDC_PROVSET_BLOCKS, LB_RESETCONTENT, 0, 0);
    for (int k : NamedBlocks(b)) AddRow(dialog, IDC_PROVSET_BLOCKS, b.blocks[k].name, k);
    EnableWindow(GetDlgItem(dialog, IDC_PROVSET_ADD), CanAddBlock(b));
    EnableWindow(GetDlgItem(dialog, IDC_PROVSET_EDIT), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_PROVSET_DELETE), FALSE);
}

void FillAliasList(HWND dialog, const ProviderSetupBuffer& b) {
    for (size_t i = 0; i < practice_tables.providers.size(); ++i) {
        const ProviderInfo& p = practice_tables.providers[i];
        if (p.listExclusion == 1 || std::memcmp(p.id, b.id, 4) == 0) continue;
        AddRow(dialog, IDC_PROVSET_ALIASES, IdText(p.id), static_cast<int>(i));
        const LRESULT row = SendDlgItemMessageA(dialog, IDC_PROVSET_ALIASES, LB_GETCOUNT, 0, 0) - 1;
        for (int a = 0; a < b.aliasCount; ++a)
            if (std::memcmp(b.aliases[a], p.id, 4) == 0)
                SendDlgItemMessageA(dialog, IDC_PROVSET_ALIASES, LB_SETSEL, TRUE, row);
    }
}

void ReadAliases(HWND dialog, ProviderSetupBuffer* b) {
    std::memset(b->aliases, 0, sizeof b->aliases);
    b->aliasCount = 0;
    const LRESULT rows = SendDlgItemMessageA(dialog, IDC_PROVSET_ALIASES, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows && b->aliasCount < kProviderAliases; ++row) {
        if (SendDlgItemMessageA(dialog, IDC_PROVSET_ALIASES, LB_GETSEL, static_cast<WPARAM>(row), 0) <= 0) continue;
        const LRESULT index = SendDlgItemMessageA(dialog, IDC_PROVSET_ALIASES, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
        if (index < 0 || static_cast<size_t>(index) >= practice_tables.providers.size()) continue;
        std::memcpy(b->aliases[b->aliasCount++], practice_tables.providers[static_cast<size_t>(index)].id, 4);
    }
}

// The weekday's hours through the day dialog, a time required; false on Cancel.
bool EditDay(HWND dialog, ProviderRun* run, int d) {
    int32_t times[6];
    std::memcpy(times, run->buffer.hours[d], sizeof times);
    if (!EditDayTimes(dialog, run->resources, times, true)) return false;
    std::memcpy(run->buffer.hours[d], times, sizeof times);
    return true;
}

void EditBlockAt(HWND dialog, ProviderRun* run, int position) {
    if (position < 0 || position >= kTimeBlocks) return;
    BlockSettings s = BlockSettingsOf(run->buffer, position);
    if (!EditTimeBlock(dialog, run->resources, run->buffer, &s)) return;
    StoreBlockSettings(run->buffer, s);
    FillBlockList(dialog, run->buffer);
}

INT_PTR CALLBACK ProviderProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<ProviderRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        run = reinterpret_cast<ProviderRun*>(lparam);
        SetWindowTextA(dialog, ProviderSetupCaption(run->buffer.id).c_str());
        for (int d = 0; d < 7; ++d) ShowProviderWeekday(dialog, run->buffer, d);
        FillBlockList(dialog, run->buffer);
        FillAliasList(dialog, run->buffer);
        SendDlgItemMessageA(dialog, IDC_PROVSET_COLOUR, kColorButtonSetColour, 0, static_cast<LPARAM>(run->buffer.colour));
        return TRUE;
    }
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_PROVSET_SUNDAY && id < IDC_PROVSET_SUNDAY + 7) {
            const int d = id - IDC_PROVSET_SUNDAY;
            if (IsDlgButtonChecked(dialog, id) != BST_CHECKED) ClearWeekday(run->buffer, d);
            else EditDay(dialog, run, d);
            ShowProviderWeekday(dialog, run->buffer, d);
            return TRUE;
        }
        if (id >= IDC_PROVSET_SUNDAY_HOURS && id < IDC_PROVSET_SUNDAY_HOURS + 7) {
            EditDay(dialog, run, id - IDC_PROVSET_SUNDAY_HOURS);
            ShowProviderWeekday(dialog, run->buffer, id - IDC_PROVSET_SUNDAY_HOURS);
            return TRUE;
        }
        switch (id) {
        case IDC_PROVSET_BLOCKS:
            if (HIWORD(wparam) == LBN_SELCHANGE) {
                const bool selected = SelectedData(dialog, IDC_PROVSET_BLOCKS) >= 0;
                EnableWindow(GetDlgItem(dialog, IDC_PROVSET_EDIT), selected);
                EnableWindow(GetDlgItem(dialog, IDC_PROVSET_DELETE), selected);
            } else if (HIWORD(wparam) == LBN_DBLCLK) {
                EditBlockAt(dialog, run, SelectedData(dialog, IDC_PROVSET_BLOCKS));
            }
            return TRUE;
        case IDC_PROVSET_ADD: {
            const int slot = FreeBlockSlot(run->buffer);
            if (slot < 0) return TRUE;
            BlockSettings s = BlockSettingsOf(run->buffer, slot);
            for (int d = 0; d < 7; ++d) s.block.start[d] = s.block.end[d] = -1;
            if (EditTimeBlock(dialog, run->resources, run->buffer, &s)) {
                StoreBlockSettings(run->buffer, s);
                FillBlockList(dialog, run->buffer);
            }
            return TRUE;
        }
        case IDC_PROVSET_EDIT:
            EditBlockAt(dialog, run, SelectedData(dialog, IDC_PROVSET_BLOCKS));
            return TRUE;
        case IDC_PROVSET_DELETE: {
            const int position = SelectedData(dialog, IDC_PROVSET_BLOCKS);
            if (position < 0) return TRUE;
            PromptRequest question{kDeleteBlockQuestion, kTitleAppointmentBook, kButtonsOkCancel, kIconQuestion};
            if (CurrentPrompter().Show(question) != kAnswerOk) return TRUE;
            DeleteBlock(run->buffer, position);
            FillBlockList(dialog, run->buffer);
            return TRUE;
        }
        case IDOK:
            ReadAliases(dialog, &run->buffer);
            run->buffer.colour =
                static_cast<uint32_t>(SendDlgItemMessageA(dialog, IDC_PROVSET_COLOUR, kColorButtonGetColour, 0, 0));
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

}  // namespace

bool EditTimeBlock(HWND owner, HINSTANCE resources, const ProviderSetupBuffer& buffer, BlockSettings* settings) {
    RegisterColorButtonClass(resources);
    BlockRun run{resources, &buffer, *settings};
    if (DialogBoxParamA(resources, "DLG_SET_BLOCK", owner, BlockProc, reinterpret_cast<LPARAM>(&run)) != 1) return false;
    *settings = run.settings;
    return true;
}

int ProviderSetup(HWND owner, HINSTANCE resources, const char id[4]) {
    RegisterColorButtonClass(resources);
    ProviderRun run{resources, {}};
    ProviderRecordHold hold;
    {
        WaitCursor wait;
        if (hold.Open(id, &run.buffer) != ProviderRecordHold::Opened::kOpened) return 0;
    }
    if (DialogBoxParamA(resources, "DLG_PROV_SETUP", owner, ProviderProc, reinterpret_cast<LPARAM>(&run)) != 1) {
        hold.Release();
        return 0;
    }
    WaitCursor wait;
    return hold.Save(run.buffer) ? 1 : 0;
}

void ProviderChooser(HWND owner, HINSTANCE resources) {
    ChooserRun run{resources, owner};
    DialogBoxParamA(resources, "DLG_PROV_SELECT", owner, ChooserProc, reinterpret_cast<LPARAM>(&run));
}
