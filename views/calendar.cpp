// The schedule calendar's month, its cell texts and colours, and its schedule changes.
#include "views/calendar.h"

#include <cstdio>
#include <cstring>

#include "data/db_access.h"
#include "data/record_locks.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb_handles.h"
#include "suite/records/practice_resource.h"
#include "suite/records/provider_statistics.h"

const char kCalendarPracticeClosed[] = "The practice is closed on the selected date.";
const char kCalendarChangedElsewhere[] =
    "The schedule of the selected date has been changed at another workstation. Action canceled!";

namespace {

constexpr uint32_t kGrey = 0x00DCDCDC;
constexpr uint32_t kPink = 0x009191FF;
constexpr uint32_t kBlueGrey = 0x00C89191;

FileGroupDesc GroupOf(int file) {
    FileGroupDesc d{};
    DbGroupOf(file, &d);
    return d;
}

RscUseKey KeyOf(uint8_t kind, const char* id, uint32_t week) {
    RscUseKey key{kind, {}, week};
    std::memcpy(key.id, id, 4);
    return key;
}

#pragma pack(push, 1)
struct StatisticsKey {
    char provider[4];
    uint16_t kind;
    uint16_t year;
    uint16_t month;
};
#pragma pack(pop)

int32_t DateOf(const CalendarMonth& m, int day) { return QVN_DateIn(m.place.month, day, m.place.year); }

bool Closed(const DayHours& h) { return (h.flag & kDayClosed) != 0; }
bool PracticeClosed(const CalendarDay& d, int mode) {
    return d.holidayKind != 0 || Closed(mode == kCalendarProvider ? d.practice : d.own);
}

// Whether two readings of a date agree on what the calendar acts on: hours, the closed bit and
// the holiday kind (a booking meanwhile only sets the appointments bit).
bool SameHours(const DayHours& a, const DayHours& b) {
    for (int i = 0; i < 3; ++i)
        if (a.start[i] != b.start[i] || a.end[i] != b.end[i]) return false;
    return Closed(a) == Closed(b);
}
bool SameDay(int mode, const CalendarDay& a, const CalendarDay& b) {
    return a.holidayKind == b.holidayKind && SameHours(a.own, b.own) &&
           (mode != kCalendarProvider || SameHours(a.practice, b.practice));
}

void PutHours(RscUseWeek& week, int w, const int32_t start[3], const int32_t end[3]) {
    for (int i = 0; i < 3; ++i) {
        week.start[w][i] = start[i] < 0 ? kNoTime : static_cast<uint16_t>(start[i]);
        week.end[w][i] = end[i] < 0 ? kNoTime : static_cast<uint16_t>(end[i]);
    }
}

// Reads one RscUse record by key on the private session: true when found; *failed when the
// engine failed for another reason (told to the user).
bool Find(QdbSession s, QdbFile f, const RscUseKey& key, void* record, bool* failed) {
    if (QDB_FindRec(f, kRscUseKey, &key, record)) return true;
    if (QDB_GetLastErrorNum(s) != kQdbNotFound) {
        DbReportError(kRscUseFile, QDB_GetLastErrorNum(s), QDB_GetLastFileNum(s));
        *failed = true;
    }
    return false;
}

// One change of a shown date: the base practice record, the practice's week record and the
// calendar's own week record are locked first (in the one order), read again and compared with
// what the calendar shows; edit decides on the fresh reading and changes the own week record,
// which is then written in one engine transaction. Every lock goes with the private session.
template <typename Edit>
CalendarChange ChangeDate(const CalendarMonth& m, int day, Edit edit) {
    if (day < 1 || day > m.days) return CalendarChange::kNothing;
    const int32_t date = DateOf(m, day);
    const int w = WeekdayIndex(date);
    const uint32_t week = static_cast<uint32_t>(WeekStartOf(date));
    const bool provider = m.mode == kCalendarProvider;
    const int provider_index = provider ? FindProviderIndex(m.resource.data()) : -1;
    if (provider && provider_index < 0) return CalendarChange::kFailed;

    QdbPrivateSession session{DbStartOwnSession(kRscUseFile)};
    QdbOpenedFile file(session.Handle(), kRscUseFile);
    const QdbSession s = session.Handle();
    const QdbFile f = file.Handle();
    if (!s) return CalendarChange::kFailed;  // the user was told
    if (!f) {
        ReportChangeFailure(s, kDbMsgOpen, kRscUseFile);
        return CalendarChange::kFailed;
    }
    const RscUseKey base_key = KeyOf(kRscPractice, kPracticeId, 0);
    const RscUseKey practice_key = KeyOf(kRscPractice, kPracticeId, week);
    const RscUseKey own_key = provider ? KeyOf(kRscProvider, m.resource.data(), week) : practice_key;
    RecordLockSet locks(s);
    locks.Add(f, kRscUseFile, kRscUseKey, &base_key, sizeof base_key);
    locks.Add(f, kRscUseFile, kRscUseKey, &practice_key, sizeof practice_key);
    locks.Add(f, kRscUseFile, kRscUseKey, &own_key, sizeof own_key);
    if (!locks.TakeAll()) return CalendarChange::kFailed;

    bool failed = false;
    RscUsePracticeBase base{};
    RscUseWeek practice_week{}, own_week{};
    const bool have_base = Find(s, f, base_key, &base, &failed);
    const bool have_practice = !failed && Find(s, f, practice_key, &practice_week, &failed);
    const bool have_own = !failed && Find(s, f, own_key, &own_week, &failed);
    if (failed) return CalendarChange::kFailed;
    if (!have_base) {
        ShowStop(kPracticeNotSetUp);
        return CalendarChange::kFailed;
    }
    CalendarDay fresh;
    fresh.holidayKind = HolidayKindIn(base, date);
    fresh.practice = WeekDayHours(have_practice ? &practice_week : nullptr, base, w);
    fresh.own = provider ? WeekDayHours(have_own ? &own_week : nullptr,
                                        practice_tables.providers[static_cast<size_t>(provider_index)], w)
                         : fresh.practice;
    if (!SameDay(m.mode, fresh, m.day[day - 1])) return CalendarChange::kChangedElsewhere;

    if (!have_own) {
        own_week = RscUseWeek{};
        own_week.head.week = week;
        own_week.head.kind = own_key.kind;
        std::memcpy(own_week.head.id, own_key.id, 4);
    }
    const CalendarChange what = edit(fresh, have_own, own_week, w);
    if (what != CalendarChange::kWritten) return what;

    bool written = QDB_BeginTransaction(s) != 0;
    if (written) {
        written = have_own ? QDB_FindRec(f, kRscUseKey, &own_key, nullptr) && QDB_WriteRec(f, &own_week)
                           : QDB_AddRec(f, &own_week) != 0;
        written = written ? QDB_CommitTransaction(s) != 0 : (QDB_AbortTransaction(s), false);
    }
    if (!written) {
        ReportChangeFailure(s, kDbMsgWrite, kRscUseFile);
        return CalendarChange::kFailed;
    }
    return CalendarChange::kWritten;
}

}  // namespace

