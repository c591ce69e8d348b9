// Reading and checking the day dialog's six times.
#include "setup/day_times.h"

#include <cctype>

#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/times.h"

namespace {

constexpr int kMinimumTextLength = 4;
constexpr int kInvalidTimeMessage = 9090;
constexpr int32_t kEndOfDay = 288;

const char kTimeRequired[] = "A time must be entered!";
const char kFullSpan[] = "A full time span must be entered!";
const char kInvalidRange[] = "Invalid Time Range!";
const char kInvalidOrder[] = "Invalid time order!";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads digits at *i into *value; false when there are none. Long runs saturate instead of
// overflowing: they are refused as out of range anyway.
bool ReadNumber(const std::string& text, size_t* i, int* value) {
    size_t start = *i;
    int v = 0;
    for (; *i < text.size() && std::isdigit(static_cast<unsigned char>(text[*i])); ++*i)
        v = v > 1000 ? v : v * 10 + (text[*i] - '0');
    *value = v;
    return *i > start;
}

void SkipBlanks(const std::string& text, size_t* i) {
    while (*i < text.size() && IsBlank(text[*i])) ++*i;
}

DayTimesFocus Refuse(const char* text, DayTimesFocus::Kind kind, int slot) {
    ShowStop(text);
    return {kind, slot};
}

}  // namespace

DayTimeRead ReadDayTimeText(const std::string& text, int block_minutes, int32_t* units) {
    if (text.size() < kMinimumTextLength) return DayTimeRead::kNoTime;
    if (block_minutes <= 0 || 60 % block_minutes != 0) block_minutes = 5;
    size_t i = 0;
    SkipBlanks(text, &i);
    int hour = 0, minute = 0;
    if (!ReadNumber(text, &i, &hour)) return DayTimeRead::kInvalid;
    SkipBlanks(text, &i);
    if (i < text.size() && text[i] == ':') {
        ++i;
        SkipBlanks(text, &i);
        if (!ReadNumber(text, &i, &minute)) return DayTimeRead::kInvalid;
    }
    char half = 0;
    for (; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (IsBlank(c)) continue;
        if (!half && (c == 'a' || c == 'p')) {
            half = c;
            if (i + 1 < text.size() && std::tolower(static_cast<unsigned char>(text[i + 1])) == 'm') ++i;
            continue;
        }
        return DayTimeRead::kInvalid;
    }
    if (minute > 59) return DayTimeRead::kInvalid;
    if (half && hour > 12) return DayTimeRead::kInvalid;
    if (!half && hour > 24) return DayTimeRead::kInvalid;
    if (half == 'a' && hour == 12) hour = 0;
    if (half == 'p' && hour != 12) hour += 12;
    minute -= minute % block_minutes;
    const int32_t result = hour * 12 + minute / 5;
    if (result > kEndOfDay) return DayTimeRead::kInvalid;
    *units = result;
    return DayTimeRead::kTime;
}

std::string DayTimeText(int32_t units) {
    if (units == kEndOfDay) return "24:00";
    return QVN_FormatPackTime(units);
}

DayTimesFocus CheckDayTimes(const DayTimeTexts& texts, bool time_required, int block_minutes, DayTimes* times) {
    if (time_required && texts[0].size() < kMinimumTextLength) return Refuse(kTimeRequired, DayTimesFocus::kButton, 0);
    DayTimes read;
    for (int n = 0; n < kDayTimeCount; ++n) {
        read[n] = -1;
        if (ReadDayTimeText(texts[n], block_minutes, &read[n]) == DayTimeRead::kInvalid) {
            QVN_Message(kMsgGroupGeneral, kInvalidTimeMessage);
            return {DayTimesFocus::kText, n};
        }
    }
    for (int k = 0; k < 3; ++k) {
        const int s = 2 * k, e = 2 * k + 1;
        if (read[s] >= 0 && read[e] < 0) return Refuse(kFullSpan, DayTimesFocus::kButton, e);
        if (read[s] >= 0 && read[s] > read[e]) return Refuse(kInvalidRange, DayTimesFocus::kButton, e);
        if (k > 0 && read[s] >= 0 && read[s] < read[s - 1]) return Refuse(kInvalidOrder, DayTimesFocus::kButton, s);
        if (read[e] >= 0 && read[s] < 0) return Refuse(kFullSpan, DayTimesFocus::kButton, s);
    }
    *times = read;
    return {};
}
