// The appointment book's window classes carry the styles, brushes and cursors the sheet relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/window_classes_win.h"

namespace {

struct Expected {
    const char* name;
    UINT style;
    int brush;  // stock brush, -1 none
    LPCSTR cursor;
};

WNDCLASSEXA ClassInfo(const char* name) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) << name;
    return wc;
}

}  // namespace

TEST(WindowClasses, EveryClassIsRegisteredWithItsStyleBrushAndCursor) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterApptBookClasses(instance, DefWindowProcA));

    const Expected expected[] = {
        {"ApptBook", CS_HREDRAW | CS_VREDRAW, LTGRAY_BRUSH, IDC_ARROW},
        {"SchSheet", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, WHITE_BRUSH, IDC_ARROW},
        {"SchTime", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
        {"SSHeader", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
        {"MoveIt", 0, -1, IDC_SIZENESW},
        {"DataPopup", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW},
        {"SSPinBoard", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
    };
    for (const Expected& e : expected) {
        WNDCLASSEXA wc = ClassInfo(e.name);
        EXPECT_EQ(e.style, wc.style) << e.name;
        HBRUSH brush = e.brush >= 0 ? static_cast<HBRUSH>(GetStockObject(e.brush)) : nullptr;
        EXPECT_EQ(brush, wc.hbrBackground) << e.name;
        EXPECT_EQ(LoadCursorA(nullptr, e.cursor), wc.hCursor) << e.name;
        EXPECT_EQ(0, wc.cbClsExtra) << e.name;
        EXPECT_EQ(0, wc.cbWndExtra) << e.name;
    }
    // The list windows, their caption strip and the header list box (whose two windows keep
    // their state in window data).
    const Expected lists[] = {
        {"ApptList", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW},
        {"ASAPList", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW},
        {"UnschList", CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH, IDC_ARROW},
        {"RSHeader", CS_HREDRAW | CS_VREDRAW, LTGRAY_BRUSH, IDC_ARROW},
        {"MDIListBox", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, -1, IDC_ARROW},
        {"MDIListBoxHeader", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH, IDC_ARROW},
    };
    for (const Expected& e : lists) {
        WNDCLASSEXA wc = ClassInfo(e.name);
        EXPECT_EQ(e.style, wc.style) << e.name;
        HBRUSH brush = e.brush >= 0 ? static_cast<HBRUSH>(GetStockObject(e.brush)) : nullptr;
        EXPECT_EQ(brush, wc.hbrBackground) << e.name;
        EXPECT_EQ(LoadCursorA(nullptr, e.cursor), wc.hCursor) << e.name;
    }
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), ClassInfo("MDIListBox").cbWndExtra);

    WNDCLASSEXA main = ClassInfo("ApptBook");
    ASSERT_NE(nullptr, main.lpszMenuName);
    EXPECT_EQ(std::string("ApptMenu"), main.lpszMenuName);

    // A second registration in the same process is refused, not silently doubled.
    EXPECT_FALSE(RegisterApptBookClasses(instance, DefWindowProcA));
}
