// The utility library's country-dependent string table.
#include "suite/utility_strings.h"

#include "suite/workstation_settings.h"

namespace {

std::string StateWord(int country) {
    switch (country) {
    case 2:
        return "Province";
    case 44:
        return "County";
    case 64:
        return "Region";
    default:
        return "State";
    }
}

std::string ZipWord(int country) {
    switch (country) {
    case 2:
        return "Postal Code";
    case 44:
    case 61:
    case 64:
        return "Postcode";
    default:
        return "Zip Code";
    }
}

}  // namespace

std::string QVN_UtilityString(int number) {
    if (number == 1) return StateWord(ReadCountryCode());
    if (number == 2) return ZipWord(ReadCountryCode());
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
