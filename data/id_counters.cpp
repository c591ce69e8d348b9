// The counter is read with a read-modify-write of the engine on a private session, so that two
// workstations asking at the same moment are serialised on the record and get different ids.
#include "data/id_counters.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/appointment_record.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/counters.h"

const char kAppointmentIdCounter[] = "APPT";
const char kNewPatientIdCounter[] = "NEWPAT";

namespace {

constexpr uint16_t kNotFound = 101;

struct CountedFile {
    const char* counter;
    int file;
    int idOffset;   // a 4-byte little-endian id in the record
    int length;
};
const CountedFile kCountedFiles[] = {
    {kAppointmentIdCounter, kAppointmentFile, offsetof(AppointmentRecord, id), sizeof(AppointmentRecord)},
    {kNewPatientIdCounter, kNewPatientFile, offsetof(NewPatientRecord, id), sizeof(NewPatientRecord)},
};

// One more than the highest id in the counter's file: a walk in physical order, done once.
uint32_t FirstFreeId(QdbSession session, const char* counter) {
    for (const CountedFile& c : kCountedFiles) {
        if (std::strcmp(c.counter, counter) != 0) continue;
        QdbOpenedFile file(session, c.file);
        if (!file.Handle()) return 1;
        std::vector<uint8_t> record(static_cast<size_t>(c.length));
        uint32_t highest = 0;
        for (int ok = QDB_FirstRec(file.Handle(), c.file, record.data()); ok;
             ok = QDB_NextRec(file.Handle(), c.file, record.data())) {
            uint32_t id;
            std::memcpy(&id, record.data() + c.idOffset, 4);
            if (id > highest) highest = id;
        }
        return highest + 1;
    }
    return 1;
}

}  // namespace

uint32_t NextRecordId(const char* counter) {
    QdbPrivateSession session;
    QdbOpenedFile file(session.Handle(), kCounterFile);
    if (!file.Handle()) return 0;
    CounterRecord key{};
    std::memcpy(key.name, counter, std::min(std::strlen(counter), sizeof key.name));  // zero-padded
    // Two rounds: a counter that another workstation made between our miss and our add is
    // counted on in the second.
    for (int round = 0; round < 2; ++round) {
        CounterRecord record{};
        if (const QdbUpdate update = RetryWhileLocked(
                session.Handle(), [&] { return QDB_StartUpdate(file.Handle(), 2, kCounterKey, key.name, &record); })) {
            const uint32_t id = record.next;
            ++record.next;
            if (QDB_CommitUpdate(update)) return id;
            return 0;
        }
        if (QDB_GetLastErrorNum(session.Handle()) != kNotFound) return 0;
        record = key;
        const uint32_t id = FirstFreeId(session.Handle(), counter);
        record.next = id + 1;
        if (QDB_AddRec(file.Handle(), &record)) return id;
    }
    return 0;
}
