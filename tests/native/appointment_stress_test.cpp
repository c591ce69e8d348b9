// Several real processes booking, moving and unscheduling appointments in the same two weeks at
// once, as a busy front desk with several workstations does: afterwards every save a process
// saw succeed is in the file as it saved it, no refused new appointment is, and the week
// occupancy is exactly what the appointments say. A process killed in the middle leaves the
// others working and nothing half-saved behind. Also a workstation waiting on a week record that
// another one holds while its user answers a question, the refusal of a duplicate id, and the
// concurrent-edit refusal between two processes.

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <vector>

#include "data/demo_random.h"
#include "data/occupancy_verify.h"
#include "demo_practice_fixture.h"

namespace {

const int32_t kFirstMonday = QVN_DateIn(1, 4, 2027);
const char* const kProviders[] = {"DR1 ", "DR2 ", "HYG1"};
const char* const kOperatories[] = {"OP1 ", "OP2 ", "OP3 "};

AppointmentRecord Random(DemoRandom& random, uint32_t id) {
    const int32_t date = kFirstMonday + 7 * random.Below(2) + random.Below(5);
    const int hour = 8 + random.Below(8), minute = 30 * random.Below(2), length = 30 + 10 * random.Below(4);
    const char* provider = kProviders[random.Below(3)];
    AppointmentRecord a = DemoAppt(id, date, hour, minute, length, provider, kOperatories[random.Below(3)]);
    for (int u = 0; u < 24; ++u) SetPatternCode(a.timePattern, u, random.Below(3) ? kPatternProvider : kPatternSlash);
    a.amount = 1000 * (1 + random.Below(20));
    std::snprintf(a.description, sizeof a.description, "Stress %u", id);
    return a;
}

// One workstation's run: new appointments, moves and unschedulings of its own appointments, for
// the given time or until it has tried operations changes (0: no limit), whichever comes first.
// Writes what it saw succeed to report: "id date hour minute operatory".
int Workstation(uint32_t first_id, uint32_t seed, int seconds, const std::string& report, int operations = 0) {
    YesToAllPrompter answers;
    if (!DbInitDatabase() || !LoadPracticeTables()) return 100;
    DemoRandom random(seed);
    std::map<uint32_t, AppointmentRecord> mine;
    std::vector<uint32_t> refused_new;
    uint32_t next = first_id;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (int done = 0; std::chrono::steady_clock::now() < end && (operations == 0 || done < operations); ++done) {
        const int what = mine.empty() ? 0 : random.Below(4);
        if (what <= 1) {
            const uint32_t id = next++;  // not a.id: a reference into a packed record is misaligned
            AppointmentRecord a = Random(random, id);
            if (SaveAppointment(true, nullptr, a)) mine[id] = a;
            else refused_new.push_back(id);
        } else {
            auto it = mine.begin();
            std::advance(it, random.Below(static_cast<int>(mine.size())));
            AppointmentRecord changed = Random(random, it->first);
            if (what == 3) {
                changed = it->second;
                changed.date = 0;
                changed.unscheduled = 1;
            }
            if (SaveAppointment(false, &it->second, changed)) it->second = changed;
        }
        // Written after every operation, so that a killed process's report holds what it saw.
        std::ofstream out(report, std::ios::trunc);
        for (const auto& [id, a] : mine)
            out << id << ' ' << a.date << ' ' << int(a.hour) << ' ' << int(a.minute) << ' ' << std::string(a.operatory, 4) << '\n';
        for (uint32_t id : refused_new) out << id << " refused\n";
    }
    DbEndSession();
    return 0;
}

struct Reported {
    std::map<uint32_t, std::string> saved;  // id -> "date hour minute operatory"
    std::vector<uint32_t> refused;
};
Reported ReadReport(const std::string& path) {
    Reported r;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t blank = line.find(' ');
        const uint32_t id = static_cast<uint32_t>(std::stoul(line.substr(0, blank)));
        if (line.substr(blank + 1) == "refused") r.refused.push_back(id);
        else r.saved[id] = line.substr(blank + 1);
    }
    return r;
}

