// Loading and freeing the run's bitmaps and cursors.
#include "app/run_bitmaps_win.h"

RunBitmaps run_bitmaps;

namespace {

bool LoadInto(HBITMAP* slot, HINSTANCE instance, const char* name) {
    *slot = LoadBitmapA(instance, name);
    return *slot != nullptr;
}

// Cursors are loaded as private copies, not shared ones, so that shut-down may destroy them.
bool LoadCursorInto(HCURSOR* slot, HINSTANCE instance, const char* name) {
    *slot = static_cast<HCURSOR>(LoadImageA(instance, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    return *slot != nullptr;
}

void DeleteBitmap(HBITMAP* slot) {
    if (*slot) DeleteObject(*slot);
    *slot = nullptr;
}

void DestroyCursorIn(HCURSOR* slot) {
    if (*slot) DestroyCursor(*slot);
    *slot = nullptr;
}

}  // namespace

bool RunBitmaps::LoadBitmaps(HINSTANCE instance) {
    FreeBitmaps();
    bool all = LoadInto(&appt, instance, "appt");
    all &= LoadInto(&apptNoDate, instance, "apptnw");
    for (int g = 0; g < kGripSizeCount; ++g)
        all &= LoadInto(&grips[g], instance, GripResourceName(kGripSizes[g]).c_str());
    for (int f = 0; f < kMarkerFamilyCount; ++f)
        for (int s = 0; s < kMarkerSizeCount; ++s)
            all &= LoadInto(&markers[f][s], instance,
                            MarkerResourceName(static_cast<MarkerFamily>(f), kMarkerSizes[s]).c_str());
    for (int g = 0; g < kGripSizeCount; ++g) maskedGrips[g].Make(grips[g], kBitmapTransparent);
    for (int f = 0; f < kMarkerFamilyCount; ++f)
        for (int s = 0; s < kMarkerSizeCount; ++s) maskedMarkers[f][s].Make(markers[f][s], kBitmapTransparent);
    return all;
}

bool RunBitmaps::LoadCursors(HINSTANCE instance) {
    FreeCursors();
    bool all = LoadCursorInto(&handCursor, instance, "HandCur");
    all &= LoadCursorInto(&apptCursor, instance, "ApptCur");
    all &= LoadCursorInto(&apptNoDateCursor, instance, "ApptCurNW");
    return all;
}

void RunBitmaps::FreeBitmaps() {
    DeleteBitmap(&appt);
    DeleteBitmap(&apptNoDate);
    for (HBITMAP& g : grips) DeleteBitmap(&g);
    for (auto& family : markers)
        for (HBITMAP& m : family) DeleteBitmap(&m);
    for (MaskedPicture& g : maskedGrips) g.Free();
    for (auto& family : maskedMarkers)
        for (MaskedPicture& m : family) m.Free();
}

void RunBitmaps::FreeCursors() {
    DestroyCursorIn(&handCursor);
    DestroyCursorIn(&apptCursor);
    DestroyCursorIn(&apptNoDateCursor);
}

HBITMAP RunBitmaps::Marker(MarkerFamily family, int size) const {
    int s = MarkerSizeIndex(size);
    if (family < 0 || family >= kMarkerFamilyCount || s < 0) return nullptr;
    return markers[family][s];
}

HBITMAP RunBitmaps::Grip(int size) const {
    int g = GripSizeIndex(size);
    return g < 0 ? nullptr : grips[g];
}

const MaskedPicture* RunBitmaps::MarkerPicture(MarkerFamily family, int size) const {
    int s = MarkerSizeIndex(size);
    if (family < 0 || family >= kMarkerFamilyCount || s < 0) return nullptr;
    return maskedMarkers[family][s].Ready() ? &maskedMarkers[family][s] : nullptr;
}

const MaskedPicture* RunBitmaps::GripPicture(int size) const {
    int g = GripSizeIndex(size);
    return g < 0 || !maskedGrips[g].Ready() ? nullptr : &maskedGrips[g];
}

bool LoadRunBitmaps(HINSTANCE instance) { return run_bitmaps.LoadBitmaps(instance); }
bool LoadRunCursors(HINSTANCE instance) { return run_bitmaps.LoadCursors(instance); }
void FreeRunBitmaps() { run_bitmaps.Free(); }
