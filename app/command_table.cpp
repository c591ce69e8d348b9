// The checks of the guarded commands and the refusals they show.
#include "app/command_table.h"

#include <algorithm>
#include <iterator>

#include "suite/prompter.h"
#include "suite/users.h"

const char kNoAppointmentSelected[] = "No appointment selected!";
const char kCannotBreakCompleted[] = "Can not break a completed appointment!";
const char kNewPatientNoInformation[] = "New Patient Appointment selected! No information available.";

namespace {

constexpr int kFirstStatusCommand = 301;
constexpr int kLastStatusCommand = 315;

struct GuardedCommand {
    int command;
    std::vector<CommandStep> steps;
};

const std::vector<GuardedCommand>& GuardedCommands() {
    static const std::vector<GuardedCommand> table = {
        {120, {{kCheckSelectedQuiet}}},
        {123, {{kCheckPasswordRight, 33}, {kCheckSelected}, {kCheckNotComplete}}},
        {124, {{kCheckPasswordRight, 31}, {kCheckSelected}}},
        {125, {{kCheckRight, 32}}},
        {126, {{kCheckSelected}}},
        {129, {{kCheckRight, 67}, {kCheckSelected}}},
        {140, {{kCheckRight, 68}}},
        {141, {{kCheckRight, 69}}},
        {142, {{kCheckRight, 35}}},
        {143, {{kCheckRight, 34}}},
        {144, {{kCheckRight, 34}}},
        {375, {{kCheckRight, 36}}},
        {376, {{kCheckRight, 36}}},
        {378, {{kCheckRight, 36}}},
        {380, {{kCheckSelected}, {kCheckPatient}}},
        {381, {{kCheckSelected}}},
        {382, {{kCheckSelected}, {kCheckPatient}}},
        {620, {{kCheckSelected}, {kCheckRight, 187}}},
        // The patient's picture, alerts and referrals: a patient's appointment selected.
        {386, {{kCheckSelected}, {kCheckPatient}}},
        {393, {{kCheckSelected}, {kCheckPatient}}},
        {12146, {{kCheckSelected}, {kCheckPatient}}},
    };
    return table;
}

bool Pass(const CommandStep& step, CommandContext& context) {
    switch (step.check) {
    case kCheckRight:
        return context.CheckRight(step.right) > 0;
    case kCheckPasswordRight:
        return context.CheckPasswordRight(step.right) > 0;
    case kCheckSelected:
        if (context.AppointmentSelected()) return true;
        ShowStop(kNoAppointmentSelected);
        return false;
    case kCheckSelectedQuiet:
        return context.AppointmentSelected();
    case kCheckNotComplete:
        if (!context.SelectionComplete()) return true;
        ShowStop(kCannotBreakCompleted);
        return false;
    case kCheckPatient:
        if (context.SelectionIsPatient()) return true;
        ShowStop(kNewPatientNoInformation);
        return false;
    }
    return false;
}

// The commands whose owners are built: the new appointments of the current or a chosen patient,
// locating an appointment, Dial, refresh, the view and its dialogs, the font and flip tab setups,
// exit, the day and week views, the date buttons, the family appointment list (its menu entry, the
// hand-over of a second start and the internal 385), the medical alerts and notes, the insurance
// and new-patient information, Ideal Day, the function keys and the flip tab keys, going to a
// date, the help menu and the three appointment lists; breaking, deleting and setting complete
// the selected appointment, and the purge.
constexpr int kAvailableCommands[] = {
    120, 121, 122, 123, 124, 125, 126, 128, 130, 131, 143, 144, 145, 150, 151, 201, 202, 204, 380, 381, 382, 384, 385, 388, 390,
    395, 396, 397, 398, 399, 400, 401, 402, 403, 700, 701, 702, 800, 801, 802, 803, 804, 805, 1124, 1224,
    375, 376, 378,  // the Appointment, ASAP and Unscheduled lists
    129,            // Post/Set Complete
    127,            // Find New Appointment Time
    142, 203,       // the schedule calendar: the practice's schedule, and picking a date
    152, 806,       // the month view: its button and Ctrl+Shift+M
    140,            // Practice Setup
    141,            // Provider Setup
    // The suite's modules, the treatment and lab case managers and the tutorial, started by the
    // launcher; Continuing Care and Quick Labels in a window of this program.
    12112, 12113, 12114, 12117, 12118, 12119, 12124, 12126, 12128, 12134, 12141, 12142, 389, 404, 703,
    610, 620,       // printing the view and the route slip: their jobs for the print program
    // The patient's picture, alerts and referrals in windows of this program.
    386, 393, 12146,
};

}  // namespace

bool CommandAvailable(int command) {
    // The S&tatus entries set the selected appointment's status.
    if (command >= kFirstStatusCommand && command <= kLastStatusCommand) return true;
    return std::find(std::begin(kAvailableCommands), std::end(kAvailableCommands), command) != std::end(kAvailableCommands);
}

void DispatchCommand(int command, CommandContext& context, const std::function<void()>& owner) {
    if (!CommandAvailable(command)) return;
    if (PassCommandChecks(command, context) && owner) owner();
    QVN_SetOverrideToLoggedIn();
}

std::vector<CommandStep> CommandChecks(int command) {
    if (command >= kFirstStatusCommand && command <= kLastStatusCommand) return {{kCheckSelected}};
    for (const GuardedCommand& g : GuardedCommands())
        if (g.command == command) return g.steps;
    return {};
}

bool PassCommandChecks(int command, CommandContext& context) {
    for (const CommandStep& step : CommandChecks(command))
        if (!Pass(step, context)) return false;
    return true;
}
