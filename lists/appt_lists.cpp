// The three appointment lists' lines, filters and fills.
#include "lists/appt_lists.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/command_rules.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/phones.h"
#include "suite/prompter.h"
#include "suite/records/patient.h"
#include "suite/settings.h"

const char kListTruncated[] = "Maximum number of entries for list has been reached.\nTruncating List.";
const char kListTruncatedTitle[] = "Appointments";
const char kOfficeJournalNoPatient[] =
    "Office Journal cannot be opened for a new patient. Please select another patient.";
const char kOfficeJournalTitle[] = "Office Journal";

namespace {

const char kApptSection[] = "APPT";
constexpr int kMsgListUnreadable = 3018;  // a fill's read failed: the result number and the file

const ApptListLayout kLayouts[] = {
    {"ApptList", "Quorvin Appointment List", "RSlipMenu", "APPTVIEW", 10,
     {6, 7, 25, 12, 16, 3, 13}, {2, 2, 0, 2, 0, 1, 1},
     "Time  Status Name                       Prov/Op   Reason          Ln Phone         "},
    {"ASAPList", "Quorvin ASAP List", "ASAPMenu", "ASAPVIEW", 10,
     {10, 7, 23, 12, 16, 3, 13}, {2, 2, 0, 2, 0, 1, 1},
     "Date      Status Name                     Prov/Op   Reason          Ln Phone         "},
    {"UnschList", "Quorvin Unscheduled List", "UnschMenu", "NONSCHVIEW", 15,
     {10, 7, 23, 5, 16, 3, 13}, {2, 2, 0, 2, 0, 1, 1},
     "Date      Status Name                   Prov Reason          Ln Phone         "},
};

const char* DefaultSavedFilter(int kind) {
    switch (kind) {
    case kListAsap: return "0 1234 7   2";
    case kListUnscheduled: return "0 1234";
    default: return "0";
    }
}

// Four characters of a saved value from position at, blank-padded.
void TakeId(const std::string& value, size_t at, char (&id)[4]) {
    for (size_t i = 0; i < 4; ++i) id[i] = at + i < value.size() ? value[at + i] : ' ';
}

// "hh:mm" and "a" or "p", as the Appointment List shows a start time.
std::string ListTimeText(int hour, int minute) {
    int h12 = hour % 12;
    if (h12 == 0) h12 = 12;
    char text[16];
    std::snprintf(text, sizeof text, "%2d:%02d%c", h12, minute % 60, hour >= 12 ? 'p' : 'a');
    return text;
}

ListPatientFacts FactsOfRecord(const PatientRecord& p) {
    ListPatientFacts facts;
    facts.title = GetTrimmedText(p.nameTitle);
    facts.privatePhone = QVN_CheckForPrivatePhone(p.privacy) != 0;
    return facts;
}

ListPatientFacts FactsOf(uint32_t patient_id) {
    PatientRecord p{};
    if (patient_id == 0 || !ReadPatient(patient_id, &p)) return {};
    return FactsOfRecord(p);
}

// The facts of every patient a fill's appointments name. Reading them was most of a long list's
// fill: each read opened the patient file on its own and the reads jumped about its index in
// the lines' order. Here the file is opened once for all and each patient read once, in id order.
class PatientFactsTable {
public:
    explicit PatientFactsTable(const std::vector<AppointmentRecord>& appointments) {
        std::vector<uint32_t> ids;
        ids.reserve(appointments.size());
        for (const AppointmentRecord& a : appointments) {
            const uint32_t id = a.patientId;  // a copy: the record is packed
            if (id != 0) ids.push_back(id);
        }
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        FileGroupDesc desc{};
        DbGroupOf(kPatientFile, &desc);
        DbGroupScope group(desc);
        if (group.Result() != kQdbOk) return;
        PatientRecord p{};
        for (uint32_t id : ids)
            if (ReadPatient(id, &p)) facts_.emplace_back(id, FactsOfRecord(p));
    }
    // Those of a patient not found (or of no patient): no title, phones shown.
    const ListPatientFacts& Of(uint32_t patient_id) const {
        const auto it = std::lower_bound(facts_.begin(), facts_.end(), patient_id,
                                         [](const auto& entry, uint32_t id) { return entry.first < id; });
        return it != facts_.end() && it->first == patient_id ? it->second : none_;
    }

private:
    std::vector<std::pair<uint32_t, ListPatientFacts>> facts_;  // ascending ids, as read
    ListPatientFacts none_;
};

bool SameId(const char a[4], const char b[4]) { return std::memcmp(a, b, 4) == 0; }

}  // namespace

