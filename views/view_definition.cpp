// Reading and writing numbered views in the settings, as far as the stored values go.
#include "views/view_definition.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "suite/settings.h"

namespace {

const char kSection[] = "APPTBOOK";

std::string KeyOf(const char* name, int n) { return name + std::to_string(n); }

std::string Read(const char* name, int n) {
    return QVN_ReadProfileText(kSection, KeyOf(name, n).c_str(), "");
}

void Write(const char* name, int n, const std::string& value) {
    QVN_WriteProfileString(kSection, KeyOf(name, n).c_str(), value.c_str());
}

bool InStoredRange(int n) { return n >= 1 && n <= kMaxStoredView; }

// A decimal number at the start of text, as atoi reads it (0 when there is none).
int NumberAt(const std::string& text, size_t offset) {
    return offset < text.size() ? std::atoi(text.c_str() + offset) : 0;
}

// "03,AAAA,BBBB,": the leading count, then IDs at offsets 3, 8, 13, ... while both the count
// and the text last. Returns the number of IDs actually taken.
int ParseIdList(const std::string& text, char (*ids)[4]) {
    int stored = NumberAt(text, 0);
    if (stored > kMaxViewResources) stored = kMaxViewResources;
    int taken = 0;
    for (size_t offset = 3; taken < stored && offset < text.size(); offset += 5, ++taken) {
        std::memset(ids[taken], ' ', 4);
        std::memcpy(ids[taken], text.data() + offset, std::min<size_t>(4, text.size() - offset));
    }
    return taken;
}

std::string FormatIdList(int count, const char (*ids)[4]) {
    char head[16];
    std::snprintf(head, sizeof head, "%2.2d,", count);
    std::string text = head;
    for (int i = 0; i < count; ++i) {
        text.append(ids[i], 4);
        text += ',';
    }
    return text;
}

void ClearIds(char (*ids)[4]) { std::memset(ids, 0, kMaxViewResources * 4); }

void ReadProviders(int n, ViewDefinition* view, const ViewDefinition& active,
                   const ProviderStillActive& still_active) {
    std::string text = Read("ViewProv", n);
    ClearIds(view->providers);
    if (!text.empty()) {
        view->providerCount = text.size() > 1 ? ParseIdList(text, view->providers) : 0;
        return;
    }
    if (!still_active) {
        std::memcpy(view->providers, active.providers, sizeof view->providers);
        view->providerCount = active.providerCount;
        return;
    }
    int kept = 0;
    for (int i = 0; i < active.providerCount && i < kMaxViewResources; ++i)
        if (still_active(active.providers[i]))
            std::memcpy(view->providers[kept++], active.providers[i], 4);
    view->providerCount = kept;
}

void ReadOperatories(int n, ViewDefinition* view, const ViewDefinition& active) {
    std::string text = Read("ViewOp", n);
    ClearIds(view->operatories);
    if (!text.empty()) {
        view->operatoryCount = text.size() > 1 ? ParseIdList(text, view->operatories) : 0;
        return;
    }
    std::memcpy(view->operatories, active.operatories, sizeof view->operatories);
    view->operatoryCount = active.operatoryCount;
}

void ReadDays(int n, ViewDefinition* view) {
    std::string text = Read("View", n);
    for (int i = 0; i < kViewDays; ++i) view->days[i] = text.size() > 1 ? 0 : i + 1;
    if (text.size() <= 1) return;
    for (int i = 0; i < kViewDays && size_t(3 * i) < text.size(); ++i)
        view->days[i] = NumberAt(text, 3 * i);
}

void ReadInfoOrder(int n, ViewDefinition* view) {
    std::string text = Read("ViewInfoOrder", n);
    for (int i = 0; i < kViewLines; ++i) view->infoOrder[i] = uint8_t(i + 1);
    if (text.empty()) return;
    size_t offset = 0;
    for (int i = 0; i < kViewLines && offset <= text.size(); ++i) {
        int code = NumberAt(text, offset);
        view->infoOrder[i] = code < 0 || code > 15 ? 0 : uint8_t(code);
        size_t comma = text.find(',', offset);
        if (comma == std::string::npos) break;
        offset = comma + 1;
    }
}

}  // namespace

