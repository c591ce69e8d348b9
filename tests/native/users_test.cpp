// Users and rights over a real user file: login, the rights check's three answers with the exact
// texts shown, the override user, three wrong passwords, and passwords kept only as salted hashes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
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

const std::string kNoRightText =
    "You do not have the right to do this.\nAsk the practice administrator for the right.";

// A front-desk user with the rights, a restricted one, and one who may no longer log in.
struct Staff {
    UserRecord front, limited, gone;
    explicit Staff(UserDatabase& db)
        : front(db.AddUser(7, "front", "desk-pass", {kRightOpen, kRightBreak, kRightDelete})),
          limited(db.AddUser(8, "Limited", "limited-pass", {kRightOpen})),
          gone(db.AddUser(9, "gone", "gone-pass", {kRightOpen, kRightBreak}, kUserInactive)) {}
};

std::vector<AuditEntry> TodaysAudit() {
    std::vector<AuditEntry> entries;
    EXPECT_TRUE(QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &entries));
    return entries;
}

PasswordCheckAudit BodyOf(const AuditEntry& entry) {
    PasswordCheckAudit body{};
    EXPECT_EQ(sizeof body, entry.newRecord.size());
    if (entry.newRecord.size() == sizeof body) std::memcpy(&body, entry.newRecord.data(), sizeof body);
    return body;
}

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
    EXPECT_EQ("FRONT", NormalizeLoginName("  front "));
    EXPECT_EQ("SIXTEENCHARSLONG", NormalizeLoginName("sixteencharslong"));
    EXPECT_EQ("", NormalizeLoginName("seventeencharslon")) << "too long for the login field: never cut to match";

    EXPECT_EQ("front", UserFromCommandLine("/USER=front"));
    EXPECT_EQ("Mary-Ann", UserFromCommandLine("-oaid12 /user=Mary-Ann /X"));
    EXPECT_EQ("b", UserFromCommandLine("/USER=a/User=b"));
    EXPECT_EQ("", UserFromCommandLine("/OAID5 USER=front"));
}

TEST_F(UsersTest, LoginFromCommandLineOrSettings) {

    QVN_WriteProfileString("GENERAL", "User", "limited");
    EXPECT_EQ(1, QVN_LogInUser(""));
    EXPECT_EQ(8u, QVN_GetLoggedInUserID());
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    EXPECT_EQ("LIMITED", QVN_GetLoggedInUserName());

    EXPECT_EQ(1, QVN_LogInUser("Front")) << "the command line wins over the settings";
    EXPECT_EQ(7u, QVN_GetLoggedInUserID());
    EXPECT_EQ("FRONT", QVN_GetOverrideUserName());

    EXPECT_EQ(0, QVN_LogInUser("nobody"));
    EXPECT_EQ(0u, QVN_GetLoggedInUserID());
    EXPECT_EQ(0u, QVN_GetOverrideUserID());
    EXPECT_EQ(0, QVN_CheckUserRights(kRightOpen)) << "nobody logged in holds no right";

    EXPECT_EQ(0, QVN_LogInUser("gone")) << "an inactive user cannot log in";
    EXPECT_EQ(0u, QVN_GetLoggedInUserID());
}

TEST_F(UsersTest, RightsCheckGrantsRefusesAndCancels) {

    ASSERT_EQ(1, QVN_LogInUser("front"));
    EXPECT_EQ(1, QVN_CheckRights(kRightBreak, true)) << "held: no prompt";
    EXPECT_TRUE(messages.Asked().empty());
    EXPECT_TRUE(passwords.Asked().empty());

    ASSERT_EQ(1, QVN_LogInUser("limited"));
    EXPECT_EQ(0, QVN_CheckUserRights(kRightBreak));
    EXPECT_TRUE(messages.Asked().empty()) << "the silent test shows nothing";

    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_CheckRights(kRightBreak, false));
    ASSERT_EQ(1u, messages.Asked().size());
    EXPECT_EQ(kNoRightText, messages.Asked()[0].text);
    EXPECT_EQ("Appointment Book", messages.Asked()[0].title);
    EXPECT_TRUE(passwords.Asked().empty()) << "without the prompt flag nobody is asked";

    passwords.Cancel();
    EXPECT_EQ(-1, QVN_CheckRights(kRightBreak, true));
    ASSERT_EQ(1u, passwords.Asked().size());
    EXPECT_EQ("You do not have right 33 for this.\nA user who has it may enter a name and password.",
              passwords.Asked()[0].prompt);
    EXPECT_EQ("LIMITED", passwords.Asked()[0].name) << "the dialog starts with the acting user's name";
    EXPECT_EQ(1u, messages.Asked().size()) << "a cancelled prompt shows nothing";
    EXPECT_EQ(8u, QVN_GetOverrideUserID());

    // A user who signs in but lacks the right is refused as well.
    passwords.Answer("gone", "gone-pass").Answer("limited", "limited-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_CheckRights(kRightBreak, true));
    ASSERT_EQ(3u, passwords.Asked().size());
    EXPECT_EQ("The name or password is not correct. 2 more tries.", passwords.Asked()[2].failure)
        << "an inactive user counts as a wrong answer";
    ASSERT_EQ(2u, messages.Asked().size());
    EXPECT_EQ(kNoRightText, messages.Asked()[1].text);
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    EXPECT_TRUE(TodaysAudit().empty()) << "the plain rights check writes no audit entry";
    EXPECT_EQ(0u, messages.UnusedAnswers());
}

