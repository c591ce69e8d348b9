// The benchmark practice: its resources and patients as data, and its book of appointments
// written in bulk with the week occupancy the save path would have left.
//
// How the book is laid out: every open day of every operatory gets its share of the
// appointments (shares vary a little from day to day and add up to the number asked for); the
// day's visits are drawn from the room's mix (doctor or hygiene visits of realistic lengths),
// shortened when they would not fit the day, and laid out from the morning on with free time
// units between them. An operatory has one provider a day, so neither operatories nor providers
// are ever booked twice at one time.
#include "data/bench_practice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "data/appointment_record.h"
#include "data/db_access.h"
#include "data/demo_random.h"
#include "data/demo_seed.h"
#include "data/id_counters.h"
#include "data/occupancy_expected.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "suite/dates.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/qdb/qdb.h"
#include "suite/records/counters.h"

namespace {

constexpr int Units(int hour, int minute = 0) { return hour * 12 + minute / 5; }
constexpr int kOpen = Units(7);
constexpr int kClose = Units(19);
constexpr int kBlockUnits = 2;  // 10-minute time units
constexpr int kUnitsPerDay = (kClose - kOpen) / kBlockUnits;
constexpr int kPatientsPerSeed = 400;  // what one demo practice has
constexpr int kAppointmentsPerPatient = 20;  // over the book's ten years

std::string Two(int n) {
    char text[12];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

bool IsHygieneRoom(int number) { return number % 4 == 0; }

DemoHours Days(int first_weekday, int last_weekday) {
    DemoHours h;
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) h.start[d][i] = h.end[d][i] = -1;
    for (int d = first_weekday; d <= last_weekday; ++d) {
        h.start[d][0] = kOpen;
        h.end[d][0] = kClose;
    }
    return h;
}

const uint32_t kColours[] = {0x00D08040, 0x004080D0, 0x0040C040, 0x00C040C0, 0x000080C0, 0x00C0C000,
                             0x008040FF, 0x0000C0FF, 0x00FF8080, 0x0080FF80, 0x00A0A0A0, 0x00FF60C0};

// A person's name for a provider, borrowed from the demo's name lists through its patients.
void NameFrom(const DemoPatient& p, DemoProvider* provider) {
    provider->last = p.last;
    provider->first = p.first;
}

std::vector<DemoProvider> Providers(int operatories, const std::vector<DemoPatient>& names, DemoRandom& random) {
    std::vector<DemoProvider> providers;
    int doctors = 0, hygienists = 0, reliefs = 0;
    for (int room = 1; room <= operatories; ++room) {
        DemoProvider p{};
        p.colour = kColours[providers.size() % (sizeof kColours / sizeof kColours[0])];
        p.operatoryNumbers = {room};
        NameFrom(random.Pick(names), &p);
        if (!IsHygieneRoom(room)) {
            ++doctors;
            p.id = "DR" + Two(doctors);
            p.title = doctors % 3 ? "DDS" : "DMD";
            p.providerClass = 0;
            p.hours = Days(1, 5);
            p.number = std::to_string(1400000000 + doctors * 7919);
            providers.push_back(p);
            continue;
        }
        ++hygienists;
        const bool relieved = hygienists % 2 == 1;  // every second hygiene room, from the first
        p.id = "HY" + Two(hygienists);
        p.title = "RDH";
        p.providerClass = 1;
        p.hours = relieved ? Days(1, 4) : Days(1, 5);
        providers.push_back(p);
        if (!relieved) continue;
        DemoProvider relief = p;
        ++reliefs;
        relief.id = "HR" + Two(reliefs);
        relief.colour = kColours[providers.size() % (sizeof kColours / sizeof kColours[0])];
        relief.hours = Days(5, 5);
        NameFrom(random.Pick(names), &relief);
        providers.push_back(relief);
    }
    return providers;
}

// Patients of several demo practices, numbered on: families stay families (the last family may
// be cut short).
std::vector<DemoPatient> Patients(uint32_t seed, int count, int32_t today) {
    std::vector<DemoPatient> patients;
    patients.reserve(static_cast<size_t>(count));
    for (int k = 0; static_cast<int>(patients.size()) < count; ++k) {
        const uint32_t offset = static_cast<uint32_t>(k * kPatientsPerSeed);
        for (DemoPatient p : BuildDemoPractice(seed * 131u + static_cast<uint32_t>(k), today).patients) {
            if (static_cast<int>(patients.size()) == count) break;
            p.id += offset;
            p.guarantorId += offset;
            p.chartNumber = "C" + std::to_string(10000 + p.id);
            patients.push_back(p);
        }
    }
    return patients;
}

// A kind of visit: its procedure code, its length and time pattern ('X' provider time, '/'
// assistant), and how often it comes in the room's mix.
struct Visit {
    const char* code;
    int units;
    const char* pattern;
    int weight;
};
// About half an hour on average in both mixes: twenty operatories can then hold a million
// appointments in ten years with time to spare.
const Visit kDoctorVisits[] = {
    {"D0120", 1, "X", 18},       {"D0274", 1, "/", 8},      {"D9110", 2, "XX", 10},
    {"D0150", 3, "/XX", 10},     {"D2391", 3, "/XX", 20},   {"D2391", 4, "/XXX", 10},
    {"D7140", 4, "/XX/", 8},     {"D2740", 6, "/XXXX/", 8}, {"D3310", 9, "/XXXXXXX/", 4},
};
const Visit kHygieneVisits[] = {
    {"D1120", 3, "/XX", 20}, {"D1110", 4, "/XXX", 35}, {"D4341", 6, "XXXXXX", 10},
    {"D0120", 1, "X", 15},   {"D0274", 1, "/", 10},    {"D0210", 2, "//", 10},
};

struct Room {
    char operatory[4];
    bool hygiene;
    const DemoProvider* weekday[7];  // who works in it, by weekday
};

// Ends the bulk writing on every way out: committed when asked, else rolled back.
class BulkWriting {
public:
    explicit BulkWriting(QdbSession session) : session_(session), on_(QDB_BeginBulkWrite(session) != 0) {}
    ~BulkWriting() {
        if (on_) QDB_EndBulkWrite(session_, 0);
    }
    BulkWriting(const BulkWriting&) = delete;
    BulkWriting& operator=(const BulkWriting&) = delete;
    bool On() const { return on_; }
    bool Commit() {
        on_ = false;
        return QDB_EndBulkWrite(session_, 1) != 0;
    }

private:
    QdbSession session_;
    bool on_;
};

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

std::string Failure(const std::string& what, uint16_t result) {
    return what + ": result " + std::to_string(result) + ", " + QDB_GetLastReason(db_state.session);
}

class BookWriter {
public:
    BookWriter(const DemoPractice& practice, const BenchOptions& options, BenchCounts* counts)
        : practice_(practice), options_(options), counts_(counts), random_(options.seed ^ 0xBE4C400Du) {
        for (const DemoPatient& p : practice.patients)
            if (p.status != 4) patients_.push_back(&p);
        for (const DemoOperatory& o : practice.operatories) {
            Room room{};
            PutId(room.operatory, o.id);
            room.hygiene = IsHygieneRoom(o.number);
            for (const DemoProvider& p : practice.providers) {
                if (p.operatoryNumbers.empty() || p.operatoryNumbers[0] != o.number) continue;
                for (int d = 0; d < 7; ++d)
                    if (p.hours.start[d][0] >= 0) room.weekday[d] = &p;
            }
            rooms_.push_back(room);
        }
    }

