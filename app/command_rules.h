// Rules of the main window's commands that do not need a window: which button-bar buttons are
// shown disabled for the current selection, and the colours of the practice's statuses.
#pragma once

#include <cstdint>
#include <vector>

// What the button bar's answers depend on: the selection and the selected patient's facts.
struct SelectionFacts {
    bool appointmentSelected = false;
    bool patientSelected = false;  // the selected appointment belongs to a patient on file
    bool hasPicture = false;
    bool hasPatientAlerts = false;
    bool hasQuestionnaire = false;
    bool hasPrescriptions = false;
    bool hasReferrals = false;
};

// The selection's rule for a button: 1 disabled, 0 enabled. When answer is given, the commands
// that show an "on" state write their fact there.
int ButtonDisabled(int command, const SelectionFacts& facts, int* answer);

// The answer to "is this command's button disabled?" (message 5180): the selection's rule, and
// disabled besides for a command that the program does not carry out yet.
int ButtonState(int command, const SelectionFacts& facts, int* answer);

// Whether the selection lets a menu entry be enabled: the entries that work on a patient's
// appointment need one selected, "Medical Alerts/Notes..." (381) any appointment.
bool SelectionAllowsEntry(int command, const SelectionFacts& facts);
// Whether a menu entry of the main window is enabled: the command is carried out, and the
// selection allows it.
bool MenuEntryEnabled(int command, const SelectionFacts& facts);

// Colour of a status definition: "1" yellow, "2" green, "3" red, "x" the stored colour,
// anything else white. Colours are 0x00BBGGRR.
uint32_t StatusColour(char colour_code, uint32_t stored_colour);

// One appointment status definition of the practice, as the S&tatus menu needs it.
struct StatusDefinition {
    int number = 0;          // 1 to 15
    char colourCode = 0;     // "1", "2", "3", "x" or anything else
    uint32_t storedColour = 0;
    const char* name = "";   // up to six characters are used
};

constexpr int kStatusCommandBase = 300;
constexpr int kMaxPracticeStatus = 15;

struct StatusMenuEntry {
    int command;       // 300 + the status number
    char name[7];      // six characters and the terminator
};

// The S&tatus menu and the status colour table from the definitions in key order. Numbers
// outside 1-15 are left out; colours[n] is the colour of status n (0 for a status without one).
struct StatusTables {
    std::vector<StatusMenuEntry> entries;
    uint32_t colours[kMaxPracticeStatus + 1] = {};
    char names[kMaxPracticeStatus + 1][7] = {};
    char colourCodes[kMaxPracticeStatus + 1] = {};  // the definition's code character; a digit colours list lines
};
StatusTables BuildStatusTables(const std::vector<StatusDefinition>& definitions);
