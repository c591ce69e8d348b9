// The header list box's lines: sorted insertion, deletion with the focus line and groups, the
// scroll range, Tab, and the clipboard text.
#include <gtest/gtest.h>


#include "controls/header_list.h"

namespace {

constexpr uint32_t kNumeric = 3u << 10;

TEST(HeaderList, SortedInsertionKeepsArrivalOrderAmongEqualKeys) {
    struct Case {
        const char* what;
        uint32_t style;
        std::vector<std::string> texts;
        std::vector<int32_t> keys;
        std::vector<uint32_t> expectedData1;  // data1 = arrival number
    };
    const Case cases[] = {
        {"numeric", kNumeric, {"a", "b", "c", "d"}, {5, 3, 5, 1}, {4, 2, 1, 3}},
        {"text from column 3", 3, {"xxb", "aac", "zza", "qqb"}, {0, 0, 0, 0}, {3, 1, 4, 2}},
        {"time", 1 | (2u << 10), {" 1:00p", " 9:30a", "12:15p", " 9:30a", "12:05a"}, {0, 0, 0, 0, 0}, {5, 2, 4, 3, 1}},
        {"date", 1 | (1u << 10), {"03/02/26", "12/31/25", "03/02/26", "01/15/26"}, {0, 0, 0, 0}, {2, 4, 1, 3}},
        {"arrival order", 0, {"b", "a", "c"}, {9, 1, 5}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HeaderListModel list({6, 7}, c.style);
        for (size_t i = 0; i < c.texts.size(); ++i)
            list.Insert(c.texts[i], static_cast<uint32_t>(i + 1), 0, c.keys[i], 0, 0);
        std::vector<uint32_t> order;
        for (int i = 0; i < list.Count(); ++i) order.push_back(list.Line(i).data1);
        EXPECT_EQ(c.expectedData1, order);
    }
}

TEST(HeaderList, FocusSelectionAndScrollFollowInsertAndDelete) {
    HeaderListModel list({6}, kNumeric);
    list.SetVisibleCount(3);
    EXPECT_EQ(0, list.Insert("k5", 5, 0, 5, 0, 0));
    EXPECT_EQ(0, list.Current());  // the first line of an empty list takes the focus
    EXPECT_EQ(1, list.ScrollMax());
    list.Insert("k7", 7, 0, 7, 0, 0);
    list.Insert("k9", 9, 0, 9, 0, 0);
    ASSERT_TRUE(list.SetSelection(2, kSelSelect, false));
    EXPECT_EQ(0, list.Insert("k1", 1, 0, 1, 0, 0));  // before the focus line: it moves with its line
    EXPECT_EQ(3, list.Current());
    EXPECT_EQ(9u, list.Line(list.Current()).data1);
    EXPECT_EQ(1, list.ScrollMax());

    // Deleting the focus line's predecessor keeps the same line in focus.
    ASSERT_TRUE(list.Delete(2));
    EXPECT_EQ(2, list.Current());
    HeaderLine line;
    EXPECT_EQ(2, list.GetLine(-1, &line, false));
    EXPECT_EQ("k9", line.text);
    EXPECT_EQ(-1, list.GetLine(0, &line, true));

    EXPECT_FALSE(list.Delete(3));
    EXPECT_EQ(kHleNoLine, list.LastError());
    list.Clear();
    EXPECT_EQ(-1, list.Current());
    EXPECT_FALSE(list.Delete(0));
    EXPECT_EQ(kHleEmpty, list.LastError());

    // Selecting below the window scrolls line by line until it shows.
    for (int k = 0; k < 10; ++k) list.Insert("k", static_cast<uint32_t>(k), 0, k, 0, 0);
    EXPECT_EQ(7, list.ScrollMax());
    list.SetSelection(5, kSelSelect, false);
    EXPECT_EQ(3, list.Top());
    list.SetVisibleCount(8);  // the last page is kept full
    EXPECT_EQ(2, list.Top());
}

TEST(HeaderList, DeletingInAGroupRemovesTheWholeGroupOnly) {
    HeaderListModel list({6}, 0);
    const uint16_t marks[] = {0, kContinuationLine, 2, kContinuationLine, kContinuationLine, 1};
    for (uint32_t i = 0; i < 6; ++i) list.Insert("l", i, 0, 0, marks[i], 0);
    ASSERT_TRUE(list.DeleteGroup(4));
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ(5u, list.Line(2).data1);
    ASSERT_TRUE(list.DeleteGroup(0));
    ASSERT_EQ(1, list.Count());
    EXPECT_EQ(5u, list.Line(0).data1);
}

TEST(HeaderList, KeysClicksAndFocusLoss) {
    HeaderListModel list({6}, kHlsKeepSelection);
    list.SetVisibleCount(2);
    for (uint32_t i = 0; i < 4; ++i) list.Insert("l", i, 0, 0, 0, 0);
    list.SetSelection(1, kSelSelect, false);
    // Tab and Esc only tell the parent.
    EXPECT_EQ((std::vector<int>{1129, 1130, 1131}), (std::vector<int>{list.OnKey(ListKey::kTab, false, false), list.OnKey(ListKey::kTab, false, true),
                                                                      list.OnKey(ListKey::kTab, true, false)}));
    EXPECT_EQ(1, list.Current());
    EXPECT_TRUE(list.IsSelected(1));

    EXPECT_EQ(0, list.OnKey(ListKey::kDown, false, false));
    EXPECT_EQ(0, list.OnKey(ListKey::kDown, false, false));
    EXPECT_EQ(3, list.Current());
    EXPECT_FALSE(list.IsSelected(1));
    EXPECT_EQ(2, list.Top());
    list.OnKey(ListKey::kHome, false, false);
    EXPECT_EQ(0, list.Top());
    EXPECT_EQ(2, list.OnKey(ListKey::kEnter, false, false));
    EXPECT_EQ(2, list.OnClick(1, false, false, true));  // row 1 under top line 0
    EXPECT_EQ(1, list.Current());
    list.OnLoseFocus();
    EXPECT_TRUE(list.IsSelected(1));  // kept

    HeaderListModel plain({6}, kHlsMultiSelect);
    for (uint32_t i = 0; i < 3; ++i) plain.Insert("l", i, 0, 0, 0, 0);
    plain.OnClick(0, false, false, false);
    plain.OnClick(2, false, true, false);  // Ctrl adds
    EXPECT_TRUE(plain.IsSelected(0) && plain.IsSelected(2));
    plain.OnLoseFocus();
    EXPECT_EQ(-1, plain.Current());
    EXPECT_EQ(-1, plain.GetLine(-1, nullptr, false));
}

TEST(HeaderList, ClipboardTextByteForByte) {
    HeaderListModel list({3, 4, 5}, 0);
    list.Insert("ab cde f   rest ", 0, 0, 0, 0, 0);
    list.Insert("  continuation \xb7", 0, 0, 0, kContinuationLine, 0);
    list.Insert("x  y   z\xb9\xbd", 0, 0, 0, 0, 0);
    list.Insert("as is\xb8", 0, 0, 0, kGroupMarkAsIs, 0);
    list.Insert("1  2   3\xb8 ", 0, 0, 0, 1, 0);
    const std::string expected =
        "Title - Mon\n"
        "A\tBB\tCCC  tail\n"
        "ab\tcde\tf   rest \n"
        "  continuation \xb7\n"
        "x\ty\tz\xb9\xbb\n"
        "as is\xb8\n"
        "1\t2\t3  \n";
    EXPECT_EQ(expected, list.ClipboardText("Title - Mon", "A  BB  CCC  tail"));

    HeaderListModel tabs({3, 4}, kHlsTabColumns);
    tabs.Insert("a\tb c \xb7", 0, 0, 0, 0, 0);
    EXPECT_EQ("T\nA\tBB  \na\tb c  \n", tabs.ClipboardText("T", "A  BB  "));
}

TEST(HeaderList, MarkerCharactersBecomePictures) {
    const CellMarkers m = SplitCellMarkers("Smith\xb2\xb4\xb7\xbc");
    EXPECT_EQ("Smith", m.text);
    EXPECT_EQ((std::vector<MarkerPicture>{MarkerPicture::kReferral, MarkerPicture::kDiagnosis, MarkerPicture::kMedCc1,
                                          MarkerPicture::kMedCc1}),
              m.pictures);
    EXPECT_TRUE(m.rightMark);
    EXPECT_FALSE(SplitCellMarkers("Jones\xb8").rightMark);
}

}  // namespace
