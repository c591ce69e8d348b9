// The patient search of the Select Patient dialog, its result lines and the recent selections.
#include "lists/patient_search.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>

#include "data/db_access.h"
#include "data/record_text.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/utility_strings.h"

const char kNoMatchLine[] = "No match found for list.";

namespace {

constexpr char kSection[] = "SELPAT";
constexpr int kRecentSlots = 3;
constexpr size_t kLastField = sizeof(PatientRecord::lastName);
constexpr size_t kFirstField = sizeof(PatientRecord::firstName);

FileGroupDesc PatientGroup() {
    FileGroupDesc desc{};
    DbGroupOf(kPatientFile, &desc);
    return desc;
}

std::string Trim(const std::string& s) {
    size_t begin = s.find_first_not_of(' ');
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

std::string Without(const std::string& s, const char* characters) {
    std::string out;
    for (char c : s)
        if (!std::strchr(characters, c)) out += c;
    return out;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = s.find_first_not_of(' ', at)) != std::string::npos) {
        size_t end = s.find(' ', at);
        words.push_back(s.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end;
    }
    return words;
}

std::string Join(const std::vector<std::string>& words, size_t from) {
    std::string out;
    for (size_t i = from; i < words.size(); ++i) out += (out.empty() ? "" : " ") + words[i];
    return out;
}

// A text in a field of n bytes: cut to n - 1 characters, zero-padded to n.
std::string Field(const std::string& text, size_t n) {
    std::string f = text.substr(0, n - 1);
    f.resize(n, '\0');
    return f;
}

bool StartsWithFolded(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// What one search reads: the index, the key's first bytes, and for a first-name entry with a
// last name but no initial the last name that the lines must start with.
struct SearchPlan {
    int index = 0;
    std::string prefix;
    std::string lastNameFilter;
};

// "Last, First MI": the last name alone, last and first, or all three as a prefix of the index
// (last name 21 bytes, first name 16, initial). A comma after the last name alone asks for
// that exact last name.
SearchPlan LastNamePlan(const std::string& entry) {
    SearchPlan plan{kPatientByLastNameKey, "", ""};
    const size_t comma = entry.find(',');
    const std::string last = Trim(entry.substr(0, comma));
    if (comma == std::string::npos) {
        plan.prefix = last.substr(0, kLastField - 1);
        return plan;
    }
    std::vector<std::string> rest = Words(entry.substr(comma + 1));
    plan.prefix = Field(last, kLastField);
    if (rest.empty()) return plan;
    if (rest.size() >= 2 && rest.back().size() == 1) {
        const std::string initial = rest.back();
        rest.pop_back();
        plan.prefix += Field(Join(rest, 0), kFirstField) + initial;
    } else {
        plan.prefix += Join(rest, 0).substr(0, kFirstField - 1);
    }
    return plan;
}

// "First MI Last" on the first-name index (first name 16 bytes, initial, last name 21).
SearchPlan FirstNamePlan(const std::string& entry) {
    SearchPlan plan{kPatientByFirstNameKey, "", ""};
    const std::vector<std::string> words = Words(Without(entry, ","));
    if (words.empty()) return plan;
    if (words.size() == 1) {
        plan.prefix = words[0].substr(0, kFirstField - 1);
    } else if (words[1].size() == 1) {
        plan.prefix = Field(words[0], kFirstField) + words[1] + Join(words, 2).substr(0, kLastField - 1);
    } else {
        // No initial typed: the index cannot go past the first name; the last name filters.
        plan.prefix = Field(words[0], kFirstField);
        plan.lastNameFilter = Join(words, 1);
    }
    return plan;
}

char KeyLetter(PatientSearchKey key) {
    switch (key) {
    case kSearchLastName: return 'L';
    case kSearchFirstName: return 'F';
    case kSearchPreferredName: return 'P';
    case kSearchPhone: return 'H';
    case kSearchChart: return 'C';
    case kSearchSsn: return 'S';
    case kSearchById: return 'I';
    }
    return 'L';
}

std::string StatusColumn(uint8_t status) {
    switch (status) {
    case kPatientNonPatient: return "(Non-Pat) ";
    case kPatientInactive: return "(Inactive) ";
    case kPatientArchived: return "(Archived) ";
    default: return "";
    }
}

// Reads the set of the index that starts with prefix and adds a line per patient that passes.
uint16_t ReadSet(const SearchPlan& plan, PatientSearchKey key, bool include_archived, int mode,
                 std::set<uint32_t>* seen, PatientSearch* out) {
    PatientRecord p{};
    uint16_t r = DbStartSetForward(plan.index, DbPrepareKey(plan.prefix.data()), &p, static_cast<int>(plan.prefix.size()));
    for (; r == kQdbOk; r = DbNextInSet(plan.index, &p)) {
        if (p.status == kPatientArchived && !include_archived) continue;
        if (!plan.lastNameFilter.empty() && !StartsWithFolded(GetText(p.lastName), plan.lastNameFilter)) continue;
        if (seen && !seen->insert(uint32_t{p.id}).second) continue;
        out->lines.push_back({PatientResultLine(p, key, mode), p.id});
    }
    return r == kQdbNotFound ? 0 : r;
}

// The phone index holds digits only. A number of up to seven digits is the local number: it is
// looked for under every area code in the index as well as on its own.
uint16_t SearchPhone(const std::string& entry, bool include_archived, int mode, PatientSearch* out) {
    const std::string digits = QVN_StripPhone(entry);
    if (digits.empty()) return 0;
    std::set<uint32_t> seen;
    SearchPlan plan{kPatientByPhoneKey, digits.substr(0, sizeof(PatientRecord::homePhone) - 1), ""};
    if (uint16_t error = ReadSet(plan, kSearchPhone, include_archived, mode, &seen, out)) return error;
    if (digits.size() > 7) return 0;
    // Step from one area code to the next: the first phone at or after the code's successor.
    constexpr size_t kPhoneField = sizeof(PatientRecord::homePhone);
    std::string from(kPhoneField, '\0');
    PatientRecord p{};
    for (uint16_t r = DbGreaterEqual(kPatientByPhoneKey, DbPrepareKey(from.data()), &p); r == kQdbOk;
         r = DbGreaterEqual(kPatientByPhoneKey, DbPrepareKey(from.data()), &p)) {
        const std::string phone = GetText(p.homePhone);
        if (phone.size() < 10) {
            from = Field(phone + '\x01', kPhoneField);  // a local number (or none): the next phone
            continue;
        }
        const std::string area = phone.substr(0, 3);
        plan.prefix = area + digits;
        if (uint16_t error = ReadSet(plan, kSearchPhone, include_archived, mode, &seen, out)) return error;
        from = Field(area + '\xff', kPhoneField);
    }
    return 0;
}

}  // namespace

PatientSearchKey SearchKeyOf(int value) {
    if (value >= kSearchLastName && value <= kSearchSsn) return static_cast<PatientSearchKey>(value);
    return value == kSearchById ? kSearchById : kSearchLastName;
}

std::string SearchPrompt(PatientSearchKey key) {
    switch (key) {
    case kSearchLastName: return "&Enter Last Name (Last, First MI):";
    case kSearchFirstName: return "&Enter First Name (First MI Last):";
    case kSearchPreferredName: return "&Enter Preferred Name:";
    case kSearchPhone: return "&Enter Phone Number:";
    case kSearchChart: return "&Enter Chart #:";
    case kSearchSsn: return "&Enter " + QVN_UtilityString(10);
    case kSearchById: return "&Enter Patient ID:";
    }
    return "";
}

std::string SearchColumnTitle(PatientSearchKey key) {
    switch (key) {
    case kSearchPreferredName: return "Preferred Name";
    case kSearchPhone: return "Phone #";
    case kSearchChart: return "Chart #";
    case kSearchSsn: return QVN_UtilityString(10);
    default: return "Status";
    }
}

int SearchEntryLimit(PatientSearchKey key) {
    switch (key) {
    case kSearchLastName:
    case kSearchFirstName: return kPackedNameMax + 2;  // "Last, First M" with spare blanks
    case kSearchPreferredName: return 2 * (static_cast<int>(kFirstField) - 1);  // blanks are dropped
    case kSearchPhone: return 24;                       // "(555) 123-4567 x1234"
    case kSearchChart: return 14;                       // seven characters and blanks
    case kSearchSsn: return 14;                         // "123-45-6789" and blanks
    case kSearchById: return 10;                        // a 32-bit number
    }
    return kPackedNameMax;
}

PatientSearchKey ReadSearchKey(bool family_variant) {
    const bool by_id = family_variant ? QVN_ReadProfileInt("FAMILY", "EditFamilyID", 0) == 1
                                      : QVN_ReadProfileInt(kSection, "SelectByID", 0) == 1;
    if (by_id) return kSearchById;
    const PatientSearchKey key = SearchKeyOf(QVN_ReadProfileInt(kSection, "SelectBy", kSearchLastName));
    return key == kSearchById ? kSearchLastName : key;
}

void WriteSearchKey(PatientSearchKey key) {
    if (key != kSearchById) QVN_WriteProfileInt(kSection, "SelectBy", key);
}

std::string PatientResultLine(const PatientRecord& p, PatientSearchKey key, int mode) {
    const char mark = p.flag && !(mode & kSelectNoMark) ? '*' : ' ';
    std::string name = PatientPackedName(p);
    if (key == kSearchFirstName) {
        const std::string last = GetTrimmedText(p.lastName), first = GetTrimmedText(p.firstName);
        const std::string initial = p.middleInitial && p.middleInitial != ' ' ? std::string(1, p.middleInitial) : "";
        name = first + (initial.empty() ? "" : " " + initial) + (last.empty() ? "" : " " + last);
    }
    std::string fourth;
    char ids[32];
    if (mode & kSelectShowIds) {
        std::snprintf(ids, sizeof ids, "%lu,%lu", static_cast<unsigned long>(p.id), static_cast<unsigned long>(p.accountId));
        fourth = ids;
    } else {
        switch (key) {
        case kSearchPreferredName: fourth = GetText(p.preferredName); break;
        case kSearchPhone: fourth = QVN_CheckForPatientPrivatePhone(p.privacy, QVN_Set_Phone(GetText(p.homePhone))); break;
        case kSearchChart: fourth = GetText(p.chartNumber).substr(0, 7); break;
        case kSearchSsn: fourth = QVN_FormatSS(GetText(p.ssn)); break;
        default: fourth = StatusColumn(p.status); break;
        }
    }
    const std::string birthday = p.birthDate ? QVN_fmtDateString2000(p.birthDate) : "";
    const std::string provider(p.provider, strnlen(p.provider, sizeof p.provider));
    char line[160];
    std::snprintf(line, sizeof line, "%c%-26.26s\t%-10s\t%-4.4s\t%-13.13s            \t%ld%c", mark, name.c_str(),
                  birthday.c_str(), provider.c_str(), fourth.c_str(), static_cast<long>(p.id), KeyLetter(key));
    return line;
}

PatientSearch SearchPatients(PatientSearchKey key, const std::string& entry, bool include_archived, int mode) {
    PatientSearch out;
    if (Trim(entry).empty()) return out;
    DbGroupScope group(PatientGroup());
    if (group.Result() != kQdbOk) {
        out.error = group.Result();
        return out;
    }
    DbReadSnapshot snapshot;
    SearchPlan plan;
    switch (key) {
    case kSearchLastName: plan = LastNamePlan(entry); break;
    case kSearchFirstName: plan = FirstNamePlan(entry); break;
    case kSearchPreferredName:
        plan = {kPatientByPreferredKey, Without(entry, " ").substr(0, kFirstField - 1), ""};
        break;
    case kSearchChart:
        plan = {kPatientByChartKey, Without(entry, " ").substr(0, sizeof(PatientRecord::chartNumber) - 1), ""};
        break;
    case kSearchSsn:
        plan = {kPatientBySsnKey, Without(entry, " -").substr(0, sizeof(PatientRecord::ssn) - 1), ""};
        break;
    case kSearchPhone:
        out.error = SearchPhone(entry, include_archived, mode, &out);
        return out;
    case kSearchById: {
        const std::string digits = Trim(entry);
        if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos) return out;
        const unsigned long long value = std::stoull(digits);
        if (value > 0xFFFFFFFFull) return out;
        const uint32_t id = static_cast<uint32_t>(value);
        PatientRecord p{};
        const uint16_t r = DbFind(kPatientByIdKey, DbPrepareKey(&id), &p);
        if (r == kQdbOk && (p.status != kPatientArchived || include_archived))
            out.lines.push_back({PatientResultLine(p, key, mode), p.id});
        else if (r != kQdbOk && r != kQdbNotFound)
            out.error = r;
        return out;
    }
    }
    if (plan.prefix.empty()) return out;
    out.error = ReadSet(plan, key, include_archived, mode, nullptr, &out);
    return out;
}

