// Names, phones, money and times as the front desk types and reads them.
#include <gtest/gtest.h>

#include <climits>

#include "scripted_prompter.h"
#include "suite/money.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/records/patient.h"
#include "suite/times.h"

// (Splitting a name into its fields is checked with the new patient's entry.)
TEST(Names, PackPreferredAndSocialSecurity) {
    EXPECT_EQ("Smith, John", QVN_PackName(" Smith ", "John", ""));
    EXPECT_LE(QVN_PackName(std::string(40, 'L'), std::string(40, 'F'), "M").size(), 36u);
    std::string last, first, mi;
    QVN_UnpackName("Van Dyke, Mary Ann", &last, &first, &mi);
    EXPECT_EQ("Van Dyke|Mary Ann|", last + "|" + first + "|" + mi);
    EXPECT_EQ("123-45-6789", QVN_FormatSS("123 45 6789"));
    EXPECT_EQ("12345", QVN_FormatSS("12345")) << "nothing typed is lost";
}

TEST(Phones, StripFormatAndCheck) {
    EXPECT_EQ("555123456712", QVN_StripPhone("(555) 123-4567 x12"));
    EXPECT_EQ("123-4567", QVN_Set_Phone("1234567"));
    EXPECT_EQ("(555)123-4567 x12", QVN_Set_Phone("555123456712"));

    ScriptedPrompter prompter;
    for (const char* good : {"", "(555) 123-4567", "123-4567", "555-123-4567 x99"}) EXPECT_EQ(1, QVN_verf_Phone(good)) << good;
    EXPECT_EQ(0, QVN_verf_Phone("555-CALL-NOW", false));
    EXPECT_TRUE(prompter.Asked().empty()) << "no report without asking";
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_verf_Phone("12345"));
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);
    EXPECT_EQ("Please enter the phone number with 7 digits, or with its area code as 10 digits, for example (555)123-4567.",
              prompter.Asked()[0].text);

    EXPECT_EQ(0, QVN_CheckForPrivatePhone(kPrivacyRequests)) << "a privacy request alone still shows the phones";
    EXPECT_EQ("Private|5551234567|", QVN_CheckForPatientPrivatePhone(kPrivatePhone, "5551234567") + "|" +
                                         QVN_CheckForPatientPrivatePhone(0, "5551234567") + "|" + QVN_CheckForPatientPrivatePhone(kPrivatePhone, ""));
}

TEST(Money, FormatAndParseTheWholeRange) {
    EXPECT_EQ("-1234.56", QVN_FormatMoney(-123456));
    EXPECT_EQ("-$1,234.56", QVN_FormatMoney(-123456, kMoneyDisplay));
    EXPECT_EQ("-21474836.48", QVN_FormatMoney(INT32_MIN)) << "the most negative amount has no positive twin";
    const std::pair<const char*, int32_t> good[] = {
        {"$1,234.5", 123450}, {" (12.34) ", -1234}, {"-$0.99", -99}, {"", 0}, {"21474836.47", INT32_MAX}, {"-21474836.48", INT32_MIN}};
    for (const auto& [text, value] : good) {
        int32_t cents = 77;
        EXPECT_TRUE(QVN_ParseMoney(text, &cents)) << text;
        EXPECT_EQ(value, cents) << text;
    }
    for (const char* bad : {"21474836.48", "1.234", "12a", "$", "1..2", "--5"}) {
        int32_t cents = 77;
        EXPECT_FALSE(QVN_ParseMoney(bad, &cents)) << bad;
        EXPECT_EQ(77, cents) << bad;
    }
}

TEST(Times, PackedTimesAndTypedTimes) {
    const std::pair<int, const char*> packed[] = {{0, "12:00am"}, {114, "9:30am"}, {144, "12:00pm"}, {287, "11:55pm"}, {289, ""}, {-1, ""}};
    for (const auto& [time, text] : packed) EXPECT_EQ(text, QVN_FormatPackTime(time)) << time;
    const struct {
        const char* typed;
        int unit;
        bool pm;
        int hour, minute;
    } typed[] = {{"9:30", 5, false, 9, 30},   {"0930", 15, true, 21, 30}, {"12", 5, false, 0, 0},  // 12 am is midnight
                 {"12", 5, true, 12, 0},      {"9:44", 15, false, 9, 30},  // brought down to the practice's unit
                 {"14:10", 10, true, 14, 10}};
    for (const auto& t : typed) {
        int hour = -1, minute = -1;
        ASSERT_EQ(1, QVN_ConvertTime(t.typed, t.unit, t.pm, &hour, &minute)) << t.typed;
        EXPECT_EQ(t.hour * 60 + t.minute, hour * 60 + minute) << t.typed;
    }
    int hour = -1, minute = -1;
    for (const char* bad : {"", "25", "9:60", "abc", "9:3x"})
        EXPECT_EQ(0, QVN_ConvertTime(bad, 5, false, &hour, &minute)) << bad;
}
