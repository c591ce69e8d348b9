// The appointment record (data file 9, keys 10 to 15) and the new-patient side record (data
// file 49, key 50): the appointment book's own records. Every field the program interprets is
// named; bytes named "carried" are kept as read and written back unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kAppointmentFile = 9;
constexpr int kApptByDateOperatoryKey = 10;  // 4-byte prefix: a date; 9 bytes: date, operatory
constexpr int kApptByDateProviderKey = 11;   // 9 bytes: date, provider
constexpr int kApptByNameKey = 12;           // patient name
constexpr int kApptByIdKey = 13;             // appointment id, unique
constexpr int kApptByPatientKey = 14;        // 4-byte prefix: one patient
constexpr int kApptUnscheduledKey = 15;      // 1-byte prefix {1}: the unscheduled list
constexpr int kAppointmentRecordLength = 286;
constexpr int kReasonSlots = 20;

constexpr int kNewPatientFile = 49;
constexpr int kNewPatientKey = 50;
constexpr int kNewPatientRecordLength = 178;

// Kind markers before resource identifiers, so that keys sort by kind.
constexpr uint8_t kMarkerProvider = 1;
constexpr uint8_t kMarkerStaff = 2;
constexpr uint8_t kMarkerOperatory = 3;

enum AppointmentSchedule : uint8_t { kScheduleFixed = 0, kScheduleOpen = 1, kScheduleAsap = 2 };

// Status values besides the practice's statuses 1 to 14.
constexpr uint8_t kStatusNone = 0;
constexpr uint8_t kStatusBroken = 100;
constexpr uint8_t kStatusUnscheduled = 101;
constexpr uint8_t kStatusComplete = 150;

// Reason kinds: 1 = a procedure of the patient; anything else = a procedure code.
constexpr uint8_t kReasonIsProcedure = 1;

#pragma pack(push, 1)

struct AppointmentRecord {
    uint8_t carried0[2];
    uint32_t id;                   // key 13
    int32_t date;                  // day number; 0 = not scheduled
    uint8_t operatoryMarker;       // kMarkerOperatory when set
    char operatory[4];             // blank-padded
    uint8_t providerMarker;        // kMarkerProvider
    char provider[4];
    uint8_t startUnit;             // time units from midnight
    uint8_t unscheduled;           // 1: on the unscheduled list
    char patientName[32];
    uint32_t patientId;            // 0 = a new patient without a patient record
    uint16_t length;               // minutes
    int32_t amount;                // cents
    int32_t listDate;              // date that goes with its place on the unscheduled list
    uint8_t schedule;              // AppointmentSchedule
    uint8_t timePattern[6];        // 24 units of 2 bits, first unit in the top bits
    char phone[17];
    char description[61];
    uint8_t hour;
    uint8_t minute;
    uint8_t status;
    uint8_t type;
    uint8_t unitSize;              // 5-minute slots per time unit at the save; 0 reads as 2
    uint32_t newPatientId;         // side record id; 0 = none
    uint8_t updateContinuingCare;
    uint8_t setAmount;
    uint8_t referredByKind;        // 0 a patient, 1 a referral source
    uint8_t labCase;
    uint8_t carried166[4];
    uint32_t referredById;
    uint16_t flags;                // bit n = check box n of the appointment dialog
    uint32_t reasons[kReasonSlots];
    uint8_t carried256;
    uint8_t staffMarker;           // kMarkerStaff when set
    char staff[4];
    int32_t lastChanged;           // day number
    uint8_t reasonKinds[kReasonSlots];
};

struct NewPatientRecord {
    uint8_t carried0[2];
    uint32_t id;                   // key 50
    char street[30];
    uint8_t carried36;
    char city[25];
    uint8_t carried62[32];
    char state[20];
    uint8_t carried114;
    char zip[14];
    uint8_t carried129[18];
    char street2[30];
    uint8_t carried177;
};

#pragma pack(pop)

static_assert(sizeof(AppointmentRecord) == kAppointmentRecordLength);
static_assert(offsetof(AppointmentRecord, id) == 2);
static_assert(offsetof(AppointmentRecord, date) == 6);
static_assert(offsetof(AppointmentRecord, operatoryMarker) == 10);
static_assert(offsetof(AppointmentRecord, operatory) == 11);
static_assert(offsetof(AppointmentRecord, providerMarker) == 15);
static_assert(offsetof(AppointmentRecord, provider) == 16);
static_assert(offsetof(AppointmentRecord, startUnit) == 20);
static_assert(offsetof(AppointmentRecord, unscheduled) == 21);
static_assert(offsetof(AppointmentRecord, patientName) == 22);
static_assert(offsetof(AppointmentRecord, patientId) == 54);
static_assert(offsetof(AppointmentRecord, length) == 58);
static_assert(offsetof(AppointmentRecord, amount) == 60);
static_assert(offsetof(AppointmentRecord, listDate) == 64);
static_assert(offsetof(AppointmentRecord, schedule) == 68);
static_assert(offsetof(AppointmentRecord, timePattern) == 69);
static_assert(offsetof(AppointmentRecord, phone) == 75);
static_assert(offsetof(AppointmentRecord, description) == 92);
static_assert(offsetof(AppointmentRecord, hour) == 153);
static_assert(offsetof(AppointmentRecord, minute) == 154);
static_assert(offsetof(AppointmentRecord, status) == 155);
static_assert(offsetof(AppointmentRecord, type) == 156);
static_assert(offsetof(AppointmentRecord, unitSize) == 157);
static_assert(offsetof(AppointmentRecord, newPatientId) == 158);
static_assert(offsetof(AppointmentRecord, updateContinuingCare) == 162);
static_assert(offsetof(AppointmentRecord, setAmount) == 163);
static_assert(offsetof(AppointmentRecord, referredByKind) == 164);
static_assert(offsetof(AppointmentRecord, labCase) == 165);
static_assert(offsetof(AppointmentRecord, carried166) == 166);
static_assert(offsetof(AppointmentRecord, referredById) == 170);
static_assert(offsetof(AppointmentRecord, flags) == 174);
static_assert(offsetof(AppointmentRecord, reasons) == 176);
static_assert(offsetof(AppointmentRecord, carried256) == 256);
static_assert(offsetof(AppointmentRecord, staffMarker) == 257);
static_assert(offsetof(AppointmentRecord, staff) == 258);
static_assert(offsetof(AppointmentRecord, lastChanged) == 262);
static_assert(offsetof(AppointmentRecord, reasonKinds) == 266);

static_assert(sizeof(NewPatientRecord) == kNewPatientRecordLength);
static_assert(offsetof(NewPatientRecord, id) == 2);
static_assert(offsetof(NewPatientRecord, street) == 6);
static_assert(offsetof(NewPatientRecord, city) == 37);
static_assert(offsetof(NewPatientRecord, state) == 94);
static_assert(offsetof(NewPatientRecord, zip) == 115);
static_assert(offsetof(NewPatientRecord, street2) == 147);
