// Checking the state and the zip code of a typed address by country.
#include "suite/addresses.h"

#include <cctype>

#include "suite/prompter.h"

namespace {

constexpr int kUnitedStates = 1;
constexpr int kCanada = 2;
constexpr int kUnitedKingdom = 44;
constexpr int kAustralia = 61;
constexpr int kNewZealand = 64;
constexpr size_t kStateMax = 20;
constexpr size_t kZipStored = 14;

std::string Trimmed(const std::string& s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

bool Letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(const std::string& s) {
    for (char c : s)
        if (!Digit(c)) return false;
    return true;
}

bool StateAcceptable(const std::string& s, int country) {
    if (country == kUnitedStates || country == kCanada) return s.size() == 2 && Letter(s[0]) && Letter(s[1]);
    if (s.size() > kStateMax) return false;
    for (char c : s)
        if (!Letter(c) && c != ' ' && c != '.' && c != '-' && c != '\'') return false;
    return true;
}

bool CanadianPostalCode(std::string s) {
    if (s.size() == 7 && (s[3] == ' ' || s[3] == '-')) s.erase(3, 1);
    return s.size() == 6 && Letter(s[0]) && Digit(s[1]) && Letter(s[2]) && Digit(s[3]) && Letter(s[4]) && Digit(s[5]);
}

bool UnitedStatesZip(const std::string& s) {
    if (s.size() == 5 || s.size() == 9) return AllDigits(s);
    return s.size() == 10 && (s[5] == '-' || s[5] == ' ') && AllDigits(s.substr(0, 5)) && AllDigits(s.substr(6));
}

bool BritishPostcode(const std::string& s) {
    int blanks = 0;
    size_t characters = 0;
    for (char c : s) {
        if (c == ' ') ++blanks;
        else if (Letter(c) || Digit(c)) ++characters;
        else return false;
    }
    return Letter(s[0]) && blanks <= 1 && characters >= 5 && characters <= 7 && s.size() <= 8;
}

bool ZipAcceptable(const std::string& s, int country) {
    switch (country) {
    case kUnitedStates:
        return UnitedStatesZip(s);
    case kCanada:
        return CanadianPostalCode(s);
    case kAustralia:
    case kNewZealand:
        return s.size() == 4 && AllDigits(s);
    case kUnitedKingdom:
        return BritishPostcode(s);
    default:
        if (s.size() > kZipStored) return false;
        for (char c : s)
            if (!Letter(c) && !Digit(c) && c != ' ' && c != '-') return false;
        return true;
    }
}

const char* StateAdvice(int country) {
    if (country == kUnitedStates) return "Please enter the state as its two-letter abbreviation, for example IL.";
    if (country == kCanada) return "Please enter the province as its two-letter abbreviation, for example ON.";
    return "Please enter the state with at most 20 letters.";
}

const char* ZipAdvice(int country) {
    switch (country) {
    case kUnitedStates:
        return "Please enter the zip code with 5 digits, or with 9 digits as 12345-6789.";
    case kCanada:
        return "Please enter the postal code as letter, digit, letter, digit, letter, digit, for example K1A 0B1.";
    case kAustralia:
    case kNewZealand:
        return "Please enter the postcode with 4 digits.";
    case kUnitedKingdom:
        return "Please enter the postcode with its letters and digits, for example SW1A 1AA.";
    default:
        return "Please enter the postal code with at most 14 letters, digits, blanks and hyphens.";
    }
}

}  // namespace

bool QVN_CountryHasState(int country) { return country != kAustralia && country != kNewZealand; }

int QVN_verf_State(const std::string& text, int country, bool report) {
    const std::string s = Trimmed(text);
    if (s.empty() || !QVN_CountryHasState(country) || StateAcceptable(s, country)) return 1;
    if (report) ShowStop(StateAdvice(country));
    return 0;
}

int QVN_verf_Zip(const std::string& text, int country, bool report) {
    const std::string s = Trimmed(text);
    if (s.empty() || ZipAcceptable(s, country)) return 1;
    if (report) ShowStop(ZipAdvice(country));
    return 0;
}
