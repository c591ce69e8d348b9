// qvnadmin: the practice administrator's command-line tool over the same core as the program.
//
//   qvnadmin create DIR              an empty practice database in DIR
//
// Exit code 0 on success, 1 when the work failed, 2 on a wrong command line.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "data/practice_database.h"

namespace {

const char kUsage[] =
    "usage: qvnadmin create DIR\n"
    "  create DIR   make an empty practice database in DIR (the folder is made when missing)\n";

int Create(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string reason;
    if (!CreatePracticeDatabase(dir, &reason)) {
        std::fprintf(stderr, "qvnadmin: cannot create the practice database in %s: %s\n", dir.c_str(), reason.c_str());
        return 1;
    }
    std::printf("created the practice database in %s\n", dir.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "create") == 0) return Create(argv[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
