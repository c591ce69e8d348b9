// The settings store: reads, defaults, malformed files, and writes that keep everything else.
#include <gtest/gtest.h>

#include <string>

#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "tests/native/settings_test_env.h"

TEST(Settings, MissingFileGivesDefaultsAndWriteCreatesIt) {
    TempSettings settings;
    std::filesystem::remove(settings.Path());
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "DEF_VIEW", 1), 1);
    EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "BGCOLOR1", "255,255,150"), "255,255,150");
    EXPECT_FALSE(QVN_ProfileKeyExists("APPTBOOK", "DEF_VIEW"));

    // The folder of the settings file may be missing too (a workstation's first start).
    std::string nested = (settings.Dir() / "Quorvin" / "quorvin.ini").string();
    ASSERT_EQ(QVN_WriteProfileInt("APPTBOOK", "DEF_VIEW", 3, nested.c_str()), 1);
    EXPECT_EQ(QVN_ReadProfileInt("apptbook", "def_view", 1, nested.c_str()), 3);
}

TEST(Settings, SectionsAndKeysIgnoreCase) {
    TempSettings settings;
    settings.WriteRaw("[Apptbook]\nClipboard Appt=77\n[APPTBOOK]\nIdealDay=1\n");
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "Clipboard Appt", 0), 77);
    EXPECT_EQ(QVN_ReadProfileInt("apptbook", "CLIPBOARD APPT", 0), 77);
    EXPECT_EQ(QVN_ReadProfileInt("ApptBook", "idealday", 0), 1);
    // A key of another section is not found.
    EXPECT_EQ(QVN_ReadProfileInt("NETWORK", "IdealDay", 5), 5);
}

TEST(Settings, IntegerValues) {
    TempSettings settings;
    settings.WriteRaw(
        "[N]\nplain=42\nneg=-7\nblanks=   12   \nempty=\ntext=abc\ntail=15sec\nplus=+3\n"
        "huge=99999999999\nquoted=\"9\"\n");
    EXPECT_EQ(QVN_ReadProfileInt("N", "plain", 0), 42);
    EXPECT_EQ(QVN_ReadProfileInt("N", "neg", 0), -7);
    EXPECT_EQ(QVN_ReadProfileInt("N", "blanks", 0), 12);
    EXPECT_EQ(QVN_ReadProfileInt("N", "empty", 8), 8);   // empty counts as missing
    EXPECT_EQ(QVN_ReadProfileInt("N", "text", 8), 0);    // present but not a number
    EXPECT_EQ(QVN_ReadProfileInt("N", "tail", 0), 15);
    EXPECT_EQ(QVN_ReadProfileInt("N", "plus", 0), 3);
    EXPECT_EQ(QVN_ReadProfileInt("N", "huge", 0), 2147483647);
    EXPECT_EQ(QVN_ReadProfileInt("N", "quoted", 0), 9);
}

