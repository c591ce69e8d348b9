// Owners of the engine's handles for code that works on a private, short-lived session of its
// own (the occupancy updates, the admin tool): every way out ends the session and closes the
// file, which also releases every lock the session held. And the wait for a record that another
// workstation holds locked for a moment.
#pragma once

#include <chrono>
#include <thread>

#include "suite/qdb/qdb.h"

class QdbPrivateSession {
public:
    QdbPrivateSession() : session_(QDB_StartSession(1)) {}
    ~QdbPrivateSession() {
        if (session_) QDB_EndSession(session_);
    }
    QdbPrivateSession(const QdbPrivateSession&) = delete;
    QdbPrivateSession& operator=(const QdbPrivateSession&) = delete;
    QdbSession Handle() const { return session_; }

private:
    QdbSession session_;
};

class QdbOpenedFile {
public:
    QdbOpenedFile(QdbSession session, int number) : file_(session ? QDB_OpenFile(session, number) : 0) {}
    ~QdbOpenedFile() {
        if (file_) QDB_CloseFile(file_);
    }
    QdbOpenedFile(const QdbOpenedFile&) = delete;
    QdbOpenedFile& operator=(const QdbOpenedFile&) = delete;
    QdbFile Handle() const { return file_; }

private:
    QdbFile file_;
};

// Runs attempt (one engine call answering 0 on failure) again while it fails because another
// session holds the record (42), pausing 20 ms between tries, about two seconds in all: other
// workstations hold a record only for the few writes of one save. Returns the last answer; the
// session's last error then says why it failed.
template <typename Attempt>
auto RetryWhileLocked(QdbSession session, Attempt attempt) -> decltype(attempt()) {
    constexpr uint16_t kLocked = 42;
    constexpr int kTries = 100;
    for (int tries = 0;; ++tries) {
        const auto answer = attempt();
        if (answer || QDB_GetLastErrorNum(session) != kLocked || tries == kTries) return answer;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
