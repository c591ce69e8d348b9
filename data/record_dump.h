// Readable lines of the practice's records, for qvnadmin dump: one line per record, fields
// named, passwords never shown.
#pragma once

#include <string>
#include <vector>

// The record families that can be dumped, in the order "all" lists them.
const std::vector<std::string>& DumpFamilies();

// The lines of one family ("resources", "schedule", ...) or of every family ("all"), read on
// the access layer's open session. False when the family is unknown.
bool DumpRecords(const std::string& family, std::vector<std::string>* lines);
