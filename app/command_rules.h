// Rules of the main window's commands that do not need a window: which button-bar buttons are
// shown disabled for the current selection, and the colours of the practice's statuses.
#pragma once

#include <cstdint>

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

// The answer to "is this command's button disabled?" (message 5180): 1 disabled, 0 enabled.
// When answer is given, the commands that show an "on" state write their fact there.
int ButtonDisabled(int command, const SelectionFacts& facts, int* answer);

// Colour of a status definition: "1" yellow, "2" green, "3" red, "x" the stored colour,
// anything else white. Colours are 0x00BBGGRR.
uint32_t StatusColour(char colour_code, uint32_t stored_colour);
