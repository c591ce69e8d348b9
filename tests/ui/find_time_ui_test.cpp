// Find New Appointment Time in the real program: from the menu, a look at DR1's free times with
// Search/View, the first one viewed on the sheet (its date, the scroll to a whole hour and the
// outline's pixels), Cancel bringing the sheet back; a found time taken for the selected
// appointment; and the appointment dialog's "&Find" hidden while its results are viewed, its
// fields moved by Select.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app_run.h"
#include "appointments/note_store.h"
#include "data/appointment_store.h"
#include "resources/resource.h"
#include "sheet_model.h"
#include "suite/dates.h"
#include "suite/patient_alert.h"

namespace {

constexpr COLORREF kGrey = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kNoteColour = RGB(200, 100, 50);  // COLOR3 of the run's settings

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A list row of another process: its list box answers through the wide messages.
std::string Row(HWND dialog, int list, int row) {
    wchar_t wide[256] = L"";
    if (SendDlgItemMessageW(dialog, list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0) < 255)
        SendDlgItemMessageW(dialog, list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide));
    char text[256] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

int RowCount(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0)); }

// A result row: "Tue\t 12/08/2026 8:00am - 9:10am\t DR1  : OP1 ".
struct FoundRow {
    int32_t date = 0;
    std::string start, end;
    int startUnit = -1, endUnit = -1;
    std::string provider, operatory;  // 4 characters each
};

int UnitsOf(const std::string& time) {
    int hour = 0, minute = 0;
    char half[3] = "";
    if (std::sscanf(time.c_str(), "%d:%d%2s", &hour, &minute, half) != 3) return -1;
    return (hour % 12 + (half[0] == 'p' ? 12 : 0)) * 12 + minute / 5;
}

FoundRow ParseRow(const std::string& row) {
    FoundRow f;
    const size_t dash = row.find(" - "), tab = row.find('\t', 5), colon = row.find(" : ");
    if (row.size() < 16 || dash == std::string::npos || tab == std::string::npos || colon == std::string::npos) return f;
    f.date = QVN_ParseDate(row.substr(5, 10));
    f.start = row.substr(16, dash - 16);
    f.end = row.substr(dash + 3, tab - dash - 3);
    f.startUnit = UnitsOf(f.start);
    f.endUnit = UnitsOf(f.end);
    f.provider = row.substr(colon - 4, 4);
    f.operatory = row.substr(colon + 3, 4);
    return f;
}

