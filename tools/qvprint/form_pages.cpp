// The route slip and the referral recap.
#include "tools/qvprint/form_pages.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "app/command_rules.h"
#include "appointments/appt_reasons.h"
#include "data/appointment_store.h"
#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "suite/dates.h"
#include "suite/names.h"
#include "suite/patient_alert.h"
#include "suite/phones.h"
#include "suite/records/patient.h"
#include "suite/referral.h"
#include "suite/times.h"

namespace {

constexpr int kLabelWidth = 150;
constexpr int kAverageCharWidth = 7;  // page units of an average character of the normal font

bool ReadPatient(uint32_t id, PatientRecord* p) {
    FileGroupDesc desc{};
    DbGroupOf(kPatientFile, &desc);
    DbGroupScope patients(desc);
    return id != 0 && patients.Result() == kQdbOk && DbFind(kPatientByIdKey, DbPrepareKey(&id), p) == kQdbOk;
}

std::string PatientName(const PatientRecord& p) {
    return QVN_PackName(GetText(p.lastName), GetText(p.firstName), std::string(1, p.middleInitial ? p.middleInitial : ' '));
}

std::string Trimmed(const char* bytes, size_t n) {
    std::string s(bytes, strnlen(bytes, n));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::string StatusText(int status) {
    if (status == kStatusComplete) return "Complete";
    if (status == kStatusBroken) return "Broken";
    if (status == kStatusUnscheduled) return "Unscheduled";
    if (status > 0 && status <= kMaxPracticeStatus)
        return Trimmed(practice_tables.statuses.names[status], sizeof practice_tables.statuses.names[status]);
    return "";
}

std::string AppointmentTime(const AppointmentRecord& a) {
    const int start = a.hour * 12 + a.minute / 5;
    return QVN_FormatPackTime(start) + " - " + QVN_FormatPackTime(start + a.length / 5) + " (" +
           std::to_string(a.length) + " min)";
}

std::string PhoneOf(const std::string& digits) { return digits.empty() ? "" : QVN_Set_Phone(digits); }

void AddPatientSection(const PatientRecord& p, FormSection* s) {
    s->lines.push_back({"Patient:", PatientName(p)});
    if (std::string pref = GetTrimmedText(p.preferredName); !pref.empty()) s->lines.push_back({"Preferred name:", pref});
    s->lines.push_back({"Patient ID:", std::to_string(p.id)});
    if (std::string chart = GetTrimmedText(p.chartNumber); !chart.empty()) s->lines.push_back({"Chart number:", chart});
    if (p.birthDate) s->lines.push_back({"Birth date:", QVN_DateStr(p.birthDate, kDateFull)});
    if (!QVN_CheckForPrivatePhone(p.privacy)) {
        if (std::string home = PhoneOf(GetText(p.homePhone)); !home.empty()) s->lines.push_back({"Home phone:", home});
        if (std::string work = PhoneOf(GetText(p.workPhone)); !work.empty()) s->lines.push_back({"Work phone:", work});
    }
}

// Breaks a value into lines of at most width page units, at blanks where it can.
std::vector<std::string> Wrapped(const std::string& text, int width) {
    const size_t per_line = static_cast<size_t>(std::max(8, width / kAverageCharWidth));
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        do {
            size_t cut = paragraph.size();
            if (cut > per_line) {
                cut = paragraph.rfind(' ', per_line);
                if (cut == std::string::npos || cut == 0) cut = per_line;
            }
            out.push_back(paragraph.substr(0, cut));
            paragraph.erase(0, cut);
            if (!paragraph.empty() && paragraph.front() == ' ') paragraph.erase(0, 1);
        } while (!paragraph.empty());
        start = end + 1;
    }
    return out;
}

}  // namespace

