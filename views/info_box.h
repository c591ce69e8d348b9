// The information box ("DataPopup") of an appointment as data: its six lines of text, the colour
// behind the status line, and its size and place on the screen. The window that shows it lives
// in info_box_win; everything it shows is decided here.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/command_rules.h"
#include "views/day_data.h"

constexpr int kInfoBoxLineCount = 6;

struct InfoBoxContent {
    // Name, description, home phone, "Provider: ...", date and time or "Unscheduled" with the
    // length, and the status line.
    std::array<std::string, kInfoBoxLineCount> lines;
    // The last line is painted on this colour when hasStatusColour; otherwise on white.
    bool hasStatusColour = false;
    uint32_t statusColour = 0;  // 0x00BBGGRR
};

// The box's lines for an appointment. date is the appointment's day number, 0 for one without a
// date (the display record carries only the start unit); the status names and colours come
// from the practice's status tables.
InfoBoxContent InfoBoxContentOf(const ApptDisplay& appointment, int32_t date, const StatusTables& statuses);

// "Tue 03/10/26  9:30am": the weekday, the date and the start time of line 5.
std::string InfoBoxWhenText(int32_t date, int start_unit);

struct InfoBoxRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// 32 widths and 6.5 heights of "x" in the default font; the height of one line is that of "x".
InfoBoxRect InfoBoxSize(int x_width, int x_height);

// The screen point the box centres on when the sheet shows it: the middle of the appointment
// box's top edge (box_left, box_right and box_top already in screen coordinates).
struct InfoBoxAnchor {
    int x = 0, y = 0;
};
InfoBoxAnchor SheetInfoBoxAnchor(int box_left, int box_right, int box_top);

// The box of the given size centred on the anchor. From the pin board the anchor is the cursor
// and the box is then kept 3 pixels inside the screen's right edge and at least 2 pixels below
// its top; from the sheet it is placed as it falls.
InfoBoxRect PlaceInfoBox(const InfoBoxRect& size, InfoBoxAnchor anchor, bool from_pin_board, int screen_width);
