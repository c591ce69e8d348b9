// The day dialog "Set Time Limits": one day's three intervals as six times (start0, end0,
// start1, end1, start2, end2; 5-minute units since midnight, -1 for no time), typed as texts
// or picked with the time dialog. Everything the dialog checks lives here; the window only
// shows the texts and moves the focus where a check points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kDayTimeCount = 6;
using DayTimes = std::array<int32_t, kDayTimeCount>;
using DayTimeTexts = std::array<std::string, kDayTimeCount>;

// How one text reads.
enum class DayTimeRead { kTime, kNoTime, kInvalid };

// A text shorter than 4 characters is no time. Otherwise: blanks skipped, an hour, optionally
// ":" and a minute, and the half of the day from the first "a"/"A" (morning) or "p"/"P"
// (afternoon), which may be followed by "m"/"M". 12 in the morning is midnight, an afternoon
// hour gets 12 added (12 in the afternoon stays noon). The minute is rounded down to a multiple
// of block_minutes. Invalid: any other character, no hour, an hour above 12 with a half of the
// day, above 24 without one, a result past the end of the day, a minute outside 0-59.
DayTimeRead ReadDayTimeText(const std::string& text, int block_minutes, int32_t* units);

// What a text shows for a time: "8:00am", "12:30pm"; the end of the day (288) is "24:00", which
// reads back as the end of the day; no time is "".
std::string DayTimeText(int32_t units);

// Where the focus goes after a refusal: the text of slot n (242 + n) or its " >>" button
// (256 + n); slot -1 when the times were accepted.
struct DayTimesFocus {
    enum Kind { kAccepted, kText, kButton } kind = kAccepted;
    int slot = -1;
};

// The checks of OK, in their order, each refusal shown through the prompter (the invalid time
// as message 9090, the others as stop messages titled "Appointment Book"):
//   a time required and the first start empty: "A time must be entered!" (first " >>");
//   each text in order that does not read: 9090 (that text);
//   for each pair: a start without an end: "A full time span must be entered!" (end button);
//   start after end: "Invalid Time Range!" (end button); a start before the previous pair's end:
//   "Invalid time order!" (start button); an end without a start: "A full time span must be
//   entered!" (start button). A start equal to its end is accepted.
// On acceptance the six times are stored in *times.
DayTimesFocus CheckDayTimes(const DayTimeTexts& texts, bool time_required, int block_minutes, DayTimes* times);
