// The header list box's windows: "MDIListBox" (the lines) and "MDIListBoxHeader" (the caption
// bar above them). The lines and their rules live in HeaderListModel; these functions are the
// control's interface for the windows that hold one.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/header_list.h"

extern const char kHeaderListClass[];         // "MDIListBox"
extern const char kHeaderListCaptionClass[];  // "MDIListBoxHeader"
constexpr int kHeaderListCaptionId = 101;
constexpr int kMarkerPictureWidth = 18;

bool RegisterHeaderListClasses(HINSTANCE instance);

// Makes the caption bar (when title is given) and the list below it in parent; the list window,
// or null when the height leaves no room for a line or memory runs out (after its message).
// font: the list's font (the caller keeps it); line height and column widths follow from it.
HWND CreateHeaderList(HWND parent, HINSTANCE instance, int control_id, int x, int y, int width, int height,
                      int column_count, const int* widths, const int* aligns, const char* title, uint32_t style,
                      HFONT font);

int HeaderListInsert(HWND list, const char* text, uint32_t data1, uint32_t data2, int32_t sort_key,
                     uint16_t group_mark, uint8_t colour_index);
bool HeaderListDelete(HWND list, int index);
bool HeaderListDeleteGroup(HWND list, int index);
void HeaderListClear(HWND list);
int HeaderListGetLine(HWND list, int index, HeaderLine* line, bool only_selected);
bool HeaderListIsSelected(HWND list, int index);
bool HeaderListSetSelection(HWND list, int index, int operation, bool extend);
void HeaderListMove(HWND list, int x, int y, int width, int height, bool repaint);
// Colour table entries 1 to 20.
void HeaderListSetColours(const COLORREF colours[20]);
// Puts the lines on the clipboard as text under the title line; false when it could not.
bool HeaderListCopy(HWND list, const char* title);
// The lines for reading (the window side's own lists look at them directly); null for no list.
const HeaderListModel* HeaderListLines(HWND list);
// The caption bar's height for a font, for callers that lay out around the control.
int HeaderListCaptionHeight(HFONT font);
