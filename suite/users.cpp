// The logged-in and override user, the rights checks with their password prompts, and the
// salted password hashes of the user file.
#include "suite/users.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>

#include "data/db_access.h"
#include "suite/audit.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/sha256.h"

namespace {

constexpr int kNoRightMessage = 3001;

// Counts every prompt as cancelled: a program without a user never signs anybody in.
class CancellingPasswordPrompter final : public PasswordPrompter {
public:
    bool Ask(const PasswordRequest&, PasswordAnswer*) override { return false; }
};

CancellingPasswordPrompter cancelling_prompter;
PasswordPrompter* installed_password_prompter = &cancelling_prompter;

// Who is logged in at this workstation and who acts for the current action.
struct UserSession {
    uint32_t loggedInId = 0;
    std::string loggedInName;
    uint32_t overrideId = 0;
    std::string overrideName;
};
UserSession user_session;

// Overwrites a text that held a password before its memory is given back.
void Wipe(std::string& text) {
    volatile char* p = text.data();
    for (size_t i = 0; i < text.size(); ++i) p[i] = 0;
    text.clear();
}

bool IsActive(const UserRecord& user) { return (user.flags & kUserInactive) == 0; }

// The rights of the acting user, read afresh; false for nobody, an unknown or inactive user.
bool ActingUserHolds(int right) {
    if (user_session.overrideName.empty()) return false;
    UserRecord user;
    if (QVN_ReadUser(user_session.overrideName, &user) != kQdbOk) return false;
    return IsActive(user) && UserHasRight(user, right);
}

void ShowNoRight() { QVN_Message(kMsgGroupSuite, kNoRightMessage); }

enum class SignIn { kSignedIn, kCancelled, kWrongTries };

struct SignInResult {
    SignIn outcome = SignIn::kCancelled;
    UserRecord user{};
    int wrongTries = 0;
};

// Asks for a name and password until an active user of the file answers with the right password,
// the prompt is cancelled, or the answers were wrong kPasswordTries times in a row. A wrong name
// and a wrong password look the same to the user, so that a guesser learns no names.
SignInResult AskSignIn(const std::string& prompt, const std::string& preset_name) {
    SignInResult result;
    PasswordRequest request{prompt, "", preset_name};
    while (result.wrongTries < kPasswordTries) {
        PasswordAnswer answer;
        bool given = CurrentPasswordPrompter().Ask(request, &answer);
        if (!given) {
            Wipe(answer.password);
            result.outcome = SignIn::kCancelled;
            return result;
        }
        UserRecord user;
        bool known = !NormalizeLoginName(answer.name).empty() && QVN_ReadUser(answer.name, &user) == kQdbOk &&
                     IsActive(user);
        bool matches = known && QVN_PasswordMatches(user, answer.password);
        Wipe(answer.password);
        if (matches) {
            result.outcome = SignIn::kSignedIn;
            result.user = user;
            return result;
        }
        ++result.wrongTries;
        request.failure = WrongPasswordText(kPasswordTries - result.wrongTries);
        request.name = answer.name;
    }
    result.outcome = SignIn::kWrongTries;
    return result;
}

void MakeOverride(const UserRecord& user) {
    user_session.overrideId = user.userId;
    user_session.overrideName = NormalizeLoginName(std::string_view(user.loginName, strnlen(user.loginName, kLoginNameMax)));
}

// A login name as the key of the user file: the normalized name, zero-padded.
void LoginKey(const std::string& normalized, char key[kLoginNameMax]) {
    std::memset(key, 0, kLoginNameMax);
    std::memcpy(key, normalized.data(), normalized.size());
}

FileGroupDesc UserFileGroup() {
    FileGroupDesc desc{};
    DbGroupOf(kUserFile, &desc);
    return desc;
}

void LogIn(const UserRecord& user) {
    MakeOverride(user);
    user_session.loggedInId = user_session.overrideId;
    user_session.loggedInName = user_session.overrideName;
}

}  // namespace

