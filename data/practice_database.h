// Making a new practice database: the database file and the files of every file group, empty.
#pragma once

#include <string>

// Creates qvn.db in directory (which must exist) with the files of every group. An existing
// database is kept and gets the groups it lacks. False with a reason when anything fails.
bool CreatePracticeDatabase(const std::string& directory, std::string* reason);
