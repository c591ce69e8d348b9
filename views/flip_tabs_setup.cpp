// Rows of the Flip Tabs Setup dialog: from the stored tabs, the OK checks, back to tabs.
#include "views/flip_tabs_setup.h"

#include <cstdlib>
#include <cstring>

#include "suite/dates.h"
#include "suite/messages.h"

namespace {

constexpr int kMsgNoDescription = 9204;
constexpr int kMsgBadDate = 9091;
constexpr int kMsgDigitsOnly = 9012;

bool DigitsOnly(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

FlipTabRows RowsOfFlipTabs(const FlipTabSet& set) {
    FlipTabRows rows;
    for (int mode = 0; mode < kFlipModes; ++mode) {
        for (int tab = 0; tab < kFlipUserTabs; ++tab) {
            const FlipTab& t = set.tabs[mode][tab];
            FlipTabRow& row = rows.rows[mode][tab];
            if (!(t.flags & kFlipDefined)) continue;
            row.description.assign(t.description, strnlen(t.description, sizeof t.description));
            row.textColor = t.textColor;
            if (t.flags & kFlipAbsolute) {
                row.type = kFlipRowAbsolute;
                row.date = QVN_fmtDateString2000(t.value);
            } else {
                row.type = kFlipRowRelative;
                row.count = std::to_string(t.value);
                row.backward = (t.flags & kFlipBackward) != 0;
                row.fromDisplayed = (t.flags & kFlipFromDisplayed) != 0;
            }
        }
    }
    return rows;
}

const char* FlipTabUnitLabel(FlipTabMode mode) {
    switch (mode) {
    case kFlipDay: return "Days";
    case kFlipWeek: return "Weeks";
    case kFlipMonth: return "Months";
    }
    return "";
}

bool FlipCountTextAllowed(const std::string& text) { return DigitsOnly(text); }

FlipTabRowFault CheckFlipTabRows(const FlipTabRows& rows) {
    for (int mode = 0; mode < kFlipModes; ++mode) {
        for (int tab = 0; tab < kFlipUserTabs; ++tab) {
            const FlipTabRow& row = rows.rows[mode][tab];
            if (row.type == kFlipRowNotUsed) continue;
            FlipTabRowField field = kFlipFieldNone;
            int message = 0;
            if (row.description.empty()) {
                field = kFlipFieldDescription;
                message = kMsgNoDescription;
            } else if (row.type == kFlipRowAbsolute && QVN_ParseDate(row.date) == 0) {
                field = kFlipFieldDate;
                message = kMsgBadDate;
            } else if (row.type == kFlipRowRelative && !DigitsOnly(row.count)) {
                field = kFlipFieldCount;
                message = kMsgDigitsOnly;
            }
            if (field != kFlipFieldNone) {
                QVN_Message(kMsgGroupGeneral, message);
                return {mode, tab, field};
            }
        }
    }
    return {};
}

FlipTabSet FlipTabsOfRows(const FlipTabRows& rows) {
    FlipTabSet set;
    for (int mode = 0; mode < kFlipModes; ++mode) {
        for (int tab = 0; tab < kFlipUserTabs; ++tab) {
            const FlipTabRow& row = rows.rows[mode][tab];
            FlipTab& t = set.tabs[mode][tab];
            if (row.type == kFlipRowNotUsed) continue;
            t.textColor = row.textColor;
            const std::string description = row.description.substr(0, kFlipDescriptionMax);
            std::memcpy(t.description, description.data(), description.size());
            if (row.type == kFlipRowAbsolute) {
                t.flags = kFlipDefined | kFlipAbsolute;
                t.value = QVN_ParseDate(row.date);
            } else {
                t.flags = kFlipDefined | (row.backward ? kFlipBackward : 0u) | (row.fromDisplayed ? kFlipFromDisplayed : 0u);
                long count = std::strtol(row.count.c_str(), nullptr, 10);
                t.value = static_cast<int32_t>(count > kMaxRelativeCount ? kMaxRelativeCount : count);
            }
        }
    }
    return set;
}
