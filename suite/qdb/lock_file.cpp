// Byte-range locks for the record database. This is the one core file that talks to the
// operating system directly (<windows.h> on Windows): record locks must cross processes, and
// the core tests that prove it run under Wine with only the core library linked.
#include "suite/qdb/lock_file.h"

#ifdef _WIN32
#include <windows.h>

bool LockFile::Open(const std::string& path) {
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    return true;
}

void LockFile::Close() {
    if (handle_) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

static bool TryLockByte(void* handle, uint64_t offset, DWORD flags) {
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return handle && LockFileEx(static_cast<HANDLE>(handle), flags | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where) != 0;
}

bool LockFile::TryLock(uint64_t offset) { return TryLockByte(handle_, offset, LOCKFILE_EXCLUSIVE_LOCK); }
bool LockFile::TryLockShared(uint64_t offset) { return TryLockByte(handle_, offset, 0); }

void LockFile::Unlock(uint64_t offset) {
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    UnlockFileEx(static_cast<HANDLE>(handle_), 0, 1, 0, &where);
}

#else
#include <fcntl.h>
#include <unistd.h>

bool LockFile::Open(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

void LockFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

namespace {

// Open-file-description locks: owned by this descriptor, not by the process, so two sessions
// of one process exclude each other.
bool SetLock(int fd, short type, uint64_t offset) {
    struct flock fl = {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

}  // namespace

bool LockFile::TryLock(uint64_t offset) { return fd_ >= 0 && SetLock(fd_, F_WRLCK, offset); }
bool LockFile::TryLockShared(uint64_t offset) { return fd_ >= 0 && SetLock(fd_, F_RDLCK, offset); }

void LockFile::Unlock(uint64_t offset) {
    if (fd_ >= 0) SetLock(fd_, F_UNLCK, offset);
}
#endif
