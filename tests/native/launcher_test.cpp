// The module launcher over a recording program starter: every module's command line byte for
// byte with a patient and without one, the appointment book's second executable, message 3196
// only when asked for, Send Message's notices, and the [MODULES] configuration.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lists/launcher.h"
#include "scripted_prompter.h"
#include "settings_test_env.h"

namespace {

class RecordingServices final : public LauncherServices {
public:
    int StartProgram(const std::string& command_line) override {
        started.push_back(command_line);
        const size_t n = started.size();
        return n <= failures ? 2 : 33;  // the first `failures` starts fail as WinExec does
    }
    void ShowPatientAlerts(uint32_t patient_id, int mode) override { alerts.emplace_back(patient_id, mode); }
    bool ReadPatient(uint32_t patient_id, PatientRecord* patient) override {
        if (patient_id != 42) return false;
        *patient = PatientRecord{};
        patient->id = 42;
        std::strcpy(patient->lastName, "Doe");
        std::strcpy(patient->firstName, "Jane");
        std::strcpy(patient->email, email.c_str());
        return true;
    }
    void ShowInsideWindow(const std::string& title, const std::string& text) override {
        windows.push_back(title + "|" + text);
    }
    std::string OverrideUserName() override { return "FRONT"; }

    size_t failures = 0;
    std::string email;
    std::vector<std::string> started;
    std::vector<std::pair<uint32_t, int>> alerts;
    std::vector<std::string> windows;
};

ModuleSettings Defaults(const char* folder = "C:\\Quorvin\\") {
    TempSettings settings;
    return ReadModuleSettings(folder);
}

LaunchRequest Request(int command, uint32_t patient) {
    LaunchRequest r;
    r.command = command;
    r.patientId = patient;
    r.windowHandle = 1234;
    return r;
}

}  // namespace

TEST(Launcher, EveryModuleCommandLineWithAndWithoutAPatient) {
    const ModuleSettings settings = Defaults();
    // Each module with patient 42 (4000000000 for the book: no sign) and without one.
    const struct {
        int command;
        const char *withPatient, *without;
    } cases[] = {
        {12112, "C:\\Quorvin\\qvchart.exe /ID42", "C:\\Quorvin\\qvchart.exe /ID0"},
        {12113, "C:\\Quorvin\\qvnfam.exe /ID42", "C:\\Quorvin\\qvnfam.exe /ID0"},
        {12114, "C:\\Quorvin\\qvledger.exe /ID42", "C:\\Quorvin\\qvledger.exe /ID0"},
        {12115, "C:\\Quorvin\\apptbook.exe /ID4000000000", "C:\\Quorvin\\apptbook.exe /ID0"},
        {12117, "C:\\Quorvin\\qvoffice.exe", "C:\\Quorvin\\qvoffice.exe"},
        {12118, "C:\\Quorvin\\qvletter.exe /ID42", "C:\\Quorvin\\qvletter.exe /ID0"},
        {12124, "C:\\Quorvin\\qvquest.exe 42 1234", "C:\\Quorvin\\qvquest.exe 0 1234"},
        {12126, "C:\\Quorvin\\qvrx.exe /1 /h=1234 /p=42", "C:\\Quorvin\\qvrx.exe /1 /h=1234 /p=0"},
        {12128, "C:\\Quorvin\\qvnoj.exe /k=QvnOJ /v=42 /H=1234", "C:\\Quorvin\\qvnoj.exe /k=QvnOJ /p=FRONT /H=1234"},
        {12142, "C:\\Quorvin\\qvdocs.exe /QVNDC /ID42", "C:\\Quorvin\\qvdocs.exe /QVNDC /ID0"},
        {389, "C:\\Quorvin\\qvtxman.exe /s", "C:\\Quorvin\\qvtxman.exe /s"},
        {404, "C:\\Quorvin\\qvlabman.exe /s", "C:\\Quorvin\\qvlabman.exe /s"},
        {703, "C:\\Quorvin\\qvtutor.exe", "C:\\Quorvin\\qvtutor.exe"},
    };
    for (const auto& c : cases) {
        ScriptedPrompter prompter;
        RecordingServices services;
        EXPECT_EQ(1, LaunchModule(Request(c.command, c.command == 12115 ? 4000000000u : 42), settings, services)) << c.command;
        EXPECT_EQ(1, LaunchModule(Request(c.command, 0), settings, services)) << c.command;
        EXPECT_EQ((std::vector<std::string>{c.withPatient, c.without}), services.started) << c.command;
        EXPECT_TRUE(prompter.Texts().empty()) << c.command;
        // Only the prescriptions show the patient's alerts first, and only for a patient.
        const std::vector<std::pair<uint32_t, int>> alerts =
            c.command == 12126 ? std::vector<std::pair<uint32_t, int>>{{42, 0x4000}} : std::vector<std::pair<uint32_t, int>>{};
        EXPECT_EQ(alerts, services.alerts) << c.command;
    }
    EXPECT_FALSE(IsLauncherCommand(12116));
    RecordingServices services;
    EXPECT_EQ(0, LaunchModule(Request(12116, 42), settings, services));
    EXPECT_TRUE(services.started.empty());
}

