// Building and loading the shown days. The shown days are loaded with the files opened once: a
// day's bookings are one walk, and what the boxes show of their patients (the patients, alerts,
// notes, lab cases and referrals), the days' schedule records and the day notes are read for all
// of them together, many keys to a statement, never one appointment at a time.
#include "views/day_data.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "data/appointment_record.h"
#include "data/db_access.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "suite/dates.h"
#include "suite/lab_case.h"
#include "suite/messages.h"
#include "suite/names.h"
#include "suite/notes.h"
#include "suite/patient_alert.h"
#include "suite/phones.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "suite/referral.h"
#include "views/active_view.h"

DayData day_data;

namespace {

FileGroupDesc Group(int file) {
    FileGroupDesc d{};
    DbGroupOf(file, &d);
    return d;
}

RscUseKey KeyOf(uint8_t kind, const char id[4], int32_t week) {
    RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
    std::memcpy(key.id, id, 4);
    return key;
}

int32_t ToUnits(uint16_t t) { return t == kNoTime ? -1 : t; }

bool NoteExists(uint8_t kind, uint32_t owner) {
#pragma pack(push, 1)
    struct {
        uint8_t kind;
        uint32_t owner;
    } key{kind, owner};
#pragma pack(pop)
    NoteHead head{};
    return DbFind(kNoteKey, DbPrepareKey(&key), &head) == kQdbOk;
}

DayColumn* FindOperatoryColumn(DayRecord* day, const char id[4]) {
    for (DayColumn& c : day->columns)
        if (c.kind == kOperatoryColumn && std::memcmp(c.id, id, 4) == 0) return &c;
    return nullptr;
}

// The provider's six blocks of a date with the week's override applied: start -1 for a block
// that does not exist that weekday, -2 for one cleared on this date.
void PlaceProviderBlocks(DayRecord* day, const ProviderInfo& provider, const RscUseBlockOverride* override_record,
                         DayColumn* provider_column) {
    const int w = day->weekday - 1;
    for (int b = 0; b < kTimeBlocks; ++b) {
        if (provider_column) {
            provider_column->blockColours[b] = provider.blockColour[b];
            provider_column->blockTypes[b] = provider.blockType[b][0];
        }
        DayColumn* column = FindOperatoryColumn(day, provider.blockOperatory[b]);
        if (!column || static_cast<int>(column->blocks.size()) >= kMaxColumnBlocks) continue;
        int start = ToUnits(provider.blockStart[w][b]);
        int end = ToUnits(provider.blockEnd[w][b]);
        if (override_record && override_record->start[w][b] != kBlockKeepsDefault) {
            const bool cleared = override_record->start[w][b] == kBlockCleared;
            start = cleared ? -2 : override_record->start[w][b];
            end = cleared ? -2 : override_record->end[w][b];
        }
        TimeBlockRecord block;
        block.colour = provider.blockColour[b];
        std::memcpy(block.provider, provider.id, 4);
        std::memcpy(block.name, provider.blockNames[b], 13);
        block.type = provider.blockType[b][0];
        block.blockNumber = b;
        block.start = start;
        block.end = end;
        const int index = static_cast<int>(column->blocks.size());
        column->blocks.push_back(block);
        if (start < 0) continue;
        for (int u = std::max(start, 0); u < std::min(end, kUnitsPerDay); ++u)
            if (column->codes[u] == 0) column->codes[u] = static_cast<uint8_t>(kBlockCodeBase + index);
    }
}

// The schedule records of one load, each read once: the days of a week share a provider's week
// record and block override, so a week view reads them once instead of seven times.
class ScheduleRecords {
public:
    // Reads the records of the keys not read yet together (a day's in one statement), for the
    // Find calls to come: one by one they were a round trip each on a database server. After a
    // failed read Find reads them one by one.
    void Prefetch(const std::vector<RscUseKey>& keys) {
        std::vector<RscUseKey> missing;
        for (const RscUseKey& key : keys)
            if (!found_.count(NameOf(key))) missing.push_back(key);
        if (missing.empty()) return;
        std::vector<uint8_t> read(missing.size() * kRscUseRecordLength), found(missing.size());
        if (DbFindMany(kRscUseKey, static_cast<int>(missing.size()), missing.data(), read.data(), found.data()) != kQdbOk)
            return;
        for (size_t i = 0; i < missing.size(); ++i) {
            std::vector<uint8_t> record;
            if (found[i]) record.assign(&read[i * kRscUseRecordLength], &read[(i + 1) * kRscUseRecordLength]);
            found_.emplace(NameOf(missing[i]), std::move(record));
        }
    }
    // The record of the key, or null when there is none.
    const uint8_t* Find(uint8_t kind, const char id[4], int32_t week) {
        const RscUseKey key = KeyOf(kind, id, week);
        const std::string name = NameOf(key);
        auto it = found_.find(name);
        if (it == found_.end()) {
            std::vector<uint8_t> record(kRscUseRecordLength);
            if (DbFind(kRscUseKey, DbPrepareKey(&key), record.data()) != kQdbOk) record.clear();
            it = found_.emplace(name, std::move(record)).first;
        }
        return it->second.empty() ? nullptr : it->second.data();
    }

private:
    static std::string NameOf(const RscUseKey& key) { return std::string(reinterpret_cast<const char*>(&key), sizeof key); }
    std::map<std::string, std::vector<uint8_t>> found_;
};

// The schedule records a load of the day reads: the week record of each provider column and,
// with the time blocks, every provider's block override.
std::vector<RscUseKey> ScheduleKeysOf(const DayRecord& day, bool with_overrides) {
    const int32_t week = WeekStartOf(day.date);
    std::vector<RscUseKey> keys;
    for (const DayColumn& c : day.columns)
        if (c.kind == kProviderColumn)
            keys.push_back(KeyOf(kRscProvider, practice_tables.providers[static_cast<size_t>(c.resourceIndex)].id, week));
    if (with_overrides)
        for (const ProviderInfo& p : practice_tables.providers) keys.push_back(KeyOf(kRscBlockOverride, p.id, week));
    return keys;
}

void LoadProviderOccupancy(const DayRecord& day, const ProviderInfo& provider, ScheduleRecords& records,
                           DayColumn* column) {
    const int w = day.weekday - 1;
    RscUseWeek week{};
    const uint8_t* found = records.Find(kRscProvider, provider.id, WeekStartOf(day.date));
    if (found) std::memcpy(&week, found, sizeof week);
    bool own_hours = false;
    if (found) {
        column->dayFlag = week.dayFlags[w];
        column->dayAmount = static_cast<int32_t>(week.scheduledAmount[w]);
        for (int u = 0; u < kUnitsPerDay; ++u) column->codes[u] = static_cast<uint8_t>(SlotCounter(week.occupancy[w], u));
        for (int i = 0; i < 3; ++i) own_hours |= week.start[w][i] != 0 || week.end[w][i] != 0;
    }
    for (int i = 0; i < 3; ++i) {
        column->hours.start[i] = ToUnits(own_hours ? week.start[w][i] : provider.defaultStart[w][i]);
        column->hours.end[i] = ToUnits(own_hours ? week.end[w][i] : provider.defaultEnd[w][i]);
    }
    column->hours.flag = column->dayFlag;
}

void PlaceBlocksOf(DayRecord* day, int provider_index, ScheduleRecords& records, DayColumn* provider_column) {
    const ProviderInfo& provider = practice_tables.providers[static_cast<size_t>(provider_index)];
    RscUseBlockOverride override_record{};
    const uint8_t* found = records.Find(kRscBlockOverride, provider.id, WeekStartOf(day->date));
    if (found) std::memcpy(&override_record, found, sizeof override_record);
    PlaceProviderBlocks(day, provider, found ? &override_record : nullptr, provider_column);
}

uint32_t ProviderColour(const char id[4]) {
    const int index = FindProviderIndex(id);
    return index < 0 ? 0 : practice_tables.providers[static_cast<size_t>(index)].colour;
}

bool ViewShowsLine(int code) {
    const ActiveView& v = view_state.active;
    return std::find(std::begin(v.infoOrder), std::end(v.infoOrder), code) != std::end(v.infoOrder);
}

std::string PackedName(const PatientRecord& p) {
    return QVN_PackName(GetText(p.lastName), GetText(p.firstName), std::string(1, p.middleInitial ? p.middleInitial : ' '));
}

// The "Referred By" line's sources of a day view's boxes: the patient's referral source, or for
// a new patient the patient or source who referred them.
bool ShowsReferrals(ViewMode mode) { return mode == kDayView && ViewShowsLine(13); }


// A patient who keeps the phones private has them shown as the private-phone text, in every
// view and on the pin board. The patient file is open.
void MaskPrivatePhones(const PatientRecord& p, ApptDisplay* d) {
    if (!QVN_CheckForPrivatePhone(p.privacy)) return;
    if (!d->homePhone.empty()) d->homePhone = kPrivatePhoneText;
    if (!d->workPhone.empty()) d->workPhone = kPrivatePhoneText;
}

void MaskPrivatePhonesOf(const AppointmentRecord& a, ApptDisplay* d) {
    PatientRecord p{};
    if (a.patientId != 0 && DbFind(kPatientByIdKey, DbPrepareKey(&a.patientId), &p) == kQdbOk) MaskPrivatePhones(p, d);
}

std::vector<uint32_t> SortedUnique(std::vector<uint32_t> ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

// The patients of the shown appointments, read together: one by one they were most of a week's
// load on a database server (a round trip each). The patient file is open.
class ShownPatients {
public:
    // with_referring: also the patients who referred the new patients.
    ShownPatients(const std::vector<const std::vector<AppointmentRecord>*>& columns, bool with_referring) {
        std::vector<uint32_t> ids;
        for (const auto* records : columns)
            for (const AppointmentRecord& a : *records) {
                const uint32_t id = a.patientId, referring = a.referredById;  // copies: the record is packed
                if (id != 0) ids.push_back(id);
                else if (with_referring && a.referredByKind == 0 && referring != 0) ids.push_back(referring);
            }
        ids = SortedUnique(std::move(ids));
        if (ids.empty()) return;
        std::vector<PatientRecord> read(ids.size());
        std::vector<uint8_t> found(ids.size());
        if (DbFindMany(kPatientByIdKey, static_cast<int>(ids.size()), ids.data(), read.data(), found.data()) != kQdbOk)
            return;  // shown as without a patient record, as a failed read of one was
        for (size_t i = 0; i < ids.size(); ++i)
            if (found[i]) patients_.emplace(ids[i], read[i]);
    }
    const PatientRecord* Of(uint32_t id) const {
        const auto it = patients_.find(id);
        return it == patients_.end() ? nullptr : &it->second;
    }

private:
    std::map<uint32_t, PatientRecord> patients_;
};

// The markers of the shown appointments of a day view (patient alerts, appointment notes, lab
// cases), read together for all of them: one by one they were three statements an appointment,
// a round trip each on a database server. A failed read shows no markers of its kind, as a
// failed read of one did. The notes file is open.
class ShownMarkers {
public:
    ShownMarkers(const std::vector<const std::vector<AppointmentRecord>*>& columns, int32_t date) {
        const ActiveView& view = view_state.active;
        std::vector<uint32_t> patients, appointments, with_cases;
        for (const auto* records : columns)
            for (const AppointmentRecord& a : *records) {
                const uint32_t patient = a.patientId, id = a.id;  // copies: the record is packed
                if (view.showAlerts && patient != 0) patients.push_back(patient);
                if (view.showNotes) appointments.push_back(id);
                if (a.labCase) with_cases.push_back(id);
            }
        patients = SortedUnique(std::move(patients));
        appointments = SortedUnique(std::move(appointments));
        with_cases = SortedUnique(std::move(with_cases));
        std::vector<uint8_t> alerts;
        if (!patients.empty() && PATALERT_PatientsHaveAlerts(patients, date, &alerts) == kQdbOk)
            for (size_t i = 0; i < patients.size(); ++i) alerts_[patients[i]] = alerts[i];
        std::vector<int> lengths;
        if (!appointments.empty() && ReadNoteLengths(kNoteAppointment, appointments, &lengths) == kQdbOk)
            for (size_t i = 0; i < appointments.size(); ++i)
                if (lengths[i] > 0) noted_.push_back(appointments[i]);
        std::vector<LabCaseState> states;
        if (!with_cases.empty() && ApptLabCaseStates(with_cases, &states) == kQdbOk)
            for (size_t i = 0; i < with_cases.size(); ++i) cases_[with_cases[i]] = states[i];
    }
    uint8_t AlertOf(uint32_t patient_id) const {
        const auto it = alerts_.find(patient_id);
        return it == alerts_.end() ? 0 : it->second;
    }
    bool HasNote(uint32_t appointment_id) const { return std::binary_search(noted_.begin(), noted_.end(), appointment_id); }
    LabCaseState CaseStateOf(uint32_t appointment_id) const {
        const auto it = cases_.find(appointment_id);
        return it == cases_.end() ? kLabNone : it->second;
    }

private:
    std::map<uint32_t, uint8_t> alerts_;
    std::vector<uint32_t> noted_;  // ascending
    std::map<uint32_t, LabCaseState> cases_;
};

// What the boxes of a load show beside the appointment records, read together for all of them:
// the patients, and in the day view the markers and the referral sources.
struct ShownFacts {
    using Columns = std::vector<const std::vector<AppointmentRecord>*>;
    ShownFacts(const Columns& columns, ViewMode mode, int32_t date)
        : patients(columns, ShowsReferrals(mode)), markers(mode == kDayView ? columns : Columns(), date) {
        if (!ShowsReferrals(mode)) return;
        std::vector<uint32_t> ids;
        for (const auto* records : columns)
            for (const AppointmentRecord& a : *records) {
                const PatientRecord* patient = a.patientId != 0 ? patients.Of(a.patientId) : nullptr;
                const uint32_t source = patient ? patient->referralId : 0, referring = a.referredById;  // copies: packed
                if (source) ids.push_back(source);
                else if (a.patientId == 0 && a.referredByKind != 0 && referring != 0) ids.push_back(referring);
            }
        REFERRAL_SourceNames(SortedUnique(std::move(ids)), &referrals);  // a failed read shows no sources
    }
    std::string ReferralName(uint32_t referral_id) const {
        const auto it = referrals.find(referral_id);
        return it == referrals.end() ? "" : it->second;
    }
    ShownPatients patients;
    ShownMarkers markers;
    std::map<uint32_t, std::string> referrals;  // source names by id
};

// The patient's side of the box and the markers: day view only. patient: the appointment's
// patient record, null when it has none or it was not found.
void AddPatientFacts(const AppointmentRecord& a, const PatientRecord* patient, const ShownFacts& facts, ApptDisplay* d) {
    const ActiveView& view = view_state.active;
    const ShownMarkers& markers = facts.markers;
    PatientRecord p{};
    const bool have_patient = patient != nullptr;
    if (have_patient) p = *patient;
    if (have_patient && view.showAlerts) {
        d->preferredName = GetTrimmedText(p.preferredName);
        d->chartNumber = GetTrimmedText(p.chartNumber);
        d->workPhone = GetText(p.workPhone);
        d->title = GetTrimmedText(p.nameTitle);
        d->ssn = GetText(p.ssn);
        bool alert = false;
        for (uint8_t byte : p.medicalAlerts) alert |= byte != 0;
        d->medicalAlert = alert ? 2 : 0;
        d->patientAlert = markers.AlertOf(a.patientId);
    }
    if (view.showNotes && markers.HasNote(a.id)) d->noteFlag = 2;
    if (a.labCase) d->labCaseState = static_cast<uint8_t>(markers.CaseStateOf(a.id));
    if (have_patient) MaskPrivatePhones(p, d);
    if (ViewShowsLine(13)) {
        if (have_patient && p.referralId) d->referredBy = facts.ReferralName(p.referralId);
        else if (a.patientId == 0 && a.referredById && a.referredByKind != 0) d->referredBy = facts.ReferralName(a.referredById);
        else if (a.patientId == 0 && a.referredById) {
            const PatientRecord* referring = facts.patients.Of(a.referredById);
            if (referring) d->referredBy = PackedName(*referring);
        }
    }
}

// Reads the operatory's appointments of the date in key order, at most a full column's. False
// after a read error (its result in *error) or when there are more than a column holds (the
// column's records are then the ones it holds).
bool ReadOperatoryAppointments(const DayRecord& day, const DayColumn& column, std::vector<AppointmentRecord>* records,
                               uint16_t* error) {
#pragma pack(push, 1)
    struct {
        int32_t date;
        uint8_t marker;
        char id[4];
    } prefix{day.date, kMarkerOperatory, {}};
#pragma pack(pop)
    std::memcpy(prefix.id, column.id, 4);
    AppointmentRecord a{};
    records->clear();
    uint16_t r = DbStartSetForward(kApptByDateOperatoryKey, DbPrepareKey(&prefix), &a, sizeof prefix);
    for (; r == kQdbOk; r = DbNextInSet(kApptByDateOperatoryKey, &a)) {
        if (static_cast<int>(records->size()) == kMaxColumnAppointments) return false;
        records->push_back(a);
    }
    if (r != kQdbNotFound) {
        *error = r;
        return false;
    }
    return true;
}

// The appointments of the date in every operatory, in one walk of the date/operatory key (a
// statement per column was most of a day's round trips to a server), handed to the columns of
// their operatories in key order. A column holds kMaxColumnAppointments: the first one (in the
// view's order) that has more keeps that many and the columns after it stay empty, as when the
// columns were read in turn and the full one ended the day. False after a read error (*error).
bool ReadDayAppointments(const DayRecord& day, std::vector<std::pair<DayColumn*, std::vector<AppointmentRecord>>>* columns,
                         uint16_t* error) {
#pragma pack(push, 1)
    struct {
        int32_t date;
        uint8_t marker;
    } prefix{day.date, kMarkerOperatory};
#pragma pack(pop)
    AppointmentRecord a{};
    uint16_t r = DbStartSetForward(kApptByDateOperatoryKey, DbPrepareKey(&prefix), &a, sizeof prefix);
    for (; r == kQdbOk; r = DbNextInSet(kApptByDateOperatoryKey, &a))
        for (auto& [column, records] : *columns)
            if (std::memcmp(column->id, a.operatory, 4) == 0) records.push_back(a);
    if (r != kQdbNotFound) {
        *error = r;
        return false;
    }
    bool full = false;
    for (auto& [column, records] : *columns) {
        if (full) records.clear();
        else if (static_cast<int>(records.size()) > kMaxColumnAppointments) {
            records.resize(kMaxColumnAppointments);
            full = true;
        }
    }
    return true;
}

// The column's boxes of the appointments read, their patients and markers at hand.
void FillOperatoryColumn(DayColumn* column, ViewMode mode, const std::vector<AppointmentRecord>& records,
                         const ShownFacts& facts) {
    for (const AppointmentRecord& a : records) {
        ApptDisplay d = DisplayOfRecord(a);
        const PatientRecord* patient = a.patientId != 0 ? facts.patients.Of(a.patientId) : nullptr;
        if (mode == kDayView) AddPatientFacts(a, patient, facts, &d);
        else if (patient) MaskPrivatePhones(*patient, &d);
        const int index = static_cast<int>(column->appointments.size());
        const int units = std::max(1, d.length / 5);
        for (int u = d.startUnit; u < d.startUnit + units && u < kUnitsPerDay; ++u)
            column->codes[u] = static_cast<uint8_t>(kAppointmentCodeBase + index);
        column->appointments.push_back(std::move(d));
    }
}

// Reads the operatory's appointments of the date in key order, with their patients. False after
// a read error (its result in *error) or when the column is full.
bool LoadOperatoryColumn(DayRecord* day, DayColumn* column, ViewMode mode, uint16_t* error) {
    std::vector<AppointmentRecord> records;
    const bool whole = ReadOperatoryAppointments(*day, *column, &records, error);
    if (*error != kQdbOk) return false;
    FillOperatoryColumn(column, mode, records, ShownFacts({&records}, mode, day->date));
    return whole;
}

void ClearColumns(DayRecord* day) {
    for (DayColumn& c : day->columns) {
        c.appointments.clear();
        c.blocks.clear();
        std::memset(c.codes, 0, sizeof c.codes);
        c.dayAmount = 0;
        c.dayFlag = 0;
    }
}

bool HasProviderColumn(const DayRecord& day, int provider_index) {
    for (const DayColumn& c : day.columns)
        if (c.kind == kProviderColumn && c.resourceIndex == provider_index) return true;
    return false;
}

}  // namespace

std::string ShortDayCaption(int32_t date) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(date, &month, &day, &year);
    return std::string(QVN_getday_name(QVN_week_day(date))).substr(0, 2) + " " +
           std::string(QVN_getmonth_name(month)).substr(0, 3) + " " + std::to_string(day);
}

