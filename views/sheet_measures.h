// The schedule sheet's measures, taken from the text sizes of its fonts when the main window is
// created and after the font dialog.
#pragma once

struct TextExtent {
    int width = 0;
    int height = 0;
};

// Text sizes the Win32 side measures: in font 3 "x", "12:00pm " and "iNotei"; "x" in the
// window's default font.
struct SheetFontExtents {
    TextExtent x;
    TextExtent timeText;
    TextExtent noteText;
    TextExtent defaultX;
};

struct SheetMeasures {
    int rowHeight = 0;         // R: one time row
    int stripeWidth = 0;       // W: the coloured stripe of an appointment box
    int timeColumnWidth = 0;   // TW, at least 36
    int noteButtonWidth = 0;   // the header's "Note" button
    int providerColumnWidth = 0;  // PW
};

constexpr int kMinTimeColumnWidth = 36;

SheetMeasures MeasuresFromExtents(const SheetFontExtents& extents);
