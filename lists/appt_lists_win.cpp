// The three appointment list windows: caption strip, header list box, menu commands, the view
// dialogs and the refresh from other workstations. Which appointments and which lines come
// from appt_lists.cpp.
#include "lists/appt_lists_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_rules.h"
#include "app/fonts_win.h"
#include "app/private_messages.h"
#include "appointments/appt_dialog_win.h"
#include "controls/date_picker_model.h"
#include "controls/date_picker_win.h"
#include "controls/header_list_win.h"
#include "controls/resource_list_fill.h"
#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "lists/appt_lists.h"
#include "lists/patient_search.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/gdi_win.h"
#include "suite/messages.h"
#include "suite/patient_alert.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/users.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"

namespace {

constexpr int kListControlId = 2;
constexpr int kRightBreak = 33;
constexpr int kRightDelete = 31;
const char kStripClass[] = "RSHeader";
const char kOfficeJournalProgram[] = "qvnoj.exe";

struct ListWindowState {
    HWND window = nullptr;
    HWND strip = nullptr;
    HWND list = nullptr;
    HWND mainWindow = nullptr;
    HINSTANCE instance = nullptr;
    int kind = kListAppointments;
    ApptListFilter filter;
    GdiObject<HFONT> stripFont;
    GdiObject<HFONT> listFont;
    GdiObject<HBITMAP> pictures[3];  // leftarr, cal, rightarr
    int stripHeight = 20;
};
ListWindowState list_window;  // at most one list window exists

ListBreakAction break_action = nullptr;
ListDeleteAction delete_action = nullptr;
ListStatusAction status_action = nullptr;

// The list's selected line; false when none is.
bool SelectedLine(HeaderLine* line) { return HeaderListGetLine(list_window.list, -1, line, false) >= 0; }

int32_t TodayDate() { return QVN_SysDate(); }

void Refill(bool tell_truncation = true) {
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HeaderLine selected;
    const bool had = SelectedLine(&selected);
    HeaderListModel fresh(std::vector<int>(LayoutOf(list_window.kind).widths, LayoutOf(list_window.kind).widths + kApptListColumns),
                          kApptListStyle);
    FillApptList(list_window.kind, list_window.filter, &fresh, tell_truncation);
    SendMessageA(list_window.list, WM_SETREDRAW, FALSE, 0);
    HeaderListClear(list_window.list);
    int again = -1;
    for (int i = 0; i < fresh.Count(); ++i) {
        const HeaderLine& l = fresh.Line(i);
        const int at = HeaderListInsert(list_window.list, l.text.c_str(), l.data1, l.data2, l.sortKey, l.groupMark,
                                        l.colourIndex);
        if (had && l.data1 == selected.data1) again = at;
    }
    if (fresh.Count() > 0) HeaderListSetSelection(list_window.list, again >= 0 ? again : 0, kSelSelect, false);
    SendMessageA(list_window.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_window.strip, nullptr, TRUE);
    SetCursor(old);
}

// Another workstation's change: the lines are read again; when nothing differs, nothing moves.
void ApplyOtherChanges() {
    const HeaderListModel* now = HeaderListLines(list_window.list);
    if (!now) return;
    HeaderListModel fresh(std::vector<int>(LayoutOf(list_window.kind).widths, LayoutOf(list_window.kind).widths + kApptListColumns),
                          kApptListStyle);
    FillApptList(list_window.kind, list_window.filter, &fresh, false);
    bool same = fresh.Count() == now->Count();
    for (int i = 0; same && i < fresh.Count(); ++i)
        same = fresh.Line(i).text == now->Line(i).text && fresh.Line(i).data1 == now->Line(i).data1 &&
               fresh.Line(i).colourIndex == now->Line(i).colourIndex;
    if (same) return;
    // An appointment that arrives with a status coded "b" or "B" is announced by beeps.
    int beeps = 0;
    for (uint32_t id : ArrivedAppointments(*now, fresh)) {
        AppointmentRecord a{};
        if (ReadAppointment(id, &a) == kQdbOk) beeps += ArrivalBeeps(list_window.kind, a.status, practice_tables.statuses);
    }
    Refill(false);
    for (int i = 0; i < beeps; ++i) MessageBeep(MB_OK);
}

void StripPaint(HWND strip) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(strip, &ps);
    RECT client;
    GetClientRect(strip, &client);
    Selected font(dc, list_window.stripFont.Get());
    SetBkMode(dc, TRANSPARENT);
    const ApptListFilter& f = list_window.filter;
    const std::string id = f.mode == kFilterProvider ? std::string(f.provider, 4)
                           : f.mode == kFilterOperatory ? std::string(f.operatory, 4)
                                                        : "    ";
    RECT left = {4, 0, client.right / 3, client.bottom};
    DrawTextA(dc, id.c_str(), static_cast<int>(id.size()), &left, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (list_window.kind != kListUnscheduled) {
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        const int box_width = 17 * tm.tmAveCharWidth + 8;
        RECT box = {(client.right - box_width) / 2, 2, (client.right + box_width) / 2, client.bottom - 2};
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
        DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        const std::string date = ListDateText(f.date);
        DrawTextA(dc, date.c_str(), static_cast<int>(date.size()), &box, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    EndPaint(strip, &ps);
}

LRESULT CALLBACK StripProc(HWND strip, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        StripPaint(strip);
        return 0;
    }
    return DefWindowProcA(strip, message, wparam, lparam);
}

// Greyed until the action behind it is connected; otherwise it follows the selection.
void UpdateMenu() {
    HMENU menu = GetMenu(list_window.window);
    if (!menu) return;
    HeaderLine line;
    const bool selected = SelectedLine(&line);
    auto enable = [&](UINT command, bool on) { EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(CMD_LIST_BREAK, break_action && selected);
    enable(CMD_LIST_DELETE, delete_action && selected);
    for (int n = 0; n < kMaxPracticeStatus; ++n) enable(CMD_LIST_STATUS_1 + n, status_action && selected);
    enable(CMD_LIST_OFFICE_JOURNAL, selected);
    DrawMenuBar(list_window.window);
}

// The S&tatus popup: the main window's status menu's texts in order.
void BuildStatusPopup(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[32] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (std::string(text) != "&Status") continue;
        HMENU popup = GetSubMenu(menu, i);
        while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
        HMENU main_menu = GetMenu(list_window.mainWindow);
        HMENU source = nullptr;
        if (main_menu && GetMenuItemCount(main_menu) > 3) source = GetSubMenu(main_menu, 3);
        const int n = source ? GetMenuItemCount(source) : 0;
        for (int k = 0; k < n; ++k) {
            const UINT id = GetMenuItemID(source, k);
            if (id < CMD_LIST_STATUS_1 || id >= CMD_LIST_STATUS_1 + kMaxPracticeStatus) continue;
            char item[32] = "";
            GetMenuStringA(source, static_cast<UINT>(k), item, sizeof item, MF_BYPOSITION);
            AppendMenuA(popup, MF_STRING | MF_GRAYED, id, item);
        }
        if (GetMenuItemCount(popup) == 0) AppendMenuA(popup, MF_STRING | MF_GRAYED, CMD_LIST_STATUS_1, "<none>");
        return;
    }
}

// The arrow and calendar items show pictures instead of their letters.
void SetMenuPictures(HMENU menu) {
    const char* names[] = {"leftarr", "cal", "rightarr"};
    const UINT commands[] = {CMD_LIST_PREVIOUS_DAY, CMD_LIST_CALENDAR, CMD_LIST_NEXT_DAY};
    for (int i = 0; i < 3; ++i) {
        if (GetMenuState(menu, commands[i], MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
        list_window.pictures[i].Reset(LoadBitmapA(list_window.instance, names[i]));
        if (list_window.pictures[i])
            ModifyMenuA(menu, commands[i], MF_BYCOMMAND | MF_BITMAP, commands[i],
                        reinterpret_cast<LPCSTR>(list_window.pictures[i].Get()));
    }
}

// --- The list view dialog -------------------------------------------------------------------

struct ViewDialogData {
    int kind;
    ApptListFilter filter;
    bool saveAsDefault = false;
};

std::string ListBoxText(HWND dialog, int control, int index) {
    char text[128] = "";
    if (index < 0) return "";
    SendDlgItemMessageA(dialog, control, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

void FillProviders(HWND dialog, const ViewDialogData& data) {
    const bool inactive = IsDlgButtonChecked(dialog, IDC_LISTVIEW_INACTIVE) == BST_CHECKED;
    SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_RESETCONTENT, 0, 0);
    ResourceFilter filter;
    filter.includeInactive = inactive;
    const std::string wanted = data.filter.mode == kFilterProvider ? std::string(data.filter.provider, 4) : "";
    ReadResourceRecords(FillResourceTypes(true, false, false), filter, [&](const ResourceRecord& r) {
        const ResourceRow row = RowOf(r);
        const std::string text = (row.id + "    ").substr(0, 4) + "  " + row.name;
        const LRESULT at = SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (!wanted.empty() && text.compare(0, 4, wanted) == 0)
            SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    });
}

INT_PTR CALLBACK ViewDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* data = reinterpret_cast<ViewDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        data = reinterpret_cast<ViewDialogData*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        FillProviders(dialog, *data);
        if (GetDlgItem(dialog, IDC_LISTVIEW_OPERATORIES)) {
            for (const OperatoryInfo& o : practice_tables.operatories) {
                const std::string id(o.id, 4);
                const LRESULT at = SendDlgItemMessageA(dialog, IDC_LISTVIEW_OPERATORIES, LB_ADDSTRING, 0,
                                                       reinterpret_cast<LPARAM>(id.c_str()));
                if (data->filter.mode == kFilterOperatory && id == std::string(data->filter.operatory, 4))
                    SendDlgItemMessageA(dialog, IDC_LISTVIEW_OPERATORIES, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
            }
        }
        CheckDlgButton(dialog, IDC_LISTVIEW_ALL, data->filter.mode == kFilterAll ? BST_CHECKED : BST_UNCHECKED);
        if (GetDlgItem(dialog, IDC_LISTVIEW_DAYS)) {
            SetDlgItemInt(dialog, IDC_LISTVIEW_DAYS, static_cast<UINT>(data->filter.span), FALSE);
            CheckRadioButton(dialog, IDC_LISTVIEW_ASAP, IDC_LISTVIEW_OPEN,
                             data->filter.searchType == 1 ? IDC_LISTVIEW_OPEN : IDC_LISTVIEW_ASAP);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wparam);
        const int code = HIWORD(wparam);
        if (id == IDC_LISTVIEW_PROVIDERS && code == LBN_SELCHANGE) {
            SendDlgItemMessageA(dialog, IDC_LISTVIEW_OPERATORIES, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            CheckDlgButton(dialog, IDC_LISTVIEW_ALL, BST_UNCHECKED);
        } else if (id == IDC_LISTVIEW_OPERATORIES && code == LBN_SELCHANGE) {
            SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            CheckDlgButton(dialog, IDC_LISTVIEW_ALL, BST_UNCHECKED);
        } else if (id == IDC_LISTVIEW_ALL && code == BN_CLICKED) {
            if (IsDlgButtonChecked(dialog, IDC_LISTVIEW_ALL) == BST_CHECKED) {
                SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
                SendDlgItemMessageA(dialog, IDC_LISTVIEW_OPERATORIES, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            } else {
                SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_SETCURSEL, 0, 0);
            }
        } else if (id == IDC_LISTVIEW_INACTIVE && code == BN_CLICKED) {
            FillProviders(dialog, *data);
        } else if (id == IDOK || id == IDC_LISTVIEW_SAVE) {
            int span = data->filter.span;
            int search = data->filter.searchType;
            if (GetDlgItem(dialog, IDC_LISTVIEW_DAYS)) {
                BOOL whole = FALSE;
                const UINT days = GetDlgItemInt(dialog, IDC_LISTVIEW_DAYS, &whole, FALSE);
                if (!whole) {
                    QVN_Message(kMsgGroupGeneral, 9092);
                    SetFocus(GetDlgItem(dialog, IDC_LISTVIEW_DAYS));
                    return TRUE;
                }
                span = static_cast<int>(days);
                search = IsDlgButtonChecked(dialog, IDC_LISTVIEW_OPEN) == BST_CHECKED ? 1 : 2;
            }
            const int p = static_cast<int>(SendDlgItemMessageA(dialog, IDC_LISTVIEW_PROVIDERS, LB_GETCURSEL, 0, 0));
            const int o = GetDlgItem(dialog, IDC_LISTVIEW_OPERATORIES)
                              ? static_cast<int>(SendDlgItemMessageA(dialog, IDC_LISTVIEW_OPERATORIES, LB_GETCURSEL, 0, 0))
                              : -1;
            const std::string provider = ListBoxText(dialog, IDC_LISTVIEW_PROVIDERS, p).substr(0, 4);
            const std::string operatory = ListBoxText(dialog, IDC_LISTVIEW_OPERATORIES, o);
            data->filter = FilterFromViewChoice(data->filter, provider, operatory,
                                                IsDlgButtonChecked(dialog, IDC_LISTVIEW_ALL) == BST_CHECKED, span, search);
            if (data->kind == kListUnscheduled && data->filter.mode == kFilterOperatory) data->filter.mode = kFilterAll;
            data->saveAsDefault = id == IDC_LISTVIEW_SAVE;
            EndDialog(dialog, IDOK);
        } else if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

const char* ViewDialogName(int kind) {
    switch (kind) {
    case kListAsap: return "RS_DLG_ASAPVIEW";
    case kListUnscheduled: return "RS_DLG_NONSCHVIEW";
    default: return "RS_DLG_VIEW";
    }
}

bool RunViewDialog(HWND owner, HINSTANCE instance, int kind, ApptListFilter* filter) {
    ViewDialogData data{kind, *filter};
    if (DialogBoxParamA(instance, ViewDialogName(kind), owner, ViewDialogProc, reinterpret_cast<LPARAM>(&data)) != IDOK)
        return false;
    *filter = data.filter;
    if (data.saveAsDefault) WriteSavedFilter(kind, data.filter);
    return true;
}

// --- Commands -------------------------------------------------------------------------------

void OpenSelected(HWND window) {
    HeaderLine line;
    if (!SelectedLine(&line)) return;
    if (line.data2 != 0) {
        PatientStatusWarning(line.data2);
        PATALERT_PopUpPatientAlerts(line.data2, TodayDate(), 32);
    }
    if (EditAppointment(window, list_window.instance, line.data1)) {
        Refill();
        PostMessageA(list_window.mainWindow, kMsgRefresh, 0, 0);
    }
}

void OfficeJournal(HWND window) {
    HeaderLine line;
    if (!SelectedLine(&line)) return;
    if (line.data2 == 0) {
        CurrentPrompter().Show({kOfficeJournalNoPatient, kOfficeJournalTitle, kButtonsOk, kIconExclamation});
        return;
    }
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/') --length;
    const std::string program = QVN_ReadProfileText("APPTBOOK", "OfficeJournal", kOfficeJournalProgram);
    std::string command = program.find_first_of("\\/:") == std::string::npos ? std::string(path, length) + program : program;
    if (command.find(' ') != std::string::npos) command = "\"" + command + "\"";
    char arguments[96];
    std::snprintf(arguments, sizeof arguments, " /k=QvnOJ /v=%ld /H=%ld", static_cast<long>(line.data2),
                  static_cast<long>(reinterpret_cast<INT_PTR>(window)));
    if (QVN_StartProgram((command + arguments).c_str(), SW_SHOWNORMAL) < 32) QVN_Message(kMsgGroupSuite, 3196);
}

void BreakSelected(HWND window) {
    HeaderLine line;
    if (!break_action || !SelectedLine(&line)) return;
    if (QVN_PasswordCheckwAudit(kRightBreak) <= 0) {
        QVN_SetOverrideToLoggedIn();
        return;
    }
    // The user who signed for it acts for this break only.
    const bool broken = break_action(window, list_window.instance, line.data1);
    QVN_SetOverrideToLoggedIn();
    if (broken) PostMessageA(list_window.mainWindow, kMsgRefresh, 0, 0);
    Refill();
}

void DeleteSelected(HWND window) {
    HeaderLine line;
    if (!delete_action || !SelectedLine(&line)) return;
    const int granted = QVN_PasswordCheckwAudit(kRightDelete);
    const bool deleted = granted > 0 && delete_action(window, list_window.instance, line.data1);
    QVN_SetOverrideToLoggedIn();
    if (deleted) PostMessageA(list_window.mainWindow, kMsgRefresh, 0, 0);
    Refill();
}

void SetStatusOfSelected(HWND window, int status) {
    HeaderLine line;
    if (!status_action || !SelectedLine(&line)) return;
    if (status_action(window, list_window.instance, line.data1, status)) PostMessageA(list_window.mainWindow, kMsgRefresh, 0, 0);
    Refill();
}

void StepDate(int days) {
    list_window.filter.date += days;
    Refill();
}

void OnCommand(HWND window, int command, int code, LPARAM lparam) {
    if (command == kListControlId) {
        if (code == kHlnEnter) OpenSelected(window);
        return;
    }
    if (command >= CMD_LIST_STATUS_1 && command < CMD_LIST_STATUS_1 + kMaxPracticeStatus) {
        SetStatusOfSelected(window, command - CMD_LIST_STATUS_1 + 1);
        return;
    }
    switch (command) {
    case CMD_LIST_NEXT_DAY:
        if (list_window.kind == kListAppointments) StepDate(1);
        break;
    case CMD_LIST_PREVIOUS_DAY:
        if (list_window.kind == kListAppointments) StepDate(-1);
        break;
    case CMD_LIST_CALENDAR:
        OpenDatePicker(window, list_window.instance, list_window.filter.date, false);
        break;
    case kCmdPickedDate:
        if (lparam > 0) {
            list_window.filter.date = static_cast<int32_t>(lparam);
            Refill();
        }
        break;
    case CMD_LIST_VIEW:
        if (RunViewDialog(window, list_window.instance, list_window.kind, &list_window.filter)) Refill();
        break;
    case CMD_LIST_OPEN:
        OpenSelected(window);
        break;
    case CMD_LIST_OFFICE_JOURNAL:
        OfficeJournal(window);
        break;
    case CMD_LIST_BREAK:
        BreakSelected(window);
        break;
    case CMD_LIST_DELETE:
        DeleteSelected(window);
        break;
    case CMD_LIST_COPY:
        HeaderListCopy(list_window.list, ListCopyTitle(list_window.kind, list_window.filter.date).c_str());
        break;
    case CMD_LIST_REFRESH:
        Refill();
        break;
    default:
        break;
    }
    SetFocus(list_window.list);
}

void Layout(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    MoveWindow(list_window.strip, 0, 0, client.right, list_window.stripHeight, TRUE);
    HeaderListMove(list_window.list, 0, list_window.stripHeight, client.right, client.bottom - list_window.stripHeight, TRUE);
}

int ListLineHeight(HFONT font) {
    HDC dc = GetDC(nullptr);
    Selected use(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

int ListCharWidth(HFONT font) {
    HDC dc = GetDC(nullptr);
    Selected use(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(nullptr, dc);
    return tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 7;
}

bool OnCreate(HWND window) {
    list_window.window = window;
    const ApptListLayout& layout = LayoutOf(list_window.kind);
    list_window.stripHeight = ListLineHeight(list_window.stripFont) + 6;
    list_window.strip = CreateWindowExA(0, kStripClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, list_window.stripHeight,
                                        window, nullptr, list_window.instance, nullptr);
    RECT client;
    GetClientRect(window, &client);
    list_window.list = CreateHeaderList(window, list_window.instance, kListControlId, 0, list_window.stripHeight, client.right,
                                        client.bottom - list_window.stripHeight, kApptListColumns, layout.widths,
                                        layout.aligns, layout.caption, kApptListStyle, list_window.listFont);
    if (!list_window.list) return false;
    HMENU menu = GetMenu(window);
    SetMenuPictures(menu);
    if (list_window.kind != kListUnscheduled) BuildStatusPopup(menu);
    return true;
}

LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(window) ? 0 : -1;
    case WM_SIZE:
        if (list_window.list) Layout(window);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
        info->ptMinTrackSize.x = 300;
        info->ptMinTrackSize.y = 120;
        return 0;
    }
    case WM_SETFOCUS:
    case WM_ACTIVATE:
        if (list_window.list && (message == WM_SETFOCUS || LOWORD(wparam) != WA_INACTIVE)) SetFocus(list_window.list);
        return message == WM_ACTIVATE ? DefWindowProcA(window, message, wparam, lparam) : 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wparam), HIWORD(wparam), lparam);
        return 0;
    case WM_MENUCHAR: {
        const int item = ListMenuLetterItem(static_cast<char>(LOWORD(wparam)));
        if (item >= 0 && reinterpret_cast<HMENU>(lparam) == GetMenu(window)) return MAKELRESULT(item, MNC_EXECUTE);
        return MAKELRESULT(0, MNC_IGNORE);
    }
    case WM_INITMENU:
    case kMsgListCurrentLine:
        UpdateMenu();
        return 0;
    case WM_TIMER:
    case kMsgListApplyChanges:
        ApplyOtherChanges();
        return 0;
    case kMsgListSelectedLine: {
        HeaderLine line;
        return SelectedLine(&line) ? static_cast<LRESULT>(wparam) : 0;
    }
    case WM_DESTROY: {
        HWND main_window = list_window.mainWindow;
        list_window.list = list_window.strip = list_window.window = nullptr;
        for (auto& p : list_window.pictures) p.Reset();
        list_window.stripFont.Reset();
        list_window.listFont.Reset();
        if (main_window && IsWindow(main_window)) PostMessageA(main_window, kMsgListClosed, 0, 0);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

int IconOf(int kind) {
    switch (kind) {
    case kListAsap: return IDI_ASAP_LIST;
    case kListUnscheduled: return IDI_UNSCHEDULED_LIST;
    default: return IDI_APPT_LIST;
    }
}

}  // namespace

bool RegisterApptListClasses(HINSTANCE instance) {
    for (int kind : {kListAppointments, kListAsap, kListUnscheduled}) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ListWindowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IconOf(kind)));
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = LayoutOf(kind).className;
        if (!RegisterClassExA(&wc)) return false;
    }
    WNDCLASSEXA strip = {};
    strip.cbSize = sizeof strip;
    strip.style = CS_HREDRAW | CS_VREDRAW;
    strip.lpfnWndProc = StripProc;
    strip.hInstance = instance;
    strip.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    strip.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    strip.lpszClassName = kStripClass;
    return RegisterClassExA(&strip) && RegisterHeaderListClasses(instance);
}

HWND OpenApptListWindow() { return list_window.window; }

void CloseApptList() {
    if (list_window.window) DestroyWindow(list_window.window);
}

HWND OpenApptList(HWND main_window, HINSTANCE instance, int kind) {
    if (list_window.window) {
        if (kind == kListUnscheduled && list_window.kind == kListUnscheduled) {
            SetForegroundWindow(list_window.window);
            Refill();
            return list_window.window;
        }
        DestroyWindow(list_window.window);
    }
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    list_window.mainWindow = main_window;
    list_window.instance = instance;
    list_window.kind = kind;
    list_window.filter = ReadSavedFilter(kind);
    list_window.filter.date = TodayDate();
    list_window.stripFont.Reset(CreateFontFromSpec(ReadFont(1)));
    list_window.listFont.Reset(CreateFontFromSpec(ReadFont(2)));

    const ApptListLayout& layout = LayoutOf(kind);
    const int char_width = ListCharWidth(list_window.listFont);
    const int line_height = ListLineHeight(list_window.listFont);
    int width = kind == kListAppointments ? 80 * char_width + 7 + GetSystemMetrics(SM_CXVSCROLL)
                : kind == kListAsap      ? 82 * char_width + 7 + GetSystemMetrics(SM_CXVSCROLL)
                                         : 77 * char_width + 10;
    const int strip_height = ListLineHeight(list_window.stripFont) + 6;
    // The list box holds its caption bar and its lines in the kind's number of text lines.
    const int caption_height = HeaderListCaptionHeight(list_window.listFont);
    const int client_height = strip_height + caption_height + 1 + (layout.heightLines - 1) * line_height + 2;
    const DWORD style = (kind == kListUnscheduled ? 0 : WS_POPUP) | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                        WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame = {0, 0, width, client_height};
    AdjustWindowRect(&frame, style, TRUE);
    width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = kind == kListAppointments ? 3 : 30;
    HMENU menu = LoadMenuA(instance, layout.menu);
    HWND window = CreateWindowExA(0, layout.className, layout.title, style, x, y, width, height, main_window, menu,
                                  instance, nullptr);
    if (!window) {
        if (menu) DestroyMenu(menu);
        list_window = ListWindowState{};
        SetCursor(old);
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    Refill();
    UpdateMenu();
    SetFocus(list_window.list);
    SetCursor(old);
    return window;
}

void SetListBreakAction(ListBreakAction action) { break_action = action; }
void SetListDeleteAction(ListDeleteAction action) { delete_action = action; }
void SetListStatusAction(ListStatusAction action) { status_action = action; }
