// The left mouse button on the schedule sheet: selecting an appointment, dragging it to another
// time, operatory or day in the floating window ("MoveIt"), and dragging its lower edge to change
// its length. Where things are comes from the hit test; what a drop does comes from the
// appointment moves; this file only follows the mouse.
#include "views/sheet_mouse_win.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/current_patient.h"
#include "app/private_messages.h"
#include "app/refresh.h"
#include "app/run_bitmaps_win.h"
#include "appointments/appointment_moves.h"
#include "appointments/appt_dialog_win.h"
#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "suite/dates.h"
#include "suite/lab_case.h"
#include "suite/patient_alert.h"
#include "suite/prompter.h"
#include "suite/users.h"
#include "views/block_edit.h"
#include "views/block_edit_win.h"
#include "views/info_box.h"
#include "views/info_box_win.h"
#include "views/pin_board.h"
#include "views/sheet_hit.h"
#include "views/sheet_menus_win.h"
#include "views/sheet_paint_win.h"
#include "views/sheet_state.h"

namespace {

constexpr int kAlertsOpenedAppointment = 32;

constexpr int kResizeGripWidth = 13;   // a press this close to a box's lower right corner resizes
constexpr int kResizeLeaveMargin = 8;  // a resize ends when the cursor goes this far below the sheet
constexpr int kCmdAlertsNotes = 381;
constexpr int kCmdLabCaseManager = 404;
const char kToUnscheduledList[] = "Appointment will be placed in the unscheduled list.";

// kPending: the button went down on an appointment or a block, and the mouse has not yet moved
// past the system's drag distance: a release then only selects.
enum class Drag { kNone, kPending, kMove, kResize, kBlockMove, kBlockResize, kEmptySlot };

struct MouseState {
    Drag drag = Drag::kNone;
    HitRecord pressed;          // the hit of the last press
    POINT pressPoint{};         // where the button went down, for the drag distance
    HWND floating = nullptr;    // the "MoveIt" window over the dragged box
    bool floatingShown = false;
    POINT offset{};             // of the press point from the box's upper left corner
    int boxWidth = 0;
    int resizeMinutes = 0;
    bool fromPinBoard = false;  // the drag began on the pin board
    bool infoBox = false;       // the information box is shown until the right button is up
    RECT slot{};                // the empty slot shown inverted
    HFONT font = nullptr;
};
MouseState mouse;
std::unique_ptr<SheetMenus> menus;  // made with the sheet, gone with it
void (*selection_changed)() = nullptr;

HINSTANCE InstanceOf(HWND w) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(w, GWLP_HINSTANCE)); }

void NotifySelectionChanged() {
    if (selection_changed) selection_changed();
}

int BlockUnits() { return std::max(practice_tables.blockUnits, 1); }
int RowHeight() { return std::max(sheet_state.measures.rowHeight, 1); }

int ClientHeight(HWND sheet) {
    RECT r;
    GetClientRect(sheet, &r);
    return r.bottom;
}

// The selection moves to the hit appointment: the DDE service, the sheet and the main window's
// buttons follow it.
void Select(HWND sheet, const HitRecord& hit) {
    SheetState& s = sheet_state;
    s.selectedId = static_cast<uint32_t>(hit.appointment.id);
    s.selectedPatientId = hit.appointment.patientId;
    s.selectedDate = hit.date;
    SetCurrentPatient(static_cast<int32_t>(hit.appointment.patientId), hit.appointment.name.c_str());
    InvalidateRect(sheet, nullptr, FALSE);
    NotifySelectionChanged();
}

void DestroyFloating() {
    if (mouse.floating) DestroyWindow(mouse.floating);
    mouse.floating = nullptr;
    mouse.floatingShown = false;
}

