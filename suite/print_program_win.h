// The suite's print program as this workstation reaches it: "qvprint.exe" beside the program,
// started with ShellExecute, woken by command 5 to its window of class "Rpt".
#pragma once

#include "suite/print_jobs.h"

class WindowsPrintProgram final : public PrintProgramLink {
public:
    int CallQvPrint(int query) override;
    int StartProgram() override;
    bool WakeRunning() override;
};
