// Painting of the schedule sheet, the time column and the column header from the day data and
// the sheet state.
#pragma once

#include <windows.h>

void PaintSheet(HDC dc, const RECT& client, const RECT& update, HFONT font3);
// Also finds the bottom time of the view (sheet_state.bottomUnit).
void PaintTimeColumn(HDC dc, const RECT& client, HFONT font3);
void PaintHeader(HDC dc, const RECT& client, HFONT font3);
// The box of an appointment being dragged, as the sheet draws it, with the length in minutes in
// its bottom row during a resize (0: no label).
struct ApptDisplay;
void PaintFloatingAppointment(HDC dc, const RECT& client, const ApptDisplay& a, int resize_minutes, HFONT font3);
// A time block being dragged: a cross hatch in its colour, framed in it.
void PaintFloatingBlock(HDC dc, const RECT& client, COLORREF colour, int resize_minutes, HFONT font3);
