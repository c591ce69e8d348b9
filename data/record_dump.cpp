// Each family walks its data file in physical order through the first tier and formats the
// fields a person checking a practice wants to see: names, times, colours, keys.
#include "data/record_dump.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <functional>

#include "data/appointment_record.h"
#include "data/db_access.h"
#include "data/rscuse_record.h"
#include "suite/dates.h"
#include "suite/qdb/qdb.h"
#include "suite/records/definitions.h"
#include "suite/records/patient.h"
#include "suite/records/practice_resource.h"
#include "suite/records/procedures.h"
#include "suite/records/referral.h"
#include "suite/records/users.h"

namespace {

const char* const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

template <size_t N>
std::string Text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string Time(uint16_t units) {
    if (units == kNoTime) return "--:--";
    return Format("%02d:%02d", units / 12, units % 12 * 5);
}

std::string Date(int32_t date) { return date ? QVN_fmtDateString2000(date) : "-"; }

// "Mon 08:00-12:00 13:00-17:00; Tue ..." for the weekdays with hours.
// Reads through memcpy: the record's arrays are packed and may lie on odd addresses.
std::string Hours(const void* start_field, const void* end_field) {
    uint16_t start[7][3], end[7][3];
    std::memcpy(start, start_field, sizeof start);
    std::memcpy(end, end_field, sizeof end);
    std::string text;
    for (int d = 0; d < 7; ++d) {
        std::string day;
        for (int i = 0; i < 3; ++i)
            if (start[d][i] != kNoTime && end[d][i] != kNoTime) day += " " + Time(start[d][i]) + "-" + Time(end[d][i]);
        if (!day.empty()) text += (text.empty() ? "" : ";") + std::string(" ") + kWeekdays[d] + day;
    }
    return text.empty() ? " closed" : text;
}

// Visits every record of a file in physical order.
template <typename Record>
void Walk(int file, const std::function<void(const Record&)>& visit) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk) return;
    Record record{};
    for (uint16_t r = DbFirst(file, &record); r == kQdbOk; r = DbNext(file, &record)) visit(record);
}

void DumpResources(std::vector<std::string>* lines) {
    Walk<ResourceRecord>(kResourceFile, [&](const ResourceRecord& r) {
        const std::string id(r.id, 4);
        switch (r.kind) {
        case kResourceKindPractice:
            lines->push_back("practice " + id + "  " +
                             std::string(reinterpret_cast<const char*>(r.practiceBlock),
                                         strnlen(reinterpret_cast<const char*>(r.practiceBlock), sizeof r.practiceBlock)));
            break;
        case kResourceKindProvider:
        case kResourceKindStaff: {
            std::string line = (r.kind == kResourceKindProvider ? "provider " : "staff ") + id + "  " +
                               Text(r.names.lastName) + ", " + Text(r.names.firstName);
            if (r.names.title[0]) line += " " + Text(r.names.title);
            if (r.kind == kResourceKindProvider) {
                line += Format("  class %d  operatories", r.providerClass);
                for (int n = 0; n < kOperatoryBitmapBytes * 8; ++n)
                    if (r.operatoryBitmap[n / 8] >> (n % 8) & 1) line += Format(" %d", n);
                if (r.number[0]) line += "  number " + std::string(r.number, strnlen(r.number, sizeof r.number));
            }
            if (r.inactive) line += "  inactive";
            lines->push_back(line);
            break;
        }
        case kResourceKindOperatory:
            lines->push_back(Format("operatory %s  number %d  ", id.c_str(), r.attribute) + Text(r.names.title));
            break;
        default:
            lines->push_back(Format("resource kind %d ", r.kind) + id);
        }
    });
}

void DumpSchedule(std::vector<std::string>* lines) {
    Walk<RscUseWeek>(kRscUseFile, [&](const RscUseWeek& record) {
        const std::string id(record.head.id, 4);
        if (record.head.week == 0 && record.head.kind == kRscPractice) {
            RscUsePracticeBase base;
            std::memcpy(&base, &record, sizeof base);
            std::string line = Format("schedule practice  block %d min ", base.blockSize * 5) +
                               Hours(base.defaultStart, base.defaultEnd) + "  holidays";
            for (const HolidayEntry& h : base.holidays)
                if (h.kind) line += Format(" %02d/%02d(%d)", h.month, h.day, h.kind);
            lines->push_back(line);
        } else if (record.head.week == 0 && record.head.kind == kRscProvider) {
            RscUseProviderBase base;
            std::memcpy(&base, &record, sizeof base);
            std::string line = Format("schedule provider %s  colour %06X ", id.c_str(), base.colour) +
                               Hours(base.defaultStart, base.defaultEnd);
            for (int b = 0; b < kTimeBlocks; ++b) {
                if (!base.blockNames[b][0]) continue;
                line += "  block \"" + Text(base.blockNames[b]) + "\"";
                for (int d = 0; d < 7; ++d)
                    if (base.blockStart[d][b] != kNoTime)
                        line += std::string(" ") + kWeekdays[d] + " " + Time(base.blockStart[d][b]) + "-" +
                                Time(base.blockEnd[d][b]);
                line += Format(" type %d", base.blockType[b][0]);
                if (base.blockOperatory[b][0]) line += " in " + std::string(base.blockOperatory[b], 4);
            }
            std::string aliases;
            for (int a = 0; a < kProviderAliases && base.aliases[a][0]; ++a) aliases += " " + std::string(base.aliases[a], 4);
            if (!aliases.empty()) line += "  aliases" + aliases;
            lines->push_back(line);
        } else {
            std::string line = Format("week kind %d %s  of %s  flags", record.head.kind, id.c_str(),
                                      Date(static_cast<int32_t>(record.head.week)).c_str());
            for (int d = 0; d < 7; ++d) line += Format(" %d", record.dayFlags[d]);
            lines->push_back(line);
        }
    });
}