std::string CalendarTitle(int mode, const std::vector<CalendarId>& providers, const CalendarId& provider) {
    auto trimmed = [](const CalendarId& id) {
        std::string s(id.data(), 4);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
        return s;
    };
    if (mode == kCalendarPractice) return "Schedule Calendar for Practice";
    if (mode == kCalendarProvider) return "Schedule Calendar for " + trimmed(provider);
    std::string title = "Calendar for ";
    for (size_t i = 0; i < providers.size(); ++i) title += (i ? ", " : "") + trimmed(providers[i]);
    return title;
}

void LoadCalendarMonth(CalendarMonth* m) {
    m->days = QVN_DaysInMonth(m->place.month, m->place.year);
    std::memset(m->amounts, 0, sizeof m->amounts);
    std::vector<int32_t> dates;
    for (int d = 1; d <= m->days; ++d) dates.push_back(DateOf(*m, d));
    const std::vector<DayHours> practice = GetPracticeHours(dates);
    std::vector<DayHours> own = practice;
    if (m->mode == kCalendarProvider) own = GetProviderHours(FindProviderIndex(m->resource.data()), dates);
    for (int d = 0; d < 31; ++d) m->day[d] = CalendarDay{};
    for (int d = 0; d < m->days; ++d) {
        m->day[d].own = own[static_cast<size_t>(d)];
        m->day[d].practice = practice[static_cast<size_t>(d)];
        m->day[d].holidayKind = HolidayKind(dates[static_cast<size_t>(d)]);
    }
    if (m->mode == kCalendarPickDate)
        LoadCalendarAmounts(m->place.year, m->place.month, m->providers, QVN_SysDate(), m->amounts);
}