    // The open days and every operatory's share of each; false when a share does not fit a day.
    bool Plan(std::string* reason) {
        const int32_t last = options_.today + 365;
        const int32_t first = last - static_cast<int32_t>(options_.years * 36525LL / 100) + 1;
        counts_->firstDate = first;
        counts_->lastDate = last;
        for (int32_t date = first; date <= last; ++date)
            if (IsOpen(date)) days_.push_back(date);
        const size_t pairs = days_.size() * rooms_.size();
        if (pairs == 0) return *reason = "the practice has no open day to book", false;
        // Shares that vary by up to 15% either way and add up exactly: each day's share is the
        // step of the rounded running total.
        std::vector<double> weights(pairs);
        double total = 0;
        for (double& w : weights) total += w = 0.85 + 0.3 * static_cast<double>(random_.Below(1001)) / 1000.0;
        double running = 0;
        int64_t placed = 0;
        for (size_t i = 0; i < pairs; ++i) {
            running += weights[i];
            const int64_t upto = i + 1 == pairs ? options_.appointments
                                                : static_cast<int64_t>(options_.appointments * (running / total));
            shares_.push_back(static_cast<int>(upto - placed));
            placed = upto;
            if (shares_.back() > kUnitsPerDay)
                return *reason = std::to_string(options_.appointments) + " appointments do not fit " +
                                 std::to_string(rooms_.size()) + " operatories in " + std::to_string(options_.years) +
                                 " years",
                       false;
        }
        return true;
    }

