// The suite's checks of a typed address: the state (province, county) and the zip code (postal
// code, postcode) by the workstation's country, the Windows profile's Intl iCountry.
//
// What each country accepts (blanks around the text never count, and an empty field always
// passes: an address may be given in part):
// - state: the United States (1) and Canada (2) want the two-letter postal abbreviation, in
//   either case, as the patient file keeps states in two letters; every other country takes up
//   to 20 letters, blanks, periods, hyphens and apostrophes. Australia (61) and New Zealand (64)
//   have no state field, so it is not checked there.
// - zip code: the United States 5 digits, or 9 digits written 12345-6789, 12345 6789 or
//   123456789; Canada letter, digit, letter, digit, letter, digit with one optional blank or
//   hyphen in the middle (K1A 0B1); Australia and New Zealand 4 digits; the United Kingdom 5 to 8
//   letters and digits beginning with a letter, with at most one blank inside (SW1A 1AA); every
//   other country up to 14 letters, digits, blanks and hyphens, which is what the new-patient
//   record stores.
#pragma once

#include <string>

// 1 when acceptable, else 0; with report set the user is first told how to write it (stop icon).
int QVN_verf_State(const std::string& text, int country, bool report = true);
int QVN_verf_Zip(const std::string& text, int country, bool report = true);

// Whether the country's addresses have a state field (not in Australia and New Zealand).
bool QVN_CountryHasState(int country);