// The mode ends before the capture goes, so that the capture change this causes is not taken
// for a capture lost in the middle of a drag.
void EndDrag(HWND sheet) {
    mouse.drag = Drag::kNone;
    ClipCursor(nullptr);
    DestroyFloating();
    if (sheet && GetCapture() == sheet) ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

// The button went down on a box: the drag starts once the mouse has gone the drag distance.
void Press(HWND sheet, int x, int y) {
    mouse.drag = Drag::kPending;
    mouse.pressPoint = POINT{x, y};
    SetCapture(sheet);
}

void StartDrag(HWND sheet, const HitRecord& hit, int x, int y) {
    const RECT box{hit.left, hit.top, hit.right, hit.bottom};
    mouse.floating = CreateWindowExA(WS_EX_TRANSPARENT, "MoveIt", "", WS_CHILD | WS_VISIBLE, box.left, box.top,
                                     box.right - box.left, box.bottom - box.top, sheet, nullptr,
                                     reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(sheet, GWLP_HINSTANCE)), nullptr);
    mouse.floatingShown = mouse.floating != nullptr;
    mouse.offset = POINT{x - box.left, y - box.top};
    mouse.boxWidth = box.right - box.left;
    SetCapture(sheet);
    const bool in_last_row = y >= box.bottom - RowHeight();
    if (day_data.mode == kDayView && in_last_row && x >= box.right - kResizeGripWidth) {
        mouse.drag = Drag::kResize;
        POINT edge{x, box.bottom - 1};
        ClientToScreen(sheet, &edge);
        SetCursorPos(edge.x, edge.y);
        SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
        mouse.resizeMinutes = hit.appointment.length;
    } else {
        mouse.drag = Drag::kMove;
        SetCursor(run_bitmaps.handCursor ? run_bitmaps.handCursor : LoadCursorA(nullptr, IDC_HAND));
    }
}

// A time block keeps its column: a move may only change its times, so the cursor is held on a
// vertical line through the press point.
void StartBlockDrag(HWND sheet, const HitRecord& hit, int x, int y) {
    RECT box{hit.left, hit.top, hit.right, hit.bottom};
    if (box.right - box.left >= 13) InflateRect(&box, -4, 0);
    mouse.floating = CreateWindowExA(WS_EX_TRANSPARENT, "MoveIt", "", WS_CHILD | WS_VISIBLE, box.left, box.top,
                                     box.right - box.left, box.bottom - box.top, sheet, nullptr, InstanceOf(sheet), nullptr);
    mouse.floatingShown = mouse.floating != nullptr;
    mouse.offset = POINT{x - box.left, y - box.top};
    mouse.boxWidth = box.right - box.left;
    SetCapture(sheet);
    if (day_data.mode == kDayView && y >= hit.bottom - RowHeight()) {
        mouse.drag = Drag::kBlockResize;
        POINT edge{x, hit.bottom - 1};
        ClientToScreen(sheet, &edge);
        SetCursorPos(edge.x, edge.y);
        SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
    } else {
        mouse.drag = Drag::kBlockMove;
        RECT client;
        GetClientRect(sheet, &client);
        POINT top{x, 0}, bottom{x + 1, client.bottom};
        ClientToScreen(sheet, &top);
        ClientToScreen(sheet, &bottom);
        RECT line{top.x, top.y, bottom.x, bottom.y};
        ClipCursor(&line);
    }
}

const DayColumn* PressedColumn() {
    const HitRecord& h = mouse.pressed;
    if (h.day < 0 || h.column < 0 || h.day >= static_cast<int>(day_data.days.size())) return nullptr;
    const DayRecord& day = day_data.days[static_cast<size_t>(h.day)];
    return h.column < static_cast<int>(day.columns.size()) ? &day.columns[static_cast<size_t>(h.column)] : nullptr;
}

