// Row filter, row texts and sorting of the resource selection list.
#include "controls/resource_list_rules.h"

#include <algorithm>
#include <cctype>

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int ca = std::tolower(static_cast<unsigned char>(a[i]));
        int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string SortKey(const ResourceRow& row, int column) {
    switch (column) {
    case 0: return row.id;
    case 1: return row.name + " " + row.title;
    default: return row.status;
    }
}

}  // namespace

bool ResourceRowIncluded(const ResourceRowSource& r, const ResourceFilter& filter) {
    bool wrong_class = filter.providerClass != kAnyProviderClass && r.providerClass != filter.providerClass;
    if (r.type == kResourceOperatory) return !wrong_class;
    if (filter.numberFilter == 1 && r.number.size() != 10) return false;
    if (filter.numberFilter != 0 && filter.numberFilter != 1) return false;
    if (r.inactive && !filter.includeInactive) return false;
    return !wrong_class;
}

std::string ResourceStatusText(const ResourceRowSource& r) {
    if (r.type == kResourceOperatory) return "";
    if (r.inactive) return "Inactive";
    if (r.type == kResourceStaff) return "Staff";
    return r.providerClass == 0 ? "Primary" : "Secondary";
}

ResourceRow MakeResourceRow(const ResourceRowSource& r) {
    ResourceRow row;
    row.id = r.id.substr(0, 4);
    row.name = r.type == kResourceOperatory ? r.title.substr(0, 21) : r.packedName.substr(0, 37);
    row.title = r.title;
    row.status = ResourceStatusText(r);
    return row;
}

ResourceRow MakeAllRow() {
    ResourceRow row;
    row.allRow = true;
    row.id = "<ALL";
    row.name = "<ALL>";
    return row;
}

std::string SortResourceRows(std::vector<ResourceRow>* rows, int column, bool descending) {
    if (column < 0 || column > 2) return "Lbrsc RscSortCompareFunc - Undefined case encountered";
    std::stable_sort(rows->begin(), rows->end(), [&](const ResourceRow& a, const ResourceRow& b) {
        if (a.allRow != b.allRow) return a.allRow;
        int order = CompareNoCase(SortKey(a, column), SortKey(b, column));
        if (order == 0) order = CompareNoCase(a.id, b.id);
        return descending ? order > 0 : order < 0;
    });
    return "";
}
