// The suite's print queue (data file 77, keys 78 to 80): one 1330-byte job per printout that
// the suite's print program makes. The appointment book writes three kinds of job, the book view
// of one day, the route slip of one appointment and the referral recap of one patient; all start
// zero-filled.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kPrintQueueFile = 77;
constexpr int kPrintQueueByDateKey = 78;  // ours: the date the job was made, not unique
constexpr int kPrintJobRecordLength = 1330;
constexpr int kPrintJobResources = 20;

#pragma pack(push, 1)

struct PrintBookView {
    int32_t firstDay;
    int32_t lastDay;                      // the same date: one day per job
    uint16_t blockSize;                   // 5-minute units
    uint16_t startMinutes;                // since midnight
    uint16_t endMinutes;
    uint16_t providerCount;
    uint16_t operatoryCount;
    uint32_t providerColours[kPrintJobResources];
    uint32_t printAmount;                 // 1/0
    uint32_t printColours;
    char providerIds[kPrintJobResources][4];
    char operatoryIds[kPrintJobResources][4];
    uint8_t lineCodes[10];                // lines 1 to 9; the tenth byte stays 0
    uint32_t printDayNote;
    uint32_t printIdealDay;
    uint32_t printTimeAtRight;
    uint8_t unused466[180];
};

// The referral recap of one patient for the job's day (today at 174).
struct PrintReferralRecap {
    uint32_t patientId;
    uint8_t unused182[464];
};

struct PrintRouteSlip {
    uint8_t unused178[130];
    uint16_t blockSize;                   // 5-minute units
    uint32_t appointmentId;
    uint32_t zero314;
    uint8_t unused318[328];
};

struct PrintJobRecord {
    uint8_t ours0[6];
    uint16_t printNow;                    // (workstation number * 256) + 7; 0 = batch
    uint8_t ours8[2];
    int32_t madeDate;
    // The report name is a text field from 14 up to the title: the job is zero-filled and
    // nothing else lies between them, so a name is terminated by the fill. "ApptBook" keeps its
    // 8 bytes without a zero of its own, "RefRecap.rtc" takes 12.
    char reportName[80];                  // "ApptBook", "rteslip", "RefRecap.rtc"
    char title[80];
    int32_t today;
    union {
        PrintBookView view;
        PrintRouteSlip slip;
        PrintReferralRecap recap;
    };
    uint32_t workstation;                 // print now only
    uint8_t ours650[680];
};

#pragma pack(pop)

static_assert(sizeof(PrintJobRecord) == kPrintJobRecordLength);
static_assert(offsetof(PrintJobRecord, printNow) == 6);
static_assert(offsetof(PrintJobRecord, madeDate) == 10);
static_assert(offsetof(PrintJobRecord, reportName) == 14);
static_assert(offsetof(PrintJobRecord, reportName) + sizeof(PrintJobRecord::reportName) == 94);
static_assert(offsetof(PrintJobRecord, title) == 94);
static_assert(offsetof(PrintJobRecord, today) == 174);
static_assert(offsetof(PrintJobRecord, view.firstDay) == 178);
static_assert(offsetof(PrintJobRecord, view.lastDay) == 182);
static_assert(offsetof(PrintJobRecord, view.blockSize) == 186);
static_assert(offsetof(PrintJobRecord, view.startMinutes) == 188);
static_assert(offsetof(PrintJobRecord, view.endMinutes) == 190);
static_assert(offsetof(PrintJobRecord, view.providerCount) == 192);
static_assert(offsetof(PrintJobRecord, view.operatoryCount) == 194);
static_assert(offsetof(PrintJobRecord, view.providerColours) == 196);
static_assert(offsetof(PrintJobRecord, view.printAmount) == 276);
static_assert(offsetof(PrintJobRecord, view.printColours) == 280);
static_assert(offsetof(PrintJobRecord, view.providerIds) == 284);
static_assert(offsetof(PrintJobRecord, view.operatoryIds) == 364);
static_assert(offsetof(PrintJobRecord, view.lineCodes) == 444);
static_assert(offsetof(PrintJobRecord, view.printDayNote) == 454);
static_assert(offsetof(PrintJobRecord, view.printIdealDay) == 458);
static_assert(offsetof(PrintJobRecord, view.printTimeAtRight) == 462);
static_assert(offsetof(PrintJobRecord, slip.blockSize) == 308);
static_assert(offsetof(PrintJobRecord, slip.appointmentId) == 310);
static_assert(offsetof(PrintJobRecord, slip.zero314) == 314);
static_assert(offsetof(PrintJobRecord, recap.patientId) == 178);
static_assert(sizeof(PrintReferralRecap) == sizeof(PrintBookView));
static_assert(offsetof(PrintJobRecord, workstation) == 646);
