// The document-utility calls of the appointment book: the patient notes that keep a trace of an
// appointment that was broken or purged. Each note kind holds one running text per patient; a new
// entry goes on top, and the oldest entries fall off when the text would pass the notes' limit.
#pragma once

#include <cstdint>
#include <string>

#include "data/appointment_record.h"
#include "suite/qdb/qdb.h"

// The entry of one appointment: the title on its own line, then its date, start time, provider
// and length, then its description. start_seconds is the start time as seconds after midnight.
std::string DOCUTILS_AppointmentEntry(const char* title, const AppointmentRecord& appointment);
uint32_t DOCUTILS_StartSeconds(const AppointmentRecord& appointment);

// The note of that kind and owner with entry put on top, as the whole text to store.
std::string DOCUTILS_PrependEntry(const std::string& entry, const std::string& earlier);

// Writes the patient's note of that kind with the appointment's entry on top, on notes (a file of
// the caller's session, inside the caller's transaction; the note's key is locked by the caller).
// False after a failure of the engine (its result is set).
bool DOCUTILS_WriteEntireNoteSTD(QdbFile notes, uint8_t kind, uint32_t patient_id, const char* title,
                                 const AppointmentRecord& appointment);
