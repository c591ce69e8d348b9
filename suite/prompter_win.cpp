// Message boxes answer the core code's prompts on Windows.
#include "suite/prompter.h"
#include "suite/window_services_win.h"

namespace {

class MessageBoxPrompter final : public Prompter {
public:
    HWND owner = nullptr;

    PromptAnswer Show(const PromptRequest& r) override {
        HWND parent = owner && IsWindow(owner) ? owner : GetActiveWindow();
        int answer = MessageBoxA(parent, r.text.c_str(), r.title.c_str(),
                                 static_cast<UINT>(r.buttons) | static_cast<UINT>(r.icon) | MB_TASKMODAL);
        return static_cast<PromptAnswer>(answer);
    }
};

MessageBoxPrompter message_box_prompter;

}  // namespace

void InstallWindowsPrompter(HWND owner) {
    message_box_prompter.owner = owner;
    InstallPrompter(&message_box_prompter);
}
