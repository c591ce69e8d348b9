// qvprint.exe, the suite's print program: takes the jobs that the appointment book places in the
// print queue and prints them.
//
//   qvprint.exe                 the print program: prints the waiting jobs and stays, hidden,
//                               as the window "Rpt" that command 5 sends back to the queue. When
//                               no job of this workstation waits to be printed now, it was
//                               started by hand: it asks for the printer, prints the waiting
//                               jobs and ends. A second start only wakes the running one.
//   qvprint.exe --to FILE JOB   writes the pages of job JOB (its record number in the queue) to
//                               FILE, FILE-2, ... as PNG pictures or enhanced metafiles by the
//                               extension, and marks the job done; nothing is asked.
//   qvprint.exe --to FILE       the print program, writing each job to FILE-jobN instead of
//                               printing it.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/private_messages.h"
#include "data/db_access.h"
#include "suite/prompter.h"
#include "suite/qdb/qdb.h"
#include "suite/settings.h"
#include "suite/window_services_win.h"
#include "suite/workstation_settings.h"
#include "tools/qvprint/page_render_win.h"
#include "tools/qvprint/print_queue.h"
#include "tools/qvprint/reports.h"

namespace {

constexpr char kInstanceName[] = "QVN_QVPRINT_MUTEX";
constexpr char kTitle[] = "Quorvin Print";
constexpr DWORD kWaitForRunningMs = 3000;

// The running print program.
struct PrintProgram {
    std::string toFile;        // "" prints on the printer
    bool byHand = false;       // started by hand: the user picks the printer, then the program ends
    HDC printer = nullptr;     // picked at the first job that needs it
    std::set<uint32_t> reported;  // jobs whose failure the user has been told
    int station = 1;
    bool looking = false, lookAgain = false;
} program;

std::string JobTitle(const PrintJobRecord& job) {
    return std::string(job.title, strnlen(job.title, sizeof job.title));
}

// The printer: the default one, or the one the user picks in the print dialog when started by
// hand. False with an empty reason when the user cancelled.
bool ChoosePrinter(std::string* reason) {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE |
                   (program.byHand ? 0 : PD_RETURNDEFAULT);
    const BOOL chosen = PrintDlgA(&dialog);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    if (chosen && dialog.hDC) {
        program.printer = dialog.hDC;
        return true;
    }
    const DWORD error = CommDlgExtendedError();
    reason->clear();
    if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) *reason = "No printer is set up on this computer.";
    else if (error != 0) *reason = "The printer could not be reached (error " + std::to_string(error) + ").";
    return false;
}

// Pictures and metafiles of a day with many operatories lie across the page, so that the
// columns keep room for the names.
PageMetrics FileMetrics(const PrintJobRecord& job) {
    PageMetrics m;
    if (ReportNameOf(job) == "ApptBook" && job.view.operatoryCount > 4) std::swap(m.width, m.height);
    return m;
}

bool PrintJob(const PrintJobRecord& job, uint32_t position, std::string* reason) {
    std::vector<Page> pages;
    if (!program.toFile.empty()) {
        const PageMetrics m = FileMetrics(job);
        return MakeReportPages(job, m, &pages, reason) &&
               WritePageFiles(pages, m, JobFileName(program.toFile, position), reason);
    }
    if (!program.printer && !ChoosePrinter(reason)) return false;
    const PageMetrics m = PrinterMetrics(program.printer);
    return MakeReportPages(job, m, &pages, reason) && PrintPages(program.printer, JobTitle(job), pages, m, reason);
}

// Prints every waiting job in order. A job that fails stays waiting and is reported once; a
// cancelled printer choice leaves them all waiting.
void LookAtQueue() {
    if (program.looking) {
        program.lookAgain = true;  // woken while a message box of this look is up
        return;
    }
    program.looking = true;
    do {
        program.lookAgain = false;
        std::vector<QueuedJob> jobs;
        if (!ReadWaitingJobs(program.station, &jobs)) break;
        const HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        for (const QueuedJob& job : jobs) {
            std::string reason;
            bool cancelled = false;
            const TakeOutcome outcome = TakeJob(job, [&](const PrintJobRecord& record) {
                const bool printed = PrintJob(record, job.position, &reason);
                cancelled = !printed && reason.empty();
                return printed;
            });
            if (cancelled) break;
            if (outcome == TakeOutcome::kPrintFailed && program.reported.insert(job.position).second) {
                SetCursor(old);
                ShowRefusal("\"" + JobTitle(job.record) + "\" could not be printed.\n" + reason +
                                "\nThe job stays in the print queue.",
                            kTitle);
            }
        }
        SetCursor(old);
    } while (program.lookAgain);
    program.looking = false;
}

