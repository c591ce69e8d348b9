// Window side of the Select Patient and More Information dialogs: controls in, core calls, the
// lists filled from the lines the core builds.
#include "lists/select_patient_dialog_win.h"

#include <vector>

#include "lists/more_info.h"
#include "lists/patient_search.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/dial_win.h"
#include "suite/dialog_fields_win.h"
#include "suite/messages.h"
#include "suite/users.h"
#include "suite/utility_strings.h"

static_assert(IDC_PATFIND_LASTNAME == kSearchLastName && IDC_PATFIND_SSN == kSearchSsn,
              "the radio buttons carry the numbers SelectBy stores");

namespace {

constexpr int kRightNewPatient = 48;
constexpr int kRightMoreInfo = 143;
const int kResultTabs[] = {120, 168, 196, 596, 796};
const int kFamilyTabs[] = {30, 117, 137, 150, 160};
const int kAppointmentTabs[] = {65, 97, 118, 150, 227};

struct FindRun {
    SelectPatientRequest* request = nullptr;
    HINSTANCE resources = nullptr;
    PatientSearchKey key = kSearchLastName;
    std::string searched;         // the entry as last searched; Enter on a changed entry searches
    HWND lastList = nullptr;      // the list (results or recent) the user worked in last
};

struct MoreInfoRun {
    uint32_t patientId = 0;
    bool mayDial = true;
    uint32_t chosen = 0;
};

void SetTabs(HWND list, const int (&tabs)[5]) {
    SendMessageA(list, LB_SETTABSTOPS, 5, reinterpret_cast<LPARAM>(tabs));
}

// Fills a list box with lines and their patients, redraw off while it fills.
void FillList(HWND list, const std::vector<PatientLine>& lines) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, lines.size(), lines.size() * 90);
    for (const PatientLine& line : lines) {
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
        if (at >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(at), line.patientId);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ClearResults(HWND dialog, FindRun& run) {
    SetDlgItemTextA(dialog, IDC_PATFIND_ENTRY, "");
    SendDlgItemMessageA(dialog, IDC_PATFIND_LIST, LB_RESETCONTENT, 0, 0);
    run.searched.clear();
}

// Returns the number of patients listed.
size_t Search(HWND dialog, FindRun& run) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND list = GetDlgItem(dialog, IDC_PATFIND_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    run.searched = ControlText(dialog, IDC_PATFIND_ENTRY);
    const bool archived = IsDlgButtonChecked(dialog, IDC_PATFIND_ARCHIVED) == BST_CHECKED;
    PatientSearch found = SearchPatients(run.key, run.searched, archived, run.request->mode);
    const size_t count = found.lines.size();
    if (found.lines.empty()) found.lines.push_back({kNoMatchLine, 0});
    FillList(list, found.lines);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    run.lastList = list;
    SetCursor(old_cursor);
    if (found.error) QVN_Message(kMsgGroupSuite, 3020, found.error);
    return count;
}

void SwitchKey(HWND dialog, FindRun& run, PatientSearchKey key, bool remember) {
    run.key = key;
    if (key != kSearchById) CheckRadioButton(dialog, IDC_PATFIND_LASTNAME, IDC_PATFIND_SSN, key);
    ClearResults(dialog, run);
    SetDlgItemTextA(dialog, IDC_PATFIND_PROMPT, SearchPrompt(key).c_str());
    SetDlgItemTextA(dialog, IDC_PATFIND_COLUMN4, (run.request->mode & kSelectShowIds) ? "ID" : SearchColumnTitle(key).c_str());
    SendDlgItemMessageA(dialog, IDC_PATFIND_ENTRY, EM_LIMITTEXT, static_cast<WPARAM>(SearchEntryLimit(key)), 0);
    SetFocus(GetDlgItem(dialog, IDC_PATFIND_ENTRY));
    if (remember) WriteSearchKey(key);
}

void FillRecent(HWND dialog, const FindRun& run) {
    std::vector<PatientLine> lines;
    for (const std::string& line : RecentPatientLines())
        if (!(run.request->mode & kSelectGuarantor) || line[0] == '*') lines.push_back({line, PatientIdOfLine(line)});
    FillList(GetDlgItem(dialog, IDC_PATFIND_RECENT), lines);
}

// The patient of the selected line of a list and the line; 0 when none (the no-match line).
uint32_t SelectedPatient(HWND list, std::string* line) {
    const LRESULT at = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (at == LB_ERR) return 0;
    *line = ListBoxItemText(list, static_cast<int>(at));
    return static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void Choose(HWND dialog, FindRun& run, const std::string& line, uint32_t patient_id) {
    AddRecentPatientLine(line);
    std::string name = line.substr(0, line.find('\t'));
    if (!name.empty()) name.erase(0, 1);  // the mark
    while (!name.empty() && name.back() == ' ') name.pop_back();
    run.request->text = name;
    run.request->patientId = patient_id;
    EndDialog(dialog, 1);
}

// The selected line of the list the user worked in last (results first when neither).
uint32_t CurrentLine(HWND dialog, const FindRun& run, std::string* line) {
    HWND results = GetDlgItem(dialog, IDC_PATFIND_LIST), recent = GetDlgItem(dialog, IDC_PATFIND_RECENT);
    HWND first = run.lastList == recent ? recent : results;
    if (uint32_t id = SelectedPatient(first, line)) return id;
    return SelectedPatient(first == recent ? results : recent, line);
}

void OnOk(HWND dialog, FindRun& run) {
    HWND entry = GetDlgItem(dialog, IDC_PATFIND_ENTRY);
    const std::string text = ControlText(dialog, IDC_PATFIND_ENTRY);
    if (GetFocus() == entry && text != run.searched && !text.empty()) {
        Search(dialog, run);
        return;
    }
    std::string line;
    if (uint32_t id = CurrentLine(dialog, run, &line)) {
        Choose(dialog, run, line, id);
        return;
    }
    MessageBeep(MB_OK);
}

// --- More Information ------------------------------------------------------------------------

void ShowMember(HWND dialog, MoreInfoRun& run, uint32_t patient_id) {
    const int32_t today = QVN_SysDate();
    HWND appointments = GetDlgItem(dialog, IDC_MOREINFO_APPTS);
    SendMessageA(appointments, WM_SETREDRAW, FALSE, 0);
    SendMessageA(appointments, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : MoreInfoAppointmentLines(patient_id, today))
        SendMessageA(appointments, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(appointments, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(appointments, nullptr, TRUE);
    MemberDetails d;
    if (!ReadMemberDetails(patient_id, today, &d)) d = MemberDetails{};
    SetDlgItemTextA(dialog, IDC_MOREINFO_NAME, d.name.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_STREET, d.street.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_CITY, d.cityLine.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_HOME, d.homePhone.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_WORK, d.workPhone.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_CHART, d.chartNumber.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_STATUS, d.status.c_str());
    SetDlgItemTextA(dialog, IDC_MOREINFO_LABCASE, d.labCase.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_MOREINFO_DIAL), run.mayDial && !d.dialNumber.empty());
}

uint32_t SelectedMember(HWND dialog) {
    std::string line;
    return SelectedPatient(GetDlgItem(dialog, IDC_MOREINFO_FAMILY), &line);
}

void InitMoreInfo(HWND dialog, MoreInfoRun& run) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND family = GetDlgItem(dialog, IDC_MOREINFO_FAMILY);
    SetTabs(family, kFamilyTabs);
    SetTabs(GetDlgItem(dialog, IDC_MOREINFO_APPTS), kAppointmentTabs);
    std::vector<PatientLine> lines;
    int selected = 0;
    for (const FamilyLine& f : MoreInfoFamilyLines(run.patientId, QVN_SysDate())) {
        if (f.patientId == run.patientId) selected = static_cast<int>(lines.size());
        lines.push_back({f.text, f.patientId});
    }
    FillList(family, lines);
    SendMessageA(family, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    ShowMember(dialog, run, run.patientId);
    SetCursor(old_cursor);
    SetFocus(family);
}

void DialMember(HWND dialog) {
    MemberDetails d;
    const uint32_t id = SelectedMember(dialog);
    if (id && ReadMemberDetails(id, QVN_SysDate(), &d) && !d.dialNumber.empty())
        QVN_DialPhoneDialog2(dialog, d.dialNumber, d.name);
}

INT_PTR CALLBACK MoreInfoProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<MoreInfoRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitMoreInfo(dialog, *reinterpret_cast<MoreInfoRun*>(lparam));
        return FALSE;
    case WM_COMMAND:
        if (!run) return FALSE;
        switch (LOWORD(wparam)) {
        case IDC_MOREINFO_FAMILY:
            if (HIWORD(wparam) == LBN_SELCHANGE) {
                if (uint32_t id = SelectedMember(dialog)) ShowMember(dialog, *run, id);
            } else if (HIWORD(wparam) == LBN_DBLCLK) {
                PostMessageA(dialog, WM_COMMAND, IDC_MOREINFO_SELECT, 0);
            }
            return TRUE;
        case IDOK:
        case IDC_MOREINFO_SELECT:
            if ((run->chosen = SelectedMember(dialog)) != 0) EndDialog(dialog, 1);
            return TRUE;
        case IDC_MOREINFO_DIAL:
            DialMember(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void OnMoreInfo(HWND dialog, FindRun& run) {
    const int right = QVN_CheckRights(kRightMoreInfo, true);
    if (right <= 0) return;
    QVN_SetOverrideToLoggedIn();
    std::string line;
    const uint32_t id = CurrentLine(dialog, run, &line);
    if (id == 0) {
        QVN_Message(kMsgGroupSuite, 9002);
        return;
    }
    MoreInfoRun info;
    info.patientId = id;
    info.mayDial = !(run.request->mode & kSelectNoDial);
    if (DialogBoxParamA(run.resources, "LB_DLG_MOREINFO", dialog, MoreInfoProc, reinterpret_cast<LPARAM>(&info)) != 1)
        return;
    PatientRecord member{};
    if (ReadPatient(info.chosen, &member)) Choose(dialog, run, PatientResultLine(member, run.key, run.request->mode), member.id);
}

void OnNewPatient(HWND dialog, FindRun& run) {
    if (QVN_CheckRights(kRightNewPatient, true) <= 0) return;
    QVN_SetOverrideToLoggedIn();
    run.request->newPatient = true;
    EndDialog(dialog, 0);
}

void TypeCharacter(HWND dialog, char c) {
    HWND entry = GetDlgItem(dialog, IDC_PATFIND_ENTRY);
    const char text[2] = {c, '\0'};
    SendMessageA(entry, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    SetFocus(entry);
}

void InitFind(HWND dialog, FindRun& run) {
    SelectPatientRequest& request = *run.request;
    const bool family = request.mode & kSelectFamily, guarantor = request.mode & kSelectGuarantor;
    if (guarantor) SetWindowTextA(dialog, "Select Guarantor");
    SetDlgItemTextA(dialog, IDC_PATFIND_SSN, QVN_UtilityString(10).c_str());
    SetTabs(GetDlgItem(dialog, IDC_PATFIND_LIST), kResultTabs);
    SetTabs(GetDlgItem(dialog, IDC_PATFIND_RECENT), kResultTabs);
    ShowWindow(GetDlgItem(dialog, IDC_PATFIND_NEW), (request.mode & kSelectAllowNew) ? SW_SHOW : SW_HIDE);
    if (family) SetDlgItemTextA(dialog, IDC_PATFIND_NEW, "&New Family");
    ShowWindow(GetDlgItem(dialog, IDC_PATFIND_ARCHIVED), family && !guarantor ? SW_SHOW : SW_HIDE);
    const PatientSearchKey key = ReadSearchKey(family);
    SwitchKey(dialog, run, key, false);
    if (key == kSearchById)
        for (int id = IDC_PATFIND_LASTNAME; id <= IDC_PATFIND_SSN; ++id) EnableWindow(GetDlgItem(dialog, id), FALSE);
    FillRecent(dialog, run);
    if (request.text.empty()) {
        SetDlgItemTextA(dialog, IDC_PATFIND_ENTRY, RecentSelectionEntry().c_str());
        SendDlgItemMessageA(dialog, IDC_PATFIND_ENTRY, EM_SETSEL, 0, -1);
        return;
    }
    SetDlgItemTextA(dialog, IDC_PATFIND_ENTRY, request.text.c_str());
    const size_t found = Search(dialog, run);
    const int automatic = request.mode & kSelectAutomaticMask;
    if (automatic == 1 && found == 0) EndDialog(dialog, 0);
    if (automatic == 1 && found == 1) {
        std::string line;
        if (uint32_t id = SelectedPatient(GetDlgItem(dialog, IDC_PATFIND_LIST), &line)) Choose(dialog, run, line, id);
    }
    if (automatic == 3) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

INT_PTR CALLBACK FindProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* run = reinterpret_cast<FindRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        InitFind(dialog, *reinterpret_cast<FindRun*>(lparam));
        return FALSE;  // the focus is set
    case WM_COMMAND: {
        if (!run) return FALSE;
        const int id = LOWORD(wparam), code = HIWORD(wparam);
        if (id >= IDC_PATFIND_LASTNAME && id <= IDC_PATFIND_SSN) {
            if (code == BN_CLICKED && static_cast<PatientSearchKey>(id) != run->key)
                SwitchKey(dialog, *run, static_cast<PatientSearchKey>(id), true);
            return TRUE;
        }
        if (id >= IDC_PATFIND_CHAR_A && id < IDC_PATFIND_CHAR_A + 26) {
            TypeCharacter(dialog, static_cast<char>('A' + id - IDC_PATFIND_CHAR_A));
            return TRUE;
        }
        if (id >= IDC_PATFIND_CHAR_0 && id < IDC_PATFIND_CHAR_0 + 10) {
            TypeCharacter(dialog, static_cast<char>('0' + id - IDC_PATFIND_CHAR_0));
            return TRUE;
        }
        switch (id) {
        case IDC_PATFIND_COMMA:
            TypeCharacter(dialog, ',');
            return TRUE;
        case IDC_PATFIND_CLEAR:
            ClearResults(dialog, *run);
            SetFocus(GetDlgItem(dialog, IDC_PATFIND_ENTRY));
            return TRUE;
        case IDC_PATFIND_SEARCH:
            Search(dialog, *run);
            SetFocus(GetDlgItem(dialog, IDC_PATFIND_LIST));
            return TRUE;
        case IDC_PATFIND_LIST:
        case IDC_PATFIND_RECENT:
            if (code == LBN_SETFOCUS || code == LBN_SELCHANGE) run->lastList = reinterpret_cast<HWND>(lparam);
            if (code == LBN_DBLCLK) {
                std::string line;
                if (uint32_t patient = SelectedPatient(reinterpret_cast<HWND>(lparam), &line))
                    Choose(dialog, *run, line, patient);
            }
            return TRUE;
        case IDC_PATFIND_NEW:
            OnNewPatient(dialog, *run);
            return TRUE;
        case IDC_PATFIND_MOREINFO:
            OnMoreInfo(dialog, *run);
            return TRUE;
        case IDOK:
            OnOk(dialog, *run);
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

int SelectPatient(HWND owner, HINSTANCE resources, SelectPatientRequest* request) {
    request->patientId = 0;
    request->newPatient = false;
    FindRun run;
    run.request = request;
    run.resources = resources;
    const INT_PTR result = DialogBoxParamA(resources, "LB_DLG_PATFIND", owner, FindProc, reinterpret_cast<LPARAM>(&run));
    if (result == -1) {
        QVN_Message(kMsgGroupSuite, 3040);
        return -1;
    }
    return result == 1 ? 1 : 0;
}
