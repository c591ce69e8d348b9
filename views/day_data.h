// The in-memory picture of the shown dates that the sheet paints, hit-tests and refreshes: one
// day record per date, in it one column per provider and operatory of the view, and in every
// column one code per 5-minute unit saying what occupies it. The views never draw from the
// database directly; they draw from this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/practice_schedule.h"
#include "views/date_steps.h"

constexpr int kMaxShownDays = 35;
constexpr int kUnitsPerDay = 288;
constexpr int kMaxColumnAppointments = 64;
constexpr int kMaxColumnBlocks = 24;
constexpr int kMaxDrawnBlocks = 12;

// Unit codes of an operatory column: below 10 free, 10 + i time block i, 100 + i appointment i.
constexpr int kBlockCodeBase = 10;
constexpr int kAppointmentCodeBase = 100;

enum ColumnKind : int { kProviderColumn = 1, kOperatoryColumn = 3 };

// What a box on the sheet shows of one appointment: the appointment record's fields joined with
// the patient's.
struct ApptDisplay {
    int32_t id = 0;               // -1: a blocked stretch that is no appointment
    uint32_t patientId = 0;       // 0 = a new patient
    std::string name, preferredName, title;
    std::string homePhone, workPhone, chartNumber, ssn;
    std::string description;
    char provider[4] = {' ', ' ', ' ', ' '};
    char staff[4] = {};
    int type = 0;
    int32_t amount = 0;           // cents
    int length = 0;               // minutes
    uint8_t timePattern[6] = {};  // 2 bits per row, first row in the top bits
    int status = 0;
    uint32_t colour = 0;          // the provider's colour, black when the provider is not loaded
    int startUnit = 0;
    uint8_t noteFlag = 0;         // 2: an appointment note exists
    uint8_t medicalAlert = 0;     // 2: the patient has a medical alert
    uint8_t patientAlert = 0;     // 2: the patient has alerts for the date
    uint8_t labCaseState = 0;     // 1 needed, 2 sent, 3 received, 4 in-house
    std::string referredBy;       // the "Referred By" line
};

struct TimeBlockRecord {
    uint32_t colour = 0;
    char provider[4] = {};
    char name[14] = {};           // up to 13 characters
    int type = 0;
    int blockNumber = 0;          // among the provider's six blocks
    int start = -1, end = -1;     // units; -1 or -2: recorded without units
};

struct DayColumn {
    ColumnKind kind = kOperatoryColumn;
    char id[4] = {};
    std::string longCaption, shortCaption;
    uint32_t colour = 0;
    int left = 0, right = 0;
    int resourceIndex = -1;       // into the loaded provider or operatory table
    uint8_t codes[kUnitsPerDay] = {};
    std::vector<ApptDisplay> appointments;
    std::vector<TimeBlockRecord> blocks;
    // Provider columns only:
    uint32_t blockColours[kTimeBlocks] = {};
    uint8_t blockTypes[kTimeBlocks] = {};
    DayHours hours{{-1, -1, -1}, {-1, -1, -1}, 0};
    int32_t dayAmount = 0;        // cents
    uint8_t dayFlag = 0;          // kDayClosed: unavailable all day
};

struct DayRecord {
    int32_t date = 0;
    int weekday = 1;              // 1 = Sunday
    int closed = 0;               // the practice's holiday kind of the date; 0 open
    bool hasNote = false;
    std::string shortCaption, longCaption;
    int left = 0, right = 0;
    std::vector<DayColumn> columns;
};

// The process-wide day data: the shown days, their practice hours and the mode they were built
// for.
struct DayData {
    std::vector<DayRecord> days;
    std::vector<DayHours> practiceHours;  // beside days, same order
    ViewMode mode = kDayView;
};
extern DayData day_data;

// "Mo Mar 10": two letters of the weekday, three of the month, the day of the month.
std::string ShortDayCaption(int32_t date);
// The suite's long date text.
std::string LongDayCaption(int32_t date);

// Makes one day record per date (at most 35), dropping those of the previous build.
void BuildDays(const std::vector<int32_t>& dates, ViewMode mode);
// Appends the view's provider columns and, except in the month view, its operatory columns to a
// day without columns.
void BuildColumns(DayRecord* day, ViewMode mode);
// Fills the columns of one day from the database. 0 when a file could not be opened (the day
// stays empty) or a read failed (after message 3018); 1 otherwise.
int LoadDay(DayRecord* day, ViewMode mode);
// The practice's hours of every shown date.
void LoadHours();
// Builds, fills and reads the hours of the dates in one go: what a date or view change does.
void LoadShownDays(const std::vector<int32_t>& dates, ViewMode mode);
// Reloads the shown day of that date in place; false when it is not shown.
bool ReloadShownDay(int32_t date);
// After this workstation's own save of one appointment (before null for a new one): the shown
// days of its old and new date get what the save changed, the occupancy and amounts of their
// provider columns and the operatory columns it left and entered, read again; the rest of the day
// stays as loaded. Falls back to a whole reload when a column is at its limit or a read fails, so
// the day always equals what ReloadShownDay would make of it.
struct AppointmentRecord;
void RefreshSavedAppointment(const AppointmentRecord* before, const AppointmentRecord& saved);
void FreeDays();

// The box's side of an appointment record, without the patient's facts: what the week view and
// the pin board show.
struct AppointmentRecord;
ApptDisplay DisplayOfRecord(const AppointmentRecord& record);
// The same with the phones of a patient who keeps them private masked: what any window that
// shows a phone outside the loaded days (the pin board's card and its information box) shows.
ApptDisplay DisplayShownOf(const AppointmentRecord& record);

// The column's appointment that a unit code names, or null.
const ApptDisplay* AppointmentOfCode(const DayColumn& column, int code);
