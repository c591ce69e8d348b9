// One note by kind and owner.
#include "appointments/note_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/db_access.h"
#include "data/record_locks.h"
#include "suite/messages.h"
#include "suite/notes.h"
#include "suite/qdb/qdb_handles.h"

uint16_t WriteNote(uint8_t kind, uint32_t owner, const std::string& text, int32_t today) {
    QdbPrivateSession session{DbStartOwnSession(kNoteFile)};
    QdbOpenedFile file(session.Handle(), kNoteFile);
    const QdbSession s = session.Handle();
    const QdbFile f = file.Handle();
    if (!f) {
        if (s) ReportChangeFailure(s, kDbMsgOpen, kNoteFile);
        return s ? QDB_GetLastErrorNum(s) : kQdbNoSession;
    }
    const NoteKey key{kind, owner};
    RecordLockSet locks(s);
    locks.Add(f, kNoteFile, kNoteKey, &key, sizeof key);
    if (!locks.TakeAll()) return kQdbLocked;
    NoteHead old{};
    const bool exists = QDB_FindRec(f, kNoteKey, &key, &old) != 0;
    if (!exists && QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(kNoteFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        return QDB_GetLastErrorNum(s);
    }
    const size_t length = std::min(text.size(), static_cast<size_t>(kNoteTextLimit) - 1);
    std::vector<char> record(sizeof(NoteHead) + length + 1, '\0');
    const NoteHead head{kind, owner, today, {}};
    std::memcpy(record.data(), &head, sizeof head);
    std::memcpy(record.data() + sizeof head, text.data(), length);
    int ok = 1;
    DbMessageKind failure = kDbMsgWrite;
    if (length == 0) {
        if (exists) {
            failure = kDbMsgDelete;
            ok = QDB_DeleteCurRec(f);
        }
    } else if (exists) {
        ok = QDB_WriteVRec(f, record.data(), static_cast<int>(record.size()));
    } else {
        ok = QDB_AddVRec(f, record.data(), static_cast<int>(record.size()));
    }
    if (!ok) {
        ReportChangeFailure(s, failure, kNoteFile);
        return QDB_GetLastErrorNum(s);
    }
    return kQdbOk;
}
