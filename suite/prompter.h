// The one way core code talks to the user.
//
// Core code (everything that is not Win32) never shows a window. When it must ask a question,
// refuse something or report a numbered message it builds the exact text and hands a
// PromptRequest to the installed Prompter. The Win32 side answers with MessageBoxA; tests install
// a scripted prompter that records every request in order and returns planned answers.
//
// Answers are the Windows dialog result numbers, so that "Retry returns 4" and friends hold
// the same on both sides.
#pragma once

#include <string>

enum PromptAnswer : int {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerAbort = 3,
    kAnswerRetry = 4,
    kAnswerIgnore = 5,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

// Same values as the MB_ button flags of Windows.
enum PromptButtons : int {
    kButtonsOk = 0,
    kButtonsOkCancel = 1,
    kButtonsAbortRetryIgnore = 2,
    kButtonsYesNoCancel = 3,
    kButtonsYesNo = 4,
    kButtonsRetryCancel = 5,
};

// Same values as the MB_ icon flags of Windows.
enum PromptIcon : int {
    kIconNone = 0,
    kIconStop = 0x10,
    kIconQuestion = 0x20,
    kIconExclamation = 0x30,
    kIconInformation = 0x40,
};

extern const char kTitleAppointmentBook[];  // "Appointment Book"
extern const char kTitleQuorvin[];          // "Quorvin": memory and missing-practice errors

struct PromptRequest {
    std::string text;
    std::string title;
    PromptButtons buttons = kButtonsOk;
    PromptIcon icon = kIconNone;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Show(const PromptRequest& request) = 0;
};

// The process-wide prompter. Until one is installed, requests are answered with Cancel/No
// without showing anything (a tool without a user must never block on a question).
Prompter& CurrentPrompter();
void InstallPrompter(Prompter* prompter);  // nullptr restores the silent default

// Shorthands for the three kinds of box the program uses, all titled "Appointment Book"
// unless a title is given.
bool AskYesNo(const std::string& text, const char* title = kTitleAppointmentBook);  // Yes = true
void ShowRefusal(const std::string& text, const char* title = kTitleAppointmentBook);  // OK, !
void ShowStop(const std::string& text, const char* title = kTitleAppointmentBook);  // OK, stop icon
