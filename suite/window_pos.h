// Saved window places: how they are kept in the settings file and brought back on screen.
#pragma once

#include <string>
#include <vector>

struct WindowPlace {
    int left = 0, top = 0, right = 0, bottom = 0;
    int showState = 1;  // the Windows show command: 1 normal, 2 minimised, 3 maximised
};

struct ScreenArea {
    int left, top, right, bottom;
};

// Section of the suite settings file that holds every module's window places, one key each.
extern const char kWindowPosSection[];  // "WindowPos"

// "left,top,right,bottom,show". False for a text that does not hold four numbers and a sensible
// rectangle (the caller then keeps the window where it was created).
bool ParseWindowPlace(const std::string& text, WindowPlace* place);
std::string FormatWindowPlace(const WindowPlace& place);

// A place that lies on none of the screen areas (a monitor that is gone) moves onto the first
// area, keeping its size where it fits; a minimised window comes back as a normal one.
WindowPlace BringOnScreen(const WindowPlace& place, const std::vector<ScreenArea>& screens);
