// Reading and writing one note of the notes file by kind and owner: the day note, and the
// appointment, patient and guarantor notes of the notes dialog.
#pragma once

#include <cstdint>
#include <string>

#include "suite/notes.h"

// Writes the note under its record lock on a session of its own (the lock is waited for and
// asked about as every change's locks are): the text replaces the note, a new note is added,
// an empty text removes the note. Texts longer than the notes file takes are cut. The result
// number: 0 written, 42 the user cancelled at a locked note, another number after a failure
// that was reported to the user.
uint16_t WriteNote(uint8_t kind, uint32_t owner, const std::string& text, int32_t today);
