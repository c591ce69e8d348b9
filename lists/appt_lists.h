// The Appointment, ASAP and Unscheduled lists without their windows: which appointments each
// shows under its filter, the text line and the values of each appointment, the filters saved
// per workstation in [APPT], and the fills that put the lines into a header list box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/header_list.h"
#include "data/appointment_record.h"

struct StatusTables;

enum ApptListKind : int { kListAppointments = 1, kListAsap = 2, kListUnscheduled = 4 };

constexpr int kRightApptLists = 36;
constexpr int kUnscheduledListMax = 3000;
constexpr uint32_t kApptListStyle = 7169;  // sort key position 1, numeric sort, keep selection
constexpr int kApptListColumns = 7;

enum ApptListFilterMode : int { kFilterAll = 0, kFilterOperatory = 1, kFilterProvider = 2 };

struct ApptListFilter {
    int mode = kFilterAll;
    char operatory[4] = {' ', ' ', ' ', ' '};
    char provider[4] = {' ', ' ', ' ', ' '};
    int span = 7;        // ASAP List: days searched after the list date
    int searchType = 2;  // ASAP List: the scheduling mark searched, 1 "Open" or 2 "ASAP"
    int32_t date = 0;    // the day shown, or the first day searched
};

// Each kind's window and column layout.
struct ApptListLayout {
    const char* className;
    const char* title;
    const char* menu;
    const char* settingsKey;
    int heightLines;
    int widths[kApptListColumns];
    int aligns[kApptListColumns];
    const char* caption;
};
const ApptListLayout& LayoutOf(int kind);

// The saved filter of a kind read from its [APPT] value, and the value written for a filter.
ApptListFilter ParseSavedFilter(int kind, const std::string& value);
std::string SavedFilterText(int kind, const ApptListFilter& filter);
// Reads and writes [APPT] of the suite settings file.
ApptListFilter ReadSavedFilter(int kind);
void WriteSavedFilter(int kind, const ApptListFilter& filter);

// The 17-character date of the caption strip and the copy's title line: "Mon, Dec 07, 2026".
std::string ListDateText(int32_t date);

// One appointment as the list shows it.
struct ApptListLine {
    std::string text;
    uint32_t data1 = 0;   // the appointment id
    uint32_t data2 = 0;   // the patient id
    int32_t sortKey = 0;
    uint16_t groupMark = 0;
    uint8_t colourIndex = 0;
};
// The patient's title (shown before the name) and whether its phones are private.
struct ListPatientFacts {
    std::string title;
    bool privatePhone = false;
};
std::string ListStatusText(uint8_t status, const StatusTables& statuses);
ApptListLine FormatListLine(int kind, const AppointmentRecord& a, const StatusTables& statuses,
                            const ListPatientFacts& patient);

// Whether the list under its filter shows the appointment (the fills and the refresh's adds).
bool ListShows(int kind, const ApptListFilter& filter, const AppointmentRecord& a);

struct ListFillResult {
    int lines = 0;
    bool truncated = false;  // the Unscheduled List stopped at its limit (the user was told)
    uint16_t error = 0;      // the result number of a read that failed; the lines read before stay
};
// Clears the list and fills it from the database on the access layer's session, with the
// practice's status tables. Selects the first line. The Unscheduled List's limit and a failed
// read (message 3018 with the result number and the appointment file) are told to the user
// unless tell_truncation is off (the refresh's quiet refill, which would repeat them on every
// tick of its timer).
ListFillResult FillApptList(int kind, const ApptListFilter& filter, HeaderListModel* list, bool tell_truncation = true);
// Adds one appointment when the filter shows it; the new line's index or -1.
int AddToApptList(int kind, const ApptListFilter& filter, const AppointmentRecord& a, HeaderListModel* list);
// The appointments whose lines the refreshed list shows anew or changed: each line of after
// that before does not hold with the same text and colour, in after's order.
std::vector<uint32_t> ArrivedAppointments(const HeaderListModel& before, const HeaderListModel& after);
// How often the list beeps for an appointment the refresh brings: the Appointment List once
// when its status's code character is "b" and three times when it is "B"; otherwise never.
int ArrivalBeeps(int kind, uint8_t status, const StatusTables& statuses);
// The title line of the copy: the window title, " - " and the list date.
std::string ListCopyTitle(int kind, int32_t date);

// What OK of the list view dialog makes of the choice: a chosen provider wins over a chosen
// operatory; nothing chosen or view_all means all. The span and search type are the ASAP List's.
ApptListFilter FilterFromViewChoice(const ApptListFilter& before, const std::string& provider_id,
                                    const std::string& operatory_id, bool view_all, int span, int search_type);

// Menu letters of a list window: the top-level item a letter runs at once (0-based), -1 none.
int ListMenuLetterItem(char letter);

// The texts the lists show.
extern const char kListTruncated[];       // "Maximum number of entries for list has been reached.\nTruncating List."
extern const char kListTruncatedTitle[];  // "Appointments"
extern const char kOfficeJournalNoPatient[];
extern const char kOfficeJournalTitle[];