const ApptListLayout& LayoutOf(int kind) {
    switch (kind) {
    case kListAsap: return kLayouts[1];
    case kListUnscheduled: return kLayouts[2];
    default: return kLayouts[0];
    }
}

ApptListFilter ParseSavedFilter(int kind, const std::string& value) {
    ApptListFilter f;
    const char mode = value.empty() ? '0' : value[0];
    if (kind == kListUnscheduled) {
        // This list is narrowed by provider only.
        if (mode == '2') {
            f.mode = kFilterProvider;
            TakeId(value, 2, f.provider);
        }
        return f;
    }
    if (mode == '1') {
        f.mode = kFilterOperatory;
        TakeId(value, 2, f.operatory);
    } else if (mode == '2') {
        f.mode = kFilterProvider;
        TakeId(value, 2, f.provider);
    }
    if (kind == kListAsap) {
        f.span = value.size() > 7 ? std::atoi(value.c_str() + 7) : 0;
        if (f.span < 0) f.span = 0;
        f.searchType = value.size() > 11 && value[11] == '1' ? 1 : 2;
    }
    return f;
}

std::string SavedFilterText(int kind, const ApptListFilter& filter) {
    const char* id = filter.mode == kFilterOperatory ? filter.operatory
                     : filter.mode == kFilterProvider ? filter.provider
                                                      : "    ";
    char text[48];
    if (kind == kListAsap)
        std::snprintf(text, sizeof text, "%d(%-4.4s)%3.3d %d", filter.mode, std::string(id, 4).c_str(), filter.span,
                      filter.searchType);
    else
        std::snprintf(text, sizeof text, "%d(%-4.4s)", filter.mode, std::string(id, 4).c_str());
    return text;
}

ApptListFilter ReadSavedFilter(int kind) {
    const ApptListLayout& layout = LayoutOf(kind);
    return ParseSavedFilter(kind, QVN_ReadProfileText(kApptSection, layout.settingsKey, DefaultSavedFilter(kind)));
}

void WriteSavedFilter(int kind, const ApptListFilter& filter) {
    QVN_WriteProfileString(kApptSection, LayoutOf(kind).settingsKey, SavedFilterText(kind, filter).c_str());
}

std::string ListDateText(int32_t date) {
    int month = 0, day = 0, year = 0;
    if (!QVN_DateOut(date, &month, &day, &year)) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.3s, %.3s %02d, %04d", QVN_getday_name(QVN_week_day(date)),
                  QVN_getmonth_name(month), day, year);
    return text;
}

std::string ListStatusText(uint8_t status, const StatusTables& statuses) {
    if (status == kStatusBroken) return "Broken";
    if (status == kStatusComplete) return "<Cmpl>";
    if (status > kStatusBroken) return "W/Call";
    if (status <= kMaxPracticeStatus) return statuses.names[status];
    return "";
}

