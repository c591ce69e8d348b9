// Window procedure of the main window: decodes messages and hands the work on.
#include "app/main_window_win.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/about_help_win.h"
#include "app/button_bar_win.h"
#include "app/current_patient.h"
#include "app/command_rules.h"
#include "app/command_table.h"
#include "app/dde_service_win.h"
#include "app/font_dialog_win.h"
#include "app/frame_services.h"
#include "app/fonts_win.h"
#include "app/main_layout.h"
#include "app/private_messages.h"
#include "app/refresh.h"
#include "app/run_bitmaps_win.h"
#include "app/window_classes_win.h"
#include "appointments/appt_actions.h"
#include "appointments/appt_dialog_win.h"
#include "appointments/purge_dialog_win.h"
#include "appointments/set_complete_dialog_win.h"
#include "appointments/new_patient_dialog_win.h"
#include "appointments/new_patient_entry.h"
#include "appointments/conflict_checks.h"
#include "appointments/day_note_dialog_win.h"
#include "appointments/notes_dialog_win.h"
#include "appointments/appointment_moves.h"
#include "appointments/find_time.h"
#include "appointments/find_time_dialog_win.h"
#include "appointments/family_list.h"
#include "appointments/family_list_dialog_win.h"
#include "appointments/locate.h"
#include "appointments/locate_dialog_win.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "lists/appt_lists.h"
#include "lists/appt_lists_win.h"
#include "lists/launcher.h"
#include "lists/launcher_win.h"
#include "lists/patient_search.h"
#include "lists/patient_windows.h"
#include "lists/patient_windows_win.h"
#include "lists/select_patient_dialog_win.h"
#include "resources/resource.h"
#include "setup/provider_setup_win.h"
// Printing the view and the route slip.
#include "lists/route_slip_win.h"
#include "setup/print_view_win.h"
#include "views/calendar.h"
#include "views/calendar_win.h"
#include "suite/dates.h"
#include "suite/gdi_win.h"
#include "suite/patient_alert.h"
#include "suite/prompter.h"
#include "suite/users.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"
#include "app/date_controls_win.h"
#include "controls/date_picker_model.h"
#include "views/active_view.h"
#include "views/day_data.h"
#include "views/flip_tab_strip_win.h"
#include "views/found_time_mark.h"
#include "views/flip_tabs_setup_win.h"
#include "views/month_view.h"
#include "views/sheet_layout.h"
#include "views/pin_board_win.h"
#include "views/sheet_mouse_win.h"
#include "views/sheet_state.h"
#include "views/sheet_windows_win.h"
#include "views/view_dialogs_win.h"
#include "setup/day_times_win.h"
#include "setup/practice_setup_win.h"

AppFrame app_frame;

constexpr UINT_PTR kRefreshTimer = 1;
constexpr int kCmdResetFlipTabs = 131;  // the fifth, empty flip tab becomes the active one

