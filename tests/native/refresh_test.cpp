// The change notices between workstations on a real practice database: registration, both
// announce passes, the fifteen-notice window, polls that reload only the named shown days, and
// real processes as other stations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/refresh.h"
#include "data/practice_schedule.h"
#include "practice_test_database.h"
#include "suite/dates.h"
#include "suite/settings.h"

namespace {

const int32_t kSunday = QVN_DateIn(1, 3, 2027);
const int32_t kWednesday = kSunday + 3;

std::vector<int32_t> Week(int32_t sunday) {
    std::vector<int32_t> days;
    for (int d = 0; d < 7; ++d) days.push_back(sunday + d);
    return days;
}

// The days a poll reloads.
std::vector<int32_t> Poll(uint8_t station, const std::vector<int32_t>& shown, int* read = nullptr) {
    std::vector<int32_t> reloaded;
    const int r = PollStation(station, shown, [&](int32_t day) { reloaded.push_back(day); });
    if (read) *read = r;
    return reloaded;
}

}  // namespace

TEST(Refresh, StationCodesAndTheTimerFollowTheNetworkSettings) {
    TempSettings settings;
    // Each setting written in turn, then the station code and the timer: STATION defaults to 1
    // and 0 shares station 1's record; NetVersion 0 has no timer; UpdateSpeed is kept to 5-20
    // seconds; a single station needs no timer.
    const struct { const char* key, *value; int code, seconds; } steps[] = {
        {nullptr, nullptr, 101, 0}, {"STATION", "0", 101, 0}, {"STATION", "7", 107, 0}, {"NetVersion", "1", 107, 15},
        {"UpdateSpeed", "2", 107, 5}, {"UpdateSpeed", "60", 107, 20}, {"StationCount", "1", 107, 0},
    };
    for (const auto& s : steps) {
        if (s.key) QVN_WriteProfileString("NETWORK", s.key, s.value);
        EXPECT_EQ(std::pair(s.code, s.seconds), std::pair(int{StationCode()}, RefreshTimerSeconds())) << (s.key ? s.key : "") << "=" << (s.value ? s.value : "");
    }
}

TEST(Refresh, AWednesdayChangeReachesTheStationsOfThatWeekOnly) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    EXPECT_EQ(101, RegisterStation(101, kWednesday)) << "made";
    EXPECT_EQ(0, RegisterStation(101, kWednesday + 1)) << "rewritten";
    EXPECT_EQ(101, RegisterStation(102, kSunday + 5));
    EXPECT_EQ(101, RegisterStation(103, kSunday - 2)) << "the week before";

    EXPECT_EQ(0, AnnounceChange(101, kWednesday, "DR1 ", "OP1 ", 77, kChangeArrived));
    EXPECT_EQ(std::vector<int32_t>{kWednesday}, Poll(102, Week(kSunday))) << "value 3: Wednesday";
    EXPECT_TRUE(Poll(102, Week(kSunday)).empty()) << "the poll took the notice";
    EXPECT_TRUE(Poll(103, Week(kSunday - 7)).empty()) << "the week before gets nothing";

    // A day not shown is not reloaded; a notice for a shown day is, once per poll.
    AnnounceChange(101, kWednesday, "DR1 ", "OP1 ", 78, kChangeLeft);
    AnnounceChange(101, kWednesday, "DR1 ", "OP1 ", 79, kChangeArrived);
    AnnounceChange(101, kSunday + 6, "DR1 ", "OP1 ", 80, kChangeArrived);
    EXPECT_EQ((std::vector<int32_t>{kWednesday, kSunday + 6}), Poll(102, Week(kSunday)));
    AnnounceChange(101, kSunday + 1, "DR1 ", "OP1 ", 81, kChangeArrived);
    int read = 0;
    EXPECT_TRUE(Poll(102, {kSunday + 2, kSunday + 3}, &read).empty());
    EXPECT_EQ(1, read);

    // Sixteen notices before a poll: the first is pushed out.
    for (int n = 0; n < 16; ++n) AnnounceChange(101, kSunday + (n == 0 ? 1 : 4), "DR1 ", "OP1 ", 100u + n, kChangeArrived);
    EXPECT_EQ(std::vector<int32_t>{kSunday + 4}, Poll(102, Week(kSunday))) << "Monday's notice was the one lost";

    UnregisterStation(102);
    EXPECT_EQ(0, Poll(102, Week(kSunday), &read).size());
    EXPECT_EQ(0, read) << "no record after unregistering";
}

TEST(Refresh, EveryOtherRegisteredStationGetsTheNoticeAndTheAnnouncerNever) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    // Neighbouring station numbers, each showing another day of one week; each announces in turn.
    const uint8_t stations[] = {101, 102, 103, 104, 105};
    for (uint8_t s : stations) ASSERT_EQ(101, RegisterStation(s, kSunday + (s - 101)));
    for (uint8_t announcer : stations) {
        ASSERT_EQ(0, AnnounceChange(announcer, kWednesday, "DR1 ", "OP1 ", announcer, kChangeArrived));
        for (uint8_t s : stations)
            EXPECT_EQ(s == announcer ? std::vector<int32_t>{} : std::vector<int32_t>{kWednesday}, Poll(s, Week(kSunday)))
                << "station " << int(s) << " after station " << int(announcer) << " announced";
    }
}

#ifndef _WIN32
TEST(Refresh, StationsInOtherProcessesGetTheNoticesOfTheirWeek) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    DbEndSession();
    // Three other workstations: two show this week (one of them with STATION 0, the same record
    // as STATION 1), one the week before. Each registers, signals, waits for the change, polls.
    int ready[2], go[2];
    ASSERT_EQ(0, pipe(ready));
    ASSERT_EQ(0, pipe(go));
    const int32_t shown[] = {kSunday + 1, kSunday + 4, kSunday - 7};
    const int station_numbers[] = {0, 5, 6};
    std::vector<pid_t> children;
    for (int c = 0; c < 3; ++c) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A settings file of the workstation's own: the stations must not share one.
            const std::string own = (db.Settings().Dir() / ("station" + std::to_string(c) + ".ini")).string();
            setenv("QUORVIN_SETTINGS", own.c_str(), 1);
            QVN_WriteProfileString("NETWORK", "STATION", std::to_string(station_numbers[c]).c_str());
            const uint8_t me = StationCode();
            if (RegisterStation(me, shown[c]) > 101) _exit(99);
            char byte = 1;
            if (write(ready[1], &byte, 1) != 1 || read(go[0], &byte, 1) != 1) _exit(98);
            const std::vector<int32_t> days = Poll(me, Week(WeekStartOf(shown[c])));
            _exit(days.empty() ? 0 : static_cast<int>(days[0] - kSunday) + 10);
        }
        children.push_back(child);
    }
    char byte;
    for (int c = 0; c < 3; ++c) ASSERT_EQ(1, read(ready[0], &byte, 1));
    EXPECT_EQ(0, AnnounceChange(110, kWednesday, "DR2 ", "OP3 ", 5, kChangeInPlace));
    for (int c = 0; c < 3; ++c) ASSERT_EQ(1, write(go[1], "g", 1));
    std::vector<int> codes;
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    EXPECT_EQ((std::vector<int>{13, 13, 0}), codes) << "Wednesday reloaded this week, nothing the week before";
}
#endif
