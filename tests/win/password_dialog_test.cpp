// The name-and-password dialog on its own template: what it shows, the password hidden, the
// focus on the field to type in, OK handing back the typed texts and Cancel nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/resource.h"
#include "suite/password_dialog_win.h"
#include "suite/users.h"

namespace {

std::string TextOf(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Looks at the "Password" dialog from another thread, types into it and presses a button.
struct DialogDriver {
    std::string name, password;
    int button = IDOK;
    bool found = false;
    std::string prompt, failure, shownName;
    bool passwordHidden = false, focusOnPassword = false, okIsDefault = false;

    static DWORD WINAPI Run(void* self) {
        auto* d = static_cast<DialogDriver*>(self);
        for (int i = 0; i < 200; ++i) {
            HWND dialog = FindWindowA("#32770", "Password");
            if (dialog && IsWindowVisible(dialog)) {
                d->Inspect(dialog);
                SetDlgItemTextA(dialog, IDC_PASSWORD_NAME, d->name.c_str());
                SetDlgItemTextA(dialog, IDC_PASSWORD_TEXT, d->password.c_str());
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(d->button, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, d->button)));
                return 0;
            }
            Sleep(50);
        }
        return 0;
    }

    void Inspect(HWND dialog) {
        found = true;
        prompt = TextOf(dialog, IDC_PASSWORD_PROMPT);
        failure = TextOf(dialog, IDC_PASSWORD_FAILURE);
        shownName = TextOf(dialog, IDC_PASSWORD_NAME);
        passwordHidden = (GetWindowLongA(GetDlgItem(dialog, IDC_PASSWORD_TEXT), GWL_STYLE) & ES_PASSWORD) != 0;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info))
            focusOnPassword = info.hwndFocus == GetDlgItem(dialog, IDC_PASSWORD_TEXT);
        okIsDefault = LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)) == IDOK;
    }
};

bool RunWith(DialogDriver& driver, const PasswordRequest& request, PasswordAnswer* answer) {
    HANDLE thread = CreateThread(nullptr, 0, DialogDriver::Run, &driver, 0, nullptr);
    bool given = RunPasswordDialog(nullptr, GetModuleHandleA(nullptr), request, answer);
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    return given;
}

}  // namespace

TEST(PasswordDialog, ShowsTheRequestAndHandsBackWhatWasTyped) {
    DialogDriver driver;
    driver.name = "FRONT";
    driver.password = "desk-pass";
    PasswordRequest request{"Enter your name and password to confirm this action (right 31).",
                            "The name or password is not correct. 2 more tries.", "LIMITED"};
    PasswordAnswer answer;
    EXPECT_TRUE(RunWith(driver, request, &answer));
    ASSERT_TRUE(driver.found);
    EXPECT_EQ(request.prompt, driver.prompt);
    EXPECT_EQ(request.failure, driver.failure);
    EXPECT_EQ("LIMITED", driver.shownName);
    EXPECT_TRUE(driver.passwordHidden) << "the password shows as dots";
    EXPECT_TRUE(driver.focusOnPassword) << "with a name given the password is typed first";
    EXPECT_TRUE(driver.okIsDefault);
    EXPECT_EQ("FRONT", answer.name);
    EXPECT_EQ("desk-pass", answer.password);
}

TEST(PasswordDialog, CancelGivesNothingAndThePrompterUsesTheDialog) {
    DialogDriver driver;
    driver.name = "FRONT";
    driver.password = "typed";
    driver.button = IDCANCEL;
    PasswordAnswer answer;
    EXPECT_FALSE(RunWith(driver, PasswordRequest{"Why", "", ""}, &answer));
    EXPECT_TRUE(driver.found);
    EXPECT_EQ("", answer.password);

    InstallWindowsPasswordPrompter(nullptr, GetModuleHandleA(nullptr));
    DialogDriver through_prompter;
    through_prompter.name = "front";
    through_prompter.password = "x";
    HANDLE thread = CreateThread(nullptr, 0, DialogDriver::Run, &through_prompter, 0, nullptr);
    EXPECT_TRUE(CurrentPasswordPrompter().Ask(PasswordRequest{"Why", "", ""}, &answer));
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    InstallPasswordPrompter(nullptr);
    EXPECT_TRUE(through_prompter.found);
    EXPECT_FALSE(through_prompter.focusOnPassword) << "without a name the name is typed first";
    EXPECT_EQ(0, _stricmp("front", answer.name.c_str()));
}
