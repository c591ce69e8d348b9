// Button states and status colours of the main window.
#include "app/command_rules.h"

#include <cstring>

#include "app/command_table.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

void Report(int* answer, bool fact) {
    if (answer) *answer = fact ? 1 : 0;
}

// Buttons that show an "on" state with the patient's fact, besides being enabled for a patient.
bool FactButton(int command, const SelectionFacts& facts, bool* fact) {
    switch (command) {
    case 393: *fact = facts.hasPatientAlerts; return true;
    case 12124: *fact = facts.hasQuestionnaire; return true;
    case 12126: *fact = facts.hasPrescriptions; return true;
    case 12146: *fact = facts.hasReferrals; return true;
    default: return false;
    }
}

}  // namespace

int ButtonDisabled(int command, const SelectionFacts& facts, int* answer) {
    bool patient = facts.appointmentSelected && facts.patientSelected;
    bool fact = false;
    if (FactButton(command, facts, &fact)) {
        Report(answer, patient && fact);
        return patient ? 0 : 1;
    }
    switch (command) {
    case 12115:  // this program's own entry on the module bar
        return 1;
    case 123: case 124: case 126: case 129: case 620:
        return facts.appointmentSelected ? 0 : 1;
    case 386:
        if (patient && facts.hasPicture && answer) *answer = 1;
        return patient ? 0 : 1;
    case 12118: case 12141:
        return patient ? 0 : 1;
    default:
        return 0;  // every command below 123 and all the others
    }
}

int ButtonState(int command, const SelectionFacts& facts, int* answer) {
    if (!CommandAvailable(command)) {
        if (answer) *answer = 0;
        return 1;
    }
    return ButtonDisabled(command, facts, answer);
}

bool MenuEntryEnabled(int command, const SelectionFacts& facts) {
    return CommandAvailable(command) && SelectionAllowsEntry(command, facts);
}

bool SelectionAllowsEntry(int command, const SelectionFacts& facts) {
    const bool patient = facts.appointmentSelected && facts.patientSelected;
    switch (command) {
    case 12118: case 12141: case 12124: case 12126: case 123: case 129: case 124: case 126: case 620:
    case 380: case 386: case 393: case 12146:
        return patient;
    case 381:
        return facts.appointmentSelected;
    default:
        return true;
    }
}

uint32_t StatusColour(char colour_code, uint32_t stored_colour) {
    switch (colour_code) {
    case '1': return Rgb(255, 255, 0);
    case '2': return Rgb(0, 255, 0);
    case '3': return Rgb(255, 0, 0);
    case 'x': return stored_colour;
    default: return Rgb(255, 255, 255);
    }
}

StatusTables BuildStatusTables(const std::vector<StatusDefinition>& definitions) {
    StatusTables tables;
    for (const StatusDefinition& d : definitions) {
        if (d.number < 1 || d.number > kMaxPracticeStatus) continue;
        StatusMenuEntry entry = {kStatusCommandBase + d.number, {}};
        std::strncpy(entry.name, d.name ? d.name : "", sizeof entry.name - 1);
        tables.entries.push_back(entry);
        std::memcpy(tables.names[d.number], entry.name, sizeof entry.name);
        tables.colours[d.number] = StatusColour(d.colourCode, d.storedColour);
        tables.colourCodes[d.number] = d.colourCode;
    }
    return tables;
}
