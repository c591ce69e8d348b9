// The free-time search on the demo practice: what it must never offer, where it must go on, and
// a brute-force check against the stored week records of a randomly booked fortnight.
#include <set>

#include "appointments/find_time.h"
#include "data/block_override.h"
#include "data/demo_appointments.h"
#include "data/rscuse_record.h"
#include "demo_practice_fixture.h"
#include "suite/times.h"

namespace {

int32_t Day(int month, int day, int year) { return QVN_DateIn(month, day, year); }
int Units(int hour, int minute = 0) { return hour * 12 + minute / 5; }

FindTimeRequest Request(const char* provider, std::vector<const char*> operatories, int32_t start, int minutes) {
    FindTimeRequest r = NewFindTimeRequest(start, minutes);
    char id[4];
    std::memcpy(id, (std::string(provider) + "    ").data(), 4);
    AddFindProvider(&r, id);
    for (const char* o : operatories) {
        std::memcpy(id, (std::string(o) + "    ").data(), 4);
        AddFindOperatory(&r, id);
    }
    return r;
}

std::string Text(const FoundTime& f) {
    return QVN_fmtDateString2000(f.date) + " " + QVN_FormatPackTime(f.start) + "-" +
           QVN_FormatPackTime(f.start + f.length) + " " + std::string(f.provider, 4) + " " + std::string(f.operatory, 4);
}

std::vector<std::string> Page(FindTimeRequest* r, int size, FindEnd* end = nullptr) {
    std::vector<FoundTime> found;
    const FindEnd e = SearchFreeTimes(r, size, &found);
    if (end) *end = e;
    std::vector<std::string> texts;
    for (const FoundTime& f : found) texts.push_back(Text(f));
    return texts;
}

// The slots a resource has booked on a date, read straight from its stored week record.
std::vector<bool> Booked(uint8_t kind, const char id[4], int32_t date) {
    RscUseWeek week{};
    std::vector<bool> booked(kSlotsPerDay, false);
    if (!ReadStoredWeek(kind, id, date, &week)) return booked;
    for (int u = 0; u < kSlotsPerDay; ++u) booked[u] = SlotCounter(week.occupancy[WeekdayIndex(date)], u) != 0;
    return booked;
}

class FindTime : public DemoPracticeTest {};

TEST_F(FindTime, EdgeCasesOfThePracticeCalendarAndBlocks) {
    const int32_t monday = Day(3, 1, 2027);
    const char* no_possible = "No possible match.  Search terminated!";
    const char* not_assigned =
        "Searching by assigned operatories may not be used unless a selected provider has been\n"
        "assigned to a selected operatory from \"Practice Resource\", \"Provider Information\".";
    // DR3 works Tuesday 9-11 and 1-3:30 that week only; DR1 is on vacation on that Monday.
    const int32_t part_start[3] = {Units(9), Units(13), -1}, part_end[3] = {Units(11), Units(15, 30), -1};
    ASSERT_EQ(0, WriteDay(kRscProvider, "DR3 ", monday + 1, part_start, part_end, 0));
    const int32_t none[3] = {-1, -1, -1};
    ASSERT_EQ(0, WriteDay(kRscProvider, "DR1 ", monday + 7, none, none, 2));
    // DR2's alias DR3 is booked 9-10 on Monday elsewhere: DR2 is not free then.
    Book(DemoAppt(9001, monday, 9, 0, 60, "DR3", "OP4"));

    struct Case {
        const char* what;
        FindTimeRequest request;
        std::vector<std::string> first;
        FindEnd end;
    } cases[] = {
        {"start on a holiday", Request("DR1", {"OP1"}, Day(12, 24, 2026), 60), {"12/28/2026 8:00am-12:00pm DR1  OP1 "}, FindEnd::kPage},
        {"start on a closed Sunday", Request("DR1", {"OP1"}, monday - 1, 60), {"03/01/2027 8:00am-12:00pm DR1  OP1 "}, FindEnd::kPage},
        {"a vacation day is passed over", Request("DR1", {"OP2"}, monday + 7, 60), {"03/09/2027 8:00am-12:00pm DR1  OP2 "}, FindEnd::kPage},
        {"a booked alias blocks", Request("DR2", {"OP1"}, monday, 60),
         {"03/01/2027 8:00am-9:00am DR2  OP1 ", "03/01/2027 10:00am-12:00pm DR2  OP1 "}, FindEnd::kPage},
        {"both intervals of a provider", Request("DR3", {"OP2"}, monday + 1, 30),
         {"03/02/2027 9:00am-11:00am DR3  OP2 ", "03/02/2027 1:00pm-3:30pm DR3  OP2 "}, FindEnd::kPage},
        {"longer than every stretch", Request("DR1", {"OP1"}, monday, 305), {}, FindEnd::kNoPossible},
    };
    for (Case& c : cases) {
        FindEnd end;
        std::vector<std::string> page = Page(&c.request, static_cast<int>(c.first.size() ? c.first.size() : 10), &end);
        EXPECT_EQ(c.first, page) << c.what;
        EXPECT_EQ(c.end, end) << c.what;
    }
    EXPECT_STREQ(no_possible, FindEndMessage(FindEnd::kNoPossible));

    FindTimeRequest unassigned = Request("DR1", {"OP7"}, monday, 30);
    unassigned.assignedOnly = 1;
    FindEnd end;
    EXPECT_TRUE(Page(&unassigned, 10, &end).empty());
    EXPECT_STREQ(not_assigned, FindEndMessage(end));
    EXPECT_STREQ("No match found.  Search terminated!", FindEndMessage(FindEnd::kNoMatch));

    // Time blocks, searched by appointment type or chosen, and a kind-4 override that moves one.
    FindTimeRequest by_type = Request("DR1", {"OP1", "OP2"}, monday, 30);
    by_type.blockType = 1;  // "New Pt Exam" is DR1's Monday 8-9 block in OP1
    FindTimeRequest chosen = Request("DR1", {"OP1"}, monday, 30);
    chosen.blockProvider = 0;
    chosen.blockPosition = 0;
    EXPECT_EQ(std::vector<std::string>{"03/01/2027 8:00am-9:00am DR1  OP1 "}, Page(&by_type, 1));
    EXPECT_EQ(std::vector<std::string>{"03/01/2027 8:00am-9:00am DR1  OP1 "}, Page(&chosen, 1));

    ASSERT_EQ(0, WriteBlockOverride("DR1 ", 0, monday, Units(10), Units(11, 30)));
    by_type = Request("DR1", {"OP1", "OP2"}, monday, 30);
    by_type.blockType = 1;
    chosen.resumeDate = 0;
    EXPECT_EQ(std::vector<std::string>{"03/01/2027 10:00am-11:30am DR1  OP1 "}, Page(&by_type, 1));
    EXPECT_EQ(std::vector<std::string>{"03/01/2027 10:00am-11:30am DR1  OP1 "}, Page(&chosen, 1));
}

// On a randomly booked fortnight: pages of any size are one walk, every time is free for the
// provider, the alias and the operatory in the stored records, times never overlap in one
// operatory, and no free start inside the hours that the walk passed is missing.
TEST_F(FindTime, PagesAreOneWalkOverTrulyFreeTimes) {
    DemoBookCounts counts;
    std::string reason;
    ASSERT_TRUE(WriteDemoAppointments(BuildDemoPractice(1, DemoMonday()), 3, DemoMonday(), DemoBookSpan{0, 4}, &counts, &reason)) << reason;
    const std::vector<const char*> rooms = {"OP1", "OP2", "OP3", "OP4"};
    FindTimeRequest whole = Request("DR2", rooms, DemoMonday(), 40);
    FindTimeRequest paged = whole;
    std::vector<FoundTime> all;
    ASSERT_EQ(FindEnd::kPage, SearchFreeTimes(&whole, 60, &all));
    ASSERT_EQ(60u, all.size());
    std::vector<std::string> walked;
    for (int size : {1, 7, 10, 2, 10, 30}) {
        std::vector<std::string> page = Page(&paged, size);
        walked.insert(walked.end(), page.begin(), page.end());
    }
    std::vector<std::string> expected;
    for (const FoundTime& f : all) expected.push_back(Text(f));
    EXPECT_EQ(expected, walked);

    // Monday-Thursday 8-12 and 1-5, Friday 8-1; the 24th and 25th are holidays.
    auto open = [](int32_t date, int u) {
        const int w = WeekdayIndex(date);
        if (date == Day(12, 24, 2026) || date == Day(12, 25, 2026) || w == 0 || w == 6) return false;
        return w == 5 ? u >= Units(8) && u < Units(13) : (u >= Units(8) && u < Units(12)) || (u >= Units(13) && u < Units(17));
    };
    std::set<std::tuple<int32_t, std::string, int>> offered;
    for (const FoundTime& f : all) {
        const std::vector<bool> dr2 = Booked(kRscProvider, "DR2 ", f.date), dr3 = Booked(kRscProvider, "DR3 ", f.date);
        const std::vector<bool> room = Booked(kRscOperatory, f.operatory, f.date);
        EXPECT_GE(f.length, 8) << Text(f);
        for (int u = f.start; u < f.start + f.length; ++u) {
            EXPECT_TRUE(open(f.date, u) && !dr2[u] && !dr3[u] && !room[u]) << Text(f) << " unit " << u;
            EXPECT_TRUE(offered.emplace(f.date, std::string(f.operatory, 4), u).second) << "overlap " << Text(f);
        }
    }
    // Every date before the last one found is covered whole.
    const int32_t last = all.back().date;
    int checked = 0;
    for (int32_t date = DemoMonday(); date < last; ++date) {
        const std::vector<bool> dr2 = Booked(kRscProvider, "DR2 ", date), dr3 = Booked(kRscProvider, "DR3 ", date);
        for (const char* name : rooms) {
            const std::string id = (std::string(name) + "    ").substr(0, 4);
            const std::vector<bool> room = Booked(kRscOperatory, id.c_str(), date);
            for (int u = 0; u + 8 <= kSlotsPerDay; ++u) {
                bool free = true;
                for (int k = u; k < u + 8; ++k) free = free && open(date, k) && !dr2[k] && !dr3[k] && !room[k];
                if (!free) continue;
                ++checked;
                EXPECT_TRUE(offered.count({date, id, u}) && offered.count({date, id, u + 7}))
                    << QVN_fmtDateString2000(date) << " " << id << " " << QVN_FormatPackTime(u) << " passed over";
            }
        }
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
