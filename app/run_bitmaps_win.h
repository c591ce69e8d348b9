// The bitmaps and cursors the sheet and the pin board draw with, loaded once and kept for the
// whole run.
#pragma once

#include <windows.h>

#include "suite/masked_picture_win.h"
#include "views/sheet_markers.h"

// Magenta is the transparent colour of the markers, the grips and the pin board cards: magenta
// pixels are left as they were. The sheet draws the markers and grips, many to a paint, through
// their masked pictures; the rest are drawn with DrawTransparentBitmap.
constexpr COLORREF kBitmapTransparent = RGB(255, 0, 255);

// Owns every handle it holds: Free (or the destructor) deletes the bitmaps and destroys the
// cursors, and loading again first frees what was loaded before.
struct RunBitmaps {
    HBITMAP appt = nullptr;        // pin board: a parked appointment with a date
    HBITMAP apptNoDate = nullptr;  // pin board: one without a date ("apptnw")
    HBITMAP grips[kGripSizeCount] = {};
    HBITMAP markers[kMarkerFamilyCount][kMarkerSizeCount] = {};
    MaskedPicture maskedGrips[kGripSizeCount];
    MaskedPicture maskedMarkers[kMarkerFamilyCount][kMarkerSizeCount];
    HCURSOR handCursor = nullptr;        // "HandCur": an appointment moved over the sheet
    HCURSOR apptCursor = nullptr;        // "ApptCur": dragged off the sheet
    HCURSOR apptNoDateCursor = nullptr;  // "ApptCurNW": an appointment without a date off the sheet

    RunBitmaps() = default;
    ~RunBitmaps() { Free(); }
    RunBitmaps(const RunBitmaps&) = delete;
    RunBitmaps& operator=(const RunBitmaps&) = delete;

    // Both return false when any resource is missing; what could be loaded is kept.
    bool LoadBitmaps(HINSTANCE instance);
    bool LoadCursors(HINSTANCE instance);
    void FreeBitmaps();
    void FreeCursors();
    void Free() {
        FreeBitmaps();
        FreeCursors();
    }

    // Null for a size that is not in the set.
    HBITMAP Marker(MarkerFamily family, int size) const;
    HBITMAP Grip(int size) const;
    const MaskedPicture* MarkerPicture(MarkerFamily family, int size) const;
    const MaskedPicture* GripPicture(int size) const;
};

extern RunBitmaps run_bitmaps;

// Start-up loads the bitmaps with the window classes and the cursors while the main window is
// created; shut-down frees both.
bool LoadRunBitmaps(HINSTANCE instance);
bool LoadRunCursors(HINSTANCE instance);
void FreeRunBitmaps();
