// The information box's texts and geometry.
#include "views/info_box.h"

#include <cstdio>
#include <cstring>

#include "data/appointment_record.h"
#include "suite/dates.h"
#include "suite/phones.h"
#include "suite/times.h"

namespace {

std::string TrimmedRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == 0)) s.pop_back();
    return s;
}

// A phone hidden for privacy is shown as the privacy text, not run through the formatter.
std::string PhoneText(const std::string& phone) {
    return phone == kPrivatePhoneText ? phone : QVN_Set_Phone(phone);
}

std::string StatusLine(const ApptDisplay& a, const StatusTables& statuses, InfoBoxContent* content) {
    if (a.status == kStatusComplete) return "<Complete>";
    if (a.status < 1 || a.status > kMaxPracticeStatus) return "";
    const char* name = statuses.names[a.status];
    const uint32_t colour = statuses.colours[a.status];
    content->hasStatusColour = colour != 0;
    content->statusColour = colour;
    return TrimmedRight(std::string(name, strnlen(name, sizeof statuses.names[0])));
}

}  // namespace

std::string InfoBoxWhenText(int32_t date, int start_unit) {
    const std::string weekday = std::string(QVN_getday_name(QVN_week_day(date))).substr(0, 3);
    return weekday + " " + QVN_DateStr(date, kDateShort) + "  " + QVN_FormatPackTime(start_unit);
}

InfoBoxContent InfoBoxContentOf(const ApptDisplay& a, int32_t date, const StatusTables& statuses) {
    InfoBoxContent content;
    content.lines[0] = a.name;
    content.lines[1] = a.description;
    content.lines[2] = PhoneText(a.homePhone);
    content.lines[3] = "Provider: " + TrimmedRight(std::string(a.provider, 4));
    char length[32];
    std::snprintf(length, sizeof length, " - %d min", a.length);
    content.lines[4] = (date == 0 ? std::string("Unscheduled") : InfoBoxWhenText(date, a.startUnit)) + length;
    content.lines[5] = StatusLine(a, statuses, &content);
    return content;
}

InfoBoxRect InfoBoxSize(int x_width, int x_height) {
    InfoBoxRect r;
    r.width = 32 * x_width;
    r.height = 13 * x_height / 2;
    return r;
}

InfoBoxAnchor SheetInfoBoxAnchor(int box_left, int box_right, int box_top) {
    return {(box_left + box_right) / 2, box_top};
}

InfoBoxRect PlaceInfoBox(const InfoBoxRect& size, InfoBoxAnchor anchor, bool from_pin_board, int screen_width) {
    InfoBoxRect r = size;
    r.x = anchor.x - size.width / 2;
    r.y = anchor.y - size.height / 2;
    if (from_pin_board) {
        if (r.x + r.width > screen_width - 3) r.x = screen_width - 3 - r.width;
        if (r.y < 2) r.y = 2;
    }
    return r;
}
