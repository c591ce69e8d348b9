// Rules of the resource selection list that do not need the list view: which resources become
// rows, their texts, and the sort order of the columns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum ResourceType : int { kResourceProvider = 1, kResourceStaff = 2, kResourceOperatory = 3 };
constexpr uint8_t kAnyProviderClass = 255;

// What a row is made from: the resource record's fields the list shows or filters by.
struct ResourceRowSource {
    int type = kResourceProvider;
    std::string id;            // 4 characters
    std::string packedName;    // "Last, First M" (people)
    std::string title;         // operatory title, or the person's title field
    uint8_t providerClass = 0; // 0 primary, 1 secondary
    std::string number;        // the 10-character number field, as stored
    bool inactive = false;
};

struct ResourceFilter {
    bool includeInactive = false;
    int numberFilter = 0;  // 0 all; 1 only a number of exactly 10 characters; other: none
    uint8_t providerClass = kAnyProviderClass;
};

// Whether the resource becomes a row. Operatory rows are filtered by class only.
bool ResourceRowIncluded(const ResourceRowSource& r, const ResourceFilter& filter);

// "Inactive", else "Primary"/"Secondary" for a provider and "Staff" for staff; "" for operatories.
std::string ResourceStatusText(const ResourceRowSource& r);

struct ResourceRow {
    bool allRow = false;  // the "<ALL>" row, always first
    std::string id;
    std::string name;     // packed name, or the operatory title
    std::string title;
    std::string status;
};

ResourceRow MakeResourceRow(const ResourceRowSource& r);
ResourceRow MakeAllRow();

// Sorts by column 0 (ID), 1 (name, a blank and the title) or 2 (status), case-insensitively,
// equal keys by ID; descending reverses both. The "<ALL>" row stays first. Any other column
// leaves the order and returns the debugging text to write, else "".
std::string SortResourceRows(std::vector<ResourceRow>* rows, int column, bool descending);
