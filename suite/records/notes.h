// The suite's notes file (data file 44, key 45, variable-length records): free texts by note
// kind and owner. The fixed head below is the record's first bytes; the text follows it,
// zero-terminated.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kNoteFile = 44;
constexpr int kNoteKey = 45;      // {kind, owner id}: 5 bytes, unique
constexpr int kNoteTextLimit = 4096;

enum NoteKind : uint8_t {
    kNoteAppointment = 2,   // owner = appointment id
    kNotePatient = 3,       // owner = patient id
    kNotePurgedAppointment = 6,  // owner = patient id: "Purged Appointment" entries
    kNoteBrokenAppointment = 7,  // owner = patient id: "Broken Appointment" entries
    kNoteDay = 22,          // the appointment book's day note, owner = day number
    kNotePatientAlert = 23, // ours: the patient-alert library's alert text, owner = patient id
    kNoteGuarantor = 16,    // the guarantor's account note, owner = guarantor id
};

#pragma pack(push, 1)
struct NoteHead {
    uint8_t kind;           // NoteKind
    uint32_t ownerId;
    int32_t changedDate;    // day number of the last change
    uint8_t ours9[3];
};
#pragma pack(pop)

static_assert(sizeof(NoteHead) == 12);
