// Names, phones, money and times as the front desk types and reads them.
#include <gtest/gtest.h>

#include <climits>

#include "scripted_prompter.h"
#include "suite/money.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/records/patient.h"
#include "suite/times.h"

TEST(Names, PackAndUnpackRoundTrip) {
    EXPECT_EQ("Smith, John A", QVN_PackName("Smith", "John", "A"));
    EXPECT_EQ("Smith, John", QVN_PackName(" Smith ", "John", ""));
    EXPECT_EQ("Smith", QVN_PackName("Smith", "", ""));
    EXPECT_LE(QVN_PackName(std::string(40, 'L'), std::string(40, 'F'), "M").size(), 36u);

    std::string last, first, mi;
    QVN_UnpackName("Smith, John A", &last, &first, &mi);
    EXPECT_EQ("Smith", last);
    EXPECT_EQ("John", first);
    EXPECT_EQ("A", mi);
    QVN_UnpackName("Van Dyke, Mary Ann", &last, &first, &mi);
    EXPECT_EQ("Van Dyke", last);
    EXPECT_EQ("Mary Ann", first);
    EXPECT_EQ("", mi);
    QVN_UnpackName("Cher", &last, &first, &mi);
    EXPECT_EQ("Cher", last);
    EXPECT_EQ("", first);

    EXPECT_EQ("Smith, Robert (Bob) A", QVN_PackPrefName("Smith", "Robert", "A", "Bob"));
    EXPECT_EQ("Smith, Robert A", QVN_PackPrefName("Smith", "Robert", "A", "Robert"));
    EXPECT_EQ("123-45-6789", QVN_FormatSS("123456789"));
    EXPECT_EQ("123-45-6789", QVN_FormatSS("123 45 6789"));
    EXPECT_EQ("12345", QVN_FormatSS("12345")) << "nothing typed is lost";
}

TEST(Phones, StripFormatAndCheck) {
    EXPECT_EQ("555123456712", QVN_StripPhone("(555) 123-4567 x12"));
    EXPECT_EQ("123-4567", QVN_Set_Phone("1234567"));
    EXPECT_EQ("(555)123-4567", QVN_Set_Phone("555.123.4567"));
    EXPECT_EQ("(555)123-4567 x12", QVN_Set_Phone("555123456712"));

    ScriptedPrompter prompter;
    EXPECT_EQ(1, QVN_verf_Phone(""));
    EXPECT_EQ(1, QVN_verf_Phone("(555) 123-4567"));
    EXPECT_EQ(1, QVN_verf_Phone("123-4567"));
    EXPECT_EQ(1, QVN_verf_Phone("555-123-4567 x99"));
    EXPECT_TRUE(prompter.Asked().empty());
    EXPECT_EQ(0, QVN_verf_Phone("12345", false));
    EXPECT_EQ(0, QVN_verf_Phone("555-CALL-NOW", false));
    EXPECT_TRUE(prompter.Asked().empty()) << "no report without asking";
    prompter.Answer(kAnswerOk);
    EXPECT_EQ(0, QVN_verf_Phone("12345"));
    ASSERT_EQ(1u, prompter.Asked().size());
    EXPECT_EQ(kIconStop, prompter.Asked()[0].icon);
    EXPECT_EQ("Please enter the phone number with 7 digits, or with its area code as 10 digits, for example (555)123-4567.",
              prompter.Asked()[0].text);

    EXPECT_EQ(1, QVN_CheckForPrivatePhone(kPrivatePhone));
    EXPECT_EQ(0, QVN_CheckForPrivatePhone(0));
    EXPECT_EQ(0, QVN_CheckForPrivatePhone(kPrivacyRequests)) << "a privacy request alone still shows the phones";
    EXPECT_EQ("Private", QVN_CheckForPatientPrivatePhone(kPrivatePhone, "5551234567"));
    EXPECT_EQ("5551234567", QVN_CheckForPatientPrivatePhone(0, "5551234567"));
    EXPECT_EQ("", QVN_CheckForPatientPrivatePhone(kPrivatePhone, ""));
}

TEST(Money, FormatAndParseTheWholeRange) {
    EXPECT_EQ("0.00", QVN_FormatMoney(0));
    EXPECT_EQ("-1234.56", QVN_FormatMoney(-123456));
    EXPECT_EQ("-$1,234.56", QVN_FormatMoney(-123456, kMoneyDisplay));
    EXPECT_EQ("$0.05", QVN_FormatMoney(5, kMoneyDisplay));
    EXPECT_EQ("-21474836.48", QVN_FormatMoney(INT32_MIN)) << "the most negative amount has no positive twin";

    int32_t cents = 0;
    ASSERT_TRUE(QVN_ParseMoney("$1,234.5", &cents));
    EXPECT_EQ(123450, cents);
    ASSERT_TRUE(QVN_ParseMoney(" (12.34) ", &cents));
    EXPECT_EQ(-1234, cents);
    ASSERT_TRUE(QVN_ParseMoney("-$0.99", &cents));
    EXPECT_EQ(-99, cents);
    ASSERT_TRUE(QVN_ParseMoney("", &cents));
    EXPECT_EQ(0, cents);
    ASSERT_TRUE(QVN_ParseMoney("21474836.47", &cents));
    EXPECT_EQ(INT32_MAX, cents);
    ASSERT_TRUE(QVN_ParseMoney(QVN_FormatMoney(INT32_MIN), &cents));
    EXPECT_EQ(INT32_MIN, cents);

    cents = 77;
    for (const char* bad : {"21474836.48", "99999999999", "1.234", "12a", "$", "1..2", "--5"}) {
        EXPECT_FALSE(QVN_ParseMoney(bad, &cents)) << bad;
        EXPECT_EQ(77, cents) << bad;
    }
}

TEST(Times, PackedTimesAndTypedTimes) {
    EXPECT_EQ("12:00am", QVN_FormatPackTime(0));
    EXPECT_EQ("9:30am", QVN_FormatPackTime(114));
    EXPECT_EQ("12:00pm", QVN_FormatPackTime(144));
    EXPECT_EQ("11:55pm", QVN_FormatPackTime(287));
    EXPECT_EQ("12:00am", QVN_FormatPackTime(288));
    EXPECT_EQ("", QVN_FormatPackTime(-1));
    EXPECT_EQ("", QVN_FormatPackTime(289));

    int hour = -1, minute = -1;
    ASSERT_EQ(1, QVN_ConvertTime("9:30", 5, false, &hour, &minute));
    EXPECT_EQ(9, hour);
    EXPECT_EQ(30, minute);
    ASSERT_EQ(1, QVN_ConvertTime("0930", 15, true, &hour, &minute));
    EXPECT_EQ(21, hour);
    EXPECT_EQ(30, minute);
    ASSERT_EQ(1, QVN_ConvertTime("12", 5, false, &hour, &minute));
    EXPECT_EQ(0, hour) << "12 am is midnight";
    ASSERT_EQ(1, QVN_ConvertTime("12", 5, true, &hour, &minute));
    EXPECT_EQ(12, hour);
    ASSERT_EQ(1, QVN_ConvertTime("9:44", 15, false, &hour, &minute));
    EXPECT_EQ(30, minute) << "brought down to the practice's unit";
    ASSERT_EQ(1, QVN_ConvertTime("14:10", 10, true, &hour, &minute));
    EXPECT_EQ(14, hour);
    for (const char* bad : {"", "25", "9:60", "abc", "9:3x"})
        EXPECT_EQ(0, QVN_ConvertTime(bad, 5, false, &hour, &minute)) << bad;
}
