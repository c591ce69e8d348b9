// The header list box's lines and the rules of its selection, scrolling and input.
#include "controls/header_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "suite/dates.h"

namespace {

std::string RightTrimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool IsMedMarker(unsigned char c) { return (c >= 183 && c <= 186) || (c >= 188 && c <= 191); }

}  // namespace

std::vector<int> ColumnEdges(const std::vector<int>& widths, int char_width) {
    std::vector<int> x{0};
    for (int w : widths) x.push_back(x.back() + w * char_width + 1);
    return x;
}

int VisibleRowsFor(int height, int caption_height, int line_height) {
    const int left = height - caption_height - 1;
    if (left < 0) return 1;
    if (line_height <= 0 || left < line_height) return 0;
    return left / line_height;
}

bool ReadListDateKey(const std::string& text, size_t at, int32_t* date) {
    if (at + 8 > text.size()) return false;
    *date = QVN_ParseDate(text.substr(at, 8));
    return *date != 0;
}

bool ReadListTimeKey(const std::string& text, size_t at, int* minutes) {
    if (at + 6 > text.size()) return false;
    const char* t = text.c_str() + at;
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : (c == ' ' ? 0 : -1); };
    const int h1 = digit(t[0]), h2 = digit(t[1]), m1 = digit(t[3]), m2 = digit(t[4]);
    if (h1 < 0 || h2 < 0 || m1 < 0 || m2 < 0 || t[2] != ':') return false;
    int hour = h1 * 10 + h2;
    const bool pm = t[5] == 'p' || t[5] == 'P';
    if (hour == 12) hour = 0;  // 12:xxa is just after midnight, 12:xxp just after noon
    if (pm) hour += 12;
    *minutes = hour * 60 + m1 * 10 + m2;
    return true;
}

HeaderListModel::HeaderListModel(std::vector<int> widths, uint32_t style) : widths_(std::move(widths)), style_(style) {
    if (widths_.size() > kHeaderListMaxColumns) widths_.resize(kHeaderListMaxColumns);
    // A list grows line by line; keep the array from being copied on every insertion.
    store_.reserve(64);
    order_.reserve(64);
}

int HeaderListModel::ScrollMax() const { return std::max(1, Count() - visible_); }

int HeaderListModel::InsertPlace(const std::string& text, int32_t sort_key) const {
    const int mode = HlsSortMode(style_);
    const size_t at = (style_ & kHlsSortKeyMask) ? (style_ & kHlsSortKeyMask) - 1 : 0;
    if (mode == kSortDate) {
        // An unreadable date stops the search: the line goes to the end.
        int32_t mine = 0;
        if (!ReadListDateKey(text, at, &mine)) return Count();
        for (int i = 0; i < Count(); ++i) {
            int32_t theirs = 0;
            if (!ReadListDateKey(Line(i).text, at, &theirs)) return Count();
            if (theirs > mine) return i;
        }
        return Count();
    }
    // Every line went in by the same order, so the list is sorted: the first greater line is
    // found by halving.
    auto greater = [&](const HeaderLine& line) -> bool {
        switch (mode) {
        case kSortNumeric: return line.sortKey > sort_key;
        case kSortTime: {
            int a = 0, b = 0;
            ReadListTimeKey(line.text, at, &a);
            ReadListTimeKey(text, at, &b);
            return a > b;
        }
        default: {
            const char* a = line.text.size() > at ? line.text.c_str() + at : "";
            const char* b = text.size() > at ? text.c_str() + at : "";
            return std::strcmp(a, b) > 0;
        }
        }
    };
    auto it = std::partition_point(order_.begin(), order_.end(), [&](uint32_t slot) { return !greater(store_[slot]); });
    return static_cast<int>(it - order_.begin());
}

int HeaderListModel::Insert(const std::string& text, uint32_t data1, uint32_t data2, int32_t sort_key,
                            uint16_t group_mark, uint8_t colour_index) {
    error_ = kHleNone;
    const bool sorted = (style_ & kHlsSortKeyMask) != 0 || HlsSortMode(style_) == kSortNumeric;
    int place = Count();
    if (sorted && !order_.empty()) place = InsertPlace(text, sort_key);
    HeaderLine line;
    line.text = text;
    line.data1 = data1;
    line.data2 = data2;
    line.sortKey = sort_key;
    line.groupMark = group_mark;
    line.colourIndex = colour_index;
    const bool was_empty = order_.empty();
    uint32_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        store_[slot] = std::move(line);
        free_.pop_back();
    } else {
        slot = static_cast<uint32_t>(store_.size());
        store_.push_back(std::move(line));
    }
    order_.insert(order_.begin() + place, slot);
    if (place < Count() - 1) {
        if (current_ >= place) ++current_;
    } else if (was_empty && current_ < 0) {
        current_ = 0;
    }
    return place;
}