TEST(Settings, StringValuesAndBufferLimits) {
    TempSettings settings;
    settings.WriteRaw("[S]\n  face = Arial, 10 ,0  \nquoted=\" a b \"\nempty=\n");
    EXPECT_EQ(QVN_ReadProfileText("S", "face", "x"), "Arial, 10 ,0");
    EXPECT_EQ(QVN_ReadProfileText("S", "quoted", "x"), " a b ");
    EXPECT_EQ(QVN_ReadProfileText("S", "empty", "x"), "");  // present: no default
    EXPECT_TRUE(QVN_ProfileKeyExists("S", "empty"));

    char buffer[6];
    EXPECT_EQ(QVN_ReadProfileString("S", "face", "", buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "Arial");
    EXPECT_EQ(QVN_ReadProfileString("S", "missing", "default text", buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "defau");
    char one[1] = {'z'};
    EXPECT_EQ(QVN_ReadProfileString("S", "face", "", one, 1), 0);
    EXPECT_EQ(one[0], '\0');
    EXPECT_EQ(QVN_ReadProfileString("S", "face", "", nullptr, 10), 0);
}

TEST(Settings, MalformedFilesReadAsFarAsTheyGo) {
    TempSettings settings;
    settings.WriteRaw("");
    EXPECT_EQ(QVN_ReadProfileInt("A", "k", 4), 4);

    // No trailing newline, Windows line breaks, a section without its bracket, junk lines.
    settings.WriteRaw("junk before any section\r\nk=1\r\n[A]\r\nnoequals\r\n=nokey\r\nk=2\r\n"
                      "[B\r\nk=3");
    EXPECT_EQ(QVN_ReadProfileInt("A", "k", 0), 2);
    EXPECT_EQ(QVN_ReadProfileInt("B", "k", 0), 3);

    // Odd bytes: NULs, high code page bytes, a lone CR, and a 100000-character line.
    std::string odd = "[A]\nbin=\x01\x02";
    odd += '\0';
    odd += "\xff\xfe\n\xe9t\xe9=caf\xe9\n";
    odd += "long=" + std::string(100000, 'x') + "\n";
    odd += "after=5\n\r\n[C]\rk=9\n";
    settings.WriteRaw(odd);
    EXPECT_EQ(QVN_ReadProfileText("A", "\xe9t\xe9", ""), "caf\xe9");
    EXPECT_EQ(QVN_ReadProfileText("A", "long", "").size(), 100000u);
    EXPECT_EQ(QVN_ReadProfileInt("A", "after", 0), 5);
    char buffer[8];
    QVN_ReadProfileString("A", "bin", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "\x01\x02");  // the text ends at the NUL
    // A file that is a directory reads as empty and cannot be written.
    std::string dir = settings.Dir().string();
    EXPECT_EQ(QVN_ReadProfileInt("A", "k", 6, dir.c_str()), 6);
    EXPECT_EQ(QVN_WriteProfileInt("A", "k", 6, dir.c_str()), 0);
}

TEST(Settings, WritesKeepEveryOtherLine) {
    TempSettings settings;
    const std::string before =
        "; workstation settings\n[GENERAL]\nPath=D:\\Practice\\\n\n[APPTBOOK]\nDEF_VIEW=2\n"
        "odd line kept\nBGCOLOR1=1,2,3\n\n[NETWORK]\nSTATION=4";
    settings.WriteRaw(before);

    ASSERT_EQ(QVN_WriteProfileInt("apptbook", "def_view", 5), 1);
    EXPECT_EQ(settings.ReadRaw(),
              "; workstation settings\n[GENERAL]\nPath=D:\\Practice\\\n\n[APPTBOOK]\nDEF_VIEW=5\n"
              "odd line kept\nBGCOLOR1=1,2,3\n\n[NETWORK]\nSTATION=4\n");

    // A new key goes to the end of its section, before the blank line that separates sections.
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "Font3", "*Arial,8,400,0,-11,FALSE,FALSE"), 1);
    ASSERT_EQ(QVN_WriteProfileString("QVCTREEM", "RETRY", "12"), 1);
    EXPECT_EQ(settings.ReadRaw(),
              "; workstation settings\n[GENERAL]\nPath=D:\\Practice\\\n\n[APPTBOOK]\nDEF_VIEW=5\n"
              "odd line kept\nBGCOLOR1=1,2,3\nFont3=*Arial,8,400,0,-11,FALSE,FALSE\n\n"
              "[NETWORK]\nSTATION=4\n[QVCTREEM]\nRETRY=12\n");
    EXPECT_EQ(QVN_ReadProfileText("GENERAL", "Path", ""), "D:\\Practice\\");
    EXPECT_EQ(QVN_ReadProfileInt("NETWORK", "STATION", 1), 4);
    EXPECT_EQ(QVN_ReadProfileInt("QVCTREEM", "RETRY", 10), 12);

    // Removing a key, and a text with line breaks staying one line.
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "BGCOLOR1", nullptr), 1);
    EXPECT_FALSE(QVN_ProfileKeyExists("APPTBOOK", "BGCOLOR1"));
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "DayUserTab1", "a\r\nb\nc"), 1);
    EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "DayUserTab1", ""), "a  b c");
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "DEF_VIEW", 1), 5);

    // No temporary file is left beside the settings file.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(settings.Dir())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(Settings, WritesKeepTheFilesLineBreaks) {
    TempSettings settings;
    settings.WriteRaw("[A]\r\nx=1\r\n");
    ASSERT_EQ(QVN_WriteProfileInt("A", "y", 2), 1);
    EXPECT_EQ(settings.ReadRaw(), "[A]\r\nx=1\r\ny=2\r\n");
    settings.WriteRaw("[A]\nx=1\n");
    ASSERT_EQ(QVN_WriteProfileInt("A", "x", -3), 1);
    EXPECT_EQ(settings.ReadRaw(), "[A]\nx=-3\n");
}

TEST(Settings, ManyKeysSurviveManyWrites) {
    TempSettings settings;
    for (int i = 0; i < 60; ++i) {
        std::string section = "S" + std::to_string(i % 7);
        std::string key = "K" + std::to_string(i);
        ASSERT_EQ(QVN_WriteProfileInt(section.c_str(), key.c_str(), i * 3), 1);
    }
    for (int i = 0; i < 60; ++i) {
        std::string section = "s" + std::to_string(i % 7);
        std::string key = "k" + std::to_string(i);
        EXPECT_EQ(QVN_ReadProfileInt(section.c_str(), key.c_str(), -1), i * 3) << key;
    }
}

TEST(Settings, DataPathAndPracticeFile) {
    TempSettings settings;
    EXPECT_EQ(QVN_GetDataPath(), "C:\\Quorvin\\");
    std::string data = (settings.Dir() / "practice").string();
    std::filesystem::create_directories(data);
    ASSERT_EQ(QVN_WriteProfileString("GENERAL", "Path", data.c_str()), 1);
    // A path without its closing separator still names the folder.
    std::string path = QVN_GetDataPath();
    ASSERT_EQ(path.size(), data.size() + 1);
    EXPECT_EQ(path.substr(0, data.size()), data);
    EXPECT_TRUE(path.back() == '/' || path.back() == '\\');
    EXPECT_EQ(QVN_PracticeInfPath(), path + "qvndata.inf");

    EXPECT_EQ(QVN_ReadPracticeInfInt("APPTBOOK", "AlwaysCalculate", 1), 1);
    EXPECT_TRUE(ReadAlwaysCalculate()) << "missing qvndata.inf: default 1";
    TempSettings::WriteFile(QVN_PracticeInfPath(), "[Apptbook]\r\nAlwaysCalculate=0\r\n");
    EXPECT_EQ(QVN_ReadPracticeInfInt("APPTBOOK", "AlwaysCalculate", 1), 0);
    EXPECT_FALSE(ReadAlwaysCalculate());
    // The practice file is not the workstation's file.
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "AlwaysCalculate", 1), 1);
}
