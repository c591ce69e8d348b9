// The date and view buttons on a real parent window: ids, places and pictures, tooltips, real
// mouse clicks that reach the parent and leave the focus with it, the pressed view button, and
// the pictures freed with the buttons.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/date_controls_win.h"
#include "win_harness.h"

namespace {

// The commands the parent of the controls under test heard.
std::vector<RecordingWindow::Heard>* commands = nullptr;

constexpr int kWidth = 1000, kHeight = 700;
const int kCommands[kDateControlCount] = {201, 204, 202, 203, 150, 151, 152};

// A borderless 1000 x 700 parent, so that its client area is exactly that size, with the
// buttons on it laid out for a time column of 60 and a row height of 16 (H = 40).
class ControlsUnderTest {
public:
    explicit ControlsUnderTest(ButtonBarOrientation orientation)
        : parent_(WM_COMMAND, WS_POPUP | WS_VISIBLE, RECT{0, 0, kWidth, kHeight}) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        commands = &parent_.heard;
        created_ = CreateDateControls(parent_.Window(), instance);
        MainLayoutInput in;
        in.clientWidth = kWidth;
        in.clientHeight = kHeight;
        in.orientation = orientation;
        in.rowHeight = 16;
        in.timeColumnWidth = 60;
        in.scrollBarWidth = 17;
        PlaceDateControls(LayOutMainWindow(in));
        UpdateWindow(parent_.Window());
        Pump();
        commands->clear();
    }
    HWND Parent() const { return parent_.Window(); }
    bool Created() const { return created_; }

