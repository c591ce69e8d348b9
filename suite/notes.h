// The suite's notes as the appointment book reads them: one text per note kind and owner.
#pragma once

#include <cstdint>
#include <string>

#include "suite/records/notes.h"

// The key of the notes file: the kind, then the owner.
#pragma pack(push, 1)
struct NoteKey {
    uint8_t kind;
    uint32_t owner;
};
#pragma pack(pop)
static_assert(sizeof(NoteKey) == 5);

// The text of the note of that kind and owner, "" without one. Opens the notes group on the
// access layer's session for the read.
std::string ReadNoteText(uint8_t kind, uint32_t owner);
