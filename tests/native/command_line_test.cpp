// The OAID patient request on the command line.
#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(CommandLine, TheLastProperOaidTokenNamesThePatient) {
    const struct {
        const char* line;
        int patient;
    } table[] = {
        {"-oaid42", 42}, {"/OAID42 /NOSPLASH", 42}, {"/USER=anna /OAID42", 42},
        {"/OAID42x17", 42},  // conversion stops at the first non-digit
        // Nothing is requested without a proper token.
        {"", 0}, {"OAID42", 0},  // no separator before it
        {"/ OAID42", 0},         // a blank does not start a token
        {"/OAID", 0}, {"/OAI42", 0}, {"/XOAID42", 0},
        {"/OAID-42", 0},  // '-' ends the token: the number is a token of its own
        // The last token wins, even when it asks for nobody.
        {"/OAID1 -OAID9", 9}, {"/OAID1/OAID9", 9}, {"/OAID1/OAID", 0}, {"/OAID1/OTHER5", 1},
        // At most 19 characters are read, and nothing out of range is taken.
        {"/OAID2147483647", 2147483647}, {"/OAID2147483648", 0},
        {"/OAID000000000000000001234", 12},  // 17 zeros, then "12" of "1234"
        {"/OAID0000000000000001234", 1234},  // 15 zeros + 4 digits = 19
    };
    for (const auto& t : table) EXPECT_EQ(t.patient, ParseOaidPatient(t.line)) << t.line;
    EXPECT_EQ(0, ParseOaidPatient(nullptr));
}
