// The resource selection list in real list views on a real practice database: the fill with
// its columns and row texts, the sorts, the cleanup, the exports by name; and the Select
// resource dialog with its start row, header-click sorts, result text and automatic flag.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "../native/practice_test_database.h"
#include "controls/resource_list_fill.h"
#include "controls/resource_list_win.h"
#include "controls/select_resource_dialog_win.h"
#include "data/record_text.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/qdb/qdb.h"

using namespace dialog_driver;

namespace {

ResourceRecord Person(uint8_t kind, const char* id, const char* last, const char* first, uint8_t klass = 0,
                      bool inactive = false) {
    ResourceRecord r{};
    r.kind = kind;
    PutId(r.id, id);
    PutText(r.names.lastName, last);
    PutText(r.names.firstName, first);
    r.providerClass = klass;
    r.inactive = inactive ? 1 : 0;
    return r;
}

ResourceRecord Operatory(const char* id, const char* title) {
    ResourceRecord r{};
    r.kind = kResourceKindOperatory;
    PutId(r.id, id);
    PutText(r.names.title, title);
    return r;
}

void AddPeople(PracticeTestDatabase& db) {
    for (const ResourceRecord& r : {Person(kResourceKindProvider, "DR2", "Smith", "John"),
                                    Person(kResourceKindProvider, "DR1", "Smith", "John"),
                                    Person(kResourceKindProvider, "HYG", "Dunn", "Dana", 1),
                                    Person(kResourceKindProvider, "OLD", "Adams", "Al", 0, true),
                                    Person(kResourceKindStaff, "ST1", "Baker", "Bea")})
        ASSERT_EQ(kQdbOk, db.Add(kResourceFile, r));
}

std::string CellText(HWND list, int row, int column) {
    char text[128] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) texts.push_back(CellText(list, r, column));
    return texts;
}

struct Heading {
    std::string title;
    int width;
};
std::vector<Heading> Headings(HWND list) {
    std::vector<Heading> headings;
    for (int c = 0;; ++c) {
        char text[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column))) break;
        headings.push_back({text, column.cx});
    }
    return headings;
}

// A top-level window with a report list view, destroyed (rows freed) at the end.
class ListWindow {
public:
    ListWindow() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        frame_ = CreateWindowExA(0, "STATIC", "list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 480, 360, frame_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ListWindow() {
        DeleteListControlData(list_);
        DestroyWindow(frame_);
    }
    HWND List() const { return list_; }

private:
    HWND frame_, list_;
};

}  // namespace

TEST(ResourceListView, FillsColumnsAndRowsSortsAndFreesThem) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    AddPeople(db);
    ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Operatory("OP2", "Hygiene room")));
    ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Operatory("OP1", "Surgery")));
    ListWindow window;
    HWND list = window.List();

    RscFillContext c{};
    c.list = list;
    c.providers = c.staff = c.allRow = 1;
    c.providerClass = 255;
    c.columnWidth[2] = 80;
    ASSERT_EQ(5, QVN_RscFillListCtrl(&c, 1));
    const std::vector<Heading> people = Headings(list);
    ASSERT_EQ(3u, people.size());
    EXPECT_EQ("ID", people[0].title);
    EXPECT_EQ(50, people[0].width);
    EXPECT_EQ("Name", people[1].title);
    EXPECT_EQ(185, people[1].width);
    EXPECT_EQ("Status", people[2].title);
    EXPECT_EQ(80, people[2].width) << "a width given in the context";
    EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    EXPECT_EQ((std::vector<std::string>{"<ALL", "DR1 ", "DR2 ", "HYG ", "ST1 "}), Column(list, 0));
    EXPECT_EQ((std::vector<std::string>{"<ALL>", "Smith, John", "Smith, John", "Dunn, Dana", "Baker, Bea"}), Column(list, 1));
    EXPECT_EQ((std::vector<std::string>{"", "Primary", "Primary", "Secondary", "Staff"}), Column(list, 2));
    const ResourceRecord* second = ResourceListRecord(list, 1);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(0, std::memcmp("Smith", second->names.lastName, 5)) << "each row carries its whole record";

    SortListCtrl(&c, 1);
    EXPECT_EQ((std::vector<std::string>{"<ALL", "ST1 ", "HYG ", "DR1 ", "DR2 "}), Column(list, 0))
        << "by name, equal names by ID";
    EXPECT_EQ(1, c.sortColumn);
    c.descending = 1;
    SortListCtrl(&c, 1);
    EXPECT_EQ((std::vector<std::string>{"<ALL", "DR2 ", "DR1 ", "HYG ", "ST1 "}), Column(list, 0))
        << "<ALL> stays first descending";
    c.descending = 0;
    SortListCtrl(&c, 2);
    EXPECT_EQ((std::vector<std::string>{"<ALL", "DR1 ", "DR2 ", "HYG ", "ST1 "}), Column(list, 0));
    SortListCtrl(&c, 7);
    EXPECT_EQ((std::vector<std::string>{"<ALL", "DR1 ", "DR2 ", "HYG ", "ST1 "}), Column(list, 0));
    EXPECT_EQ(2, c.sortColumn) << "an undefined column changes nothing";

    // Inactive ones on request; without make columns the rows are added to those there.
    c.allRow = 0;
    c.staff = 0;
    c.includeInactive = 1;
    ASSERT_EQ(4, QVN_RscFillListCtrl(&c, 0));
    EXPECT_EQ(9, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("Inactive", Column(list, 2)[8]);

    RscFillContext ops{};
    ops.list = list;
    ops.operatories = 1;
    ops.providers = 1;  // operatories win
    ops.providerClass = 255;
    ASSERT_EQ(2, QVN_RscFillListCtrl(&ops, 1));
    const std::vector<Heading> op_headings = Headings(list);
    ASSERT_EQ(2u, op_headings.size());
    EXPECT_EQ("ID", op_headings[0].title);
    EXPECT_EQ(37, op_headings[0].width);
    EXPECT_EQ("Operatory Title", op_headings[1].title);
    EXPECT_EQ(263, op_headings[1].width);
    EXPECT_EQ((std::vector<std::string>{"OP1 ", "OP2 "}), Column(list, 0));
    EXPECT_EQ((std::vector<std::string>{"Surgery", "Hygiene room"}), Column(list, 1));

    // No database session to be had: -1 and the list as it was.
    DbEndSession();
    QDB_InitDataBase((db.Dir() + "/missing").c_str());
    EXPECT_EQ(-1, QVN_RscFillListCtrl(&c, 1));
    EXPECT_EQ(2, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    QDB_InitDataBase(db.Dir().c_str());

    DeleteListControlData(list);
    EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    HMODULE program = GetModuleHandleA(nullptr);
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(program, "QVN_RscFillListCtrl")));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(program, "SortListCtrl")));
    EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(program, "DeleteListControlData")));
}

