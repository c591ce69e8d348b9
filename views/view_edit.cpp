// Hour conversion and the OK checks of the Edit View dialog.
#include "views/view_edit.h"

#include <cctype>
#include <cstring>

#include "suite/messages.h"
#include "suite/prompter.h"

namespace {

// With "All" checked every entry counts, up to the twenty a view holds; a hand-made selection
// keeps only its first ten, so a column-by-column pick stays readable on the sheet.
constexpr int kMaxHandPicked = 10;

int TakeResources(const ResourceListInput& list, char (*ids)[4]) {
    std::memset(ids, 0, kMaxViewResources * 4);
    int limit = list.all ? kMaxViewResources : kMaxHandPicked;
    int count = 0;
    for (size_t i = 0; i < list.entries.size() && count < limit; ++i) {
        if (!list.all && !(i < list.selected.size() && list.selected[i])) continue;
        std::memcpy(ids[count++], list.entries[i].data(), 4);
    }
    return count;
}

// A whole number 1 to 12 (blanks around it allowed), else 0.
int ParseHour(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos || end - begin > 1) return 0;
    int hour = 0;
    for (size_t i = begin; i <= end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return 0;
        hour = hour * 10 + (text[i] - '0');
    }
    return hour >= 1 && hour <= 12 ? hour : 0;
}

}  // namespace

HourField HourFieldOfTime(int time) {
    int hour = time / 12;
    if (hour < 1 || hour > 24) return {12, false};
    if (hour == 12) return {12, true};
    if (hour > 12) return {hour - 12, true};
    return {hour, false};
}

int HourOfText(const std::string& text) { return ParseHour(text); }

ResourceId ResourceIdOfText(const std::string& text) {
    ResourceId id = {' ', ' ', ' ', ' '};
    for (size_t c = 0; c < id.size() && c < text.size(); ++c) id[c] = text[c];
    return id;
}

int TimeOfHourField(int hour, bool pm) {
    if (hour == 12) return pm ? 144 : 0;
    return (pm ? hour + 12 : hour) * 12;
}

ViewEditFocus CheckViewEdit(const ViewEditInput& input, ViewDefinition* view) {
    ViewDefinition edited = *view;
    edited.providerCount = TakeResources(input.providers, edited.providers);
    edited.operatoryCount = TakeResources(input.operatories, edited.operatories);
    if (edited.providerCount == 0 || edited.operatoryCount == 0) {
        ShowStop("At least one operatory and one provider must be selected.");
        return kViewEditFocusOperatories;
    }

    int days = 0;
    for (int& d : edited.days) d = 0;
    for (int weekday = 1; weekday <= kViewDays; ++weekday)
        if (input.dayChecked[weekday - 1]) edited.days[days++] = weekday;
    if (days < 2) {
        ShowStop("At least two days must be selected");
        return kViewEditFocusSunday;
    }

    int start = ParseHour(input.startHour);
    if (start == 0) {
        QVN_Message(kMsgGroupGeneral, 9090);
        return kViewEditFocusStartHour;
    }
    int end = ParseHour(input.endHour);
    if (end == 0) {
        QVN_Message(kMsgGroupGeneral, 9090);
        return kViewEditFocusEndHour;
    }
    edited.beginTime = TimeOfHourField(start, input.startPm);
    edited.endTime = TimeOfHourField(end, input.endPm);
    if (edited.endTime - edited.beginTime < 12) {
        ShowStop("Invalid time span!");
        return kViewEditFocusStartHour;
    }

    edited.showAmount = input.showAmount;
    edited.showNotes = input.showNotes;
    edited.showAlerts = input.showAlerts;
    std::memcpy(edited.infoOrder, input.lines, sizeof edited.infoOrder);
    *view = edited;
    return kViewEditAccepted;
}
