// The settings store: reads, defaults, malformed files, and writes that keep everything else.
#include <gtest/gtest.h>

#include <string>

#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "tests/native/settings_test_env.h"

TEST(Settings, ReadsIgnoreCaseAndTakeValuesAsFarAsTheyGo) {
    TempSettings settings;
    std::filesystem::remove(settings.Path());
    EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "BGCOLOR1", "255,255,150"), "255,255,150");
    EXPECT_FALSE(QVN_ProfileKeyExists("APPTBOOK", "DEF_VIEW"));

    settings.WriteRaw("[Apptbook]\nClipboard Appt=77\n[APPTBOOK]\nIdealDay=1\n[N]\nneg=-7\nblanks=   12   \nempty=\n"
                      "text=abc\ntail=15sec\nhuge=99999999999\nquoted=\"9\"\n[S]\n  face = Arial, 10 ,0  \n"
                      "quoted=\" a b \"\n");
    EXPECT_EQ(QVN_ReadProfileInt("apptbook", "CLIPBOARD APPT", 0), 77);
    EXPECT_EQ(QVN_ReadProfileInt("ApptBook", "idealday", 0), 1) << "a second section of the same name";
    EXPECT_EQ(QVN_ReadProfileInt("NETWORK", "IdealDay", 5), 5) << "a key of another section";
    const struct { const char* key; int value; } ints[] = {{"neg", -7}, {"blanks", 12}, {"empty", 8}, {"text", 0}, {"tail", 15}, {"huge", 2147483647}, {"quoted", 9}};
    for (const auto& i : ints) EXPECT_EQ(i.value, QVN_ReadProfileInt("N", i.key, 8)) << i.key;  // empty counts as missing
    EXPECT_EQ(QVN_ReadProfileText("S", "face", "x"), "Arial, 10 ,0");
    EXPECT_EQ(QVN_ReadProfileText("S", "quoted", "x"), " a b ");
    EXPECT_EQ(QVN_ReadProfileText("N", "empty", "x"), "") << "present: no default";
}

TEST(Settings, MalformedFilesReadAsFarAsTheyGo) {
    TempSettings settings;
    // No trailing newline, Windows line breaks, a section without its bracket, junk lines.
    settings.WriteRaw("junk before any section\r\nk=1\r\n[A]\r\nnoequals\r\n=nokey\r\nk=2\r\n" "[B\r\nk=3");
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
    // A file that is a directory reads as empty and cannot be written.
    std::string dir = settings.Dir().string();
    EXPECT_EQ(QVN_ReadProfileInt("A", "k", 6, dir.c_str()), 6);
    EXPECT_EQ(QVN_WriteProfileInt("A", "k", 6, dir.c_str()), 0);
}

TEST(Settings, WritesKeepEveryOtherLineAndTheFilesLineBreaks) {
    TempSettings settings;
    // The folder of the settings file may be missing (a workstation's first start).
    std::string nested = (settings.Dir() / "Quorvin" / "quorvin.ini").string();
    ASSERT_EQ(QVN_WriteProfileInt("APPTBOOK", "DEF_VIEW", 3, nested.c_str()), 1);
    EXPECT_EQ(QVN_ReadProfileInt("apptbook", "def_view", 1, nested.c_str()), 3);
    std::filesystem::remove_all(settings.Dir() / "Quorvin");

    settings.WriteRaw("; workstation settings\n[GENERAL]\nPath=D:\\Practice\\\n\n[APPTBOOK]\nDEF_VIEW=2\n"
                      "odd line kept\nBGCOLOR1=1,2,3\n\n[NETWORK]\nSTATION=4");
    ASSERT_EQ(QVN_WriteProfileInt("apptbook", "def_view", 5), 1);
    // A new key goes to the end of its section, before the blank line that separates sections.
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "Font3", "*Arial,8,400,0,-11,FALSE,FALSE"), 1);
    ASSERT_EQ(QVN_WriteProfileString("QVCTREEM", "RETRY", "12"), 1);
    EXPECT_EQ(settings.ReadRaw(), "; workstation settings\n[GENERAL]\nPath=D:\\Practice\\\n\n[APPTBOOK]\nDEF_VIEW=5\n"
              "odd line kept\nBGCOLOR1=1,2,3\nFont3=*Arial,8,400,0,-11,FALSE,FALSE\n\n"
              "[NETWORK]\nSTATION=4\n[QVCTREEM]\nRETRY=12\n");

    // Removing a key, and a text with line breaks staying one line.
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "BGCOLOR1", nullptr), 1);
    EXPECT_FALSE(QVN_ProfileKeyExists("APPTBOOK", "BGCOLOR1"));
    ASSERT_EQ(QVN_WriteProfileString("APPTBOOK", "DayUserTab1", "a\r\nb\nc"), 1);
    EXPECT_EQ(QVN_ReadProfileText("APPTBOOK", "DayUserTab1", ""), "a  b c");
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "DEF_VIEW", 1), 5);

    // No temporary file is left beside the settings file.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(settings.Dir())) files += entry.exists();
    EXPECT_EQ(files, 1);

    settings.WriteRaw("[A]\r\nx=1\r\n");
    ASSERT_EQ(QVN_WriteProfileInt("A", "y", 2), 1);
    EXPECT_EQ(settings.ReadRaw(), "[A]\r\nx=1\r\ny=2\r\n");

    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(QVN_WriteProfileInt(("S" + std::to_string(i % 7)).c_str(), ("K" + std::to_string(i)).c_str(), i * 3), 1);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(QVN_ReadProfileInt(("s" + std::to_string(i % 7)).c_str(), ("k" + std::to_string(i)).c_str(), -1), i * 3) << i;
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
    EXPECT_EQ(QVN_PracticeInfPath(), path + "qvndata.inf");

    EXPECT_TRUE(ReadAlwaysCalculate()) << "missing qvndata.inf: default 1";
    TempSettings::WriteFile(QVN_PracticeInfPath(), "[Apptbook]\r\nAlwaysCalculate=0\r\n");
    EXPECT_EQ(QVN_ReadPracticeInfInt("APPTBOOK", "AlwaysCalculate", 1), 0);
    EXPECT_FALSE(ReadAlwaysCalculate());
    EXPECT_EQ(QVN_ReadProfileInt("APPTBOOK", "AlwaysCalculate", 1), 1) << "the practice file is not the workstation's";
}
