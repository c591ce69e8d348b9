// Times of day as the suite packs them (5-minute units since midnight) and as users type them.
#pragma once

#include <string>

// "9:30am", "12:00pm", "12:05am" for 0-287 five-minute units; 288 (the end of the day) is
// "12:00am"; anything else, such as -1 for no time, is "".
std::string QVN_FormatPackTime(int units);

// Reads a typed clock time without its am/pm letter: "9", "09", "930", "0930", "9:30",
// "09:30" or "9.30". Hours 1-12 follow pm (12 am is midnight, 12 pm noon); hours 0 and 13-23
// are taken as on a 24-hour clock whatever pm says. The minute is brought down to a multiple
// of unit_minutes (the practice's time unit; 0 or less counts as 5). Returns 1 with hour
// (0-23) and minute, or 0 for a text that is not a time.
int QVN_ConvertTime(const std::string& text, int unit_minutes, bool pm, int* hour, int* minute);
