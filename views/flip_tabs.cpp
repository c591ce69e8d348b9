// Reading, writing and following the flip tabs.
#include "views/flip_tabs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "suite/dates.h"
#include "suite/workstation_settings.h"

namespace {


struct TypeCharacter {
    char character;
    uint32_t flags;
};
const TypeCharacter kTypes[] = {
    {'@', kFlipDefined | kFlipAbsolute},
    {'+', kFlipDefined},
    {'>', kFlipDefined | kFlipFromDisplayed},
    {'-', kFlipDefined | kFlipBackward},
    {'<', kFlipDefined | kFlipFromDisplayed | kFlipBackward},
};

uint32_t FlagsOf(char type) {
    for (const TypeCharacter& t : kTypes)
        if (t.character == type) return t.flags;
    return kFlipDefined;
}

char TypeOf(uint32_t flags) {
    if (flags & kFlipAbsolute) return '@';
    uint32_t relative = flags & (kFlipDefined | kFlipFromDisplayed | kFlipBackward);
    for (const TypeCharacter& t : kTypes)
        if (t.flags == relative) return t.character;
    return '+';
}

}  // namespace

FlipTab ParseFlipTab(const std::string& text) {
    FlipTab tab;
    if (text.empty()) return tab;
    tab.flags = FlagsOf(text[0]);
    size_t first_comma = text.find(',', 1);
    long value = std::strtol(text.c_str() + 1, nullptr, 10);
    if (!(tab.flags & kFlipAbsolute)) {
        if (value > kMaxRelativeCount) value = kMaxRelativeCount;
        if (value < 0) value = 0;
    }
    tab.value = static_cast<int32_t>(value);
    if (first_comma == std::string::npos) return tab;
    size_t second_comma = text.find(',', first_comma + 1);
    tab.textColor = static_cast<uint32_t>(std::strtoll(text.c_str() + first_comma + 1, nullptr, 10));
    if (second_comma == std::string::npos) return tab;
    std::string description = text.substr(second_comma + 1, sizeof tab.description - 1);
    std::memcpy(tab.description, description.data(), description.size());
    return tab;
}

std::string FormatFlipTab(const FlipTab& tab) {
    if (!(tab.flags & kFlipDefined)) return "";
    char head[48];
    std::snprintf(head, sizeof head, "%c%ld,%ld,", TypeOf(tab.flags), long(tab.value),
                  long(int32_t(tab.textColor)));
    return head + std::string(tab.description, strnlen(tab.description, sizeof tab.description));
}

// The settings keep the twelve texts Day 1-4, Week 1-4, Month 1-4, in that order.
FlipTabSet LoadFlipTabs() {
    FlipTabSet set;
    FlipTabTexts texts = ReadFlipTabTexts();
    for (int mode = 0; mode < kFlipModes; ++mode)
        for (int tab = 0; tab < kFlipUserTabs; ++tab)
            set.tabs[mode][tab] = ParseFlipTab(texts[mode * kFlipUserTabs + tab]);
    return set;
}

void SaveFlipTabs(const FlipTabSet& set) {
    FlipTabTexts texts;
    for (int mode = 0; mode < kFlipModes; ++mode)
        for (int tab = 0; tab < kFlipUserTabs; ++tab)
            texts[mode * kFlipUserTabs + tab] = FormatFlipTab(set.tabs[mode][tab]);
    WriteFlipTabTexts(texts);
}

int32_t FlipTabTarget(const FlipTab& tab, FlipTabMode mode, int32_t today, int32_t displayed) {
    if (!(tab.flags & kFlipDefined)) return 0;
    if (tab.flags & kFlipAbsolute) return tab.value;
    int32_t base = (tab.flags & kFlipFromDisplayed) ? displayed : today;
    if (base == 0) return 0;
    int32_t count = (tab.flags & kFlipBackward) ? -tab.value : tab.value;
    switch (mode) {
    case kFlipDay: return base + count;
    case kFlipWeek: return base + 7 * count;
    case kFlipMonth: return QVN_AddMonths(base, count);
    }
    return 0;
}
