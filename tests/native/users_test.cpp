// Users and rights over a real user file: login, the rights check's three answers with the exact
// texts shown, the override user, three wrong passwords, and passwords kept only as salted hashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "scripted_prompter.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/users.h"
#include "user_database.h"

namespace {

constexpr int kRightBreak = 33;
constexpr int kRightDelete = 31;
constexpr int kRightOpen = 1;

const std::string kNoRightText = "You do not have the right to do this.\nAsk the practice administrator for the right.";

// A front-desk user with the rights, a restricted one, and one who may no longer log in.
struct Staff {
    UserRecord front, limited, gone;
    explicit Staff(UserDatabase& db) : front(db.AddUser(7, "front", "desk-pass", {kRightOpen, kRightBreak, kRightDelete})),
          limited(db.AddUser(8, "Limited", "limited-pass", {kRightOpen})),
          gone(db.AddUser(9, "gone", "gone-pass", {kRightOpen, kRightBreak}, kUserInactive)) {}
};

// Today's password check entries, each as "user:right outcome wrong-tries logged-in-user".
std::vector<std::string> TodaysChecks() {
    std::vector<AuditEntry> entries;
    EXPECT_TRUE(QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &entries));
    std::vector<std::string> checks;
    for (const AuditEntry& entry : entries) {
        PasswordCheckAudit body{};
        EXPECT_EQ(kAuditPasswordCheck, entry.kind);
        EXPECT_EQ(sizeof body, entry.newRecord.size());
        std::memcpy(&body, entry.newRecord.data(), std::min(sizeof body, entry.newRecord.size()));
        checks.push_back(std::to_string(entry.userId) + ":" + std::to_string(body.right) + " " + std::to_string(body.outcome) +
                         " " + std::to_string(body.wrongTries) + " " + std::to_string(body.loggedInUserId));
    }
    return checks;
}

// Each password prompt as "prompt|failure|name".
std::vector<std::string> Prompts(const ScriptedPasswordPrompter& p) {
    std::vector<std::string> shown;
    for (const PasswordRequest& r : p.Asked()) shown.push_back(r.prompt + "|" + r.failure + "|" + r.name);
    return shown;
}

const std::string kTwoMore = "The name or password is not correct. 2 more tries.";

// A user file with the staff above, a message prompter and a password prompter.
class UsersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.Ok()); }
    UserDatabase db;
    Staff staff{db};
    ScriptedPrompter messages;
    ScriptedPasswordPrompter passwords;
};

}  // namespace

TEST(Users, LoginNamesAndTheCommandLine) {
    // Seventeen characters are too long for the login field: never cut to match.
    EXPECT_EQ("FRONT|SIXTEENCHARSLONG|", NormalizeLoginName("  front ") + "|" + NormalizeLoginName("sixteencharslong") + "|" +
                                              NormalizeLoginName("seventeencharslon"));
    EXPECT_EQ("Mary-Ann|b|", UserFromCommandLine("-oaid12 /user=Mary-Ann /X") + "|" + UserFromCommandLine("/USER=a/User=b") + "|" +
                                  UserFromCommandLine("/OAID5 USER=front"));
}

TEST_F(UsersTest, RightsCheckGrantsRefusesAndCancels) {
    ASSERT_EQ(1, QVN_LogInUser("front"));
    EXPECT_EQ(1, QVN_CheckRights(kRightBreak, true)) << "held: no prompt";
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    EXPECT_EQ(0, QVN_CheckUserRights(kRightBreak)) << "the silent test shows nothing";

    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_CheckRights(kRightBreak, false)) << "without the prompt flag nobody is asked";
    ASSERT_EQ(1u, messages.Asked().size());
    EXPECT_EQ(kNoRightText, messages.Asked()[0].text);
    EXPECT_EQ("Appointment Book", messages.Asked()[0].title);

    // A cancelled prompt shows nothing; the dialog starts with the acting user's name.
    passwords.Cancel();
    EXPECT_EQ(-1, QVN_CheckRights(kRightBreak, true));
    EXPECT_EQ(std::vector<std::string>{"You do not have right 33 for this.\nA user who has it may enter a name and password.||LIMITED"},
              Prompts(passwords));
    EXPECT_EQ(8u, QVN_GetOverrideUserID());

    // A user who signs in but lacks the right is refused as well; an inactive user counts as a
    // wrong answer.
    passwords.Answer("gone", "gone-pass").Answer("limited", "limited-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_CheckRights(kRightBreak, true));
    ASSERT_EQ(3u, passwords.Asked().size());
    EXPECT_EQ(kTwoMore, passwords.Asked()[2].failure);
    EXPECT_EQ((std::vector<std::string>{kNoRightText, kNoRightText}), messages.Texts());
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    EXPECT_TRUE(TodaysChecks().empty()) << "the plain rights check writes no audit entry";
}

