// The lab-case links (data file 106, key 107): which lab cases an appointment waits for, and
// the state of each case. Our own small version of the suite's lab-case module; where it lives
// is our choice: the file group 106-107 of "other suite records".
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kLabCaseFile = 106;
constexpr int kLabCaseKey = 107;   // appointment id, case id: 8 bytes, unique
constexpr int kLabCaseRecordLength = 64;

// A case's state, as the sheet's lab markers show it.
enum LabCaseState : uint8_t {
    kLabNone = 0,
    kLabNeeded = 1,     // "LABNEED": to be sent
    kLabSent = 2,       // "LABSENT": at the lab
    kLabReceived = 3,   // "LABRECV": back from the lab
    kLabInHouse = 4,    // "LABINHSE": made in the practice
};

#pragma pack(push, 1)
// The ids are stored big-endian, so that the key lists an appointment's cases together and in
// the order of their ids.
struct LabCaseLinkRecord {
    uint8_t appointmentIdBE[4];
    uint8_t caseIdBE[4];
    uint8_t state;           // LabCaseState
    char lab[31];            // the lab's name
    int32_t dueDate;         // day number the case is due back; 0 = not known
    uint8_t ours44[20];
};
#pragma pack(pop)

static_assert(sizeof(LabCaseLinkRecord) == kLabCaseRecordLength);
