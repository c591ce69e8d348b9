// Reason slots, their list lines and what they make of the appointment.
#include "appointments/appt_reasons.h"

#include <cstdio>
#include <cstring>

#include "data/db_access.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/records/patient.h"

const char kMissingReason[] = "<not on file>";
const char kNeedsToothQuestion[] =
    "This Procedure Code requires additional information (tooth #, surface, etc.). This procedure should be "
    "treatment planned. Continue?";

namespace {

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

// The two files a reason may stand in, opened for one burst of reads.
class ReasonFiles {
public:
    ReasonFiles() : codes_(GroupOf(kProcedureCodeFile)), procedures_(GroupOf(kProcedureFile)) {}
    bool Code(uint32_t id, ProcedureCodeRecord* code) const {
        return codes_.Result() == kQdbOk && id != 0 && DbFind(kProcedureCodeByIdKey, DbPrepareKey(&id), code) == kQdbOk;
    }
    bool Procedure(uint32_t id, ProcedureRecord* procedure) const {
        return procedures_.Result() == kQdbOk && id != 0 &&
               DbFind(kProcedureByIdKey, DbPrepareKey(&id), procedure) == kQdbOk;
    }
    // The code behind a reason slot: the code itself, or the code of the patient's procedure.
    bool CodeOfReason(const AppointmentRecord& a, int slot, ProcedureCodeRecord* code) const {
        if (a.reasonKinds[slot] != kReasonIsProcedure) return Code(a.reasons[slot], code);
        ProcedureRecord procedure{};
        return Procedure(a.reasons[slot], &procedure) && Code(procedure.codeId, code);
    }

private:
    DbReadSnapshot snapshot_;
    DbGroupScope codes_;
    DbGroupScope procedures_;
};

std::string Format(const char* format, const std::string& a, const std::string& b = "", const std::string& c = "",
                   const std::string& d = "") {
    char line[160];
    std::snprintf(line, sizeof line, format, a.c_str(), b.c_str(), c.c_str(), d.c_str());
    return line;
}

std::string TxLine(const ProcedureRecord& procedure, const std::string& code, const std::string& description) {
    const std::string tooth = GetTrimmedText(procedure.tooth), surfaces = GetTrimmedText(procedure.surfaces);
    if (tooth.empty() && surfaces.empty()) return Format("Tx\t%s\t%-28.28s", code, description);
    return Format("Tx\t%s\t%-28.28s\t%s\t%s", code, description, tooth, surfaces);
}

// The short description a reason adds to the appointment's description: the abbreviation, or
// the code's first four characters when the code has none.
std::string ShortDescription(const ProcedureCodeRecord& code) {
    const std::string abbreviation = GetTrimmedText(code.abbreviation);
    if (!abbreviation.empty()) return abbreviation;
    return GetTrimmedText(code.code).substr(0, 4);
}

int FeeSchedule(uint32_t patient_id) {
    PatientRecord patient{};
    if (patient_id == 0 || !ReadPatient(patient_id, &patient)) return 1;
    return patient.feeSchedule >= 1 && patient.feeSchedule <= kFeeScheduleCount ? patient.feeSchedule : 1;
}

}  // namespace

bool ReadProcedureCode(uint32_t code_id, ProcedureCodeRecord* code) { return ReasonFiles().Code(code_id, code); }

bool ReadProcedure(uint32_t procedure_id, ProcedureRecord* procedure) {
    return ReasonFiles().Procedure(procedure_id, procedure);
}

bool ReadCodeOfReason(const AppointmentRecord& a, int slot, ProcedureCodeRecord* code) {
    return slot >= 0 && slot < kReasonSlots && ReasonFiles().CodeOfReason(a, slot, code);
}

std::vector<ReasonLine> ReasonLines(const AppointmentRecord& a) {
    std::vector<ReasonLine> lines;
    const ReasonFiles files;
    for (int slot = 0; slot < kReasonSlots; ++slot) {
        if (a.reasons[slot] == 0) continue;
        ProcedureCodeRecord code{};
        if (a.reasonKinds[slot] != kReasonIsProcedure) {
            const bool found = files.Code(a.reasons[slot], &code);
            lines.push_back({slot, Format("Pc\t\t%-28.28s", found ? GetText(code.description) : kMissingReason)});
            continue;
        }
        ProcedureRecord procedure{};
        if (!files.Procedure(a.reasons[slot], &procedure)) {
            lines.push_back({slot, Format("Tx\t%s\t%-28.28s", "", kMissingReason)});
            continue;
        }
        const bool found = files.Code(procedure.codeId, &code);
        const std::string description = found ? GetText(code.description) : kMissingReason;
        if (procedure.kind == kProcedureCompleted)
            lines.push_back({slot, Format("C\t\t%-28.28s\t(Completed)", description)});
        else
            lines.push_back({slot, TxLine(procedure, found ? GetTrimmedText(code.code) : "", description)});
    }
    return lines;
}