TEST_F(UsersTest, OverrideUserActsUntilPutBack) {
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    passwords.Answer(" Front ", "desk-pass");
    EXPECT_EQ(1, QVN_CheckRights(kRightBreak, true));
    EXPECT_EQ(std::tuple(7u, 8u), std::tuple(QVN_GetOverrideUserID(), QVN_GetLoggedInUserID()))
        << "the workstation's own user stays logged in";
    EXPECT_EQ(1, QVN_CheckUserRights(kRightDelete)) << "the override user holds for the action";
    EXPECT_EQ(1, QVN_CheckRights(kRightDelete, true)) << "no second prompt within the action";

    QVN_SetOverrideToLoggedIn();
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    EXPECT_EQ(0, QVN_CheckUserRights(kRightBreak));

    // Rights are read afresh: a right taken away holds at once.
    ASSERT_EQ(1, QVN_LogInUser("front"));
    UserRecord changed = staff.front;
    SetUserRight(changed, kRightBreak, false);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(changed));
    EXPECT_EQ(std::tuple(0, 1), std::tuple(QVN_CheckUserRights(kRightBreak), QVN_CheckUserRights(kRightDelete)));
}

TEST_F(UsersTest, WrongPasswordsCountToThreeAndEveryAnsweredCheckIsAudited) {
    // Three wrong answers: refused, the name as typed kept in the dialog; nobody signed in, so the
    // entry names the logged-in user.
    ASSERT_EQ(1, QVN_LogInUser("front"));
    passwords.Answer("front", "desk-PASS").Answer("frnot", "desk-pass").Answer("front", "");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightDelete));
    const std::string confirm = "Enter your name and password to confirm this action (right 31).";
    EXPECT_EQ((std::vector<std::string>{confirm + "||FRONT", confirm + "|" + kTwoMore + "|front",
                                        confirm + "|The name or password is not correct. 1 more try.|frnot"}),
              Prompts(passwords));
    EXPECT_EQ(std::vector<std::string>{kNoRightText}, messages.Texts());
    // The count starts again at the next check.
    passwords.Answer("front", "wrong").Answer("front", "desk-pass");
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightDelete));

    // Two wrong, then right: granted without a message, the user who signed in acts for the action.
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    passwords.Answer("front", "nope").Answer("front", "nope again").Answer("front", "desk-pass");
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ(std::tuple(7u, 8u), std::tuple(QVN_GetOverrideUserID(), QVN_GetLoggedInUserID()));
    // Name and password right, the right missing: refused with the message, audited as such.
    QVN_SetOverrideToLoggedIn();
    passwords.Answer("limited", "limited-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ((std::vector<std::string>{kNoRightText, kNoRightText}), messages.Texts());
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    // Cancel: nothing shown, nothing audited.
    passwords.Cancel();
    EXPECT_EQ(-1, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ(2u, messages.Asked().size());

    const std::string wrong = std::to_string(kPasswordWrongTries), granted = std::to_string(kPasswordGranted),
                      no_right = std::to_string(kPasswordNoRight);
    EXPECT_EQ((std::vector<std::string>{"7:31 " + wrong + " 3 7", "7:31 " + granted + " 1 7", "7:33 " + granted + " 2 8",
                                        "8:33 " + no_right + " 0 8"}),
              TodaysChecks());
}

TEST(Users, PasswordsAreKeptOnlyAsSaltedHashesAndWithoutAPrompterEveryPromptCancels) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    const std::string password = "Secret-Tooth-42";
    UserRecord a = db.AddUser(1, "alice", password, {kRightOpen});
    UserRecord b = db.AddUser(2, "bob", password, {kRightOpen});
    EXPECT_NE(0, std::memcmp(a.passwordSalt, b.passwordSalt, sizeof a.passwordSalt)) << "each user gets a salt";
    EXPECT_NE(0, std::memcmp(a.passwordHash, b.passwordHash, sizeof a.passwordHash)) << "same password, other hash";
    // The last: a user without a password never signs in.
    EXPECT_EQ((std::vector<bool>{true, false, false, false}),
              (std::vector<bool>{QVN_PasswordMatches(a, password), QVN_PasswordMatches(a, "secret-tooth-42"),
                                 QVN_PasswordMatches(a, ""), QVN_PasswordMatches(MakeUserRecord(3, "carol", "Carol"), "")}));

    ASSERT_EQ(1, QVN_LogInUser("alice"));
    ScriptedPrompter messages;
    EXPECT_EQ(-1, QVN_CheckRights(kRightBreak, true)) << "no password prompter: cancelled";
    EXPECT_EQ(-1, QVN_PasswordCheckwAudit(kRightBreak));

    // Signing in with the password leaves no trace of it in the database file either.
    ScriptedPasswordPrompter passwords;
    passwords.Answer("bob", password + "x").Answer("bob", password).Answer("bob", password);
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightBreak)) << "bob lacks right 33";
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightOpen));
    DbEndSession();
    const std::string file = db.FileBytes();
    EXPECT_NE(std::string::npos, file.find("ALICE")) << "the user file is in the bytes searched";
    EXPECT_EQ(std::string::npos, file.find(password));
    EXPECT_EQ(std::string::npos, file.find("Secret-Tooth")) << "not even a part of it";
}

