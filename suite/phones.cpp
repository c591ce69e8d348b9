// Formatting, checking and hiding phone numbers.
#include "suite/phones.h"

#include "suite/prompter.h"
#include "suite/records/patient.h"

const char kPrivatePhoneText[] = "Private";

std::string QVN_StripPhone(const std::string& text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

std::string QVN_Set_Phone(const std::string& text) {
    std::string d = QVN_StripPhone(text);
    if (d.size() == 7) return d.substr(0, 3) + "-" + d.substr(3);
    if (d.size() >= 10) {
        std::string shown = "(" + d.substr(0, 3) + ")" + d.substr(3, 3) + "-" + d.substr(6, 4);
        if (d.size() > 10) shown += " x" + d.substr(10);
        return shown;
    }
    return d;
}

int QVN_verf_Phone(const std::string& text, bool report) {
    size_t digits = 0, extension = 0;
    bool in_extension = false, valid = true;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++(in_extension ? extension : digits);
        } else if ((c == 'x' || c == 'X') && !in_extension && digits > 0) {
            in_extension = true;
        } else if (c != ' ' && c != '(' && c != ')' && c != '-' && c != '.') {
            valid = false;
        }
    }
    if (in_extension && extension == 0) valid = false;
    if (digits != 0 && digits != 7 && digits != 10) valid = false;
    if (digits == 0 && in_extension) valid = false;
    if (!valid && report)
        ShowStop("Please enter the phone number with 7 digits, or with its area code as 10 "
                 "digits, for example (555)123-4567.");
    return valid ? 1 : 0;
}

int QVN_CheckForPrivatePhone(uint32_t privacy_flags) {
    return (privacy_flags & kPrivatePhone) ? 1 : 0;
}

std::string QVN_CheckForPatientPrivatePhone(uint32_t privacy_flags, const std::string& phone) {
    if (phone.empty() || !QVN_CheckForPrivatePhone(privacy_flags)) return phone;
    return kPrivatePhoneText;
}
