// A patient's treatment plan read from the procedures file.
#include "appointments/treatment_plan.h"

#include <cstdio>

#include "data/db_access.h"
#include "data/record_text.h"
#include "suite/records/procedures.h"

namespace {

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

#pragma pack(push, 1)
struct PlannedKey {
    uint32_t patientId;
    uint8_t kind;
};
#pragma pack(pop)

}  // namespace

std::vector<std::string> TreatmentPlanLines(uint32_t patient_id) {
    std::vector<std::string> lines;
    DbGroupScope procedures(GroupOf(kProcedureFile));
    DbGroupScope codes(GroupOf(kProcedureCodeFile));
    if (procedures.Result() != kQdbOk || codes.Result() != kQdbOk) return lines;
    const PlannedKey key{patient_id, kProcedurePlanned};
    std::vector<ProcedureRecord> planned;
    ProcedureRecord p{};
    for (uint16_t r = DbStartSetForward(kProcedureByPatientKey, DbPrepareKey(&key), &p, sizeof key); r == kQdbOk;
         r = DbNextInSet(kProcedureByPatientKey, &p))
        planned.push_back(p);
    for (const ProcedureRecord& procedure : planned) {
        ProcedureCodeRecord code{};
        const uint32_t code_id = procedure.codeId;
        if (DbFind(kProcedureCodeByIdKey, DbPrepareKey(&code_id), &code) != kQdbOk) code = ProcedureCodeRecord{};
        const std::string tooth = GetTrimmedText(procedure.tooth), surfaces = GetTrimmedText(procedure.surfaces);
        char line[160];
        if (tooth.empty())
            std::snprintf(line, sizeof line, "Tx\t%s\t%-28.28s", GetTrimmedText(code.code).c_str(),
                          GetTrimmedText(code.description).c_str());
        else
            std::snprintf(line, sizeof line, "Tx\t%s\t%-28.28s\t%s\t%s", GetTrimmedText(code.code).c_str(),
                          GetTrimmedText(code.description).c_str(), tooth.c_str(), surfaces.c_str());
        lines.push_back(line);
    }
    return lines;
}