TEST_F(UsersTest, OverrideUserActsUntilPutBack) {
    ASSERT_EQ(1, QVN_LogInUser("limited"));

    passwords.Answer(" Front ", "desk-pass");
    EXPECT_EQ(1, QVN_CheckRights(kRightBreak, true));
    EXPECT_EQ(7u, QVN_GetOverrideUserID());
    EXPECT_EQ(8u, QVN_GetLoggedInUserID()) << "the workstation's own user stays logged in";
    EXPECT_EQ(1, QVN_CheckUserRights(kRightDelete)) << "the override user holds for the action";
    EXPECT_EQ(1, QVN_CheckRights(kRightDelete, true)) << "no second prompt within the action";
    EXPECT_EQ(1u, passwords.Asked().size());

    QVN_SetOverrideToLoggedIn();
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
    EXPECT_EQ(0, QVN_CheckUserRights(kRightBreak));
    EXPECT_TRUE(messages.Asked().empty());

    // Rights are read afresh: a right taken away holds at once.
    ASSERT_EQ(1, QVN_LogInUser("front"));
    UserRecord changed = staff.front;
    SetUserRight(changed, kRightBreak, false);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(changed));
    EXPECT_EQ(0, QVN_CheckUserRights(kRightBreak));
    EXPECT_EQ(1, QVN_CheckUserRights(kRightDelete));
}

TEST_F(UsersTest, ThreeWrongPasswordsInARowRefuse) {
    ASSERT_EQ(1, QVN_LogInUser("front"));

    passwords.Answer("front", "desk-PASS").Answer("frnot", "desk-pass").Answer("front", "");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightDelete));
    ASSERT_EQ(3u, passwords.Asked().size());
    EXPECT_EQ("Enter your name and password to confirm this action (right 31).", passwords.Asked()[0].prompt);
    EXPECT_EQ("FRONT", passwords.Asked()[0].name);
    EXPECT_EQ("", passwords.Asked()[0].failure);
    EXPECT_EQ("The name or password is not correct. 2 more tries.", passwords.Asked()[1].failure);
    EXPECT_EQ("frnot", passwords.Asked()[2].name) << "the name as typed stays in the dialog";
    EXPECT_EQ("The name or password is not correct. 1 more try.", passwords.Asked()[2].failure);
    ASSERT_EQ(std::vector<std::string>{kNoRightText}, messages.Texts());

    std::vector<AuditEntry> audit = TodaysAudit();
    ASSERT_EQ(1u, audit.size());
    EXPECT_EQ(kAuditPasswordCheck, audit[0].kind);
    EXPECT_EQ(7u, audit[0].userId) << "nobody signed in: the logged-in user";
    PasswordCheckAudit body = BodyOf(audit[0]);
    EXPECT_EQ(kRightDelete, body.right);
    EXPECT_EQ(kPasswordWrongTries, body.outcome);
    EXPECT_EQ(3, body.wrongTries);

    // The count starts again at the next check.
    passwords.Answer("front", "wrong").Answer("front", "desk-pass");
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightDelete));
}