const char kSignOnRefused[] =
    "The name or password was not correct three times.\nThe appointment book closes.";

PasswordPrompter& CurrentPasswordPrompter() { return *installed_password_prompter; }

void InstallPasswordPrompter(PasswordPrompter* prompter) {
    installed_password_prompter = prompter ? prompter : &cancelling_prompter;
}

std::string OverridePromptText(int right) {
    return "You do not have right " + std::to_string(right) +
           " for this.\nA user who has it may enter a name and password.";
}

std::string PasswordCheckPromptText(int right) {
    return "Enter your name and password to confirm this action (right " + std::to_string(right) + ").";
}

std::string WrongPasswordText(int tries_left) {
    return "The name or password is not correct. " + std::to_string(tries_left) +
           (tries_left == 1 ? " more try." : " more tries.");
}

std::string SignOnPromptText() { return "Sign on to the appointment book with your name and password."; }

std::string NormalizeLoginName(std::string_view name) {
    size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    size_t last = name.find_last_not_of(' ');
    std::string normalized(name.substr(first, last - first + 1));
    if (normalized.size() > static_cast<size_t>(kLoginNameMax)) return "";
    for (char& c : normalized) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return normalized;
}

std::string UserFromCommandLine(const char* command_line) {
    if (!command_line) return "";
    std::string found;
    for (const char* p = command_line; *p; ++p) {
        if (*p != '/' && *p != '-') continue;
        const char* token = p + 1;
        const char kTag[] = "USER=";
        bool tagged = true;
        for (int i = 0; kTag[i]; ++i)
            if (std::toupper(static_cast<unsigned char>(token[i])) != kTag[i]) {
                tagged = false;
                break;
            }
        if (!tagged) continue;
        const char* name = token + sizeof kTag - 1;
        const char* end = name;
        while (*end && *end != ' ' && *end != '/') ++end;
        found.assign(name, end);
        p = end - 1;
    }
    return found;
}

int QVN_LogInUser(const std::string& command_line_user) {
    QVN_LogOutUser();
    std::string name = command_line_user.empty() ? QVN_ReadProfileText("GENERAL", "User", "") : command_line_user;
    UserRecord user;
    if (NormalizeLoginName(name).empty() || QVN_ReadUser(name, &user) != kQdbOk || !IsActive(user)) return 0;
    LogIn(user);
    return 1;
}

int QVN_SignOn(const std::string& command_line_user) {
    QVN_LogOutUser();
    const std::string name = command_line_user.empty() ? QVN_ReadProfileText("GENERAL", "User", "") : command_line_user;
    UserRecord named;
    const bool known = !NormalizeLoginName(name).empty() && QVN_ReadUser(name, &named) == kQdbOk && IsActive(named);
    if (known && named.iterations == 0) {  // a user without a password has nothing to give
        LogIn(named);
        return 1;
    }
    // The prompt starts with the name as given, so that a user only types the password.
    SignInResult signed_in = AskSignIn(SignOnPromptText(), NormalizeLoginName(name));
    switch (signed_in.outcome) {
    case SignIn::kCancelled:
        return -1;
    case SignIn::kWrongTries:
        QVN_BuildPasswordCheckAudit(0, kRightSignOn, kPasswordWrongTries, signed_in.wrongTries);
        ShowStop(kSignOnRefused);
        return 0;
    case SignIn::kSignedIn:
        break;
    }
    LogIn(signed_in.user);
    QVN_BuildPasswordCheckAudit(signed_in.user.userId, kRightSignOn, kPasswordGranted, signed_in.wrongTries);
    return 1;
}

void QVN_LogOutUser() { user_session = UserSession{}; }

uint32_t QVN_GetLoggedInUserID() { return user_session.loggedInId; }
uint32_t QVN_GetOverrideUserID() { return user_session.overrideId; }
std::string QVN_GetLoggedInUserName() { return user_session.loggedInName; }
std::string QVN_GetOverrideUserName() { return user_session.overrideName; }

