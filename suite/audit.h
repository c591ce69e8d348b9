// Audit entries: who changed which record when, with the record as it was and as it became.
//
// Each entry is one variable-length record of the audit file: its fixed head (day number and
// seconds since midnight of the workstation's clock, the acting user's id, the kind, the two
// lengths) followed by the old record's bytes and then the new record's. A record that was added
// has no old bytes, one that was deleted no new bytes. The acting user is the override user,
// which is the logged-in user unless another user signed in for the action.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/users.h"

#pragma pack(push, 1)
// The "new record" of a password-check entry. The typed name and password are never kept: a
// name field often receives a password typed in the wrong box.
struct PasswordCheckAudit {
    uint16_t right;
    uint8_t outcome;          // PasswordCheckOutcome
    uint8_t wrongTries;       // wrong answers before the outcome
    uint32_t loggedInUserId;  // the workstation's own user; the head names who signed in
};
#pragma pack(pop)
static_assert(sizeof(PasswordCheckAudit) == 8);

enum PasswordCheckOutcome : uint8_t {
    kPasswordGranted = 1,
    kPasswordNoRight = 2,     // name and password right, but that user lacks the right
    kPasswordWrongTries = 3,  // three wrong answers in a row
};

// An appointment changed (both records), was added (new only) or deleted (old only). Records are
// appointment records, nullptr for none. Returns 1 when the entry was stored; 0 after a message.
int QVN_BuildApptAudit(const void* new_record, const void* old_record);
// The bytes of the same entry, for a change that writes it in its own transaction.
std::vector<uint8_t> ApptAuditEntry(const void* new_record, const void* old_record);
// A patient's alert text changed ("" for none before or after), for the change that writes it in
// its own transaction with the alert note.
std::vector<uint8_t> PatientAlertAuditEntry(const std::string& old_text, const std::string& new_text);
// A procedure changed or was deleted; records of record_length bytes, nullptr for none.
int QVN_BuildProcAudit(const void* new_record, const void* old_record, size_t record_length);
// A procedure was entered: its first record, with no record before it.
int QVN_BuildInitialProcAudit(const void* new_record, size_t record_length);
// A password check: who signed in (or the logged-in user when nobody did), the right, the outcome.
int QVN_BuildPasswordCheckAudit(uint32_t signed_in_user_id, int right, PasswordCheckOutcome outcome, int wrong_tries);

// Seconds since midnight of the workstation's clock, as the entries store it.
uint32_t QVN_SecondsSinceMidnight();

// One entry as read back.
struct AuditEntry {
    int32_t day = 0;
    uint32_t seconds = 0;
    uint32_t userId = 0;
    AuditKind kind{};
    std::vector<uint8_t> oldRecord;
    std::vector<uint8_t> newRecord;
};

// The entries of the days from first_day to last_day (both included), in the order they were
// written, on the access layer's session. False after a database failure (the entries read until
// then are kept).
bool QVN_ReadAuditEntries(int32_t first_day, int32_t last_day, std::vector<AuditEntry>* entries);

// Splits a stored entry into its parts; false when the bytes do not make an entry (too short, or
// lengths that do not add up).
bool ParseAuditEntry(const uint8_t* bytes, size_t length, AuditEntry* entry);
