// The reasons of an appointment: its 20 reason slots (an id and a kind byte each), the lines the
// appointment dialog lists them with, and what they make of the appointment after each change
// (description, time pattern, length, amount, type). Reads go through the access layer's
// session: procedure codes (file 1, key 2) and the patients' procedures (file 55, key 57).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/appointment_record.h"
#include "suite/records/procedures.h"

// The reason list's lines, one per filled slot in slot order, with the slot each stands for.
//   a procedure code:              "Pc\t\t%-28.28s"                (the code's description)
//   a planned procedure:           "Tx\t%s\t%-28.28s\t%s\t%s"       (code, description, tooth or
//                                  quadrant, surfaces), "Tx\t%s\t%-28.28s" without tooth data
//   a completed procedure:         "C\t\t%-28.28s\t(Completed)"
// A reason whose record is gone shows kMissingReason as its description, so that the user sees
// the slot and can delete it.
struct ReasonLine {
    int slot;
    std::string text;
};
std::vector<ReasonLine> ReasonLines(const AppointmentRecord& a);
extern const char kMissingReason[];  // "<not on file>"

// Puts a reason in the first free of the 20 slots (ids and kinds of the record); false when full
// or for id 0 (0 marks a free slot).
bool AddReason(AppointmentRecord* a, uint32_t id, uint8_t kind);
// Frees one slot; the others keep their places. Out-of-range slots are ignored.
void DeleteReason(AppointmentRecord* a, int slot);
void DeleteAllReasons(AppointmentRecord* a);

// What the reasons make of the appointment, rebuilt after each change of the reasons.
struct ReasonRebuild {
    std::string description;   // may grow past 60 on screen; the save keeps the first 60
    uint8_t pattern[6];
    int length;                // minutes
    int32_t amount;            // cents, from the patient's fee schedule (0 patient: schedule 1)
    int type;                  // the type list's entry of the first reason's code; -1: keep
};
// unit_minutes is the practice's time unit. A reason whose code cannot be read adds nothing but
// still counts as a reason for the pattern rule (one reason: its code's pattern; else all 170).
// The amount takes every reason's fee from the patient's fee schedule, a planned procedure's
// too: the fee a plan was priced with may come from an older fee list, and the scheduled
// production should follow the schedule the patient is on today.
// The type is the code's appointmentType as it stands: the code record keeps the n-th type name
// counted from 1 (0 none), which is the entry of the dialog's type list ("<none>" first) and the
// appointment record's type, as the sheet reads it.
ReasonRebuild RebuildFromReasons(const AppointmentRecord& a, int unit_minutes);

// Whether a code needs tooth or surface information before it can be posted (any needs bit).
bool CodeNeedsToothOrSurface(const ProcedureCodeRecord& code);
// Asked when such a code is picked as a reason on its own.
extern const char kNeedsToothQuestion[];

// Every procedure code, in code order (key 4).
std::vector<ProcedureCodeRecord> ReadProcedureCodes();
// The patient's treatment-planned procedures (key 56, patient and kind), in the file's order.
std::vector<ProcedureRecord> ReadPlannedProcedures(uint32_t patient_id);

// One code by id, one procedure by id; false when not on file.
bool ReadProcedureCode(uint32_t code_id, ProcedureCodeRecord* code);
bool ReadProcedure(uint32_t procedure_id, ProcedureRecord* procedure);
// The code behind a reason slot: the code itself, or the code of the patient's procedure.
bool ReadCodeOfReason(const AppointmentRecord& a, int slot, ProcedureCodeRecord* code);

// The line a picker lists a code or a planned procedure with.
std::string CodePickLine(const ProcedureCodeRecord& code);                                    // "code\tdescription"
std::string PlannedPickLine(const ProcedureRecord& procedure, const ProcedureCodeRecord& code);  // as the reason line