uint32_t PatientIdOfLine(const std::string& line) {
    const size_t tab = line.rfind('\t');
    if (tab == std::string::npos) return 0;
    return static_cast<uint32_t>(std::strtoul(line.c_str() + tab + 1, nullptr, 10));
}

// The lines are stored in quotes: the settings file would drop the blank that starts an
// unmarked line.
std::vector<std::string> RecentPatientLines() {
    std::vector<std::string> lines;
    for (int slot = 1; slot <= kRecentSlots; ++slot) {
        const std::string key = "Recent" + std::to_string(slot);
        std::string line = QVN_ReadProfileText(kSection, key.c_str(), "");
        if (PatientIdOfLine(line) != 0) lines.push_back(line);
    }
    return lines;
}

void AddRecentPatientLine(const std::string& line) {
    const uint32_t id = PatientIdOfLine(line);
    if (id == 0) return;
    std::vector<std::string> lines{line};
    for (const std::string& old : RecentPatientLines())
        if (PatientIdOfLine(old) != id && lines.size() < kRecentSlots) lines.push_back(old);
    for (int slot = 1; slot <= kRecentSlots; ++slot) {
        const std::string key = "Recent" + std::to_string(slot);
        const size_t i = static_cast<size_t>(slot - 1);
        QVN_WriteProfileString(kSection, key.c_str(), i < lines.size() ? ("\"" + lines[i] + "\"").c_str() : nullptr);
    }
}