namespace {

// The main window's own state: its fonts, the sheet measures and its children.
struct MainWindowState {
    AppFonts fonts;
    SheetMeasures measures;
    ButtonBarOrientation orientation = kButtonBarHorizontal;
    HWND buttonBar = nullptr;
    HWND header = nullptr;
    HWND timeColumn = nullptr;
    HWND sheet = nullptr;
    HWND pinBoard = nullptr;
    HWND flipTabs = nullptr;
    bool tabsPending = false;  // a day, week or month command changed the mode: redraw the tabs
    bool idealDay = false;  // Ideal Day time blocks shown on the sheet
    Brush sheetBackground;  // BGCOLOR1, the sheet's class background
    bool shutDown = false;  // the shut-down ran (end of session, then destroy)
    FamilyListResult handedOver;  // chosen in the family list of a hand-over, acted on by 385
};
MainWindowState main_state;

HWND CreateChild(HWND parent, const char* class_name, DWORD extra_style) {
    return CreateWindowExA(0, class_name, "", WS_CHILD | WS_VISIBLE | extra_style, 0, 0, 0, 0,
                           parent, nullptr, app_frame.instance, nullptr);
}

void OnSize(HWND window);
void OnSelectionChanged();
SelectionFacts CurrentSelectionFacts();
void UpdateMenuEntries(HMENU menu, const SelectionFacts& facts);

// Font 3 and its measures are the sheet's too.
void TakeSheetMeasures() {
    SetSheetFont(main_state.fonts.Font(3));
    sheet_state.measures = main_state.measures;
}

void RepaintSheetWindows() {
    for (HWND child : {main_state.header, main_state.timeColumn, main_state.sheet})
        if (child) InvalidateRect(child, nullptr, FALSE);
}

// Lays the shown days out across the sheet's client width.
void LayOutSheetColumns() {
    if (!main_state.sheet) return;
    RECT client;
    GetClientRect(main_state.sheet, &client);
    LayOutShownDays(client.right, sheet_state.timeAtRight, sheet_state.measures);
}

// A newly built month shows from the band of the date (or the first shown after it) on, as far
// as the bands fill the sheet.
void StartMonthBands(int32_t date) {
    int reference = 0;
    const int bands = static_cast<int>(MonthBandDates(date, view_state.active.days, &reference).size());
    month_view.rows = std::max(1, view_state.active.providerCount);
    RECT client{};
    if (main_state.sheet) GetClientRect(main_state.sheet, &client);
    StartMonthScroll(bands, reference, month_view.rows * std::max(sheet_state.measures.rowHeight, 1), client.bottom,
                     view_state.active.days);
}

// Builds and loads the days of a date in a mode, lays them out and repaints; the wait cursor
// shows while the database is read.
void ShowDate(int32_t date, ViewMode mode) {
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    sheet_state.shownDate = date;
    sheet_state.endUnit = view_state.active.endTime;
    const bool mode_changed = mode != sheet_state.mode || day_data.days.empty();
    sheet_state.mode = mode;
    LoadShownDays(ShownDatesOf(date, mode), mode);
    if (mode == kMonthView) StartMonthBands(date);
    LayOutSheetColumns();
    ShowViewMode(mode);
    if (mode_changed) main_state.tabsPending = true;
    SetFlipTabDisplayedDate(main_state.flipTabs, date);
    SetCursor(old_cursor);
    RepaintSheetWindows();
}

// A new first shown date is registered with the refresh file, so that the other workstations'
// notices are counted from it.
void ShowDateAndRegister(int32_t date, ViewMode mode) {
    const int32_t first_before = day_data.days.empty() ? 0 : day_data.days.front().date;
    ShowDate(date, mode);
    if (app_frame.running && !day_data.days.empty() && day_data.days.front().date != first_before)
        RegisterStation(StationCode(), day_data.days.front().date);
}

// The menu's check mark and the button bar's toggle follow the switch.
void ShowIdealDay(HWND window) {
    conflict_options.idealDay = main_state.idealDay;  // the time-block questions follow the switch
    sheet_state.idealDay = main_state.idealDay;
    if (main_state.buttonBar) SetButtonBarIdealDay(main_state.buttonBar, main_state.idealDay);
    CheckMenuItem(GetMenu(window), CMD_IDEAL_DAY, MF_BYCOMMAND | (main_state.idealDay ? MF_CHECKED : MF_UNCHECKED));
}

void ToggleIdealDay(HWND window) {
    main_state.idealDay = !main_state.idealDay;
    ShowIdealDay(window);
    if (main_state.sheet) InvalidateRect(main_state.sheet, nullptr, TRUE);
}

// The children are laid out here already, so that the window never shows unarranged.
void OpenFromPinBoard(uint32_t appointment_id);
uint32_t FamilyListOfAppointmentDialog(HWND owner, HINSTANCE instance, uint32_t patient_id, bool from_open_appointment);

bool BreakFromList(HWND, HINSTANCE, unsigned long id);
bool DeleteFromList(HWND, HINSTANCE, unsigned long id);
bool SetStatusFromList(HWND, HINSTANCE, unsigned long id, int status);

bool ViewFoundTime(const FoundTime& found, bool quiet);
void RestoreAfterFoundTimes();
void KeepFoundTimeView();

void OnCreate(HWND window) {
    main_state.shutDown = false;
    StartPatientInfoService(window);
    main_state.orientation = ReadButtonBarOrientation();
    main_state.fonts.CreateAll();
    main_state.measures = main_state.fonts.MeasureSheet(window);
    TakeSheetMeasures();
    LoadRunCursors(app_frame.instance);
    main_state.idealDay = ReadIdealDay();
    // The toolbar: the suite's modules (the optional ones when their program is there), then the
    // window's own buttons, as the user arranged them.
    main_state.buttonBar = CreateButtonBar(window, app_frame.instance, main_state.orientation, main_state.idealDay,
                                           KnownToolbarButtons(CMD_MODULE_APPOINTMENTS, ModuleProgramPresent), "APPTBOOK");
    main_state.header = CreateChild(window, "SSHeader", 0);
    main_state.timeColumn = CreateChild(window, "SchTime", 0);
    main_state.sheet = CreateChild(window, "SchSheet", WS_VSCROLL);
    main_state.pinBoard = CreateChild(window, "SSPinBoard", WS_BORDER);
    SetSelectionChangedHook(OnSelectionChanged);
    SetAppointmentSavedHook(DropSavedFromPinBoard);
    SetPinBoardOpenHook(OpenFromPinBoard);
    SetFamilyListHook(FamilyListOfAppointmentDialog);  // a parked appointment saved elsewhere leaves the board
    SetFoundTimeViewer(FoundTimeViewer{ViewFoundTime, RestoreAfterFoundTimes, KeepFoundTimeView});
    SetListBreakAction(BreakFromList);
    SetListDeleteAction(DeleteFromList);
    SetListStatusAction(SetStatusFromList);
    SetCalendarDayEditor(EditCalendarDay);  // Enter or a double click on a date of modes 1 and 2
    CreateDateControls(window, app_frame.instance);
    month_view.xWidth = std::max(1, main_state.fonts.LargerXWidth(window));
    main_state.flipTabs = CreateFlipTabStrip(window, app_frame.instance, main_state.fonts.Font(4),
                                             static_cast<FlipTabMode>(sheet_state.mode), sheet_state.shownDate);
    ShowIdealDay(window);
    UpdateMenuEntries(GetMenu(window), CurrentSelectionFacts());
    if (const int seconds = RefreshTimerSeconds()) SetTimer(window, kRefreshTimer, static_cast<UINT>(seconds) * 1000, nullptr);
    // After the question about a lost server, timer or not: a new session reads the shown days
    // again, a Cancel lets the next action ask.
    DbWhenAsked([window] { PostMessageA(window, kMsgAppointmentChanged, 0, 0); });
    OnSize(window);
}

std::vector<int32_t> DisplayedDays() {
    std::vector<int32_t> days;
    for (const DayRecord& d : day_data.days) days.push_back(d.date);
    return days;
}

// Takes this station's change notices; a notice for a shown day reloads that day and repaints.
void PollForChanges(HWND window) {
    bool reloaded = false;
    // A server database that went away is asked about here; after a new session every shown
    // day is read again, as other workstations may have changed them meanwhile.
    const DbConnection connection = DbKeepConnection();
    if (connection == DbConnection::kLost) return;
    if (connection == DbConnection::kRestored)
        for (int32_t date : DisplayedDays()) reloaded |= ReloadShownDay(date);
    bool schedule_changed = false;
    PollStation(StationCode(), DisplayedDays(), [&](int32_t date) { reloaded |= ReloadShownDay(date); },
                [&] { schedule_changed = true; });
    // Another workstation changed the hours, time blocks or block size: a full refresh.
    if (schedule_changed) PostMessageA(window, WM_COMMAND, CMD_REFRESH, 0);
    if (HWND list = OpenApptListWindow()) SendMessageA(list, WM_TIMER, kRefreshTimer, 0);
    if (!reloaded) return;
    for (HWND child : {main_state.header, main_state.sheet})
        if (child) InvalidateRect(child, nullptr, FALSE);
    UpdateWindow(window);
}

void Place(HWND child, const LayoutRect& r) {
    if (child) MoveWindow(child, r.x, r.y, r.width, r.height, TRUE);
}

// The colours and the time-at-right switch are read at every layout, so that a change written
// by practice setup shows at the next one; BGCOLOR1 becomes the sheet's class background.
void ReadSheetSettings() {
    sheet_state.colours = ReadSheetColours();
    sheet_state.timeAtRight = ReadViewTimeAtRight();
    if (!main_state.sheet) return;
    Brush background(CreateSolidBrush(sheet_state.colours.background1));
    if (!background.Get()) return;
    SetClassLongPtrA(main_state.sheet, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(background.Get()));
    main_state.sheetBackground = std::move(background);  // the brush it replaced goes only now
}

void OnSize(HWND window) {
    ReadSheetSettings();
    RECT client;
    GetClientRect(window, &client);
    MainLayoutInput in;
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.orientation = main_state.orientation;
    in.rowHeight = main_state.measures.rowHeight;
    in.timeColumnWidth = main_state.measures.timeColumnWidth;
    in.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    MainLayout layout = LayOutMainWindow(in);
    Place(main_state.buttonBar, layout.buttonBar);
    Place(main_state.header, layout.header);
    Place(main_state.timeColumn, layout.timeColumn);
    Place(main_state.sheet, layout.sheet);
    Place(main_state.pinBoard, layout.pinBoard);
    Place(main_state.flipTabs, layout.flipTabs);
    PlaceDateControls(layout);
    LayOutSheetColumns();
    month_view.scroll.page = MonthPageSize(view_state.active.days, true);
}

// Shut-down in its order. The position and the view are saved only when start-up got as far as
// showing the window: a start that ended early must not overwrite them with defaults.
void OnDestroy(HWND window) {
    if (main_state.shutDown) return;
    main_state.shutDown = true;
    main_state.fonts.DeleteAll();
    if (app_frame.running) UnregisterStation(StationCode());
    KillTimer(window, kRefreshTimer);
    CloseApptList();
    StopPatientInfoService();
    FreeRunBitmaps();
    WriteIdealDay(main_state.idealDay);
    if (app_frame.running) {
        QVN_SaveWindowPosInfo(window, "APPTBOOK");
        WriteDefaultView(view_state.active.number);
    }
    FreeDays();
    DbEndSession();
    if (main_state.sheet)
        SetClassLongPtrA(main_state.sheet, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
    main_state.sheetBackground.Reset();
    main_state.buttonBar = main_state.header = main_state.timeColumn = main_state.sheet = main_state.pinBoard = nullptr;
    main_state.flipTabs = nullptr;
    app_frame.main_window = nullptr;
    PostQuitMessage(0);
}

// The selected appointment's display record among the shown days, or null.
const ApptDisplay* SelectedAppointment() {
    if (sheet_state.selectedId == 0) return nullptr;
    for (const DayRecord& day : day_data.days)
        for (const DayColumn& c : day.columns)
            for (const ApptDisplay& a : c.appointments)
                if (static_cast<uint32_t>(a.id) == sheet_state.selectedId) return &a;
    return nullptr;
}

SelectionFacts CurrentSelectionFacts() {
    SelectionFacts facts;
    facts.appointmentSelected = sheet_state.selectedId != 0;
    facts.patientSelected = facts.appointmentSelected && sheet_state.selectedPatientId != 0;
    if (const ApptDisplay* a = SelectedAppointment()) facts.hasPatientAlerts = a->patientAlert == 2;
    if (facts.patientSelected) {
        const PatientFileFacts file_facts = CachedPatientFileFacts(sheet_state.selectedPatientId);
        facts.hasPicture = file_facts.picture;
        facts.hasReferrals = file_facts.referral;
    }
    return facts;
}

// Every entry of the menu and its popups, the S&tatus menu too, enabled or grayed by its rule.
void UpdateMenuEntries(HMENU menu, const SelectionFacts& facts) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU popup = GetSubMenu(menu, i)) {
            UpdateMenuEntries(popup, facts);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators
        EnableMenuItem(menu, static_cast<UINT>(i),
                       MF_BYPOSITION | (MenuEntryEnabled(static_cast<int>(id), facts) ? MF_ENABLED : MF_GRAYED));
    }
}

