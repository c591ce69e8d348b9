// What the selection allows, command by command: the button bar's rule, the context menu's rule,
// the menu's enabled entries and the button's state (a command not carried out yet is disabled
// whatever is selected); the facts written to the answer, and the status colours and entries.
#include <gtest/gtest.h>

#include "app/command_rules.h"

TEST(CommandRules, EachCommandFollowsTheSelectionInEveryRuleAndWritesItsFacts) {
    SelectionFacts none, new_patient, patient;
    new_patient.appointmentSelected = patient.appointmentSelected = true;
    patient.patientSelected = true;
    const SelectionFacts* facts[3] = {&none, &new_patient, &patient};
    // Per rule the answers with nothing, a new patient's and a patient's appointment selected:
    // '1' disabled / allowed / enabled, '0' not, '.' not a case of this command.
    const struct {
        int command;
        const char *disabled, *allows, *menu, *state;
    } rows[] = {
        {12115, "..1", "...", "...", "..."}, {120, "0..", "...", "..1", "..."},   {121, "0..", "...", "1..", "0.."},
        {122, "0..", "...", "1..", "0.."},   {127, "0..", "...", "1..", "0.."},   {128, "0..", "1..", "1..", "0.."},
        {123, "10.", "001", "001", "10."},   {124, "10.", "001", "001", "10."},   {126, "10.", "001", "001", "10."},
        {129, "10.", "001", "0.1", "..0"},   {620, "10.", "001", "001", "10."},   {386, "110", "001", "001", "110"},
        {393, "110", "001", "001", "110"},   {12146, "110", "001", "001", "110"}, {12124, "110", "001", "...", "..."},
        {12126, "110", "001", "...", "..."}, {12118, "110", "001", "...", "..."}, {12141, "110", "001", "...", "..."},
        {388, "0..", "...", "1..", "0.."},   {610, "0..", "...", "1..", "0.."},   {404, "0..", "...", "...", "..."},
        {380, "...", "001", "001", "..."},   {381, "...", "01.", "01.", "..."},   {382, "...", "...", "..1", "..."},
        {301, "...", "...", "1..", "..."},   {315, "...", "...", "..1", "..."},   {316, "...", "...", "..0", "..."},
    };
    const auto answers = [&](const char* wanted, auto rule) {
        std::string got;
        for (int i = 0; i < 3; ++i) got += wanted[i] == '.' ? '.' : static_cast<char>('0' + rule(*facts[i]));
        return got;
    };
    for (const auto& r : rows) {
        const int c = r.command;
        EXPECT_EQ(r.disabled, answers(r.disabled, [c](const SelectionFacts& f) { return ButtonDisabled(c, f, nullptr); })) << c;
        EXPECT_EQ(r.allows, answers(r.allows, [c](const SelectionFacts& f) { return int(SelectionAllowsEntry(c, f)); })) << c;
        EXPECT_EQ(r.menu, answers(r.menu, [c](const SelectionFacts& f) { return int(MenuEntryEnabled(c, f)); })) << c;
        EXPECT_EQ(r.state, answers(r.state, [c](const SelectionFacts& f) { return ButtonState(c, f, nullptr); })) << c;
    }
    // Refresh, the view, the setups, Purge, the lists and Exit are enabled with nothing selected.
    for (int c : {125, 130, 140, 141, 142, 143, 144, 145, 384, 375, 376, 378}) EXPECT_TRUE(MenuEntryEnabled(c, none)) << c;

    // The facts written to the answer.
    patient.hasPicture = patient.hasReferrals = true;
    const auto answer = [](int command, const SelectionFacts& f) {
        int a = 7;
        ButtonDisabled(command, f, &a);
        return a;
    };
    EXPECT_EQ((std::vector<int>{1, 1, 0}), (std::vector<int>{answer(386, patient), answer(12146, patient), answer(393, patient)}));
    patient.hasPicture = false;
    EXPECT_EQ(7, answer(386, patient)) << "the picture answer is written only when there is one";
    none.hasPrescriptions = true;  // stale facts do not count without a patient selected
    EXPECT_EQ(0, answer(12126, none));
    EXPECT_EQ(1, ButtonDisabled(12126, none, nullptr));
}

TEST(CommandRules, StatusColoursMenuEntriesAndNames) {
    EXPECT_EQ((std::vector<uint32_t>{0x00FFFF, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0xFFFFFF}),
              (std::vector<uint32_t>{StatusColour('1', 5), StatusColour('2', 5), StatusColour('3', 5), StatusColour('x', 0x123456),
                                     StatusColour('X', 0x123456), StatusColour('\0', 0)}));
    // Names keep six characters; status 16 is no practice status.
    const StatusTables t = BuildStatusTables({{1, '1', 0, "Here"}, {2, 'x', 0x112233, "Seated!!"}, {16, '2', 0, "Bad"}, {5, 'q', 0, "Late"}});
    std::string entries;
    for (const auto& e : t.entries) entries += std::to_string(e.command) + "=" + e.name + ";";
    EXPECT_EQ("301=Here;302=Seated;305=Late;", entries);
    EXPECT_EQ((std::vector<uint32_t>{0x00FFFF, 0x112233, 0, 0xFFFFFF}), (std::vector<uint32_t>{t.colours[1], t.colours[2], t.colours[3], t.colours[5]}))
        << "a status without a definition has colour 0";
    EXPECT_STREQ("Seated", t.names[2]);
}
