// Links are read as the set of the appointment's 4-byte key prefix; rewriting deletes the links
// that are gone and adds or rewrites the others.
#include "suite/lab_case.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "data/db_access.h"
#include "suite/dates.h"
#include "suite/prompter.h"

namespace {

void PutBE(uint8_t out[4], uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
uint32_t GetBE(const uint8_t in[4]) {
    return static_cast<uint32_t>(in[0]) << 24 | static_cast<uint32_t>(in[1]) << 16 | static_cast<uint32_t>(in[2]) << 8 | in[3];
}

FileGroupDesc Group() {
    FileGroupDesc desc{};
    DbGroupOf(kLabCaseFile, &desc);
    return desc;
}

std::vector<LabCaseLinkRecord> ReadRecords(uint32_t appointment_id) {
    std::vector<LabCaseLinkRecord> records;
    DbGroupScope group(Group());
    if (group.Result() != kQdbOk) return records;
    uint8_t prefix[4];
    PutBE(prefix, appointment_id);
    LabCaseLinkRecord r{};
    for (uint16_t res = DbStartSetForward(kLabCaseKey, DbPrepareKey(prefix), &r, 4); res == kQdbOk;
         res = DbNextInSet(kLabCaseKey, &r))
        records.push_back(r);
    return records;
}

LabCaseLinkRecord RecordOf(uint32_t appointment_id, const LabCaseLink& link) {
    LabCaseLinkRecord r{};
    PutBE(r.appointmentIdBE, appointment_id);
    PutBE(r.caseIdBE, link.caseId);
    r.state = link.state;
    std::strncpy(r.lab, link.lab.c_str(), sizeof r.lab - 1);
    r.dueDate = link.dueDate;
    return r;
}

// The state a marker shows for cases in two states: the least advanced, a case without a state
// counting for none.
LabCaseState LeastAdvanced(LabCaseState shown, LabCaseState other) {
    return shown == kLabNone || (other != kLabNone && other < shown) ? other : shown;
}

}  // namespace

std::vector<LabCaseLink> ReadApptToCaseLinks(uint32_t appointment_id) {
    std::vector<LabCaseLink> links;
    for (const LabCaseLinkRecord& r : ReadRecords(appointment_id))
        links.push_back({GetBE(r.caseIdBE), static_cast<LabCaseState>(r.state), std::string(r.lab, strnlen(r.lab, sizeof r.lab)),
                         r.dueDate});
    return links;
}

bool WriteApptToCaseLinks(uint32_t appointment_id, const std::vector<LabCaseLink>& cases) {
    const std::vector<LabCaseLinkRecord> old = ReadRecords(appointment_id);
    DbGroupScope group(Group());
    if (group.Result() != kQdbOk) return false;
    bool ok = true;
    for (const LabCaseLinkRecord& r : old) {
        bool kept = false;
        for (const LabCaseLink& c : cases) kept |= c.caseId == GetBE(r.caseIdBE);
        LabCaseLinkRecord found{};
        if (!kept && DbFind(kLabCaseKey, DbPrepareKey(&r), &found) == kQdbOk) ok &= DbDelete(kLabCaseFile) == kQdbOk;
    }
    for (const LabCaseLink& c : cases) {
        const LabCaseLinkRecord r = RecordOf(appointment_id, c);
        LabCaseLinkRecord found{};
        if (DbFind(kLabCaseKey, DbPrepareKey(&r), &found) == kQdbOk) ok &= DbWrite(kLabCaseFile, &r) == kQdbOk;
        else ok &= DbAdd(kLabCaseFile, &r) == kQdbOk;
    }
    return ok;
}

bool WriteApptToCaseLinksIn(QdbFile file, uint32_t appointment_id, const std::vector<LabCaseLink>& cases) {
    LabCaseLinkRecord from{};
    PutBE(from.appointmentIdBE, appointment_id);
    std::vector<LabCaseLinkRecord> old;
    LabCaseLinkRecord r{};
    for (int found = QDB_GreaterThanOrEqualRec(file, kLabCaseKey, &from, &r);
         found && std::memcmp(r.appointmentIdBE, from.appointmentIdBE, 4) == 0; found = QDB_NextRec(file, kLabCaseKey, &r))
        old.push_back(r);
    for (const LabCaseLinkRecord& o : old) {
        const bool kept = std::any_of(cases.begin(), cases.end(), [&](const LabCaseLink& c) { return c.caseId == GetBE(o.caseIdBE); });
        if (!kept && !(QDB_FindRec(file, kLabCaseKey, &o, &r) && QDB_DeleteCurRec(file))) return false;
    }
    for (const LabCaseLink& c : cases) {
        const LabCaseLinkRecord wanted = RecordOf(appointment_id, c);
        const bool exists = QDB_FindRec(file, kLabCaseKey, &wanted, &r) != 0;
        if (!(exists ? QDB_WriteRec(file, &wanted) : QDB_AddRec(file, &wanted))) return false;
    }
    return true;
}

bool DeleteApptCaseLinks(uint32_t appointment_id) { return WriteApptToCaseLinks(appointment_id, {}); }

LabCaseState ApptLabCaseState(uint32_t appointment_id) {
    LabCaseState state = kLabNone;
    for (const LabCaseLink& link : ReadApptToCaseLinks(appointment_id)) state = LeastAdvanced(state, link.state);
    return state;
}

uint16_t ApptLabCaseStates(const std::vector<uint32_t>& appointment_ids, std::vector<LabCaseState>* states) {
    states->assign(appointment_ids.size(), kLabNone);
    DbGroupScope group(Group());
    if (group.Result() != kQdbOk) return group.Result();
    std::vector<uint8_t> prefixes(appointment_ids.size() * 4);
    for (size_t i = 0; i < appointment_ids.size(); ++i) PutBE(&prefixes[i * 4], appointment_ids[i]);
    return DbFindByPrefixes(kLabCaseKey, static_cast<int>(appointment_ids.size()), prefixes.data(), 4,
                            [&](int place, const void* record, int) {
                                LabCaseLinkRecord r;
                                std::memcpy(&r, record, sizeof r);
                                LabCaseState& state = (*states)[static_cast<size_t>(place)];
                                state = LeastAdvanced(state, static_cast<LabCaseState>(r.state));
                            });
}

std::string LabCaseStatusText(LabCaseState state) {
    switch (state) {
    case kLabNeeded: return "Needed";
    case kLabSent: return "Sent";
    case kLabReceived: return "Received";
    case kLabInHouse: return "In House";
    default: return "";
    }
}

std::string ApptCaseLinksText(const std::vector<LabCaseLink>& links) {
    if (links.empty()) return "No lab cases are linked to this appointment.";
    std::string text;
    for (const LabCaseLink& link : links) {
        if (!text.empty()) text += "\n";
        text += "Case " + std::to_string(link.caseId) + ":";
        if (!link.lab.empty()) text += " " + link.lab + " -";
        text += " " + LabCaseStatusText(link.state);
        if (link.dueDate != 0) text += ", due " + QVN_fmtDateString2000(link.dueDate);
    }
    return text;
}

void ShowApptCaseLinks(uint32_t appointment_id) {
    CurrentPrompter().Show(PromptRequest{ApptCaseLinksText(ReadApptToCaseLinks(appointment_id)), "Lab Cases", kButtonsOk,
                                         kIconInformation});
}

const char kAttachCasesTitle[] = "Attach Lab Cases";
const char kInvalidCaseNumber[] = "Invalid case number!";
const char kInvalidCaseDue[] = "Invalid due date!";

CaseEntry CaseEntryOf(const LabCaseLink& link) {
    CaseEntry e;
    e.caseNumber = std::to_string(link.caseId);
    e.lab = link.lab;
    e.due = link.dueDate ? QVN_fmtDateString2000(link.dueDate) : "";
    e.stateIndex = std::clamp(static_cast<int>(link.state) - 1, 0, kLabStateChoices - 1);
    return e;
}

CaseEntryField AttachCaseEntry(const CaseEntry& entry, std::vector<LabCaseLink>* links) {
    const std::string number = entry.caseNumber;
    char* end = nullptr;
    errno = 0;
    const unsigned long long id = std::strtoull(number.c_str(), &end, 10);
    const bool digits = !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || errno != 0 || *end != '\0' || id == 0 || id > UINT32_MAX) {
        ShowRefusal(kInvalidCaseNumber);
        return CaseEntryField::kCaseNumber;
    }
    int32_t due = 0;
    if (entry.due.find_first_not_of(' ') != std::string::npos) {
        due = QVN_ParseDate(entry.due);
        if (due == 0) {
            ShowRefusal(kInvalidCaseDue);
            return CaseEntryField::kDue;
        }
    }
    LabCaseLink link;
    link.caseId = static_cast<uint32_t>(id);
    link.state = static_cast<LabCaseState>(std::clamp(entry.stateIndex, 0, kLabStateChoices - 1) + 1);
    link.lab = entry.lab.substr(0, kCaseLabMax);
    link.dueDate = due;
    auto at = std::lower_bound(links->begin(), links->end(), link.caseId,
                               [](const LabCaseLink& l, uint32_t case_id) { return l.caseId < case_id; });
    if (at != links->end() && at->caseId == link.caseId) *at = link;
    else links->insert(at, link);
    return CaseEntryField::kNone;
}

std::string CaseLinkLine(const LabCaseLink& link) {
    return std::to_string(link.caseId) + "\t" + link.lab + "\t" + LabCaseStatusText(link.state) + "\t" +
           (link.dueDate ? QVN_fmtDateString2000(link.dueDate) : "");
}