bool ReadPatient(uint32_t patient_id, PatientRecord* patient) {
    if (patient_id == 0) return false;
    DbGroupScope group(PatientGroup());
    return group.Result() == kQdbOk && DbFind(kPatientByIdKey, DbPrepareKey(&patient_id), patient) == kQdbOk;
}

std::string PatientPackedName(const PatientRecord& p) {
    const std::string initial = p.middleInitial && p.middleInitial != ' ' ? std::string(1, p.middleInitial) : "";
    return QVN_PackName(GetTrimmedText(p.lastName), GetTrimmedText(p.firstName), initial);
}

std::string RecentSelectionEntry() {
    const std::vector<std::string> lines = RecentPatientLines();
    PatientRecord p{};
    if (lines.empty() || !ReadPatient(PatientIdOfLine(lines[0]), &p)) return "";
    return QVN_PackName(GetTrimmedText(p.lastName), GetTrimmedText(p.firstName), "");
}

void PatientStatusWarning(uint32_t patient_id) {
    PatientRecord p{};
    if (!ReadPatient(patient_id, &p)) return;
    if (p.status == kPatientNonPatient) ShowRefusal("Selected Patient has a Non-Patient Status", "Warning");
    if (p.status == kPatientInactive) ShowRefusal("Selected Patient has an Inactive Status", "Warning");
}