void QVN_SetOverrideToLoggedIn() {
    user_session.overrideId = user_session.loggedInId;
    user_session.overrideName = user_session.loggedInName;
}

int QVN_CheckUserRights(int right) { return ActingUserHolds(right) ? 1 : 0; }

int QVN_CheckRights(int right, bool prompt) {
    if (ActingUserHolds(right)) return 1;
    if (!prompt) {
        ShowNoRight();
        return 0;
    }
    SignInResult signed_in = AskSignIn(OverridePromptText(right), QVN_GetOverrideUserName());
    if (signed_in.outcome == SignIn::kCancelled) return -1;
    if (signed_in.outcome == SignIn::kSignedIn && UserHasRight(signed_in.user, right)) {
        MakeOverride(signed_in.user);
        return 1;
    }
    ShowNoRight();
    return 0;
}

int QVN_PasswordCheckwAudit(int right) {
    SignInResult signed_in = AskSignIn(PasswordCheckPromptText(right), QVN_GetOverrideUserName());
    switch (signed_in.outcome) {
    case SignIn::kCancelled:
        return -1;
    case SignIn::kWrongTries:
        QVN_BuildPasswordCheckAudit(QVN_GetLoggedInUserID(), right, kPasswordWrongTries, signed_in.wrongTries);
        ShowNoRight();
        return 0;
    case SignIn::kSignedIn:
        break;
    }
    if (!UserHasRight(signed_in.user, right)) {
        QVN_BuildPasswordCheckAudit(signed_in.user.userId, right, kPasswordNoRight, signed_in.wrongTries);
        ShowNoRight();
        return 0;
    }
    MakeOverride(signed_in.user);
    QVN_BuildPasswordCheckAudit(signed_in.user.userId, right, kPasswordGranted, signed_in.wrongTries);
    return 1;
}

UserRecord MakeUserRecord(uint32_t user_id, std::string_view login_name, std::string_view full_name) {
    UserRecord user{};
    user.userId = user_id;
    LoginKey(NormalizeLoginName(login_name), user.loginName);
    std::memcpy(user.fullName, full_name.data(), std::min(full_name.size(), sizeof user.fullName - 1));
    return user;
}

void QVN_SetUserPassword(UserRecord& user, std::string_view password, uint32_t iterations) {
    std::random_device random;
    for (size_t i = 0; i < sizeof user.passwordSalt; i += 4) {
        uint32_t value = random();
        std::memcpy(user.passwordSalt + i, &value, 4);
    }
    user.iterations = iterations < 1 ? 1 : iterations;
    Pbkdf2HmacSha256(password.data(), password.size(), user.passwordSalt, sizeof user.passwordSalt, user.iterations,
                     user.passwordHash, sizeof user.passwordHash);
}

bool QVN_PasswordMatches(const UserRecord& user, std::string_view password) {
    if (user.iterations == 0) return false;  // no password was ever set
    uint8_t hash[sizeof user.passwordHash];
    Pbkdf2HmacSha256(password.data(), password.size(), user.passwordSalt, sizeof user.passwordSalt, user.iterations,
                     hash, sizeof hash);
    return EqualInConstantTime(hash, user.passwordHash, sizeof hash);
}

uint16_t QVN_ReadUser(std::string_view login_name, UserRecord* user) {
    std::string normalized = NormalizeLoginName(login_name);
    if (normalized.empty()) return kQdbNotFound;
    char key[kLoginNameMax];
    LoginKey(normalized, key);
    return DbFindRecord(UserFileGroup(), kUserByLoginKey, key, kLoginNameMax, user);
}

uint16_t QVN_WriteUser(const UserRecord& user) {
    UserRecord stored;
    uint16_t found = DbFindRecord(UserFileGroup(), kUserByLoginKey, user.loginName, kLoginNameMax, &stored);
    if (found != kQdbOk && found != kQdbNotFound) return found;
    return DbSaveRecord(UserFileGroup(), kUserByLoginKey, user.loginName, kLoginNameMax, &stored, &user,
                        found == kQdbNotFound);
}
