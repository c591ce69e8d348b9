// The module launcher: the suite's other modules started for the current patient, each as a
// program of its own with its command line, and the few module commands that show a window of
// this program instead.
//
// Where the modules live is workstation configuration, section [MODULES] of the settings file:
// "Folder" (default: the appointment book's own folder, where the suite installs its modules
// side by side) and one key per program holding its executable's name (or a full path). The
// Win32 side starts the programs and opens the windows through LauncherServices, so that every
// command line is built and tested without starting anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/records/patient.h"

// A program the launcher starts: its [MODULES] key and the executable's default name.
struct ModuleProgram {
    const char* key;
    const char* defaultName;
};

// The programs behind the commands, and the three that are no module command: the treatment
// manager (389), the lab case manager (404) and the tutorial (703). The appointment book's
// second executable name is "Appointments2"; the mail program of "S&end Message" is "Mail".
extern const ModuleProgram kModulePrograms[];
extern const int kModuleProgramCount;
const ModuleProgram* FindModuleProgram(const char* key);

// The [MODULES] section as read: the folder and every program's executable.
struct ModuleSettings {
    std::string folder;  // ends with a path separator
    std::vector<std::pair<std::string, std::string>> names;  // key, executable
    // The executable's path: the name as configured when it holds a folder or a drive, else
    // inside the folder. Empty for an unknown key.
    std::string ProgramPath(const char* key) const;
};
// Reads [MODULES]; program_folder is the appointment book's own folder.
ModuleSettings ReadModuleSettings(const std::string& program_folder);

// The program key of a module command or of 389, 404 and 703; null for a command that starts
// no program (Continuing Care and Quick Labels show a window of this program).
const char* ModuleProgramKey(int command);

// Whether a command is one the launcher carries out.
bool IsLauncherCommand(int command);

// The name of the current module in the mail program's arguments.
const char* MailModuleName(int current_module);

// A program path for a command line: in quotes when it holds a blank.
std::string QuotedProgram(const std::string& path);

// What the launcher needs of the program around it.
class LauncherServices {
public:
    virtual ~LauncherServices() = default;
    // Starts a program with its command line, shown normally: the start function's answer
    // (below 32 is a failure).
    virtual int StartProgram(const std::string& command_line) = 0;
    // The patient-alert library shows the patient's alerts (mode 0x4000 before the
    // prescriptions, 0x20000 before a message).
    virtual void ShowPatientAlerts(uint32_t patient_id, int mode) = 0;
    // Reads the patient record; false when there is none.
    virtual bool ReadPatient(uint32_t patient_id, PatientRecord* patient) = 0;
    // The window of this program that stands in for a module shown inside it.
    virtual void ShowInsideWindow(const std::string& title, const std::string& text) = 0;
    // The acting user's login name, which the office journal is handed without a patient.
    virtual std::string OverrideUserName() = 0;
};

// One start: the command, the current patient (0: none), the selected appointment (Quick
// Labels), the window the module may answer to, and whether a failed start is reported.
struct LaunchRequest {
    int command = 0;
    uint32_t patientId = 0;
    uint32_t appointmentId = 0;
    long windowHandle = 0;
    bool reportFailure = true;
};

// The arguments behind the executable, byte for byte; "" for a module started without any.
std::string ModuleArguments(const LaunchRequest& request, const std::string& override_user);

// Builds the command line and starts the module (the second executable name is tried for the
// appointment book); a start that fails shows message 3196 of group 6 when the request asks for
// it. Continuing Care and Quick Labels open their window. Send Message asks what its notices
// ask. Returns 1 when the module was started or shown, 0 otherwise.
int LaunchModule(const LaunchRequest& request, const ModuleSettings& settings, LauncherServices& services);

// The texts of the windows that stand in for Continuing Care and Quick Labels.
std::string ContinuingCareText(uint32_t patient_id, const std::string& patient_name);
std::string QuickLabelsText(uint32_t appointment_id, const std::string& patient_name);

// The mail program's notices (title "NOTICE", OK and Cancel).
extern const char kNoCurrentPatientNotice[];
extern const char kNoEmailAddressNotice[];
extern const char kNoticeTitle[];
