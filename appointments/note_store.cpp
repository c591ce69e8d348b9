// One note by kind and owner.
#include "appointments/note_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/db_access.h"
#include "data/record_locks.h"
#include "suite/messages.h"
#include "suite/qdb/qdb_handles.h"

namespace {

#pragma pack(push, 1)
struct NoteKey {
    uint8_t kind;
    uint32_t owner;
};
#pragma pack(pop)
static_assert(sizeof(NoteKey) == 5);

}  // namespace

NoteRead ReadNote(uint8_t kind, uint32_t owner) {
    NoteRead out;
    FileGroupDesc desc{};
    DbGroupOf(kNoteFile, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk) {
        out.result = group.Result();
        return out;
    }
    const NoteKey key{kind, owner};
    NoteHead head{};
    const uint16_t found = DbFind(kNoteKey, DbPrepareKey(&key), &head);
    if (found == kQdbNotFound) return out;
    if (found != kQdbOk) {
        out.result = found;
        return out;
    }
    std::vector<char> buffer(sizeof(NoteHead) + kNoteTextLimit + 1, '\0');
    const uint16_t read = DbReadEntireVariable(kNoteFile, buffer.data(), static_cast<int>(buffer.size()) - 1);
    if (read != kQdbOk) {
        out.result = read;
        return out;
    }
    out.exists = true;
    const char* text = buffer.data() + sizeof(NoteHead);
    out.text.assign(text, strnlen(text, kNoteTextLimit));
    return out;
}

uint16_t WriteNote(uint8_t kind, uint32_t owner, const std::string& text, int32_t today) {
    QdbPrivateSession session;
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
        QVN_ReportDbError(kNoteFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
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
