// Runs the qvnadmin built beside the tests as a process, for the tests of its command line.
#pragma once

#ifndef _WIN32
#include <sys/wait.h>

#include <cstdio>
#include <string>

// The exit code and what qvnadmin printed on both streams.
inline int RunAdmin(const std::string& arguments, std::string* output) {
    const std::string command = std::string(QVN_ADMIN_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    output->clear();
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output->append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif
