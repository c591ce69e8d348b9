// Stands in for a module of the suite in the UI tests: copied under a module's executable name,
// it writes the command line it was started with into a file beside itself (its own path with
// ".txt" added) and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH + 8] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatA(path, ".txt");
    // Written under another name first, so that a reader never sees half a line.
    char partial[MAX_PATH + 16] = "";
    lstrcpyA(partial, path);
    lstrcatA(partial, ".part");
    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    CloseHandle(file);
    if (!ok) return 3;
    return MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