// The button bar and the menu follow the selection.
void OnSelectionChanged() {
    const SelectionFacts facts = CurrentSelectionFacts();
    if (main_state.buttonBar) RefreshButtonBar(main_state.buttonBar, facts);
    if (app_frame.main_window) UpdateMenuEntries(GetMenu(app_frame.main_window), facts);
}

// What the guarded commands' checks ask about the selection on the sheet.
class MainCommandContext final : public CommandContext {
public:
    int CheckRight(int right) override { return QVN_CheckRights(right, false); }
    int CheckPasswordRight(int right) override { return QVN_PasswordCheckwAudit(right); }
    bool AppointmentSelected() override { return sheet_state.selectedId != 0; }
    bool SelectionComplete() override {
        const ApptDisplay* a = SelectedAppointment();
        return a && a->status == kStatusComplete;
    }
    bool SelectionIsPatient() override { return sheet_state.selectedId != 0 && sheet_state.selectedPatientId != 0; }
};

// Font 3 was saved anew: recreate the fonts, take the sheet's measures again, lay out, repaint.
void ApplyNewSheetFont(HWND window) {
    main_state.fonts.DeleteAll();
    main_state.fonts.CreateAll();
    main_state.measures = main_state.fonts.MeasureSheet(window);
    TakeSheetMeasures();
    OnSize(window);
    InvalidateRect(window, nullptr, TRUE);
}

