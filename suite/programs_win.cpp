// Starting other programs of the suite, and the Windows version.
#include <cstring>
#include <string>
#include <vector>

#include "suite/window_services_win.h"

int QVN_StartProgram(const char* command_line, int show_state) {
    if (!command_line || !*command_line) return 2;  // ERROR_FILE_NOT_FOUND, as WinExec answers
    std::vector<char> line(command_line, command_line + strlen(command_line) + 1);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show_state);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        DWORD error = GetLastError();
        return error > 0 && error < 32 ? static_cast<int>(error) : 0;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 33;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    while (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/') --length;
    return std::string(path, length);
}
