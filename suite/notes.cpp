// Reading a note's text.
#include "suite/notes.h"

#include <cstring>
#include <vector>

#include "data/db_access.h"

std::string ReadNoteText(uint8_t kind, uint32_t owner) {
    FileGroupDesc desc{};
    DbGroupOf(kNoteFile, &desc);
    DbGroupScope group(desc);
    const NoteKey key{kind, owner};
    NoteHead head{};
    if (group.Result() != kQdbOk || DbFind(kNoteKey, DbPrepareKey(&key), &head) != kQdbOk) return "";
    std::vector<char> buffer(sizeof(NoteHead) + kNoteTextLimit + 1, '\0');
    if (DbReadEntireVariable(kNoteFile, buffer.data(), static_cast<int>(buffer.size()) - 1) != kQdbOk) return "";
    const char* text = buffer.data() + sizeof(NoteHead);
    return std::string(text, strnlen(text, kNoteTextLimit));
}