// Thirty minutes of provider time.
AppointmentRecord Appointment(uint32_t id, int32_t date, int hour, const char* provider, const char* operatory) {
    return DemoAppt(id, date, hour, 0, 30, provider, operatory);
}

std::string StateOf(const AppointmentRecord& a) {
    return std::to_string(a.date) + ' ' + std::to_string(a.hour) + ' ' + std::to_string(a.minute) + ' ' + std::string(a.operatory, 4);
}

// No provider slot above 2, no operatory slot above 1, in any week record.
void ExpectCountersInRange() {
    FileGroupDesc desc{};
    DbGroupOf(kRscUseFile, &desc);
    DbGroupScope group(desc);
    RscUseWeek w{};
    for (uint16_t r = DbFirst(kRscUseFile, &w); r == kQdbOk; r = DbNext(kRscUseFile, &w)) {
        if (w.head.week == 0) continue;
        const int limit = w.head.kind == kRscProvider ? 2 : 1;
        for (int d = 0; d < 7; ++d)
            for (int s = 0; s < kSlotsPerDay; ++s)
                ASSERT_LE(SlotCounter(w.occupancy[d], s), limit) << std::string(w.head.id, 4) << " day " << d << " slot " << s;
    }
}

// Every save a station reported is stored as it reported it; returns how many there were.
size_t ExpectReportedSavesStored(const Reported& r) {
    for (const auto& [id, state] : r.saved) {
        AppointmentRecord a{};
        EXPECT_EQ(kQdbOk, ReadAppointment(id, &a)) << "a save reported successful is in the database: " << id;
        EXPECT_EQ(state, StateOf(a)) << id;
    }
    return r.saved.size();
}

// The week records agree with the appointments without any repair, and no counter is too high.
void ExpectOccupancyExact() {
    const OccupancyReport found = VerifyOccupancy(false);
    ASSERT_TRUE(found.ok);
    EXPECT_TRUE(found.differences.empty()) << found.differences.size() << " differences, first: " << found.differences.front();
    ExpectCountersInRange();
}

// On each storage: the record locks, the one transaction per save and a killed workstation's
// locks are the storage's own.
class StressBook : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Ok());
        std::string reason;
        ASSERT_TRUE(db_.UseDemoPractice(kFirstMonday, &reason)) << reason;
        DbEndSession();
    }
    std::string Report(int n) const { return (db_.Settings().Dir() / ("station" + std::to_string(n))).string(); }
    PracticeTestDatabase db_{GetParam()};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Storage, StressBook, TestedBackends(), BackendParamName);

TEST_P(StressBook, FourWorkstationsAtOnceLeaveEveryReportedSaveAndAnExactOccupancy) {
    constexpr int kStations = 4;
    std::vector<pid_t> children;
    for (int n = 0; n < kStations; ++n) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        // A count of changes, not a time: on a loaded machine the stations still meet as often.
        if (child == 0)
            _exit(Workstation(100000u * static_cast<uint32_t>(n + 1), 17u + static_cast<uint32_t>(n), 120, Report(n), 40));
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    ASSERT_TRUE(DbInitDatabase());
    int saved = 0, refused = 0;
    for (int n = 0; n < kStations; ++n) {
        const Reported r = ReadReport(Report(n));
        saved += static_cast<int>(ExpectReportedSavesStored(r));
        for (uint32_t id : r.refused) {
            AppointmentRecord a{};
            EXPECT_EQ(kQdbNotFound, ReadAppointment(id, &a)) << "a refused new appointment is not: " << id;
            ++refused;
        }
    }
    EXPECT_GT(saved, 40);
    EXPECT_GT(refused, 0) << "the stations met each other";
    ExpectOccupancyExact();
}

