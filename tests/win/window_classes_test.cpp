// The appointment book's window classes: each one registered once, double-clicks delivered to
// the windows that act on them (the sheet, the time column, the header, the pin board and the
// header list box), the floating box's sizing cursor, the list box's state in window data and
// the main window's menu.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/window_classes_win.h"

TEST(WindowClasses, EveryClassIsRegisteredOnceAndTheWindowsThatTakeDoubleClicksGetThem) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterApptBookClasses(instance, DefWindowProcA));
    const struct {
        const char* name;
        bool doubleClicks;
    } classes[] = {{"ApptBook", false}, {"SchSheet", true},  {"SchTime", true},   {"SSHeader", true},
                   {"MoveIt", false},   {"DataPopup", false}, {"SSPinBoard", true}, {"ApptList", false},
                   {"ASAPList", false}, {"UnschList", false}, {"RSHeader", false}, {"MDIListBox", true},
                   {"MDIListBoxHeader", true}};
    auto class_of = [&](const char* name) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        EXPECT_TRUE(GetClassInfoExA(instance, name, &wc)) << name;
        return wc;
    };
    for (const auto& c : classes) EXPECT_EQ(c.doubleClicks, (class_of(c.name).style & CS_DBLCLKS) != 0) << c.name;
    EXPECT_EQ(LoadCursorA(nullptr, IDC_SIZENESW), class_of("MoveIt").hCursor);
    EXPECT_EQ(static_cast<int>(sizeof(LONG_PTR)), class_of("MDIListBox").cbWndExtra);
    const WNDCLASSEXA main = class_of("ApptBook");
    EXPECT_STREQ("ApptMenu", main.lpszMenuName ? main.lpszMenuName : "(none)");
    // A second registration in the same process is refused, not silently doubled.
    EXPECT_FALSE(RegisterApptBookClasses(instance, DefWindowProcA));
}
