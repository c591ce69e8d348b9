// Record locks as one-byte ranges of the lock file beside the database. Each LockFile is its own
// open file description, so two of them conflict even inside one process; closing it (or the
// end of the process) releases everything it held.
#pragma once

#include <cstdint>
#include <string>

class LockFile {
public:
    LockFile() = default;
    ~LockFile() { Close(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool Open(const std::string& path);
    void Close();

    // False when another holder has the byte (or the lock call failed). A shared lock admits
    // other shared locks on the byte and keeps exclusive ones out.
    bool TryLock(uint64_t offset);
    bool TryLockShared(uint64_t offset);
    void Unlock(uint64_t offset);

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};