void DropBlock(HWND sheet, int y) {
    const bool resize = mouse.drag == Drag::kBlockResize;
    const HitRecord pressed = mouse.pressed;
    RECT floating{};
    if (mouse.floating) {
        GetWindowRect(mouse.floating, &floating);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&floating), 2);
    }
    EndDrag(sheet);
    const DayColumn* column = PressedColumn();
    if (!column || pressed.block < 0 || pressed.block >= static_cast<int>(column->blocks.size())) return;
    const TimeBlockRecord& block = column->blocks[static_cast<size_t>(pressed.block)];
    const int R = RowHeight(), S = BlockUnits();
    const BlockRange range = resize ? BlockDropRange(pressed.top, BlockResizeUnits(pressed.top, std::max(y, pressed.top + R), R, S), R, S, sheet_state.topUnit)
                                    : BlockDropRange(y - mouse.offset.y, block.end - block.start, R, S, sheet_state.topUnit);
    MoveTimeBlock(*column, pressed.block, range.start, range.end, pressed.date);
    InvalidateRect(sheet, nullptr, FALSE);
}

bool InsideClient(HWND sheet, int x, int y, int below_margin) {
    RECT r;
    GetClientRect(sheet, &r);
    return x >= 0 && x < r.right && y >= 0 && y < r.bottom + below_margin;
}

