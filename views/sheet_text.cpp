// Sheet texts.
#include "views/sheet_text.h"

#include <cstdio>
#include <cstring>

#include "data/practice_schedule.h"
#include "suite/names.h"
#include "suite/phones.h"

namespace {

std::string UpToBlank(const char (&id)[4]) {
    std::string s(id, strnlen(id, 4));
    return s.substr(0, s.find(' '));
}

std::string TrimmedId(const char (&id)[4]) {
    std::string s(id, strnlen(id, 4));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string PhoneText(const std::string& phone) {
    return phone == kPrivatePhoneText ? phone : QVN_Set_Phone(phone);
}

std::string TitlePrefix(const ApptDisplay& a) { return a.title.empty() ? "" : a.title + " "; }

std::string NameLine(const ApptDisplay& a) {
    if (a.patientId == 0) return "NP-" + a.name;
    return TitlePrefix(a) + a.name;
}

std::string NameWithPreferred(const ApptDisplay& a) {
    if (a.patientId == 0) return NameLine(a);
    const size_t comma = a.name.find(',');
    if (!a.preferredName.empty() && comma != std::string::npos && comma > 0)
        return TitlePrefix(a) + a.name.substr(0, comma) + ", " + a.preferredName;
    return TitlePrefix(a) + a.name;
}

std::string TypeName(int type) {
    if (type <= 0 || type > practice_tables.typeCount) return "";
    const char* name = practice_tables.typeNames[type - 1];
    return std::string(name, strnlen(name, kTypeNameLength));
}

}  // namespace

std::string TimeRowLabel(int unit) {
    static const char* const kHours[12] = {"12", " 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10", "11"};
    const int hour = unit / 12;
    const int minutes = (unit % 12) * 5;
    char text[16];
    if (unit % 12 == 0)
        std::snprintf(text, sizeof text, "%s:%02d%s", kHours[hour % 12], minutes, hour % 24 < 12 ? "am" : "pm");
    else
        std::snprintf(text, sizeof text, "  :%02d  ", minutes);
    return text;
}

std::string BoxLineText(int code, const ApptDisplay& a) {
    switch (code) {
    case 1: return NameLine(a);
    case 2: return a.description;
    case 3: return "H:" + PhoneText(a.homePhone);
    case 4: return TrimmedId(a.provider);
    case 5: return WholeAmountText(a.amount);
    case 6: return TypeName(a.type);
    case 7: return a.staff[0] && a.staff[0] != ' ' ? "Staff: " + UpToBlank(a.staff) : "";
    case 8: return "Wk:" + PhoneText(a.workPhone);
    case 9: return QVN_FormatSS(a.ssn);
    case 10: return a.preferredName;
    case 11: return "C#:" + a.chartNumber;
    case 12: return NameWithPreferred(a);
    case 13: return a.referredBy;
    default: return "";
    }
}

std::string WholeAmountText(int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "0%lld", static_cast<long long>(cents / 100));
    return text;
}

std::string BlockCaption(const TimeBlockRecord& block, bool began_above) {
    std::string caption = std::string(block.name, strnlen(block.name, 13)) + " - " + std::string(block.provider, 4);
    return began_above ? "^ " + caption + " ^" : caption;
}
