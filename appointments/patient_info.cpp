// Claim information lines, the family file's command line and the number to dial.
#include "appointments/patient_info.h"

#include "data/record_text.h"
#include "lists/patient_search.h"
#include "suite/dates.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/utility_strings.h"

const char kFamilyFileProgram[] = "qvnfam.exe";

std::string FamilyFileCommandLine(const std::string& program_folder, uint32_t patient_id) {
    std::string path = program_folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += kFamilyFileProgram;
    if (path.find(' ') != std::string::npos) path = "\"" + path + "\"";
    return path + " /ID" + std::to_string(patient_id);
}

namespace {

std::string RelationText(uint8_t relation) {
    switch (relation) {
    case kRelationSingle:
        return "Self";
    case kRelationSpouse:
        return "Spouse";
    case kRelationChild:
        return "Child";
    default:
        return "Other";
    }
}

std::string GenderText(char gender) {
    if (gender == 'F' || gender == 'f') return "Female";
    if (gender == 'M' || gender == 'm') return "Male";
    return "";
}

std::string CityLine(const PatientRecord& p) {
    std::string line = GetTrimmedText(p.city);
    const std::string state = GetTrimmedText(p.state), zip = GetTrimmedText(p.zip);
    if (!state.empty()) line += (line.empty() ? "" : ", ") + state;
    if (!zip.empty()) line += (line.empty() ? "" : "  ") + zip;
    return line;
}

std::string ShownPhone(const PatientRecord& p, const char (&phone)[17]) {
    return QVN_CheckForPatientPrivatePhone(p.privacy, QVN_Set_Phone(GetText(phone)));
}

}  // namespace

std::vector<ClaimInfoLine> ClaimInfoLines(uint32_t patient_id) {
    PatientRecord p{};
    if (!ReadPatient(patient_id, &p)) return {};
    std::vector<ClaimInfoLine> lines = {
        {"Patient", PatientPackedName(p)},
        {"Account", p.accountId ? std::to_string(p.accountId) : ""},
        {"Birth Date", p.birthDate ? QVN_fmtDateString2000(p.birthDate) : ""},
        {"Gender", GenderText(p.gender)},
        {QVN_UtilityString(10), QVN_FormatSS(GetTrimmedText(p.ssn))},
        {"Address", GetTrimmedText(p.street)},
        {"", CityLine(p)},
        {"Home Phone", ShownPhone(p, p.homePhone)},
        {"Work Phone", ShownPhone(p, p.workPhone)},
    };
    PatientRecord guarantor{};
    const bool own_guarantor = p.guarantorId == 0 || p.guarantorId == p.id;
    if (own_guarantor) guarantor = p;
    const bool have_guarantor = own_guarantor || ReadPatient(p.guarantorId, &guarantor);
    lines.push_back({"Guarantor", have_guarantor ? PatientPackedName(guarantor) : ""});
    lines.push_back({"Relation", RelationText(own_guarantor ? static_cast<uint8_t>(kRelationSingle) : p.relation)});
    lines.push_back({"Provider", GetTrimmedText(p.provider)});
    lines.push_back({"Fee Schedule", std::to_string(p.feeSchedule ? p.feeSchedule : 1)});
    return lines;
}

DialTarget AppointmentDialTarget(const AppointmentRecord& a) {
    DialTarget target;
    PatientRecord p{};
    if (a.patientId != 0 && ReadPatient(a.patientId, &p)) {
        target.name = PatientPackedName(p);
        if (!QVN_CheckForPrivatePhone(p.privacy)) target.digits = QVN_StripPhone(GetText(p.homePhone));
        return target;
    }
    target.name = GetTrimmedText(a.patientName);
    target.digits = QVN_StripPhone(GetText(a.phone));
    return target;
}

std::string NothingToDialText(const std::string& name) { return "There is no phone number to dial for " + name + "."; }
