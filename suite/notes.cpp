// Reading a note.
#include "suite/notes.h"

#include <cstring>
#include <vector>

#include "data/db_access.h"

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

uint16_t ReadNoteLengths(uint8_t kind, const std::vector<uint32_t>& owners, std::vector<int>* lengths) {
    lengths->assign(owners.size(), 0);
    std::vector<NoteKey> keys;
    for (uint32_t owner : owners) keys.push_back({kind, owner});
    return DbFindByPrefixes(kNoteKey, static_cast<int>(keys.size()), keys.data(), sizeof(NoteKey),
                            [&](int place, const void*, int length) { (*lengths)[static_cast<size_t>(place)] = length; });
}
