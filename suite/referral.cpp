// Referral sources by id and by name.
#include "suite/referral.h"

#include <cctype>

#include "data/db_access.h"
#include "data/record_text.h"

namespace {

FileGroupDesc ReferralGroup() {
    FileGroupDesc desc{};
    DbGroupOf(kReferralFile, &desc);
    return desc;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trimmed(const std::string& s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

std::string REFERRAL_SourceName(const ReferralRecord& r) {
    std::string name = GetTrimmedText(r.lastName);
    const std::string first = GetTrimmedText(r.firstName);
    const std::string title = GetTrimmedText(r.title);
    if (!first.empty()) name = first + " " + name;
    if (!title.empty()) name = title + " " + name;
    return name;
}

bool REFERRAL_ReadSource(uint32_t referral_id, ReferralRecord* source) {
    if (referral_id == 0) return false;
    DbGroupScope group(ReferralGroup());
    return group.Result() == kQdbOk && DbFind(kReferralByIdKey, DbPrepareKey(&referral_id), source) == kQdbOk;
}

uint16_t REFERRAL_SourceNames(const std::vector<uint32_t>& referral_ids, std::map<uint32_t, std::string>* names) {
    names->clear();
    if (referral_ids.empty()) return kQdbOk;
    DbGroupScope group(ReferralGroup());
    if (group.Result() != kQdbOk) return group.Result();
    std::vector<ReferralRecord> read(referral_ids.size());
    std::vector<uint8_t> found(referral_ids.size());
    const uint16_t result =
        DbFindMany(kReferralByIdKey, static_cast<int>(referral_ids.size()), referral_ids.data(), read.data(), found.data());
    if (result != kQdbOk) return result;
    for (size_t i = 0; i < referral_ids.size(); ++i)
        if (found[i]) (*names)[referral_ids[i]] = REFERRAL_SourceName(read[i]);
    return kQdbOk;
}

ReferralSearch REFERRAL_FindSources(const std::string& text) {
    ReferralSearch found;
    const std::string wanted = Upper(Trimmed(text));
    DbGroupScope group(ReferralGroup());
    if (group.Result() != kQdbOk) {
        found.error = group.Result();
        return found;
    }
    ReferralRecord r{};
    uint16_t result = DbFirst(kReferralByNameKey, &r);
    for (; result == kQdbOk; result = DbNext(kReferralByNameKey, &r))
        if (Upper(GetTrimmedText(r.lastName)).compare(0, wanted.size(), wanted) == 0) found.sources.push_back(r);
    if (result != kQdbNotFound) found.error = result;
    return found;
}
