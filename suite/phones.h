// Phone numbers: kept as digits, shown formatted, checked when typed, and hidden when the
// patient asked for privacy.
#pragma once

#include <cstdint>
#include <string>

// The digits of a phone text, nothing else ("(555) 123-4567 x12" gives "555123456712").
std::string QVN_StripPhone(const std::string& text);

// The phone as shown: 7 digits "123-4567", 10 digits "(555)123-4567", more than 10 digits the
// first ten formatted and the rest as extension "(555)123-4567 x12"; other counts as digits.
std::string QVN_Set_Phone(const std::string& text);

// 1 when the typed phone is acceptable: empty, or 7 or 10 digits with an optional extension
// after "x", written with digits, blanks, "(", ")", "-" and ".". 0 otherwise; with report set
// the user is told how to write it (stop icon) before 0 is returned.
int QVN_verf_Phone(const std::string& text, bool report = true);

// Shown in place of a phone that must not be shown.
extern const char kPrivatePhoneText[];  // "Private"

// 1 when the patient's privacy byte (the patient record's kPrivatePhone bit) keeps the phones
// from being shown, else 0.
int QVN_CheckForPrivatePhone(uint32_t privacy_flags);

// The phone as it may be shown for that patient: the phone itself or the private-phone text
// (an empty phone stays empty: there is nothing to hide).
std::string QVN_CheckForPatientPrivatePhone(uint32_t privacy_flags, const std::string& phone);
