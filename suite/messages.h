// The suite's numbered messages: one table of texts by group and number, and the prompts built
// on it (locked record, database error report).
//
// Callers name a message by group and number and pass up to two numbers that the text shows
// (a data file number, a result number, an error code); "%1" and "%2" in a text stand for them.
// Every message is shown through the installed Prompter with the title "Appointment Book" and
// the icon and buttons of its table entry, unless the caller asks for other buttons.
#pragma once

#include "suite/prompter.h"

// Message groups of the table.
enum MessageGroup : int {
    kMsgGroupGeneral = 1,  // validation of entries, database failures of the record files
    kMsgGroupSuite = 6,    // rights, memory, lists, confirmations
};

// Pass as the button set to use the buttons the table gives the message.
constexpr int kMsgOwnButtons = -1;

struct NumberedMessage {
    int group;
    int number;
    const char* text;  // "%1" and "%2" are replaced by the two arguments
    PromptButtons buttons;
    PromptIcon icon;
};

// The table entry of a message: exact group and number first; a number the caller names with
// another group still finds its text (some callers name the number alone). nullptr if unknown.
const NumberedMessage* QVN_FindMessage(int group, int number);

// The text as shown, arguments filled in. An unknown number still gives a readable text that
// names the group and number, so that nothing is ever shown blank.
std::string QVN_MessageText(int group, int number, long arg1 = 0, long arg2 = 0);

// Show a numbered message; returns the button pressed (kAnswerOk, kAnswerYes, ...).
int QVN_Message(int group, int number, long arg1 = 0, long arg2 = 0,
                int buttons = kMsgOwnButtons);

// A record of the data file is locked at another workstation: Retry or Cancel. Returns the
// button pressed; kAnswerRetry (4) means try again.
int QVN_LockedRecordPrompt(int file_number);

// A record-database operation failed: shows the data file, the error and the file the database
// last worked on. Returns kAnswerOk.
int QVN_ReportDbError(int file_number, int error, int last_file);

// Number of entries in the table, and entry i, for listing and checking the whole table.
int QVN_MessageCount();
const NumberedMessage& QVN_MessageAt(int index);
