// The name-and-password dialog behind the rights checks' password prompts on Windows.
#pragma once

#include <windows.h>

#include "suite/users.h"

// Runs the dialog "DLG_PASSWORD" over owner (or the active window when null). True on OK with
// the typed name and password in answer; false on Cancel or when the dialog cannot be made.
bool RunPasswordDialog(HWND owner, HINSTANCE resources, const PasswordRequest& request, PasswordAnswer* answer);

// Makes the dialog answer every password prompt of the core code.
void InstallWindowsPasswordPrompter(HWND owner, HINSTANCE resources);
