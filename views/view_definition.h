// Numbered views: which providers, operatories, weekdays and hours the schedule sheet shows and
// what the lines of an appointment box say. Views 1 to 12 belong to the function keys F1 to F12;
// the settings keep up to 20 in section APPTBOOK of the suite settings file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kMaxViewResources = 20;  // providers or operatories in one view
constexpr int kViewDays = 7;
constexpr int kViewLines = 9;          // text lines of an appointment box
constexpr int kMaxStoredView = 20;     // the settings accept views 1 to 20
constexpr int kMaxUserView = 12;       // the user sees and edits views 1 to 12

constexpr int kDefaultViewBegin = 96;   // 8:00 am in 5-minute units
constexpr int kDefaultViewEnd = 204;    // 5:00 pm

struct ViewDefinition {
    int number = 0;
    int providerCount = 0;
    char providers[kMaxViewResources][4] = {};   // 4-character IDs, not terminated
    int operatoryCount = 0;
    char operatories[kMaxViewResources][4] = {};
    int days[kViewDays] = {};                    // weekday numbers 1-7 ascending, then 0s
    bool showAmount = false;
    bool showAlerts = true;
    bool showNotes = true;
    int beginTime = kDefaultViewBegin;           // whole hours, in 5-minute units
    int endTime = kDefaultViewEnd;
    uint8_t infoOrder[kViewLines] = {1, 2, 3, 4, 5, 6, 7, 8, 9};  // display item code per line
};

// Says whether a provider of the active view may stay in a view whose stored provider list is
// empty: its resource record exists and is not inactive. An empty function means that no
// database session could be started; the active view's slots are then taken as they stand.
using ProviderStillActive = std::function<bool(const char id[4])>;

// Reads view n (1-20) into view. Missing or malformed values keep their defaults; an empty
// provider or operatory list takes the active view's (providers filtered by still_active).
// Returns 0, leaving view untouched, when n is out of range.
int ReadViewDefinition(int n, ViewDefinition* view, const ViewDefinition& active,
                       const ProviderStillActive& still_active);

// Saves view as number n (1-20). Counts above 20 are cut to 20; returns 0 for a number out of
// range or a negative count, writing nothing.
int SaveViewDefinition(int n, const ViewDefinition& view);

// Empties the provider, operatory and day lists of view n; its other keys stay. 0 when out of range.
int DeleteViewDefinition(int n);

// A view slot is defined when its day list holds at least three characters.
bool IsViewDefined(int n);

// Lowest undefined view number of 1-12, or 0 when all twelve are defined.
int FirstFreeViewNumber();

struct ViewListEntry {
    int number;
    std::string text;  // "01 - F1"
};
// The defined views 1 to 12, as the Select View list shows them.
std::vector<ViewListEntry> DefinedViewList();

// The combo-box label of a display item code 0-13; code 9 follows the Windows country code.
std::string DisplayItemLabel(int code, int country_code);
