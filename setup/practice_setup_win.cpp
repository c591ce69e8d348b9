// The practice setup dialog: the weekday boxes with their day dialogs, the block sizes, the
// three default lists, the colour buttons, the bar orientation, the time column and the amount
// choice. OK and the record's write run in setup/practice_setup.
#include "setup/practice_setup_win.h"

#include <cstring>
#include <string>

#include "appointments/appt_edit.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "setup/day_times_win.h"
#include "setup/practice_setup.h"
#include "suite/dialog_fields_win.h"
#include "suite/window_services_win.h"

namespace {

const char* const kScheduleTexts[] = {"FIXED", "OPEN", "ASAP"};

struct PracticeSetupRun {
    HINSTANCE instance = nullptr;
    PracticeSetupEdit* edit = nullptr;
    PracticeSetupSettings settings;
};

void SetColour(HWND dialog, int id, uint32_t colour) {
    SendDlgItemMessageA(dialog, id, kColorButtonSetColour, 0, static_cast<LPARAM>(colour));
}

uint32_t ColourOf(HWND dialog, int id) {
    return static_cast<uint32_t>(SendDlgItemMessageA(dialog, id, kColorButtonGetColour, 0, 0));
}

void FillList(HWND dialog, int id, const std::vector<std::string>& texts, int selected) {
    for (const std::string& t : texts) SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t.c_str()));
    const int count = static_cast<int>(texts.size());
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, selected >= 0 && selected < count ? selected : 0, 0);
}

void FillDefaultLists(HWND dialog, const PracticeSetupSettings& s) {
    ApptEdit statuses;
    BuildStatusList(practice_tables.statuses, &statuses);
    FillList(dialog, IDC_PRACSETUP_STATUS, statuses.statusTexts, s.defaultStatus);
    FillList(dialog, IDC_PRACSETUP_SCHEDULE, {std::begin(kScheduleTexts), std::end(kScheduleTexts)}, s.defaultSchedule);
    std::vector<std::string> types = {"<none>"};
    for (int i = 0; i < practice_tables.typeCount; ++i)
        types.emplace_back(practice_tables.typeNames[i], strnlen(practice_tables.typeNames[i], kTypeNameLength));
    FillList(dialog, IDC_PRACSETUP_TYPE, types, s.defaultType);
}

void Init(HWND dialog, PracticeSetupRun& run) {
    const PracticeSetupEdit& edit = *run.edit;
    for (int d = 0; d < 7; ++d) {
        const bool works = edit.hours[d][0] >= 0;
        CheckDlgButton(dialog, IDC_PRACSETUP_DAY1 + d, works ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_PRACSETUP_DAYTIMES1 + d), works);
    }
    const int choice = BlockSizeChoice(edit.openedBlockUnits);
    CheckRadioButton(dialog, IDC_PRACSETUP_BLOCK5, IDC_PRACSETUP_BLOCK30, IDC_PRACSETUP_BLOCK5 + (choice < 0 ? 1 : choice));
    const PracticeSetupSettings& s = run.settings;
    CheckRadioButton(dialog, IDC_PRACSETUP_HORIZONTAL, IDC_PRACSETUP_VERTICAL,
                     s.orientation == kButtonBarVertical ? IDC_PRACSETUP_VERTICAL : IDC_PRACSETUP_HORIZONTAL);
    CheckRadioButton(dialog, IDC_PRACSETUP_ALWAYS_CALCULATE, IDC_PRACSETUP_AMOUNT_ENTERED,
                     s.alwaysCalculate ? IDC_PRACSETUP_ALWAYS_CALCULATE : IDC_PRACSETUP_AMOUNT_ENTERED);
    FillDefaultLists(dialog, s);
    SetColour(dialog, IDC_PRACSETUP_OPEN_COLOUR, s.openColour);
    SetColour(dialog, IDC_PRACSETUP_CLOSED_COLOUR, s.closedColour);
    CheckDlgButton(dialog, IDC_PRACSETUP_TIME_AT_RIGHT, ReadViewTimeAtRight() ? BST_CHECKED : BST_UNCHECKED);
}

