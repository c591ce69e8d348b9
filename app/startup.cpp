// Each step either succeeds or ends start-up the way its failure demands: before the session
// exists nothing needs undoing; after it, the session is ended; once the window has a practice
// to show, destroying it runs the ordinary shut-down.
#include "app/startup.h"

#include "app/refresh.h"

#include "data/db_access.h"
#include "data/practice_schedule.h"
#include "resources/resource.h"
#include "suite/dates.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb.h"
#include "suite/records/practice_resource.h"
#include "suite/settings.h"
#include "suite/users.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"

const char kNoProviderOrOperatory[] = "No Provider or No Operatory! Practice must be setup.";
const char kComDatWarning[] = "Com_dat File warning=";
const char kComDatWarningEnd[] = ". Dynamic refresh may not work. Continue?";

namespace {

constexpr int kRightOpenBook = 1;
constexpr int kCountryWithoutTutorial = 2;
constexpr uint16_t kRegisteredNew = 101;

bool OpenPracticeResources() {
    FileGroupDesc desc{};
    DbGroupOf(kResourceFile, &desc);
    return DbOpenGroup(desc) == kQdbOk;
}

void SetViewStart() {
    const PracticeInfo& practice = *practice_tables.practice;
    view_state.firstShownTime = FirstShownTimeOf(practice, WeekdayIndex(QVN_SysDate()));
    view_state.openWeekdays = OpenWeekdaysOf(practice);
}

}  // namespace

StartupEnd RunStartupSteps(const std::string& command_line, StartupWindow& window) {
    if (!DbInitDatabase()) {
        ShowStop("The practice database in " + QVN_GetDataPath() + " could not be opened.\n" +
                 QDB_GetLastReason(0));
        return StartupEnd::kFailed;
    }
    if (!OpenPracticeResources()) {
        DbEndSession();
        window.PostQuit();
        return StartupEnd::kLoopEnds;
    }
    // Nobody sees the practice before signing on; a refused or cancelled sign-on ends the run.
    if (QVN_SignOn(UserFromCommandLine(command_line.c_str())) <= 0 || QVN_CheckRights(kRightOpenBook, true) <= 0) {
        window.Destroy();
        window.PostQuit();
        DbEndSession();
        return StartupEnd::kLoopEnds;
    }
    // One load gives the statuses and type names for the menu and the practice for the view.
    const bool practice_loaded = LoadPracticeTables();
    window.SetStatusMenu(practice_tables.statuses);
    const int view_number = ReadDefaultView();
    if (!practice_loaded) {
        window.Destroy();
        return StartupEnd::kLoopEnds;
    }
    if (practice_tables.providers.empty() || practice_tables.operatories.empty()) {
        ShowStop(kNoProviderOrOperatory);
        window.Destroy();
        return StartupEnd::kLoopEnds;
    }
    SetViewStart();
    ApplyView(view_number);
    if (ReadCountryCode() == kCountryWithoutTutorial) window.RemoveCommand(CMD_TUTORIAL);
    const uint16_t registered = RegisterStation(StationCode(), QVN_SysDate());
    if (registered != 0 && registered != kRegisteredNew) {
        PromptRequest question{kComDatWarning + std::to_string(registered) + kComDatWarningEnd, kTitleAppointmentBook,
                               kButtonsYesNo, kIconInformation};
        if (CurrentPrompter().Show(question) != kAnswerYes) {
            window.Destroy();
            DbEndSession();
            return StartupEnd::kFailed;
        }
    }
    return StartupEnd::kRun;
}
