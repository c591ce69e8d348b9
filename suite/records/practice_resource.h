// The suite's practice resource file (data file 6, key 7 = kind, identifier): one 667-byte
// record for the practice itself, for each provider, staff member and operatory. The rest of the
// suite owns it; the appointment book reads it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kResourceFile = 6;
constexpr int kResourceKey = 7;        // {kind, identifier}: 5 bytes
constexpr int kResourceByNumberKey = 8;  // {kind, attribute}: {3, number} finds an operatory
constexpr int kResourceKeyLength = 5;
constexpr int kResourceRecordLength = 667;
constexpr char kPracticeId[] = "-PR-";
constexpr int kOperatoryBitmapBytes = 28;  // 224 operatory numbers

enum ResourceKind : uint8_t {
    kResourceKindPractice = 0,
    kResourceKindProvider = 1,
    kResourceKindStaff = 2,
    kResourceKindOperatory = 3,
};

#pragma pack(push, 1)

// The names of a person (provider or staff), or an operatory's title.
struct ResourceNames {
    char lastName[21];
    char firstName[16];
    char middleInitial[2];
    char title[21];        // an operatory's title (up to 20 characters), a person's title
};

struct ResourceRecord {
    uint8_t kind;           // ResourceKind
    char id[4];             // blank-padded
    uint8_t attribute;      // a provider's attribute byte; an operatory's number (its bitmap bit)
    uint8_t ours6[2];
    union {
        uint8_t practiceBlock[60];  // the practice record (kind 0): kept whole, not interpreted
        ResourceNames names;
    };
    // Ours: the address and phones of a person. The appointment book never reads them.
    char street[30];
    char city[25];
    char state[20];
    char zip[14];
    char phone[17];
    char workPhone[17];
    uint8_t ours191[37];
    uint8_t operatoryBitmap[kOperatoryBitmapBytes];  // provider: bit n % 8 of byte n / 8 = operatory n
    uint8_t providerClass;  // 0 primary, 1 secondary
    uint8_t ours257[39];
    char number[10];        // a provider's 10-character number (license or tax number)
    uint8_t ours306[113];
    uint8_t inactive;       // 1 = inactive: left out of the choice lists
    uint8_t ours420[247];
};

#pragma pack(pop)

static_assert(sizeof(ResourceNames) == 60);
static_assert(offsetof(ResourceNames, firstName) == 21);
static_assert(offsetof(ResourceNames, middleInitial) == 37);
static_assert(offsetof(ResourceNames, title) == 39);
static_assert(sizeof(ResourceRecord) == kResourceRecordLength);
static_assert(offsetof(ResourceRecord, kind) == 0);
static_assert(offsetof(ResourceRecord, id) == 1);
static_assert(offsetof(ResourceRecord, attribute) == 5);
static_assert(offsetof(ResourceRecord, practiceBlock) == 8);
static_assert(offsetof(ResourceRecord, names) + offsetof(ResourceNames, lastName) == 8);
static_assert(offsetof(ResourceRecord, names) + offsetof(ResourceNames, firstName) == 29);
static_assert(offsetof(ResourceRecord, names) + offsetof(ResourceNames, middleInitial) == 45);
static_assert(offsetof(ResourceRecord, names) + offsetof(ResourceNames, title) == 47);
static_assert(offsetof(ResourceRecord, operatoryBitmap) == 228);
static_assert(offsetof(ResourceRecord, providerClass) == 256);
static_assert(offsetof(ResourceRecord, number) == 296);
static_assert(offsetof(ResourceRecord, inactive) == 419);

#pragma pack(push, 1)
struct ResourceKey {
    uint8_t kind;
    char id[4];
};
#pragma pack(pop)
static_assert(sizeof(ResourceKey) == kResourceKeyLength);
