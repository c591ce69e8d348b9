// The guarded commands' checks: their order, what each refusal says, and what stays silent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_table.h"
#include "scripted_prompter.h"
#include "suite/audit.h"
#include "suite/dates.h"
#include "user_database.h"

namespace {

// A selection and a user whose rights answer as configured; records the rights asked for.
class FakeContext final : public CommandContext {
public:
    int rightAnswer = 1;
    int passwordAnswer = 1;
    bool selected = true, complete = false, patient = true;
    std::vector<std::string> asked;

    int CheckRight(int right) override {
        asked.push_back("right " + std::to_string(right));
        return rightAnswer;
    }
    int CheckPasswordRight(int right) override {
        asked.push_back("password " + std::to_string(right));
        return passwordAnswer;
    }
    bool AppointmentSelected() override { return selected; }
    bool SelectionComplete() override { return complete; }
    bool SelectionIsPatient() override { return patient; }
};

}  // namespace

TEST(CommandTable, BreakChecksThePasswordThenTheSelectionThenCompletion) {
    ScriptedPrompter prompter;
    FakeContext context;
    context.complete = true;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(PassCommandChecks(123, context));
    EXPECT_EQ((std::vector<std::string>{"password 33"}), context.asked);
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ("Can not break a completed appointment!", prompter.Asked()[0].text);
    EXPECT_EQ("Appointment Book", prompter.Asked()[0].title);
    EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);

    context.asked.clear();
    context.passwordAnswer = -1;  // the user cancelled the password prompt
    EXPECT_FALSE(PassCommandChecks(123, context));
    EXPECT_EQ(1u, prompter.Asked().size()) << "a cancelled prompt shows nothing more";

    context.passwordAnswer = 1;
    context.selected = false;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(PassCommandChecks(124, context));
    EXPECT_EQ("No appointment selected!", prompter.Texts().back());
    context.selected = true;
    context.complete = false;
    EXPECT_TRUE(PassCommandChecks(123, context));
}

TEST(CommandTable, RightsSelectionAndPatientGuards) {
    ScriptedPrompter prompter;
    FakeContext context;
    context.rightAnswer = 0;  // refused: the rights check has shown its own message
    for (int command : {125, 140, 141, 142, 143, 144, 375, 376, 378}) EXPECT_FALSE(PassCommandChecks(command, context));
    EXPECT_EQ((std::vector<std::string>{"right 32", "right 68", "right 69", "right 35", "right 34", "right 34",
                                        "right 36", "right 36", "right 36"}),
              context.asked);
    EXPECT_TRUE(prompter.Asked().empty());

    context.asked.clear();
    context.selected = false;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(PassCommandChecks(620, context));
    EXPECT_TRUE(context.asked.empty()) << "the route slip asks for a selection before the right";
    EXPECT_FALSE(PassCommandChecks(120, context)) << "120 without a selection is ignored quietly";
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(PassCommandChecks(305, context));
    EXPECT_EQ((std::vector<std::string>{"No appointment selected!", "No appointment selected!"}), prompter.Texts());

    context.selected = true;
    context.patient = false;
    prompter.Answer(kAnswerOk);
    EXPECT_FALSE(PassCommandChecks(380, context));
    EXPECT_EQ("New Patient Appointment selected! No information available.", prompter.Texts().back());
    EXPECT_TRUE(PassCommandChecks(381, context)) << "notes work for a new patient too";
    EXPECT_TRUE(PassCommandChecks(145, context)) << "Exit is not guarded";
    EXPECT_TRUE(PassCommandChecks(316, context)) << "only statuses 1 to 15 are commands";
}

namespace {

// Asks the suite library as the main window does, so that a password really signs a user in.
class SuiteContext final : public CommandContext {
public:
    int CheckRight(int right) override { return QVN_CheckRights(right, true); }
    int CheckPasswordRight(int right) override { return QVN_PasswordCheckwAudit(right); }
    bool AppointmentSelected() override { return true; }
    bool SelectionComplete() override { return false; }
    bool SelectionIsPatient() override { return true; }
};

}  // namespace

TEST(CommandTable, ACommandNotCarriedOutAsksNothingAndAPasswordHoldsForItsCommandOnly) {
    UserDatabase db;
    ASSERT_TRUE(db.Ok());
    db.AddUser(7, "front", "desk-pass", {1, 34, 68});
    db.AddUser(8, "limited", "limited-pass", {1});
    ScriptedPrompter messages;
    ScriptedPasswordPrompter passwords;
    ASSERT_EQ(1, QVN_LogInUser("limited"));
    SuiteContext context;

    // The program's own entry on the module bar is never carried out: no check, no audit entry, no owner.
    bool ran = false;
    DispatchCommand(12115, context, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(passwords.Asked().empty());
    std::vector<AuditEntry> audit;
    ASSERT_TRUE(QVN_ReadAuditEntries(QVN_SysDate(), QVN_SysDate(), &audit));
    EXPECT_TRUE(audit.empty());

    // The font dialog needs right 34: front signs in for it and acts while it runs, then no more.
    passwords.Answer("front", "desk-pass");
    uint32_t acting = 0;
    DispatchCommand(143, context, [&] { acting = QVN_GetOverrideUserID(); });
    EXPECT_EQ(7u, acting);
    EXPECT_EQ(8u, QVN_GetOverrideUserID()) << "the password carries no rights into later commands";
    EXPECT_EQ(0, QVN_CheckUserRights(34));

    // A refused check leaves the logged-in user acting too.
    passwords.Cancel();
    DispatchCommand(144, context, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_EQ(8u, QVN_GetOverrideUserID());
}
