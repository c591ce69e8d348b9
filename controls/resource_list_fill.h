// What the resource selection list is filled from, apart from the list view: the resource
// records of the chosen types in the resource index's order, passed through the row filter;
// a record's row texts; and the choices and results of the Select resource dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/resource_list_rules.h"
#include "suite/records/practice_resource.h"

// The fields of a resource record that rows show and filter by.
ResourceRowSource RowSourceOf(const ResourceRecord& record);

// The record behind the "<ALL>" row: empty but for its ID "<ALL".
ResourceRecord AllRowRecord();
bool IsAllRowRecord(const ResourceRecord& record);

// The row a record becomes ("<ALL>" for the all-row record).
ResourceRow RowOf(const ResourceRecord& record);

// The types a fill lists, in order: operatories alone, else providers and then staff.
std::vector<int> FillResourceTypes(bool providers, bool staff, bool operatories);

// Reads the records of each type in the resource index order (key 7, by type) and hands every
// one the filter lets through to add. Uses the program's database session, starting one for the
// span of the call when there is none. Returns the number handed on, or -1 when no session
// could be started. A record that cannot be read ends the reading; what was handed on stays.
int ReadResourceRecords(const std::vector<int>& types, const ResourceFilter& filter,
                        const std::function<void(const ResourceRecord&)>& add);

// The Select resource dialog's resource choice: 10 primary providers, 11 secondary providers,
// any other value that resource type with any class.
struct ResourceChoice {
    int type;
    uint8_t providerClass;
};
ResourceChoice ResourceChoiceOf(int choice);

// "Select Provider", "Select Staff" or "Select Operatory".
const char* SelectResourceTitle(int type);

// What a caller's buffer of buffer_length bytes receives for a chosen row: the ID, a blank and
// the name, cut to fit with its terminator. Empty when the buffer holds 4 characters or fewer
// (the buffer is then left as it was).
std::string SelectedResourceText(const ResourceRecord& record, size_t buffer_length);

// The row to select on opening: the one whose ID is wanted (the ID already in the caller's
// buffer, else the default provider setting), or the first row. -1 for no rows.
int InitialResourceRow(const std::vector<std::string>& row_ids, const std::string& wanted_id);

// The ID the dialog starts from: the first 4 characters of the caller's buffer, or, when that
// is empty, [GENERAL] def_prov.
std::string WantedResourceId(const std::string& buffer_text);
