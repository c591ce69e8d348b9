// The single-instance test: a named mutex that the first process creates and keeps.
#include "suite/window_services_win.h"

#include <string>

namespace {

// Closed when the process ends, which is when the name must become free again.
struct InstanceMutex {
    HANDLE handle = nullptr;
    ~InstanceMutex() {
        if (handle) CloseHandle(handle);
    }
};
InstanceMutex instance_mutex;

}  // namespace

int ExistsPreviousInstance(const char* name) {
    std::string object = std::string("Local\\") + name;
    HANDLE handle = CreateMutexA(nullptr, FALSE, object.c_str());
    if (!handle) return 0;  // cannot tell: better to run than to refuse to start
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return instance_mutex.handle ? 0 : 1;  // held by this process itself: no other copy
    }
    if (instance_mutex.handle) CloseHandle(instance_mutex.handle);
    instance_mutex.handle = handle;
    return 0;
}
