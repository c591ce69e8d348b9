// Reads the patient request out of the program's command line.
#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '-'; }

bool StartsWithOaid(const char* token, size_t length) {
    static const char kOaid[] = "OAID";
    if (length < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::toupper(static_cast<unsigned char>(token[i])) != kOaid[i]) return false;
    return true;
}

// Decimal value of the digits at the start of text (at most max_chars characters); 0 when
// there are none or the value exceeds the identifier range.
int32_t ReadIdentifier(const char* text, size_t max_chars) {
    int64_t value = 0;
    for (size_t i = 0; i < max_chars && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return 0;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t ParseOaidPatient(const char* command_line) {
    if (!command_line) return 0;
    int32_t patient = 0;
    const char* p = command_line;
    while (*p) {
        if (!IsSeparator(*p)) {
            ++p;
            continue;
        }
        const char* token = ++p;
        size_t length = 0;
        while (token[length] && !IsSeparator(token[length])) ++length;
        if (StartsWithOaid(token, length))
            patient = ReadIdentifier(token + 4, std::min<size_t>(19, length - 4));
        p = token + length;
    }
    return patient;
}
