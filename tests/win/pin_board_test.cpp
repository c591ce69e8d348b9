// The pin board and the information box in real windows under Wine: parking through message
// 1082 and reading back through 1083 and 1085, emptying with 1084, the frames and the painted
// card (pixels against the card bitmaps), a real left click handing the card to a sibling sheet
// window, the double-click hook, a real right press showing the information box with its six
// lines at its place until the button is released, and the "Clipboard Appt" rule on the first
// paint over a real practice database.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "../native/settings_test_env.h"
#include "app/run_bitmaps_win.h"
#include "data/appointment_record.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "suite/dates.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "views/info_box.h"
#include "views/info_box_win.h"
#include "views/pin_board_win.h"
#include "views/sheet_state.h"
#include "win_harness.h"

namespace {

// What the sibling sheet window received as message 1082.
struct SheetHandOver {
    int count = 0;
    HitRecord record;
    POINT point = {};
    uint32_t boardIdMeanwhile = 0;  // what the board answered to 1085 during the hand-over
};
SheetHandOver sheet_heard;
HWND board_under_test = nullptr;

LRESULT CALLBACK TestSheetProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kSheetDragFromPinBoard) {
        ++sheet_heard.count;
        if (wparam) sheet_heard.record = *reinterpret_cast<const HitRecord*>(wparam);
        sheet_heard.point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        sheet_heard.boardIdMeanwhile = static_cast<uint32_t>(SendMessageA(board_under_test, kPinBoardParkedId, 0, 0));
        return 1;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

std::vector<uint32_t> opened;
void RecordOpen(uint32_t id) { opened.push_back(id); }

// Takes a class name over for the test with the given procedure and gives it back afterwards:
// other tests of this program register the application's own classes under the same names.
class BorrowedClass {
public:
    BorrowedClass(const char* name, WNDPROC procedure, UINT style, int brush) : name_(name) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        saved_.cbSize = sizeof saved_;
        had_ = GetClassInfoExA(instance, name, &saved_) != 0;
        if (had_) UnregisterClassA(name, instance);
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = style;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
        wc.lpszClassName = name;
        registered_ = RegisterClassExA(&wc) != 0;
    }
    ~BorrowedClass() {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        UnregisterClassA(name_, instance);
        if (had_) {
            saved_.lpszClassName = name_;
            RegisterClassExA(&saved_);
        }
    }
    bool Registered() const { return registered_; }

private:
    const char* name_;
    WNDCLASSEXA saved_ = {};
    bool had_ = false;
    bool registered_ = false;
};

constexpr int kParentX = 200, kParentY = 150;
constexpr int kBoardX = 300, kBoardWidth = 36, kBoardHeight = 48;

// A borderless parent with a 300 x 300 sheet stand-in and the pin board right of it, bordered
// and sized as the main window makes it.
class BoardUnderTest {
public:
    BoardUnderTest()
        : board_class_("SSPinBoard", PinBoardWindowProc(), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH),
          popup_class_("DataPopup", InfoBoxWindowProc(), CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH),
          sheet_class_("SchSheet", TestSheetProc, CS_DBLCLKS, WHITE_BRUSH) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (!run_bitmaps.appt) loaded_bitmaps_ = LoadRunBitmaps(instance);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        wc.lpszClassName = "PinBoardTestParent";
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, "PinBoardTestParent", "pin board test", WS_POPUP | WS_VISIBLE, kParentX, kParentY,
                                  400, 300, nullptr, nullptr, instance, nullptr);
        sheet_ = CreateWindowExA(0, "SchSheet", "", WS_CHILD | WS_VISIBLE, 0, 0, kBoardX, 300, parent_, nullptr,
                                 instance, nullptr);
        board_ = CreateWindowExA(0, "SSPinBoard", "", WS_CHILD | WS_VISIBLE | WS_BORDER, kBoardX, 0, kBoardWidth,
                                 kBoardHeight, parent_, nullptr, instance, nullptr);
        board_under_test = board_;
        SetForegroundWindow(parent_);
        UpdateWindow(parent_);
        Pump();
        sheet_heard = SheetHandOver();
        opened.clear();
    }
    ~BoardUnderTest() {
        CloseInfoBox();
        if (IsWindow(parent_)) DestroyWindow(parent_);
        Pump();
        board_under_test = nullptr;
        if (loaded_bitmaps_) FreeRunBitmaps();
        SetPinBoardOpenHook(nullptr);
    }
    bool Ok() const {
        return board_class_.Registered() && popup_class_.Registered() && sheet_class_.Registered() && board_ && sheet_ &&
               run_bitmaps.appt && run_bitmaps.apptNoDate;
    }
    HWND Board() const { return board_; }
    HWND Sheet() const { return sheet_; }

    uint32_t ParkedId() const { return static_cast<uint32_t>(SendMessageA(board_, kPinBoardParkedId, 0, 0)); }
    const HitRecord* Parked() const {
        return reinterpret_cast<const HitRecord*>(SendMessageA(board_, kPinBoardGetParked, 0, 0));
    }
    POINT CardCentreOnScreen() const {
        const RECT card = PinBoardCardRect(board_);
        POINT p = {(card.left + card.right) / 2, (card.top + card.bottom) / 2};
        ClientToScreen(board_, &p);
        return p;
    }

