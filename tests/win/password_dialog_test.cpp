// The name-and-password dialog on its own template: what it shows, the password hidden, the
// focus on the field to type in, OK handing back the typed texts, Cancel nothing, and the
// prompter that asks through it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/password_dialog_win.h"
#include "suite/users.h"

using namespace dialog_driver;

namespace {

// What the "Password" dialog showed when it came; then the name and password typed and the button
// pressed.
struct Seen {
    bool found = false;
    std::string prompt, failure, name;
    bool passwordHidden = false, focusOnPassword = false, okIsDefault = false;
};

bool Answer(const std::function<bool()>& ask, const std::string& name, const std::string& password, int button, Seen* seen) {
    Driver driver([&] {
        HWND dialog = WaitForDialog("Password");
        if (!dialog) return;
        seen->found = true;
        seen->prompt = Text(dialog, IDC_PASSWORD_PROMPT);
        seen->failure = Text(dialog, IDC_PASSWORD_FAILURE);
        seen->name = Text(dialog, IDC_PASSWORD_NAME);
        seen->passwordHidden = (GetWindowLongA(GetDlgItem(dialog, IDC_PASSWORD_TEXT), GWL_STYLE) & ES_PASSWORD) != 0;
        seen->focusOnPassword = FocusOf(dialog) == GetDlgItem(dialog, IDC_PASSWORD_TEXT);
        seen->okIsDefault = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK;
        SetDlgItemTextA(dialog, IDC_PASSWORD_NAME, name.c_str());
        SetDlgItemTextA(dialog, IDC_PASSWORD_TEXT, password.c_str());
        Press(dialog, button);
        WaitGone(dialog);
    });
    return driver.Run(ask);
}

}  // namespace

TEST(PasswordDialog, ShowsTheRequestHandsBackWhatWasTypedCancelGivesNothingAndThePrompterUsesIt) {
    const PasswordRequest request{"Enter your name and password to confirm this action (right 31).",
                                  "The name or password is not correct. 2 more tries.", "LIMITED"};
    PasswordAnswer answer;
    Seen seen;
    EXPECT_TRUE(Answer([&] { return RunPasswordDialog(nullptr, GetModuleHandleA(nullptr), request, &answer); }, "FRONT",
                       "desk-pass", IDOK, &seen));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(request.prompt, seen.prompt);
    EXPECT_EQ(request.failure, seen.failure);
    EXPECT_EQ("LIMITED", seen.name);
    EXPECT_TRUE(seen.passwordHidden) << "the password shows as dots";
    EXPECT_TRUE(seen.focusOnPassword) << "with a name given the password is typed first";
    EXPECT_TRUE(seen.okIsDefault);
    EXPECT_EQ("FRONT", answer.name);
    EXPECT_EQ("desk-pass", answer.password);

    PasswordAnswer cancelled;
    Seen cancel;
    EXPECT_FALSE(Answer([&] { return RunPasswordDialog(nullptr, GetModuleHandleA(nullptr), PasswordRequest{"Why", "", ""}, &cancelled); },
                        "FRONT", "typed", IDCANCEL, &cancel));
    EXPECT_TRUE(cancel.found);
    EXPECT_EQ("", cancelled.password);

    InstallWindowsPasswordPrompter(nullptr, GetModuleHandleA(nullptr));
    PasswordAnswer asked;
    Seen through_prompter;
    EXPECT_TRUE(Answer([&] { return CurrentPasswordPrompter().Ask(PasswordRequest{"Why", "", ""}, &asked); }, "front", "x",
                       IDOK, &through_prompter));
    InstallPasswordPrompter(nullptr);
    EXPECT_TRUE(through_prompter.found);
    EXPECT_FALSE(through_prompter.focusOnPassword) << "without a name the name is typed first";
    EXPECT_EQ(0, _stricmp("front", asked.name.c_str()));
}