// What the screen shows of a window's client area, read once.
class Shot {
public:
    explicit Shot(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        const POINT origin = ToScreen(window, 0, 0);
        width_ = client.right;
        height_ = client.bottom;
        pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        if (bits) std::memcpy(pixels_.data(), bits, pixels_.size() * 4);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        const uint32_t p = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The pixels of that colour in the rectangle, both corners included.
    int Count(int x0, int x1, int y0, int y1, COLORREF colour) const {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) n += At(x, y) == colour;
        return n;
    }
    // The column of pixels down the middle: the time column's labels show where it is scrolled.
    std::vector<COLORREF> Middle() const {
        std::vector<COLORREF> line;
        for (int y = 0; y < height_; ++y) line.push_back(At(width_ / 2, y));
        return line;
    }
    int Height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

COLORREF Pixel(HWND window, int x, int y) { return Shot(window).At(x, y); }

const DayColumn* OperatoryColumn(const std::string& id) {
    for (const DayColumn& c : day_data.days.at(0).columns)
        if (c.kind == kOperatoryColumn && std::string(c.id, 4) == id) return &c;
    return nullptr;
}

// Moves a dialog to the bottom of the screen on the side away from x (sheet coordinates).
void MoveAside(HWND dialog, HWND sheet, int x) {
    RECT own{};
    GetWindowRect(dialog, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    const bool left_half = ToScreen(sheet, x, 0).x < GetSystemMetrics(SM_CXSCREEN) / 2;
    SetWindowPos(dialog, nullptr, left_half ? GetSystemMetrics(SM_CXSCREEN) - width : 0, GetSystemMetrics(SM_CYSCREEN) - height,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Settle(500);
}

// A patient's appointment shown on the day in an operatory column, whole in the window and not
// complete; its column.
const DayColumn* ShownAppointment(const SheetModel& m, int32_t day, ApptDisplay* found, uint32_t other_than = 0) {
    for (const DayColumn& c : day_data.days.at(0).columns)
        for (const ApptDisplay& a : c.appointments)
            if (c.kind == kOperatoryColumn && a.patientId != 0 && static_cast<uint32_t>(a.id) != other_than &&
                a.status != kStatusComplete && m.Visible(a.startUnit, a.startUnit + 1) && PatientAlertText(a.patientId, day).empty()) {
                *found = a;
                return &c;
            }
    return nullptr;
}

std::string Selected(HWND dialog, int list) {
    std::string ids;
    for (int i = 0; i < RowCount(dialog, list); ++i)
        if (SendDlgItemMessageA(dialog, list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) ids += Row(dialog, list, i) + ";";
    return ids;
}

}  // namespace

TEST(FindTimeRun, AViewedTimeIsOutlinedOnItsDateCancelRestoresAndSelectPlacesTheAppointment) {
    AppRun app("", Practice::kDemoBook, "FRONT", {"APPTBOOK/COLOR3=200,100,050"});
    ASSERT_TRUE(app.Started()) << app.SeedReason();
    HWND main = app.WaitForWindow("ApptBook");
    ASSERT_NE(nullptr, main);
    HWND sheet = Child(main, "SchSheet"), header = Child(main, "SSHeader"), times = Child(main, "SchTime");
    ASSERT_TRUE(sheet && header && times);
    SheetModel m;
    ASSERT_TRUE(m.Open(app, sheet));
    const int32_t today = QVN_SysDate();
    m.Load(today, kDayView, FirstShownTime());
    const int note_x = day_data.days.at(0).left + 5;
    Settle(800);
    ASSERT_NE(kNoteColour, Pixel(header, note_x, 5)) << "today has no day note";
    const std::vector<COLORREF> time_column_before = Shot(times).Middle();

    // --- From the menu with nothing selected and the pin board empty: nothing is preselected.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEW_TIME, 0), 0);
    HWND find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    EXPECT_EQ("", Selected(find, IDC_FINDTIME_PROVIDERS));
    EXPECT_EQ("", Selected(find, IDC_FINDTIME_OPERATORIES));
    EXPECT_EQ("10 min", ControlText(find, IDC_FINDTIME_LENGTH));
    EXPECT_EQ(QVN_fmtDateString2000(today + 1), ControlText(find, IDC_FINDTIME_DATE));
    ASSERT_EQ("DR1", Row(find, IDC_FINDTIME_PROVIDERS, 0));
    SendDlgItemMessageA(find, IDC_FINDTIME_PROVIDERS, LB_SETSEL, TRUE, 0);
    SendDlgItemMessageA(find, IDC_FINDTIME_ALL_OPERATORIES, BM_SETCHECK, BST_CHECKED, 0);
    Press(find, IDC_FINDTIME_SEARCH_VIEW);
    HWND found = app.WaitForDialog("Available Appointment Times");
    ASSERT_NE(nullptr, found);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(found, IDC_FOUND_LIST) == 10; }));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(found, IDOK))) << "a look from the menu takes nothing";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(found, IDC_FOUND_VIEW)));
    EXPECT_EQ("View &Next", ControlText(found, IDC_FOUND_VIEW_NEXT));
    const std::string first_row = Row(found, IDC_FOUND_LIST, 0);
    const FoundRow first = ParseRow(first_row);
    ASSERT_NE(0, first.date) << first_row;
    ASSERT_GT(first.endUnit, first.startUnit) << first_row;
    EXPECT_EQ("DR1 ", first.provider) << first_row;
    ASSERT_LT(today, first.date);
    // A day note on the found date turns the header's note button COLOR3 while the sheet shows it.
    ASSERT_EQ(kQdbOk, WriteNote(kNoteDay, static_cast<uint32_t>(first.date), "found", today));
    m.Load(first.date, kDayView, FirstShownTime());
    const DayColumn* column = OperatoryColumn(first.operatory);
    ASSERT_NE(nullptr, column) << first.operatory;
    const int left = column->left, right = column->right;
    MoveAside(found, sheet, (left + right) / 2);

    // --- " &View": the found date, scrolled to a whole hour, the cell outlined by four frames.
    Press(found, IDC_FOUND_VIEW);
    EXPECT_TRUE(WaitUntil([&] { return Pixel(header, note_x, 5) == kNoteColour; })) << "the sheet shows " << first_row;
    Settle(800);
    const Shot shown(sheet);
    // The cell's top lies at the start's row for exactly one whole-hour top of the sheet: the one
    // whose rows just above the cell are the two dark grey frames.
    int top = -1;
    const int width = right - left + 1;
    for (int hour = 0; hour < 24; ++hour) {
        sheet_state.topUnit = hour * 12;
        const int y = m.Y(first.startUnit);
        if (y - 5 >= 0 && y < shown.Height() && shown.Count(left, right, y - 5, y - 4, kGrey) == 2 * width) top = hour * 12;
    }
    ASSERT_GE(top, 0) << "no dark grey frames above the cell of " << first_row;
    EXPECT_LE(top, first.startUnit);
    sheet_state.topUnit = top;
    const int cell_top = m.Y(first.startUnit), cell_bottom = std::min(m.Y(first.endUnit), shown.Height() - 7);
    const int tall = cell_bottom - cell_top + 1;
    EXPECT_EQ(2 * tall, shown.Count(left - 5, left - 4, cell_top, cell_bottom, kGrey)) << "left frames";
    EXPECT_EQ(2 * tall, shown.Count(right + 4, right + 5, cell_top, cell_bottom, kGrey)) << "right frames";
    EXPECT_GT(shown.Count(left, right, cell_top - 1, cell_top - 1, RGB(0, 0, 0)), 0) << "the inner hatched frame";
    EXPECT_GT(shown.Count(left, right, cell_top - 3, cell_top - 3, RGB(0, 0, 0)), 0) << "the outer hatched frame";
    EXPECT_EQ(0, shown.Count(left + 8, right - 8, cell_top - 2, cell_top - 2, kGrey)) << "the frames are apart";
    EXPECT_EQ(0, shown.Count(left + 1, right - 1, cell_top + 1, cell_top + 1, kGrey)) << "the cell itself is not framed";

    // "View &Next" moves down the list; Cancel brings back today as it was scrolled.
    Press(found, IDC_FOUND_VIEW_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return SendDlgItemMessageA(found, IDC_FOUND_LIST, LB_GETCURSEL, 0, 0) == 1; }));
    Settle(500);
    Press(found, IDCANCEL);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find) << "Cancel goes back to the search";
    EXPECT_TRUE(WaitUntil([&] { return Pixel(header, note_x, 5) != kNoteColour; })) << "the sheet shows today again";
    Settle(800);
    EXPECT_TRUE(time_column_before == Shot(times).Middle()) << "and is scrolled as before";
    Press(find, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(find); }));

    // --- The selected appointment: its provider preselected, the first time taken with Select.
    const int32_t day = BookedDay(2);
    ASSERT_NE(0, day);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), day);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    ApptDisplay target;
    const DayColumn* box_column = ShownAppointment(m, day, &target);
    ASSERT_NE(nullptr, box_column) << "no patient's appointment in the window";
    const uint32_t moved_id = static_cast<uint32_t>(target.id);
    const AppointmentRecord before = [&] {
        AppointmentRecord a{};
        EXPECT_EQ(kQdbOk, ReadAppointment(moved_id, &a));
        return a;
    }();
    ASSERT_TRUE(BringToFront(main));
    Click(sheet, POINT{box_column->left + m.W() + 6, m.MidRow(target.startUnit)});
    Settle(500);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_FIND_NEW_TIME, 0), 0);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    std::string provider(before.provider, 4);
    provider.erase(provider.find_last_not_of(' ') + 1);
    EXPECT_EQ(provider + ";", Selected(find, IDC_FINDTIME_PROVIDERS)) << "the selected appointment's provider";
    Press(find, IDOK);
    found = app.WaitForDialog("Available Appointment Times");
    ASSERT_NE(nullptr, found);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(found, IDC_FOUND_LIST) > 0; }));
    const std::string taken_row = Row(found, IDC_FOUND_LIST, 0);
    const FoundRow taken = ParseRow(taken_row);
    ASSERT_NE(0, taken.date) << taken_row;
    Press(found, IDOK);
    EXPECT_EQ(std::vector<std::string>{}, app.AnswerAll()) << "Select asks nothing more";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(found) && !IsWindow(find); }));
    AppointmentRecord after{};
    ASSERT_TRUE(WaitUntil([&] { return ReadAppointment(moved_id, &after) == kQdbOk && after.date == taken.date; })) << taken_row;
    EXPECT_EQ(taken.startUnit, after.hour * 12 + after.minute / 5);
    EXPECT_EQ(taken.operatory, std::string(after.operatory, 4));
    EXPECT_EQ(taken.provider, std::string(after.provider, 4));
    EXPECT_EQ(before.patientId, after.patientId);
    EXPECT_EQ(before.length, after.length);

    // --- The appointment dialog's "&Find" with Search/View: the dialog hides while the times are
    // viewed and comes back with the selected one in its fields.
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(kCmdPickedDate, 0), day);
    Settle(1500);
    m.Load(day, kDayView, FirstShownTime());
    const DayColumn* open_column = ShownAppointment(m, day, &target, moved_id);
    ASSERT_NE(nullptr, open_column);
    ASSERT_TRUE(BringToFront(main));
    const POINT box = ToScreen(sheet, (open_column->left + open_column->right) / 2, m.MidRow(target.startUnit));
    SendMouseAt(0, box);
    for (int click = 0; click < 2; ++click) {
        SendMouseAt(MOUSEEVENTF_LEFTDOWN, box);
        SendMouseAt(MOUSEEVENTF_LEFTUP, box);
    }
    HWND password = app.WaitForDialog("Password");
    ASSERT_NE(nullptr, password);
    ASSERT_TRUE(AnswerPasswordDialog(password, DemoPassword("FRONT")));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindWindowA("#32770", nullptr);
        return dialog && GetDlgItem(dialog, IDC_APPT_REASONS) != nullptr;
    }));
    Press(dialog, IDC_APPT_FIND);
    find = app.WaitForDialog("Find New Appointment Time");
    ASSERT_NE(nullptr, find);
    Press(find, IDC_FINDTIME_SEARCH_VIEW);
    found = app.WaitForDialog("Available Appointment Times");
    ASSERT_NE(nullptr, found);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(found, IDC_FOUND_LIST) >= 2; }));
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the appointment dialog stands aside while its times are viewed";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(found, IDOK)));
    SendDlgItemMessageA(found, IDC_FOUND_LIST, LB_SETCURSEL, 1, 0);
    const FoundRow second = ParseRow(Row(found, IDC_FOUND_LIST, 1));
    ASSERT_NE(0, second.date);
    Press(found, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(found) && IsWindowVisible(dialog); }));
    EXPECT_EQ(QVN_fmtDateString2000(second.date), ControlText(dialog, IDC_APPT_DATE));
    EXPECT_EQ(second.start, ControlText(dialog, IDC_APPT_TIME));
    EXPECT_EQ(second.operatory.substr(0, second.operatory.find(' ')), ControlText(dialog, IDC_APPT_OPERATORY));
    Press(dialog, IDCANCEL);
    app.AnswerAll();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
    EXPECT_EQ(0, app.WaitForExit());
}