void LoadCalendarAmounts(int year, int month, const std::vector<CalendarId>& providers, int32_t today,
                         int32_t (&amounts)[kCalendarAmountSlots]) {
    std::memset(amounts, 0, sizeof amounts);
    const int32_t first = QVN_DateIn(month, 1, year);
    const int32_t last = first + QVN_DaysInMonth(month, year) - 1;
    DbReadSnapshot snapshot;
    {
        DbGroupScope rscuse(GroupOf(kRscUseFile));
        if (rscuse.Result() == kQdbOk) {
            RscUseWeek week{};
            for (int32_t sunday = WeekStartOf(first); sunday <= last; sunday += 7)
                for (const CalendarId& id : providers) {
                    const RscUseKey key = KeyOf(kRscProvider, id.data(), static_cast<uint32_t>(sunday));
                    if (DbFind(kRscUseKey, DbPrepareKey(&key), &week) != kQdbOk) continue;
                    for (int d = 0; d < 7; ++d) {
                        const int32_t date = sunday + d;
                        if (date < first || date > last) continue;
                        const auto cents = static_cast<int32_t>(week.scheduledAmount[d]);
                        amounts[date - first + 1] += cents;
                        amounts[kCalendarMonthTotal] += cents;
                    }
                }
        }
    }
    int today_month = 0, today_day = 0, today_year = 0;
    QVN_DateOut(today, &today_month, &today_day, &today_year);
    const bool current = today_month == month && today_year == year;
    DbGroupScope statistics(GroupOf(kProviderStatisticsFile));
    if (statistics.Result() != kQdbOk) return;
    auto read = [](const CalendarId& id, uint16_t kind, int y, int mo, ProviderStatisticsRecord* r) {
        StatisticsKey key{{}, kind, static_cast<uint16_t>(y), static_cast<uint16_t>(mo)};
        std::memcpy(key.provider, id.data(), 4);
        return DbFind(kProviderStatisticsKey, DbPrepareKey(&key), r) == kQdbOk;
    };
    for (const CalendarId& id : providers) {
        ProviderStatisticsRecord r{};
        if (read(id, kStatisticsGoal, year, month, &r)) amounts[kCalendarGoal] += static_cast<int32_t>(r.goal);
        if (read(id, kStatisticsMonth, year, month, &r) || (current && read(id, kStatisticsRunning, 0, 0, &r))) {
            amounts[kCalendarProduction] +=
                static_cast<int32_t>(r.production16 + r.production24 + r.production28 + r.production52);
            amounts[kCalendarNewPatients] += static_cast<int32_t>(r.newPatients);
        }
    }
}

void CalendarCellOf(const CalendarMonth& month, int day, int* row, int* column) {
    PickerCellOfDay(month.place, day, row, column);
    ++*row;
}

int CalendarDayAt(const CalendarMonth& month, int row, int column) {
    if (row < 1 || row > kPickerWeekRows || column < 0 || column >= kPickerColumns) return 0;
    return PickerDayAtCell(month.place, row - 1, column);
}

bool CalendarSummaryCell(int row, int column) { return row == 6 && column >= 3; }

CalendarShade CalendarShadeOf(int mode, const CalendarDay& day) {
    if (day.holidayKind == 1) return CalendarShade::kClosed;
    if (day.holidayKind >= 2) return CalendarShade::kHoliday;
    const DayHours& practice = mode == kCalendarProvider ? day.practice : day.own;
    if (practice.flag == 2) return CalendarShade::kClosed;
    if (practice.flag == 3) return CalendarShade::kHoliday;
    if (mode == kCalendarProvider && day.own.flag >= 2) return CalendarShade::kVacation;
    return CalendarShade::kPlain;
}

