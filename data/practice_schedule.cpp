// Loading the practice tables and the rules of the practice schedule, over the access layer.
#include "data/practice_schedule.h"

#include <cstring>
#include <new>
#include <string>

#include "data/db_access.h"
#include "data/record_locks.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/records/definitions.h"

PracticeTables practice_tables;
const char kPracticeNotSetUp[] = "Practice is NOT setup. Setup practice before continuing!";

namespace {

const char kNoPractice[] = "No Practice information. Practice must be setup.";
const char kCheckRscUse[] = "Check RscUse File!";
const char kHolidaysFull[] = "Holiday buffer is full. No more holidays may be added!";
const char kOutOfMemory[] = "Out of Memory! -GlobalAlloc";

// Colours of providers without a base record, by their position in the resource file; the
// ninth and later take the list again from the start.
const uint32_t kDefaultProviderColours[8] = {0x0000FFFF, 0x00FFFF00, 0x00FF00FF, 0x000000FF,
                                             0x0000FF00, 0x00FF0000, 0x0000C0C0, 0x00C0C000};

FileGroupDesc Group(int file) {
    FileGroupDesc d{};
    DbGroupOf(file, &d);
    return d;
}

RscUseKey KeyOf(uint8_t kind, const char id[4], uint32_t week) {
    RscUseKey key{kind, {}, week};
    std::memcpy(key.id, id, 4);
    return key;
}

int32_t ToWorking(uint16_t t) { return t == kNoTime ? -1 : t; }
uint16_t ToRecord(int32_t t) { return t < 0 ? kNoTime : static_cast<uint16_t>(t); }

// The record a base practice record stands for when the practice has none: Monday to Friday
// 8:00-12:00 and 13:00-17:00, the weekend closed, 10-minute blocks, no holidays.
RscUsePracticeBase DefaultPracticeBase() {
    RscUsePracticeBase base{};
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) base.defaultStart[d][i] = base.defaultEnd[d][i] = kNoTime;
    for (int d = 1; d <= 5; ++d) {
        base.defaultStart[d][0] = 96;
        base.defaultEnd[d][0] = 144;
        base.defaultStart[d][1] = 156;
        base.defaultEnd[d][1] = 204;
    }
    base.blockSize = 2;
    return base;
}

void ShowQuorvinStop(const char* text) { ShowStop(text, kTitleQuorvin); }

// Reads one RscUse record by its full key on the open group: 0, 101 or another result.
uint16_t ReadRscUse(const RscUseKey& key, void* record) { return DbFind(kRscUseKey, DbPrepareKey(&key), record); }

// Start and end times by weekday, copied out of a packed record: references into packed
// records would be misaligned.
struct WeekHours {
    uint16_t start[7][3];
    uint16_t end[7][3];
    template <typename Record>
    static WeekHours Of(const Record& r) {
        WeekHours h;
        std::memcpy(h.start, r.start, sizeof h.start);
        std::memcpy(h.end, r.end, sizeof h.end);
        return h;
    }
    template <typename Record>
    static WeekHours DefaultsOf(const Record& r) {
        WeekHours h;
        std::memcpy(h.start, r.defaultStart, sizeof h.start);
        std::memcpy(h.end, r.defaultEnd, sizeof h.end);
        return h;
    }
};

void CopyHours(const WeekHours& hours, int w, DayHours* out) {
    for (int i = 0; i < 3; ++i) {
        out->start[i] = ToWorking(hours.start[w][i]);
        out->end[i] = ToWorking(hours.end[w][i]);
    }
}

// The hours of one weekday: the week record's own when it has any, else the defaults.
DayHours DayHoursOf(const RscUseWeek* week, const WeekHours& defaults, int w) {
    DayHours day{};
    day.flag = week ? week->dayFlags[w] : 0;
    bool own_hours = week && (week->start[w][0] || week->start[w][1] || week->start[w][2]);
    CopyHours(own_hours ? WeekHours::Of(*week) : defaults, w, &day);
    return day;
}

// The hours of a list of dates for one resource: its week records over its default hours.
std::vector<DayHours> HoursOf(uint8_t kind, const char id[4], const WeekHours& defaults,
                              const std::vector<int32_t>& dates) {
    std::vector<DayHours> hours;
    DbGroupScope group(Group(kRscUseFile));
    RscUseWeek week{};
    bool have_week = false;
    int32_t last_week_start = -1;
    for (int32_t date : dates) {
        int w = WeekdayIndex(date);
        int32_t week_start = WeekStartOf(date);
        if (week_start != last_week_start) {
            have_week = group.Result() == kQdbOk &&
                        ReadRscUse(KeyOf(kind, id, static_cast<uint32_t>(week_start)), &week) == kQdbOk;
            last_week_start = week_start;
        }
        hours.push_back(DayHoursOf(have_week ? &week : nullptr, defaults, w));
    }
    return hours;
}

