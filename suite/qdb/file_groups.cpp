// The file-group table and the keys of every group, as byte segments of the record.
//
// Record lengths and keys are given for every file the appointment book reads or writes; the
// groups it never touches carry no layout (record length 0) and refuse records. Where a key is
// "further bytes" beyond what the program names, we add the fields that give the order a user
// expects (appointments of a day by their start time).
#include "suite/qdb/file_groups.h"

#include <algorithm>

#include "data/appointment_record.h"
#include "data/com_dat_record.h"
#include "data/rscuse_record.h"
#include "suite/records/continuing_care.h"
#include "suite/records/counters.h"
#include "suite/records/definitions.h"
#include "suite/records/lab_case.h"
#include "suite/records/notes.h"
#include "suite/records/patient.h"
#include "suite/records/practice_resource.h"
#include "suite/records/print_job.h"
#include "suite/records/procedures.h"
#include "suite/records/provider_statistics.h"
#include "suite/records/referral.h"
#include "suite/records/users.h"

// A key segment made of one field of a record.
#define FIELD(record, member) KeySegment{static_cast<int>(offsetof(record, member)), static_cast<int>(sizeof(record::member))}
// The same for a text field that compares without regard to case.
#define TEXT_FIELD(record, member) \
    KeySegment{static_cast<int>(offsetof(record, member)), static_cast<int>(sizeof(record::member)), true}

namespace {

using Appt = AppointmentRecord;
using Patient = PatientRecord;

// The appointment keys end in the start time so that a day's appointments of one operatory or
// provider come in the order of the sheet. The last-name and first-name keys of patients take
// the three name fields in the order the user types them. Names, preferred names and chart
// numbers compare without regard to case: the registration module stores them as typed. So does
// the patient name of an appointment, which the locate dialog searches as the user types it.
const FileGroupDef kGroups[] = {
    {1, 5, 2, 1, sizeof(ProcedureCodeRecord),
     {{2, true, {FIELD(ProcedureCodeRecord, id)}},
      {4, true, {FIELD(ProcedureCodeRecord, code)}}}},
    {6, 8, 3, 1, sizeof(ResourceRecord),
     {{7, true, {FIELD(ResourceRecord, kind), FIELD(ResourceRecord, id)}},
      {8, false, {FIELD(ResourceRecord, kind), FIELD(ResourceRecord, attribute)}}}},  // {3, number}
    {9, 15, 14, 1, sizeof(Appt),
     {{10, false, {FIELD(Appt, date), FIELD(Appt, operatoryMarker), FIELD(Appt, operatory), FIELD(Appt, hour), FIELD(Appt, minute)}},
      {11, false, {FIELD(Appt, date), FIELD(Appt, providerMarker), FIELD(Appt, provider), FIELD(Appt, hour), FIELD(Appt, minute)}},
      {12, false, {TEXT_FIELD(Appt, patientName)}},
      {13, true, {FIELD(Appt, id)}},
      {14, false, {FIELD(Appt, patientId), FIELD(Appt, date)}},
      {15, false, {FIELD(Appt, unscheduled), FIELD(Appt, providerMarker), FIELD(Appt, provider), FIELD(Appt, listDate)}}}},
    {16, 17, 17, 1, sizeof(CounterRecord), {{17, true, {FIELD(CounterRecord, name)}}}},
    {18, 27, 4, 1, sizeof(Patient),
     {{19, true, {FIELD(Patient, id)}},
      {20, false, {TEXT_FIELD(Patient, lastName), TEXT_FIELD(Patient, firstName), TEXT_FIELD(Patient, middleInitial)}},
      {21, false, {FIELD(Patient, guarantorId)}},
      {22, false, {TEXT_FIELD(Patient, firstName), TEXT_FIELD(Patient, middleInitial), TEXT_FIELD(Patient, lastName)}},
      {23, false, {TEXT_FIELD(Patient, chartNumber)}},
      {24, false, {FIELD(Patient, ssn)}},
      {25, false, {FIELD(Patient, homePhone)}},
      {26, false, {FIELD(Patient, accountId)}},
      {27, false, {TEXT_FIELD(Patient, preferredName)}}}},
    {36, 37, 6, 1, sizeof(UserRecord), {{37, true, {FIELD(UserRecord, loginName)}}}},
    {38, 40, 7, 1, 0, {}},
    {44, 45, 11, 5, sizeof(NoteHead), {{45, true, {FIELD(NoteHead, kind), FIELD(NoteHead, ownerId)}}}},
    {47, 48, 12, 1, sizeof(DefinitionRecord),
     {{48, true, {FIELD(DefinitionRecord, kind), FIELD(DefinitionRecord, number)}}}},
    {49, 51, 10, 1, sizeof(NewPatientRecord), {{50, true, {FIELD(NewPatientRecord, id)}}}},
    {52, 54, 5, 1, 0, {}},
    {55, 64, 15, 1, sizeof(ProcedureRecord),
     {{56, false, {FIELD(ProcedureRecord, patientId), FIELD(ProcedureRecord, kind)}},
      {57, true, {FIELD(ProcedureRecord, id)}}}},
    {69, 70, 19, 1, 0, {}},
    {71, 74, 24, 1, 0, {}},
    {75, 76, 20, 1, 0, {}},
    {77, 80, 21, 1, sizeof(PrintJobRecord), {{78, false, {FIELD(PrintJobRecord, madeDate)}}}},
    {83, 85, 18, 1, sizeof(ComDatRecord),
     {{84, true, {FIELD(ComDatRecord, station)}}, {85, false, {FIELD(ComDatRecord, date)}}}},
    {87, 89, 23, 1, sizeof(ProviderStatisticsRecord),
     {{89, true, {FIELD(ProviderStatisticsRecord, provider), FIELD(ProviderStatisticsRecord, kind),
                  FIELD(ProviderStatisticsRecord, year), FIELD(ProviderStatisticsRecord, month)}}}},
    {90, 91, 28, 1, 0, {}},
    {92, 93, 16, 5, sizeof(AuditHead),  // the fixed head of the variable-length entries
     {{93, false, {FIELD(AuditHead, dayBE), FIELD(AuditHead, secondsBE), FIELD(AuditHead, userIdBE)}}}},
    {94, 96, 29, 1, sizeof(RscUseWeek),
     {{95, true, {FIELD(RscUseHead, kind), FIELD(RscUseHead, id), FIELD(RscUseHead, week)}}}},
    {97, 99, 25, 1, 0, {}},
    {100, 105, 26, 1, sizeof(ContinuingCareRecord),
     {{101, true, {FIELD(ContinuingCareRecord, patientId), FIELD(ContinuingCareRecord, type)}},
      {102, false, {FIELD(ContinuingCareRecord, appointmentId)}}}},
    {106, 107, 27, 1, sizeof(LabCaseLinkRecord),
     {{107, true, {FIELD(LabCaseLinkRecord, appointmentIdBE), FIELD(LabCaseLinkRecord, caseIdBE)}}}},
    {108, 109, 13, 1, 0, {}},
    {110, 112, 31, 1, 0, {}},
    {113, 115, 32, 1, 0, {}},
    {116, 118, 30, 1, 0, {}},
    {120, 121, 33, 1, 0, {}},
    {207, 209, 9, 1, sizeof(ReferralRecord),
     {{208, true, {FIELD(ReferralRecord, id)}},
      {209, false, {FIELD(ReferralRecord, lastName), FIELD(ReferralRecord, firstName)}}}},
    {268, 275, 8, 1, 0, {}},
    {282, 287, 22, 1, 0, {}},
};

}  // namespace

