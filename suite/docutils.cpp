// The broken and purged appointment entries of the patient notes.
#include "suite/docutils.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "data/record_text.h"
#include "suite/dates.h"
#include "suite/notes.h"

uint32_t DOCUTILS_StartSeconds(const AppointmentRecord& a) { return (a.hour * 60u + a.minute) * 60u; }

std::string DOCUTILS_AppointmentEntry(const char* title, const AppointmentRecord& a) {
    const int hour12 = a.hour % 12 == 0 ? 12 : a.hour % 12;
    char line[160];
    std::snprintf(line, sizeof line, "Date: %s  Time: %d:%02d%s  Provider: %s  Length: %u min",
                  QVN_DateStr(a.date, kDateFull).c_str(), hour12, a.minute, a.hour < 12 ? "am" : "pm",
                  GetTrimmedText(a.provider).c_str(), static_cast<unsigned>(a.length));
    std::string entry = std::string(title) + "\r\n" + line;
    const std::string description = GetText(a.description);
    if (!description.empty()) entry += "\r\n" + description;
    return entry;
}

std::string DOCUTILS_PrependEntry(const std::string& entry, const std::string& earlier) {
    std::string text = earlier.empty() ? entry : entry + "\r\n\r\n" + earlier;
    if (text.size() <= static_cast<size_t>(kNoteTextLimit)) return text;
    // Whole entries fall off the end; an entry that alone is too long is cut.
    const size_t cut = text.rfind("\r\n\r\n", kNoteTextLimit);
    text.resize(cut != std::string::npos && cut >= entry.size() ? cut : kNoteTextLimit);
    return text;
}

bool DOCUTILS_WriteEntireNoteSTD(QdbFile notes, uint8_t kind, uint32_t patient_id, const char* title,
                                 const AppointmentRecord& appointment) {
    const NoteKey key{kind, patient_id};
    NoteHead head{};
    const bool exists = QDB_FindRec(notes, kNoteKey, &key, &head) != 0;
    std::string earlier;
    if (exists) {
        std::vector<char> stored(sizeof(NoteHead) + kNoteTextLimit + 1, '\0');
        if (!QDB_ReadEntireVarRec(notes, stored.data(), static_cast<int>(stored.size()) - 1)) return false;
        const char* text = stored.data() + sizeof(NoteHead);
        earlier.assign(text, strnlen(text, kNoteTextLimit));
    }
    const std::string text = DOCUTILS_PrependEntry(DOCUTILS_AppointmentEntry(title, appointment), earlier);
    head.kind = kind;
    head.ownerId = patient_id;
    head.changedDate = QVN_SysDate();
    std::vector<uint8_t> bytes(sizeof(NoteHead) + text.size() + 1, 0);
    std::memcpy(bytes.data(), &head, sizeof head);
    std::memcpy(bytes.data() + sizeof head, text.data(), text.size());
    const int length = static_cast<int>(bytes.size());
    return exists ? QDB_WriteVRec(notes, bytes.data(), length) : QDB_AddVRec(notes, bytes.data(), length);
}
