// The referral library's lookups of referral sources (data file 207): a source by id, a source's
// name as the program shows it, and the search by name behind REFERRAL_RefFind. Works on the
// access layer's session.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "suite/records/referral.h"

// "Dr. Simon Hart": title, first name and last name, each left out when empty; a company or a
// campaign has only its last name ("Lakeside Orthodontics").
std::string REFERRAL_SourceName(const ReferralRecord& source);

// Reads a source by id (key 208); false when there is none.
bool REFERRAL_ReadSource(uint32_t referral_id, ReferralRecord* source);

// The names of the sources of many ids at once (the boxes of the shown days), by id; an id
// without a source has none. Opens the referral file itself. 0, or the read's error (then none).
uint16_t REFERRAL_SourceNames(const std::vector<uint32_t>& referral_ids, std::map<uint32_t, std::string>* names);

// The sources whose last name begins with the text, in the order of the name key (209): last
// name, then first name. Case does not matter, and blanks around the text do not count; an empty
// text lists every source. error is set to the database's result when the file could not be read
// (0 otherwise). The file holds the practice's referral sources, a short list, so every record
// is compared: the name key keeps the names as typed, in mixed case.
struct ReferralSearch {
    std::vector<ReferralRecord> sources;
    uint16_t error = 0;
};
ReferralSearch REFERRAL_FindSources(const std::string& text);