    bool Write(std::string* reason) {
        DbGroupScope group(GroupOf(kAppointmentFile));
        if (group.Result() != kQdbOk) return *reason = Failure("the appointment file", group.Result()), false;
        for (size_t i = 0; i < shares_.size(); ++i)
            if (!BookDay(days_[i / rooms_.size()], rooms_[i % rooms_.size()], shares_[i], reason)) return false;
        return true;
    }

    ExpectedWeeks& Weeks() { return weeks_; }
    uint32_t LastId() const { return next_id_ - 1; }

private:
    bool IsOpen(int32_t date) const {
        const int weekday = WeekdayIndex(date);
        if (practice_.hours.start[weekday][0] < 0) return false;
        int month = 0, day = 0, year = 0;
        QVN_DateOut(date, &month, &day, &year);
        for (const DemoHoliday& h : practice_.holidays)
            if (h.month == month && h.day == day && h.kind > 0 && h.kind < 100) return false;
        return true;
    }

    const Visit& Draw(bool hygiene) {
        const Visit* visits = hygiene ? kHygieneVisits : kDoctorVisits;
        const size_t n = hygiene ? std::size(kHygieneVisits) : std::size(kDoctorVisits);
        int sum = 0;
        for (size_t i = 0; i < n; ++i) sum += visits[i].weight;
        int pick = random_.Below(sum);
        for (size_t i = 0; i < n; ++i) {
            if (pick < visits[i].weight) return visits[i];
            pick -= visits[i].weight;
        }
        return visits[n - 1];
    }

    // The shortest visit of the mix, for a day that would overflow.
    static const Visit& Shortest(bool hygiene) {
        const Visit* visits = hygiene ? kHygieneVisits : kDoctorVisits;
        const size_t n = hygiene ? std::size(kHygieneVisits) : std::size(kDoctorVisits);
        return *std::min_element(visits, visits + n, [](const Visit& a, const Visit& b) { return a.units < b.units; });
    }

    const DemoProcedureCode& CodeOf(const Visit& v, uint32_t* id) const {
        for (size_t i = 0; i < practice_.procedureCodes.size(); ++i)
            if (practice_.procedureCodes[i].code == v.code) {
                *id = static_cast<uint32_t>(i) + 1;  // code ids count from 1 in file order
                return practice_.procedureCodes[i];
            }
        *id = 1;
        return practice_.procedureCodes.front();
    }

    bool BookDay(int32_t date, const Room& room, int share, std::string* reason) {
        const DemoProvider* provider = room.weekday[WeekdayIndex(date)];
        if (!provider || share == 0) return true;
        std::vector<const Visit*> visits;
        int used = 0;
        for (int i = 0; i < share; ++i) {
            visits.push_back(&Draw(room.hygiene));
            used += visits.back()->units;
        }
        while (used > kUnitsPerDay) {
            auto longest = std::max_element(visits.begin(), visits.end(),
                                            [](const Visit* a, const Visit* b) { return a->units < b->units; });
            used -= (*longest)->units - Shortest(room.hygiene).units;
            *longest = &Shortest(room.hygiene);
        }
        // The free units fall at random before, between and after the visits.
        std::vector<int> gaps(visits.size() + 1, 0);
        for (int free = kUnitsPerDay - used; free > 0; --free) ++gaps[static_cast<size_t>(random_.Below(static_cast<int>(gaps.size())))];
        int unit = kOpen / kBlockUnits;
        for (size_t i = 0; i < visits.size(); ++i) {
            unit += gaps[i];
            if (!Book(date, room, *provider, *visits[i], unit, reason)) return false;
            unit += visits[i]->units;
        }
        return true;
    }

