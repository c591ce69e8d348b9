// Filling, sorting and emptying the resource list view. Rows come from resource_list_fill, their
// texts and order from resource_list_rules; this file owns the list view calls and the records
// the rows carry.
#include "controls/resource_list_win.h"

#include <commctrl.h>

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "controls/resource_list_fill.h"

namespace {

struct Column {
    const char* title;
    int width;
};
const Column kPeopleColumns[] = {{"ID", 50}, {"Name", 185}, {"Status", 64}};
const Column kOperatoryColumns[] = {{"ID", 37}, {"Operatory Title", 263}};

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

LPARAM ItemData(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

void SetText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void MakeColumns(const RscFillContext& context) {
    HWND list = context.list;
    while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const Column* columns = context.operatories ? kOperatoryColumns : kPeopleColumns;
    const int count = context.operatories ? 2 : 3;
    for (int c = 0; c < count; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[c].title);
        column.cx = context.columnWidth[c] > 0 ? context.columnWidth[c] : columns[c].width;
        column.iSubItem = c;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
}

// Appends a row carrying its own copy of the record.
bool AddRow(HWND list, const ResourceRecord& record, bool people) {
    auto copy = std::make_unique<ResourceRecord>(record);
    const ResourceRow row = RowOf(record);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = RowCount(list);
    item.pszText = const_cast<char*>(row.id.c_str());
    item.lParam = reinterpret_cast<LPARAM>(copy.get());
    const int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) return false;
    copy.release();  // the row owns it now
    SetText(list, at, 1, row.name);
    if (people) SetText(list, at, 2, row.status);
    return true;
}

using RowKey = std::tuple<bool, std::string, std::string, std::string, std::string>;
RowKey KeyOf(const ResourceRow& r) { return {r.allRow, r.id, r.name, r.title, r.status}; }

int CALLBACK CompareRanks(LPARAM a, LPARAM b, LPARAM ranks) {
    // Rows another module added without a record keep to the end.
    const auto& rank = *reinterpret_cast<const std::map<LPARAM, int>*>(ranks);
    const auto fa = rank.find(a), fb = rank.find(b);
    const int ra = fa == rank.end() ? INT_MAX : fa->second, rb = fb == rank.end() ? INT_MAX : fb->second;
    return ra < rb ? -1 : ra > rb ? 1 : 0;
}

}  // namespace

extern "C" int QVN_RscFillListCtrl(RscFillContext* context, int make_columns) {
    if (!context || !context->list) return -1;
    ResourceFilter filter;
    filter.includeInactive = context->includeInactive != 0;
    filter.numberFilter = context->numberFilter;
    filter.providerClass = context->providerClass;
    std::vector<ResourceRecord> records;
    const int read = ReadResourceRecords(FillResourceTypes(context->providers, context->staff, context->operatories),
                                         filter, [&](const ResourceRecord& r) { records.push_back(r); });
    if (read < 0) return -1;

    HWND list = context->list;
    if (make_columns == 1) {
        DeleteListControlData(list);
        MakeColumns(*context);
    }
    const bool people = !context->operatories;
    int added = 0;
    if (context->allRow && AddRow(list, AllRowRecord(), people)) ++added;
    for (const ResourceRecord& r : records)
        if (AddRow(list, r, people)) ++added;
    return added;
}

// The rows' order comes from SortResourceRows; the list view is then told each row's rank.
extern "C" void SortListCtrl(RscFillContext* context, int column) {
    if (!context || !context->list) return;
    HWND list = context->list;
    std::vector<ResourceRow> rows;
    std::multimap<RowKey, LPARAM> items;
    for (int i = 0; i < RowCount(list); ++i) {
        const LPARAM data = ItemData(list, i);
        if (!data) continue;
        const ResourceRow row = RowOf(*reinterpret_cast<const ResourceRecord*>(data));
        rows.push_back(row);
        items.emplace(KeyOf(row), data);
    }
    const std::string debug = SortResourceRows(&rows, column, context->descending != 0);
    if (!debug.empty()) {
        OutputDebugStringA(debug.c_str());
        return;
    }
    std::map<LPARAM, int> ranks;
    for (size_t i = 0; i < rows.size(); ++i) {
        auto found = items.find(KeyOf(rows[i]));  // rows equal in every text are interchangeable
        ranks[found->second] = static_cast<int>(i);
        items.erase(found);
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ranks), reinterpret_cast<LPARAM>(CompareRanks));
    context->sortColumn = column;
}

extern "C" void DeleteListControlData(HWND list) {
    for (int row = RowCount(list) - 1; row >= 0; --row) {
        delete reinterpret_cast<ResourceRecord*>(ItemData(list, row));
        SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
    }
}

const ResourceRecord* ResourceListRecord(HWND list, int row) {
    if (row < 0 || row >= RowCount(list)) return nullptr;
    return reinterpret_cast<const ResourceRecord*>(ItemData(list, row));
}
