// Making a new practice database over the engine, on a private session of its own.
#include "data/practice_database.h"

#include "data/db_access.h"
#include "suite/qdb/file_groups.h"
#include "suite/qdb/qdb.h"
#include "suite/qdb/qdb_handles.h"

namespace {

constexpr int kHighestFileNumber = 287;

}  // namespace

bool CreatePracticeDatabase(const std::string& directory, std::string* reason) {
    if (QDB_CreateDataBase(directory.c_str()) != 1 || QDB_InitDataBase(directory.c_str()) != 1) {
        *reason = QDB_GetLastReason(0);
        return false;
    }
    QdbPrivateSession session;
    if (!session.Handle()) {
        *reason = QDB_GetLastReason(0);
        return false;
    }
    for (int number = 1; number <= kHighestFileNumber; ++number) {
        const FileGroupDef* group = FindFileGroup(number);
        if (!group || group->firstNumber != number) continue;
        if (!QDB_CREIFIL(session.Handle(), number)) {
            *reason = "data file " + std::to_string(number) + ": " + QDB_GetLastReason(session.Handle());
            return false;
        }
    }
    return true;
}

bool OpenPracticeDatabase(const std::string& directory, std::string* reason) {
    if (QDB_InitDataBase(directory.c_str()) != 1) {
        *reason = QDB_GetLastReason(0);  // names the folder, or the setting of a server database
        return false;
    }
    if (DbStartSession() != kQdbOk) {
        *reason = QDB_GetLastReason(0);
        return false;
    }
    return true;
}
