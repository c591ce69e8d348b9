// The open, close, lock, delete and write failures of every data file: which message each one
// shows, and that message's text word for word, filled in with the result and the last file.
#include <gtest/gtest.h>

#include <string>

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "practice_test_database.h"
#include "scripted_prompter.h"
#include "sqlite3.h"
#include "suite/messages.h"

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
