// The contents of the More Information dialog.
#include "lists/more_info.h"

#include "appointments/appt_care.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

#include "data/appointment_record.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/dates.h"
#include "suite/lab_case.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/records/continuing_care.h"
#include "suite/records/patient.h"

const char kMoreInfoSeparator[] = "_______________________________";

namespace {

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

std::string CareText(const ContinuingCareRecord& c) {
    return GetTrimmedText(c.typeName) + " " + QVN_fmtDateString1900(c.dueDate);
}

std::string ProviderOf(const AppointmentRecord& a) { return std::string(a.provider, strnlen(a.provider, 4)); }

const char* StatusName(uint8_t status) {
    switch (status) {
    case kPatientNonPatient: return "Non-Patient";
    case kPatientInactive: return "Inactive Patient";
    case kPatientArchived: return "Archived";
    default: return "Patient";
    }
}

}  // namespace

int AgeInYears(int32_t birth, int32_t today) {
    int bm, bd, by, tm, td, ty;
    if (!birth || !QVN_DateOut(birth, &bm, &bd, &by) || !QVN_DateOut(today, &tm, &td, &ty)) return 0;
    int age = ty - by;
    if (tm < bm || (tm == bm && td < bd)) --age;
    return std::max(age, 0);
}

std::string AttachedCareNames(const std::vector<ContinuingCareRecord>& care, uint32_t appointment_id) {
    std::string text;
    for (const ContinuingCareRecord& c : care)
        if (c.appointmentId == appointment_id) text += (text.empty() ? "" : ", ") + GetTrimmedText(c.typeName);
    return text;
}

bool AppointmentUnscheduled(const AppointmentRecord& a) { return a.unscheduled == 1 || a.date == 0; }

std::string PatientAppointmentLine(const AppointmentRecord& a, int32_t today, const std::string& care, const std::string& lab) {
    char line[200];
    if (AppointmentUnscheduled(a)) {
        if (care.empty())
            std::snprintf(line, sizeof line, "<Unscheduled Appt>\t%-4.4s\t\t\t%s", ProviderOf(a).c_str(), lab.c_str());
        else
            std::snprintf(line, sizeof line, "<Unscheduled Appt>\t%-4.4s\t%s\t%s", ProviderOf(a).c_str(),
                          ("CC:" + care).c_str(), lab.c_str());
        return line;
    }
    const int hour12 = a.hour % 12 == 0 ? 12 : a.hour % 12;
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", hour12 % 100, a.minute % 60);
    const std::string day = std::string(QVN_getday_name(QVN_week_day(a.date))).substr(0, 3);
    const char* mark = a.date < today ? "*" : "";
    const std::string date = QVN_fmtDateString2000(a.date);
    const char half = a.hour < 12 ? 'a' : 'p';
    if (care.empty())
        std::snprintf(line, sizeof line, "%s%10s  %-3.3s\t%5s%cm\t%-4.4s\t\t\t%s", mark, date.c_str(), day.c_str(), time,
                      half, ProviderOf(a).c_str(), lab.c_str());
    else
        std::snprintf(line, sizeof line, "%s%10s  %-3.3s\t%5s%cm\t%-4.4s\tCC:%s\t%s", mark, date.c_str(), day.c_str(),
                      time, half, ProviderOf(a).c_str(), care.c_str(), lab.c_str());
    return line;
}

