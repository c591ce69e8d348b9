// The main window's date and view buttons as data: their commands, pictures and tooltips, and
// where they sit in the main window's layout.
#pragma once

#include "app/main_layout.h"

constexpr int kDateBackCommand = 201;
constexpr int kDateForwardCommand = 202;
constexpr int kDateCalendarCommand = 203;
constexpr int kDateTodayCommand = 204;
constexpr int kDayViewCommand = 150;
constexpr int kWeekViewCommand = 151;
constexpr int kMonthViewCommand = 152;

constexpr int kDateButtonHeight = 32;  // back, today, forward: each a third of the corner wide
constexpr int kCalendarButtonSize = 34;
constexpr int kViewButtonSize = 32;
constexpr int kViewButtonMargin = 2;   // between the view buttons and the end of the bar strip

struct DateControlEntry {
    int command;
    const char* bitmap;   // bitmap resource name of its picture
    const char* toolTip;
};

// The seven buttons in the order they are made: back, today, forward, calendar, then the day,
// week and month view buttons (the view buttons in view-mode order 0, 1, 2).
constexpr int kDateControlCount = 7;
constexpr int kFirstViewControl = 4;
extern const DateControlEntry kDateControls[kDateControlCount];

// Index into kDateControls, -1 for a command that is not one of these buttons.
int DateControlIndex(int command);

// The view mode's button (0 day, 1 week, 2 month), -1 for any other mode.
int ViewButtonCommand(int mode);

struct DateControlsLayout {
    LayoutRect back;
    LayoutRect today;
    LayoutRect forward;
    LayoutRect calendar;
    LayoutRect dayView;
    LayoutRect weekView;
    LayoutRect monthView;

    // The rectangle of a button by its command; an empty one for other commands.
    LayoutRect ForCommand(int command) const;
};

// The date buttons side by side in the corner above the time column, vertically centred; the
// calendar button centred in the corner right of the header (from the header's right edge to
// the right edge of the client, which is where the right-hand panel ends); the view buttons at
// the far end of the button bar strip: right-aligned along a horizontal bar, at the bottom of a
// vertical one, stacked downwards.
DateControlsLayout LayOutDateControls(const MainLayout& layout);