TEST(SelectResourceDialog, StartsOnTheBufferIdSortsOnHeaderClicksAndHandsBackIdAndName) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    AddPeople(db);

    struct Seen {
        bool found = false, inactiveBoxHidden = false;
        std::vector<std::string> rows, byName, byNameDescending;
        int selected = -1;
    } seen;
    auto click_header = [](HWND list, int column) {
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        RECT r = {};
        SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(header, WM_LBUTTONUP, 0, at);
        Sleep(300);
    };
    Driver driver([&] {
        HWND dialog = WaitForDialog("Select Provider");
        if (!dialog) return;
        seen.found = true;
        HWND list = GetDlgItem(dialog, IDC_SELECT_RSC_LIST);
        seen.inactiveBoxHidden = !IsWindowVisible(GetDlgItem(dialog, IDC_SELECT_RSC_INACTIVE));
        seen.rows = Column(list, 0);
        seen.selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        click_header(list, 1);
        seen.byName = Column(list, 0);
        click_header(list, 1);
        seen.byNameDescending = Column(list, 0);
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));  // DR1 in that order
        Press(dialog, IDOK);
        WaitGone(dialog);
    });
    char buffer[40] = "DR2";
    const std::string id = driver.Run([&] {
        return SelectResource(nullptr, GetModuleHandleA(nullptr), 1, buffer, sizeof buffer, false);
    });
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.inactiveBoxHidden);
    EXPECT_EQ((std::vector<std::string>{"DR1 ", "DR2 ", "HYG "}), seen.rows) << "sorted by ID, no inactive, no <ALL>";
    EXPECT_EQ(1, seen.selected) << "the ID already in the buffer";
    EXPECT_EQ((std::vector<std::string>{"HYG ", "DR1 ", "DR2 "}), seen.byName);
    EXPECT_EQ((std::vector<std::string>{"DR2 ", "DR1 ", "HYG "}), seen.byNameDescending)
        << "a second click on the same title turns the order round";
    EXPECT_EQ("DR1 ", id);
    EXPECT_STREQ("DR1  Smith, John", buffer);

    // Secondary providers only; Cancel gives nothing and leaves the buffer.
    Driver cancel([&] {
        HWND dialog = WaitForDialog("Select Provider");
        if (!dialog) return;
        seen.rows = Column(GetDlgItem(dialog, IDC_SELECT_RSC_LIST), 0);
        Press(dialog, IDCANCEL);
        WaitGone(dialog);
    });
    char small[5] = "DR1";
    EXPECT_EQ("", cancel.Run([&] { return SelectResource(nullptr, GetModuleHandleA(nullptr), 11, small, sizeof small, false); }));
    EXPECT_EQ((std::vector<std::string>{"HYG "}), seen.rows);
    EXPECT_STREQ("DR1", small);
}

TEST(SelectResourceDialog, TheAutomaticFlagEndsAtOnceOnOneRowOrNone) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    ASSERT_EQ(kQdbOk, db.Add(kResourceFile, Operatory("OP1", "Surgery")));

    bool shown = false;
    Driver watch([&] {
        shown = WaitForDialog("Select Operatory", nullptr, 1000) != nullptr || WaitForDialog("Select Staff", nullptr, 500) != nullptr;
    });
    char buffer[32] = "";
    char staff[32] = "x";
    std::string staff_id = "?";
    const std::string id = watch.Run([&] {
        staff_id = SelectResource(nullptr, GetModuleHandleA(nullptr), 2, staff, sizeof staff, true);
        return SelectResource(nullptr, GetModuleHandleA(nullptr), 3, buffer, sizeof buffer, true);
    });
    EXPECT_FALSE(shown) << "neither dialog shows";
    EXPECT_EQ("OP1 ", id) << "the single operatory is chosen";
    EXPECT_STREQ("OP1  Surgery", buffer);
    EXPECT_EQ("", staff_id) << "no staff at all: no result";
    EXPECT_STREQ("x", staff);
}
