// Users and rights: who is logged in at this workstation, who acts for the current action (the
// override user), whether a user holds a right number, and the checks that ask another user's
// name and password when the own user lacks a right.
//
// The logged-in user signs on at start (QVN_SignOn): the program's command line (/USER=name) or
// [GENERAL] User only presets the name in the prompt; a user with a password gives it, three
// tries, audited. The override user is the logged-in user until another user signs
// in for one action through a password prompt; callers put it back with
// QVN_SetOverrideToLoggedIn once the action is done. Rights are read afresh from the user file
// at every check, so a right the administrator takes away holds at once.
//
// Passwords are never stored or logged: the user file keeps a random salt and a PBKDF2-HMAC-SHA256
// hash, and the audit entry of a password check holds who, when, the right and the outcome only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "suite/records/users.h"

// Iterations of PBKDF2 for every password set from now on. Each user record keeps the count its
// hash was made with, so raising this later leaves older passwords valid.
constexpr uint32_t kPasswordIterations = 600000;
constexpr int kPasswordSaltLength = sizeof(UserRecord::passwordSalt);
constexpr int kLoginNameMax = sizeof(UserRecord::loginName);  // characters, no terminator needed
constexpr int kPasswordMax = 64;                              // characters a user may type

// --- The password prompt ---------------------------------------------------------------------

// What the name-and-password dialog shows.
struct PasswordRequest {
    std::string prompt;   // why the name and password are asked, and for which right
    std::string failure;  // "" at the first try; after a wrong answer, what went wrong
    std::string name;     // the name the dialog starts with
};

struct PasswordAnswer {
    std::string name;
    std::string password;
};

// Asks a user for a name and password. The Win32 side shows a dialog; tests answer from a script.
class PasswordPrompter {
public:
    virtual ~PasswordPrompter() = default;
    // False when the user cancelled.
    virtual bool Ask(const PasswordRequest& request, PasswordAnswer* answer) = 0;
};

// The process-wide password prompter. Until one is installed every prompt counts as cancelled.
PasswordPrompter& CurrentPasswordPrompter();
void InstallPasswordPrompter(PasswordPrompter* prompter);  // nullptr restores the default

// Texts of the prompts.
std::string OverridePromptText(int right);        // the own user lacks the right
std::string PasswordCheckPromptText(int right);   // a password confirms the action
std::string WrongPasswordText(int tries_left);    // after a wrong name or password
constexpr int kPasswordTries = 3;                 // wrong answers in a row that refuse

// --- Users -------------------------------------------------------------------------------------

// The name a login is stored under: upper case, blanks around it removed. Empty when the name is
// empty or longer than the login field.
std::string NormalizeLoginName(std::string_view name);

// The user name of a /USER=name token of a command line (after '/' or '-', "USER=" in any case;
// the name runs to the next blank or '/'). Empty when there is none.
std::string UserFromCommandLine(const char* command_line);

// The sign-on of the program's start. The name of /USER=name (command_line_user) or, when that is
// empty, of [GENERAL] User proves nothing: it is only preset in the prompt. A named active user
// who has no password is logged in as named; everybody else gives a name and password, three
// tries. Returns 1 logged in (audited as granted); -1 the prompt was cancelled; 0 three wrong
// answers (audited, and the refusal shown). Only 1 leaves a user logged in.
int QVN_SignOn(const std::string& command_line_user);
std::string SignOnPromptText();
extern const char kSignOnRefused[];  // shown after three wrong answers at sign-on
constexpr int kRightSignOn = 1;      // the right the sign-on's audit entries name: open the book

// Logs in the user of that name (or of [GENERAL] User when it is empty) without asking anything:
// for callers that have proven who it is already (the sign-on above, tests). The override user
// becomes the same user. Returns 1 when the user file knows an active user of that name; 0
// otherwise (nobody is logged in: every right is refused unless another user signs in).
int QVN_LogInUser(const std::string& command_line_user);
// Forgets the logged-in and override user (end of the session, tests).
void QVN_LogOutUser();

uint32_t QVN_GetLoggedInUserID();  // 0 when nobody is logged in
uint32_t QVN_GetOverrideUserID();  // the user acting for the current action
// Login names of the two, as other modules are handed them on their command lines.
std::string QVN_GetLoggedInUserName();
std::string QVN_GetOverrideUserName();
void QVN_SetOverrideToLoggedIn();

// Does the acting (override) user hold the right? 1 or 0; shows nothing.
int QVN_CheckUserRights(int right);

// The rights check of guarded commands. Above 0: the acting user holds the right, or (with the
// prompt flag) another user who holds it signed in and is now the override user. 0: refused,
// after message 3001 (group 6) was shown. Below 0: the password prompt was cancelled; nothing
// was shown.
int QVN_CheckRights(int right, bool prompt);

// A name and password confirm the action every time, even when the acting user holds the right;
// the user who signs in becomes the override user. Three wrong answers in a row refuse. Returns
// as QVN_CheckRights does; a granted or refused check writes an audit entry of kind password
// check (never the typed texts).
int QVN_PasswordCheckwAudit(int right);

// --- The user file -------------------------------------------------------------------------

// A user record with the id, login name (normalized) and full name set, no password and no rights.
UserRecord MakeUserRecord(uint32_t user_id, std::string_view login_name, std::string_view full_name);

// Gives the user a new random salt and the hash of the password.
void QVN_SetUserPassword(UserRecord& user, std::string_view password, uint32_t iterations = kPasswordIterations);

// True when the user has a password and this is it.
bool QVN_PasswordMatches(const UserRecord& user, std::string_view password);

// Reads a user by login name (normalized here) on the access layer's session; the result number
// (0 found, 101 no such user).
uint16_t QVN_ReadUser(std::string_view login_name, UserRecord* user);

// Adds the user, or rewrites the record of the same login name; the result number.
uint16_t QVN_WriteUser(const UserRecord& user);