bool HeaderListModel::Delete(int index) {
    error_ = kHleNone;
    if (order_.empty()) {
        Fail(kHleEmpty);
        return false;
    }
    if (index < 0 || index >= Count()) {
        Fail(kHleNoLine);
        return false;
    }
    const uint32_t slot = order_[static_cast<size_t>(index)];
    store_[slot] = HeaderLine{};
    free_.push_back(slot);
    order_.erase(order_.begin() + index);
    if (order_.empty()) {
        store_.clear();
        free_.clear();
    }
    if (current_ > index) --current_;
    if (top_ > index) --top_;
    if (current_ >= Count()) current_ = Count() - 1;
    top_ = std::clamp(top_, 0, std::max(0, Count() - visible_));
    return true;
}

bool HeaderListModel::DeleteGroup(int index) {
    error_ = kHleNone;
    if (order_.empty()) {
        Fail(kHleEmpty);
        return false;
    }
    if (index < 0 || index >= Count()) {
        Fail(kHleNoLine);
        return false;
    }
    int head = index;
    while (head > 0 && Line(head).groupMark == kContinuationLine) --head;
    int end = head + 1;
    while (end < Count() && Line(end).groupMark == kContinuationLine) ++end;
    for (int i = end - 1; i >= head; --i) Delete(i);
    return true;
}

void HeaderListModel::Clear() {
    store_.clear();
    order_.clear();
    free_.clear();
    current_ = -1;
    top_ = 0;
    error_ = kHleNone;
}

int HeaderListModel::GetLine(int index, HeaderLine* out, bool only_selected) const {
    error_ = kHleNone;
    if (index == -1) {
        for (int i = 0; i < Count(); ++i)
            if (Line(i).selected) {
                if (out) *out = Line(i);
                return i;
            }
        return -1;
    }
    if (index < 0 || index >= Count()) return -1;
    if (only_selected && !Line(index).selected) return -1;
    if (out) *out = Line(index);
    return index;
}

bool HeaderListModel::IsSelected(int index) const {
    return index >= 0 && index < Count() && Line(index).selected;
}

void HeaderListModel::ScrollIntoView(int index) {
    if (index < top_) top_ = index;
    else if (index > top_ + visible_ - 1) top_ = index - visible_ + 1;
    top_ = std::clamp(top_, 0, std::max(0, Count() - visible_));
}

bool HeaderListModel::SetSelection(int index, int operation, bool extend) {
    error_ = kHleNone;
    if (operation == kSelClearAll) {
        ClearSelections();
        return true;
    }
    if (operation == kSelNoFocus) {
        current_ = -1;
        return true;
    }
    if (order_.empty()) {
        Fail(kHleEmpty);
        return false;
    }
    if (index < 0 || index >= Count()) {
        Fail(kHleNoLine);
        return false;
    }
    HeaderLine& line = At(index);
    switch (operation) {
    case kSelSelect:
        if (!extend)
            ClearSelections();
        line.selected = true;
        current_ = index;
        ScrollIntoView(index);
        return true;
    case kSelFocus: current_ = index; return true;
    case kSelDeselect: line.selected = false; return true;
    default: return false;
    }
}

void HeaderListModel::SetVisibleCount(int count) {
    visible_ = std::max(1, count);
    top_ = std::clamp(top_, 0, std::max(0, Count() - visible_));
}

void HeaderListModel::ScrollBy(int lines) { ScrollTo(top_ + lines); }

void HeaderListModel::ScrollTo(int top) { top_ = std::clamp(top, 0, std::max(0, Count() - visible_)); }

