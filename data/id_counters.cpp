// The counter is read and raised under its record lock, so that two workstations asking at the
// same moment are serialised on the record and get different ids; the first one ever made
// starts after the highest id in its file.
#include "data/id_counters.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/appointment_record.h"
#include "data/record_locks.h"
#include "suite/messages.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/counters.h"
#include "suite/records/procedures.h"

const char kAppointmentIdCounter[] = "APPT";
const char kNewPatientIdCounter[] = "NEWPAT";
const char kProcedureIdCounter[] = "PROC";

namespace {

struct CountedFile {
    const char* counter;
    int file;
    int idOffset;   // a 4-byte little-endian id in the record
    int length;
};
const CountedFile kCountedFiles[] = {
    {kAppointmentIdCounter, kAppointmentFile, offsetof(AppointmentRecord, id), sizeof(AppointmentRecord)},
    {kNewPatientIdCounter, kNewPatientFile, offsetof(NewPatientRecord, id), sizeof(NewPatientRecord)},
    {kProcedureIdCounter, kProcedureFile, offsetof(ProcedureRecord, id), sizeof(ProcedureRecord)},
};

// One more than the highest id in the counter's file: a walk in physical order, done once. 0 when
// the walk failed (reported): a counter started from part of the file would hand out ids in use.
uint32_t FirstFreeId(const char* counter) {
    for (const CountedFile& c : kCountedFiles) {
        if (std::strcmp(c.counter, counter) != 0) continue;
        QdbPrivateSession session{DbStartOwnSession(c.file)};
        QdbOpenedFile file(session.Handle(), c.file);
        std::vector<uint8_t> record(static_cast<size_t>(c.length));
        uint32_t highest = 0;
        for (int ok = file.Handle() ? QDB_FirstRec(file.Handle(), c.file, record.data()) : 0; ok;
             ok = QDB_NextRec(file.Handle(), c.file, record.data())) {
            uint32_t id;
            std::memcpy(&id, record.data() + c.idOffset, 4);
            if (id > highest) highest = id;
        }
        if (!session.Handle()) return 0;  // the user was told
        const uint16_t result = QDB_GetLastErrorNum(session.Handle());
        if (result != kQdbOk && result != kQdbNotFound) {
            DbReportError(c.file, result, c.file);
            return 0;
        }
        return highest + 1;
    }
    return 1;
}

}  // namespace

uint32_t NextRecordId(const char* counter) {
    CounterRecord key{};
    std::memcpy(key.name, counter, std::min(std::strlen(counter), sizeof key.name));  // zero-padded
    uint32_t id = 0;
    const uint16_t result = EditLocked<CounterRecord>(kCounterFile, kCounterKey, key.name, [&](CounterRecord& record, bool exists) {
        if (!exists) {
            record = key;
            record.next = FirstFreeId(counter);
            if (record.next == 0) return LockedEdit::kNothing;
        }
        id = record.next;
        ++record.next;
        return LockedEdit::kWrite;
    });
    return result == 0 ? id : 0;
}
