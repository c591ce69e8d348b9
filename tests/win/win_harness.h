// What the in-process Win32 tests share: the message pump with a bound, real mouse input that
// waits for the pointer to arrive, and the pixels a window shows.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages for up to ms milliseconds, or until done() holds; true when it did.
inline bool PumpUntil(DWORD ms, const std::function<bool()>& done) {
    const DWORD deadline = GetTickCount() + ms;
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount() > deadline) return false;
        Sleep(10);
    }
}

inline void PumpFor(DWORD ms) { PumpUntil(ms, [] { return false; }); }

// Moves the pointer to a screen point and waits until it is there, then sends the button flags
// with the place too (Wine may still be catching up with the jump, and a press without a place
// of its own would land where the pointer was). False when the pointer never arrived.
inline bool RealMouse(POINT at, DWORD button_flags) {
    auto input = [](DWORD flags, POINT p) {
        INPUT i = {};
        i.type = INPUT_MOUSE;
        i.mi.dx = p.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = p.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        return i;
    };
    INPUT move = input(0, at);
    SendInput(1, &move, sizeof(INPUT));
    if (!PumpUntil(2000, [&] {
            POINT p = {};
            GetCursorPos(&p);
            return p.x == at.x && p.y == at.y;
        }))
        return false;
    PumpFor(50);
    INPUT press = input(button_flags, at);
    return SendInput(1, &press, sizeof(INPUT)) == 1;
}

// A real press and release of the left button in the middle of a window.
inline bool RealClick(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return RealMouse(middle, MOUSEEVENTF_LEFTDOWN) && RealMouse(middle, MOUSEEVENTF_LEFTUP);
}

using ShownPixels = std::vector<std::vector<COLORREF>>;

// The window's client pixels, row by row, after a fresh paint.
inline ShownPixels Shown(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    RECT r = {};
    GetClientRect(window, &r);
    ShownPixels rows;
    HDC dc = GetDC(window);
    for (int y = 0; y < r.bottom; ++y) {
        rows.emplace_back();
        for (int x = 0; x < r.right; ++x) rows.back().push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(window, dc);
    return rows;
}

// The pixels of that colour in rows top to bottom (exclusive).
inline int CountOf(const ShownPixels& shown, COLORREF colour, int top = 0, int bottom = 1 << 30) {
    int n = 0;
    for (int y = top; y < static_cast<int>(shown.size()) && y < bottom; ++y)
        for (COLORREF c : shown[static_cast<size_t>(y)]) n += c == colour;
    return n;
}

// A bitmap's size, {-1, -1} for a handle that is no bitmap (any more).
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {-1, -1};
    return {info.bmWidth, info.bmHeight};
}
