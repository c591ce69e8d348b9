// The process-wide prompter and the shorthands over it.
#include "suite/prompter.h"

const char kTitleAppointmentBook[] = "Appointment Book";
const char kTitleQuorvin[] = "Quorvin";

namespace {

// Answers every request with the most cautious choice, so code running without a user (the
// admin tool, a test that forgot to script) never proceeds on an imagined Yes.
class SilentPrompter final : public Prompter {
public:
    PromptAnswer Show(const PromptRequest& request) override {
        switch (request.buttons) {
        case kButtonsOk: return kAnswerOk;
        case kButtonsYesNo: return kAnswerNo;
        default: return kAnswerCancel;
        }
    }
};

SilentPrompter silent_prompter;
Prompter* installed_prompter = &silent_prompter;

}  // namespace

Prompter& CurrentPrompter() { return *installed_prompter; }

void InstallPrompter(Prompter* prompter) {
    installed_prompter = prompter ? prompter : &silent_prompter;
}

bool AskYesNo(const std::string& text, const char* title) {
    return CurrentPrompter().Show({text, title, kButtonsYesNo, kIconExclamation}) == kAnswerYes;
}

void ShowRefusal(const std::string& text, const char* title) {
    CurrentPrompter().Show({text, title, kButtonsOk, kIconExclamation});
}

void ShowStop(const std::string& text, const char* title) {
    CurrentPrompter().Show({text, title, kButtonsOk, kIconStop});
}