ApptListLine FormatListLine(int kind, const AppointmentRecord& a, const StatusTables& statuses,
                            const ListPatientFacts& patient) {
    std::string name = GetTrimmedText(a.patientName);
    if (!patient.title.empty()) name = patient.title + " " + name;
    const std::string phone = patient.privatePhone ? "" : QVN_Set_Phone(GetTrimmedText(a.phone));
    const std::string status = ListStatusText(a.status, statuses);
    const std::string provider(a.provider, 4), operatory(a.operatory, 4);
    const std::string reason = GetTrimmedText(a.description);
    const char mark = a.patientId == 0 ? '?' : ' ';
    const int length = a.length;
    char text[256];
    ApptListLine line;
    switch (kind) {
    case kListAsap:
        std::snprintf(text, sizeof text, "%10.10s%6.6s%c%-23.23s%6.6s/%4.4s %-16.16s%3d%13.13s",
                      QVN_fmtDateString2000(a.date).c_str(), status.c_str(), mark, name.c_str(), provider.c_str(),
                      operatory.c_str(), reason.c_str(), length, phone.c_str());
        line.sortKey = a.date;
        break;
    case kListUnscheduled:
        std::snprintf(text, sizeof text, "%10.10s%6.6s%c%-23.23s%4.4s %-16.16s%3d%13.13s",
                      a.listDate ? QVN_fmtDateString2000(a.listDate).c_str() : "", status.c_str(), mark, name.c_str(),
                      provider.c_str(), reason.c_str(), length, phone.c_str());
        line.sortKey = a.listDate;
        break;
    default:
        std::snprintf(text, sizeof text, "%6.6s%6.6s%c%-25.25s%6.6s/%4.4s %-16.16s%3d%13.13s",
                      ListTimeText(a.hour, a.minute).c_str(), status.c_str(), mark, name.c_str(), provider.c_str(),
                      operatory.c_str(), reason.c_str(), length, phone.c_str());
        line.sortKey = a.hour * 256 + a.minute;
        break;
    }
    line.text = text;
    line.data1 = a.id;
    line.data2 = a.patientId;
    line.groupMark = a.schedule;
    const char code = a.status <= kMaxPracticeStatus ? statuses.colourCodes[a.status] : 0;
    line.colourIndex = code >= '0' && code <= '9' ? static_cast<uint8_t>(code - '0') : 0;
    return line;
}

bool ListShows(int kind, const ApptListFilter& filter, const AppointmentRecord& a) {
    if (filter.mode == kFilterProvider && !SameId(a.provider, filter.provider)) return false;
    if (kind == kListUnscheduled) return a.unscheduled == 1 || a.date == 0;
    if (filter.mode == kFilterOperatory && !SameId(a.operatory, filter.operatory)) return false;
    if (a.date == 0) return false;
    if (kind == kListAsap)
        return a.schedule == filter.searchType && a.date >= filter.date && a.date <= filter.date + filter.span;
    return a.date == filter.date;
}

namespace {

std::vector<AppointmentRecord> ReadListDay(const ApptListFilter& filter, int32_t date, uint16_t* result) {
    if (filter.mode == kFilterProvider) return ReadDayOfProvider(date, filter.provider, result);
    if (filter.mode == kFilterOperatory) return ReadDayOfOperatory(date, filter.operatory, result);
    return ReadDay(date, result);
}

// A read that ended other than at the end of its data.
bool ReadFailed(uint16_t result) { return result != kQdbOk && result != kQdbNotFound; }

// The appointments' lines in the order given; the list sorts them.
void InsertLines(int kind, const std::vector<AppointmentRecord>& appointments, HeaderListModel* list) {
    const PatientFactsTable patients(appointments);
    for (const AppointmentRecord& a : appointments) {
        const ApptListLine line = FormatListLine(kind, a, practice_tables.statuses, patients.Of(a.patientId));
        list->Insert(line.text, line.data1, line.data2, line.sortKey, line.groupMark, line.colourIndex);
    }
}

}  // namespace

