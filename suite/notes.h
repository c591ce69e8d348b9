// The suite's notes as the appointment book reads them: one text per note kind and owner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/notes.h"

// The key of the notes file: the kind, then the owner.
#pragma pack(push, 1)
struct NoteKey {
    uint8_t kind;
    uint32_t owner;
};
#pragma pack(pop)
static_assert(sizeof(NoteKey) == 5);

// The note of that kind and owner, read on the access layer's session (the notes group is opened
// for the read).
struct NoteRead {
    uint16_t result = 0;  // 0, or the database error of the read
    bool exists = false;
    std::string text;
};
NoteRead ReadNote(uint8_t kind, uint32_t owner);
// Its text alone, "" without one or after an error.
inline std::string ReadNoteText(uint8_t kind, uint32_t owner) { return ReadNote(kind, owner).text; }

// The notes of one kind of many owners at once (a day's appointments or their patients): the
// length of each owner's whole note record, 0 for an owner without one, in the owners' order.
// Works on the access layer's session; the notes group must be open. 0, or the read's error.
uint16_t ReadNoteLengths(uint8_t kind, const std::vector<uint32_t>& owners, std::vector<int>* lengths);
