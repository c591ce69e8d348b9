// The new patient's name, phone, address and referrer, checked and written back.
#include "appointments/new_patient_entry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/id_counters.h"
#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/addresses.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/referral.h"

namespace {

constexpr int kMsgNoLastName = 9018;
constexpr int kMsgNoFirstName = 9019;

struct EntryState {
    uint8_t lastReferrerKind = 0;  // a patient until the user chooses otherwise
};
EntryState entry_state;

std::string Trimmed(const std::string& s) {
    const size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

std::string UpperInitial(const std::string& initial) {
    std::string s = Trimmed(initial).substr(0, kEntryInitialMax);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool AnyAddress(const NewPatientRecord& side) {
    return side.street[0] || side.street2[0] || side.city[0] || side.state[0] || side.zip[0];
}

}  // namespace

void SplitAppointmentName(const std::string& name, std::string* last, std::string* first, std::string* initial) {
    QVN_UnpackName(name, last, first, initial);
    *initial = UpperInitial(*initial);
}

std::string JoinAppointmentName(const std::string& last, const std::string& first, const std::string& initial) {
    return QVN_PackName(last, first, UpperInitial(initial));
}

NewPatientEntry NewPatientEntryOf(const AppointmentRecord& a, const NewPatientRecord& side) {
    NewPatientEntry e;
    SplitAppointmentName(GetText(a.patientName), &e.lastName, &e.firstName, &e.middleInitial);
    e.phone = GetTrimmedText(a.phone);
    e.street = GetTrimmedText(side.street);
    e.street2 = GetTrimmedText(side.street2);
    e.city = GetTrimmedText(side.city);
    e.state = GetTrimmedText(side.state);
    e.zip = GetTrimmedText(side.zip);
    return e;
}

NewPatientField CheckNewPatientEntry(const NewPatientEntry& e, int country) {
    if (Trimmed(e.lastName).empty()) {
        QVN_Message(kMsgGroupGeneral, kMsgNoLastName);
        return kNewPatientLastName;
    }
    if (Trimmed(e.firstName).empty()) {
        QVN_Message(kMsgGroupGeneral, kMsgNoFirstName);
        return kNewPatientFirstName;
    }
    if (!QVN_verf_Phone(e.phone)) return kNewPatientPhone;
    if (!QVN_verf_State(e.state, country)) return kNewPatientState;
    if (!QVN_verf_Zip(e.zip, country)) return kNewPatientZip;
    return kNewPatientFieldsOk;
}

void StoreNewPatientEntry(const NewPatientEntry& e, int country, AppointmentRecord* a, NewPatientRecord* side) {
    // The joined name may be 36 characters; the record's field keeps the first 32 bytes, with no
    // terminator when it is full.
    const std::string name = JoinAppointmentName(e.lastName, e.firstName, e.middleInitial);
    std::memset(a->patientName, 0, sizeof a->patientName);
    std::memcpy(a->patientName, name.data(), std::min(name.size(), sizeof a->patientName));
    PutText(a->phone, QVN_Set_Phone(Trimmed(e.phone)));
    PutText(side->street, Trimmed(e.street));
    PutText(side->street2, Trimmed(e.street2));
    PutText(side->city, Trimmed(e.city));
    if (QVN_CountryHasState(country)) PutText(side->state, Trimmed(e.state));
    PutText(side->zip, Trimmed(e.zip));
}

std::string PatientReferrerName(const PatientRecord& patient) { return PatientPackedName(patient) + " (Patient)"; }

std::string ReferrerName(const AppointmentRecord& a) {
    if (a.referredById == 0) return "";
    if (a.referredByKind == 0) {
        PatientRecord p{};
        return ReadPatient(a.referredById, &p) ? PatientReferrerName(p) : "";
    }
    ReferralRecord r{};
    return REFERRAL_ReadSource(a.referredById, &r) ? REFERRAL_SourceName(r) : "";
}

void SetReferrer(AppointmentRecord* a, uint8_t kind, uint32_t id) {
    a->referredByKind = kind;
    a->referredById = id;
}

void RemoveReferrer(AppointmentRecord* a) { a->referredById = 0; }

uint8_t LastReferrerKind() { return entry_state.lastReferrerKind; }
void RememberReferrerKind(uint8_t kind) { entry_state.lastReferrerKind = kind; }

bool ReadNewPatientAppointment(uint32_t appointment_id, AppointmentRecord* a, NewPatientRecord* side) {
    *side = NewPatientRecord{};
    if (ReadAppointment(appointment_id, a) != kQdbOk || a->patientId != 0) return false;
    if (a->newPatientId == 0) return true;
    FileGroupDesc group{};
    DbGroupOf(kNewPatientFile, &group);
    uint32_t id = a->newPatientId;
    const uint16_t result = DbFindRecord(group, kNewPatientKey, &id, sizeof id, side);
    if (result == kQdbOk) return true;
    *side = NewPatientRecord{};
    if (result != kQdbNotFound) return false;
    side->id = a->newPatientId;  // the record went missing: the edit writes it anew under its id
    return true;
}

NewPatientSaveResult SaveNewPatientInfo(const AppointmentRecord& before, const NewPatientRecord& side_before,
                                        AppointmentRecord after, NewPatientRecord side_after) {
    const bool appointment_changed = std::memcmp(&before, &after, sizeof after) != 0;
    const bool side_changed = std::memcmp(&side_before, &side_after, sizeof side_after) != 0;
    if (!appointment_changed && !side_changed) return kNewPatientUnchanged;
    const bool write_side = after.newPatientId != 0 || side_after.id != 0 || AnyAddress(side_after);
    if (write_side && side_after.id == 0) {
        side_after.id = after.newPatientId ? after.newPatientId : NextRecordId(kNewPatientIdCounter);
        if (side_after.id == 0) return kNewPatientNotSaved;  // the counter reported why (or Cancel was chosen)
    }
    if (write_side) after.newPatientId = side_after.id;
    after.lastChanged = QVN_SysDate();
    return SaveAppointment(false, &before, after, write_side ? &side_after : nullptr, &side_before) ? kNewPatientSaved
                                                                                                   : kNewPatientNotSaved;
}
