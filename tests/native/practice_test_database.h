// A practice database with the files of every group in a temporary data directory, its own
// settings file, and the access layer's session on it for the test's lifetime; on PostgreSQL the
// database is a fresh one of the test cluster, named in the directory's qvndata.inf.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "data/db_access.h"
#include "data/practice_database.h"
#include "settings_test_env.h"
#include "test_storage.h"

class PracticeTestDatabase {
public:
    explicit PracticeTestDatabase(Backend backend = Backend::kSqlite) : store_(backend) {
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
    std::string Dir() const { return dir_.string(); }
    const TempSettings& Settings() const { return settings_; }

    // Adds a record to the group of file through the second tier; the result number.
    template <typename Record>
    uint16_t Add(int file, const Record& record) {
        FileGroupDesc desc{};
        DbGroupOf(file, &desc);
        Record before{};
        return DbSaveRecord(desc, file, &record, 0, &before, &record, true);
    }

private:
    TempSettings settings_;
    TempDatabase store_;
    std::filesystem::path dir_;
    bool ok_ = false;
};