int ReadViewDefinition(int n, ViewDefinition* view, const ViewDefinition& active,
                       const ProviderStillActive& still_active) {
    if (!InStoredRange(n)) return 0;
    view->number = n;
    ReadInfoOrder(n, view);

    std::string amount = Read("ViewAmount", n);
    view->showAmount = !amount.empty() && amount[0] == '1';

    std::string info = Read("ViewInfo", n);
    view->showAlerts = info.empty() || info[0] == '1';
    view->showNotes = info.empty() || (info.size() > 2 && info[2] == '1');

    view->beginTime = QVN_ReadProfileInt(kSection, KeyOf("ViewBegTime", n).c_str(),
                                         kDefaultViewBegin);
    view->endTime = QVN_ReadProfileInt(kSection, KeyOf("ViewEndTime", n).c_str(),
                                       kDefaultViewEnd);
    ReadProviders(n, view, active, still_active);
    ReadOperatories(n, view, active);
    ReadDays(n, view);
    return 1;
}

int SaveViewDefinition(int n, const ViewDefinition& view) {
    if (!InStoredRange(n) || view.providerCount < 0 || view.operatoryCount < 0) return 0;
    int providers = std::min(view.providerCount, kMaxViewResources);
    int operatories = std::min(view.operatoryCount, kMaxViewResources);
    Write("ViewProv", n, FormatIdList(providers, view.providers));
    Write("ViewOp", n, FormatIdList(operatories, view.operatories));

    char text[64];
    std::snprintf(text, sizeof text, "%2.2d,%2.2d,%2.2d,%2.2d,%2.2d,%2.2d,%2.2d", view.days[0],
                  view.days[1], view.days[2], view.days[3], view.days[4], view.days[5],
                  view.days[6]);
    Write("View", n, text);
    Write("ViewAmount", n, view.showAmount ? "1" : "0");
    std::snprintf(text, sizeof text, "%c,%c", view.showAlerts ? '1' : '0',
                  view.showNotes ? '1' : '0');
    Write("ViewInfo", n, text);
    QVN_WriteProfileInt(kSection, KeyOf("ViewBegTime", n).c_str(), view.beginTime);
    QVN_WriteProfileInt(kSection, KeyOf("ViewEndTime", n).c_str(), view.endTime);
    const uint8_t* o = view.infoOrder;
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,%d,%d,%d,%d", o[0], o[1], o[2], o[3], o[4],
                  o[5], o[6], o[7], o[8]);
    Write("ViewInfoOrder", n, text);
    return 1;
}

int DeleteViewDefinition(int n) {
    if (!InStoredRange(n)) return 0;
    Write("ViewProv", n, "");
    Write("ViewOp", n, "");
    Write("View", n, "");
    return 1;
}

bool IsViewDefined(int n) { return Read("View", n).size() >= 3; }

int FirstFreeViewNumber() {
    for (int n = 1; n <= kMaxUserView; ++n)
        if (!IsViewDefined(n)) return n;
    return 0;
}

std::vector<ViewListEntry> DefinedViewList() {
    std::vector<ViewListEntry> list;
    for (int n = 1; n <= kMaxUserView; ++n) {
        if (!IsViewDefined(n)) continue;
        char text[16];
        std::snprintf(text, sizeof text, "%2.2d - F%d", n, n);
        list.push_back({n, text});
    }
    return list;
}

std::string DisplayItemLabel(int code, int country_code) {
    static const char* const kLabels[] = {
        "[none]",  "Name",        "Appt Reason", "Phone",      "Provider",
        "Amount",  "Appt Type",   "Staff",       "Work Phone", "Soc. Sec. #",
        "Pref. Name", "Chart Num", "Name/Pref.", "Referred By",
    };
    if (code < 0 || code > 13) return "";
    if (code == 9 && country_code == 2) return "SIN #      ";
    if (code == 9 && (country_code == 61 || country_code == 64)) return "VET #      ";
    return kLabels[code];
}
