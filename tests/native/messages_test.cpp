// The numbered message table word for word, and the prompts shown from it.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "suite/messages.h"
#include "tests/native/scripted_prompter.h"

TEST(Messages, EveryNumberTheProgramUsesShowsItsTextWithItsButtonsAndIcon) {
    struct Expected {
        int group, number;
        const char* text;  // with the arguments 46 and 9 filled in
        PromptButtons buttons;
        PromptIcon icon;
    };
    const int g = kMsgGroupGeneral, s = kMsgGroupSuite;
    const PromptButtons ok = kButtonsOk, yes_no = kButtonsYesNo, ok_cancel = kButtonsOkCancel;
    const PromptIcon stop = kIconStop, warn = kIconExclamation;
    const Expected table[] = {
        {s, 3001, "You do not have the right to do this.\nAsk the practice administrator for the right.", ok, warn},
        {g, 3018, "The records could not be read.\nDatabase error 46 (file 9).", ok, stop},
        {s, 3020, "The patient records could not be read.\nDatabase error 46.", ok, stop},
        {s, 3040, "There is not enough memory to open this window.\nClose other windows and try again.", ok, stop},
        {g, 3180, "The practice definitions could not be read.\nDatabase error 46.", ok, stop},
        {g, 3181, "The print job could not be added to the print queue.\nDatabase error 46.", ok, stop},
        {s, 3183, "The memory of the list could not be locked.", ok, stop},
        {s, 3184, "The memory of the list could not be freed.", ok, stop},
        {s, 3185, "The list has no line 46.", ok, stop},
        {s, 3186, "The list has no lines.", ok, stop},
        {s, 3196, "The program could not be started.\nCheck that it is installed with the Quorvin suite.", ok, warn},
        {s, 3222, "No more lines can be added to the list.", ok, warn},
        {s, 6042, "The date you chose lies in the past.\nDo you want to continue?", ok_cancel, warn},
        {s, 6069, "This appointment is waiting on the pin board and cannot be deleted.\nSchedule it or clear the pin board first.", ok, warn},
        {s, 6070, "Delete this appointment?\nA deleted appointment cannot be restored.", yes_no, warn},
        {s, 6071, "Break this appointment?\nIt will be moved to the unscheduled list.", yes_no, warn},
        {s, 6075, "The appointments before the cut off date will now be purged.\nThis cannot be undone.", ok_cancel, warn},
        {s, 9002, "Please select a patient first.", ok, warn},
        {g, 9012, "Please enter digits only.", ok, stop},
        {g, 9018, "Please enter the patient's last name.", ok, stop},
        {g, 9019, "Please enter the patient's first name.", ok, stop},
        {s, 9032, "No matching appointments were found.", ok, warn},
        {g, 9048, "Data file 46 is in use elsewhere and could not be opened.\nSome information will not be shown.", ok, warn},
        {g, 9049, "Data file 46 is damaged and needs to be rebuilt.\nAsk the practice administrator to rebuild the database.", ok, stop},
        {g, 9090, "Please enter a valid time (for example 9:30am).", ok, stop},
        {g, 9091, "Please enter a valid date (for example 3/14/2026).", ok, stop},
        {g, 9092, "Please enter a whole number.", ok, stop},
        {s, 9154, "Too many matches: only the first ones are listed.\nType more of the name to narrow the search.", ok, warn},
        {g, 9204, "Please enter a description.", ok, stop},
    };
    for (const Expected& e : table) {
        ScriptedPrompter prompter;
        prompter.Answer(kAnswerOk);
        QVN_Message(e.group, e.number, 46, 9);
        ASSERT_EQ(1u, prompter.Asked().size()) << e.number;
        const PromptRequest& r = prompter.Asked()[0];
        EXPECT_EQ(e.text, r.text) << e.number;
        EXPECT_EQ("Appointment Book", r.title) << e.number;
        EXPECT_EQ(e.buttons, r.buttons) << e.number;
        EXPECT_EQ(e.icon, r.icon) << e.number;
    }

    // No number appears twice in one group.
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < QVN_MessageCount(); ++i)
        EXPECT_TRUE(seen.insert({QVN_MessageAt(i).group, QVN_MessageAt(i).number}).second) << QVN_MessageAt(i).number;
}

TEST(Messages, CallersButtonsGroupFallbackUnknownNumbersLockedRecordsAndErrorReports) {
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerNo).Answer(kAnswerRetry).Answer(kAnswerCancel).Answer(kAnswerOk);
    // The caller may ask for other buttons than the table's.
    EXPECT_EQ(kAnswerNo, QVN_Message(kMsgGroupSuite, 6042, 0, 0, kButtonsYesNo));
    EXPECT_EQ(kButtonsYesNo, prompter.Asked()[0].buttons);
    // 3018 is a group 1 message; a caller naming it with group 6 still gets its text.
    EXPECT_EQ("The records could not be read.\nDatabase error 7 (file 55).", QVN_MessageText(kMsgGroupSuite, 3018, 7, 55));
    EXPECT_EQ("Unexpected condition 6-4242 (1, 2).", QVN_MessageText(6, 4242, 1, 2));

    EXPECT_EQ(4, QVN_LockedRecordPrompt(9)) << "Retry returns 4";
    EXPECT_EQ(kAnswerCancel, QVN_LockedRecordPrompt(94));
    EXPECT_EQ(kAnswerOk, QVN_ReportDbError(18, 35, 19));
    ASSERT_EQ(4u, prompter.Asked().size());
    EXPECT_EQ("A record of data file 9 is in use at another workstation.\nChoose Retry to try again or Cancel to give up.",
              prompter.Texts()[1]);
    EXPECT_EQ(kButtonsRetryCancel, prompter.Asked()[1].buttons);
    EXPECT_EQ("Database error 35 in data file 18 (last file 19).", prompter.Texts()[3]);
    EXPECT_EQ(kIconStop, prompter.Asked()[3].icon);
    EXPECT_EQ(kButtonsOk, prompter.Asked()[3].buttons);
    for (const PromptRequest& r : prompter.Asked()) EXPECT_EQ("Appointment Book", r.title);
}
