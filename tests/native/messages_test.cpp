// The numbered message table and the prompts shown from it.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "suite/messages.h"
#include "tests/native/scripted_prompter.h"

TEST(Messages, EveryNumberTheProgramUsesHasItsOwnText) {
    const int used[] = {3001, 3018, 3020, 3040, 3180, 3181, 3183, 3184, 3185, 3186, 3196,
                        3222, 6042, 6069, 6070, 6071, 6075, 9002, 9012, 9018, 9019, 9032,
                        9048, 9049, 9090, 9091, 9092, 9154, 9204, 3283, 3205, 3206, 3207, 3208};
    for (int number : used) {
        const NumberedMessage* m = QVN_FindMessage(kMsgGroupSuite, number);
        ASSERT_NE(m, nullptr) << number;
        EXPECT_GT(std::string(m->text).size(), 10u) << number;
    }
    // The open..write rows of every record file fill 3062..3177 except two unused rows
    // (3074, 3078 and their close, lock, delete and write partners) and the gap 3085.
    const std::set<int> unused = {3074, 3078, 3085, 3098, 3102, 3121,
                                  3125, 3144, 3148, 3167, 3171};
    for (int n = 3062; n <= 3177; ++n)
        EXPECT_EQ(QVN_FindMessage(kMsgGroupGeneral, n) != nullptr, unused.count(n) == 0) << n;

    // No number appears twice in one group, and no text is blank.
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < QVN_MessageCount(); ++i) {
        const NumberedMessage& m = QVN_MessageAt(i);
        EXPECT_TRUE(seen.insert({m.group, m.number}).second) << m.number;
        EXPECT_NE(m.text[0], '\0') << m.number;
    }
}

TEST(Messages, ShownWithArgumentsTitleIconAndButtons) {
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk).Answer(kAnswerCancel).Answer(kAnswerYes).Answer(kAnswerNo);

    EXPECT_EQ(QVN_Message(kMsgGroupGeneral, 3064, 46, 9), kAnswerOk);
    EXPECT_EQ(QVN_Message(kMsgGroupSuite, 6042), kAnswerCancel);
    EXPECT_EQ(QVN_Message(kMsgGroupSuite, 6070), kAnswerYes);
    // The caller may ask for other buttons than the table's.
    EXPECT_EQ(QVN_Message(kMsgGroupSuite, 6042, 0, 0, kButtonsYesNo), kAnswerNo);

    const auto& asked = prompter.Asked();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].text, "The appointment file could not be opened.\nDatabase result 46, file 9.");
    EXPECT_EQ(asked[0].buttons, kButtonsOk);
    EXPECT_EQ(asked[0].icon, kIconStop);
    EXPECT_EQ(asked[1].text, "The date you chose lies in the past.\nDo you want to continue?");
    EXPECT_EQ(asked[1].buttons, kButtonsOkCancel);
    EXPECT_EQ(asked[1].icon, kIconExclamation);
    EXPECT_EQ(asked[2].buttons, kButtonsYesNo);
    EXPECT_EQ(asked[3].buttons, kButtonsYesNo);
    for (const PromptRequest& r : asked) EXPECT_EQ(r.title, "Appointment Book");
}

TEST(Messages, GroupIsMatchedFirstAndUnknownNumbersStayReadable) {
    // 3018 is a group 1 message; a caller naming it with group 6 still gets its text.
    EXPECT_EQ(QVN_MessageText(kMsgGroupSuite, 3018, 7, 55),
              QVN_MessageText(kMsgGroupGeneral, 3018, 7, 55));
    EXPECT_EQ(QVN_MessageText(kMsgGroupGeneral, 3018, 7, 55),
              "The records could not be read.\nDatabase error 7 (file 55).");
    EXPECT_EQ(QVN_MessageText(6, 4242, 1, 2), "Unexpected condition 6-4242 (1, 2).");
    EXPECT_EQ(QVN_MessageText(kMsgGroupGeneral, 9048, 44),
              "Data file 44 is in use elsewhere and could not be opened.\n"
              "Some information will not be shown.");
    EXPECT_EQ(QVN_MessageText(kMsgGroupGeneral, 3165, -2, 44),
              "A record could not be written to the notes file.\nDatabase result -2, file 44.");
}

TEST(Messages, LockedRecordPromptAndErrorReport) {
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerRetry).Answer(kAnswerCancel).Answer(kAnswerOk);
    EXPECT_EQ(QVN_LockedRecordPrompt(9), 4);
    EXPECT_EQ(QVN_LockedRecordPrompt(94), kAnswerCancel);
    EXPECT_EQ(QVN_ReportDbError(18, 35, 19), kAnswerOk);
    ASSERT_EQ(prompter.Asked().size(), 3u);
    EXPECT_EQ(prompter.Texts()[0],
              "A record of data file 9 is in use at another workstation.\n"
              "Choose Retry to try again or Cancel to give up.");
    EXPECT_EQ(prompter.Asked()[0].buttons, kButtonsRetryCancel);
    EXPECT_EQ(prompter.Texts()[2], "Database error 35 in data file 18 (last file 19).");
    EXPECT_EQ(prompter.Asked()[2].icon, kIconStop);
    EXPECT_EQ(prompter.Asked()[2].buttons, kButtonsOk);
}
