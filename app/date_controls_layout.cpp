// Where the date and view buttons sit, from the main window's layout.
#include "app/date_controls_layout.h"

const DateControlEntry kDateControls[kDateControlCount] = {
    {kDateBackCommand, "arrwl0", "Backward"},
    {kDateTodayCommand, "today0", "Today"},
    {kDateForwardCommand, "arrwr0", "Forward"},
    {kDateCalendarCommand, "cal0", "Calendar"},
    {kDayViewCommand, "VIEWDAY", "Day View"},
    {kWeekViewCommand, "VIEWWEEK", "Week View"},
    {kMonthViewCommand, "VIEWMONTH", "Month View"},
};

int DateControlIndex(int command) {
    for (int i = 0; i < kDateControlCount; ++i)
        if (kDateControls[i].command == command) return i;
    return -1;
}

int ViewButtonCommand(int mode) {
    if (mode < 0 || mode > 2) return -1;
    return kDateControls[kFirstViewControl + mode].command;
}

LayoutRect DateControlsLayout::ForCommand(int command) const {
    switch (command) {
    case kDateBackCommand: return back;
    case kDateTodayCommand: return today;
    case kDateForwardCommand: return forward;
    case kDateCalendarCommand: return calendar;
    case kDayViewCommand: return dayView;
    case kWeekViewCommand: return weekView;
    case kMonthViewCommand: return monthView;
    default: return {};
    }
}

DateControlsLayout LayOutDateControls(const MainLayout& layout) {
    DateControlsLayout out;

    // Three buttons share the corner's width; the odd pixels go to the first ones.
    const LayoutRect& corner = layout.dateCorner;
    int third = corner.width / 3;
    int spare = corner.width % 3;
    int y = corner.y + (corner.height - kDateButtonHeight) / 2;
    int x = corner.x;
    LayoutRect* date_buttons[] = {&out.back, &out.today, &out.forward};
    for (int i = 0; i < 3; ++i) {
        int width = third + (i < spare ? 1 : 0);
        *date_buttons[i] = {x, y, width, kDateButtonHeight};
        x += width;
    }

    const LayoutRect& header = layout.header;
    int area_left = header.Right();
    int area_width = layout.pinBoard.Right() - area_left;
    out.calendar = {area_left + (area_width - kCalendarButtonSize) / 2,
                    header.y + (header.height - kCalendarButtonSize) / 2, kCalendarButtonSize,
                    kCalendarButtonSize};

    // A vertical bar leaves the date corner to its right; a horizontal one lies above it.
    const LayoutRect& bar = layout.buttonBar;
    bool vertical = corner.x > 0;
    LayoutRect* view_buttons[] = {&out.dayView, &out.weekView, &out.monthView};
    for (int i = 0; i < 3; ++i) {
        int from_end = 3 - i;  // the month button ends the row or the column
        LayoutRect& r = *view_buttons[i];
        r.width = r.height = kViewButtonSize;
        if (vertical) {
            r.x = bar.x + (bar.width - kViewButtonSize) / 2;
            r.y = bar.Bottom() - kViewButtonMargin - from_end * kViewButtonSize;
        } else {
            r.x = bar.Right() - kViewButtonMargin - from_end * kViewButtonSize;
            r.y = bar.y + (bar.height - kViewButtonSize) / 2;
        }
    }
    return out;
}
