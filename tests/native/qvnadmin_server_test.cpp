// qvnadmin on a PostgreSQL practice, as a process: a practice seeded on the server reads back as
// the same practice seeded on SQLite, and an SQLite practice copied onto the server is the same
// practice. Small bench practices keep it quick; the demo practice goes through the same engine.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <string>

#include "admin_process.h"
#include "test_storage.h"

TEST(QvnAdminServer, SeedsVerifiesAndCopiesAPracticeOntoTheServer) {
    const std::string small = " --appointments 400 --operatories 3 --patients 400 --seed 5";
    TempDatabase file;
    std::string out, file_dump;
    ASSERT_EQ(0, RunAdmin("seed-bench " + file.Dir() + small, &out)) << out;
    ASSERT_EQ(0, RunAdmin("dump " + file.Dir(), &file_dump)) << file_dump;

    TempDatabase seeded(Backend::kPostgres);
    ASSERT_EQ("", seeded.Failure());
    ASSERT_EQ(0, RunAdmin("seed-bench " + seeded.Dir() + small, &out)) << out;
    EXPECT_EQ(1, RunAdmin("seed-demo " + seeded.Dir(), &out)) << "seeded already: " << out;
    ASSERT_EQ(0, RunAdmin("verify " + seeded.Dir(), &out)) << out;
    ASSERT_EQ(0, RunAdmin("dump " + seeded.Dir(), &out)) << out;
    EXPECT_EQ(file_dump, out) << "the same seed gives the same practice on the server";

    TempDatabase target(Backend::kPostgres);
    ASSERT_EQ("", target.Failure());
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