// After practice setup: saved hours or block size build the shown days again; a changed button
// bar orientation or time column side lays the window out again, else the sheet is redrawn in
// its colours.
void AfterPracticeSetup(HWND window, bool saved) {
    if (saved) ShowDate(sheet_state.shownDate, sheet_state.mode);
    const ButtonBarOrientation orientation = ReadButtonBarOrientation();
    if (orientation != main_state.orientation) {
        main_state.orientation = orientation;
        if (main_state.buttonBar) DestroyWindow(main_state.buttonBar);
        main_state.buttonBar = CreateButtonBar(window, app_frame.instance, orientation, main_state.idealDay);
        if (main_state.buttonBar) RefreshButtonBar(main_state.buttonBar, CurrentSelectionFacts());
        OnSize(window);
    } else if (ReadViewTimeAtRight() != sheet_state.timeAtRight) {
        OnSize(window);
    } else {
        ReadSheetSettings();
    }
    for (HWND child : {main_state.header, main_state.timeColumn, main_state.sheet})
        if (child) InvalidateRect(child, nullptr, TRUE);
}

// Applies view n (0: nothing to do) and shows it.
void SelectView(int n) {
    if (n == 0) return;
    ApplyView(n);
    if (app_frame.running) ShowDateAndRegister(sheet_state.shownDate, sheet_state.mode);
}

// The practice, its providers and operatories, statuses and type names are read again (another
// workstation may have changed hours, time blocks, colours or the block size) and the current
// view is applied to them again. A practice that cannot be read keeps the tables it had.
void ReloadPracticeData() {
    PracticeTables before = std::move(practice_tables);
    if (!LoadPracticeTables()) {
        practice_tables = std::move(before);
        return;
    }
    ApplyView(view_state.active.number);
}

// Refresh: the practice file group closed and opened again, the practice's tables (with the
// status menu and the type names) read anew, the shown days reloaded.
void RefreshEverything() {
    FileGroupDesc resources{};
    DbGroupOf(kResourceFile, &resources);
    DbCloseGroup(resources);
    if (DbOpenGroup(resources) != kQdbOk) return;
    ReloadPracticeData();
    ReplaceStatusMenu(practice_tables.statuses);
    ShowDate(sheet_state.shownDate, sheet_state.mode);
}

// The date buttons and the view buttons.
void StepDate(int direction) {
    ShowDateAndRegister(StepShownDate(sheet_state.mode, sheet_state.shownDate, direction), sheet_state.mode);
}

void ShowDayView() {
    const int32_t day = sheet_state.rememberedDate ? sheet_state.rememberedDate : sheet_state.shownDate;
    ShowDateAndRegister(day, kDayView);
}

void ShowWeekView() {
    if (sheet_state.mode == kDayView) sheet_state.rememberedDate = sheet_state.shownDate;
    ShowDateAndRegister(sheet_state.shownDate, kWeekView);
}

void ShowMonthView() {
    if (sheet_state.mode == kDayView) sheet_state.rememberedDate = sheet_state.shownDate;
    ShowDateAndRegister(sheet_state.shownDate, kMonthView);
}

// F1 to F9 and F10 come as commands through the accelerators; F11 and F12 only as keys.
int ViewOfCommand(int command) {
    if (command >= CMD_VIEW_1 && command < CMD_VIEW_1 + 9) return command - CMD_VIEW_1 + 1;
    return command == CMD_VIEW_10 ? 10 : 0;
}

// --- Finding appointments (the family list, locate) and their notes --------------------------

// The appointment dialog, where the family list and the locate dialog hand on what was chosen.
void OpenChosenAppointment(HWND window, uint32_t appointment_id) {
    if (EditAppointment(window, app_frame.instance, appointment_id)) RepaintSheetWindows();
}

void NewAppointmentForChosenPatient(HWND window, uint32_t patient_id, uint16_t care_type) {
    const uint16_t care[kCareSlots] = {care_type};
    if (NewAppointmentForPatient(window, app_frame.instance, patient_id, care)) RepaintSheetWindows();
}

int FamilyListModeOfMainWindow() { return kFamilyListBrowse; }

// The appointment dialog's way to the family list: when a new appointment's patient waits on the
// unscheduled list (mode 3), and "&Other Appt(s)" of an open appointment (mode 4).
uint32_t FamilyListOfAppointmentDialog(HWND owner, HINSTANCE instance, uint32_t patient_id, bool from_open_appointment) {
    uint16_t care = 0;
    return ShowFamilyAppointments(owner, instance, &patient_id, &care,
                                  from_open_appointment ? kFamilyListFromAppointment : kFamilyListFromNewAppointment);
}

void ActOnFamilyChoice(HWND window, const FamilyListResult& choice) {
    if (choice.appointmentId) OpenChosenAppointment(window, choice.appointmentId);
    else if (choice.patientId) NewAppointmentForChosenPatient(window, choice.patientId, choice.careType);
}

// "Ot&her Appointments..." for the selection's patient.
void OtherAppointmentsCommand(HWND window) {
    FamilyListResult choice;
    choice.patientId = sheet_state.selectedPatientId;
    choice.appointmentId = ShowFamilyAppointments(window, app_frame.instance, &choice.patientId, &choice.careType,
                                                  FamilyListModeOfMainWindow());
    ActOnFamilyChoice(window, choice);
}

// A second start handed a patient over: the family list runs now; what was chosen is acted on
// from the message loop (command 385), not from inside the hand-over.
void HandOverCommand(HWND window, LPARAM lparam) {
    if (lparam == 0) return;
    FamilyListResult choice;
    choice.patientId = static_cast<uint32_t>(lparam);
    choice.appointmentId = ShowFamilyAppointments(window, app_frame.instance, &choice.patientId, &choice.careType,
                                                  FamilyListModeOfMainWindow());
    if (choice.appointmentId == 0 && choice.patientId == 0) return;
    main_state.handedOver = choice;
    PostMessageA(window, WM_COMMAND, kCmdOpenHandedOver, 0);
}

void OpenHandedOverCommand(HWND window) {
    const FamilyListResult choice = main_state.handedOver;
    main_state.handedOver = FamilyListResult{};
    ActOnFamilyChoice(window, choice);
    RepaintSheetWindows();
}

const char kOperatoryNotShown[] = "Requested operatory is not currently being displayed. View canceled.";

// --- Found free times on the sheet ----------------------------------------------------------

