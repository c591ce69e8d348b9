// Country-dependent words of the suite utility library's string table, by number. The country
// is the workstation's Intl iCountry (ReadCountryCode).
#pragma once

#include <string>

// String 10: the name of the national tax or social security number ("SS #" in the United
// States, "SIN" in Canada, "TFN" in Australia, "IRD #" in New Zealand, "NI #" in the United
// Kingdom). Numbers without a text give "".
std::string QVN_UtilityString(int number);
