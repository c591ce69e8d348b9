// The user file (who may log in, with what password and which rights) and the audit file (who
// changed which record when, with the record before and after the change).
#pragma once

#include <cstddef>
#include <cstdint>

// Data file numbers and keys.
constexpr int kUserFile = 36;
constexpr int kUserByLoginKey = 37;    // the login name, upper case, unique
constexpr int kAuditFile = 92;
constexpr int kAuditByTimeKey = 93;    // time stamp then user id, not unique

constexpr int kRightCount = 512;       // right numbers 0 to 511
constexpr uint32_t kUserInactive = 0x0001;  // bit of UserRecord::flags: may no longer log in

#pragma pack(push, 1)

// One user. Passwords are kept only as a salted PBKDF2-HMAC-SHA256 hash.
struct UserRecord {
    uint32_t userId;
    char loginName[16];        // upper case, zero-padded; the key of the file
    char fullName[32];         // zero-terminated when shorter
    uint8_t passwordSalt[16];
    uint8_t passwordHash[32];  // PBKDF2-HMAC-SHA256 of the password with the salt
    uint32_t iterations;       // PBKDF2 iteration count the hash was made with
    uint32_t flags;            // kUserInactive
    uint8_t rights[kRightCount / 8];  // right n granted when bit n % 8 of byte n / 8 is set
    uint8_t reserved[84];      // zero; room for later fields without changing the file
};

// The fixed head of an audit entry; the old record's bytes and then the new record's follow it.
// The key fields (day, seconds, user id) are stored big-endian so that the key, compared byte
// by byte, lists the entries in the order they were written; use the accessors below.
struct AuditHead {
    uint8_t dayBE[4];          // day number of the entry, signed, big-endian
    uint8_t secondsBE[4];      // seconds since midnight, big-endian
    uint8_t userIdBE[4];       // the user logged in, big-endian
    uint16_t kind;             // AuditKind
    uint32_t oldLength;        // bytes of the record before the change (0: it was added)
    uint32_t newLength;        // bytes of the record after the change (0: it was deleted)
};

#pragma pack(pop)

enum AuditKind : uint16_t {
    kAuditAppointment = 1,
    kAuditProcedure = 2,
    kAuditInitialProcedure = 3,
    kAuditPasswordCheck = 4,
    kAuditPatientAlerts = 5,  // a patient's alert text: the old text, then the new one
};

static_assert(sizeof(UserRecord) == 256);
static_assert(offsetof(UserRecord, loginName) == 4);
static_assert(offsetof(UserRecord, rights) == 108);
static_assert(sizeof(AuditHead) == 22);
static_assert(offsetof(AuditHead, kind) == 12);

inline bool UserHasRight(const UserRecord& user, int right) {
    if (right < 0 || right >= kRightCount) return false;
    return (user.rights[right / 8] >> (right % 8)) & 1;
}

inline void SetUserRight(UserRecord& user, int right, bool granted) {
    if (right < 0 || right >= kRightCount) return;
    const uint8_t bit = static_cast<uint8_t>(1u << (right % 8));
    if (granted)
        user.rights[right / 8] |= bit;
    else
        user.rights[right / 8] &= static_cast<uint8_t>(~bit);
}

inline void StoreBigEndian32(uint8_t out[4], uint32_t value) {
    out[0] = static_cast<uint8_t>(value >> 24);
    out[1] = static_cast<uint8_t>(value >> 16);
    out[2] = static_cast<uint8_t>(value >> 8);
    out[3] = static_cast<uint8_t>(value);
}

inline uint32_t LoadBigEndian32(const uint8_t in[4]) {
    return (uint32_t{in[0]} << 24) | (uint32_t{in[1]} << 16) | (uint32_t{in[2]} << 8) | in[3];
}

// Day numbers are signed; flipping the sign bit makes the big-endian bytes sort as the numbers.
inline void SetAuditStamp(AuditHead& head, int32_t day, uint32_t seconds, uint32_t user_id) {
    StoreBigEndian32(head.dayBE, static_cast<uint32_t>(day) ^ 0x80000000u);
    StoreBigEndian32(head.secondsBE, seconds);
    StoreBigEndian32(head.userIdBE, user_id);
}
inline int32_t AuditDay(const AuditHead& head) {
    return static_cast<int32_t>(LoadBigEndian32(head.dayBE) ^ 0x80000000u);
}
inline uint32_t AuditSeconds(const AuditHead& head) { return LoadBigEndian32(head.secondsBE); }
inline uint32_t AuditUserId(const AuditHead& head) { return LoadBigEndian32(head.userIdBE); }