private:
    BorrowedClass board_class_, popup_class_, sheet_class_;
    bool loaded_bitmaps_ = false;
    HWND parent_ = nullptr, sheet_ = nullptr, board_ = nullptr;
};

std::vector<std::vector<COLORREF>> BitmapPixels(HBITMAP bitmap) {
    std::vector<std::vector<COLORREF>> rows;
    BITMAP info = {};
    if (!GetObjectA(bitmap, sizeof info, &info)) return rows;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < info.bmHeight; ++y) {
        rows.emplace_back();
        for (int x = 0; x < info.bmWidth; ++x) rows.back().push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return rows;
}

// Every pixel of the card as the board shows it: the bitmap's own colour, and white (the board's
// inside) where the bitmap is transparent. Returns the number of pixels that differ.
int CardMismatches(const std::vector<std::vector<COLORREF>>& shown, const RECT& card, HBITMAP bitmap) {
    const auto expected = BitmapPixels(bitmap);
    int wrong = 0;
    for (size_t y = 0; y < expected.size(); ++y)
        for (size_t x = 0; x < expected[y].size(); ++x) {
            const COLORREF want = expected[y][x] == kBitmapTransparent ? RGB(255, 255, 255) : expected[y][x];
            wrong += shown[card.top + y][card.left + x] != want;
        }
    return wrong;
}

// True when the board's inside, 5 pixels in from each side (inside both frames), is all white.
bool WhiteInside(const std::vector<std::vector<COLORREF>>& shown) {
    const int h = static_cast<int>(shown.size()), w = h ? static_cast<int>(shown[0].size()) : 0;
    if (w <= 10 || h <= 10) return false;
    for (int y = 5; y < h - 5; ++y)
        for (int x = 5; x < w - 5; ++x)
            if (shown[static_cast<size_t>(y)][static_cast<size_t>(x)] != RGB(255, 255, 255)) return false;
    return true;
}

HitRecord Hit(int32_t id, int day, const char* name) {
    HitRecord hit;
    hit.result = kHitAppointment;
    hit.day = day;
    hit.date = day >= 0 ? QVN_DateIn(3, 10, 2026) + day : 0;  // the shown days start on kShownDay
    hit.appointment.id = id;
    hit.appointment.patientId = 12;
    hit.appointment.name = name;
    hit.appointment.description = "Filling";
    hit.appointment.homePhone = "5552223333";
    PutId(hit.appointment.provider, "DR1");
    hit.appointment.length = 45;
    hit.appointment.startUnit = 13 * 12 + 6;  // 1:30 pm
    hit.appointment.status = 1;
    return hit;
}

const int32_t kShownDay = QVN_DateIn(3, 10, 2026);  // a Tuesday

void ShowOneDay() {
    day_data.days.clear();
    day_data.days.emplace_back();
    day_data.days.back().date = kShownDay;
}

}  // namespace

