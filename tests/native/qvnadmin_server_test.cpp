// qvnadmin on a PostgreSQL practice, as a process: a practice written on the server reads back as
// the same practice written on SQLite, and an SQLite practice copied onto the server is the same
// practice. The practices are small bench practices written in this process with few password
// iterations (the admin tool's own iterations take minutes under the sanitizers).
#ifndef _WIN32
#include <gtest/gtest.h>

#include <string>

#include "admin_process.h"
#include "data/bench_practice.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "suite/dates.h"
#include "test_storage.h"

namespace {

void WriteSmallPractice(const std::string& dir) {
    std::string reason;
    ASSERT_TRUE(CreatePracticeDatabase(dir, &reason)) << reason;
    ASSERT_TRUE(OpenPracticeDatabase(dir, &reason)) << reason;
    BenchOptions options;
    options.appointments = 400;
    options.operatories = 3;
    options.patients = 400;
    options.seed = 5;
    options.today = QVN_DateIn(12, 7, 2026);
    options.passwordIterations = 1000;
    BenchCounts counts;
    EXPECT_TRUE(WriteBenchPractice(options, &counts, &reason)) << reason;
    DbEndSession();
}

}  // namespace

TEST(QvnAdminServer, DumpsVerifiesAndCopiesAPracticeOntoTheServer) {
    TempDatabase file, seeded(Backend::kPostgres), target(Backend::kPostgres);
    ASSERT_EQ("", seeded.Failure());
    ASSERT_EQ("", target.Failure());
    WriteSmallPractice(file.Dir());
    WriteSmallPractice(seeded.Dir());
    std::string out, file_dump;
    ASSERT_EQ(0, RunAdmin("dump " + file.Dir(), &file_dump)) << file_dump;
    ASSERT_EQ(0, RunAdmin("verify " + seeded.Dir(), &out)) << out;
    EXPECT_NE(std::string::npos, out.find(" 0 differences")) << out;
    ASSERT_EQ(0, RunAdmin("dump " + seeded.Dir(), &out)) << out;
    EXPECT_EQ(file_dump, out) << "the same practice written on the server reads back the same";
    EXPECT_EQ(1, RunAdmin("seed-demo " + seeded.Dir(), &out)) << "seeded already: " << out;

    ASSERT_EQ(0, RunAdmin("copy " + file.Dir() + " --to \"" + target.Connection() + "\"", &out)) << out;
    EXPECT_NE(std::string::npos, out.find(" and compared them: equal\n")) << out;
    ASSERT_EQ(0, RunAdmin("dump " + target.Dir(), &out)) << out;
    EXPECT_EQ(file_dump, out);
    ASSERT_EQ(0, RunAdmin("verify " + target.Dir(), &out)) << out;
    EXPECT_GT(target.Sql("SELECT count(*) FROM g16"), 0) << "the id counters came along";

    EXPECT_EQ(1, RunAdmin("copy " + file.Dir() + " --to \"" + target.Connection() + "\"", &out));
    EXPECT_NE(std::string::npos, out.find("the target already holds records")) << out;
    EXPECT_EQ(1, RunAdmin("copy " + file.Dir() + " --to \"Driver={PostgreSQL ANSI};Server=127.0.0.1;Port=1;Database=x;\"", &out));
    EXPECT_NE(std::string::npos, out.find("[DATABASE] Connection in qvndata.inf: cannot connect")) << out;
}
#endif
