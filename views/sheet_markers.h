// The small pictures an appointment box carries: which marker family stands for what, their
// resource names, and which size of marker and resize grip fits a row height.
#pragma once

#include <string>

enum MarkerFamily {
    kMarkerNote,          // "NOTE": the appointment has a note
    kMarkerAlert,         // "ALERT": medical alert
    kMarkerPatientAlert,  // "PALERT": patient alert
    kMarkerLabNeeded,     // "LABNEED": lab case states 1 to 4
    kMarkerLabSent,       // "LABSENT"
    kMarkerLabReceived,   // "LABRECV"
    kMarkerLabInHouse,    // "LABINHSE"
    kMarkerFamilyCount
};

// Every family comes in these square sizes, in pixels.
constexpr int kMarkerSizes[] = {6, 9, 12, 16, 20};
constexpr int kMarkerSizeCount = 5;
// The resize grips "pull6", "pull9" and "pull12".
constexpr int kGripSizes[] = {6, 9, 12};
constexpr int kGripSizeCount = 3;

const char* MarkerFamilyName(MarkerFamily family);      // "NOTE", ..., "" out of range
std::string MarkerResourceName(MarkerFamily family, int size);  // "NOTE12"; "" for no such size
std::string GripResourceName(int size);                 // "pull9"; "" for no such size
int MarkerSizeIndex(int size);                           // position in kMarkerSizes, or -1
int GripSizeIndex(int size);                             // position in kGripSizes, or -1

// The lab case marker of an appointment's lab case state (1 needed, 2 sent, 3 received,
// 4 in-house); kMarkerFamilyCount for no lab case marker.
MarkerFamily LabCaseMarker(int lab_case_state);

// The marker set for row height R and how far below the box's top it is drawn.
struct MarkerPlacement {
    int size = 6;
    int topOffset = 0;
};
MarkerPlacement MarkerSetForRowHeight(int row_height);

// The resize grip for row height R; it sits `inset` pixels left of and above the box's lower
// right corner.
struct GripPlacement {
    int size = 6;
    int inset = 7;
};
GripPlacement GripForRowHeight(int row_height);

// The room kept right of the first marker: 3 pixels, or, on a box of a single row, the room the
// resize grip needs.
int FirstMarkerRightMargin(int row_height, bool single_row);
