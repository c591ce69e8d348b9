// A practice database with the files of every group in a temporary data directory, its own
// settings file, and the access layer's session on it for the test's lifetime; on PostgreSQL the
// database is a fresh one of the test cluster, named in the directory's qvndata.inf.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <stdlib.h>
#endif

#include "data/db_access.h"
#include "data/demo_practice.h"
#include "data/demo_seed.h"
#include "data/practice_database.h"
#include "settings_test_env.h"
#include "suite/records/practice_resource.h"
#include "sqlite3.h"
#include "test_storage.h"

class PracticeTestDatabase {
public:
    // On PostgreSQL, cluster names the state file of another cluster than the test run's.
    explicit PracticeTestDatabase(Backend backend = Backend::kSqlite, const std::string& cluster = kPgTestCluster)
        : backend_(backend), store_(backend, cluster) {
        std::random_device random;
        dir_ = settings_.Dir() / ("data" + std::to_string(random()));
        std::filesystem::create_directories(dir_);
        EXPECT_EQ("", store_.Failure());
        if (backend == Backend::kPostgres) std::filesystem::copy_file(store_.Path() / "qvndata.inf", dir_ / "qvndata.inf");
        QVN_WriteProfileString("GENERAL", "Path", dir_.string().c_str());
        std::string reason;
        ok_ = CreatePracticeDatabase(dir_.string(), &reason) && DbInitDatabase();
        EXPECT_TRUE(ok_) << reason;
    }
    ~PracticeTestDatabase() { DbEndSession(); }
    PracticeTestDatabase(const PracticeTestDatabase&) = delete;
    PracticeTestDatabase& operator=(const PracticeTestDatabase&) = delete;

    bool Ok() const { return ok_; }

    // Fills this database with the demo practice of the seed built around today. Writing it takes
    // seconds (every table filled, every user's password hashed), so it is written once per
    // build of the test program, into a folder beside the program, and copied from there; the
    // session is started again on the copy. False, with the reason, when it cannot be written.
    bool UseDemoPractice(int32_t today, std::string* reason, uint32_t seed = 1) {
        // A server database is not a folder to copy: it is written each time.
        if (backend_ == Backend::kPostgres) {
            if (!WriteDemoPractice(BuildDemoPractice(seed, today), 1000, reason)) return false;
            DbEndSession();
            return DbInitDatabase();
        }
        std::error_code ec;
        const std::filesystem::path program = ProgramPath();
        const std::string stamp = std::to_string(std::filesystem::last_write_time(program, ec).time_since_epoch().count()) +
                                  "-" + std::to_string(std::filesystem::file_size(program, ec));
        const std::filesystem::path kept = program.parent_path() / ("demo-practice-" + std::to_string(seed) + "-" + std::to_string(today) + "-" + stamp);
        if (!std::filesystem::is_directory(kept, ec)) {
            if (!WriteDemoPractice(BuildDemoPractice(seed, today), 1000, reason)) return false;
            DbEndSession();
            // Copies kept by an earlier build of the program are of no further use.
            std::vector<std::filesystem::path> stale;
            for (const auto& entry : std::filesystem::directory_iterator(program.parent_path(), ec)) {
                const std::string name = entry.path().filename().string();
                if (name.rfind("demo-practice-", 0) == 0 && name.find(stamp) == std::string::npos) stale.push_back(entry.path());
            }
            for (const std::filesystem::path& path : stale) std::filesystem::remove_all(path, ec);
            // Written aside and renamed, so that a test program running beside this one never
            // copies a half-written practice; the one that renames first keeps its copy.
            std::random_device random;
            const std::filesystem::path aside = kept.string() + ".part" + std::to_string(random());
            // A copy that cannot be kept only costs the next test the writing.
            std::string ignored;
            std::error_code renamed;
            const bool copied = CopyPracticeFiles(dir_, aside, &ignored);
            if (copied) std::filesystem::rename(aside, kept, renamed);
            if (!copied || renamed) std::filesystem::remove_all(aside, ec);
            return DbInitDatabase();
        }
        DbEndSession();
        return CopyPracticeFiles(kept, dir_, reason) && DbInitDatabase();
    }
    std::string Dir() const { return dir_.string(); }

private:
    // Copies the files of a practice folder (it has no subfolders) by reading and writing them,
    // replacing what is there. std::filesystem::copy crashed the Windows build of the tests under
    // Wine (a page fault in memcpy), so the copy is done with plain streams everywhere.
    static bool CopyPracticeFiles(const std::filesystem::path& from, const std::filesystem::path& to, std::string* reason) {
        std::error_code ec;
        std::filesystem::create_directories(to, ec);
        for (const auto& entry : std::filesystem::directory_iterator(from, ec)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ofstream out(to / entry.path().filename(), std::ios::binary | std::ios::trunc);
            // Inserting an empty file's buffer would mark the output failed.
            if (in && out && in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
            if ((!in.good() && !in.eof()) || !out.flush()) return *reason = "cannot copy " + entry.path().string() + " to " + to.string(), false;
        }
        if (ec) *reason = "cannot list " + from.string() + ": " + ec.message();
        return !ec;
    }

public:
    const TempSettings& Settings() const { return settings_; }
    // The database behind the practice, for statements of the test's own beside the engine.
    const TempDatabase& Store() const { return store_; }

    // Adds a record to the group of file through the second tier; the result number.
    template <typename Record>
    uint16_t Add(int file, const Record& record) {
        FileGroupDesc desc{};
        DbGroupOf(file, &desc);
        Record before{};
        return DbSaveRecord(desc, file, &record, 0, &before, &record, true);
    }

    // Adds a resource record (practice "-PR-", provider or operatory) of the identifier, blank
    // padded to four characters; the result number.
    uint16_t AddResource(uint8_t kind, const char* id, uint8_t attribute = 0) {
        ResourceRecord r{};
        r.kind = kind;
        std::memcpy(r.id, (std::string(id) + "    ").data(), 4);
        r.attribute = attribute;
        return Add(kResourceFile, r);
    }

private:
    static std::filesystem::path ProgramPath() {
        std::error_code ec;
#ifdef _WIN32
        return std::filesystem::absolute((__argv && __argv[0]) ? __argv[0] : "", ec);
#else
        return std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    }

    Backend backend_;
    TempSettings settings_;
    TempDatabase store_;
    std::filesystem::path dir_;
    bool ok_ = false;
};
