// The main window's guarded commands: the checks each one passes before its owner runs, in the
// order the user meets them (a rights check before the selection, and so on).
#pragma once

#include <functional>
#include <vector>

enum CommandCheck {
    kCheckRight,           // the rights check without a password prompt
    kCheckPasswordRight,   // the password check with an audit entry
    kCheckSelected,        // an appointment is selected, else "No appointment selected!"
    kCheckSelectedQuiet,   // an appointment is selected, else the command is ignored
    kCheckNotComplete,     // the selection is not complete, else the break refusal
    kCheckPatient,         // the selection belongs to a patient on file, else the new-patient refusal
};

struct CommandStep {
    CommandCheck check;
    int right = 0;  // for the two rights checks
};

// The checks of a command, in order; none for an unguarded command.
std::vector<CommandStep> CommandChecks(int command);

// What the checks need to know. The rights checks answer as the suite library does: above 0
// granted, 0 refused (it has shown its message), below 0 the prompt was cancelled.
class CommandContext {
public:
    virtual ~CommandContext() = default;
    virtual int CheckRight(int right) = 0;
    virtual int CheckPasswordRight(int right) = 0;
    virtual bool AppointmentSelected() = 0;
    virtual bool SelectionComplete() = 0;
    virtual bool SelectionIsPatient() = 0;
};

extern const char kNoAppointmentSelected[];  // "No appointment selected!"
extern const char kCannotBreakCompleted[];   // "Can not break a completed appointment!"
extern const char kNewPatientNoInformation[];

// Runs the command's checks; true when its owner may run. A failed check has told the user
// whatever it tells (through the Prompter), except the quiet ones.
bool PassCommandChecks(int command, CommandContext& context);

// Whether the program carries the command out yet. A command that does nothing yet is disabled
// everywhere: grayed in the menus, its button shown disabled, its key and any message ignored.
bool CommandAvailable(int command);

// Runs a command: one not available does nothing and asks nothing; otherwise its checks, then
// its owner. Whoever signed in with a password for the command acts for this command only: the
// acting user is the logged-in user again afterwards, whatever the checks answered.
void DispatchCommand(int command, CommandContext& context, const std::function<void()>& owner);
