// The start-up steps between the creation of the main window and the message loop: the
// database session, the practice-resource group, the right to open the book, the status menu,
// the practice tables and the view, the country rule of the help menu, and the registration with
// the cross-workstation refresh. The window actions they need come through StartupWindow, so
// that the steps run natively in tests.
#pragma once

#include <string>

#include "app/command_rules.h"

class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    virtual void Destroy() = 0;                                  // the destroy posts the quit message
    virtual void PostQuit() = 0;
    virtual void SetStatusMenu(const StatusTables& tables) = 0;  // replaces the S&tatus popup
    virtual void RemoveCommand(int command) = 0;
};

enum class StartupEnd {
    kRun,       // show the window and run the loop
    kLoopEnds,  // the loop is entered and ends at the quit message already posted
    kFailed,    // end the program at once
};

extern const char kNoProviderOrOperatory[];  // "No Provider or No Operatory! Practice must be setup."
extern const char kComDatWarning[];          // "Com_dat File warning=" and the result code, then
extern const char kComDatWarningEnd[];       // ". Dynamic refresh may not work. Continue?"

// Runs the steps in their order; the user to log in comes from the command line or the settings.
StartupEnd RunStartupSteps(const std::string& command_line, StartupWindow& window);
