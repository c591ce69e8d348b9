// The date and view buttons on a real parent window: ids, pictures and tooltips, one place per
// layout rule, real mouse clicks that reach the parent and leave the focus with it, and the
// pressed view button.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/date_controls_win.h"
#include "win_harness.h"

namespace {

constexpr int kWidth = 1000, kHeight = 700;
const int kCommands[kDateControlCount] = {201, 204, 202, 203, 150, 151, 152};

// A borderless 1000 x 700 parent, so that its client area is exactly that size, with the
// buttons on it laid out for a time column of 60 and a row height of 16 (H = 40).
class ControlsUnderTest {
public:
    ControlsUnderTest() : parent_(WM_COMMAND, WS_POPUP | WS_VISIBLE, RECT{0, 0, kWidth, kHeight}) {
        created_ = CreateDateControls(parent_.Window(), GetModuleHandleA(nullptr));
        MainLayoutInput in;
        in.clientWidth = kWidth;
        in.clientHeight = kHeight;
        in.orientation = kButtonBarHorizontal;
        in.rowHeight = 16;
        in.timeColumnWidth = 60;
        in.scrollBarWidth = 17;
        PlaceDateControls(LayOutMainWindow(in));
        UpdateWindow(parent_.Window());
        Pump();
        parent_.heard.clear();
    }
    HWND Parent() const { return parent_.Window(); }
    bool Created() const { return created_; }
    RecordingWindow parent_;

    RECT PlaceOf(int command) const {
        RECT r = {};
        GetWindowRect(DateControlWindow(command), &r);
        MapWindowPoints(nullptr, parent_.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Clicks the button for real; the commands the parent heard (after a little wait, so that
    // one too many would be seen too).
    std::vector<int> Click(int command, DWORD ms = 3000) {
        parent_.heard.clear();
        RealClick(DateControlWindow(command));
        PumpUntil(ms, [&] { return !parent_.heard.empty(); });
        PumpFor(100);
        return parent_.Commands();
    }

private:
    bool created_ = false;
};

std::string ToolTipOf(HWND parent, HWND button) {
    return ToolTipText(static_cast<HWND>(GetPropA(parent, "QvnToolTip")), parent, reinterpret_cast<UINT_PTR>(button));
}

HBITMAP PictureOf(int command) {
    return reinterpret_cast<HBITMAP>(SendMessageA(DateControlWindow(command), BM_GETIMAGE, IMAGE_BITMAP, 0));
}

bool Checked(int command) { return SendMessageA(DateControlWindow(command), BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

TEST(DateControls, IdsPicturesTooltipsPlacesRealClicksAndThePressedView) {
    ControlsUnderTest t;
    ASSERT_TRUE(t.Created());
    struct Row {
        const char* tip;
        SIZE picture;
        COLORREF colour;  // shown on the face, without the picture's magenta
    } rows[kDateControlCount] = {
        {"Backward", {12, 14}, RGB(0, 70, 200)}, {"Today", {12, 14}, RGB(220, 0, 0)},
        {"Forward", {12, 14}, RGB(0, 70, 200)},  {"Calendar", {28, 28}, RGB(220, 0, 0)},
        {"Day View", {24, 24}, RGB(255, 215, 0)}, {"Week View", {24, 24}, RGB(255, 215, 0)},
        {"Month View", {24, 24}, RGB(130, 200, 255)}};
    SetForegroundWindow(t.Parent());
    ASSERT_TRUE(PumpUntil(5000, [&] { return GetForegroundWindow() == t.Parent(); }));
    SetFocus(t.Parent());
    for (int i = 0; i < kDateControlCount; ++i) {
        const int command = kCommands[i];
        HWND button = DateControlWindow(command);
        ASSERT_NE(nullptr, button) << command;
        EXPECT_EQ(button, GetDlgItem(t.Parent(), command));
        EXPECT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << command;
        const SIZE size = BitmapSize(PictureOf(command));
        EXPECT_TRUE(size.cx == rows[i].picture.cx && size.cy == rows[i].picture.cy) << command;
        EXPECT_EQ(rows[i].tip, ToolTipOf(t.Parent(), button)) << command;
        const auto shown = Shown(button);
        EXPECT_GT(CountOf(shown, rows[i].colour), 3) << command;
        EXPECT_EQ(0, CountOf(shown, RGB(255, 0, 255))) << command;
        EXPECT_EQ(std::vector<int>{command}, t.Click(command));
        EXPECT_EQ(t.Parent(), GetFocus()) << command << " gave the focus back";
    }
    // One place per rule: the corner above the time column, right of the header, the bar strip.
    const struct {
        int command, x, y, width, height;
    } places[] = {{201, 0, 37, 20, 32}, {203, 956, 36, 34, 34}, {152, 966, 0, 32, 32}};
    for (const auto& p : places) {
        const RECT r = t.PlaceOf(p.command);
        EXPECT_TRUE(r.left == p.x && r.top == p.y && r.right - r.left == p.width && r.bottom - r.top == p.height)
            << p.command << " at " << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
    }
    // A click on a view button does not press it: the main window decides the view.
    EXPECT_FALSE(Checked(151));
    // A disabled button is greyed and sends nothing; enabled again, it does.
    EnableDateControl(202, false);
    EXPECT_TRUE(IsWindowEnabled(DateControlWindow(201))) << "only the one asked for";
    EXPECT_EQ(0, CountOf(Shown(DateControlWindow(202)), RGB(0, 70, 200))) << "shown greyed";
    EXPECT_TRUE(t.Click(202, 500).empty());
    EnableDateControl(202, true);
    EnableDateControl(388, false);  // not one of these buttons: nothing happens
    EXPECT_EQ(std::vector<int>{202}, t.Click(202));

    const auto raised = Shown(DateControlWindow(151));
    ShowViewMode(1);
    EXPECT_TRUE(!Checked(150) && Checked(151) && !Checked(152));
    EXPECT_NE(raised, Shown(DateControlWindow(151))) << "the pressed button looks different";
    ShowViewMode(2);
    EXPECT_TRUE(!Checked(151) && Checked(152));
    EXPECT_EQ(raised, Shown(DateControlWindow(151))) << "raised again";
    ShowViewMode(5);
    EXPECT_FALSE(Checked(150) || Checked(151) || Checked(152)) << "no such view: all raised";
}