    RECT PlaceOf(int command) const {
        RECT r = {};
        HWND button = DateControlWindow(command);
        GetWindowRect(button, &r);
        MapWindowPoints(nullptr, parent_.Window(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

private:
    RecordingWindow parent_;
    bool created_ = false;
};

void ExpectPlace(const RECT& r, int x, int y, int width, int height, int command) {
    EXPECT_EQ(x, r.left) << command;
    EXPECT_EQ(y, r.top) << command;
    EXPECT_EQ(width, r.right - r.left) << command;
    EXPECT_EQ(height, r.bottom - r.top) << command;
}

std::string ToolTipOf(HWND parent, HWND button) {
    HWND tips = static_cast<HWND>(GetPropA(parent, "QvnToolTip"));
    if (!tips) return "(no tooltip window)";
    char text[256] = {};
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = parent;
    ti.uId = reinterpret_cast<UINT_PTR>(button);
    ti.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return text;
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

// Pumps until n commands arrived (at most three seconds, or ms), then a little longer so that
// a command too many would be seen too.
void WaitForCommands(size_t n, DWORD ms = 3000) {
    PumpUntil(ms, [n] { return commands->size() >= n; });
    PumpFor(100);
}

}  // namespace

TEST(DateControls, ButtonsHaveTheirIdsPlacesPicturesAndTooltips) {
    ControlsUnderTest t(kButtonBarHorizontal);
    ASSERT_TRUE(t.Created());
    const char* tips[kDateControlCount] = {"Backward", "Today", "Forward", "Calendar",
                                           "Day View", "Week View", "Month View"};
    const SIZE picture_sizes[kDateControlCount] = {{12, 14}, {12, 14}, {12, 14}, {28, 28},
                                                   {24, 24}, {24, 24}, {24, 24}};
    for (int i = 0; i < kDateControlCount; ++i) {
        int command = kCommands[i];
        HWND button = DateControlWindow(command);
        ASSERT_NE(nullptr, button) << command;
        EXPECT_EQ(command, GetDlgCtrlID(button));
        EXPECT_EQ(t.Parent(), GetParent(button)) << command;
        EXPECT_EQ(button, GetDlgItem(t.Parent(), command));
        EXPECT_TRUE(IsWindowVisible(button)) << command;
        EXPECT_TRUE(IsWindowEnabled(button)) << command;
        char class_name[32] = {};
        GetClassNameA(button, class_name, sizeof class_name);
        EXPECT_STREQ("button", CharLowerA(class_name));
        HBITMAP picture = reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
        SIZE size = BitmapSize(picture);
        EXPECT_EQ(picture_sizes[i].cx, size.cx) << command;
        EXPECT_EQ(picture_sizes[i].cy, size.cy) << command;
        EXPECT_EQ(tips[i], ToolTipOf(t.Parent(), button)) << command;
    }

    // The corner above the time column is (0, 33) 60 x 40: three buttons of 20, 32 high.
    ExpectPlace(t.PlaceOf(201), 0, 37, 20, 32, 201);
    ExpectPlace(t.PlaceOf(204), 20, 37, 20, 32, 204);
    ExpectPlace(t.PlaceOf(202), 40, 37, 20, 32, 202);
    // Right of the header (947 to 1000, 40 high from y 33): 34 x 34 centred.
    ExpectPlace(t.PlaceOf(203), 956, 36, 34, 34, 203);
    // At the right end of the 33-pixel bar strip, 2 pixels from the edge.
    ExpectPlace(t.PlaceOf(150), 902, 0, 32, 32, 150);
    ExpectPlace(t.PlaceOf(151), 934, 0, 32, 32, 151);
    ExpectPlace(t.PlaceOf(152), 966, 0, 32, 32, 152);

    // The pictures show on the button face without their magenta, each with its own colours.
    struct Colour {
        int command;
        COLORREF colour;
    } seen[] = {{201, RGB(0, 70, 200)}, {202, RGB(0, 70, 200)}, {204, RGB(220, 0, 0)},
                {203, RGB(220, 0, 0)},  {150, RGB(255, 215, 0)}, {151, RGB(255, 215, 0)},
                {152, RGB(130, 200, 255)}};
    for (const Colour& c : seen) {
        auto shown = Shown(DateControlWindow(c.command));
        EXPECT_GT(CountOf(shown, c.colour), 3) << c.command << " shows its picture";
        EXPECT_EQ(0, CountOf(shown, RGB(255, 0, 255))) << c.command << " shows no magenta";
    }
}

TEST(DateControls, RealClicksReachTheParentAndLeaveTheFocusThere) {
    ControlsUnderTest t(kButtonBarHorizontal);
    ASSERT_TRUE(t.Created());
    SetForegroundWindow(t.Parent());
    ASSERT_TRUE(PumpUntil(5000, [&] { return GetForegroundWindow() == t.Parent(); }));
    SetFocus(t.Parent());

    for (int command : kCommands) {
        commands->clear();
        HWND button = DateControlWindow(command);
        ASSERT_TRUE(RealClick(button)) << "the pointer did not reach " << command;
        WaitForCommands(1);
        ASSERT_EQ(1u, commands->size()) << command;
        EXPECT_EQ(command, LOWORD((*commands)[0].wparam));
        EXPECT_EQ(BN_CLICKED, HIWORD((*commands)[0].wparam)) << command;
        EXPECT_EQ(reinterpret_cast<LPARAM>(button), (*commands)[0].lparam) << command;
        EXPECT_EQ(t.Parent(), GetFocus()) << command << " gave the focus back";
    }
    // A click on a view button does not press it: the main window decides the view.
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(DateControlWindow(151), BM_GETCHECK, 0, 0));

    // A disabled button sends nothing; enabled again, it does.
    const COLORREF arrow_blue = RGB(0, 70, 200);
    EXPECT_GT(CountOf(Shown(DateControlWindow(202)), arrow_blue), 3);
    EnableDateControl(202, false);
    EXPECT_FALSE(IsWindowEnabled(DateControlWindow(202)));
    EXPECT_TRUE(IsWindowEnabled(DateControlWindow(201))) << "only the one asked for";
    EXPECT_EQ(0, CountOf(Shown(DateControlWindow(202)), arrow_blue)) << "shown greyed";
    commands->clear();
    RealClick(DateControlWindow(202));
    WaitForCommands(1, 500);  // a click takes about a tenth of a second to arrive
    EXPECT_TRUE(commands->empty()) << commands->size() << " commands from a disabled button, the first "
                                  << (commands->empty() ? 0 : LOWORD((*commands)[0].wparam));
    EnableDateControl(202, true);
    EXPECT_GT(CountOf(Shown(DateControlWindow(202)), arrow_blue), 3) << "in colour again";
    EnableDateControl(388, false);  // not one of these buttons: nothing happens
    RealClick(DateControlWindow(202));
    WaitForCommands(1);
    ASSERT_EQ(1u, commands->size());
    EXPECT_EQ(202, LOWORD((*commands)[0].wparam));
    EXPECT_EQ(t.Parent(), GetFocus());

    // BM_CLICK goes the same way through the button.
    commands->clear();
    SendMessageA(DateControlWindow(204), BM_CLICK, 0, 0);
    WaitForCommands(1);
    ASSERT_EQ(1u, commands->size());
    EXPECT_EQ(204, LOWORD((*commands)[0].wparam));
    EXPECT_NE(DateControlWindow(204), GetFocus());
}

TEST(DateControls, ShowViewModePressesTheCurrentViewsButton) {
    ControlsUnderTest t(kButtonBarHorizontal);
    ASSERT_TRUE(t.Created());
    HWND day = DateControlWindow(150), week = DateControlWindow(151), month = DateControlWindow(152);
    auto checked = [](HWND b) { return SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED; };

    auto raised = Shown(week);  // as made: nothing pressed
    EXPECT_FALSE(checked(day) || checked(week) || checked(month));

    ShowViewMode(1);
    EXPECT_FALSE(checked(day));
    EXPECT_TRUE(checked(week));
    EXPECT_FALSE(checked(month));
    auto pressed = Shown(week);
    auto day_raised = Shown(day);
    EXPECT_NE(raised, pressed) << "the pressed button looks different";
    // A sunken edge: darker at the top left than the raised buttons beside it.
    EXPECT_LT(Brightness(pressed[0][0]), Brightness(day_raised[0][0]));
    EXPECT_LT(Brightness(pressed[1][1]), Brightness(day_raised[1][1]));

    ShowViewMode(2);
    EXPECT_FALSE(checked(week));
    EXPECT_TRUE(checked(month));
    EXPECT_EQ(raised, Shown(week)) << "raised again";
    EXPECT_LT(Brightness(Shown(month)[0][0]), Brightness(Shown(week)[0][0]));

    ShowViewMode(0);
    EXPECT_TRUE(checked(day));
    EXPECT_FALSE(checked(month));
    ShowViewMode(5);
    EXPECT_FALSE(checked(day) || checked(week) || checked(month)) << "no such view: all raised";
}

TEST(DateControls, PicturesGoWithTheButtons) {
    std::vector<HBITMAP> pictures;
    auto shown_picture = [](int command) {
        return reinterpret_cast<HBITMAP>(
            SendMessageA(DateControlWindow(command), BM_GETIMAGE, IMAGE_BITMAP, 0));
    };
    {
        ControlsUnderTest t(kButtonBarHorizontal);
        ASSERT_TRUE(t.Created());
        HWND first = DateControlWindow(203);
        HBITMAP first_picture = shown_picture(203);
        // Made again: the first buttons and their pictures are gone.
        ASSERT_TRUE(CreateDateControls(t.Parent(), GetModuleHandleA(nullptr)));
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ(-1, BitmapSize(first_picture).cx) << "deleted with its button";
        // Every button's picture for both states.
        for (int command : kCommands) {
            pictures.push_back(shown_picture(command));
            EnableDateControl(command, false);
            pictures.push_back(shown_picture(command));
            EXPECT_NE(pictures[pictures.size() - 2], pictures.back()) << command;
        }
        for (HBITMAP p : pictures) EXPECT_GT(BitmapSize(p).cx, 0);
    }
    for (int command : kCommands) EXPECT_EQ(nullptr, DateControlWindow(command)) << command << " forgotten";
    for (size_t i = 0; i < pictures.size(); ++i)
        EXPECT_EQ(-1, BitmapSize(pictures[i]).cx) << "picture " << i << " deleted with its button";
    // Nothing to move or press once the buttons are gone.
    PlaceDateControls(MainLayout{});
    ShowViewMode(1);
    EnableDateControl(201, false);
}
