// The free-time search. One date is worked out whole, in a fixed order (provider, time block,
// the provider's free stretch, operatory, time), and every time it yields carries that order as
// its key; a page hands out the times whose keys are not below the saved position, so page after
// page is one walk without repeat or gap however the page boundary falls.
#include "appointments/find_time.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "data/rscuse_record.h"
#include "data/time_pattern.h"
#include "suite/dates.h"
#include "suite/times.h"

namespace {

const char kNoPossibleMatch[] = "No possible match.  Search terminated!";
const char kNoMatchFound[] = "No match found.  Search terminated!";
const char kNotAssigned[] =
    "Searching by assigned operatories may not be used unless a selected provider has been\n"
    "assigned to a selected operatory from \"Practice Resource\", \"Provider Information\".";

struct Span {
    int start = 0;
    int end = 0;  // one past the last unit
    int Length() const { return end - start; }
};

bool IsBlank(const char id[4]) {
    for (int i = 0; i < 4; ++i)
        if (id[i] != ' ' && id[i] != 0) return false;
    return true;
}

bool SameId(const char a[4], const char b[4]) { return std::memcmp(a, b, 4) == 0; }

FileGroupDesc RscUseGroup() {
    FileGroupDesc d{};
    DbGroupOf(kRscUseFile, &d);
    return d;
}

// The schedule records of one page's walk, each read once: a week's dates share them. A record
// that cannot be read counts as missing for that resource and week.
class WeekCache {
public:
    const uint8_t* Find(uint8_t kind, const char id[4], int32_t week) {
        RscUseKey key{kind, {}, static_cast<uint32_t>(week)};
        std::memcpy(key.id, id, 4);
        const std::string name(reinterpret_cast<const char*>(&key), sizeof key);
        auto it = found_.find(name);
        if (it == found_.end()) {
            std::vector<uint8_t> record(kRscUseRecordLength);
            if (DbFind(kRscUseKey, DbPrepareKey(&key), record.data()) != kQdbOk) record.clear();
            it = found_.emplace(name, std::move(record)).first;
        }
        return it->second.empty() ? nullptr : it->second.data();
    }
    void Forget() { found_.clear(); }

private:
    std::map<std::string, std::vector<uint8_t>> found_;
};

// A block's window on a weekday, the week's kind-4 override in place of the block's own times
// where it holds one; false when the block has no name or no time that day.
bool BlockWindow(const ProviderInfo& provider, int block, int weekday, const RscUseBlockOverride* override_record,
                 Span* window) {
    if (provider.blockNames[block][0] == 0) return false;
    int start = provider.blockStart[weekday][block];
    int end = provider.blockEnd[weekday][block];
    if (override_record && override_record->start[weekday][block] < kBlockKeepsDefault) {
        start = override_record->start[weekday][block];
        end = override_record->end[weekday][block];
    }
    if (start >= kSlotsPerDay || end > kSlotsPerDay || start >= end) return false;
    *window = Span{start, end};
    return true;
}

// A block's operatory, or false when it has none ("<" starts the text of "none").
bool BlockOperatory(const ProviderInfo& provider, int block, char out[4]) {
    const char* id = provider.blockOperatory[block];
    if (IsBlank(id) || id[0] == '<') return false;
    std::memcpy(out, id, 4);
    return true;
}

const RscUseBlockOverride* OverrideOf(WeekCache& cache, const ProviderInfo& provider, int32_t week,
                                      RscUseBlockOverride* buffer) {
    const uint8_t* found = cache.Find(kRscBlockOverride, provider.id, week);
    if (!found) return nullptr;
    std::memcpy(buffer, found, sizeof *buffer);
    return buffer;
}

// Clips an interval to [low, high): a bound below 1 is open. False when nothing is left.
bool Clip(int* start, int* end, int low, int high) {
    if (low >= 1 && low > *start) *start = low;
    if (high >= 1 && high < *end) *end = high;
    return *start < *end;
}

// Busy units of one date for one resource kind: a unit is busy when any of the identifiers
// marks it. A missing week record is free for that identifier only.
struct DayMarks {
    bool closed = false;  // day flag 2 or more on one of the identifiers
    std::array<bool, kSlotsPerDay> busy{};
};

void AddMarks(WeekCache& cache, uint8_t kind, const char id[4], int32_t week, int weekday, DayMarks* marks) {
    const uint8_t* found = cache.Find(kind, id, week);
    if (!found) return;
    RscUseWeek record;
    std::memcpy(&record, found, sizeof record);
    if (kind == kRscProvider && record.dayFlags[weekday] >= kDayClosed) marks->closed = true;
    for (int u = 0; u < kSlotsPerDay; ++u)
        if (SlotCounter(record.occupancy[weekday], u) != 0) marks->busy[static_cast<size_t>(u)] = true;
}

// The first run of units free in marks at least length long that starts at or after from and
// ends by within.end, extended as long as the units stay free; false when none. A run exactly
// length long, even one that starts right at from, is found.
bool FirstFreeRun(const std::array<bool, kSlotsPerDay>& busy, Span within, int from, int length, Span* run) {
    int run_start = std::max(from, within.start);
    for (int u = run_start; u < within.end; ++u) {
        if (busy[static_cast<size_t>(u)]) {
            run_start = u + 1;
            continue;
        }
        if (u + 1 - run_start >= length) {
            int end = u + 1;
            while (end < within.end && !busy[static_cast<size_t>(end)]) ++end;
            *run = Span{run_start, end};
            return true;
        }
    }
    return false;
}

// Ordering key of a found time inside its date: provider position, block position, start of the
// provider's free stretch, operatory position, start of the time.
using Place = std::tuple<int, int, int, int, int>;

struct Candidate {
    Place place;
    FoundTime found;
};

class Search {
public:
    explicit Search(FindTimeRequest* request) : r_(*request) {}