int KeyDef::Length() const {
    int length = 0;
    for (const KeySegment& s : segments) length += s.length;
    return length;
}

const FileGroupDef* FindFileGroup(int number) {
    for (const FileGroupDef& g : kGroups)
        if (number >= g.firstNumber && number <= g.lastNumber) return &g;
    return nullptr;
}

const KeyDef* FindKey(const FileGroupDef& group, int key_number) {
    for (const KeyDef& k : group.keys)
        if (k.number == key_number) return &k;
    return nullptr;
}

void FoldKeyCase(const KeyDef& key, std::string* value) {
    size_t at = 0;
    for (const KeySegment& s : key.segments) {
        const size_t end = std::min(value->size(), at + static_cast<size_t>(s.length));
        if (s.foldCase)
            for (size_t i = at; i < end; ++i) {
                const auto c = static_cast<unsigned char>((*value)[i]);
                // a-z, and the accented small letters of Windows-1252 (not the division sign)
                if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
                    (*value)[i] = static_cast<char>(c - 0x20);
            }
        at += static_cast<size_t>(s.length);
        if (at >= value->size()) break;
    }
}

std::string KeyValueOf(const KeyDef& key, const uint8_t* record, int64_t recno) {
    std::string value;
    for (const KeySegment& s : key.segments)
        value.append(reinterpret_cast<const char*>(record) + s.offset, static_cast<size_t>(s.length));
    FoldKeyCase(key, &value);
    if (!key.unique)
        for (int shift = 56; shift >= 0; shift -= 8) value += static_cast<char>((recno >> shift) & 0xFF);
    return value;
}
