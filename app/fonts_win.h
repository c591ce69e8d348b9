// The four fonts of the appointment book, created from the workstation settings, and the sheet
// measures taken from font 3.
#pragma once

#include <windows.h>

#include "suite/workstation_settings.h"
#include "views/sheet_measures.h"

// The font of a settings font text: its face, height, width, weight and italic, in the
// default character set, everything else 0.
LOGFONTA LogFontFromSpec(const FontSpec& spec);
HFONT CreateFontFromSpec(const FontSpec& spec);

// Owns fonts 1 to 4 for the run; recreating font 3 after the font dialog replaces it in place.
class AppFonts {
public:
    AppFonts() = default;
    ~AppFonts() { DeleteAll(); }
    AppFonts(const AppFonts&) = delete;
    AppFonts& operator=(const AppFonts&) = delete;

    void CreateAll();  // fonts 1 to 4 from the settings
    void DeleteAll();
    HFONT Font(int n) const { return n >= 1 && n <= 4 ? fonts_[n - 1] : nullptr; }

    // Measures of the sheet in font 3 and the window's default font.
    SheetMeasures MeasureSheet(HWND window) const;
    // The larger "x" width of fonts 1 and 2: the month view's caption and amount columns.
    int LargerXWidth(HWND window) const;

private:
    HFONT fonts_[4] = {};
};
