// Showing and reading amounts of money.
#include "suite/money.h"

#include <cstdio>

std::string QVN_FormatMoney(int32_t cents, int style) {
    bool negative = cents < 0;
    // Widen first: the most negative amount has no positive counterpart in 32 bits.
    int64_t value = negative ? -static_cast<int64_t>(cents) : cents;
    std::string dollars = std::to_string(value / 100);
    if (style == kMoneyDisplay)
        for (int i = static_cast<int>(dollars.size()) - 3; i > 0; i -= 3) dollars.insert(i, ",");
    char decimals[4];
    std::snprintf(decimals, sizeof decimals, "%02d", static_cast<int>(value % 100));
    std::string text = negative ? "-" : "";
    if (style == kMoneyDisplay) text += "$";
    return text + dollars + "." + decimals;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool QVN_ParseMoney(const std::string& text, int32_t* cents) {
    size_t i = 0, end = text.size();
    while (i < end && text[i] == ' ') ++i;
    while (end > i && text[end - 1] == ' ') --end;
    if (i == end) {
        *cents = 0;
        return true;
    }
    bool negative = false;
    if (text[i] == '(' && text[end - 1] == ')') {
        negative = true;
        ++i;
        --end;
    }
    if (i < end && text[i] == '-' && !negative) negative = true, ++i;
    if (i < end && text[i] == '$') ++i;
    if (i < end && text[i] == '-' && !negative) negative = true, ++i;

    int64_t value = 0;
    int digits = 0, group = -1;  // digits since the last comma, -1 before any comma
    for (; i < end && (IsDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') {
            if (digits == 0 || (group >= 0 && group != 3)) return false;
            group = 0;
            continue;
        }
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL * 100) return false;
        ++digits;
        if (group >= 0) ++group;
    }
    if (group >= 0 && group != 3) return false;
    int decimals = 0;
    if (i < end && text[i] == '.') {
        for (++i; i < end && IsDigit(text[i]); ++i) {
            if (++decimals > 2) return false;
            value = value * 10 + (text[i] - '0');
        }
    }
    if (i != end || (digits == 0 && decimals == 0)) return false;
    for (; decimals < 2; ++decimals) value *= 10;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    *cents = static_cast<int32_t>(value);
    return true;
}