bool AddReason(AppointmentRecord* a, uint32_t id, uint8_t kind) {
    if (id == 0) return false;
    for (int slot = 0; slot < kReasonSlots; ++slot) {
        if (a->reasons[slot] != 0) continue;
        a->reasons[slot] = id;
        a->reasonKinds[slot] = kind;
        return true;
    }
    return false;
}

void DeleteReason(AppointmentRecord* a, int slot) {
    if (slot < 0 || slot >= kReasonSlots) return;
    a->reasons[slot] = 0;
    a->reasonKinds[slot] = 0;
}

void DeleteAllReasons(AppointmentRecord* a) {
    std::memset(a->reasons, 0, sizeof a->reasons);
    std::memset(a->reasonKinds, 0, sizeof a->reasonKinds);
}

ReasonRebuild RebuildFromReasons(const AppointmentRecord& a, int unit_minutes) {
    ReasonRebuild r{};
    r.type = -1;
    const int schedule = FeeSchedule(a.patientId);
    const ReasonFiles files;
    int count = 0;
    ProcedureCodeRecord only{};
    bool only_found = false;
    for (int slot = 0; slot < kReasonSlots; ++slot) {
        if (a.reasons[slot] == 0) continue;
        ProcedureCodeRecord code{};
        const bool found = files.CodeOfReason(a, slot, &code);
        if (++count == 1) {
            only = code;
            only_found = found;
            if (found) r.type = code.appointmentType;
        }
        if (!found) continue;
        if (r.description.size() < 61) r.description += (r.description.empty() ? "" : ", ") + ShortDescription(code);
        r.length += code.timeUnits * unit_minutes;
        r.amount += static_cast<int32_t>(code.fees[schedule - 1]);
    }
    // One reason gives its own pattern; none or several make every unit provider time.
    if (count == 1 && only_found)
        std::memcpy(r.pattern, only.timePattern, sizeof r.pattern);
    else
        std::memset(r.pattern, 170, sizeof r.pattern);
    return r;
}

bool CodeNeedsToothOrSurface(const ProcedureCodeRecord& code) {
    return (code.needs & (kNeedsTooth | kNeedsSurface | kNeedsQuadrant | kNeedsSextant)) != 0;
}

std::vector<ProcedureCodeRecord> ReadProcedureCodes() {
    std::vector<ProcedureCodeRecord> codes;
    DbReadSnapshot snapshot;
    DbGroupScope group(GroupOf(kProcedureCodeFile));
    if (group.Result() != kQdbOk) return codes;
    ProcedureCodeRecord c{};
    for (uint16_t r = DbFirst(kProcedureCodeByTextKey, &c); r == kQdbOk; r = DbNext(kProcedureCodeByTextKey, &c))
        codes.push_back(c);
    return codes;
}

std::vector<ProcedureRecord> ReadPlannedProcedures(uint32_t patient_id) {
    std::vector<ProcedureRecord> planned;
    DbReadSnapshot snapshot;
    DbGroupScope group(GroupOf(kProcedureFile));
    if (group.Result() != kQdbOk) return planned;
    uint8_t key[5];
    std::memcpy(key, &patient_id, 4);
    key[4] = kProcedurePlanned;
    ProcedureRecord p{};
    for (uint16_t r = DbStartSetForward(kProcedureByPatientKey, DbPrepareKey(key), &p, 5); r == kQdbOk;
         r = DbNextInSet(kProcedureByPatientKey, &p))
        planned.push_back(p);
    return planned;
}

std::string CodePickLine(const ProcedureCodeRecord& code) {
    return GetTrimmedText(code.code) + "\t" + GetText(code.description);
}

std::string PlannedPickLine(const ProcedureRecord& procedure, const ProcedureCodeRecord& code) {
    return TxLine(procedure, GetTrimmedText(code.code), GetText(code.description));
}