TEST_F(UsersTest, TwoWrongThenRightGrantsAndAudits) {
    ASSERT_EQ(1, QVN_LogInUser("limited"));

    passwords.Answer("front", "nope").Answer("front", "nope again").Answer("front", "desk-pass");
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ(3u, passwords.Asked().size());
    EXPECT_TRUE(messages.Asked().empty()) << "granted: no message";
    EXPECT_EQ(7u, QVN_GetOverrideUserID()) << "the user who signed in acts for the action";
    EXPECT_EQ(8u, QVN_GetLoggedInUserID());

    // Name and password right, the right missing: refused with the message, audited as such.
    QVN_SetOverrideToLoggedIn();
    passwords.Answer("limited", "limited-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ(std::vector<std::string>{kNoRightText}, messages.Texts());
    EXPECT_EQ(8u, QVN_GetOverrideUserID());

    // Cancel: nothing shown, nothing audited.
    passwords.Cancel();
    EXPECT_EQ(-1, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_EQ(1u, messages.Asked().size());

    std::vector<AuditEntry> audit = TodaysAudit();
    ASSERT_EQ(2u, audit.size());
    EXPECT_EQ(7u, audit[0].userId);
    PasswordCheckAudit granted = BodyOf(audit[0]);
    EXPECT_EQ(kPasswordGranted, granted.outcome);
    EXPECT_EQ(2, granted.wrongTries);
    EXPECT_EQ(8u, granted.loggedInUserId);
    EXPECT_EQ(8u, audit[1].userId);
    EXPECT_EQ(kPasswordNoRight, BodyOf(audit[1]).outcome);
}

TEST(Users, WithoutAPrompterEveryPromptCancels) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    Staff staff(db);
    ScriptedPrompter messages;
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    EXPECT_EQ(-1, QVN_CheckRights(kRightBreak, true));
    EXPECT_EQ(-1, QVN_PasswordCheckwAudit(kRightBreak));
    EXPECT_TRUE(messages.Asked().empty());
}

TEST(Users, PasswordsAreKeptOnlyAsSaltedHashes) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    const std::string password = "Secret-Tooth-42";
    UserRecord a = db.AddUser(1, "alice", password, {kRightOpen});
    UserRecord b = db.AddUser(2, "bob", password, {kRightOpen});

    EXPECT_NE(0, std::memcmp(a.passwordSalt, b.passwordSalt, sizeof a.passwordSalt)) << "each user gets a salt";
    EXPECT_NE(0, std::memcmp(a.passwordHash, b.passwordHash, sizeof a.passwordHash)) << "same password, other hash";
    EXPECT_EQ(kTestIterations, a.iterations);
    EXPECT_TRUE(QVN_PasswordMatches(a, password));
    EXPECT_FALSE(QVN_PasswordMatches(a, "secret-tooth-42"));
    EXPECT_FALSE(QVN_PasswordMatches(a, ""));
    UserRecord no_password = MakeUserRecord(3, "carol", "Carol");
    EXPECT_FALSE(QVN_PasswordMatches(no_password, "")) << "a user without a password never signs in";

    // Signing in with the password leaves no trace of it in the database file either.
    ASSERT_EQ(1, QVN_LogInUser("alice"));
    ScriptedPrompter messages;
    ScriptedPasswordPrompter passwords;
    passwords.Answer("bob", password + "x").Answer("bob", password).Answer("bob", password);
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_PasswordCheckwAudit(kRightBreak)) << "bob lacks right 33";
    EXPECT_EQ(1, QVN_PasswordCheckwAudit(kRightOpen));
    DbEndSession();
    const std::string file = db.FileBytes();
    ASSERT_FALSE(file.empty());
    EXPECT_NE(std::string::npos, file.find("ALICE")) << "the user file is in the bytes searched";
    EXPECT_EQ(std::string::npos, file.find(password));
    EXPECT_EQ(std::string::npos, file.find("Secret-Tooth")) << "not even a part of it";
}

TEST_F(UsersTest, SignOnNamingAUserProvesNothingAndThreeWrongPasswordsEndIt) {

    // The command line's name is preset; only the password lets the user in.
    passwords.Answer("FRONT", "desk-pass");
    EXPECT_EQ(1, QVN_SignOn("front"));
    ASSERT_EQ(1u, passwords.Asked().size());
    EXPECT_EQ("Sign on to the appointment book with your name and password.", passwords.Asked()[0].prompt);
    EXPECT_EQ("FRONT", passwords.Asked()[0].name);
    EXPECT_EQ(7u, QVN_GetLoggedInUserID());
    EXPECT_EQ(7u, QVN_GetOverrideUserID());

    // [GENERAL] User names the user when the command line does not; cancelling leaves nobody in.
    QVN_WriteProfileString("GENERAL", "User", "limited");
    passwords.Cancel();
    EXPECT_EQ(-1, QVN_SignOn(""));
    EXPECT_EQ("LIMITED", passwords.Asked()[1].name);
    EXPECT_EQ(0u, QVN_GetLoggedInUserID());
    EXPECT_EQ(0, QVN_CheckUserRights(kRightOpen));

    // Three wrong answers: refused with its message, nobody logged in.
    passwords.Answer("limited", "front-pass").Answer("limited", "").Answer("gone", "gone-pass");
    messages.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_SignOn("limited"));
    EXPECT_EQ(5u, passwords.Asked().size()) << "three tries in the one sign-on";
    ASSERT_EQ(1u, messages.Asked().size());
    EXPECT_EQ("The name or password was not correct three times.\nThe appointment book closes.", messages.Asked()[0].text);
    EXPECT_EQ(kIconStop, messages.Asked()[0].icon);
    EXPECT_EQ(0u, QVN_GetLoggedInUserID());

    // A user without a password has nothing to give and is let in as named.
    UserRecord open = MakeUserRecord(11, "kiosk", "Kiosk");
    SetUserRight(open, kRightOpen, true);
    ASSERT_EQ(kQdbOk, QVN_WriteUser(open));
    EXPECT_EQ(1, QVN_SignOn("kiosk"));
    EXPECT_EQ(11u, QVN_GetLoggedInUserID());
    EXPECT_EQ(5u, passwords.Asked().size()) << "no prompt";

    std::vector<AuditEntry> audit = TodaysAudit();
    ASSERT_EQ(2u, audit.size()) << "the granted and the refused sign-on; a cancel is not audited";
    EXPECT_EQ(7u, audit[0].userId);
    EXPECT_EQ(kPasswordGranted, BodyOf(audit[0]).outcome);
    EXPECT_EQ(1, BodyOf(audit[0]).right);
    EXPECT_EQ(kPasswordWrongTries, BodyOf(audit[1]).outcome);
    EXPECT_EQ(3, BodyOf(audit[1]).wrongTries);
}