std::string LongDayCaption(int32_t date) { return QVN_DateStr(date, kDateLong); }

void BuildDays(const std::vector<int32_t>& dates, ViewMode mode) {
    day_data.days.clear();
    day_data.mode = mode;
    for (int32_t date : dates) {
        if (static_cast<int>(day_data.days.size()) == kMaxShownDays) break;
        DayRecord day;
        day.date = date;
        day.weekday = WeekdayIndex(date) + 1;
        day.closed = HolidayKind(date);
        day.shortCaption = ShortDayCaption(date);
        day.longCaption = LongDayCaption(date);
        day_data.days.push_back(std::move(day));
    }
}

void BuildColumns(DayRecord* day, ViewMode mode) {
    if (!day->columns.empty()) return;
    const ActiveView& view = view_state.active;
    auto add = [&](ColumnKind kind, int index, const char id[4], uint32_t colour) {
        DayColumn c;
        c.kind = kind;
        c.resourceIndex = index;
        std::memcpy(c.id, id, 4);
        std::string caption(id, 4);
        caption = caption.substr(0, caption.find(' '));
        c.longCaption = caption;
        c.shortCaption = caption.empty() ? "" : caption.substr(caption.size() - 1);
        c.colour = colour;
        day->columns.push_back(std::move(c));
    };
    for (int i = 0; i < view.providerCount; ++i) {
        const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(view.providers[i])];
        add(kProviderColumn, view.providers[i], p.id, p.colour);
    }
    if (mode == kMonthView) return;
    for (int i = 0; i < view.operatoryCount; ++i) {
        const OperatoryInfo& o = practice_tables.operatories[static_cast<size_t>(view.operatories[i])];
        add(kOperatoryColumn, view.operatories[i], o.id, 0);
    }
}

