// Packing, unpacking and showing patient names and social security numbers.
#include "suite/names.h"

#include <vector>

namespace {

std::string Trimmed(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    size_t end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

std::string Cut(const std::string& s, size_t max) { return s.size() > max ? s.substr(0, max) : s; }

std::string FirstAndInitial(const std::string& first, const std::string& middle_initial) {
    std::string text = Cut(Trimmed(first), kFirstNameMax);
    std::string mi = Cut(Trimmed(middle_initial), 1);
    if (!mi.empty()) text += text.empty() ? mi : " " + mi;
    return text;
}

std::string Joined(const std::string& last, const std::string& rest) {
    std::string text = Cut(Trimmed(last), kLastNameMax);
    if (!rest.empty()) text += ", " + rest;
    return text;
}

}  // namespace

std::string QVN_PackName(const std::string& last, const std::string& first,
                         const std::string& middle_initial) {
    return Cut(Joined(last, FirstAndInitial(first, middle_initial)), kPackedNameMax);
}

void QVN_UnpackName(const std::string& packed, std::string* last, std::string* first,
                    std::string* middle_initial) {
    size_t comma = packed.find(',');
    *last = Cut(Trimmed(packed.substr(0, comma)), kLastNameMax);
    first->clear();
    middle_initial->clear();
    if (comma == std::string::npos) return;
    std::string rest = Trimmed(packed.substr(comma + 1));
    size_t blank = rest.find_last_of(" \t");
    if (blank != std::string::npos && blank + 2 == rest.size()) {
        *middle_initial = rest.substr(blank + 1);
        rest = Trimmed(rest.substr(0, blank));
    }
    *first = Cut(rest, kFirstNameMax);
}

std::string QVN_PackPrefName(const std::string& last, const std::string& first,
                             const std::string& middle_initial, const std::string& preferred,
                             int max_length) {
    std::string pref = Trimmed(preferred);
    std::string rest = Cut(Trimmed(first), kFirstNameMax);
    if (!pref.empty() && pref != rest) rest += rest.empty() ? "(" + pref + ")" : " (" + pref + ")";
    std::string mi = Cut(Trimmed(middle_initial), 1);
    if (!mi.empty()) rest += rest.empty() ? mi : " " + mi;
    return Cut(Joined(last, rest), max_length > 0 ? static_cast<size_t>(max_length) : 0);
}

std::string QVN_FormatSS(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
        else if (c != '-' && c != ' ') return text;
    }
    if (digits.size() != 9) return text;
    return digits.substr(0, 3) + "-" + digits.substr(3, 2) + "-" + digits.substr(5);
}