TEST(PinBoardWindow, ParksAnswersEmptiesPaintsTheCardHandsItToTheSheetAndOpensItOnADoubleClick) {
    TempSettings settings;  // no "Clipboard Appt" for the first paint
    ShowOneDay();
    BoardUnderTest t;
    ASSERT_TRUE(t.Ok());
    EXPECT_EQ(t.ParkedId(), 0u);
    EXPECT_EQ(t.Parked(), nullptr);

    // Empty: two nested frames around a white inside, no card.
    RECT client = {};
    GetClientRect(t.Board(), &client);
    ASSERT_EQ(client.right, kBoardWidth - 2);
    ASSERT_EQ(client.bottom, kBoardHeight - 2);
    auto shown = Shown(t.Board());
    const int w = client.right, h = client.bottom;
    EXPECT_EQ(shown[h - 1][w - 1], GetSysColor(COLOR_3DDKSHADOW));  // outer raised frame
    EXPECT_EQ(shown[3][3], GetSysColor(COLOR_3DSHADOW));             // inner sunken frame
    EXPECT_EQ(shown[h - 4][w - 4], GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(shown[2][2], RGB(192, 192, 192));                      // grey between the frames
    EXPECT_TRUE(WhiteInside(shown));

    // A scheduled appointment from the shown day: copied, answered, painted with "appt".
    HitRecord hit = Hit(4711, 0, "Parker, Paul");
    EXPECT_EQ(SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&hit), 1), 1);
    hit.appointment.name = "changed after parking";
    hit.appointment.id = 1;
    EXPECT_EQ(t.ParkedId(), 4711u);
    const HitRecord* parked = t.Parked();
    ASSERT_NE(parked, nullptr);
    EXPECT_EQ(parked->appointment.id, 4711);
    EXPECT_EQ(parked->appointment.name, "Parker, Paul");
    EXPECT_EQ(parked->day, -1) << "no index into the shown days is kept";
    EXPECT_EQ(parked->date, kShownDay);
    const RECT card = PinBoardCardRect(t.Board());
    EXPECT_EQ(card.left, (w - 24) / 2);
    EXPECT_EQ(card.top, (h - 24) / 2);
    EXPECT_EQ(card.right - card.left, 24);
    shown = Shown(t.Board());
    EXPECT_EQ(CardMismatches(shown, card, run_bitmaps.appt), 0);
    EXPECT_FALSE(WhiteInside(shown));
    ASSERT_NE(CardMismatches(shown, card, run_bitmaps.apptNoDate), 0) << "the two cards must differ";

    // One without a date (no shown day) replaces it and shows "apptnw".
    HitRecord waiting = Hit(4712, -1, "Waiting, Wes");
    SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&waiting), 1);
    EXPECT_EQ(t.ParkedId(), 4712u);
    shown = Shown(t.Board());
    EXPECT_EQ(CardMismatches(shown, card, run_bitmaps.apptNoDate), 0);

    // A null record parks nothing.
    EXPECT_EQ(SendMessageA(t.Board(), kPinBoardPark, 0, 1), 0);
    EXPECT_EQ(t.ParkedId(), 4712u);

    // A save of another appointment leaves it; a save of this one drops it.
    DropSavedFromPinBoard(4711);
    EXPECT_EQ(t.ParkedId(), 4712u);
    DropSavedFromPinBoard(4712);
    EXPECT_EQ(t.ParkedId(), 0u);

    SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&waiting), 1);
    EXPECT_EQ(t.ParkedId(), 4712u);
    SendMessageA(t.Board(), kPinBoardEmpty, 0, 0);
    EXPECT_EQ(t.ParkedId(), 0u);
    EXPECT_EQ(t.Parked(), nullptr);
    shown = Shown(t.Board());
    EXPECT_TRUE(WhiteInside(shown));

    // A real left click hands the card to the sheet; a double click opens it.
    sheet_state.mode = kDayView;
    hit = Hit(5150, 0, "Dragger, Dee");
    SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&hit), 1);

    // A press on the frame, beside the card, does nothing.
    SendMessageA(t.Board(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(sheet_heard.count, 0);
    // Nor does a press in the month view.
    sheet_state.mode = kMonthView;
    SendMessageA(t.Board(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(card.left + 2, card.top + 2));
    EXPECT_EQ(sheet_heard.count, 0);
    EXPECT_EQ(t.ParkedId(), 5150u);
    sheet_state.mode = kWeekView;

    const POINT at = t.CardCentreOnScreen();
    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_LEFTDOWN));
    ASSERT_TRUE(PumpUntil(3000, [] { return sheet_heard.count > 0; })) << "the sheet heard nothing";
    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_LEFTUP));
    PumpFor(100);
    EXPECT_EQ(sheet_heard.count, 1);
    EXPECT_EQ(sheet_heard.record.appointment.id, 5150);
    EXPECT_EQ(sheet_heard.record.appointment.name, "Dragger, Dee");
    EXPECT_EQ(sheet_heard.record.result, kHitAppointment);
    POINT in_sheet = at;
    ScreenToClient(t.Sheet(), &in_sheet);
    EXPECT_EQ(sheet_heard.point.x, in_sheet.x);
    EXPECT_EQ(sheet_heard.point.y, in_sheet.y);
    EXPECT_GT(in_sheet.x, kBoardX);  // right of the sheet's own client area
    EXPECT_EQ(sheet_heard.boardIdMeanwhile, 0u);
    EXPECT_EQ(t.ParkedId(), 0u);
    EXPECT_EQ(t.Parked(), nullptr);
    EXPECT_TRUE(WhiteInside(Shown(t.Board())));

    // Double-click: the hook gets the parked id; nothing when the board is empty or unhooked.
    const LPARAM on_card = MAKELPARAM((card.left + card.right) / 2, (card.top + card.bottom) / 2);
    SetPinBoardOpenHook(RecordOpen);
    SendMessageA(t.Board(), WM_LBUTTONDBLCLK, MK_LBUTTON, on_card);
    EXPECT_TRUE(opened.empty());
    SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&hit), 1);
    SendMessageA(t.Board(), WM_LBUTTONDBLCLK, MK_LBUTTON, on_card);
    EXPECT_EQ(opened, std::vector<uint32_t>{5150u});
    SetPinBoardOpenHook(nullptr);
    SendMessageA(t.Board(), WM_LBUTTONDBLCLK, MK_LBUTTON, on_card);
    EXPECT_EQ(opened.size(), 1u);
    sheet_state.mode = kDayView;
    day_data.days.clear();
}