namespace {

// The four files a day load reads, open for one load of one day or of all shown days.
struct DayFiles {
    DbReadSnapshot snapshot;  // first made, last gone: every read of the load in one transaction
    DbGroupScope appointments{Group(kAppointmentFile)};
    DbGroupScope schedule{Group(kRscUseFile)};
    DbGroupScope patients{Group(kPatientFile)};
    DbGroupScope notes{Group(kNoteFile)};
    bool NotesOpen() const { return notes.Result() == kQdbOk; }
    bool AllOpen() const {
        return appointments.Result() == kQdbOk && schedule.Result() == kQdbOk && patients.Result() == kQdbOk &&
               NotesOpen();
    }
};

// Which of the dates of a load have a day note, read together: a week's seven in one statement.
// A failed read shows no day notes, as a failed read of one did.
class DayNotes {
public:
    DayNotes(const DayFiles& files, const std::vector<int32_t>& dates) {
        const std::vector<uint32_t> owners(dates.begin(), dates.end());
        std::vector<int> lengths;
        if (!files.NotesOpen() || owners.empty() || ReadNoteLengths(kNoteDay, owners, &lengths) != kQdbOk) return;
        for (size_t i = 0; i < dates.size(); ++i)
            if (lengths[i] > 0) noted_.push_back(dates[i]);
    }
    bool Has(int32_t date) const { return std::find(noted_.begin(), noted_.end(), date) != noted_.end(); }

private:
    std::vector<int32_t> noted_;
};

// A day that cannot be read shows nothing rather than what it showed before: an appointment
// moved away at another workstation must not go on looking booked here.
int LoadDayFrom(const DayFiles& files, ScheduleRecords& records, const DayNotes& notes, DayRecord* day, ViewMode mode) {
    ClearColumns(day);
    day->hasNote = notes.Has(day->date);
    if (!files.AllOpen()) return 0;
    records.Prefetch(ScheduleKeysOf(*day, true));
    for (DayColumn& c : day->columns) {
        if (c.kind != kProviderColumn) continue;
        const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(c.resourceIndex)];
        PlaceBlocksOf(day, c.resourceIndex, records, &c);
        LoadProviderOccupancy(*day, p, records, &c);
    }
    for (int i = 0; i < static_cast<int>(practice_tables.providers.size()); ++i)
        if (!HasProviderColumn(*day, i)) PlaceBlocksOf(day, i, records, nullptr);
    if (mode == kMonthView) return 1;
    // Every column's appointments first (one walk over the day's operatory bookings), then their
    // patients and markers in a few statements, then the boxes.
    uint16_t error = kQdbOk;
    std::vector<std::pair<DayColumn*, std::vector<AppointmentRecord>>> read;
    for (DayColumn& c : day->columns)
        if (c.kind == kOperatoryColumn) read.emplace_back(&c, std::vector<AppointmentRecord>());
    if (!read.empty()) ReadDayAppointments(*day, &read, &error);
    if (error == kQdbOk) {
        std::vector<const std::vector<AppointmentRecord>*> columns;
        for (const auto& [column, records] : read) columns.push_back(&records);
        const ShownFacts facts(columns, mode, day->date);
        for (auto& [column, records] : read) FillOperatoryColumn(column, mode, records, facts);
    }
    if (error != kQdbOk) {
        ClearColumns(day);
        if (!DbAskWhenUnreachable(error)) QVN_Message(kMsgGroupGeneral, 3018, error, kAppointmentFile);
        return error;
    }
    return 1;
}