LRESULT CALLBACK RptProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wparam) == kCmdLookAtPrintQueue) {
            LookAtQueue();
            if (program.byHand) DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// Tells the running print program to look at its queue; false when none answers.
bool WakeRunning() {
    const DWORD start = GetTickCount();
    do {
        if (HWND running = FindWindowA(kPrintProgramClass, nullptr))
            return PostMessageA(running, WM_COMMAND, kCmdLookAtPrintQueue, 0) != 0;
        Sleep(50);  // the first copy may be opening its practice still
    } while (GetTickCount() - start < kWaitForRunningMs);
    return false;
}

bool OpenPractice(std::string* reason) {
    if (DbInitDatabase()) return true;
    *reason = "The practice database in " + QVN_GetDataPath() + " could not be opened.\n" + QDB_GetLastReason(0);
    return false;
}

// --to FILE JOB: one job into files, quietly; the exit code says how it went.
int WriteOneJob(const std::string& file, const char* job_text) {
    char* end = nullptr;
    const unsigned long position = std::strtoul(job_text, &end, 10);
    std::string reason;
    if (!end || *end || position == 0) reason = std::string("Not a job number: ") + job_text;
    else if (OutputKind(file).empty()) reason = "The file name must end in .png or .emf: " + file;
    QueuedJob job;
    if (reason.empty() && OpenPractice(&reason) && !ReadQueuedJob(static_cast<uint32_t>(position), &job))
        reason = "The print queue has no job " + std::to_string(position) + ".";
    if (!reason.empty()) {
        std::fprintf(stderr, "qvprint: %s\n", reason.c_str());
        return 2;
    }
    const TakeOutcome outcome = TakeJob(job, [&](const PrintJobRecord& record) {
        std::vector<Page> pages;
        const PageMetrics m = FileMetrics(record);
        return MakeReportPages(record, m, &pages, &reason) && WritePageFiles(pages, m, file, &reason);
    });
    DbEndSession();
    if (outcome == TakeOutcome::kDone) return 0;
    std::fprintf(stderr, "qvprint: job %lu not done: %s\n", position, reason.empty() ? "the queue refused" : reason.c_str());
    return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** argv = __argv;
    if (argc >= 2 && std::string(argv[1]) == "--to") {
        if (argc == 4) return WriteOneJob(argv[2], argv[3]);
        if (argc != 3) {
            std::fprintf(stderr, "usage: qvprint.exe [--to FILE.png|FILE.emf [JOB]]\n");
            return 2;
        }
        program.toFile = argv[2];
    }
    if (ExistsPreviousInstance(kInstanceName)) return WakeRunning() ? 0 : 1;
    InstallWindowsPrompter();
    std::string reason;
    if (!OpenPractice(&reason)) {
        ShowStop(reason, kTitle);
        return 1;
    }
    program.station = ReadNetworkSettings().station;
    // The appointment book starts the program for a job it marked for printing now; without
    // one, somebody started it by hand.
    std::vector<QueuedJob> waiting;
    if (program.toFile.empty() && ReadWaitingJobs(program.station, &waiting)) {
        program.byHand = true;
        for (const QueuedJob& job : waiting) program.byHand &= job.record.printNow == 0;
        if (program.byHand && waiting.empty()) {
            ShowRefusal("No print jobs are waiting.", kTitle);
            DbEndSession();
            return 0;
        }
    }
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = RptProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.lpszClassName = kPrintProgramClass;
    HWND window = RegisterClassA(&window_class)
                      ? CreateWindowA(kPrintProgramClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300,
                                      100, nullptr, nullptr, instance, nullptr)
                      : nullptr;
    if (!window) {
        ShowStop("The print program could not make its window.", kTitle);
        DbEndSession();
        return 1;
    }
    InstallWindowsPrompter(window);
    PostMessageA(window, WM_COMMAND, kCmdLookAtPrintQueue, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (program.printer) DeleteDC(program.printer);
    DbEndSession();
    return static_cast<int>(msg.wParam);
}
