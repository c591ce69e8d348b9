// The numbered message table word for word, and the prompts shown from it; the open, close,
// lock, delete and write failures of every data file: which message each one shows, and that
// message's text word for word, filled in with the result and the last file.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "sqlite3.h"
#include "suite/messages.h"

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

TEST(MessageTexts, EveryDataFileFailureShowsItsOwnNumberedText) {
    struct Row {
        int dataFile;
        const char* file;  // what the user knows the file as
        int numbers[5];    // open, close, lock, delete, write; 0: none
    };
    const Row rows[] = {
        {1, "procedure code file", {3062, 3086, 3109, 3132, 3155}},
        {6, "practice resource file", {3063, 3087, 3110, 3133, 3156}},
        {9, "appointment file", {3064, 3088, 3111, 3134, 3157}},
        {16, "record file 16", {3065, 3089, 3112, 3135, 3158}},
        {18, "patient file", {3066, 3090, 3113, 3136, 3159}},
        {268, "record file 268", {3067, 3091, 3114, 3137, 3160}},
        {36, "record file 36", {3068, 3092, 3115, 3138, 3161}},
        {38, "record file 38", {3069, 3093, 3116, 3139, 3162}},
        {207, "record file 207", {3070, 3094, 3117, 3140, 3163}},
        {49, "new patient file", {3071, 3095, 3118, 3141, 3164}},
        {44, "notes file", {3072, 3096, 3119, 3142, 3165}},
        {47, "definitions file", {3073, 3097, 3120, 3143, 3166}},
        {52, "record file 52", {3075, 3099, 3122, 3145, 3168}},
        {55, "procedure file", {3076, 3100, 3123, 3146, 3169}},
        {92, "record file 92", {3077, 3101, 3124, 3147, 3170}},
        {83, "workstation change file", {3079, 3103, 3126, 3149, 3172}},
        {69, "record file 69", {3080, 3104, 3127, 3150, 3173}},
        {75, "record file 75", {3081, 3105, 3128, 3151, 3174}},
        {77, "print queue file", {3082, 3106, 3129, 3152, 3175}},
        {282, "record file 282", {3083, 3107, 3130, 3153, 3176}},
        {0, "practice database", {0, 3205, 3206, 3207, 3208}},
        {94, "record file", {3084, 3108, 3131, 3154, 3177}},  // any other data file
        {4242, "record file", {3084, 3108, 3131, 3154, 3177}},
    };
    const char* const forms[5][2] = {{"The ", " could not be opened."},
                                     {"The ", " could not be closed."},
                                     {"The records of the ", " could not be locked."},
                                     {"A record could not be deleted from the ", "."},
                                     {"A record could not be written to the ", "."}};
    int shown = 0;
    for (const Row& row : rows) {
        for (int kind = 0; kind < 5; ++kind) {
            const std::string what = std::to_string(row.dataFile) + "/" + std::to_string(kind);
            const int number = row.numbers[kind];
            if (number == 0) continue;  // a missing database has a dialog of its own
            EXPECT_EQ(number, DbMessageNumber(static_cast<DbMessageKind>(kind), row.dataFile, 42)) << what;
            EXPECT_EQ(std::string(forms[kind][0]) + row.file + forms[kind][1] + "\nDatabase result 46, file 9.",
                      QVN_MessageText(kMsgGroupGeneral, number, 46, 9))
                << what;
            const NumberedMessage* m = QVN_FindMessage(kMsgGroupGeneral, number);
            ASSERT_NE(nullptr, m) << what;
            EXPECT_EQ(kIconStop, m->icon) << what;
            EXPECT_EQ(kButtonsOk, m->buttons) << what;
            shown += number >= 3062 && number <= 3177 && row.dataFile != 4242;
        }
    }
    // A write to the notes file that fails with result 2 has a message of its own.
    EXPECT_EQ(3283, DbMessageNumber(kDbMsgWrite, 44, 2));
    EXPECT_EQ("The note could not be saved: it is longer than the notes file allows.\nDatabase result 2, file 44.",
              QVN_MessageText(kMsgGroupGeneral, 3283, 2, 44));
    // The rows above are all the numbers 3062..3177 has: no other number there has a text.
    int numbered = 0;
    for (int n = 3062; n <= 3177; ++n) numbered += QVN_FindMessage(kMsgGroupGeneral, n) != nullptr;
    EXPECT_EQ(shown, numbered);
}

// A practice whose week file is not there: the open's message, then the load's own.
TEST(MessageTexts, APracticeWithoutItsWeekFileStopsTheLoadAndSaysSo) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(kQdbOk, db.AddResource(kResourceKindPractice, "-PR-"));
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open((db.Dir() + "/qvn.db").c_str(), &raw));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(raw, "DROP TABLE g94", nullptr, nullptr, nullptr));
    sqlite3_close(raw);
    ScriptedPrompter prompter;
    prompter.Answer(kAnswerOk).Answer(kAnswerOk);
    EXPECT_FALSE(LoadPracticeTables());
    ASSERT_EQ(2u, prompter.Asked().size());
    EXPECT_EQ("The record file could not be opened.\nDatabase result 62, file 94.", prompter.Texts()[0]) << "62: never created";
    EXPECT_EQ("Check RscUse File!", prompter.Texts()[1]);
    EXPECT_EQ("Quorvin", prompter.Asked()[1].title);
    EXPECT_EQ(kIconStop, prompter.Asked()[1].icon);
}