    bool Book(int32_t date, const Room& room, const DemoProvider& provider, const Visit& visit, int unit,
              std::string* reason) {
        uint32_t code_id = 0;
        const DemoProcedureCode& code = CodeOf(visit, &code_id);
        AppointmentRecord a{};
        a.id = next_id_++;
        a.date = date;
        a.operatoryMarker = kMarkerOperatory;
        std::memcpy(a.operatory, room.operatory, 4);
        a.providerMarker = kMarkerProvider;
        PutId(a.provider, provider.id);
        a.unitSize = kBlockUnits;
        a.startUnit = static_cast<uint8_t>(unit);
        const int slot = unit * kBlockUnits;
        a.hour = static_cast<uint8_t>(slot / 12);
        a.minute = static_cast<uint8_t>(slot % 12 * 5);
        a.length = static_cast<uint16_t>(visit.units * kBlockUnits * 5);
        for (int u = 0; visit.pattern[u] && u < kPatternUnits; ++u)
            SetPatternCode(a.timePattern, u, visit.pattern[u] == 'X' ? kPatternProvider : visit.pattern[u] == '/' ? kPatternSlash : kPatternBlank);
        a.amount = code.fee;
        a.type = static_cast<uint8_t>(code.appointmentType);
        PutText(a.description, code.description);
        a.reasons[0] = code_id;
        if (random_.Below(250) == 0) {
            static const std::vector<std::string> kLast = {"Nash", "Ortiz", "Price", "Rhodes", "Sutton", "Tate"};
            static const std::vector<std::string> kFirst = {"Amy", "Ben", "Cora", "Dale", "Eve", "Finn"};
            PutText(a.patientName, QVN_PackName(random_.Pick(kLast), random_.Pick(kFirst), ""));
            PutText(a.phone, "(312)555-01" + std::to_string(10 + random_.Below(90)));
            ++counts_->newPatients;
        } else {
            const DemoPatient& p = *patients_[static_cast<size_t>(random_.Below(static_cast<int>(patients_.size())))];
            a.patientId = p.id;
            PutText(a.patientName, QVN_PackName(p.last, p.first, p.middleInitial).substr(0, 30));
            PutText(a.phone, QVN_Set_Phone(p.homePhone));
        }
        const int32_t today = options_.today;
        if (date < today) {
            a.lastChanged = date;
            if (random_.Below(200) == 0) {
                // Broken: it waits on the unscheduled list with the date it had, out of the book.
                a.listDate = a.date;
                a.date = 0;
                a.unscheduled = 1;
                a.status = kStatusBroken;
                ++counts_->broken;
            } else {
                a.status = kStatusComplete;
                ++counts_->completed;
            }
        } else {
            a.lastChanged = std::min(today, date - 7 - random_.Below(120));
            if (date == today && slot < Units(10)) a.status = static_cast<uint8_t>(1 + random_.Below(3));
            if (random_.Below(40) == 0) {
                a.schedule = kScheduleAsap;
                ++counts_->asap;
            }
        }
        const uint16_t result = DbAdd(kAppointmentFile, &a);
        if (result != kQdbOk) return *reason = Failure("appointment " + std::to_string(a.id), result), false;
        ++counts_->appointments;
        if (a.date != 0) {
            AddToExpectedWeeks(a, &weeks_);
            ++counts_->scheduled;
        }
        return true;
    }

