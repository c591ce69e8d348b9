// The suite's patient file (data file 18, keys 19 to 27): one 558-byte record per person the
// practice knows. The registration module of the suite owns it; the appointment book reads it,
// keeps the broken-appointment figures and the date of the last completed treatment, and writes
// the medical alert set back from its notes dialog.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kPatientFile = 18;
constexpr int kPatientByIdKey = 19;         // patient id, unique
constexpr int kPatientByLastNameKey = 20;   // last name 21, first name 16, initial 1
constexpr int kPatientByGuarantorKey = 21;  // guarantor id: 4-byte prefix = one family
constexpr int kPatientByFirstNameKey = 22;  // first name 16, initial 1, last name 21
constexpr int kPatientByChartKey = 23;      // chart number, blanks removed
constexpr int kPatientBySsnKey = 24;        // social security number, digits only
constexpr int kPatientByPhoneKey = 25;      // ours: home phone, digits only
constexpr int kPatientByAccountKey = 26;    // ours: the ID field at offset 6
constexpr int kPatientByPreferredKey = 27;  // preferred name, blanks removed
constexpr int kPatientRecordLength = 558;

// Patient status byte: 2 non-patient, 3 inactive, 4 archived; anything else is a patient (the
// registration module writes 1).
enum PatientStatus : uint8_t {
    kPatientActive = 1,
    kPatientNonPatient = 2,
    kPatientInactive = 3,
    kPatientArchived = 4,
};

// Relation to the guarantor: 1 single (or the guarantor), 2 spouse, 3 child, other values other.
enum PatientRelation : uint8_t {
    kRelationSingle = 1,
    kRelationSpouse = 2,
    kRelationChild = 3,
};

// Bits of PatientRecord::privacy.
constexpr uint8_t kPrivacyRequests = 0x01;  // the patient asked for privacy (titles say so)
constexpr uint8_t kPrivatePhone = 0x02;     // show no phone number in lists

#pragma pack(push, 1)

// Texts are zero-terminated when shorter than their field; searchable texts (chart number,
// social security number, phone, preferred name) are stored the way their key compares them:
// blanks and hyphens removed. Integers are little-endian. Bytes named "ours" are the
// registration module's and are carried unchanged.
struct PatientRecord {
    uint8_t ours0[2];
    uint32_t id;                 // key 19
    uint32_t accountId;          // "the ID field": the practice's own account number
    char lastName[21];
    char firstName[16];
    char middleInitial;          // blank or zero when none
    uint8_t ours48;
    uint32_t guarantorId;        // the head of the family; the head names itself
    uint8_t relation;            // PatientRelation
    int32_t birthDate;           // day number; 0 = not known
    char gender;                 // 'F', 'M' or blank
    char preferredName[16];
    char homePhone[17];          // digits only
    char workPhone[17];
    char chartNumber[8];         // up to 7 characters
    char ssn[12];                // digits only
    char provider[4];            // primary provider, blank-padded
    char secondProvider[4];
    uint8_t feeSchedule;         // 1 to 10; 0 is read as 1, the standard fees
    uint8_t medicalAlerts[8];    // bit n % 8 of byte n / 8 = medical alert n + 1
    uint8_t ours146[7];
    uint8_t flag;                // set: lists mark the patient with "*"
    uint8_t privacy;             // kPrivacyRequests, kPrivatePhone
    uint8_t status;              // PatientStatus
    uint8_t ours156[24];
    int32_t lastCompletedDate;   // date of the last completed treatment
    char street[30];
    char city[25];
    char state[3];
    char zip[10];
    uint8_t ours252[2];
    uint16_t brokenCount;        // broken appointments
    int32_t lastBrokenDate;      // date of the last broken appointment
    char nameTitle[8];           // shown before the name on the sheet when not empty
    int32_t firstVisitDate;
    int32_t lastVisitDate;
    uint32_t referralId;         // referral source (referral file, key 208); 0 = none
    char email[51];              // the patient's e-mail address, "" when none (the mail program's "To:")
    uint8_t ours331[227];
};

#pragma pack(pop)

static_assert(sizeof(PatientRecord) == kPatientRecordLength);
static_assert(offsetof(PatientRecord, accountId) == 6);
static_assert(offsetof(PatientRecord, flag) == 153);
static_assert(offsetof(PatientRecord, status) == 155);
static_assert(offsetof(PatientRecord, lastCompletedDate) == 180);
static_assert(offsetof(PatientRecord, brokenCount) == 254);
static_assert(offsetof(PatientRecord, lastBrokenDate) == 256);
static_assert(offsetof(PatientRecord, nameTitle) == 260);
static_assert(offsetof(PatientRecord, email) == 280);
static_assert(sizeof(PatientRecord::lastName) == 21 && sizeof(PatientRecord::firstName) == 16);
static_assert(sizeof(PatientRecord::medicalAlerts) == 8);
static_assert(sizeof(PatientRecord::chartNumber) - 1 == 7);

inline bool HasMedicalAlert(const PatientRecord& p, int alert_number) {
    const int bit = alert_number - 1;
    return bit >= 0 && bit < 64 && (p.medicalAlerts[bit / 8] >> (bit % 8)) & 1;
}
