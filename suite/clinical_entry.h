// Completing procedures for a patient: the part of the clinical entry module that the
// appointment book needs when it sets an appointment complete. Posting here only works out, in
// memory, the procedure records the completion writes (a new completed procedure per posted
// code with the fee of the patient's fee schedule, or a planned procedure turned completed) and
// tells the user why a reason cannot be posted; the caller writes the records with the rest of
// its change, in one transaction.
#pragma once

#include <cstdint>
#include <vector>

#include "suite/records/procedures.h"

extern const char kMultiCodeNeedsInformation[];      // "Multi-Code requires additional information ..."
extern const char kProcedureCodeNeedsInformation[];  // "Procedure Code requires additional information ..."

// Who and what the procedures are posted for.
struct PostingContext {
    uint32_t patientId = 0;
    uint32_t guarantorId = 0;
    int feeSchedule = 1;          // 1 to 10; anything else reads as 1, the standard fees
    bool patientReferred = false; // the patient came through a referral source
    uint32_t appointmentId = 0;
    char provider[4] = {};
    int32_t date = 0;
};

// The reason as the appointment holds it: a planned procedure of the patient (1) or a code (2).
enum class PostKind { kPlanned = 1, kCode = 2 };

// What the posted reasons write, gathered in order.
struct Postings {
    std::vector<ProcedureRecord> added;      // new completed procedures, ids taken from newIds
    std::vector<ProcedureRecord> completed;  // planned procedures rewritten as completed
    std::vector<uint16_t> careTypesMet;      // continuing care types of the posted codes, each once
    bool referred = false;                   // a posted procedure came through a referral source
    std::vector<uint32_t> newIds;            // ids for the new procedures, handed out in advance
    size_t idsUsed = 0;
};

// The number of new procedure records a code posts: 0 when it needs tooth or surface data,
// its members' count for a multi-code, else 1. Ids for them are taken before the change starts.
int ProceduresPostedBy(const ProcedureCodeRecord& code, const std::vector<ProcedureCodeRecord>& codes);

// Posts one reason into postings. For a code, reason_id is the code's id; for a planned
// procedure it is the procedure's id and planned is the procedure as read (null when it is gone
// or not planned any more: nothing is posted). Returns the id of the new completed procedure,
// 0 when nothing was posted (the reason was refused with its message, or there was nothing to
// post), or -1 when a multi-code was posted as its member codes. A planned procedure that was
// posted returns its own id.
int64_t PostReason(const PostingContext& context, PostKind kind, uint32_t reason_id, const ProcedureRecord* planned,
                   const std::vector<ProcedureCodeRecord>& codes, Postings* postings);

// The code of that id among codes; null when there is none.
const ProcedureCodeRecord* FindCode(const std::vector<ProcedureCodeRecord>& codes, uint32_t id);

// Whether medical cross coding can be entered for the code.
bool CodeTakesCrossCoding(const ProcedureCodeRecord& code);