// The entry of the holiday table that a month and day match, or -1.
int MatchingHoliday(const HolidayEntry (&holidays)[kHolidaySlots], int month, int day) {
    for (int i = 0; i < kHolidaySlots; ++i) {
        const HolidayEntry& h = holidays[i];
        if (h.month == month && h.day == day && h.zero == 0 && h.kind != 0 && h.kind < 100) return i;
    }
    return -1;
}

// Reads the base practice record locked, lets change edit it, and writes it back; change
// returns false when nothing is to be written. The locks are released on every way out.
template <typename Change>
bool EditPracticeBase(Change change) {
    FileGroupDesc rscuse = Group(kRscUseFile);
    RscUseKey key = KeyOf(kRscPractice, kPracticeId, 0);
    RscUsePracticeBase base{}, before{};
    uint16_t result = DbReadForUpdate(rscuse, kRscUseKey, &key, sizeof key, &base, true);
    if (result == kQdbNotFound) {
        ShowStop(kPracticeNotSetUp);
        return false;
    }
    if (result != kQdbOk) return false;
    if (!change(base)) {
        DbLock(0);
        return false;
    }
    return DbUpdateRecord(rscuse, kRscUseKey, &key, sizeof key, &before, &base, false) == kQdbOk;
}

// Reports a read of the layer that failed for another reason than a missing record; false.
bool ReportReadFailure(int data_file) {
    DbReportError(data_file, db_state.lastError, db_state.lastFile);
    return false;
}

// Walks the records of a set on an open group: visit(record) for each, in key order.
template <typename Record, typename Visit>
void WalkSet(int key, const void* prefix, int prefix_length, Visit visit) {
    Record record{};
    for (uint16_t r = DbStartSetForward(key, DbPrepareKey(prefix), &record, prefix_length); r == kQdbOk;
         r = DbNextInSet(key, &record))
        visit(record);
}

}  // namespace

int32_t WeekStartOf(int32_t date) { return date - (QVN_week_day(date) - 1); }
int WeekdayIndex(int32_t date) { return QVN_week_day(date) - 1; }

bool LoadPractice() {
    ResourceRecord resource{};
    ResourceKey resource_key{kResourceKindPractice, {}};
    std::memcpy(resource_key.id, kPracticeId, 4);
    if (DbFindRecord(Group(kResourceFile), kResourceKey, &resource_key, sizeof resource_key, &resource) != kQdbOk) {
        ShowQuorvinStop(kNoPractice);
        return false;
    }
    DbGroupScope rscuse(Group(kRscUseFile));
    if (rscuse.Result() != kQdbOk) {
        ShowQuorvinStop(kCheckRscUse);
        return false;
    }
    // A practice without its base record gets the default hours; a record that cannot be read is
    // a failure, never taken for a missing one.
    RscUsePracticeBase base{};
    const uint16_t read = ReadRscUse(KeyOf(kRscPractice, kPracticeId, 0), &base);
    if (read == kQdbNotFound) base = DefaultPracticeBase();
    else if (read != kQdbOk) return ReportReadFailure(kRscUseFile);

    std::unique_ptr<PracticeInfo> info(new (std::nothrow) PracticeInfo{});
    if (!info) {
        ShowQuorvinStop(kOutOfMemory);
        return false;
    }
    std::memcpy(info->defaultStart, base.defaultStart, sizeof info->defaultStart);
    std::memcpy(info->defaultEnd, base.defaultEnd, sizeof info->defaultEnd);
    info->blockSize = base.blockSize;
    std::memcpy(info->practiceBlock, resource.practiceBlock, sizeof info->practiceBlock);
    std::memcpy(info->holidays, base.holidays, sizeof info->holidays);
    practice_tables.practice = std::move(info);
    practice_tables.blockUnits = base.blockSize;
    practice_tables.blockMinutes = base.blockSize * 5;
    return true;
}

