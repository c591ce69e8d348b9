// answer_signon.exe PASSWORD [SECONDS]: for a headless run of the appointment book
// (scripts/run.sh --screenshot), answers its sign-on as a person at the keyboard would: waits for
// the "Password" dialog, clicks into its password field, types the password and presses Enter.
// Exit code 0 when it answered, 1 when no prompt came within the time (default 60 s).
#include <windows.h>

#include <cstdlib>

#include "tools/signon/user_input_win.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const DWORD bound = (argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60) * 1000;
    const DWORD deadline = GetTickCount() + bound;
    while (GetTickCount() < deadline) {
        HWND prompt = FindWindowA("#32770", "Password");
        if (prompt && IsWindowVisible(prompt) && TypePasswordInto(prompt, argv[1])) return 0;
        Sleep(100);
    }
    return 1;
}