ListFillResult FillApptList(int kind, const ApptListFilter& filter, HeaderListModel* list, bool tell_truncation) {
    ListFillResult result;
    list->Clear();
    // One read transaction for the whole fill instead of one per record.
    DbReadSnapshot snapshot;
    if (kind == kListUnscheduled) {
        std::vector<AppointmentRecord> found;
        const uint16_t r = ReadUnscheduledList(filter.mode == kFilterProvider ? filter.provider : nullptr,
                                               kUnscheduledListMax + 1, &found);
        if (ReadFailed(r)) result.error = r;
        if (found.size() > kUnscheduledListMax) {
            found.resize(kUnscheduledListMax);
            result.truncated = true;
        }
        InsertLines(kind, found, list);
        if (result.truncated && tell_truncation)
            CurrentPrompter().Show({kListTruncated, kListTruncatedTitle, kButtonsOk, kIconExclamation});
    } else if (kind == kListAsap) {
        // The days after a failed one are not read: the lines read so far stay.
        std::vector<AppointmentRecord> found;
        for (int32_t d = filter.date; d <= filter.date + filter.span && result.error == kQdbOk; ++d) {
            uint16_t r = kQdbOk;
            for (const AppointmentRecord& a : ReadListDay(filter, d, &r))
                if (a.schedule == filter.searchType) found.push_back(a);
            if (ReadFailed(r)) result.error = r;
        }
        InsertLines(kind, found, list);
    } else {
        uint16_t r = kQdbOk;
        InsertLines(kind, ReadListDay(filter, filter.date, &r), list);
        if (ReadFailed(r)) result.error = r;
    }
    if (result.error != kQdbOk && tell_truncation && !DbAskWhenUnreachable(result.error))
        QVN_Message(kMsgGroupGeneral, kMsgListUnreadable, result.error, kAppointmentFile);
    if (list->Count() > 0) list->SetSelection(0, kSelSelect, false);
    result.lines = list->Count();
    return result;
}

int AddToApptList(int kind, const ApptListFilter& filter, const AppointmentRecord& a, HeaderListModel* list) {
    if (!ListShows(kind, filter, a)) return -1;
    const ApptListLine line = FormatListLine(kind, a, practice_tables.statuses, FactsOf(a.patientId));
    return list->Insert(line.text, line.data1, line.data2, line.sortKey, line.groupMark, line.colourIndex);
}

std::vector<uint32_t> ArrivedAppointments(const HeaderListModel& before, const HeaderListModel& after) {
    std::vector<uint32_t> arrived;
    for (int i = 0; i < after.Count(); ++i) {
        const HeaderLine& line = after.Line(i);
        bool held = false;
        for (int k = 0; k < before.Count() && !held; ++k) {
            const HeaderLine& old = before.Line(k);
            held = old.data1 == line.data1 && old.text == line.text && old.colourIndex == line.colourIndex;
        }
        if (!held) arrived.push_back(line.data1);
    }
    return arrived;
}

int ArrivalBeeps(int kind, uint8_t status, const StatusTables& statuses) {
    if (kind != kListAppointments || status > kMaxPracticeStatus) return 0;
    const char code = statuses.colourCodes[status];
    return code == 'b' ? 1 : code == 'B' ? 3 : 0;
}

std::string ListCopyTitle(int kind, int32_t date) {
    return std::string(LayoutOf(kind).title) + " - " + ListDateText(date);
}

ApptListFilter FilterFromViewChoice(const ApptListFilter& before, const std::string& provider_id,
                                    const std::string& operatory_id, bool view_all, int span, int search_type) {
    ApptListFilter f = before;
    f.span = span;
    f.searchType = search_type;
    f.mode = kFilterAll;
    if (view_all) return f;
    if (!provider_id.empty()) {
        f.mode = kFilterProvider;
        TakeId(provider_id, 0, f.provider);
    } else if (!operatory_id.empty()) {
        f.mode = kFilterOperatory;
        TakeId(operatory_id, 0, f.operatory);
    }
    return f;
}

int ListMenuLetterItem(char letter) {
    switch (letter) {
    case 'c': case 'C': return 1;
    case 'e': case 'E': case 'l': case 'L': return 0;
    case 'r': case 'R': return 2;
    default: return -1;
    }
}