// The operatory column as a load leaves it before its appointments: only its time blocks, in the
// order they were placed, the first to claim a unit keeping it.
void ResetToBlocks(DayColumn* column) {
    column->appointments.clear();
    std::memset(column->codes, 0, sizeof column->codes);
    for (size_t i = 0; i < column->blocks.size(); ++i) {
        const TimeBlockRecord& b = column->blocks[i];
        if (b.start < 0) continue;
        for (int u = std::max(b.start, 0); u < std::min(b.end, kUnitsPerDay); ++u)
            if (column->codes[u] == 0) column->codes[u] = static_cast<uint8_t>(kBlockCodeBase + i);
    }
}

// Reads again what one saved appointment can change of a loaded day: the day note marker, every
// provider column's occupancy (the save moves occupancy between providers and weeks) and the
// named operatory columns. False when the day has to be loaded whole instead: a file that did not
// open, a read that failed, or a column at the limit, which stops a load before the columns after it.
bool ReloadColumns(const DayFiles& files, ScheduleRecords& records, DayRecord* day, ViewMode mode,
                   const std::vector<const char*>& operatories) {
    if (!files.AllOpen()) return false;
    for (const DayColumn& c : day->columns)
        if (c.kind == kOperatoryColumn && static_cast<int>(c.appointments.size()) >= kMaxColumnAppointments) return false;
    day->hasNote = NoteExists(kNoteDay, static_cast<uint32_t>(day->date));
    records.Prefetch(ScheduleKeysOf(*day, false));
    for (DayColumn& c : day->columns) {
        if (c.kind != kProviderColumn) continue;
        // A save that empties the provider's week removes its record: nothing read is nothing booked.
        std::memset(c.codes, 0, sizeof c.codes);
        c.dayAmount = 0;
        c.dayFlag = 0;
        LoadProviderOccupancy(*day, practice_tables.providers[static_cast<size_t>(c.resourceIndex)], records, &c);
    }
    if (mode == kMonthView) return true;
    std::vector<DayColumn*> done;
    for (const char* id : operatories) {
        DayColumn* column = FindOperatoryColumn(day, id);
        if (!column || std::find(done.begin(), done.end(), column) != done.end()) continue;
        done.push_back(column);
        ResetToBlocks(column);
        uint16_t error = kQdbOk;
        if (!LoadOperatoryColumn(day, column, mode, &error)) return false;
    }
    return true;
}

}  // namespace

