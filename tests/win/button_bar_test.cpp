// The button bar as a real toolbar under a test parent window: its buttons in order, clicks that
// reach the parent, the Ideal Day toggle, the button states for a selection; and every bitmap
// and cursor of the program's resources with its size.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/button_bar_win.h"
#include "app/run_bitmaps_win.h"
#include "win_harness.h"

namespace {

// A visible parent window that records every command it receives, with a button bar on it.
class BarUnderTest {
public:
    BarUnderTest(ButtonBarOrientation orientation, bool ideal_day)
        : parent_(WM_COMMAND, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{20, 20, 1020, 720}) {
        bar_ = CreateButtonBar(parent_.Window(), GetModuleHandleA(nullptr), orientation, ideal_day);
        Pump();
        parent_.heard.clear();  // only what the test's clicks send
    }
    HWND Bar() const { return bar_; }
    HWND Parent() const { return parent_.Window(); }
    // What the parent heard.
    std::vector<RecordingWindow::Heard>& Heard() { return parent_.heard; }
    std::vector<int> Commands() const { return parent_.Commands(); }

    bool Enabled(int command) const { return SendMessageA(bar_, TB_ISBUTTONENABLED, command, 0) != 0; }
    bool Checked(int command) const { return SendMessageA(bar_, TB_ISBUTTONCHECKED, command, 0) != 0; }
    // The picture a button shows, as the bitmap resource number it was loaded from.
    int Picture(int command) const {
        int index = static_cast<int>(SendMessageA(bar_, TB_GETBITMAP, command, 0));
        return index >= 0 && index < kPictureCount ? kPictures[index] : -1;
    }
    RECT ItemRect(int index) const {
        RECT r = {};
        EXPECT_TRUE(SendMessageA(bar_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) << index;
        return r;
    }
    // A press and release of the left button in the middle of a command's button.
    void Click(int command) const {
        RECT r = {};
        ASSERT_TRUE(SendMessageA(bar_, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r))) << command;
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(bar_, WM_MOUSEMOVE, 0, at);
        SendMessageA(bar_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar_, WM_LBUTTONUP, 0, at);
        Pump();
    }

    // The pictures in the order the bar loads them (the image list's order).
    static constexpr int kPictureCount = 19;
    static constexpr int kPictures[kPictureCount] = {386, 387, 216, 215, 214, 243, 245, 258, 246, 244,
                                                     242, 251, 259, 393, 394, 12146, 12145, 248, 247};

private:
    RecordingWindow parent_;
    HWND bar_ = nullptr;
};

struct ExpectedEntry {
    int command;  // 0: separator
    int picture;
};
const ExpectedEntry kExpected[] = {
    {0, 0},     {386, 386}, {0, 0},     {121, 216}, {127, 215}, {122, 214}, {123, 243}, {129, 245},
    {0, 0},     {610, 258}, {620, 246}, {126, 244}, {124, 242}, {0, 0},     {389, 251}, {0, 0},
    {404, 259}, {0, 0},     {393, 393}, {0, 0},     {12146, 12146}, {0, 0}, {388, 248},
};
constexpr int kExpectedCount = sizeof kExpected / sizeof kExpected[0];

std::string ToolTipOf(HWND bar, int command) {
    return ToolTipText(reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0)), bar, static_cast<UINT_PTR>(command));
}

// The colours of a bitmap's pixels, read back through a 32-bit DIB.
std::vector<COLORREF> Pixels(HBITMAP bitmap, SIZE size) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> raw(static_cast<size_t>(size.cx * size.cy));
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, size.cy, raw.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(size.cy, rows);
    std::vector<COLORREF> out;
    for (DWORD p : raw) out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    return out;
}

size_t DistinctColours(const std::vector<COLORREF>& pixels) {
    std::vector<COLORREF> seen;
    for (COLORREF c : pixels) {
        bool known = false;
        for (COLORREF s : seen) known = known || s == c;
        if (!known) seen.push_back(c);
    }
    return seen.size();
}

}  // namespace

