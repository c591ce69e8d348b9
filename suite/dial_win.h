// The utility library's dialling: a phone number handed to the workstation's telephone dialer
// (Windows' assisted telephony) after the user confirmed it.
#pragma once

#include <windows.h>

#include <string>

// Asks "Dial <number> for <name>?" and hands the number to the dialer. 1 when the dialer took
// it, 0 when the user said No or no dialer is set up (the user is told so).
int QVN_DialPhoneDialog2(HWND owner, const std::string& digits, const std::string& name);