int LoadProviders() {
    practice_tables.providers.clear();
    DbGroupScope resources(Group(kResourceFile));
    DbGroupScope rscuse(Group(kRscUseFile));
    if (resources.Result() != kQdbOk) return 0;
    const PracticeInfo* practice = practice_tables.practice.get();
    uint8_t kind = kResourceKindProvider;
    WalkSet<ResourceRecord>(kResourceKey, &kind, 1, [&](const ResourceRecord& r) {
        ProviderInfo p{};
        std::memcpy(p.id, r.id, 4);
        p.attribute = r.attribute;
        std::memcpy(p.operatoryBitmap, r.operatoryBitmap, sizeof p.operatoryBitmap);
        p.listExclusion = r.inactive;
        RscUseProviderBase base{};
        const uint16_t read = rscuse.Result() == kQdbOk ? ReadRscUse(KeyOf(kRscProvider, r.id, 0), &base) : rscuse.Result();
        if (rscuse.Result() == kQdbOk && read != kQdbOk && read != kQdbNotFound) ReportReadFailure(kRscUseFile);
        if (read == kQdbOk) {
            p.colour = base.colour;
            std::memcpy(p.defaultStart, base.defaultStart, sizeof p.defaultStart);
            std::memcpy(p.defaultEnd, base.defaultEnd, sizeof p.defaultEnd);
            std::memcpy(p.blockNames, base.blockNames, sizeof p.blockNames);
            std::memcpy(p.blockStart, base.blockStart, sizeof p.blockStart);
            std::memcpy(p.blockEnd, base.blockEnd, sizeof p.blockEnd);
            std::memcpy(p.aliases, base.aliases, sizeof p.aliases);
            std::memcpy(p.goals, base.goals, sizeof p.goals);
            std::memcpy(p.blockColour, base.blockColour, sizeof p.blockColour);
            std::memcpy(p.blockType, base.blockType, sizeof p.blockType);
            std::memcpy(p.blockOperatory, base.blockOperatory, sizeof p.blockOperatory);
        } else {
            p.colour = kDefaultProviderColours[practice_tables.providers.size() % 8];
            if (practice) {
                std::memcpy(p.defaultStart, practice->defaultStart, sizeof p.defaultStart);
                std::memcpy(p.defaultEnd, practice->defaultEnd, sizeof p.defaultEnd);
            }
            for (int d = 0; d < 7; ++d)
                for (int b = 0; b < kTimeBlocks; ++b) p.blockStart[d][b] = p.blockEnd[d][b] = kNoTime;
        }
        practice_tables.providers.push_back(p);
    });
    return static_cast<int>(practice_tables.providers.size());
}

int LoadOperatories() {
    practice_tables.operatories.clear();
    DbGroupScope resources(Group(kResourceFile));
    if (resources.Result() != kQdbOk) return 0;
    uint8_t kind = kResourceKindOperatory;
    WalkSet<ResourceRecord>(kResourceKey, &kind, 1, [&](const ResourceRecord& r) {
        OperatoryInfo o{};
        std::memcpy(o.id, r.id, 4);
        o.number = r.attribute;
        practice_tables.operatories.push_back(o);
    });
    return static_cast<int>(practice_tables.operatories.size());
}

int LoadTypeNames() {
    std::memset(practice_tables.typeNames, 0, sizeof practice_tables.typeNames);
    practice_tables.typeCount = 0;
    DbGroupScope definitions(Group(kDefinitionFile));
    if (definitions.Result() != kQdbOk) return 0;
    uint8_t kind = kDefinitionAppointmentType;
    bool ended = false;
    WalkSet<DefinitionRecord>(kDefinitionKey, &kind, 1, [&](const DefinitionRecord& d) {
        if (ended || practice_tables.typeCount == kTypeNameSlots || d.text[0] == 0) {
            ended = true;  // the first empty slot ends the list
            return;
        }
        std::memcpy(practice_tables.typeNames[practice_tables.typeCount++], d.text, kTypeNameLength - 1);
    });
    return practice_tables.typeCount;
}

void LoadStatusTables() {
    std::vector<DefinitionRecord> records;
    {
        DbGroupScope definitions(Group(kDefinitionFile));
        uint8_t kind = kDefinitionAppointmentStatus;
        if (definitions.Result() == kQdbOk)
            WalkSet<DefinitionRecord>(kDefinitionKey, &kind, 1, [&](const DefinitionRecord& d) { records.push_back(d); });
    }
    std::vector<StatusDefinition> statuses;
    for (const DefinitionRecord& d : records) statuses.push_back({d.number, d.colourCode, d.colour, d.text});
    practice_tables.statuses = BuildStatusTables(statuses);
}

bool LoadPracticeTables() {
    practice_tables = PracticeTables{};
    if (!LoadPractice()) return false;
    LoadProviders();
    LoadOperatories();
    for (int i = 0; i < static_cast<int>(practice_tables.providers.size()) && i < kMaxShownResources; ++i)
        practice_tables.shownProviders.push_back(i);
    for (int i = 0; i < static_cast<int>(practice_tables.operatories.size()) && i < kMaxShownResources; ++i)
        practice_tables.shownOperatories.push_back(i);
    LoadTypeNames();
    LoadStatusTables();
    return true;
}

int FindProviderIndex(const char id[4]) {
    for (size_t i = 0; i < practice_tables.providers.size(); ++i)
        if (std::memcmp(practice_tables.providers[i].id, id, 4) == 0) return static_cast<int>(i);
    return -1;
}

