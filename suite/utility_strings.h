// Country-dependent words of the suite utility library's string table, by number. The country
// is the workstation's Intl iCountry (ReadCountryCode).
#pragma once

#include <string>

// Strings 1 and 2: the names of the address lines after the city, as the address fields'
// captions show them (without a colon). String 1 is the state ("State" in the United States and
// Australia, "Province" in Canada, "County" in the United Kingdom, "Region" in New Zealand);
// string 2 the zip code ("Zip Code" in the United States, "Postal Code" in Canada, "Postcode" in
// the United Kingdom, Australia and New Zealand). Other countries get the United States' words.
//
// String 10: the name of the national tax or social security number ("SS #" in the United
// States, "SIN" in Canada, "TFN" in Australia, "IRD #" in New Zealand, "NI #" in the United
// Kingdom). Numbers without a text give "".
std::string QVN_UtilityString(int number);
