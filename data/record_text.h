// Filling and reading the fixed-width text fields of records: texts zero-terminated and cut to
// fit, resource identifiers blank-padded to their four characters.
#pragma once

#include <cstring>
#include <string>

template <size_t N>
void PutText(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N - 1 ? text.size() : N - 1);
}

inline void PutId(char (&field)[4], const std::string& id) {
    std::memset(field, ' ', 4);
    std::memcpy(field, id.data(), id.size() < 4 ? id.size() : 4);
}

// A field's text up to its first zero (all of it when it has none).
template <size_t N>
std::string GetText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The same without trailing blanks.
template <size_t N>
std::string GetTrimmedText(const char (&field)[N]) {
    std::string s = GetText(field);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}
