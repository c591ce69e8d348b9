// The Time Block Edit dialog: the bars and their texts, the OK checks through the prompter,
// and the write of what it ended with.
#include "views/block_edit_win.h"

#include <cstring>

#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "views/block_edit.h"
#include "views/sheet_text.h"

namespace {

struct BlockEditRun {
    TimeBlockRecord block;
    int32_t date = 0;
    char operatory[4] = {};
    int units = 2;
    int start = -1, end = -1;  // what the dialog ended with
};

struct Bar {
    int bar, hour, minute, half;
};
constexpr Bar kStartBar{IDC_CHANGETB_START, IDC_CHANGETB_START_HOUR, IDC_CHANGETB_START_MINUTE, IDC_CHANGETB_START_HALF};
constexpr Bar kEndBar{IDC_CHANGETB_END, IDC_CHANGETB_END_HOUR, IDC_CHANGETB_END_MINUTE, IDC_CHANGETB_END_HALF};

void ShowBarTime(HWND dialog, const Bar& bar, int units) {
    const int position = GetScrollPos(GetDlgItem(dialog, bar.bar), SB_CTL);
    const BarTimeText text = BlockBarText(BlockBarTime(position, units));
    SetDlgItemTextA(dialog, bar.hour, text.hour.c_str());
    SetDlgItemTextA(dialog, bar.minute, text.minute.c_str());
    SetDlgItemTextA(dialog, bar.half, text.half.c_str());
}

void SetUpBar(HWND dialog, const Bar& bar, int time, int units) {
    HWND control = GetDlgItem(dialog, bar.bar);
    SetScrollRange(control, SB_CTL, 0, BlockBarLastPosition(units), FALSE);
    SetScrollPos(control, SB_CTL, BlockBarPositionOf(time, units), TRUE);
    ShowBarTime(dialog, bar, units);
}

int BarTime(HWND dialog, const Bar& bar, int units) {
    return BlockBarTime(GetScrollPos(GetDlgItem(dialog, bar.bar), SB_CTL), units);
}

void OnScroll(HWND dialog, HWND control, int request, const BlockEditRun& run) {
    const Bar& bar = GetDlgCtrlID(control) == kEndBar.bar ? kEndBar : kStartBar;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(control, SB_CTL, &info);
    const int position = ScrolledBarPosition(info.nPos, request, info.nTrackPos, BlockBarLastPosition(run.units),
                                             BlockBarPage(run.units));
    SetScrollPos(control, SB_CTL, position, TRUE);
    ShowBarTime(dialog, bar, run.units);
}

// Centred on the mouse, kept on the screen.
void CentreOnMouse(HWND dialog) {
    POINT mouse{};
    GetCursorPos(&mouse);
    RECT r{};
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    int x = mouse.x - width / 2, y = mouse.y - height / 2;
    const int screen_width = GetSystemMetrics(SM_CXSCREEN), screen_height = GetSystemMetrics(SM_CYSCREEN);
    if (x + width > screen_width) x = screen_width - width;
    if (y + height > screen_height) y = screen_height - height;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void EndWith(HWND dialog, BlockEditRun* run, int start, int end) {
    run->start = start;
    run->end = end;
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK BlockEditProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<BlockEditRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        run = reinterpret_cast<BlockEditRun*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        SetWindowTextA(dialog, BlockCaption(run->block, false).c_str());
        // A block without times that date (-1 or -2) starts both bars at midday.
        const bool timed = run->block.start >= 0;
        SetUpBar(dialog, kStartBar, timed ? run->block.start : -1, run->units);
        SetUpBar(dialog, kEndBar, timed ? run->block.end : -1, run->units);
        CentreOnMouse(dialog);
        return TRUE;
    }
    case WM_HSCROLL:
        if (run && lparam) OnScroll(dialog, reinterpret_cast<HWND>(lparam), LOWORD(wparam), *run);
        return TRUE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDOK: {
            const int start = BarTime(dialog, kStartBar, run->units), end = BarTime(dialog, kEndBar, run->units);
            const DayColumn* column = ShownColumnOf(run->date, run->operatory);
            const int index = column ? BlockIndexIn(*column, run->block) : -1;
            if (CheckBlockEditTimes(column, index, start, end)) EndWith(dialog, run, start, end);
            return TRUE;
        }
        case IDC_CHANGETB_DEFAULT: EndWith(dialog, run, kBlockToDefault, kBlockToDefault); return TRUE;
        case IDC_CHANGETB_CLEAR: EndWith(dialog, run, kBlockClearDay, kBlockClearDay); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

bool EditBlockForDay(HWND owner, HINSTANCE resources, const TimeBlockRecord& block, int32_t date,
                     const char operatory[4]) {
    BlockEditRun run;
    run.block = block;  // a copy: the shown day is reloaded after the write
    run.date = date;
    std::memcpy(run.operatory, operatory, 4);
    run.units = practice_tables.blockUnits > 0 ? practice_tables.blockUnits : 1;
    const INT_PTR result =
        DialogBoxParamA(resources, "DLG_CHANGETB", owner, BlockEditProc, reinterpret_cast<LPARAM>(&run));
    if (result != 1) return false;
    return ApplyBlockEdit(run.block, date, run.start, run.end);
}