TEST(ButtonBar, BothOrientationsHaveTheButtonsSeparatorsPicturesAndTooltipsInOrder) {
    BarUnderTest t(kButtonBarHorizontal, false);
    ASSERT_NE(nullptr, t.Bar());
    char class_name[64] = {};
    GetClassNameA(t.Bar(), class_name, sizeof class_name);
    EXPECT_STREQ("QvnToolBarMcl", class_name);
    EXPECT_EQ(kButtonBarControlId, GetDlgCtrlID(t.Bar()));
    EXPECT_EQ(t.Parent(), GetParent(t.Bar()));

    ASSERT_EQ(kExpectedCount, static_cast<int>(SendMessageA(t.Bar(), TB_BUTTONCOUNT, 0, 0)));
    for (int i = 0; i < kExpectedCount; ++i) {
        TBBUTTON b = {};
        ASSERT_TRUE(SendMessageA(t.Bar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b))) << i;
        bool separator = (b.fsStyle & TBSTYLE_SEP) != 0;
        EXPECT_EQ(kExpected[i].command == 0, separator) << "entry " << i;
        if (separator) continue;
        EXPECT_EQ(kExpected[i].command, b.idCommand) << "entry " << i;
        EXPECT_EQ(kExpected[i].picture, t.Picture(b.idCommand)) << "entry " << i;
        EXPECT_EQ(b.idCommand == 388, (b.fsStyle & TBSTYLE_CHECK) != 0) << "only Ideal Day is a toggle";
    }

    // One row along the top, left to right, inside the 33-pixel strip.
    RECT previous = t.ItemRect(0);
    for (int i = 1; i < kExpectedCount; ++i) {
        RECT r = t.ItemRect(i);
        EXPECT_GE(r.left, previous.right) << "entry " << i;
        EXPECT_EQ(previous.top, r.top) << "entry " << i;
        EXPECT_LE(r.bottom, 33) << "entry " << i;
        previous = r;
    }

    EXPECT_EQ("Select Patient - New Appt...", ToolTipOf(t.Bar(), 121));
    EXPECT_EQ("Patient Picture", ToolTipOf(t.Bar(), 386));
    EXPECT_EQ("Print Route Slip...", ToolTipOf(t.Bar(), 620));
    EXPECT_EQ("Ideal Day Scheduling", ToolTipOf(t.Bar(), 388));

    // The vertical bar stacks the same entries in the 35-pixel strip on the left.
    BarUnderTest v(kButtonBarVertical, false);
    ASSERT_EQ(kExpectedCount, static_cast<int>(SendMessageA(v.Bar(), TB_BUTTONCOUNT, 0, 0)));
    const RECT top = v.ItemRect(1), next = v.ItemRect(3);  // the first two buttons, past the separators
    EXPECT_TRUE(next.top >= top.bottom && next.left == top.left && next.right <= 35) << next.left << "," << next.top;
}

TEST(ButtonBar, ClicksReachTheParentAsCommands) {
    BarUnderTest t(kButtonBarHorizontal, false);
    SelectionFacts patient;
    patient.appointmentSelected = patient.patientSelected = true;
    RefreshButtonBar(t.Bar(), patient);

    // The patient's picture and referrals, Select Patient, Find New Appointment Time, Locate, the route slip, the two managers
    // and the Ideal Day toggle: their buttons send their commands.
    const int clicked[] = {386, 121, 127, 122, 620, 389, 404, 12146, 388};
    for (int c : clicked) t.Click(c);
    EXPECT_EQ((std::vector<int>{386, 121, 127, 122, 620, 389, 404, 12146, 388}), t.Commands());
    ASSERT_FALSE(t.Heard().empty());
    for (const RecordingWindow::Heard& h : t.Heard())
        EXPECT_EQ(reinterpret_cast<LPARAM>(t.Bar()), h.lparam) << "the bar sends its own commands";
    t.Heard().clear();
    RefreshButtonBar(t.Bar(), SelectionFacts{});
    t.Click(123);
    t.Click(129);
    EXPECT_TRUE(t.Heard().empty()) << t.Heard().size() << " commands from disabled buttons";
}

// Which buttons each selection enables and which picture each fact shows are the table's rules
// (checked natively); here the real bar applies one of each and follows the Ideal Day switch.
TEST(ButtonBar, TheBarAppliesTheLooksOfTheFactsAndIdealDayFollowsTheSwitch) {
    BarUnderTest t(kButtonBarHorizontal, false);
    EXPECT_FALSE(t.Checked(388));
    EXPECT_EQ(248, t.Picture(388)) << "the saved switch is off";
    SelectionFacts facts;
    facts.appointmentSelected = facts.patientSelected = facts.hasPicture = true;
    RefreshButtonBar(t.Bar(), facts);
    EXPECT_EQ(387, t.Picture(386));
    EXPECT_TRUE(t.Enabled(620)) << "the route slip follows the selection";
    EXPECT_TRUE(t.Enabled(126)) << "Dial follows the selection";
    RefreshButtonBar(t.Bar(), SelectionFacts{});
    EXPECT_EQ(386, t.Picture(386));
    EXPECT_FALSE(t.Enabled(126));

    SetButtonBarIdealDay(t.Bar(), true);
    EXPECT_TRUE(t.Checked(388));
    EXPECT_EQ(247, t.Picture(388));
    RefreshButtonBar(t.Bar(), facts);
    EXPECT_TRUE(t.Checked(388)) << "the selection does not move the toggle";
    SetButtonBarIdealDay(t.Bar(), false);
    EXPECT_EQ(248, t.Picture(388));
    BarUnderTest on(kButtonBarVertical, true);
    EXPECT_TRUE(on.Checked(388));
    EXPECT_EQ(247, on.Picture(388)) << "the saved switch is on";
}

