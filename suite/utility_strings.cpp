// The utility library's country-dependent string table.
#include "suite/utility_strings.h"

#include "suite/workstation_settings.h"

std::string QVN_UtilityString(int number) {
    if (number != 10) return "";
    switch (ReadCountryCode()) {
    case 2:
        return "SIN";
    case 44:
        return "NI #";
    case 61:
        return "TFN";
    case 64:
        return "IRD #";
    default:
        return "SS #";
    }
}
