// Continuing care records of a patient and the attachments the reasons ask for.
#include "appointments/appt_care.h"

#include <algorithm>
#include <cstring>

#include "appointments/appt_reasons.h"
#include "data/db_access.h"
#include "data/record_text.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/records/definitions.h"

const char kTitleContinuingCare[] = "Quorvin Continuing Care";
const char kCareNotSetUp[] =
    "One or more of the selected procedures is attached to a Continuing Care Type that was not setup for this "
    "patient.  Setup Continuing Care for this patient using the default settings?";

namespace {

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

bool AskCare(const std::string& text) {
    PromptRequest request;
    request.text = text;
    request.title = kTitleContinuingCare;
    request.buttons = kButtonsYesNo;
    request.icon = kIconQuestion;
    return CurrentPrompter().Show(request) == kAnswerYes;
}

// A new record of the type with the practice's defaults for it: the type's name and interval
// from its definition (a type without one is named "CC" and its number, every six months).
ContinuingCareRecord DefaultCare(uint32_t patient_id, uint16_t type, uint32_t appointment_id, int32_t due) {
    ContinuingCareRecord c{};
    c.patientId = patient_id;
    c.type = type;
    c.appointmentId = appointment_id;
    c.dueDate = due;
    c.intervalMonths = kDefaultCareIntervalMonths;
    PutText(c.typeName, "CC" + std::to_string(type));
    DefinitionRecord d{};
    const uint8_t key[2] = {kDefinitionContinuingCareType, static_cast<uint8_t>(type)};
    DbGroupScope group(GroupOf(kDefinitionFile));
    if (type <= 255 && group.Result() == kQdbOk && DbFind(kDefinitionKey, DbPrepareKey(key), &d) == kQdbOk) {
        if (d.text[0]) PutText(c.typeName, GetText(d.text));
        if (d.intervalMonths) c.intervalMonths = d.intervalMonths;
    }
    return c;
}

}  // namespace

std::string CareAttachedElsewhereQuestion(const std::string& type_name) {
    return "The " + type_name +
           " Continuing Care for this patient is already attached to another appointment.  Would you like to attach it "
           "to this appointment instead?";
}

std::vector<ContinuingCareRecord> ReadPatientCare(uint32_t patient_id) {
    std::vector<ContinuingCareRecord> care;
    DbGroupScope group(GroupOf(kContinuingCareFile));
    if (group.Result() != kQdbOk) return care;
    ContinuingCareRecord c{};
    for (uint16_t r = DbStartSetForward(kContinuingCareByPatientKey, DbPrepareKey(&patient_id), &c, 4); r == kQdbOk;
         r = DbNextInSet(kContinuingCareByPatientKey, &c))
        care.push_back(c);
    return care;
}

std::vector<uint16_t> CareTypesOfReasons(const AppointmentRecord& a) {
    std::vector<uint16_t> types;
    for (int slot = 0; slot < kReasonSlots && types.size() < kAttachedCareTypes; ++slot) {
        ProcedureCodeRecord code{};
        if (a.reasons[slot] == 0 || !ReadCodeOfReason(a, slot, &code) || code.continuingCareType == 0) continue;
        if (std::find(types.begin(), types.end(), code.continuingCareType) == types.end())
            types.push_back(code.continuingCareType);
    }
    return types;
}

namespace {

// Attaches the types, in order, from the patient's records: a record of this appointment stays, a
// free one joins, one attached to another appointment joins after a Yes to the question naming
// its type; a type with no record joins only when the plan already sets one up. Records this
// appointment held of other types are let go.
void AttachTypes(const std::vector<uint16_t>& types, const std::vector<ContinuingCareRecord>& care,
                 uint32_t appointment_id, CarePlan* plan) {
    auto record_of = [&care](uint16_t type) {
        return std::find_if(care.begin(), care.end(), [type](const ContinuingCareRecord& c) { return c.type == type; });
    };
    std::vector<uint16_t> attached;
    for (uint16_t type : types) {
        auto c = record_of(type);
        if (c == care.end()) {
            const bool set_up = std::any_of(plan->writes.begin(), plan->writes.end(),
                                            [type](const ContinuingCareRecord& w) { return w.type == type; });
            if (set_up) attached.push_back(type);
            continue;
        }
        const bool here = appointment_id != 0 && c->appointmentId == appointment_id;
        if (!here && c->appointmentId != 0 && !AskCare(CareAttachedElsewhereQuestion(GetTrimmedText(c->typeName))))
            continue;
        attached.push_back(type);
        if (!here) {
            ContinuingCareRecord moved = *c;
            moved.appointmentId = appointment_id;
            plan->writes.push_back(moved);
        }
    }
    if (appointment_id != 0)
        for (const ContinuingCareRecord& c : care)
            if (c.appointmentId == appointment_id && std::find(attached.begin(), attached.end(), c.type) == attached.end()) {
                ContinuingCareRecord freed = c;
                freed.appointmentId = 0;
                plan->writes.push_back(freed);
            }
    for (size_t i = 0; i < attached.size() && i < kAttachedCareTypes; ++i) plan->attached[i] = attached[i];
}

}  // namespace

CarePlan PlanCareFromReasons(uint32_t patient_id, uint32_t appointment_id, const AppointmentRecord& a) {
    CarePlan plan{};
    const std::vector<uint16_t> types = CareTypesOfReasons(a);
    const std::vector<ContinuingCareRecord> care = patient_id ? ReadPatientCare(patient_id) : std::vector<ContinuingCareRecord>{};
    auto has_record = [&care](uint16_t type) {
        return std::any_of(care.begin(), care.end(), [type](const ContinuingCareRecord& c) { return c.type == type; });
    };
    // A person without a patient record has no continuing care to set up.
    const bool missing =
        patient_id != 0 && std::any_of(types.begin(), types.end(), [&](uint16_t t) { return !has_record(t); });
    if (missing && AskCare(kCareNotSetUp)) {
        const int32_t due = a.date ? a.date : QVN_SysDate();
        for (uint16_t type : types)
            if (!has_record(type)) plan.writes.push_back(DefaultCare(patient_id, type, appointment_id, due));
    }
    AttachTypes(types, care, appointment_id, &plan);
    return plan;
}

std::vector<CarePickLine> CarePickLines(const std::vector<ContinuingCareRecord>& care) {
    std::vector<CarePickLine> lines;
    for (const ContinuingCareRecord& c : care)
        lines.push_back({GetTrimmedText(c.typeName) + "\t" + (c.dueDate ? QVN_fmtDateString2000(c.dueDate) : ""), c.type});
    return lines;
}

bool PlanCarePick(const std::vector<ContinuingCareRecord>& care, uint32_t appointment_id, uint16_t type, CarePlan* plan) {
    CarePlan picked{};
    AttachTypes({type}, care, appointment_id, &picked);
    if (picked.attached[0] != type) return false;
    *plan = std::move(picked);
    return true;
}