std::vector<DayHours> GetPracticeHours(const std::vector<int32_t>& dates) {
    const PracticeInfo* p = practice_tables.practice.get();
    if (!p) return std::vector<DayHours>(dates.size(), DayHours{{-1, -1, -1}, {-1, -1, -1}, 0});
    return HoursOf(kRscPractice, kPracticeId, WeekHours::DefaultsOf(*p), dates);
}

std::vector<DayHours> GetProviderHours(int provider_index, const std::vector<int32_t>& dates) {
    if (provider_index < 0 || provider_index >= static_cast<int>(practice_tables.providers.size()))
        return std::vector<DayHours>(dates.size(), DayHours{{-1, -1, -1}, {-1, -1, -1}, 0});
    const ProviderInfo& p = practice_tables.providers[static_cast<size_t>(provider_index)];
    return HoursOf(kRscProvider, p.id, WeekHours::DefaultsOf(p), dates);
}

namespace {
template <typename Practice>
int HolidayKindOf(const Practice& p, int32_t date) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(date, &month, &day, &year);
    int match = MatchingHoliday(p.holidays, month, day);
    if (match >= 0) return p.holidays[match].kind;
    return p.defaultStart[WeekdayIndex(date)][0] == kNoTime ? 1 : 0;
}
}  // namespace

int HolidayKind(int32_t date) {
    const PracticeInfo* p = practice_tables.practice.get();
    return p ? HolidayKindOf(*p, date) : 0;
}

int HolidayKindIn(const RscUsePracticeBase& base, int32_t date) { return HolidayKindOf(base, date); }

DayHours WeekDayHours(const RscUseWeek* week, const RscUsePracticeBase& base, int weekday) {
    return DayHoursOf(week, WeekHours::DefaultsOf(base), weekday);
}

DayHours WeekDayHours(const RscUseWeek* week, const ProviderInfo& provider, int weekday) {
    return DayHoursOf(week, WeekHours::DefaultsOf(provider), weekday);
}

bool SetHoliday(int month, int day, int kind) {
    return EditPracticeBase([&](RscUsePracticeBase& base) {
        if (MatchingHoliday(base.holidays, month, day) >= 0) return false;
        for (int i = 0; i < kHolidaySlots; ++i) {
            if (base.holidays[i].kind != 0) continue;
            HolidayEntry entry{static_cast<uint8_t>(month), static_cast<uint8_t>(day), 0, static_cast<uint8_t>(kind)};
            base.holidays[i] = entry;
            if (practice_tables.practice) practice_tables.practice->holidays[i] = entry;
            return true;
        }
        ShowStop(kHolidaysFull);
        return false;
    });
}

bool DeleteHoliday(int month, int day) {
    return EditPracticeBase([&](RscUsePracticeBase& base) {
        int match = MatchingHoliday(base.holidays, month, day);
        if (match < 0) return false;
        base.holidays[match] = HolidayEntry{};
        if (practice_tables.practice) practice_tables.practice->holidays[match] = HolidayEntry{};
        return true;
    });
}

uint16_t WriteDay(uint8_t kind, const char id[4], int32_t date, const int32_t start[3], const int32_t end[3],
                  int flag) {
    RscUseKey key = KeyOf(kind, id, static_cast<uint32_t>(WeekStartOf(date)));
    return EditLocked<RscUseWeek>(kRscUseFile, kRscUseKey, key, [&](RscUseWeek& week, bool exists) {
        if (!exists) {
            week = RscUseWeek{};
            week.head.week = key.week;
            week.head.kind = kind;
            std::memcpy(week.head.id, id, 4);
        }
        int w = WeekdayIndex(date);
        for (int i = 0; i < 3; ++i) {
            week.start[w][i] = ToRecord(start[i]);
            week.end[w][i] = ToRecord(end[i]);
        }
        if (flag >= 2) week.dayFlags[w] |= kDayClosed;
        else week.dayFlags[w] &= static_cast<uint8_t>(~kDayClosed);
        return LockedEdit::kWrite;
    });
}

bool ClearBlocksInOverride(RscUseBlockOverride& record, const bool deleted[kTimeBlocks], int only_weekday, bool* empty) {
    bool changed = false;
    for (int w = 0; w < 7; ++w) {
        if (only_weekday >= 0 && w != only_weekday) continue;
        for (int b = 0; b < kTimeBlocks; ++b) {
            if (!deleted[b] || (record.start[w][b] == kBlockKeepsDefault && record.end[w][b] == kBlockKeepsDefault))
                continue;
            record.start[w][b] = record.end[w][b] = kBlockKeepsDefault;
            changed = true;
        }
    }
    *empty = true;
    for (int w = 0; w < 7 && *empty; ++w)
        for (int s = 0; s < kOverrideSlots; ++s)
            if (record.start[w][s] < kBlockKeepsDefault) *empty = false;
    return changed;
}
