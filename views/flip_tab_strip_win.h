// The main window's flip tab strip: a child window with the defined tabs of the current display
// mode down its left edge and the empty fifth position behind them. A click on a tab posts
// kMsgFlipTab to the parent: the long parameter is the date to go to, the word parameter 1 when
// the parent is to make the empty position active again afterwards (command 131, through
// ResetFlipTabStrip), else 0.
#pragma once

#include <windows.h>

#include <cstdint>

#include "views/flip_tabs.h"

constexpr UINT kMsgFlipTab = 1537;

// Creates the strip (hidden until a mode with defined tabs is set) and loads the tabs from the
// settings. font is the flip tab font (font 4); the strip makes its own turned copy of it.
HWND CreateFlipTabStrip(HWND parent, HINSTANCE instance, HFONT font, FlipTabMode mode, int32_t displayed_date);

// Refreshes the strip for a display mode: the empty position becomes active, the mode's defined
// tabs are shown lowest first, and the strip is hidden when the mode has none.
void SetFlipTabMode(HWND strip, FlipTabMode mode, int32_t displayed_date);

// The date that relative tabs counted from the displayed date start from.
void SetFlipTabDisplayedDate(HWND strip, int32_t displayed_date);

// Makes the empty fifth position the active tab again (command 131).
void ResetFlipTabStrip(HWND strip);

// Reads the twelve tabs from the settings again (after the setup dialog saved them) and
// refreshes the strip for its mode.
void ReloadFlipTabs(HWND strip);

// Ctrl+1 to Ctrl+4 (k = 0-3): acts as a click on the k-th visible tab. False when there is no
// such tab or the click asked for nothing.
bool ActivateVisibleFlipTab(HWND strip, int k);

// The active position: 0-3 a user tab, 4 the empty one; -1 for a window that is no strip.
int ActiveFlipTabPosition(HWND strip);
// The client rectangle of a user tab (0-3) as the strip lays it out; false when it is not shown.
bool FlipTabRect(HWND strip, int tab, RECT* rect);
