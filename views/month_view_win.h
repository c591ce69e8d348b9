// The month view's side of the sheet, time column and header windows: the load chart painting,
// the scrolling by bands and the clicks that open a day. The window procedures hand these the
// messages while the day data is built for the month view.
#pragma once

#include <windows.h>

void PaintMonthSheet(HDC dc, const RECT& client, HFONT font3);
// Also fixes the last band shown and the sheet's scroll range.
void PaintMonthTimeColumn(HWND time_column, HDC dc, const RECT& client, HFONT font3);
void PaintMonthHeader(HDC dc, const RECT& client, HFONT font3);

// A scroll bar request (SB_LINEUP ...) of the sheet; time_column scrolls with it.
void ScrollMonthView(HWND sheet, HWND time_column, int request, int position);

// The left button on the sheet: the clicked hour of a band inverted while pressed; on release the
// day view of the band's date with its top one hour before.
void OnMonthSheetPress(HWND sheet, int x, int y);
void OnMonthSheetRelease(HWND sheet);
// The left button on the time column: the band inverted while pressed; released on the same band,
// its date in the day view.
void OnMonthTimePress(HWND time_column, int y);
void OnMonthTimeRelease(HWND time_column, int y);
// A lost capture puts the inverted place back without opening anything.
void OnMonthCaptureLost(HWND window);
