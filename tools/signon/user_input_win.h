// Input into another program as a person at the keyboard gives it: mouse events at screen
// points, typed text with Enter, and the sign-on's password typed into its field. Shared by
// answer_signon.exe (headless runs of the program) and the UI tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"

// One mouse event at a screen point.
inline void SendMouseAt(DWORD flags, POINT screen) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

// Types the text as key strokes into whatever has the keyboard focus, then presses Enter.
inline void TypeAndEnter(const std::string& text) {
    std::vector<INPUT> keys;
    for (char c : text)
        for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT k = {};
            k.type = INPUT_KEYBOARD;
            k.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
            k.ki.dwFlags = KEYEVENTF_UNICODE | up;
            keys.push_back(k);
        }
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT k = {};
        k.type = INPUT_KEYBOARD;
        k.ki.wVk = VK_RETURN;
        k.ki.dwFlags = up;
        keys.push_back(k);
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// A click into the sign-on dialog's password field, the password typed, Enter. False when the
// dialog has no password field.
inline bool TypePasswordInto(HWND dialog, const std::string& password) {
    HWND field = GetDlgItem(dialog, IDC_PASSWORD_TEXT);
    if (!field) return false;
    SetForegroundWindow(dialog);
    RECT r;
    GetWindowRect(field, &r);
    const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SendMouseAt(0, middle);
    SendMouseAt(MOUSEEVENTF_LEFTDOWN, middle);
    SendMouseAt(MOUSEEVENTF_LEFTUP, middle);
    TypeAndEnter(password);
    return true;
}
