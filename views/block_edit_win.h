// The Time Block Edit dialog ("DLG_CHANGETB"), opened from the schedule sheet for one block on
// one date: two bars for the start and the end, OK, Cancel, "Set to Default" and "Clear for
// today".
#pragma once

#include <windows.h>

#include <cstdint>

#include "views/day_data.h"

// Runs the dialog for the block as the sheet shows it on the date in the operatory's column,
// centred on the mouse and titled "name - PROV". OK checks the times against the other blocks
// of that column; what the dialog ends with is written as the block's override for that date,
// announced, and the shown day reloaded. True when a change was written (the sheet repaints).
bool EditBlockForDay(HWND owner, HINSTANCE resources, const TimeBlockRecord& block, int32_t date,
                     const char operatory[4]);