TEST_F(UsersTest, SignOnNamingAUserProvesNothingAndThreeWrongPasswordsEndIt) {
    // The command line's name is preset; only the password lets the user in.
    passwords.Answer("FRONT", "desk-pass");
    EXPECT_EQ(1, QVN_SignOn("front"));
    EXPECT_EQ(std::vector<std::string>{"Sign on to the appointment book with your name and password.||FRONT"}, Prompts(passwords));
    EXPECT_EQ(std::tuple(7u, 7u), std::tuple(QVN_GetLoggedInUserID(), QVN_GetOverrideUserID()));

    // [GENERAL] User names the user when the command line does not; cancelling leaves nobody in.
    QVN_WriteProfileString("GENERAL", "User", "limited");
    passwords.Cancel();
    EXPECT_EQ(-1, QVN_SignOn(""));
    EXPECT_EQ("LIMITED", passwords.Asked()[1].name);
    EXPECT_EQ(std::tuple(0u, 0), std::tuple(QVN_GetLoggedInUserID(), QVN_CheckUserRights(kRightOpen)));

    // Three wrong answers in the one sign-on: refused with its message, nobody logged in.
    passwords.Answer("limited", "front-pass").Answer("limited", "").Answer("gone", "gone-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_SignOn("limited"));
    EXPECT_EQ(5u, passwords.Asked().size());
    ASSERT_EQ(1u, messages.Asked().size());
    EXPECT_EQ("The name or password was not correct three times.\nThe appointment book closes.", messages.Asked()[0].text);
    EXPECT_EQ(kIconStop, messages.Asked()[0].icon);
    EXPECT_EQ(0u, QVN_GetLoggedInUserID());

    // A user without a password has nothing to give and is let in as named, without a prompt.
    UserRecord open = MakeUserRecord(11, "kiosk", "Kiosk");
    SetUserRight(open, kRightOpen, true);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(open));
    EXPECT_EQ(1, QVN_SignOn("kiosk"));
    EXPECT_EQ(11u, QVN_GetLoggedInUserID());
    EXPECT_EQ(5u, passwords.Asked().size());
    // The granted and the refused sign-on are audited; a cancel is not.
    EXPECT_EQ((std::vector<std::string>{"7:1 " + std::to_string(kPasswordGranted) + " 0 7",
                                        "0:1 " + std::to_string(kPasswordWrongTries) + " 3 0"}),
              TodaysChecks());
}
