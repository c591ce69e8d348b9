// Marker families, their resource names and the sizes that fit a row of the sheet.
#include "views/sheet_markers.h"

namespace {

const char* const kFamilyNames[kMarkerFamilyCount] = {
    "NOTE", "ALERT", "PALERT", "LABNEED", "LABSENT", "LABRECV", "LABINHSE",
};

}  // namespace

const char* MarkerFamilyName(MarkerFamily family) {
    return family >= 0 && family < kMarkerFamilyCount ? kFamilyNames[family] : "";
}

int MarkerSizeIndex(int size) {
    for (int i = 0; i < kMarkerSizeCount; ++i)
        if (kMarkerSizes[i] == size) return i;
    return -1;
}

int GripSizeIndex(int size) {
    for (int i = 0; i < kGripSizeCount; ++i)
        if (kGripSizes[i] == size) return i;
    return -1;
}

std::string MarkerResourceName(MarkerFamily family, int size) {
    if (family < 0 || family >= kMarkerFamilyCount || MarkerSizeIndex(size) < 0) return "";
    return kFamilyNames[family] + std::to_string(size);
}

std::string GripResourceName(int size) {
    return GripSizeIndex(size) < 0 ? "" : "pull" + std::to_string(size);
}

MarkerFamily LabCaseMarker(int state) {
    switch (state) {
    case 1: return kMarkerLabNeeded;
    case 2: return kMarkerLabSent;
    case 3: return kMarkerLabReceived;
    case 4: return kMarkerLabInHouse;
    default: return kMarkerFamilyCount;
    }
}

MarkerPlacement MarkerSetForRowHeight(int R) {
    int offset = R < 12 ? 1 : 2;
    if (R - offset >= 20) return {20, offset};
    if (R >= 17) return {16, offset};
    if (R >= 13) return {12, offset};
    if (R >= 10) return {9, offset};
    return {6, 0};  // the smallest set fills the row from its top edge
}

GripPlacement GripForRowHeight(int R) {
    if (R < 11) return {6, 7};
    if (R < 15) return {9, 10};
    return {12, 13};
}

int FirstMarkerRightMargin(int R, bool single_row) {
    if (!single_row) return 3;
    if (R < 11) return 8;
    if (R < 15) return 11;
    return 14;
}
