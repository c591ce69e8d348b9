// The OAID patient request on the command line.
#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(CommandLine, OaidAfterEitherSeparatorInAnyCase) {
    EXPECT_EQ(42, ParseOaidPatient("/OAID42"));
    EXPECT_EQ(42, ParseOaidPatient("-oaid42"));
    EXPECT_EQ(42, ParseOaidPatient("/OaId42"));
    EXPECT_EQ(42, ParseOaidPatient("/OAID42 /NOSPLASH"));
    EXPECT_EQ(42, ParseOaidPatient("/USER=anna /OAID42"));
    EXPECT_EQ(42, ParseOaidPatient("/OAID42x17"));  // conversion stops at the first non-digit
    EXPECT_EQ(7, ParseOaidPatient("/OAID007"));
}

TEST(CommandLine, NothingIsRequestedWithoutAProperToken) {
    EXPECT_EQ(0, ParseOaidPatient(nullptr));
    EXPECT_EQ(0, ParseOaidPatient(""));
    EXPECT_EQ(0, ParseOaidPatient("OAID42"));      // no separator before it
    EXPECT_EQ(0, ParseOaidPatient("/ OAID42"));    // a blank does not start a token
    EXPECT_EQ(0, ParseOaidPatient("/OAID"));
    EXPECT_EQ(0, ParseOaidPatient("/OAIDabc"));
    EXPECT_EQ(0, ParseOaidPatient("/OAI42"));
    EXPECT_EQ(0, ParseOaidPatient("/XOAID42"));
    EXPECT_EQ(0, ParseOaidPatient("/OAID-42"));    // '-' ends the token: the number is a token of its own
    EXPECT_EQ(0, ParseOaidPatient("///---"));
}

TEST(CommandLine, TheLastOaidTokenWins) {
    EXPECT_EQ(9, ParseOaidPatient("/OAID1 -OAID9"));
    EXPECT_EQ(9, ParseOaidPatient("/OAID1/OAID9"));
    EXPECT_EQ(0, ParseOaidPatient("/OAID1/OAID"));  // the last one asks for nobody
    EXPECT_EQ(1, ParseOaidPatient("/OAID1/OTHER5"));
}

TEST(CommandLine, AtMostNineteenDigitsAndNothingOutOfRange) {
    EXPECT_EQ(2147483647, ParseOaidPatient("/OAID2147483647"));
    EXPECT_EQ(0, ParseOaidPatient("/OAID2147483648"));
    EXPECT_EQ(0, ParseOaidPatient("/OAID99999999999999999999999"));
    // Only 19 characters are read: zeros first keep a small number within them.
    EXPECT_EQ(12, ParseOaidPatient("/OAID000000000000000001234"));  // 17 zeros, then "12" of "1234"
    EXPECT_EQ(1234, ParseOaidPatient("/OAID0000000000000001234"));  // 15 zeros + 4 digits = 19
}