void DumpDefinitions(std::vector<std::string>* lines) {
    Walk<DefinitionRecord>(kDefinitionFile, [&](const DefinitionRecord& d) {
        std::string line = Format("definition kind %d number %d  ", d.kind, d.number) + Text(d.text);
        if (d.kind == kDefinitionAppointmentStatus)
            line += Format("  colour code '%c' colour %06X", d.colourCode ? d.colourCode : ' ', d.colour);
        lines->push_back(line);
    });
}

std::string Pattern(const uint8_t pattern[6], int units) {
    std::string text;
    for (int u = 0; u < units && u < 24; ++u) text += " /X?"[pattern[u / 4] >> (6 - 2 * (u % 4)) & 3];
    return text;
}

void DumpCodes(std::vector<std::string>* lines) {
    Walk<ProcedureCodeRecord>(kProcedureCodeFile, [&](const ProcedureCodeRecord& c) {
        lines->push_back(Format("code %u %-10.10s ", c.id, c.code) + Text(c.description) +
                         Format("  units %d pattern \"", c.timeUnits) + Pattern(c.timePattern, c.timeUnits) +
                         Format("\"  type %d  fee %u.%02u", c.appointmentType, c.fees[0] / 100, c.fees[0] % 100));
    });
}

void DumpReferrals(std::vector<std::string>* lines) {
    Walk<ReferralRecord>(kReferralFile, [&](const ReferralRecord& r) {
        std::string line = Format("referral %u  ", r.id) + Text(r.lastName);
        if (r.firstName[0]) line += ", " + Text(r.firstName);
        if (r.title[0]) line += " " + Text(r.title);
        lines->push_back(line);
    });
}

void DumpPatients(std::vector<std::string>* lines) {
    Walk<PatientRecord>(kPatientFile, [&](const PatientRecord& p) {
        std::string line = Format("patient %u  ", p.id) + Text(p.lastName) + ", " + Text(p.firstName);
        if (p.middleInitial > ' ') line += std::string(" ") + p.middleInitial;
        line += Format("  guarantor %u relation %d  born %s  phone ", p.guarantorId, p.relation, Date(p.birthDate).c_str()) +
                Text(p.homePhone) + "  chart " + Text(p.chartNumber) + Format("  status %d", p.status);
        std::string alerts;
        for (int n = 1; n <= 64; ++n)
            if (HasMedicalAlert(p, n)) alerts += (alerts.empty() ? "" : ",") + std::to_string(n);
        if (!alerts.empty()) line += "  alerts " + alerts;
        if (p.brokenCount) line += Format("  broken %d last %s", p.brokenCount, Date(p.lastBrokenDate).c_str());
        lines->push_back(line);
    });
}

void DumpUsers(std::vector<std::string>* lines) {
    Walk<UserRecord>(kUserFile, [&](const UserRecord& u) {
        int granted = 0;
        std::string refused;
        for (int right = 0; right < kRightCount; ++right) {
            const bool has = u.rights[right / 8] >> (right % 8) & 1;
            granted += has;
            if (!has && right < 200) refused += " " + std::to_string(right);
        }
        std::string line = Format("user %u  %-16.16s  ", u.userId, u.loginName) + Text(u.fullName) +
                           Format("  rights %d of %d", granted, kRightCount);
        if (!refused.empty() && granted) line += "  refused" + refused;
        if (u.iterations) line += "  password set";
        if (u.flags & kUserInactive) line += "  inactive";
        lines->push_back(line);
    });
}

void DumpAppointments(std::vector<std::string>* lines) {
    Walk<AppointmentRecord>(kAppointmentFile, [&](const AppointmentRecord& a) {
        std::string when = a.date ? Format("%s %02d:%02d %3d min", Date(a.date).c_str(), a.hour, a.minute, a.length)
                                  : Format("unscheduled since %s", Date(a.listDate).c_str());
        lines->push_back(Format("appointment %u  ", a.id) + when + "  " + std::string(a.provider, 4) + " " +
                         std::string(a.operatory, 4) + Format("  patient %u ", a.patientId) + Text(a.patientName) +
                         Format("  status %d  ", a.status) + Text(a.description));
    });
}

struct Family {
    const char* name;
    void (*dump)(std::vector<std::string>*);
};

const Family kFamilies[] = {
    {"resources", DumpResources}, {"schedule", DumpSchedule}, {"definitions", DumpDefinitions},
    {"codes", DumpCodes},         {"referrals", DumpReferrals}, {"patients", DumpPatients},
    {"users", DumpUsers},         {"appointments", DumpAppointments},
};

}  // namespace

const std::vector<std::string>& DumpFamilies() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const Family& f : kFamilies) n.push_back(f.name);
        return n;
    }();
    return names;
}

bool DumpRecords(const std::string& family, std::vector<std::string>* lines) {
    bool known = false;
    for (const Family& f : kFamilies)
        if (family == "all" || family == f.name) {
            f.dump(lines);
            known = true;
        }
    return known;
}
