// The suite's procedure code definitions (data file 1, keys 2 to 5) and the procedures of the
// patients (data file 55, keys 56 to 64). The clinical entry module owns both; the appointment
// book reads codes for its reasons, time patterns and fees, and reads a patient's planned and
// completed procedures.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kProcedureCodeFile = 1;
constexpr int kProcedureCodeByIdKey = 2;    // code id, 4 bytes, unique
constexpr int kProcedureCodeByTextKey = 4;  // code text, 10 bytes, unique
constexpr int kProcedureCodeRecordLength = 128;
constexpr int kFeeScheduleCount = 10;
constexpr int kMultiCodeCategory = 999;     // a code that posts its member codes

constexpr int kProcedureFile = 55;
constexpr int kProcedureByPatientKey = 56;  // patient id, kind
constexpr int kProcedureByIdKey = 57;       // procedure id, unique
constexpr int kProcedureRecordLength = 96;

// Bits of ProcedureCodeRecord::needs: what the code must be told before it can be posted.
constexpr uint8_t kNeedsTooth = 0x01;
constexpr uint8_t kNeedsSurface = 0x02;
constexpr uint8_t kNeedsQuadrant = 0x04;
constexpr uint8_t kNeedsSextant = 0x08;

enum ProcedureKind : uint8_t {
    kProcedurePlanned = 1,    // treatment planned
    kProcedureCompleted = 2,
};

#pragma pack(push, 1)

struct ProcedureCodeRecord {
    uint8_t ours0[2];
    uint32_t id;                  // key 2
    char code[10];                // what the user types, e.g. "D1110"; key 4
    char description[41];
    char abbreviation[13];        // short description for appointment descriptions
    uint8_t timeUnits;            // the appointment length in the practice's time units
    uint8_t timePattern[6];       // as in the appointment record: 24 two-bit codes
    uint8_t appointmentType;      // the type it gives an appointment: n-th type name from 1, 0 none
    uint16_t category;            // kMultiCodeCategory for a multi-code
    uint8_t needs;                // kNeedsTooth ...
    uint8_t continuingCareType;   // 0 = none
    uint32_t fees[kFeeScheduleCount];  // cents, by fee schedule 1 (the standard fees) to 10
    // A member of a multi-code names it here (0 none): a multi-code posts, in code order, every
    // code that names it. A code is a member of one multi-code at the most.
    uint32_t multiCodeId;
    uint8_t crossCoding;          // 1: medical cross coding can be entered for it
    uint8_t ours127;
};

struct ProcedureRecord {
    uint8_t ours0[2];
    uint32_t patientId;           // key 56 with the kind
    uint8_t kind;                 // ProcedureKind
    uint32_t id;                  // key 57
    uint32_t codeId;              // procedure code file, key 2
    int32_t date;                 // planned or completed on
    char provider[4];
    char tooth[3];                // tooth number, or "UR", "UL", "LL", "LR" for a quadrant
    char surfaces[6];
    uint32_t fee;                 // cents
    uint32_t appointmentId;       // the appointment it was completed from; 0 = none
    uint8_t ours40[56];
};

#pragma pack(pop)

static_assert(sizeof(ProcedureCodeRecord) == kProcedureCodeRecordLength);
static_assert(offsetof(ProcedureCodeRecord, id) == 2 && sizeof(ProcedureCodeRecord::id) == 4);
static_assert(sizeof(ProcedureCodeRecord::code) == 10);
static_assert(sizeof(ProcedureCodeRecord::timePattern) == 6);
static_assert(offsetof(ProcedureCodeRecord, fees) == 82);
static_assert(offsetof(ProcedureCodeRecord, multiCodeId) == 122);
static_assert(offsetof(ProcedureCodeRecord, crossCoding) == 126);
static_assert(sizeof(ProcedureRecord) == kProcedureRecordLength);
