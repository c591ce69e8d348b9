// Patient names and social security numbers as the suite stores and shows them.
//
// A packed name is "Last, First M": the last name, a comma and a blank, the first name, and
// the middle initial after one more blank. It is what appointment records and name keys hold,
// so searches by name find "Smith, John A" under "Smith, J".
#pragma once

#include <string>

constexpr int kLastNameMax = 20;
constexpr int kFirstNameMax = 15;
constexpr int kPackedNameMax = 36;

// "Last, First M"; parts are trimmed of blanks and cut to their field sizes, empty parts are
// left out with their separators ("Smith", "Smith, John"). The result is at most 36 characters.
std::string QVN_PackName(const std::string& last, const std::string& first,
                         const std::string& middle_initial);

// Splits a packed name into its parts (cut to 20, 15 and 1 characters). A last word of one
// letter after the first name is the middle initial; a name without a comma is all last name.
void QVN_UnpackName(const std::string& packed, std::string* last, std::string* first,
                    std::string* middle_initial);

// The name with the patient's preferred name: "Smith, Robert (Bob) A". Without a preferred
// name (or one equal to the first name) it is the packed name. At most max_length characters.
std::string QVN_PackPrefName(const std::string& last, const std::string& first,
                             const std::string& middle_initial, const std::string& preferred,
                             int max_length = kPackedNameMax);

// "123-45-6789" for a text of nine digits (with or without separators); any other text is
// returned as it was, so that nothing a user typed is lost.
std::string QVN_FormatSS(const std::string& text);