TEST(PinBoardWindow, RightPressShowsTheInformationBoxUntilReleasedAndTheSheetsBoxSitsOnTheTopEdge) {
    TempSettings settings;  // no "Clipboard Appt" for the first paint
    ShowOneDay();
    practice_tables.statuses = BuildStatusTables({{1, '3', 0, "Late"}});
    BoardUnderTest t;
    ASSERT_TRUE(t.Ok());
    HitRecord hit = Hit(6001, 0, "Infor, Ida");
    SendMessageA(t.Board(), kPinBoardPark, reinterpret_cast<WPARAM>(&hit), 1);

    const POINT at = t.CardCentreOnScreen();
    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_RIGHTDOWN));
    ASSERT_TRUE(PumpUntil(3000, [] { return ShownInfoBox() != nullptr; })) << "no information box";
    HWND box = ShownInfoBox();
    char class_name[32] = {};
    GetClassNameA(box, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "DataPopup");
    char text[512] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "Infor, Ida\nFilling\n(555)222-3333\nProvider: DR1\nTue 03/10/26  1:30pm - 45 min\nLate");

    // 32 x 6.5 of "x" in the default font, centred on the cursor.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE x = {};
    GetTextExtentPoint32A(dc, "x", 1, &x);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    RECT r = {};
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, at.x - 16 * x.cx);
    EXPECT_EQ(r.top, at.y - (13 * x.cy / 2) / 2);
    EXPECT_EQ(r.right - r.left, 32 * x.cx);
    EXPECT_EQ(r.bottom - r.top, 13 * x.cy / 2);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_BORDER);

    // Text on every line but the empty ones, the status line on the status colour (red) alone.
    const auto shown = Shown(box);
    for (int line = 0; line < kInfoBoxLineCount; ++line)
        EXPECT_GT(CountOf(shown, RGB(0, 0, 0), line * x.cy, (line + 1) * x.cy), 0) << "line " << line + 1;
    EXPECT_EQ(CountOf(shown, RGB(255, 0, 0), 0, 5 * x.cy), 0);
    EXPECT_GT(CountOf(shown, RGB(255, 0, 0), 5 * x.cy, 6 * x.cy), 0);

    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_RIGHTUP));
    EXPECT_TRUE(PumpUntil(3000, [&] { return !IsWindow(box); })) << "the box stayed after the release";
    EXPECT_EQ(ShownInfoBox(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(t.ParkedId(), 6001u);  // the card stays parked

    // A right press on an empty board shows nothing.
    SendMessageA(t.Board(), kPinBoardEmpty, 0, 0);
    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_RIGHTDOWN));
    PumpFor(200);
    EXPECT_EQ(ShownInfoBox(), nullptr);
    ASSERT_TRUE(RealMouse(at, MOUSEEVENTF_RIGHTUP));
    PumpFor(50);
    practice_tables.statuses = StatusTables();
    day_data.days.clear();

    // The sheet's box sits on the appointment box's top edge.
    hit = Hit(6002, -1, "Sheet, Sam");
    hit.appointment.status = 150;
    hit.appointment.homePhone = "Private";
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    // Near the right edge the sheet's box is not pulled back inside.
    const InfoBoxAnchor anchor = SheetInfoBoxAnchor(screen - 60, screen - 20, 5);
    HWND sheet_box = ShowInfoBox(t.Sheet(), GetModuleHandleA(nullptr), hit.appointment, 0, {anchor.x, anchor.y}, false);
    ASSERT_NE(sheet_box, nullptr);
    GetWindowTextA(sheet_box, text, sizeof text);
    EXPECT_STREQ(text, "Sheet, Sam\nFilling\nPrivate\nProvider: DR1\nUnscheduled - 45 min\n<Complete>");
    GetWindowRect(sheet_box, &r);
    EXPECT_EQ((r.left + r.right) / 2, screen - 40);
    EXPECT_EQ(r.top, 5 - (r.bottom - r.top) / 2);
    EXPECT_GT(r.right, screen);
    // A second box replaces the first.
    HWND second = ShowInfoBox(t.Sheet(), GetModuleHandleA(nullptr), hit.appointment, kShownDay, {400, 300}, false);
    EXPECT_FALSE(IsWindow(sheet_box));
    EXPECT_EQ(ShownInfoBox(), second);
    CloseInfoBox();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(ShownInfoBox(), nullptr);
}

