// Choosing the report of a job.
#include "tools/qvprint/reports.h"

#include <cstring>

#include "data/practice_schedule.h"
#include "suite/notes.h"
#include "suite/records/notes.h"
#include "tools/qvprint/book_page.h"
#include "tools/qvprint/form_pages.h"

std::string ReportNameOf(const PrintJobRecord& job) {
    return std::string(job.reportName, strnlen(job.reportName, sizeof job.reportName));
}

bool MakeReportPages(const PrintJobRecord& job, const PageMetrics& m, std::vector<Page>* pages, std::string* reason) {
    pages->clear();
    const std::string name = ReportNameOf(job);
    if (!LoadPracticeTables()) {
        *reason = "The practice's providers and operatories could not be read.";
        return false;
    }
    if (name == "ApptBook") {
        DayRecord day;
        if (!LoadBookDay(job, &day)) {
            *reason = "The appointments of the day could not be read.";
            return false;
        }
        const std::string note = job.view.printDayNote && day.hasNote ? ReadNoteText(kNoteDay, static_cast<uint32_t>(day.date)) : "";
        *pages = LayOutBookView(job, day, note, m);
        return true;
    }
    FormFacts facts;
    if (name == "rteslip") {
        if (!ReadRouteSlipFacts(job.slip.appointmentId, &facts)) {
            *reason = "The appointment " + std::to_string(job.slip.appointmentId) + " no longer exists.";
            return false;
        }
    } else if (name == "RefRecap.rtc") {
        if (!ReadReferralRecapFacts(job.recap.patientId, job.today, &facts)) {
            *reason = "The patient " + std::to_string(job.recap.patientId) + " no longer exists.";
            return false;
        }
    } else {
        *reason = "The report \"" + name + "\" is not one this program prints.";
        return false;
    }
    *pages = LayOutForm(facts, m);
    return true;
}

namespace {

size_t ExtensionDot(const std::string& file) {
    const size_t dot = file.rfind('.');
    const size_t slash = file.find_last_of("/\\");
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? file.size() : dot;
}

}  // namespace

std::string PageFileName(const std::string& file, int page_number) {
    if (page_number <= 1) return file;
    const size_t dot = ExtensionDot(file);
    return file.substr(0, dot) + "-" + std::to_string(page_number) + file.substr(dot);
}

std::string JobFileName(const std::string& file, uint32_t position) {
    const size_t dot = ExtensionDot(file);
    return file.substr(0, dot) + "-job" + std::to_string(position) + file.substr(dot);
}

std::string OutputKind(const std::string& file) {
    const size_t dot = ExtensionDot(file);
    std::string ext = dot < file.size() ? file.substr(dot + 1) : "";
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == "png" || ext == "emf" ? ext : "";
}
