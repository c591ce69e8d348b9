// The demo practice into the record files. Each record is built zero-filled and added through
// the first tier on its group, opened once per file; the first failure ends the seeding with
// the file and the engine's reason.
#include "data/demo_seed.h"

#include <cstring>

#include "data/db_access.h"
#include "data/record_text.h"
#include "data/rscuse_record.h"
#include "suite/qdb/qdb.h"
#include "suite/records/continuing_care.h"
#include "suite/records/definitions.h"
#include "suite/records/patient.h"
#include "suite/records/practice_resource.h"
#include "suite/records/procedures.h"
#include "suite/records/provider_statistics.h"
#include "suite/records/referral.h"
#include "suite/records/users.h"
#include "suite/users.h"

namespace {

uint16_t Time(int units) { return units < 0 ? kNoTime : static_cast<uint16_t>(units); }

// Writes through memcpy: the record's arrays are packed and may lie on odd addresses.
void PutHours(const DemoHours& hours, void* start_field, void* end_field) {
    uint16_t start[7][3], end[7][3];
    for (int d = 0; d < 7; ++d)
        for (int i = 0; i < 3; ++i) {
            start[d][i] = Time(hours.start[d][i]);
            end[d][i] = Time(hours.end[d][i]);
        }
    std::memcpy(start_field, start, sizeof start);
    std::memcpy(end_field, end, sizeof end);
}

// 'X' provider time (code 2), '/' assistant (code 1), else blank; the first unit in the top bits.
void PutTimePattern(const std::string& units, uint8_t pattern[6]) {
    std::memset(pattern, 0, 6);
    for (size_t u = 0; u < units.size() && u < 24; ++u) {
        const int code = units[u] == 'X' ? 2 : units[u] == '/' ? 1 : 0;
        pattern[u / 4] |= static_cast<uint8_t>(code << (6 - 2 * (u % 4)));
    }
}

// Adds the records of one file on its group, opened for the whole batch.
class FileWriter {
public:
    FileWriter(int file, std::string* reason) : file_(file), reason_(reason), group_(GroupOf(file)) {
        if (group_.Result() != kQdbOk) Fail(group_.Result());
    }
    bool Ok() const { return ok_; }
    template <typename Record>
    bool Add(const Record& record) {
        if (!ok_) return false;
        const uint16_t result = DbAdd(file_, &record);
        if (result != kQdbOk) Fail(result);
        return ok_;
    }

private:
    static FileGroupDesc GroupOf(int file) {
        FileGroupDesc desc{};
        DbGroupOf(file, &desc);
        return desc;
    }
    void Fail(uint16_t result) {
        ok_ = false;
        *reason_ = "data file " + std::to_string(file_) + ": result " + std::to_string(result) + ", " +
                   QDB_GetLastReason(db_state.session);
    }
    int file_;
    std::string* reason_;
    DbGroupScope group_;
    bool ok_ = true;
};

bool WriteResources(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kResourceFile, reason);
    ResourceRecord practice{};
    practice.kind = kResourceKindPractice;
    std::memcpy(practice.id, kPracticeId, 4);
    std::memcpy(practice.practiceBlock, demo.name.data(), std::min(demo.name.size(), sizeof practice.practiceBlock - 1));
    out.Add(practice);
    for (const DemoProvider& p : demo.providers) {
        ResourceRecord r{};
        r.kind = kResourceKindProvider;
        PutId(r.id, p.id);
        PutText(r.names.lastName, p.last);
        PutText(r.names.firstName, p.first);
        PutText(r.names.title, p.title);
        r.providerClass = p.providerClass;
        for (int n : p.operatoryNumbers) r.operatoryBitmap[n / 8] |= static_cast<uint8_t>(1 << (n % 8));
        std::memcpy(r.number, p.number.data(), std::min(p.number.size(), sizeof r.number));
        out.Add(r);
    }
    for (const DemoStaff& s : demo.staff) {
        ResourceRecord r{};
        r.kind = kResourceKindStaff;
        PutId(r.id, s.id);
        PutText(r.names.lastName, s.last);
        PutText(r.names.firstName, s.first);
        out.Add(r);
    }
    for (const DemoOperatory& o : demo.operatories) {
        ResourceRecord r{};
        r.kind = kResourceKindOperatory;
        PutId(r.id, o.id);
        r.attribute = static_cast<uint8_t>(o.number);
        PutText(r.names.title, o.title);
        out.Add(r);
    }
    return out.Ok();
}

