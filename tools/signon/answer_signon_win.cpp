// answer_signon.exe PASSWORD [SECONDS]: for a headless run of the appointment book
// (scripts/run.sh --screenshot), answers its sign-on as a person at the keyboard would: waits for
// the "Password" dialog, clicks into its password field, types the password and presses Enter.
// Exit code 0 when it answered, 1 when no prompt came within the time (default 60 s).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

void Mouse(DWORD flags, POINT screen) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

void Type(const std::string& text) {
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const DWORD bound = (argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60) * 1000;
    const DWORD deadline = GetTickCount() + bound;
    while (GetTickCount() < deadline) {
        HWND prompt = FindWindowA("#32770", "Password");
        HWND field = prompt && IsWindowVisible(prompt) ? GetDlgItem(prompt, IDC_PASSWORD_TEXT) : nullptr;
        if (field) {
            SetForegroundWindow(prompt);
            RECT r;
            GetWindowRect(field, &r);
            const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            Mouse(0, middle);
            Mouse(MOUSEEVENTF_LEFTDOWN, middle);
            Mouse(MOUSEEVENTF_LEFTUP, middle);
            Type(argv[1]);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
