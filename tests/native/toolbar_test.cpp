// The toolbar's buttons, its "Toolbar" key and the rules of the customise dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists/toolbar.h"
#include "settings_test_env.h"

namespace {

// The appointment book's toolbar with the given optional programs present.
std::vector<ToolbarButton> Known(std::vector<int> present = {}) {
    return KnownToolbarButtons(12115, [present](int command) {
        for (int p : present)
            if (p == command) return true;
        return false;
    });
}

std::vector<int> Commands(const std::vector<ToolbarButton>& buttons) {
    std::vector<int> out;
    for (const ToolbarButton& b : buttons) out.push_back(b.entry.command);
    return out;
}

// The main window's own part of the default, as its button bar was created.
const std::vector<int> kOwnPart = {0,   386, 0,   121, 127, 122, 123, 129, 0,     610, 620, 126,
                                   124, 0,   389, 0,   404, 0,   393, 0,   12146, 0,   388};

}  // namespace

TEST(Toolbar, ModuleButtonsInOrderWithoutTheOwnAndOptionalOnlyWhenPresent) {
    const std::vector<int> first = {12112, 12113, 12114, 12117, 12118, 12141, 12119, 12134};
    std::vector<int> known = Commands(Known());
    ASSERT_GE(known.size(), first.size());
    EXPECT_EQ(first, std::vector<int>(known.begin(), known.begin() + 8)) << "no 12115, no optional module";
    EXPECT_EQ(386, known[8]) << "then the window's own buttons";

    known = Commands(Known({12142, 12124}));
    EXPECT_EQ((std::vector<int>{12124, 12142, 386}), std::vector<int>(known.begin() + 8, known.begin() + 11));

    // The default: a separator wherever the group changes.
    std::vector<int> expected = {12112, 12113, 12114, 12117, 0, 12118, 12141, 12119, 0, 12134, 0, 12124, 12126, 12128, 12142};
    expected.insert(expected.end(), kOwnPart.begin(), kOwnPart.end());
    EXPECT_EQ(expected, DefaultToolbarArrangement(Known({12124, 12126, 12128, 12142})));
    // Another module's toolbar shows the appointment book's button and not its own.
    const std::vector<int> chart = Commands(KnownToolbarButtons(12112, nullptr));
    EXPECT_EQ((std::vector<int>{12113, 12114, 12115, 12117}), std::vector<int>(chart.begin(), chart.begin() + 4));
}

TEST(Toolbar, TheToolbarKeyLoadsAndSaves) {
    const std::vector<ToolbarButton> known = Known();
    struct Case { const char* stored; std::vector<int> loaded; };  // stored null: no key
    const std::vector<int> defaults = DefaultToolbarArrangement(known);
    const Case cases[] = {
        {"12112,0,12113", {12112, 0, 12113}},
        {"EMPTY", {}},
        {"E", {}},
        {nullptr, defaults},
        {"", defaults},
        {"12113,12124,12115,388", {12113, 388}},  // a program that is not there, this module's own
        {"000012112,0,123456789", {0}},  // eight characters of each entry: 00001211 and 12345678 are no button
        {"12146, 386", {12146, 386}},
    };
    for (const Case& c : cases) {
        TempSettings ini;
        if (c.stored) ini.WriteRaw(std::string("[Apptbook]\nToolbar=") + c.stored + "\n");
        EXPECT_EQ(c.loaded, LoadToolbarArrangement("APPTBOOK", known)) << (c.stored ? c.stored : "(none)");
    }

    TempSettings ini;
    ASSERT_TRUE(SaveToolbarArrangement("APPTBOOK", {12113, 0, 388}));
    EXPECT_EQ("12113,0,388", QVN_ReadProfileText("APPTBOOK", "Toolbar", ""));
    EXPECT_EQ((std::vector<int>{12113, 0, 388}), LoadToolbarArrangement("APPTBOOK", known));
    for (const std::vector<int>& none : {std::vector<int>{}, std::vector<int>{0, 0}}) {
        ASSERT_TRUE(SaveToolbarArrangement("APPTBOOK", none));
        EXPECT_EQ("EMPTY", QVN_ReadProfileText("APPTBOOK", "Toolbar", ""));
        EXPECT_TRUE(LoadToolbarArrangement("APPTBOOK", known).empty());
    }
}

TEST(Toolbar, CustomiseRules) {
    const std::vector<ToolbarButton> known = Known();
    ToolbarCustomiser c(known, {12112, 0, 12113});
    EXPECT_EQ("-----Separator-----|Family File", c.Text(0) + "|" + c.Text(12113));
    // A separator heads the list, then the buttons not shown, in creation order.
    const std::vector<int> available = c.Available();
    ASSERT_GE(available.size(), 3u);
    EXPECT_EQ((std::vector<int>{0, 12114, 12117}), std::vector<int>(available.begin(), available.begin() + 3));

    // Enabling: nothing selected, nothing to move; the ends of the list do not move further.
    EXPECT_EQ((std::vector<bool>{false, true, false, false, true, false, true, true}),
              (std::vector<bool>{c.CanAdd({}, -1), c.CanAdd({1}, -1), c.CanRemove(-1), c.CanMoveUp(0), c.CanMoveUp(1), c.CanMoveDown(2),
                                 c.CanMoveDown(1), c.CanRestoreDefault()}));

    // ">" puts the chosen lines in front of the selected toolbar entry; a separator stays available.
    EXPECT_EQ(2, c.Add({0, 1}, 2));
    EXPECT_EQ((std::vector<int>{12112, 0, 0, 12114, 12113}), c.Toolbar());
    EXPECT_EQ(0, c.Available()[0]);
    EXPECT_EQ(12117, c.Available()[1]);
    EXPECT_EQ(5, c.Add({1}, -1)) << "at the end when nothing is selected";
    EXPECT_EQ(12117, c.Toolbar().back());
    // "<" gives a button back to the available list in its place there.
    EXPECT_EQ(3, c.Remove(3));
    EXPECT_EQ(12114, c.Available()[1]);
    EXPECT_EQ(1, c.MoveUp(2));
    EXPECT_EQ(4, c.MoveDown(3));
    EXPECT_EQ((std::vector<int>{12112, 0, 0, 12117, 12113}), c.Toolbar());

    c.RestoreDefault();
    EXPECT_EQ(DefaultToolbarArrangement(known), c.Toolbar());
    EXPECT_EQ(std::vector<int>{0}, c.Available()) << "after Default only a separator is available";
    EXPECT_FALSE(c.CanRestoreDefault());

    // At most 150 entries.
    ToolbarCustomiser full(known, std::vector<int>(149, 0));
    EXPECT_EQ(std::pair(true, false), std::pair(full.CanAdd({0}, -1), full.CanAdd({0, 1}, -1)));
    EXPECT_EQ(-1, full.Add({0, 1}, -1));
    EXPECT_EQ(149u, full.Toolbar().size());
    EXPECT_EQ(149, full.Add({0}, -1));
    EXPECT_EQ(150u, full.Toolbar().size());
    EXPECT_FALSE(full.CanAdd({0}, -1));
}