void FollowMove(HWND sheet, int x, int y) {
    const bool inside = InsideClient(sheet, x, y, 0);
    if (inside != mouse.floatingShown && mouse.floating) {
        ShowWindow(mouse.floating, inside ? SW_SHOWNA : SW_HIDE);
        mouse.floatingShown = inside;
    }
    if (!inside) {
        const bool dated = mouse.pressed.date != 0;
        HCURSOR off_sheet = dated ? run_bitmaps.apptCursor : run_bitmaps.apptNoDateCursor;
        SetCursor(off_sheet ? off_sheet : LoadCursorA(nullptr, IDC_NO));
        return;
    }
    SetCursor(run_bitmaps.handCursor ? run_bitmaps.handCursor : LoadCursorA(nullptr, IDC_HAND));
    if (mouse.floating)
        SetWindowPos(mouse.floating, nullptr, x - mouse.offset.x, y - mouse.offset.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FollowBlockMove(HWND sheet, int y) {
    if (mouse.floating)
        SetWindowPos(mouse.floating, nullptr, mouse.pressed.left + (mouse.pressed.right - mouse.pressed.left >= 13 ? 4 : 0),
                     y - mouse.offset.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(sheet, nullptr, FALSE);
}

void FollowResize(HWND sheet, int x, int y) {
    if (!InsideClient(sheet, x, y, kResizeLeaveMargin)) {
        EndDrag(sheet);  // leaving the sheet cancels a resize
        InvalidateRect(sheet, nullptr, FALSE);
        return;
    }
    const int top = mouse.pressed.top;
    const int bottom = std::max(y, top + RowHeight() + 4);
    mouse.resizeMinutes = ResizeMinutes(top, bottom, RowHeight(), BlockUnits());  // blocks and boxes alike
    if (mouse.floating) {
        SetWindowPos(mouse.floating, nullptr, 0, 0, mouse.boxWidth, bottom - top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(mouse.floating, nullptr, FALSE);
    }
    InvalidateRect(sheet, nullptr, FALSE);  // the part the box no longer covers
}

// After the program's own change: the shown days it touched are reloaded at once, and the main
// window looks for other workstations' changes.
void AfterOwnChange(HWND sheet, int32_t old_date, int32_t new_date) {
    ReloadShownDay(old_date);
    if (new_date != old_date) ReloadShownDay(new_date);
    PostMessageA(GetParent(sheet), kMsgAppointmentChanged, 0, static_cast<LPARAM>(sheet_state.selectedId));
    InvalidateRect(sheet, nullptr, FALSE);
}

// The patient's alerts for the appointment's date. Whoever reads them may have changed them, so
// the day is reloaded with its markers and the other workstations hear of it.
void ShowPatientAlerts(HWND sheet, const HitRecord& hit) {
    // Copied first: while the box is up the refresh timer may reload the shown days.
    const DayRecord& day = day_data.days[static_cast<size_t>(hit.day)];
    const int32_t date = day.date;
    const char* column_id = day.columns[static_cast<size_t>(hit.column)].id;
    char operatory[4];
    std::copy(column_id, column_id + 4, operatory);
    PATALERT_PopUpPatientAlerts(hit.appointment.patientId, date, 0);
    AnnounceChange(StationCode(), date, hit.appointment.provider, operatory, static_cast<uint32_t>(hit.appointment.id),
                   kChangeInPlace);
    AfterOwnChange(sheet, date, date);
}

// A case still to be sent goes to the Lab Case Manager; otherwise the appointment's cases are
// listed, and the day is reloaded for a state that changed meanwhile.
void ShowLabCases(HWND sheet, const HitRecord& hit) {
    const int32_t date = day_data.days[static_cast<size_t>(hit.day)].date;
    if (hit.appointment.labCaseState == kLabNeeded) {
        PostMessageA(GetParent(sheet), WM_COMMAND, kCmdLabCaseManager, 0);
        PostMessageA(GetParent(sheet), kMsgAppointmentChanged, 0, static_cast<LPARAM>(hit.appointment.id));
        return;
    }
    ShowApptCaseLinks(static_cast<uint32_t>(hit.appointment.id));
    AfterOwnChange(sheet, date, date);
}

HWND PinBoard(HWND sheet) { return FindWindowExA(GetParent(sheet), nullptr, "SSPinBoard", nullptr); }

void Park(HWND sheet, HitRecord hit) {
    if (HWND board = PinBoard(sheet)) SendMessageA(board, kPinBoardPark, reinterpret_cast<WPARAM>(&hit), 1);
}

bool ReleasedOverPinBoard(HWND sheet) {
    POINT p;
    GetCursorPos(&p);
    HWND board = PinBoard(sheet);
    return board && WindowFromPoint(p) == board;
}

// Released outside the sheet. A card from the pin board that goes nowhere else goes back there:
// it stays where it was.
void DropOffSheet(HWND sheet, const HitRecord& pressed, bool from_pin_board) {
    if (ReleasedOverPinBoard(sheet)) {
        Park(sheet, pressed);
    } else if (pressed.date == 0) {
        // Without a date it goes to the unscheduled list, unless the user keeps it on the board.
        PromptRequest request{kToUnscheduledList, kTitleAppointmentBook, kButtonsOkCancel, kIconExclamation};
        if (CurrentPrompter().Show(request) != kAnswerOk) Park(sheet, pressed);
    } else if (from_pin_board) {
        Park(sheet, pressed);
    }
}

// Released on the sheet: the box's centre and top give day, operatory and time. A drop on no
// operatory or outside the view's time is refused like a conflict.
MoveOutcome DropOnSheet(HWND sheet, const HitRecord& pressed, int x, int y, bool from_pin_board) {
    const int top = y - mouse.offset.y;
    const int centre = x - mouse.offset.x + mouse.boxWidth / 2;
    const HitRecord target = HitTest(centre, std::clamp(top, 0, ClientHeight(sheet) - 1), ClientHeight(sheet));
    if (target.day < 0 || target.column < 0) return MoveOutcome::kRefused;
    const int unit = DropUnit(top, RowHeight(), BlockUnits(), sheet_state.topUnit);
    if (unit < sheet_state.topUnit - 1 || unit > sheet_state.bottomUnit) return MoveOutcome::kRefused;
    const DayRecord& day = day_data.days[static_cast<size_t>(target.day)];
    const DayColumn& column = day.columns[static_cast<size_t>(target.column)];
    const int32_t old_date = pressed.date;
    const int32_t new_date = day.date;
    char operatory[4];
    std::copy(column.id, column.id + 4, operatory);
    const MoveOutcome outcome = MoveAppointment(static_cast<uint32_t>(pressed.appointment.id), new_date, operatory,
                                                std::max(unit, 0), QVN_SysDate(), from_pin_board);
    QVN_SetOverrideToLoggedIn();  // a password given for this move gives no rights beyond it
    if (outcome == MoveOutcome::kMoved) {
        if (from_pin_board) {
            HitRecord scheduled = pressed;
            scheduled.day = target.day;
            scheduled.date = new_date;
            Select(sheet, scheduled);
        }
        AfterOwnChange(sheet, old_date, new_date);
    }
    return outcome;
}

void DropMove(HWND sheet, int x, int y) {
    const HitRecord pressed = mouse.pressed;
    const bool released_on_sheet = mouse.floatingShown;
    const bool from_pin_board = mouse.fromPinBoard;
    EndDrag(sheet);
    mouse.fromPinBoard = false;
    if (!released_on_sheet) {
        DropOffSheet(sheet, pressed, from_pin_board);
        return;
    }
    // Whatever kept a card from the pin board from being scheduled, it goes back onto the board.
    if (DropOnSheet(sheet, pressed, x, y, from_pin_board) != MoveOutcome::kMoved && from_pin_board) Park(sheet, pressed);
}

void DropResize(HWND sheet) {
    const HitRecord pressed = mouse.pressed;
    const int minutes = mouse.resizeMinutes;
    EndDrag(sheet);
    const int32_t date = pressed.date;
    const MoveOutcome outcome = ChangeAppointmentLength(static_cast<uint32_t>(pressed.appointment.id), minutes);
    QVN_SetOverrideToLoggedIn();
    if (outcome == MoveOutcome::kMoved) AfterOwnChange(sheet, date, date);
    InvalidateRect(sheet, nullptr, FALSE);
}

void InvertSlot(HWND sheet) {
    HDC dc = GetDC(sheet);
    InvertRect(dc, &mouse.slot);
    ReleaseDC(sheet, dc);
}

LRESULT CALLBACK FloatingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        if (mouse.drag == Drag::kBlockMove || mouse.drag == Drag::kBlockResize) {
            const DayColumn* column = PressedColumn();
            const COLORREF colour = column && mouse.pressed.block >= 0 && mouse.pressed.block < static_cast<int>(column->blocks.size())
                                        ? column->blocks[static_cast<size_t>(mouse.pressed.block)].colour
                                        : RGB(0, 0, 0);
            PaintFloatingBlock(dc, client, colour, mouse.drag == Drag::kBlockResize ? mouse.resizeMinutes : 0, mouse.font);
        } else {
            PaintFloatingAppointment(dc, client, mouse.pressed.appointment,
                                     mouse.drag == Drag::kResize ? mouse.resizeMinutes : 0, mouse.font);
        }
        EndPaint(window, &ps);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

}  // namespace

WNDPROC FloatingWindowProc() { return FloatingProc; }

void SetSheetMouseFont(HFONT font3) { mouse.font = font3; }

void SetSelectionChangedHook(void (*hook)()) { selection_changed = hook; }

void OnSheetLeftButtonDown(HWND sheet, int x, int y) {
    if (mouse.infoBox) return;
    SetFocus(GetParent(sheet));
    const HitRecord hit = HitTest(x, y, ClientHeight(sheet));
    mouse.pressed = hit;
    switch (hit.result) {
    case kHitAppointment:
        Select(sheet, hit);
        if (hit.appointment.status != kStatusComplete) Press(sheet, x, y);
        break;
    case kHitNoteMarker:
        Select(sheet, hit);
        PostMessageA(GetParent(sheet), WM_COMMAND, kCmdAlertsNotes, 0);
        break;
    case kHitPatientAlert:
        Select(sheet, hit);
        ShowPatientAlerts(sheet, hit);
        break;
    case kHitLabCase:
        Select(sheet, hit);
        ShowLabCases(sheet, hit);
        break;
    case kHitTimeBlock:
        Press(sheet, x, y);
        break;
    case kHitEmptySlot:
        mouse.drag = Drag::kEmptySlot;
        mouse.slot = RECT{hit.left, hit.top, hit.right, hit.bottom};
        InvertSlot(sheet);
        SetCapture(sheet);
        break;
    default:
        mouse.pressed = HitRecord{};  // a box cut off by the window cannot be taken
        break;
    }
}

void OnSheetMouseMove(HWND sheet, int x, int y) {
    if (mouse.drag == Drag::kPending) {
        const POINT p = mouse.pressPoint;
        if (!BeyondDragDistance(x - p.x, y - p.y, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) return;
        mouse.drag = Drag::kNone;
        if (mouse.pressed.result == kHitTimeBlock) StartBlockDrag(sheet, mouse.pressed, p.x, p.y);
        else StartDrag(sheet, mouse.pressed, p.x, p.y);
        if (mouse.drag == Drag::kResize) return;  // the cursor was put on the box's lower edge
    }
    if (mouse.drag == Drag::kMove) FollowMove(sheet, x, y);
    else if (mouse.drag == Drag::kResize || mouse.drag == Drag::kBlockResize) FollowResize(sheet, x, y);
    else if (mouse.drag == Drag::kBlockMove) FollowBlockMove(sheet, y);
}

void OnSheetLeftButtonUp(HWND sheet, int x, int y) {
    switch (mouse.drag) {
    case Drag::kMove:
        DropMove(sheet, x, y);
        break;
    case Drag::kResize:
        DropResize(sheet);
        break;
    case Drag::kBlockMove:
    case Drag::kBlockResize:
        DropBlock(sheet, y);
        break;
    case Drag::kEmptySlot:
        InvertSlot(sheet);
        EndDrag(sheet);
        break;
    case Drag::kPending:  // a click: the press selected, nothing moves
        EndDrag(sheet);
        break;
    case Drag::kNone:
        break;
    }
    InvalidateRect(sheet, nullptr, FALSE);
}

void CancelSheetDrag(HWND sheet) {
    if (mouse.infoBox) {
        mouse.infoBox = false;
        CloseInfoBox();
    }
    if (mouse.drag == Drag::kNone) return;
    const bool from_pin_board = mouse.fromPinBoard;
    const HitRecord pressed = mouse.pressed;
    if (mouse.drag == Drag::kEmptySlot) InvertSlot(sheet);
    EndDrag(sheet);
    mouse.fromPinBoard = false;
    if (from_pin_board) Park(sheet, pressed);  // nothing was moved: the card is where it was
    InvalidateRect(sheet, nullptr, FALSE);
}

void OnSheetCaptureChanged(HWND sheet, HWND new_capture) {
    if (new_capture != sheet) CancelSheetDrag(sheet);
}

void OnSheetSelectionButtons() { NotifySelectionChanged(); }

bool SheetDragging() { return mouse.drag != Drag::kNone; }

void OnSheetDestroyed() {
    menus.reset();
    EndDrag(nullptr);
}

void OnDragFromPinBoard(HWND sheet, const HitRecord& parked, int x, int y) {
    if (mouse.drag != Drag::kNone || day_data.mode == kMonthView) return;
    mouse.pressed = parked;
    mouse.fromPinBoard = true;
    // The board knows no box: the floating box takes the width of the first operatory column
    // and the appointment's length.
    int width = 100;
    for (const DayColumn& c : day_data.days.empty() ? std::vector<DayColumn>{} : day_data.days.front().columns)
        if (c.kind == kOperatoryColumn) {
            width = c.right - c.left;
            break;
        }
    const int rows = std::max(parked.appointment.length / 5 / BlockUnits(), 1);
    mouse.boxWidth = width;
    mouse.offset = POINT{width / 2, RowHeight() / 2};
    mouse.floating = CreateWindowExA(WS_EX_TRANSPARENT, "MoveIt", "", WS_CHILD, x - mouse.offset.x, y - mouse.offset.y,
                                     width, rows * RowHeight() + 1, sheet, nullptr,
                                     reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(sheet, GWLP_HINSTANCE)), nullptr);
    mouse.floatingShown = false;  // shown once the cursor enters the sheet
    mouse.drag = Drag::kMove;
    SetCapture(sheet);
}

// A block's edit dialog; the day is reloaded by the edit when it wrote a change.
void EditBlock(HWND sheet, const HitRecord& hit, int block) {
    const DayRecord& day = day_data.days[static_cast<size_t>(hit.day)];
    const DayColumn& column = day.columns[static_cast<size_t>(hit.column)];
    if (block < 0 || block >= static_cast<int>(column.blocks.size())) return;
    const TimeBlockRecord chosen = column.blocks[static_cast<size_t>(block)];
    char operatory[4];
    std::copy(column.id, column.id + 4, operatory);
    if (EditBlockForDay(sheet, InstanceOf(sheet), chosen, day.date, operatory)) InvalidateRect(sheet, nullptr, TRUE);
}

void OnSheetRightButtonDown(HWND sheet, int x, int y, bool shift) {
    if (mouse.drag != Drag::kNone || day_data.mode == kMonthView) return;
    const HitRecord hit = HitTest(x, y, ClientHeight(sheet));
    POINT screen{x, y};
    ClientToScreen(sheet, &screen);
    if (hit.result == kHitTimeBlock && sheet_state.idealDay) {
        EditBlock(sheet, hit, hit.block);
        return;
    }
    if (hit.result == kHitEmptySlot && sheet_state.idealDay) {
        const DayColumn& column = day_data.days[static_cast<size_t>(hit.day)].columns[static_cast<size_t>(hit.column)];
        EditBlock(sheet, hit, SheetMenus::TrackTimeBlockMenu(sheet, screen, column));
        return;
    }
    if (hit.result != kHitAppointment && hit.result != kHitNoteMarker && hit.result != kHitPatientAlert &&
        hit.result != kHitLabCase)
        return;
    Select(sheet, hit);
    if (!shift) {
        if (!menus) menus = std::make_unique<SheetMenus>(GetParent(sheet));
        if (hit.appointment.patientId) menus->TrackPatientMenu(sheet, screen);
        else menus->TrackNewPatientMenu(sheet, screen);
        return;
    }
    POINT left{hit.left, hit.top}, right{hit.right, hit.top};
    ClientToScreen(sheet, &left);
    ClientToScreen(sheet, &right);
    const InfoBoxAnchor anchor = SheetInfoBoxAnchor(left.x, right.x, left.y);
    ShowInfoBox(sheet, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(sheet, GWLP_HINSTANCE)), hit.appointment,
                day_data.days[static_cast<size_t>(hit.day)].date, POINT{anchor.x, anchor.y}, false);
    mouse.infoBox = true;
    SetCapture(sheet);
}

void OnSheetDoubleClick(HWND sheet, int x, int y) {
    if (mouse.drag != Drag::kNone || mouse.infoBox || day_data.mode == kMonthView) return;
    const HitRecord hit = HitTest(x, y, ClientHeight(sheet));
    HWND owner = GetParent(sheet);
    const uint32_t id = static_cast<uint32_t>(hit.appointment.id);
    if (hit.result == kHitAppointment && id == sheet_state.selectedId) {
        SetCurrentPatient(static_cast<int32_t>(hit.appointment.patientId), hit.appointment.name.c_str());
        if (hit.appointment.patientId) PATALERT_PopUpPatientAlerts(hit.appointment.patientId, hit.date, kAlertsOpenedAppointment);
        if (EditAppointment(owner, InstanceOf(sheet), id)) InvalidateRect(sheet, nullptr, FALSE);
        return;
    }
    if (hit.result != kHitEmptySlot || hit.kind != kOperatoryColumn) return;
    const DayColumn& column = day_data.days[static_cast<size_t>(hit.day)].columns[static_cast<size_t>(hit.column)];
    NewApptPlace place;
    place.operatory.assign(column.id, strnlen(column.id, 4));
    place.date = hit.date;
    place.hour = hit.hour;
    place.minute = hit.minute;
    if (NewAppointmentChoosingPatient(owner, InstanceOf(sheet), &place)) {
        InvalidateRect(sheet, nullptr, FALSE);
        SetFocus(owner);  // the main window hands the keys to the sheet
    }
}

void OnSheetRightButtonUp(HWND sheet) {
    if (!mouse.infoBox) return;
    mouse.infoBox = false;
    CloseInfoBox();
    if (GetCapture() == sheet) ReleaseCapture();
}
