// The suite's definitions file (data file 47, key 48 = definition kind, number): short named
// entries of many kinds, each kind listed in number order.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kDefinitionFile = 47;
constexpr int kDefinitionKey = 48;  // {kind, number}: 2 bytes
constexpr int kDefinitionRecordLength = 64;

enum DefinitionKind : uint8_t {
    kDefinitionMedicalAlert = 2,       // number n + 1 is bit n of the patient's alert set
    kDefinitionFlagCaption = 3,        // the appointment dialog's check boxes 1 to 12
    kDefinitionAppointmentType = 5,    // appointment type names, in key order
    kDefinitionAppointmentStatus = 7,  // ours: the practice's appointment statuses 1 to 15
    kDefinitionContinuingCareType = 9, // ours: continuing care types, the type number as number
};

#pragma pack(push, 1)
// Where the file keeps an appointment status is our choice: kind 7, the status number as the
// definition number, its name as the text, the colour code and the colour.
struct DefinitionRecord {
    uint8_t kind;        // DefinitionKind
    uint8_t number;
    char text[40];       // zero-terminated when shorter
    char colourCode;     // statuses: '1' yellow, '2' green, '3' red, 'x' the colour below
    uint32_t colour;     // 0x00BBGGRR
    uint32_t flags;      // flag captions: bit (number - 1) checked by default
    uint8_t intervalMonths;  // continuing care types: the default recall interval; 0 = six
    uint8_t ours52[12];
};
#pragma pack(pop)

static_assert(sizeof(DefinitionRecord) == kDefinitionRecordLength);
static_assert(offsetof(DefinitionRecord, kind) == 0);
static_assert(offsetof(DefinitionRecord, number) == 1);
static_assert(offsetof(DefinitionRecord, text) == 2);
static_assert(offsetof(DefinitionRecord, intervalMonths) == 51);
