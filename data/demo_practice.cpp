// The demo practice as data: providers, staff, operatories, hours, statuses, types, codes and
// some four hundred patients in families, drawn from a seeded generator of our own so that a
// seed gives the same practice with every compiler and library.
#include "data/demo_practice.h"

#include "data/demo_random.h"
#include "suite/dates.h"

namespace {

constexpr int Units(int hour, int minute = 0) { return hour * 12 + minute / 5; }

DemoHours Closed() {
    DemoHours h;
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) h.start[d][i] = h.end[d][i] = -1;
    return h;
}

void SetDay(DemoHours& h, int weekday, int start1, int end1, int start2 = -1, int end2 = -1) {
    h.start[weekday][0] = start1;
    h.end[weekday][0] = end1;
    h.start[weekday][1] = start2;
    h.end[weekday][1] = end2;
}

// Monday to Thursday 8-12 and 13-17, Friday 8-13.
DemoHours OfficeHours() {
    DemoHours h = Closed();
    for (int d = 1; d <= 4; ++d) SetDay(h, d, Units(8), Units(12), Units(13), Units(17));
    SetDay(h, 5, Units(8), Units(13));
    return h;
}

std::string Id4(const std::string& id) { return (id + "    ").substr(0, 4); }

std::vector<DemoProvider> Providers() {
    DemoHours office = OfficeHours();
    DemoHours part_time = Closed();  // Tuesday and Thursday
    SetDay(part_time, 2, Units(9), Units(12), Units(13), Units(18));
    SetDay(part_time, 4, Units(9), Units(12), Units(13), Units(18));
    DemoHours hygiene = Closed();  // longer days, Monday to Friday
    for (int d = 1; d <= 5; ++d) SetDay(hygiene, d, Units(7, 30), Units(12), Units(12, 30), Units(16, 30));

    std::vector<DemoProvider> p(5);
    p[0] = {Id4("DR1"), "Ames", "Laura", "DDS", 0, 0x00D08040, office, {}, {}, {1, 2, 3}, "1234567890"};
    p[0].blocks = {{"New Pt Exam", 1, Units(8), Units(9), 0x0080FFFF, 1, Id4("OP1")},
                   {"Emergency", 3, Units(11), Units(12), 0x008080FF, 6, ""}};
    p[1] = {Id4("DR2"), "Brooks", "Daniel", "DMD", 0, 0x004080D0, office, {Id4("DR3")}, {}, {2, 3, 4}, "2345678901"};
    p[1].blocks = {{"Crown Prep", 2, Units(8), Units(10), 0x00C0FFC0, 4, Id4("OP3")}};
    p[2] = {Id4("HYG1"), "Chen", "Maria", "RDH", 1, 0x0040C040, hygiene, {Id4("HYG2")}, {}, {5, 6}, ""};
    p[2].blocks = {{"Perio Maint", 1, Units(13), Units(14), 0x00FFE0C0, 2, Id4("OP5")},
                   {"Perio Maint", 4, Units(13), Units(14), 0x00FFE0C0, 2, Id4("OP5")}};
    p[3] = {Id4("HYG2"), "Diaz", "Rosa", "RDH", 1, 0x00C040C0, hygiene, {Id4("HYG1")}, {}, {6, 7}, ""};
    p[4] = {Id4("DR3"), "Evans", "Peter", "DDS", 0, 0x000080C0, part_time, {}, {}, {4}, "3456789012"};
    return p;
}

std::vector<DemoOperatory> Operatories() {
    return {{Id4("OP1"), 1, "Operatory 1"}, {Id4("OP2"), 2, "Operatory 2"}, {Id4("OP3"), 3, "Operatory 3"},
            {Id4("OP4"), 4, "Surgery"},     {Id4("OP5"), 5, "Hygiene 1"},   {Id4("OP6"), 6, "Hygiene 2"},
            {Id4("OP7"), 7, "Consult Room"}};
}

constexpr uint8_t kTooth = 0x01, kSurface = 0x02, kQuadrant = 0x04;  // the code record's needs bits

