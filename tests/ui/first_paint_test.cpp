// How long the program takes from its start to the first schedule sheet painted with its
// appointments: on the seed-bench practice named by QVN_BENCH_PRACTICE (made with `qvnadmin
// seed-bench DIR`; skipped when the variable is unset) and, for comparison, on the demo practice
// with its book. These are measurements, not tests, so they are disabled and run only with
// --gtest_also_run_disabled_tests; each prints its milliseconds and records them as properties.
//
// The clock runs from the answered sign-on to the first screen capture of the sheet window
// that holds enough pixels in the practice's provider colours, which only appointment boxes and
// booked provider units are filled with: a sheet painted before its days are loaded has none.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app_run.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"

namespace {

constexpr DWORD kPaintTimeoutMs = 120000;
constexpr int kPaintedPixels = 200;  // a few appointment boxes' worth

// A folder named on the Linux side reaches a program under Wine on drive Z:.
std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

std::string EnvironmentText(const char* name) {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : "";
}

// The colours of the practice's providers, read through the same core code as the program.
std::vector<COLORREF> ProviderColours(const std::string& data, std::string* reason) {
    std::vector<COLORREF> colours;
    if (!OpenPracticeDatabase(data, reason)) return colours;
    if (LoadPracticeTables())
        for (const ProviderInfo& p : practice_tables.providers) colours.push_back(p.colour & 0x00FFFFFF);
    else
        *reason = "the practice tables cannot be loaded";
    DbEndSession();
    std::sort(colours.begin(), colours.end());
    return colours;
}

// The pixels of a window's client area on screen whose colour is one of colours (sorted);
// *taken is when the screen was read.
int PixelsIn(HWND window, const std::vector<COLORREF>& colours, LARGE_INTEGER* taken) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return 0;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int count = 0;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        QueryPerformanceCounter(taken);
        const auto* p = static_cast<const uint32_t*>(bits);
        for (LONG i = 0; i < client.right * client.bottom; ++i) {
            const COLORREF c = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
            if (std::binary_search(colours.begin(), colours.end(), c)) ++count;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct FirstPaint {
    double windowMs = -1;   // the sheet window visible
    double paintedMs = -1;  // the first screen read that shows its appointments
    double blankMs = -1;    // the screen read before it, which did not
    std::string failure;
    long exitCode = -1;     // after the close; -1 when it had to be ended
};

// Waits for the first painted sheet of the run, timed from its sign-on (the run answered it);
// then closes the program.
FirstPaint TimeToFirstPaint(AppRun& app, const std::vector<COLORREF>& colours) {
    FirstPaint result;
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!app.Started() || !app.SignedOn()) result.failure = "the program did not start or sign on";
    HWND main = nullptr;
    const DWORD deadline = GetTickCount() + kPaintTimeoutMs;
    while (result.failure.empty() && result.paintedMs < 0 && GetTickCount() < deadline) {
        if (!main) main = app.VisibleWindow("ApptBook");
        HWND sheet = main ? Child(main, "SchSheet") : nullptr;
        if (!app.Running()) {
            result.failure = "the program ended before its sheet was painted";
        } else if (HWND box = app.VisibleWindow("#32770")) {
            result.failure = "a message box came up: " + MessageText(box);
        } else if (!sheet || !IsWindowVisible(sheet)) {
            Sleep(5);  // a fine step: this is the measured time
        } else {
            if (result.windowMs < 0) {
                QueryPerformanceCounter(&now);
                result.windowMs = Milliseconds(start, now);
            }
            LARGE_INTEGER taken = {};
            const bool painted = PixelsIn(sheet, colours, &taken) >= kPaintedPixels;
            (painted ? result.paintedMs : result.blankMs) = Milliseconds(start, taken);
        }
    }
    if (result.paintedMs < 0 && result.failure.empty())
        result.failure = "no appointments on the sheet within " + std::to_string(kPaintTimeoutMs / 1000) + " s";
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    result.exitCode = app.WaitForExit();
    return result;
}

void Report(const char* practice, const FirstPaint& paint) {
    std::printf("start to first painted sheet on the %s practice: %.0f ms (the screen read before, at %.0f ms, "
                "showed none; the sheet window was visible after %.0f ms)\n",
                practice, paint.paintedMs, paint.blankMs, paint.windowMs);
    std::fflush(stdout);
    testing::Test::RecordProperty("start_to_first_paint_ms", static_cast<int>(paint.paintedMs + 0.5));
    testing::Test::RecordProperty("sheet_visible_ms", static_cast<int>(paint.windowMs + 0.5));
}

}  // namespace

// Today's day view of the large practice. Its book ends a year after the day it was seeded, so
// today has appointments on every weekday.
TEST(FirstPaint, DISABLED_StartToFirstPaintOnTheBenchPractice) {
    const std::string bench = EnvironmentText("QVN_BENCH_PRACTICE");
    if (bench.empty()) GTEST_SKIP() << "QVN_BENCH_PRACTICE names no practice; make one with qvnadmin seed-bench DIR";
    const std::string data = WindowsPath(bench);
    std::string reason;
    const std::vector<COLORREF> colours = ProviderColours(data, &reason);
    ASSERT_FALSE(colours.empty()) << data << ": " << reason;
    // The settings point the program at the large practice instead of the one written for the run.
    AppRun app("", Practice::kDemo, "FRONT", {"GENERAL/Path=" + data});
    const FirstPaint paint = TimeToFirstPaint(app, colours);
    ASSERT_EQ("", paint.failure);
    Report("seed-bench", paint);
    EXPECT_EQ(0, paint.exitCode) << "the program ends when closed";
}

TEST(FirstPaint, DISABLED_StartToFirstPaintOnTheDemoPractice) {
    std::vector<COLORREF> colours;
    std::string reason;
    AppRun app("", Practice::kDemoBook, "FRONT", {}, [&](const std::string& data, const std::string&) {
        colours = ProviderColours(data, &reason);
    });
    ASSERT_FALSE(colours.empty()) << reason;
    const FirstPaint paint = TimeToFirstPaint(app, colours);
    ASSERT_EQ("", paint.failure);
    Report("demo", paint);
    EXPECT_EQ(0, paint.exitCode) << "the program ends when closed";
}