RscUseProviderBase ProviderBase(const DemoProvider& p) {
    RscUseProviderBase base{};
    base.head.kind = kRscProvider;
    PutId(base.head.id, p.id);
    base.colour = p.colour;
    PutHours(p.hours, base.defaultStart, base.defaultEnd);
    for (int d = 0; d < 7; ++d)
        for (int b = 0; b < kTimeBlocks; ++b) base.blockStart[d][b] = base.blockEnd[d][b] = kNoTime;
    // Blocks of one name share a slot: one slot has its times on each weekday it is held.
    int slots = 0;
    for (const DemoTimeBlock& block : p.blocks) {
        int slot = 0;
        while (slot < slots && block.name != base.blockNames[slot]) ++slot;
        if (slot == slots) {
            if (slots == kTimeBlocks) continue;
            ++slots;
            PutText(base.blockNames[slot], block.name);
            base.blockColour[slot] = block.colour;
            base.blockType[slot][0] = static_cast<uint8_t>(block.appointmentType);
            if (!block.operatory.empty()) PutId(base.blockOperatory[slot], block.operatory);
        }
        base.blockStart[block.weekday][slot] = Time(block.start);
        base.blockEnd[block.weekday][slot] = Time(block.end);
    }
    for (size_t a = 0; a < p.aliases.size() && a < kProviderAliases; ++a) PutId(base.aliases[a], p.aliases[a]);
    return base;
}

bool WriteSchedules(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kRscUseFile, reason);
    RscUsePracticeBase practice{};
    practice.head.kind = kRscPractice;
    std::memcpy(practice.head.id, kPracticeId, 4);
    PutHours(demo.hours, practice.defaultStart, practice.defaultEnd);
    practice.blockSize = static_cast<uint16_t>(demo.blockSize);
    for (size_t h = 0; h < demo.holidays.size() && h < kHolidaySlots; ++h) {
        practice.holidays[h].month = static_cast<uint8_t>(demo.holidays[h].month);
        practice.holidays[h].day = static_cast<uint8_t>(demo.holidays[h].day);
        practice.holidays[h].kind = static_cast<uint8_t>(demo.holidays[h].kind);
    }
    out.Add(practice);
    for (const DemoProvider& p : demo.providers) out.Add(ProviderBase(p));
    return out.Ok();
}

DefinitionRecord Definition(uint8_t kind, int number, const std::string& text) {
    DefinitionRecord d{};
    d.kind = kind;
    d.number = static_cast<uint8_t>(number);
    PutText(d.text, text);
    return d;
}

bool WriteDefinitions(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kDefinitionFile, reason);
    for (size_t i = 0; i < demo.medicalAlerts.size(); ++i)
        out.Add(Definition(kDefinitionMedicalAlert, static_cast<int>(i) + 1, demo.medicalAlerts[i]));
    for (size_t i = 0; i < demo.appointmentTypes.size(); ++i)
        out.Add(Definition(kDefinitionAppointmentType, static_cast<int>(i) + 1, demo.appointmentTypes[i]));
    for (const DemoStatus& s : demo.statuses) {
        DefinitionRecord d = Definition(kDefinitionAppointmentStatus, s.number, s.name);
        d.colourCode = s.colourCode;
        d.colour = s.colour;
        out.Add(d);
    }
    for (size_t i = 0; i < demo.flagCaptions.size(); ++i)
        out.Add(Definition(kDefinitionFlagCaption, static_cast<int>(i) + 1, demo.flagCaptions[i]));
    for (const DemoCareType& t : demo.careTypes) {
        DefinitionRecord d = Definition(kDefinitionContinuingCareType, t.number, t.name);
        d.intervalMonths = static_cast<uint8_t>(t.intervalMonths);
        out.Add(d);
    }
    return out.Ok();
}

bool WriteProcedureCodes(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kProcedureCodeFile, reason);
    uint32_t id = 1;
    for (const DemoProcedureCode& c : demo.procedureCodes) {
        ProcedureCodeRecord r{};
        r.id = id++;
        std::memcpy(r.code, c.code.data(), std::min(c.code.size(), sizeof r.code));
        PutText(r.description, c.description);
        r.timeUnits = static_cast<uint8_t>(c.timePattern.size());
        PutTimePattern(c.timePattern, r.timePattern);
        r.appointmentType = static_cast<uint8_t>(c.appointmentType);
        PutText(r.abbreviation, c.abbreviation);
        r.needs = c.needs;
        r.continuingCareType = static_cast<uint8_t>(c.careType);
        r.fees[0] = static_cast<uint32_t>(c.fee);
        r.fees[1] = static_cast<uint32_t>(c.fee) * 85 / 100;  // the contracted insurance fees
        out.Add(r);
    }
    return out.Ok();
}

