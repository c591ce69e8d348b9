// Two real processes locking the same appointment record, on each storage, portable so that it
// also runs as a Windows program. The test executable starts a second copy of itself; an environment variable
// makes that copy play the other workstation before the test runner starts: it takes the lock,
// says so with a file, and holds the lock until a release file appears, then ends.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#ifdef _WIN32
#include <process.h>
#include <stdlib.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "qdb_test_files.h"
#include "suite/qdb/qdb.h"

namespace {

constexpr char kHolderVariable[] = "QVN_TEST_LOCK_HOLDER";

std::filesystem::path ReadyFile(const std::string& dir) { return std::filesystem::path(dir) / "holder.ready"; }
std::filesystem::path ReleaseFile(const std::string& dir) { return std::filesystem::path(dir) / "holder.release"; }

// Waits for a file another process writes; gives up after a minute so a broken child cannot
// hang the run (a bound for safety, not a timing check).
bool WaitForFile(const std::filesystem::path& file) {
    for (int i = 0; i < 6000; ++i) {
        if (std::filesystem::exists(file)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The first line of a file another process writes, once it can be read: under Wine a file that
// was just renamed into place can be refused to a reader for a moment. Bounded like the wait.
std::string FirstLineWhenWritten(const std::filesystem::path& file) {
    std::string line;
    for (int i = 0; i < 6000 && line.empty(); ++i) {
        if (i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(file);
        std::getline(in, line);
    }
    return line;
}

// The other workstation's part, run in the spawned copy before main.
int RunLockHolder(const std::string& dir) {
    if (QDB_InitDataBase(dir.c_str()) != 1) return 3;
    QdbSession s = QDB_StartSession(1);
    QdbFile f = QDB_OpenFile(s, kAppointments);
    uint8_t rec[286];
    uint32_t id = 1;
    QdbUpdate u = QDB_StartUpdate(f, 2, kById, &id, rec);
    {
        // Written aside and renamed, so the waiting test never reads a half-written file.
        std::filesystem::path aside = ReadyFile(dir).string() + ".tmp";
        { std::ofstream(aside) << (u ? "y" : "n") << " " << QDB_GetLastResultNum(s) << " " << QDB_GetLastReason(s); }
        std::filesystem::rename(aside, ReadyFile(dir));
    }
    if (!u) return 4;
    WaitForFile(ReleaseFile(dir));
    return 0;  // ends without abort or end of session: the process's end must free the lock
}

// The holder role starts once the test runner starts, when every static table of the engine
// is built (a plain static initialiser here could run before them).
class LockHolderRole : public ::testing::Environment {
public:
    void SetUp() override {
        const char* dir = std::getenv(kHolderVariable);
        if (dir && *dir) std::_Exit(RunLockHolder(dir));
    }
};
::testing::Environment* const kHolderRole = ::testing::AddGlobalTestEnvironment(new LockHolderRole);

std::string OwnExecutable() {
#ifdef _WIN32
    return (__argv && __argv[0]) ? __argv[0] : "";
#else
    return std::filesystem::read_symlink("/proc/self/exe").string();
#endif
}

// Starts the holder copy; returns a process id / handle, or -1.
intptr_t StartHolder(const std::string& dir) {
    std::string exe = OwnExecutable();
#ifdef _WIN32
    _putenv_s(kHolderVariable, dir.c_str());
    std::string quoted = "\"" + exe + "\"";
    const char* args[] = {quoted.c_str(), nullptr};
    intptr_t h = _spawnv(_P_NOWAIT, exe.c_str(), args);
    _putenv_s(kHolderVariable, "");
    return h;
#else
    setenv(kHolderVariable, dir.c_str(), 1);
    pid_t pid = -1;
    char* args[] = {const_cast<char*>(exe.c_str()), nullptr};
    int rc = posix_spawn(&pid, exe.c_str(), nullptr, nullptr, args, environ);
    unsetenv(kHolderVariable);
    return rc == 0 ? pid : -1;
#endif
}

int WaitForHolder(intptr_t holder) {
    int status = -1;
#ifdef _WIN32
    _cwait(&status, holder, 0);
    return status;
#else
    waitpid(static_cast<pid_t>(holder), &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace

class QdbProcessLock : public QdbFixture {};
INSTANTIATE_TEST_SUITE_P(Storage, QdbProcessLock, TestedBackends(), BackendParamName);

TEST_P(QdbProcessLock, ASecondProcessGets42UntilTheHolderEnds) {
    const std::string dir = db.Dir();
    QdbFile f = QDB_OpenFile(s, kAppointments);
    uint8_t rec[286] = {};
    uint32_t id = 1;
    std::memcpy(rec + 2, &id, 4);
    ASSERT_EQ(1, QDB_AddRec(f, rec));

    intptr_t holder = StartHolder(dir);
    ASSERT_NE(-1, holder);
    ASSERT_TRUE(WaitForFile(ReadyFile(dir)));
    const std::string ready = FirstLineWhenWritten(ReadyFile(dir));
    ASSERT_EQ("y", ready.substr(0, 1)) << "the holder could not lock the record: " << ready;

    EXPECT_EQ(0u, QDB_StartUpdate(f, 2, kById, &id, rec));
    EXPECT_EQ(kQdbLocked, QDB_GetLastResultNum(s));
    // Reading without a lock still sees the locked record.
    EXPECT_EQ(1, QDB_FindRec(f, kById, &id, rec));

    { std::ofstream(ReleaseFile(dir)) << "go"; }
    EXPECT_EQ(0, WaitForHolder(holder));
    // A server notices an ended connection when its socket closes: a moment, bounded here.
    QdbUpdate u = 0;
    for (int i = 0; i < 500 && !u; ++i) {
        if (i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        u = QDB_StartUpdate(f, 2, kById, &id, rec);
    }
    EXPECT_NE(0u, u) << "the ended process's lock is gone";
    QDB_AbortUpdate(u);
}