    FindEnd Run(int page_size, std::vector<FoundTime>* out);
    int32_t LastDate() const { return last_date_; }

private:
    void Date(int32_t date, std::vector<Candidate>* times);
    void ProviderPass(int32_t date, int provider_pos, int block, const std::vector<Span>& day,
                      const std::vector<int>& operatories, std::vector<Candidate>* times);
    bool Assigned(const ProviderInfo* provider, const char operatory[4]);
    void SavePlace(int32_t date, const Place& place);
    void ResetPlace();

    FindTimeRequest& r_;
    WeekCache cache_;
    int failures_ = 0;
    int32_t last_date_ = 0;
    bool assigned_seen_ = false;
    int32_t hours_week_ = -1;
    std::map<int, std::vector<DayHours>> provider_hours_;  // of hours_week_, by provider index
    // Units already offered to the provider in each operatory on this date: blocks of a by-type
    // search may overlap, and one provider is never offered the same operatory time twice.
    // Another provider starts afresh: the same stretch is a different booking for each.
    std::vector<std::array<bool, kSlotsPerDay>> offered_;
};

bool Search::Assigned(const ProviderInfo* provider, const char operatory[4]) {
    if (!r_.assignedOnly) return true;
    if (!provider) return false;
    // Up to 20 assigned operatories by number, as the assignment table holds them.
    std::vector<const OperatoryInfo*> assigned;
    for (int n = 0; n < kOperatoryBitmapBytes * 8 && assigned.size() < kFindMaxResources; ++n) {
        if (!(provider->operatoryBitmap[n / 8] >> (n % 8) & 1)) continue;
        for (const OperatoryInfo& o : practice_tables.operatories)
            if (o.number == n) {
                assigned.push_back(&o);
                break;
            }
    }
    for (const OperatoryInfo* o : assigned)
        if (SameId(o->id, operatory)) {
            assigned_seen_ = true;
            return true;
        }
    return false;
}

void Search::ProviderPass(int32_t date, int provider_pos, int block, const std::vector<Span>& day,
                          const std::vector<int>& operatories, std::vector<Candidate>* times) {
    const char* id = r_.providers[provider_pos];
    const int index = FindProviderIndex(id);
    const ProviderInfo* provider = index < 0 ? nullptr : &practice_tables.providers[static_cast<size_t>(index)];
    const int32_t week = WeekStartOf(date);
    const int w = WeekdayIndex(date);
    const int length = r_.length;

    // The provider's own hours; a blank identifier is not held to any.
    std::vector<Span> pieces;
    if (IsBlank(id)) {
        pieces = day;
    } else {
        if (!provider_hours_.count(index)) {
            std::vector<int32_t> dates;
            for (int d = 0; d < 7; ++d) dates.push_back(week + d);
            provider_hours_[index] = GetProviderHours(index, dates);
        }
        const DayHours& hours = provider_hours_[index][static_cast<size_t>(w)];
        if (hours.flag >= kDayClosed) return;  // on vacation
        // Every provider interval is tried against every interval of the day: a provider who
        // works 9-11 and 1-3:30 is found in the afternoon as well.
        for (const Span& s : day)
            for (int i = 0; i < 3; ++i) {
                if (hours.start[i] < 0 || hours.end[i] < 0) continue;
                Span piece{std::max(s.start, static_cast<int>(hours.start[i])),
                           std::min(s.end, static_cast<int>(hours.end[i]))};
                if (piece.start < piece.end) pieces.push_back(piece);
            }
        std::sort(pieces.begin(), pieces.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    }

    // The provider and each alias on their own week records.
    DayMarks provider_marks;
    if (!IsBlank(id)) {
        AddMarks(cache_, kRscProvider, id, week, w, &provider_marks);
        if (provider)
            for (int a = 0; a < kProviderAliases && provider->aliases[a][0]; ++a)
                AddMarks(cache_, kRscProvider, provider->aliases[a], week, w, &provider_marks);
    }
    if (provider_marks.closed) return;

    for (const Span& piece : pieces) {
        if (piece.Length() < length) {
            ++failures_;
            continue;
        }
        Span stretch;
        for (int from = piece.start; FirstFreeRun(provider_marks.busy, piece, from, length, &stretch);
             from = stretch.end) {
            for (int op_pos : operatories) {
                const char* operatory = r_.operatories[op_pos];
                if (!Assigned(provider, operatory)) continue;
                DayMarks room;
                AddMarks(cache_, kRscOperatory, operatory, week, w, &room);
                for (int u = stretch.start; u < stretch.end; ++u)
                    room.busy[static_cast<size_t>(u)] =
                        room.busy[static_cast<size_t>(u)] || offered_[static_cast<size_t>(op_pos)][static_cast<size_t>(u)];
                Span run;
                for (int at = stretch.start; FirstFreeRun(room.busy, stretch, at, length, &run); at = run.end) {
                    for (int u = run.start; u < run.end; ++u)
                        offered_[static_cast<size_t>(op_pos)][static_cast<size_t>(u)] = true;
                    Candidate c;
                    c.place = Place{provider_pos, block, stretch.start, op_pos, run.start};
                    c.found = FoundTime{date, run.Length(), run.start, {}, {}};
                    std::memcpy(c.found.operatory, operatory, 4);
                    std::memcpy(c.found.provider, id, 4);
                    times->push_back(c);
                }
            }
        }
    }
}

void Search::Date(int32_t date, std::vector<Candidate>* times) {
    const int32_t week = WeekStartOf(date);
    if (week != hours_week_) {
        ComputeSearchableWeek(&r_, date);
        hours_week_ = week;
        provider_hours_.clear();
    }
    const int w = WeekdayIndex(date);
    if (r_.weekDayFlags[w] != 0 || r_.weekStarts[w][0] < 0) return;
    std::vector<Span> day;
    for (int i = 0; i < 3; ++i)
        if (r_.weekStarts[w][i] >= 0 && r_.weekEnds[w][i] > r_.weekStarts[w][i])
            day.push_back(Span{r_.weekStarts[w][i], std::min(int{r_.weekEnds[w][i]}, kSlotsPerDay)});

    std::vector<int> all_operatories;
    for (int o = 0; o < r_.operatoryCount && o < kFindMaxResources; ++o) all_operatories.push_back(o);
    const bool by_type = r_.blockType != kFindAnyType;

    for (int p = 0; p < r_.providerCount && p < kFindMaxResources; ++p) {
        offered_.assign(static_cast<size_t>(kFindMaxResources), std::array<bool, kSlotsPerDay>{});
        if (!by_type) {
            ProviderPass(date, p, 0, day, all_operatories, times);
            continue;
        }
        const int index = FindProviderIndex(r_.providers[p]);
        if (index < 0) continue;
        const ProviderInfo& provider = practice_tables.providers[static_cast<size_t>(index)];
        RscUseBlockOverride buffer;
        const RscUseBlockOverride* override_record = OverrideOf(cache_, provider, week, &buffer);
        for (int b = 0; b < kTimeBlocks; ++b) {
            Span window;
            char operatory[4];
            if (!BlockWindow(provider, b, w, override_record, &window) || !BlockOperatory(provider, b, operatory))
                continue;
            const uint8_t type = provider.blockType[b][0];
            if (r_.blockType != 0 && type != 0 && type != kFindAnyType && type != r_.blockType) continue;
            std::vector<int> only;
            for (int o : all_operatories)
                if (SameId(r_.operatories[o], operatory)) only.push_back(o);
            if (only.empty()) continue;
            // Each block's pass stays inside that block's window.
            std::vector<Span> clipped;
            for (Span s : day)
                if (Clip(&s.start, &s.end, window.start, window.end)) clipped.push_back(s);
            ProviderPass(date, p, b, clipped, only, times);
        }
    }
    std::sort(times->begin(), times->end(), [](const Candidate& a, const Candidate& b) { return a.place < b.place; });
}

void Search::SavePlace(int32_t date, const Place& place) {
    // The request is packed: its fields take values, never references.
    r_.resumeDate = date;
    r_.resumeProvider = std::get<0>(place);
    r_.resumeBlock = std::get<1>(place);
    r_.resumeTime = std::get<2>(place);
    r_.resumeOperatory = std::get<3>(place);
    r_.resumeOperatoryTime = std::get<4>(place);
}

void Search::ResetPlace() { SavePlace(0, Place{0, 0, 0, 0, 0}); }

FindEnd Search::Run(int page_size, std::vector<FoundTime>* out) {
    out->clear();
    DbGroupScope group(RscUseGroup());
    const int32_t first = r_.resumeDate ? r_.resumeDate : r_.startDate;
    const Place resume{int{r_.resumeProvider}, int{r_.resumeBlock}, int{r_.resumeTime}, int{r_.resumeOperatory},
                       int{r_.resumeOperatoryTime}};
    bool failed_out = false;
    for (int32_t date = first; date <= first + kFindDayWindow; ++date) {
        last_date_ = date;
        if (HolidayKind(date) >= 2) continue;
        std::vector<Candidate> times;
        Date(date, &times);
        for (const Candidate& c : times) {
            if (date == r_.resumeDate && c.place < resume) continue;  // handed out on an earlier page
            if (static_cast<int>(out->size()) == page_size) {
                SavePlace(date, c.place);
                return FindEnd::kPage;
            }
            out->push_back(c.found);
        }
        if (failures_ > kFindFailureLimit) {
            // The page ends early; the next one goes on with the following date.
            failed_out = true;
            SavePlace(date + 1, Place{0, 0, 0, 0, 0});
            break;
        }
        if (date == first + kFindDayWindow) SavePlace(date + 1, Place{0, 0, 0, 0, 0});
    }
    if (!out->empty()) return FindEnd::kPage;
    ResetPlace();
    if (failed_out) return FindEnd::kNoPossible;
    if (r_.assignedOnly && !assigned_seen_) return FindEnd::kNotAssigned;
    return FindEnd::kNoMatch;
}

}  // namespace

FindTimeRequest NewFindTimeRequest(int32_t start_date, int length_minutes) {
    FindTimeRequest r{};
    r.startDate = start_date;
    r.length = length_minutes / 5;
    r.blockType = kFindAnyType;
    for (uint8_t& d : r.weekdays) d = 1;
    r.rangeStart = r.rangeEnd = -1;
    r.blockProvider = r.blockPosition = -1;
    return r;
}

void AddFindProvider(FindTimeRequest* request, const char id[4]) {
    if (request->providerCount >= kFindMaxResources) return;
    std::memcpy(request->providers[request->providerCount++], id, 4);
}

void AddFindOperatory(FindTimeRequest* request, const char id[4]) {
    if (request->operatoryCount >= kFindMaxResources) return;
    std::memcpy(request->operatories[request->operatoryCount++], id, 4);
}

void ComputeSearchableWeek(FindTimeRequest* r, int32_t date) {
    const int32_t week = WeekStartOf(date);
    std::vector<int32_t> dates;
    for (int d = 0; d < 7; ++d) dates.push_back(week + d);
    const std::vector<DayHours> practice = GetPracticeHours(dates);

    const ProviderInfo* block_provider = nullptr;
    if (r->blockPosition >= 0 && r->blockPosition < kTimeBlocks && r->blockProvider >= 0 &&
        r->blockProvider < r->providerCount) {
        const int index = FindProviderIndex(r->providers[r->blockProvider]);
        if (index >= 0) block_provider = &practice_tables.providers[static_cast<size_t>(index)];
    }
    RscUseBlockOverride override_buffer{};
    const RscUseBlockOverride* override_record = nullptr;
    if (block_provider) {
        DbGroupScope group(RscUseGroup());
        RscUseKey key{kRscBlockOverride, {}, static_cast<uint32_t>(week)};
        std::memcpy(key.id, block_provider->id, 4);
        if (group.Result() == kQdbOk && DbFind(kRscUseKey, DbPrepareKey(&key), &override_buffer) == kQdbOk)
            override_record = &override_buffer;
    }

    for (int w = 0; w < 7; ++w) {
        int starts[3], ends[3], used = 0;
        r->weekDayFlags[w] = 0;
        if (r->weekdays[w]) {
            r->weekDayFlags[w] = practice[static_cast<size_t>(w)].flag;
            Span window{0, kSlotsPerDay};
            const bool has_window =
                !block_provider || BlockWindow(*block_provider, r->blockPosition, w, override_record, &window);
            for (int i = 0; i < 3 && has_window; ++i) {
                int s = practice[static_cast<size_t>(w)].start[i], e = practice[static_cast<size_t>(w)].end[i];
                if (s < 0 || e < 0) continue;
                if (!Clip(&s, &e, r->rangeStart, r->rangeEnd)) continue;
                if (block_provider && !Clip(&s, &e, window.start, window.end)) continue;
                starts[used] = s;
                ends[used] = e;
                ++used;
            }
        }
        for (int i = 0; i < 3; ++i) {
            r->weekStarts[w][i] = i < used ? starts[i] : -1;
            r->weekEnds[w][i] = i < used ? ends[i] : -1;
        }
    }
}

FindEnd SearchFreeTimes(FindTimeRequest* request, int page_size, std::vector<FoundTime>* out, int32_t* last_date) {
    Search search(request);
    const FindEnd end = search.Run(page_size, out);
    if (last_date) *last_date = search.LastDate();
    return end;
}

const char* FindEndMessage(FindEnd end) {
    switch (end) {
        case FindEnd::kNoPossible: return kNoPossibleMatch;
        case FindEnd::kNoMatch: return kNoMatchFound;
        case FindEnd::kNotAssigned: return kNotAssigned;
        case FindEnd::kPage: break;
    }
    return "";
}

std::string FoundTimeRow(const FoundTime& f) {
    const std::string weekday = QVN_getday_name(QVN_week_day(f.date));
    return weekday.substr(0, 3) + "\t " + QVN_fmtDateString2000(f.date) + " " + QVN_FormatPackTime(f.start) + " - " +
           QVN_FormatPackTime(f.start + f.length) + "\t " + std::string(f.provider, 4) + " : " +
           std::string(f.operatory, 4) + " ";
}
