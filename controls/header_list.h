// The header list box's lines: insertion in one of four sort orders, groups of a head line and
// its continuation lines, the focus line and the selections, the scroll range, the keyboard and
// mouse rules and the clipboard text. The window classes in header_list_win.cpp keep one of these
// per list and only paint and forward input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kHeaderListMaxColumns = 11;
constexpr uint16_t kContinuationLine = 0xFFFF;  // a line that belongs to the line above
constexpr uint16_t kGroupMarkAsIs = 4;          // copied to the clipboard as it stands
constexpr int kHeaderListColours = 21;          // entry 0: black, the normal text colour

// Style bits of the control.
constexpr uint32_t kHlsSortKeyMask = 0x00FF;      // 1-based position of the sort key in the text
constexpr uint32_t kHlsMultiSelect = 0x0100;
constexpr uint32_t kHlsExtraPixel = 0x0200;       // one more pixel of line height
constexpr uint32_t kHlsKeepSelection = 0x1000;
constexpr uint32_t kHlsTabColumns = 0x2000;
constexpr uint32_t kHlsHidden = 0x8000;
constexpr int HlsSortMode(uint32_t style) { return static_cast<int>((style >> 10) & 3); }

enum HeaderListSortMode : int { kSortText = 0, kSortDate = 1, kSortTime = 2, kSortNumeric = 3 };
enum HeaderListAlign : int { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };

// What the list tells its parent (high word of the command message).
enum HeaderListCode : int {
    kHlnNone = 0,
    kHlnEnter = 2,
    kHlnSetFocus = 7,
    kHlnKillFocus = 8,
    kHlnTab = 1129,       // Tab or Esc
    kHlnCtrlTab = 1130,
    kHlnShiftTab = 1131,
};

// Operations of SetSelection.
enum HeaderListSelect : int {
    kSelSelect = 1,      // select, make it the focus line, scroll it into view
    kSelFocus = 2,       // move the focus line to it
    kSelNoFocus = 3,     // no focus line
    kSelDeselect = 4,
    kSelClearAll = 5,
};

// Keys the list handles, independent of the virtual-key numbers of the window side.
enum class ListKey { kUp, kDown, kHome, kEnd, kSpace, kEnter, kTab, kEscape, kOther };

struct HeaderLine {
    std::string text;
    bool selected = false;
    uint8_t colourIndex = 0;
    uint32_t data1 = 0;
    uint32_t data2 = 0;
    int32_t sortKey = 0;
    uint16_t groupMark = 0;
};

// Failures the window side reports as the numbered messages of group 6.
enum HeaderListError : int { kHleNone = 0, kHleNoLine = 3185, kHleEmpty = 3186 };

class HeaderListModel {
public:
    // Column widths in characters (at most 11 are taken), the style bits.
    HeaderListModel(std::vector<int> widths, uint32_t style);

    // The new line's index. Sorted lists put it behind every line that compares equal.
    int Insert(const std::string& text, uint32_t data1, uint32_t data2, int32_t sort_key, uint16_t group_mark,
               uint8_t colour_index);
    // False (and the error) for an index beyond the lines or an empty list.
    bool Delete(int index);
    // Deletes the head of the group that holds index and all its continuation lines.
    bool DeleteGroup(int index);
    void Clear();

    // index -1: the first selected line. The index, or -1 (with only_selected, a line that is
    // not selected gives -1 too).
    int GetLine(int index, HeaderLine* out, bool only_selected) const;
    bool IsSelected(int index) const;
    bool SetSelection(int index, int operation, bool extend);

    // The rows that fit; pulls the top line back so that the last page is full.
    void SetVisibleCount(int count);
    // Scroll bar: line up/down (+-1), page (+-(visible - 1)), to a position.
    void ScrollBy(int lines);
    void ScrollTo(int top);

    // Input; each returns the code to send to the parent (kHlnNone for none).
    int OnKey(ListKey key, bool shift, bool ctrl);
    // A left click at row offset y / line height; the code (Enter for a double click).
    int OnClick(int row, bool shift, bool ctrl, bool double_click);
    void OnLoseFocus();

    // Cut a text into its column pieces: by width, or at tabs in a tab-column list. The last
    // piece is the rest of the text.
    std::vector<std::string> Cells(const std::string& text) const;
    // The same by widths whatever the style: the caption is always cut so.
    std::vector<std::string> WidthCells(const std::string& text) const;
    // The clipboard text: title, the caption cut into columns, then every line; each ends "\n".
    std::string ClipboardText(const std::string& title, const std::string& caption) const;

    int Count() const { return static_cast<int>(order_.size()); }
    const HeaderLine& Line(int index) const { return store_[order_[static_cast<size_t>(index)]]; }
    int Top() const { return top_; }
    int Current() const { return current_; }
    int Visible() const { return visible_; }
    int ScrollMax() const;  // the scroll range is 0 to this
    int LastError() const { return error_; }
    const std::vector<int>& Widths() const { return widths_; }
    uint32_t Style() const { return style_; }

private:
    // The first line that compares greater than the new one (lineCount when none does).
    int InsertPlace(const std::string& text, int32_t sort_key) const;
    void ScrollIntoView(int index);
    void Fail(int error) const { error_ = error; }

    std::vector<int> widths_;
    uint32_t style_;
    HeaderLine& At(int index) { return store_[order_[static_cast<size_t>(index)]]; }
    void ClearSelections();

    // The lines stay where they were stored; the list's order is a vector of their slots, so
    // that a line inserted in the middle moves four bytes per line behind it, not whole records.
    std::vector<HeaderLine> store_;
    std::vector<uint32_t> order_;
    std::vector<uint32_t> free_;  // slots of deleted lines, used again
    int top_ = 0;
    int current_ = -1;
    int visible_ = 1;
    mutable int error_ = kHleNone;
};

// Left pixel edges of the columns and, last, the right end: each column is its width in average
// characters plus one pixel.
std::vector<int> ColumnEdges(const std::vector<int>& widths, int char_width);

// The rows that fit below the caption bar, 0 when the height leaves less than one line (the
// control is then not made); a height smaller than the caption bar's gives one row.
int VisibleRowsFor(int height, int caption_height, int line_height);

// The character at the sort key position read as a date (8 characters "mm/dd/yy") or a time
// (6 characters "hh:mma"); false when unreadable.
bool ReadListDateKey(const std::string& text, size_t at, int32_t* date);
bool ReadListTimeKey(const std::string& text, size_t at, int* minutes);

// The pictures of a left-aligned cell's trailing marker characters, right to left from the
// cell's end: 178 "REFR_BMP", 180 "DIAG_BMP", 183-186 and 188-191 "MED_CC1".."MED_CC4"; and
// whether the right-pointing mark (187) goes at the cell's end.
enum class MarkerPicture { kReferral, kDiagnosis, kMedCc1, kMedCc2, kMedCc3, kMedCc4 };
struct CellMarkers {
    std::string text;                   // the cell without its marker characters
    std::vector<MarkerPicture> pictures;  // in the order of the characters
    bool rightMark = false;
};
CellMarkers SplitCellMarkers(const std::string& cell);