// What the sheet showed before the result list's first view, to go back to on Cancel.
struct SheetBeforeView {
    bool kept = false;
    int32_t date = 0;
    int topUnit = 0;
};
SheetBeforeView sheet_before_view;

// A new top unit for the sheet and the time column; the time column's paint finds the bottom.
void ScrollSheetTo(int top) {
    if (top == sheet_state.topUnit) return;
    sheet_state.bottomUnit += top - sheet_state.topUnit;
    sheet_state.topUnit = top;
    if (main_state.sheet) SetScrollPos(main_state.sheet, SB_VERT, top, TRUE);  // the thumb follows
    RepaintSheetWindows();
}

bool ViewFoundTime(const FoundTime& found, bool quiet) {
    AppointmentRecord probe{};
    std::memcpy(probe.operatory, found.operatory, sizeof probe.operatory);
    if (!AppointmentOperatoryShown(probe)) {
        if (!quiet) ShowRefusal(kOperatoryNotShown);
        return false;
    }
    if (!sheet_before_view.kept) sheet_before_view = SheetBeforeView{true, sheet_state.shownDate, sheet_state.topUnit};
    const std::vector<int32_t> shown = DisplayedDays();
    if (std::find(shown.begin(), shown.end(), found.date) == shown.end()) ShowDateAndRegister(found.date, sheet_state.mode);
    found_time_mark = FoundTimeMark{true, found.date, found.start, found.length, {}};
    std::memcpy(found_time_mark.operatory, found.operatory, sizeof found_time_mark.operatory);
    ScrollSheetTo(FoundTimeTopUnit(sheet_state.topUnit, sheet_state.bottomUnit, found.start, found.length));
    RepaintSheetWindows();
    for (HWND w : {main_state.timeColumn, main_state.header, main_state.sheet})
        if (w) UpdateWindow(w);
    return true;
}

void RestoreAfterFoundTimes() {
    found_time_mark = FoundTimeMark{};
    if (sheet_before_view.kept) {
        const SheetBeforeView before = sheet_before_view;
        sheet_before_view = SheetBeforeView{};
        if (before.date != sheet_state.shownDate) ShowDateAndRegister(before.date, sheet_state.mode);
        ScrollSheetTo(before.topUnit);
    }
    RepaintSheetWindows();
}

void KeepFoundTimeView() {
    found_time_mark = FoundTimeMark{};
    sheet_before_view = SheetBeforeView{};
    RepaintSheetWindows();
}

// "Find Ne&w Appointment Time...": for the appointment on the pin board, else the selection;
// with neither, a search for looking only. A time taken moves the appointment there in one save
// that finds the record as it was read here.
void FindNewTimeCommand(HWND window) {
    uint32_t id = main_state.pinBoard ? static_cast<uint32_t>(SendMessageA(main_state.pinBoard, kPinBoardParkedId, 0, 0)) : 0;
    const bool from_pin_board = id != 0;
    if (!from_pin_board) id = sheet_state.selectedId;
    AppointmentRecord before{};
    if (id != 0 && ReadAppointment(id, &before) != kQdbOk) return;
    AppointmentRecord chosen = before;
    if (!FindNewAppointmentTime(window, app_frame.instance, &chosen, true, 0) || id == 0) return;
    HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const MoveOutcome outcome = PlaceAppointmentAt(before, chosen.date, chosen.operatory, chosen.provider,
                                                   chosen.hour * 12 + chosen.minute / 5, from_pin_board);
    SetCursor(old_cursor);
    if (outcome != MoveOutcome::kMoved) return;
    if (before.date != 0) ReloadShownDay(before.date);
    ReloadShownDay(chosen.date);
    RepaintSheetWindows();
    PostMessageA(window, kMsgAppointmentChanged, 0, static_cast<LPARAM>(id));
}

// "&View Appt" of the locate dialog: the appointment's date in the current mode, scrolled to its
// time and selected, when its operatory is a column of the view.
void ViewLocatedAppointment(uint32_t appointment_id) {
    AppointmentRecord a{};
    if (ReadAppointment(appointment_id, &a) != kQdbOk) return;
    if (a.date == 0 || !AppointmentOperatoryShown(a)) {
        ShowRefusal(kOperatoryNotShown);
        return;
    }
    const int start = a.hour * 12;
    if (start < sheet_state.topUnit || start >= sheet_state.bottomUnit) sheet_state.topUnit = start;
    sheet_state.selectedId = a.id;
    sheet_state.selectedPatientId = a.patientId;
    sheet_state.selectedDate = a.date;
    const std::string name(a.patientName, strnlen(a.patientName, sizeof a.patientName));
    SetCurrentPatient(static_cast<int32_t>(a.patientId), name.c_str());
    ShowDateAndRegister(a.date, sheet_state.mode);
    OnSelectionChanged();
}

void LocateCommand(HWND window) {
    LocateRequest request;
    request.view = true;
    request.mayOpen = true;
    const int32_t before = sheet_state.shownDate;
    const uint32_t id = LocateAppointment(window, app_frame.instance, &request);
    if (id == 0) return;
    if (request.view) {
        ViewLocatedAppointment(id);
    } else {
        AppointmentRecord a{};
        if (ReadAppointment(id, &a) != kQdbOk) return;
        PATALERT_PopUpPatientAlerts(a.patientId, a.date, 32);
        OpenChosenAppointment(window, id);
    }
    if (sheet_state.shownDate != before) ResetFlipTabStrip(main_state.flipTabs);
}

// "Medical &Alerts/Notes...": the notes dialog for a patient's appointment, the appointment note
// alone for a new patient's; then the day is read again and the other workstations are told.
void AlertsNotesCommand(HWND window) {
    const uint32_t id = sheet_state.selectedId;
    if (sheet_state.selectedPatientId != 0)
        NotesDialog(window, app_frame.instance, sheet_state.selectedPatientId, id);
    else
        EditAppointmentNote(window, app_frame.instance, id);
    AppointmentRecord a{};
    if (ReadAppointment(id, &a) != kQdbOk) return;
    ReloadShownDay(a.date);
    AnnounceChange(StationCode(), a.date, a.provider, a.operatory, id, kChangeInPlace);
    SendMessageA(window, kMsgAppointmentChanged, 0, 0);
    RepaintSheetWindows();
}

