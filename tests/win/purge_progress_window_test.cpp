// The purge's progress window on a thread of its own: it shows the count and answers Cancel while
// the thread that purges takes no messages, as while it waits for a commit on the disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "appointments/purge_dialog_win.h"
#include "resources/resource.h"

namespace {

HWND ProgressWindowOfThisProcess() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", "Purge Appointments"); w;
         w = FindWindowExA(nullptr, w, "#32770", "Purge Appointments")) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId()) return w;
    }
    return nullptr;
}

std::string CountText(HWND window) {
    char text[40] = {};
    GetDlgItemTextA(window, IDC_PURGE_PROGRESS_COUNT, text, sizeof text);
    return text;
}

// Waits for the condition within a bound, taking none of this thread's messages.
bool WithoutPumping(const std::function<bool()>& condition) {
    const DWORD deadline = GetTickCount() + 5000;
    while (!condition()) {
        if (GetTickCount() > deadline) return false;
        Sleep(20);
    }
    return true;
}

}  // namespace

TEST(PurgeProgressWindow, ShowsTheCountAndAnswersCancelWhileThePurgingThreadTakesNoMessages) {
    HWND window = nullptr;
    {
        PurgeProgressWindow progress(nullptr, GetModuleHandleA(nullptr));
        window = ProgressWindowOfThisProcess();
        ASSERT_NE(nullptr, window);
        EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
        EXPECT_FALSE(progress.Cancelled());
        progress.Counted(3, 7);
        EXPECT_TRUE(WithoutPumping([&] { return CountText(window) == "3 - 7"; })) << CountText(window);
        progress.Counted(5, 12);
        EXPECT_TRUE(WithoutPumping([&] { return CountText(window) == "5 - 12"; })) << CountText(window);
        HWND cancel = GetDlgItem(window, IDCANCEL);
        SendMessageA(cancel, BM_CLICK, 0, 0);  // handled on the window's thread
        EXPECT_FALSE(IsWindowEnabled(cancel)) << "Cancel answers at once";
        EXPECT_TRUE(progress.Cancelled());
    }
    EXPECT_FALSE(IsWindow(window)) << "the window goes with the run";
}
