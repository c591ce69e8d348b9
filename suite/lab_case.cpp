// Links are read as the set of the appointment's 4-byte key prefix; rewriting deletes the links
// that are gone and adds or rewrites the others.
#include "suite/lab_case.h"

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

bool DeleteApptCaseLinks(uint32_t appointment_id) { return WriteApptToCaseLinks(appointment_id, {}); }

LabCaseState ApptLabCaseState(uint32_t appointment_id) {
    LabCaseState state = kLabNone;
    for (const LabCaseLink& link : ReadApptToCaseLinks(appointment_id))
        if (state == kLabNone || (link.state != kLabNone && link.state < state)) state = link.state;
    return state;
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