void RunCommand(HWND window, int command, LPARAM lparam);
void RunAvailableCommand(HWND window, int command, LPARAM lparam);

// --- The patient's picture, alerts and referrals ---------------------------------------------

// The picture and the referrals are shown; the facts on the bar are read again afterwards (a
// picture put into the folder meanwhile shows its button "on").
void PatientPictureCommand(HWND window) {
    ShowPatientPicture(window, app_frame.instance, sheet_state.selectedPatientId);
    ForgetPatientFileFacts();
    OnSelectionChanged();
}

void PatientReferralsCommand(HWND window) {
    ShowPatientReferrals(window, app_frame.instance, sheet_state.selectedPatientId);
    ForgetPatientFileFacts();
    OnSelectionChanged();
}

// Changed alerts: the day is read again (its alert icons and the button's fact come from it), the
// other workstations are told the appointment changed in place, and the refresh runs.
void PatientAlertsCommand(HWND window) {
    const uint32_t id = sheet_state.selectedId;
    if (!RunPatientAlertSetup(window, app_frame.instance, sheet_state.selectedPatientId)) return;
    AppointmentRecord a{};
    if (ReadAppointment(id, &a) != kQdbOk) return;
    ReloadShownDay(a.date);
    AnnounceChange(StationCode(), a.date, a.provider, a.operatory, id, kChangeInPlace);
    SendMessageA(window, kMsgAppointmentChanged, 0, 0);
    RepaintSheetWindows();
    OnSelectionChanged();
}

// An appointment opened from the pin board; the sheet shows the change.
void OpenFromPinBoard(uint32_t appointment_id) {
    if (EditAppointment(app_frame.main_window, app_frame.instance, appointment_id) && main_state.sheet)
        InvalidateRect(main_state.sheet, nullptr, FALSE);
}

// "Current Patient - New &Appt...": a new appointment for the selected appointment's patient.
void NewAppointmentForSelection(HWND window) {
    if (sheet_state.selectedPatientId == 0) return;
    if (NewAppointmentForPatient(window, app_frame.instance, sheet_state.selectedPatientId) && main_state.sheet)
        InvalidateRect(main_state.sheet, nullptr, FALSE);
}

// Dial, the insurance information and the new patient's information work on the selection. A
// new patient's change is saved as one (appointment and side record), announced in place to the
// other workstations and shown here at once.
void DialSelection(HWND window) {
    AppointmentRecord a{};
    if (ReadAppointment(sheet_state.selectedId, &a) == kQdbOk) DialAppointmentPhone(window, a);
}

void EditSelectedNewPatient(HWND window) {
    const uint32_t id = NewPatientSelection(sheet_state.selectedId, sheet_state.selectedPatientId);
    AppointmentRecord before{};
    NewPatientRecord side_before{};
    if (id == 0 || !ReadNewPatientAppointment(id, &before, &side_before)) return;
    AppointmentRecord after = before;
    NewPatientRecord side = side_before;
    if (!EditNewPatientInfo(window, app_frame.instance, &after, &side)) return;
    if (SaveNewPatientInfo(before, side_before, after, side) != kNewPatientSaved) return;
    if (before.date != 0) {
        AnnounceChange(StationCode(), before.date, before.provider, before.operatory, before.id, kChangeInPlace);
        if (ReloadShownDay(before.date)) RepaintSheetWindows();
    }
    PostMessageA(window, kMsgAppointmentChanged, 0, static_cast<LPARAM>(before.id));
}

// --- Break, delete and set status -----------------------------------------------------------

// The windows an appointment action tells: the pin board, the selection, the sheet.
class MainActionWindows final : public ApptActionWindows {
public:
    explicit MainActionWindows(HWND window) : window_(window) {}
    uint32_t PinnedAppointment() override {
        return main_state.pinBoard ? static_cast<uint32_t>(SendMessageA(main_state.pinBoard, kPinBoardParkedId, 0, 0)) : 0;
    }
    void EmptyPinBoard() override {
        if (main_state.pinBoard) SendMessageA(main_state.pinBoard, kPinBoardEmpty, 0, 0);
    }
    uint32_t SelectedAppointment() override { return sheet_state.selectedId; }
    void ClearSelection() override {
        sheet_state.selectedId = 0;
        sheet_state.selectedPatientId = 0;
        OnSelectionChanged();
    }
    void AppointmentChanged(uint32_t id) override {
        PostMessageA(window_, kMsgAppointmentChanged, 0, static_cast<LPARAM>(id));
    }

private:
    HWND window_;
};

// An appointment broken, deleted, set complete or given a status (the command's status entry); the day it was
// on is read again. The sheet's selection goes with a broken appointment only when it was that one.
bool AppointmentAction(HWND window, int command, uint32_t id) {
    AppointmentRecord before{};
    if (id == 0 || ReadAppointment(id, &before) != kQdbOk) return false;
    MainActionWindows windows(window);
    int done = 0;
    if (command == CMD_BREAK_APPOINTMENT) {
        done = BreakAppointment(windows, id);
    } else if (command == CMD_DELETE_APPOINTMENT) {
        done = DeleteAppointment(windows, id);
    } else if (command == CMD_SET_COMPLETE) {
        done = SetAppointmentComplete(window, app_frame.instance, windows, id);
    } else {
        HCURSOR old_cursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        done = SetAppointmentStatus(windows, id, static_cast<uint8_t>(command - kStatusCommandBase));
        SetCursor(old_cursor);
    }
    if (!done) return false;
    if (command == CMD_BREAK_APPOINTMENT && sheet_state.selectedId == id) windows.ClearSelection();
    if (before.date != 0) ReloadShownDay(before.date);
    RepaintSheetWindows();
    OnSelectionChanged();
    return true;
}

