// Positions, steps and texts of the time dialog and the time pattern editor.
#include "appointments/time_pickers.h"

#include <algorithm>
#include <cstdio>

#include "data/time_pattern.h"
#include "suite/times.h"

int PickTimeStep(int step_minutes) {
    return step_minutes > 0 && step_minutes <= 60 && 60 % step_minutes == 0 ? step_minutes : 5;
}

int PickTimeLastPosition(int step_minutes) { return 1440 / PickTimeStep(step_minutes) - 1; }

int PickTimePage(int step_minutes) { return 60 / PickTimeStep(step_minutes); }

int PickTimePosition(int hour, int minute, int step_minutes) {
    const int step = PickTimeStep(step_minutes);
    if (hour < 0) hour = 12, minute = 0;
    return std::clamp(hour * (60 / step) + std::max(minute, 0) / step, 0, PickTimeLastPosition(step));
}

void PickTimeResult(int position, int step_minutes, int* hour, int* minute) {
    const int step = PickTimeStep(step_minutes);
    *hour = position / (60 / step);
    *minute = position % (60 / step) * step;
}

BarTimeText PickTimeText(int position, int step_minutes, bool am_pm) {
    int hour = 0, minute = 0;
    PickTimeResult(position, step_minutes, &hour, &minute);
    BarTimeText text;
    text.half = am_pm ? (hour < 12 ? "am" : "pm") : "";
    if (am_pm) {
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    char h[8], m[8];
    std::snprintf(h, sizeof h, "%2d", hour);
    std::snprintf(m, sizeof m, "%2.2d", minute);
    text.hour = h;
    text.minute = m;
    return text;
}

bool ReadTimeField(const std::string& text, int unit_minutes, int* hour, int* minute) {
    std::string t = text.substr(0, 8);
    bool pm = false;
    if (const size_t p = t.find_first_of("Pp"); p != std::string::npos) {
        pm = true;
        t.resize(p);
    } else if (const size_t a = t.find_first_of("Aa"); a != std::string::npos) {
        t.resize(a);
    }
    return QVN_ConvertTime(t, unit_minutes, pm, hour, minute) == 1;
}

std::string TimeFieldText(int hour, int minute) { return QVN_FormatPackTime(hour * 12 + minute / 5); }

int CyclePatternUnit(uint8_t pattern[6], int unit) {
    if (unit < 0 || unit >= kPatternUnits) return kPatternBlank;
    const int code = (PatternCodeOf(pattern, unit) + 1) % 3;
    SetPatternCode(pattern, unit, code);
    return code;
}

int ClampPatternUnits(int units) { return std::clamp(units, kPatternMinUnits, kPatternMaxUnits); }

const char* PatternUnitText(int code) {
    switch (code) {
    case kPatternSlash: return "/";
    case kPatternProvider: return "X";
    default: return " ";
    }
}

std::string PatternTotalText(int units, int unit_minutes) {
    return std::to_string(ClampPatternUnits(units) * unit_minutes) + " minutes";
}