    const DemoPractice& practice_;
    const BenchOptions& options_;
    BenchCounts* counts_;
    DemoRandom random_;
    std::vector<const DemoPatient*> patients_;
    std::vector<Room> rooms_;
    std::vector<int32_t> days_;
    std::vector<int> shares_;  // by day, then operatory
    ExpectedWeeks weeks_;
    uint32_t next_id_ = 1;
};

bool WriteWeeks(const ExpectedWeeks& weeks, BenchCounts* counts, std::string* reason) {
    DbGroupScope group(GroupOf(kRscUseFile));
    if (group.Result() != kQdbOk) return *reason = Failure("the resource-use file", group.Result()), false;
    for (const auto& [key, expected] : weeks) {
        const RscUseWeek record = ExpectedWeekRecord(key, expected);
        const uint16_t result = DbAdd(kRscUseFile, &record);
        if (result != kQdbOk) return *reason = Failure("a week record", result), false;
        ++counts->weekRecords;
    }
    return true;
}

// The appointment id counter goes on after the book, so that the program's next new
// appointment need not look for the highest id among a million.
bool WriteIdCounter(uint32_t last_id, std::string* reason) {
    DbGroupScope group(GroupOf(kCounterFile));
    if (group.Result() != kQdbOk) return *reason = Failure("the counter file", group.Result()), false;
    CounterRecord counter{};
    std::memcpy(counter.name, kAppointmentIdCounter, std::strlen(kAppointmentIdCounter));  // zero-padded
    counter.next = last_id + 1;
    const uint16_t result = DbAdd(kCounterFile, &counter);
    if (result != kQdbOk) return *reason = Failure("the appointment id counter", result), false;
    return true;
}

}  // namespace

int BenchPatientCount(int appointments, int patients) {
    if (patients > 0) return patients;
    return std::max(kPatientsPerSeed, appointments / kAppointmentsPerPatient);
}

DemoPractice BuildBenchPractice(uint32_t seed, int operatories, int appointments, int32_t today, int patients) {
    DemoPractice practice = BuildDemoPractice(seed, today);  // statuses, types, codes, users, ...
    DemoRandom random(seed ^ 0x9E0C0u);
    practice.name = "Northgate Dental Group";
    practice.hours = Days(1, 5);
    practice.blockSize = kBlockUnits;
    practice.operatories.clear();
    for (int room = 1; room <= operatories; ++room)
        practice.operatories.push_back({"OP" + Two(room), room,
                                        (IsHygieneRoom(room) ? "Hygiene " : "Operatory ") + std::to_string(room)});
    practice.patients = Patients(seed, BenchPatientCount(appointments, patients), today);
    practice.providers = Providers(operatories, practice.patients, random);
    std::vector<std::string> doctors;
    for (const DemoProvider& p : practice.providers)
        if (p.providerClass == 0) doctors.push_back(p.id);
    for (DemoPatient& p : practice.patients)
        p.provider = doctors.empty() ? practice.providers.front().id : doctors[p.id % doctors.size()];
    return practice;
}

bool WriteBenchPractice(const BenchOptions& options, BenchCounts* counts, std::string* reason) {
    *counts = BenchCounts{};
    if (options.operatories < 1 || options.operatories > kBenchMaxOperatories)
        return *reason = "the operatories are 1 to " + std::to_string(kBenchMaxOperatories), false;
    if (options.appointments < 0 || options.years < 1) return *reason = "nothing to book", false;
    const DemoPractice practice =
        BuildBenchPractice(options.seed, options.operatories, options.appointments, options.today, options.patients);
    counts->providers = static_cast<int>(practice.providers.size());
    counts->operatories = static_cast<int>(practice.operatories.size());
    counts->patients = static_cast<int>(practice.patients.size());

    BookWriter book(practice, options, counts);
    if (!book.Plan(reason)) return false;

    BulkWriting bulk(db_state.session);
    if (!bulk.On()) return *reason = std::string("cannot write in bulk: ") + QDB_GetLastReason(db_state.session), false;
    if (!WriteDemoPractice(practice, options.passwordIterations, reason)) return false;
    if (!book.Write(reason) || !WriteWeeks(book.Weeks(), counts, reason) || !WriteIdCounter(book.LastId(), reason))
        return false;
    if (!bulk.Commit()) return *reason = std::string("the last commit failed: ") + QDB_GetLastReason(db_state.session), false;
    return true;
}