TEST_P(StressBook, AWorkstationKilledMidRunLeavesTheOthersWorkingAndNothingHalfSaved) {
    std::vector<pid_t> children;
    for (int n = 0; n < 3; ++n) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) _exit(Workstation(100000u * static_cast<uint32_t>(n + 1), 31u + static_cast<uint32_t>(n), 4, Report(n)));
        children.push_back(child);
    }
    usleep(1500 * 1000);
    kill(children[0], SIGKILL);
    for (pid_t child : children) waitpid(child, nullptr, 0);

    ASSERT_TRUE(DbInitDatabase());
    for (int n = 1; n < 3; ++n) EXPECT_GT(ExpectReportedSavesStored(ReadReport(Report(n))), 5u) << "station " << n << " went on after the kill";
    // Each save is one transaction: whatever the killed station was doing is stored whole or
    // not at all.
    ExpectOccupancyExact();
}

TEST_P(StressBook, AMoveWaitsForAWeekHeldWhileAnotherWorkstationAsksThenCancelsOrRetries) {
    ASSERT_TRUE(DbInitDatabase());
    ASSERT_TRUE(LoadPracticeTables());
    AppointmentRecord held = Appointment(7, kFirstMonday, 9, "DR1 ", "OP1 ");
    AppointmentRecord mine = Appointment(8, kFirstMonday, 11, "DR1 ", "OP2 ");
    {
        YesToAllPrompter answers;
        ASSERT_TRUE(SaveAppointment(true, nullptr, held));
        ASSERT_TRUE(SaveAppointment(true, nullptr, mine));
    }
    DbEndSession();
    int asking[2], answer[2];
    ASSERT_EQ(0, pipe(asking));
    ASSERT_EQ(0, pipe(answer));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other workstation books DR1 over appointment 7: the double-booking question stays
        // on its screen, DR1's week locked, until this test lets its user answer No.
        struct SlowUser final : Prompter {
            int tell, hear;
            PromptAnswer Show(const PromptRequest&) override {
                char c = 'q';
                if (write(tell, &c, 1) != 1 || read(hear, &c, 1) != 1) return kAnswerNo;
                return kAnswerNo;
            }
        } user;
        user.tell = asking[1];
        user.hear = answer[0];
        InstallPrompter(&user);
        if (!DbInitDatabase() || !LoadPracticeTables()) _exit(10);
        _exit(SaveAppointment(true, nullptr, Appointment(9, kFirstMonday, 9, "DR1 ", "OP3 ")) ? 11 : 0);
    }
    char c = 0;
    ASSERT_EQ(1, read(asking[0], &c, 1)) << "the other workstation asks its question";
    ASSERT_TRUE(DbInitDatabase());
    ASSERT_TRUE(LoadPracticeTables());
    AppointmentRecord moved = mine;
    moved.hour = 14;

    const char kLockedPrompt[] = "A record of data file 94 is in use at another workstation.\nChoose Retry to try again or Cancel to give up.";
    {
        ScriptedPrompter prompts;
        prompts.Answer(kAnswerCancel);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(SaveAppointment(false, &mine, moved));
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << "it waits before it asks";
        EXPECT_EQ((std::vector<std::string>{kLockedPrompt}), prompts.Texts());
        EXPECT_EQ(kButtonsRetryCancel, prompts.Asked()[0].buttons);
        AppointmentRecord stored{};
        ASSERT_EQ(kQdbOk, ReadAppointment(8, &stored));
        EXPECT_EQ(0, std::memcmp(&stored, &mine, sizeof stored)) << "Cancel changes nothing";
    }
    {
        // Retry while the other user answers: the move goes through once their lock is gone.
        struct RetryAfterTheirAnswer final : Prompter {
            int tell;
            int asked = 0;
            PromptAnswer Show(const PromptRequest&) override {
                char go = 'n';
                if (asked++ == 0 && write(tell, &go, 1) != 1) return kAnswerCancel;
                return kAnswerRetry;
            }
        } user;
        user.tell = answer[1];
        InstallPrompter(&user);
        EXPECT_TRUE(SaveAppointment(false, &mine, moved));
        InstallPrompter(nullptr);
        EXPECT_GE(user.asked, 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other workstation's No saved nothing";
    AppointmentRecord stored{};
    ASSERT_EQ(kQdbOk, ReadAppointment(8, &stored));
    EXPECT_EQ(14, stored.hour);
    EXPECT_TRUE(VerifyOccupancy(false).differences.empty());
}

TEST_P(StressBook, ATakenIdIsRefusedAndAnEditElsewhereIsRefused) {
    ASSERT_TRUE(DbInitDatabase());
    ASSERT_TRUE(LoadPracticeTables());
    ScriptedPrompter prompts;
    AppointmentRecord a = Appointment(5, kFirstMonday, 9, "DR1 ", "OP1 ");
    ASSERT_TRUE(SaveAppointment(true, nullptr, a));
    // The same id again at another time: refused (its message says so), with no occupancy.
    AppointmentRecord twin = a;
    twin.hour = 14;
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(SaveAppointment(true, nullptr, twin));
    EXPECT_EQ(1u, prompts.Asked().size()) << "the write failure is reported";
    const OccupancyReport report = VerifyOccupancy(false);
    EXPECT_TRUE(report.differences.empty()) << report.differences.front();

    // Another process changes the appointment while this one has it open in the dialog.
    AppointmentRecord opening{};
    ASSERT_EQ(kQdbOk, ReadAppointment(5, &opening));
    DbEndSession();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        YesToAllPrompter answers;
        if (!DbInitDatabase() || !LoadPracticeTables()) _exit(1);
        AppointmentRecord stored{};
        if (ReadAppointment(5, &stored) != kQdbOk) _exit(2);
        AppointmentRecord changed = stored;
        changed.status = 2;
        _exit(SaveAppointment(false, &stored, changed) ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(DbInitDatabase());
    prompts.Answer(kAnswerOk);
    EXPECT_FALSE(CheckApptUnchanged(&opening));
    ASSERT_EQ(2u, prompts.Asked().size());
    EXPECT_EQ("Appointment has been changed at another workstation during edit. Edit canceled!", prompts.Asked()[1].text);
    EXPECT_EQ(0, opening.status) << "the opening copy is kept as it was";
}

#ifdef QVN_PG_CLUSTER_SCRIPT
// The server restarted in the middle of four workstations' run: the saves in flight are lost
// whole, the workstations ask, go on in new sessions, and nothing any of them reported is lost.
TEST(StressBookOnServer, ARestartInTheMiddleOfTheRunLosesNoReportedSaveAndLeavesNoLock) {
    OwnServer server;
    PracticeTestDatabase db(Backend::kPostgres, server.State());
    ASSERT_TRUE(db.Ok());
    std::string reason;
    ASSERT_TRUE(db.UseDemoPractice(kFirstMonday, &reason)) << reason;
    DbEndSession();
    auto report = [&](int n) { return (db.Settings().Dir() / ("station" + std::to_string(n))).string(); };
    constexpr int kStations = 4;
    std::vector<pid_t> children;
    for (int n = 0; n < kStations; ++n) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        // By time: the stations must still be at work when the server is back.
        if (child == 0) _exit(Workstation(100000u * static_cast<uint32_t>(n + 1), 53u + static_cast<uint32_t>(n), 8, report(n)));
        children.push_back(child);
    }
    // Once every station has saved something, the server goes away for a second.
    auto saves = [&](int n) { return ReadReport(report(n)).saved.size(); };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (int n = 0; n < kStations; ++n)
        while (saves(n) == 0 && std::chrono::steady_clock::now() < deadline) usleep(50 * 1000);
    ASSERT_TRUE(server.Run("halt"));
    usleep(1000 * 1000);
    ASSERT_TRUE(server.Run("resume"));
    std::vector<size_t> before_restart;
    for (int n = 0; n < kStations; ++n) before_restart.push_back(saves(n));
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    ASSERT_TRUE(DbInitDatabase());
    for (int n = 0; n < kStations; ++n)
        EXPECT_GT(ExpectReportedSavesStored(ReadReport(report(n))), before_restart[n]) << "station " << n << " saved again after the restart";
    ExpectOccupancyExact();
    DbEndSession();
    EXPECT_EQ(0, db.Store().Sql("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory'")) << "no record lock is left";
}
#endif
#endif
