// Resource list rows: which resources appear, their status texts and the column sorts.
#include <gtest/gtest.h>

#include "controls/resource_list_rules.h"

namespace {

ResourceRowSource Provider(const char* id, const char* name, uint8_t klass = 0, bool inactive = false) {
    ResourceRowSource r;
    r.id = id;
    r.packedName = name;
    r.providerClass = klass;
    r.inactive = inactive;
    r.number = "1234567890";
    return r;
}

std::vector<std::string> Ids(const std::vector<ResourceRow>& rows) {
    std::vector<std::string> ids;
    for (const ResourceRow& r : rows) ids.push_back(r.id);
    return ids;
}

}  // namespace

// The filter's common cases run on stored records in resource_list_fill_test.cpp; these are the rest.
TEST(ResourceList, RowFilterOddValuesAndStatusTexts) {
    ResourceFilter numbered;
    numbered.numberFilter = 2;
    EXPECT_FALSE(ResourceRowIncluded(Provider("DR1 ", "Adams, A"), numbered)) << "any other value lists none";
    ResourceRowSource op;
    op.type = kResourceOperatory;
    op.inactive = true;
    op.number = "";
    numbered.numberFilter = 1;
    EXPECT_TRUE(ResourceRowIncluded(op, numbered)) << "operatories are filtered by class only";

    ResourceRowSource staff = Provider("ST1 ", "D");
    staff.type = kResourceStaff;
    EXPECT_EQ("Secondary|Inactive|Staff", ResourceStatusText(Provider("HYG ", "B", 1)) + "|" +
                                              ResourceStatusText(Provider("OLD ", "C", 0, true)) + "|" + ResourceStatusText(staff));
}

TEST(ResourceList, SortsKeepAllFirstAndBreakTiesById) {
    std::vector<ResourceRow> rows = {
        MakeResourceRow(Provider("DR2 ", "smith, john")),
        MakeResourceRow(Provider("DR1 ", "Smith, John")),
        MakeAllRow(),
        MakeResourceRow(Provider("AAA ", "Jones, Ann", 0, true)),
        MakeResourceRow(Provider("ZZZ ", "Brown, Bo", 1)),
    };
    EXPECT_EQ("", SortResourceRows(&rows, 1, false));
    EXPECT_EQ((std::vector<std::string>{"<ALL", "ZZZ ", "AAA ", "DR1 ", "DR2 "}), Ids(rows))
        << "same names in any case are ordered by ID";

    EXPECT_EQ("", SortResourceRows(&rows, 1, true));
    EXPECT_EQ("<ALL", Ids(rows)[0]) << "<ALL> stays first when descending";

    EXPECT_EQ("", SortResourceRows(&rows, 2, false));
    EXPECT_EQ((std::vector<std::string>{"<ALL", "AAA ", "DR1 ", "DR2 ", "ZZZ "}), Ids(rows)) << "Inactive < Primary < Secondary";

    std::vector<ResourceRow> before = rows;
    EXPECT_EQ("Lbrsc RscSortCompareFunc - Undefined case encountered", SortResourceRows(&rows, 3, false));
    EXPECT_EQ(Ids(before), Ids(rows));
}
