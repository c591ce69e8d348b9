// The month view's bands, time axis, bars, click and scrolling.
#include "views/month_view.h"

#include <algorithm>
#include <cstdio>

#include "suite/dates.h"

namespace {
constexpr int kUnitsPerHour = 12;
constexpr int kLastDayUnit = 289;
}  // namespace

std::vector<int32_t> MonthBandDates(int32_t reference, const int (&weekdays)[kViewDays], int* reference_band) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(reference, &month, &day, &year);
    const int32_t first = QVN_DateIn(month, 1, year);
    const int days = QVN_DaysInMonth(month, year);
    std::vector<int32_t> bands;
    int reference_at = -1;
    for (int32_t date = first; date < first + days; ++date) {
        const int weekday = QVN_week_day(date);
        bool shown = false;
        for (int i = 0; i < kViewDays && weekdays[i] != 0; ++i) shown = shown || weekdays[i] == weekday;
        if (!shown) continue;
        if (reference_at < 0 && date >= reference) reference_at = static_cast<int>(bands.size());
        bands.push_back(date);
    }
    if (reference_band) *reference_band = reference_at >= 0 ? reference_at : std::max(0, static_cast<int>(bands.size()) - 1);
    return bands;
}

int MonthFirstBand(int bands, int reference_band, int band_height, int sheet_height) {
    if (band_height <= 0 || bands * band_height <= sheet_height) return 0;
    const int fit = sheet_height / band_height;
    if ((bands - reference_band) * band_height < sheet_height) return std::max(0, bands - fit);
    return reference_band;
}

int MonthAxis::X(int unit) const {
    const int span = std::max(1, me - ms);
    const double available = static_cast<double>(Right() - captionWidth);
    return captionWidth + static_cast<int>(static_cast<double>(unit - ms) * available / span);
}

int MonthAxis::Right() const { return amounts ? sheetWidth - amountWidth : sheetWidth; }

int MonthAxis::UnitAt(int x) const {
    if (x < captionWidth || x >= Right()) return -1;
    int unit = ms;
    while (unit + 1 < me && X(unit + 1) <= x) ++unit;
    return unit;
}

MonthAxis MakeMonthAxis(int sheet_width, int x_width, bool amounts, int ms, int me) {
    MonthAxis a;
    a.ms = ms;
    a.me = me;
    a.captionWidth = 5 * x_width;
    a.amountWidth = 6 * x_width;
    a.sheetWidth = sheet_width;
    a.amounts = amounts;
    return a;
}

std::vector<MonthBar> MonthBars(const MonthAxis& axis, const uint8_t* counters) {
    std::vector<MonthBar> bars;
    for (int u = axis.ms; u < axis.me;) {
        const int value = counters[u];
        int end = u + 1;
        while (end < axis.me && counters[end] == value) ++end;
        if (value != 0) bars.push_back({axis.X(u), axis.X(end), value});
        u = end;
    }
    return bars;
}

int MonthClickTopUnit(int clicked_unit, int span, int current_top) {
    const int hour = clicked_unit / kUnitsPerHour * kUnitsPerHour;
    if (hour < kUnitsPerHour) return current_top;
    int top = hour - kUnitsPerHour;
    if (top + span >= kLastDayUnit) top = (kLastDayUnit + 1 - span) / kUnitsPerHour * kUnitsPerHour;
    return top;
}

bool MonthScroll::LineUp() {
    if (first < 1) return false;
    --first;
    --last;
    return true;
}

bool MonthScroll::LineDown() {
    if (last >= bands - 1) return false;
    ++first;
    ++last;
    return true;
}

bool MonthScroll::PageUp() {
    const int step = std::min(page, first);
    if (step <= 0) return false;
    first -= step;
    last -= step;
    return true;
}

bool MonthScroll::PageDown() {
    const int step = std::min(page, bands - 1 - last);
    if (step <= 0) return false;
    first += step;
    last += step;
    return true;
}

bool MonthScroll::Thumb(int position) {
    if (first == 0 && last >= bands - 1) return false;  // every band is shown already
    const int visible = last - first;
    position = std::clamp(position, 0, std::max(0, bands - 1 - visible));
    if (position == first) return false;
    first = position;
    last = position + visible;
    return true;
}

int MonthScroll::RangeEnd() const { return std::max(1, bands - last - 1 + first); }

int MonthPageSize(const int (&weekdays)[kViewDays], bool later_layout) {
    int n = 0;
    while (n < kViewDays && weekdays[n] != 0) ++n;
    return later_layout ? std::min(7, n + 1) : std::min(6, n);
}

MonthViewState month_view;

int MonthLastBand(int first, int bands, int band_height, int height) {
    if (bands <= 0) return -1;
    const int fit = band_height > 0 ? std::max(1, height / band_height) : 1;
    return std::min(bands - 1, first + fit - 1);
}

void StartMonthScroll(int bands, int reference_band, int band_height, int sheet_height,
                      const int (&weekdays)[kViewDays]) {
    MonthScroll& s = month_view.scroll;
    s.bands = bands;
    s.first = MonthFirstBand(bands, reference_band, band_height, sheet_height);
    s.last = std::max(s.first, MonthLastBand(s.first, bands, band_height, sheet_height));
    s.page = MonthPageSize(weekdays, false);
}

int MonthBandAt(int first, int bands, int band_height, int y) {
    if (band_height <= 0 || y < 0) return -1;
    const int band = first + y / band_height;
    return band < bands ? band : -1;
}

bool MonthSheetHit(const MonthAxis& axis, int first, int bands, int band_height, int x, int y, MonthHit* hit) {
    const int band = MonthBandAt(first, bands, band_height, y);
    const int unit = axis.UnitAt(x);
    if (band < 0 || unit < 0) return false;
    hit->band = band;
    hit->hourUnit = unit / kUnitsPerHour * kUnitsPerHour;
    return true;
}

std::string MonthBandLabel(int32_t date) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(date, &month, &day, &year);
    return std::string(QVN_getday_name(QVN_week_day(date))).substr(0, 2) + " " + std::to_string(day);
}

std::string MonthTitle(int32_t date) {
    int month = 0, day = 0, year = 0;
    QVN_DateOut(date, &month, &day, &year);
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", QVN_getmonth_name(month), year);
    return text;
}

std::string MonthHourLabel(int unit) {
    const int hour = unit / kUnitsPerHour % 24;
    char text[8];
    std::snprintf(text, sizeof text, "%2d%c", hour % 12 == 0 ? 12 : hour % 12, hour < 12 ? 'a' : 'p');
    return text;
}