uint32_t CalendarShadeColour(CalendarShade shade) {
    switch (shade) {
    case CalendarShade::kClosed:
        return kGrey;
    case CalendarShade::kHoliday:
        return kPink;
    case CalendarShade::kVacation:
        return kBlueGrey;
    case CalendarShade::kPlain:
        break;
    }
    return 0;
}

std::string CalendarIntervalText(int32_t start, int32_t end) {
    auto hour12 = [](int32_t units) {
        const int h = static_cast<int>(units / 12) % 12;
        return h == 0 ? 12 : h;
    };
    const bool minutes = start % 12 != 0 || end % 12 != 0;
    char text[16];
    std::snprintf(text, sizeof text, minutes ? "%2d:%2d" : "%2d-%2d", hour12(start), hour12(end));
    return text;
}

std::vector<std::string> CalendarHoursLines(const DayHours& hours) {
    std::vector<std::string> lines;
    for (int i = 0; i < 3; ++i) {
        if (hours.start[i] < 0 || hours.end[i] < 0) break;
        lines.push_back(CalendarIntervalText(hours.start[i], hours.end[i]));
    }
    return lines;
}

std::string CalendarAmountText(int32_t cents, CalendarShade shade) {
    if (shade != CalendarShade::kPlain && cents <= 99) return "";
    return std::to_string(static_cast<long>(cents / 100));
}

CalendarChange CloseCalendarDate(const CalendarMonth& m, int day) {
    return ChangeDate(m, day, [&](const CalendarDay& d, bool, RscUseWeek& week, int w) {
        if (m.mode == kCalendarProvider && PracticeClosed(d, m.mode)) return CalendarChange::kPracticeClosed;
        if (Closed(d.own) || (m.mode == kCalendarPractice && d.holidayKind != 0)) return CalendarChange::kNothing;
        PutHours(week, w, d.own.start, d.own.end);
        week.dayFlags[w] |= kDayClosed;
        return CalendarChange::kWritten;
    });
}

CalendarChange OpenCalendarDate(const CalendarMonth& m, int day) {
    return ChangeDate(m, day, [&](const CalendarDay& d, bool, RscUseWeek& week, int w) {
        if (!Closed(d.own)) return CalendarChange::kNothing;
        PutHours(week, w, d.own.start, d.own.end);
        week.dayFlags[w] = static_cast<uint8_t>(week.dayFlags[w] % 2);
        return CalendarChange::kWritten;
    });
}

CalendarChange StoreCalendarHours(const CalendarMonth& m, int day, const int32_t start[3], const int32_t end[3]) {
    return ChangeDate(m, day, [&](const CalendarDay& d, bool, RscUseWeek& week, int w) {
        if (m.mode == kCalendarProvider && PracticeClosed(d, m.mode)) return CalendarChange::kPracticeClosed;
        if (Closed(d.own) || d.holidayKind != 0) return CalendarChange::kNothing;
        PutHours(week, w, start, end);
        return CalendarChange::kWritten;
    });
}

CalendarChange ResetCalendarDate(const CalendarMonth& m, int day) {
    if (m.mode != kCalendarProvider) return CalendarChange::kNothing;
    return ChangeDate(m, day, [&](const CalendarDay&, bool exists, RscUseWeek& week, int w) {
        if (!exists) return CalendarChange::kNothing;
        bool own_hours = false;
        for (int i = 0; i < 3; ++i) own_hours = own_hours || week.start[w][i] != 0 || week.end[w][i] != 0;
        if (!own_hours) return CalendarChange::kNothing;
        for (int i = 0; i < 3; ++i) week.start[w][i] = week.end[w][i] = 0;
        return CalendarChange::kWritten;
    });
}

bool SetCalendarHoliday(const CalendarMonth& m, int day) {
    return m.mode == kCalendarPractice && day >= 1 && day <= m.days && SetHoliday(m.place.month, day, 2);
}

bool DeleteCalendarHoliday(const CalendarMonth& m, int day) {
    return m.mode == kCalendarPractice && day >= 1 && day <= m.days && DeleteHoliday(m.place.month, day);
}
