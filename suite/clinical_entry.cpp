// Posting a reason as completed procedures, in memory.
#include "suite/clinical_entry.h"

#include <algorithm>
#include <cstring>

#include "suite/prompter.h"

const char kMultiCodeNeedsInformation[] =
    "Multi-Code requires additional information (tooth #, surface, etc.). Can NOT complete procedure.";
const char kProcedureCodeNeedsInformation[] =
    "Procedure Code requires additional information (tooth #, surface, etc.). Can NOT complete procedure.";

namespace {

// A code posted from the appointment book has no tooth, surface, quadrant or sextant to go with
// it: those are entered in the chart.
bool NeedsToothData(const ProcedureCodeRecord& code) {
    return (code.needs & (kNeedsTooth | kNeedsSurface | kNeedsQuadrant | kNeedsSextant)) != 0;
}

bool IsMultiCode(const ProcedureCodeRecord& code) { return code.category == kMultiCodeCategory; }

// The members of a multi-code in code order (codes come in code order).
std::vector<const ProcedureCodeRecord*> Members(const ProcedureCodeRecord& multi, const std::vector<ProcedureCodeRecord>& codes) {
    std::vector<const ProcedureCodeRecord*> members;
    for (const ProcedureCodeRecord& c : codes)
        if (c.multiCodeId == multi.id && c.id != multi.id && !IsMultiCode(c)) members.push_back(&c);
    return members;
}

uint32_t FeeOf(const ProcedureCodeRecord& code, int schedule) {
    if (schedule < 1 || schedule > kFeeScheduleCount) schedule = 1;
    return code.fees[schedule - 1];
}

void MeetCare(uint8_t care_type, Postings* postings) {
    if (care_type == 0) return;
    std::vector<uint16_t>& met = postings->careTypesMet;
    if (std::find(met.begin(), met.end(), care_type) == met.end()) met.push_back(care_type);
}

// A new completed procedure of the code; 0 when no id was handed out for it.
uint32_t AddCompleted(const PostingContext& context, const ProcedureCodeRecord& code, Postings* postings) {
    if (postings->idsUsed >= postings->newIds.size()) return 0;
    ProcedureRecord p{};
    p.patientId = context.patientId;
    p.kind = kProcedureCompleted;
    p.id = postings->newIds[postings->idsUsed++];
    p.codeId = code.id;
    p.date = context.date;
    std::memcpy(p.provider, context.provider, sizeof p.provider);
    p.fee = FeeOf(code, context.feeSchedule);
    p.appointmentId = context.appointmentId;
    postings->added.push_back(p);
    MeetCare(code.continuingCareType, postings);
    if (context.patientReferred) postings->referred = true;
    return p.id;
}

}  // namespace

const ProcedureCodeRecord* FindCode(const std::vector<ProcedureCodeRecord>& codes, uint32_t id) {
    for (const ProcedureCodeRecord& c : codes)
        if (c.id == id) return &c;
    return nullptr;
}

bool CodeTakesCrossCoding(const ProcedureCodeRecord& code) { return code.crossCoding != 0; }

int ProceduresPostedBy(const ProcedureCodeRecord& code, const std::vector<ProcedureCodeRecord>& codes) {
    if (NeedsToothData(code)) return 0;
    return IsMultiCode(code) ? static_cast<int>(Members(code, codes).size()) : 1;
}

int64_t PostReason(const PostingContext& context, PostKind kind, uint32_t reason_id, const ProcedureRecord* planned,
                   const std::vector<ProcedureCodeRecord>& codes, Postings* postings) {
    if (kind == PostKind::kPlanned) {
        if (!planned || planned->kind != kProcedurePlanned || planned->patientId != context.patientId) return 0;
        // The plan's fee stands: it is what the patient was quoted.
        ProcedureRecord p = *planned;
        p.kind = kProcedureCompleted;
        p.date = context.date;
        std::memcpy(p.provider, context.provider, sizeof p.provider);
        p.appointmentId = context.appointmentId;
        postings->completed.push_back(p);
        if (const ProcedureCodeRecord* code = FindCode(codes, p.codeId)) MeetCare(code->continuingCareType, postings);
        if (context.patientReferred) postings->referred = true;
        return p.id;
    }
    const ProcedureCodeRecord* code = FindCode(codes, reason_id);
    if (!code) return 0;
    if (IsMultiCode(*code)) {
        if (NeedsToothData(*code)) {
            ShowStop(kMultiCodeNeedsInformation);
            return 0;
        }
        bool posted = false;
        for (const ProcedureCodeRecord* member : Members(*code, codes)) posted = AddCompleted(context, *member, postings) != 0 || posted;
        return posted ? -1 : 0;
    }
    if (NeedsToothData(*code)) {
        ShowStop(kProcedureCodeNeedsInformation);
        return 0;
    }
    return AddCompleted(context, *code, postings);
}
