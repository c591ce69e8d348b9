// The appointment search by name and by patient.
#include "appointments/locate.h"
#include "data/appointment_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "lists/more_info.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/phones.h"
#include "suite/records/patient.h"
#include "views/active_view.h"

const char kLocateSeparator[] = "______________________________________________________________";

namespace {

constexpr size_t kNameCut = 29;
constexpr size_t kNameColumn = 21;

FileGroupDesc GroupOf(int file) {
    FileGroupDesc desc{};
    DbGroupOf(file, &desc);
    return desc;
}

std::string DayAbbreviation(int32_t date) { return std::string(QVN_getday_name(QVN_week_day(date))).substr(0, 3); }

std::string LastSeven(const std::string& text) { return text.size() > 7 ? text.substr(text.size() - 7) : text; }

// Adds lines in the lists' order, the separator before the first past appointment, and stops
// at the limit.
class LineCollector {
public:
    LineCollector(int32_t today, LocateSearch* out) : today_(today), out_(out) {}
    // False once the limit is reached: the search stops.
    bool Add(const AppointmentRecord& a, std::string text) {
        const int32_t date = AppointmentUnscheduled(a) ? 0 : int32_t{a.date};
        if (date != 0 && date < today_ && !separator_) {
            separator_ = true;
            if (!Put(SeparatorRank(), {kLocateSeparator, ListLineKind::kSeparator, 0, 0})) return false;
        }
        return Put(AppointmentRank(date, today_),
                   {std::move(text), date == 0 ? ListLineKind::kUnscheduled : ListLineKind::kAppointment, uint32_t{a.id}, 0});
    }
    void Finish() { out_->lines = lines_.Lines(); }

private:
    bool Put(const ListRank& rank, ListLine line) {
        lines_.Add(rank, std::move(line));
        if (lines_.Size() < kLocateLineLimit) return true;
        out_->limitReached = true;
        return false;
    }
    int32_t today_;
    LocateSearch* out_;
    RankedLines lines_;
    bool separator_ = false;
};

}  // namespace

std::string LocateNameKey(const std::string& typed) {
    const std::string cut = typed.substr(0, kNameCut);
    std::string key;
    for (size_t i = 0; i < cut.size(); ++i) {
        key += cut[i];
        if (cut[i] == ',' && (i + 1 >= cut.size() || cut[i + 1] != ' ')) key += ' ';
    }
    return key;
}

std::string LocateLine(const AppointmentRecord& a, bool patient_on_file, const std::string& phone) {
    const std::string name = GetText(a.patientName);
    const char mark = patient_on_file ? ' ' : '?';
    char line[200];
    if (AppointmentUnscheduled(a)) {
        std::snprintf(line, sizeof line, "%-21.21s%c \t<Unscheduled>\t  \t\t%8.8s\t%lx", name.c_str(), mark, phone.c_str(),
                      static_cast<unsigned long>(a.id));
        return line;
    }
    const std::string provider(a.provider, strnlen(a.provider, sizeof a.provider));
    std::snprintf(line, sizeof line, "%-21.21s%c\t%8s\t%-3.3s\t%4.4s\t%8.8s\t%lx", name.c_str(), mark,
                  QVN_fmtDateString1900(a.date).c_str(), DayAbbreviation(a.date).c_str(), provider.c_str(), phone.c_str(),
                  static_cast<unsigned long>(a.id));
    return line;
}

std::string PatientAppointmentChoiceLine(const AppointmentRecord& a) {
    const std::string provider(a.provider, strnlen(a.provider, sizeof a.provider));
    char line[160];
    if (AppointmentUnscheduled(a)) {
        std::snprintf(line, sizeof line, " <Unscheduled>       \t%4.4s\t%3d mins\t%lx", provider.c_str(), int{a.length},
                      static_cast<unsigned long>(a.id));
        return line;
    }
    const int hour12 = a.hour % 12 == 0 ? 12 : a.hour % 12;
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", hour12 % 100, a.minute % 60);
    std::snprintf(line, sizeof line, "%8s\t%-3.3s \t%5.5s%c \t%4.4s\t%3d mins\t%lx", QVN_fmtDateString1900(a.date).c_str(),
                  DayAbbreviation(a.date).c_str(), time, a.hour < 12 ? 'a' : 'p', provider.c_str(), int{a.length},
                  static_cast<unsigned long>(a.id));
    return line;
}