int HeaderListModel::OnKey(ListKey key, bool shift, bool ctrl) {
    switch (key) {
    case ListKey::kTab: return ctrl ? kHlnCtrlTab : shift ? kHlnShiftTab : kHlnTab;
    case ListKey::kEscape: return kHlnTab;
    default: break;
    }
    if (current_ < 0 || order_.empty()) return kHlnNone;
    const bool multi = (style_ & kHlsMultiSelect) != 0;
    auto go = [&](int to) {
        to = std::clamp(to, 0, Count() - 1);
        if (multi && ctrl) {
            At(to).selected = !At(to).selected;
            current_ = to;
            ScrollIntoView(to);
        } else {
            SetSelection(to, kSelSelect, multi && shift);
        }
    };
    switch (key) {
    case ListKey::kUp: go(current_ - 1); return kHlnNone;
    case ListKey::kDown: go(current_ + 1); return kHlnNone;
    case ListKey::kHome: go(0); return kHlnNone;
    case ListKey::kEnd: go(Count() - 1); return kHlnNone;
    case ListKey::kSpace:
        if (multi) At(current_).selected = !At(current_).selected;
        return kHlnNone;
    case ListKey::kEnter: SetSelection(current_, kSelSelect, multi); return kHlnEnter;
    default: return kHlnNone;
    }
}

int HeaderListModel::OnClick(int row, bool shift, bool ctrl, bool double_click) {
    const int index = top_ + row;
    if (row < 0 || index >= Count()) return kHlnNone;
    const bool multi = (style_ & kHlsMultiSelect) != 0;
    if (multi && ctrl) {
        At(index).selected = !At(index).selected;
        current_ = index;
    } else {
        SetSelection(index, kSelSelect, multi && shift);
    }
    return double_click ? kHlnEnter : kHlnNone;
}

void HeaderListModel::OnLoseFocus() {
    if (style_ & kHlsKeepSelection) return;
    current_ = -1;
    ClearSelections();
}

void HeaderListModel::ClearSelections() {
    for (uint32_t slot : order_) store_[slot].selected = false;
}

std::vector<std::string> HeaderListModel::Cells(const std::string& text) const {
    if (!(style_ & kHlsTabColumns)) return WidthCells(text);
    std::vector<std::string> cells;
    const size_t columns = widths_.size();
    {
        size_t from = 0;
        for (size_t c = 0; c + 1 < columns; ++c) {
            const size_t tab = text.find('\t', from);
            if (tab == std::string::npos) break;
            cells.push_back(text.substr(from, tab - from));
            from = tab + 1;
        }
        cells.push_back(from < text.size() ? text.substr(from) : "");
    }
    return cells;
}

std::vector<std::string> HeaderListModel::WidthCells(const std::string& text) const {
    std::vector<std::string> cells;
    const size_t columns = widths_.size();
    size_t from = 0;
    for (size_t c = 0; c + 1 < columns; ++c) {
        const size_t w = static_cast<size_t>(std::max(0, widths_[c]));
        cells.push_back(from < text.size() ? text.substr(from, w) : "");
        from += w;
    }
    cells.push_back(from < text.size() ? text.substr(from) : "");
    return cells;
}

std::string HeaderListModel::ClipboardText(const std::string& title, const std::string& caption) const {
    std::string out = title + "\n";
    auto cut = [&](const std::string& text, bool tab_columns) {
        if (tab_columns) return text;
        std::vector<std::string> cells = WidthCells(text);
        std::string joined;
        for (size_t c = 0; c + 1 < cells.size(); ++c) joined += RightTrimmed(cells[c]) + "\t";
        joined += cells.back();
        return joined;
    };
    out += cut(caption, false) + "\n";
    out.reserve(out.size() + order_.size() * 96);
    for (uint32_t slot : order_) {
        const HeaderLine& line = store_[slot];
        if (line.groupMark == kContinuationLine || line.groupMark == kGroupMarkAsIs) {
            out += line.text + "\n";
            continue;
        }
        std::string text = cut(line.text, (style_ & kHlsTabColumns) != 0);
        for (size_t i = text.size(); i-- > 0;) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (!IsMedMarker(c)) continue;
            text[i] = c <= 186 ? ' ' : static_cast<char>(187);
            break;
        }
        out += text + "\n";
    }
    return out;
}

CellMarkers SplitCellMarkers(const std::string& cell) {
    CellMarkers m;
    size_t end = cell.size();
    while (end > 0) {
        const unsigned char c = static_cast<unsigned char>(cell[end - 1]);
        if (c != 178 && c != 180 && !IsMedMarker(c)) break;
        --end;
    }
    m.text = cell.substr(0, end);
    for (size_t i = end; i < cell.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(cell[i]);
        if (c == 178) m.pictures.push_back(MarkerPicture::kReferral);
        else if (c == 180) m.pictures.push_back(MarkerPicture::kDiagnosis);
        else {
            const int n = c <= 186 ? c - 183 : c - 188;
            m.pictures.push_back(static_cast<MarkerPicture>(static_cast<int>(MarkerPicture::kMedCc1) + n));
            if (c >= 188) m.rightMark = true;
        }
    }
    return m;
}
