// Finding, starting and waking the print program.
#include "suite/print_program_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/private_messages.h"
#include "suite/window_services_win.h"

namespace {

std::string PrintProgramPath() { return ProgramFolder() + "qvprint.exe"; }

}  // namespace

int WindowsPrintProgram::CallQvPrint(int) {
    return GetFileAttributesA(PrintProgramPath().c_str()) == INVALID_FILE_ATTRIBUTES ? 0 : 1;
}

int WindowsPrintProgram::StartProgram() {
    return static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", PrintProgramPath().c_str(), nullptr, nullptr, SW_SHOWNORMAL)));
}

bool WindowsPrintProgram::WakeRunning() {
    HWND running = FindWindowA(kPrintProgramClass, nullptr);
    return running && PostMessageA(running, WM_COMMAND, kCmdLookAtPrintQueue, 0);
}