// Unticking clears the weekday; ticking asks for its hours and unticks again on Cancel.
void WeekdayClicked(HWND dialog, PracticeSetupRun& run, int d) {
    int32_t* times = run.edit->hours[d];
    if (!Checked(dialog, IDC_PRACSETUP_DAY1 + d)) {
        for (int n = 0; n < 6; ++n) times[n] = -1;
        EnableWindow(GetDlgItem(dialog, IDC_PRACSETUP_DAYTIMES1 + d), FALSE);
        return;
    }
    const bool given = EditDayTimes(dialog, run.instance, times, true);
    CheckDlgButton(dialog, IDC_PRACSETUP_DAY1 + d, given ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, IDC_PRACSETUP_DAYTIMES1 + d), given);
}

void Accept(HWND dialog, PracticeSetupRun& run) {
    PracticeSetupSettings& s = run.settings;
    for (int i = 0; i < kBlockSizeChoices; ++i)
        if (Checked(dialog, IDC_PRACSETUP_BLOCK5 + i)) run.edit->blockUnits = kBlockSizeUnits[i];
    s.defaultStatus = static_cast<int>(SendDlgItemMessageA(dialog, IDC_PRACSETUP_STATUS, CB_GETCURSEL, 0, 0));
    s.defaultSchedule = static_cast<int>(SendDlgItemMessageA(dialog, IDC_PRACSETUP_SCHEDULE, CB_GETCURSEL, 0, 0));
    s.defaultType = static_cast<int>(SendDlgItemMessageA(dialog, IDC_PRACSETUP_TYPE, CB_GETCURSEL, 0, 0));
    s.openColour = ColourOf(dialog, IDC_PRACSETUP_OPEN_COLOUR);
    s.closedColour = ColourOf(dialog, IDC_PRACSETUP_CLOSED_COLOUR);
    s.orientation = Checked(dialog, IDC_PRACSETUP_VERTICAL) ? kButtonBarVertical : kButtonBarHorizontal;
    s.alwaysCalculate = Checked(dialog, IDC_PRACSETUP_ALWAYS_CALCULATE);
    AcceptPracticeSetup(s, run.edit);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK PracticeSetupProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<PracticeSetupRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Init(dialog, *reinterpret_cast<PracticeSetupRun*>(lparam));
        return TRUE;
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam);
        if (id >= IDC_PRACSETUP_DAY1 && id < IDC_PRACSETUP_DAY1 + 7) {
            if (HIWORD(wparam) == BN_CLICKED) WeekdayClicked(dialog, *run, id - IDC_PRACSETUP_DAY1);
            return TRUE;
        }
        if (id >= IDC_PRACSETUP_DAYTIMES1 && id < IDC_PRACSETUP_DAYTIMES1 + 7) {
            EditDayTimes(dialog, run->instance, run->edit->hours[id - IDC_PRACSETUP_DAYTIMES1], true);
            return TRUE;
        }
        switch (id) {
        case IDC_PRACSETUP_DEFAULT_COLOURS:
            SetColour(dialog, IDC_PRACSETUP_OPEN_COLOUR, kDefaultOpenColour);
            SetColour(dialog, IDC_PRACSETUP_CLOSED_COLOUR, kDefaultClosedColour);
            return TRUE;
        case IDC_PRACSETUP_TIME_AT_RIGHT:  // written at once, whatever OK or Cancel do later
            WriteViewTimeAtRight(Checked(dialog, IDC_PRACSETUP_TIME_AT_RIGHT));
            return TRUE;
        case IDOK:
            Accept(dialog, *run);
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

int PracticeSetup(HWND owner, HINSTANCE instance) {
    RegisterColorButtonClass(instance);
    return RunPracticeSetup([&](PracticeSetupEdit& edit) {
               PracticeSetupRun run;
               run.instance = instance;
               run.edit = &edit;
               run.settings = ReadPracticeSetupSettings();
               return DialogBoxParamA(instance, "DLG_PRAC_SETUP", owner, PracticeSetupProc, reinterpret_cast<LPARAM>(&run)) == 1;
           })
               ? 1
               : 0;
}