std::vector<FamilyLine> MoreInfoFamilyLines(uint32_t patient_id, int32_t today) {
    std::vector<FamilyLine> lines;
    PatientRecord patient{};
    if (!ReadPatient(patient_id, &patient)) return lines;
    std::vector<PatientRecord> members;
    {
        DbGroupScope group(GroupOf(kPatientFile));
        uint32_t guarantor = patient.guarantorId ? patient.guarantorId : patient.id;
        PatientRecord p{};
        for (uint16_t r = DbStartSetForward(kPatientByGuarantorKey, DbPrepareKey(&guarantor), &p, 4); r == kQdbOk;
             r = DbNextInSet(kPatientByGuarantorKey, &p))
            members.push_back(p);
    }
    if (members.empty()) members.push_back(patient);  // a patient whose guarantor key finds nobody
    std::stable_partition(members.begin(), members.end(), [](const PatientRecord& p) { return p.id == p.guarantorId; });
    for (const PatientRecord& m : members) {
        const char* position = m.id == m.guarantorId ? " Guar  "
                                : m.relation == kRelationSingle ? "Single"
                                : m.relation == kRelationSpouse ? " Spouse"
                                : m.relation == kRelationChild  ? "Child"
                                                                : "-Other";
        std::string care;
        for (const ContinuingCareRecord& c : ReadPatientCare(m.id)) care += (care.empty() ? "" : ", ") + CareText(c);
        char line[200];
        std::snprintf(line, sizeof line, "%s\t%s\t%3d  CC:%s", position, PatientPackedName(m).c_str(), AgeInYears(m.birthDate, today),
                      care.empty() ? "<none>" : care.c_str());
        lines.push_back({line, m.id});
    }
    return lines;
}

std::vector<std::string> MoreInfoAppointmentLines(uint32_t patient_id, int32_t today) {
    // Each line sorts by its group, then its value: unscheduled, today and later with the due
    // dates, the separator, the past from the most recent back.
    std::vector<std::tuple<int, int64_t, std::string>> lines;
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(patient_id);
    bool past = false;
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id)) {
        const std::string lab = LabCaseStatusText(ApptLabCaseState(a.id));
        const std::string line = PatientAppointmentLine(a, today, AttachedCareNames(care, a.id), lab);
        const int64_t date = a.date;  // a copy: the packed field may lie on an odd address
        if (AppointmentUnscheduled(a)) {
            lines.emplace_back(0, 0, line);
        } else if (date >= today) {
            lines.emplace_back(1, date, line);
        } else {
            lines.emplace_back(3, -date, line);
            past = true;
        }
    }
    for (const ContinuingCareRecord& c : care) {
        if (c.appointmentId != 0 || c.dueDate == 0) continue;
        char line[80];
        std::snprintf(line, sizeof line, "[No Appointment]\t\t\tCC:%s %10s", GetTrimmedText(c.typeName).c_str(),
                      QVN_fmtDateString2000(c.dueDate).c_str());
        lines.emplace_back(1, static_cast<int64_t>(c.dueDate), line);
    }
    if (past) lines.emplace_back(2, 0, kMoreInfoSeparator);
    std::stable_sort(lines.begin(), lines.end(), [](const auto& x, const auto& y) {
        return std::tie(std::get<0>(x), std::get<1>(x)) < std::tie(std::get<0>(y), std::get<1>(y));
    });
    std::vector<std::string> texts;
    for (auto& l : lines) texts.push_back(std::move(std::get<2>(l)));
    return texts;
}

bool ReadMemberDetails(uint32_t patient_id, int32_t today, MemberDetails* d) {
    PatientRecord p{};
    if (!ReadPatient(patient_id, &p)) return false;
    *d = MemberDetails{};
    d->name = PatientPackedName(p);
    d->street = GetTrimmedText(p.street);
    const std::string city = GetTrimmedText(p.city), state = GetTrimmedText(p.state), zip = GetTrimmedText(p.zip);
    d->cityLine = city + (city.empty() || (state.empty() && zip.empty()) ? "" : ", ") + state +
                  (state.empty() || zip.empty() ? "" : " ") + zip;
    d->homePhone = QVN_CheckForPatientPrivatePhone(p.privacy, QVN_Set_Phone(GetText(p.homePhone)));
    d->workPhone = QVN_CheckForPatientPrivatePhone(p.privacy, QVN_Set_Phone(GetText(p.workPhone)));
    d->dialNumber = QVN_CheckForPrivatePhone(p.privacy) ? "" : GetText(p.homePhone);
    d->chartNumber = GetTrimmedText(p.chartNumber);
    d->status = StatusName(p.status);
    int32_t next = 0;
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id)) {
        if (AppointmentUnscheduled(a) || a.date < today || (next && a.date >= next)) continue;
        const LabCaseState state = ApptLabCaseState(a.id);
        if (state == kLabNone) continue;
        next = a.date;
        d->labCase = LabCaseStatusText(state);
    }
    return true;
}
