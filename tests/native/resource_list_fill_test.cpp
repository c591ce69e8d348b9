// The resource selection list's reading on a real practice database: types in index order, the
// row filter on stored records, a session of its own when the program has none and -1 when none
// can be started; the Select resource dialog's choices, start row and result text; the filter's
// odd values, the status texts and the column sorts.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/resource_list_fill.h"
#include "controls/resource_list_rules.h"
#include "data/record_text.h"
#include "practice_test_database.h"
#include "suite/qdb/qdb.h"
#include "suite/settings.h"

namespace {

ResourceRecord Person(uint8_t kind, const char* id, const char* last, const char* first, const char* initial = "",
                      uint8_t klass = 0, bool inactive = false, const char* number = "") {
    ResourceRecord r{};
    r.kind = kind;
    PutId(r.id, id);
    PutText(r.names.lastName, last);
    PutText(r.names.firstName, first);
    PutText(r.names.middleInitial, initial);
    r.providerClass = klass;
    r.inactive = inactive ? 1 : 0;
    std::memcpy(r.number, number, std::min<size_t>(std::strlen(number), sizeof r.number));
    return r;
}

ResourceRecord Operatory(const char* id, const char* title) {
    ResourceRecord r{};
    r.kind = kResourceKindOperatory;
    PutId(r.id, id);
    PutText(r.names.title, title);
    return r;
}

void AddResources(PracticeTestDatabase& db) {
    for (const ResourceRecord& r : {
             Person(kResourceKindProvider, "DR2", "Smith", "John", "A", 0, false, "1234567890"),
             Person(kResourceKindProvider, "DR1", "Smith", "John", "A", 0, false, "12345"),
             Person(kResourceKindProvider, "HYG", "Dunn", "Dana", "", 1, false, "0987654321"),
             Person(kResourceKindProvider, "OLD", "Adams", "Al", "", 0, true, "1111111111"),
             Person(kResourceKindStaff, "ST1", "Baker", "Bea"),
             Operatory("OP2", "Hygiene room"),
             Operatory("OP1", "Surgery"),
         })
        ASSERT_EQ(kQdbOk, db.Add(kResourceFile, r));
}

std::vector<std::string> Read(const std::vector<int>& types, const ResourceFilter& filter, int* count = nullptr) {
    std::vector<std::string> ids;
    int n = ReadResourceRecords(types, filter, [&](const ResourceRecord& r) { ids.push_back(std::string(r.id, 4)); });
    if (count) *count = n;
    return ids;
}

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

TEST(ResourceListFill, ReadsTheChosenTypesInIndexOrderThroughTheFilter) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    AddResources(db);

    int count = 0;
    EXPECT_EQ((std::vector<std::string>{"DR1 ", "DR2 ", "HYG ", "ST1 "}),
              Read(FillResourceTypes(true, true, false), ResourceFilter{}, &count));
    EXPECT_EQ(4, count);
    EXPECT_EQ((std::vector<int>{kResourceOperatory}), FillResourceTypes(true, true, true)) << "operatories instead of people";
    EXPECT_EQ((std::vector<std::string>{"OP1 ", "OP2 "}), Read(FillResourceTypes(false, false, true), ResourceFilter{}));

    ResourceFilter inactive;
    inactive.includeInactive = true;
    EXPECT_EQ((std::vector<std::string>{"DR1 ", "DR2 ", "HYG ", "OLD "}), Read({kResourceProvider}, inactive));
    ResourceFilter numbered;
    numbered.numberFilter = 1;
    EXPECT_EQ((std::vector<std::string>{"DR2 ", "HYG "}), Read({kResourceProvider}, numbered));
    ResourceFilter secondary;
    secondary.providerClass = 1;
    EXPECT_EQ((std::vector<std::string>{"HYG "}), Read({kResourceProvider, kResourceStaff}, secondary));

    // Without the program's session the fill starts one of its own and ends it again.
    DbEndSession();
    EXPECT_EQ((std::vector<std::string>{"OP1 ", "OP2 "}), Read({kResourceOperatory}, ResourceFilter{}));
    EXPECT_EQ(0u, db_state.session);
    // With no database to open there is no session: -1 and nothing handed on.
    QDB_InitDataBase((db.Dir() + "/missing").c_str());
    EXPECT_TRUE(Read({kResourceProvider}, ResourceFilter{}, &count).empty());
    EXPECT_EQ(-1, count);
    QDB_InitDataBase(db.Dir().c_str());
}

TEST(ResourceListFill, RowTextsSelectResourceChoicesStartRowAndResultText) {
    const ResourceRow person = RowOf(Person(kResourceKindProvider, "DR1", "Smith", "John", "A"));
    const ResourceRow room = RowOf(Operatory("OP1", "Surgery"));
    EXPECT_EQ("DR1 |Smith, John A|OP1 |Surgery|", person.id + "|" + person.name + "|" + room.id + "|" + room.name + "|" + room.status);
    EXPECT_EQ("Inactive", RowOf(Person(kResourceKindProvider, "OLD", "Adams", "Al", "", 1, true)).status);
    EXPECT_TRUE(RowOf(AllRowRecord()).allRow);
    EXPECT_EQ("<ALL", RowOf(AllRowRecord()).id);
    EXPECT_FALSE(IsAllRowRecord(Operatory("<ALL", "")));

    EXPECT_EQ((std::vector<int>{0, 1, kAnyProviderClass}),
              (std::vector<int>{ResourceChoiceOf(10).providerClass, ResourceChoiceOf(11).providerClass, ResourceChoiceOf(1).providerClass}));
    EXPECT_EQ(kResourceOperatory, ResourceChoiceOf(3).type);
    EXPECT_STREQ("Select Provider", SelectResourceTitle(ResourceChoiceOf(11).type));
    EXPECT_STREQ("Select Operatory", SelectResourceTitle(3));

    const ResourceRecord smith = Person(kResourceKindProvider, "DR1", "Smith", "John", "A");
    EXPECT_EQ("DR1  Smith, John A", SelectedResourceText(smith, 40));
    EXPECT_EQ("DR1  Smi", SelectedResourceText(smith, 9)) << "cut to the buffer with its terminator";
    EXPECT_EQ("", SelectedResourceText(smith, 4)) << "a buffer of 4 is left alone";

    // No match starts on the first row; an empty list on none.
    EXPECT_EQ((std::vector<int>{1, 0, -1}), (std::vector<int>{InitialResourceRow({"DR1 ", "DR2 ", "HYG "}, "DR2 "),
                                                               InitialResourceRow({"DR1 ", "DR2 "}, "XX  "), InitialResourceRow({}, "DR1 ")}));
    TempSettings settings;
    EXPECT_EQ("DR2 ", WantedResourceId("DR2  Smith, John"));
    QVN_WriteProfileString("GENERAL", "def_prov", "HYG");
    EXPECT_EQ("HYG ", WantedResourceId("")) << "an empty buffer takes the default provider";
    EXPECT_EQ("DR1 ", WantedResourceId("DR1"));
}

// The filter's common cases run on stored records above; these are the rest.
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
