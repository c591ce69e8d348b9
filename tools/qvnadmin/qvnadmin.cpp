// qvnadmin: the practice administrator's command-line tool over the same core as the program.
//
//   qvnadmin create DIR              an empty practice database in DIR
//   qvnadmin seed-demo DIR [SEED]    DIR made and filled with the demo practice
//   qvnadmin seed-bench DIR [--appointments N] [--operatories K] [--patients P] [--seed S]
//                           [--password-iterations I]
//                                    DIR made and filled with a large benchmark practice
//   qvnadmin dump DIR [FAMILY]       the records of DIR, one readable line each
//   qvnadmin verify DIR [--repair]   the week occupancy recomputed from the appointments
//   qvnadmin find-times DIR ...      free appointment times, one a line
//   qvnadmin copy DIR --to CONNECTION
//                                    the practice database of DIR copied onto a PostgreSQL server
//
// DIR is the practice's data directory; its qvndata.inf says where the database is ([DATABASE]
// Backend and Connection), an SQLite file in DIR when it says nothing.
//
// Exit code 0 on success, 1 when the work failed, 2 on a wrong command line, 3 when verify
// found differences (and did not repair them).
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/bench_practice.h"
#include "data/db_access.h"
#include "data/demo_appointments.h"
#include "data/demo_practice.h"
#include "data/demo_seed.h"
#include "data/practice_copy.h"
#include "data/practice_database.h"
#include "data/occupancy_verify.h"
#include "data/practice_schedule.h"
#include "data/record_dump.h"
#include "suite/dates.h"
#include "suite/qdb/qdb.h"
#include "suite/users.h"

