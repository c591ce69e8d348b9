// Button states and status colours of the main window.
#include "app/command_rules.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

void Report(int* answer, bool fact) {
    if (answer) *answer = fact ? 1 : 0;
}

}  // namespace

int ButtonDisabled(int command, const SelectionFacts& facts, int* answer) {
    bool patient = facts.appointmentSelected && facts.patientSelected;
    switch (command) {
    case 12115:  // this program's own entry on the module bar
        return 1;
    case 123: case 124: case 126: case 129: case 620:
        return facts.appointmentSelected ? 0 : 1;
    case 386:
        if (patient && facts.hasPicture && answer) *answer = 1;
        return patient ? 0 : 1;
    case 393:
        Report(answer, patient && facts.hasPatientAlerts);
        return patient ? 0 : 1;
    case 12124:
        Report(answer, patient && facts.hasQuestionnaire);
        return patient ? 0 : 1;
    case 12126:
        Report(answer, patient && facts.hasPrescriptions);
        return patient ? 0 : 1;
    case 12146:
        Report(answer, patient && facts.hasReferrals);
        return patient ? 0 : 1;
    case 12118: case 12141:
        return patient ? 0 : 1;
    default:
        return 0;  // every command below 123 and all the others
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
