// For the users and audit tests: a practice database (practice_test_database.h) with users added
// through the real user file, and a password prompter that answers from a script and records
// what each prompt showed.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "practice_test_database.h"
#include "suite/users.h"

// Cheap for tests; the records keep their own count, so checks use exactly what was stored.
constexpr uint32_t kTestIterations = 1000;

class UserDatabase : public PracticeTestDatabase {
public:
    ~UserDatabase() { QVN_LogOutUser(); }

    // Adds a user with the password and the rights; returns the record as stored.
    UserRecord AddUser(uint32_t id, const std::string& login, const std::string& password, std::vector<int> rights,
                       uint32_t flags = 0) {
        UserRecord user = MakeUserRecord(id, login, login + " full name");
        QVN_SetUserPassword(user, password, kTestIterations);
        for (int right : rights) SetUserRight(user, right, true);
        user.flags = flags;
        EXPECT_EQ(kQdbOk, QVN_WriteUser(user)) << login;
        return user;
    }

    // Every byte of the database file as it is on disk now.
    std::string FileBytes() const { return TempSettings::ReadFile(std::filesystem::path(Dir()) / "qvn.db"); }
};

class ScriptedPasswordPrompter final : public PasswordPrompter {
public:
    ScriptedPasswordPrompter() { InstallPasswordPrompter(this); }
    ~ScriptedPasswordPrompter() override { InstallPasswordPrompter(nullptr); }
    ScriptedPasswordPrompter(const ScriptedPasswordPrompter&) = delete;
    ScriptedPasswordPrompter& operator=(const ScriptedPasswordPrompter&) = delete;

    ScriptedPasswordPrompter& Answer(const std::string& name, const std::string& password) {
        script_.push_back({true, {name, password}});
        return *this;
    }
    ScriptedPasswordPrompter& Cancel() {
        script_.push_back({false, {}});
        return *this;
    }

    bool Ask(const PasswordRequest& request, PasswordAnswer* answer) override {
        asked_.push_back(request);
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected password prompt: \"" << request.prompt << "\"";
            return false;
        }
        Step step = script_.front();
        script_.pop_front();
        *answer = step.answer;
        return step.given;
    }

    const std::vector<PasswordRequest>& Asked() const { return asked_; }
    size_t UnusedAnswers() const { return script_.size(); }

private:
    struct Step {
        bool given;
        PasswordAnswer answer;
    };
    std::deque<Step> script_;
    std::vector<PasswordRequest> asked_;
};
