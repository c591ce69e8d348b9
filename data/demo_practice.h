// The demo practice that qvnadmin seed-demo writes: a realistic small dental office, the same
// for the same seed number on every machine. This file builds it as plain data; writing it
// into the record files is the seeding step's work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DemoHours {
    // Per weekday (0 Sunday .. 6 Saturday) up to three intervals in 5-minute units; -1 = none.
    int start[7][3];
    int end[7][3];
};

struct DemoTimeBlock {
    std::string name;        // up to 12 characters
    int weekday;             // 0 Sunday .. 6 Saturday
    int start, end;          // 5-minute units
    uint32_t colour;         // 0x00BBGGRR
    int appointmentType;     // 0 = any type, n = the n-th type name
    std::string operatory;   // 4 characters, "" = none
};

struct DemoProvider {
    std::string id;          // 4 characters, blank-padded
    std::string last, first, title;
    uint8_t providerClass;   // 0 primary, 1 secondary
    uint32_t colour;
    DemoHours hours;
    std::vector<std::string> aliases;
    std::vector<DemoTimeBlock> blocks;
    std::vector<int> operatoryNumbers;  // assigned operatories
    std::string number;      // the 10-character number field ("" when not filled)
};

struct DemoStaff {
    std::string id, last, first;
};

struct DemoOperatory {
    std::string id;          // 4 characters
    int number;              // 1.. (the bit of the providers' operatory bitmap)
    std::string title;       // up to 20 characters
};

struct DemoHoliday {
    int month, day, kind;
};

struct DemoStatus {
    int number;              // 1 to 14
    char colourCode;         // '1' yellow, '2' green, '3' red, 'x' the colour below, else white
    uint32_t colour;
    std::string name;        // up to six characters
};

struct DemoProcedureCode {
    std::string code;        // as the user types it, e.g. "D1110"
    std::string description;
    int fee;                 // cents
    std::string timePattern; // one character per time unit: 'X' provider, '/' assistant, ' ' blank
    int appointmentType;     // the n-th type name the code gives an appointment; 0 none
    std::string abbreviation;  // what the code adds to an appointment's description
    uint8_t needs;           // kNeedsTooth ... of the code record
    int careType;            // the continuing care type the code meets; 0 none
};

// A procedure of a patient: treatment planned or completed.
struct DemoProcedure {
    uint32_t id;
    uint32_t patientId;
    int kind;                // 1 planned, 2 completed
    int codeIndex;           // into procedureCodes (code id = index + 1)
    std::string tooth;       // tooth number or quadrant, "" none
    std::string surfaces;
    int32_t date;
};

struct DemoCareType {
    int number;
    std::string name;        // up to 11 characters
    int intervalMonths;
};

// A patient's continuing care of one type, not attached to an appointment.
struct DemoCare {
    uint32_t patientId;
    int type;
    int32_t dueDate, lastDate;
};

struct DemoReferral {
    uint32_t id;
    std::string last, first, title;  // a company or campaign has only the last name
};

struct DemoPatient {
    uint32_t id;
    uint32_t guarantorId;    // the family's head; the head is their own guarantor
    int relation;            // 1 single/self, 2 spouse, 3 child
    std::string last, first, middleInitial, preferred;
    int32_t birthDate;       // day number
    char gender;             // 'F' or 'M'
    std::string homePhone;   // digits only, 10
    std::string chartNumber; // up to 7 characters
    std::string ssn;         // 9 digits
    int status;              // 1 patient, 3 inactive, 4 archived
    uint64_t medicalAlerts;  // bit n = alert n + 1
    std::string provider;    // primary provider id
    uint32_t referralId;     // the referral source that sent them; 0 none
};

// A provider's figures of one month as the ledger module would have written them: the goal
// (kind 10), the closed month (kind 1), or the running figures of the current month (kind 0,
// year and month 0). Amounts in cents.
struct DemoStatistics {
    std::string provider;
    int kind, year, month;
    int32_t goal;
    int32_t production[4];   // the four production counters
    int32_t newPatients;
};

struct DemoUser {
    std::string login, fullName, password;
    std::vector<int> refusedRights;  // every right below 512 except these
};

struct DemoPractice {
    std::string name;
    DemoHours hours;
    int blockSize;           // 5-minute units per time block
    std::vector<DemoHoliday> holidays;
    std::vector<DemoProvider> providers;
    std::vector<DemoStaff> staff;
    std::vector<DemoOperatory> operatories;
    std::vector<DemoStatus> statuses;
    std::vector<std::string> appointmentTypes;
    std::vector<std::string> medicalAlerts;  // alert n + 1 is medicalAlerts[n]
    std::vector<DemoProcedureCode> procedureCodes;
    std::vector<std::string> flagCaptions;   // the appointment dialog's check boxes 1, 2, ...
    std::vector<DemoCareType> careTypes;
    std::vector<DemoProcedure> procedures;
    std::vector<DemoCare> care;
    std::vector<DemoReferral> referrals;
    std::vector<DemoPatient> patients;
    std::vector<DemoUser> users;
    std::vector<DemoStatistics> statistics;  // last and current month of every provider
};

// The demo practice for a seed number; today is the day number the birth dates count back from.
DemoPractice BuildDemoPractice(uint32_t seed, int32_t today);

// The rights a restricted front-desk assistant lacks: delete (31), purge (32) and the setups
// (34, 35, 68, 69).
std::vector<int> RestrictedRights();