std::vector<DemoProcedureCode> ProcedureCodes() {
    return {{"D0120", "Periodic oral evaluation", 6500, "XX", 1, "Per Exam", 0, 0},
            {"D0150", "Comprehensive oral evaluation", 11000, "/XX/", 1, "Comp Exam", 0, 0},
            {"D0210", "Full mouth x-rays", 14000, "///", 1, "FMX", 0, 0},
            {"D0274", "Bitewings, four films", 7500, "//", 1, "4BWX", 0, 2},
            {"D1110", "Prophylaxis, adult", 11500, "//////", 2, "Pro", 0, 1},
            {"D1120", "Prophylaxis, child", 8000, "////", 2, "Child Pro", 0, 1},
            {"D2391", "Resin composite, one surface", 19500, "/XXX", 3, "Comp 1S", kTooth | kSurface, 0},
            {"D2740", "Crown, porcelain/ceramic", 125000, "/XXXXX/", 4, "PC Crown", kTooth, 0},
            {"D3310", "Root canal, anterior", 90000, "/XXXXXX", 5, "RCT Ant", kTooth, 0},
            {"D4341", "Scaling and root planing, quadrant", 26000, "XXXXXX", 2, "SRP Quad", kQuadrant, 3},
            {"D7140", "Extraction, erupted tooth", 21000, "/XX/", 6, "Ext", kTooth, 0},
            {"D9110", "Palliative treatment", 12000, "XX", 6, "Palliative", 0, 0}};
}

// Patients 10 and 11 have treatment plans; patient 10 also a completed cleaning.
std::vector<DemoProcedure> Procedures(int32_t today) {
    return {{1, 10, 1, 6, "14", "MO", today - 20}, {2, 10, 1, 7, "3", "", today - 20},
            {3, 10, 1, 9, "UR", "", today - 20},   {4, 10, 2, 4, "", "", today - 180},
            {5, 11, 1, 8, "8", "", today - 5},     {6, 11, 1, 10, "32", "", today - 5},
            {7, 11, 1, 2, "", "", today - 5}};
}

const std::vector<std::string> kLastNames = {
    "Abbott", "Baker", "Carter", "Dawson", "Ellis", "Fischer", "Garcia", "Hughes", "Ingram", "Jensen",
    "Keller", "Lawson", "Moreno", "Nolan", "Owens", "Patel", "Quinn", "Reyes", "Smith", "Turner",
    "Underwood", "Vargas", "Walsh", "Young", "Zimmerman", "Bennett", "Coleman", "Douglas", "Foster", "Griffin",
    "Harper", "Jordan", "Kim", "Lopez", "Mitchell", "Nguyen", "Parker", "Ramirez", "Smithson", "Wallace"};
const std::vector<std::string> kFemaleNames = {
    "Anna", "Beth", "Clara", "Diana", "Emma", "Fiona", "Grace", "Helen", "Irene", "Julia",
    "Karen", "Linda", "Megan", "Nora", "Olivia", "Paula", "Rachel", "Sarah", "Tina", "Vera"};
const std::vector<std::string> kMaleNames = {
    "Adam", "Brian", "Carl", "David", "Eric", "Frank", "George", "Henry", "Ian", "James",
    "Kevin", "Louis", "Mark", "Nathan", "Oscar", "Paul", "Robert", "Steven", "Thomas", "Victor"};
const std::vector<std::string> kAreaCodes = {"312", "708", "630", "847"};

std::string Digits(DemoRandom& random, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + random.Below(10));
    return s;
}

std::string Initial(DemoRandom& random) { return std::string(1, static_cast<char>('A' + random.Below(26))); }

// A birth date between min_age and max_age years before today.
int32_t BirthDate(DemoRandom& random, int32_t today, int min_age, int max_age) {
    int days = (min_age * 365) + random.Below((max_age - min_age) * 365 + 1);
    return today - days;
}

DemoPatient Person(DemoRandom& random, uint32_t id, uint32_t guarantor, int relation, const std::string& last,
                   char gender, int32_t birth, const std::string& phone, const std::vector<DemoProvider>& providers) {
    DemoPatient p;
    p.id = id;
    p.guarantorId = guarantor;
    p.relation = relation;
    p.last = last;
    p.gender = gender;
    p.first = gender == 'F' ? random.Pick(kFemaleNames) : random.Pick(kMaleNames);
    p.middleInitial = Initial(random);
    p.preferred = random.Below(8) == 0 ? p.first.substr(0, 3) : "";
    p.birthDate = birth;
    p.homePhone = phone;
    p.chartNumber = "C" + std::to_string(10000 + id);
    p.ssn = Digits(random, 9);
    p.status = 1;
    p.medicalAlerts = random.Below(12) == 0 ? (uint64_t{1} << random.Below(6)) : 0;
    p.provider = random.Below(3) == 0 ? providers[1].id : providers[0].id;
    p.referralId = random.Below(10) == 0 ? static_cast<uint32_t>(1 + random.Below(3)) : 0;
    return p;
}

