// Printing one day of the appointment book: the options of "Print Appointment Book View", their
// checks in the order the user meets them, the saved print view of this workstation, and the
// "ApptBook" job that the print program lays out. This program never draws the printout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "suite/print_jobs.h"
#include "views/view_definition.h"
#include "views/view_edit.h"

constexpr int kPrintLineChoices = 14;  // display item codes 0 "[none]" to 13 "Referred By"

// What a printout shows besides its appointments: the nine lines of a box, the four options and
// the printed hours (5-minute units).
struct PrintViewOptions {
    uint8_t lines[kViewLines] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    bool printAmount = false;
    bool printColours = false;
    bool printDayNote = false;
    bool printIdealDay = false;
    bool printTimeAtRight = false;
    int startTime = kDefaultViewBegin;
    int endTime = kDefaultViewEnd;
};

// The dialog as it opens: the current view's providers, operatories, amount option, hours and
// lines (nothing selected when the view cannot be read), the colour, day note and Ideal Day
// options off, "time at right" as the last print of this run left it, and the first date the
// sheet shows (today when it shows none).
struct PrintViewOpening {
    std::vector<ResourceId> providers;    // to select
    std::vector<ResourceId> operatories;
    PrintViewOptions options;
    int32_t date = 0;
};
PrintViewOpening OpenPrintView(int32_t first_shown_date, int32_t today);

// The texts of the line lists, in code order; code 9 follows the workstation's country.
std::vector<std::string> PrintLineChoices();

// "&Load Print View" and "Save Print &View": the workstation's saved lines, options and hours.
PrintViewOptions LoadPrintView();
void SavePrintView(const PrintViewOptions& options);

// The dialog's fields as the user left them: the hours as typed with their am/pm choices, the
// flags and lines in options (whose hours are not read).
struct PrintViewInput {
    std::string date;
    std::vector<ResourceId> providers;    // the selected entries, in list order
    std::vector<ResourceId> operatories;
    std::string startHour, endHour;
    bool startPm = false, endPm = false;
    PrintViewOptions options;
};

// Where the focus goes after a refusal.
enum PrintViewFocus {
    kPrintViewAccepted = 0,
    kPrintViewFocusDate,
    kPrintViewFocusProviders,
    kPrintViewFocusOperatories,
    kPrintViewFocusStartHour,
    kPrintViewFocusEndHour,
};

// The printed hours in 5-minute units: the end at least an hour after the start, else "Invalid
// time span!" and the focus on the start hour.
PrintViewFocus CheckPrintTimeSpan(int start, int end);

// The hours of the input into options: each an hour 1 to 12 (else the invalid-time message), the
// end at least an hour after the start (else "Invalid time span!"). What "Save Print &View" and
// the print checks read.
PrintViewFocus ReadPrintViewHours(const PrintViewInput& input, PrintViewOptions* options);

// One day's printout, checked.
struct PrintViewRequest {
    int32_t date = 0;
    std::vector<ResourceId> providers;
    std::vector<ResourceId> operatories;
    PrintViewOptions options;
};

// "&Print" and "&Batch": the checks in order, each refusal shown through the prompter. On
// acceptance request holds the printout, and "time at right" is kept for the next opening.
PrintViewFocus CheckPrintView(const PrintViewInput& input, PrintViewRequest* request);

// The job record of a printout, made today: providers and operatories up to twenty each, their
// colours from the loaded provider table, the practice's block size.
PrintJobRecord MakeBookViewJob(const PrintViewRequest& request, int32_t today);

// Writes the printout's job, printed now or as a batch job, and starts or wakes the print program.
PrintJobOutcome MakePrintJob(const PrintViewRequest& request, int32_t today, bool batch, PrintProgramLink& link);