bool ReadRouteSlipFacts(uint32_t appointment_id, FormFacts* facts) {
    AppointmentRecord a{};
    if (appointment_id == 0 || ReadAppointment(appointment_id, &a) != kQdbOk) return false;
    *facts = FormFacts{};
    facts->heading = "Route Slip";
    facts->subheading = a.date ? QVN_DateStr(a.date, kDateLong) : "Not scheduled";
    FormSection appointment{"Appointment", {}};
    if (a.date) appointment.lines.push_back({"Time:", AppointmentTime(a)});
    appointment.lines.push_back({"Provider:", Trimmed(a.provider, 4)});
    appointment.lines.push_back({"Operatory:", Trimmed(a.operatory, 4)});
    if (a.staffMarker) appointment.lines.push_back({"Staff:", Trimmed(a.staff, 4)});
    if (std::string status = StatusText(a.status); !status.empty()) appointment.lines.push_back({"Status:", status});
    appointment.lines.push_back({"Reason:", GetText(a.description)});
    // The description is what the front desk typed or what the reasons made of it; the chair
    // side wants each procedure the appointment is for, by its code.
    for (int slot = 0; slot < kReasonSlots; ++slot) {
        if (a.reasons[slot] == 0) continue;
        ProcedureCodeRecord code{};
        appointment.lines.push_back({"Procedure:", ReadCodeOfReason(a, slot, &code)
                                                       ? GetTrimmedText(code.code) + "  " + GetTrimmedText(code.description)
                                                       : std::string(kMissingReason)});
    }
    facts->sections.push_back(std::move(appointment));

    FormSection patient{"Patient", {}};
    PatientRecord p{};
    const bool have_patient = ReadPatient(a.patientId, &p);
    if (have_patient) AddPatientSection(p, &patient);
    else patient.lines.push_back({"Patient:", "NP-" + GetText(a.patientName)});
    if (!have_patient && a.phone[0]) patient.lines.push_back({"Phone:", PhoneOf(GetText(a.phone))});
    facts->sections.push_back(std::move(patient));

    FormSection alerts{"Alerts", {}};
    if (have_patient) {
        bool medical = false;
        for (uint8_t byte : p.medicalAlerts) medical |= byte != 0;
        alerts.lines.push_back({"Medical alert:", medical ? "Yes" : "No"});
        if (std::string text = PatientAlertText(p.id, a.date); !text.empty()) alerts.lines.push_back({"Patient alerts:", text});
    }
    if (!alerts.lines.empty()) facts->sections.push_back(std::move(alerts));
    if (std::string note = ReadAppointmentNote(a.id); !note.empty())
        facts->sections.push_back({"Notes", {{"Appointment note:", note}}});
    return true;
}

bool ReadReferralRecapFacts(uint32_t patient_id, int32_t today, FormFacts* facts) {
    PatientRecord p{};
    if (!ReadPatient(patient_id, &p)) return false;
    *facts = FormFacts{};
    facts->heading = "Referral Recap";
    facts->subheading = QVN_DateStr(today, kDateLong);
    FormSection patient{"Patient", {}};
    AddPatientSection(p, &patient);
    ReferralRecord source{};
    if (p.referralId && REFERRAL_ReadSource(p.referralId, &source))
        patient.lines.push_back({"Referred by:", REFERRAL_SourceName(source)});
    else patient.lines.push_back({"Referred by:", "(none on file)"});
    facts->sections.push_back(std::move(patient));
    FormSection visits{"Appointments", {}};
    std::vector<AppointmentRecord> appointments = ReadPatientAppointments(patient_id);
    std::sort(appointments.begin(), appointments.end(), [](const AppointmentRecord& x, const AppointmentRecord& y) {
        return std::tie(x.date, x.hour, x.minute) < std::tie(y.date, y.hour, y.minute);
    });
    for (const AppointmentRecord& a : appointments) {
        if (a.date == 0 || a.date > today) continue;
        std::string value = GetText(a.description);
        if (std::string status = StatusText(a.status); !status.empty()) value += " (" + status + ")";
        visits.lines.push_back({QVN_DateStr(a.date, kDateFull), value});
    }
    if (visits.lines.empty()) visits.lines.push_back({"", "No appointments up to this date."});
    facts->sections.push_back(std::move(visits));
    return true;
}

std::vector<Page> LayOutForm(const FormFacts& facts, const PageMetrics& m) {
    std::vector<Page> pages(1);
    const int left = m.margin, right = m.width - m.margin, bottom = m.height - m.margin;
    const int h = m.lineHeight;
    int y = m.margin;
    AddText(&pages.back(), {left, y, right, y + h + 6}, facts.heading, TextStyle::kTitle);
    y += h + 6;
    AddText(&pages.back(), {left, y, right, y + h}, facts.subheading);
    y += 2 * h;
    for (const FormSection& section : facts.sections) {
        if (y + 2 * h > bottom) {
            pages.emplace_back();
            y = m.margin;
        }
        if (!section.caption.empty()) {
            AddText(&pages.back(), {left, y, right, y + h}, section.caption, TextStyle::kBold);
            AddLine(&pages.back(), left, y + h, right, y + h);
            y += h + 4;
        }
        for (const auto& [label, value] : section.lines) {
            const std::vector<std::string> lines = Wrapped(value, right - left - kLabelWidth);
            for (size_t i = 0; i < lines.size(); ++i) {
                if (y + h > bottom) {
                    pages.emplace_back();
                    y = m.margin;
                }
                if (i == 0) AddText(&pages.back(), {left, y, left + kLabelWidth, y + h}, label);
                AddText(&pages.back(), {left + kLabelWidth, y, right, y + h}, lines[i]);
                y += h;
            }
        }
        y += h / 2;
    }
    return pages;
}