void AppointmentActionCommand(HWND window, int command) { AppointmentAction(window, command, sheet_state.selectedId); }

// The appointment lists' Break, Delete and status entries run the main window's actions.
bool BreakFromList(HWND, HINSTANCE, unsigned long id) {
    return AppointmentAction(app_frame.main_window, CMD_BREAK_APPOINTMENT, static_cast<uint32_t>(id));
}
bool DeleteFromList(HWND, HINSTANCE, unsigned long id) {
    return AppointmentAction(app_frame.main_window, CMD_DELETE_APPOINTMENT, static_cast<uint32_t>(id));
}
bool SetStatusFromList(HWND, HINSTANCE, unsigned long id, int status) {
    return AppointmentAction(app_frame.main_window, kStatusCommandBase + status, static_cast<uint32_t>(id));
}

// After every command a pending mode change redraws the flip tabs for the new mode.
void OnCommand(HWND window, int command, LPARAM lparam) {
    RunCommand(window, command, lparam);
    if (main_state.tabsPending) {
        main_state.tabsPending = false;
        SetFlipTabMode(main_state.flipTabs, static_cast<FlipTabMode>(sheet_state.mode), sheet_state.shownDate);
    }
}

void RunCommand(HWND window, int command, LPARAM lparam) {
    if (command == kCmdPickedDate) {
        if (lparam > 0) ShowDateAndRegister(static_cast<int32_t>(lparam), sheet_state.mode);
        return;
    }
    if (const int view = ViewOfCommand(command)) {
        SelectView(ViewForFunctionKey(view, view_state.active.number));
        return;
    }
    if (command == kCmdSelectionButtons) {
        if (main_state.sheet) SendMessageA(main_state.sheet, kMsgSelectionButtons, 0, 0);
        return;
    }
    MainCommandContext context;
    DispatchCommand(command, context, [&] { RunAvailableCommand(window, command, lparam); });
}

// --- The appointment lists -------------------------------------------------------------------

// The fifth menu-bar entry (&Setup) waits while a list window is open.
constexpr int kSetupMenuPosition = 4;

void OpenListCommand(HWND window, int kind) {
    if (!OpenApptList(window, app_frame.instance, kind)) return;
    EnableMenuItem(GetMenu(window), kSetupMenuPosition, MF_BYPOSITION | MF_GRAYED);
    DrawMenuBar(window);
}

void ListClosed(HWND window) {
    EnableMenuItem(GetMenu(window), kSetupMenuPosition, MF_BYPOSITION | MF_ENABLED);
    DrawMenuBar(window);
}

