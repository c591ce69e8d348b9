// Moving a practice's database to another storage (an SQLite practice onto a PostgreSQL server):
// every record of every file group in its physical order, the id counters among them, then both
// read again and compared.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct PracticeCopyCounts {
    int groups = 0;        // file groups that hold records
    int64_t records = 0;
};

// Copies the practice database of source_directory into the database that target_directory's
// qvndata.inf names (made when missing). Refused when the target holds any record already, or
// when another workstation has a file group of the source open (the copy opens them exclusively).
// False with a reason on any failure; a copy that does not compare equal is a failure too.
// progress, when given, hears how far the copy is: the records written so far, then the records
// compared so far (compared true), after every few hundred records.
bool CopyPracticeDatabase(const std::string& source_directory, const std::string& target_directory,
                          PracticeCopyCounts* counts, std::string* reason,
                          const std::function<void(int64_t records, bool compared)>& progress = nullptr);