void RefreshSavedAppointment(const AppointmentRecord* before, const AppointmentRecord& saved) {
    const int32_t old_date = before ? before->date : 0, new_date = saved.date;  // copies of packed fields
    std::vector<int32_t> dates;
    if (old_date) dates.push_back(old_date);
    if (new_date && new_date != old_date) dates.push_back(new_date);
    for (int32_t date : dates) {
        DayRecord* day = nullptr;
        for (DayRecord& d : day_data.days)
            if (d.date == date) day = &d;
        if (!day) continue;
        std::vector<const char*> operatories;
        if (old_date == date && before->operatoryMarker == kMarkerOperatory) operatories.push_back(before->operatory);
        if (new_date == date && saved.operatoryMarker == kMarkerOperatory) operatories.push_back(saved.operatory);
        bool whole = false;
        {
            DayFiles files;
            ScheduleRecords records;
            whole = !ReloadColumns(files, records, day, day_data.mode, operatories);
        }
        if (whole) LoadDay(day, day_data.mode);
    }
}

int LoadDay(DayRecord* day, ViewMode mode) {
    DayFiles files;
    ScheduleRecords records;
    return LoadDayFrom(files, records, DayNotes(files, {day->date}), day, mode);
}

void LoadHours() {
    day_data.practiceHours.clear();
    const PracticeInfo* practice = practice_tables.practice.get();
    DbGroupScope schedule(Group(kRscUseFile));
    ScheduleRecords records;
    for (const DayRecord& d : day_data.days) {
        DayHours hours{{-1, -1, -1}, {-1, -1, -1}, 0};
        const int w = d.weekday - 1;
        RscUseWeek week{};
        const uint8_t* found = schedule.Result() == kQdbOk ? records.Find(kRscPractice, kPracticeId, WeekStartOf(d.date)) : nullptr;
        if (found) std::memcpy(&week, found, sizeof week);
        // A week record speaks for the day only with start times of its own; three zero starts
        // leave the default hours, and the day open.
        const bool own_hours = found && (week.start[w][0] != 0 || week.start[w][1] != 0 || week.start[w][2] != 0);
        for (int i = 0; i < 3; ++i) {
            if (own_hours) {
                hours.start[i] = ToUnits(week.start[w][i]);
                hours.end[i] = ToUnits(week.end[w][i]);
            } else if (practice) {
                hours.start[i] = ToUnits(practice->defaultStart[w][i]);
                hours.end[i] = ToUnits(practice->defaultEnd[w][i]);
            }
        }
        if (own_hours) hours.flag = week.dayFlags[w];
        day_data.practiceHours.push_back(hours);
    }
}

void LoadShownDays(const std::vector<int32_t>& dates, ViewMode mode) {
    BuildDays(dates, mode);
    {
        DayFiles files;
        ScheduleRecords records;
        std::vector<int32_t> shown;
        for (const DayRecord& day : day_data.days) shown.push_back(day.date);
        const DayNotes notes(files, shown);
        bool unreachable = false;
        for (DayRecord& day : day_data.days) {
            BuildColumns(&day, mode);
            // After the question about a database that cannot be reached the days left stay
            // empty: the files open for the load were the old session's, and once a new session
            // runs the window loads every shown day again.
            if (unreachable) continue;
            const int loaded = LoadDayFrom(files, records, notes, &day, mode);
            unreachable = loaded == kQdbConnectionLost || loaded == kQdbNoSession;
        }
    }
    LoadHours();
}

bool ReloadShownDay(int32_t date) {
    for (DayRecord& day : day_data.days)
        if (day.date == date) {
            LoadDay(&day, day_data.mode);
            return true;
        }
    return false;
}

void FreeDays() {
    day_data.days.clear();
    day_data.practiceHours.clear();
}

const ApptDisplay* AppointmentOfCode(const DayColumn& column, int code) {
    const int index = code - kAppointmentCodeBase;
    if (index < 0 || index >= static_cast<int>(column.appointments.size())) return nullptr;
    return &column.appointments[static_cast<size_t>(index)];
}

ApptDisplay DisplayOfRecord(const AppointmentRecord& a) {
    ApptDisplay d;
    d.id = static_cast<int32_t>(a.id);
    d.patientId = a.patientId;
    d.name = GetTrimmedText(a.patientName);
    d.homePhone = GetText(a.phone);
    d.description = GetText(a.description);
    std::memcpy(d.provider, a.provider, 4);
    if (a.staffMarker == kMarkerStaff) std::memcpy(d.staff, a.staff, 4);
    d.type = a.type;
    d.amount = a.amount;
    d.length = a.length;
    std::memcpy(d.timePattern, a.timePattern, sizeof d.timePattern);
    d.status = a.status;
    d.colour = ProviderColour(a.provider);
    d.startUnit = a.hour * 12 + a.minute / 5;
    return d;
}

ApptDisplay DisplayShownOf(const AppointmentRecord& record) {
    ApptDisplay d = DisplayOfRecord(record);
    DbGroupScope patients(Group(kPatientFile));
    if (patients.Result() == kQdbOk) MaskPrivatePhonesOf(record, &d);
    return d;
}