void RunAvailableCommand(HWND window, int command, LPARAM lparam) {
    switch (command) {
    case CMD_APPT_LIST:
        OpenListCommand(window, kListAppointments);
        break;
    case CMD_ASAP_LIST:
        OpenListCommand(window, kListAsap);
        break;
    case CMD_UNSCHEDULED_LIST:
        OpenListCommand(window, kListUnscheduled);
        break;
    case CMD_LOCATE_APPOINTMENT:
        LocateCommand(window);
        break;
    case CMD_FIND_NEW_TIME:
        FindNewTimeCommand(window);
        break;
    case CMD_OTHER_APPOINTMENTS:
        OtherAppointmentsCommand(window);
        break;
    case CMD_ALERTS_NOTES:
        AlertsNotesCommand(window);
        break;
    case CMD_PATIENT_PICTURE:
        PatientPictureCommand(window);
        break;
    case CMD_PATIENT_ALERTS:
        PatientAlertsCommand(window);
        break;
    case CMD_PATIENT_REFERRALS:
        PatientReferralsCommand(window);
        break;
    case kCmdShowFamilyAppointments:
        HandOverCommand(window, lparam);
        break;
    case kCmdOpenHandedOver:
        OpenHandedOverCommand(window);
        break;
    case CMD_SELECT_PATIENT_NEW_APPT:
        if (NewAppointmentChoosingPatient(window, app_frame.instance, nullptr) && main_state.sheet)
            InvalidateRect(main_state.sheet, nullptr, FALSE);
        break;
    case CMD_CURRENT_PATIENT_NEW_APPT:
        NewAppointmentForSelection(window);
        break;
    case CMD_DIAL:
        DialSelection(window);
        break;
    case CMD_BREAK_APPOINTMENT:
    case CMD_DELETE_APPOINTMENT:
    case CMD_SET_COMPLETE:
        AppointmentActionCommand(window, command);
        break;
    case CMD_PURGE_APPOINTMENTS:
        if (RunPurgeDialog(window, app_frame.instance)) ShowDate(sheet_state.shownDate, sheet_state.mode);
        break;
    case CMD_INSURANCE_INFO:
        ShowInsuranceClaimInfo(window, app_frame.instance, sheet_state.selectedPatientId);
        break;
    case CMD_NEW_PATIENT_INFO:
        EditSelectedNewPatient(window);
        break;
    case CMD_FONT_SELECT:
        if (RunSheetFontDialog(window, app_frame.instance)) ApplyNewSheetFont(window);
        break;
    case CMD_EXIT:
        DestroyWindow(window);
        break;
    case CMD_HELP_CONTENTS:
        OpenHelpFile(window, "apptbook.chm");
        break;
    case CMD_HELP_USING:
        OpenHelpFile(window, "Winhelp.hlp");
        break;
    case CMD_ABOUT:
        ShowAboutBox(window, app_frame.instance);
        break;
    case CMD_IDEAL_DAY:
        ToggleIdealDay(window);
        break;
    case CMD_REFRESH:
        RefreshEverything();
        break;
    case CMD_VIEW:
        // Applied whatever its number: the view may have just been edited in the dialog.
        if (const int n = RunSelectViewDialog(window, app_frame.instance)) {
            ApplyView(n);
            ShowDateAndRegister(sheet_state.shownDate, sheet_state.mode);
        }
        break;
    case CMD_FLIP_TABS_SETUP:
        if (RunFlipTabsSetup(window, app_frame.instance)) ReloadFlipTabs(main_state.flipTabs);
        break;
    case kCmdResetFlipTabs:
        ResetFlipTabStrip(main_state.flipTabs);
        break;
    case CMD_FLIP_TAB_1:
    case CMD_FLIP_TAB_1 + 1:
    case CMD_FLIP_TAB_1 + 2:
    case CMD_FLIP_TAB_1 + 3:
        ActivateVisibleFlipTab(main_state.flipTabs, command - CMD_FLIP_TAB_1);
        break;
    case kDateBackCommand:
        StepDate(-1);
        break;
    case kDateForwardCommand:
        StepDate(+1);
        break;
    case kDateCalendarCommand:
        OpenCalendar(window, app_frame.instance, sheet_state.shownDate, false, kCalendarPickDate, nullptr);
        break;
    case CMD_PRACTICE_SETUP:
        AfterPracticeSetup(window, PracticeSetup(window, app_frame.instance) == 1);
        break;
    case CMD_PRACTICE_SCHEDULE:
        OpenCalendar(window, app_frame.instance, sheet_state.shownDate, false, kCalendarPractice, nullptr);
        break;
    case CMD_PROVIDER_SETUP:  // the provider chooser, its setup and schedule
        ProviderChooser(window, app_frame.instance);
        break;
    case CMD_PRINT_VIEW:
        PrintViewDialog(window, app_frame.instance);
        break;
    case CMD_PRINT_ROUTE_SLIP:
        PrintRouteSlipDialog(window, app_frame.instance, sheet_state.selectedId);
        break;
    case kDateTodayCommand:
        ShowDateAndRegister(QVN_SysDate(), sheet_state.mode);
        break;
    case kDayViewCommand:
    case CMD_DAY_VIEW_KEY:
        ShowDayView();
        break;
    case kWeekViewCommand:
    case CMD_WEEK_VIEW_KEY:
        ShowWeekView();
        break;
    case kMonthViewCommand:
    case CMD_MONTH_VIEW_KEY:
        ShowMonthView();
        break;
    default:
        if (command > kStatusCommandBase && command <= kStatusCommandBase + kMaxPracticeStatus)
            AppointmentActionCommand(window, command);
        else if (IsLauncherCommand(command))
            // The suite's modules for the selection's patient (none for a new patient's appointment).
            LaunchModuleCommand(window, app_frame.instance, command, sheet_state.selectedPatientId, sheet_state.selectedId);
        break;
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        OnSize(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wparam), lparam);
        return 0;
    case WM_TIMER:
        if (wparam == kRefreshTimer) PollForChanges(window);
        return 0;
    case kMsgAppointmentChanged:
        PollForChanges(window);
        return 0;
    case kMsgListClosed:
        ListClosed(window);
        return 0;
    case kMsgSelectionButtons:
        if (main_state.sheet) SendMessageA(main_state.sheet, kMsgSelectionButtons, wparam, lparam);
        return 0;
    case kMsgRefresh:
        PostMessageA(window, WM_COMMAND, CMD_REFRESH, 0);
        return 0;
    case kMsgNewPatientSelected:
        return static_cast<LRESULT>(NewPatientSelection(sheet_state.selectedId, sheet_state.selectedPatientId));
    case kMsgGiveNewPatientId:
        if (NewPatientSelection(sheet_state.selectedId, sheet_state.selectedPatientId) != 0 &&
            GiveNewPatientId(sheet_state.selectedId, static_cast<uint32_t>(lparam))) {
            sheet_state.selectedPatientId = static_cast<uint32_t>(lparam);
            PostMessageA(window, WM_COMMAND, CMD_REFRESH, 0);
        }
        return 0;
    case kMsgFlipTab:
        ShowDateAndRegister(static_cast<int32_t>(lparam), sheet_state.mode);
        if (wparam) PostMessageA(window, WM_COMMAND, kCmdResetFlipTabs, 0);
        return 0;
    case WM_MOUSEWHEEL:
        if (main_state.sheet) SendMessageA(main_state.sheet, message, wparam, lparam);
        return 0;
    case kMsgButtonDisabled:
        return ButtonState(static_cast<int>(wparam), CurrentSelectionFacts(), reinterpret_cast<int*>(lparam));
    case WM_KEYDOWN:
        // The sheet hands the focus to the main window on a press: Escape reaches it here.
        if (wparam == VK_ESCAPE && main_state.sheet && SheetDragging()) {
            CancelSheetDrag(main_state.sheet);
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (wparam >= VK_F1 && wparam <= VK_F12)
            SelectView(ViewForFunctionKey(static_cast<int>(wparam - VK_F1) + 1, view_state.active.number));
        return DefWindowProcA(window, message, wparam, lparam);
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows may end the process once this returns: the shut-down runs now, whatever the
        // parameters, and the destroy that may follow finds it done.
        OnDestroy(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

void ReplaceStatusMenu(const StatusTables& tables) {
    HMENU bar = app_frame.main_window ? GetMenu(app_frame.main_window) : nullptr;
    if (!bar) return;
    HMENU popup = CreatePopupMenu();
    if (!popup) return;
    for (const StatusMenuEntry& e : tables.entries)
        AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(e.command), e.name);
    constexpr int kStatusPosition = 3;
    char caption[16] = {};
    GetMenuStringA(bar, kStatusPosition, caption, sizeof caption, MF_BYPOSITION);
    ModifyMenuA(bar, kStatusPosition, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption);
    UpdateMenuEntries(bar, CurrentSelectionFacts());
    DrawMenuBar(app_frame.main_window);
}

void ShowFirstSheet() {
    sheet_state.topUnit = view_state.firstShownTime;
    sheet_state.bottomUnit = view_state.firstShownTime;
    ShowDate(QVN_SysDate(), kDayView);
}

HWND CreateMainWindow(HINSTANCE instance) {
    int screen_width = GetSystemMetrics(SM_CXSCREEN);
    int screen_height = GetSystemMetrics(SM_CYSCREEN);
    return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW, 90, 0,
                           screen_width - 180, screen_height - 2, nullptr, nullptr, instance,
                           nullptr);
}