namespace {

const char kUsage[] =
    "usage: qvnadmin create DIR\n"
    "       qvnadmin seed-demo DIR [SEED]\n"
    "       qvnadmin seed-bench DIR [--appointments N] [--operatories K] [--patients P] [--seed S]\n"
    "                               [--password-iterations I]\n"
    "       qvnadmin dump DIR [FAMILY]\n"
    "       qvnadmin verify DIR [--repair]\n"
    "       qvnadmin find-times DIR --provider ID[,ID..] --operatory ID[,ID..] --length MINUTES\n"
    "                --start MM/DD/YYYY [--days 1234567] [--from HH:MM --to HH:MM]\n"
    "                [--block PROVIDER:POSITION] [--type N] [--assigned-only] [--pages N]\n"
    "       qvnadmin copy DIR --to CONNECTION\n"
    "  DIR is the practice's data directory; its qvndata.inf names a server database in\n"
    "  [DATABASE] (Backend=PostgreSQL, Connection=an ODBC connection without a password)\n"
    "  create DIR       make an empty practice database in DIR (the folder is made when missing)\n"
    "  seed-demo DIR    make DIR and fill it with the demo practice; the same SEED (default 1)\n"
    "                   gives the same practice; DIR must not hold a practice database yet\n"
    "  seed-bench DIR   make DIR and fill it with a large practice for benchmarks: N appointments\n"
    "                   (default 1000000) over ten years in K operatories (default 20, at most\n"
    "                   99) with P patients (default one for every 20 appointments, at least\n"
    "                   400), the same for the same S (default 1); written in bulk, so no other\n"
    "                   workstation may work meanwhile; DIR must not hold a practice database yet;\n"
    "                   the users' passwords are hashed with I iterations (default 600000; fewer\n"
    "                   to time the program's own work apart from the password check)\n"
    "  dump DIR         print the records, or only one FAMILY of them:\n"
    "                   resources, schedule, definitions, codes, referrals, patients, users,\n"
    "                   appointments\n"
    "  verify DIR       recompute every provider and operatory week record from the appointments\n"
    "                   and list each difference; --repair rewrites the records that differ\n"
    "  find-times DIR   search free times as the program's Find New Appointment Time does, pages\n"
    "                   of ten (default one page): date, weekday, start, end, provider, operatory\n"
    "                   a line, then the message that ended the search; --days lists the weekdays\n"
    "                   searched (1 Sunday .. 7 Saturday), --type the appointment type's place\n"
    "                   in the type list (0 = any)\n"
    "  copy DIR         copy every record of DIR's practice database (the id counters among them)\n"
    "                   into the empty PostgreSQL database that the ODBC CONNECTION names, then\n"
    "                   compare the two; no workstation may work meanwhile\n";

// Whether DIR's practice database exists already (a file, or the tables on the server).
bool HoldsPracticeDatabase(const std::string& dir) { return QDB_InitDataBase(dir.c_str()) == 1; }

// Ends the access layer's session on every way out.
struct SessionEnd {
    ~SessionEnd() { DbEndSession(); }
};

bool Create(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string reason;
    if (!CreatePracticeDatabase(dir, &reason)) {
        std::fprintf(stderr, "qvnadmin: cannot create the practice database in %s: %s\n", dir.c_str(), reason.c_str());
        return false;
    }
    return true;
}

bool Open(const std::string& dir) {
    std::string reason;
    if (OpenPracticeDatabase(dir, &reason)) return true;
    std::fprintf(stderr, "qvnadmin: cannot open the practice database in %s: %s\n", dir.c_str(), reason.c_str());
    return false;
}

int CreateCommand(const std::string& dir) {
    if (!Create(dir)) return 1;
    std::printf("created the practice database in %s\n", dir.c_str());
    return 0;
}

int SeedDemo(const std::string& dir, uint32_t seed) {
    if (HoldsPracticeDatabase(dir)) {
        std::fprintf(stderr, "qvnadmin: %s already holds a practice database; seed an empty folder\n", dir.c_str());
        return 1;
    }
    if (!Create(dir) || !Open(dir)) return 1;
    SessionEnd end;
    const DemoPractice demo = BuildDemoPractice(seed, QVN_SysDate());
    std::string reason;
    if (!WriteDemoPractice(demo, kPasswordIterations, &reason)) {
        std::fprintf(stderr, "qvnadmin: seeding the demo practice failed: %s\n", reason.c_str());
        return 1;
    }
    DemoBookCounts book;
    if (!LoadPracticeTables() || !WriteDemoAppointments(demo, seed, QVN_SysDate(), DemoBookSpan{}, &book, &reason)) {
        std::fprintf(stderr, "qvnadmin: booking the demo appointments failed: %s\n", reason.c_str());
        return 1;
    }
    std::printf("seeded the demo practice \"%s\" (seed %u) in %s: %zu providers, %zu operatories, %zu patients\n",
                demo.name.c_str(), seed, dir.c_str(), demo.providers.size(), demo.operatories.size(),
                demo.patients.size());
    std::printf("booked %d appointments (%d complete, %d double bookings, %d ASAP, %d new patients), "
                "%d broken and %d unscheduled\n",
                book.scheduled, book.completed, book.doubleBooked, book.asap, book.newPatients, book.broken,
                book.unscheduled);
    return 0;
}

int SeedBench(const std::string& dir, const BenchOptions& asked) {
    if (HoldsPracticeDatabase(dir)) {
        std::fprintf(stderr, "qvnadmin: %s already holds a practice database; seed an empty folder\n", dir.c_str());
        return 1;
    }
    if (!Create(dir) || !Open(dir)) return 1;
    SessionEnd end;
    BenchOptions options = asked;
    options.today = QVN_SysDate();
    if (options.passwordIterations == 0) options.passwordIterations = kPasswordIterations;
    const auto start = std::chrono::steady_clock::now();
    BenchCounts counts;
    std::string reason;
    if (!WriteBenchPractice(options, &counts, &reason)) {
        std::fprintf(stderr, "qvnadmin: seeding the benchmark practice failed: %s\n", reason.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("seeded the benchmark practice (seed %u) in %s: %d providers, %d operatories, %d patients\n",
                options.seed, dir.c_str(), counts.providers, counts.operatories, counts.patients);
    std::printf("booked %d appointments from %s to %s: %d scheduled (%d complete, %d ASAP, %d new patients), "
                "%d broken; %d week records\n",
                counts.appointments, QVN_fmtDateString2000(counts.firstDate).c_str(),
                QVN_fmtDateString2000(counts.lastDate).c_str(), counts.scheduled, counts.completed, counts.asap,
                counts.newPatients, counts.broken, counts.weekRecords);
    std::printf("%.1f seconds\n", seconds);
    return 0;
}

int Dump(const std::string& dir, const std::string& family) {
    if (!Open(dir)) return 1;
    SessionEnd end;
    std::vector<std::string> lines;
    if (!DumpRecords(family, &lines)) {
        std::fprintf(stderr, "qvnadmin: no record family \"%s\"\n%s", family.c_str(), kUsage);
        return 2;
    }
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    return 0;
}

int Verify(const std::string& dir, bool repair) {
    if (!Open(dir)) return 1;
    SessionEnd end;
    const OccupancyReport report = VerifyOccupancy(repair);
    for (const std::string& line : report.differences) std::printf("%s\n", line.c_str());
    std::printf("%d scheduled appointments, %d week records, %zu differences", report.appointments, report.records,
                report.differences.size());
    if (repair) std::printf(", %d records repaired", report.repaired);
    std::printf("\n");
    if (!report.ok) {
        std::fprintf(stderr, "qvnadmin: the occupancy could not be %s\n", repair ? "repaired" : "read");
        return 1;
    }
    return report.differences.empty() || repair ? 0 : 3;
}

// The target named by a connection, as the engine finds every database: a folder whose
// qvndata.inf names it (a temporary one, removed at the end).
int Copy(const std::string& dir, const std::string& connection) {
    std::random_device random;
    const std::filesystem::path target = std::filesystem::temp_directory_path() / ("qvn-copy-" + std::to_string(random()));
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    { std::ofstream(target / "qvndata.inf") << "[DATABASE]\nBackend=PostgreSQL\nConnection=" << connection << "\n"; }
    PracticeCopyCounts counts;
    std::string reason;
    // A line every two seconds or so: a large practice takes minutes.
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    auto report = [&](int64_t records, bool compared) {
        const auto now = std::chrono::steady_clock::now();
        if (now - last < std::chrono::seconds(2)) return;
        last = now;
        const double seconds = std::chrono::duration<double>(now - start).count();
        std::printf("%s %lld records (%.0f s)\n", compared ? "compared" : "copied", static_cast<long long>(records), seconds);
        std::fflush(stdout);
    };
    const bool ok = CopyPracticeDatabase(dir, target.string(), &counts, &reason, report);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove_all(target, ec);
    if (!ok) {
        std::fprintf(stderr, "qvnadmin: the copy failed: %s\n", reason.c_str());
        return 1;
    }
    std::printf("copied %lld records of %d file groups from %s and compared them: equal\n",
                static_cast<long long>(counts.records), counts.groups, dir.c_str());
    std::printf("in %.1f s, %.0f records/s with the comparison\n", seconds,
                seconds > 0 ? static_cast<double>(counts.records) / seconds : 0.0);
    std::printf("the practice works on the server once %s/qvndata.inf says:\n[DATABASE]\nBackend=PostgreSQL\nConnection=%s\n",
                dir.c_str(), connection.c_str());
    return 0;
}

// A seed number of decimal digits only; false otherwise.
bool ParseSeed(const char* text, uint32_t* seed) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (!*text || *end || value > 0xFFFFFFFFul) return false;
    *seed = static_cast<uint32_t>(value);
    return true;
}

// The options of seed-bench after DIR; false on anything unknown, repeated values allowed.
bool ParseBenchOptions(int argc, char** argv, BenchOptions* options) {
    for (int i = 3; i < argc; i += 2) {
        uint32_t value = 0;
        if (i + 1 >= argc || !ParseSeed(argv[i + 1], &value)) return false;
        if (std::strcmp(argv[i], "--appointments") == 0 && value <= 100000000u) options->appointments = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--operatories") == 0 && value >= 1 && value <= kBenchMaxOperatories)
            options->operatories = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--patients") == 0 && value >= 1 && value <= 10000000u)
            options->patients = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--seed") == 0) options->seed = value;
        else if (std::strcmp(argv[i], "--password-iterations") == 0 && value >= 1) options->passwordIterations = value;
        else return false;
    }
    return true;
}

}  // namespace

int FindTimesCommand(int argc, char** argv, const char* usage);  // find_times_command.cpp

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "create" && argc == 3) return CreateCommand(argv[2]);
    uint32_t seed = 1;
    if (command == "seed-demo" && (argc == 3 || (argc == 4 && ParseSeed(argv[3], &seed)))) return SeedDemo(argv[2], seed);
    BenchOptions bench;
    if (command == "seed-bench" && argc >= 3 && ParseBenchOptions(argc, argv, &bench)) return SeedBench(argv[2], bench);
    if (command == "dump" && (argc == 3 || argc == 4)) return Dump(argv[2], argc == 4 ? argv[3] : "all");
    if (command == "verify" && (argc == 3 || (argc == 4 && std::strcmp(argv[3], "--repair") == 0)))
        return Verify(argv[2], argc == 4);
    if (command == "find-times") return FindTimesCommand(argc, argv, kUsage);
    if (command == "copy" && argc == 5 && std::strcmp(argv[3], "--to") == 0) return Copy(argv[2], argv[4]);
    std::fputs(kUsage, stderr);
    return 2;
}