LocateSearch SearchAppointmentsByName(const std::string& typed, int32_t today, bool report_no_match) {
    LocateSearch out;
    const std::string key = LocateNameKey(typed);
    if (key.empty()) return out;
    DbGroupScope appointments(GroupOf(kAppointmentFile));
    DbGroupScope patients(GroupOf(kPatientFile));
    if (appointments.Result() != kQdbOk || patients.Result() != kQdbOk) {
        out.error = appointments.Result() != kQdbOk ? appointments.Result() : patients.Result();
        if (!DbAskWhenUnreachable(out.error)) QVN_Message(kMsgGroupGeneral, 3018, out.error, kAppointmentFile);
        return out;
    }
    DbReadSnapshot snapshot;
    char key_buffer[sizeof(AppointmentRecord::patientName)] = {};
    std::memcpy(key_buffer, key.data(), std::min(key.size(), sizeof key_buffer));
    LineCollector lines(today, &out);
    AppointmentRecord a{};
    uint16_t r = DbStartSetForward(kApptByNameKey, DbPrepareKey(key_buffer), &a,
                                   static_cast<int>(std::min(key.size(), sizeof key_buffer)));
    for (; r == kQdbOk; r = DbNextInSet(kApptByNameKey, &a)) {
        PatientRecord p{};
        const uint32_t patient_id = a.patientId;
        const bool on_file = patient_id != 0 && DbFind(kPatientByIdKey, DbPrepareKey(&patient_id), &p) == kQdbOk;
        std::string phone = LastSeven(QVN_StripPhone(GetText(a.phone)));
        if (on_file) phone = QVN_CheckForPatientPrivatePhone(p.privacy, phone);
        if (!lines.Add(a, LocateLine(a, on_file, phone))) break;
    }
    lines.Finish();
    if (out.limitReached) {
        QVN_Message(kMsgGroupSuite, 9154);
        return out;
    }
    if (r != kQdbNotFound) {
        out.error = r;
        if (!DbAskWhenUnreachable(r)) QVN_Message(kMsgGroupGeneral, 3018, r, kAppointmentFile);
        return out;
    }
    if (out.lines.empty() && report_no_match) QVN_Message(kMsgGroupSuite, 9032);
    return out;
}

LocateSearch SearchAppointmentsOfPatient(uint32_t patient_id, int32_t today) {
    LocateSearch out;
    LineCollector lines(today, &out);
    for (const AppointmentRecord& a : ReadPatientAppointments(patient_id))
        if (!lines.Add(a, PatientAppointmentChoiceLine(a))) break;
    lines.Finish();
    if (out.limitReached) QVN_Message(kMsgGroupSuite, 9154);
    return out;
}

uint32_t AppointmentIdOfLocateLine(const std::string& line) {
    const size_t tab = line.rfind('\t');
    if (tab == std::string::npos) return 0;
    return static_cast<uint32_t>(std::strtoul(line.c_str() + tab + 1, nullptr, 16));
}

std::string NameOfLocateLine(const std::string& line) {
    std::string name = line.substr(0, std::min(line.size(), kNameColumn));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

bool AppointmentOperatoryShown(const AppointmentRecord& a) {
    const ActiveView& view = view_state.active;
    for (int i = 0; i < view.operatoryCount; ++i) {
        const size_t index = static_cast<size_t>(view.operatories[i]);
        if (index < practice_tables.operatories.size() &&
            std::memcmp(practice_tables.operatories[index].id, a.operatory, sizeof a.operatory) == 0)
            return true;
    }
    return false;
}
