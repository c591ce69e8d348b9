// The family appointment list's lines and the choices of its two actions.
#include "appointments/family_list.h"
#include "appointments/appt_care.h"
#include "data/appointment_store.h"

#include <cstdio>
#include <cstring>

#include "data/record_text.h"
#include "lists/more_info.h"
#include "lists/patient_search.h"
#include "suite/dates.h"
#include "suite/lab_case.h"
#include "suite/prompter.h"
#include "suite/records/patient.h"

namespace {

constexpr size_t kMemberNameMax = 25;
const char kNoAppointmentViewCanceled[] = "No appointment selected! View canceled.";
const char kLeaveNewAppointment[] = "Current new appointment information will not be saved. Continue?";
const char kLeaveAppointment[] = "Changes to the current appointment will not be saved. Continue?";

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

const char* RelationText(const PatientRecord& m) {
    if (m.id == m.guarantorId) return " Guar ";
    switch (m.relation) {
    case kRelationSingle: return "Single";
    case kRelationSpouse: return " Spouse";
    case kRelationChild: return "Child";
    default: return "-Other";
    }
}

// The earliest due continuing care, " +" after it when there is more; "" without any.
std::string MemberCareText(uint32_t patient_id) {
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(patient_id);
    if (care.empty()) return "";
    const ContinuingCareRecord* earliest = &care.front();
    for (const ContinuingCareRecord& c : care)
        if (c.dueDate < earliest->dueDate) earliest = &c;
    char text[64];
    std::snprintf(text, sizeof text, care.size() > 1 ? "%s %8s +" : "%s %8s", GetTrimmedText(earliest->typeName).c_str(),
                  QVN_fmtDateString1900(earliest->dueDate).c_str());
    return text;
}

// The mode's question before the list leaves the appointment dialog; true to go on.
bool MayLeave(int mode) {
    if (mode == kFamilyListFromNewAppointment) return AskYesNo(kLeaveNewAppointment);
    if (mode == kFamilyListFromAppointment) return AskYesNo(kLeaveAppointment);
    return true;
}

}  // namespace

FamilyMembers FamilyMemberLines(uint32_t patient_id, int32_t today) {
    FamilyMembers out;
    DbGroupScope group(GroupOf(kPatientFile));
    if (group.Result() != kQdbOk) {
        out.error = group.Result();
        return out;
    }
    PatientRecord patient{};
    const uint16_t found = DbFind(kPatientByIdKey, DbPrepareKey(&patient_id), &patient);
    if (found != kQdbOk) {
        if (found != kQdbNotFound) out.error = found;
        return out;
    }
    std::vector<PatientRecord> members;
    uint32_t guarantor = patient.guarantorId ? patient.guarantorId : patient.id;
    PatientRecord m{};
    uint16_t r = DbStartSetForward(kPatientByGuarantorKey, DbPrepareKey(&guarantor), &m, 4);
    for (; r == kQdbOk; r = DbNextInSet(kPatientByGuarantorKey, &m)) members.push_back(m);
    if (r != kQdbNotFound) out.error = r;
    if (members.empty()) members.push_back(patient);  // a guarantor key that finds nobody
    for (const PatientRecord& member : members) {
        const std::string care = MemberCareText(member.id);
        const std::string name = PatientPackedName(member).substr(0, kMemberNameMax);
        char line[160];
        std::snprintf(line, sizeof line, "%s\t%s\t%3d  CC:%s", RelationText(member), name.c_str(),
                      AgeInYears(member.birthDate, today), care.empty() ? "<none>" : care.c_str());
        out.lines.push_back({line, member.id});
    }
    return out;
}

std::vector<ListLine> MemberAppointmentLines(uint32_t patient_id, int32_t today) {
    RankedLines lines;
    const std::vector<ContinuingCareRecord> care = ReadPatientCare(patient_id);
    bool past = false;
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id)) {
        const uint32_t id = a.id;
        const bool unscheduled = AppointmentUnscheduled(a);
        const std::string text = PatientAppointmentLine(a, today, AttachedCareNames(care, id), LabCaseStatusText(ApptLabCaseState(id)));
        const int32_t date = unscheduled ? 0 : int32_t{a.date};
        past |= date != 0 && date < today;
        lines.Add(AppointmentRank(date, today),
                  {text, unscheduled ? ListLineKind::kUnscheduled : ListLineKind::kAppointment, id, 0});
    }
    if (past) lines.Add(SeparatorRank(), {kMoreInfoSeparator, ListLineKind::kSeparator, 0, 0});
    for (const ContinuingCareRecord& c : care) {
        if (c.appointmentId != 0) continue;
        char text[80];
        std::snprintf(text, sizeof text, "[No Appointment]\t\t\tCC:%s %10s", GetTrimmedText(c.typeName).c_str(),
                      QVN_fmtDateString2000(c.dueDate).c_str());
        lines.Add(CareRank(c.dueDate), {text, ListLineKind::kCareWithoutAppointment, 0, c.type});
    }
    return lines.Lines();
}

bool ViewFamilyAppointment(const ListLine* selected, uint32_t member, int mode, FamilyListResult* result) {
    // What the user sees decides: a line that starts as the separator or a "[No Appointment]"
    // line does is not an appointment.
    if (!selected || selected->text.empty() || selected->text[0] == '[' || selected->text[0] == '_') {
        CurrentPrompter().Show({kNoAppointmentViewCanceled, kTitleAppointmentBook, kButtonsOk, kIconInformation});
        return false;
    }
    if (!MayLeave(mode)) return false;
    *result = FamilyListResult{};
    result->appointmentId = selected->appointmentId;
    result->patientId = selected->text[0] == '<' ? 0 : member;
    return true;
}

bool NewFamilyAppointment(uint32_t member, const ListLine* selected, int mode, FamilyListResult* result) {
    if (member == 0) return false;
    if (!MayLeave(mode)) return false;
    *result = FamilyListResult{};
    result->patientId = member;
    if (selected && selected->kind == ListLineKind::kCareWithoutAppointment) result->careType = selected->careType;
    return true;
}

FamilyListSession::FamilyListSession() : saved_(db_state) {
    ok_ = DbStartSession() == kQdbOk;
}

FamilyListSession::~FamilyListSession() {
    DbEndSession();
    db_state = saved_;
}
