// The arithmetic of two small pickers the appointment dialog and the hours editors open: the
// time dialog ("Select Time": one time of day on a bar of time block steps) and the time
// pattern editor ("Appointment Time Pattern": 1 to 24 units, each blank, slash or cross).
#pragma once

#include <cstdint>
#include <string>

#include "views/block_edit.h"  // BarTimeText, BarScroll, ScrolledBarPosition

// --- Select Time ------------------------------------------------------------------------------
// step is the time block size in minutes (5, 10, 15, 20 or 30); anything that does not divide
// an hour counts as 5. Positions run from 0 (midnight) to the last step of the day.
int PickTimeStep(int step_minutes);
int PickTimeLastPosition(int step_minutes);   // 1440 / step - 1
int PickTimePage(int step_minutes);           // an hour: 60 / step
// hour x (60 / step) + minute / step, kept on the bar; a negative hour (no time) starts at 12:00.
int PickTimePosition(int hour, int minute, int step_minutes);
// What OK returns: hour = position / (60 / step), minute = (position mod (60 / step)) x step.
void PickTimeResult(int position, int step_minutes, int* hour, int* minute);
// The texts beside the bar: "%2d" hour (12-hour with "am"/"pm" when am_pm, 0 shown as 12;
// otherwise 0-23 and no half), "%2.2d" minutes.
BarTimeText PickTimeText(int position, int step_minutes, bool am_pm);

// --- The appointment dialog's time field -------------------------------------------------------
// Reads the field's text (its first 8 characters): a "P" or "p" means pm and the text is cut
// there; otherwise an "A" or "a" means am and the text is cut there; without a letter, am. The
// rest is converted with the practice's time unit (QVN_ConvertTime). False when it is no time.
bool ReadTimeField(const std::string& text, int unit_minutes, int* hour, int* minute);
// What the field shows for a time it read or that Select Time gave: "9:30am", "12:00pm".
std::string TimeFieldText(int hour, int minute);

// --- Appointment Time Pattern -----------------------------------------------------------------
constexpr int kPatternMinUnits = 1;
constexpr int kPatternMaxUnits = 24;
// A click on a unit: its code goes 0, 1, 2, 0. Returns the new code; units outside 0-23 stay.
int CyclePatternUnit(uint8_t pattern[6], int unit);
int ClampPatternUnits(int units);
// What a unit's button shows: " " blank, "/" slash, "X" provider time.
const char* PatternUnitText(int code);
// The total shown under the units: units x unit minutes, e.g. "60 minutes".
std::string PatternTotalText(int units, int unit_minutes);
