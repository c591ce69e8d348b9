// Command lines of the suite's modules, and starting them.
#include "lists/launcher.h"

#include <cstdio>
#include <cstring>

#include "data/record_text.h"
#include "lists/patient_search.h"
#include "resources/resource.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"

const char kNoCurrentPatientNotice[] =
    "There is no current Patient.\nEmail will be launched with a blank \"To:\" field";
const char kNoEmailAddressNotice[] =
    "There is not an Email Address for the current Patient.\nEmail will be launched with a blank \"To:\" field";
const char kNoticeTitle[] = "NOTICE";

namespace {

constexpr char kModulesSection[] = "MODULES";
constexpr int kMsgProgramNotStarted = 3196;
constexpr int kAlertsBeforePrescriptions = 0x4000;
constexpr int kAlertsBeforeMessage = 0x20000;

// Which program each command starts.
struct CommandProgram {
    int command;
    const char* key;
};
constexpr CommandProgram kCommandPrograms[] = {
    {CMD_MODULE_CHART, "Chart"},
    {CMD_MODULE_FAMILY_FILE, "FamilyFile"},
    {CMD_MODULE_LEDGER, "Ledger"},
    {CMD_MODULE_APPOINTMENTS, "Appointments"},
    {CMD_MODULE_OFFICE_MANAGER, "OfficeManager"},
    {CMD_MODULE_QUICK_LETTERS, "QuickLetters"},
    {CMD_MODULE_QUESTIONNAIRE, "Questionnaire"},
    {CMD_MODULE_PRESCRIPTIONS, "Prescriptions"},
    {CMD_MODULE_OFFICE_JOURNAL, "OfficeJournal"},
    {CMD_MODULE_SEND_MESSAGE, "Mail"},
    {CMD_MODULE_DOCUMENT_CENTER, "DocumentCenter"},
    {CMD_TREATMENT_MANAGER, "TreatmentManager"},
    {CMD_LAB_CASE_MANAGER, "LabCaseManager"},
    {CMD_TUTORIAL, "Tutorial"},
};

std::string Format(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// A start of one program; 3196 only when asked for.
bool Start(LauncherServices& services, const std::string& command_line) {
    return services.StartProgram(command_line) >= 32;
}

void ReportNotStarted(const LaunchRequest& request) {
    if (request.reportFailure) QVN_Message(kMsgGroupSuite, kMsgProgramNotStarted);
}

std::string PatientName(LauncherServices& services, uint32_t patient_id) {
    PatientRecord p{};
    if (patient_id == 0 || !services.ReadPatient(patient_id, &p)) return "";
    return PatientPackedName(p);
}

// "S&end Message": the patient's e-mail address on the mail program's command line, or the
// mail program alone after the user agreed to a blank "To:".
int SendMailMessage(const LaunchRequest& request, const ModuleSettings& settings, LauncherServices& services) {
    const std::string mail = QuotedProgram(settings.ProgramPath("Mail"));
    auto start = [&](const std::string& line) {
        if (Start(services, line)) return 1;
        ReportNotStarted(request);
        return 0;
    };
    auto blank_to = [&](const char* notice) {
        const PromptAnswer answer =
            CurrentPrompter().Show(PromptRequest{notice, kNoticeTitle, kButtonsOkCancel, kIconExclamation});
        return answer == kAnswerOk ? start(mail) : 0;
    };
    if (request.patientId == 0) return blank_to(kNoCurrentPatientNotice);
    services.ShowPatientAlerts(request.patientId, kAlertsBeforeMessage);
    PatientRecord p{};
    const bool read = services.ReadPatient(request.patientId, &p);
    const std::string address = read ? GetTrimmedText(p.email) : "";
    if (address.empty()) return blank_to(kNoEmailAddressNotice);
    return start(mail + Format(" %s/%lu/%s/%s", address.c_str(), static_cast<unsigned long>(request.patientId),
                               PatientPackedName(p).c_str(), MailModuleName(CMD_MODULE_APPOINTMENTS)));
}

}  // namespace

// The executables' default names: the suite's modules side by side with the appointment book.
const ModuleProgram kModulePrograms[] = {
    {"Chart", "qvchart.exe"},
    {"FamilyFile", "qvnfam.exe"},
    {"Ledger", "qvledger.exe"},
    {"Appointments", "apptbook.exe"},
    {"Appointments2", "qvappt.exe"},
    {"OfficeManager", "qvoffice.exe"},
    {"QuickLetters", "qvletter.exe"},
    {"Questionnaire", "qvquest.exe"},
    {"Prescriptions", "qvrx.exe"},
    {"OfficeJournal", "qvnoj.exe"},
    {"Mail", "qvmail.exe"},
    {"DocumentCenter", "qvdocs.exe"},
    {"TreatmentManager", "qvtxman.exe"},
    {"LabCaseManager", "qvlabman.exe"},
    {"Tutorial", "qvtutor.exe"},
};
const int kModuleProgramCount = static_cast<int>(sizeof kModulePrograms / sizeof kModulePrograms[0]);

const ModuleProgram* FindModuleProgram(const char* key) {
    for (const ModuleProgram& m : kModulePrograms)
        if (key && std::strcmp(m.key, key) == 0) return &m;
    return nullptr;
}

std::string ModuleSettings::ProgramPath(const char* key) const {
    for (const auto& [k, name] : names) {
        if (k != key) continue;
        if (name.find_first_of("\\/:") != std::string::npos) return name;
        return folder + name;
    }
    return "";
}

ModuleSettings ReadModuleSettings(const std::string& program_folder) {
    ModuleSettings settings;
    std::string folder = QVN_ReadProfileText(kModulesSection, "Folder", "");
    settings.folder = WithSeparator(folder.empty() ? program_folder : folder);
    for (const ModuleProgram& m : kModulePrograms) {
        std::string name = QVN_ReadProfileText(kModulesSection, m.key, m.defaultName);
        settings.names.emplace_back(m.key, name.empty() ? m.defaultName : name);
    }
    return settings;
}

const char* ModuleProgramKey(int command) {
    for (const CommandProgram& c : kCommandPrograms)
        if (c.command == command) return c.key;
    return nullptr;
}

bool IsLauncherCommand(int command) {
    return ModuleProgramKey(command) != nullptr || command == CMD_MODULE_CONTINUING_CARE ||
           command == CMD_MODULE_QUICK_LABELS;
}

const char* MailModuleName(int current_module) {
    switch (current_module) {
    case CMD_MODULE_CHART: return "Chart";
    case CMD_MODULE_FAMILY_FILE: return "Family File";
    case CMD_MODULE_LEDGER: return "Ledger";
    case CMD_MODULE_APPOINTMENTS: return "Appointments";
    case CMD_MODULE_OFFICE_MANAGER: return "Office Manager";
    case 12137: return "Treatment Manager";
    case 12138: return "Collections Manager";
    default: return "Unknown Module";
    }
}

std::string QuotedProgram(const std::string& path) {
    return path.find(' ') != std::string::npos ? "\"" + path + "\"" : path;
}

std::string ModuleArguments(const LaunchRequest& r, const std::string& override_user) {
    // Patient ids are unsigned 32-bit: printed as such, so that an id above 2^31 stays itself
    // where long has 32 bits (Windows).
    const unsigned long patient = r.patientId;
    switch (r.command) {
    case CMD_MODULE_CHART:
    case CMD_MODULE_FAMILY_FILE:
    case CMD_MODULE_LEDGER:
    case CMD_MODULE_APPOINTMENTS:
    case CMD_MODULE_QUICK_LETTERS:
        return Format(" /ID%lu", patient);
    case CMD_MODULE_QUESTIONNAIRE:
        return Format(" %lu %d", static_cast<unsigned long>(r.patientId), static_cast<int>(r.windowHandle));
    case CMD_MODULE_PRESCRIPTIONS:
        return Format(" /1 /h=%d /p=%lu", static_cast<int>(r.windowHandle), patient);
    case CMD_MODULE_OFFICE_JOURNAL:
        if (r.patientId != 0) return Format(" /k=QvnOJ /v=%lu /H=%ld", patient, r.windowHandle);
        return Format(" /k=QvnOJ /p=%s /H=%ld", override_user.c_str(), r.windowHandle);
    case CMD_MODULE_DOCUMENT_CENTER:
        return Format(" /QVNDC /ID%lu", patient);
    case CMD_TREATMENT_MANAGER:
    case CMD_LAB_CASE_MANAGER:
        return " /s";
    default:
        return "";  // the office manager and the tutorial take none
    }
}

int LaunchModule(const LaunchRequest& request, const ModuleSettings& settings, LauncherServices& services) {
    switch (request.command) {
    case CMD_MODULE_CONTINUING_CARE:
        services.ShowInsideWindow("Continuing Care",
                                  ContinuingCareText(request.patientId, PatientName(services, request.patientId)));
        return 1;
    case CMD_MODULE_QUICK_LABELS:
        services.ShowInsideWindow("Quick Labels",
                                  QuickLabelsText(request.appointmentId, PatientName(services, request.patientId)));
        return 1;
    case CMD_MODULE_SEND_MESSAGE:
        return SendMailMessage(request, settings, services);
    default:
        break;
    }
    const char* key = ModuleProgramKey(request.command);
    if (!key) return 0;
    if (request.command == CMD_MODULE_PRESCRIPTIONS && request.patientId != 0)
        services.ShowPatientAlerts(request.patientId, kAlertsBeforePrescriptions);
    const std::string arguments = ModuleArguments(request, services.OverrideUserName());
    if (Start(services, QuotedProgram(settings.ProgramPath(key)) + arguments)) return 1;
    if (request.command == CMD_MODULE_APPOINTMENTS &&
        Start(services, QuotedProgram(settings.ProgramPath("Appointments2")) + arguments))
        return 1;
    ReportNotStarted(request);
    return 0;
}

std::string ContinuingCareText(uint32_t patient_id, const std::string& patient_name) {
    if (patient_id == 0)
        return "No patient is selected.\n\nContinuing Care would list the recalls due for a patient.";
    return "Continuing Care of " + (patient_name.empty() ? std::string("patient") : patient_name) + " (patient " +
           std::to_string(patient_id) +
           ").\n\nThe continuing care module would show here the patient's recall types, their due dates and the "
           "appointments made for them. It is not part of this appointment book.";
}

std::string QuickLabelsText(uint32_t appointment_id, const std::string& patient_name) {
    if (appointment_id == 0) return "No appointment is selected.\n\nQuick Labels would print labels for an appointment.";
    return "Quick Labels for appointment " + std::to_string(appointment_id) +
           (patient_name.empty() ? std::string() : " of " + patient_name) +
           ".\n\nThe labels module would print here the patient's address and appointment labels. It is not part of "
           "this appointment book.";
}
