// Showing packed times of day and reading typed ones.
#include "suite/times.h"

#include <cstdio>

std::string QVN_FormatPackTime(int units) {
    if (units < 0 || units > 288) return "";
    units %= 288;
    int hour = units / 12, minute = units % 12 * 5;
    int shown = hour % 12 == 0 ? 12 : hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d%s", shown, minute, hour < 12 ? "am" : "pm");
    return text;
}

int QVN_ConvertTime(const std::string& text, int unit_minutes, bool pm, int* hour, int* minute) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return 0;
    size_t end = text.find_last_not_of(' ') + 1;
    std::string t = text.substr(begin, end - begin);

    std::string hours, minutes;
    size_t sep = t.find_first_of(":.");
    if (sep != std::string::npos) {
        hours = t.substr(0, sep);
        minutes = t.substr(sep + 1);
        if (minutes.size() != 2) return 0;
    } else if (t.size() <= 2) {
        hours = t;
        minutes = "00";
    } else if (t.size() <= 4) {
        hours = t.substr(0, t.size() - 2);
        minutes = t.substr(t.size() - 2);
    } else {
        return 0;
    }
    if (hours.empty() || hours.size() > 2) return 0;
    auto all_digits = [](const std::string& s) {
        for (char c : s)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (!all_digits(hours) || !all_digits(minutes)) return 0;
    int h = std::stoi(hours), m = std::stoi(minutes);
    if (h > 23 || m > 59) return 0;
    if (h >= 1 && h <= 12) h = pm ? (h == 12 ? 12 : h + 12) : (h == 12 ? 0 : h);
    int unit = unit_minutes > 0 ? unit_minutes : 5;
    *hour = h;
    *minute = m / unit * unit;
    return 1;
}