bool WriteProcedures(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kProcedureFile, reason);
    for (const DemoProcedure& d : demo.procedures) {
        ProcedureRecord r{};
        r.id = d.id;
        r.patientId = d.patientId;
        r.kind = static_cast<uint8_t>(d.kind);
        r.codeId = static_cast<uint32_t>(d.codeIndex) + 1;
        r.date = d.date;
        PutText(r.tooth, d.tooth);
        PutText(r.surfaces, d.surfaces);
        r.fee = static_cast<uint32_t>(demo.procedureCodes[static_cast<size_t>(d.codeIndex)].fee);
        out.Add(r);
    }
    return out.Ok();
}

bool WriteContinuingCare(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kContinuingCareFile, reason);
    for (const DemoCare& d : demo.care) {
        ContinuingCareRecord r{};
        r.patientId = d.patientId;
        r.type = static_cast<uint16_t>(d.type);
        r.dueDate = d.dueDate;
        r.lastDate = d.lastDate;
        for (const DemoCareType& t : demo.careTypes)
            if (t.number == d.type) {
                r.intervalMonths = static_cast<uint16_t>(t.intervalMonths);
                PutText(r.typeName, t.name);
            }
        out.Add(r);
    }
    return out.Ok();
}

bool WriteReferrals(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kReferralFile, reason);
    for (const DemoReferral& d : demo.referrals) {
        ReferralRecord r{};
        r.id = d.id;
        PutText(r.lastName, d.last);
        PutText(r.firstName, d.first);
        PutText(r.title, d.title);
        out.Add(r);
    }
    return out.Ok();
}

PatientRecord Patient(const DemoPatient& d) {
    PatientRecord p{};
    p.id = d.id;
    p.accountId = d.id;
    PutText(p.lastName, d.last);
    PutText(p.firstName, d.first);
    p.middleInitial = d.middleInitial.empty() ? ' ' : d.middleInitial[0];
    p.guarantorId = d.guarantorId;
    p.relation = static_cast<uint8_t>(d.relation);
    p.birthDate = d.birthDate;
    p.gender = d.gender;
    PutText(p.preferredName, d.preferred);
    PutText(p.homePhone, d.homePhone);
    PutText(p.chartNumber, d.chartNumber);
    PutText(p.ssn, d.ssn);
    PutId(p.provider, d.provider);
    p.feeSchedule = 1;
    for (int bit = 0; bit < 64; ++bit)
        if (d.medicalAlerts >> bit & 1) p.medicalAlerts[bit / 8] |= static_cast<uint8_t>(1 << (bit % 8));
    p.status = static_cast<uint8_t>(d.status);
    p.referralId = d.referralId;
    return p;
}

bool WritePatients(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kPatientFile, reason);
    for (const DemoPatient& d : demo.patients) out.Add(Patient(d));
    return out.Ok();
}

bool WriteUsers(const DemoPractice& demo, uint32_t password_iterations, std::string* reason) {
    uint32_t id = 1;
    for (const DemoUser& d : demo.users) {
        UserRecord user = MakeUserRecord(id++, d.login, d.fullName);
        for (int right = 0; right < kRightCount; ++right) SetUserRight(user, right, true);
        for (int right : d.refusedRights) SetUserRight(user, right, false);
        QVN_SetUserPassword(user, d.password, password_iterations);
        const uint16_t result = QVN_WriteUser(user);
        if (result != kQdbOk) {
            *reason = "user " + d.login + ": result " + std::to_string(result);
            return false;
        }
    }
    return true;
}

bool WriteStatistics(const DemoPractice& demo, std::string* reason) {
    FileWriter out(kProviderStatisticsFile, reason);
    for (const DemoStatistics& d : demo.statistics) {
        ProviderStatisticsRecord r{};
        PutId(r.provider, d.provider);
        r.kind = static_cast<uint16_t>(d.kind);
        r.year = static_cast<uint16_t>(d.year);
        r.month = static_cast<uint16_t>(d.month);
        r.goal = static_cast<uint32_t>(d.goal);
        r.production16 = static_cast<uint32_t>(d.production[0]);
        r.production24 = static_cast<uint32_t>(d.production[1]);
        r.production28 = static_cast<uint32_t>(d.production[2]);
        r.production52 = static_cast<uint32_t>(d.production[3]);
        r.newPatients = static_cast<uint32_t>(d.newPatients);
        out.Add(r);
    }
    return out.Ok();
}

}  // namespace

bool WriteDemoPractice(const DemoPractice& demo, uint32_t password_iterations, std::string* reason) {
    return WriteResources(demo, reason) && WriteSchedules(demo, reason) && WriteDefinitions(demo, reason) &&
           WriteProcedureCodes(demo, reason) && WriteProcedures(demo, reason) &&
           WriteContinuingCare(demo, reason) && WriteReferrals(demo, reason) && WritePatients(demo, reason) &&
           WriteStatistics(demo, reason) && WriteUsers(demo, password_iterations, reason);
}