// Families of one to five: a head, often a spouse, and children; all share a phone.
std::vector<DemoPatient> Patients(DemoRandom& random, int32_t today, const std::vector<DemoProvider>& providers) {
    std::vector<DemoPatient> patients;
    uint32_t next_id = 1;
    while (patients.size() < 400) {
        std::string last = random.Pick(kLastNames);
        std::string phone = random.Pick(kAreaCodes) + Digits(random, 7);
        char head_gender = random.Below(2) ? 'F' : 'M';
        uint32_t head = next_id;
        patients.push_back(Person(random, next_id++, head, 1, last, head_gender,
                                  BirthDate(random, today, 25, 80), phone, providers));
        if (random.Below(3) != 0)
            patients.push_back(Person(random, next_id++, head, 2, last, head_gender == 'F' ? 'M' : 'F',
                                      BirthDate(random, today, 25, 80), phone, providers));
        for (int children = random.Below(4); children > 0; --children)
            patients.push_back(Person(random, next_id++, head, 3, last, random.Below(2) ? 'F' : 'M',
                                      BirthDate(random, today, 2, 20), phone, providers));
    }
    patients.resize(400);
    patients[17].status = 4;  // archived
    patients[42].status = 3;  // inactive
    return patients;
}

// Goals for last and this month, last month's production and new patients as a closed month,
// and this month's so far as the running figures, larger for each provider in the list.
std::vector<DemoStatistics> Statistics(const std::vector<DemoProvider>& providers, int32_t today) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(today, &month, &day, &year);
    const int last_month = month == 1 ? 12 : month - 1;
    const int last_year = month == 1 ? year - 1 : year;
    std::vector<DemoStatistics> out;
    for (size_t i = 0; i < providers.size(); ++i) {
        const std::string& id = providers[i].id;
        const auto n = static_cast<int32_t>(i);
        auto split = [](int32_t cents, int32_t (&parts)[4]) {
            parts[0] = cents / 100 * 60;
            parts[1] = cents / 100 * 20;
            parts[2] = cents / 100 * 15;
            parts[3] = cents - parts[0] - parts[1] - parts[2];
        };
        DemoStatistics goal_last{id, 10, last_year, last_month, (30000 + 5000 * n) * 100, {}, 0};
        DemoStatistics goal_now{id, 10, year, month, (32000 + 5000 * n) * 100, {}, 0};
        DemoStatistics closed{id, 1, last_year, last_month, 0, {}, 6 + n};
        split((28000 + 4000 * n) * 100 + 55, closed.production);
        DemoStatistics running{id, 0, 0, 0, 0, {}, 2 + n};
        split((12000 + 2000 * n) * 100 + 25, running.production);
        out.insert(out.end(), {goal_last, goal_now, closed, running});
    }
    return out;
}

}  // namespace

std::vector<int> RestrictedRights() { return {31, 32, 34, 35, 68, 69}; }

DemoPractice BuildDemoPractice(uint32_t seed, int32_t today) {
    DemoRandom random(seed);
    DemoPractice d;
    d.name = "Lakeside Family Dental";
    d.hours = OfficeHours();
    d.blockSize = 2;
    d.holidays = {{1, 1, 2}, {7, 4, 2}, {12, 24, 2}, {12, 25, 2}};
    d.providers = Providers();
    d.staff = {{Id4("ST1"), "Fox", "Jenny"}, {Id4("ST2"), "Grant", "Omar"}};
    d.operatories = Operatories();
    d.statuses = {{1, '1', 0, "Here"},   {2, '2', 0, "Seated"}, {3, '3', 0, "Late"},
                  {4, 'x', 0x00FFC080, "Conf"}, {5, ' ', 0, "LM"},  {6, 'x', 0x00C0C0C0, "NoAns"}};
    d.appointmentTypes = {"Exam", "Cleaning", "Filling", "Crown", "Root Canal", "Emergency", "Consult"};
    d.medicalAlerts = {"Penicillin allergy", "Latex allergy", "Heart condition", "Diabetes",
                       "Blood thinners", "Premedication required"};
    d.procedureCodes = ProcedureCodes();
    d.flagCaptions = {"Confirmed", "Premedicate", "Wants Earlier Appt", "Insurance Pending"};
    d.careTypes = {{1, "PRO", 6}, {2, "BWX", 12}, {3, "PERIO", 3}};
    d.procedures = Procedures(today);
    d.care = {{10, 1, today + 30, today - 150}, {11, 1, today - 10, today - 190}};
    d.referrals = {{1, "Hart", "Simon", "Dr."}, {2, "Lakeside Orthodontics", "", ""}, {3, "Radio advertisement", "", ""}};
    d.patients = Patients(random, today, d.providers);
    d.statistics = Statistics(d.providers, today);
    d.users = {{"FRONT", "Front Desk", "front", {}}, {"ASSIST", "Assistant", "assist", RestrictedRights()}};
    return d;
}
