// Owners of the engine's handles for code that works on a private, short-lived session of its
// own (a save, a record changed under its lock, the admin tool): every way out ends the session and closes the
// file, which also releases every lock the session held.
#pragma once

#include "suite/qdb/qdb.h"

class QdbPrivateSession {
public:
    QdbPrivateSession() : session_(QDB_StartSession(1)) {}
    // A session started elsewhere (0: none), ended here.
    explicit QdbPrivateSession(QdbSession started) : session_(started) {}
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
