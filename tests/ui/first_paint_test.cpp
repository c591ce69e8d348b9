// How long the program takes from its start to the first schedule sheet painted with its
// appointments: on the seed-bench practice named by QVN_BENCH_PRACTICE (made with `qvnadmin
// seed-bench DIR`; skipped when the variable is unset) and, for comparison, on the demo practice
// with its book. These are measurements, not tests, so they are disabled and run only with
// --gtest_also_run_disabled_tests; each prints its milliseconds and records them as properties.
//
// The clock runs from just before CreateProcess to the first screen capture of the sheet window
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

// A top-level window of the process with the class, visible, or null.
HWND VisibleWindowOf(DWORD process_id, const char* class_name, const char* title = nullptr) {
    for (HWND w = FindWindowExA(nullptr, nullptr, class_name, title); w; w = FindWindowExA(nullptr, w, class_name, title)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == process_id && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Starts apptbook.exe on the settings file, signs on with the password and waits for its first
// painted sheet (timed from the sign-on); then closes it.
FirstPaint TimeToFirstPaint(const std::string& settings_file, const std::vector<COLORREF>& colours,
                             const std::string& password) {
    FirstPaint result;
    SetEnvironmentVariableA("QUORVIN_SETTINGS", settings_file.c_str());
    std::string command = "\"" + ProgramPath() + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process)) {
        result.failure = "cannot start " + ProgramPath();
        return result;
    }
    HWND main = nullptr;
    const DWORD deadline = GetTickCount() + kPaintTimeoutMs;
    while (result.paintedMs < 0 && GetTickCount() < deadline) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            result.failure = "the program ended before its sheet was painted";
            break;
        }
        // The sign-on waits for a person: the clock starts again once it is answered.
        if (HWND prompt = VisibleWindowOf(process.dwProcessId, "#32770", "Password")) {
            if (!AnswerPasswordDialog(prompt, password)) {
                result.failure = "the sign-on prompt was not answered";
                break;
            }
            QueryPerformanceCounter(&start);
            continue;
        }
        if (HWND box = VisibleWindowOf(process.dwProcessId, "#32770")) {
            result.failure = "a message box came up: " + MessageText(box);
            break;
        }
        if (!main) main = VisibleWindowOf(process.dwProcessId, "ApptBook");
        HWND sheet = main ? FindWindowExA(main, nullptr, "SchSheet", nullptr) : nullptr;
        if (!sheet || !IsWindowVisible(sheet)) {
            Sleep(5);
            continue;
        }
        if (result.windowMs < 0) {
            QueryPerformanceCounter(&now);
            result.windowMs = Milliseconds(start, now);
        }
        LARGE_INTEGER taken = {};
        const bool painted = PixelsIn(sheet, colours, &taken) >= kPaintedPixels;
        (painted ? result.paintedMs : result.blankMs) = Milliseconds(start, taken);
    }
    if (result.paintedMs < 0 && result.failure.empty())
        result.failure = "no appointments on the sheet within " + std::to_string(kPaintTimeoutMs / 1000) + " s";
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code))
        result.exitCode = static_cast<long>(code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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
    // The scratch folder and its settings file; the settings point the program at the large
    // practice instead of the small database written there.
    TempPractice scratch(Practice::kNoProviders, "FRONT");
    ASSERT_TRUE(scratch.Ok()) << scratch.Reason();
    WritePrivateProfileStringA("GENERAL", "Path", data.c_str(), scratch.File().c_str());
    const FirstPaint paint = TimeToFirstPaint(scratch.File(), colours, DemoPassword("FRONT"));
    ASSERT_EQ("", paint.failure);
    Report("seed-bench", paint);
    EXPECT_EQ(0, paint.exitCode) << "the program ends when closed";
}

TEST(FirstPaint, DISABLED_StartToFirstPaintOnTheDemoPractice) {
    TempPractice demo(Practice::kDemoBook, "FRONT");
    ASSERT_TRUE(demo.Ok()) << demo.Reason();
    std::string reason;
    const std::vector<COLORREF> colours = ProviderColours(demo.Data(), &reason);
    ASSERT_FALSE(colours.empty()) << reason;
    const FirstPaint paint = TimeToFirstPaint(demo.File(), colours, DemoPassword("FRONT"));
    ASSERT_EQ("", paint.failure);
    Report("demo", paint);
    EXPECT_EQ(0, paint.exitCode) << "the program ends when closed";
}
