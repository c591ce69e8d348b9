// Making a new practice database (the database file and the files of every file group, empty)
// and opening one by its directory.
#pragma once

#include <string>

// Creates qvn.db in directory (which must exist) with the files of every group. An existing
// database is kept and gets the groups it lacks. False with a reason when anything fails.
bool CreatePracticeDatabase(const std::string& directory, std::string* reason);

// Starts the access layer's session on the practice database in directory, for tools that name
// the directory themselves instead of reading [GENERAL] Path. False with a reason when the
// directory holds no practice database or the session cannot start.
bool OpenPracticeDatabase(const std::string& directory, std::string* reason);