TEST(PinBoardWindow, FirstPaintParksTheClipboardAppointment) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    AppointmentRecord a{};
    a.id = 880;
    a.unscheduled = 1;
    a.status = kStatusUnscheduled;
    a.providerMarker = kMarkerProvider;
    PutId(a.provider, "DR2");
    a.length = 30;
    PutText(a.patientName, "Listed, Lou");
    PutText(a.description, "Cleaning");
    ASSERT_EQ(kQdbOk, db.Add(kAppointmentFile, a));
    AppointmentRecord scheduled = a;
    scheduled.id = 881;
    scheduled.unscheduled = 0;
    scheduled.status = 0;
    scheduled.date = kShownDay;
    ASSERT_EQ(kQdbOk, db.Add(kAppointmentFile, scheduled));

    QVN_WriteProfileString("Apptbook", "Clipboard Appt", "0880");
    {
        BoardUnderTest t;
        ASSERT_TRUE(t.Ok());
        EXPECT_EQ(t.ParkedId(), 880u);
        EXPECT_EQ(QVN_ReadProfileText("Apptbook", "Clipboard Appt", ""), "880");
        const HitRecord* parked = t.Parked();
        ASSERT_NE(parked, nullptr);
        EXPECT_EQ(parked->appointment.name, "Listed, Lou");
        EXPECT_EQ(parked->appointment.description, "Cleaning");
        const auto shown = Shown(t.Board());
        EXPECT_EQ(CardMismatches(shown, PinBoardCardRect(t.Board()), run_bitmaps.apptNoDate), 0);
        // Only the first paint looks at the setting.
        SendMessageA(t.Board(), kPinBoardEmpty, 0, 0);
        Shown(t.Board());
        EXPECT_EQ(t.ParkedId(), 0u);
    }
    // A scheduled appointment named there is not parked.
    QVN_WriteProfileString("Apptbook", "Clipboard Appt", "881");
    {
        BoardUnderTest t;
        ASSERT_TRUE(t.Ok());
        Shown(t.Board());
        EXPECT_EQ(t.ParkedId(), 0u);
        EXPECT_EQ(QVN_ReadProfileText("Apptbook", "Clipboard Appt", ""), "881");
    }
}