TEST(ProgramBitmaps, EveryBitmapAndCursorLoadsWithItsSize) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    struct Named {
        std::string name;
        int width, height;
        bool transparentCorner;  // drawn on magenta from the top left corner
    };
    std::vector<Named> expected = {
        {"appt", 24, 24, true}, {"apptnw", 24, 24, true},
        {"pull6", 6, 6, true},  {"pull9", 9, 9, true},    {"pull12", 12, 12, true},
    };
    const char* families[] = {"NOTE", "ALERT", "PALERT", "LABNEED", "LABSENT", "LABRECV", "LABINHSE"};
    for (const char* f : families)
        for (int size : {6, 9, 12, 16, 20})
            expected.push_back({f + std::to_string(size), size, size, std::string(f) != "ALERT"});
    for (const Named& e : expected) {
        HBITMAP b = LoadBitmapA(instance, e.name.c_str());
        ASSERT_NE(nullptr, b) << e.name;
        SIZE size = BitmapSize(b);
        EXPECT_EQ(e.width, size.cx) << e.name;
        EXPECT_EQ(e.height, size.cy) << e.name;
        std::vector<COLORREF> pixels = Pixels(b, size);
        EXPECT_GE(DistinctColours(pixels), 3u) << e.name << " is drawn, not blank";
        EXPECT_EQ(e.transparentCorner, pixels[0] == RGB(255, 0, 255)) << e.name << ": magenta from the top left corner";
        DeleteObject(b);
    }

    for (int id : BarUnderTest::kPictures) {
        HBITMAP b = LoadBitmapA(instance, MAKEINTRESOURCEA(id));
        ASSERT_NE(nullptr, b) << id;
        SIZE size = BitmapSize(b);
        EXPECT_EQ(24, size.cx) << id;
        EXPECT_EQ(24, size.cy) << id;
        EXPECT_GE(DistinctColours(Pixels(b, size)), 3u) << id;
        DeleteObject(b);
    }
    // A picture and its "on" state differ.
    for (auto [plain, on] : {std::pair{386, 387}, {393, 394}, {12146, 12145}, {248, 247}}) {
        HBITMAP a = LoadBitmapA(instance, MAKEINTRESOURCEA(plain));
        HBITMAP b = LoadBitmapA(instance, MAKEINTRESOURCEA(on));
        EXPECT_NE(Pixels(a, {24, 24}), Pixels(b, {24, 24})) << plain << " / " << on;
        DeleteObject(a);
        DeleteObject(b);
    }

    // The cursors with their hot spots, AND and XOR masks of 32 rows.
    struct Cursor {
        const char* name;
        DWORD hotX, hotY;
    };
    const Cursor cursors[] = {{"HandCur", 15, 15}, {"ApptCur", 0, 0}, {"ApptCurNW", 0, 0}};
    for (const Cursor& c : cursors) {
        HCURSOR cursor = LoadCursorA(instance, c.name);
        ASSERT_NE(nullptr, cursor) << c.name;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info)) << c.name;
        EXPECT_FALSE(info.fIcon) << c.name << " is a cursor";
        EXPECT_EQ(c.hotX, info.xHotspot) << c.name;
        EXPECT_EQ(c.hotY, info.yHotspot) << c.name;
        SIZE mask = BitmapSize(info.hbmMask);
        EXPECT_EQ(32, mask.cx) << c.name;
        EXPECT_EQ(info.hbmColor ? 32 : 64, mask.cy) << c.name << ": AND and XOR masks of 32 rows";
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
}

TEST(ProgramBitmaps, RunBitmapsHoldEverySizeAndFreeWhatTheyHold) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(LoadRunBitmaps(instance));
    ASSERT_TRUE(LoadRunCursors(instance));
    for (int f = 0; f < kMarkerFamilyCount; ++f)
        for (int size : {6, 9, 12, 16, 20})
            EXPECT_EQ(size, BitmapSize(run_bitmaps.Marker(static_cast<MarkerFamily>(f), size)).cy) << MarkerFamilyName(static_cast<MarkerFamily>(f)) << size;
    EXPECT_EQ(nullptr, run_bitmaps.Marker(kMarkerNote, 14));
    for (int size : {6, 9, 12}) EXPECT_EQ(size, BitmapSize(run_bitmaps.Grip(size)).cx) << size;
    EXPECT_EQ(nullptr, run_bitmaps.Grip(16));
    EXPECT_TRUE(BitmapSize(run_bitmaps.appt).cx == 24 && BitmapSize(run_bitmaps.apptNoDate).cy == 24);
    EXPECT_TRUE(run_bitmaps.handCursor && run_bitmaps.apptCursor && run_bitmaps.apptNoDateCursor);

    // Loading again replaces the handles and deletes the old ones.
    HBITMAP old_note = run_bitmaps.Marker(kMarkerNote, 16);
    ASSERT_TRUE(LoadRunBitmaps(instance));
    EXPECT_EQ(-1, BitmapSize(old_note).cx) << "the first NOTE16 was deleted";

    HBITMAP note = run_bitmaps.Marker(kMarkerNote, 16);
    HBITMAP grip = run_bitmaps.Grip(9);
    FreeRunBitmaps();
    EXPECT_EQ(-1, BitmapSize(note).cx) << "freed";
    EXPECT_EQ(-1, BitmapSize(grip).cx) << "freed";
    EXPECT_EQ(nullptr, run_bitmaps.Marker(kMarkerNote, 16));
    EXPECT_EQ(nullptr, run_bitmaps.appt);
    EXPECT_EQ(nullptr, run_bitmaps.handCursor);
}