TEST(Launcher, SecondExecutableOnlyForTheAppointmentBookAnd3196OnlyWhenAsked) {
    const ModuleSettings settings = Defaults();
    const char* not_started = "The program could not be started.\nCheck that it is installed with the Quorvin suite.";
    {
        ScriptedPrompter prompter;
        RecordingServices services;
        services.failures = 1;
        EXPECT_EQ(1, LaunchModule(Request(12115, 7), settings, services));
        EXPECT_EQ((std::vector<std::string>{"C:\\Quorvin\\apptbook.exe /ID7", "C:\\Quorvin\\qvappt.exe /ID7"}),
                  services.started);
        EXPECT_TRUE(prompter.Texts().empty());
    }
    for (bool report : {true, false}) {
        ScriptedPrompter prompter;
        if (report) prompter.Answer(kAnswerOk).Answer(kAnswerOk);
        RecordingServices services;
        services.failures = 5;
        LaunchRequest r = Request(12115, 7);
        r.reportFailure = report;
        EXPECT_EQ(0, LaunchModule(r, settings, services));
        EXPECT_EQ(2u, services.started.size());
        r.command = 12112;
        services.started.clear();
        EXPECT_EQ(0, LaunchModule(r, settings, services));
        EXPECT_EQ(std::vector<std::string>{"C:\\Quorvin\\qvchart.exe /ID7"}, services.started) << "tried once";
        const std::vector<std::string> expected =
            report ? std::vector<std::string>{not_started, not_started} : std::vector<std::string>{};
        EXPECT_EQ(expected, prompter.Texts()) << "report " << report;
    }
}

TEST(Launcher, SendMessageNoticesAndTheMailProgramsArguments) {
    const ModuleSettings settings = Defaults();
    const char* no_patient = "There is no current Patient.\nEmail will be launched with a blank \"To:\" field";
    const char* no_address =
        "There is not an Email Address for the current Patient.\nEmail will be launched with a blank \"To:\" field";
    struct Case {
        uint32_t patient;
        const char* email;
        PromptAnswer answer;  // to the notice, when there is one
        const char* notice;
        std::vector<std::string> started;
    };
    const Case cases[] = {
        {0, "", kAnswerOk, no_patient, {"C:\\Quorvin\\qvmail.exe"}},
        {0, "", kAnswerCancel, no_patient, {}},
        {42, "", kAnswerOk, no_address, {"C:\\Quorvin\\qvmail.exe"}},
        {42, "", kAnswerCancel, no_address, {}},
        {42, "jane@example.com", kAnswerOk, nullptr, {"C:\\Quorvin\\qvmail.exe jane@example.com/42/Doe, Jane/Appointments"}},
    };
    for (const Case& c : cases) {
        ScriptedPrompter prompter;
        if (c.notice) prompter.Answer(c.answer);
        RecordingServices services;
        services.email = c.email;
        const int result = LaunchModule(Request(12134, c.patient), settings, services);
        EXPECT_EQ(c.started.empty() ? 0 : 1, result);
        EXPECT_EQ(c.started, services.started) << c.patient << " " << c.email;
        std::vector<std::string> asked;
        for (const PromptRequest& r : prompter.Asked()) asked.push_back(r.title + "|" + r.text + "|" + std::to_string(r.buttons));
        EXPECT_EQ(c.notice ? std::vector<std::string>{std::string("NOTICE|") + c.notice + "|" + std::to_string(kButtonsOkCancel)}
                           : std::vector<std::string>{},
                  asked);
        // A patient's alerts come before the message (mode 0x20000); without a patient none.
        const std::vector<std::pair<uint32_t, int>> alerts =
            c.patient ? std::vector<std::pair<uint32_t, int>>{{42, 0x20000}} : std::vector<std::pair<uint32_t, int>>{};
        EXPECT_EQ(alerts, services.alerts);
    }
    EXPECT_STREQ("Chart", MailModuleName(12112));
    EXPECT_STREQ("Collections Manager", MailModuleName(12138));
    EXPECT_STREQ("Unknown Module", MailModuleName(12119));
}

TEST(Launcher, ContinuingCareAndQuickLabelsOpenTheirWindowAndStartNothing) {
    const ModuleSettings settings = Defaults();
    RecordingServices services;
    LaunchRequest labels = Request(12141, 42);
    labels.appointmentId = 900;
    EXPECT_EQ(1, LaunchModule(Request(12119, 42), settings, services));
    EXPECT_EQ(1, LaunchModule(labels, settings, services));
    EXPECT_TRUE(services.started.empty());
    ASSERT_EQ(2u, services.windows.size());
    EXPECT_EQ(0u, services.windows[0].find("Continuing Care|Continuing Care of Doe, Jane (patient 42)."));
    EXPECT_EQ(0u, services.windows[1].find("Quick Labels|Quick Labels for appointment 900 of Doe, Jane."));
}

TEST(Launcher, ModulesSectionNamesTheFolderAndThePrograms) {
    TempSettings ini;
    ini.WriteRaw("[MODULES]\nFolder=D:\\Program Files\\Suite\nChart=chart32.exe\nLedger=E:\\Books\\led.exe\n"
                 "Appointments2=appt16.exe\n");
    const ModuleSettings settings = ReadModuleSettings("C:\\Quorvin\\");
    RecordingServices services;
    services.failures = 1;
    ASSERT_EQ(1, LaunchModule(Request(12115, 5), settings, services));
    ASSERT_EQ(1, LaunchModule(Request(12112, 5), settings, services));
    ASSERT_EQ(1, LaunchModule(Request(12114, 5), settings, services));
    EXPECT_EQ((std::vector<std::string>{"\"D:\\Program Files\\Suite\\apptbook.exe\" /ID5",
                                        "\"D:\\Program Files\\Suite\\appt16.exe\" /ID5",
                                        "\"D:\\Program Files\\Suite\\chart32.exe\" /ID5", "E:\\Books\\led.exe /ID5"}),
              services.started);
}
