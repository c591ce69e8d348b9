// The utility library's window services on Windows: message boxes behind the prompter, the
// single-instance test, saved window places, starting programs, tooltips, transparent bitmaps,
// the Windows version and the ColorButton control.
#pragma once

#include <windows.h>

#include <string>

// Makes message boxes (MessageBoxA over owner, or the active window when null) answer every
// prompt of the core code.
void InstallWindowsPrompter(HWND owner = nullptr);

// Non-zero when another process of this workstation already called it with the same name.
// The named object lives as long as this process.
int ExistsPreviousInstance(const char* name);

// Keep and restore a window's place under a key of the settings file. Restoring also shows the
// window: at the saved place when one is stored (brought back on screen when its monitor is
// gone), else where it was created. Both return 1 on success.
int QVN_SaveWindowPosInfo(HWND window, const char* key);
int QVN_RestoreSavedWindowPos(HWND window, const char* key);

// Starts a program with its command line; returns 32 or more on success, as WinExec did.
int QVN_StartProgram(const char* command_line, int show_state);

// The folder of the running program, ending in its separator: the suite's other programs and
// the help files sit beside it.
std::string ProgramFolder();

// Attaches a tooltip text to a control of a window (creating the window's tooltip on first use).
int QVN_SetToolTip(HWND window, HWND control, const char* text);

// Draws bitmap at x, y with every pixel of the transparent colour left as it was.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, COLORREF transparent);

// The ColorButton control: a button face filled with its colour. 0x7F3 sets the colour (in the
// long parameter), 0x7F2 returns it. Clicks are reported to the parent as BN_CLICKED.
constexpr UINT kColorButtonSetColour = 0x7F3;
constexpr UINT kColorButtonGetColour = 0x7F2;
bool RegisterColorButtonClass(HINSTANCE instance);
