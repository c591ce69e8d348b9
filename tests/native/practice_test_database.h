// A practice database with the files of every group in a temporary data directory, its own
// settings file, and the access layer's session on it for the test's lifetime; on PostgreSQL the
// database is a fresh one of the test cluster, named in the directory's qvndata.inf.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
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
        // A server database is not a folder to copy, and under Wine the program crashed in the C
        // runtime while copying the kept folder (a page fault in memcpy, seen in the fixtures'
        // tear-down): both write the practice each time.
#ifdef _WIN32
        const bool write_each_time = true;
#else
        const bool write_each_time = backend_ == Backend::kPostgres;
#endif
        if (write_each_time) {
            // A second practice in one test replaces the first, as the copy does natively.
            if (written_ && !EmptyTables(reason)) return false;
            written_ = true;
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
            std::filesystem::copy(dir_, aside, std::filesystem::copy_options::recursive, ec);
            if (!ec) std::filesystem::rename(aside, kept, ec);
            if (ec) std::filesystem::remove_all(aside, ec);
            return DbInitDatabase();
        }
        DbEndSession();
        std::filesystem::copy(kept, dir_, std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            *reason = "cannot copy the demo practice from " + kept.string() + ": " + ec.message();
            return false;
        }
        return DbInitDatabase();
    }
    std::string Dir() const { return dir_.string(); }

private:
    // Every row of every table gone and the record numbers counting from 1 again, as in a
    // database just made. A server database is filled once per test.
    bool EmptyTables(std::string* reason) {
        if (backend_ != Backend::kSqlite) return *reason = "a server practice is written once per test", false;
        DbEndSession();
        sqlite3* db = nullptr;
        std::string sql;
        bool ok = sqlite3_open_v2((dir_ / "qvn.db").string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* tables = nullptr;
        ok = ok && sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE 'g%'", -1, &tables,
                                      nullptr) == SQLITE_OK;
        while (ok && sqlite3_step(tables) == SQLITE_ROW)
            sql += std::string("DELETE FROM ") + reinterpret_cast<const char*>(sqlite3_column_text(tables, 0)) + ";";
        sqlite3_finalize(tables);
        sql = "BEGIN;" + sql + "DELETE FROM sqlite_sequence; COMMIT;";
        ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!ok) *reason = std::string("cannot empty the practice database: ") + sqlite3_errmsg(db);
        sqlite3_close(db);
        return ok && DbInitDatabase();
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
    bool written_ = false;  // the demo practice was written into this database once
};
